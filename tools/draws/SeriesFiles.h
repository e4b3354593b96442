#pragma once

#include <cstdint>
#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "WinPattern.h"

namespace zorvi {

// The coupon series that a game log names ("Coupon series: kup75.hex, SHA-256 …"), found by
// their digest: among the files given on the command line, else the file of that name where
// the program finds it. A series is used only when its bytes give the logged digest, so a
// winner is never judged against coupons other than those that were played.
class SeriesFiles {
public:
    enum class Verdict { Wins, Wrong, NotInSeries, NotCheckable };

    SeriesFiles() = default;
    virtual ~SeriesFiles() = default;

    // A file given with --series; false when it cannot be read.
    bool Add(const std::filesystem::path& path);
    // Whether the coupon holds the stage's pattern on the last number of `drawn`, by the series
    // with this name and digest. NotCheckable when no such series is at hand, or the pattern is
    // not known; an empty digest is the series that could not be read, which holds no coupon.
    Verdict Judge(const std::string& name, const std::string& digest, int numberCount,
                  bool freeMiddle, int coupon, const WinPattern& pattern,
                  const std::vector<int>& drawn);

    // The pattern of a stage as the log names it ("four_corners", or a drawn grid
    // "..#../.###./..."); an empty name is row `row` of the game. Nothing when not known.
    static std::optional<WinPattern> PatternOf(const std::string& name, int row, int numberCount);

private:
    const std::vector<std::uint8_t>* Find(const std::string& name, const std::string& digest);

    std::map<std::string, std::vector<std::uint8_t>> by_digest_;
    std::map<std::string, bool> looked_up_; // names already looked for where the program looks
};

} // namespace zorvi
