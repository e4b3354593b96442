// The engine's start-up over a hostile data folder, headless: whatever lies in place of
// "state.ini", the start files it away, says so once and plays a fresh game whose every save
// is a clean file of the game alone.

#include <string>
#include <vector>

#include "CommandsFixture.h"
#include "Helpers.h"
#include "HostileFiles.h"
#include "SetAside.h"

namespace zorvi::test {
namespace {

namespace fs = std::filesystem;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

// The next run of the program over the same data folder: a fresh state and window.
struct StartRun {
    StartRun(Settings& settings, BingoHelpers& coupons)
        : state(random), commands(state, settings, coupons, window, window, window) {
        state.AttachSettings(settings);
        state.AttachSaver([](const ProgramState& s) { StateFile::SaveState(s); });
    }
    Random15 random{19};
    ProgramState state;
    RecordingWindow window;
    GameCommands commands;
};

class HostileStart : public CommandsTest, public ::testing::WithParamInterface<Hostile> {};

TEST_P(HostileStart, FilesTheStateAwayAndPlaysAFreshGame) {
    const fs::path data = folders.dataFolder();
    fs::create_directories(data);
    if (!PutHostile(data / StateFile::kFileName, GetParam()))
        GTEST_SKIP() << "cannot be made here";

    StartRun run(settings, coupons);
    EXPECT_EQ(run.commands.LoadStoredGame(), StateLoad::Corrupted);
    EXPECT_THAT(run.window.Matching("ask "), IsEmpty());
    EXPECT_THAT(run.window.Matching("message "),
                ElementsAre("message Corrupted state filed, resetting"));
    run.commands.ResumeOrStart();
    run.commands.DrawCommand();
    EXPECT_EQ(run.state.number_count, 1);

    const std::vector<std::string> copies = Helpers::SetAsideCopies(StateFile::kFileName);
    ASSERT_EQ(copies.size(), 1u);
    if (HostileSize(GetParam()) > 0) {
        EXPECT_EQ(fs::file_size(data / copies.front()), HostileSize(GetParam()));
    }
    EXPECT_LT(fs::file_size(data / StateFile::kFileName), 1000u);
    EXPECT_EQ(Helpers::ReadIniInt(StateFile::kFileName, "number_count", -1), 1);
}

INSTANTIATE_TEST_SUITE_P(Folders, HostileStart,
                         ::testing::Values(Hostile::GarbageText, Hostile::BinaryJunk,
                                           Hostile::Junk50MB, Hostile::Pipe, Hostile::Endless,
                                           Hostile::Folder),
                         [](const auto& info) { return std::string(HostileName(info.param)); });

TEST_F(CommandsTest, AStoredGameWithAHundredThousandWinnersResumes) {
    StartGame(75);
    DrawTimes(12);
    for (int k = 1; k <= 100000; ++k)
        state.winners.push_back(Winner{1 + k % 5, 12, k});
    state.Save();
    const auto size = fs::file_size(folders.dataFolder() / StateFile::kFileName);

    StartRun run(settings, coupons);
    EXPECT_EQ(run.commands.LoadStoredGame(), StateLoad::Loaded);
    EXPECT_THAT(run.window.Matching("ask "), ElementsAre("ask Load previous state?"));
    EXPECT_THAT(run.window.Matching("message "), IsEmpty());
    run.commands.ResumeOrStart();
    EXPECT_EQ(run.state.winners.size(), 100000u);
    run.commands.DrawCommand();
    EXPECT_EQ(run.state.number_count, 13);
    EXPECT_LE(fs::file_size(folders.dataFolder() / StateFile::kFileName), size + 3);
    EXPECT_TRUE(Helpers::SetAsideCopies(StateFile::kFileName).empty());
}

} // namespace
} // namespace zorvi::test
