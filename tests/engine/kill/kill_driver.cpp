// Plays games through the engine with the real state file, as fast as it can, until it is
// killed. Before every save it appends the game it is about to save to a journal (flushed
// to disk), so the kill test can tell which games the process had saved.
//
// usage: kill_driver <journal file> <seed>   (data folder from $XDG_DATA_HOME)
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>
#include <unistd.h>
#include <vector>

#include "BingoHelpers.h"
#include "GameCommands.h"
#include "NullWindow.h"
#include "ProgramState.h"
#include "Random.h"
#include "Settings.h"
#include "Snapshot.h"
#include "StateFile.h"

int main(int argc, char** argv) {
    if (argc < 3)
        return 2;
    std::FILE* journal = std::fopen(argv[1], "ab");
    if (!journal)
        return 2;
    const unsigned seed = static_cast<unsigned>(std::strtoul(argv[2], nullptr, 10));
    std::mt19937 choose(seed);

    zorvi::Settings settings{zorvi::Settings::NoLoad{}};
    settings.max_called_numbers = (seed % 2) ? 90 : 75;
    zorvi::Random15 generator(seed);
    zorvi::ProgramState state(generator);
    state.AttachSettings(settings);
    state.AttachSaver([journal](const zorvi::ProgramState& s) {
        const std::string line = zorvi::test::Snapshot(s) + "\n";
        std::fwrite(line.data(), 1, line.size(), journal);
        std::fflush(journal);
        fsync(fileno(journal));
        if (!zorvi::StateFile::SaveState(s))
            std::_Exit(3); // a save that fails would make the check below meaningless
    });

    // A series whose coupons are slices of a shuffled sequence, so checks find winners.
    zorvi::BingoHelpers coupons;
    coupons.AttachSettings(settings);
    {
        const int n = settings.max_called_numbers;
        const std::uint32_t size = n == 75 ? 25 : 15;
        std::vector<std::uint8_t> bytes;
        for (int c = 0; c < 200; ++c)
            for (std::uint32_t i = 0; i < size; ++i)
                bytes.push_back(static_cast<std::uint8_t>(1 + choose() % n));
        coupons.SetSeriesBytes(std::move(bytes), size);
    }

    zorvi::test::NullWindow window;
    zorvi::GameCommands commands(state, settings, coupons, window, window, window);

    // Continue what the previous process saved, as the program does after a crash.
    const int loaded = zorvi::StateFile::LoadState(state);
    if (loaded == 1 && zorvi::StateFile::IsPlayable(state, settings.max_called_numbers)) {
        zorvi::StateFile::NormalizeLoadedState(state);
        commands.ContinueStoredGame();
    } else {
        commands.BeginNewGame();
    }

    for (;;) {
        const unsigned op = choose() % 100;
        if (op < 55) {
            commands.DrawCommand();
            commands.OnDrawLockTick();
        } else if (op < 62) {
            commands.CancelNumberCommand();
        } else if (op < 68) {
            commands.RowUpCommand();
        } else if (op < 72) {
            commands.RowDownCommand();
        } else if (op < 90) {
            window.coupon_number = 1 + choose() % 210;
            commands.CheckCommand();
        } else if (op < 94) {
            commands.IntervalFromSlider(1 + static_cast<int>(choose() % 60), true);
        } else if (op < 96 || state.rows_left == 0 ||
                   state.DrawnCount() >= settings.max_called_numbers) {
            commands.NewGameCommand();
        }
    }
}
