// The coupon check as the operator runs it: verdicts, what the page and the panel get, the
// winners and the end of the game.

#include <string>
#include <vector>

#include "CommandsFixture.h"
#include "LogLines.h"
#include "MessageSink.h"
#include "RecordingMessages.h"

namespace zorvi::test {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

std::string Zeros(int count) {
    return BingoHelpers::JoinComma(std::vector<int>(static_cast<std::size_t>(count), 0));
}

struct CheckCase {
    const char* name;
    int n;
    int draws;
    int row;
    long long coupon;
    bool wins;
};

class CheckVerdictTest : public CommandsTest, public ::testing::WithParamInterface<CheckCase> {};

TEST_P(CheckVerdictTest, VerdictTicketPanelAndWinner) {
    const CheckCase& c = GetParam();
    StartGame(c.n);
    DrawTimes(c.draws);
    while (state.current_row < c.row)
        state.NextRow();
    window.Clear();
    saves = 0;

    Check(c.coupon);
    const auto& events = window.events();
    EXPECT_EQ(events.front(), "readCoupon");
    EXPECT_EQ(events.back(), "focusCoupon");
    EXPECT_EQ(window.Text(Control::CheckedCoupon), std::to_string(c.coupon));
    EXPECT_EQ(window.Text(Control::CheckResult), c.wins ? "BINGO!" : "Wrong!");

    const BingoCoupon coupon = coupons.GetCoupon(c.coupon);
    const std::vector<int> layout =
        c.n == 90 ? BingoHelpers::LayoutNinetyTicket(coupon.Numbers()) : coupon.Numbers();
    const std::string ticket = "page showTicket " + BingoHelpers::JoinComma(layout) + "|" +
                               BingoHelpers::JoinComma(BingoHelpers::MarkDrawnNumbers(
                                   layout, state.DrawnNumbers(), settings.free_middle)) +
                               "|" + (c.wins ? "1" : "0") + "|" + std::to_string(c.coupon);
    EXPECT_THAT(window.Matching("page "), ElementsAre(ticket));
    EXPECT_TRUE(window.Has("showCoupon " + BingoHelpers::JoinComma(coupon.Numbers())));

    EXPECT_EQ(state.bingo_found, c.wins ? 1 : 0);
    EXPECT_EQ(state.bingo_on_this_row, c.wins ? 1 : 0);
    EXPECT_EQ(window.Has("sayCorrect"), c.wins);
    if (c.wins) {
        const std::vector<Winner> expected{{c.row, c.draws, static_cast<int>(c.coupon)}};
        EXPECT_EQ(state.winners, expected);
        EXPECT_THAT(
            window.Matching("log "),
            ElementsAre("log Bingo found in coupon " + std::to_string(c.coupon) + " (row " +
                            std::to_string(c.row) + ")",
                        "log Drawn numbers: " + LogLines::NumberList(state.DrawnNumbers())));
        ExpectInOrder({"text CheckResult=BINGO!", ticket, "sayCorrect",
                       "log Drawn numbers: " + LogLines::NumberList(state.DrawnNumbers()),
                       "text WinnersList=" + BingoHelpers::FormatWinners(state.winners, 2),
                       "scrollWinners"});
    } else {
        EXPECT_THAT(state.winners, IsEmpty());
        // A miss is in the log too, with what it was judged by.
        EXPECT_THAT(window.Matching("log "),
                    ElementsAre("log Checked coupon " + std::to_string(c.coupon) + " (row " +
                                std::to_string(c.row) + ") after " +
                                std::to_string(state.DrawnCount()) +
                                " numbers: " + (c.coupon <= 2 ? "wrong" : "not in the series")));
        EXPECT_FALSE(window.Has("scrollWinners"));
    }

    // The flags and a winner are in "state.ini" as soon as the check has decided.
    EXPECT_GE(saves, 1);
    ExpectStoredEqualsMemory();
}

INSTANTIATE_TEST_SUITE_P(Cases, CheckVerdictTest,
                         ::testing::Values(CheckCase{"FirstRowWins", 75, 5, 1, 1, true},
                                           CheckCase{"CompleteRowNotCalledInTime", 75, 6, 1, 1,
                                                     false},
                                           CheckCase{"RowTwoNeedsTwoRows", 75, 5, 2, 1, false},
                                           CheckCase{"MoreRowsThanNeededWin", 75, 10, 1, 1, true},
                                           CheckCase{"OtherCouponMisses", 75, 5, 1, 2, false},
                                           CheckCase{"LastCouponWithAllDrawn", 75, 75, 1, 2, true},
                                           CheckCase{"NothingDrawn", 75, 0, 1, 1, false},
                                           CheckCase{"OutsideTheSeries", 75, 5, 1, 3, false},
                                           CheckCase{"NinetyFirstRowWins", 90, 5, 1, 1, true},
                                           CheckCase{"NinetyFullCoupon", 90, 15, 3, 1, true},
                                           CheckCase{"NinetyRowTwoMisses", 90, 9, 2, 1, false}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(CommandsTest, WinnerTicketMarksTheLastNumber) {
    StartGame(75);
    DrawTimes(5);
    Check(1);
    std::vector<int> numbers;
    for (int i = 0; i < 25; ++i)
        numbers.push_back(Seq(i));
    EXPECT_TRUE(window.Has("page showTicket " + BingoHelpers::JoinComma(numbers) + "|1,1,1,1,2," +
                           Zeros(20) + "|1|1"));
}

struct BlankCase {
    const char* name;
    int n;
    int freeMiddle;
    std::string marks;
    int couponSize;
    int cells;
};

class BlankCouponTest : public CommandsTest, public ::testing::WithParamInterface<BlankCase> {};

TEST_P(BlankCouponTest, NumberOutsideTheSeriesShowsTheBlankCoupon) {
    const BlankCase& c = GetParam();
    StartGame(c.n);
    settings.free_middle = c.freeMiddle;
    DrawTimes(5);
    window.Clear();
    Check(static_cast<long long>(coupons.CouponCount()) + 1);
    EXPECT_EQ(window.Text(Control::CheckResult), "Wrong!");
    EXPECT_TRUE(window.Has("page showTicket " + Zeros(c.cells) + "|" + c.marks + "|0|3"));
    EXPECT_TRUE(window.Has("showCoupon " + Zeros(c.couponSize)));
}

INSTANTIATE_TEST_SUITE_P(Cases, BlankCouponTest,
                         ::testing::Values(BlankCase{"SeventyFive", 75, 0, Zeros(25), 25, 25},
                                           BlankCase{"FreeMiddle", 75, 1,
                                                     Zeros(12) + ",1," + Zeros(12), 25, 25},
                                           BlankCase{"Ninety", 90, 0, Zeros(27), 15, 27}),
                         [](const auto& info) { return std::string(info.param.name); });

struct NoSeriesCase {
    const char* name;
    int n;
    bool tryToRead;
};

class NoSeriesTest : public CommandsTest, public ::testing::WithParamInterface<NoSeriesCase> {};

TEST_P(NoSeriesTest, CheckWithoutASeriesShowsZerosAndWrong) {
    const NoSeriesCase& c = GetParam();
    settings.max_called_numbers = c.n;
    commands.BeginNewGame();
    test::RecordingMessages messages;
    BingoHelpers empty;
    empty.AttachSettings(settings);
    empty.AttachMessages(&messages);
    if (c.tryToRead) { // no series file in the program folder
        EXPECT_EQ(empty.ReadCouponSeries(c.n, 0), -1);
    }
    GameCommands check(state, settings, empty, window, window, window);
    DrawTimes(5);
    window.Clear();
    window.couponNumber = 1;
    check.CheckCommand();
    EXPECT_EQ(window.Text(Control::CheckResult), "Wrong!");
    EXPECT_EQ(state.bingo_found, 0);
    const int n = GameRules::CouponSize(settings.max_called_numbers);
    const int cells = c.n == 90 ? 27 : 25;
    EXPECT_TRUE(window.Has("page showTicket " + Zeros(cells) + "|" + Zeros(cells) + "|0|1"));
    EXPECT_TRUE(window.Has("showCoupon " + Zeros(n)));
    EXPECT_EQ(window.events().back(), "focusCoupon");
}

INSTANTIATE_TEST_SUITE_P(Cases, NoSeriesTest,
                         ::testing::Values(NoSeriesCase{"NeverRead75", 75, false},
                                           NoSeriesCase{"NeverRead90", 90, false},
                                           NoSeriesCase{"FailedRead75", 75, true},
                                           NoSeriesCase{"FailedRead90", 90, true}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(CommandsTest, CouponNumberOutOfRangeStopsAfterStoppingAutomaticDrawing) {
    StartGame(75);
    DrawTimes(5);
    settings.public_screen = 1;
    int shown = 0;
    for (long long k : {0LL, -4LL, 1000000LL}) {
        commands.StartAutomatic();
        window.Clear();
        saves = 0;
        Check(k);
        EXPECT_EQ(state.auto_new_number, 1) << k;
        EXPECT_EQ(window.TimerPeriod(Timer::Automatic), std::nullopt);
        EXPECT_EQ(window.events().front(), "readCoupon");
        EXPECT_THAT(window.Matching("text "), ElementsAre("text Draw=Start (Spacebar)",
                                                          "text AutomaticStatus=Lottery is off"));
        EXPECT_THAT(window.Matching("page "), IsEmpty());
        EXPECT_FALSE(window.Has("focusCoupon"));
        EXPECT_EQ(saves, 0);
        shown += window.Count("public show");
    }
    // The public screen is shown by the first check, before the number is looked at.
    EXPECT_EQ(shown, 1);
    EXPECT_EQ(state.shown_public_screen, 1);
    window.Clear();
    Check(999999);
    EXPECT_EQ(window.Text(Control::CheckedCoupon), "999999");
    EXPECT_EQ(window.Text(Control::CheckResult), "Wrong!");
}

// A field the window refused (empty, say) after an earlier check: nothing of the earlier
// coupon is shown again, on either screen, and the game is not touched.
TEST_F(CommandsTest, RefusedCouponFieldChangesNothing) {
    StartGame(75);
    DrawTimes(5);
    settings.public_screen = 1;
    Check(1);
    ASSERT_EQ(window.Text(Control::CheckResult), "BINGO!");
    state.shown_public_screen = 0; // hidden with Esc
    commands.StartAutomatic();
    window.Clear();
    saves = 0;
    window.couponNumber = std::nullopt;
    commands.CheckCommand();
    EXPECT_THAT(window.events(), ElementsAre("readCoupon"));
    EXPECT_EQ(saves, 0);
    EXPECT_EQ(state.auto_new_number, 2);
    EXPECT_EQ(state.shown_public_screen, 0);
}

// One above the series: the players see a plain miss, the operator is told why.
TEST_F(CommandsTest, CouponOutsideTheSeriesIsToldToTheOperatorOnly) {
    StartGame(75);
    DrawTimes(5);
    const int count = static_cast<int>(coupons.CouponCount());
    window.Clear();
    Check(count + 1);
    EXPECT_EQ(window.Text(Control::CheckResult), "Wrong!");
    EXPECT_THAT(
        window.Matching("notInSeries"),
        ElementsAre("notInSeries " + std::to_string(count + 1) + " of " + std::to_string(count)));
    window.Clear();
    Check(count);
    EXPECT_THAT(window.Matching("notInSeries"), IsEmpty());
}

TEST_F(CommandsTest, SameWinnerTwiceIsListedOnceAndAMissKeepsTheRowWon) {
    StartGame(75);
    DrawTimes(5);
    Check(1);
    Check(1);
    EXPECT_EQ(window.Count("text CheckResult=BINGO!"), 2);
    const std::vector<Winner> one{{1, 5, 1}};
    EXPECT_EQ(state.winners, one);
    EXPECT_EQ(window.Text(Control::WinnersList), BingoHelpers::FormatWinners(one, 2));

    Check(2);
    EXPECT_EQ(state.bingo_found, 0);
    EXPECT_EQ(state.bingo_on_this_row, 1);
    EXPECT_EQ(state.winners, one);

    Draw(); // moves to row 2
    EXPECT_EQ(state.current_row, 2);
    EXPECT_EQ(Stored().winners, one);
}

struct EndCase {
    const char* name;
    int row;
    int draws;
    long long coupon;
    bool ends;
    bool drawEnabledAfterLock;
};

class EndOfGameTest : public CommandsTest, public ::testing::WithParamInterface<EndCase> {};

TEST_P(EndOfGameTest, WinnerOnTheLastRowOrWithAllDrawnEndsTheDrawing) {
    const EndCase& c = GetParam();
    StartGame(75);
    while (state.current_row < c.row)
        state.NextRow();
    DrawTimes(c.draws - 1);
    commands.DrawCommand(); // the check comes within the draw lock
    window.Clear();
    Check(c.coupon);
    ASSERT_EQ(window.Text(Control::CheckResult), "BINGO!");
    EXPECT_EQ(state.rows_left, c.ends ? 0 : 1);
    EXPECT_EQ(Stored().rows_left, state.rows_left);
    if (c.ends) {
        ExpectInOrder({"log Drawn numbers: " + LogLines::NumberList(state.DrawnNumbers()),
                       "enable Draw=0", "public enable=0", "enable CancelNumber=0",
                       "text WinnersList=" + BingoHelpers::FormatWinners(state.winners, 2)});
    } else {
        EXPECT_THAT(window.Matching("enable "), IsEmpty());
    }

    commands.OnDrawLockTick();
    EXPECT_EQ(window.IsControlEnabled(Control::Draw), c.drawEnabledAfterLock);
    window.Clear();
    const int count = state.number_count;
    commands.DrawCommand();
    commands.OnDrawLockTick();
    EXPECT_EQ(state.number_count, c.ends ? count : count + 1);
    EXPECT_EQ(window.Matching("say ").empty(), c.ends);
}

INSTANTIATE_TEST_SUITE_P(Cases, EndOfGameTest,
                         ::testing::Values(EndCase{"RowFourGoesOn", 4, 20, 1, false, true},
                                           EndCase{"RowFiveEnds", 5, 25, 1, true, true},
                                           EndCase{"AllDrawnEnds", 1, 75, 2, true, false}),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
} // namespace zorvi::test
