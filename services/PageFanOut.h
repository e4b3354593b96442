#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "PageCalls.h"
#include "PageGameRecord.h"

namespace zorvi {

// Sends every page call of the game to each registered page, and keeps the game as the pages
// have been shown it, so that a page registered later starts with the whole game.
// Pages are not owned; a page unregisters itself before it goes. A page call may run nested
// work (a page that waits for its script); registering, unregistering and further calls are
// all allowed from inside one.
class PageFanOut final : public PageCalls {
public:
    // A page registered while a game is shown gets PageShowGame of it at once.
    void Register(PageCalls* page);
    void Unregister(PageCalls* page);
    bool IsRegistered(const PageCalls* page) const;
    std::size_t PageCount() const { return pages_.size(); }

    // The game as the pages show it; Begun() is false before the first call.
    const PageGame& Game() const { return record_.Game(); }
    bool Begun() const { return record_.Begun(); }

    void PageReset(int numberCount, const std::string& commitment) override;
    // Folded by the count alone: a number the pages were never told stays unknown.
    void PageUpdateMainScreen(int currentNumber, int count, int row) override;
    // The game's update with its numbers drawn so far, in order. When the pages would be left
    // with gaps (a stored game resumed, a page reset in the middle of a game) they get the
    // whole game instead of the single update.
    void PageUpdateMainScreen(int currentNumber, int count, int row, const std::vector<int>& drawn);
    void PageShowTicket(const PageTicket& ticket) override;
    void PageShowGame(const PageGame& game) override;

private:
    template <class Call> void Forward(Call call);

    std::vector<PageCalls*> pages_;
    PageGameRecord record_;
    // Counts the calls sent out, to see a newer one overtake a call still on its way.
    std::uint64_t sent_ = 0;
};

} // namespace zorvi
