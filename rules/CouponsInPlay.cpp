#include "CouponsInPlay.h"

#include <algorithm>
#include <iterator>

#include "GameRules.h"
#include "TextTrim.h"

namespace zorvi {

namespace {

using Kind = CouponsInPlay::ParseError::Kind;

// Parts quoted in a message are cut to this many bytes, at a character boundary.
constexpr std::size_t kQuotedPart = 24;

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

std::string Quoted(std::string_view part) {
    if (part.size() <= kQuotedPart)
        return std::string(part);
    std::size_t cut = kQuotedPart;
    // Not inside a UTF-8 sequence: back up over continuation bytes.
    while (cut > 0 && (static_cast<unsigned char>(part[cut]) & 0xC0) == 0x80)
        --cut;
    return std::string(part.substr(0, cut)) + "...";
}

// The dash between two numbers: "-", or the en dash a word processor puts there.
std::size_t DashLength(std::string_view text) {
    if (!text.empty() && text.front() == '-')
        return 1;
    if (text.substr(0, 3) == "\xE2\x80\x93")
        return 3;
    return 0;
}

struct Reader {
    std::string_view item; // one comma-separated part, trimmed
    std::size_t at = 0;
    CouponsInPlay::ParseError* error;

    bool Fail(Kind kind, std::string_view part) {
        if (error) {
            error->kind = kind;
            error->part = Quoted(part);
        }
        return false;
    }

    void SkipBlanks() {
        while (at < item.size() && IsBlank(item[at]))
            ++at;
    }

    // A coupon number; never overflows, however many digits it has.
    bool Number(int* out) {
        if (at >= item.size())
            return Fail(Kind::MissingNumber, item);
        if (!IsDigit(item[at]))
            return Fail(DashLength(item.substr(at)) != 0 ? Kind::MissingNumber : Kind::Garbage,
                        item);
        const std::size_t start = at;
        long long value = 0;
        while (at < item.size() && IsDigit(item[at])) {
            if (value <= GameRules::kHighestCouponNumber)
                value = value * 10 + (item[at] - '0');
            ++at;
        }
        if (value < GameRules::kLowestCouponNumber || value > GameRules::kHighestCouponNumber)
            return Fail(Kind::OutOfRange, item.substr(start, at - start));
        *out = static_cast<int>(value);
        return true;
    }

    bool Range(std::pair<int, int>* out) {
        if (!Number(&out->first))
            return false;
        SkipBlanks();
        if (at == item.size()) {
            out->second = out->first;
            return true;
        }
        const std::size_t dash = DashLength(item.substr(at));
        if (dash == 0)
            return Fail(Kind::Garbage, item);
        at += dash;
        SkipBlanks();
        if (!Number(&out->second))
            return false;
        SkipBlanks();
        if (at != item.size())
            return Fail(Kind::Garbage, item);
        if (out->second < out->first)
            return Fail(Kind::Reversed, item);
        return true;
    }
};

} // namespace

std::optional<CouponsInPlay> CouponsInPlay::Parse(std::string_view text, ParseError* error) {
    if (text.size() > kMaxTextLength) {
        if (error) {
            error->kind = Kind::TooLong;
            error->part = Quoted(text);
        }
        return std::nullopt;
    }
    CouponsInPlay result;
    std::size_t start = 0;
    while (start <= text.size()) {
        std::size_t end = text.find(',', start);
        if (end == std::string_view::npos)
            end = text.size();
        const std::string_view item = TrimBlanks(text.substr(start, end - start));
        start = end + 1;
        // An empty part ("1-5,,7", a trailing comma) holds nothing to refuse.
        if (item.empty())
            continue;
        Reader reader{item, 0, error};
        std::pair<int, int> range;
        if (!reader.Range(&range))
            return std::nullopt;
        result.ranges_.push_back(range);
    }
    std::sort(result.ranges_.begin(), result.ranges_.end());
    std::vector<std::pair<int, int>> merged;
    for (const auto& range : result.ranges_) {
        // Overlapping or touching ranges become one: 1-5 and 6-9 are 1-9.
        if (!merged.empty() && range.first <= merged.back().second + 1)
            merged.back().second = std::max(merged.back().second, range.second);
        else
            merged.push_back(range);
    }
    result.ranges_ = std::move(merged);
    return result;
}

bool CouponsInPlay::Contains(int coupon) const {
    if (coupon < GameRules::kLowestCouponNumber || coupon > GameRules::kHighestCouponNumber)
        return false;
    if (ranges_.empty())
        return true;
    // The last range that begins at or before the coupon.
    auto after = std::upper_bound(
        ranges_.begin(), ranges_.end(), coupon,
        [](int value, const std::pair<int, int>& range) { return value < range.first; });
    if (after == ranges_.begin())
        return false;
    return coupon <= std::prev(after)->second;
}

std::string CouponsInPlay::Text() const {
    std::string text;
    for (const auto& [first, last] : ranges_) {
        if (!text.empty())
            text += ", ";
        text += std::to_string(first);
        if (last != first)
            text += "-" + std::to_string(last);
    }
    return text;
}

} // namespace zorvi
