#include "DesktopOpener.h"

#ifdef Q_OS_WIN
#include <QDir>
#include <QProcess>
#else
#include <QDesktopServices>
#include <QUrl>
#endif

namespace zorvi {

bool OpenInTextEditor(const QString& path) {
#ifdef Q_OS_WIN
    // Found as the platform finds a bare program name: the working directory, then the path.
    return QProcess::startDetached(QStringLiteral("notepad.exe"), {QDir::toNativeSeparators(path)});
#else
    return QDesktopServices::openUrl(QUrl::fromLocalFile(path));
#endif
}

} // namespace zorvi
