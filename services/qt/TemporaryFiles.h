#pragma once

#include <QString>

namespace zorvi {

// The program's temporary files: the voice's padded copies and the alert tone. Their names
// carry the process id ("zorvi-voice-4711-XXXXXX"), so that a later start can tell the
// leftovers of a program that was killed from the files of one still running.

// A QTemporaryDir / QTemporaryFile pattern in the system's temporary folder for one kind of
// file ("voice", "alert"), with an optional suffix such as ".wav".
QString TemporaryPattern(const QString& kind, const QString& suffix = QString());

// Removes what a program that no longer runs left in `folder` (the system's temporary folder
// when empty): entries named by TemporaryPattern whose process has ended, and those of older
// versions without a process id once they are a day old. Returns how many went.
int ClearTemporaryLeftovers(const QString& folder = QString());

// Removes this process's own entries from `folder` (the system's temporary folder when empty),
// for an end that runs no destructors. Returns how many went.
int RemoveOwnTemporaryFiles(const QString& folder = QString());

} // namespace zorvi
