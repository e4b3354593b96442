#include "PageGameRecord.h"

#include <algorithm>
#include <cstdint>
#include <utility>

namespace zorvi {

namespace {

bool IsNumber(int n) {
    return n >= 1 && n <= PageGameRecord::kMaxNumbers;
}

int NumberCountOf(int numberCount) {
    return numberCount == 90 ? 90 : 75;
}

// Far beyond any programme, yet small enough for a page to print.
constexpr int kMaxBoardCount = 9999;

int BoardCount(int n) {
    return std::clamp(n, 0, kMaxBoardCount);
}

// The text as valid UTF-8 without control characters (a stray byte becomes U+FFFD), at most
// `maxBytes` long, never cut inside a character.
std::string CleanText(const std::string& text, std::size_t maxBytes) {
    static const std::string kReplacement = "\xEF\xBF\xBD";
    std::string out;
    std::size_t i = 0;
    while (i < text.size()) {
        const auto lead = static_cast<unsigned char>(text[i]);
        std::size_t length = lead < 0x80             ? 1
                             : (lead & 0xE0) == 0xC0 ? 2
                             : (lead & 0xF0) == 0xE0 ? 3
                             : (lead & 0xF8) == 0xF0 ? 4
                                                     : 0;
        bool valid = length > 0 && i + length <= text.size();
        std::uint32_t code = length == 1   ? lead
                             : length == 2 ? lead & 0x1F
                             : length == 3 ? lead & 0x0F
                                           : lead & 0x07;
        for (std::size_t k = 1; valid && k < length; ++k) {
            const auto next = static_cast<unsigned char>(text[i + k]);
            valid = (next & 0xC0) == 0x80;
            code = (code << 6) | (next & 0x3F);
        }
        // Overlong forms, surrogates and values past U+10FFFF are not characters.
        static const std::uint32_t kLeast[] = {0, 0, 0x80, 0x800, 0x10000};
        valid =
            valid && code >= kLeast[length] && code <= 0x10FFFF && (code < 0xD800 || code > 0xDFFF);
        std::string piece;
        if (!valid) {
            piece = kReplacement;
            length = 1;
        } else if (code >= 0x20 && code != 0x7F && (code < 0x80 || code > 0x9F)) {
            piece = text.substr(i, length);
        }
        if (out.size() + piece.size() > maxBytes)
            break;
        out += piece;
        i += length;
    }
    return out;
}

PageTexts CleanTexts(const PageTexts& texts) {
    const std::size_t n = PageGameRecord::kMaxBoardText;
    return PageTexts{CleanText(texts.fi, n), CleanText(texts.sv, n), CleanText(texts.en, n)};
}

} // namespace

void PageGameRecord::Reset(int numberCount, const std::string& commitment) {
    std::string seal = std::move(game_.seal);
    PagePrizeBoard board = std::move(game_.board);
    game_ = PageGame{};
    game_.seal = std::move(seal);
    game_.board = std::move(board);
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

void PageGameRecord::Board(const PagePrizeBoard& board) {
    game_.board = BoundedBoard(board);
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
    bounded.board = BoundedBoard(bounded.board);
    return bounded;
}

PagePrizeBoard PageGameRecord::BoundedBoard(const PagePrizeBoard& board) {
    if (board.game <= 0)
        return PagePrizeBoard{};
    PagePrizeBoard b;
    b.game = BoardCount(board.game);
    b.games = BoardCount(board.games);
    b.name = CleanText(board.name, kMaxBoardText);
    b.numberCount = NumberCountOf(board.numberCount);
    b.between = board.between;
    b.stage = BoardCount(board.stage);
    b.stages = BoardCount(board.stages);
    b.pattern.name = CleanTexts(board.pattern.name);
    b.pattern.squares = board.pattern.squares == 15 ? 15 : 25;
    const std::uint32_t squares = (std::uint32_t(1) << b.pattern.squares) - 1;
    for (std::size_t i = 0; i < board.pattern.masks.size() && i < kMaxMasks; ++i)
        b.pattern.masks.push_back(board.pattern.masks[i] & squares);
    b.prize = CleanText(board.prize, kMaxBoardText);
    b.jackpotWithin = std::clamp(board.jackpotWithin, 0, kMaxNumbers);
    b.jackpotPrize = CleanText(board.jackpotPrize, kMaxBoardText);
    b.called = std::clamp(board.called, 0, kMaxNumbers);
    for (std::size_t i = 0; i < board.next.size() && i < kMaxNextGames; ++i) {
        const PageNextGame& from = board.next[i];
        PageNextGame next{BoardCount(from.number),
                          CleanText(from.name, kMaxBoardText),
                          {},
                          CleanText(from.prize, kMaxBoardText)};
        for (std::size_t k = 0; k < from.stages.size() && k < kMaxNextStages; ++k)
            next.stages.push_back(CleanTexts(from.stages[k]));
        b.next.push_back(std::move(next));
    }
    return b;
}

} // namespace zorvi
