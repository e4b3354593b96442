#include "Voice.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QObject>
#include <QSoundEffect>
#include <QTemporaryDir>
#include <QTimer>
#include <QUrl>
#include <algorithm>
#include <filesystem>
#include <map>
#include <set>

#include "AlertTone.h"
#include "BackgroundSound.h"
#include "Folders.h"
#include "Settings.h"
#include "TemporaryFiles.h"
#include "WaveFile.h"

namespace zorvi {

namespace {

// A sound that has not loaded by then is taken as unreadable (a last line: files are checked
// before they reach the player).
constexpr int kLoadTimeoutMs = 3000;
// Silence after each recording: the player drops about the last fifth of a second of every
// sound, which would clip the end of the spoken number.
constexpr int kTailMilliseconds = 500;

QString ToQString(const std::filesystem::path& path) {
    return QString::fromStdU16String(path.u16string());
}

std::string ToUtf8(const QString& text) {
    return text.toStdString();
}

std::filesystem::path FromUtf8(const std::string& text) {
    return std::filesystem::path(std::u8string(text.begin(), text.end()));
}

std::filesystem::path AudioFolder() {
    return Helpers::GetProgramFolder() / "audio";
}

} // namespace

// One sound object per file, kept for the whole run: replaying a number needs no new load,
// and a sound object is never deleted while the player may still be loading (deleting one
// waits for the shared loader, which a stuck load would hold forever).
struct Voice::Impl {
    Impl() {
        loadTimer.setSingleShot(true);
        QObject::connect(&loadTimer, &QTimer::timeout, [this] { OnLoadTimeout(); });
    }

    ~Impl() {
        if (current)
            current->stop();
        if (!stuck.empty())
            return; // a stuck load: leave the objects to the end of the process
        for (auto& [source, effect] : sounds) {
            effect->disconnect();
            delete effect;
        }
    }

    void Play(const QString& recording) {
        Cut();
        const QString playable = PlayableCopy(recording);
        if (!playable.isEmpty())
            Start(recording, playable);
        else
            StartAlert();
    }

    void StartAlert() {
        const QString alert = alertTone.Path();
        if (!alert.isEmpty())
            Start(alert, alert);
    }

    // A checked copy of the recording with silence after it, made once per recording (and
    // again when the file changes); empty when the recording cannot be played.
    QString PlayableCopy(const QString& recording) {
        const QFileInfo info(recording);
        if (!info.isFile())
            return {};
        const auto known = copies.find(recording);
        if (known != copies.end() && known->second.modified == info.lastModified() &&
            known->second.size == info.size())
            return known->second.path;
        const QByteArray wave = PaddedWave(recording, kTailMilliseconds);
        if (wave.isEmpty())
            return {};
        if (!copyFolder)
            copyFolder = std::make_unique<QTemporaryDir>(TemporaryPattern(QStringLiteral("voice")));
        QString path;
        if (copyFolder->isValid()) {
            path = copyFolder->filePath(QString::number(++copyCount) + ".wav");
            QFile out(path);
            if (!out.open(QIODevice::WriteOnly) || out.write(wave) != wave.size())
                path.clear();
        }
        if (path.isEmpty())
            return recording; // checked, only its very end may be lost
        copies[recording] = {info.lastModified(), info.size(), path};
        return path;
    }

    void Start(const QString& source, const QString& file) {
        QSoundEffect* effect = SoundFor(file);
        current = effect;
        currentSource = source;
        currentStarted = false;
        effect->setVolume(static_cast<float>(volume));
        Notify(SoundEvent::Started, source);
        if (stuck.count(effect)) {
            Fail();
            return;
        }
        OnStatus(effect);
        if (current == effect && effect->status() == QSoundEffect::Loading)
            loadTimer.start(kLoadTimeoutMs);
    }

    QSoundEffect* SoundFor(const QString& file) {
        auto found = sounds.find(file);
        if (found != sounds.end())
            return found->second;
        auto* effect = new QSoundEffect();
        sounds.emplace(file, effect);
        QObject::connect(effect, &QSoundEffect::statusChanged, effect,
                         [this, effect] { OnStatus(effect); });
        effect->setSource(QUrl::fromLocalFile(file));
        return effect;
    }

    void OnStatus(QSoundEffect* effect) {
        if (effect != current)
            return;
        switch (effect->status()) {
        case QSoundEffect::Ready:
            loadTimer.stop();
            if (!currentStarted) {
                currentStarted = true;
                effect->play();
            }
            break;
        case QSoundEffect::Error:
            Fail();
            break;
        default:
            break;
        }
    }

    void OnLoadTimeout() {
        if (current && current->status() == QSoundEffect::Loading) {
            stuck.insert(current);
            Fail();
        }
    }

    // The current sound cannot be played: the alert tone takes its place, unless it was the
    // alert tone itself.
    void Fail() {
        loadTimer.stop();
        const bool wasAlert = currentSource == alertTone.Path();
        if (current)
            current->stop();
        current = nullptr;
        if (!wasAlert)
            StartAlert();
    }

    // Stops the current sound so that the next one does not overlap it.
    void Cut() {
        loadTimer.stop();
        if (!current)
            return;
        QSoundEffect* effect = current;
        current = nullptr;
        const bool active = effect->isPlaying() || effect->status() == QSoundEffect::Loading;
        effect->stop();
        if (active)
            Notify(SoundEvent::Stopped, currentSource);
    }

    void SetVolume(double linear) {
        volume = linear;
        for (auto& [source, effect] : sounds)
            effect->setVolume(static_cast<float>(linear));
    }

    void Notify(SoundEvent event, const QString& source) {
        if (observer)
            observer(event, ToUtf8(source));
    }

    struct Copy {
        QDateTime modified;
        qint64 size = 0;
        QString path;
    };

    AlertTone alertTone;
    BackgroundSound background;
    std::unique_ptr<QTemporaryDir> copyFolder;
    std::map<QString, Copy> copies; // recording -> its playable copy
    int copyCount = 0;
    std::map<QString, QSoundEffect*> sounds; // played file -> its sound object
    std::set<QSoundEffect*> stuck;
    QSoundEffect* current = nullptr;
    QString currentSource;
    bool currentStarted = false;
    double volume = 1.0;
    QTimer loadTimer;
    SoundObserver observer;
};

Voice::Voice() : impl_(std::make_unique<Impl>()) {}

Voice::~Voice() = default;

std::string Voice::RecordingPath(const std::string& file) const {
    if (!settings_ || settings_->voice.empty() || !Settings::IsSafeVoiceName(settings_->voice))
        return {};
    const auto path = AudioFolder() / FromUtf8(settings_->voice) / FromUtf8(file);
    return ToUtf8(ToQString(path));
}

void Voice::Announce(const std::string& file) {
    const std::string path = RecordingPath(file);
    if (path.empty())
        return;
    impl_->Play(QString::fromStdString(path));
}

void Voice::SayNumber(int number) {
    Announce(std::to_string(number) + ".wav");
}
void Voice::SayNumberLimit() {
    Announce("numeroraja.wav");
}
void Voice::SayCorrect() {
    Announce("oikein.wav");
}

void Voice::StartBackgroundVoice() {
    const auto audio = AudioFolder();
#ifdef _WIN32
    const auto program = audio / "AudioLoop.exe";
#else
    const auto program = audio / "AudioLoop";
#endif
    impl_->background.Start(ToQString(program), {ToQString(audio / "silence.wav")});
}

void Voice::StopBackgroundVoice() {
    impl_->background.Stop();
}

bool Voice::BackgroundRunning() const {
    return impl_->background.Running();
}

long long Voice::BackgroundProcessId() const {
    return impl_->background.ProcessId();
}

int Voice::VolumeLevel(int volume) {
    const int clamped = std::clamp(volume, 0, 100);
    return static_cast<int>(clamped / 100.0 * 65535.0);
}

void Voice::ApplyVolume(int volume) {
    impl_->SetVolume(VolumeLevel(volume) / 65535.0);
}

void Voice::SetSoundObserver(SoundObserver observer) {
    impl_->observer = std::move(observer);
}

std::string Voice::CurrentSource() const {
    return ToUtf8(impl_->currentSource);
}

double Voice::CurrentSoundVolume() const {
    return impl_->current ? static_cast<double>(impl_->current->volume()) : -1.0;
}

std::string Voice::AlertTonePath() const {
    return ToUtf8(impl_->alertTone.Path());
}

} // namespace zorvi
