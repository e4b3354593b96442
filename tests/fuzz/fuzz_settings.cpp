// "settings.ini" from outside: every value read must lie where the program indexes with it.
#include <cstddef>
#include <cstdint>

#include "FuzzDataFolder.h"
#include "Language.h"
#include "Settings.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const FuzzDataFolder folder("settings");
    folder.Write("settings.ini", data, size);
    zorvi::Settings settings;
    const bool ok = settings.language >= 0 && settings.language <= 2 &&
                    (settings.max_called_numbers == 75 || settings.max_called_numbers == 90) &&
                    settings.public_screen >= 0 && settings.public_screen <= 2 &&
                    settings.coupon_series >= 0 && settings.coupon_series <= 2 &&
                    settings.volume >= 0 && settings.volume <= 100 &&
                    settings.public_screen_height >= 0 && settings.public_screen_width >= 0 &&
                    (settings.voice.empty() || zorvi::Settings::IsSafeVoiceName(settings.voice)) &&
                    (settings.hall_server == 0 || settings.hall_server == 1) &&
                    settings.hall_server_port >= 1024 && settings.hall_server_port <= 65535 &&
                    (settings.hall_server_address.empty() ||
                     zorvi::Settings::IsAddressText(settings.hall_server_address));
    if (!ok)
        __builtin_trap();
    (void)zorvi::Language::GetText(zorvi::TextId::TXT_LOAD_PREVIOUS_STATE, settings.language);
    return 0;
}
