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
//
// A repeat is told from a new press in three ways: the platform marks it (isAutoRepeat); or
// the key has had no release since its last press; or, as on X, the repeat comes as a release
// and a press of the same key at the same server time. Qt marks such a pair as a repeat only
// when the press is already queued as the release is read, which a busy machine delays; the
// event times do not depend on the load, so a press less than kRepeatGapMs after the release
// of the same key is taken for the same hold. No finger releases and presses a key that fast.
class KeyFilter : public QObject {
    Q_OBJECT
public:
    static constexpr unsigned long kRepeatGapMs = 30;

    // `handler` runs the key table and tells whether it handled the key; `isOurs` tells
    // whether an event's receiver belongs to the operator window.
    KeyFilter(std::function<bool(QKeyEvent*)> handler, std::function<bool(QObject*)> isOurs,
              QObject* parent = nullptr);
    ~KeyFilter() override = default;

    // Empties the held-key memory.
    void ForgetHeldKeys() { keys_.clear(); }
    bool IsHeld(int key, bool keypad) const;

    // The operator window; its activation (after a modal window closes) forgets held keys.
    void SetWindow(QObject* window) { window_ = window; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct KeyState {
        bool held = false;
        // Event time of the last release; 0 when unknown (events made by a program).
        unsigned long releasedAt = 0;
    };

    static long long KeyCode(int key, bool keypad);
    static long long KeyCode(const QKeyEvent* event);
    // A press that continues a hold: see the class comment.
    static bool ContinuesHold(const KeyState& state, const QKeyEvent* press);

    std::function<bool(QKeyEvent*)> handler_;
    std::function<bool(QObject*)> isOurs_;
    std::map<long long, KeyState> keys_;
    QPointer<QObject> window_;
};

} // namespace zorvi
