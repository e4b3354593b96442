// zorvi-coupons as a hall runs it: exit statuses, files it writes and keeps, the printed PDF.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "CouponGenerator.h"
#include "SeriesFile.h"
#include "TestFolders.h"

namespace zorvi {
namespace {

namespace fs = std::filesystem;

std::string Quote(const std::string& s) {
    std::string out = "'";
    for (const char ch : s)
        out += ch == '\'' ? std::string("'\\''") : std::string(1, ch);
    return out + "'";
}

// Runs a command line, its output into `output` when given; returns the exit status.
int Shell(const std::string& command, const fs::path& output = {}) {
    const std::string redirect =
        output.empty() ? " >/dev/null 2>&1" : " >" + Quote(output.string()) + " 2>&1";
    const int status = std::system((command + redirect).c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

std::string Tool() {
    return Quote(ZORVI_COUPONS_TOOL);
}

bool Available(const char* program) {
    return Shell(std::string("command -v ") + program) == 0;
}

class ToolCommand : public testing::Test {
protected:
    fs::path Path(const std::string& name) const { return folders.programFolder() / name; }
    test::TestFolders folders;
};

struct InspectCase {
    const char* name;
    const char* numbers;
    std::string bytes;
    int status;
};

TEST_F(ToolCommand, InspectExitStatus) {
    const auto card = CouponGenerator::Generate({75, 3, 1, false});
    const std::string clean(card.begin(), card.end());
    const InspectCase cases[] = {
        {"clean", "75", clean, 0},
        {"trailing", "75", clean + "x", 1},
        {"duplicate", "75", clean + clean.substr(0, 25), 1},
        {"wrong game", "90", clean, 1},
        {"bad numbers option", "80", clean, 2},
    };
    for (const InspectCase& c : cases) {
        const fs::path file = test::TestFolders::WriteFile(Path("in.hex"), c.bytes);
        EXPECT_EQ(Shell(Tool() + " inspect --numbers " + c.numbers + " " + Quote(file.string())),
                  c.status)
            << c.name;
    }
    EXPECT_EQ(Shell(Tool() + " inspect --numbers 75 " + Quote(Path("missing.hex").string())), 2);
    EXPECT_EQ(Shell(Tool() + " inspect " + Quote(Path("in.hex").string())), 2);
}

TEST_F(ToolCommand, GenerateIsReproducibleAndRejectsBadOptions) {
    const std::string a = Quote(Path("a.hex").string());
    const std::string b = Quote(Path("b.hex").string());
    ASSERT_EQ(Shell(Tool() + " generate --numbers 90 --count 100 --seed 9 --out " + a), 0);
    ASSERT_EQ(Shell(Tool() + " generate --numbers 90 --count 100 --seed 9 --out " + b), 0);
    EXPECT_EQ(test::TestFolders::ReadFile(Path("a.hex")),
              test::TestFolders::ReadFile(Path("b.hex")));
    EXPECT_EQ(fs::file_size(Path("a.hex")), 1500u);
    EXPECT_EQ(Shell(Tool() + " inspect --numbers 90 " + a), 0);

    const char* bad[] = {
        " generate --numbers 90 --count 10 --seed 1 --free-middle --out ",
        " generate --numbers 75 --count 0 --seed 1 --out ",
        " generate --numbers 75 --count 12x --seed 1 --out ",
        " generate --numbers 75 --count 10 --seed -1 --out ",
        " generate --numbers 75 --count 10 --seed 1 --bogus --out ",
        " generate --numbers 75 --count 10 --seed 1 --out",
    };
    for (const char* args : bad)
        EXPECT_EQ(Shell(Tool() + args + (std::string(args).back() == ' ' ? b : "")), 2) << args;
    EXPECT_EQ(Shell(Tool() + " frobnicate"), 2);
}

// A run that fails half-way (here: a file size limit) leaves the existing series whole and
// no temporary behind; without --force the file is not even touched.
TEST_F(ToolCommand, GenerateNeverLeavesAHalfWrittenSeries) {
    const std::string out = Quote(Path("90.hex").string());
    ASSERT_EQ(Shell(Tool() + " generate --numbers 90 --count 100 --seed 9 --out " + out), 0);
    const std::string printed = test::TestFolders::ReadFile(Path("90.hex"));
    EXPECT_EQ(Shell(Tool() + " generate --numbers 90 --count 100 --seed 8 --out " + out), 1);
    EXPECT_EQ(Shell(std::string("(trap '' XFSZ; ulimit -f 1; exec ") + Tool() +
                    " generate --numbers 90 --count 1000 --seed 8 --force --out " + out + ")"),
              1);
    EXPECT_EQ(test::TestFolders::ReadFile(Path("90.hex")), printed);
    std::vector<std::string> entries;
    for (const auto& entry : fs::directory_iterator(folders.programFolder()))
        entries.push_back(entry.path().filename().string());
    EXPECT_EQ(entries, std::vector<std::string>{"90.hex"});
    EXPECT_EQ(Shell(Tool() + " generate --numbers 90 --count 100 --seed 8 --force --out " + out),
              0);
    EXPECT_NE(test::TestFolders::ReadFile(Path("90.hex")), printed);
}

TEST_F(ToolCommand, SamplesKeepAHallsOwnSeries) {
    const std::string own = "not ours to replace";
    test::TestFolders::WriteFile(Path("kup75.hex"), own);
    ASSERT_EQ(
        Shell(Tool() + " generate-samples --count 60 " + Quote(folders.programFolder().string())),
        0);
    EXPECT_EQ(test::TestFolders::ReadFile(Path("kup75.hex")), own);
    for (const auto& sample : SampleSeriesList()) {
        if (std::string(sample.fileName) == "kup75.hex")
            continue;
        const std::string file = Quote(Path(sample.fileName).string());
        EXPECT_EQ(
            Shell(Tool() + " inspect --numbers " + std::to_string(sample.numbers) + " " + file), 0)
            << sample.fileName;
        EXPECT_EQ(fs::file_size(Path(sample.fileName)), 60u * (sample.numbers == 75 ? 25 : 15));
    }
    const std::string vorpa = test::TestFolders::ReadFile(Path("VORPA.hex"));
    for (std::size_t k = 0; k < 60; ++k)
        ASSERT_EQ(vorpa[k * 25 + 12], '\0') << "coupon " << k + 1;

    ASSERT_EQ(Shell(Tool() + " generate-samples --overwrite --count 60 " +
                    Quote(folders.programFolder().string())),
              0);
    EXPECT_EQ(fs::file_size(Path("kup75.hex")), 1500u);
}

#ifdef ZORVI_COUPONS_PRINT
TEST_F(ToolCommand, PrintedPdfHoldsTheCouponsAndRenders) {
    if (!Available("pdftotext") || !Available("pdftoppm"))
        GTEST_SKIP() << "poppler-utils are not installed";
    const std::string ninety = Quote(Path("90.hex").string());
    const std::string cards = Quote(Path("kup75.hex").string());
    ASSERT_EQ(Shell(Tool() + " generate --numbers 90 --count 18 --seed 4 --out " + ninety), 0);
    ASSERT_EQ(
        Shell(Tool() + " generate --numbers 75 --count 8 --seed 4 --free-middle --out " + cards),
        0);

    struct PrintCase {
        std::string args;
        std::vector<std::string> present;
        std::vector<std::string> absent;
    };
    const PrintCase cases[] = {
        {" --numbers 90 --series 'Ilta Sarja' " + ninety,
         {"Ilta Sarja", "No. 1", "No. 18", "90"},
         {}},
        {" --numbers 90 --series Kesä --from 9 --to 14 " + ninety,
         {"Kesä", "No. 9", "No. 14", "strip 2 (7-12): only coupons 9-12 on this sheet",
          "No. 8 is not on this sheet", "strip 3 (13-18): only coupons 13-14 on this sheet",
          "No. 15 is not on this sheet"},
         {"No. 2", "strip 1", "strip 4"}},
        {" --numbers 90 --series S --from 12 --to 12 " + ninety,
         {"strip 2 (7-12): only coupon 12 on this sheet", "No. 12"},
         {"strip 3"}},
        {" --numbers 75 --series VORPA " + cards, {"VORPA", "No. 8", "B", "O"}, {}},
    };
    for (const PrintCase& c : cases) {
        const fs::path pdf = Path("out.pdf");
        ASSERT_EQ(Shell(Tool() + " print" + c.args + " --out " + Quote(pdf.string())), 0) << c.args;
        ASSERT_EQ(Shell("pdftotext " + Quote(pdf.string()) + " " + Quote(Path("out.txt").string())),
                  0);
        const std::string text = test::TestFolders::ReadFile(Path("out.txt"));
        for (const std::string& word : c.present)
            EXPECT_NE(text.find(word), std::string::npos) << c.args << ": " << word << "\n" << text;
        for (const std::string& word : c.absent)
            EXPECT_EQ(text.find(word), std::string::npos) << c.args << ": " << word;
        ASSERT_EQ(Shell("pdftoppm -r 30 -f 1 -l 1 -png " + Quote(pdf.string()) + " " +
                        Quote(Path("page").string())),
                  0);
        bool rendered = false;
        for (const auto& entry : fs::directory_iterator(folders.programFolder()))
            rendered = rendered || (entry.path().filename().string().rfind("page", 0) == 0 &&
                                    fs::file_size(entry.path()) > 1000);
        EXPECT_TRUE(rendered) << c.args;
    }

    // The case a hall met: a 90-number series printed from coupon 753 (strip 126, 751-756).
    ASSERT_EQ(Shell(Tool() + " generate --numbers 90 --count 760 --seed 5 --out " +
                    Quote(Path("760.hex").string())),
              0);
    ASSERT_EQ(Shell(Tool() + " print --numbers 90 --series S --from 753 --to 760 " +
                    Quote(Path("760.hex").string()) + " --out " + Quote(Path("753.pdf").string())),
              0);
    ASSERT_EQ(Shell("pdftotext -layout " + Quote(Path("753.pdf").string()) + " " +
                    Quote(Path("753.txt").string())),
              0);
    const std::string from753 = test::TestFolders::ReadFile(Path("753.txt"));
    for (const char* word :
         {"strip 126 (751-756): only coupons 753-756 on this sheet", "No. 751 is not on this sheet",
          "No. 752 is not on this sheet", "No. 753", "No. 756",
          "strip 127 (757-762): only coupons 757-760 on this sheet", "No. 761 is not in the series",
          "No. 762 is not in the series"})
        EXPECT_NE(from753.find(word), std::string::npos) << word << "\n" << from753;

    // Every number of the first ticket is printed.
    const std::string first = test::TestFolders::ReadFile(Path("90.hex")).substr(0, 15);
    ASSERT_EQ(Shell(Tool() + " print --numbers 90 --series S --to 1 " + ninety + " --out " +
                    Quote(Path("one.pdf").string())),
              0);
    ASSERT_EQ(Shell("pdftotext " + Quote(Path("one.pdf").string()) + " " +
                    Quote(Path("one.txt").string())),
              0);
    const std::string text = test::TestFolders::ReadFile(Path("one.txt"));
    for (const char ch : first)
        EXPECT_NE(text.find(std::to_string(static_cast<unsigned char>(ch))), std::string::npos);

    // A hostile file prints what it holds, without a crash: values without a column, 0, 255.
    std::string junk;
    for (int i = 0; i < 50; ++i)
        junk += static_cast<char>(i % 3 == 0 ? 0 : 255 - i);
    const std::string junkFile =
        Quote(test::TestFolders::WriteFile(Path("junk.hex"), junk).string());
    for (const char* numbers : {"75", "90"})
        EXPECT_EQ(Shell(Tool() + " print --numbers " + numbers + " --series J " + junkFile +
                        " --out " + Quote(Path("junk.pdf").string())),
                  0)
            << numbers;

    EXPECT_EQ(Shell(Tool() + " print --numbers 90 --series S --from 19 " + ninety + " --out " +
                    Quote(Path("none.pdf").string())),
              1);
    EXPECT_EQ(Shell(Tool() + " print --numbers 90 --series S --from 5 --to 4 " + ninety +
                    " --out " + Quote(Path("none.pdf").string())),
              1);
}
#endif

} // namespace
} // namespace zorvi
