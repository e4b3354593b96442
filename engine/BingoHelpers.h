#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "BingoCoupon.h"

namespace zorvi {

class MessageSink;
class Settings;
struct Winner;
struct WinPattern;

// The coupon series of the game in memory, read from its series file in the program
// folder, with the matching operations of the coupon check. The file's complete coupons
// are held as one contiguous block; a coupon is a view of n bytes of it.
class BingoHelpers {
public:
    BingoHelpers() = default;
    virtual ~BingoHelpers() = default;
    BingoHelpers(const BingoHelpers&) = delete;
    BingoHelpers& operator=(const BingoHelpers&) = delete;

    void AttachSettings(const Settings& settings) { settings_ = &settings; }
    void AttachMessages(MessageSink* messages) { messages_ = messages; }
    // Told after every read of a series, whether it could be read or not (the hall server
    // answers look-ups from the series in use).
    void OnSeriesRead(std::function<void()> listener) { seriesRead_ = std::move(listener); }

    // The file name of a series: "kup75.hex", "VORPA.hex", "KASTIRO.hex" for 75 numbers and
    // series 0, 1, 2; "90.hex" for any other number count; none for another series.
    static std::optional<std::string> SeriesFileName(int numberCount, int couponSeries);

    // 0 when the file was read, -1 when it could not be opened ("Failed opening coupon file: %s").
    // After a failure the series is empty; a blank coupon of the game's size is still kept, so a
    // check of any number shows the blank coupon and "Wrong!".
    int ReadCouponSeries(int numberCount, int couponSeries);
    // Reads a series from an opened file's bytes (also used by tests and tools), under the
    // name the log gives it.
    void SetSeriesBytes(std::vector<std::uint8_t> bytes, std::uint32_t couponSize,
                        const std::string& name = "series.hex");
    // The file's bytes, or nothing when it cannot be opened (message shown).
    std::optional<std::vector<std::uint8_t>> ReadCouponFile(const std::string& name);
    // A series file's bytes as the program reads them (at most as many as can ever be
    // checked), so that a tool finds the same digest; nothing when it cannot be read.
    static std::optional<std::vector<std::uint8_t>> ReadSeriesAt(const std::filesystem::path& path);
    void ClearCoupons();

    // The file of the series last read, and the SHA-256 of its bytes (empty when it could not
    // be read): the game log names the series each game is played with.
    const std::string& SeriesName() const { return series_name_; }
    const std::string& SeriesDigest() const { return series_digest_; }
    static std::string DigestOf(const std::vector<std::uint8_t>& bytes);

    std::uint32_t CouponCount() const;
    std::uint32_t CouponSize() const { return coupon_size_; }
    // Coupon k when 1 <= k <= CouponCount, otherwise the blank coupon (empty view when none).
    BingoCoupon GetCoupon(long long k) const;
    BingoCoupon BlankCoupon() const;
    // The complete coupons' bytes, shared with a scan that may outlive this series; null when
    // no series is read.
    std::shared_ptr<const std::vector<std::uint8_t>> SeriesBytes() const { return bytes_; }

    // 1 coupon k wins, 0 it does not, -1 there is no coupon k in the series.
    int CheckCouponNumber(int rowsNeeded, const std::vector<int>& drawn, long long k) const;
    // The same, for the stage's pattern.
    int CheckCouponNumber(const WinPattern& pattern, const std::vector<int>& drawn,
                          long long k) const;

    // The 27 cells (3 rows of 9 columns) of a 90-number ticket from its 15 numbers.
    static std::vector<int> LayoutNinetyTicket(const std::vector<int>& numbers);
    // One mark per cell: 0 not drawn, 1 drawn, 2 drawn last; the free middle of 25 cells is 1.
    static std::vector<int> MarkDrawnNumbers(const std::vector<int>& layout,
                                             const std::vector<int>& drawn, int freeMiddle);
    // Values joined by "," without blanks.
    static std::string JoinComma(const std::vector<int>& values);
    // The winners list text, columns as wide as the "Row" and "Number count" texts.
    static std::string FormatWinners(const std::vector<Winner>& winners, int language);

private:
    const Settings* settings_ = nullptr;
    MessageSink* messages_ = nullptr;
    std::shared_ptr<std::vector<std::uint8_t>> bytes_; // complete coupons only
    std::uint32_t coupon_size_ = 0;                    // 0 until a series is read
    std::string series_name_;
    std::string series_digest_;
    std::vector<std::uint8_t> blank_; // n zeros
    std::function<void()> seriesRead_;
};

} // namespace zorvi
