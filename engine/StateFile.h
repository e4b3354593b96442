#pragma once

#include <string>

namespace zorvi {

class ProgramState;

namespace StateFile {

inline constexpr const char* kFileName = "state.ini";

// The eleven keys of the state, in their file order, with their stored values.
std::string FormatSequence(const ProgramState& state);
std::string FormatWinners(const ProgramState& state);

// Writes all eleven keys to "state.ini" in the data folder as one replacement of the file.
// False when the file could not be written.
bool SaveState(const ProgramState& state);

// 1 the file was read, 0 there is no file, -1 the file is corrupted.
int LoadState(ProgramState& state);

// True when a loaded state can be played with number count n: its sequence is a permutation
// of 1 to n, the counts and the row lie inside it. A loaded state that fails this is treated
// as corrupted by the start-up.
bool IsPlayable(const ProgramState& state, int n);

// Brings the values that only steer the controls into their ranges: interval 1 to 60,
// automatic mode 0 to 2 (else 0), a negative number limit to 0.
void NormalizeLoadedState(ProgramState& state);

void DeleteStateFile();

} // namespace StateFile
} // namespace zorvi
