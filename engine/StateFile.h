#pragma once

#include <optional>
#include <string>

namespace zorvi {

class ProgramState;

namespace StateFile {

inline constexpr const char* kFileName = "state.ini";

// The keys of the state, in their file order, with their stored values.
std::string FormatSequence(const ProgramState& state);
std::string FormatWinners(const ProgramState& state);

// Writes "state.ini" in the data folder anew with all its keys and nothing else, as one
// replacement of the file. False when the file could not be written.
bool SaveState(const ProgramState& state);

// 1 the file was read, 0 there is no file, -1 the file is corrupted: its values do not
// parse, or it is no regular file, longer than any game or cannot be read.
int LoadState(ProgramState& state);

// True when a loaded state can be played with number count n: its sequence is a permutation
// of 1 to n, the counts and the row lie inside it. A loaded state that fails this is treated
// as corrupted by the start-up.
bool IsPlayable(const ProgramState& state, int n);

// Brings the values that only steer the controls into their ranges: interval 1 to 60,
// automatic mode 0 to 2 (else 0), a negative number limit to 0.
void NormalizeLoadedState(ProgramState& state);

// Moves a state file judged corrupted (LoadState's -1, or not playable) aside as
// "state.ini.corrupt-<date>-<time>", so the fresh game is written to a clean file and the
// old one is kept for inspection (the newest few such copies are kept). A file that could
// not be read at all is left in place and, as before, never overwritten. Returns the name
// it was filed under, or nothing when it was not moved.
std::optional<std::string> FileAwayCorruptedState();

void DeleteStateFile();

} // namespace StateFile
} // namespace zorvi
