#pragma once

#include <cstddef>
#include <istream>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace zorvi {

// The games of a game log, as the printed record shows them: when each began, its commitment
// and whether its reveal verifies, its checks and its winners.
struct RecordedCheck {
    std::size_t line = 0;
    std::string time;
    int coupon = 0;
    int row = 0;
    // A check line that could not be read: the line as written, shortened; coupon and row 0.
    std::string damaged;
    // The numbers drawn at the check, from the line that follows it; none when it is missing
    // or unreadable.
    std::optional<std::vector<int>> drawn;
};

struct RecordedWinner {
    int row = 0;
    int drawn_count = 0;
    int coupon = 0;
    bool operator==(const RecordedWinner&) const = default;
};

struct RecordedGame {
    enum class Begin {
        Commitment, // its "Game commitment" line
        NewGame,    // a "Starting new game" line, in a log without commitments
        BeforeLog,  // its first line in this log is a check or its reveal
    };
    enum class Reveal {
        NotRevealed,  // no reveal in this log (still in play, or the program was closed)
        Verifies,     // the reveal gives the commitment, and every check's numbers start it
        Fails,        // see reveal_problem
        NoCommitment, // revealed, but its commitment is not in this log
    };

    Begin begin = Begin::BeforeLog;
    std::size_t first_line = 0;
    std::string started;    // the time of the line that began it; empty for BeforeLog
    std::string commitment; // 64 hex digits, or empty
    // A commitment line whose digest is no digest: the text as written, shortened.
    std::string bad_commitment;
    Reveal reveal = Reveal::NotRevealed;
    std::string reveal_time;
    std::string reveal_problem;
    // NoCommitment: the commitment that the reveal gives, to compare with an earlier log.
    std::string revealed_commitment;
    std::vector<int> revealed; // the whole order, when a reveal could be read
    std::vector<RecordedCheck> checks;
    std::vector<std::string> coupons_in_play; // "Coupons in play" notes in the game
    std::vector<std::string> restarts;        // times the program started again during the game
    // The notes of who held a bingo after a draw: time and the note after "Winning now: ".
    std::vector<std::pair<std::string, std::string>> winning_now;

    // The numbers known to be drawn: those of the check that saw the most.
    std::vector<int> Drawn() const;
    // The winners, each once: the checks that found a bingo, by row, count and coupon.
    std::vector<RecordedWinner> Winners() const;
    // 75 or 90 when the reveal or the numbers tell, else 0.
    int NumberCount() const;
};

// Reads game logs line by line (several files in order, oldest first), never failing:
// what cannot be read is left out or reported with its game.
class GameRecordReader {
public:
    GameRecordReader();
    virtual ~GameRecordReader();
    GameRecordReader(const GameRecordReader&) = delete;
    GameRecordReader& operator=(const GameRecordReader&) = delete;

    void Feed(std::istream& in);
    std::vector<RecordedGame> Finish();

    // Lines read, and those that were game-log lines at all.
    std::size_t Lines() const;
    std::size_t LogLines() const;

private:
    struct State;
    std::unique_ptr<State> state_;
};

} // namespace zorvi
