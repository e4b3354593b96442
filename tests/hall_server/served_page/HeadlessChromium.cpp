#include "HeadlessChromium.h"

#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QStandardPaths>
#include <QTest>
#include <QTimer>

#include <csignal>
#include <sys/prctl.h>
#include <unistd.h>

#include "ChromiumFlags.h"

namespace zorvi::test {

namespace {

// Waits for a condition with the event loop running; false when the time runs out.
template <typename Done> bool Spin(Done done, int timeoutMs) {
    QDeadlineTimer deadline(timeoutMs);
    while (!done()) {
        if (deadline.hasExpired())
            return false;
        QTest::qWait(5);
    }
    return true;
}

QByteArray HttpGet(const QUrl& url) {
    QNetworkAccessManager manager;
    std::unique_ptr<QNetworkReply> reply(manager.get(QNetworkRequest(url)));
    QEventLoop loop;
    QObject::connect(reply.get(), &QNetworkReply::finished, &loop, &QEventLoop::quit);
    QTimer::singleShot(5000, &loop, &QEventLoop::quit);
    if (!reply->isFinished())
        loop.exec();
    return reply->isFinished() ? reply->readAll() : QByteArray();
}

} // namespace

HeadlessChromium::HeadlessChromium() = default;

HeadlessChromium::~HeadlessChromium() {
    Kill();
}

bool HeadlessChromium::Start(QString* why) {
    const QString program = QStandardPaths::findExecutable(QStringLiteral("chromium"));
    if (program.isEmpty() || !profile_.isValid()) {
        *why = QStringLiteral("no chromium, or no temporary folder");
        return false;
    }
    process_ = std::make_unique<QProcess>();
    process_->setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process_->setStandardOutputFile(QProcess::nullDevice());
    // Its own process group, so that Kill() takes the renderers along; and it dies with us.
    process_->setChildProcessModifier([] {
        ::setpgid(0, 0);
        ::prctl(PR_SET_PDEATHSIG, SIGKILL);
    });
    QStringList args = QuietChromiumFlags(profile_.path());
    args << QStringLiteral("--headless") << QStringLiteral("--remote-debugging-port=0")
         << QStringLiteral("--remote-allow-origins=*") << QStringLiteral("--disable-gpu")
         << QStringLiteral("--hide-scrollbars") << QStringLiteral("--window-size=1280,720")
         << QStringLiteral("about:blank");
    process_->start(program, args);
    if (!process_->waitForStarted(10000)) {
        *why = QStringLiteral("chromium did not start");
        return false;
    }

    // The browser writes its DevTools port into the profile once it listens.
    QFile portFile(profile_.filePath(QStringLiteral("DevToolsActivePort")));
    int port = 0;
    Spin(
        [&] {
            if (process_->state() != QProcess::Running)
                return true;
            if (!portFile.open(QIODevice::ReadOnly))
                return false;
            port = portFile.readLine().trimmed().toInt();
            portFile.close();
            return port > 0;
        },
        30000);
    if (port <= 0) {
        *why = QStringLiteral("chromium gave no DevTools port");
        return false;
    }

    QString pageSocket;
    Spin(
        [&] {
            const QJsonArray targets =
                QJsonDocument::fromJson(
                    HttpGet(QUrl(QStringLiteral("http://127.0.0.1:%1/json/list").arg(port))))
                    .array();
            for (const QJsonValue& t : targets)
                if (t[QStringLiteral("type")].toString() == QStringLiteral("page"))
                    pageSocket = t[QStringLiteral("webSocketDebuggerUrl")].toString();
            return !pageSocket.isEmpty();
        },
        20000);
    if (pageSocket.isEmpty()) {
        *why = QStringLiteral("chromium showed no page");
        return false;
    }

    devtools_ = std::make_unique<QWebSocket>();
    QObject::connect(devtools_.get(), &QWebSocket::textMessageReceived, [this](const QString& m) {
        const QJsonObject o = QJsonDocument::fromJson(m.toUtf8()).object();
        if (o.contains(QStringLiteral("id")))
            answers_.append(o);
    });
    devtools_->open(QUrl(pageSocket));
    if (!Spin([&] { return devtools_->state() == QAbstractSocket::ConnectedState; }, 10000)) {
        *why = QStringLiteral("no DevTools connection");
        return false;
    }
    return true;
}

void HeadlessChromium::Kill() {
    devtools_.reset();
    if (process_ && process_->state() != QProcess::NotRunning) {
        const qint64 pid = process_->processId();
        if (pid > 0)
            ::kill(-static_cast<pid_t>(pid), SIGKILL);
        process_->kill();
        process_->waitForFinished(10000);
    }
    process_.reset();
}

QJsonObject HeadlessChromium::Command(const QString& method, const QJsonObject& params,
                                      int timeoutMs) {
    if (!devtools_ || devtools_->state() != QAbstractSocket::ConnectedState)
        return {};
    const int id = next_id_++;
    const QJsonObject call{{QStringLiteral("id"), id},
                           {QStringLiteral("method"), method},
                           {QStringLiteral("params"), params}};
    devtools_->sendTextMessage(
        QString::fromUtf8(QJsonDocument(call).toJson(QJsonDocument::Compact)));
    QJsonObject answer;
    Spin(
        [&] {
            for (qsizetype i = 0; i < answers_.size(); ++i) {
                if (answers_[i][QStringLiteral("id")].toInt() == id) {
                    answer = answers_.takeAt(i);
                    return true;
                }
            }
            return false;
        },
        timeoutMs);
    return answer;
}

QJsonValue HeadlessChromium::Evaluate(const QString& expression) {
    const QJsonObject answer =
        Command(QStringLiteral("Runtime.evaluate"), {{QStringLiteral("expression"), expression},
                                                     {QStringLiteral("returnByValue"), true}});
    return answer[QStringLiteral("result")][QStringLiteral("result")][QStringLiteral("value")];
}

bool HeadlessChromium::WaitFor(const QString& expression, int timeoutMs) {
    return Spin([&] { return Evaluate(expression).toBool(); }, timeoutMs);
}

bool HeadlessChromium::Navigate(const QString& url) {
    const QJsonObject answer =
        Command(QStringLiteral("Page.navigate"), {{QStringLiteral("url"), url}});
    if (!answer.contains(QStringLiteral("result")))
        return false;
    return WaitFor(QStringLiteral("document.readyState === 'complete' && location.href === ") +
                   QString::fromUtf8(QJsonDocument(QJsonArray{url}).toJson(QJsonDocument::Compact))
                       .chopped(1)
                       .mid(1));
}

bool HeadlessChromium::SetViewport(int width, int height, bool mobile) {
    const QJsonObject answer = Command(QStringLiteral("Emulation.setDeviceMetricsOverride"),
                                       {{QStringLiteral("width"), width},
                                        {QStringLiteral("height"), height},
                                        {QStringLiteral("deviceScaleFactor"), 1},
                                        {QStringLiteral("mobile"), mobile}});
    return answer.contains(QStringLiteral("result"));
}

QByteArray HeadlessChromium::ScreenshotPng() {
    const QJsonObject answer =
        Command(QStringLiteral("Page.captureScreenshot"), {{QStringLiteral("format"), "png"}});
    return QByteArray::fromBase64(
        answer[QStringLiteral("result")][QStringLiteral("data")].toString().toLatin1());
}

} // namespace zorvi::test
