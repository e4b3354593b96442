#pragma once

#include <QString>

namespace zorvi {

// Opens a text file in the desktop's editor and returns at once without waiting for it: the
// desktop's default handler for the file, then "notepad.exe" on Windows. False when nothing
// could be started.
bool OpenInTextEditor(const QString& path);

} // namespace zorvi
