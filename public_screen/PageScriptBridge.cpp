#include "PageScriptBridge.h"

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

// One call on its way: finished once, by the page's answer, the end of its renderer, the view's
// end or the time-out, whichever comes first.
struct PendingCall {
    PageScriptBridge::Done done;
    bool finished = false;
    QMetaObject::Connection rendererGone;
    QMetaObject::Connection viewGone;

    void Finish(const QString& error) {
        if (finished)
            return;
        finished = true;
        QObject::disconnect(rendererGone);
        QObject::disconnect(viewGone);
        if (done)
            done(error);
    }
};

QString ErrorOfAnswer(const QVariant& result) {
    bool isNumber = false;
    const int status = result.toInt(&isNumber);
    if (!result.isValid() || !isNumber)
        return QString::fromLatin1(PageScriptBridge::kFailedGetScript);
    switch (status) {
    case kCalled:
        return {};
    case kNoFunction:
        return QString::fromLatin1(PageScriptBridge::kFailedGetById);
    case kThrew:
    default:
        return QString::fromLatin1(PageScriptBridge::kFailedInvoke);
    }
}

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

void PageScriptBridge::CallPageScript(const QString& name, const QJsonArray& args,
                                      Done done) const {
    auto call = std::make_shared<PendingCall>();
    call->done = std::move(done);
    CHtmlContent* view = view_.data();
    // No document yet: nothing to call, and nothing the operator needs to hear about. Told
    // from the event loop all the same, as every outcome is.
    if (!view || !view->HasDocument()) {
        QTimer::singleShot(0, [call] { call->Finish({}); });
        return;
    }
    // The page's renderer ended before it could answer: there was no script to call. A view
    // closed meanwhile has no document any more: like a call made without one.
    call->rendererGone = QObject::connect(view, &CHtmlContent::rendererGone, [call] {
        call->Finish(QString::fromLatin1(kFailedGetScript));
    });
    call->viewGone = QObject::connect(view, &CHtmlContent::closing, [call] { call->Finish({}); });
    // Still busy when the time is up: the function did not return. The timer lives with the
    // view, so it ends with it.
    QTimer::singleShot(timeout_ms_, view,
                       [call] { call->Finish(QString::fromLatin1(kFailedInvoke)); });
    view->page()->runJavaScript(BuildScript(name, args), [call](const QVariant& result) {
        call->Finish(ErrorOfAnswer(result));
    });
}

} // namespace zorvi
