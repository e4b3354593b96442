#include "SettingsChange.h"

#include "LogLines.h"
#include "Settings.h"

namespace zorvi {

namespace {

std::string OnOff(int value) {
    return value != 0 ? "on" : "off";
}

std::string SeriesLetter(int series) {
    return series >= 0 && series < 26 ? std::string(1, static_cast<char>('A' + series))
                                      : std::to_string(series);
}

// Each change that the game's rules or its record depend on; the coupons in play have a note
// of their own.
std::vector<std::string> GameNotes(const Settings& before, const Settings& after) {
    std::vector<std::string> notes;
    auto note = [&](std::string_view name, const std::string& was, const std::string& is) {
        if (was != is)
            notes.push_back(LogLines::SettingChanged(name, was, is));
    };
    note("number count", std::to_string(before.max_called_numbers),
         std::to_string(after.max_called_numbers));
    note("coupon series", SeriesLetter(before.coupon_series), SeriesLetter(after.coupon_series));
    note("free middle", OnOff(before.free_middle), OnOff(after.free_middle));
    note("number limit", OnOff(before.enable_number_limit), OnOff(after.enable_number_limit));
    note("animation", OnOff(before.disable_animation == 0 ? 1 : 0),
         OnOff(after.disable_animation == 0 ? 1 : 0));
    note("ball source", std::string(LogLines::BallSourceName(before.ball_source != 0)),
         std::string(LogLines::BallSourceName(after.ball_source != 0)));
    note("board click asks", OnOff(before.confirm_board_entry), OnOff(after.confirm_board_entry));
    return notes;
}

} // namespace

SettingsChange SettingsChange::Between(const Settings& before, const Settings& after) {
    const bool count = before.max_called_numbers != after.max_called_numbers;
    const bool series = before.coupon_series != after.coupon_series;
    SettingsChange change;
    change.reread_coupons = count || series;
    change.restart_game = count || series || before.free_middle != after.free_middle ||
                          before.disable_animation != after.disable_animation ||
                          before.ball_source != after.ball_source;
    change.public_screen_changed = before.public_screen != after.public_screen ||
                                   before.public_screen_width != after.public_screen_width ||
                                   before.public_screen_height != after.public_screen_height;
    change.language_changed = before.language != after.language;
    change.coupons_in_play_changed = before.coupons_in_play != after.coupons_in_play;
    change.hall_server_changed = before.hall_server != after.hall_server ||
                                 before.hall_server_port != after.hall_server_port ||
                                 before.hall_server_address != after.hall_server_address;
    change.log_notes = GameNotes(before, after);
    return change;
}

} // namespace zorvi
