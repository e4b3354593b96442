#include "SettingsChange.h"

#include "Settings.h"

namespace zorvi {

SettingsChange SettingsChange::Between(const Settings& before, const Settings& after) {
    const bool count = before.max_called_numbers != after.max_called_numbers;
    const bool series = before.coupon_series != after.coupon_series;
    SettingsChange change;
    change.reread_coupons = count || series;
    change.restart_game = count || series || before.free_middle != after.free_middle ||
                          before.disable_animation != after.disable_animation;
    change.public_screen_changed = before.public_screen != after.public_screen ||
                                   before.public_screen_width != after.public_screen_width ||
                                   before.public_screen_height != after.public_screen_height;
    change.language_changed = before.language != after.language;
    change.coupons_in_play_changed = before.coupons_in_play != after.coupons_in_play;
    change.hall_server_changed = before.hall_server != after.hall_server ||
                                 before.hall_server_port != after.hall_server_port ||
                                 before.hall_server_address != after.hall_server_address;
    return change;
}

} // namespace zorvi
