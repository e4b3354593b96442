#pragma once

namespace zorvi {

class BingoHelpers;
class ProgramState;
class Settings;
class WindowRequests;

// The operator's actions on the game: drawing, automatic drawing, the interval, cancel,
// new game, rows and the coupon check. They change the game state and address every other
// effect to the operator window through WindowRequests.
class GameCommands {
public:
    GameCommands(ProgramState& state, const Settings& settings, const BingoHelpers& coupons,
                 WindowRequests& window);
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

    // Shared steps.
    void DrawNumber();
    void ShowCurrentNumber();
    void StartAutomatic();
    void StopAutomatic();
    void SwitchToManual();
    void RefreshAutomaticControls();
    void AdvanceRow();
    void BackRow();
    void BeginNewGame();
    void ContinueStoredGame();

private:
    ProgramState& state_;
    const Settings& settings_;
    const BingoHelpers& coupons_;
    WindowRequests& window_;
};

} // namespace zorvi
