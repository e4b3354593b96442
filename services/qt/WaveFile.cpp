#include "WaveFile.h"

#include <QFile>
#include <QtEndian>
#include <algorithm>
#include <optional>

namespace zorvi {

namespace {

constexpr quint16 kPcm = 1;
constexpr quint16 kFloat = 3;
constexpr quint16 kExtensible = 0xFFFE;

struct WaveLayout {
    QByteArray format; // the whole "fmt " chunk body
    qint64 dataOffset = 0;
    qint64 dataLength = 0;
    int frameBytes = 0;
    quint32 sampleRate = 0;
    quint16 bits = 0;
};

bool ReadExactly(QFile& file, qint64 at, char* buffer, qint64 count) {
    return file.seek(at) && file.read(buffer, count) == count;
}

// Bytes per frame of a sensible format, or 0.
int FrameBytes(const char* fmt) {
    const quint16 format = qFromLittleEndian<quint16>(fmt);
    const quint16 channels = qFromLittleEndian<quint16>(fmt + 2);
    const quint32 rate = qFromLittleEndian<quint32>(fmt + 4);
    const quint16 blockAlign = qFromLittleEndian<quint16>(fmt + 12);
    const quint16 bits = qFromLittleEndian<quint16>(fmt + 14);
    if (format != kPcm && format != kFloat && format != kExtensible)
        return 0;
    if (channels < 1 || channels > 8 || rate < 1000 || rate > 384000)
        return 0;
    if (bits != 8 && bits != 16 && bits != 24 && bits != 32)
        return 0;
    return blockAlign == channels * bits / 8 ? blockAlign : 0;
}

std::optional<WaveLayout> ReadLayout(QFile& file) {
    const qint64 size = file.size();
    if (size < 12 || size > kMaxWaveBytes)
        return std::nullopt;
    char head[12];
    if (!ReadExactly(file, 0, head, 12) || QByteArray(head, 4) != "RIFF" ||
        QByteArray(head + 8, 4) != "WAVE")
        return std::nullopt;

    WaveLayout layout;
    qint64 at = 12;
    while (at + 8 <= size) {
        char chunk[8];
        if (!ReadExactly(file, at, chunk, 8))
            return std::nullopt;
        const QByteArray id(chunk, 4);
        const qint64 length = qFromLittleEndian<quint32>(chunk + 4);
        const qint64 body = at + 8;
        if (body + length > size)
            return std::nullopt; // cut off
        if (id == "data") {
            // Whole frames only: the player waits for the rest of a frame.
            if (layout.frameBytes == 0 || length == 0 || length % layout.frameBytes != 0)
                return std::nullopt;
            layout.dataOffset = body;
            layout.dataLength = length;
            return layout;
        }
        if (length % 2 != 0)
            return std::nullopt; // the player loses its place at the pad byte of an odd chunk
        if (id == "fmt ") {
            layout.format.resize(length);
            if (length < 16 || !ReadExactly(file, body, layout.format.data(), length))
                return std::nullopt;
            layout.frameBytes = FrameBytes(layout.format.constData());
            if (layout.frameBytes == 0)
                return std::nullopt;
            layout.sampleRate = qFromLittleEndian<quint32>(layout.format.constData() + 4);
            layout.bits = qFromLittleEndian<quint16>(layout.format.constData() + 14);
        }
        at = body + length;
    }
    return std::nullopt;
}

void AppendLe32(QByteArray& out, quint32 value) {
    char bytes[4];
    qToLittleEndian(value, bytes);
    out.append(bytes, 4);
}

} // namespace

bool IsPlayableWave(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) && ReadLayout(file).has_value();
}

QByteArray PaddedWave(const QString& path, int silenceMilliseconds) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const auto layout = ReadLayout(file);
    if (!layout)
        return {};
    QByteArray samples(layout->dataLength, Qt::Uninitialized);
    if (!ReadExactly(file, layout->dataOffset, samples.data(), layout->dataLength))
        return {};
    const qint64 silenceFrames =
        static_cast<qint64>(layout->sampleRate) * std::max(0, silenceMilliseconds) / 1000;
    const qint64 silenceBytes = silenceFrames * layout->frameBytes;
    const char silent = layout->bits == 8 ? char(0x80) : char(0); // 8-bit samples are unsigned

    const qint64 dataLength = layout->dataLength + silenceBytes;
    QByteArray out;
    out.reserve(20 + layout->format.size() + 8 + dataLength);
    out.append("RIFF", 4);
    AppendLe32(out, static_cast<quint32>(4 + 8 + layout->format.size() + 8 + dataLength));
    out.append("WAVE", 4);
    out.append("fmt ", 4);
    AppendLe32(out, static_cast<quint32>(layout->format.size()));
    out.append(layout->format);
    out.append("data", 4);
    AppendLe32(out, static_cast<quint32>(dataLength));
    out.append(samples);
    out.append(QByteArray(silenceBytes, silent));
    return out;
}

} // namespace zorvi
