#include "HallService.h"

#include "JoinCode.h"
#include "LogLines.h"
#include "LogSink.h"
#include "PageFanOut.h"
#include "Settings.h"

namespace zorvi {

namespace {

// The server's notes reach the log within a second, as the operator window counts screens.
constexpr int kNotesMs = 1000;

} // namespace

HallService::HallService(const Settings& settings, PageFanOut& pages, LogSink& log,
                         HallServer::Options options)
    : settings_(settings), pages_(pages), log_(log), server_(settings, pages, std::move(options)) {
    // Registered whether it runs or not: a server started mid-game reads the fan-out's record.
    pages_.Register(&server_);
    notes_.setInterval(kNotesMs);
    connect(&notes_, &QTimer::timeout, this, &HallService::WriteNotes);
}

HallService::~HallService() {
    pages_.Unregister(&server_);
    server_.Stop();
}

void HallService::Apply() {
    const bool wanted = settings_.hall_server != 0;
    if (wanted && server_.Running() && address_ == settings_.hall_server_address &&
        port_ == settings_.hall_server_port)
        return;
    WriteNotes();
    server_.Stop();
    notes_.stop();
    address_.clear();
    port_ = -1;
    if (wanted) {
        std::string error;
        if (server_.Start(settings_.hall_server_address, settings_.hall_server_port, &error)) {
            address_ = settings_.hall_server_address;
            port_ = settings_.hall_server_port;
            notes_.start();
        } else {
            log_.WriteLog(std::string(LogLines::kHallServerNotStartedPrefix) + error);
            if (startFailed_)
                startFailed_(settings_.hall_server_port, error);
        }
    }
    ShowJoinCode();
}

void HallService::ShowJoinCode() {
    url_ = server_.Url();
    // Every page shows where to join: a phone's camera reads it off any screen in the hall.
    const std::optional<JoinCode> code = JoinCode::Encode(url_);
    if (code)
        pages_.PageShowJoinCode(PageJoinCode{url_, code->size, code->modules});
    else
        pages_.PageShowJoinCode(PageJoinCode{});
}

void HallService::WriteNotes() {
    for (const std::string& note : server_.TakeNotes())
        log_.WriteLog(note);
}

} // namespace zorvi
