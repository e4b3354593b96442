// A real game log, written by the log writer as the game commands play, checked by the
// verifier and by the zorvi-draws tool; and the same log with one thing changed.
#ifdef ZORVI_DRAWS_TOOL
#include <sys/wait.h>
#endif

#include <cstdio>
#include <fstream>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "CommandsFixture.h"
#include "DrawCommitment.h"
#include "LogVerifier.h"
#include "LogWriter.h"
#include "Programme.h"
#include "SeriesFiles.h"

namespace zorvi::test {
namespace {

class GameLogVerifyTest : public CommandsTest {
protected:
    GameLogVerifyTest() {
        log.OpenLog(nullptr);
        window.logWriter = &log;
    }

    // Two games with winners, a restart that continues the second, a third game that a
    // declined stored game and Exit end: every way the engine gives a sequence up.
    void PlayGames() {
        StartGame(75);
        SeriesInUse();
        DrawTimes(5);
        Check(1); // row 1
        DrawTimes(5);
        Check(1); // row 2
        Check(2); // a miss writes no list

        window.confirmations = {true};
        commands.NewGameCommand();
        UseFixtureSeries();
        SeriesInUse();
        DrawTimes(5);
        Check(1);
        DrawTimes(3);

        // The program ends by its close box: the game stays stored, unrevealed, and goes on
        // after a restart.
        ProgramState restarted(otherRandom);
        restarted.AttachSettings(settings);
        ASSERT_EQ(StateFile::LoadState(restarted), 1);
        ASSERT_EQ(restarted.commitment_nonce, state.commitment_nonce);
        restarted.AttachSaver([](const ProgramState& s) { StateFile::SaveState(s); });
        GameCommands again(restarted, settings, coupons, window, window, window);
        again.ContinueStoredGame();
        EXPECT_EQ(window.pageCommitment, DrawCommitment::PageText(state));
        again.DrawCommand();
        again.OnDrawLockTick();
        again.DrawCommand();
        again.OnDrawLockTick();
        window.couponNumber = 1;
        again.CheckCommand(); // row 2 with 10 drawn

        // Next start: the stored game is declined and a new one begins; that one ends by Exit.
        ProgramState declined(otherRandom);
        declined.AttachSettings(settings);
        ASSERT_EQ(StateFile::LoadState(declined), 1);
        declined.AttachSaver([](const ProgramState& s) { StateFile::SaveState(s); });
        GameCommands fresh(declined, settings, coupons, window, window, window);
        fresh.BeginNewGame();
        fresh.DrawCommand();
        fresh.OnDrawLockTick();
        fresh.DiscardSequence();
        logPath = log.GetLogFilePath();
        log.CloseLog();
    }

    // The fixture's series is made from the game's sequence, so it is put in place after the
    // game has begun; the game then goes on as after a restart, and the log names the series
    // now in use. Its file is kept for the verifier.
    void SeriesInUse() {
        commands.ContinueStoredGame();
        const auto bytes = coupons.SeriesBytes();
        const std::filesystem::path path = TestFolders::WriteFile(
            folders.root() / ("series-" + std::to_string(++seriesFiles) + ".hex"),
            std::string(bytes->begin(), bytes->end()));
        ASSERT_TRUE(series.Add(path));
    }

    std::string LogText() const { return TestFolders::ReadFile(logPath); }
    void WriteLogText(const std::string& text) const { TestFolders::WriteFile(logPath, text); }

    LogVerifier::Result Verify() {
        LogVerifier verifier(&series);
        std::ifstream in(logPath, std::ios::binary);
        verifier.Feed(in);
        return verifier.Finish();
    }

#ifdef ZORVI_DRAWS_TOOL
    // zorvi-draws with the arguments: what it printed, and its exit status in `status`.
    static std::string RunTool(const std::string& arguments, int* status = nullptr) {
        return Run(std::string(ZORVI_DRAWS_TOOL) + " " + arguments, status);
    }
    static std::string Run(const std::string& command, int* status = nullptr) {
        std::FILE* pipe = ::popen(command.c_str(), "r");
        if (pipe == nullptr)
            return "(no pipe)";
        std::string out;
        char buffer[4096];
        while (const std::size_t got = std::fread(buffer, 1, sizeof buffer, pipe))
            out.append(buffer, got);
        const int ended = ::pclose(pipe);
        if (status)
            *status = WEXITSTATUS(ended);
        return out;
    }
#endif

    // "--series" arguments of the tool for the fixture's series files.
    std::string SeriesArguments() const {
        std::string arguments;
        for (int i = 1; i <= seriesFiles; ++i)
            arguments += " --series '" +
                         (folders.root() / ("series-" + std::to_string(i) + ".hex")).string() + "'";
        return arguments;
    }

    LogWriter log;
    std::filesystem::path logPath;
    SeriesFiles series;
    int seriesFiles = 0;
};

TEST_F(GameLogVerifyTest, RealLogHoldsAndEveryWayOfGivingUpRevealsOnce) {
    PlayGames();
    const std::string text = LogText();
    const std::regex commitment("Game commitment: [0-9a-f]{64}");
    const std::regex reveal("Game reveal: [0-9a-f]{32} [0-9,]+");
    const auto count = [&](const std::regex& re) {
        return std::distance(std::sregex_iterator(text.begin(), text.end(), re),
                             std::sregex_iterator());
    };
    EXPECT_EQ(count(commitment), 3);
    EXPECT_EQ(count(reveal), 3);

    const LogVerifier::Result result = Verify();
    EXPECT_TRUE(result.ok) << result.line_number << ": " << result.reason;
    EXPECT_EQ(result.games_verified, 3u);
    // Four winners' lists, and the lists of the games continued.
    EXPECT_EQ(result.lists_checked, 7u);
    EXPECT_EQ(result.not_revealed, 0u);
    EXPECT_EQ(result.lists_unchecked, 0u);
    // Every draw and check is in the log: 10 + 8 + 2 + 1 draws; four winners and one miss,
    // each judged again by its series.
    EXPECT_EQ(result.draws_checked, 21u);
    EXPECT_EQ(result.checks_judged, 5u);
    EXPECT_EQ(result.checks_not_checkable, 0u);
    // A seal after each of the three games and one at the close, and nothing after it.
    EXPECT_EQ(result.seals_verified, 4u);
    EXPECT_EQ(result.unsealed_lines, 0u);
}

struct Tampering {
    const char* name;
    // Changes the log text; returns the number (1-based) of the line that must be reported.
    std::size_t (*change)(std::string& text);
};

// Replaces the first number of the first line starting with `prefix` after `skip` such lines.
std::string ChangeNumber(std::string& text, const std::string& prefix, int skip) {
    std::size_t at = 0;
    for (int i = 0; i <= skip; ++i)
        at = text.find(prefix, at) + (i < skip ? 1 : 0);
    const std::size_t number = at + prefix.size();
    std::size_t end = number;
    while (std::isdigit(static_cast<unsigned char>(text[end])))
        ++end;
    const int value = std::stoi(text.substr(number, end - number));
    text.replace(number, end - number, std::to_string(value == 75 ? 74 : value + 1));
    const std::size_t lineEnd = text.find('\n', at);
    return text.substr(at, lineEnd - at);
}

// The log as lines (each with its CR LF) and back.
std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line + "\n");
    return lines;
}
std::string Joined(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines)
        text += line;
    return text;
}

// The index of the line holding `part` after `skip` such lines (counted from `from`).
std::size_t Find(const std::vector<std::string>& lines, const std::string& part, int skip = 0,
                 std::size_t from = 0) {
    for (std::size_t i = from; i < lines.size(); ++i) {
        if (lines[i].find(part) != std::string::npos && skip-- == 0)
            return i;
    }
    ADD_FAILURE() << "no line " << part;
    return lines.size() - 1;
}

// The line number of the line holding `part` after `skip` such lines.
std::size_t LineOf(const std::string& text, const std::string& part, int skip = 0) {
    return Find(Lines(text), part, skip) + 1;
}

// Each kind of edit an auditor must find, and the line it must be found at: a line that is
// wrong in itself (a winner, a verdict, a draw that the series or the reveal disproves) is
// named itself; an edit that leaves every line plausible is found by the seal that follows it.
const Tampering kTamperings[] = {
    {"winnersList",
     [](std::string& text) {
         const std::string line = ChangeNumber(text, "Drawn numbers: ", 1);
         return LineOf(text, line);
     }},
    {"revealedNumber",
     [](std::string& text) {
         // Two numbers swapped keep the sequence an order of 1 to 75.
         const std::size_t at = text.find("Game reveal: ");
         const std::size_t list = text.find(' ', at + 13) + 1;
         const std::size_t comma = text.find(',', list);
         const std::size_t next = text.find(',', comma + 1);
         const std::string a = text.substr(list, comma - list);
         const std::string b = text.substr(comma + 1, next - comma - 1);
         text.replace(list, next - list, b + "," + a);
         return LineOf(text, "Game reveal: ");
     }},
    {"commitmentDigit",
     [](std::string& text) {
         const std::size_t at = text.find("Game commitment: ") + 17;
         text[at] = text[at] == '0' ? '1' : '0';
         return LineOf(text, "Game reveal: ");
     }},
    {"winnerCoupon",
     [](std::string& text) {
         auto lines = Lines(text);
         const std::size_t at = Find(lines, "Bingo found in coupon 1 (row 1)");
         lines[at].replace(lines[at].find("coupon 1"), 8, "coupon 2");
         text = Joined(lines);
         return at + 1;
     }},
    {"winnerRow",
     [](std::string& text) {
         auto lines = Lines(text);
         const std::size_t at = Find(lines, "Bingo found in coupon 1 (row 1)");
         lines[at].replace(lines[at].find("(row 1)"), 7, "(row 3)");
         text = Joined(lines);
         return at + 1;
     }},
    {"inventedWinner",
     [](std::string& text) {
         // A winner and its numbers copied into the second game, after its first draw.
         auto lines = Lines(text);
         const std::size_t winner = Find(lines, "Bingo found in coupon 1 (row 1)");
         const std::size_t secondGame = Find(lines, "Game commitment: ", 1);
         const std::size_t at = Find(lines, "Number drawn: ", 0, secondGame) + 1;
         lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(at),
                      {lines[winner], lines[winner + 1]});
         text = Joined(lines);
         return at + 1;
     }},
    {"verdictChanged",
     [](std::string& text) {
         auto lines = Lines(text);
         const std::size_t at = Find(lines, "Checked coupon 2 ");
         lines[at].replace(lines[at].find("coupon 2"), 8, "coupon 1");
         text = Joined(lines);
         return at + 1;
     }},
    {"drawChanged",
     [](std::string& text) { return LineOf(text, ChangeNumber(text, "Number drawn: ", 2)); }},
    {"drawDeleted",
     [](std::string& text) {
         // The next draw's count no longer follows.
         auto lines = Lines(text);
         const std::size_t at = Find(lines, "Number drawn: ", 1);
         lines.erase(lines.begin() + static_cast<std::ptrdiff_t>(at));
         text = Joined(lines);
         return at + 1;
     }},
    {"missDeleted",
     [](std::string& text) {
         auto lines = Lines(text);
         const std::size_t at = Find(lines, "Checked coupon 2 ");
         lines.erase(lines.begin() + static_cast<std::ptrdiff_t>(at));
         text = Joined(lines);
         return Find(lines, "Game seal: ") + 1;
     }},
    {"linesMoved",
     [](std::string& text) {
         auto lines = Lines(text);
         const std::size_t rules = Find(lines, "Game rules: ");
         std::swap(lines[rules], lines[rules + 1]);
         text = Joined(lines);
         return Find(lines, "Game seal: ") + 1;
     }},
    {"timeChanged",
     [](std::string& text) {
         auto lines = Lines(text);
         const std::size_t at = Find(lines, "Number drawn: ");
         lines[at].replace(0, 4, "2001");
         text = Joined(lines);
         return Find(lines, "Game seal: ") + 1;
     }},
    {"sealChanged",
     [](std::string& text) {
         auto lines = Lines(text);
         const std::size_t at = Find(lines, "Game seal: ");
         char& digit = lines[at][lines[at].find("Game seal: ") + 11];
         digit = digit == '0' ? '1' : '0';
         text = Joined(lines);
         return at + 1;
     }},
    {"sealDeleted",
     [](std::string& text) {
         auto lines = Lines(text);
         const std::size_t at = Find(lines, "Game seal: ");
         lines.erase(lines.begin() + static_cast<std::ptrdiff_t>(at));
         text = Joined(lines);
         return at; // the reveal before it
     }},
};

class GameLogTamperTest : public GameLogVerifyTest,
                          public ::testing::WithParamInterface<Tampering> {};

TEST_P(GameLogTamperTest, OneChangeFailsAtItsLine) {
    PlayGames();
    std::string text = LogText();
    const std::size_t failing = GetParam().change(text);
    WriteLogText(text);

    const LogVerifier::Result result = Verify();
    ASSERT_FALSE(result.ok);
    EXPECT_EQ(result.line_number, failing) << result.line << "\n" << result.reason;

#ifdef ZORVI_DRAWS_TOOL
    int status = -1;
    const std::string out =
        RunTool("verify '" + logPath.string() + "'" + SeriesArguments(), &status);
    EXPECT_EQ(status, 1) << out;
    EXPECT_NE(out.find(logPath.string() + ", line " + std::to_string(failing) + ": "),
              std::string::npos)
        << out;
#endif
}

INSTANTIATE_TEST_SUITE_P(Changes, GameLogTamperTest, ::testing::ValuesIn(kTamperings),
                         [](const auto& info) { return std::string(info.param.name); });

// A game may span two month files: a failure names the file and the line within it, also
// when the winner's line is in one file and the reveal that disproves it in the next.
struct SplitCase {
    const char* name;
    int cutBefore; // the second file begins this many lines before the failing one (negative:
                   // after it)
    bool inSecond;
};

class GameLogSplitTest : public GameLogVerifyTest,
                         public ::testing::WithParamInterface<SplitCase> {};

TEST_P(GameLogSplitTest, FailureNamesTheFileAndItsLine) {
    PlayGames();
    std::string text = LogText();
    std::string failing = ChangeNumber(text, "Drawn numbers: ", 1);
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line + "\n");
    std::size_t failingIndex = 0;
    while (lines[failingIndex].find(failing) == std::string::npos)
        ++failingIndex;
    const std::size_t cut = failingIndex + 1 - std::size_t(GetParam().cutBefore + 1);
    const std::filesystem::path first = logPath.parent_path() / "2026-11.log";
    const std::filesystem::path second = logPath.parent_path() / "2026-12.log";
    std::string a, b;
    for (std::size_t i = 0; i < lines.size(); ++i)
        (i < cut ? a : b) += lines[i];
    TestFolders::WriteFile(first, a);
    TestFolders::WriteFile(second, b);

    LogVerifier verifier;
    std::ifstream one(first, std::ios::binary), two(second, std::ios::binary);
    verifier.Feed(one, first.string());
    verifier.Feed(two, second.string());
    const LogVerifier::Result result = verifier.Finish();
    ASSERT_FALSE(result.ok);
    EXPECT_EQ(result.file, (GetParam().inSecond ? second : first).string());
    EXPECT_EQ(result.line_number, GetParam().inSecond ? failingIndex - cut + 1 : failingIndex + 1);

#ifdef ZORVI_DRAWS_TOOL
    const std::string out = RunTool("verify '" + first.string() + "' '" + second.string() + "'");
    EXPECT_NE(out.find(result.file + ", line " + std::to_string(result.line_number) + ": "),
              std::string::npos)
        << out;
#endif
}

INSTANTIATE_TEST_SUITE_P(Cuts, GameLogSplitTest,
                         ::testing::Values(SplitCase{"winnerInTheSecondFile", 2, true},
                                           SplitCase{"winnerLastInTheFirstFile", -1, false}),
                         [](const auto& info) { return std::string(info.param.name); });

// An evening of both sources: a game of this computer's draw, then one of the hall's ball
// machine with a winner, a miss, a recall and a refused ball; verify and report over it, and
// the machine's record tampered with.
class MixedEveningTest : public GameLogVerifyTest {
protected:
    void PlayEvening() {
        StartGame(75);
        SeriesInUse();
        DrawTimes(5);
        Check(1);
        settings.ball_source = 1;
        window.confirmations = {true};
        commands.NewGameCommand();
        UseFixtureSeries();
        SeriesInUse();
        const std::vector<int> sequence = state.randomizer_numbers;
        for (int i = 0; i < 5; ++i)
            Enter(sequence[static_cast<std::size_t>(i)]);
        Check(2);                       // a miss
        Check(1);                       // row 1
        Enter(sequence[5]);             // row 2 begins
        commands.CancelNumberCommand(); // recalled
        Enter(sequence[0]);             // refused: drawn already
        Enter(sequence[5]);
        commands.EndGameForGood(); // Exit
        logPath = log.GetLogFilePath();
        log.CloseLog();
    }
    void Enter(int ball) {
        window.ballNumber = ball;
        commands.EnterBallCommand();
    }
};

TEST_F(MixedEveningTest, VerifiesAndReportsBothKindsOfGame) {
    PlayEvening();
    const std::string text = LogText();
    EXPECT_NE(text.find("Ball source: the hall's ball machine"), std::string::npos);
    const LogVerifier::Result result = Verify();
    EXPECT_TRUE(result.ok) << result.line_number << ": " << result.reason;
    EXPECT_EQ(result.games_verified, 1u);
    EXPECT_EQ(result.machine_games, 1u);
    EXPECT_EQ(result.seals_verified, 3u); // each game's and the close
    EXPECT_EQ(result.checks_judged, 3u);

#ifdef ZORVI_DRAWS_TOOL
    const std::filesystem::path pdf = folders.root() / "mixed.pdf";
    int status = -1;
    const std::string out = RunTool("report '" + logPath.string() + "'" + SeriesArguments() +
                                        " --out '" + pdf.string() + "'",
                                    &status);
    EXPECT_EQ(status, 0) << out;
    const std::string all = Run("pdftotext -layout '" + pdf.string() + "' -");
    for (const char* expected : {"balls from the machine", "(balls from the hall's ball machine)",
                                 "Recalled", "Wrong!", "VERIFIES: 3 seals"})
        EXPECT_NE(all.find(expected), std::string::npos) << expected << "\n" << all;
    EXPECT_NE(RunTool("verify '" + logPath.string() + "'" + SeriesArguments())
                  .find("1 game of balls from the machine"),
              std::string::npos);
#endif
}

struct MachineTampering {
    const char* name;
    // Changes the log's lines; the index of the line that must be reported.
    std::size_t (*change)(std::vector<std::string>& lines);
};

const MachineTampering kMachineTamperings[] = {
    {"ballEnteredTwice",
     [](std::vector<std::string>& lines) {
         const std::size_t ball = Find(lines, "Ball entered: ", 1);
         lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(ball) + 1, lines[ball]);
         return ball + 1;
     }},
    {"recallOfAnotherBall",
     [](std::vector<std::string>& lines) {
         const std::size_t at = Find(lines, "Ball recalled: ");
         const std::size_t colon = lines[at].find("recalled: ") + 10;
         lines[at].replace(colon, lines[at].find('\r') - colon, "99");
         return at;
     }},
    {"computerDrawInAMachineGame",
     [](std::vector<std::string>& lines) {
         const std::size_t at = Find(lines, "Ball entered: ");
         lines[at].replace(lines[at].find("Ball entered: "), 14, "Number drawn: ");
         lines[at].insert(lines[at].find('\r'), " (count 1)");
         return at;
     }},
};

class MachineTamperTest : public MixedEveningTest,
                          public ::testing::WithParamInterface<MachineTampering> {};

TEST_P(MachineTamperTest, FoundAtItsLine) {
    PlayEvening();
    auto lines = Lines(LogText());
    const std::size_t at = GetParam().change(lines);
    WriteLogText(Joined(lines));
    const LogVerifier::Result result = Verify();
    ASSERT_FALSE(result.ok);
    EXPECT_EQ(result.line_number, at + 1) << result.line << "\n" << result.reason;
}

INSTANTIATE_TEST_SUITE_P(Changes, MachineTamperTest, ::testing::ValuesIn(kMachineTamperings),
                         [](const auto& info) { return std::string(info.param.name); });

// An evening's programme: two games, one of rows then four corners, one of a pattern the hall
// drew. Coupon 1 holds row 1 at draw 5, the corners at draw 25, the drawn arrow at draw 23; at
// draw 10 it holds two rows, which the corners' stage does not count.
class ProgrammeEveningTest : public GameLogVerifyTest {
protected:
    void PlayEvening() {
        const WinPattern arrow =
            *WinPatterns::Drawn("Arrow", *WinPatterns::ParseGrid("..#../.###./#.#.#/..#../..#.."));
        Programme programme;
        programme.drawnPatterns = {arrow};
        programme.games = {
            {"Early bird",
             75,
             {{*WinPatterns::Find("rows_1", 75), "10 €"},
              {*WinPatterns::Find("four_corners", 75), "20 €"}},
             {}},
            {"Arrow", 75, {{arrow, "30 €"}}, {}},
        };
        commands.SetProgramme(programme);
        StartGame(75);
        SeriesInUse();
        DrawTimes(5);
        Check(1); // stage 1
        DrawTimes(5);
        Check(1); // a miss: two rows are not the corners
        DrawTimes(15);
        Check(1); // the corners
        commands.NextGameCommand();
        UseFixtureSeries();
        SeriesInUse();
        DrawTimes(23);
        Check(1); // the arrow
        commands.EndGameForGood();
        logPath = log.GetLogFilePath();
        log.CloseLog();
    }
};

TEST_F(ProgrammeEveningTest, ChecksAreJudgedByTheStagesPattern) {
    PlayEvening();
    const LogVerifier::Result result = Verify();
    EXPECT_TRUE(result.ok) << result.line_number << ": " << result.reason;
    EXPECT_EQ(result.programme_games, 2u);
    EXPECT_EQ(result.checks_judged, 4u);

    // The stage said to be two rows: the miss at draw 10 would then have been a winner.
    const std::string written = LogText();
    auto lines = Lines(written);
    const std::size_t stage = Find(lines, "Stage 2 of 2, pattern four_corners");
    lines[stage].replace(lines[stage].find("four_corners"), 12, "rows_2");
    WriteLogText(Joined(lines));
    const LogVerifier::Result changed = Verify();
    ASSERT_FALSE(changed.ok);
    const std::size_t miss = Find(lines, "Checked coupon 1 (row 2)");
    EXPECT_EQ(changed.line_number, miss + 1) << changed.line << "\n" << changed.reason;
    EXPECT_NE(changed.reason.find("holds stage 2 (rows_2)"), std::string::npos) << changed.reason;

#ifdef ZORVI_DRAWS_TOOL
    WriteLogText(written);
    const std::filesystem::path pdf = folders.root() / "programme.pdf";
    int status = -1;
    const std::string out = RunTool("report '" + logPath.string() + "'" + SeriesArguments() +
                                        " --out '" + pdf.string() + "'",
                                    &status);
    EXPECT_EQ(status, 0) << out;
    const std::string all = Run("pdftotext -layout '" + pdf.string() + "' -");
    for (const char* expected :
         {"Game 1 of 2: Early bird", "Stage 2 of 2, pattern four_corners", "Game 2 of 2: Arrow"})
        EXPECT_NE(all.find(expected), std::string::npos) << expected << "\n" << all;
    EXPECT_NE(RunTool("verify '" + logPath.string() + "'" + SeriesArguments())
                  .find("2 games of the evening's programme"),
              std::string::npos);
#endif
}

// The program begins a month's file only when it starts: a log cut in two elsewhere has lines
// moved out of the chain they were sealed in, which the second file's first seal shows.
TEST_F(GameLogVerifyTest, ALogCutInTwoFailsAtTheSecondFilesFirstSeal) {
    PlayGames();
    const auto lines = Lines(LogText());
    const std::size_t cut = Find(lines, "Number drawn: ", 3);
    const std::filesystem::path first = logPath.parent_path() / "2026-11.log";
    const std::filesystem::path second = logPath.parent_path() / "2026-12.log";
    TestFolders::WriteFile(
        first, Joined({lines.begin(), lines.begin() + static_cast<std::ptrdiff_t>(cut)}));
    TestFolders::WriteFile(second,
                           Joined({lines.begin() + static_cast<std::ptrdiff_t>(cut), lines.end()}));

    LogVerifier verifier(&series);
    std::ifstream one(first, std::ios::binary), two(second, std::ios::binary);
    verifier.Feed(one, first.string());
    verifier.Feed(two, second.string());
    const LogVerifier::Result result = verifier.Finish();
    ASSERT_FALSE(result.ok);
    EXPECT_EQ(result.file, second.string());
    const auto rest =
        std::vector<std::string>(lines.begin() + static_cast<std::ptrdiff_t>(cut), lines.end());
    EXPECT_EQ(result.line_number, Find(rest, "Game seal: ") + 1) << result.reason;
    // The lines left in the first file are not sealed, which is no failure of their own.
    EXPECT_EQ(result.failures.size(), 1u) << result.failures.back().reason;
}

#ifdef ZORVI_DRAWS_TOOL
TEST_F(GameLogVerifyTest, ToolCountsInTheSingularToo) {
    PlayGames();
    std::string text = LogText();
    const std::size_t seal = text.find("Game seal: ");
    text.resize(text.find('\n', seal) + 1);
    WriteLogText(text);
    const std::string out = RunTool("verify '" + logPath.string() + "'");
    EXPECT_NE(out.find("1 game verified: "), std::string::npos) << out;
    EXPECT_NE(out.find("1 seal verified: "), std::string::npos) << out;
    EXPECT_EQ(out.find("1 games"), std::string::npos) << out;
    EXPECT_EQ(out.find("1 seals"), std::string::npos) << out;
}

// The report's first page tells the evening in brief, as an auditor reads it: what verify
// found, the games, numbers, winners and checks, the series, and the digits the players saw.
TEST_F(GameLogVerifyTest, ReportOfARealEveningSaysItInBriefFirst) {
    PlayGames();
    const std::string text = LogText();
    const std::filesystem::path pdf = folders.root() / "evening.pdf";
    const auto firstPage = [&] {
        int status = -1;
        const std::string out = RunTool("report '" + logPath.string() + "'" + SeriesArguments() +
                                            " --out '" + pdf.string() + "'",
                                        &status);
        EXPECT_EQ(status, 0) << out;
        return Run("pdftotext -layout -f 1 -l 1 '" + pdf.string() + "' -");
    };

    std::string page = firstPage();
    const std::vector<std::regex> expected = {
        std::regex("Record +VERIFIES: 4 seals, every commitment, draw, winner and verdict hold"),
        std::regex("Games +3\n"),
        std::regex("Numbers called +21\n"),
        std::regex("Winners +4\n"),
        std::regex("Checks +5, of them 1 miss\n"),
        std::regex("Judged by series +5 checks\n"),
        std::regex(R"(Coupon series +series\.hex \(SHA-256 [0-9a-f]{16}\.\.\.\))"),
    };
    for (const std::regex& line : expected)
        EXPECT_TRUE(std::regex_search(page, line)) << page;
    // Each game's commitment and seal as the players saw them: their first 16 digits.
    const std::regex digests("Game (commitment|seal): ([0-9a-f]{16})");
    int shown = 0;
    for (auto it = std::sregex_iterator(text.begin(), text.end(), digests);
         it != std::sregex_iterator(); ++it, ++shown)
        EXPECT_NE(page.find((*it)[2].str()), std::string::npos) << (*it)[2] << "\n" << page;
    EXPECT_EQ(shown, 6);

    // A winner invented in the second game: the first page says so and names its line.
    auto lines = Lines(text);
    const std::size_t winner = Find(lines, "Bingo found in coupon 1 (row 1)");
    const std::size_t at =
        Find(lines, "Number drawn: ", 0, Find(lines, "Game commitment: ", 1)) + 1;
    lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(at),
                 {lines[winner], lines[winner + 1]});
    WriteLogText(Joined(lines));
    page = firstPage();
    EXPECT_NE(page.find("DOES NOT VERIFY"), std::string::npos) << page;
    EXPECT_NE(page.find("line " + std::to_string(at + 1) + ": "), std::string::npos) << page;
    EXPECT_NE(page.find("LINES FAIL"), std::string::npos) << page;
    const std::string all = Run("pdftotext -layout '" + pdf.string() + "' -");
    EXPECT_NE(all.find("CHECK FAILS"), std::string::npos) << all;
}

TEST_F(GameLogVerifyTest, ToolPassesTheRealLog) {
    PlayGames();
    int status = -1;
    const std::string out =
        RunTool("verify '" + logPath.string() + "'" + SeriesArguments(), &status);
    EXPECT_EQ(status, 0) << out;
    EXPECT_NE(out.find("3 games verified"), std::string::npos) << out;
    EXPECT_NE(out.find("4 seals verified"), std::string::npos) << out;
    EXPECT_NE(out.find("5 checks judged again by the coupon series"), std::string::npos) << out;
    EXPECT_EQ(out.find("not checkable"), std::string::npos) << out;
}
#endif

} // namespace
} // namespace zorvi::test
