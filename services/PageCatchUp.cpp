#include "PageCatchUp.h"

namespace zorvi {

std::vector<PageCall> CatchUpCalls(const PageGame& game) {
    std::vector<PageCall> calls;
    calls.reserve(game.drawn.size() + 5);
    calls.emplace_back(PageResetCall{game.numberCount, game.commitment});
    const int count = static_cast<int>(game.drawn.size());
    // The page puts the n-th number at its place.
    for (int i = 0; i + 1 < count; ++i) {
        if (game.drawn[std::size_t(i)] > 0)
            calls.emplace_back(PageUpdateCall{game.drawn[std::size_t(i)], i + 1, game.row});
    }
    const int current = count > 0 && game.drawn.back() > 0 ? game.drawn.back() : -1;
    calls.emplace_back(PageUpdateCall{current, count, game.row});
    if (game.ticket)
        calls.emplace_back(*game.ticket);
    for (PageCall& call : LastingCalls(game))
        calls.push_back(std::move(call));
    return calls;
}

std::vector<PageCall> LastingCalls(const PageGame& game) {
    // A page that has just loaded shows neither: it needs each only when there is one.
    std::vector<PageCall> calls;
    if (!game.seal.empty())
        calls.emplace_back(PageSealCall{game.seal});
    if (game.board.game > 0)
        calls.emplace_back(game.board);
    return calls;
}

} // namespace zorvi
