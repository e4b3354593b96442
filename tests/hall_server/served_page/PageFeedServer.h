#pragma once

#include <QByteArray>
#include <QHash>
#include <QJsonArray>
#include <QJsonObject>
#include <QList>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>

namespace zorvi::test {

// A stand-in for the hall server that the test controls: serves the page at /fi/, /se/, /en/
// and pushes frames to every browser on /ws (a plain RFC 6455 handshake and unmasked text
// frames), with the heartbeat each second. A new browser gets `catchUp` as one batch.
class PageFeedServer : public QObject {
    Q_OBJECT
public:
    explicit PageFeedServer(QString pageFile);
    ~PageFeedServer() override;

    // Listens on 127.0.0.1 (port 0: any free one). False when the port is taken.
    bool Start(quint16 port = 0);
    // Goes away as a crashed server would: the listener and every connection at once.
    void Stop();
    quint16 Port() const { return port_; }
    QString Url(const QString& path) const;

    // One page-call batch to every browser, stamped with the time of sending.
    void SendCalls(const QJsonArray& calls);
    void SendRaw(const QByteArray& text);
    void SetCatchUp(const QJsonArray& calls) { catch_up_ = calls; }
    void SetJoin(const QJsonValue& join) { join_ = join; }
    // No heartbeat while set: the connection stays open but says nothing.
    void SetSilent(bool silent) { silent_ = silent; }

    int Browsers() const;
    int Connections() const { return connections_; }
    const QStringList& Requests() const { return requests_; }

private:
    void OnConnection();
    void OnReadable(QTcpSocket* socket);
    void Answer(QTcpSocket* socket, const QByteArray& head);
    void Push(QTcpSocket* socket, const QByteArray& text);

    QString page_file_;
    QTcpServer server_;
    quint16 port_ = 0;
    QHash<QTcpSocket*, QByteArray> pending_;
    QList<QPointer<QTcpSocket>> browsers_;
    QJsonArray catch_up_;
    QJsonValue join_ = QJsonValue::Undefined;
    bool silent_ = false;
    int connections_ = 0;
    QStringList requests_;
    QTimer heartbeat_;
};

} // namespace zorvi::test
