#include "BingoHelpers.h"

#include <algorithm>
#include <array>
#include <cstdio>

#include "Folders.h"
#include "GameRules.h"
#include "Language.h"
#include "MessageSink.h"
#include "ProgramState.h"
#include "RegularFile.h"
#include "Settings.h"
#include "Sha256.h"

namespace zorvi {

namespace {

// The coupon number field takes at most this number, so no later coupon can ever be checked;
// reading stops there, which also keeps a huge or endless file from exhausting memory.
constexpr std::uint64_t kMaxCheckableCoupons = GameRules::kHighestCouponNumber;
constexpr std::size_t kTicketCells = GameRules::kNinetyTicketCells;
constexpr std::size_t kTicketColumns = GameRules::kNinetyTicketColumns;
constexpr std::size_t kTicketNumbers = GameRules::CouponSize(GameRules::kNumbers90);

std::uint32_t CouponSizeFor(int numberCount) {
    return static_cast<std::uint32_t>(GameRules::CouponSize(numberCount));
}

// Characters, not bytes, of a UTF-8 text: the widths must match the heading on screen.
int CharacterCount(const std::string& text) {
    return static_cast<int>(std::count_if(text.begin(), text.end(), [](char c) {
        return (static_cast<unsigned char>(c) & 0xC0u) != 0x80u;
    }));
}

// The column of a 90-ticket number by its tens; -1 for a value that has no column.
int NinetyColumn(int value) {
    if (value < 1 || value > GameRules::kNumbers90)
        return -1;
    if (value == GameRules::kNumbers90)
        return GameRules::kNinetyTicketColumns - 1;
    return value / 10;
}

} // namespace

std::optional<std::string> BingoHelpers::SeriesFileName(int numberCount, int couponSeries) {
    static const std::array<const char*, 3> kSeries75 = {"kup75.hex", "VORPA.hex", "KASTIRO.hex"};
    if (numberCount != GameRules::kNumbers75)
        return std::string("90.hex");
    if (couponSeries < 0 || couponSeries >= static_cast<int>(kSeries75.size()))
        return std::nullopt;
    return std::string(kSeries75[static_cast<std::size_t>(couponSeries)]);
}

int BingoHelpers::ReadCouponSeries(int numberCount, int couponSeries) {
    const std::uint32_t n = CouponSizeFor(numberCount);
    ClearCoupons();
    const std::optional<std::string> name = SeriesFileName(numberCount, couponSeries);
    series_name_ = name ? *name : "series " + std::to_string(couponSeries);
    series_digest_.clear();
    std::optional<std::vector<std::uint8_t>> bytes;
    if (name) {
        bytes = ReadCouponFile(*name);
    } else if (messages_ != nullptr) {
        messages_->ShowMessage("Failed opening coupon file: (no file for coupon series " +
                                   std::to_string(couponSeries) + ")",
                               "Failed");
    }
    if (!bytes) {
        // Keep a blank coupon of the game's size so that a check still has a coupon to show.
        coupon_size_ = n;
        blank_.assign(n, 0);
        if (seriesRead_)
            seriesRead_();
        return -1;
    }
    SetSeriesBytes(std::move(*bytes), n, series_name_);
    return 0;
}

std::string BingoHelpers::DigestOf(const std::vector<std::uint8_t>& bytes) {
    Sha256 hash;
    hash.Update(bytes.data(), bytes.size());
    const Sha256::Digest digest = hash.Finish();
    return HexText(digest.data(), digest.size());
}

void BingoHelpers::SetSeriesBytes(std::vector<std::uint8_t> bytes, std::uint32_t couponSize,
                                  const std::string& name) {
    series_name_ = name;
    series_digest_ = DigestOf(bytes);
    coupon_size_ = couponSize;
    if (couponSize == 0) {
        bytes_.reset();
        blank_.clear();
        return;
    }
    // Only complete coupons belong to the series; the capacity stays, a copy would cost more.
    std::uint64_t coupons = bytes.size() / couponSize;
    coupons = std::min(coupons, kMaxCheckableCoupons);
    bytes.resize(static_cast<std::size_t>(coupons * couponSize));
    bytes_ = std::make_shared<std::vector<std::uint8_t>>(std::move(bytes));
    blank_.assign(couponSize, 0);
    if (seriesRead_)
        seriesRead_();
}

std::optional<std::vector<std::uint8_t>> BingoHelpers::ReadCouponFile(const std::string& name) {
    auto bytes = ReadSeriesAt(Helpers::FindSeriesFile(name));
    if (!bytes && messages_ != nullptr)
        messages_->ShowMessage("Failed opening coupon file: " + name, "Failed");
    return bytes;
}

std::optional<std::vector<std::uint8_t>>
BingoHelpers::ReadSeriesAt(const std::filesystem::path& path) {
    // The largest series that can matter: every checkable coupon of the larger size. A longer
    // file (or one that never ends) is read that far; what lies beyond could never be checked.
    // Only a regular file is read, and the open never waits on a pipe.
    const std::uint64_t limit = kMaxCheckableCoupons * CouponSizeFor(GameRules::kNumbers75);
    std::vector<std::uint8_t> bytes;
    const FileRead read = ReadRegularFile(path, limit, bytes);
    if (read != FileRead::Ok && read != FileRead::TooLarge)
        return std::nullopt;
    return bytes;
}

void BingoHelpers::ClearCoupons() {
    // Release the memory too (a series can be tens of megabytes), unless a scan still reads it.
    bytes_.reset();
    blank_.clear();
    coupon_size_ = 0;
}

std::uint32_t BingoHelpers::CouponCount() const {
    return coupon_size_ == 0 || !bytes_ ? 0
                                        : static_cast<std::uint32_t>(bytes_->size() / coupon_size_);
}

BingoCoupon BingoHelpers::GetCoupon(long long k) const {
    if (k >= 1 && k <= static_cast<long long>(CouponCount()))
        return BingoCoupon(bytes_->data() + static_cast<std::size_t>(k - 1) * coupon_size_,
                           coupon_size_);
    return BlankCoupon();
}

BingoCoupon BingoHelpers::BlankCoupon() const {
    if (blank_.empty())
        return BingoCoupon();
    return BingoCoupon(blank_.data(), static_cast<std::uint32_t>(blank_.size()));
}

int BingoHelpers::CheckCouponNumber(int rowsNeeded, const std::vector<int>& drawn,
                                    long long k) const {
    if (k < 1 || k > static_cast<long long>(CouponCount()))
        return CouponCheck::NotInSeries;
    const int freeMiddle = settings_ != nullptr ? settings_->free_middle : 0;
    return GetCoupon(k).HasBingo(rowsNeeded, drawn, freeMiddle) ? CouponCheck::Wins
                                                                : CouponCheck::DoesNotWin;
}

int BingoHelpers::CheckCouponNumber(const WinPattern& pattern, const std::vector<int>& drawn,
                                    long long k) const {
    if (k < 1 || k > static_cast<long long>(CouponCount()))
        return CouponCheck::NotInSeries;
    const int freeMiddle = settings_ != nullptr ? settings_->free_middle : 0;
    return GetCoupon(k).HoldsPattern(pattern, drawn, freeMiddle) ? CouponCheck::Wins
                                                                 : CouponCheck::DoesNotWin;
}

std::vector<int> BingoHelpers::LayoutNinetyTicket(const std::vector<int>& numbers) {
    std::vector<int> cells(kTicketCells, 0);
    int column = 0;
    // A ticket has three rows of five; anything beyond them has no cell.
    const std::size_t count = std::min(numbers.size(), kTicketNumbers);
    for (std::size_t p = 0; p < count; ++p) {
        const int value = numbers[p];
        const int own = NinetyColumn(value);
        if (own >= 0)
            column = own;
        const std::size_t row = p / GameRules::kRowLength;
        cells[row * kTicketColumns + static_cast<std::size_t>(column)] = value;
    }
    return cells;
}

std::vector<int> BingoHelpers::MarkDrawnNumbers(const std::vector<int>& layout,
                                                const std::vector<int>& drawn, int freeMiddle) {
    std::vector<int> marks(layout.size(), 0);
    // The free middle of a 75-number card; a 90-number layout has none.
    constexpr int kCardCells = GameRules::CouponSize(GameRules::kNumbers75);
    if (freeMiddle == 1 && layout.size() == kCardCells)
        marks[GameRules::MiddleCell(kCardCells)] = 1;
    for (std::size_t i = 0; i < drawn.size(); ++i) {
        const auto cell = std::find(layout.begin(), layout.end(), drawn[i]);
        if (cell != layout.end())
            marks[static_cast<std::size_t>(cell - layout.begin())] = i + 1 == drawn.size() ? 2 : 1;
    }
    return marks;
}

std::string BingoHelpers::JoinComma(const std::vector<int>& values) {
    std::string text;
    text.reserve(values.size() * 4);
    for (std::size_t i = 0; i < values.size(); ++i) {
        if (i > 0)
            text += ',';
        text += std::to_string(values[i]);
    }
    return text;
}

std::string BingoHelpers::FormatWinners(const std::vector<Winner>& winners, int language) {
    const int rowWidth = CharacterCount(Language::GetText(TextId::TXT_ROW, language));
    const int countWidth = CharacterCount(Language::GetText(TextId::TXT_NUMBER_COUNT, language));
    std::string text;
    for (const Winner& winner : winners) {
        const char* separator = text.empty() ? "" : "\r\n";
        const int length =
            std::snprintf(nullptr, 0, "%s %-*d  %-*d  %-d", separator, rowWidth, winner.row,
                          countWidth, winner.drawn_count, winner.coupon_number);
        if (length <= 0)
            continue;
        std::string line(static_cast<std::size_t>(length) + 1, '\0');
        std::snprintf(line.data(), line.size(), "%s %-*d  %-*d  %-d", separator, rowWidth,
                      winner.row, countWidth, winner.drawn_count, winner.coupon_number);
        line.pop_back();
        text += line;
    }
    return text;
}

} // namespace zorvi
