#pragma once

#include <cstddef>
#include <istream>
#include <memory>
#include <string>
#include <vector>

namespace zorvi {

class SeriesFiles;

// Checks a game log:
// - the chain: every seal ("Game seal: ", "Log seal: ") against the lines before it in its
//   file, so that an edited, inserted, deleted or moved line is found;
// - the draws: every commitment against the reveal that closes its game, every draw against
//   the revealed order, every cancel, row change and winner's drawn numbers against the draws
//   before it;
// - the checks: every winner and every logged verdict against the coupon series the game was
//   played with, where that series is at hand.
class LogVerifier {
public:
    struct Failure {
        // The name its log was fed under and its line number within that log (1-based).
        std::string file;
        std::size_t line_number = 0;
        std::string line;
        std::string reason;
        std::size_t file_index = 0; // the logs in the order fed
    };
    struct Result {
        bool ok = true;
        // The first line that fails, with why (as failures.front()).
        std::string file;
        std::size_t line_number = 0;
        std::string line;
        std::string reason;
        // Every line that fails, each with every reason, in the order of the logs; at most
        // kMaxFailures.
        std::vector<Failure> failures;
        std::size_t more_failures = 0; // beyond those listed

        std::size_t games_verified = 0;   // commitment and reveal agree
        std::size_t lists_checked = 0;    // winners' lists found in a verified game
        std::size_t not_revealed = 0;     // commitments whose game has not been revealed (yet)
        std::size_t lists_unchecked = 0;  // winners' lists in no committed game, or unrevealed
        std::size_t reveals_without = 0;  // reveals of a game committed before this log
        std::size_t repeated_reveals = 0; // a verified game revealed again
        std::size_t draws_checked = 0;    // draw lines of verified games
        std::size_t seals_verified = 0;
        std::size_t unsealed_lines = 0;       // after the last seal of a file (a game in play)
        std::size_t checks_judged = 0;        // winners and verdicts judged by the series
        std::size_t checks_not_checkable = 0; // their series was not at hand
        std::size_t machine_games = 0; // games of the hall's ball machine (nothing to reveal)
        // The evening's programme: its games begun, and their jackpots won or carried over.
        std::size_t programme_games = 0;
        std::size_t jackpots_won = 0;
        std::size_t jackpots_carried = 0;
    };
    static constexpr std::size_t kMaxFailures = 100;

    // Without series files, the checks are judged by the series found where the program finds
    // them; `series` must outlive the verifier.
    explicit LogVerifier(SeriesFiles* series = nullptr);
    virtual ~LogVerifier();
    LogVerifier(const LogVerifier&) = delete;
    LogVerifier& operator=(const LogVerifier&) = delete;

    // Feeds one more log under its name (a game may span months, so a game open at the end of
    // one log goes on in the next); its lines are numbered from 1, its chain starts afresh.
    void Feed(std::istream& in, const std::string& name = std::string());
    // Closes the last open game and gives the outcome.
    Result Finish();

    // The message of a log line ("2024-3-5 9:5:3: message"), or false when it is not one.
    static bool SplitLine(const std::string& line, std::string* message);

private:
    struct State;
    std::unique_ptr<State> state_;
};

} // namespace zorvi
