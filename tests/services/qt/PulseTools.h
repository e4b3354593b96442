#pragma once

#include <QList>
#include <QProcess>
#include <QString>

namespace zorvi::test {

// Tools for tests that run against the private PulseAudio daemon of run_with_pulse.sh.

// True inside run_with_pulse.sh.
bool PulseTestServer();

// The process ids of the streams now playing into the server (one per sink input).
QList<long long> SinkInputProcesses();

struct SoundStats {
    bool ok = false;
    double maximum = 0; // peak amplitude, 0 to 1
    double rms = 0;
    double sounding = 0; // seconds from the first to the last sample above 1 % of full scale
};

// Amplitude of a WAV file, as "sox FILE -n stat" measures it.
SoundStats Measure(const QString& wavePath);

// Records what the null sink plays until Stop; keeps the sink busy with a silent stream
// meanwhile so that the recording runs in real time.
class MonitorRecording {
public:
    explicit MonitorRecording(const QString& wavePath);
    ~MonitorRecording();
    MonitorRecording(const MonitorRecording&) = delete;
    MonitorRecording& operator=(const MonitorRecording&) = delete;

    bool Started() const { return started_; }
    SoundStats Stop();

private:
    QString path_;
    QProcess keeper_;
    QProcess recorder_;
    bool started_ = false;
};

} // namespace zorvi::test
