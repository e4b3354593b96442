#pragma once

#include <cstddef>
#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <string_view>

#include "Programme.h"

namespace zorvi {

inline constexpr std::string_view kJackpotFileName = "jackpots.ini";

// True when a full card on the `drawnCount`-th number wins the jackpot: within N numbers, or at
// any count once the jackpot stands at its cap and must go.
bool JackpotWins(const Jackpot& jackpot, const JackpotNow& now, int drawnCount);

// The jackpot after an evening it was not won: N grows by the step up to the cap (up to the
// game's `numberCount` when there is no cap), the prize by its step up to the largest prize.
JackpotNow CarriedOver(const Jackpot& jackpot, const JackpotNow& now, int numberCount);

// The jackpots as they stand between evenings, by game name, kept in jackpots.ini of the data
// folder. Only jackpots that were carried over are stored: a game without an entry stands at
// its programme's values.
class JackpotBook {
public:
    // Far beyond the games of any programme; bounds what a damaged file can make us hold.
    static constexpr std::size_t kMostEntries = 1000;
    static constexpr std::size_t kLargestFile = 256 * 1024;

    // The game's jackpot tonight: the stored one while it still fits the programme's jackpot
    // (N from the base up to the cap, the prize from the base up), else the programme's base.
    // {0, 0} for a game without a jackpot.
    JackpotNow Current(const ProgrammeGame& game) const;

    // The jackpot was won: back to the programme's base.
    void Won(const ProgrammeGame& game);
    // Nobody won it: it grows for the next evening. A new game beyond kMostEntries is not
    // stored and starts from its base again.
    void Carry(const ProgrammeGame& game);

    // Reads jackpots.ini of `folder`. A missing file is an empty book; a damaged one too (every
    // game starts from its programme's values), with false returned.
    bool Load(const std::filesystem::path& folder);
    // Writes jackpots.ini as one step; false on failure.
    bool Save(const std::filesystem::path& folder) const;

    // The file's text, and reading it back; a text that is not whole gives nothing.
    std::string Format() const;
    static std::optional<std::map<std::string, JackpotNow>> Parse(std::string_view text);

    const std::map<std::string, JackpotNow>& Entries() const { return entries_; }

private:
    std::map<std::string, JackpotNow> entries_;
};

} // namespace zorvi
