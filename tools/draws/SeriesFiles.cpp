#include "SeriesFiles.h"

#include <algorithm>

#include "BingoCoupon.h"
#include "BingoHelpers.h"
#include "Folders.h"
#include "GameRules.h"

namespace zorvi {

bool SeriesFiles::Add(const std::filesystem::path& path) {
    auto bytes = BingoHelpers::ReadSeriesAt(path);
    if (!bytes)
        return false;
    const std::string digest = BingoHelpers::DigestOf(*bytes);
    by_digest_.emplace(digest, std::move(*bytes));
    return true;
}

const std::vector<std::uint8_t>* SeriesFiles::Find(const std::string& name,
                                                   const std::string& digest) {
    auto found = by_digest_.find(digest);
    if (found == by_digest_.end() && !looked_up_[name]) {
        looked_up_[name] = true;
        // Only a bare file name, as the program writes it: a log must not steer the tool to
        // another folder.
        if (name.find_first_of("/\\") == std::string::npos && name != "." && name != "..")
            Add(Helpers::FindSeriesFile(name));
        found = by_digest_.find(digest);
    }
    return found == by_digest_.end() ? nullptr : &found->second;
}

SeriesFiles::Verdict SeriesFiles::Judge(const std::string& name, const std::string& digest,
                                        int numberCount, bool freeMiddle, int coupon,
                                        const WinPattern& pattern, const std::vector<int>& drawn) {
    if (digest.empty())
        return Verdict::NotInSeries;
    const std::vector<std::uint8_t>* bytes = Find(name, digest);
    if (bytes == nullptr)
        return Verdict::NotCheckable;
    const auto size = static_cast<std::size_t>(GameRules::CouponSize(numberCount));
    const std::size_t count =
        std::min<std::size_t>(bytes->size() / size, GameRules::kHighestCouponNumber);
    if (coupon < 1 || static_cast<std::size_t>(coupon) > count)
        return Verdict::NotInSeries;
    const BingoCoupon ticket(bytes->data() + (static_cast<std::size_t>(coupon) - 1) * size,
                             static_cast<std::uint32_t>(size));
    return ticket.HoldsPattern(pattern, drawn, freeMiddle ? 1 : 0) ? Verdict::Wins : Verdict::Wrong;
}

std::optional<WinPattern> SeriesFiles::PatternOf(const std::string& name, int row,
                                                 int numberCount) {
    if (name.empty())
        return WinPatterns::Rows(row, numberCount);
    if (const auto grid = WinPatterns::ParseGrid(name))
        return numberCount == GameRules::kNumbers75 ? WinPatterns::Drawn("drawn", *grid)
                                                    : std::nullopt;
    return WinPatterns::Find(name, numberCount);
}

} // namespace zorvi
