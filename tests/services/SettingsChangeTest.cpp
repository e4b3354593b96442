#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "Settings.h"
#include "SettingsChange.h"

namespace zorvi {
namespace {

struct ChangeRow {
    const char* name;
    std::function<void(Settings&)> edit;
    bool restart_game;
    bool reread_coupons;
    bool public_screen_changed;
    bool language_changed;
    // The game log's notes of the change.
    std::vector<std::string> notes = {};
};

class SettingsChangeTable : public ::testing::TestWithParam<ChangeRow> {};

TEST_P(SettingsChangeTable, TellsWhatTheEditBringsWithIt) {
    const ChangeRow& row = GetParam();
    const Settings before{Settings::NoLoad{}};
    Settings after = before;
    row.edit(after);
    SettingsChange expected;
    expected.restart_game = row.restart_game;
    expected.reread_coupons = row.reread_coupons;
    expected.public_screen_changed = row.public_screen_changed;
    expected.language_changed = row.language_changed;
    expected.log_notes = row.notes;
    EXPECT_EQ(SettingsChange::Between(before, after), expected);
}

// Columns: restart game, reread coupons, public screen changed, language changed.
INSTANTIATE_TEST_SUITE_P(
    Edits, SettingsChangeTable,
    ::testing::Values(
        ChangeRow{"Nothing", [](Settings&) {}, false, false, false, false},
        ChangeRow{"NumberCount",
                  [](Settings& s) { s.max_called_numbers = 90; },
                  true,
                  true,
                  false,
                  false,
                  {"Setting changed: number count 75 -> 90"}},
        ChangeRow{"Series",
                  [](Settings& s) { s.coupon_series = 2; },
                  true,
                  true,
                  false,
                  false,
                  {"Setting changed: coupon series A -> C"}},
        ChangeRow{
            "SeriesWithItsFreeMiddle",
            [](Settings& s) {
                s.coupon_series = 1;
                s.free_middle = 1;
            },
            true,
            true,
            false,
            false,
            {"Setting changed: coupon series A -> B", "Setting changed: free middle off -> on"}},
        ChangeRow{"FreeMiddle",
                  [](Settings& s) { s.free_middle = 1; },
                  true,
                  false,
                  false,
                  false,
                  {"Setting changed: free middle off -> on"}},
        ChangeRow{"BallSource", [](Settings& s) { s.ball_source = 1; }, true, false, false, false,
                  {"Setting changed: ball source this computer's draw -> the hall's ball "
                   "machine"}},
        ChangeRow{"BoardClickAsks", [](Settings& s) { s.confirm_board_entry = 0; }, false, false,
                  false, false, {"Setting changed: board click asks on -> off"}},
        ChangeRow{"NoAnimation",
                  [](Settings& s) { s.disable_animation = 1; },
                  true,
                  false,
                  false,
                  false,
                  {"Setting changed: animation on -> off"}},
        ChangeRow{"PublicScreenMode", [](Settings& s) { s.public_screen = 2; }, false, false, true,
                  false},
        ChangeRow{"PublicScreenWidth", [](Settings& s) { s.public_screen_width = 1280; }, false,
                  false, true, false},
        ChangeRow{"PublicScreenHeight", [](Settings& s) { s.public_screen_height = 1; }, false,
                  false, true, false},
        ChangeRow{"Language", [](Settings& s) { s.language = 2; }, false, false, false, true},
        // Read where they are used: nothing to redo.
        ChangeRow{"VoiceVolumeAndSwitches",
                  [](Settings& s) {
                      s.voice = "Matti";
                      s.volume = 80;
                      s.dialog_mode = 1;
                      s.enable_background_voice = 0;
                      s.enable_number_limit = 1;
                  },
                  false,
                  false,
                  false,
                  false,
                  {"Setting changed: number limit off -> on"}},
        ChangeRow{"Everything",
                  [](Settings& s) {
                      s.max_called_numbers = 90;
                      s.public_screen = 1;
                      s.language = 1;
                  },
                  true,
                  true,
                  true,
                  true,
                  {"Setting changed: number count 75 -> 90"}}),
    [](const auto& info) { return std::string(info.param.name); });

// The hall server is started, stopped or restarted for its own keys, and for nothing else.
TEST(SettingsChangeHallServer, FollowsItsOwnKeys) {
    const Settings before{Settings::NoLoad{}};
    const std::function<void(Settings&)> edits[] = {
        [](Settings& s) { s.hall_server = 1; },
        [](Settings& s) { s.hall_server_port = 9000; },
        [](Settings& s) { s.hall_server_address = "127.0.0.1"; },
    };
    for (const auto& edit : edits) {
        Settings after = before;
        edit(after);
        SettingsChange expected;
        expected.hall_server_changed = true;
        EXPECT_EQ(SettingsChange::Between(before, after), expected);
        EXPECT_FALSE(before == after);
    }
    Settings other = before;
    other.language = 1;
    other.public_screen = 2;
    EXPECT_FALSE(SettingsChange::Between(before, other).hall_server_changed);
}

TEST(SettingsRecord, ComparesEveryField) {
    const Settings a{Settings::NoLoad{}};
    Settings b = a;
    EXPECT_EQ(a, b);
    b.voice = "x";
    EXPECT_NE(a, b);
    b = a;
    b.coupons_in_play = "1-500";
    EXPECT_NE(a, b);
}

// Other coupons in play redo nothing of the game; the change is noted and the winners found anew.
TEST(SettingsChangeCoupons, OnlyTheCouponsInPlayChange) {
    const Settings before{Settings::NoLoad{}};
    Settings after = before;
    after.coupons_in_play = "1-500, 1201-1300";
    SettingsChange expected;
    expected.coupons_in_play_changed = true;
    EXPECT_EQ(SettingsChange::Between(before, after), expected);
    EXPECT_EQ(SettingsChange::Between(after, after), SettingsChange());
}

} // namespace
} // namespace zorvi
