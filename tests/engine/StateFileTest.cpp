#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <numeric>
#include <string>
#include <vector>

#ifdef __linux__
#include <sys/inotify.h>
#include <unistd.h>
#endif

#include "Helpers.h"
#include "Printers.h"
#include "ProgramState.h"
#include "Random.h"
#include "Settings.h"
#include "StateFile.h"
#include "TestFolders.h"

namespace zorvi {
namespace {

std::vector<int> OneTo(int n) {
    std::vector<int> numbers(static_cast<std::size_t>(n));
    std::iota(numbers.begin(), numbers.end(), 1);
    return numbers;
}

class StateFileTest : public ::testing::Test {
protected:
    StateFileTest() : state(generator) { state.AttachSettings(settings); }

    std::filesystem::path StatePath() const { return folders.dataFolder() / "state.ini"; }
    void WriteState(const std::string& content) {
        test::TestFolders::WriteFile(StatePath(), content);
    }
    std::string ReadState() const { return test::TestFolders::ReadFile(StatePath()); }

    // A game with every stored field set to a value of its own.
    ProgramState SampleGame() {
        ProgramState game(generator);
        game.number_count = 31;
        game.randomizer_numbers = OneTo(90);
        game.current_row = 2;
        game.auto_speed = 17;
        game.auto_new_number = 1;
        game.bingo_found = 1;
        game.bingo_on_this_row = 1;
        game.max_row = 3;
        game.rows_left = 1;
        game.number_limit = 45;
        game.winners = {{2, 31, 1045}, {3, 40, 77}};
        game.commitment_nonce = "00112233445566778899aabbccddeeff";
        return game;
    }

    test::TestFolders folders;
    Random15 generator{1};
    Settings settings{Settings::NoLoad{}};
    ProgramState state;
};

TEST_F(StateFileTest, SavedGameLoadsBackWhole) {
    const ProgramState game = SampleGame();
    ASSERT_TRUE(StateFile::SaveState(game));
    ASSERT_EQ(StateFile::LoadState(state), 1);
    EXPECT_EQ(state, game);
}

struct NonceCase {
    const char* name;
    std::string line; // the nonce's line, or none at all
    std::string loaded;
};

class NonceLoadTest : public StateFileTest, public ::testing::WithParamInterface<NonceCase> {};

// A file from before commitments, or with a damaged nonce, loads as before without one: the
// game goes on, it just cannot be revealed.
TEST_P(NonceLoadTest, OnlyAWholeNonceIsKept) {
    const NonceCase& c = GetParam();
    WriteState("[common]\nnumber_count=3\nrandomizer_numbers=3;1;2;\nwinners=1:2:3;\n" + c.line);
    ASSERT_EQ(StateFile::LoadState(state), 1);
    EXPECT_EQ(state.commitment_nonce, c.loaded);
    EXPECT_EQ(state.randomizer_numbers, (std::vector<int>{3, 1, 2}));
    EXPECT_EQ(state.winners, (std::vector<Winner>{{1, 2, 3}}));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, NonceLoadTest,
    ::testing::Values(
        NonceCase{"olderFile", "", ""},
        NonceCase{"whole", "commitment_nonce=0123456789abcdef0123456789abcdef\n",
                  "0123456789abcdef0123456789abcdef"},
        NonceCase{"empty", "commitment_nonce=\n", ""},
        NonceCase{"short", "commitment_nonce=0123456789abcdef0123456789abcde\n", ""},
        NonceCase{"long", "commitment_nonce=0123456789abcdef0123456789abcdef0\n", ""},
        NonceCase{"upperCase", "commitment_nonce=0123456789ABCDEF0123456789ABCDEF\n", ""},
        NonceCase{"notHex", "commitment_nonce=0123456789abcdef0123456789abcdeg\n", ""}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(StateFileTest, ListValuesHaveTheirStoredForm) {
    const ProgramState game = SampleGame();
    const std::string sequence = StateFile::FormatSequence(game);
    EXPECT_EQ(sequence.size(), 261u);
    EXPECT_EQ(sequence.substr(0, 6), "1;2;3;");
    EXPECT_EQ(sequence.substr(255), "89;90;");
    EXPECT_EQ(StateFile::FormatWinners(game), "2:31:1045;3:40:77;");

    ASSERT_TRUE(StateFile::SaveState(game));
    EXPECT_EQ(Helpers::ReadIniStringWhole("state.ini", "randomizer_numbers", ""), sequence);
    EXPECT_EQ(Helpers::ReadIniStringWhole("state.ini", "winners", ""), "2:31:1045;3:40:77;");
    EXPECT_EQ(Helpers::ReadIniString("state.ini", "bingo_found", ""), "1");

    ProgramState empty(generator);
    EXPECT_EQ(StateFile::FormatSequence(empty), "");
    EXPECT_EQ(StateFile::FormatWinners(empty), "");
}

TEST_F(StateFileTest, FlagsAreStoredAsOneOrZero) {
    ProgramState game = SampleGame();
    game.bingo_found = 2;
    game.bingo_on_this_row = -1;
    game.rows_left = 0;
    ASSERT_TRUE(StateFile::SaveState(game));
    EXPECT_EQ(Helpers::ReadIniString("state.ini", "bingo_found", ""), "0");
    EXPECT_EQ(Helpers::ReadIniString("state.ini", "bingo_on_this_row", ""), "0");
    EXPECT_EQ(Helpers::ReadIniString("state.ini", "rows_left", ""), "0");
}

// One save gives the file that single writes of every key give, from any starting file.
// The save writes a file of its own: whatever the old file held besides the game's keys is
// gone, so the cost of a save never depends on it.
TEST_F(StateFileTest, SaveEqualsSingleWritesOfEveryKeyToANewFile) {
    const ProgramState game = SampleGame();
    for (const std::string& start :
         {std::string(), std::string("[other]\nnumber_count=9\n[common]\nwinners=old\nextra=keep\n"
                                     "number_count=3\n")}) {
        std::filesystem::remove(StatePath());
        if (!start.empty())
            WriteState(start);
        ASSERT_TRUE(StateFile::SaveState(game));
        const std::string saved = ReadState();

        std::filesystem::remove(StatePath());
        const std::string f = "state.ini";
        Helpers::WriteIniInt(f, "number_count", game.number_count);
        Helpers::WriteIniString(f, "randomizer_numbers", StateFile::FormatSequence(game));
        Helpers::WriteIniInt(f, "current_row", game.current_row);
        Helpers::WriteIniInt(f, "auto_speed", game.auto_speed);
        Helpers::WriteIniInt(f, "auto_new_number", game.auto_new_number);
        Helpers::WriteIniString(f, "bingo_found", "1");
        Helpers::WriteIniString(f, "bingo_on_this_row", "1");
        Helpers::WriteIniInt(f, "max_row", game.max_row);
        Helpers::WriteIniString(f, "rows_left", "1");
        Helpers::WriteIniInt(f, "number_limit", game.number_limit);
        Helpers::WriteIniString(f, "winners", StateFile::FormatWinners(game));
        Helpers::WriteIniString(f, "commitment_nonce", game.commitment_nonce);
        EXPECT_EQ(saved, ReadState()) << "starting from: " << start;
    }
}

#ifdef __linux__
TEST_F(StateFileTest, SaveReplacesTheFileOnce) {
    Helpers::EnsureDataFolder();
    const int watcher = inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    ASSERT_GE(watcher, 0);
    ASSERT_GE(
        inotify_add_watch(watcher, folders.dataFolder().c_str(), IN_MOVED_TO | IN_CLOSE_WRITE), 0);
    ASSERT_TRUE(StateFile::SaveState(SampleGame()));

    int replacements = 0;
    alignas(inotify_event) char buffer[64 * 1024];
    for (;;) {
        const ssize_t got = read(watcher, buffer, sizeof buffer);
        if (got <= 0)
            break;
        for (ssize_t at = 0; at < got;) {
            const auto* event = reinterpret_cast<const inotify_event*>(buffer + at);
            if (event->len > 0 && std::string(event->name) == "state.ini")
                ++replacements;
            at += static_cast<ssize_t>(sizeof(inotify_event) + event->len);
        }
    }
    close(watcher);
    EXPECT_EQ(replacements, 1);
}
#endif

TEST_F(StateFileTest, SaveReportsAFailedWrite) {
    // A plain file where the data folder should be: nothing can be written under it.
    test::TestFolders::WriteFile(folders.dataFolder(), "not a folder");
    EXPECT_FALSE(StateFile::SaveState(SampleGame()));
}

TEST_F(StateFileTest, MissingFileChangesNothing) {
    EXPECT_EQ(StateFile::LoadState(state), 0);
    EXPECT_EQ(state.current_row, 1);
    EXPECT_EQ(state.auto_speed, 60);
    EXPECT_EQ(state.rows_left, 1);
    EXPECT_TRUE(state.randomizer_numbers.empty());
}

TEST_F(StateFileTest, HeadingOnlyGivesZerosAndEmptyLists) {
    WriteState("[common]\n");
    ASSERT_EQ(StateFile::LoadState(state), 1);
    EXPECT_EQ(state.number_count, 0);
    EXPECT_EQ(state.current_row, 0);
    EXPECT_EQ(state.auto_speed, 0);
    EXPECT_EQ(state.auto_new_number, 0);
    EXPECT_EQ(state.bingo_found, 0);
    EXPECT_EQ(state.bingo_on_this_row, 0);
    EXPECT_EQ(state.max_row, 0);
    EXPECT_EQ(state.rows_left, 0);
    EXPECT_EQ(state.number_limit, 0);
    EXPECT_TRUE(state.randomizer_numbers.empty());
    EXPECT_TRUE(state.winners.empty());
}

struct LoadCase {
    const char* name;
    std::string body; // lines after the heading
    int result;
    std::vector<int> sequence;
    std::vector<Winner> winners;
    int currentRow; // shows whether the keys after the sequence were read
};

class LoadStateTest : public StateFileTest, public ::testing::WithParamInterface<LoadCase> {};

TEST_P(LoadStateTest, ReadsListsAsStored) {
    const LoadCase& c = GetParam();
    WriteState("[common]\n" + c.body + "current_row=2\n");
    EXPECT_EQ(StateFile::LoadState(state), c.result);
    EXPECT_EQ(state.randomizer_numbers, c.sequence);
    EXPECT_EQ(state.winners, c.winners);
    EXPECT_EQ(state.current_row, c.currentRow);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, LoadStateTest,
    ::testing::Values(
        LoadCase{"emptyPieces", "randomizer_numbers=5;;7;\n", 1, {5, 7}, {}, 2},
        LoadCase{"leadingSeparators", "randomizer_numbers=;;5;7\n", 1, {5, 7}, {}, 2},
        LoadCase{"onlySeparators", "randomizer_numbers=;;;\n", 1, {}, {}, 2},
        LoadCase{"badPieceStops", "randomizer_numbers=5;x;7;\n", -1, {5}, {}, 1},
        LoadCase{"signOnly", "randomizer_numbers=5;-;\n", -1, {5}, {}, 1},
        LoadCase{"trailingLetters", "randomizer_numbers= 12abc;+7;-3;\n", 1, {12, 7, -3}, {}, 2},
        LoadCase{"tooLarge", "randomizer_numbers=99999999999;\n", -1, {}, {}, 1},
        LoadCase{"justOutside", "randomizer_numbers=2147483648;\n", -1, {}, {}, 1},
        LoadCase{"int32Limits",
                 "randomizer_numbers=-2147483648;2147483647;\n",
                 1,
                 {-2147483647 - 1, 2147483647},
                 {},
                 2},
        LoadCase{"longDigitRun", "randomizer_numbers=000000000000000000000042;\n", 1, {42}, {}, 2},
        LoadCase{
            "twoWinners", "winners=2:31:1045;3:40:77;\n", 1, {}, {{2, 31, 1045}, {3, 40, 77}}, 2},
        LoadCase{"twoPieces", "winners=3:40\n", -1, {}, {}, 2},
        LoadCase{"fourPieces", "winners=3:40:77:9\n", 1, {}, {{3, 40, 77}}, 2},
        LoadCase{"fourthPieceNotLooked", "winners=3:40:77:x;\n", 1, {}, {{3, 40, 77}}, 2},
        LoadCase{"badWinnerKeepsEarlier",
                 "winners=2:31:1045;3:x:77;4:1:1;\n",
                 -1,
                 {},
                 {{2, 31, 1045}},
                 2},
        LoadCase{"doubledColons", "winners=::3::4:5:;;\n", 1, {}, {{3, 4, 5}}, 2},
        LoadCase{"duplicatesKept", "winners=1:2:3;1:2:3;\n", 1, {}, {{1, 2, 3}, {1, 2, 3}}, 2},
        LoadCase{"emptyWinners", "winners=\n", 1, {}, {}, 2}),
    [](const auto& info) { return std::string(info.param.name); });

struct FlagCase {
    const char* stored;
    int expected;
};

class FlagLoadTest : public StateFileTest, public ::testing::WithParamInterface<FlagCase> {};

TEST_P(FlagLoadTest, OnlyOneSetsAFlag) {
    const FlagCase c = GetParam();
    const std::string v = c.stored;
    WriteState("[common]\nbingo_found=" + v + "\nbingo_on_this_row=" + v + "\nrows_left=" + v +
               "\n");
    ASSERT_EQ(StateFile::LoadState(state), 1);
    EXPECT_EQ(state.bingo_found, c.expected);
    EXPECT_EQ(state.bingo_on_this_row, c.expected);
    EXPECT_EQ(state.rows_left, c.expected);
}

INSTANTIATE_TEST_SUITE_P(Values, FlagLoadTest,
                         ::testing::Values(FlagCase{"1", 1}, FlagCase{"2", 0}, FlagCase{"0", 0},
                                           FlagCase{"-1", 0}, FlagCase{"x", 0}, FlagCase{"11", 0}));

TEST_F(StateFileTest, DeleteRemovesTheFileAndToleratesNone) {
    ASSERT_TRUE(StateFile::SaveState(SampleGame()));
    ASSERT_TRUE(std::filesystem::exists(StatePath()));
    StateFile::DeleteStateFile();
    EXPECT_FALSE(std::filesystem::exists(StatePath()));
    StateFile::DeleteStateFile();
    EXPECT_EQ(StateFile::LoadState(state), 0);
}

// Files that load but must not be played; the accessors must stay inside the lists anyway.
struct HostileCase {
    const char* name;
    std::string body;
    int n;
    int result;
};

std::string SequenceValue(int n) {
    std::string value;
    for (int i = 1; i <= n; ++i)
        value += std::to_string(i) + ";";
    return value;
}

std::string GoodBody(int n, const std::string& count, const std::string& row,
                     const std::string& maxRow) {
    return "number_count=" + count + "\nrandomizer_numbers=" + SequenceValue(n) +
           "\ncurrent_row=" + row + "\nmax_row=" + maxRow + "\n";
}

std::string ManyNumbers(std::size_t bytes) {
    std::string value;
    value.reserve(bytes);
    while (value.size() < bytes)
        value += "12;";
    return "number_count=2000000000\nrandomizer_numbers=" + value + "\ncurrent_row=1\nmax_row=5\n";
}

class HostileStateTest : public StateFileTest, public ::testing::WithParamInterface<HostileCase> {};

TEST_P(HostileStateTest, IsNotPlayableAndStaysInBounds) {
    const HostileCase& c = GetParam();
    settings.max_called_numbers = c.n;
    WriteState("[common]\n" + c.body);
    EXPECT_EQ(StateFile::LoadState(state), c.result);
    EXPECT_FALSE(StateFile::IsPlayable(state, c.n));

    const std::size_t length = state.randomizer_numbers.size();
    EXPECT_LE(state.DrawnNumbers().size(), length);
    const int current = state.CurrentNumber();
    EXPECT_TRUE(current == -1 ||
                std::find(state.randomizer_numbers.begin(), state.randomizer_numbers.end(),
                          current) != state.randomizer_numbers.end());
    (void)state.PreviousNumber();
    for (int i = 0; i < 100; ++i)
        state.DrawNext();
    EXPECT_LE(state.DrawnNumbers().size(), length);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, HostileStateTest,
    ::testing::Values(HostileCase{"countAboveSequence", GoodBody(75, "80", "1", "5"), 75, 1},
                      HostileCase{"countAboveShortSequence", GoodBody(10, "40", "1", "5"), 75, 1},
                      HostileCase{"negativeCount", GoodBody(75, "-3", "1", "5"), 75, 1},
                      HostileCase{"rowAboveMaxRow", GoodBody(75, "10", "6", "5"), 75, 1},
                      HostileCase{"rowZero", GoodBody(75, "10", "0", "5"), 75, 1},
                      HostileCase{"maxRowOfTheOtherGame", GoodBody(75, "10", "1", "3"), 75, 1},
                      HostileCase{"ninetyUnderSeventyFive", GoodBody(90, "10", "1", "5"), 75, 1},
                      HostileCase{"seventyFiveUnderNinety", GoodBody(75, "10", "1", "3"), 90, 1},
                      HostileCase{"repeatedNumber",
                                  "number_count=1\nrandomizer_numbers=" + SequenceValue(74) +
                                      "1;\ncurrent_row=1\nmax_row=5\n",
                                  75, 1},
                      HostileCase{"numberOutOfRange",
                                  "number_count=1\nrandomizer_numbers=" + SequenceValue(74) +
                                      "0;\ncurrent_row=1\nmax_row=5\n",
                                  75, 1},
                      HostileCase{"headingOnly", "", 75, 1},
                      HostileCase{"tenMegabyteSequence",
                                  "number_count=2000000000\nrandomizer_numbers=" +
                                      std::string(10 << 20, '7') + ";" +
                                      "\ncurrent_row=1\nmax_row=5\n",
                                  75, -1},
                      // Within the size bound the numbers are read, and found unplayable;
                      // beyond it the file is no game at all.
                      HostileCase{"threeMegabyteOfNumbers", ManyNumbers(3u << 20), 75, 1},
                      HostileCase{"tenMegabyteOfNumbers", ManyNumbers(10u << 20), 75, -1}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(StateFileTest, HundredThousandWinnersLoad) {
    std::string value;
    for (int i = 1; i <= 100000; ++i)
        value += "1:" + std::to_string(i % 76) + ":" + std::to_string(i) + ";";
    WriteState("[common]\n" + GoodBody(75, "10", "1", "5") + "winners=" + value + "\n");
    settings.max_called_numbers = 75;
    ASSERT_EQ(StateFile::LoadState(state), 1);
    ASSERT_EQ(state.winners.size(), 100000u);
    EXPECT_EQ(state.winners.back(), (Winner{1, 100000 % 76, 100000}));
    EXPECT_TRUE(StateFile::IsPlayable(state, 75));
    EXPECT_EQ(StateFile::FormatWinners(state), value);
}

TEST_F(StateFileTest, ResetGameIsPlayable) {
    for (const int n : {75, 90}) {
        settings.max_called_numbers = n;
        state.ResetGame();
        EXPECT_TRUE(StateFile::IsPlayable(state, n));
        EXPECT_FALSE(StateFile::IsPlayable(state, n == 75 ? 90 : 75));
        state.number_count = n;
        state.current_row = state.max_row;
        EXPECT_TRUE(StateFile::IsPlayable(state, n));
        state.number_count = n + 1;
        EXPECT_FALSE(StateFile::IsPlayable(state, n));
    }
    EXPECT_FALSE(StateFile::IsPlayable(state, 0));
    EXPECT_FALSE(StateFile::IsPlayable(state, -5));
}

struct NormalizeCase {
    int speed, mode, limit;
    int wantSpeed, wantMode, wantLimit;
};

class NormalizeTest : public StateFileTest, public ::testing::WithParamInterface<NormalizeCase> {};

TEST_P(NormalizeTest, BringsControlValuesIntoRange) {
    const NormalizeCase c = GetParam();
    state.auto_speed = c.speed;
    state.auto_new_number = c.mode;
    state.number_limit = c.limit;
    StateFile::NormalizeLoadedState(state);
    EXPECT_EQ(state.auto_speed, c.wantSpeed);
    EXPECT_EQ(state.auto_new_number, c.wantMode);
    EXPECT_EQ(state.number_limit, c.wantLimit);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, NormalizeTest,
    ::testing::Values(NormalizeCase{5, 0, 0, 5, 0, 0}, NormalizeCase{0, 1, 30, 1, 1, 30},
                      NormalizeCase{61, 2, 90, 60, 2, 90}, NormalizeCase{-7, 3, -1, 1, 0, 0},
                      NormalizeCase{1000000, -1, 2147483647, 60, 0, 2147483647}));

// A game of the programme keeps its place, name and jackpot; the file of any other game has no
// such key. Damaged values stay in range, and the rows a programme's game may have are its own.
TEST_F(StateFileTest, ProgrammeGameKeysRoundTripAndStayInRange) {
    ProgramState game = SampleGame();
    ASSERT_TRUE(StateFile::SaveState(game));
    EXPECT_EQ(ReadState().find("programme"), std::string::npos);
    game.programme_game = 3;
    game.programme_game_name = "Early bird";
    game.programme_jackpot = ProgramState::kJackpotCarried;
    game.max_row = 2;
    ASSERT_TRUE(StateFile::SaveState(game));
    ASSERT_EQ(StateFile::LoadState(state), 1);
    EXPECT_EQ(state, game);

    struct Case {
        const char* lines;
        int game;
        int jackpot;
        int maxRow;
        bool playable;
    };
    const Case cases[] = {
        {"programme_game=2\nprogramme_jackpot=1\n", 2, 1, 2, true},
        {"programme_game=-4\nprogramme_jackpot=1\n", 0, 0, 2, false},
        {"programme_game=1\nprogramme_jackpot=7\n", 1, 0, 2, true},
        {"programme_game=1\n", 1, 0, 11, false},
        {"programme_game=1\n", 1, 0, 0, false},
        {"", 0, 0, 5, true},
    };
    for (const Case& c : cases) {
        ProgramState loaded(generator);
        WriteState("[common]\n" + GoodBody(75, "3", "1", std::to_string(c.maxRow)) + c.lines);
        ASSERT_EQ(StateFile::LoadState(loaded), 1) << c.lines;
        EXPECT_EQ(loaded.programme_game, c.game) << c.lines;
        EXPECT_EQ(loaded.programme_jackpot, c.jackpot) << c.lines;
        EXPECT_EQ(StateFile::IsPlayable(loaded, 75), c.playable) << c.lines << c.maxRow;
    }
}

} // namespace
} // namespace zorvi
