#pragma once

#include <functional>
#include <memory>
#include <optional>

#include "DrawSource.h"
#include "HallServer.h"
#include "PlayersScreen.h"
#include "WinningNowScan.h"

namespace zorvi {

class CZorviDlg;
class Game;
class HallService;

// The running program: it builds the game, the operator window, the players' window and the
// hall server, registers both players' outlets with the game's page fan-out, and lets the
// hall server follow the settings. The operator window is one front end of the game; it never
// sees the hall server.
class CZorviApp {
public:
    // What differs between the program and a test of it.
    struct Parts {
        // The players' window; the program's is the public screen on the browser engine.
        PlayersScreenFactory makeScreen;
        HallServer::Options hall;
        WinningNowScan::Mode scan = WinningNowScan::Mode::Threaded;
        // The operator window; the program's is CZorviDlg itself (a tool may time it).
        std::function<std::unique_ptr<CZorviDlg>(Game&)> makeWindow;
        // Runs once the game is built, before any outlet registers with it.
        std::function<void(Game&)> gameBuilt;
    };

    // Every game of the run takes its sequence from the operating system's secure generator;
    // nothing seeds it.
    explicit CZorviApp(Parts parts);
    // Every game of the run takes its sequence from `source`.
    CZorviApp(DrawSource& source, Parts parts);
    virtual ~CZorviApp();
    CZorviApp(const CZorviApp&) = delete;
    CZorviApp& operator=(const CZorviApp&) = delete;

    // Starts the operator window and runs it modally; returns the process's exit code.
    int InitInstance();
    // The program is told to end from outside (a signal at logout or shutdown): the window
    // closes without asking and the game stays stored, so the next start offers it again.
    void EndOnSignal();

    Game& GetGame() { return *game_; }
    CZorviDlg& Window() { return *window_; }
    PlayersScreen& Screen() { return *screen_; }
    HallService& Hall() { return *hall_; }

private:
    void Build(DrawSource& source, Parts parts);

    // Members in the order the program builds them; released in the destructor's order.
    std::optional<OsRandomSource> ownSource_;
    std::unique_ptr<Game> game_;
    std::unique_ptr<CZorviDlg> window_;
    std::unique_ptr<PlayersScreen> screen_;
    std::unique_ptr<HallService> hall_;
    bool ending_ = false;
};

} // namespace zorvi
