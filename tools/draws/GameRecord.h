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
    enum class Verdict { Bingo, Wrong, NotInSeries };
    // Judged again by the coupon series the log names (JudgeChecks).
    enum class Judged {
        NotJudged,    // the log names no series for it (written by an older version)
        Holds,        // the series gives the same verdict
        Fails,        // the series gives another verdict
        NotCheckable, // the series named is not at hand, or the numbers drawn are not known
    };

    std::size_t file_index = 0; // the log it is in, in the order read
    std::size_t line = 0;       // within that log
    std::string time;
    int coupon = 0;
    int row = 0;
    // The stage's pattern in a game of the programme, as the log names it; empty for a row.
    std::string pattern;
    Verdict verdict = Verdict::Bingo;
    Judged judged = Judged::NotJudged;
    // A check line that could not be read: the line as written, shortened; coupon and row 0.
    std::string damaged;
    // The numbers drawn at the check: a winner's from the line that follows it, a miss's from
    // the draws; none when they are not known.
    std::optional<std::vector<int>> drawn;
    // What it was judged by: the series and rules in force at the check.
    std::string series_name;
    std::string series_digest;
    bool series_named = false;
    int number_count = 0;
    bool free_middle = false;
};

struct RecordedWinner {
    int row = 0;
    int drawn_count = 0;
    int coupon = 0;
    RecordedCheck::Judged judged = RecordedCheck::Judged::NotJudged;
    bool operator==(const RecordedWinner&) const = default;
};

struct RecordedGame {
    enum class Begin {
        Commitment,  // its "Game commitment" line
        NewGame,     // a "Starting new game" line, in a log without commitments
        BeforeLog,   // its first line in this log is a check or its reveal
        BallMachine, // "Ball source: the hall's ball machine": no commitment, balls entered
    };
    enum class Reveal {
        NotRevealed,  // no reveal in this log (still in play, or the program was closed)
        Verifies,     // the reveal gives the commitment, and every check's numbers start it
        Fails,        // see reveal_problem
        NoCommitment, // revealed, but its commitment is not in this log
    };

    Begin begin = Begin::BeforeLog;
    std::size_t file_index = 0; // the log of its first line, in the order read
    std::string file;           // its name
    std::size_t first_line = 0; // within that log
    std::string started;        // the time of the line that began it; empty for BeforeLog
    std::string commitment;     // 64 hex digits, or empty
    // A commitment line whose digest is no digest: the text as written, shortened.
    std::string bad_commitment;
    Reveal reveal = Reveal::NotRevealed;
    std::string reveal_time;
    std::string reveal_problem;
    // NoCommitment: the commitment that the reveal gives, to compare with an earlier log.
    std::string revealed_commitment;
    std::vector<int> revealed; // the whole order, when a reveal could be read
    std::vector<RecordedCheck> checks;
    // From the game's own lines, where the log has them: its rules, its coupon series (the last
    // named), every number drawn (draws less cancels), its seal.
    std::string rules;
    std::string series_name;
    std::string series_digest;
    bool draws_logged = false;
    std::vector<int> called;
    std::string seal;
    // A game of the evening's programme: its line ("Game 3 of 12: …"), each stage line as
    // written, and its jackpot's lines.
    std::string programme;
    std::vector<std::string> stages;
    std::vector<std::string> jackpot;
    // Balls of the hall's machine recalled: "time: ball".
    std::vector<std::string> recalls;
    // The lines of the game that the verifier found failing: "line 12: reason".
    std::vector<std::string> failures;
    std::vector<std::string> coupons_in_play; // "Coupons in play" notes in the game
    std::vector<std::string> restarts;        // times the program started again during the game
    // The notes of who held a bingo after a draw: time and the note after "Winning now: ".
    std::vector<std::pair<std::string, std::string>> winning_now;

    // The numbers known to be drawn: every draw where the log has them, else those of the
    // check that saw the most.
    std::vector<int> Drawn() const;
    // The winners, each once: the checks that found a bingo, by row, count and coupon.
    std::vector<RecordedWinner> Winners() const;
    // Checks that found no bingo.
    std::size_t Misses() const;
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

    // One more log under its name; its lines are numbered from 1.
    void Feed(std::istream& in, const std::string& name = std::string());
    std::vector<RecordedGame> Finish();

    // Lines read, and those that were game-log lines at all.
    std::size_t Lines() const;
    std::size_t LogLines() const;

private:
    struct State;
    std::unique_ptr<State> state_;
};

class SeriesFiles;

// Judges every check again by the series and rules in force at it, where the log names them.
void JudgeChecks(std::vector<RecordedGame>& games, SeriesFiles& series);

} // namespace zorvi
