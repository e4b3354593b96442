#pragma once

#include <cstdint>
#include <cstdio>

namespace zorvi {

class DrawSource;

// Writes `games` draw sequences of 1 .. n, one a line, the numbers in draw order separated by
// single blanks, each shuffled exactly as the program shuffles a new game. False when the
// output could not be written.
bool CollectGames(DrawSource& source, int n, std::uint64_t games, std::FILE* out);

} // namespace zorvi
