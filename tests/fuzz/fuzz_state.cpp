// "state.ini" from outside: loading must never crash, and a state that passes the
// playability check must never read outside its lists while the game goes on.
#include <cstddef>
#include <cstdint>

#include "FuzzDataFolder.h"
#include "ProgramState.h"
#include "Random.h"
#include "Settings.h"
#include "StateFile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const FuzzDataFolder folder("state");
    folder.Write("state.ini", data, size);
    zorvi::Settings settings{zorvi::Settings::NoLoad{}};
    settings.max_called_numbers = (size > 0 && (data[0] & 1)) ? 90 : 75;
    zorvi::Random15 generator(7);
    zorvi::ProgramState state(generator);
    state.AttachSettings(settings);
    const int loaded = zorvi::StateFile::LoadState(state);
    // Accessors stay inside the lists whatever was loaded.
    (void)state.CurrentNumber();
    (void)state.PreviousNumber();
    (void)state.DrawnNumbers();
    (void)state.IsLastRowOrAllDrawn();
    if (loaded == 1 && zorvi::StateFile::IsPlayable(state, settings.max_called_numbers)) {
        zorvi::StateFile::NormalizeLoadedState(state);
        for (int i = 0; i < 100; ++i) {
            state.DrawNext();
            (void)state.CurrentNumber();
        }
        for (int i = 0; i < 100; ++i) {
            state.CancelLast();
            state.PreviousRow();
            (void)state.PreviousNumber();
        }
    }
    return 0;
}
