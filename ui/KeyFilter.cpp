#include "KeyFilter.h"

#include <QEvent>
#include <QKeyEvent>

namespace zorvi {

KeyFilter::KeyFilter(std::function<bool(QKeyEvent*)> handler, std::function<bool(QObject*)> isOurs,
                     QObject* parent)
    : QObject(parent), handler_(std::move(handler)), isOurs_(std::move(isOurs)) {}

long long KeyFilter::KeyCode(const QKeyEvent* event) {
    // The keypad keys are keys of their own ("+" on the keypad is not the "+" of the main block).
    const bool keypad = event->modifiers().testFlag(Qt::KeypadModifier);
    return (static_cast<long long>(event->key()) << 1) | (keypad ? 1 : 0);
}

bool KeyFilter::IsHeld(int key, bool keypad) const {
    const auto it = held_.find((static_cast<long long>(key) << 1) | (keypad ? 1 : 0));
    return it != held_.end() && it->second;
}

bool KeyFilter::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
    case QEvent::KeyPress: {
        if (!isOurs_ || !isOurs_(watched))
            return false;
        auto* key = static_cast<QKeyEvent*>(event);
        const long long code = KeyCode(key);
        // A repeat of a held key is swallowed. The auto-repeat flag also covers a key whose
        // release went to a modal window: its next real press is never taken for a repeat,
        // since the marks are forgotten when the window becomes active again.
        if (key->isAutoRepeat() || held_[code])
            return true;
        held_[code] = true;
        return handler_ && handler_(key);
    }
    case QEvent::KeyRelease: {
        if (!isOurs_ || !isOurs_(watched))
            return false;
        auto* key = static_cast<QKeyEvent*>(event);
        if (!key->isAutoRepeat())
            held_[KeyCode(key)] = false;
        return false;
    }
    case QEvent::WindowActivate:
        if (watched == window_)
            ForgetHeldKeys();
        return false;
    default:
        return false;
    }
}

} // namespace zorvi
