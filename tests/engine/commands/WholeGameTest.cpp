// One whole game each for 75 and 90 numbers, played headless through the window requests:
// a winner on every row up to the full coupon, then a new game.

#include <string>
#include <vector>

#include "CommandsFixture.h"
#include "DrawCommitment.h"
#include "Helpers.h"
#include "Language.h"

namespace zorvi::test {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

struct GameCase {
    const char* name;
    int n;
    int rows;
};

class WholeGameTest : public CommandsTest, public ::testing::WithParamInterface<GameCase> {
protected:
    std::string Letter(int number) const {
        const auto entry = Language::GetLetterName(number);
        return entry ? Language::GetText(*entry, 2) : "-";
    }

    std::string DrawnText(int count) const {
        std::string text;
        for (int i = 0; i < count; ++i)
            text += (i ? ", " : "") + std::to_string(Seq(i));
        return text;
    }

    void CollectLog() {
        for (const auto& line : window.Matching("log "))
            log.push_back(line);
    }

    std::vector<std::string> log;
};

TEST_P(WholeGameTest, WinnerOnEveryRowThenANewGame) {
    const GameCase& c = GetParam();
    const std::string n = std::to_string(c.n);
    settings.max_called_numbers = c.n;
    settings.public_screen = 1;

    commands.BeginNewGame();
    // The sequence is committed in the log before the page learns of the game.
    const std::string commitment = DrawCommitment::Commitment(state);
    ASSERT_EQ(commitment.size(), 64u);
    EXPECT_EQ(window.pageCommitment, commitment.substr(0, 16));
    EXPECT_THAT(
        window.events(),
        ElementsAre("forgetKeys", "enable CancelNumber=0", "enable ShowDrawnNumbers=0",
                    "enable Draw=1", "public enable=1", "log Game commitment: " + commitment,
                    "log Ball source: this computer's draw", "log Game rules: " + n + " numbers, free middle off, no number limit",
                    "log Coupon series: (none), not read", "ballSource computer", "page reset " + n, "public show",
                    "text PreviousNumber=-", "text DrawnCount=-", "text CurrentNumber=-",
                    "text LetterName=-", "repaintBoard", "clearCouponPanel", "rebuildBoard " + n,
                    "text WinnersList=", "text CurrentRow=1", "text CheckResult=-", "focusCoupon"));
    EXPECT_EQ(state.max_row, c.rows);
    std::vector<int> sorted = state.randomizer_numbers;
    std::sort(sorted.begin(), sorted.end());
    EXPECT_EQ(sorted, Helpers::MakeNumberSequence(c.n));
    ExpectStoredEqualsMemory();
    UseFixtureSeries();

    std::vector<Winner> winners;
    for (int row = 1; row <= c.rows; ++row) {
        for (int d = 1; d <= 5; ++d) {
            const int count = 5 * (row - 1) + d;
            const int number = Seq(count - 1);
            window.Clear();
            Draw();
            if (d == 1 && row > 1) {
                EXPECT_THAT(window.Matching("page "),
                            ElementsAre(UpdateMain(Seq(count - 2), count - 1, row),
                                        UpdateMain(number, count, row)));
            } else {
                EXPECT_THAT(window.Matching("page "), ElementsAre(UpdateMain(number, count, row)));
            }
            ExpectInOrder(
                {"enable Draw=0", "public enable=0", "timer DrawLock start 1000",
                 "clearCouponPanel", "enable CancelNumber=1", "enable ShowDrawnNumbers=1",
                 "text PreviousNumber=" + (count > 1 ? std::to_string(Seq(count - 2)) : "-"),
                 "text DrawnCount=" + std::to_string(count),
                 "text CurrentNumber=" + std::to_string(number),
                 "text LetterName=" + Letter(number), "say " + std::to_string(number),
                 UpdateMain(number, count, row), "repaintBoard", "focusCoupon",
                 "timer DrawLock stop", "enable Draw=1", "public enable=1"});
            EXPECT_EQ(state.current_row, row);
            ExpectStoredEqualsMemory();
            CollectLog();
        }

        // A coupon that does not win, then the one that does.
        window.Clear();
        Check(2);
        EXPECT_EQ(window.Text(Control::CheckResult), "Wrong!");
        EXPECT_EQ(state.bingo_on_this_row, 0);
        CollectLog();

        window.Clear();
        Check(1);
        EXPECT_EQ(window.Text(Control::CheckResult), "BINGO!");
        winners.push_back({row, 5 * row, 1});
        EXPECT_EQ(state.winners, winners);
        EXPECT_EQ(window.Text(Control::WinnersList), BingoHelpers::FormatWinners(winners, 2));
        EXPECT_EQ(state.rows_left, row == c.rows ? 0 : 1);
        EXPECT_EQ(window.IsControlEnabled(Control::Draw), row != c.rows);
        EXPECT_EQ(window.IsControlEnabled(Control::CancelNumber), row != c.rows);
        EXPECT_EQ(window.PublicDrawEnabled(), row != c.rows);
        const ProgramState stored = Stored();
        EXPECT_EQ(stored.bingo_on_this_row, 1);
        EXPECT_EQ(stored.rows_left, state.rows_left);
        EXPECT_EQ(stored.winners, winners);
        CollectLog();
    }

    // The full coupon has ended the drawing.
    window.Clear();
    commands.DrawCommand();
    EXPECT_THAT(window.events(), IsEmpty());

    // Every draw, every check (the miss too) and every row change, in order.
    std::vector<std::string> expectedLog;
    for (int row = 1; row <= c.rows; ++row) {
        if (row > 1)
            expectedLog.push_back("log Playing row " + std::to_string(row));
        for (int count = 5 * row - 4; count <= 5 * row; ++count)
            expectedLog.push_back("log Number drawn: " + std::to_string(Seq(count - 1)) +
                                  " (count " + std::to_string(count) + ")");
        expectedLog.push_back("log Checked coupon 2 (row " + std::to_string(row) + ") after " +
                              std::to_string(5 * row) + " numbers: wrong");
        expectedLog.push_back("log Bingo found in coupon 1 (row " + std::to_string(row) + ")");
        expectedLog.push_back("log Drawn numbers: " + DrawnText(5 * row));
    }
    EXPECT_EQ(log, expectedLog);

    const std::vector<int> oldSequence = state.randomizer_numbers;
    const std::string oldNonce = state.commitment_nonce;
    window.Clear();
    commands.NewGameCommand();
    // The old sequence is revealed whole before the new one is committed.
    std::string reveal = "log Game reveal: " + oldNonce + " ";
    for (std::size_t i = 0; i < oldSequence.size(); ++i)
        reveal += (i ? "," : "") + std::to_string(oldSequence[i]);
    EXPECT_EQ(DrawCommitment::Commitment(oldSequence, oldNonce), commitment);
    EXPECT_NE(state.commitment_nonce, oldNonce);
    ExpectInOrder({"log Starting new game", "ask Are you sure you want to start a new game?",
                   "text NumberLimit=0", "forgetKeys", "enable Draw=1", "public enable=1", reveal,
                   "log " + DrawCommitment::CommitmentMessage(state), "page reset " + n,
                   "clearCouponPanel", "rebuildBoard " + n,
                   "text WinnersList=", "text CurrentRow=1", "text CheckResult=-", "focusCoupon"});
    EXPECT_EQ(state.number_count, 0);
    EXPECT_EQ(state.current_row, 1);
    EXPECT_EQ(state.rows_left, 1);
    EXPECT_EQ(state.bingo_found, 0);
    EXPECT_EQ(state.bingo_on_this_row, 0);
    EXPECT_THAT(state.winners, IsEmpty());
    EXPECT_NE(state.randomizer_numbers, oldSequence);
    EXPECT_TRUE(window.IsControlEnabled(Control::Draw));
    EXPECT_FALSE(window.IsControlEnabled(Control::CancelNumber));
    EXPECT_EQ(Stored().winners, winners);

    window.Clear();
    Draw();
    EXPECT_THAT(window.Matching("page "), ElementsAre(UpdateMain(Seq(0), 1, 1)));
    ExpectStoredEqualsMemory();
}

INSTANTIATE_TEST_SUITE_P(Games, WholeGameTest,
                         ::testing::Values(GameCase{"SeventyFive", 75, 5},
                                           GameCase{"Ninety", 90, 3}),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
} // namespace zorvi::test
