// zorvi-draws report as a hall runs it: a game log in, a PDF out, its text read back with
// pdftotext and its structure with pdfinfo (poppler-utils). Runs the tool through a POSIX shell,
// so not in the Windows build.
#ifndef _WIN32
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdio>
#include <filesystem>
#include <regex>
#include <string>
#include <vector>

#include "GameRecord.h"
#include "PdfWriter.h"
#include "TestFolders.h"

namespace zorvi {
namespace {

namespace fs = std::filesystem;
using test::TestFolders;

struct ShellRun {
    int status = -1;
    std::string out; // standard output and error together
};

ShellRun Shell(const std::string& command) {
    ShellRun run;
    std::FILE* pipe = ::popen((command + " 2>&1").c_str(), "r");
    if (pipe == nullptr)
        return run;
    char buffer[65536];
    while (const std::size_t got = std::fread(buffer, 1, sizeof buffer, pipe))
        run.out.append(buffer, got);
    const int status = ::pclose(pipe);
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
}

std::string Quote(const std::string& text) {
    std::string quoted = "'";
    for (const char c : text)
        quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

ShellRun Report(const std::string& args) {
    return Shell(Quote(ZORVI_DRAWS_TOOL) + " report " + args);
}

// The text of the PDF as pdftotext lays it out; pages end with a form feed.
std::string PdfText(const fs::path& pdf) {
    const ShellRun run = Shell("pdftotext -layout -enc UTF-8 " + Quote(pdf.string()) + " -");
    EXPECT_EQ(run.status, 0) << run.out;
    return run.out;
}

// The page count pdfinfo reads, or -1; pdfinfo must read the file without a complaint.
int PdfPages(const fs::path& pdf) {
    const ShellRun run = Shell("pdfinfo " + Quote(pdf.string()));
    EXPECT_EQ(run.status, 0) << run.out;
    EXPECT_EQ(run.out.find("Error"), std::string::npos) << run.out;
    std::smatch match;
    if (!std::regex_search(run.out, match, std::regex("Pages:\\s+([0-9]+)")))
        return -1;
    return std::stoi(match[1]);
}

// Every object the cross-reference table names starts exactly at its offset, and startxref
// points at the table: a reader needs no repair to open the file.
void ExpectExactCrossReference(const std::string& pdf) {
    const std::size_t startxref = pdf.rfind("startxref\n");
    ASSERT_NE(startxref, std::string::npos);
    const std::size_t table = std::stoul(pdf.substr(startxref + 10));
    ASSERT_EQ(pdf.compare(table, 5, "xref\n"), 0);
    std::size_t at = pdf.find('\n', table + 5) + 1;
    const std::size_t count = std::stoul(pdf.substr(table + 7));
    ASSERT_EQ(pdf.compare(at, 20, "0000000000 65535 f \n"), 0);
    for (std::size_t object = 1; object < count; ++object) {
        at += 20;
        const std::string entry = pdf.substr(at, 20);
        ASSERT_EQ(entry.substr(10), " 00000 n \n") << object;
        const std::size_t offset = std::stoul(entry.substr(0, 10));
        const std::string head = std::to_string(object) + " 0 obj\n";
        EXPECT_EQ(pdf.compare(offset, head.size(), head), 0) << object;
    }
}

const fs::path kData = ZORVI_REPORT_DATA;

// An evening of three games: two winners on row 1 (one checked twice), a row-2 winner, a
// reveal that verifies; a game of 90 whose second winner's list was altered, so its reveal does
// not verify, with a restart of the program inside it; a game still in play at the end of the
// log. CR LF line ends, as the program writes on Windows.
TEST(ReportTool, PrintsTheEveningAsTheFixtureReads) {
    TestFolders folders;
    const fs::path pdf = folders.root() / "evening.pdf";
    const ShellRun run =
        Report(Quote((kData / "evening" / "input.log").string()) + " --out " + Quote(pdf.string()) +
               " --title " + Quote("Bingo-ilta (Ähtäri) \\ Åbo: Öja, Älvkarleby, Åsa"));
    ASSERT_EQ(run.status, 0) << run.out;
    EXPECT_EQ(run.out, "3 games on 4 pages written to " + pdf.string() +
                           ": 1 reveal verifies, 1 does not; the log does not verify\n");
    EXPECT_EQ(PdfPages(pdf), 4);
    ExpectExactCrossReference(TestFolders::ReadFile(pdf));
    EXPECT_EQ(PdfText(pdf), TestFolders::ReadFile(kData / "evening" / "expected.txt"));
}

// A game with more checks than a page holds goes on over further pages, the table's heading
// repeated on each.
TEST(ReportTool, AGameLongerThanAPageContinues) {
    TestFolders folders;
    std::string log = "2026-12-5 18:0:0: Game commitment: " + std::string(64, 'a') + "\n";
    for (int i = 1; i <= 120; ++i)
        log += "2026-12-5 19:0:0: Bingo found in coupon " + std::to_string(i) +
               " (row 1)\n2026-12-5 19:0:0: Drawn numbers: 5, 17, 44\n";
    const fs::path input = TestFolders::WriteFile(folders.root() / "long.log", log);
    const fs::path pdf = folders.root() / "long.pdf";
    const ShellRun run = Report(Quote(input.string()) + " --out " + Quote(pdf.string()));
    ASSERT_EQ(run.status, 0) << run.out;
    const int pages = PdfPages(pdf);
    EXPECT_GE(pages, 3);
    const std::string text = PdfText(pdf);
    EXPECT_NE(text.find("Game 1 (continued)"), std::string::npos);
    // Every check and every winner is there, each winner once.
    for (int i = 1; i <= 120; ++i) {
        const std::regex check("\n *2026-12-05 19:00:00 +[0-9]+ +" + std::to_string(i) +
                               " +1 +3 +44 +BINGO!");
        EXPECT_TRUE(std::regex_search(text, check)) << i;
    }
    std::size_t headings = 0;
    for (std::size_t at = text.find("Last number"); at != std::string::npos;
         at = text.find("Last number", at + 1))
        ++headings;
    EXPECT_GE(headings, 2u);
}

struct OddLog {
    const char* name;
    std::string log;
    int status;
    const char* message; // in the tool's output
    const char* pdfText; // in the PDF's text; nullptr when no PDF may be written
};

class ReportOddLogs : public ::testing::TestWithParam<OddLog> {};

TEST_P(ReportOddLogs, TellsWhatItFoundWithoutFailing) {
    const OddLog& row = GetParam();
    TestFolders folders;
    const fs::path input = TestFolders::WriteFile(folders.root() / "odd.log", row.log);
    const fs::path pdf = folders.root() / "odd.pdf";
    const ShellRun run = Report(Quote(input.string()) + " --out " + Quote(pdf.string()));
    EXPECT_EQ(run.status, row.status) << run.out;
    EXPECT_NE(run.out.find(row.message), std::string::npos) << run.out;
    if (row.pdfText == nullptr) {
        EXPECT_FALSE(fs::exists(pdf));
        return;
    }
    ASSERT_GE(PdfPages(pdf), 1);
    const std::string text = PdfText(pdf);
    EXPECT_NE(text.find(row.pdfText), std::string::npos) << text;
}

const std::string kT = "2026-12-6 20:1:2: ";
const std::string kCommit = kT + "Game commitment: " + std::string(64, '0') + "\n";
// The small game 3, 1, 5, 2, 4 with nonce 00112233445566778899aabbccddeeff.
const std::string kReveal = kT + "Game reveal: 00112233445566778899aabbccddeeff 3,1,5,2,4\n";

INSTANTIATE_TEST_SUITE_P(
    Cases, ReportOddLogs,
    ::testing::Values(
        OddLog{"empty", "", 1, "holds no line of a game log", nullptr},
        OddLog{"binary", std::string("\x00\xff\xfe\x01PK\x03\x04\n\n\x7f", 12), 1,
               "holds no line of a game log", nullptr},
        OddLog{"noGame", kT + "Starting program\n" + kT + "Read coupons\n", 1, "holds no game",
               nullptr},
        OddLog{"lineWithoutTime", "Game commitment: " + std::string(64, '0') + "\n", 1,
               "holds no line of a game log", nullptr},
        OddLog{"damagedCommitment", kT + "Game commitment: 12zz\n", 0, "1 game on 2 pages",
               "DAMAGED, no digest: 12zz"},
        OddLog{"withoutCommitments",
               kT + "Starting new game\n" + kT + "Bingo found in coupon 7 (row 1)\n" + kT +
                   "Drawn numbers: 1, 2, 3\n",
               0, "1 game on 2 pages", "this log has no commitments"},
        OddLog{"revealOfAnEarlierLog", kReveal, 0, "1 game on 2 pages",
               "e1fe467e7c3680e87c791c4ec4a54db0d84f6ad287a42b6d51aef4049d492799"},
        OddLog{"revealAgainstOtherCommitment", kCommit + kReveal, 0, "0 reveals verify, 1 does not",
               "DOES NOT VERIFY"},
        OddLog{"revealNotAnOrder",
               kCommit + kT + "Game reveal: 00112233445566778899aabbccddeeff 3,1,5,2,2\n", 0,
               "1 does not", "order of the numbers 1 to 5"},
        OddLog{"revealGarbled", kCommit + kT + "Game reveal: nonsense\n", 0, "1 does not",
               "not a nonce and a list"},
        OddLog{"checkWithoutNumbers", kCommit + kT + "Bingo found in coupon 12 (row 3)\n", 0,
               "1 game on", "No check recorded the numbers drawn"},
        OddLog{"damagedCheck", kCommit + kT + "Bingo found in coupon (row \n", 0, "1 game on",
               "damaged line"},
        OddLog{"hugeNumbers",
               kCommit + kT + "Bingo found in coupon 99999999999999999999 (row 1)\n" + kT +
                   "Drawn numbers: 99999999999999, 3\n",
               0, "1 game on", "damaged line"},
        OddLog{"longLine",
               kCommit + kT + "Bingo found in coupon " + std::string(100000, '7') + "\n", 0,
               "1 game on", "damaged line"},
        OddLog{"unfinishedLastLine", kCommit + kT + "Bingo found in coupon 3 (ro", 0, "1 game on",
               "damaged line"}),
    [](const auto& info) { return std::string(info.param.name); });

struct ArgumentCase {
    const char* name;
    const char* args;
    int status;
};

class ReportArguments : public ::testing::TestWithParam<ArgumentCase> {};

TEST_P(ReportArguments, RefusedWithAMessage) {
    const ShellRun run = Report(GetParam().args);
    EXPECT_EQ(run.status, GetParam().status);
    EXPECT_NE(run.out.find("zorvi-draws report: "), std::string::npos) << run.out;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ReportArguments,
    ::testing::Values(ArgumentCase{"nothing", "", 2}, ArgumentCase{"noOut", "/dev/null", 2},
                      ArgumentCase{"outWithoutValue", "/dev/null --out", 2},
                      ArgumentCase{"missingLog", "/nonexistent/zorvi.log --out /tmp/x.pdf", 2},
                      ArgumentCase{"unknownOption", "/dev/null --out /tmp/x.pdf --pages 3", 2},
                      ArgumentCase{"missingSeries",
                                   "/dev/null --out /tmp/x.pdf --series /nonexistent/x.hex", 2}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ReportTool, AnUnwritableOutputIsReported) {
    TestFolders folders;
    const fs::path input = TestFolders::WriteFile(folders.root() / "one.log", kCommit);
    const ShellRun run = Report(Quote(input.string()) + " --out " +
                                Quote((folders.root() / "no-such-folder" / "x.pdf").string()));
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.out.find("cannot write"), std::string::npos) << run.out;
}

struct Encoded {
    const char* name;
    std::string utf8;
    std::string winAnsi;
};

class PdfWinAnsi : public ::testing::TestWithParam<Encoded> {};

TEST_P(PdfWinAnsi, LettersOfTheHallsLanguagesPrintAndTheRestBecomeQuestionMarks) {
    EXPECT_EQ(PdfWriter::ToWinAnsi(GetParam().utf8), GetParam().winAnsi);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, PdfWinAnsi,
    ::testing::Values(Encoded{"ascii", "Row 2 (1045)", "Row 2 (1045)"},
                      Encoded{"finnishSwedish", "\xC3\xA4\xC3\xB6\xC3\xA5\xC3\x84\xC3\x96\xC3\x85",
                              "\xE4\xF6\xE5\xC4\xD6\xC5"},
                      Encoded{"windowsExtras", "\xE2\x82\xAC \xE2\x80\x93 \xE2\x80\x9C",
                              "\x80 \x96 \x93"},
                      Encoded{"outsideTheEncoding", "\xE4\xB8\xAD\xF0\x9F\x8E\xB2", "??"},
                      Encoded{"cutSequence", "a\xC3", "a?"}, Encoded{"overlong", "\xC0\xAF", "??"},
                      Encoded{"surrogate", "\xED\xA0\x80", "???"},
                      Encoded{"controls", std::string("a\0b\tc\r", 6), "a?b?c?"}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
} // namespace zorvi
#endif
