#pragma once

#include <string>

#include "GameRules.h"

namespace zorvi {

// The operator's choices, read from "settings.ini" in the data folder when built.
// Values are made safe as they are read (see LoadSettings), so no field can index
// outside a table or name a path outside the voice folder.
class Settings {
public:
    Settings(); // built-in values, then LoadSettings
    // Built-in values only, no file access (tests, tools).
    struct NoLoad {};
    explicit Settings(NoLoad);
    virtual ~Settings() = default;
    // Copied to compare a record before and after the operator's edit (SettingsChange).
    Settings(const Settings&) = default;
    Settings& operator=(const Settings&) = default;
    // The same choices: equal in every stored value.
    friend bool operator==(const Settings& a, const Settings& b);

    void LoadSettings();
    // Writes every key as one replacement of "settings.ini"; false when it failed.
    bool SaveSettings() const;

    int max_called_numbers = GameRules::kDefaultNumberCount;
    int language = 0;
    int public_screen = 0;
    int free_middle = 0;
    int public_screen_height = 0;
    int public_screen_width = 0;
    std::string voice;
    int coupon_series = 0;
    int dialog_mode = 0;
    int volume = 25;
    int enable_background_voice = 1;
    int enable_number_limit = 0;
    int disable_animation = 0;
    // Where the balls come from: 0 this computer's draw, 1 the hall's ball machine (the
    // operator enters each ball). It takes effect with the next game.
    int ball_source = 0;
    // 1: a click on a number of the board asks before entering it as a ball.
    int confirm_board_entry = 1;
    // The coupons sold tonight, as CouponsInPlay writes them ("1-500, 1201-1300"); empty for
    // the whole series.
    std::string coupons_in_play;
    // The hall server: off (0) or on (1), its port, and the one address it listens on
    // (empty: every address of the machine).
    int hall_server = 0;
    int hall_server_port = kDefaultHallServerPort;
    std::string hall_server_address;

    static constexpr int kDefaultHallServerPort = 8765;
    static constexpr int kMinHallServerPort = 1024;
    static constexpr int kMaxHallServerPort = 65535;

    static constexpr const char* kFileName = "settings.ini";

    // What the load did with a "settings.ini" it could not use, for the start-up to tell the
    // operator: the name it was set aside under, or that it stays where it is (it could not be
    // read, or not be moved; it is then never overwritten). Empty and false after a normal load.
    const std::string& SetAsideAs() const { return set_aside_as_; }
    bool LeftInPlace() const { return left_in_place_; }

    // True when a voice name can be used as a folder name under "audio".
    static bool IsSafeVoiceName(const std::string& name);
    // True for the text of an IPv4 or IPv6 address (no names, no ports, no zones); the hall
    // server listens on nothing else.
    static bool IsAddressText(const std::string& text);

private:
    std::string set_aside_as_;
    bool left_in_place_ = false;
};

} // namespace zorvi
