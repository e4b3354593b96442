#include "Settings.h"

#include <algorithm>
#include <string_view>
#include <tuple>
#include <utility>
#include <vector>

#include "CouponsInPlay.h"
#include "Helpers.h"
#include "SetAside.h"

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

namespace {

// Four decimal parts of at most 255, without leading zeros.
bool IsIPv4Text(const std::string& text) {
    int parts = 0;
    std::size_t at = 0;
    while (at <= text.size()) {
        const std::size_t dot = std::min(text.find('.', at), text.size());
        const std::string part = text.substr(at, dot - at);
        if (part.empty() || part.size() > 3 ||
            part.find_first_not_of("0123456789") != std::string::npos ||
            (part.size() > 1 && part[0] == '0') || std::stoi(part) > 255)
            return false;
        ++parts;
        at = dot + 1;
    }
    return parts == 4;
}

// Groups of one to four hex digits, at most one "::", an IPv4 address as the last part.
bool IsIPv6Text(const std::string& text) {
    const std::size_t gap = text.find("::");
    if (gap != std::string::npos && text.find("::", gap + 1) != std::string::npos)
        return false;
    int groups = 0;
    std::size_t at = 0;
    while (at <= text.size()) {
        const std::size_t colon = std::min(text.find(':', at), text.size());
        const std::string group = text.substr(at, colon - at);
        const bool last = colon == text.size();
        if (group.empty()) {
            // Only the empty ends of "::".
            const bool partOfGap = gap != std::string::npos && at >= gap && at <= gap + 2;
            if (!partOfGap)
                return false;
        } else if (last && group.find('.') != std::string::npos) {
            if (!IsIPv4Text(group))
                return false;
            groups += 2;
        } else {
            if (group.size() > 4 ||
                group.find_first_not_of("0123456789abcdefABCDEF") != std::string::npos)
                return false;
            ++groups;
        }
        at = colon + 1;
    }
    return gap == std::string::npos ? groups == 8 : groups < 8;
}

} // namespace

bool Settings::IsAddressText(const std::string& text) {
    if (text.empty() || text.size() > 45)
        return false;
    return text.find(':') != std::string::npos ? IsIPv6Text(text) : IsIPv4Text(text);
}

// Values are made safe as they are read, so that no field indexes outside a table or
// leaves the voice folder:
// - language, public_screen and coupon_series outside 0..2 become 0;
// - max_called_numbers other than 75 or 90 becomes 75;
// - the public-screen sizes are clamped to 0..99999 and volume to 0..100;
// - a flag is 1 only when stored as 1, any other number makes it 0 (an absent key keeps
//   the default, so enable_background_voice stays 1);
// - a voice that is not a plain folder name (see IsSafeVoiceName) becomes empty: no voice;
// - coupons in play that do not read as ranges become empty, the whole series (a scan of too
//   many coupons shows more winners, never hides one); good ranges are kept in their
//   canonical form.
// - a hall server port outside 1024..65535 becomes 8765, and an address that is not an
//   address's text becomes empty: every address.
void Settings::LoadSettings() {
    using namespace Helpers;
    EnsureDataFolder();
    set_aside_as_.clear();
    left_in_place_ = false;
    // One read of the file serves every key.
    const IniFileSnapshot file(kFileName);
    if (!file.Exists())
        return;
    if (file.Read() == FileRead::Unreadable) {
        // Left as it is and never overwritten; the built-in values serve this run.
        left_in_place_ = true;
        return;
    }
    if (file.Read() != FileRead::Ok || file.HoldsNoSettings()) {
        // Nothing in it can be used: it is set aside once, so that the first save writes a
        // clean file instead of adding to it, and the built-in values are used.
        set_aside_as_ = SetAsideFile(kFileName).value_or(std::string());
        left_in_place_ = set_aside_as_.empty();
        return;
    }

    free_middle = Flag(file.ReadInt("free_middle", 0));
    max_called_numbers = file.ReadInt("max_called_numbers", GameRules::kDefaultNumberCount);
    if (!GameRules::IsNumberCount(max_called_numbers))
        max_called_numbers = GameRules::kDefaultNumberCount;
    language = Choice(file.ReadInt("language", 0), 2);
    public_screen = Choice(file.ReadInt("public_screen", PublicScreenMode::None),
                           PublicScreenMode::OtherScreen);
    public_screen_height = std::clamp(file.ReadInt("public_screen_height", 800), 0, kMaxScreenSize);
    public_screen_width = std::clamp(file.ReadInt("public_screen_width", 600), 0, kMaxScreenSize);
    voice = file.ReadString("voice", "");
    if (!IsSafeVoiceName(voice))
        voice.clear();
    coupon_series = Choice(file.ReadInt("coupon_series", 0), 2);
    dialog_mode = Flag(file.ReadInt("dialog_mode", 0));
    volume = std::clamp(file.ReadInt("volume", 25), 0, 100);
    enable_background_voice = Flag(file.ReadInt("enable_background_voice", 1));
    enable_number_limit = Flag(file.ReadInt("enable_number_limit", 0));
    disable_animation = Flag(file.ReadInt("disable_animation", 0));
    ball_source = Flag(file.ReadInt("ball_source", 0));
    confirm_board_entry = Flag(file.ReadInt("confirm_board_entry", 1));
    const auto inPlay = CouponsInPlay::Parse(file.ReadStringWhole("coupons_in_play", ""));
    coupons_in_play = inPlay ? inPlay->Text() : std::string();
    hall_server = Flag(file.ReadInt("hall_server", 0));
    hall_server_port = file.ReadInt("hall_server_port", kDefaultHallServerPort);
    if (hall_server_port < kMinHallServerPort || hall_server_port > kMaxHallServerPort)
        hall_server_port = kDefaultHallServerPort;
    hall_server_address = file.ReadString("hall_server_address", "");
    if (!IsAddressText(hall_server_address))
        hall_server_address.clear();
}

bool operator==(const Settings& a, const Settings& b) {
    const auto values = [](const Settings& s) {
        return std::tie(s.max_called_numbers, s.language, s.public_screen, s.free_middle,
                        s.public_screen_height, s.public_screen_width, s.voice, s.coupon_series,
                        s.dialog_mode, s.volume, s.enable_background_voice, s.enable_number_limit,
                        s.disable_animation, s.coupons_in_play, s.hall_server, s.hall_server_port,
                        s.hall_server_address, s.ball_source, s.confirm_board_entry);
    };
    return values(a) == values(b);
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
        {"ball_source", std::to_string(ball_source)},
        {"confirm_board_entry", std::to_string(confirm_board_entry)},
        {"coupons_in_play", coupons_in_play},
        {"hall_server", std::to_string(hall_server)},
        {"hall_server_port", std::to_string(hall_server_port)},
        {"hall_server_address", hall_server_address},
    };
    return Helpers::WriteIniValues(kFileName, values);
}

} // namespace zorvi
