#pragma once

#include <functional>
#include <memory>
#include <vector>

#include "BingoHelpers.h"
#include "GameCommands.h"
#include "JackpotBook.h"
#include "LogWriter.h"
#include "PageFanOut.h"
#include "ProgramState.h"
#include "ProgrammeStore.h"
#include "Settings.h"
#include "WinningNowScan.h"

namespace zorvi {

class DrawSource;
class WindowRequests;
struct SettingsChange;

// The running game and its outlets: the settings, the game state, the coupon series, the
// commands, the winning-now scan, the game log and the pages. The program builds one and hands
// it to its front end (the operator window), which attaches itself as the window the commands
// address; the pages and the log are told by the commands directly. Other outlets (the hall
// server) follow the game through Follow.
class Game {
public:
    // `source` gives every game of the run its draw sequence; the settings are read from the
    // data folder. The scan runs on a thread of its own unless told to run inline.
    explicit Game(DrawSource& source, WinningNowScan::Mode scan = WinningNowScan::Mode::Threaded);
    ~Game();
    Game(const Game&) = delete;
    Game& operator=(const Game&) = delete;

    // The front end whose requests the commands make; once, before the start-up.
    void AttachWindow(WindowRequests& window);
    // The front end goes: the scan stops first, so nothing more is posted to it.
    void DetachWindow();

    Settings& GetSettings() { return settings_; }
    ProgramState& State() { return state_; }
    BingoHelpers& Coupons() { return coupons_; }
    PageFanOut& Pages() { return pages_; }
    LogWriter& Log() { return log_; }
    // Only while a window is attached.
    GameCommands& Commands() { return *commands_; }

    // What an outlet that is not a page hears of the game: the start-up is over (the game
    // goes on or has begun), and a settings change has been applied and saved.
    struct Follower {
        std::function<void()> started;
        std::function<void(const SettingsChange&)> settingsChanged;
    };
    void Follow(Follower follower) { followers_.push_back(std::move(follower)); }

    // The evening's programme of the data folder, read for the start-up with the jackpots as
    // they stand (before LoadStoredGame, which needs it): what was read, and a refused file's
    // fault for the window to tell.
    const ProgrammeLoad& LoadProgramme();
    const ProgrammeLoad& ProgrammeRead() const { return programme_; }
    // The operator saved or imported a programme: it plays from the next game on. False when it
    // could not be written.
    bool ReplaceProgramme(const Programme& programme);
    // The operator plays without a programme from the next game on: programme.ini goes (its
    // last good copy stays for a later import). False when it could not be removed.
    bool RemoveProgramme();
    JackpotBook& Jackpots() { return jackpots_; }

    // The front end's start-up is over.
    void Started();
    // What a saved settings change redoes: the game's own steps, then every follower.
    void ApplySettingsChange(const SettingsChange& change);

private:
    Settings settings_;
    ProgramState state_;
    BingoHelpers coupons_;
    PageFanOut pages_;
    LogWriter log_;
    JackpotBook jackpots_;
    ProgrammeLoad programme_;
    WinningNowScan::Mode scanMode_;
    // One per attached window: a stopped scan does not start again.
    std::unique_ptr<WinningNowScan> scan_;
    std::unique_ptr<GameCommands> commands_;
    std::vector<Follower> followers_;
};

} // namespace zorvi
