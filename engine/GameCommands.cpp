#include "GameCommands.h"

#include <algorithm>
#include <string>

#include "BingoHelpers.h"
#include "ControlIds.h"
#include "DrawCommitment.h"
#include "GameRules.h"
#include "Language.h"
#include "LogLines.h"
#include "LogSink.h"
#include "PageCalls.h"
#include "ProgramState.h"
#include "Settings.h"
#include "StateFile.h"
#include "WindowRequests.h"

namespace zorvi {

namespace {

std::string Decimal(int value) {
    return std::to_string(value);
}

// Timer periods from the interval; only a state file can hold an interval outside 1 to 60, and
// it must not turn into a negative or overflowing period.
int IntervalInRange(const ProgramState& state) {
    return std::clamp(state.auto_speed, GameRules::kShortestInterval, GameRules::kLongestInterval);
}
int TenthOfInterval(const ProgramState& state) {
    return IntervalInRange(state) * GameRules::kFirstTickMsPerSecond;
}
int WholeInterval(const ProgramState& state) {
    return IntervalInRange(state) * GameRules::kTickMsPerSecond;
}

void RestartAutomaticTimer(WindowRequests& window, int periodMs) {
    window.StopTimer(Timer::Automatic);
    window.StartTimer(Timer::Automatic, periodMs);
}

} // namespace

AutomaticCaptions AutomaticCaptionsFor(int mode) {
    switch (mode) {
    case AutoMode::Stopped:
        return {TextId::TXT_START_SPACEBAR, TextId::TXT_LOTTERY_OFF};
    case AutoMode::Running:
        return {TextId::TXT_STOP_SPACEBAR, TextId::TXT_LOTTERY_ON};
    default:
        // A mode outside 0 to 2 (only a state file can hold one) is shown as manual.
        return {TextId::TXT_DRAW_SPACEBAR, TextId::TXT_LOTTERY_OFF};
    }
}

GameCommands::GameCommands(ProgramState& state, const Settings& settings,
                           const BingoHelpers& coupons, WindowRequests& window, GamePages& pages,
                           LogSink& log)
    : state_(state), settings_(settings), coupons_(coupons), window_(window), pages_(pages),
      log_(log) {}

int GameCommands::AutomaticMode() const {
    return state_.auto_new_number;
}

void GameCommands::ShowHiddenPublicScreen() {
    if (state_.shown_public_screen != settings_.public_screen) {
        state_.shown_public_screen = settings_.public_screen;
        window_.ShowPublicScreen();
    }
}

bool GameCommands::HidePublicScreen() {
    if (settings_.public_screen != PublicScreenMode::SameScreen)
        return false;
    state_.shown_public_screen = PublicScreenMode::None;
    return true;
}

void GameCommands::UpdatePages() {
    pages_.PageUpdateMainScreen(state_.CurrentNumber(), state_.DrawnCount(), state_.current_row,
                                state_.DrawnNumbers());
}

void GameCommands::EnableDrawButtons(bool enable) {
    // A game of the hall's ball machine never draws from this computer.
    enable = enable && !BallMachine();
    drawEnabled_ = enable;
    window_.EnableControl(Control::Draw, enable);
    window_.EnablePublicDrawButton(enable);
}

void GameCommands::ShowAutomaticCaptions() {
    const AutomaticCaptions captions = AutomaticCaptionsFor(state_.auto_new_number);
    window_.SetControlCaption(Control::Draw, captions.draw);
    window_.SetPublicDrawCaption(captions.draw);
    window_.SetControlCaption(Control::AutomaticStatus, captions.status);
}

void GameCommands::DrawCommand() {
    const CommandScope command(running_);
    if (!command.entered())
        return;
    // Refused during the one-second lock and after the last number, whatever the source, and
    // in a game of the hall's ball machine.
    if (!drawEnabled_ || BallMachine())
        return;
    EnableDrawButtons(false);
    window_.StartTimer(Timer::DrawLock, GameRules::kDrawLockMs);
    window_.ClearCouponPanel();
    switch (state_.auto_new_number) {
    case AutoMode::Manual:
        DrawNumber();
        break;
    case AutoMode::Stopped:
        StartAutomatic();
        break;
    case AutoMode::Running:
        StopAutomatic();
        break;
    default:
        break;
    }
}

void GameCommands::OnDrawLockTick() {
    const CommandScope command(running_);
    if (!command.entered())
        return;
    window_.StopTimer(Timer::DrawLock);
    if (state_.number_count < settings_.max_called_numbers)
        EnableDrawButtons(true);
}

void GameCommands::OnAutomaticTick() {
    const CommandScope command(running_);
    if (!command.entered())
        return;
    if (BallMachine()) {
        window_.StopTimer(Timer::Automatic);
        return;
    }
    // The first tick after a start comes after a tenth of the interval, every later one after
    // the whole interval.
    RestartAutomaticTimer(window_, WholeInterval(state_));
    DrawNumber();
}

bool GameCommands::BallMachine() const {
    return state_.ball_machine != 0;
}

void GameCommands::FocusBallFieldForTheMachine() {
    if (BallMachine())
        window_.FocusBallField();
}

void GameCommands::FocusEntry() {
    if (BallMachine())
        window_.FocusBallField();
    else
        window_.FocusCouponField();
}

void GameCommands::MoveOnAfterWinner() {
    if (state_.bingo_on_this_row == 1) {
        // A winner was found on this row: the game moves on before the next number.
        AdvanceRow();
        state_.SetBingoFound(0);
        state_.bingo_on_this_row = 0;
        state_.Save();
    }
}

void GameCommands::DrawNumber() {
    if (BallMachine() || state_.rows_left == 0 ||
        state_.number_count >= settings_.max_called_numbers)
        return;
    MoveOnAfterWinner();
    state_.DrawNext();
    log_.WriteLog(LogLines::NumberDrawn(state_.CurrentNumber(), state_.DrawnCount()));
    AfterNumber();
}

void GameCommands::EnterBallCommand() {
    const CommandScope command(running_);
    if (!command.entered() || !BallMachine())
        return;
    if (const std::optional<long long> ball = window_.ReadBallNumber())
        EnterBall(*ball, false);
}

void GameCommands::EnterBallFromBoard(int ball) {
    const CommandScope command(running_);
    if (!command.entered() || !BallMachine())
        return;
    EnterBall(ball, settings_.confirm_board_entry != 0);
}

void GameCommands::EnterBall(long long ball, bool ask) {
    const int highest = settings_.max_called_numbers;
    std::optional<TextId> refused;
    const std::vector<int> drawn = state_.DrawnNumbers();
    if (ball < 1 || ball > highest)
        refused = TextId::TXT_BALL_OUT_OF_RANGE;
    else if (std::find(drawn.begin(), drawn.end(), static_cast<int>(ball)) != drawn.end())
        refused = TextId::TXT_BALL_ALREADY_DRAWN;
    else if (state_.rows_left == 0 || state_.number_count >= highest)
        refused = TextId::TXT_BALL_GAME_OVER;
    window_.ShowBallRefused(refused, ball, highest);
    if (refused) {
        window_.FocusBallField();
        return;
    }
    if (ask && !window_.AskBallConfirmation(static_cast<int>(ball))) {
        window_.FocusBallField();
        return;
    }
    window_.ClearCouponPanel();
    MoveOnAfterWinner();
    if (!state_.EnterBall(static_cast<int>(ball)))
        return; // not among those left: a state file broke the sequence
    log_.WriteLog(LogLines::BallEntered(static_cast<int>(ball)));
    AfterNumber();
}

void GameCommands::AfterNumber() {
    const bool anyDrawn = state_.number_count > 0;
    window_.EnableControl(Control::CancelNumber, anyDrawn);
    window_.EnableControl(Control::ShowDrawnNumbers, anyDrawn);
    if (state_.number_limit != 0 && state_.number_count - 1 == state_.number_limit) {
        // Automatic ticks must not draw past the limit while the message is open, or the number
        // that raised it would never be shown on its own.
        StopAutomatic();
        window_.SayNumberLimit();
        window_.OkDlg(TextId::TXT_NUMBER_LIMIT);
    }
    ShowCurrentNumber();
    // A jackpot's line counts the numbers called.
    if (JackpotOfGame() && state_.programme_jackpot == ProgramState::kJackpotOpen)
        ShowPrizeBoard();
    FocusEntry();
    // Last: the draw is shown and announced before anything else is asked.
    winning_.Ask(true);
}

void GameCommands::ShowCurrentNumber() {
    ShowHiddenPublicScreen();
    const int count = state_.DrawnCount();
    const int current = state_.CurrentNumber();
    const int previous = state_.PreviousNumber();
    window_.SetControlText(Control::PreviousNumber, previous == -1 ? "-" : Decimal(previous));
    if (current != -1) {
        window_.SetControlText(Control::DrawnCount, Decimal(count));
        window_.SetControlText(Control::CurrentNumber, Decimal(current));
        if (const auto letter = Language::GetLetterName(current))
            window_.SetControlCaption(Control::LetterName, *letter);
        else
            window_.SetControlText(Control::LetterName, "-");
        window_.SayNumber(current);
        pages_.PageUpdateMainScreen(current, count, state_.current_row, state_.DrawnNumbers());
    } else {
        window_.SetControlText(Control::DrawnCount, "-");
        window_.SetControlText(Control::CurrentNumber, "-");
        window_.SetControlText(Control::LetterName, "-");
    }
    window_.RepaintBoard();
    if (state_.number_count >= settings_.max_called_numbers)
        EnableDrawButtons(false);
}

void GameCommands::StartAutomatic() {
    if (state_.auto_new_number == AutoMode::Running)
        window_.StopTimer(Timer::Automatic);
    state_.auto_new_number = AutoMode::Running;
    ShowAutomaticCaptions();
    window_.StartTimer(Timer::Automatic, TenthOfInterval(state_));
}

void GameCommands::StopAutomatic() {
    if (state_.auto_new_number == AutoMode::Manual)
        return;
    state_.auto_new_number = AutoMode::Stopped;
    ShowAutomaticCaptions();
    window_.StopTimer(Timer::Automatic);
}

void GameCommands::SwitchToManual() {
    state_.auto_new_number = AutoMode::Manual;
    ShowAutomaticCaptions();
    window_.StopTimer(Timer::Automatic);
}

void GameCommands::ToggleAutomatic() {
    const CommandScope command(running_);
    if (!command.entered())
        return;
    SwitchAutomatic();
}

void GameCommands::SwitchAutomatic() {
    if (BallMachine())
        return; // no automatic drawing from a ball machine
    state_.auto_new_number =
        state_.auto_new_number == AutoMode::Manual ? AutoMode::Stopped : AutoMode::Manual;
    RefreshAutomaticControls();
}

void GameCommands::RefreshAutomaticControls() {
    const int mode = state_.auto_new_number;
    // A mode outside 0 to 2 (only a state file can hold one) is shown and handled as manual.
    const bool automatic = mode == AutoMode::Stopped || mode == AutoMode::Running;
    window_.SetAutomaticCheck(automatic);
    ShowAutomaticCaptions();
    window_.EnableControl(Control::IntervalSlider, automatic);
    window_.EnableControl(Control::IntervalDown, automatic);
    window_.EnableControl(Control::IntervalUp, automatic);
    window_.ShowControl(Control::AutomaticPanel, automatic);
    window_.ShowControl(Control::AutomaticStatus, automatic);
    if (!automatic)
        SwitchToManual();
    window_.ShowBoundFields();
}

bool GameCommands::StartStopKey() {
    const CommandScope command(running_);
    if (!command.entered())
        return true; // the key is taken, and does nothing while another command runs
    if (BallMachine())
        return false;
    switch (state_.auto_new_number) {
    case AutoMode::Running:
        StopAutomatic();
        return true;
    case AutoMode::Stopped:
        if (state_.IsLastRowOrAllDrawn())
            return false;
        state_.auto_new_number = AutoMode::Running;
        StartAutomatic();
        return true;
    case AutoMode::Manual:
        if (state_.IsLastRowOrAllDrawn())
            return false;
        window_.EnableControl(Control::IntervalSlider, true);
        window_.EnableControl(Control::IntervalDown, true);
        window_.EnableControl(Control::IntervalUp, true);
        SwitchAutomatic(); // to mode 1
        state_.auto_new_number = AutoMode::Running;
        StartAutomatic();
        return true;
    default:
        return true;
    }
}

namespace {

void ShowInterval(WindowRequests& window, ProgramState& state, bool moveSlider, bool restartTimer) {
    state.Save();
    if (moveSlider)
        window.SetSliderPosition(Control::IntervalSlider, state.auto_speed);
    window.SetControlText(Control::IntervalDisplay, Decimal(state.auto_speed));
    if (restartTimer && state.auto_new_number == AutoMode::Running)
        RestartAutomaticTimer(window, WholeInterval(state));
}

} // namespace

void GameCommands::IntervalDown() {
    const CommandScope command(running_);
    if (!command.entered())
        return;
    if (state_.auto_speed <= GameRules::kShortestInterval)
        return;
    // A stored interval above the range steps back into it.
    state_.auto_speed = std::min(state_.auto_speed, GameRules::kLongestInterval + 1) - 1;
    ShowInterval(window_, state_, true, true);
}

void GameCommands::IntervalUp() {
    const CommandScope command(running_);
    if (!command.entered())
        return;
    if (state_.auto_speed >= GameRules::kLongestInterval)
        return;
    state_.auto_speed = std::max(state_.auto_speed, GameRules::kShortestInterval - 1) + 1;
    ShowInterval(window_, state_, true, true);
}

void GameCommands::IntervalFromSlider(int position, bool released) {
    const CommandScope command(running_);
    if (!command.entered())
        return;
    state_.auto_speed =
        std::clamp(position, GameRules::kShortestInterval, GameRules::kLongestInterval);
    ShowInterval(window_, state_, false, released);
}

void GameCommands::CancelNumberCommand() {
    const CommandScope command(running_);
    if (!command.entered())
        return;
    StopAutomatic();
    const bool recall = BallMachine();
    if (!window_.AskConfirmation(recall ? TextId::TXT_CONFIRM_RECALL_BALL
                                        : TextId::TXT_CONFIRM_CANCEL_NUMBER)) {
        if (recall)
            window_.FocusBallField();
        return;
    }
    window_.ClearCouponPanel();
    const int before = state_.number_count;
    const int cancelled = state_.CurrentNumber();
    const int cancelledCount = state_.DrawnCount();
    state_.CancelLast();
    if (state_.number_count < before) {
        // A ball of the hall's machine is recalled in front of everyone; the pages are told
        // before their update takes it off.
        log_.WriteLog(recall ? LogLines::BallRecalled(cancelled)
                             : LogLines::NumberCancelled(cancelled, cancelledCount));
        if (recall)
            pages_.PageShowRecall(cancelled);
    }
    const bool cancelledOnlyNumber = before > 0 && state_.number_count == 0;
    if (state_.number_count == 0) {
        window_.ForgetHeldKeys();
        FocusEntry();
        window_.EnableControl(Control::CancelNumber, false);
        window_.EnableControl(Control::ShowDrawnNumbers, false);
    } else {
        EnableDrawButtons(true);
    }
    ShowCurrentNumber();
    // With nothing drawn any more the page must not keep showing the cancelled number; it gets
    // the same "no number yet" values as before a first draw.
    if (cancelledOnlyNumber)
        pages_.PageUpdateMainScreen(-1, 0, state_.current_row, state_.DrawnNumbers());
    window_.RedrawAll();
    // The caller goes on with the next ball at once.
    if (recall)
        window_.FocusBallField();
    winning_.Ask(false);
}

void GameCommands::NewGameCommand() {
    const CommandScope command(running_);
    if (!command.entered())
        return;
    log_.WriteLog(std::string(LogLines::kNewGame));
    StopAutomatic();
    if (!window_.AskConfirmation(TextId::TXT_CONFIRM_NEW_GAME)) {
        log_.WriteLog(std::string(LogLines::kNewGameDeclined));
        return;
    }
    AskNumberLimit();
    BeginNewGame();
}

void GameCommands::AskNumberLimit() {
    if (settings_.enable_number_limit != 0) {
        const auto entered = window_.NumberLimitDlg(state_.number_limit);
        state_.number_limit = entered ? std::max(*entered, 0) : 0;
    } else {
        state_.number_limit = 0;
    }
    state_.Save();
    window_.SetControlText(Control::NumberLimit, Decimal(state_.number_limit));
}

void GameCommands::BeginNewGame() {
    window_.ForgetHeldKeys();
    window_.EnableControl(Control::CancelNumber, false);
    window_.EnableControl(Control::ShowDrawnNumbers, false);
    EnableDrawButtons(true);
    DiscardSequence();
    // After the last game's seal: a change of the number count belongs to this game.
    const int stages = PrepareProgrammeGame();
    const int n = settings_.max_called_numbers;
    state_.ResetGame(stages);
    state_.ball_machine = settings_.ball_source != 0 ? 1 : 0;
    if (BallMachine()) {
        // The machine's balls are not this computer's to commit to; the game is taken ball by
        // ball, manually.
        state_.auto_new_number = AutoMode::Manual;
        EnableDrawButtons(false);
        state_.Save();
    } else {
        // Committed before any number of it can be drawn.
        state_.NewCommitment();
        log_.WriteLog(DrawCommitment::CommitmentMessage(state_));
    }
    LogGameRules();
    for (const std::string& line : programme_.GameStartLines(state_, JackpotOfGame()))
        log_.WriteLog(line);
    window_.ShowBallSource(BallMachine());
    pages_.PageReset(n, DrawCommitment::PageText(state_));
    ShowPrizeBoard();
    ShowCurrentNumber();
    window_.ClearCouponPanel();
    window_.RebuildNumberBoard(n);
    // No save here: the file keeps the previous winners until the next save of the new game.
    state_.winners.clear();
    window_.SetControlText(Control::WinnersList,
                           BingoHelpers::FormatWinners(state_.winners, settings_.language));
    window_.SetControlText(Control::CurrentRow, Decimal(state_.current_row));
    window_.SetControlText(Control::CheckResult, "-");
    if (BallMachine())
        RefreshAutomaticControls();
    FocusEntry();
    winning_.NewGame();
    winning_.Ask(false);
}

void GameCommands::ContinueStoredGame() {
    // No timer runs after a restart: a game stored while automatic drawing ran comes back
    // stopped, so the Draw button offers Start instead of a Stop that stops nothing.
    if (state_.auto_new_number == AutoMode::Running)
        state_.auto_new_number = AutoMode::Stopped;
    if (BallMachine())
        state_.auto_new_number = AutoMode::Manual;
    EnableDrawButtons(true);
    log_.WriteLog(LogLines::GameContinued(state_.current_row, state_.DrawnNumbers()));
    LogGameRules();
    for (const std::string& line : programme_.GameStartLines(state_, JackpotOfGame()))
        log_.WriteLog(line);
    window_.ShowBallSource(BallMachine());
    pages_.PageReset(settings_.max_called_numbers, DrawCommitment::PageText(state_));
    ShowPrizeBoard();
    ShowCurrentNumber();
    window_.SetControlText(Control::WinnersList,
                           BingoHelpers::FormatWinners(state_.winners, settings_.language));
    RefreshAutomaticControls();
    FocusEntry();
    winning_.Ask(false);
}

void GameCommands::LogGameRules() {
    log_.WriteLog(LogLines::BallSource(BallMachine()));
    log_.WriteLog(LogLines::GameRulesNote(settings_.max_called_numbers, settings_.free_middle != 0,
                                          state_.number_limit));
    log_.WriteLog(LogLines::CouponSeriesNote(coupons_.SeriesName(), coupons_.SeriesDigest()));
}

void GameCommands::EndGameForGood() {
    DiscardSequence();
    StateFile::DeleteStateFile();
}

void GameCommands::DiscardSequence() {
    const bool committed = !DrawCommitment::Commitment(state_).empty();
    if (!committed && !BallMachine())
        return;
    if (committed) {
        log_.WriteLog(DrawCommitment::RevealMessage(state_));
        // Revealed once: the sequence that replaces it gets its own nonce.
        state_.commitment_nonce.clear();
    }
    // A game of the machine has nothing to reveal, but is sealed all the same, once.
    state_.ball_machine = 0;
    // The game is over: the log seals it, and the players see the seal as they saw the
    // commitment.
    const std::string seal = log_.SealGame();
    if (!seal.empty())
        pages_.PageShowSeal(seal.substr(0, DrawCommitment::kPageDigits));
}

void GameCommands::RowUpCommand() {
    const CommandScope command(running_);
    if (!command.entered())
        return;
    StopAutomatic();
    if (!window_.AskConfirmation(TextId::TXT_CONFIRM_CHANGE_ROW)) {
        FocusBallFieldForTheMachine();
        return;
    }
    AdvanceRow();
    FocusBallFieldForTheMachine();
    winning_.Ask(false);
}

void GameCommands::AdvanceRow() {
    const int before = state_.current_row;
    state_.NextRow();
    if (state_.current_row != before)
        LogRowChange();
    window_.SetControlText(Control::CurrentRow, Decimal(state_.current_row));
    UpdatePages();
    ShowPrizeBoard();
    window_.RepaintCouponPanel();
}

void GameCommands::BackRow() {
    const int before = state_.current_row;
    state_.PreviousRow();
    if (state_.current_row != before)
        LogRowChange();
    window_.SetControlText(Control::CurrentRow, Decimal(state_.current_row));
    UpdatePages();
}

void GameCommands::LogRowChange() {
    log_.WriteLog(LogLines::PlayingRow(state_.current_row));
    // A game of the programme names its stage too: a reader judges by its pattern.
    if (programme_.GameOf(state_) != nullptr)
        log_.WriteLog(programme_.StageLine(state_));
}

void GameCommands::RowDownCommand() {
    const CommandScope command(running_);
    if (!command.entered())
        return;
    StopAutomatic();
    if (!window_.AskConfirmation(TextId::TXT_CONFIRM_CHANGE_ROW)) {
        FocusBallFieldForTheMachine();
        return;
    }
    BackRow();
    if (!state_.IsLastRowOrAllDrawn()) {
        // Back from the last row: a game that a full-coupon winner had ended goes on.
        EnableDrawButtons(true);
        window_.EnableControl(Control::CancelNumber, true);
        state_.rows_left = 1;
        state_.Save();
    }
    // The board leaves "between games" for the stage played again.
    ShowPrizeBoard();
    FocusBallFieldForTheMachine();
    winning_.Ask(false);
}

} // namespace zorvi
