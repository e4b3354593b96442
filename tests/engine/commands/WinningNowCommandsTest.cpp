#include <functional>
#include <string>
#include <vector>

#include "CommandsFixture.h"
#include "WinningNowScan.h"

namespace zorvi::test {
namespace {

// The fixture's coupon 1 completes its row r with draw 5r; coupon 2 wins nothing early.
class WinningNowCommandsTest : public CommandsTest {
protected:
    WinningNowCommandsTest() { commands.AttachWinningScan(&scan); }

    // The last winning-now line shown, and the log lines about it, since the last Take.
    std::pair<std::string, std::vector<std::string>> TakeWinning() {
        std::string line = "(none)";
        std::vector<std::string> logs;
        for (const std::string& event : window.Take()) {
            if (event.rfind("winningNow ", 0) == 0)
                line = event;
            if (event.rfind("log Winning now", 0) == 0)
                logs.push_back(event.substr(4));
        }
        return {line, logs};
    }

    WinningNowScan scan{WinningNowScan::Mode::Inline};
};

struct Step {
    const char* what;
    std::function<void()> act;
    const char* line; // the last winning-now event of the step
    std::vector<std::string> logs;
};

TEST_F(WinningNowCommandsTest, TheLineFollowsTheGameAndTheLogNotesDrawsThatChangeTheCount) {
    StartGame(75);
    const auto yes = [this] { window.confirmations = {true}; };
    const std::vector<Step> steps = {
        {"four draws", [this] { DrawTimes(4); }, "winningNow 0:", {}},
        {"the fifth completes row 1 of coupon 1",
         [this] { Draw(); },
         "winningNow 1: 1",
         {"Winning now: 1 (row 1)"}},
        {"a sixth draw: called too late",
         [this] { Draw(); },
         "winningNow 0:",
         {"Winning now: 0 (row 1)"}},
        {"cancel: the fifth is last again, no log",
         [&] {
             yes();
             commands.CancelNumberCommand();
         },
         "winningNow 1: 1",
         {}},
        {"row up: nobody has two rows",
         [&] {
             yes();
             commands.RowUpCommand();
         },
         "winningNow 0:",
         {}},
        {"row down again",
         [&] {
             yes();
             commands.RowDownCommand();
         },
         "winningNow 1: 1",
         {}},
        {"a check does not change it", [this] { Check(1); }, "(none)", {}},
        {"the draw after a winner plays row 2",
         [this] { Draw(); },
         "winningNow 0:",
         {"Winning now: 0 (row 2)"}},
        {"the tenth completes row 2",
         [this] { DrawTimes(4); },
         "winningNow 1: 1",
         {"Winning now: 1 (row 2)"}},
        {"a new game clears it without a log line",
         [&] {
             yes();
             commands.NewGameCommand();
         },
         "winningNow 0:",
         {}},
    };
    for (const Step& step : steps) {
        step.act();
        const auto [line, logs] = TakeWinning();
        EXPECT_EQ(line, step.line) << step.what;
        EXPECT_EQ(logs, step.logs) << step.what;
    }
}

TEST_F(WinningNowCommandsTest, TheFirstShownIsTheOneAClickChecks) {
    StartGame(90);
    DrawTimes(5);
    ASSERT_EQ(commands.FirstWinningNow(), 1);
    // The next draw makes the answer out of date at once: nothing is offered until it comes.
    const std::uint64_t before = scan.Latest();
    window.couponNumber = 1;
    commands.CheckCommand();
    EXPECT_TRUE(window.Has("log Bingo found in coupon 1 (row 1)"));
    // An answer that a newer moment superseded is never shown.
    Draw();
    window.Clear();
    commands.ShowWinningNow(before, WinningNow{1, {1}});
    EXPECT_TRUE(window.Matching("winningNow").empty());
    EXPECT_TRUE(window.Matching("log Winning now").empty());
}

TEST_F(WinningNowCommandsTest, OnlyCouponsInPlayAreCounted) {
    settings.coupons_in_play = "2-500";
    StartGame(75);
    DrawTimes(5);
    EXPECT_EQ(TakeWinning().first, "winningNow 0:");
    EXPECT_EQ(commands.FirstWinningNow(), std::nullopt);
}

} // namespace
} // namespace zorvi::test
