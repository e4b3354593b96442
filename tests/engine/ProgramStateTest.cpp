#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>
#include <vector>

#include "ProgramState.h"
#include "Random.h"
#include "Settings.h"

namespace zorvi {
namespace {

class ProgramStateTest : public ::testing::Test {
protected:
    ProgramStateTest() : state(generator) {
        state.AttachSettings(settings);
        state.AttachSaver([this](const ProgramState&) { ++saves; });
    }

    void Reset(int n) {
        settings.max_called_numbers = n;
        state.ResetGame();
        saves = 0;
    }

    Random15 generator{1};
    Settings settings{Settings::NoLoad{}};
    ProgramState state;
    int saves = 0;
};

std::vector<int> OneTo(int n) {
    std::vector<int> numbers(static_cast<std::size_t>(n));
    std::iota(numbers.begin(), numbers.end(), 1);
    return numbers;
}

TEST_F(ProgramStateTest, ResetRightAfterSeedOneGivesTheKnownSequence) {
    settings.max_called_numbers = 75;
    state.ResetGame();
    ASSERT_GE(state.randomizer_numbers.size(), 5u);
    EXPECT_EQ(
        std::vector<int>(state.randomizer_numbers.begin(), state.randomizer_numbers.begin() + 5),
        (std::vector<int>{65, 60, 36, 64, 16}));
}

struct ResetCase {
    int n;
    int maxRow;
};

class ResetGameTest : public ProgramStateTest, public ::testing::WithParamInterface<ResetCase> {};

TEST_P(ResetGameTest, StartsAFreshGameAndSavesOnce) {
    const ResetCase c = GetParam();
    state.number_count = 7;
    state.current_row = 2;
    state.bingo_found = 1;
    state.bingo_on_this_row = 1;
    state.rows_left = 0;
    state.number_limit = 40;
    state.auto_speed = 9;
    state.auto_new_number = 2;
    state.winners = {{1, 5, 12}};
    settings.max_called_numbers = c.n;

    state.ResetGame();

    std::vector<int> sorted = state.randomizer_numbers;
    std::sort(sorted.begin(), sorted.end());
    EXPECT_EQ(sorted, OneTo(c.n));
    EXPECT_EQ(state.number_count, 0);
    EXPECT_EQ(state.current_row, 1);
    EXPECT_EQ(state.max_row, c.maxRow);
    EXPECT_EQ(state.rows_left, 1);
    EXPECT_EQ(state.bingo_found, 0);
    EXPECT_EQ(state.bingo_on_this_row, 0);
    EXPECT_EQ(state.CurrentNumber(), -1);
    EXPECT_EQ(state.PreviousNumber(), -1);
    EXPECT_TRUE(state.DrawnNumbers().empty());
    EXPECT_EQ(saves, 1);
    // Left for the new-game command.
    EXPECT_EQ(state.number_limit, 40);
    EXPECT_EQ(state.auto_speed, 9);
    EXPECT_EQ(state.auto_new_number, 2);
    EXPECT_EQ(state.winners.size(), 1u);
}

INSTANTIATE_TEST_SUITE_P(NumberCounts, ResetGameTest,
                         ::testing::Values(ResetCase{75, 5}, ResetCase{90, 3}));

TEST_F(ProgramStateTest, NumberCountIsReadFromTheSettingsAtEveryUse) {
    Reset(75);
    settings.max_called_numbers = 90;
    EXPECT_EQ(state.NumbersInGame(), 90);
    state.ResetGame();
    EXPECT_EQ(state.randomizer_numbers.size(), 90u);
}

// Two states are the same game when every stored field is equal; where the public screen was
// last shown is the window's business, not the game's.
TEST_F(ProgramStateTest, EqualGamesDifferOnlyOutsideTheStoredFields) {
    Reset(75);
    ProgramState copy = state;
    copy.shown_public_screen = PublicScreenMode::OtherScreen;
    EXPECT_TRUE(copy == state);
    copy.winners.push_back({1, 5, 7});
    EXPECT_FALSE(copy == state);
    copy = state;
    copy.randomizer_numbers.back() = 0;
    EXPECT_FALSE(copy == state);
}

TEST_F(ProgramStateTest, DrawingWalksTheSequence) {
    Reset(75);
    const std::vector<int> sequence = state.randomizer_numbers;
    state.DrawNext();
    EXPECT_EQ(state.CurrentNumber(), sequence[0]);
    EXPECT_EQ(state.PreviousNumber(), -1);
    state.DrawNext();
    EXPECT_EQ(state.CurrentNumber(), sequence[1]);
    EXPECT_EQ(state.PreviousNumber(), sequence[0]);
    EXPECT_EQ(state.DrawnNumbers(), (std::vector<int>{sequence[0], sequence[1]}));
    EXPECT_EQ(state.DrawnCount(), 2);
    EXPECT_EQ(saves, 2);
}

TEST_F(ProgramStateTest, CancelledNumberComesAgain) {
    Reset(90);
    state.DrawNext();
    const int first = state.CurrentNumber();
    state.CancelLast();
    EXPECT_EQ(state.CurrentNumber(), -1);
    state.DrawNext();
    EXPECT_EQ(state.CurrentNumber(), first);
    EXPECT_EQ(saves, 3);
}

TEST_F(ProgramStateTest, BoundsDoNothingAndDoNotSave) {
    Reset(75);
    state.CancelLast();
    state.PreviousRow();
    EXPECT_EQ(state.number_count, 0);
    EXPECT_EQ(state.current_row, 1);

    state.number_count = 75;
    state.current_row = 5;
    state.DrawNext();
    state.NextRow();
    EXPECT_EQ(state.number_count, 75);
    EXPECT_EQ(state.current_row, 5);
    EXPECT_EQ(saves, 0);
}

TEST_F(ProgramStateTest, RowsMoveBetweenOneAndMaxRow) {
    Reset(90);
    state.NextRow();
    state.NextRow();
    state.NextRow();
    EXPECT_EQ(state.current_row, 3);
    EXPECT_EQ(saves, 2);
    state.PreviousRow();
    EXPECT_EQ(state.current_row, 2);
    EXPECT_EQ(saves, 3);
}

struct BingoCase {
    int n;
    int row;
    int drawn;
    int value;
    int rowsLeft;
};

class SetBingoFoundTest : public ProgramStateTest,
                          public ::testing::WithParamInterface<BingoCase> {};

TEST_P(SetBingoFoundTest, EndsTheGameOnlyForAWinnerOnTheLastRowOrWithAllDrawn) {
    const BingoCase c = GetParam();
    Reset(c.n);
    state.current_row = c.row;
    state.number_count = c.drawn;
    state.SetBingoFound(c.value);
    EXPECT_EQ(state.bingo_found, c.value);
    EXPECT_EQ(state.rows_left, c.rowsLeft);
    EXPECT_EQ(saves, 1);
    EXPECT_EQ(state.IsLastRowOrAllDrawn(), c.row >= state.max_row || c.drawn >= c.n);
}

INSTANTIATE_TEST_SUITE_P(Cases, SetBingoFoundTest,
                         ::testing::Values(BingoCase{90, 2, 40, 1, 1}, BingoCase{90, 3, 40, 1, 0},
                                           BingoCase{90, 3, 40, 0, 1}, BingoCase{90, 1, 90, 1, 0},
                                           BingoCase{90, 1, 90, 0, 1}, BingoCase{75, 4, 60, 1, 1},
                                           BingoCase{75, 5, 60, 1, 0}, BingoCase{75, 3, 75, 1, 0}));

TEST_F(ProgramStateTest, AddWinnerSkipsExactDuplicatesAndDoesNotSave) {
    Reset(75);
    state.AddWinner(1045, 2, 31);
    state.AddWinner(1045, 2, 31);
    ASSERT_EQ(state.winners.size(), 1u);
    EXPECT_EQ(state.winners[0], (Winner{2, 31, 1045}));
    state.AddWinner(1045, 2, 32);
    state.AddWinner(1045, 3, 31);
    EXPECT_EQ(state.winners, (std::vector<Winner>{{2, 31, 1045}, {2, 32, 1045}, {3, 31, 1045}}));
    EXPECT_EQ(saves, 0);
}

TEST_F(ProgramStateTest, SaveWithoutSaverDoesNothing) {
    Random15 other(3);
    ProgramState bare(other);
    bare.AttachSettings(settings);
    bare.ResetGame();
    bare.DrawNext();
    EXPECT_EQ(bare.number_count, 1);
}

// A state file can leave the count outside the sequence; the accessors must stay inside it.
struct HostileCase {
    const char* name;
    int sequenceLength;
    int count;
    int current;  // expected CurrentNumber (sequence is 1..length)
    int previous; // expected PreviousNumber
    std::size_t drawn;
};

class HostileCountTest : public ProgramStateTest,
                         public ::testing::WithParamInterface<HostileCase> {};

TEST_P(HostileCountTest, AccessorsStayInsideTheSequence) {
    const HostileCase c = GetParam();
    settings.max_called_numbers = 75;
    state.randomizer_numbers = OneTo(c.sequenceLength);
    state.number_count = c.count;
    EXPECT_EQ(state.CurrentNumber(), c.current);
    EXPECT_EQ(state.PreviousNumber(), c.previous);
    EXPECT_EQ(state.DrawnNumbers().size(), c.drawn);
}

INSTANTIATE_TEST_SUITE_P(Cases, HostileCountTest,
                         ::testing::Values(HostileCase{"beyond", 75, 200, 75, 74, 75},
                                           HostileCase{"negative", 75, -5, -1, -1, 0},
                                           HostileCase{"hugeNegative", 75, -2147483647 - 1, -1, -1,
                                                       0},
                                           HostileCase{"huge", 75, 2147483647, 75, 74, 75},
                                           HostileCase{"emptySequence", 0, 3, -1, -1, 0},
                                           HostileCase{"shortSequence", 10, 40, 10, 9, 10}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(ProgramStateTest, DrawStopsAtTheEndOfAShortSequence) {
    settings.max_called_numbers = 75;
    state.randomizer_numbers = OneTo(10);
    state.number_count = 10;
    state.DrawNext();
    EXPECT_EQ(state.number_count, 10);
    EXPECT_EQ(saves, 0);
    EXPECT_EQ(state.CurrentNumber(), 10);
}

} // namespace
} // namespace zorvi
