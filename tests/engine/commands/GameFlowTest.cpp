// New game, cancel, rows and continuing a stored game.

#include <string>
#include <vector>

#include "CommandsFixture.h"

namespace zorvi::test {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

std::string StatePath(const TestFolders& folders) {
    return (folders.dataFolder() / StateFile::kFileName).string();
}

TEST_F(CommandsTest, NewGameAnsweredNoStillLogsStopsAutomaticAndKeepsTheGame) {
    StartGame(75);
    DrawTimes(3);
    commands.StartAutomatic();
    const auto sequence = state.randomizer_numbers;
    const std::string fileBefore = TestFolders::ReadFile(StatePath(folders));
    window.Clear();
    saves = 0;
    window.confirmations = {false};

    commands.NewGameCommand();
    EXPECT_THAT(window.events(),
                ElementsAre("log Starting new game", "text Draw=Start (Spacebar)",
                            "public caption=Start (Spacebar)",
                            "text AutomaticStatus=Lottery is off", "timer Automatic stop",
                            "ask Are you sure you want to start a new game?",
                            "log New game declined"));
    EXPECT_EQ(state.auto_new_number, 1);
    EXPECT_EQ(state.number_count, 3);
    EXPECT_EQ(state.randomizer_numbers, sequence);
    EXPECT_EQ(saves, 0);
    EXPECT_EQ(TestFolders::ReadFile(StatePath(folders)), fileBefore);
}

TEST_F(CommandsTest, NewGameWithTheLimitSettingOffClearsTheLimitWithoutPrompt) {
    StartGame(75);
    state.number_limit = 7;
    state.auto_new_number = 1;
    settings.enable_number_limit = 0;

    commands.NewGameCommand();
    EXPECT_FALSE(window.Has("numberLimitDlg 7"));
    EXPECT_EQ(state.number_limit, 0);
    EXPECT_EQ(window.Text(Control::NumberLimit), "0");
    // The mode survives a new game.
    EXPECT_EQ(state.auto_new_number, 1);
    EXPECT_EQ(state.number_count, 0);
    ExpectStoredEqualsMemory();
}

TEST_F(CommandsTest, StateFileKeepsThePreviousWinnersUntilTheFirstSaveOfTheNewGame) {
    StartGame(75);
    DrawTimes(5);
    Check(1);
    Draw(); // saves the winner
    const std::vector<Winner> oldWinners{{1, 5, 1}};
    ASSERT_EQ(Stored().winners, oldWinners);

    commands.NewGameCommand();
    EXPECT_THAT(state.winners, IsEmpty());
    EXPECT_EQ(window.Text(Control::WinnersList), "");
    const ProgramState afterNewGame = Stored();
    EXPECT_EQ(afterNewGame.winners, oldWinners);
    EXPECT_EQ(afterNewGame.number_count, 0);
    EXPECT_EQ(afterNewGame.current_row, 1);
    EXPECT_EQ(afterNewGame.randomizer_numbers, state.randomizer_numbers);

    Draw();
    EXPECT_THAT(Stored().winners, IsEmpty());
    ExpectStoredEqualsMemory();
}

// Mended: the page used to keep showing a cancelled only number as the current one.
TEST_F(CommandsTest, CancellingTheOnlyNumberClearsTheOperatorWindowAndThePage) {
    StartGame(75);
    Draw();
    window.Clear();

    commands.CancelNumberCommand();
    EXPECT_EQ(state.number_count, 0);
    ExpectInOrder({"ask Are you sure you want to cancel last number?", "clearCouponPanel",
                   "forgetKeys", "focusCoupon", "enable CancelNumber=0",
                   "enable ShowDrawnNumbers=0", "text PreviousNumber=-", "text DrawnCount=-",
                   "text CurrentNumber=-", "text LetterName=-", "repaintBoard",
                   UpdateMain(-1, 0, 1), "redrawAll"});
    EXPECT_THAT(window.Matching("page "), ElementsAre(UpdateMain(-1, 0, 1)));
    EXPECT_THAT(window.Matching("say "), IsEmpty());
    ExpectStoredEqualsMemory();
}

TEST_F(CommandsTest, CancellingALaterNumberShowsThePreviousOneAgain) {
    StartGame(75);
    DrawTimes(3);
    window.Clear();

    commands.CancelNumberCommand();
    EXPECT_EQ(state.number_count, 2);
    ExpectInOrder({"clearCouponPanel", "enable Draw=1", "public enable=1",
                   "text PreviousNumber=" + std::to_string(Seq(0)),
                   "text CurrentNumber=" + std::to_string(Seq(1)), "say " + std::to_string(Seq(1)),
                   UpdateMain(Seq(1), 2, 1), "redrawAll"});
    EXPECT_THAT(window.Matching("page "), ElementsAre(UpdateMain(Seq(1), 2, 1)));
    ExpectStoredEqualsMemory();

    // The same number comes again at the next draw.
    window.Clear();
    Draw();
    EXPECT_TRUE(window.Has(UpdateMain(Seq(2), 3, 1)));
}

TEST_F(CommandsTest, CancelAnsweredNoOrWithNothingDrawnChangesNothing) {
    StartGame(75);
    DrawTimes(2);
    window.confirmations = {false};
    window.Clear();
    commands.CancelNumberCommand();
    EXPECT_THAT(window.events(), ElementsAre("ask Are you sure you want to cancel last number?"));
    EXPECT_EQ(state.number_count, 2);

    StartGame(75);
    commands.CancelNumberCommand();
    EXPECT_EQ(saves, 0);
    EXPECT_THAT(window.Matching("page "), IsEmpty());
    EXPECT_EQ(state.number_count, 0);
}

TEST_F(CommandsTest, RowUpBeforeTheFirstDrawSendsNoNumber) {
    StartGame(75);
    commands.StartAutomatic();
    window.Clear();
    commands.RowUpCommand();
    EXPECT_EQ(state.auto_new_number, 1);
    ExpectInOrder({"timer Automatic stop", "ask Are you sure you want to change the current row?",
                   "text CurrentRow=2", UpdateMain(-1, 0, 2), "repaintCouponPanel"});
    EXPECT_EQ(state.current_row, 2);
    ExpectStoredEqualsMemory();
}

struct RowCase {
    const char* name;
    bool up;
    int startRow;
    bool answer;
    int rowAfter;
    bool pageCalled;
};

class RowCommandTest : public CommandsTest, public ::testing::WithParamInterface<RowCase> {};

TEST_P(RowCommandTest, RowCommandsAskAndStayAtTheirBounds) {
    const RowCase& c = GetParam();
    StartGame(75);
    DrawTimes(2);
    while (state.current_row < c.startRow)
        state.NextRow();
    window.confirmations = {c.answer};
    window.Clear();
    saves = 0;

    if (c.up)
        commands.RowUpCommand();
    else
        commands.RowDownCommand();
    EXPECT_TRUE(window.Has("ask Are you sure you want to change the current row?"));
    EXPECT_EQ(state.current_row, c.rowAfter);
    EXPECT_EQ(window.Has(UpdateMain(Seq(1), 2, c.rowAfter)), c.pageCalled);
    EXPECT_EQ(window.Has("text CurrentRow=" + std::to_string(c.rowAfter)), c.pageCalled);
    if (c.pageCalled)
        ExpectStoredEqualsMemory();
    else {
        EXPECT_EQ(saves, 0);
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, RowCommandTest,
                         ::testing::Values(RowCase{"UpMoves", true, 2, true, 3, true},
                                           RowCase{"UpAtLastRowStays", true, 5, true, 5, true},
                                           RowCase{"UpAnsweredNo", true, 2, false, 2, false},
                                           RowCase{"DownMoves", false, 3, true, 2, true},
                                           RowCase{"DownAtFirstRowStays", false, 1, true, 1, true},
                                           RowCase{"DownAnsweredNo", false, 3, false, 3, false}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(CommandsTest, RowDownOnTheFirstRowReopensDrawAndCancel) {
    StartGame(75);
    state.rows_left = 0;
    window.Clear();
    commands.RowDownCommand();
    EXPECT_EQ(state.current_row, 1);
    ExpectInOrder({"text CurrentRow=1", UpdateMain(-1, 0, 1), "enable Draw=1", "public enable=1",
                   "enable CancelNumber=1"});
    EXPECT_EQ(state.rows_left, 1);
    ExpectStoredEqualsMemory();
}

TEST_F(CommandsTest, RowDownReopensAGameEndedByTheFullCoupon) {
    StartGame(90);
    for (int row = 1; row <= 3; ++row) {
        DrawTimes(5);
        Check(1);
    }
    ASSERT_EQ(state.current_row, 3);
    ASSERT_EQ(state.rows_left, 0);
    ASSERT_FALSE(window.IsControlEnabled(Control::Draw));
    ASSERT_FALSE(window.PublicDrawEnabled());

    window.Clear();
    commands.RowDownCommand();
    EXPECT_EQ(state.current_row, 2);
    EXPECT_EQ(state.rows_left, 1);
    EXPECT_TRUE(window.IsControlEnabled(Control::Draw));
    EXPECT_TRUE(window.PublicDrawEnabled());
    EXPECT_TRUE(window.IsControlEnabled(Control::CancelNumber));
    ExpectStoredEqualsMemory();

    // The winner of the last row is still pending: the next draw moves up again first.
    window.Clear();
    Draw();
    EXPECT_EQ(state.number_count, 16);
    EXPECT_EQ(state.current_row, 3);
    EXPECT_THAT(window.Matching("page updateMainScreen"),
                ElementsAre(UpdateMain(Seq(14), 15, 3), UpdateMain(Seq(15), 16, 3)));
}

TEST_F(CommandsTest, ContinuingAStoredGameShowsItAgain) {
    StartGame(75);
    DrawTimes(3);
    state.winners = {{1, 2, 7}};
    state.auto_new_number = 1;
    state.Save();

    ProgramState loaded(otherRandom);
    loaded.AttachSettings(settings);
    ASSERT_EQ(StateFile::LoadState(loaded), 1);
    RecordingWindow restarted;
    GameCommands again(loaded, settings, coupons, restarted, restarted, restarted);
    again.ContinueStoredGame();
    EXPECT_EQ(restarted.events().front(), "enable Draw=1");
    const auto& e = restarted.events();
    const auto at = [&](const std::string& event) {
        return std::find(e.begin(), e.end(), event) - e.begin();
    };
    EXPECT_LT(at("page reset 75"), at("say " + std::to_string(Seq(2))));
    const std::string winnersText =
        "text WinnersList=" + BingoHelpers::FormatWinners(loaded.winners, 2);
    EXPECT_LT(at(UpdateMain(Seq(2), 3, 1)), at(winnersText));
    EXPECT_LT(at(winnersText), at("check=1"));
    EXPECT_LT(at("text Draw=Start (Spacebar)"), at("showBoundFields"));
    EXPECT_EQ(e.back(), "focusCoupon");
    EXPECT_FALSE(restarted.Has("page reset 90"));
}

TEST_F(CommandsTest, AGameStoredWhileDrawingAutomaticallyComesBackStopped) {
    StartGame(75);
    DrawTimes(2);
    commands.ToggleAutomatic();
    commands.StartAutomatic();
    state.Save();

    ProgramState loaded(otherRandom);
    loaded.AttachSettings(settings);
    ASSERT_EQ(StateFile::LoadState(loaded), 1);
    ASSERT_EQ(loaded.auto_new_number, 2);
    RecordingWindow restarted;
    GameCommands again(loaded, settings, coupons, restarted, restarted, restarted);
    again.ContinueStoredGame();
    EXPECT_EQ(loaded.auto_new_number, 1);
    EXPECT_EQ(restarted.Text(Control::Draw), "Start (Spacebar)");
    EXPECT_EQ(restarted.Text(Control::AutomaticStatus), "Lottery is off");
    EXPECT_EQ(restarted.TimerPeriod(Timer::Automatic), std::nullopt);
    again.DrawCommand(); // starts it again
    EXPECT_EQ(loaded.auto_new_number, 2);
    EXPECT_TRUE(restarted.TimerPeriod(Timer::Automatic).has_value());
}

TEST_F(CommandsTest, ContinuingAGameWithEveryNumberDrawnDisablesDrawAgain) {
    StartGame(75);
    DrawTimes(75);
    RecordingWindow restarted;
    GameCommands again(state, settings, coupons, restarted, restarted, restarted);
    again.ContinueStoredGame();
    EXPECT_FALSE(restarted.IsControlEnabled(Control::Draw));
    EXPECT_FALSE(restarted.PublicDrawEnabled());
}

TEST_F(CommandsTest, PublicScreenIsShownOnceWhenItsModeChanged) {
    StartGame(75);
    settings.public_screen = 2;
    Draw();
    Draw();
    EXPECT_EQ(window.Count("public show"), 1);
    EXPECT_EQ(state.shown_public_screen, 2);
}

} // namespace
} // namespace zorvi::test

namespace zorvi::test {
namespace {

// A state file that breaks every invariant must not make a command read outside a list or
// compute a broken timer period; New game then brings a sound game back.
TEST_F(CommandsTest, CommandsSurviveAStoredStateThatBreaksTheInvariants) {
    TestFolders::WriteFile(folders.dataFolder() / StateFile::kFileName,
                           "[common]\nnumber_count=200\nrandomizer_numbers=5;9;\ncurrent_row=9\n"
                           "auto_speed=2147483647\nauto_new_number=7\nbingo_found=1\n"
                           "bingo_on_this_row=1\nmax_row=0\nrows_left=1\n"
                           "number_limit=2147483647\nwinners=1:2:3;\n");
    ASSERT_EQ(StateFile::LoadState(state), 1);
    const auto periodsInRange = [&] {
        for (const auto& event : window.Matching("timer Automatic start ")) {
            const int period =
                std::stoi(event.substr(std::string("timer Automatic start ").size()));
            EXPECT_GE(period, 100) << event;
            EXPECT_LE(period, 60000) << event;
        }
    };

    commands.ContinueStoredGame();
    commands.DrawCommand();
    commands.OnDrawLockTick();
    commands.StartStopKey();
    commands.StartAutomatic();
    commands.OnAutomaticTick();
    commands.IntervalDown();
    commands.IntervalUp();
    commands.CancelNumberCommand();
    commands.RowUpCommand();
    commands.RowDownCommand();
    Check(1);
    state.number_count = -5;
    commands.DrawNumber();
    commands.CancelNumberCommand();
    Check(1);
    periodsInRange();

    commands.NewGameCommand();
    EXPECT_EQ(state.number_count, 0);
    EXPECT_EQ(state.randomizer_numbers.size(), 75u);
    EXPECT_EQ(state.current_row, 1);
    EXPECT_EQ(state.max_row, 5);
    commands.SwitchToManual();
    Draw();
    EXPECT_EQ(state.CurrentNumber(), Seq(0));
    ExpectStoredEqualsMemory();
}

} // namespace
} // namespace zorvi::test
