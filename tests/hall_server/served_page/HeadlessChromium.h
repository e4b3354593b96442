#pragma once

#include <QByteArray>
#include <QJsonObject>
#include <QJsonValue>
#include <QProcess>
#include <QString>
#include <QTemporaryDir>
#include <QWebSocket>
#include <memory>

namespace zorvi::test {

// Debian's chromium, headless, with its own profile in a temporary folder, driven over the
// DevTools protocol. It dies with this object, and with the test process if that dies first.
class HeadlessChromium {
public:
    HeadlessChromium();
    ~HeadlessChromium();
    HeadlessChromium(const HeadlessChromium&) = delete;
    HeadlessChromium& operator=(const HeadlessChromium&) = delete;

    // Starts the browser on about:blank and attaches to its page; false (with why) on failure.
    bool Start(QString* why);
    void Kill();

    // One DevTools command; an empty object when there is no answer within the time.
    QJsonObject Command(const QString& method, const QJsonObject& params = {},
                        int timeoutMs = 10000);
    // The value of a script expression (returned by value, so JSON-like values only).
    QJsonValue Evaluate(const QString& expression);
    // Polls the expression until it is true; false when the time runs out.
    bool WaitFor(const QString& expression, int timeoutMs = 10000);

    bool Navigate(const QString& url);
    // The page's size as a device of that many CSS pixels, a phone when `mobile`.
    bool SetViewport(int width, int height, bool mobile);
    QByteArray ScreenshotPng();

private:
    QTemporaryDir profile_;
    std::unique_ptr<QProcess> process_;
    std::unique_ptr<QWebSocket> devtools_;
    int next_id_ = 1;
    QList<QJsonObject> answers_;
};

} // namespace zorvi::test
