#pragma once

#include <QString>

namespace zorvi {

// Opens a text file in the desktop's editor and returns at once without waiting for it:
// "notepad.exe" on Windows, the desktop's default opener elsewhere. False when nothing
// could be started.
bool OpenInTextEditor(const QString& path);

} // namespace zorvi
