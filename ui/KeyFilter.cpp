#include "KeyFilter.h"

#include <QEvent>
#include <QKeyEvent>
#include <cstdint>

namespace zorvi {

KeyFilter::KeyFilter(std::function<bool(QKeyEvent*)> handler, std::function<bool(QObject*)> isOurs,
                     QObject* parent)
    : QObject(parent), handler_(std::move(handler)), isOurs_(std::move(isOurs)) {}

long long KeyFilter::KeyCode(int key, bool keypad) {
    // The keypad keys are keys of their own ("+" on the keypad is not the "+" of the main block).
    return (static_cast<long long>(key) << 1) | (keypad ? 1 : 0);
}

long long KeyFilter::KeyCode(const QKeyEvent* event) {
    return KeyCode(event->key(), event->modifiers().testFlag(Qt::KeypadModifier));
}

bool KeyFilter::IsHeld(int key, bool keypad) const {
    const auto it = keys_.find(KeyCode(key, keypad));
    return it != keys_.end() && it->second.held;
}

bool KeyFilter::ContinuesHold(const KeyState& state, const QKeyEvent* press) {
    if (press->isAutoRepeat() || state.held)
        return true;
    const unsigned long pressedAt = press->timestamp();
    if (state.releasedAt == 0 || pressedAt == 0)
        return false;
    // Event times are 32-bit milliseconds on X and Windows and wrap around.
    return std::uint32_t(pressedAt - state.releasedAt) < kRepeatGapMs;
}

bool KeyFilter::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
    case QEvent::KeyPress: {
        if (!isOurs_ || !isOurs_(watched))
            return false;
        auto* key = static_cast<QKeyEvent*>(event);
        KeyState& state = keys_[KeyCode(key)];
        // A repeat of a held key is swallowed. A key whose release went to a modal window is
        // not held any more: the marks are forgotten when the window becomes active again.
        const bool repeat = ContinuesHold(state, key);
        state.held = true;
        if (repeat)
            return true;
        return handler_ && handler_(key);
    }
    case QEvent::KeyRelease: {
        if (!isOurs_ || !isOurs_(watched))
            return false;
        auto* key = static_cast<QKeyEvent*>(event);
        if (!key->isAutoRepeat()) {
            KeyState& state = keys_[KeyCode(key)];
            state.held = false;
            state.releasedAt = key->timestamp();
        }
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
