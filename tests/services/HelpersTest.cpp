#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <csignal>
#include <cstdlib>
#ifndef _WIN32
#include <sys/resource.h>
#include <sys/stat.h>
#endif

#include "AtomicFile.h"
#include "Helpers.h"
#include "TestEnvironment.h"
#include "TestFolders.h"

namespace zorvi {
namespace {

namespace fs = std::filesystem;
using test::TestFolders;

class IniFiles : public ::testing::Test {
protected:
    void SetUp() override { fs::create_directories(folders.dataFolder()); }
    fs::path Ini(const std::string& name) const { return folders.dataFolder() / name; }
    void Put(const std::string& name, const std::string& bytes) {
        TestFolders::WriteFile(Ini(name), bytes);
    }
    std::string Get(const std::string& name) const { return TestFolders::ReadFile(Ini(name)); }
    // Anything in the data folder besides the named files, such as a leftover temporary.
    std::vector<std::string> Strays(const std::vector<std::string>& expected) const {
        std::vector<std::string> strays;
        for (const auto& entry : fs::directory_iterator(folders.dataFolder())) {
            const std::string name = entry.path().filename().string();
            if (std::find(expected.begin(), expected.end(), name) == expected.end())
                strays.push_back(name);
        }
        return strays;
    }

    TestFolders folders;
};

struct IntCase {
    const char* stored; // nullptr: key absent
    int expected;
};

TEST_F(IniFiles, ReadIniIntTakesTheNumberAtTheStart) {
    const IntCase cases[] = {
        {" 12abc", 12},
        {"-5", -5},
        {"+7", 7},
        {"abc", 0},
        {"", -1},
        {nullptr, -1},
        {"99999999999", INT_MAX},
        {"-99999999999", INT_MIN},
        {"2147483647", INT_MAX},
        {"-2147483648", INT_MIN},
        {"--3", 0},
        {"\t42 ", 42},
        {"0090", 90},
    };
    for (const IntCase& c : cases) {
        const std::string body = c.stored ? std::string("value=") + c.stored + "\n" : "";
        Put("t.ini", "[common]\n" + body);
        EXPECT_EQ(Helpers::ReadIniInt("t.ini", "value", -1), c.expected)
            << "stored: " << (c.stored ? c.stored : "(absent)");
    }
}

TEST_F(IniFiles, MissingFileSectionOrFolderGivesDefaults) {
    EXPECT_EQ(Helpers::ReadIniInt("none.ini", "a", 4), 4);
    EXPECT_EQ(Helpers::ReadIniString("none.ini", "a", "d"), "d");
    EXPECT_FALSE(Helpers::IniFileExists("none.ini"));

    Put("t.ini", "[other]\na=1\n");
    EXPECT_EQ(Helpers::ReadIniInt("t.ini", "a", 4), 4);
    EXPECT_TRUE(Helpers::IniFileExists("t.ini"));

    fs::remove_all(folders.dataFolder());
    EXPECT_EQ(Helpers::ReadIniInt("t.ini", "a", 4), 4);
    EXPECT_EQ(Helpers::ReadIniStringWhole("t.ini", "a", "d"), "d");
}

TEST_F(IniFiles, WriteNeedsTheDataFolder) {
    fs::remove_all(folders.dataFolder());
    EXPECT_FALSE(Helpers::WriteIniInt("t.ini", "a", 1));
    EXPECT_FALSE(fs::exists(folders.dataFolder()));
}

TEST_F(IniFiles, LongStringReadsBackCutTo259) {
    const std::string longText(300, 'x');
    ASSERT_TRUE(Helpers::WriteIniString("t.ini", "voice", longText));
    EXPECT_EQ(Helpers::ReadIniString("t.ini", "voice", ""), std::string(259, 'x'));
    EXPECT_EQ(Helpers::ReadIniStringWhole("t.ini", "voice", ""), longText);
}

TEST_F(IniFiles, CutNeverSplitsAUtf8Character) {
    // "Ä" is two bytes and would straddle byte 259.
    ASSERT_TRUE(Helpers::WriteIniString("t.ini", "voice", std::string(258, 'a') + "Äb"));
    EXPECT_EQ(Helpers::ReadIniString("t.ini", "voice", ""), std::string(258, 'a'));
    ASSERT_TRUE(Helpers::WriteIniString("t.ini", "voice", std::string(257, 'a') + "Äb"));
    EXPECT_EQ(Helpers::ReadIniString("t.ini", "voice", ""), std::string(257, 'a') + "Ä");
}

TEST_F(IniFiles, WritesCreateFileAndSectionAndEditInPlace) {
    ASSERT_TRUE(Helpers::WriteIniInt("t.ini", "b", 2));
    ASSERT_TRUE(Helpers::WriteIniString("t.ini", "voice", "Äänet"));
    ASSERT_TRUE(Helpers::WriteIniInt("t.ini", "B", -3));
    EXPECT_EQ(Get("t.ini"), TestFolders::NewFileLines("[common]\nB=-3\nvoice=Äänet\n"));
    EXPECT_EQ(Helpers::ReadIniString("t.ini", "voice", ""), "Äänet");

    Put("u.ini", "[common]\r\nx=1\r\n[more]\r\ny=2\r\n");
    ASSERT_TRUE(Helpers::WriteIniInt("u.ini", "z", 3));
    EXPECT_EQ(Get("u.ini"), "[common]\r\nx=1\r\nz=3\r\n[more]\r\ny=2\r\n");
    EXPECT_EQ(Helpers::ReadIniInt("u.ini", "Z", 0), 3);
}

TEST_F(IniFiles, WriteIniValuesEqualsOneWritePerKey) {
    const std::vector<std::pair<std::string, std::string>> values = {
        {"c", "3"}, {"a", "10"}, {"new", "x y"}, {"C", "30"}};
    for (const std::string start : {"", "; top\n[other]\nc=0\n[common]\na=1\n\nb=2\n"}) {
        if (!start.empty())
            Put("t.ini", start);
        for (const auto& [key, value] : values)
            ASSERT_TRUE(Helpers::WriteIniString("t.ini", key, value));
        const std::string oneByOne = Get("t.ini");
        fs::remove(Ini("t.ini"));

        if (!start.empty())
            Put("t.ini", start);
        ASSERT_TRUE(Helpers::WriteIniValues("t.ini", values));
        EXPECT_EQ(Get("t.ini"), oneByOne);
        fs::remove(Ini("t.ini"));
    }
}

#ifndef _WIN32
// Inode numbers show a replaced file; Windows has no such cheap identity.
TEST_F(IniFiles, UnchangedContentIsNotWrittenAgain) {
    ASSERT_TRUE(Helpers::WriteIniValues("t.ini", {{"a", "1"}, {"b", "2"}}));
    struct stat before {};
    ASSERT_EQ(::stat(Ini("t.ini").c_str(), &before), 0);

    ASSERT_TRUE(Helpers::WriteIniValues("t.ini", {{"b", "2"}, {"a", "1"}}));
    struct stat same {};
    ASSERT_EQ(::stat(Ini("t.ini").c_str(), &same), 0);
    EXPECT_EQ(same.st_ino, before.st_ino);

    // A change replaces the file: a new inode, the same name.
    ASSERT_TRUE(Helpers::WriteIniValues("t.ini", {{"a", "5"}}));
    struct stat changed {};
    ASSERT_EQ(::stat(Ini("t.ini").c_str(), &changed), 0);
    EXPECT_NE(changed.st_ino, before.st_ino);
    EXPECT_EQ(Get("t.ini"), "[common]\na=5\nb=2\n");
}
#endif

TEST_F(IniFiles, AtomicWriteLeavesNoTemporaryAndKeepsMode) {
    Put("t.ini", "old");
#ifndef _WIN32 // Windows keeps only a read-only bit
    fs::permissions(Ini("t.ini"),
                    fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
#endif
    ASSERT_TRUE(WriteFileAtomically(Ini("t.ini"), "new content"));
    EXPECT_EQ(Get("t.ini"), "new content");
#ifndef _WIN32
    EXPECT_EQ(fs::status(Ini("t.ini")).permissions(),
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
#endif
    EXPECT_TRUE(Strays({"t.ini"}).empty());
    EXPECT_EQ(ReadWholeFile(Ini("t.ini")), "new content");
    EXPECT_EQ(ReadWholeFile(Ini("none")), std::nullopt);
}

TEST_F(IniFiles, FailedAtomicWriteReturnsFalseAndKeepsOldFile) {
    // A folder that is a plain file: nothing can be created in it, not even by root.
    Put("blocker", "plain file");
    EXPECT_FALSE(WriteFileAtomically(Ini("blocker") / "t.ini", "x"));

#ifndef _WIN32 // a file size limit that makes a write fail half-way is POSIX (setrlimit)
    // A write that fails half-way (file size limit) must leave the old file whole.
    Put("t.ini", "[common]\na=1\n");
    rlimit old{};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &old), 0);
    const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = old;
    small.rlim_cur = 16;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
    const bool written = Helpers::WriteIniString("t.ini", "b", std::string(100, 'b'));
    ::setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, previousHandler);

    EXPECT_FALSE(written);
    EXPECT_EQ(Get("t.ini"), "[common]\na=1\n");
    EXPECT_TRUE(Strays({"t.ini", "blocker"}).empty());
#endif
}

TEST_F(IniFiles, UnreadableExistingFileIsNotOverwritten) {
    fs::create_directories(Ini("t.ini")); // exists but cannot be read as a file
    EXPECT_FALSE(Helpers::WriteIniInt("t.ini", "a", 1));
    EXPECT_TRUE(fs::is_directory(Ini("t.ini")));
}

#ifdef _WIN32
TEST(Folders, DataFolderFollowsAppDataThenTemp) {
    TestFolders folders;
    EXPECT_EQ(Helpers::GetDataFolder(), folders.dataFolder());
    test::ScopedEnvironment noAppData("APPDATA", std::nullopt);
    EXPECT_EQ(Helpers::GetDataFolder(), fs::temp_directory_path() / "ZORVI");
}
#else
TEST(Folders, DataFolderFollowsXdgThenHomeThenTemp) {
    TestFolders folders;
    EXPECT_EQ(Helpers::GetDataFolder(), folders.dataFolder());

    {
        test::ScopedEnvironment home("HOME", folders.root().string());
        test::ScopedEnvironment xdg("XDG_DATA_HOME", "relative/path"); // not absolute: ignored
        EXPECT_EQ(Helpers::GetDataFolder(), folders.root() / ".local" / "share" / "ZORVI");
    }
    test::ScopedEnvironment noHome("HOME", std::nullopt);
    test::ScopedEnvironment noXdg("XDG_DATA_HOME", std::nullopt);
    EXPECT_EQ(Helpers::GetDataFolder(), fs::temp_directory_path() / "ZORVI");
}
#endif

TEST(Folders, EnsureDataFolderCreatesMissingParents) {
    TestFolders folders;
    test::SetEnvironment(test::kDataHomeVariable, (folders.root() / "a" / "b").string());
    Helpers::EnsureDataFolder();
    EXPECT_TRUE(fs::is_directory(folders.root() / "a" / "b" / "ZORVI"));
    Helpers::EnsureDataFolder(); // existing folder: no harm
}

TEST(Folders, ProgramFolderIsTheFirstWorkingDirectory) {
    TestFolders folders;
    const fs::path first = Helpers::GetProgramFolder();
    EXPECT_EQ(first, fs::current_path());
    fs::create_directories(folders.root() / "elsewhere");
    fs::current_path(folders.root() / "elsewhere");
    EXPECT_EQ(Helpers::GetProgramFolder(), first);
}

// A working directory with the program's files keeps its meaning; otherwise an installed
// program finds them beside its executable; with neither, the working directory as before.
TEST(Folders, ProgramFolderIsTheWorkingDirectoryOrTheInstalledOne) {
    TestFolders folders;
    const fs::path work = folders.root() / "work";
    const fs::path share = folders.root() / "usr" / "share" / "zorvi";
    const fs::path bin = folders.root() / "usr" / "bin";
    fs::create_directories(work);
    fs::create_directories(bin);
    const std::vector<fs::path> installed = {share, bin};

    EXPECT_EQ(Helpers::ChooseProgramFolder(work, installed), work); // nothing anywhere
    fs::create_directories(share / "html" / "en");
    EXPECT_EQ(Helpers::ChooseProgramFolder(work, installed), share);
    fs::create_directories(bin / "audio");
    EXPECT_EQ(Helpers::ChooseProgramFolder(work, installed), share); // first one wins
    fs::remove_all(share);
    EXPECT_EQ(Helpers::ChooseProgramFolder(work, installed), bin); // a portable folder
    fs::create_directories(work / "audio");
    EXPECT_EQ(Helpers::ChooseProgramFolder(work, installed), work);
    TestFolders::WriteFile(work / "html", "a plain file is no page folder");
    fs::remove_all(work / "audio");
    EXPECT_EQ(Helpers::ChooseProgramFolder(work, installed), bin);
}

TEST(Folders, InstalledFoldersAreFoundFromTheExecutable) {
    const std::vector<fs::path> installed = Helpers::InstalledProgramFolders();
    ASSERT_EQ(installed.size(), 2u);
    EXPECT_TRUE(fs::is_directory(installed[1])); // the folder of this test program
    EXPECT_EQ(installed[0], (installed[1].parent_path() / "share" / "zorvi").lexically_normal());
}

TEST(Folders, ListSubfoldersSkipsDotFoldersAndFiles) {
    TestFolders folders;
    const fs::path audio = folders.programFolder() / "audio";
    for (const char* name : {"Matti", "Äänet", ".hidden", ".git"})
        fs::create_directories(audio / TestFolders::Utf8Path(name));
    TestFolders::WriteFile(audio / "AudioLoop.exe", "MZ");
    TestFolders::WriteFile(audio / "silence.wav", "RIFF");

    std::vector<std::string> names = Helpers::ListSubfolders("audio");
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"Matti", "Äänet"}));
    EXPECT_TRUE(Helpers::ListSubfolders("missing").empty());
}

TEST(NumberLists, LabelsAndSequence) {
    const auto labels = Helpers::MakeNumberLabels(75);
    ASSERT_EQ(labels.size(), 75u);
    EXPECT_EQ(labels.front(), "1");
    EXPECT_EQ(labels[9], "10");
    EXPECT_EQ(labels.back(), "75");
    const auto numbers = Helpers::MakeNumberSequence(90);
    ASSERT_EQ(numbers.size(), 90u);
    for (int i = 0; i < 90; ++i)
        ASSERT_EQ(numbers[static_cast<std::size_t>(i)], i + 1);
    for (int n : {0, -1, INT_MIN}) {
        EXPECT_TRUE(Helpers::MakeNumberLabels(n).empty());
        EXPECT_TRUE(Helpers::MakeNumberSequence(n).empty());
    }
}

} // namespace
} // namespace zorvi
