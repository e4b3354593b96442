#pragma once

#include <QObject>
#include <QPointer>
#include <functional>
#include <map>

class QKeyEvent;

namespace zorvi {

// Sees every key of the operator window (and of the windows it owns) before any control
// does, as an event filter on the application object: a focused edit would otherwise take
// Space before the window could. A held key acts once: its repeats are swallowed.
class KeyFilter : public QObject {
    Q_OBJECT
public:
    // `handler` runs the key table and tells whether it handled the key; `isOurs` tells
    // whether an event's receiver belongs to the operator window.
    KeyFilter(std::function<bool(QKeyEvent*)> handler, std::function<bool(QObject*)> isOurs,
              QObject* parent = nullptr);
    ~KeyFilter() override = default;

    // Empties the held-key memory.
    void ForgetHeldKeys() { held_.clear(); }
    bool IsHeld(int key, bool keypad) const;

    // The operator window; its activation (after a modal window closes) forgets held keys.
    void SetWindow(QObject* window) { window_ = window; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    static long long KeyCode(const QKeyEvent* event);

    std::function<bool(QKeyEvent*)> handler_;
    std::function<bool(QObject*)> isOurs_;
    std::map<long long, bool> held_;
    QPointer<QObject> window_;
};

} // namespace zorvi
