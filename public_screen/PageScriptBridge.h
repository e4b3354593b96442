#pragma once

#include <QJsonArray>
#include <QPointer>
#include <QString>
#include <functional>

namespace zorvi {

class CHtmlContent;

// Calls a global function of the page by name. The call returns at once; its outcome comes
// later, from the event loop, and never runs an event loop of its own. Calls on one page run
// in the order they were made.
class PageScriptBridge {
public:
    static constexpr int kDefaultTimeoutMs = 5000;

    static constexpr const char* kFailedGetScript = "Failed to get script";
    static constexpr const char* kFailedGetById = "Failed to get from script by id";
    static constexpr const char* kFailedInvoke = "Failed to invoke javascript function";

    // The outcome: an empty text when the function returned, or when the page had no document
    // (not loaded yet, or the view closed meanwhile) and the call was dropped; otherwise one of
    // the three texts above: the page's script was not there to answer (its renderer ended),
    // the page has no function of that name, or the function threw or did not return in time.
    // Runs exactly once, never inside CallPageScript.
    using Done = std::function<void(const QString& error)>;

    explicit PageScriptBridge(CHtmlContent* view, int timeoutMs = kDefaultTimeoutMs);
    virtual ~PageScriptBridge() = default;

    // Calls window[name](...args); `done` may be empty.
    void CallPageScript(const QString& name, const QJsonArray& args, Done done = {}) const;

    // The script text of a call: the name and every argument go in as JSON values only.
    static QString BuildScript(const QString& name, const QJsonArray& args);

private:
    QPointer<CHtmlContent> view_;
    int timeout_ms_;
};

} // namespace zorvi
