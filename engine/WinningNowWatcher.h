#pragma once

#include <cstdint>
#include <optional>

#include "WinningMarks.h"

namespace zorvi {

class BingoHelpers;
class LogSink;
class ProgrammePlay;
class ProgramState;
class Settings;
class WindowRequests;
class WinningNowScan;

// Winning now: after every moment of the game that the commands report, asks the scan which
// coupons in play (the `coupons_in_play` setting; the whole series when it is empty or
// unreadable) the check would call winners at that moment, and shows its answer on the
// operator window; a draw that changes the count writes it to the game log. Without an
// attached scan nothing is looked for.
class WinningNowWatcher {
public:
    WinningNowWatcher(const ProgramState& state, const Settings& settings,
                      const BingoHelpers& coupons, const ProgrammePlay& programme,
                      WindowRequests& window, LogSink& log);

    // The scan must outlive the watcher's use of it; its answers reach the window's thread.
    void AttachScan(WinningNowScan* scan);
    // The game as it is now; the answer shown so far is out of date. `afterDraw`: a draw's
    // moment, whose changed count goes to the log.
    void Ask(bool afterDraw);
    // A new game: its first count is logged whatever the last game's was.
    void NewGame() { lastCount_ = 0; }
    // The scan's answer, on the window thread; one that a newer moment superseded is dropped.
    void Show(std::uint64_t generation, const WinningNow& answer);
    // The lowest coupon number the window shows as winning now, or nothing.
    std::optional<int> First() const;

private:
    const ProgramState& state_;
    const Settings& settings_;
    const BingoHelpers& coupons_;
    const ProgrammePlay& programme_;
    WindowRequests& window_;
    LogSink& log_;

    WinningNowScan* scan_ = nullptr;
    WinningNow shown_;  // what the window shows now (count 0: nothing)
    int lastCount_ = 0; // the count of the last answer shown, for the log
    bool afterDraw_ = false;
    int row_ = 1; // the row of the moment asked about
};

} // namespace zorvi
