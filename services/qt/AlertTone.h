#pragma once

#include <QByteArray>
#include <QString>
#include <memory>

class QTemporaryFile;

namespace zorvi {

// The short beep that plays in place of a missing or unreadable recording: this platform has
// no default alert sound of its own.
class AlertTone {
public:
    AlertTone();
    virtual ~AlertTone(); // removes the file
    AlertTone(const AlertTone&) = delete;
    AlertTone& operator=(const AlertTone&) = delete;

    // A temporary WAV file holding the tone, written at the first call; empty when it could
    // not be written.
    QString Path();

    // A mono 16-bit PCM WAV of a sine tone, with short fades so that it does not click,
    // followed by the given milliseconds of silence.
    static QByteArray MakeWave(int hertz, int milliseconds, int sampleRate,
                               int silenceMilliseconds = 0);

private:
    std::unique_ptr<QTemporaryFile> file_;
    bool tried_ = false;
};

} // namespace zorvi
