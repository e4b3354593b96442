#pragma once

#include <QObject>
#include <QTimer>
#include <functional>
#include <string>

#include "HallServer.h"

namespace zorvi {

class LogSink;
class PageFanOut;
class Settings;

// The hall server as the running program has it: registered with the page fan-out, started,
// stopped or moved whenever the settings say (Apply), its join code sent to every page, and its
// notes written to the game log every second. A failure to start goes to the game log and to
// the operator through `startFailed`; the game goes on without the server.
class HallService : public QObject {
    Q_OBJECT
public:
    using StartFailed = std::function<void(int port, const std::string& error)>;

    HallService(const Settings& settings, PageFanOut& pages, LogSink& log,
                HallServer::Options options = {});
    ~HallService() override;

    void OnStartFailed(StartFailed startFailed) { startFailed_ = std::move(startFailed); }
    // Starts, stops or moves the server as the settings say now; a server already listening
    // where the settings say is left as it is.
    void Apply();

    HallServer& Server() { return server_; }
    // Where a browser joins (empty while stopped) and how many follow the game.
    std::string Url() const { return url_; }
    int Connected() const { return server_.ClientCount(); }

private:
    void ShowJoinCode();
    void WriteNotes();

    const Settings& settings_;
    PageFanOut& pages_;
    LogSink& log_;
    HallServer server_;
    StartFailed startFailed_;
    QTimer notes_;
    // The server's address as Apply found it: asked every second by the operator window, and
    // finding it can mean listing the machine's interfaces.
    std::string url_;
    // Where the running server listens, as it was started.
    std::string address_;
    int port_ = -1;
};

} // namespace zorvi
