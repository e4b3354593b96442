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
        DrawTimes(5);
        Check(1); // row 1
        DrawTimes(5);
        Check(1); // row 2
        Check(2); // a miss writes no list

        window.confirmations = {true};
        commands.NewGameCommand();
        UseFixtureSeries();
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

    std::string LogText() const { return TestFolders::ReadFile(logPath); }
    void WriteLogText(const std::string& text) const { TestFolders::WriteFile(logPath, text); }

    LogVerifier::Result Verify() const {
        LogVerifier verifier;
        std::ifstream in(logPath, std::ios::binary);
        verifier.Feed(in);
        return verifier.Finish();
    }

#ifdef ZORVI_DRAWS_TOOL
    // zorvi-draws with the arguments: what it printed, and its exit status in `status`.
    static std::string RunTool(const std::string& arguments, int* status = nullptr) {
        const std::string command = std::string(ZORVI_DRAWS_TOOL) + " " + arguments;
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

    LogWriter log;
    std::filesystem::path logPath;
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
    EXPECT_EQ(result.lists_checked, 4u);
    EXPECT_EQ(result.not_revealed, 0u);
    EXPECT_EQ(result.lists_unchecked, 0u);
}

struct Tampering {
    const char* name;
    // Changes the log text; returns the line (its message part) that must be reported.
    std::string (*change)(std::string& text);
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

const Tampering kTamperings[] = {
    {"winnersList", [](std::string& text) { return ChangeNumber(text, "Drawn numbers: ", 1); }},
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
         return text.substr(at, text.find('\n', at) - at);
     }},
    {"commitmentDigit",
     [](std::string& text) {
         const std::size_t at = text.find("Game commitment: ") + 17;
         text[at] = text[at] == '0' ? '1' : '0';
         const std::size_t reveal = text.find("Game reveal: ");
         return text.substr(reveal, text.find('\n', reveal) - reveal);
     }},
};

class GameLogTamperTest : public GameLogVerifyTest,
                          public ::testing::WithParamInterface<Tampering> {};

TEST_P(GameLogTamperTest, OneChangeFailsAtItsLine) {
    PlayGames();
    std::string text = LogText();
    std::string failing = GetParam().change(text);
    // The log's lines end with a carriage return; the tool prints the line without it.
    while (!failing.empty() && failing.back() == '\r')
        failing.pop_back();
    WriteLogText(text);

    const LogVerifier::Result result = Verify();
    ASSERT_FALSE(result.ok);
    EXPECT_NE(result.line.find(failing), std::string::npos) << result.line;

#ifdef ZORVI_DRAWS_TOOL
    int status = -1;
    const std::string out = RunTool("verify '" + logPath.string() + "'", &status);
    EXPECT_EQ(status, 1) << out;
    EXPECT_NE(out.find("line " + std::to_string(result.line_number) + ": "), std::string::npos)
        << out;
    EXPECT_NE(out.find(failing), std::string::npos) << out;
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

#ifdef ZORVI_DRAWS_TOOL
TEST_F(GameLogVerifyTest, ToolCountsInTheSingularToo) {
    PlayGames();
    std::string text = LogText();
    const std::size_t reveal = text.find("Game reveal: ");
    text.resize(text.find('\n', reveal) + 1);
    WriteLogText(text);
    const std::string out = RunTool("verify '" + logPath.string() + "'");
    EXPECT_NE(out.find("1 game verified: "), std::string::npos) << out;
    EXPECT_EQ(out.find("1 games"), std::string::npos) << out;
}

TEST_F(GameLogVerifyTest, ToolPassesTheRealLog) {
    PlayGames();
    int status = -1;
    const std::string out = RunTool("verify '" + logPath.string() + "'", &status);
    EXPECT_EQ(status, 0) << out;
    EXPECT_NE(out.find("3 games verified"), std::string::npos) << out;
}
#endif

} // namespace
} // namespace zorvi::test
