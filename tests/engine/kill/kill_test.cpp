// Kills a process that plays through the engine at random moments and checks after every
// kill that "state.ini" loads, holds a game the process had saved, and lost at most the
// save in flight. Rounds: $ZORVI_KILL_ROUNDS (default 300).
#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

#include "ProgramState.h"
#include "Random.h"
#include "Settings.h"
#include "Snapshot.h"
#include "StateFile.h"
#include "TestFolders.h"

namespace {

std::vector<std::string> CompleteLines(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t end; (end = text.find('\n', start)) != std::string::npos; start = end + 1)
        lines.push_back(text.substr(start, end - start));
    return lines; // a last line without its end was still being written: never saved
}

pid_t StartDriver(const std::filesystem::path& journal, unsigned seed) {
    const pid_t pid = fork();
    if (pid == 0) {
        execl(ZORVI_KILL_DRIVER, ZORVI_KILL_DRIVER, journal.c_str(), std::to_string(seed).c_str(),
              static_cast<char*>(nullptr));
        _exit(127);
    }
    return pid;
}

} // namespace

TEST(KillTest, StateSurvivesSigkillAtRandomMoments) {
    zorvi::test::TestFolders folders;
    const char* roundsText = std::getenv("ZORVI_KILL_ROUNDS");
    const int rounds = roundsText ? std::atoi(roundsText) : 300;
    const auto journal = folders.root() / "journal";
    const auto stateFile = folders.dataFolder() / "state.ini";
    std::mt19937 random(20261210);
    int withFile = 0, lostInFlight = 0;

    for (const unsigned seed : {1u, 2u}) { // a 90-number and a 75-number game
        zorvi::Settings settings{zorvi::Settings::NoLoad{}};
        settings.max_called_numbers = seed % 2 ? 90 : 75;
        // The game "state.ini" holds now, or empty when there is none.
        auto onDisk = [&]() -> std::string {
            if (!std::filesystem::exists(stateFile))
                return {};
            zorvi::Random15 generator;
            zorvi::ProgramState loaded(generator);
            loaded.AttachSettings(settings);
            EXPECT_EQ(zorvi::StateFile::LoadState(loaded), 1);
            EXPECT_TRUE(zorvi::StateFile::IsPlayable(loaded, settings.max_called_numbers));
            return zorvi::test::Snapshot(loaded);
        };
        std::filesystem::remove(stateFile);
        for (int round = 0; round < rounds / 2; ++round) {
            const std::string before = onDisk();
            std::filesystem::remove(journal);

            const pid_t pid = StartDriver(journal, seed + 2 * round);
            ASSERT_GT(pid, 0);
            std::this_thread::sleep_for(std::chrono::microseconds(2000 + random() % 40000));
            kill(pid, SIGKILL);
            int status = 0;
            waitpid(pid, &status, 0);
            ASSERT_TRUE(WIFSIGNALED(status)) << "the driver ended by itself, status " << status;

            // The saves this process began; only the last may have been cut short.
            const auto saved = CompleteLines(zorvi::test::TestFolders::ReadFile(journal));
            const std::string after = onDisk();
            ASSERT_FALSE(HasFailure()) << "round " << round;
            if (!after.empty())
                ++withFile;
            if (saved.empty()) {
                ASSERT_EQ(after, before) << "round " << round;
                continue;
            }
            if (after == saved.back())
                continue;
            const std::string previous = saved.size() >= 2 ? saved[saved.size() - 2] : before;
            ASSERT_EQ(after, previous)
                << "round " << round << ": more than the save in flight lost";
            ++lostInFlight;
        }
    }
    std::printf("kill rounds %d, with a state file %d, save in flight lost %d\n", rounds, withFile,
                lostInFlight);
}
