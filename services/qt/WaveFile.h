#pragma once

#include <QByteArray>
#include <QString>

namespace zorvi {

// Recordings are short; a bigger file is not taken into memory.
inline constexpr qint64 kMaxWaveBytes = 32LL * 1024 * 1024;

// True when the file is a complete WAV recording that the sound player can take: a RIFF
// "WAVE" header, a sensible "fmt " chunk and a "data" chunk of whole frames that lies wholly
// inside the file. The player waits forever for the missing part of a cut-off file, and a
// sound object that waits so cannot even be deleted, so such files must never reach it.
bool IsPlayableWave(const QString& path);

// The recording (see IsPlayableWave) as a plain WAV of its format and its samples, followed by
// the given milliseconds of silence; empty when the file is not playable. The player drops
// roughly the last fifth of a second of every sound, so the silence goes instead of speech.
QByteArray PaddedWave(const QString& path, int silenceMilliseconds);

} // namespace zorvi
