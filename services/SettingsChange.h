#pragma once

#include <string>
#include <vector>

namespace zorvi {

class Settings;

// What a change of the settings brings with it, found by comparing the record before and
// after the operator's edit. The game engine carries it out (GameCommands::ApplySettingsChange).
struct SettingsChange {
    // The rules of the game in progress changed (number count, series, free middle, page
    // animations, where the balls come from): a new game begins.
    bool restart_game = false;
    // Another coupon-series file is needed (number count or series).
    bool reread_coupons = false;
    // The public screen is placed again (its mode or size).
    bool public_screen_changed = false;
    // Every text is put up again, and the page is loaded in the new language.
    bool language_changed = false;
    // Other coupons are in play: the game log notes it, and who holds a bingo is found anew.
    bool coupons_in_play_changed = false;
    // The hall server is started, stopped or started again on its new port or address.
    bool hall_server_changed = false;
    // The game log's lines for the changed settings that touch the game ("Setting changed: …").
    std::vector<std::string> log_notes;

    static SettingsChange Between(const Settings& before, const Settings& after);

    friend bool operator==(const SettingsChange&, const SettingsChange&) = default;
};

} // namespace zorvi
