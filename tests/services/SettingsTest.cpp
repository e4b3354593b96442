#include <gtest/gtest.h>

#include <sstream>

#include "Helpers.h"
#include "Settings.h"
#include "TestFolders.h"

namespace zorvi {
namespace {

namespace fs = std::filesystem;
using test::TestFolders;

class SettingsFile : public ::testing::Test {
protected:
    fs::path File() const { return folders.dataFolder() / "settings.ini"; }
    void Put(const std::string& body) { TestFolders::WriteFile(File(), "[common]\n" + body); }

    TestFolders folders;
};

void ExpectBuiltInExceptSizes(const Settings& s) {
    EXPECT_EQ(s.max_called_numbers, 75);
    EXPECT_EQ(s.language, 0);
    EXPECT_EQ(s.public_screen, 0);
    EXPECT_EQ(s.free_middle, 0);
    EXPECT_EQ(s.voice, "");
    EXPECT_EQ(s.coupon_series, 0);
    EXPECT_EQ(s.dialog_mode, 0);
    EXPECT_EQ(s.volume, 25);
    EXPECT_EQ(s.enable_background_voice, 1);
    EXPECT_EQ(s.enable_number_limit, 0);
    EXPECT_EQ(s.disable_animation, 0);
    EXPECT_EQ(s.hall_server, 0);
    EXPECT_EQ(s.hall_server_port, 8765);
    EXPECT_EQ(s.hall_server_address, "");
}

TEST_F(SettingsFile, FirstRunUsesBuiltInValuesAndCreatesNoFile) {
    const Settings s;
    ExpectBuiltInExceptSizes(s);
    EXPECT_EQ(s.public_screen_height, 0);
    EXPECT_EQ(s.public_screen_width, 0);
    EXPECT_TRUE(fs::is_directory(folders.dataFolder()));
    EXPECT_FALSE(fs::exists(File()));
}

TEST_F(SettingsFile, AbsentKeysGiveTheirReadDefaults) {
    Put("");
    const Settings s;
    ExpectBuiltInExceptSizes(s);
    EXPECT_EQ(s.public_screen_height, 800);
    EXPECT_EQ(s.public_screen_width, 600);
}

TEST_F(SettingsFile, NoLoadTouchesNoFiles) {
    Put("language=2\n");
    const Settings s{Settings::NoLoad{}};
    EXPECT_EQ(s.language, 0);
    EXPECT_EQ(s.public_screen_height, 0);
}

TEST_F(SettingsFile, FreshSaveWritesEveryKeyInSaveOrder) {
    fs::remove_all(folders.dataFolder()); // the save creates the folder
    Settings s{Settings::NoLoad{}};
    s.max_called_numbers = 90;
    s.language = 2;
    s.free_middle = 1;
    s.public_screen = 1;
    s.public_screen_height = 1080;
    s.public_screen_width = 1920;
    s.voice = "Äänet";
    s.coupon_series = 2;
    s.dialog_mode = 1;
    s.volume = 80;
    s.enable_background_voice = 0;
    s.enable_number_limit = 1;
    s.disable_animation = 1;
    s.ball_source = 1;
    s.confirm_board_entry = 0;
    s.coupons_in_play = "1-500, 1201-1300";
    s.hall_server = 1;
    s.hall_server_port = 1024;
    s.hall_server_address = "192.168.1.10";
    ASSERT_TRUE(s.SaveSettings());
    EXPECT_EQ(TestFolders::ReadFile(File()), TestFolders::NewFileLines("[common]\n"
                                                                       "max_called_numbers=90\n"
                                                                       "language=2\n"
                                                                       "free_middle=1\n"
                                                                       "public_screen=1\n"
                                                                       "public_screen_height=1080\n"
                                                                       "public_screen_width=1920\n"
                                                                       "voice=Äänet\n"
                                                                       "coupon_series=2\n"
                                                                       "dialog_mode=1\n"
                                                                       "volume=80\n"
                                                                       "enable_background_voice=0\n"
                                                                       "enable_number_limit=1\n"
                                                                       "disable_animation=1\n"
                                                                       "ball_source=1\n"
                                                                       "confirm_board_entry=0\n"
                                                                       "coupons_in_play=1-500, "
                                                                       "1201-1300\n"
                                                                       "hall_server=1\n"
                                                                       "hall_server_port=1024\n"
                                                                       "hall_server_address="
                                                                       "192.168.1.10\n"));

    const Settings back;
    EXPECT_EQ(back.max_called_numbers, 90);
    EXPECT_EQ(back.language, 2);
    EXPECT_EQ(back.free_middle, 1);
    EXPECT_EQ(back.public_screen, 1);
    EXPECT_EQ(back.public_screen_height, 1080);
    EXPECT_EQ(back.public_screen_width, 1920);
    EXPECT_EQ(back.voice, "Äänet");
    EXPECT_EQ(back.coupon_series, 2);
    EXPECT_EQ(back.dialog_mode, 1);
    EXPECT_EQ(back.volume, 80);
    EXPECT_EQ(back.enable_background_voice, 0);
    EXPECT_EQ(back.enable_number_limit, 1);
    EXPECT_EQ(back.disable_animation, 1);
    EXPECT_EQ(back.coupons_in_play, "1-500, 1201-1300");
    EXPECT_EQ(back.hall_server, 1);
    EXPECT_EQ(back.hall_server_port, 1024);
    EXPECT_EQ(back.hall_server_address, "192.168.1.10");
    EXPECT_TRUE(back == s);
}

TEST_F(SettingsFile, SaveKeepsForeignLinesAndEditsInPlace) {
    Put("volume=5\nextra=kept\n");
    Settings s;
    s.volume = 60;
    ASSERT_TRUE(s.SaveSettings());
    const std::string text = TestFolders::ReadFile(File());
    EXPECT_EQ(text.rfind("[common]\nvolume=60\nextra=kept\nmax_called_numbers=75\n", 0), 0u)
        << text;
}

struct HostileCase {
    const char* line;
    int Settings::*field;
    int expected;
};

TEST_F(SettingsFile, OutOfRangeValuesAreMadeSafeOnRead) {
    const HostileCase cases[] = {
        {"language=7", &Settings::language, 0},
        {"language=-1", &Settings::language, 0},
        {"language=2", &Settings::language, 2},
        {"max_called_numbers=80", &Settings::max_called_numbers, 75},
        {"max_called_numbers=0", &Settings::max_called_numbers, 75},
        {"max_called_numbers=90", &Settings::max_called_numbers, 90},
        {"public_screen=5", &Settings::public_screen, 0},
        {"public_screen=2", &Settings::public_screen, 2},
        {"coupon_series=3", &Settings::coupon_series, 0},
        {"coupon_series=-2", &Settings::coupon_series, 0},
        {"public_screen_height=-5", &Settings::public_screen_height, 0},
        {"public_screen_width=-600", &Settings::public_screen_width, 0},
        {"public_screen_width=123456", &Settings::public_screen_width, 99999},
        {"volume=101", &Settings::volume, 100},
        {"volume=-3", &Settings::volume, 0},
        {"free_middle=2", &Settings::free_middle, 0},
        {"free_middle=1", &Settings::free_middle, 1},
        {"dialog_mode=-1", &Settings::dialog_mode, 0},
        {"enable_background_voice=5", &Settings::enable_background_voice, 0},
        {"enable_background_voice=", &Settings::enable_background_voice, 1},
        {"enable_number_limit=7", &Settings::enable_number_limit, 0},
        {"disable_animation=abc", &Settings::disable_animation, 0},
        {"hall_server=2", &Settings::hall_server, 0},
        {"hall_server=1", &Settings::hall_server, 1},
        {"hall_server_port=80", &Settings::hall_server_port, 8765},
        {"hall_server_port=1023", &Settings::hall_server_port, 8765},
        {"hall_server_port=1024", &Settings::hall_server_port, 1024},
        {"hall_server_port=65535", &Settings::hall_server_port, 65535},
        {"hall_server_port=65536", &Settings::hall_server_port, 8765},
        {"hall_server_port=-8765", &Settings::hall_server_port, 8765},
        {"hall_server_port=99999999999", &Settings::hall_server_port, 8765},
        {"hall_server_port=", &Settings::hall_server_port, 8765},
    };
    for (const HostileCase& c : cases) {
        Put(std::string(c.line) + "\n");
        const Settings s;
        EXPECT_EQ(s.*c.field, c.expected) << c.line;
    }
}

// Ranges that do not read become the whole series; the file's other values are kept.
TEST_F(SettingsFile, CouponsInPlayAreReadAsRangesOrTheWholeSeries) {
    const std::pair<std::string, std::string> cases[] = {
        {"1-500, 1201-1300", "1-500, 1201-1300"},
        {"1201-1300,1-500 ,7", "1-500, 1201-1300"},
        {"", ""},
        {"500-1", ""},
        {"0-10", ""},
        {"1-99999999999999999999", ""},
        {"abc", ""},
        {std::string(3000, '1'), ""},
        // Longer than the settings reader's usual 259 characters, and still taken whole.
        {[] {
             std::string many;
             for (int i = 1; i <= 100; ++i)
                 many += std::to_string(i * 10) + ", ";
             return many;
         }(),
         [] {
             std::string many;
             for (int i = 1; i <= 100; ++i)
                 many += (i > 1 ? ", " : "") + std::to_string(i * 10);
             return many;
         }()},
    };
    for (const auto& [stored, expected] : cases) {
        Put("language=2\ncoupons_in_play=" + stored + "\nvolume=60\n");
        const Settings s;
        EXPECT_EQ(s.coupons_in_play, expected) << stored;
        EXPECT_EQ(s.language, 2);
        EXPECT_EQ(s.volume, 60);
    }
}

TEST_F(SettingsFile, VoiceMustBeAPlainFolderName) {
    const std::pair<std::string, std::string> cases[] = {
        {"../x", ""},
        {"a/b", ""},
        {"a\\b", ""},
        {"C:x", ""},
        {".", ""},
        {"..", ""},
        {".hidden", ""},
        {"Äänet", "Äänet"},
        {"  Matti  ", "Matti"},
        {std::string(300, 'v'), std::string(259, 'v')},
    };
    for (const auto& [stored, expected] : cases) {
        Put("voice=" + stored + "\n");
        EXPECT_EQ(Settings().voice, expected) << stored;
    }
}

// The server listens only on an address's text; anything else means every address.
TEST_F(SettingsFile, HallServerAddressMustBeAnAddress) {
    const std::pair<std::string, std::string> cases[] = {
        {"192.168.1.10", "192.168.1.10"},
        {"127.0.0.1", "127.0.0.1"},
        {"::1", "::1"},
        {"fd00::1:2", "fd00::1:2"},
        {"::ffff:10.0.0.1", "::ffff:10.0.0.1"},
        {"2001:db8:0:0:0:0:0:1", "2001:db8:0:0:0:0:0:1"},
        {"::", "::"},
        {"1::2::3", ""},
        {"1:2:3:4:5:6:7:8:9", ""},
        {"1:2:3", ""},
        {"12345::1", ""},
        {":1", ""},
        {"::1:", ""},
        {"::1.2.3", ""},
        {"", ""},
        {"localhost", ""},
        {"192.168.1", ""},
        {"192.168.1.10.5", ""},
        {"192.168.1.256", ""},
        {"192.168.01.10", ""},
        {"192.168.1.", ""},
        {"192.168.1.10:8765", ""},
        {"[::1]", ""},
        {"fe80::1%eth0", ""},
        {"1.2.3.4; rm -rf /", ""},
        {std::string(300, '1'), ""},
    };
    for (const auto& [stored, expected] : cases) {
        Put("hall_server_address=" + stored + "\n");
        EXPECT_EQ(Settings().hall_server_address, expected) << stored;
    }
}

TEST(SettingsVoiceName, IsSafeVoiceName) {
    EXPECT_TRUE(Settings::IsSafeVoiceName("Äänet"));
    EXPECT_TRUE(Settings::IsSafeVoiceName(std::string(259, 'v')));
    EXPECT_FALSE(Settings::IsSafeVoiceName(std::string(260, 'v')));
    EXPECT_FALSE(Settings::IsSafeVoiceName(""));
    EXPECT_FALSE(Settings::IsSafeVoiceName(std::string("a\0b", 3)));
}

} // namespace
} // namespace zorvi
