#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>
#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "CouponLookup.h"
#include "HallPolicy.h"
#include "HallRoutes.h"
#include "HttpRequestHead.h"
#include "PageCalls.h"
#include "WebSocketFrames.h"

class QTcpServer;
class QTcpSocket;
class QTimer;

namespace zorvi {

// What the server's thread tells the window's: the screens on the feed and the notes for the
// game log; and what the window's gives it: the coupons a phone may look up.
struct HallServerStatus {
    std::atomic<int> feeds{0};
    std::mutex mutex;
    std::vector<std::string> notes; // guarded by mutex
    std::mutex couponsMutex;
    std::shared_ptr<const CouponSeries> coupons; // guarded by couponsMutex; null: no series
};

// The hall server's network side. It lives in its own thread, so that no browser, friendly or
// not, can hold up the operator window; the HallServer facade hands it every page call.
// Every connection is ours from the first byte to the last: the request head, the answer or
// the WebSocket feed, each under the bounds of one HallPolicy.
class HallServerCore : public QObject {
    Q_OBJECT
public:
    HallServerCore(const HallLimits& limits, const QString& htmlRoot, HallServerStatus* status);
    ~HallServerCore() override;

    // Everything below runs in the server's thread.

    // Listens on `address` (empty: all) and `port` (0: any free one). Empty on success,
    // otherwise why not.
    QString Listen(const QString& address, int port);
    int Port() const;
    // Closes every connection and stops listening.
    void Close();

    // The game as a browser that joins now must see it, and one call that every browser
    // on the feed gets at once (empty: none).
    void Push(const PageGame& game, bool animationOff, int language, const std::string& call);
    // Sends the whole game to every browser (a game they have not seen).
    void PushWholeGame(const PageGame& game, bool animationOff, int language);
    void SetJoinFrame(const std::string& frame);

private:
    enum class Stage { Head, Answered, Feed };
    struct Connection {
        HallPolicy::Id id = 0;
        Stage stage = Stage::Head;
        QByteArray unread; // a feed's bytes that do not make a whole frame yet
        ws::ClientFrameState frames;
        std::int64_t drained = 0;
        bool shutDown = false;
    };

    void TakeConnections();
    void Admit(QTcpSocket* socket);
    void OnReadable(QTcpSocket* socket);
    void ReadHead(QTcpSocket* socket, Connection& connection);
    void ReadFrames(QTcpSocket* socket, Connection& connection);
    void OnWritten(QTcpSocket* socket);
    void Answer(QTcpSocket* socket, int status, const QByteArray& extraHeaders,
                const QByteArray& body, const QByteArray& contentType);
    void Refuse(QTcpSocket* socket, int status);
    void ServePage(QTcpSocket* socket, const std::string& language);
    void ServeCoupon(QTcpSocket* socket, int coupon);
    void JoinFeed(QTcpSocket* socket, Connection& connection, const RequestHead& head);
    void CloseFeed(QTcpSocket* socket, std::uint16_t code);
    void Finish(QTcpSocket* socket, const QByteArray& last);
    void ShutDownWhenSent(QTcpSocket* socket, Connection& connection);
    void Drop(QTcpSocket* socket);
    void Sweep();
    void UpdateAccepting();
    void Broadcast(const std::string& text);
    void Heartbeat();
    void SetGame(const PageGame& game, bool animationOff, int language);
    bool IsOurHost(std::string_view host);
    void RefreshHosts();
    std::string CatchUpText();
    void PublishCount();

    HallPolicy policy_; // and the limits it keeps to
    QString htmlRoot_;
    HallServerStatus* status_;
    QTcpServer* tcp_;
    QTimer* heartbeat_;
    QTimer* sweep_;
    QTimer* acceptRetry_;
    bool paused_ = false;
    QString listenAddress_;
    int port_ = 0;
    int language_ = 0;
    HallPolicy::Id nextId_ = 1;
    std::unordered_map<QTcpSocket*, Connection> connections_;
    std::unordered_map<HallPolicy::Id, QTcpSocket*> byId_;
    std::unordered_set<QTcpSocket*> feeds_;
    // The game a browser that joins now is given, and its calls once encoded.
    PageGame game_;
    bool animationOff_ = false;
    std::optional<std::vector<std::string>> catchUpCalls_;
    std::string joinFrame_;
    std::unordered_set<std::string> hosts_;
    std::int64_t hostsRefreshedMs_ = 0;
};

} // namespace zorvi
