#include "PulseTools.h"

#include <QRegularExpression>
#include <QThread>
#include <algorithm>
#include <csignal>

namespace zorvi::test {

namespace {

constexpr int kToolWaitMs = 10000;

QString Run(const QString& program, const QStringList& args, bool errors) {
    QProcess process;
    process.start(program, args);
    if (!process.waitForFinished(kToolWaitMs))
        return {};
    return QString::fromUtf8(errors ? process.readAllStandardError()
                                    : process.readAllStandardOutput());
}

double Field(const QString& text, const QString& label) {
    const QRegularExpression re(QRegularExpression::escape(label) + R"(:\s*([-0-9.eE+]+))");
    const auto match = re.match(text);
    return match.hasMatch() ? match.captured(1).toDouble() : -1.0;
}

} // namespace

bool PulseTestServer() {
    return qEnvironmentVariable("ZORVI_PULSE_TEST") == "1";
}

QList<long long> SinkInputProcesses() {
    QList<long long> pids;
    const QString text = Run("pactl", {"list", "sink-inputs"}, false);
    const QRegularExpression re(R"re(application\.process\.id = "(\d+)")re");
    for (auto it = re.globalMatch(text); it.hasNext();)
        pids.append(it.next().captured(1).toLongLong());
    return pids;
}

SoundStats Measure(const QString& wavePath) {
    const QString text = Run("sox", {wavePath, "-n", "stat"}, true);
    SoundStats stats;
    stats.maximum = Field(text, "Maximum amplitude");
    stats.rms = Field(text, "RMS     amplitude");
    stats.ok = stats.maximum >= 0 && stats.rms >= 0;
    const QString trimmed = Run("sox",
                                {wavePath, "-n", "silence", "1", "0.001", "1%", "reverse",
                                 "silence", "1", "0.001", "1%", "reverse", "stat"},
                                true);
    stats.sounding = std::max(0.0, Field(trimmed, "Length (seconds)"));
    return stats;
}

MonitorRecording::MonitorRecording(const QString& wavePath) : path_(wavePath) {
    keeper_.setStandardInputFile("/dev/zero");
    keeper_.start("pacat", {"--latency-msec=20"});
    recorder_.start("parec",
                    {"--latency-msec=20", "-d", "nullsink.monitor", "--file-format=wav", path_});
    started_ = keeper_.waitForStarted() && recorder_.waitForStarted();
    // Let the recording stream connect before anything plays.
    QThread::msleep(300);
}

MonitorRecording::~MonitorRecording() {
    for (QProcess* process : {&recorder_, &keeper_}) {
        if (process->state() != QProcess::NotRunning) {
            process->kill();
            process->waitForFinished();
        }
    }
}

SoundStats MonitorRecording::Stop() {
    if (recorder_.state() != QProcess::NotRunning) {
        ::kill(static_cast<pid_t>(recorder_.processId()), SIGINT); // parec ends the file
        recorder_.waitForFinished(kToolWaitMs);
    }
    keeper_.kill();
    keeper_.waitForFinished();
    return Measure(path_);
}

} // namespace zorvi::test
