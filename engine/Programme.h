#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "WinPattern.h"

namespace zorvi {

// One stage of a game: the pattern that wins it and what it wins.
struct ProgrammeStage {
    WinPattern pattern;
    std::string prize; // "20 €", "Gift basket"

    friend bool operator==(const ProgrammeStage&, const ProgrammeStage&) = default;
};

// "Full card within N numbers" for an extra prize, won with the game's last stage (a full card).
// Progressive: when nobody wins it, N grows by `step` and the prize by `prizeStep`, up to `cap`;
// at the cap the jackpot must go, to the full card at whatever count.
struct Jackpot {
    int within = 0;      // N; 0: the game has no jackpot
    long long prize = 0; // in the programme's currency
    int step = 0;
    long long prizeStep = 0;
    int cap = 0; // the largest N; 0: N grows up to the game's number count and never must go

    bool Any() const { return within > 0; }
    bool Progressive() const { return step > 0 || prizeStep > 0; }
    friend bool operator==(const Jackpot&, const Jackpot&) = default;
};

// A jackpot as it stands tonight: N and the prize after the evenings it was not won.
struct JackpotNow {
    int within = 0;
    long long prize = 0;
    friend bool operator==(const JackpotNow&, const JackpotNow&) = default;
};

struct ProgrammeGame {
    std::string name; // unique within the programme
    int numberCount = 75;
    std::vector<ProgrammeStage> stages; // at least one
    Jackpot jackpot;

    friend bool operator==(const ProgrammeGame&, const ProgrammeGame&) = default;
};

// An evening's programme: games in order, each with its stages, prizes and jackpot, and the
// patterns the hall drew for it.
struct Programme {
    std::string name;
    std::string currency = "€";
    std::vector<WinPattern> drawnPatterns;
    std::vector<ProgrammeGame> games;

    bool Empty() const { return games.empty(); }
    friend bool operator==(const Programme&, const Programme&) = default;
};

// Bounds that keep a programme something a hall reads in one look, and a file that a hostile
// edit cannot make costly.
namespace ProgrammeLimits {
inline constexpr std::size_t kMostGames = 100;
inline constexpr std::size_t kMostStages = 10;
inline constexpr std::size_t kMostDrawnPatterns = 50;
inline constexpr std::size_t kLongestName = 60;  // bytes of a programme, game or pattern name
inline constexpr std::size_t kLongestPrize = 40; // bytes of a prize text or a currency
inline constexpr long long kLargestPrize = 1'000'000'000;
inline constexpr std::size_t kLargestFile = 256 * 1024;
} // namespace ProgrammeLimits

} // namespace zorvi
