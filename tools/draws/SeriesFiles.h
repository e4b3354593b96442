#pragma once

#include <cstdint>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

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
    // Whether the coupon holds `row` complete rows with the last number of `drawn` in one of
    // them, by the series with this name and digest. NotCheckable when no such series is at
    // hand; an empty digest is the series that could not be read, which holds no coupon.
    Verdict Judge(const std::string& name, const std::string& digest, int numberCount,
                  bool freeMiddle, int coupon, int row, const std::vector<int>& drawn);

private:
    const std::vector<std::uint8_t>* Find(const std::string& name, const std::string& digest);

    std::map<std::string, std::vector<std::uint8_t>> by_digest_;
    std::map<std::string, bool> looked_up_; // names already looked for where the program looks
};

} // namespace zorvi
