#include "DesktopOpener.h"

#include <QDesktopServices>
#include <QUrl>

#ifdef Q_OS_WIN
#include <QDir>
#include <QProcess>
#endif

namespace zorvi {

bool OpenInTextEditor(const QString& path) {
    // The desktop's own choice for the file first.
    if (QDesktopServices::openUrl(QUrl::fromLocalFile(path)))
        return true;
#ifdef Q_OS_WIN
    // Found as the platform finds a bare program name: the working directory, then the path.
    return QProcess::startDetached(QStringLiteral("notepad.exe"), {QDir::toNativeSeparators(path)});
#else
    return false;
#endif
}

} // namespace zorvi
