#pragma once

#include <QString>
#include <QStringList>
#include <unistd.h>

namespace zorvi {

// A chromium of its own for a measurement or a test: a fresh profile in `profileDir`, nothing
// that reaches the network or runs in the background, and the timers of a page nobody looks
// at running as on a screen in the hall. As root it runs without its sandbox (no other way).
inline QStringList QuietChromiumFlags(const QString& profileDir) {
    QStringList flags{
        QStringLiteral("--user-data-dir=") + profileDir,
        QStringLiteral("--no-first-run"),
        QStringLiteral("--no-default-browser-check"),
        QStringLiteral("--disable-background-networking"),
        QStringLiteral("--disable-component-update"),
        QStringLiteral("--disable-sync"),
        QStringLiteral("--disable-extensions"),
        QStringLiteral("--mute-audio"),
        QStringLiteral("--disable-background-timer-throttling"),
        QStringLiteral("--disable-renderer-backgrounding"),
    };
    if (::geteuid() == 0)
        flags.prepend(QStringLiteral("--no-sandbox"));
    return flags;
}

} // namespace zorvi
