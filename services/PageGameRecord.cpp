#include "PageGameRecord.h"

#include <algorithm>
#include <utility>

namespace zorvi {

namespace {

bool IsNumber(int n) {
    return n >= 1 && n <= PageGameRecord::kMaxNumbers;
}

int NumberCountOf(int numberCount) {
    return numberCount == 90 ? 90 : 75;
}

} // namespace

void PageGameRecord::Reset(int numberCount, const std::string& commitment) {
    std::string seal = std::move(game_.seal);
    game_ = PageGame{};
    game_.seal = std::move(seal);
    game_.numberCount = NumberCountOf(numberCount);
    game_.commitment = commitment;
    begun_ = true;
}

void PageGameRecord::Update(int currentNumber, int count, int row) {
    begun_ = true;
    count = std::clamp(count, 0, kMaxNumbers);
    const auto size = static_cast<std::size_t>(count);
    if (size != game_.drawn.size())
        game_.ticket.reset();
    game_.drawn.resize(size, 0);
    if (count > 0 && IsNumber(currentNumber))
        game_.drawn[size - 1] = currentNumber;
    if (IsNumber(currentNumber) && currentNumber > 75)
        game_.numberCount = 90;
    game_.row = row;
}

void PageGameRecord::Ticket(const PageTicket& ticket) {
    begun_ = true;
    game_.ticket = ticket;
}

void PageGameRecord::Seal(const std::string& seal) {
    game_.seal = seal;
}

void PageGameRecord::Replace(const PageGame& game) {
    game_ = Bounded(game);
    begun_ = true;
}

bool PageGameRecord::Complete() const {
    return std::all_of(game_.drawn.begin(), game_.drawn.end(), IsNumber);
}

PageGame PageGameRecord::Bounded(const PageGame& game) {
    PageGame bounded = game;
    if (bounded.drawn.size() > static_cast<std::size_t>(kMaxNumbers))
        bounded.drawn.resize(static_cast<std::size_t>(kMaxNumbers));
    bool beyond75 = false;
    for (int& n : bounded.drawn) {
        if (!IsNumber(n))
            n = 0;
        beyond75 = beyond75 || n > 75;
    }
    bounded.numberCount = beyond75 ? 90 : NumberCountOf(bounded.numberCount);
    return bounded;
}

} // namespace zorvi
