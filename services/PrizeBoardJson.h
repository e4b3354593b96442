#pragma once

#include <string>

#include "PageCalls.h"

namespace zorvi {

// The prize board as the page's showPrizeBoard takes it, one JSON object with the fields of
// PagePrizeBoard under their own names ("game", "games", "name", "numberCount", "between",
// "stage", "stages", "pattern": {"name": {"fi","sv","en"}, "squares", "masks": [..]}, "prize",
// "jackpotWithin", "jackpotPrize", "called", "next": [{"number", "name", "stages", "prize"}]).
// The players' window and the hall's feed both send this text, so their pages get the same.
std::string PrizeBoardJson(const PagePrizeBoard& board);

} // namespace zorvi
