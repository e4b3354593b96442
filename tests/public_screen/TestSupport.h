#pragma once

#include <QAbstractButton>
#include <QApplication>
#include <QEventLoop>
#include <QJsonDocument>
#include <QMessageBox>
#include <QPointer>
#include <QString>
#include <QTimer>
#include <QVariant>
#include <QWebEnginePage>
#include <QtTest>
#include <functional>
#include <memory>

#include "CHtmlContent.h"
#include "PageScriptBridge.h"

namespace zorvi::test {

inline QString TestDataPath(const QString& relative) {
    return QStringLiteral(ZORVI_PUBLIC_SCREEN_TEST_DATA "/") + relative;
}

inline QString PagesPath(const QString& relative) {
    return QStringLiteral(ZORVI_HTML_FOLDER "/") + relative;
}

// Runs a script expression in the page and returns its value (JSON.stringify it for
// anything beyond numbers and strings).
inline QVariant RunScript(QWebEnginePage* page, const QString& script, int timeoutMs = 10000) {
    auto result = std::make_shared<QVariant>();
    auto done = std::make_shared<bool>(false);
    QEventLoop loop;
    QPointer<QEventLoop> guard(&loop);
    page->runJavaScript(script, [result, done, guard](const QVariant& value) {
        *result = value;
        *done = true;
        if (guard)
            guard->quit();
    });
    if (!*done) {
        QTimer::singleShot(timeoutMs, &loop, &QEventLoop::quit);
        loop.exec();
    }
    return *result;
}

// One page call through the bridge, waited for here (the bridge itself never waits): true
// when it returned or was dropped, otherwise false with its failure text in `error`.
inline bool CallScript(CHtmlContent* view, const QString& name, const QJsonArray& args,
                       QString& error, int timeoutMs = PageScriptBridge::kDefaultTimeoutMs) {
    struct Outcome {
        bool finished = false;
        QString error;
    };
    auto outcome = std::make_shared<Outcome>();
    PageScriptBridge(view, timeoutMs).CallPageScript(name, args, [outcome](const QString& e) {
        outcome->finished = true;
        outcome->error = e;
    });
    // Only the bridge's own outcome ends the wait; the cap is the test's safety net.
    QElapsedTimer timer;
    timer.start();
    while (!outcome->finished && timer.elapsed() < qint64(timeoutMs) + 30000)
        QTest::qWait(5);
    error = outcome->finished ? outcome->error : QStringLiteral("no outcome");
    return outcome->finished && outcome->error.isEmpty();
}

inline QJsonDocument RunScriptJson(QWebEnginePage* page, const QString& expression) {
    const QVariant text = RunScript(page, QStringLiteral("JSON.stringify(%1)").arg(expression));
    return QJsonDocument::fromJson(text.toString().toUtf8());
}

inline bool WaitForDocument(CHtmlContent* view, int timeoutMs = 20000) {
    QElapsedTimer timer;
    timer.start();
    while (!(view->HasDocument() && !view->IsLoading()) && timer.elapsed() < timeoutMs)
        QTest::qWait(10);
    return view->HasDocument();
}

// Answers every message box that comes up while it lives, recording its text, title and
// owner, by pressing OK.
class MessageBoxCatcher {
public:
    struct Seen {
        QString text;
        QString title;
        QWidget* parent = nullptr;
    };

    MessageBoxCatcher() {
        timer_.setInterval(5);
        QObject::connect(&timer_, &QTimer::timeout, [this] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (!box)
                return;
            seen_.push_back({box->text(), box->windowTitle(), box->parentWidget()});
            if (QAbstractButton* ok = box->button(QMessageBox::Ok))
                ok->click();
            else
                box->reject();
        });
        timer_.start();
    }
    const std::vector<Seen>& seen() const { return seen_; }
    QStringList texts() const {
        QStringList list;
        for (const Seen& s : seen_)
            list << s.text;
        return list;
    }

private:
    QTimer timer_;
    std::vector<Seen> seen_;
};

} // namespace zorvi::test
