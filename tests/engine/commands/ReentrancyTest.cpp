// No command inside another: what arrives while a command waits for the page is dropped.

#include <functional>
#include <string>

#include "CommandsFixture.h"

namespace zorvi::test {
namespace {

struct Intruder {
    const char* name;
    std::function<void(GameCommands&)> arrive;
};

class ReentrancyTest : public CommandsTest, public ::testing::WithParamInterface<Intruder> {};

// A draw waits in its page call; a tick, a key or a click comes in meanwhile and must leave the
// game and the window as the draw alone leaves them.
TEST_P(ReentrancyTest, WhatArrivesDuringADrawsPageCallIsDropped) {
    StartGame(75);
    DrawTimes(2);
    commands.ToggleAutomatic();
    commands.StartAutomatic(); // running: every tick draws
    window.Clear();

    int countInside = -1;
    window.duringNextPageUpdate = [&] {
        countInside = state.number_count;
        EXPECT_TRUE(commands.Busy());
        const std::vector<std::string> before = window.events();
        GetParam().arrive(commands);
        EXPECT_EQ(window.events(), before) << "a command ran inside the draw";
    };
    commands.OnAutomaticTick();

    EXPECT_EQ(countInside, 3);
    EXPECT_EQ(state.number_count, 3);
    EXPECT_EQ(window.Count(UpdateMain(Seq(2), 3, 1)), 1);
    EXPECT_THAT(window.Matching("say "), ::testing::ElementsAre("say " + std::to_string(Seq(2))));
    EXPECT_FALSE(commands.Busy());
    ExpectStoredEqualsMemory();

    // Once the draw is over the next tick draws as usual.
    window.Clear();
    commands.OnAutomaticTick();
    EXPECT_EQ(state.number_count, 4);
}

INSTANTIATE_TEST_SUITE_P(
    Arrivals, ReentrancyTest,
    ::testing::Values(Intruder{"AutomaticTick", [](GameCommands& c) { c.OnAutomaticTick(); }},
                      Intruder{"DrawLockTick", [](GameCommands& c) { c.OnDrawLockTick(); }},
                      Intruder{"DrawKey", [](GameCommands& c) { c.DrawCommand(); }},
                      Intruder{"StartStopKey",
                               [](GameCommands& c) { EXPECT_TRUE(c.StartStopKey()); }},
                      Intruder{"CancelNumber", [](GameCommands& c) { c.CancelNumberCommand(); }},
                      Intruder{"NewGame", [](GameCommands& c) { c.NewGameCommand(); }},
                      Intruder{"RowUp", [](GameCommands& c) { c.RowUpCommand(); }},
                      Intruder{"RowDown", [](GameCommands& c) { c.RowDownCommand(); }},
                      Intruder{"Check", [](GameCommands& c) { c.CheckCommand(); }},
                      Intruder{"Interval", [](GameCommands& c) { c.IntervalFromSlider(9, true); }},
                      Intruder{"AutomaticOff", [](GameCommands& c) { c.ToggleAutomatic(); }}),
    [](const auto& info) { return std::string(info.param.name); });

// The start-up is one command: a key pressed while it waits (for the question, for the public
// screen) changes nothing; once the game has begun, it draws.
TEST_F(CommandsTest, TheStartUpTakesNoCommandUntilTheGameHasBegun) {
    StartGame(75);
    DrawTimes(3);
    RecordingWindow nextWindow;
    ProgramState next(otherRandom);
    next.AttachSettings(settings);
    GameCommands nextCommands(next, settings, coupons, nextWindow, nextWindow, nextWindow);
    ASSERT_EQ(nextCommands.LoadStoredGame(), StateLoad::Loaded);
    EXPECT_TRUE(nextCommands.Busy());
    nextCommands.DrawCommand();
    nextCommands.RowUpCommand();
    EXPECT_EQ(next.number_count, 3);
    EXPECT_EQ(next.current_row, 1);
    nextCommands.ResumeOrStart();
    EXPECT_FALSE(nextCommands.Busy());
    nextCommands.DrawCommand();
    EXPECT_EQ(next.number_count, 4);
}

} // namespace
} // namespace zorvi::test
