#include "PageFeedServer.h"

#include <QCryptographicHash>
#include <QDateTime>
#include <QFile>
#include <QJsonDocument>
#include <QRegularExpression>

namespace zorvi::test {

namespace {

QByteArray Json(const QJsonObject& o) {
    return QJsonDocument(o).toJson(QJsonDocument::Compact);
}

QByteArray Header(const QByteArray& head, const QByteArray& name) {
    for (const QByteArray& line : head.split('\n')) {
        const int colon = line.indexOf(':');
        if (colon > 0 && line.left(colon).trimmed().toLower() == name)
            return line.mid(colon + 1).trimmed();
    }
    return {};
}

} // namespace

PageFeedServer::PageFeedServer(QString pageFile) : page_file_(std::move(pageFile)) {
    connect(&server_, &QTcpServer::newConnection, this, &PageFeedServer::OnConnection);
    heartbeat_.setInterval(1000);
    connect(&heartbeat_, &QTimer::timeout, this, [this] {
        if (silent_)
            return;
        const QByteArray beat =
            Json({{QStringLiteral("heartbeat"), QDateTime::currentMSecsSinceEpoch()}});
        for (const auto& b : browsers_)
            if (b)
                Push(b, beat);
    });
}

PageFeedServer::~PageFeedServer() {
    Stop();
}

bool PageFeedServer::Start(quint16 port) {
    if (!server_.listen(QHostAddress::LocalHost, port))
        return false;
    port_ = server_.serverPort();
    heartbeat_.start();
    return true;
}

void PageFeedServer::Stop() {
    heartbeat_.stop();
    server_.close();
    const auto sockets = pending_.keys();
    for (QTcpSocket* s : sockets)
        s->abort();
    for (const auto& b : browsers_)
        if (b)
            b->abort();
    browsers_.clear();
}

QString PageFeedServer::Url(const QString& path) const {
    return QStringLiteral("http://127.0.0.1:%1%2").arg(port_).arg(path);
}

int PageFeedServer::Browsers() const {
    int n = 0;
    for (const auto& b : browsers_)
        if (b && b->state() == QAbstractSocket::ConnectedState)
            ++n;
    return n;
}

void PageFeedServer::SendCalls(const QJsonArray& calls) {
    SendRaw(Json({{QStringLiteral("calls"), calls},
                  {QStringLiteral("t"), QDateTime::currentMSecsSinceEpoch()}}));
}

void PageFeedServer::SendRaw(const QByteArray& text) {
    for (const auto& b : browsers_)
        if (b)
            Push(b, text);
}

void PageFeedServer::OnConnection() {
    while (QTcpSocket* socket = server_.nextPendingConnection()) {
        ++connections_;
        pending_.insert(socket, {});
        connect(socket, &QTcpSocket::readyRead, this, [this, socket] { OnReadable(socket); });
        connect(socket, &QTcpSocket::disconnected, this, [this, socket] {
            pending_.remove(socket);
            socket->deleteLater();
        });
    }
}

void PageFeedServer::OnReadable(QTcpSocket* socket) {
    auto it = pending_.find(socket);
    if (it == pending_.end()) {
        socket->readAll(); // a browser's frames are never acted on
        return;
    }
    it->append(socket->readAll());
    const int end = it->indexOf("\r\n\r\n");
    if (end < 0) {
        if (it->size() > 16384)
            socket->abort();
        return;
    }
    const QByteArray head = it->left(end);
    pending_.erase(it);
    Answer(socket, head);
}

void PageFeedServer::Answer(QTcpSocket* socket, const QByteArray& head) {
    const QList<QByteArray> request = head.left(head.indexOf("\r\n")).split(' ');
    const QString path = request.size() >= 2 ? QString::fromLatin1(request[1]) : QString();
    requests_ << path;
    if (request.value(0) == "GET" && path == QStringLiteral("/ws") &&
        Header(head, "upgrade").toLower() == "websocket") {
        const QByteArray accept =
            QCryptographicHash::hash(Header(head, "sec-websocket-key") +
                                         "258EAFA5-E914-47DA-95CA-C5AB0DC85B11",
                                     QCryptographicHash::Sha1)
                .toBase64();
        socket->write("HTTP/1.1 101 Switching Protocols\r\nUpgrade: websocket\r\n"
                      "Connection: Upgrade\r\nSec-WebSocket-Accept: " +
                      accept + "\r\n\r\n");
        browsers_ << QPointer<QTcpSocket>(socket);
        Push(socket, Json({{QStringLiteral("calls"), catch_up_},
                           {QStringLiteral("t"), QDateTime::currentMSecsSinceEpoch()}}));
        if (!join_.isUndefined())
            Push(socket, Json({{QStringLiteral("join"), join_}}));
        return;
    }
    static const QRegularExpression page(QStringLiteral("^/(fi|se|en)/(public_screen\\.htm)?$"));
    const auto match = page.match(path);
    // One page for every language: it reads its language from the address.
    QFile file(match.hasMatch() ? page_file_ : QString());
    if (request.value(0) == "GET" && match.hasMatch() && file.open(QIODevice::ReadOnly)) {
        const QByteArray body = file.readAll();
        socket->write("HTTP/1.1 200 OK\r\nContent-Type: text/html; charset=utf-8\r\n"
                      "Cache-Control: no-store\r\nConnection: close\r\nContent-Length: " +
                      QByteArray::number(body.size()) + "\r\n\r\n" + body);
    } else {
        socket->write("HTTP/1.1 404 Not Found\r\nContent-Length: 0\r\nConnection: close\r\n\r\n");
    }
    socket->disconnectFromHost();
}

void PageFeedServer::Push(QTcpSocket* socket, const QByteArray& text) {
    if (socket->state() != QAbstractSocket::ConnectedState)
        return;
    QByteArray frame;
    frame.append(char(0x81)); // one whole text frame
    const qint64 n = text.size();
    if (n < 126) {
        frame.append(char(n));
    } else if (n < 65536) {
        frame.append(char(126));
        frame.append(char(n >> 8));
        frame.append(char(n & 0xff));
    } else {
        frame.append(char(127));
        for (int shift = 56; shift >= 0; shift -= 8)
            frame.append(char((n >> shift) & 0xff));
    }
    socket->write(frame + text);
}

} // namespace zorvi::test
