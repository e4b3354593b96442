#pragma once

#include <functional>
#include <memory>
#include <string>

namespace zorvi {

class Settings;

// Announces drawn numbers, the number limit and winners from the recordings of the chosen
// voice ("audio/<voice>/<n>.wav" in the program folder), sets the program's sound volume
// and runs the background sound program while the system runs.
class Voice {
public:
    Voice();
    virtual ~Voice(); // ends the background program
    Voice(const Voice&) = delete;
    Voice& operator=(const Voice&) = delete;

    void AttachSettings(const Settings& settings) { settings_ = &settings; }

    void SayNumber(int number);
    void SayNumberLimit();
    void SayCorrect();

    void StartBackgroundVoice();
    void StopBackgroundVoice();
    bool BackgroundRunning() const;

    // Volume 0 to 100 for every sound of the program.
    void ApplyVolume(int volume);

    // The recording an announcement plays: "<program folder>/audio/<voice>/<file>", or empty
    // when no voice is chosen or the name would leave the "audio" folder.
    std::string RecordingPath(const std::string& file) const;

    // The output level of a volume: volume / 100 * 65535, truncated; volumes outside 0 to
    // 100 count as the nearest bound.
    static int VolumeLevel(int volume);

    // What is happening to the sounds, for tests and diagnostics.
    enum class SoundEvent {
        Started, // a sound was asked to play (it loads, then plays)
        Stopped, // a sound still loading or playing was cut short by the next one
    };
    using SoundObserver = std::function<void(SoundEvent, const std::string& source)>;
    void SetSoundObserver(SoundObserver observer);

    // The file the latest sound plays or played (a recording or the alert tone); empty when
    // none was started.
    std::string CurrentSource() const;
    // Linear output volume (0 to 1) of the current sound object; -1 when there is none.
    double CurrentSoundVolume() const;
    // The built-in tone that stands in for a missing or unreadable recording.
    std::string AlertTonePath() const;
    // Process id of the held background program; 0 when none runs.
    long long BackgroundProcessId() const;

private:
    struct Impl;
    void Announce(const std::string& file);

    const Settings* settings_ = nullptr;
    std::unique_ptr<Impl> impl_;
};

} // namespace zorvi
