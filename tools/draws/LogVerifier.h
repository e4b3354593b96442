#pragma once

#include <cstddef>
#include <istream>
#include <memory>
#include <string>

namespace zorvi {

// Checks a game log: every "Game commitment: " against the "Game reveal: " that closes its game,
// and every winner's "Drawn numbers: " list in that game against the revealed sequence.
class LogVerifier {
public:
    struct Result {
        bool ok = true;
        // The first line that fails, with why: the name its log was fed under and its line
        // number within that log (1-based).
        std::string file;
        std::size_t line_number = 0;
        std::string line;
        std::string reason;

        std::size_t games_verified = 0;   // commitment and reveal agree
        std::size_t lists_checked = 0;    // winners' lists found in a verified game
        std::size_t not_revealed = 0;     // commitments whose game has not been revealed (yet)
        std::size_t lists_unchecked = 0;  // winners' lists in no committed game, or unrevealed
        std::size_t reveals_without = 0;  // reveals of a game committed before this log
        std::size_t repeated_reveals = 0; // a verified game revealed again
    };

    LogVerifier();
    virtual ~LogVerifier();
    LogVerifier(const LogVerifier&) = delete;
    LogVerifier& operator=(const LogVerifier&) = delete;

    // Feeds one more log under its name (a game may span months, so a game open at the end of
    // one log goes on in the next); its lines are numbered from 1.
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
