// An evening's programme played through the commands: each game's stages judged by their
// patterns, the board and the log at every step, the jackpot won or carried over, and a crash
// that resumes the same game, stage and jackpot.
#include <string>
#include <vector>

#include "AtomicFile.h"
#include "CommandsFixture.h"
#include "Folders.h"
#include "Helpers.h"
#include "JackpotBook.h"
#include "Programme.h"
#include "WinningNowScan.h"

namespace zorvi::test {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

// Drawn by the hall: squares 2, 6, 7, 8, 10, 12, 14, 17 and 22.
constexpr const char* kArrow = "..#../.###./#.#.#/..#../..#..";

ProgrammeStage StageOf(const std::string& key, const std::string& prize) {
    return ProgrammeStage{*WinPatterns::Find(key, 75), prize};
}

Programme Evening() {
    Programme programme;
    programme.name = "Friday";
    const WinPattern arrow = *WinPatterns::Drawn("Arrow", *WinPatterns::ParseGrid(kArrow));
    programme.drawnPatterns = {arrow};
    programme.games = {
        {"Early bird", 75, {StageOf("rows_1", "10 €"), StageOf("four_corners", "20 €")}, {}},
        {"Arrow game", 75, {ProgrammeStage{arrow, "30 €"}}, {}},
        {"Jackpot card", 75, {StageOf("full_card", "50 €")}, Jackpot{30, 500, 2, 50, 34}},
    };
    return programme;
}

class ProgrammeGameTest : public CommandsTest {
protected:
    ProgrammeGameTest() {
        commands.AttachJackpots(&jackpots);
        commands.AttachWinningScan(&scan);
    }

    // The programme's game begins as at a start without a stored game.
    void Begin(const Programme& programme) {
        settings.max_called_numbers = 75;
        commands.SetProgramme(programme);
        commands.BeginNewGame();
        UseFixtureSeries();
    }

    void Next() {
        commands.NextGameCommand();
        UseFixtureSeries();
    }

    // Draws until `count` numbers are drawn.
    void DrawTo(int count) {
        while (state.number_count < count)
            Draw();
    }

    bool Wins(int coupon) {
        const std::size_t before = state.winners.size();
        Check(coupon);
        return state.winners.size() > before;
    }

    JackpotBook jackpots;
    WinningNowScan scan{WinningNowScan::Mode::Inline};
};

// Coupon 1 of the fixture holds the sequence row by row: it has row 1 at draw 5, the corners
// and the full card at draw 25, the arrow at draw 23. The rows of old would give it row 2 at
// draw 10: the stage's pattern, not the row, decides.
TEST_F(ProgrammeGameTest, EveryStageIsJudgedByItsPatternAndTold) {
    Begin(Evening());
    EXPECT_THAT(window.Matching("log Game 1"),
                ElementsAre("log Game 1 of 3: Early bird \u2014 10 € / 20 €"));
    EXPECT_THAT(window.Matching("log Stage"),
                ElementsAre("log Stage 1 of 2, pattern rows_1: 1 row \u2014 10 €"));
    EXPECT_THAT(window.Matching("page showPrizeBoard"),
                ElementsAre("page showPrizeBoard 1/3 stage 1/2 1 row: 10 €"));
    EXPECT_EQ(window.lastPrizeBoard.pattern.masks.size(), 5u);
    EXPECT_EQ(state.max_row, 2);

    DrawTo(5);
    EXPECT_TRUE(Wins(1));
    window.Clear();
    Draw(); // the next number is played on the next stage
    EXPECT_THAT(window.Matching("log Stage"),
                ElementsAre("log Stage 2 of 2, pattern four_corners: Four corners \u2014 20 €"));
    EXPECT_TRUE(window.Has("page showPrizeBoard 1/3 stage 2/2 Four corners: 20 €"));
    DrawTo(10);
    EXPECT_FALSE(Wins(1));
    DrawTo(24);
    EXPECT_FALSE(Wins(1));
    EXPECT_TRUE(window.Has("winningNow 0:"));
    Draw();
    EXPECT_TRUE(window.Has("winningNow 1: 1"));
    window.Clear();
    EXPECT_TRUE(Wins(1));
    // The last stage is won: the board lists the games to come.
    EXPECT_THAT(window.Matching("page showPrizeBoard"),
                ElementsAre("page showPrizeBoard 1/3 between"));
    ASSERT_EQ(window.lastPrizeBoard.next.size(), 2u);
    EXPECT_EQ(window.lastPrizeBoard.next[1].name, "Jackpot card");
    EXPECT_EQ(window.lastPrizeBoard.next[1].prize, "50 €");

    window.Clear();
    window.confirmations = {false};
    commands.NextGameCommand();
    EXPECT_EQ(state.programme_game, 1);
    EXPECT_THAT(window.Matching("ask "), ElementsAre("ask Move on to the programme's next game?"));
    Next();
    EXPECT_EQ(state.programme_game, 2);
    EXPECT_THAT(window.Matching("log Game 2"),
                ElementsAre("log Game 2 of 3: Arrow game \u2014 30 €"));
    EXPECT_THAT(
        window.Matching("log Stage"),
        ElementsAre(std::string("log Stage 1 of 1, pattern ") + kArrow + ": Arrow \u2014 30 €"));
    DrawTo(22);
    EXPECT_FALSE(Wins(1));
    Draw();
    EXPECT_TRUE(Wins(1));

    window.Clear();
    Next();
    EXPECT_THAT(window.Matching("log Jackpot"),
                ElementsAre("log Jackpot: full card within 30 numbers \u2014 500 €"));
    EXPECT_TRUE(window.Has("page showPrizeBoard 3/3 stage 1/1 Full card: 50 € jackpot 30 500 € "
                           "called 0"));
    DrawTo(25);
    EXPECT_TRUE(window.Has("page showPrizeBoard 3/3 stage 1/1 Full card: 50 € jackpot 30 500 € "
                           "called 25"));
    window.Clear();
    EXPECT_TRUE(Wins(1));
    EXPECT_THAT(window.Matching("log Jackpot"),
                ElementsAre("log Jackpot won: coupon 1 after 25 numbers \u2014 500 €"));
    EXPECT_EQ(state.programme_jackpot, ProgramState::kJackpotWon);

    // After the last game there is none to move on to.
    EXPECT_FALSE(commands.HasNextGame());
    window.Clear();
    commands.NextGameCommand();
    EXPECT_THAT(window.events(), IsEmpty());
}

// Nobody wins within N: it grows by its step for the next evening, up to its cap, where it
// must go with the full card at whatever count.
TEST_F(ProgrammeGameTest, AJackpotNobodyWinsGrowsUntilItMustGo) {
    Programme programme;
    programme.games = {{"Card", 75, {StageOf("full_card", "50 €")}, Jackpot{23, 500, 1, 100, 24}}};
    Begin(programme);
    DrawTo(25);
    window.Clear();
    EXPECT_TRUE(Wins(1));
    EXPECT_THAT(window.Matching("log Jackpot"),
                ElementsAre("log Jackpot carried over: full card within 24 numbers \u2014 600 €"));

    // The next evening reads it back.
    JackpotBook nextEvening;
    ASSERT_TRUE(nextEvening.Load(Helpers::GetDataFolder()));
    EXPECT_EQ(nextEvening.Current(programme.games[0]), (JackpotNow{24, 600}));

    window.Clear();
    commands.NewGameCommand();
    UseFixtureSeries();
    EXPECT_THAT(window.Matching("log Jackpot"),
                ElementsAre("log Jackpot: full card within 24 numbers, must go \u2014 600 €"));
    DrawTo(25);
    window.Clear();
    EXPECT_TRUE(Wins(1));
    EXPECT_THAT(window.Matching("log Jackpot"),
                ElementsAre("log Jackpot won: coupon 1 after 25 numbers \u2014 600 €"));
    EXPECT_EQ(jackpots.Current(programme.games[0]), (JackpotNow{23, 500}));
}

// A game left for the next one carries its jackpot too: nobody won it.
TEST_F(ProgrammeGameTest, MovingOnCarriesAnOpenJackpot) {
    Programme programme = Evening();
    std::swap(programme.games[0], programme.games[2]);
    Begin(programme);
    DrawTo(12);
    window.Clear();
    Next();
    EXPECT_THAT(window.Matching("log Jackpot"),
                ElementsAre("log Jackpot carried over: full card within 32 numbers \u2014 550 €"));
    EXPECT_EQ(state.programme_game, 2);
}

// The next run after a crash: the same game of the programme, its stage and its jackpot.
TEST_F(ProgrammeGameTest, ACrashResumesTheSameGameStageAndJackpot) {
    Programme programme = Evening();
    programme.games[0].jackpot = Jackpot{40, 300, 0, 0, 0};
    programme.games[0].stages.push_back(StageOf("full_card", "60 €"));
    Begin(programme);
    DrawTo(5);
    ASSERT_TRUE(Wins(1));
    DrawTo(9);
    ASSERT_EQ(state.current_row, 2);

    struct Run {
        explicit Run(Settings& settings, BingoHelpers& coupons)
            : state(random), commands(state, settings, coupons, window, window, window) {
            state.AttachSettings(settings);
            state.AttachSaver([](const ProgramState& s) { StateFile::SaveState(s); });
            book.Load(Helpers::GetDataFolder());
            commands.AttachJackpots(&book);
        }
        Random15 random{19};
        ProgramState state;
        RecordingWindow window;
        GameCommands commands;
        JackpotBook book;
    };
    Run run(settings, coupons);
    run.commands.SetProgramme(programme);
    ASSERT_EQ(run.commands.LoadStoredGame(), StateLoad::Loaded);
    run.commands.ResumeOrStart();
    EXPECT_EQ(run.state, state);
    EXPECT_EQ(run.state.programme_game, 1);
    EXPECT_EQ(run.state.current_row, 2);
    EXPECT_THAT(run.window.Matching("log Stage"),
                ElementsAre("log Stage 2 of 3, pattern four_corners: Four corners \u2014 20 €"));
    EXPECT_THAT(run.window.Matching("log Jackpot"),
                ElementsAre("log Jackpot: full card within 40 numbers \u2014 300 €"));
    EXPECT_TRUE(run.window.Has("page showPrizeBoard 1/3 stage 2/3 Four corners: 20 € jackpot 40 "
                               "300 € called 9"));

    // A programme that lost the game cannot say what its stages were: the stored game goes.
    Programme renamed = programme;
    renamed.games[0].name = "Early birds";
    Run again(settings, coupons);
    again.commands.SetProgramme(renamed);
    EXPECT_EQ(again.commands.LoadStoredGame(), StateLoad::Corrupted);
}

// A game of the programme with the other number count switches the setting first.
TEST_F(ProgrammeGameTest, AGameOfNinetyNumbersSwitchesTheCount) {
    Programme programme;
    programme.games = {
        {"Ninety", 90, {ProgrammeStage{WinPatterns::Rows(3, 90), "Full house"}}, {}}};
    window.switchNumberCount = [this](int n) {
        settings.max_called_numbers = n;
        return true;
    };
    Begin(programme);
    EXPECT_EQ(settings.max_called_numbers, 90);
    EXPECT_EQ(state.randomizer_numbers.size(), 90u);
    EXPECT_EQ(state.max_row, 1);
    ExpectInOrder({"switchNumbers 90", "log Setting changed: number count 75 -> 90",
                   "log Reading coupons after settings change", "page reset 90",
                   "page showPrizeBoard 1/1 stage 1/1 Full house: Full house"});
}

// Without a programme the game, its file and the pages are as they always were; a board once
// shown is taken down when the programme goes.
TEST_F(ProgrammeGameTest, WithoutAProgrammeNothingChanges) {
    settings.max_called_numbers = 75;
    commands.BeginNewGame();
    DrawTo(3);
    EXPECT_THAT(window.Matching("page showPrizeBoard"), IsEmpty());
    EXPECT_THAT(window.Matching("log Stage"), IsEmpty());
    const auto text = ReadWholeFile(Helpers::GetDataFolder() / StateFile::kFileName);
    ASSERT_TRUE(text.has_value());
    EXPECT_EQ(text->find("programme"), std::string::npos);
    EXPECT_FALSE(commands.HasNextGame());

    commands.SetProgramme(Evening());
    EXPECT_TRUE(commands.HasNextGame());
    Next();
    EXPECT_EQ(state.programme_game, 1);
    commands.SetProgramme(std::nullopt);
    window.Clear();
    commands.NewGameCommand();
    EXPECT_THAT(window.Matching("page showPrizeBoard"), ElementsAre("page showPrizeBoard none"));
    EXPECT_EQ(state.programme_game, 0);
}

} // namespace
} // namespace zorvi::test
