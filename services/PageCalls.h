#pragma once

#include <optional>
#include <string>
#include <vector>

namespace zorvi {

// The last coupon checked, as the page's showTicket receives it.
struct PageTicket {
    std::string numbers; // "n,n,..." 25 values, or 27 with 0 in the empty cells
    std::string marks;   // "m,m,..." 0 not drawn, 1 drawn, 2 drawn last
    bool winner = false;
    int couponNumber = 0;

    bool operator==(const PageTicket&) const = default;
};

// Everything a page that joins late (or comes back after a reload) needs to show the game as it
// stands: the reset, every drawn number in order, the current number and row, the last ticket.
struct PageGame {
    int numberCount = 75;
    std::string commitment; // first digits of the game's commitment; empty when it has none
    std::vector<int> drawn; // in draw order; the last one is the current number
    int row = 1;
    std::optional<PageTicket> ticket; // the last coupon checked in this game, if any

    bool operator==(const PageGame&) const = default;
};

// The players' pages, as the game sees them: the three page calls and the catch-up. The public
// screen window and the hall server each implement it; the operator window sends every call to
// both. An implementation that shows nothing at the moment simply drops the call.
class PageCalls {
public:
    virtual ~PageCalls() = default;

    // A game begins (or is resumed, or the page was reloaded after a language change).
    virtual void PageReset(int numberCount, const std::string& commitment) = 0;
    // The current number (-1: none drawn yet), the count of numbers drawn, the row played.
    virtual void PageUpdateMainScreen(int currentNumber, int count, int row) = 0;
    virtual void PageShowTicket(const PageTicket& ticket) = 0;
    // The whole game at once, for a page that has not seen it: reset, every drawn number in
    // order, the current number and row, then the last ticket.
    virtual void PageShowGame(const PageGame& game) = 0;
};

} // namespace zorvi
