#pragma once

#include <string>

#include "ProgramState.h"
#include "StateFile.h"

namespace zorvi::test {

// One line that names everything "state.ini" stores of a game.
inline std::string Snapshot(const ProgramState& s) {
    return std::to_string(s.number_count) + "|" + StateFile::FormatSequence(s) + "|" +
           std::to_string(s.current_row) + "|" + std::to_string(s.auto_speed) + "|" +
           std::to_string(s.auto_new_number) + "|" + std::to_string(s.bingo_found == 1) + "|" +
           std::to_string(s.bingo_on_this_row == 1) + "|" + std::to_string(s.max_row) + "|" +
           std::to_string(s.rows_left == 1) + "|" + std::to_string(s.number_limit) + "|" +
           StateFile::FormatWinners(s);
}

} // namespace zorvi::test
