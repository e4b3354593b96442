// A data folder with a 50 MB "state.ini" of junk: what the start-up and every draw cost.
// The start-up here is the engine's part of it: load, judge, reset and save the fresh game.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <unistd.h>

#include "Folders.h"
#include "ProgramState.h"
#include "Random.h"
#include "Settings.h"
#include "StateFile.h"

namespace {

namespace fs = std::filesystem;

constexpr std::size_t kJunkBytes = 50u * 1024u * 1024u;

class JunkDataFolder {
public:
    JunkDataFolder() {
        root_ = fs::temp_directory_path() / ("zorvi-junk-bench-" + std::to_string(::getpid()));
        fs::create_directories(root_ / "xdg" / "ZORVI");
        ::setenv("XDG_DATA_HOME", (root_ / "xdg").c_str(), 1);
        // Printable junk with line breaks, as a text file gone wrong would look.
        std::mt19937 random(7);
        std::uniform_int_distribution<int> letter(' ', '~');
        junk_.resize(kJunkBytes);
        for (std::size_t i = 0; i < junk_.size(); ++i)
            junk_[i] = i % 80 == 79 ? '\n' : static_cast<char>(letter(random));
    }
    ~JunkDataFolder() {
        std::error_code ec;
        fs::remove_all(root_, ec);
    }
    void PutJunkState() const {
        std::error_code ec;
        for (const auto& entry : fs::directory_iterator(root_ / "xdg" / "ZORVI", ec))
            fs::remove_all(entry.path(), ec);
        std::ofstream(root_ / "xdg" / "ZORVI" / "state.ini", std::ios::binary) << junk_;
    }

private:
    fs::path root_;
    std::string junk_;
};

JunkDataFolder& Folder() {
    static JunkDataFolder folder;
    return folder;
}

// Load, find the file unusable, set it aside and save the fresh game, as the start-up does.
void BM_StartUpOverJunkState(benchmark::State& state) {
    zorvi::Settings settings{zorvi::Settings::NoLoad{}};
    zorvi::Random15 generator(1);
    for (auto _ : state) {
        state.PauseTiming();
        Folder().PutJunkState();
        state.ResumeTiming();
        zorvi::ProgramState game(generator);
        game.AttachSettings(settings);
        game.AttachSaver([](const zorvi::ProgramState& s) { zorvi::StateFile::SaveState(s); });
        const int loaded = zorvi::StateFile::LoadState(game);
        if (loaded == 1 && zorvi::StateFile::IsPlayable(game, settings.max_called_numbers))
            state.SkipWithError("junk taken for a game");
        zorvi::StateFile::FileAwayCorruptedState();
        game.ResetGame();
    }
}
BENCHMARK(BM_StartUpOverJunkState)->Unit(benchmark::kMillisecond)->Iterations(5);

// One draw after such a start-up: the draw and its save.
void BM_DrawAfterJunkState(benchmark::State& state) {
    zorvi::Settings settings{zorvi::Settings::NoLoad{}};
    zorvi::Random15 generator(1);
    zorvi::ProgramState game(generator);
    game.AttachSettings(settings);
    game.AttachSaver([](const zorvi::ProgramState& s) { zorvi::StateFile::SaveState(s); });
    Folder().PutJunkState();
    zorvi::StateFile::LoadState(game);
    zorvi::StateFile::FileAwayCorruptedState();
    game.ResetGame();
    for (auto _ : state) {
        if (game.number_count >= 75) {
            state.PauseTiming();
            game.ResetGame();
            state.ResumeTiming();
        }
        game.DrawNext();
    }
}
BENCHMARK(BM_DrawAfterJunkState)->Unit(benchmark::kMicrosecond);

} // namespace
