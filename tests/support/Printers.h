#pragma once

#include <ostream>

#include "ProgramState.h"
#include "StateFile.h"

namespace zorvi {

// Readable failure messages for EXPECT_EQ on whole games.
inline void PrintTo(const ProgramState& s, std::ostream* os) {
    *os << "{number_count=" << s.number_count
        << " randomizer_numbers=" << StateFile::FormatSequence(s)
        << " current_row=" << s.current_row << " auto_speed=" << s.auto_speed
        << " auto_new_number=" << s.auto_new_number << " bingo_found=" << s.bingo_found
        << " bingo_on_this_row=" << s.bingo_on_this_row << " max_row=" << s.max_row
        << " rows_left=" << s.rows_left << " number_limit=" << s.number_limit
        << " winners=" << StateFile::FormatWinners(s) << "}";
}

} // namespace zorvi
