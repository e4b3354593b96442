#include "HallServerCore.h"

#include <QCryptographicHash>
#include <QDateTime>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QHostAddress>
#include <QNetworkInterface>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>
#include <algorithm>

#include "HallFrames.h"

#if defined(Q_OS_WIN)
#include <winsock2.h>
#else
#include <sys/socket.h>
#endif

namespace zorvi {

namespace {

constexpr int kSendBufferBytes = 64 * 1024;
constexpr int kFeedReadChunk = 4096;
// What a browser may still send after its answer, read and dropped, before it is cut off.
constexpr std::int64_t kMaxDrainedBytes = 1 << 20;
constexpr int kAcceptRetryMs = 250;

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
    case 429:
        return "Too Many Requests";
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

// One device, one share: an IPv4 address seen through an IPv6 socket is the same device.
std::string AddressKey(const QHostAddress& address) {
    bool isV4 = false;
    const quint32 v4 = address.toIPv4Address(&isV4);
    if (isV4)
        return QHostAddress(v4).toString().toStdString();
    QHostAddress plain = address;
    plain.setScopeId(QString());
    return plain.toString().toLower().toStdString();
}

} // namespace

HallServerCore::HallServerCore(const HallLimits& limits, const QString& htmlRoot,
                               HallServerStatus* status)
    : policy_(limits), htmlRoot_(htmlRoot), status_(status), tcp_(new QTcpServer(this)),
      heartbeat_(new QTimer(this)), sweep_(new QTimer(this)), acceptRetry_(new QTimer(this)),
      joinFrame_(HallFrames::JoinFrame({}, 0, {})) {
    // One connection waits in Qt's queue at most: while there is no place for it, Qt stops
    // accepting and the rest wait in the system's queue, taking none of our descriptors.
    tcp_->setMaxPendingConnections(1);
    // Many browsers come back at once after a restart of the server; a short queue would
    // make most of them wait for a retry of their connection.
    tcp_->setListenBacklogSize(std::max(policy_.Limits().maxFeeds, 128));
    connect(tcp_, &QTcpServer::newConnection, this, &HallServerCore::TakeConnections);
    // Out of descriptors or buffers all the same (another part of the program): Qt has stopped
    // accepting; try again shortly instead of spinning.
    acceptRetry_->setSingleShot(true);
    connect(tcp_, &QTcpServer::acceptError, this, [this] { acceptRetry_->start(kAcceptRetryMs); });
    connect(acceptRetry_, &QTimer::timeout, this, [this] {
        if (tcp_->isListening() && !paused_)
            tcp_->resumeAccepting();
    });
    connect(heartbeat_, &QTimer::timeout, this, &HallServerCore::Heartbeat);
    connect(sweep_, &QTimer::timeout, this, &HallServerCore::Sweep);
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
    paused_ = false;
    hostsRefreshedMs_ = 0;
    RefreshHosts();
    heartbeat_->start(policy_.Limits().heartbeatMs);
    sweep_->start(std::clamp(
        std::min(policy_.Limits().headTimeoutMs, policy_.Limits().lingerMs) / 4, 20, 250));
    return {};
}

int HallServerCore::Port() const {
    return port_;
}

void HallServerCore::Close() {
    heartbeat_->stop();
    sweep_->stop();
    acceptRetry_->stop();
    tcp_->close();
    std::vector<QTcpSocket*> sockets;
    sockets.reserve(connections_.size());
    for (const auto& entry : connections_)
        sockets.push_back(entry.first);
    for (QTcpSocket* socket : sockets)
        Drop(socket);
    paused_ = false;
}

void HallServerCore::SetGame(const PageGame& game, bool animationOff, int language) {
    // Encoded only when a browser joins: a draw costs the feed one frame, not the whole game.
    game_ = game;
    animationOff_ = animationOff;
    catchUpCalls_.reset();
    language_ = language;
}

void HallServerCore::Push(const PageGame& game, bool animationOff, int language,
                          const std::string& call) {
    SetGame(game, animationOff, language);
    if (!call.empty())
        Broadcast(HallFrames::CallsFrame({call}, NowMs()));
}

void HallServerCore::PushWholeGame(const PageGame& game, bool animationOff, int language) {
    SetGame(game, animationOff, language);
    Broadcast(CatchUpText());
}

void HallServerCore::SetJoinFrame(const std::string& frame) {
    joinFrame_ = frame;
    Broadcast(joinFrame_);
}

std::string HallServerCore::CatchUpText() {
    if (!catchUpCalls_)
        catchUpCalls_ = HallFrames::CatchUpCalls(game_, animationOff_);
    return HallFrames::CallsFrame(*catchUpCalls_, NowMs());
}

void HallServerCore::TakeConnections() {
    while (tcp_->hasPendingConnections()) {
        // No place: the connection stays in Qt's queue, which holds Qt from accepting more.
        if (policy_.MustPause(SteadyMs())) {
            paused_ = true;
            return;
        }
        if (QTcpSocket* socket = tcp_->nextPendingConnection())
            Admit(socket);
    }
    paused_ = false;
}

void HallServerCore::Admit(QTcpSocket* socket) {
    const HallPolicy::Id id = nextId_++;
    const HallPolicy::Admission admission =
        policy_.Connect(id, AddressKey(socket->peerAddress()), SteadyMs());
    if (admission.evict) {
        if (const auto victim = byId_.find(*admission.evict); victim != byId_.end())
            Drop(victim->second);
    }
    if (!admission.admit) {
        socket->abort();
        delete socket;
        return;
    }
    socket->setParent(this);
    Connection connection;
    connection.id = id;
    connections_.emplace(socket, std::move(connection));
    byId_.emplace(id, socket);
    // Qt reads no more than one head's worth ahead of us; the rest waits in the system.
    socket->setReadBufferSize(qint64(policy_.Limits().head.maxHead) + 1);
    // A small system buffer leaves what a slow browser has not taken in our count.
    socket->setSocketOption(QAbstractSocket::SendBufferSizeSocketOption, kSendBufferBytes);
    // Each call is one small frame that should leave at once, not wait for the last ACK.
    socket->setSocketOption(QAbstractSocket::LowDelayOption, 1);
    connect(socket, &QTcpSocket::readyRead, this, [this, socket] { OnReadable(socket); });
    connect(socket, &QTcpSocket::bytesWritten, this, [this, socket] { OnWritten(socket); });
    connect(socket, &QTcpSocket::disconnected, this, [this, socket] { Drop(socket); });
    connect(socket, &QTcpSocket::errorOccurred, this, [this, socket] {
        // Deferred: the socket may still be inside its own handling.
        QTimer::singleShot(0, this, [this, socket] {
            if (connections_.count(socket) && socket->state() != QAbstractSocket::ConnectedState)
                Drop(socket);
        });
    });
    if (socket->bytesAvailable() > 0)
        OnReadable(socket);
}

void HallServerCore::OnReadable(QTcpSocket* socket) {
    const auto found = connections_.find(socket);
    if (found == connections_.end())
        return;
    Connection& connection = found->second;
    switch (connection.stage) {
    case Stage::Head:
        ReadHead(socket, connection);
        return;
    case Stage::Feed:
        ReadFrames(socket, connection);
        return;
    case Stage::Answered:
        // Whatever else the browser sends is read and dropped, up to a bound.
        connection.drained += socket->skip(socket->bytesAvailable());
        if (connection.drained > kMaxDrainedBytes)
            Drop(socket);
        return;
    }
}

void HallServerCore::ReadHead(QTcpSocket* socket, Connection& connection) {
    // Peeked, not read: the head is taken off only once it is whole.
    const QByteArray data = socket->peek(qint64(policy_.Limits().head.maxHead) + 1);
    RequestHead head;
    switch (ParseRequestHead(std::string_view(data.constData(), std::size_t(data.size())),
                             policy_.Limits().head, &head)) {
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
        JoinFeed(socket, connection, head);
        return;
    case HallRoute::Kind::Coupon:
        ServeCoupon(socket, route.coupon);
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

// One answer per connection. The browser is told the end with a half close once the answer
// has left, and the connection stays a short while for it to read and leave: closing a socket
// with unread input resets it, and the answer would be lost with it.
void HallServerCore::Answer(QTcpSocket* socket, int status, const QByteArray& extraHeaders,
                            const QByteArray& body, const QByteArray& contentType) {
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
    policy_.Answered(connections_.at(socket).id, SteadyMs());
    Finish(socket, response);
}

// The last bytes of a connection; it then lingers as an answered one.
void HallServerCore::Finish(QTcpSocket* socket, const QByteArray& last) {
    Connection& connection = connections_.at(socket);
    connection.stage = Stage::Answered;
    connection.unread.clear();
    connection.drained += socket->skip(socket->bytesAvailable());
    socket->write(last);
    ShutDownWhenSent(socket, connection);
}

void HallServerCore::OnWritten(QTcpSocket* socket) {
    const auto found = connections_.find(socket);
    if (found != connections_.end() && found->second.stage == Stage::Answered)
        ShutDownWhenSent(socket, found->second);
}

void HallServerCore::ShutDownWhenSent(QTcpSocket* socket, Connection& connection) {
    if (connection.shutDown || socket->bytesToWrite() > 0)
        return;
    connection.shutDown = true;
#if defined(Q_OS_WIN)
    ::shutdown(SOCKET(socket->socketDescriptor()), SD_SEND);
#else
    ::shutdown(int(socket->socketDescriptor()), SHUT_WR);
#endif
}

void HallServerCore::ServePage(QTcpSocket* socket, const std::string& language) {
    QFile file(QDir(htmlRoot_).filePath(QString::fromStdString(language) +
                                        QStringLiteral("/public_screen.htm")));
    if (!file.open(QIODevice::ReadOnly) || file.size() > policy_.Limits().maxPageBytes) {
        Refuse(socket, 404);
        return;
    }
    const QByteArray page = file.read(policy_.Limits().maxPageBytes);
    Answer(socket, 200, {}, page, "text/html; charset=utf-8");
}

// A player's coupon, for the phone that follows it. Malformed numbers count against the bounds
// too: guessing costs the same as asking. Only the snapshot is read; the game is not touched.
void HallServerCore::ServeCoupon(QTcpSocket* socket, int coupon) {
    const HallPolicy::LookupVerdict verdict =
        policy_.CountLookup(AddressKey(socket->peerAddress()), SteadyMs());
    QByteArray extra;
    CouponAnswer answer;
    if (!verdict.allow) {
        answer = TooManyLookups();
        extra = "Retry-After: " + QByteArray::number(verdict.retryAfterSeconds) + "\r\n";
    } else {
        std::shared_ptr<const CouponSeries> series;
        {
            const std::lock_guard<std::mutex> lock(status_->couponsMutex);
            series = status_->coupons;
        }
        answer = LookUpCoupon(series.get(), coupon);
    }
    Answer(socket, answer.status, extra, QByteArray::fromStdString(answer.body),
           "application/json; charset=utf-8");
}

void HallServerCore::JoinFeed(QTcpSocket* socket, Connection& connection, const RequestHead& head) {
    if (policy_.JoinFeed(connection.id) != HallPolicy::FeedVerdict::Admit) {
        Answer(socket, 503, "Retry-After: 10\r\n", "Too many screens are connected.\n",
               "text/plain; charset=utf-8");
        return;
    }
    socket->skip(qint64(head.length));
    const QByteArray key =
        QByteArray::fromStdString(ws::AcceptSource(head.Header("Sec-WebSocket-Key").value_or("")));
    const QByteArray accept = QCryptographicHash::hash(key, QCryptographicHash::Sha1).toBase64();
    connection.stage = Stage::Feed;
    feeds_.insert(socket);
    PublishCount();
    // A browser may send what it likes; it is read a little at a time and judged per frame.
    socket->setReadBufferSize(kFeedReadChunk);
    socket->write(QByteArray::fromStdString(ws::HandshakeAnswer(accept.toStdString())));
    const std::string catchUp = ws::ServerFrame(ws::Opcode::Text, CatchUpText());
    const std::string join = ws::ServerFrame(ws::Opcode::Text, joinFrame_);
    socket->write(catchUp.data(), qint64(catchUp.size()));
    socket->write(join.data(), qint64(join.size()));
    // Frames that came with the request are read at once (a close among them frees the place).
    if (socket->bytesAvailable() > 0)
        ReadFrames(socket, connection);
}

void HallServerCore::ReadFrames(QTcpSocket* socket, Connection& connection) {
    const std::size_t maxPayload =
        std::size_t(std::max(policy_.Limits().maxIncomingFrameBytes, 125));
    while (socket->bytesAvailable() > 0) {
        connection.unread += socket->read(kFeedReadChunk);
        std::size_t at = 0;
        for (;;) {
            ws::ClientFrame frame;
            const std::string_view rest(connection.unread.constData() + at,
                                        std::size_t(connection.unread.size()) - at);
            const ws::FrameStatus status =
                ws::ReadClientFrame(rest, maxPayload, &connection.frames, &frame);
            if (status == ws::FrameStatus::Incomplete)
                break;
            if (status == ws::FrameStatus::ProtocolError) {
                CloseFeed(socket, ws::kCloseProtocolError);
                return;
            }
            if (status == ws::FrameStatus::TooBig) {
                CloseFeed(socket, ws::kCloseTooBig);
                return;
            }
            at += frame.length;
            // Every frame counts against the rate, whatever its kind.
            if (!policy_.CountFrame(connection.id, SteadyMs())) {
                CloseFeed(socket, ws::kClosePolicy);
                return;
            }
            if (frame.opcode == ws::Opcode::Close) {
                CloseFeed(socket, ws::kCloseNormal);
                return;
            }
            if (frame.opcode == ws::Opcode::Ping) {
                const std::string pong = ws::ServerFrame(ws::Opcode::Pong, frame.payload);
                socket->write(pong.data(), qint64(pong.size()));
            }
            // Anything else a browser says is not acted on.
        }
        connection.unread.remove(0, qsizetype(at));
    }
}

void HallServerCore::CloseFeed(QTcpSocket* socket, std::uint16_t code) {
    const auto found = connections_.find(socket);
    if (found == connections_.end() || found->second.stage != Stage::Feed)
        return;
    feeds_.erase(socket);
    PublishCount();
    const QByteArray last = QByteArray::fromStdString(ws::CloseFrame(code));
    if (!policy_.LeaveFeed(found->second.id, SteadyMs())) {
        Drop(socket);
        return;
    }
    Finish(socket, last);
}

void HallServerCore::Drop(QTcpSocket* socket) {
    const auto found = connections_.find(socket);
    if (found == connections_.end())
        return;
    const HallPolicy::Id id = found->second.id;
    connections_.erase(found);
    byId_.erase(id);
    policy_.Closed(id);
    if (feeds_.erase(socket))
        PublishCount();
    socket->disconnect(this);
    socket->abort();
    socket->deleteLater();
    UpdateAccepting();
}

// A place was freed, or time made an old connection one that may give way: take what waits.
void HallServerCore::UpdateAccepting() {
    if (paused_ && tcp_->isListening() && !policy_.MustPause(SteadyMs()))
        QTimer::singleShot(0, this, &HallServerCore::TakeConnections);
}

void HallServerCore::Sweep() {
    const HallPolicy::Expired expired = policy_.Expire(SteadyMs());
    for (const HallPolicy::Id id : expired.heads) {
        if (const auto found = byId_.find(id); found != byId_.end())
            Refuse(found->second, 408);
    }
    for (const HallPolicy::Id id : expired.lingering) {
        if (const auto found = byId_.find(id); found != byId_.end())
            Drop(found->second);
    }
    UpdateAccepting();
    if (std::optional<std::string> note = policy_.TakeLimitNote(SteadyMs())) {
        const std::lock_guard<std::mutex> lock(status_->mutex);
        // The window takes them every second; a few are plenty if it does not.
        if (status_->notes.size() < 8)
            status_->notes.push_back(std::move(*note));
    }
}

void HallServerCore::PublishCount() {
    status_->feeds.store(int(feeds_.size()));
}

void HallServerCore::Broadcast(const std::string& text) {
    const std::string frame = ws::ServerFrame(ws::Opcode::Text, text);
    std::vector<QTcpSocket*> behind;
    for (QTcpSocket* socket : feeds_) {
        socket->write(frame.data(), qint64(frame.size()));
        if (socket->bytesToWrite() > policy_.Limits().maxUnsentBytes)
            behind.push_back(socket);
    }
    // A browser that does not read is dropped rather than buffered without bound; it
    // catches up when it comes back.
    for (QTcpSocket* socket : behind)
        Drop(socket);
}

void HallServerCore::Heartbeat() {
    Broadcast(HallFrames::HeartbeatFrame(NowMs()));
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
