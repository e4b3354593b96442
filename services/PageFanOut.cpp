#include "PageFanOut.h"

#include <algorithm>

namespace zorvi {

void PageFanOut::Register(PageCalls* page) {
    if (!page || IsRegistered(page))
        return;
    pages_.push_back(page);
    if (record_.Begun())
        page->PageShowGame(record_.Game());
    else if (!record_.Game().seal.empty())
        page->PageShowSeal(record_.Game().seal);
    if (!record_.Begun() && record_.Game().board.game > 0)
        page->PageShowPrizeBoard(record_.Game().board);
    if (!join_.url.empty())
        page->PageShowJoinCode(join_);
}

void PageFanOut::Unregister(PageCalls* page) {
    pages_.erase(std::remove(pages_.begin(), pages_.end(), page), pages_.end());
}

bool PageFanOut::IsRegistered(const PageCalls* page) const {
    return std::find(pages_.begin(), pages_.end(), page) != pages_.end();
}

template <class Call> void PageFanOut::Forward(Call call) {
    // A copy: a page may unregister itself while it takes the call.
    const std::vector<PageCalls*> pages = pages_;
    for (PageCalls* page : pages) {
        if (IsRegistered(page))
            call(*page);
    }
}

void PageFanOut::PageReset(int numberCount, const std::string& commitment) {
    record_.Reset(numberCount, commitment);
    Forward([&](PageCalls& page) { page.PageReset(numberCount, commitment); });
}

void PageFanOut::PageUpdateMainScreen(int currentNumber, int count, int row) {
    record_.Update(currentNumber, count, row);
    Forward([&](PageCalls& page) { page.PageUpdateMainScreen(currentNumber, count, row); });
}

void PageFanOut::PageUpdateMainScreen(int currentNumber, int count, int row,
                                      const std::vector<int>& drawn) {
    // What the pages will show after the single update.
    PageGameRecord folded = record_;
    folded.Update(currentNumber, count, row);
    PageGame game = folded.Game();
    // The list is believed only when it agrees with the update itself.
    const bool listAgrees = drawn.size() == game.drawn.size() &&
                            drawn.size() <= std::size_t(PageGameRecord::kMaxNumbers) &&
                            (drawn.empty() || drawn.back() == currentNumber);
    if (listAgrees)
        game.drawn = drawn;
    game = PageGameRecord::Bounded(game);
    if (game == folded.Game()) {
        record_ = folded;
        Forward([&](PageCalls& page) { page.PageUpdateMainScreen(currentNumber, count, row); });
        return;
    }
    PageShowGame(game);
}

void PageFanOut::PageShowTicket(const PageTicket& ticket) {
    record_.Ticket(ticket);
    Forward([&](PageCalls& page) { page.PageShowTicket(ticket); });
}

void PageFanOut::PageShowGame(const PageGame& game) {
    record_.Replace(game);
    const PageGame bounded = record_.Game();
    Forward([&](PageCalls& page) { page.PageShowGame(bounded); });
}

void PageFanOut::PageShowJoinCode(const PageJoinCode& code) {
    join_ = code.url.empty() ? PageJoinCode{} : code;
    Forward([&](PageCalls& page) { page.PageShowJoinCode(join_); });
}

void PageFanOut::PageShowSeal(const std::string& seal) {
    record_.Seal(seal);
    Forward([&](PageCalls& page) { page.PageShowSeal(seal); });
}

void PageFanOut::PageShowRecall(int ball) {
    Forward([&](PageCalls& page) { page.PageShowRecall(ball); });
}

void PageFanOut::PageShowPrizeBoard(const PagePrizeBoard& board) {
    record_.Board(board);
    const PagePrizeBoard kept = record_.Game().board;
    Forward([&](PageCalls& page) { page.PageShowPrizeBoard(kept); });
}

} // namespace zorvi
