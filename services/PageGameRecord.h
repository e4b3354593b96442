#pragma once

#include <string>

#include "PageCalls.h"

namespace zorvi {

// The game a page shows, folded from the page calls it was sent the way the page itself folds
// them: the n-th number drawn sits at n - 1, a lower count drops numbers off the end, and a
// change of the count takes the checked coupon off the screen. Numbers a page was never told
// (a jump in the count) are held as 0. The last game's seal stays over a reset: it belongs to
// the game before. So does the prize board: the programme says when it changes.
class PageGameRecord {
public:
    virtual ~PageGameRecord() = default;

    // The most numbers a game has; a count beyond it is taken as this.
    static constexpr int kMaxNumbers = 90;

    void Reset(int numberCount, const std::string& commitment);
    void Update(int currentNumber, int count, int row);
    void Ticket(const PageTicket& ticket);
    // A seal alone does not begin a game: before any game a page still shows an empty board.
    void Seal(const std::string& seal);
    // Like the seal, a board alone does not begin a game. Kept within BoundedBoard.
    void Board(const PagePrizeBoard& board);
    // Takes a whole game, kept within the bounds a page can show.
    void Replace(const PageGame& game);

    const PageGame& Game() const { return game_; }
    // False until the first call: no game has been shown yet.
    bool Begun() const { return begun_; }
    // True when every drawn number is known (no gap left by a jump in the count).
    bool Complete() const;

    // A game as a page can show it: the count 75 or 90, at most 90 numbers, each 1 to 90 or 0,
    // and its board within BoundedBoard.
    static PageGame Bounded(const PageGame& game);

    // What a kept board may carry, so that neither the record nor a page's catch-up grows with
    // what the programme file holds.
    static constexpr std::size_t kMaxBoardText = 200; // bytes of each name and prize
    static constexpr std::size_t kMaxNextGames = 3;
    static constexpr std::size_t kMaxNextStages = 8;
    static constexpr std::size_t kMaxMasks = 16;
    // A board as a page can show it: `game` 0 (or less) is no board at all and comes back as
    // the empty one; texts valid UTF-8 without control characters, cut to kMaxBoardText at a
    // character's end; squares 25 or 15, each mask within them; counts within a programme's.
    static PagePrizeBoard BoundedBoard(const PagePrizeBoard& board);

private:
    PageGame game_;
    bool begun_ = false;
};

} // namespace zorvi
