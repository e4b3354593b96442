#pragma once

#include <cstdint>
#include <optional>

#include "Language.h"
#include "ProgrammePlay.h"
#include "WinningMarks.h"
#include "WinningNowWatcher.h"

namespace zorvi {

class BingoHelpers;
class GamePages;
class JackpotBook;
class LogSink;
class WinningNowScan;
class ProgramState;
class Settings;
class WindowRequests;
struct SettingsChange;

// The operator's actions on the game: drawing, automatic drawing, the interval, cancel,
// new game, rows and the coupon check. They change the game state, tell the pages and the game
// log themselves, and address every other effect to the operator window through
// WindowRequests.
//
// One command at a time. A prompt is a modal window with its own message loop, so a timer
// tick, a key or a click can arrive while the command that asked is still running. Such a
// command is dropped, not kept for later: the timers of the draw lock and of
// automatic drawing are periodic and simply come again, so the next automatic number keeps its
// interval instead of following the slow one at once, and a key or click pressed into a busy
// window is never carried out later against a game it did not see. The start-up counts as one
// command from LoadStoredGame to the end of ResumeOrStart.
class GameCommands {
public:
    GameCommands(ProgramState& state, const Settings& settings, const BingoHelpers& coupons,
                 WindowRequests& window, GamePages& pages, LogSink& log);
    virtual ~GameCommands() = default;

    // Commands bound to buttons, keys and timers.
    void DrawCommand();
    void OnDrawLockTick();
    void OnAutomaticTick();
    void ToggleAutomatic();
    // False when the key declined to start (mode 0 or 1 on the last row or all drawn).
    bool StartStopKey();
    void IntervalDown();
    void IntervalUp();
    // The slider's position, on its release (restarts a running timer) or on a repaint (does not).
    void IntervalFromSlider(int position, bool released);
    void CancelNumberCommand();
    void NewGameCommand();
    void RowUpCommand();
    void RowDownCommand();
    void CheckCommand();
    // The evening's programme: on to its next game, after the operator confirms. Nothing
    // without a programme or after its last game.
    void NextGameCommand();
    bool HasNextGame() const;
    // The programme played from the next game on (or none); a game running on keeps its own.
    void SetProgramme(std::optional<Programme> programme);
    const ProgrammePlay& Play() const { return programme_; }
    // Where the jackpots stand between evenings; without it a game's jackpot is not played.
    void AttachJackpots(JackpotBook* jackpots) { jackpots_ = jackpots; }
    // Balls from the hall's ball machine: the ball typed in the ball field and Enter, or a
    // number of the board clicked (asked first when the setting says so). Refused with a
    // message beside the field when out of range, already drawn or after the game has ended.
    void EnterBallCommand();
    void EnterBallFromBoard(int ball);
    // The running game takes its balls from the hall's machine.
    bool BallMachine() const;

    // The decisions of the start-up and of a settings change; the window runs its own steps
    // around them in its order.
    //
    // Reads the stored game and decides whether it goes on: a game that this number count can
    // play is offered with the question "Load previous state?"; a corrupted or unplayable one is
    // reported and replaced by a fresh game. A game that does not go on keeps nothing of the
    // stored one: manual drawing, no number limit, the start interval. Returns StateLoad::Loaded
    // when the stored game goes on, otherwise NoFile or Corrupted.
    int LoadStoredGame();
    int LoadedAtStart() const { return loaded_; }
    // The last step of the start-up: the stored game goes on, or a new game begins.
    void ResumeOrStart();
    // What a change of the settings redoes, once the window has saved them.
    void ApplySettingsChange(const SettingsChange& change);

    // Steps that the start-up, the window's own commands (the settings, Exit) and the tests
    // take on their own.
    void DrawNumber();
    void StartAutomatic();
    void StopAutomatic();
    void SwitchToManual();
    void RefreshAutomaticControls();
    void BeginNewGame();
    void ContinueStoredGame();
    // The operator hides the players' window (Esc, its close button): only one on this screen
    // can be hidden. True when the window is to hide it; a draw or a check shows it again.
    bool HidePublicScreen();
    // The game's sequence is given up (a new game, a declined or broken stored game, Exit, a
    // settings change that restarts): the log reveals it with its nonce, once.
    void DiscardSequence();
    // The operator ends the game for good (Exit): its sequence is revealed and the stored game
    // deleted, so the next start begins a fresh one without asking.
    void EndGameForGood();

    // What the engine keeps of its own. The Draw buttons take a command only while this holds:
    // not during the one-second lock, not after the last number, not after the full coupon.
    bool DrawEnabled() const { return drawEnabled_; }
    // AutoMode::Manual, Stopped or Running; stored in the state, changed only here.
    int AutomaticMode() const;

    // True while a command (or the start-up) is running: commands that arrive now are dropped.
    bool Busy() const { return running_; }

    // Winning now (WinningNowWatcher): after every draw, cancel, row change, new game and
    // settings change. The scan must outlive these commands' use of it.
    void AttachWinningScan(WinningNowScan* scan) { winning_.AttachScan(scan); }
    void ShowWinningNow(std::uint64_t generation, const WinningNow& answer) {
        winning_.Show(generation, answer);
    }
    std::optional<int> FirstWinningNow() const { return winning_.First(); }

private:
    // Marks a command as running for its lifetime. A command whose scope was not entered
    // (another one is running) does nothing.
    class CommandScope {
    public:
        explicit CommandScope(bool& running) : running_(running), entered_(!running) {
            running_ = true;
        }
        ~CommandScope() {
            if (entered_)
                running_ = false;
        }
        CommandScope(const CommandScope&) = delete;
        CommandScope& operator=(const CommandScope&) = delete;
        bool entered() const { return entered_; }

    private:
        bool& running_;
        bool entered_;
    };

    // The check box's step, also taken by the keypad "+" key: manual to automatic and back.
    void SwitchAutomatic();
    void ShowCurrentNumber();
    // The rules and the coupon series that the game is played with, for the game log.
    void LogGameRules();
    // After a winner on the row, the next number comes on the next row.
    void MoveOnAfterWinner();
    // What follows a number drawn or a ball entered: the controls, the limit, the display and
    // the voice, the pages, the focus, winning now.
    void AfterNumber();
    void EnterBall(long long ball, bool ask);
    // The field the operator types into next: the ball field for the machine, else the coupon
    // number field.
    void FocusEntry();
    // After a question, the caller reading balls goes on typing the next one.
    void FocusBallFieldForTheMachine();
    void AdvanceRow();
    // A new game's number limit: asked when the setting says so, else none.
    void AskNumberLimit();
    void LogRowChange();
    void BackRow();
    // The captions of the automatic mode, by the one table of AutomaticCaptionsFor.
    void ShowAutomaticCaptions();
    // A players' window the operator hid comes back for a draw or a check.
    void ShowHiddenPublicScreen();
    // The pages show the game as it stands: its current number, count and row.
    void UpdatePages();
    // Enables or disables both Draw buttons, the operator's and the public screen's.
    void EnableDrawButtons(bool enable);
    // The programme's part of a new game: its place and name in the state, its number count
    // in the settings; the stage count to play (0: the rows of the number count).
    int PrepareProgrammeGame();
    // The game's board to the pages and the operator; `between` once its last stage is won.
    void ShowPrizeBoard();
    bool GameOver() const;
    // A winner on the last stage settles the jackpot: won within its numbers, else carried.
    void SettleJackpot(int couponNumber);
    std::optional<JackpotNow> JackpotOfGame() const;

    ProgramState& state_;
    const Settings& settings_;
    const BingoHelpers& coupons_;
    WindowRequests& window_;
    GamePages& pages_;
    LogSink& log_;
    // No game yet: a key press during the start-up draws nothing.
    bool drawEnabled_ = false;
    int loaded_ = 0; // StateLoad::NoFile
    bool running_ = false;

    ProgrammePlay programme_;
    JackpotBook* jackpots_ = nullptr;
    // A prize board was sent: a game without one takes it down.
    bool boardShown_ = false;
    WinningNowWatcher winning_{state_, settings_, coupons_, programme_, window_, log_};
};

// The captions that show an automatic mode: the Draw buttons' caption and the status text.
struct AutomaticCaptions {
    TextId draw;
    TextId status;
};
AutomaticCaptions AutomaticCaptionsFor(int mode);

} // namespace zorvi
