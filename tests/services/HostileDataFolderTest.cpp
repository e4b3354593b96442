// Files of the data folder that are no files of the program: they are read only when they are
// regular files, never beyond a bound, never waited on; what cannot be used is set aside.
#include <gtest/gtest.h>

#include <regex>
#include <string>
#include <vector>

#include "Helpers.h"
#include "HostileFiles.h"
#include "RegularFile.h"
#include "SetAside.h"
#include "Settings.h"
#include "TestFolders.h"

namespace zorvi {
namespace {

namespace fs = std::filesystem;
using test::Hostile;
using test::TestFolders;

const Hostile kAllHostile[] = {Hostile::GarbageText, Hostile::BinaryJunk, Hostile::Junk50MB,
                               Hostile::Pipe,        Hostile::Endless,    Hostile::Folder};

// ---- Reading ------------------------------------------------------------------------------

TEST(RegularFileRead, OnlyRegularFilesUpToTheLimit) {
    TestFolders folders;
    const fs::path dir = folders.root();
    struct Case {
        const char* name;
        std::string bytes; // written as a regular file unless `hostile` is set
        const Hostile* hostile;
        std::uint64_t limit;
        FileRead expected;
        std::string content;
    };
    const Hostile pipe = Hostile::Pipe, endless = Hostile::Endless, folder = Hostile::Folder;
    const std::vector<Case> cases = {
        {"empty", "", nullptr, 10, FileRead::Ok, ""},
        {"short", "abc", nullptr, 10, FileRead::Ok, "abc"},
        {"exactlyTheLimit", "0123456789", nullptr, 10, FileRead::Ok, "0123456789"},
        {"oneByteOver", "0123456789X", nullptr, 10, FileRead::TooLarge, "0123456789"},
        {"farOver", std::string(200000, 'z'), nullptr, 70000, FileRead::TooLarge,
         std::string(70000, 'z')},
        {"pipe", "", &pipe, 10, FileRead::NotRegular, ""},
        {"endless", "", &endless, 10, FileRead::NotRegular, ""},
        {"folder", "", &folder, 10, FileRead::NotRegular, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const fs::path path = dir / c.name;
        if (c.hostile) {
            if (!test::PutHostile(path, *c.hostile))
                continue;
        } else {
            TestFolders::WriteFile(path, c.bytes);
        }
        std::string text = "stale";
        EXPECT_EQ(ReadRegularFile(path, c.limit, text), c.expected);
        EXPECT_EQ(text, c.content);
        std::vector<std::uint8_t> bytes(3, 1);
        EXPECT_EQ(ReadRegularFile(path, c.limit, bytes), c.expected);
        EXPECT_EQ(std::string(bytes.begin(), bytes.end()), c.content);
    }
    std::string none;
    EXPECT_EQ(ReadRegularFile(dir / "missing", 10, none), FileRead::Missing);
    // Windows grants symbolic links only to some users (and Wine has none).
    std::error_code linkError;
    fs::create_symlink(dir / "nowhere", dir / "dangling", linkError);
    if (!linkError) {
        EXPECT_EQ(ReadRegularFile(dir / "dangling", 10, none), FileRead::Missing);
    }
}

// ---- Setting aside ------------------------------------------------------------------------

class SetAside : public ::testing::Test {
protected:
    fs::path Data() const { return folders.dataFolder(); }
    TestFolders folders;
};

TEST_F(SetAside, MovesTheFileUnderANameOfWhatAndWhen) {
    TestFolders::WriteFile(Data() / "state.ini", "junk");
    const std::optional<std::string> name = Helpers::SetAsideFile("state.ini");
    ASSERT_TRUE(name);
    EXPECT_TRUE(
        std::regex_match(*name, std::regex(R"(state\.ini\.corrupt-\d{4}-\d{2}-\d{2}-\d{6})")))
        << *name;
    EXPECT_FALSE(fs::exists(Data() / "state.ini"));
    EXPECT_EQ(TestFolders::ReadFile(Data() / *name), "junk");
    EXPECT_EQ(Helpers::SetAsideCopies("state.ini"), std::vector<std::string>{*name});
    // Nothing there: nothing to do.
    EXPECT_FALSE(Helpers::SetAsideFile("state.ini"));
}

TEST_F(SetAside, KeepsOnlyTheNewestCopies) {
    std::vector<std::string> names;
    for (int i = 0; i < Helpers::kKeptSetAsideCopies + 2; ++i) {
        TestFolders::WriteFile(Data() / "settings.ini", "junk " + std::to_string(i));
        const auto name = Helpers::SetAsideFile("settings.ini");
        ASSERT_TRUE(name);
        names.push_back(*name);
    }
    const std::vector<std::string> kept = Helpers::SetAsideCopies("settings.ini");
    ASSERT_EQ(kept.size(), static_cast<std::size_t>(Helpers::kKeptSetAsideCopies));
    EXPECT_EQ(kept.back(), names.back());
    EXPECT_EQ(TestFolders::ReadFile(Data() / kept.back()),
              "junk " + std::to_string(Helpers::kKeptSetAsideCopies + 1));
    EXPECT_FALSE(fs::exists(Data() / names.front()));
    // Another file's copies are not counted or touched.
    EXPECT_TRUE(Helpers::SetAsideCopies("state.ini").empty());
}

TEST_F(SetAside, MovesWhatIsNoFileWithoutOpeningIt) {
    for (const Hostile kind : {Hostile::Pipe, Hostile::Endless, Hostile::Folder}) {
        SCOPED_TRACE(test::HostileName(kind));
        fs::create_directories(Data());
        if (!test::PutHostile(Data() / "state.ini", kind))
            continue;
        const auto name = Helpers::SetAsideFile("state.ini");
        ASSERT_TRUE(name);
        EXPECT_FALSE(fs::exists(fs::symlink_status(Data() / "state.ini")));
        EXPECT_TRUE(fs::exists(fs::symlink_status(Data() / *name)));
        if (kind == Hostile::Folder) {
            EXPECT_EQ(TestFolders::ReadFile(Data() / *name / "inside"), "kept");
        }
    }
}

// ---- Settings -----------------------------------------------------------------------------

class HostileSettings : public ::testing::TestWithParam<Hostile> {
protected:
    TestFolders folders;
};

TEST_P(HostileSettings, AreSetAsideOnceAndTheDefaultsUsed) {
    const fs::path data = folders.dataFolder();
    fs::create_directories(data);
    if (!test::PutHostile(data / "settings.ini", GetParam()))
        GTEST_SKIP() << "cannot be made here";

    const Settings settings;
    const Settings builtIn{Settings::NoLoad{}};
    EXPECT_EQ(settings.max_called_numbers, builtIn.max_called_numbers);
    EXPECT_EQ(settings.public_screen_height, builtIn.public_screen_height);
    EXPECT_EQ(settings.volume, builtIn.volume);
    ASSERT_FALSE(settings.SetAsideAs().empty());
    EXPECT_FALSE(settings.LeftInPlace());
    EXPECT_EQ(Helpers::SetAsideCopies("settings.ini"),
              std::vector<std::string>{settings.SetAsideAs()});
    if (test::HostileSize(GetParam()) > 0) {
        EXPECT_EQ(fs::file_size(data / settings.SetAsideAs()), test::HostileSize(GetParam()));
    }
    // The first save writes a clean file of every key; the next start finds it good.
    ASSERT_TRUE(settings.SaveSettings());
    EXPECT_LT(fs::file_size(data / "settings.ini"), 400u);
    EXPECT_EQ(TestFolders::ReadFile(data / "settings.ini").rfind("[common]", 0), 0u);
    const Settings again;
    EXPECT_TRUE(again.SetAsideAs().empty());
    EXPECT_EQ(Helpers::SetAsideCopies("settings.ini").size(), 1u);
}

INSTANTIATE_TEST_SUITE_P(Files, HostileSettings, ::testing::ValuesIn(kAllHostile),
                         [](const auto& info) { return test::HostileName(info.param); });

TEST(SettingsFileKinds, OnlyAFileWithNothingUsableIsSetAside) {
    struct Case {
        const char* name;
        std::string bytes;
        bool setAside;
    };
    const std::vector<Case> cases = {
        {"headingOnly", "[common]\n", false},
        {"empty", "", false},
        {"blankLines", "\n \r\n\t\n", false},
        {"otherSectionsToo", "[other]\nx=1\n[Common]\nvolume=40\n", false},
        {"keysWithoutHeading", "volume=40\nlanguage=2\n", true},
        {"otherSectionOnly", "[window]\nx=1\n", true},
        {"justOverTheBound", "[common]\nvolume=40\n;" + std::string(kIniFileLimit, 'x'), true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TestFolders folders;
        TestFolders::WriteFile(folders.dataFolder() / "settings.ini", c.bytes);
        const Settings settings;
        EXPECT_EQ(!settings.SetAsideAs().empty(), c.setAside);
        EXPECT_EQ(fs::exists(folders.dataFolder() / "settings.ini"), !c.setAside);
    }
}

// ---- Saving -------------------------------------------------------------------------------

TEST(ReplaceIniFile, CostsTheNewContentOnlyAndNeverOverwritesWhatIsNoFile) {
    TestFolders folders;
    const fs::path file = folders.dataFolder() / "state.ini";
    // A file that loads (its section is there) with megabytes of junk lines around it.
    TestFolders::WriteFile(file, "[common]\nnumber_count=3\n" + std::string(3u << 20, ';') + "\n");
    ASSERT_TRUE(Helpers::ReplaceIniFile("state.ini", {{"number_count", "4"}, {"winners", ""}}));
    EXPECT_EQ(TestFolders::ReadFile(file),
              TestFolders::NewFileLines("[common]\nnumber_count=4\nwinners=\n"));
    const auto written = fs::last_write_time(file);
    ASSERT_TRUE(Helpers::ReplaceIniFile("state.ini", {{"number_count", "4"}, {"winners", ""}}));
    EXPECT_EQ(fs::last_write_time(file), written); // unchanged: not written again

    for (const Hostile kind : {Hostile::Pipe, Hostile::Endless, Hostile::Folder}) {
        SCOPED_TRACE(test::HostileName(kind));
        fs::remove(file);
        if (!test::PutHostile(file, kind))
            continue;
        EXPECT_FALSE(Helpers::ReplaceIniFile("state.ini", {{"number_count", "4"}}));
        EXPECT_FALSE(Helpers::WriteIniValues("state.ini", {{"number_count", "4"}}));
        EXPECT_FALSE(fs::is_regular_file(fs::symlink_status(file)));
        fs::remove_all(file);
    }
}

} // namespace
} // namespace zorvi
