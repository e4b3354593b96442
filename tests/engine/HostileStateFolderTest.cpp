// A data folder whose "state.ini" is no game, and a program folder whose coupon file is no
// file: the state is judged corrupted and set aside, the fresh game gets a clean file, and
// nothing waits on a pipe or reads a stream without end.
#include <gtest/gtest.h>

#include <string>

#include "BingoHelpers.h"
#include "HostileFiles.h"
#include "ProgramState.h"
#include "Random.h"
#include "RecordingMessages.h"
#include "SetAside.h"
#include "Settings.h"
#include "StateFile.h"
#include "TestFolders.h"

namespace zorvi {
namespace {

namespace fs = std::filesystem;
using test::Hostile;
using test::TestFolders;

class HostileStateFolder : public ::testing::TestWithParam<Hostile> {
protected:
    fs::path Data() const { return folders.dataFolder(); }

    TestFolders folders;
    Settings settings{Settings::NoLoad{}};
    Random15 generator{5};
};

TEST_P(HostileStateFolder, IsSetAsideAndTheFreshGameGetsACleanFile) {
    fs::create_directories(Data());
    if (!test::PutHostile(Data() / "state.ini", GetParam()))
        GTEST_SKIP() << "cannot be made here";

    ProgramState state(generator);
    state.AttachSettings(settings);
    state.AttachSaver([](const ProgramState& s) { ASSERT_TRUE(StateFile::SaveState(s)); });
    const int loaded = StateFile::LoadState(state);
    EXPECT_TRUE(loaded == -1 || !StateFile::IsPlayable(state, settings.max_called_numbers));

    const std::optional<std::string> name = StateFile::FileAwayCorruptedState();
    ASSERT_TRUE(name);
    EXPECT_EQ(Helpers::SetAsideCopies("state.ini"), std::vector<std::string>{*name});
    if (test::HostileSize(GetParam()) > 0) {
        EXPECT_EQ(fs::file_size(Data() / *name), test::HostileSize(GetParam()));
    }
    state.ResetGame();
    state.DrawNext();
    // The file holds the game and nothing else, and reads back as the game in memory.
    EXPECT_LT(fs::file_size(Data() / "state.ini"), 1000u);
    ProgramState back(generator);
    back.AttachSettings(settings);
    ASSERT_EQ(StateFile::LoadState(back), 1);
    EXPECT_TRUE(StateFile::IsPlayable(back, 75));
    EXPECT_EQ(back.randomizer_numbers, state.randomizer_numbers);
    EXPECT_EQ(back.number_count, 1);
}

INSTANTIATE_TEST_SUITE_P(Files, HostileStateFolder,
                         ::testing::Values(Hostile::GarbageText, Hostile::BinaryJunk,
                                           Hostile::Junk50MB, Hostile::Pipe, Hostile::Endless,
                                           Hostile::Folder),
                         [](const auto& info) { return test::HostileName(info.param); });

// A real game with 100,000 winners is no corruption: it loads, and each save costs that game.
TEST(HostileStateFolderWinners, AHundredThousandWinnersResume) {
    TestFolders folders;
    Settings settings{Settings::NoLoad{}};
    Random15 generator(3);
    ProgramState game(generator);
    game.AttachSettings(settings);
    game.ResetGame();
    for (int i = 0; i < 30; ++i)
        game.DrawNext();
    for (int k = 1; k <= 100000; ++k)
        game.winners.push_back(Winner{1 + k % 5, 30, k});
    ASSERT_TRUE(StateFile::SaveState(game));
    const auto size = fs::file_size(folders.dataFolder() / "state.ini");

    ProgramState back(generator);
    back.AttachSettings(settings);
    ASSERT_EQ(StateFile::LoadState(back), 1);
    EXPECT_TRUE(StateFile::IsPlayable(back, 75));
    EXPECT_EQ(back.winners.size(), 100000u);
    back.AttachSaver([](const ProgramState& s) { ASSERT_TRUE(StateFile::SaveState(s)); });
    back.DrawNext();
    EXPECT_LE(fs::file_size(folders.dataFolder() / "state.ini"), size + 3);
    EXPECT_TRUE(Helpers::SetAsideCopies("state.ini").empty());
}

// A coupon file that is no file is a failed open, told with the usual message; nothing hangs.
TEST(HostileCouponFolder, NoFileInPlaceOfTheSeriesIsAFailedOpen) {
    for (const Hostile kind : {Hostile::Pipe, Hostile::Endless, Hostile::Folder}) {
        SCOPED_TRACE(test::HostileName(kind));
        TestFolders folders;
        if (!test::PutHostile(folders.programFolder() / "kup75.hex", kind))
            continue;
        Settings settings{Settings::NoLoad{}};
        test::RecordingMessages messages;
        BingoHelpers coupons;
        coupons.AttachSettings(settings);
        coupons.AttachMessages(&messages);
        EXPECT_EQ(coupons.ReadCouponSeries(75, 0), -1);
        EXPECT_EQ(coupons.CouponCount(), 0u);
        ASSERT_EQ(messages.shown.size(), 1u);
        EXPECT_EQ(messages.shown[0].first, "Failed opening coupon file: kup75.hex");
        EXPECT_TRUE(fs::exists(fs::symlink_status(folders.programFolder() / "kup75.hex")));
    }
}

} // namespace
} // namespace zorvi
