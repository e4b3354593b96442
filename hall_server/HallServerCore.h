#pragma once

#include <QObject>
#include <QString>
#include <atomic>
#include <cstdint>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "HallRoutes.h"
#include "HttpRequestHead.h"
#include "PageCalls.h"

class QTcpServer;
class QTcpSocket;
class QTimer;
class QWebSocket;
class QWebSocketServer;

namespace zorvi {

// The bounds that keep the hall server safe from the network.
struct HallLimits {
    int maxClients = 1000;                 // browsers on the live feed; the next gets 503
    int maxPendingRequests = 1000;         // connections still sending their request
    std::int64_t maxUnsentBytes = 1 << 20; // a browser further behind than this is dropped
    int headerTimeoutMs = 10000;           // a request head must be complete within this
    int lingerMs = 2000;                   // after an answer, how long the browser may take
    int handshakeTimeoutMs = 5000;         // the WebSocket handshake
    int maxIncomingFrameBytes = 1024;      // browsers have nothing to say
    int maxIncomingFramesPerSecond = 5;
    int heartbeatMs = 1000;
    std::int64_t maxPageBytes = 8 << 20; // the page file served
    HeadLimits head;
};

// The hall server's network side. It lives in its own thread, so that no browser, friendly or
// not, can hold up the operator window; the HallServer facade hands it every page call.
class HallServerCore : public QObject {
    Q_OBJECT
public:
    HallServerCore(const HallLimits& limits, const QString& htmlRoot,
                   std::atomic<int>* clientCount);
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
    struct Client {
        std::int64_t windowStartMs = 0;
        int frames = 0;
    };

    void OnNewConnection();
    void OnRequestData(QTcpSocket* socket);
    void Answer(QTcpSocket* socket, int status, const QByteArray& extraHeaders,
                const QByteArray& body, const QByteArray& contentType);
    void Refuse(QTcpSocket* socket, int status);
    void ServePage(QTcpSocket* socket, const std::string& language);
    void Upgrade(QTcpSocket* socket);
    void OnWebSocket();
    void OnClientFrame(QWebSocket* client);
    void OnClientGone(QWebSocket* client);
    void Broadcast(const QString& frame);
    void Heartbeat();
    void SetGame(const PageGame& game, bool animationOff, int language);
    bool IsOurHost(std::string_view host);
    void RefreshHosts();
    QString CatchUpFrame() const;

    HallLimits limits_;
    QString htmlRoot_;
    std::atomic<int>* clientCount_;
    QTcpServer* tcp_;
    QWebSocketServer* upgrader_;
    QTimer* heartbeat_;
    QString listenAddress_;
    int port_ = 0;
    int language_ = 0;
    std::unordered_set<QTcpSocket*> pending_;
    std::unordered_map<QWebSocket*, Client> clients_;
    std::vector<std::string> catchUpCalls_;
    QString joinFrame_;
    std::unordered_set<std::string> hosts_;
    std::int64_t hostsRefreshedMs_ = 0;
};

} // namespace zorvi
