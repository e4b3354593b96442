#include "PageScriptBridge.h"

#include <QEventLoop>
#include <QJsonDocument>
#include <QTimer>
#include <QVariant>
#include <QWebEnginePage>
#include <memory>

#include "CHtmlContent.h"

namespace zorvi {

namespace {

// Status codes of the call wrapper.
constexpr int kCalled = 0;
constexpr int kNoFunction = 1;
constexpr int kThrew = 2;

// The wrapper takes one JSON array [name, [args...]]. The lookup sits inside try as well, so
// a page whose property getter throws still answers with a status.
constexpr const char* kWrapper = "(function(c){var f;"
                                 "try{f=window[c[0]];}catch(e){return 1;}"
                                 "if(typeof f!=='function')return 1;"
                                 "try{f.apply(window,c[1]);}catch(e){return 2;}"
                                 "return 0;})(%1)";

struct CallState {
    bool answered = false;
    bool renderer_gone = false;
    QVariant result;
    QPointer<QEventLoop> loop;
};

} // namespace

PageScriptBridge::PageScriptBridge(CHtmlContent* view, int timeoutMs)
    : view_(view), timeout_ms_(timeoutMs) {}

QString PageScriptBridge::BuildScript(const QString& name, const QJsonArray& args) {
    QString json =
        QString::fromUtf8(QJsonDocument(QJsonArray{name, args}).toJson(QJsonDocument::Compact));
    // JSON allows these two raw inside strings; older script parsers end a line there.
    json.replace(QChar(0x2028), QStringLiteral("\\u2028"));
    json.replace(QChar(0x2029), QStringLiteral("\\u2029"));
    return QString::fromLatin1(kWrapper).arg(json);
}

bool PageScriptBridge::CallPageScript(const QString& name, const QJsonArray& args,
                                      QString& error) const {
    CHtmlContent* view = view_.data();
    // No document yet: nothing to call, and nothing the operator needs to hear about.
    if (!view || !view->HasDocument())
        return true;

    // The answer may come after the time-out, or never: its state outlives this call.
    auto state = std::make_shared<CallState>();
    QPointer<CHtmlContent> viewAlive(view);
    view->page()->runJavaScript(BuildScript(name, args), [state](const QVariant& result) {
        state->answered = true;
        state->result = result;
        if (state->loop)
            state->loop->quit();
    });

    if (!state->answered) {
        QEventLoop loop;
        state->loop = &loop;
        QTimer::singleShot(timeout_ms_, &loop, &QEventLoop::quit);
        // A renderer that ends, or a view destroyed by a nested command, never answers.
        QObject::connect(view, &CHtmlContent::rendererGone, &loop, [state] {
            state->renderer_gone = true;
            if (state->loop)
                state->loop->quit();
        });
        QObject::connect(view, &QObject::destroyed, &loop, &QEventLoop::quit);
        if (!state->answered)
            loop.exec(QEventLoop::ExcludeUserInputEvents);
        state->loop = nullptr;
    }
    // From here on only locals: this bridge's view may be gone.

    // A view closed meanwhile has no document any more: like a call made without one.
    if (!viewAlive)
        return true;
    // The page's renderer ended before it could answer: there was no script to call.
    if (state->renderer_gone && !state->answered) {
        error = QString::fromLatin1(kFailedGetScript);
        return false;
    }
    // Still busy when the time was up: the function did not return.
    if (!state->answered) {
        error = QString::fromLatin1(kFailedInvoke);
        return false;
    }
    bool isNumber = false;
    const int status = state->result.toInt(&isNumber);
    if (!state->result.isValid() || !isNumber) {
        error = QString::fromLatin1(kFailedGetScript);
        return false;
    }
    switch (status) {
    case kCalled:
        return true;
    case kNoFunction:
        error = QString::fromLatin1(kFailedGetById);
        return false;
    case kThrew:
    default:
        error = QString::fromLatin1(kFailedInvoke);
        return false;
    }
}

} // namespace zorvi
