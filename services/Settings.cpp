#include "Settings.h"

#include <algorithm>
#include <string_view>
#include <utility>
#include <vector>

#include "Helpers.h"

namespace zorvi {

namespace {

constexpr int kMaxScreenSize = 99999;

// A stored flag is on only when it is exactly 1.
int Flag(int stored) {
    return stored == 1 ? 1 : 0;
}

// A value outside the listed choices falls back to the first choice.
int Choice(int stored, int last) {
    return stored >= 0 && stored <= last ? stored : 0;
}

} // namespace

Settings::Settings() {
    LoadSettings();
}

Settings::Settings(NoLoad) {}

bool Settings::IsSafeVoiceName(const std::string& name) {
    if (name.empty() || name.size() > Helpers::kIniStringLimit)
        return false;
    if (name.front() == '.') // also "." and ".."
        return false;
    return name.find_first_of(std::string_view("/\\:\0", 4)) == std::string::npos;
}

// Values are made safe as they are read, so that no field indexes outside a table or
// leaves the voice folder:
// - language, public_screen and coupon_series outside 0..2 become 0;
// - max_called_numbers other than 75 or 90 becomes 75;
// - the public-screen sizes are clamped to 0..99999 and volume to 0..100;
// - a flag is 1 only when stored as 1, any other number makes it 0 (an absent key keeps
//   the default, so enable_background_voice stays 1);
// - a voice that is not a plain folder name (see IsSafeVoiceName) becomes empty: no voice.
void Settings::LoadSettings() {
    using namespace Helpers;
    EnsureDataFolder();
    if (!IniFileExists(kFileName))
        return;

    free_middle = Flag(ReadIniInt(kFileName, "free_middle", 0));
    max_called_numbers = ReadIniInt(kFileName, "max_called_numbers", 75);
    if (max_called_numbers != 75 && max_called_numbers != 90)
        max_called_numbers = 75;
    language = Choice(ReadIniInt(kFileName, "language", 0), 2);
    public_screen = Choice(ReadIniInt(kFileName, "public_screen", 0), 2);
    public_screen_height =
        std::clamp(ReadIniInt(kFileName, "public_screen_height", 800), 0, kMaxScreenSize);
    public_screen_width =
        std::clamp(ReadIniInt(kFileName, "public_screen_width", 600), 0, kMaxScreenSize);
    voice = ReadIniString(kFileName, "voice", "");
    if (!IsSafeVoiceName(voice))
        voice.clear();
    coupon_series = Choice(ReadIniInt(kFileName, "coupon_series", 0), 2);
    dialog_mode = Flag(ReadIniInt(kFileName, "dialog_mode", 0));
    volume = std::clamp(ReadIniInt(kFileName, "volume", 25), 0, 100);
    enable_background_voice = Flag(ReadIniInt(kFileName, "enable_background_voice", 1));
    enable_number_limit = Flag(ReadIniInt(kFileName, "enable_number_limit", 0));
    disable_animation = Flag(ReadIniInt(kFileName, "disable_animation", 0));
}

bool Settings::SaveSettings() const {
    Helpers::EnsureDataFolder();
    const std::vector<std::pair<std::string, std::string>> values = {
        {"max_called_numbers", std::to_string(max_called_numbers)},
        {"language", std::to_string(language)},
        {"free_middle", std::to_string(free_middle)},
        {"public_screen", std::to_string(public_screen)},
        {"public_screen_height", std::to_string(public_screen_height)},
        {"public_screen_width", std::to_string(public_screen_width)},
        {"voice", voice},
        {"coupon_series", std::to_string(coupon_series)},
        {"dialog_mode", std::to_string(dialog_mode)},
        {"volume", std::to_string(volume)},
        {"enable_background_voice", std::to_string(enable_background_voice)},
        {"enable_number_limit", std::to_string(enable_number_limit)},
        {"disable_animation", std::to_string(disable_animation)},
    };
    return Helpers::WriteIniValues(kFileName, values);
}

} // namespace zorvi
