// The decisions of the start-up (whether a stored game goes on) and of a settings change (what
// it redoes), headless: the window's steps are recorded, not carried out.

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "CommandsFixture.h"
#include "SettingsChange.h"

namespace zorvi::test {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

// A second run of the program over the same data folder: a fresh state and window.
struct NextRun {
    NextRun(Settings& settings, BingoHelpers& coupons)
        : state(random), commands(state, settings, coupons, window, window, window) {
        state.AttachSettings(settings);
        state.AttachSaver([](const ProgramState& s) { StateFile::SaveState(s); });
    }
    Random15 random{7};
    ProgramState state;
    RecordingWindow window;
    GameCommands commands;
};

class StartUpTest : public CommandsTest {
protected:
    // A game of 75 numbers with three draws, a winner, automatic drawing on and a limit, saved.
    void StoreAGame(int mode = AutoMode::Stopped) {
        StartGame(75);
        DrawTimes(3);
        state.winners = {{1, 3, 7}};
        state.number_limit = 10;
        state.auto_speed = 9;
        state.auto_new_number = mode;
        state.Save();
    }

    std::unique_ptr<NextRun> Run() { return std::make_unique<NextRun>(settings, coupons); }
};

TEST_F(StartUpTest, WithoutAStoredGameANewGameBeginsWithoutAQuestion) {
    auto run = Run();
    EXPECT_EQ(run->commands.LoadStoredGame(), StateLoad::NoFile);
    EXPECT_THAT(run->window.Matching("ask "), IsEmpty());
    EXPECT_EQ(run->state.auto_speed, GameRules::kStartInterval);
    run->commands.ResumeOrStart();
    EXPECT_EQ(run->window.Text(Control::Draw), "Draw (Spacebar)");
    EXPECT_TRUE(run->window.Has("page reset 75"));
    EXPECT_TRUE(run->window.Has("rebuildBoard 75"));
    EXPECT_EQ(run->state.number_count, 0);
    EXPECT_EQ(run->state.randomizer_numbers.size(), 75u);
    EXPECT_TRUE(run->commands.DrawEnabled());
}

TEST_F(StartUpTest, AStoredGameAnsweredYesGoesOnAsItWas) {
    StoreAGame();
    const ProgramState stored = Stored();
    auto run = Run();
    EXPECT_EQ(run->commands.LoadStoredGame(), StateLoad::Loaded);
    EXPECT_THAT(run->window.Matching("ask "), ElementsAre("ask Load previous state?"));
    EXPECT_EQ(run->state, stored);
    run->window.Clear();
    run->commands.ResumeOrStart();
    EXPECT_EQ(run->state, stored);
    // The limit in force is shown; the number, the row and the winners come back.
    EXPECT_EQ(run->window.Text(Control::NumberLimit), "10");
    EXPECT_TRUE(run->window.Has("say " + std::to_string(Seq(2))));
    EXPECT_TRUE(run->window.Has(UpdateMain(Seq(2), 3, 1)));
    EXPECT_EQ(run->window.Text(Control::WinnersList),
              BingoHelpers::FormatWinners(stored.winners, 2));
    EXPECT_EQ(run->window.Text(Control::Draw), "Start (Spacebar)");
    EXPECT_FALSE(run->window.Has("rebuildBoard 75"));
}

TEST_F(StartUpTest, AStoredGameAnsweredNoLeavesNothingBehind) {
    StoreAGame(AutoMode::Running);
    const ProgramState stored = Stored();
    auto run = Run();
    run->window.confirmations = {false};
    EXPECT_EQ(run->commands.LoadStoredGame(), StateLoad::NoFile);
    // Neither the automatic mode nor the limit of the declined game steers the new one.
    EXPECT_EQ(run->commands.AutomaticMode(), AutoMode::Manual);
    EXPECT_EQ(run->state.number_limit, 0);
    EXPECT_EQ(run->state.auto_speed, GameRules::kStartInterval);
    run->commands.ResumeOrStart();
    EXPECT_EQ(run->state.number_count, 0);
    EXPECT_THAT(run->state.winners, IsEmpty());
    EXPECT_NE(run->state.randomizer_numbers, stored.randomizer_numbers);
    EXPECT_EQ(run->window.Text(Control::Draw), "Draw (Spacebar)");
    EXPECT_EQ(run->window.TimerPeriod(Timer::Automatic), std::nullopt);
    // The first draw of the new game reports no limit.
    run->commands.DrawCommand();
    EXPECT_FALSE(run->window.Has("sayNumberLimit"));
    EXPECT_EQ(run->state.number_count, 1);
}

struct BrokenFile {
    const char* name;
    std::string content;
    int numberCount; // of the settings at the start
};

class BrokenStateTest : public StartUpTest, public ::testing::WithParamInterface<BrokenFile> {};

TEST_P(BrokenStateTest, IsReportedAndReplacedByAFreshManualGame) {
    const BrokenFile& c = GetParam();
    TestFolders::WriteFile(folders.dataFolder() / StateFile::kFileName, c.content);
    settings.max_called_numbers = c.numberCount;
    auto run = Run();
    EXPECT_EQ(run->commands.LoadStoredGame(), StateLoad::Corrupted);
    EXPECT_THAT(run->window.Matching("ask "), IsEmpty());
    EXPECT_THAT(run->window.Matching("message "),
                ElementsAre("message Corrupted state filed, resetting"));
    EXPECT_EQ(run->commands.AutomaticMode(), AutoMode::Manual);
    EXPECT_EQ(run->state.number_limit, 0);
    EXPECT_EQ(run->state.auto_speed, GameRules::kStartInterval);
    run->commands.ResumeOrStart();
    EXPECT_EQ(run->state.number_count, 0);
    EXPECT_EQ(static_cast<int>(run->state.randomizer_numbers.size()), c.numberCount);
    EXPECT_EQ(run->window.Text(Control::Draw), "Draw (Spacebar)");
    run->commands.DrawCommand();
    EXPECT_EQ(run->state.number_count, 1);
}

INSTANTIATE_TEST_SUITE_P(
    Files, BrokenStateTest,
    ::testing::Values(
        BrokenFile{"UnreadableSequence",
                   "[common]\nrandomizer_numbers=5;x;7;\nauto_new_number=2\nnumber_limit=4\n", 75},
        // A whole 75-number game is no game for 90 numbers.
        BrokenFile{"SequenceOfTheOtherCount",
                   "[common]\nnumber_count=2\ncurrent_row=1\nmax_row=5\nauto_new_number=1\n"
                   "randomizer_numbers=" +
                       [] {
                           std::string text;
                           for (int i = 1; i <= 75; ++i)
                               text += std::to_string(i) + ";";
                           return text;
                       }() +
                       "\n",
                   90}),
    [](const auto& info) { return std::string(info.param.name); });

// ---- Settings change ----------------------------------------------------------------------

class SettingsChangeTest : public CommandsTest {
protected:
    void SetUp() override {
        StartGame(75);
        DrawTimes(3);
        window.Clear();
    }
    // The settings as the operator left them, and what the engine made of the change.
    void Apply(const std::function<void(Settings&)>& edit) {
        const Settings before = settings;
        edit(settings);
        commands.ApplySettingsChange(SettingsChange::Between(before, settings));
    }
};

TEST_F(SettingsChangeTest, NothingChangedOnlySetsTheBackgroundSound) {
    const ProgramState before = state;
    Apply([](Settings&) {});
    EXPECT_THAT(window.events(), ElementsAre("backgroundVoice=1"));
    EXPECT_EQ(state, before);
}

TEST_F(SettingsChangeTest, ALanguageChangeRelabelsAndShowsTheGameOnTheNewPage) {
    const ProgramState before = state;
    Apply([](Settings& s) {
        s.language = 0;
        s.enable_background_voice = 0;
    });
    EXPECT_THAT(window.events(),
                ElementsAre("relabelWindow", "selectPageFolder", "public open reload=1",
                            "page reset 75", UpdateMain(Seq(2), 3, 1), "backgroundVoice=0"));
    EXPECT_EQ(state, before);
}

TEST_F(SettingsChangeTest, APublicScreenChangePlacesItAgainWithoutReloading) {
    Apply([](Settings& s) { s.public_screen = PublicScreenMode::OtherScreen; });
    EXPECT_THAT(window.events(), ElementsAre("public open reload=0", "backgroundVoice=1"));
    EXPECT_EQ(state.shown_public_screen, PublicScreenMode::OtherScreen);
    EXPECT_EQ(state.number_count, 3);
}

TEST_F(SettingsChangeTest, ANewNumberCountReadsItsSeriesAndBeginsANewGame) {
    Apply([](Settings& s) { s.max_called_numbers = 90; });
    ExpectInOrder({"log Reading coupons after settings change", "readCoupons 90,0",
                   "clearCouponPanel", "rebuildBoard 90", "backgroundVoice=1", "page reset 90",
                   "rebuildBoard 90", "focusCoupon"});
    EXPECT_FALSE(window.Has("relabelWindow"));
    EXPECT_FALSE(window.Has("public open reload=0"));
    EXPECT_EQ(state.number_count, 0);
    EXPECT_EQ(state.randomizer_numbers.size(), 90u);
    EXPECT_EQ(state.max_row, 3);
    ExpectStoredEqualsMemory();
}

TEST_F(SettingsChangeTest, AFreeMiddleRestartsWithoutReadingTheSeries) {
    Apply([](Settings& s) { s.free_middle = 1; });
    EXPECT_FALSE(window.Has("readCoupons 75,0"));
    EXPECT_TRUE(window.Has("page reset 75"));
    EXPECT_EQ(state.number_count, 0);
}

// The game goes on; the log notes the coupons in play from now on, after a restart that came
// with it, so that the note belongs to the game played with them.
TEST_F(SettingsChangeTest, OtherCouponsInPlayAreNotedInTheLog) {
    const ProgramState before = state;
    Apply([](Settings& s) { s.coupons_in_play = "1-500, 1201-1300"; });
    EXPECT_THAT(window.events(),
                ElementsAre("backgroundVoice=1", "log Coupons in play: 1-500, 1201-1300"));
    EXPECT_EQ(state, before);

    window.Clear();
    Apply([](Settings& s) {
        s.coupons_in_play.clear();
        s.free_middle = 1;
    });
    const auto logs = window.Matching("log ");
    ASSERT_FALSE(logs.empty());
    EXPECT_EQ(logs.back(), "log Coupons in play: the whole series");
    // The change that restarts the game comes first, then the old game's reveal.
    ASSERT_GE(logs.size(), 2u);
    EXPECT_EQ(logs[0], "log Setting changed: free middle off -> on");
    EXPECT_TRUE(logs[1].rfind("log Game reveal: ", 0) == 0) << logs[1];
}

TEST_F(SettingsChangeTest, ALanguageChangeWithARestartSendsNoOldNumber) {
    Apply([](Settings& s) {
        s.language = 1;
        s.coupon_series = 2;
    });
    ExpectInOrder({"relabelWindow", "readCoupons 75,2", "public open reload=1", "page reset 75",
                   "page reset 75"});
    EXPECT_THAT(window.Matching("page updateMainScreen"), IsEmpty());
    EXPECT_EQ(state.number_count, 0);
}

} // namespace
} // namespace zorvi::test
