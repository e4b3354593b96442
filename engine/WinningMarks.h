#pragma once

#include <bitset>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

namespace zorvi {

// Which coupons in play hold a bingo right now: how many, and the lowest few numbers.
struct WinningNow {
    static constexpr std::size_t kFirstKept = 5;

    int count = 0;
    std::vector<int> first; // at most kFirstKept coupon numbers, ascending

    friend bool operator==(const WinningNow&, const WinningNow&) = default;
};

// The game as a scan sees it at one moment: a snapshot, so that the scan can run on its own
// thread while the game goes on.
struct WinningQuery {
    // The series' complete coupons, `couponSize` bytes each; null when no series is read.
    std::shared_ptr<const std::vector<std::uint8_t>> series;
    std::uint32_t couponSize = 0;
    std::vector<int> drawn; // in draw order
    int rowsNeeded = 1;
    int freeMiddle = 0;
    // Coupon numbers in play: sorted, merged, inclusive ranges; empty means every coupon.
    std::vector<std::pair<int, int>> inPlay;
    // The stage's pattern when it is not "row k": its masks, for coupons of `patternSquares`
    // squares (a coupon of another size holds none). Empty: row `rowsNeeded`.
    std::vector<std::uint32_t> patternMasks;
    int patternSquares = 0;
};

// Finds the coupons that the coupon check would call winners, for a whole series at once.
//
// For every coupon it keeps one bit per square that a drawn number marks (the first square
// that holds the number, as the check marks it). With the strict last-number rule only a coupon
// that holds the last number can win, so a draw costs one pass over the series for that number:
// its bit is set and the coupons that hold it are judged. A cancel clears the cancelled number's
// bit in one more pass; a change of more numbers (a resumed game, another series) builds the
// marks anew. Extra memory: four bytes per coupon.
class WinningMarks {
public:
    // True when the answer is no longer wanted (a newer game moment came).
    using Stopped = std::function<bool()>;

    // The coupons of `query` that hold a bingo, or nothing when `stopped` said so on the way.
    std::optional<WinningNow> Answer(const WinningQuery& query, const Stopped& stopped = {});

    // Bytes held between answers.
    std::size_t MemoryBytes() const;
    void Clear();

private:
    enum class Pass { Mark, Unmark, Judge, MarkAndJudge };

    bool SameSeries(const WinningQuery& query) const;
    void StartOver(const WinningQuery& query);
    bool Rebuild(const std::uint8_t* bytes, const std::bitset<256>& drawn, const Stopped& stopped);
    // One pass over the series for `number`; false when stopped.
    bool RunPass(const WinningQuery& query, int number, Pass pass, const Stopped& stopped,
                 WinningNow& answer);
    // Coupons too large for a mask word: the check itself, coupon by coupon.
    std::optional<WinningNow> AnswerByCheck(const WinningQuery& query, const Stopped& stopped);

    // Weak: a series read anew is released at once, not kept alive by its old marks.
    std::weak_ptr<const std::vector<std::uint8_t>> series_;
    std::uint32_t couponSize_ = 0;
    std::vector<std::uint32_t> masks_;
    std::bitset<256> marked_; // the drawn numbers the masks hold
    bool valid_ = false;
};

} // namespace zorvi
