#pragma once

#include <QJsonArray>
#include <QPointer>
#include <QString>

namespace zorvi {

class CHtmlContent;

// Calls a global function of the page by name and waits until it has returned.
class PageScriptBridge {
public:
    static constexpr int kDefaultTimeoutMs = 5000;

    static constexpr const char* kFailedGetScript = "Failed to get script";
    static constexpr const char* kFailedGetById = "Failed to get from script by id";
    static constexpr const char* kFailedInvoke = "Failed to invoke javascript function";

    explicit PageScriptBridge(CHtmlContent* view, int timeoutMs = kDefaultTimeoutMs);
    virtual ~PageScriptBridge() = default;

    // Calls window[name](...args). True when the function returned, or when the page has no
    // document (not loaded yet, or the view closed while waiting): the call is dropped.
    // Otherwise false with one of the three texts above in error: the page's script is not
    // there to answer (its renderer ended), the page has no function of that name, or the
    // function threw or did not return in time. Timer ticks and other window messages run
    // while it waits, user input does not.
    bool CallPageScript(const QString& name, const QJsonArray& args, QString& error) const;

    // The script text of a call: the name and every argument go in as JSON values only.
    static QString BuildScript(const QString& name, const QJsonArray& args);

private:
    QPointer<CHtmlContent> view_;
    int timeout_ms_;
};

} // namespace zorvi
