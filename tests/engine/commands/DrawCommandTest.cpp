// Drawing: the Draw command and its lock, automatic drawing, the interval, the number limit.

#include <optional>
#include <string>
#include <vector>

#include "CommandsFixture.h"

namespace zorvi::test {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

// The Draw button, the Space key and the public screen's draw button all run DrawCommand; the
// lock must hold for each automatic mode, as the Start/Stop caption is locked too.
struct LockCase {
    const char* name;
    int mode;
};

class DrawLockTest : public CommandsTest, public ::testing::WithParamInterface<LockCase> {};

TEST_P(DrawLockTest, SecondDrawWithinTheLockIsIgnoredUntilTheLockTick) {
    StartGame(75);
    state.auto_speed = 5;
    state.auto_new_number = GetParam().mode;

    commands.DrawCommand();
    const auto first = window.events();
    ASSERT_GE(first.size(), 4u);
    EXPECT_THAT(std::vector<std::string>(first.begin(), first.begin() + 4),
                ElementsAre("enable Draw=0", "public enable=0", "timer DrawLock start 1000",
                            "clearCouponPanel"));
    EXPECT_FALSE(window.IsControlEnabled(Control::Draw));
    EXPECT_FALSE(window.PublicDrawEnabled());
    switch (GetParam().mode) {
    case 0:
        EXPECT_EQ(state.number_count, 1);
        EXPECT_TRUE(window.Has("say " + std::to_string(Seq(0))));
        break;
    case 1:
        EXPECT_EQ(state.auto_new_number, 2);
        EXPECT_EQ(window.TimerPeriod(Timer::Automatic), 500);
        break;
    case 2:
        EXPECT_EQ(state.auto_new_number, 1);
        EXPECT_EQ(window.TimerPeriod(Timer::Automatic), std::nullopt);
        break;
    }

    // Within the second: ignored whatever its source.
    const int count = state.number_count;
    const int mode = state.auto_new_number;
    const int savesBefore = saves;
    window.Clear();
    commands.DrawCommand();
    commands.DrawCommand();
    EXPECT_THAT(window.events(), IsEmpty());
    EXPECT_EQ(state.number_count, count);
    EXPECT_EQ(state.auto_new_number, mode);
    EXPECT_EQ(saves, savesBefore);

    commands.OnDrawLockTick();
    EXPECT_THAT(window.events(),
                ElementsAre("timer DrawLock stop", "enable Draw=1", "public enable=1"));

    window.Clear();
    commands.DrawCommand();
    EXPECT_TRUE(window.Has("timer DrawLock start 1000"));
}

INSTANTIATE_TEST_SUITE_P(EveryMode, DrawLockTest,
                         ::testing::Values(LockCase{"Manual", 0}, LockCase{"Start", 1},
                                           LockCase{"Stop", 2}),
                         [](const auto& info) { return std::string(info.param.name); });

// The lock is the engine's own: what the window's button shows does not unlock it, and before
// a game has begun (a key pressed during the start-up) nothing is drawn.
TEST_F(CommandsTest, TheDrawLockIsKeptByTheCommandsNotReadFromTheWindow) {
    commands.DrawCommand();
    EXPECT_THAT(window.events(), IsEmpty());
    EXPECT_FALSE(commands.DrawEnabled());

    StartGame(75);
    EXPECT_TRUE(commands.DrawEnabled());
    commands.DrawCommand();
    EXPECT_FALSE(commands.DrawEnabled());
    window.EnableControl(Control::Draw, true); // a window that would say "enabled"
    window.Clear();
    commands.DrawCommand();
    EXPECT_THAT(window.events(), IsEmpty());
    EXPECT_EQ(state.number_count, 1);
}

// One table gives the captions of every automatic mode, whichever step set the mode.
struct CaptionCase {
    const char* name;
    int mode;
    const char* draw;
    const char* status;
};

class AutomaticCaptionTest : public CommandsTest,
                             public ::testing::WithParamInterface<CaptionCase> {};

TEST_P(AutomaticCaptionTest, EveryStepShowsTheCaptionsOfItsMode) {
    const CaptionCase& c = GetParam();
    StartGame(75);
    state.auto_new_number = c.mode;
    commands.RefreshAutomaticControls();
    const int mode = commands.AutomaticMode();
    EXPECT_EQ(window.Text(Control::Draw), Language::GetText(AutomaticCaptionsFor(mode).draw, 2));
    EXPECT_EQ(window.Text(Control::Draw), c.draw);
    EXPECT_EQ(window.Text(Control::AutomaticStatus), c.status);
    EXPECT_EQ(window.Matching("public caption=").back(), std::string("public caption=") + c.draw);
}

INSTANTIATE_TEST_SUITE_P(
    Modes, AutomaticCaptionTest,
    ::testing::Values(CaptionCase{"Manual", 0, "Draw (Spacebar)", "Lottery is off"},
                      CaptionCase{"Stopped", 1, "Start (Spacebar)", "Lottery is off"},
                      CaptionCase{"Running", 2, "Stop (Spacebar)", "Lottery is on"},
                      CaptionCase{"OutOfRangeIsManual", 7, "Draw (Spacebar)", "Lottery is off"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(CommandsTest, AutomaticDrawingTicksAfterATenthThenAfterTheWholeInterval) {
    StartGame(75);
    state.auto_speed = 5;
    commands.ToggleAutomatic();
    ASSERT_EQ(state.auto_new_number, 1);
    window.Clear();

    commands.DrawCommand();
    EXPECT_THAT(window.Matching("timer Automatic"), ElementsAre("timer Automatic start 500"));
    EXPECT_EQ(window.Text(Control::Draw), "Stop (Spacebar)");
    EXPECT_TRUE(window.Has("public caption=Stop (Spacebar)"));
    EXPECT_EQ(window.Text(Control::AutomaticStatus), "Lottery is on");
    EXPECT_EQ(state.number_count, 0);
    commands.OnDrawLockTick();

    for (int tick = 1; tick <= 3; ++tick) {
        window.Clear();
        commands.OnAutomaticTick();
        EXPECT_THAT(window.Matching("timer Automatic"),
                    ElementsAre("timer Automatic stop", "timer Automatic start 5000"));
        EXPECT_EQ(state.number_count, tick);
        EXPECT_TRUE(window.Has(UpdateMain(Seq(tick - 1), tick, 1)));
        ExpectStoredEqualsMemory();
    }

    window.Clear();
    commands.DrawCommand();
    EXPECT_EQ(state.auto_new_number, 1);
    EXPECT_EQ(window.TimerPeriod(Timer::Automatic), std::nullopt);
    EXPECT_EQ(window.Text(Control::Draw), "Start (Spacebar)");
    EXPECT_EQ(window.Text(Control::AutomaticStatus), "Lottery is off");
    EXPECT_EQ(state.number_count, 3);
}

TEST_F(CommandsTest, AutomaticCheckBoxSwitchesControlsOnAndOff) {
    StartGame(75);
    commands.ToggleAutomatic();
    EXPECT_EQ(state.auto_new_number, 1);
    ExpectInOrder({"check=1", "text Draw=Start (Spacebar)", "public caption=Start (Spacebar)",
                   "text AutomaticStatus=Lottery is off", "enable IntervalSlider=1",
                   "enable IntervalDown=1", "enable IntervalUp=1", "show AutomaticPanel=1",
                   "show AutomaticStatus=1", "showBoundFields"});
    EXPECT_EQ(saves, 0);

    commands.StartAutomatic();
    window.Clear();
    commands.ToggleAutomatic(); // off while running stops the timer
    EXPECT_EQ(state.auto_new_number, 0);
    ExpectInOrder({"check=0", "text Draw=Draw (Spacebar)", "enable IntervalSlider=0",
                   "enable IntervalDown=0", "enable IntervalUp=0", "show AutomaticPanel=0",
                   "show AutomaticStatus=0", "timer Automatic stop", "showBoundFields"});
    EXPECT_EQ(window.TimerPeriod(Timer::Automatic), std::nullopt);
    EXPECT_EQ(saves, 0);
}

struct KeyCase {
    const char* name;
    int mode;
    int rowsUp; // rows advanced before the key
    int draws;  // numbers drawn before the key
    bool accepted;
    int modeAfter;
    std::optional<int> timerAfter;
};

class StartStopKeyTest : public CommandsTest, public ::testing::WithParamInterface<KeyCase> {};

TEST_P(StartStopKeyTest, KeyStartsOrStopsAndDeclinesOnTheLastRow) {
    const KeyCase& c = GetParam();
    StartGame(90);
    state.auto_speed = 5;
    for (int i = 0; i < c.rowsUp; ++i)
        state.NextRow();
    for (int i = 0; i < c.draws; ++i)
        state.DrawNext();
    if (c.mode == 2)
        commands.StartAutomatic();
    else
        state.auto_new_number = c.mode;
    window.Clear();

    EXPECT_EQ(commands.StartStopKey(), c.accepted);
    EXPECT_EQ(state.auto_new_number, c.modeAfter);
    EXPECT_EQ(window.TimerPeriod(Timer::Automatic), c.timerAfter);
    if (!c.accepted) {
        EXPECT_THAT(window.events(), IsEmpty());
    }
    if (c.mode == 0 && c.accepted) {
        ExpectInOrder({"enable IntervalSlider=1", "enable IntervalDown=1", "enable IntervalUp=1",
                       "check=1", "show AutomaticPanel=1", "text Draw=Stop (Spacebar)",
                       "timer Automatic start 500"});
    }
}

INSTANTIATE_TEST_SUITE_P(
    Modes, StartStopKeyTest,
    ::testing::Values(KeyCase{"RunningStops", 2, 2, 0, true, 1, std::nullopt},
                      KeyCase{"StoppedStarts", 1, 0, 0, true, 2, 500},
                      KeyCase{"StoppedOnLastRowDeclines", 1, 2, 0, false, 1, std::nullopt},
                      KeyCase{"ManualStarts", 0, 1, 3, true, 2, 500},
                      KeyCase{"ManualOnLastRowDeclines", 0, 2, 0, false, 0, std::nullopt},
                      KeyCase{"ManualAllDrawnDeclines", 0, 0, 90, false, 0, std::nullopt}),
    [](const auto& info) { return std::string(info.param.name); });

enum class IntervalOp { Down, Up, SliderReleased, SliderRepaint };

struct IntervalCase {
    const char* name;
    bool running;
    int speed;
    IntervalOp op;
    int position;
    int speedAfter;
    std::vector<std::string> events;
};

class IntervalTest : public CommandsTest, public ::testing::WithParamInterface<IntervalCase> {};

TEST_P(IntervalTest, IntervalChangesShowSaveAndRestartARunningTimer) {
    const IntervalCase& c = GetParam();
    StartGame(75);
    state.auto_speed = c.speed;
    if (c.running)
        commands.StartAutomatic();
    window.Clear();
    saves = 0;

    switch (c.op) {
    case IntervalOp::Down:
        commands.IntervalDown();
        break;
    case IntervalOp::Up:
        commands.IntervalUp();
        break;
    case IntervalOp::SliderReleased:
        commands.IntervalFromSlider(c.position, true);
        break;
    case IntervalOp::SliderRepaint:
        commands.IntervalFromSlider(c.position, false);
        break;
    }
    EXPECT_EQ(state.auto_speed, c.speedAfter);
    EXPECT_EQ(window.events(), c.events);
    const bool changed = !c.events.empty();
    EXPECT_EQ(saves, changed ? 1 : 0);
    if (changed) {
        EXPECT_EQ(Stored().auto_speed, c.speedAfter);
    }
    // Only a change by the buttons or a released slider restarts a running timer.
    const bool restarted = changed && c.op != IntervalOp::SliderRepaint;
    if (c.running) {
        EXPECT_EQ(window.TimerPeriod(Timer::Automatic),
                  restarted ? c.speedAfter * 1000 : c.speed * 100);
    }
}

const std::string kStop = "timer Automatic stop";

INSTANTIATE_TEST_SUITE_P(
    Cases, IntervalTest,
    ::testing::Values(IntervalCase{"DownManual",
                                   false,
                                   5,
                                   IntervalOp::Down,
                                   0,
                                   4,
                                   {"slider IntervalSlider=4", "text IntervalDisplay=4"}},
                      IntervalCase{"DownRunning",
                                   true,
                                   5,
                                   IntervalOp::Down,
                                   0,
                                   4,
                                   {"slider IntervalSlider=4", "text IntervalDisplay=4", kStop,
                                    "timer Automatic start 4000"}},
                      IntervalCase{"DownAtOne", true, 1, IntervalOp::Down, 0, 1, {}},
                      IntervalCase{"UpRunning",
                                   true,
                                   59,
                                   IntervalOp::Up,
                                   0,
                                   60,
                                   {"slider IntervalSlider=60", "text IntervalDisplay=60", kStop,
                                    "timer Automatic start 60000"}},
                      IntervalCase{"UpAtSixty", false, 60, IntervalOp::Up, 0, 60, {}},
                      IntervalCase{"SliderReleasedRunning",
                                   true,
                                   5,
                                   IntervalOp::SliderReleased,
                                   8,
                                   8,
                                   {"text IntervalDisplay=8", kStop, "timer Automatic start 8000"}},
                      IntervalCase{"SliderRepaintRunning",
                                   true,
                                   5,
                                   IntervalOp::SliderRepaint,
                                   8,
                                   8,
                                   {"text IntervalDisplay=8"}},
                      IntervalCase{"SliderBelowRange",
                                   false,
                                   5,
                                   IntervalOp::SliderReleased,
                                   0,
                                   1,
                                   {"text IntervalDisplay=1"}},
                      IntervalCase{"SliderAboveRange",
                                   false,
                                   5,
                                   IntervalOp::SliderRepaint,
                                   99,
                                   60,
                                   {"text IntervalDisplay=60"}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(CommandsTest, LastNumberDisablesDrawForGoodAndLaterTicksDoNothing) {
    StartGame(75);
    DrawTimes(74);
    window.Clear();
    commands.DrawCommand();
    EXPECT_EQ(state.number_count, 75);
    const auto& events = window.events();
    ASSERT_GE(events.size(), 4u);
    EXPECT_THAT(std::vector<std::string>(events.end() - 4, events.end()),
                ElementsAre("repaintBoard", "enable Draw=0", "public enable=0", "focusCoupon"));

    window.Clear();
    commands.OnDrawLockTick();
    EXPECT_THAT(window.events(), ElementsAre("timer DrawLock stop"));
    EXPECT_FALSE(window.IsControlEnabled(Control::Draw));
    commands.DrawCommand();
    EXPECT_THAT(window.events(), ElementsAre("timer DrawLock stop"));

    // A running timer keeps ticking without effect.
    state.auto_new_number = 2;
    window.Clear();
    saves = 0;
    commands.OnAutomaticTick();
    EXPECT_THAT(window.events(),
                ElementsAre("timer Automatic stop", "timer Automatic start 60000"));
    EXPECT_EQ(saves, 0);
    EXPECT_EQ(state.number_count, 75);
}

TEST_F(CommandsTest, DrawAfterAWinnerMovesTheRowFirstThenDraws) {
    StartGame(75);
    DrawTimes(5);
    Check(1);
    ASSERT_EQ(state.bingo_on_this_row, 1);
    window.Clear();

    Draw();
    EXPECT_THAT(window.Matching("page updateMainScreen"),
                ElementsAre(UpdateMain(Seq(4), 5, 2), UpdateMain(Seq(5), 6, 2)));
    ExpectInOrder({"text CurrentRow=2", UpdateMain(Seq(4), 5, 2), "repaintCouponPanel",
                   "text CurrentNumber=" + std::to_string(Seq(5)), "say " + std::to_string(Seq(5)),
                   UpdateMain(Seq(5), 6, 2)});
    EXPECT_EQ(state.current_row, 2);
    EXPECT_EQ(state.bingo_found, 0);
    EXPECT_EQ(state.bingo_on_this_row, 0);
    ExpectStoredEqualsMemory();
}

struct LimitCase {
    const char* name;
    int enableSetting;
    std::optional<int> answer;
    int limit;
    std::vector<int> reportedAt;
};

class NumberLimitTest : public CommandsTest, public ::testing::WithParamInterface<LimitCase> {};

TEST_P(NumberLimitTest, LimitIsReportedOnlyByTheFirstNumberBeyondIt) {
    const LimitCase& c = GetParam();
    StartGame(75);
    state.number_limit = 3;
    settings.enable_number_limit = c.enableSetting;
    window.numberLimitAnswer = c.answer;

    commands.NewGameCommand();
    EXPECT_EQ(window.Has("numberLimitDlg 3"), c.enableSetting != 0);
    EXPECT_EQ(state.number_limit, c.limit);
    EXPECT_EQ(window.Text(Control::NumberLimit), std::to_string(c.limit));
    EXPECT_EQ(Stored().number_limit, c.limit);
    ExpectInOrder({"text NumberLimit=" + std::to_string(c.limit), "page reset 75"});

    std::vector<int> reportedAt;
    for (int draw = 1; draw <= 75; ++draw) {
        window.Clear();
        Draw();
        if (!window.Has("sayNumberLimit"))
            continue;
        reportedAt.push_back(draw);
        // The number that passed the limit is shown and announced after the message.
        ExpectInOrder({"sayNumberLimit", "ok Number limit",
                       "text CurrentNumber=" + std::to_string(Seq(draw - 1)),
                       "say " + std::to_string(Seq(draw - 1))});
        EXPECT_EQ(window.Count("ok Number limit"), 1);
    }
    EXPECT_EQ(reportedAt, c.reportedAt);
}

INSTANTIATE_TEST_SUITE_P(Cases, NumberLimitTest,
                         ::testing::Values(LimitCase{"Ten", 1, 10, 10, {11}},
                                           LimitCase{"Skipped", 1, std::nullopt, 0, {}},
                                           LimitCase{"SettingOff", 0, 10, 0, {}},
                                           LimitCase{"Zero", 1, 0, 0, {}},
                                           LimitCase{"AllNumbers", 1, 75, 75, {}},
                                           LimitCase{"AboveN", 1, 90, 90, {}}),
                         [](const auto& info) { return std::string(info.param.name); });

// Mended: in automatic mode the limit message used to stay open while ticks kept drawing.
TEST_F(CommandsTest, NumberLimitStopsAutomaticDrawingBeforeItsMessage) {
    StartGame(75);
    state.number_limit = 10;
    state.auto_speed = 5;
    commands.ToggleAutomatic();
    commands.StartAutomatic();

    bool messageSeen = false;
    window.whileOkDlgOpen = [&] {
        messageSeen = true;
        EXPECT_EQ(state.auto_new_number, 1);
        EXPECT_EQ(window.TimerPeriod(Timer::Automatic), std::nullopt);
        // A modal loop delivers ticks only of a running timer.
        if (window.TimerPeriod(Timer::Automatic))
            commands.OnAutomaticTick();
    };
    for (int tick = 1; tick <= 10; ++tick)
        commands.OnAutomaticTick();
    EXPECT_FALSE(messageSeen);
    window.Clear();
    commands.OnAutomaticTick();
    EXPECT_TRUE(messageSeen);
    EXPECT_EQ(state.number_count, 11);
    ExpectInOrder({"text Draw=Start (Spacebar)", "timer Automatic stop", "sayNumberLimit",
                   "ok Number limit", "say " + std::to_string(Seq(10)),
                   UpdateMain(Seq(10), 11, 1)});
    EXPECT_EQ(window.Matching("say ").size(), 1u);
    EXPECT_EQ(window.TimerPeriod(Timer::Automatic), std::nullopt);
    // Stopping is not saved on its own; the drawn number is.
    EXPECT_EQ(Stored().number_count, 11);
}

// Only a players' window on this screen can be hidden; the next draw brings it back.
TEST_F(CommandsTest, HiddenPlayersWindowComesBackWithTheNextDraw) {
    for (const int mode : {PublicScreenMode::None, PublicScreenMode::OtherScreen}) {
        settings.public_screen = mode;
        state.shown_public_screen = mode;
        EXPECT_FALSE(commands.HidePublicScreen()) << mode;
        EXPECT_EQ(state.shown_public_screen, mode);
    }
    settings.public_screen = PublicScreenMode::SameScreen;
    StartGame(75);
    ASSERT_EQ(state.shown_public_screen, PublicScreenMode::SameScreen);
    EXPECT_TRUE(commands.HidePublicScreen());
    EXPECT_EQ(state.shown_public_screen, PublicScreenMode::None);
    Draw();
    EXPECT_TRUE(window.Has("public show"));
    EXPECT_EQ(state.shown_public_screen, PublicScreenMode::SameScreen);
}

} // namespace
} // namespace zorvi::test
