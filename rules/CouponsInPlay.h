#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace zorvi {

// The coupon numbers sold tonight, as the operator writes them: "1-500, 1201-1300", single
// numbers ("7") among them, blanks anywhere between the parts. An empty text means the whole
// series. Plain C++: the engine's scan, the settings and the log all use it.
class CouponsInPlay {
public:
    // Longest text taken, in bytes: hundreds of ranges, still one line of "settings.ini".
    static constexpr std::size_t kMaxTextLength = 2000;

    // Why a text was refused; `part` is the offending part as typed (shortened when long).
    struct ParseError {
        enum class Kind {
            TooLong,       // more than kMaxTextLength bytes
            Garbage,       // something that is not a number, a dash or a comma
            MissingNumber, // "5-" or "-5"
            OutOfRange,    // 0, or above the highest coupon number (however many digits)
            Reversed,      // "500-1"
        };
        Kind kind = Kind::Garbage;
        std::string part;
    };

    // The whole series.
    CouponsInPlay() = default;

    // The ranges of `text`, sorted and merged; nothing when it is refused, with `error` (when
    // given) saying why. The services put the reason into words (DescribeCouponsInPlay).
    static std::optional<CouponsInPlay> Parse(std::string_view text, ParseError* error = nullptr);

    // True for a coupon number in play; with the whole series, for every coupon number
    // (1 to 999999).
    bool Contains(int coupon) const;
    // The whole series: no ranges given.
    bool All() const { return ranges_.empty(); }
    // Inclusive, sorted by their first number, neither overlapping nor touching.
    const std::vector<std::pair<int, int>>& Ranges() const { return ranges_; }
    // The canonical text: "1-500, 1201-1300", "7" for a range of one; empty for the whole series.
    std::string Text() const;

    // The highest coupon in play, 0 for the whole series.
    int Highest() const { return ranges_.empty() ? 0 : ranges_.back().second; }

    bool operator==(const CouponsInPlay&) const = default;

private:
    std::vector<std::pair<int, int>> ranges_;
};

} // namespace zorvi
