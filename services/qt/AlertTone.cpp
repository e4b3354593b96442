#include "AlertTone.h"
#include "TemporaryFiles.h"

#include <QDir>
#include <QTemporaryFile>
#include <QtEndian>
#include <algorithm>
#include <cmath>
#include <numbers>

namespace zorvi {

namespace {

constexpr int kHertz = 440;
constexpr int kMilliseconds = 150;
constexpr int kSampleRate = 22050;
constexpr int kFadeMilliseconds = 5;
constexpr double kAmplitude = 0.5;
// The player drops the last fifth of a second or so of every sound: silence goes instead.
constexpr int kTailMilliseconds = 500;

void AppendLe32(QByteArray& out, quint32 value) {
    char bytes[4];
    qToLittleEndian(value, bytes);
    out.append(bytes, 4);
}

void AppendLe16(QByteArray& out, quint16 value) {
    char bytes[2];
    qToLittleEndian(value, bytes);
    out.append(bytes, 2);
}

} // namespace

AlertTone::AlertTone() = default;
AlertTone::~AlertTone() = default;

QString AlertTone::Path() {
    if (!tried_) {
        tried_ = true;
        auto file = std::make_unique<QTemporaryFile>(
            TemporaryPattern(QStringLiteral("alert"), QStringLiteral(".wav")));
        const QByteArray wave = MakeWave(kHertz, kMilliseconds, kSampleRate, kTailMilliseconds);
        if (file->open() && file->write(wave) == wave.size() && file->flush()) {
            file->close(); // the name stays reserved until the object goes
            file_ = std::move(file);
        }
    }
    return file_ ? file_->fileName() : QString();
}

QByteArray AlertTone::MakeWave(int hertz, int milliseconds, int sampleRate,
                               int silenceMilliseconds) {
    const auto framesOf = [sampleRate](int ms) {
        return std::max(0, static_cast<int>(static_cast<long long>(sampleRate) * ms / 1000));
    };
    const int frames = framesOf(milliseconds);
    const int silence = framesOf(silenceMilliseconds);
    const int fade = std::max(1, sampleRate * kFadeMilliseconds / 1000);
    const quint32 dataBytes = static_cast<quint32>(frames + silence) * 2;

    QByteArray out;
    out.reserve(44 + static_cast<int>(dataBytes));
    out.append("RIFF", 4);
    AppendLe32(out, 36 + dataBytes);
    out.append("WAVE", 4);
    out.append("fmt ", 4);
    AppendLe32(out, 16);
    AppendLe16(out, 1); // PCM
    AppendLe16(out, 1); // mono
    AppendLe32(out, static_cast<quint32>(sampleRate));
    AppendLe32(out, static_cast<quint32>(sampleRate) * 2);
    AppendLe16(out, 2);
    AppendLe16(out, 16);
    out.append("data", 4);
    AppendLe32(out, dataBytes);
    for (int i = 0; i < frames; ++i) {
        const double envelope =
            std::min({1.0, static_cast<double>(i) / fade, static_cast<double>(frames - i) / fade});
        const double value =
            kAmplitude * envelope * std::sin(2.0 * std::numbers::pi * hertz * i / sampleRate);
        AppendLe16(out, static_cast<quint16>(static_cast<qint16>(std::lround(value * 32767.0))));
    }
    out.append(QByteArray(silence * 2, '\0'));
    return out;
}

} // namespace zorvi
