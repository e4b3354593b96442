#include "TemporaryFiles.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>

#ifdef Q_OS_UNIX
#include <cerrno>
#include <csignal>
#endif

namespace zorvi {

namespace {

// Older versions named their files without a process id; such a file a day old is no longer
// in use by anyone.
constexpr qint64 kOldStyleAgeSeconds = 24 * 60 * 60;

const QRegularExpression& WithPid() {
    static const QRegularExpression pattern(
        QStringLiteral("^zorvi-(voice|alert)-([0-9]{1,10})-[A-Za-z0-9]{6}(\\.wav)?$"));
    return pattern;
}

const QRegularExpression& OldStyle() {
    static const QRegularExpression pattern(
        QStringLiteral("^zorvi-(voice|alert)-[A-Za-z0-9]{6}(\\.wav)?$"));
    return pattern;
}

bool ProcessRuns(qint64 pid) {
    if (pid <= 0)
        return false;
#ifdef Q_OS_UNIX
    // A process that exists but is not ours to signal still runs.
    return ::kill(static_cast<pid_t>(pid), 0) == 0 || errno == EPERM;
#else
    return true; // no cheap way to tell: keep it
#endif
}

QFileInfoList Entries(const QString& folder) {
    return QDir(folder.isEmpty() ? QDir::tempPath() : folder)
        .entryInfoList(QDir::Dirs | QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot |
                       QDir::NoSymLinks);
}

// Only what the program makes: a folder of copies or a single file, never a link.
bool RemoveEntry(const QFileInfo& entry) {
    return entry.isDir() ? QDir(entry.filePath()).removeRecursively()
                         : QFile::remove(entry.filePath());
}

} // namespace

QString TemporaryPattern(const QString& kind, const QString& suffix) {
    return QDir::tempPath() + QStringLiteral("/zorvi-") + kind + QLatin1Char('-') +
           QString::number(QCoreApplication::applicationPid()) + QStringLiteral("-XXXXXX") + suffix;
}

int ClearTemporaryLeftovers(const QString& folder) {
    const QDateTime now = QDateTime::currentDateTimeUtc();
    int removed = 0;
    for (const QFileInfo& entry : Entries(folder)) {
        const QString name = entry.fileName();
        bool leftover = false;
        if (const auto match = WithPid().match(name); match.hasMatch())
            leftover = !ProcessRuns(match.captured(2).toLongLong());
        else if (OldStyle().match(name).hasMatch())
            leftover = entry.lastModified().toUTC().secsTo(now) > kOldStyleAgeSeconds;
        if (leftover && RemoveEntry(entry))
            ++removed;
    }
    return removed;
}

int RemoveOwnTemporaryFiles(const QString& folder) {
    const qint64 own = QCoreApplication::applicationPid();
    int removed = 0;
    for (const QFileInfo& entry : Entries(folder)) {
        const auto match = WithPid().match(entry.fileName());
        if (match.hasMatch() && match.captured(2).toLongLong() == own && RemoveEntry(entry))
            ++removed;
    }
    return removed;
}

} // namespace zorvi
