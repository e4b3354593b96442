#include "HallServerCore.h"

#include <QDateTime>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QHostAddress>
#include <QNetworkInterface>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>
#include <QWebSocket>
#include <QWebSocketServer>
#include <algorithm>

#include "HallFrames.h"

namespace zorvi {

namespace {

constexpr int kSendBufferBytes = 64 * 1024;

std::int64_t NowMs() {
    return QDateTime::currentMSecsSinceEpoch();
}

std::int64_t SteadyMs() {
    static const QElapsedTimer clock = [] {
        QElapsedTimer t;
        t.start();
        return t;
    }();
    return clock.elapsed();
}

QByteArray StatusText(int status) {
    switch (status) {
    case 200:
        return "OK";
    case 301:
        return "Moved Permanently";
    case 302:
        return "Found";
    case 400:
        return "Bad Request";
    case 403:
        return "Forbidden";
    case 404:
        return "Not Found";
    case 405:
        return "Method Not Allowed";
    case 408:
        return "Request Timeout";
    case 414:
        return "URI Too Long";
    case 421:
        return "Misdirected Request";
    case 426:
        return "Upgrade Required";
    case 431:
        return "Request Header Fields Too Large";
    case 503:
        return "Service Unavailable";
    default:
        return "Error";
    }
}

std::string HostText(const QHostAddress& address) {
    QHostAddress plain = address;
    plain.setScopeId(QString());
    const QString text = plain.toString().toLower();
    if (plain.protocol() == QAbstractSocket::IPv6Protocol)
        return "[" + text.toStdString() + "]";
    return text.toStdString();
}

} // namespace

HallServerCore::HallServerCore(const HallLimits& limits, const QString& htmlRoot,
                               std::atomic<int>* clientCount)
    : limits_(limits), htmlRoot_(htmlRoot), clientCount_(clientCount), tcp_(new QTcpServer(this)),
      upgrader_(
          new QWebSocketServer(QStringLiteral("ZORVI"), QWebSocketServer::NonSecureMode, this)),
      heartbeat_(new QTimer(this)),
      joinFrame_(QString::fromStdString(HallFrames::JoinFrame({}, 0, {}))) {
    catchUpCalls_ = HallFrames::CatchUpCalls(PageGame{}, false);
    tcp_->setMaxPendingConnections(limits_.maxPendingRequests);
    // Many browsers come back at once after a restart of the server; a short queue would
    // make most of them wait for a retry of their connection.
    tcp_->setListenBacklogSize(std::max(limits_.maxClients, 128));
    upgrader_->setHandshakeTimeout(std::chrono::milliseconds(limits_.handshakeTimeoutMs));
    upgrader_->setMaxPendingConnections(limits_.maxClients);
    connect(tcp_, &QTcpServer::newConnection, this, &HallServerCore::OnNewConnection);
    connect(upgrader_, &QWebSocketServer::newConnection, this, &HallServerCore::OnWebSocket);
    connect(heartbeat_, &QTimer::timeout, this, &HallServerCore::Heartbeat);
}

HallServerCore::~HallServerCore() {
    Close();
}

QString HallServerCore::Listen(const QString& address, int port) {
    Close();
    const QHostAddress host =
        address.isEmpty() ? QHostAddress(QHostAddress::Any) : QHostAddress(address);
    if (host.isNull())
        return QStringLiteral("\"%1\" is not a network address.").arg(address);
    if (!tcp_->listen(host, quint16(port)))
        return tcp_->errorString();
    listenAddress_ = address;
    port_ = tcp_->serverPort();
    hostsRefreshedMs_ = 0;
    RefreshHosts();
    heartbeat_->start(limits_.heartbeatMs);
    return {};
}

int HallServerCore::Port() const {
    return port_;
}

void HallServerCore::Close() {
    heartbeat_->stop();
    tcp_->close();
    const std::vector<QTcpSocket*> pending(pending_.begin(), pending_.end());
    pending_.clear();
    for (QTcpSocket* socket : pending) {
        socket->disconnect(this);
        socket->abort();
        socket->deleteLater();
    }
    std::vector<QWebSocket*> clients;
    for (const auto& entry : clients_)
        clients.push_back(entry.first);
    clients_.clear();
    clientCount_->store(0);
    for (QWebSocket* client : clients) {
        client->disconnect(this);
        client->abort();
        client->deleteLater();
    }
}

void HallServerCore::SetGame(const PageGame& game, bool animationOff, int language) {
    catchUpCalls_ = HallFrames::CatchUpCalls(game, animationOff);
    language_ = language;
}

void HallServerCore::Push(const PageGame& game, bool animationOff, int language,
                          const std::string& call) {
    SetGame(game, animationOff, language);
    if (!call.empty())
        Broadcast(QString::fromStdString(HallFrames::CallsFrame({call}, NowMs())));
}

void HallServerCore::PushWholeGame(const PageGame& game, bool animationOff, int language) {
    SetGame(game, animationOff, language);
    Broadcast(CatchUpFrame());
}

void HallServerCore::SetJoinFrame(const std::string& frame) {
    joinFrame_ = QString::fromStdString(frame);
    Broadcast(joinFrame_);
}

QString HallServerCore::CatchUpFrame() const {
    return QString::fromStdString(HallFrames::CallsFrame(catchUpCalls_, NowMs()));
}

void HallServerCore::OnNewConnection() {
    while (QTcpSocket* socket = tcp_->nextPendingConnection()) {
        if (int(pending_.size()) >= limits_.maxPendingRequests) {
            socket->abort();
            socket->deleteLater();
            continue;
        }
        pending_.insert(socket);
        // Qt reads no more than one head's worth ahead of us; the rest waits in the system.
        socket->setReadBufferSize(qint64(limits_.head.maxHead) + 1);
        // A small system buffer leaves what a slow browser has not taken in our count.
        socket->setSocketOption(QAbstractSocket::SendBufferSizeSocketOption, kSendBufferBytes);
        // Each call is one small frame that should leave at once, not wait for the last ACK.
        socket->setSocketOption(QAbstractSocket::LowDelayOption, 1);
        connect(socket, &QTcpSocket::readyRead, this, [this, socket] { OnRequestData(socket); });
        connect(socket, &QTcpSocket::disconnected, this, [this, socket] {
            pending_.erase(socket);
            socket->deleteLater();
        });
        // The whole head must arrive in time: a connection that dribbles or stops is closed.
        auto* timer = new QTimer(socket);
        timer->setObjectName(QStringLiteral("headTimer"));
        timer->setSingleShot(true);
        connect(timer, &QTimer::timeout, this, [this, socket] { Refuse(socket, 408); });
        timer->start(limits_.headerTimeoutMs);
        if (socket->bytesAvailable() > 0)
            OnRequestData(socket);
    }
}

void HallServerCore::OnRequestData(QTcpSocket* socket) {
    if (!pending_.count(socket))
        return;
    // Peeked, not read: a WebSocket upgrade hands the untouched request on.
    const QByteArray data = socket->peek(qint64(limits_.head.maxHead) + 1);
    RequestHead head;
    switch (ParseRequestHead(std::string_view(data.constData(), std::size_t(data.size())),
                             limits_.head, &head)) {
    case HeadStatus::Incomplete:
        return;
    case HeadStatus::Malformed:
        Refuse(socket, 400);
        return;
    case HeadStatus::LineTooLong:
        Refuse(socket, 414);
        return;
    case HeadStatus::HeadTooLarge:
        Refuse(socket, 431);
        return;
    case HeadStatus::Complete:
        break;
    }

    HallRouteContext context;
    context.port = port_;
    context.language = language_;
    context.isOurHost = [this](std::string_view host) { return IsOurHost(host); };
    const HallRoute route = RouteRequest(head, context);
    switch (route.kind) {
    case HallRoute::Kind::Page:
        ServePage(socket, route.language);
        return;
    case HallRoute::Kind::Redirect:
        Answer(socket, route.status,
               "Location: " + QByteArray::fromStdString(route.location) + "\r\n", {}, {});
        return;
    case HallRoute::Kind::WebSocket:
        if (int(clients_.size()) >= limits_.maxClients) {
            Answer(socket, 503, "Retry-After: 10\r\n", "Too many screens are connected.\n",
                   "text/plain; charset=utf-8");
            return;
        }
        Upgrade(socket);
        return;
    case HallRoute::Kind::Refuse:
        Refuse(socket, route.status);
        return;
    }
}

void HallServerCore::Refuse(QTcpSocket* socket, int status) {
    QByteArray extra;
    if (status == 405)
        extra = "Allow: GET\r\n";
    else if (status == 426)
        extra = "Upgrade: websocket\r\n";
    Answer(socket, status, extra, StatusText(status) + "\n", "text/plain; charset=utf-8");
}

// One answer per connection, then the browser closes. The connection stays open a short
// while for it to read the answer: closing a socket with unread input resets it, and the
// answer would be lost with it.
void HallServerCore::Answer(QTcpSocket* socket, int status, const QByteArray& extraHeaders,
                            const QByteArray& body, const QByteArray& contentType) {
    if (!pending_.erase(socket))
        return;
    QByteArray response =
        "HTTP/1.1 " + QByteArray::number(status) + " " + StatusText(status) + "\r\n";
    if (!contentType.isEmpty())
        response += "Content-Type: " + contentType + "\r\n";
    response += "Content-Length: " + QByteArray::number(body.size()) + "\r\n";
    response += "Cache-Control: no-store\r\nX-Content-Type-Options: nosniff\r\n"
                "Referrer-Policy: no-referrer\r\nConnection: close\r\n";
    response += extraHeaders;
    response += "\r\n";
    response += body;

    disconnect(socket, &QTcpSocket::readyRead, this, nullptr);
    // Whatever else the browser sends is read and dropped, up to a bound.
    auto drained = std::make_shared<qint64>(0);
    connect(socket, &QTcpSocket::readyRead, this, [socket, drained] {
        *drained += socket->skip(socket->bytesAvailable());
        if (*drained > (1 << 20))
            socket->abort();
    });
    socket->skip(socket->bytesAvailable());
    socket->write(response);
    if (auto* timer = socket->findChild<QTimer*>(QStringLiteral("headTimer"))) {
        timer->disconnect();
        connect(timer, &QTimer::timeout, socket, [socket] { socket->abort(); });
        timer->start(limits_.lingerMs);
    }
}

void HallServerCore::ServePage(QTcpSocket* socket, const std::string& language) {
    QFile file(QDir(htmlRoot_).filePath(QString::fromStdString(language) +
                                        QStringLiteral("/public_screen.htm")));
    if (!file.open(QIODevice::ReadOnly) || file.size() > limits_.maxPageBytes) {
        Refuse(socket, 404);
        return;
    }
    const QByteArray page = file.read(limits_.maxPageBytes);
    Answer(socket, 200, {}, page, "text/html; charset=utf-8");
}

void HallServerCore::Upgrade(QTcpSocket* socket) {
    pending_.erase(socket);
    delete socket->findChild<QTimer*>(QStringLiteral("headTimer"));
    socket->disconnect(this);
    // The WebSocket server reads the request we only peeked at, answers it and hands the
    // connection back through newConnection; it closes it itself when the handshake fails
    // or does not finish in time.
    upgrader_->handleConnection(socket);
}

void HallServerCore::OnWebSocket() {
    while (QWebSocket* client = upgrader_->nextPendingConnection()) {
        if (int(clients_.size()) >= limits_.maxClients) {
            client->abort();
            client->deleteLater();
            continue;
        }
        client->setMaxAllowedIncomingFrameSize(quint64(limits_.maxIncomingFrameBytes));
        client->setMaxAllowedIncomingMessageSize(quint64(limits_.maxIncomingFrameBytes));
        // Nothing a browser sends is acted on: frames are only counted.
        connect(client, &QWebSocket::textFrameReceived, this,
                [this, client] { OnClientFrame(client); });
        connect(client, &QWebSocket::binaryFrameReceived, this,
                [this, client] { OnClientFrame(client); });
        connect(client, &QWebSocket::pong, this, [this, client] { OnClientFrame(client); });
        connect(client, &QWebSocket::disconnected, this, [this, client] { OnClientGone(client); });
        // An over-long frame or a protocol fault: the socket closes itself; make it final.
        connect(client, &QWebSocket::aboutToClose, this,
                [client] { QTimer::singleShot(0, client, [client] { client->abort(); }); });
        clients_.emplace(client, Client{SteadyMs(), 0});
        clientCount_->store(int(clients_.size()));
        client->sendTextMessage(CatchUpFrame());
        client->sendTextMessage(joinFrame_);
    }
}

void HallServerCore::OnClientFrame(QWebSocket* client) {
    const auto found = clients_.find(client);
    if (found == clients_.end())
        return;
    Client& state = found->second;
    const std::int64_t now = SteadyMs();
    if (now - state.windowStartMs >= 1000) {
        state.windowStartMs = now;
        state.frames = 0;
    }
    if (++state.frames > limits_.maxIncomingFramesPerSecond)
        // Deferred: the socket is still inside its own frame handling.
        QTimer::singleShot(0, client, [client] { client->abort(); });
}

void HallServerCore::OnClientGone(QWebSocket* client) {
    if (clients_.erase(client) == 0)
        return;
    clientCount_->store(int(clients_.size()));
    client->disconnect(this);
    client->deleteLater();
}

void HallServerCore::Broadcast(const QString& frame) {
    std::vector<QWebSocket*> behind;
    for (const auto& entry : clients_) {
        QWebSocket* client = entry.first;
        client->sendTextMessage(frame);
        if (client->bytesToWrite() > limits_.maxUnsentBytes)
            behind.push_back(client);
    }
    // A browser that does not read is dropped rather than buffered without bound; it
    // catches up when it comes back.
    for (QWebSocket* client : behind)
        client->abort();
}

void HallServerCore::Heartbeat() {
    Broadcast(QString::fromStdString(HallFrames::HeartbeatFrame(NowMs())));
}

void HallServerCore::RefreshHosts() {
    hostsRefreshedMs_ = SteadyMs();
    hosts_ = {"localhost", "127.0.0.1", "[::1]"};
    for (const QHostAddress& address : QNetworkInterface::allAddresses())
        hosts_.insert(HostText(address));
    if (!listenAddress_.isEmpty())
        hosts_.insert(HostText(QHostAddress(listenAddress_)));
}

bool HallServerCore::IsOurHost(std::string_view host) {
    std::string lower(host);
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](unsigned char c) { return char(std::tolower(c)); });
    if (hosts_.count(lower))
        return true;
    // The machine may have got a new address since; looked up again at most once a second.
    if (SteadyMs() - hostsRefreshedMs_ < 1000)
        return false;
    RefreshHosts();
    return hosts_.count(lower) > 0;
}

} // namespace zorvi
