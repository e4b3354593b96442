#pragma once

#include <QString>
#include <atomic>
#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "HallFrames.h"
#include "HallServerCore.h"
#include "PageCalls.h"

class QThread;

namespace zorvi {

class PageFanOut;
class Settings;

// The hall server: our public page and a live feed of the page calls for every browser in the
// hall. A browser that connects or comes back gets the whole game at once, from the page
// fan-out's record. The network side runs in a thread of its own; the page calls return at
// once. Nothing a browser sends can change the game.
class HallServer : public PageCalls {
public:
    struct Options {
        QString htmlRoot; // folder with fi/, se/, en/public_screen.htm; empty: the program's
        HallLimits limits;
    };

    // `settings` gives the operator's language (where "/" leads) and the page animations at
    // the moment of each call; `pages` is the fan-out this server is registered with, whose
    // record it reads. Both must outlive the server.
    HallServer(const Settings& settings, const PageFanOut& pages);
    HallServer(const Settings& settings, const PageFanOut& pages, Options options);
    ~HallServer() override;
    HallServer(const HallServer&) = delete;
    HallServer& operator=(const HallServer&) = delete;

    // Listens on `address` (empty: every address of the machine) and `port` (0: any free
    // port, for tests). On failure false, with the reason in `error`; the server is stopped.
    bool Start(const std::string& address, int port, std::string* error = nullptr);
    void Stop();
    bool Running() const { return core_ != nullptr; }
    int Port() const { return port_; }
    // What a browser in the hall opens: "http://192.168.1.10:8765/". Empty when stopped.
    std::string Url() const;
    // Browsers on the live feed now.
    int ClientCount() const { return status_.feeds.load(); }
    // The bounds in force since Start: those asked for, cut to the descriptors the program may
    // open.
    const HallLimits& Limits() const { return limits_; }
    // Lines for the game log since the last call ("Hall server at its limit: …").
    std::vector<std::string> TakeNotes();
    // The game as a browser that joins now is given it.
    const PageGame& Game() const;

    // The join code shown on the served pages: a QR code of `size` x `size` modules, row by
    // row, '1' dark. An empty url hides it.
    void SetJoinCode(const std::string& url, int size, const std::string& modules);

    // The coupons players may look up on their phones ("/coupon/342"): the series' complete
    // coupons as the engine holds them (null or empty: no series), their size, the game's
    // number count, and the coupons in play as inclusive ranges (empty: the whole series).
    // Called by the operator window whenever the series or the setting changes; safe from any
    // thread, and kept across Stop and Start.
    void SetCoupons(std::shared_ptr<const std::vector<std::uint8_t>> series,
                    std::uint32_t couponSize, int numberCount,
                    std::vector<std::pair<int, int>> inPlay);

    // PageCalls.
    void PageReset(int numberCount, const std::string& commitment) override;
    void PageUpdateMainScreen(int currentNumber, int count, int row) override;
    void PageShowTicket(const PageTicket& ticket) override;
    void PageShowGame(const PageGame& game) override;
    void PageShowJoinCode(const PageJoinCode& code) override;
    // To every browser as ["showSeal", …]; a browser that joins later gets it in the catch-up.
    void PageShowSeal(const std::string& seal) override;
    // To the browsers on the feed as ["showRecall", 23]; one that joins later is shown the game
    // without the ball and hears nothing of it.
    void PageShowRecall(int ball) override;
    // To every browser as ["showPrizeBoard", {…}]; one that joins later gets the board as it
    // stands in the catch-up (none while no programme is played).
    void PageShowPrizeBoard(const PagePrizeBoard& board) override;

    // The machine's addresses a server can listen on, as text: IPv4 first, then IPv6,
    // loopback last in each. Link-local IPv6 addresses are left out (they need an interface).
    static std::vector<std::string> MachineAddresses();

private:
    void Push(const PageCall& call);
    // One encoded call to every browser on the feed, with the fan-out's record as it stands.
    void PushEncoded(std::string call);

    const Settings& settings_;
    const PageFanOut& pages_;
    Options options_;
    std::string joinFrame_;
    std::string address_;
    int port_ = 0;
    HallLimits limits_;
    HallServerStatus status_;
    std::unique_ptr<QThread> thread_;
    HallServerCore* core_ = nullptr; // lives in thread_
};

} // namespace zorvi
