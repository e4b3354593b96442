#pragma once

#include <cstdint>
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

// A text in the three languages of the pages (Finnish, Swedish, English); a page picks its own.
struct PageTexts {
    std::string fi;
    std::string sv;
    std::string en;

    bool operator==(const PageTexts&) const = default;
};

// A win pattern as a page draws it: its name and its masks over the coupon's squares, bit i for
// square i row by row (25 squares of 5 x 5 for 75 numbers, 15 of 3 x 5 for 90). A pattern with
// more than one mask (any line) has the page cycle through them.
struct PagePattern {
    PageTexts name;
    int squares = 25;
    std::vector<std::uint32_t> masks;

    bool operator==(const PagePattern&) const = default;
};

// A later game of the programme, as the board lists it between games.
struct PageNextGame {
    int number = 0; // its place in the programme, from 1
    std::string name;
    std::vector<PageTexts> stages; // the patterns' names in order
    std::string prize;             // the last stage's prize

    bool operator==(const PageNextGame&) const = default;
};

// The prize board: the programme's game as it stands. `game` 0 means no programme: the page
// shows no board.
struct PagePrizeBoard {
    int game = 0;  // from 1
    int games = 0; // in the programme
    std::string name;
    int numberCount = 75;
    // Between games (the game is over, the next not yet begun) the board lists `next` instead
    // of a stage.
    bool between = false;
    int stage = 0; // from 1
    int stages = 0;
    PagePattern pattern; // the current stage's
    std::string prize;   // the current stage's
    // "Full card within 48: 500 €": shown when `jackpotWithin` > 0, with the numbers called.
    int jackpotWithin = 0;
    std::string jackpotPrize;
    int called = 0;
    std::vector<PageNextGame> next; // at most three

    bool operator==(const PagePrizeBoard&) const = default;
};

// Everything a page that joins late (or comes back after a reload) needs to show the game as it
// stands: the reset, every drawn number in order, the current number and row, the last ticket,
// the seal of the game before it and the programme's prize board.
struct PageGame {
    int numberCount = 75;
    std::string commitment; // first digits of the game's commitment; empty when it has none
    std::vector<int> drawn; // in draw order; the last one is the current number
    int row = 1;
    std::optional<PageTicket> ticket; // the last coupon checked in this game, if any
    // First digits of the last finished game's seal; empty when none. It outlives that game:
    // the players see it while the next one runs.
    std::string seal;
    // The prize board as it stands; like the seal it outlives a reset (`game` 0: none).
    PagePrizeBoard board;

    bool operator==(const PageGame&) const = default;
};

// Where a phone joins the game: the hall server's address and its QR code, `size` x `size`
// modules row by row, '1' dark. An empty url shows none.
struct PageJoinCode {
    std::string url;
    int size = 0;
    std::string modules;

    bool operator==(const PageJoinCode&) const = default;
};

// The players' pages, as the fan-out sees them: the three page calls, the catch-up, the join
// code and the last game's seal. The players' window and the hall server each implement it and
// register with the fan-out. An implementation that shows nothing at the moment simply drops
// the call.
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
    // Optional: a page without a place for the code shows none.
    virtual void PageShowJoinCode(const PageJoinCode& code) { (void)code; }
    // Optional: the first digits of the last finished game's seal, shown small until the next
    // seal replaces it (a new game keeps it); empty shows none.
    virtual void PageShowSeal(const std::string& seal) { (void)seal; }
    // Optional: a ball of the hall's machine entered by mistake is withdrawn; the page tells the
    // players for a few seconds ("23 withdrawn"). Not part of the catch-up: the game that a late
    // page is shown no longer holds the ball.
    virtual void PageShowRecall(int ball) { (void)ball; }
    // Optional: the prize board of the programme's game; a page without one shows none. Part of
    // the catch-up: a late page shows the board as it stands.
    virtual void PageShowPrizeBoard(const PagePrizeBoard& board) { (void)board; }
};

// The pages as the game's commands address them: each update comes with the numbers drawn so
// far, so that a page that has not seen them all is shown the whole game.
class GamePages {
public:
    virtual ~GamePages() = default;

    virtual void PageReset(int numberCount, const std::string& commitment) = 0;
    virtual void PageUpdateMainScreen(int currentNumber, int count, int row,
                                      const std::vector<int>& drawn) = 0;
    virtual void PageShowTicket(const PageTicket& ticket) = 0;
    // A game has ended and its seal is written: its first hex digits (16), or empty for none.
    virtual void PageShowSeal(const std::string& seal) = 0;
    // The last ball of the hall's machine was recalled; its update follows.
    virtual void PageShowRecall(int ball) = 0;
    // The programme's game, its stage, pattern, prize and jackpot changed (or the numbers called
    // under a jackpot); `game` 0 when no programme is played.
    virtual void PageShowPrizeBoard(const PagePrizeBoard& board) = 0;
};

} // namespace zorvi
