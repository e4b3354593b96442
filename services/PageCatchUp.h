#pragma once

#include <string>
#include <variant>
#include <vector>

#include "PageCalls.h"

namespace zorvi {

// One page call as a page receives it; each page kind encodes it its own way (a script call,
// a frame of the hall's feed).
struct PageResetCall {
    int numberCount = 75;
    std::string commitment;
    bool operator==(const PageResetCall&) const = default;
};
struct PageUpdateCall {
    int currentNumber = -1;
    int count = 0;
    int row = 1;
    bool operator==(const PageUpdateCall&) const = default;
};
// The last game's seal, for the page's optional showSeal.
struct PageSealCall {
    std::string seal;
    bool operator==(const PageSealCall&) const = default;
};
// The programme's prize board, for the page's optional showPrizeBoard.
using PageCall =
    std::variant<PageResetCall, PageUpdateCall, PageTicket, PageSealCall, PagePrizeBoard>;

// The calls that bring a page that knows nothing to the game as it stands: the reset, each
// known number at its place in draw order (a number never told stays dark), the current number
// and row (-1 and 0 when none is drawn), then the last ticket, then the last game's seal when
// there is one, then the prize board when a programme is played.
std::vector<PageCall> CatchUpCalls(const PageGame& game);

// The calls after the game itself that a page needs also before any game: the seal and the
// board, each only when there is one.
std::vector<PageCall> LastingCalls(const PageGame& game);

} // namespace zorvi
