#pragma once

#include <string>
#include <vector>

#include "PageCalls.h"
#include "PageGameRecord.h"

namespace zorvi {

// Sends every page call of the game to each registered page, and keeps the one record of the
// game as the pages have been shown it: a page registered later, or one that loads again, gets
// the whole game from here. Pages are not owned; a page unregisters itself before it goes.
// Page calls return at once (a page queues what it cannot show yet), so a call never runs
// another one inside it.
class PageFanOut final : public PageCalls, public GamePages {
public:
    // A page registered while a game is shown gets PageShowGame of it at once (the last seal
    // and the prize board with it), and the join code when there is one. Before any game it
    // gets the seal and the board alone, each when there is one.
    void Register(PageCalls* page);
    void Unregister(PageCalls* page);
    bool IsRegistered(const PageCalls* page) const;
    std::size_t PageCount() const { return pages_.size(); }

    // The game as the pages show it; Begun() is false before the first call.
    const PageGame& Game() const { return record_.Game(); }
    bool Begun() const { return record_.Begun(); }
    const PageJoinCode& JoinCode() const { return join_; }

    void PageReset(int numberCount, const std::string& commitment) override;
    // Folded by the count alone: a number the pages were never told stays unknown.
    void PageUpdateMainScreen(int currentNumber, int count, int row) override;
    // The game's update with its numbers drawn so far, in order. When the pages would be left
    // with gaps (a stored game resumed, a page reset in the middle of a game) they get the
    // whole game instead of the single update.
    void PageUpdateMainScreen(int currentNumber, int count, int row,
                              const std::vector<int>& drawn) override;
    void PageShowTicket(const PageTicket& ticket) override;
    void PageShowGame(const PageGame& game) override;
    void PageShowJoinCode(const PageJoinCode& code) override;
    // Kept in the game's record until the next seal, over every reset.
    void PageShowSeal(const std::string& seal) override;
    void PageShowRecall(int ball) override;
    // Kept in the game's record, within its bounds, over every reset until the next board; the
    // pages get the board as kept. `game` 0 takes it off.
    void PageShowPrizeBoard(const PagePrizeBoard& board) override;

private:
    template <class Call> void Forward(Call call);

    std::vector<PageCalls*> pages_;
    PageGameRecord record_;
    PageJoinCode join_;
};

} // namespace zorvi
