// A game of the hall's ball machine: the operator enters each ball, refusals change nothing,
// a recall is told to the players, the computer never draws, and a crash between balls
// resumes the same game from a state file of the usual shape.
#include <string>
#include <vector>

#include "CommandsFixture.h"
#include "DrawCommitment.h"
#include "Helpers.h"
#include "LogLines.h"

namespace zorvi::test {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

class BallMachineTest : public CommandsTest {
protected:
    BallMachineTest() { settings.ball_source = 1; }

    void Enter(long long ball) {
        window.ballNumber = ball;
        commands.EnterBallCommand();
    }
};

TEST_F(BallMachineTest, AGameHasNoCommitmentAndTheComputerNeverDraws) {
    StartGame(75);
    EXPECT_TRUE(commands.BallMachine());
    EXPECT_EQ(state.ball_machine, 1);
    EXPECT_TRUE(state.commitment_nonce.empty());
    EXPECT_EQ(window.pageCommitment, "");
    EXPECT_FALSE(commands.DrawEnabled());
    EXPECT_FALSE(window.IsControlEnabled(Control::Draw));

    // Neither the Draw button, Space, the automatic check box nor a stray tick draws.
    commands.DrawCommand();
    EXPECT_FALSE(commands.StartStopKey());
    commands.ToggleAutomatic();
    commands.OnAutomaticTick();
    EXPECT_EQ(state.number_count, 0);
    EXPECT_EQ(state.auto_new_number, AutoMode::Manual);
    EXPECT_THAT(window.Matching("log "), IsEmpty());
}

TEST_F(BallMachineTest, EnteredBallsAreTheGameAndTheSequenceKeepsItsShape) {
    StartGame(75);
    // Balls out of the sequence's order: each is moved to the place of the next draw.
    const std::vector<int> balls = {Seq(40), Seq(3), Seq(74), Seq(0)};
    int count = 0;
    for (const int ball : balls) {
        ++count;
        window.Clear();
        Enter(ball);
        EXPECT_THAT(window.Matching("log "),
                    ElementsAre("log Ball entered: " + std::to_string(ball)));
        EXPECT_TRUE(window.Has("say " + std::to_string(ball)));
        EXPECT_TRUE(window.Has("text CurrentNumber=" + std::to_string(ball)));
        EXPECT_EQ(window.events().back(), "focusBall");
        ExpectInOrder({"ballRefused -", UpdateMain(ball, count, 1)});
    }
    EXPECT_EQ(state.DrawnNumbers(), balls);
    std::vector<int> sorted = state.randomizer_numbers;
    std::sort(sorted.begin(), sorted.end());
    EXPECT_EQ(sorted, Helpers::MakeNumberSequence(75));
    ExpectStoredEqualsMemory();
}

struct Refusal {
    const char* name;
    long long ball;
    const char* text;
};

class BallRefusalTest : public BallMachineTest, public ::testing::WithParamInterface<Refusal> {};

TEST_P(BallRefusalTest, ChangesNothing) {
    StartGame(75);
    Enter(17);
    const ProgramState before = state;
    window.Clear();
    Enter(GetParam().ball);
    EXPECT_THAT(window.Matching("ballRefused "),
                ElementsAre(std::string("ballRefused ") + GetParam().text));
    EXPECT_EQ(state, before);
    EXPECT_THAT(window.Matching("log "), IsEmpty());
    EXPECT_THAT(window.Matching("page "), IsEmpty());
    EXPECT_THAT(window.Matching("say "), IsEmpty());
}

INSTANTIATE_TEST_SUITE_P(
    Entries, BallRefusalTest,
    ::testing::Values(Refusal{"zero", 0, "0 is not a ball of this game (1\u201375)."},
                      Refusal{"aboveTheGame", 76, "76 is not a ball of this game (1\u201375)."},
                      Refusal{"huge", 99999999999LL,
                              "99999999999 is not a ball of this game (1\u201375)."},
                      Refusal{"drawnAlready", 17, "Ball 17 has been drawn already."}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(BallMachineTest, NoBallAfterTheFullCoupon) {
    StartGame(90);
    const std::vector<int> sequence = state.randomizer_numbers;
    for (int i = 0; i < 15; ++i)
        Enter(sequence[static_cast<std::size_t>(i)]);
    commands.RowUpCommand();
    commands.RowUpCommand();
    Check(1); // the full ticket on row 3 ends the game
    ASSERT_EQ(state.rows_left, 0);
    window.Clear();
    Enter(sequence[20]);
    EXPECT_THAT(window.Matching("ballRefused "),
                ElementsAre("ballRefused The game has ended: the ball was not entered."));
    EXPECT_EQ(state.number_count, 15);
}

TEST_F(BallMachineTest, AWinnerAndTheNextRowFollowTheBallsAsTheyFollowDraws) {
    StartGame(75);
    for (int i = 0; i < 5; ++i)
        Enter(Seq(i));
    window.Clear();
    Check(1);
    EXPECT_EQ(window.Text(Control::CheckResult), "BINGO!");
    EXPECT_THAT(window.Matching("log "),
                ElementsAre("log Bingo found in coupon 1 (row 1)",
                            "log Drawn numbers: " + LogLines::NumberList(state.DrawnNumbers())));
    // After a check the caller goes on with the next ball.
    EXPECT_EQ(window.events().back(), "focusBall");
    window.Clear();
    Enter(Seq(5));
    EXPECT_EQ(state.current_row, 2);
    EXPECT_THAT(window.Matching("log "),
                ElementsAre("log Playing row 2", "log Ball entered: " + std::to_string(Seq(5))));
}

TEST_F(BallMachineTest, ARecallIsToldToEveryScreenAndLogged) {
    StartGame(75);
    Enter(23);
    Enter(42);
    window.Clear();
    commands.CancelNumberCommand();
    ExpectInOrder({"ask Recall the last ball on every screen?", "log Ball recalled: 42",
                   "page showRecall 42", "page updateMainScreen 23,1,1"});
    EXPECT_EQ(state.DrawnNumbers(), std::vector<int>{23});
    EXPECT_TRUE(window.Has("focusBall")); // the caller goes on with the next ball

    // Declined: nothing is recalled, and the caller still goes on typing.
    window.Clear();
    window.confirmations = {false};
    commands.CancelNumberCommand();
    EXPECT_THAT(window.Matching("page showRecall"), IsEmpty());
    EXPECT_EQ(state.number_count, 1);
    EXPECT_TRUE(window.Has("focusBall"));
}

struct BoardClick {
    const char* name;
    int confirm; // the setting
    std::deque<bool> answers;
    bool entered;
    bool asked;
};

class BoardClickTest : public BallMachineTest, public ::testing::WithParamInterface<BoardClick> {};

TEST_P(BoardClickTest, EntersTheNumberAskingWhenTheSettingSaysSo) {
    settings.confirm_board_entry = GetParam().confirm;
    StartGame(75);
    window.confirmations = GetParam().answers;
    commands.EnterBallFromBoard(33);
    EXPECT_EQ(window.Has("ask Enter ball 33 as drawn?"), GetParam().asked);
    EXPECT_EQ(state.number_count, GetParam().entered ? 1 : 0);
    EXPECT_EQ(window.Has("log Ball entered: 33"), GetParam().entered);
}

INSTANTIATE_TEST_SUITE_P(Settings, BoardClickTest,
                         ::testing::Values(BoardClick{"askedYes", 1, {true}, true, true},
                                           BoardClick{"askedNo", 1, {false}, false, true},
                                           BoardClick{"notAsked", 0, {}, true, false}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(BallMachineTest, ACrashBetweenBallsResumesTheSameGame) {
    StartGame(75);
    const int first = Seq(10);
    const int second = Seq(2);
    Enter(first);
    Enter(second);
    const ProgramState stored = Stored();
    EXPECT_EQ(stored, state);
    EXPECT_EQ(stored.ball_machine, 1);
    // The entered balls stand first, in order: the file an older version plays on.
    EXPECT_EQ(
        std::vector<int>(stored.randomizer_numbers.begin(), stored.randomizer_numbers.begin() + 2),
        (std::vector<int>{first, second}));

    ProgramState restarted(otherRandom);
    restarted.AttachSettings(settings);
    ASSERT_EQ(StateFile::LoadState(restarted), 1);
    restarted.AttachSaver([](const ProgramState& s) { StateFile::SaveState(s); });
    GameCommands again(restarted, settings, coupons, window, window, window);
    window.Clear();
    again.ContinueStoredGame();
    EXPECT_TRUE(again.BallMachine());
    EXPECT_TRUE(window.Has("ballSource machine"));
    EXPECT_TRUE(window.Has("log Game continued: row 1, numbers drawn: " + std::to_string(first) +
                           ", " + std::to_string(second)));
    EXPECT_TRUE(window.Has("log Ball source: the hall's ball machine"));
    EXPECT_FALSE(again.DrawEnabled());
    window.ballNumber = first != 5 && second != 5 ? 5 : 6;
    again.EnterBallCommand();
    EXPECT_EQ(restarted.number_count, 3);
}

TEST_F(BallMachineTest, TheSourceChangesWithTheNextGameOnly) {
    settings.ball_source = 0;
    StartGame(75);
    Draw();
    EXPECT_FALSE(commands.BallMachine());
    settings.ball_source = 1; // as the settings dialog leaves it: the game goes on as it began
    Draw();
    EXPECT_EQ(state.number_count, 2);
    window.Clear();
    commands.BeginNewGame();
    EXPECT_TRUE(commands.BallMachine());
    // The computer's game is revealed; the machine's game has no commitment.
    EXPECT_EQ(window.Matching("log Game reveal: ").size(), 1u);
    EXPECT_THAT(window.Matching("log Game commitment"), IsEmpty());
    EXPECT_TRUE(window.Has("log Ball source: the hall's ball machine"));
}

} // namespace
} // namespace zorvi::test
