#include "LogVerifier.h"

#include <algorithm>
#include <map>
#include <optional>
#include <set>
#include <vector>

#include "DrawCommitment.h"
#include "LogLines.h"
#include "SeriesFiles.h"

namespace zorvi {

namespace {

using LogLines::IsHexDigest;
using LogLines::IsPermutation;
using LogLines::ParseDrawn;

bool StartsWith(std::string_view text, std::string_view prefix) {
    return text.substr(0, prefix.size()) == prefix;
}

std::string Where(const std::string& file, std::size_t line, const std::string& here) {
    return (file == here || file.empty() ? std::string() : file + ", ") + "line " +
           std::to_string(line);
}

// A line kept until its game is revealed: the numbers it says were drawn.
struct Kept {
    std::size_t file_index = 0;
    std::string file;
    std::size_t line_number = 0;
    std::string line;
    std::vector<int> numbers; // a winner's or a continued game's list
    int number = 0;           // a draw: its number and count
    int count = 0;
};

} // namespace

struct LogVerifier::State {
    explicit State(SeriesFiles* given) : series_files(given ? given : &own_series) {}

    SeriesFiles own_series;
    SeriesFiles* series_files;
    Result result;
    std::size_t feeds = 0;
    std::size_t file_index = 0;
    std::string file;
    std::size_t line_number = 0;
    std::string line; // the line being read, as it stands

    // The chain of the file being read.
    std::string chain;
    std::size_t sealed_up_to = 0; // the line of the last seal
    // A tracked game's reveal waits for its seal on the next line.
    std::optional<Kept> seal_due;

    // The game between its commitment and its reveal.
    bool open = false;
    std::string commitment;
    std::vector<Kept> lists;
    std::vector<Kept> draws;
    std::set<std::string> verified;
    // From its "Game rules" line on, a game's every draw, cancel, row change and check is in
    // the log, so each can be followed; a game begun by an older version is not.
    bool tracking = false;
    std::vector<int> drawn;
    int row = 1;
    LogLines::Rules rules;
    LogLines::Series series;
    bool winner_waits = false; // a tracked winner's "Drawn numbers" line comes next
    // The game takes its balls from the hall's machine: entered balls, recalls, no reveal.
    bool machine = false;
    // The lines that follow "Game continued" (its source, rules and series) go on with it.
    bool continued = false;
    // A game of the programme: each stage's pattern as its stage line names it.
    std::map<int, std::string> stage_patterns;

    void FailAt(const Kept& at, const std::string& reason) {
        std::string shown = at.line;
        while (!shown.empty() && shown.back() == '\r')
            shown.pop_back();
        // A line that fails for several reasons is listed once, with all of them.
        for (Failure& failure : result.failures) {
            if (failure.file_index == at.file_index && failure.line_number == at.line_number) {
                failure.reason += "; " + reason;
                return;
            }
        }
        if (result.failures.size() >= kMaxFailures) {
            ++result.more_failures;
            return;
        }
        result.failures.push_back({at.file, at.line_number, shown, reason, at.file_index});
    }
    void Fail(const std::string& reason) { FailAt(Keep(), reason); }

    void Abandon() {
        // A game committed and never revealed: its lists cannot be checked.
        if (open && machine) {
            ++result.machine_games;
        } else if (open) {
            ++result.not_revealed;
            result.lists_unchecked += lists.size();
        }
        Close();
    }

    Kept Keep() const { return Kept{file_index, file, line_number, line, {}, 0, 0}; }

    void Chain(std::string_view message, bool isLogLine) {
        std::string_view content(line);
        if (!content.empty() && content.back() == '\r')
            content.remove_suffix(1);
        if (isLogLine && (StartsWith(message, LogLines::kGameSealPrefix) ||
                          StartsWith(message, LogLines::kLogSealPrefix))) {
            const std::string_view seal = message.substr(message.find(": ") + 2);
            if (seal != chain) {
                const std::size_t first = sealed_up_to + 1;
                Fail(first + 1 >= line_number
                         ? std::string("the seal does not match the line before it, or the seal "
                                       "was changed")
                         : "the seal does not match the lines before it: a line from line " +
                               std::to_string(first) + " to line " +
                               std::to_string(line_number - 1) +
                               " was changed, inserted, deleted or moved, or the seal was "
                               "changed");
                // Each later seal is checked from this one on, so the report names only the
                // lines where something was changed.
                if (IsHexDigest(seal))
                    chain = std::string(seal);
            } else {
                ++result.seals_verified;
            }
            sealed_up_to = line_number;
        }
        chain = LogLines::ChainNext(chain, content);
    }

    void Message(std::string_view message) {
        if (seal_due) {
            if (!StartsWith(message, LogLines::kGameSealPrefix))
                FailAt(*seal_due, "the game's seal does not follow its reveal");
            seal_due.reset();
        }
        const bool winnerWaited = winner_waits;
        winner_waits = false;
        const bool justContinued = continued;
        continued = false;
        if (StartsWith(message, LogLines::kBallSourcePrefix)) {
            Source(message.substr(LogLines::kBallSourcePrefix.size()), justContinued);
            continued = justContinued;
        } else if (StartsWith(message, LogLines::kGameSealPrefix)) {
            // A game of the machine ends at its seal, as it has no reveal.
            if (open && machine) {
                ++result.machine_games;
                Close();
            }
        } else if (StartsWith(message, LogLines::kBallEnteredPrefix)) {
            Ball(message.substr(LogLines::kBallEnteredPrefix.size()), true);
        } else if (StartsWith(message, LogLines::kBallRecalledPrefix)) {
            Ball(message.substr(LogLines::kBallRecalledPrefix.size()), false);
        } else if (StartsWith(message, LogLines::kCommitmentPrefix)) {
            const std::string_view digest = message.substr(LogLines::kCommitmentPrefix.size());
            if (!IsHexDigest(digest)) {
                Fail("the commitment is not 64 lower-case hexadecimal digits");
                return;
            }
            Abandon();
            open = true;
            commitment = std::string(digest);
        } else if (StartsWith(message, LogLines::kGameRulesPrefix)) {
            const auto parsed =
                LogLines::ParseRules(message.substr(LogLines::kGameRulesPrefix.size()));
            if (!parsed || (parsed->numberCount != 75 && parsed->numberCount != 90)) {
                Fail("the game's rules cannot be read");
                return;
            }
            rules = *parsed;
            tracking = open;
            continued = justContinued;
        } else if (StartsWith(message, LogLines::kCouponSeriesPrefix)) {
            const auto parsed =
                LogLines::ParseSeries(message.substr(LogLines::kCouponSeriesPrefix.size()));
            if (!parsed) {
                Fail("the coupon series is not a file name and a SHA-256 digest");
                return;
            }
            series = *parsed;
            continued = justContinued;
        } else if (StartsWith(message, LogLines::kGameContinuedPrefix)) {
            Continued(message.substr(LogLines::kGameContinuedPrefix.size()));
            continued = true;
        } else if (StartsWith(message, LogLines::kNumberDrawnPrefix)) {
            Draw(message.substr(LogLines::kNumberDrawnPrefix.size()));
        } else if (StartsWith(message, LogLines::kNumberCancelledPrefix)) {
            Cancel(message.substr(LogLines::kNumberCancelledPrefix.size()));
        } else if (StartsWith(message, LogLines::kPlayingRowPrefix)) {
            Row(message.substr(LogLines::kPlayingRowPrefix.size()));
        } else if (StartsWith(message, LogLines::kStagePrefix)) {
            Stage(message.substr(LogLines::kStagePrefix.size()));
            continued = justContinued;
        } else if (StartsWith(message, LogLines::kJackpotPrefix)) {
            continued = justContinued;
        } else if (StartsWith(message, LogLines::kJackpotWonPrefix)) {
            JackpotWon(message.substr(LogLines::kJackpotWonPrefix.size()));
        } else if (StartsWith(message, LogLines::kJackpotCarriedPrefix)) {
            ++result.jackpots_carried;
        } else if (StartsWith(message, LogLines::kProgrammeGamePrefix) &&
                   LogLines::ParseProgrammeGame(
                       message.substr(LogLines::kProgrammeGamePrefix.size()))) {
            // A game continued after a start names its game again.
            if (!justContinued)
                ++result.programme_games;
            continued = justContinued;
            stage_patterns.clear();
        } else if (StartsWith(message, LogLines::kBingoPrefix)) {
            Winner(message.substr(LogLines::kBingoPrefix.size()));
        } else if (StartsWith(message, LogLines::kCheckedPrefix)) {
            Checked(message.substr(LogLines::kCheckedPrefix.size()));
        } else if (StartsWith(message, LogLines::kDrawnPrefix)) {
            WinnersList(message.substr(LogLines::kDrawnPrefix.size()), winnerWaited);
        } else if (StartsWith(message, LogLines::kRevealPrefix)) {
            Reveal(message.substr(LogLines::kRevealPrefix.size()));
        }
    }

    void Continued(std::string_view text) {
        const auto parsed = LogLines::ParseContinued(text);
        if (!parsed) {
            Fail("the continued game's row and numbers cannot be read");
            return;
        }
        // The game as the state file kept it: the log follows it from here, even should a
        // crash have kept a last line from reaching the log.
        drawn = parsed->drawn;
        row = parsed->row;
        if (open) {
            Kept kept = Keep();
            kept.numbers = parsed->drawn;
            lists.push_back(std::move(kept));
        }
    }

    void Source(std::string_view name, bool justContinued) {
        if (name == LogLines::kBallMachine) {
            // A game of the machine begins here, unless this is the one just continued.
            if (!(open && machine && justContinued)) {
                // A game continued from an earlier log goes on from the numbers it had.
                const std::vector<int> had = drawn;
                const int hadRow = row;
                Abandon();
                open = true;
                machine = true;
                if (justContinued) {
                    drawn = had;
                    row = hadRow;
                }
            }
        } else if (name == LogLines::kComputerDraw) {
            if (open && machine)
                Fail("a game of the hall's ball machine said to be of this computer's draw");
        } else {
            Fail("the ball source is neither this computer's draw nor the hall's ball machine");
        }
    }

    void Ball(std::string_view text, bool entered) {
        const auto ball = LogLines::ParseBall(text);
        if (!ball) {
            Fail("the ball is not a number");
            return;
        }
        if (open && !machine) {
            Fail(entered ? "a ball entered in a game of this computer's draw"
                         : "a ball recalled in a game of this computer's draw");
            return;
        }
        if (!tracking)
            return;
        if (entered)
            Draw(LogLines::Counted{*ball, static_cast<int>(drawn.size()) + 1});
        else
            Cancel(LogLines::Counted{*ball, static_cast<int>(drawn.size())});
    }

    void Draw(std::string_view text) {
        const auto parsed = LogLines::ParseCounted(text);
        if (!parsed) {
            Fail("the draw is not a number and its count");
            return;
        }
        if (open && machine) {
            Fail("a number drawn by this computer in a game of the hall's ball machine");
            return;
        }
        Draw(*parsed);
        if (open) {
            Kept kept = Keep();
            kept.number = parsed->number;
            kept.count = parsed->count;
            draws.push_back(std::move(kept));
        }
    }

    void Draw(const LogLines::Counted& draw) {
        if (!tracking)
            return;
        if (draw.number < 1 || draw.number > rules.numberCount)
            Fail("the number " + std::to_string(draw.number) + " is not one of 1 to " +
                 std::to_string(rules.numberCount));
        else if (std::find(drawn.begin(), drawn.end(), draw.number) != drawn.end())
            Fail("the number " + std::to_string(draw.number) + " was drawn already");
        if (static_cast<std::size_t>(draw.count) != drawn.size() + 1)
            Fail("count " + std::to_string(draw.count) + " does not follow the " +
                 std::to_string(drawn.size()) + " numbers drawn before it");
        drawn.resize(static_cast<std::size_t>(std::max(draw.count - 1, 0)), 0);
        drawn.push_back(draw.number);
    }

    void Cancel(std::string_view text) {
        const auto parsed = LogLines::ParseCounted(text);
        if (!parsed) {
            Fail("the cancel is not a number and its count");
            return;
        }
        if (open && machine) {
            Fail("a number cancelled as this computer's in a game of the hall's ball machine");
            return;
        }
        Cancel(*parsed);
    }

    void Cancel(const LogLines::Counted& cancel) {
        if (!tracking)
            return;
        if (drawn.empty() || drawn.back() != cancel.number ||
            static_cast<std::size_t>(cancel.count) != drawn.size()) {
            Fail("the cancelled number is not the last number drawn");
            return;
        }
        drawn.pop_back();
    }

    void Row(std::string_view text) {
        const auto parsed = LogLines::ParseRow(text);
        if (!parsed) {
            Fail("the row is not a number");
            return;
        }
        if (tracking && *parsed != row + 1 && *parsed != row - 1)
            Fail("row " + std::to_string(*parsed) + " does not follow row " + std::to_string(row));
        row = *parsed;
    }

    void Stage(std::string_view text) {
        const auto stage = LogLines::ParseStage(text);
        if (!stage) {
            Fail("the stage is not a number, a count and a pattern");
            return;
        }
        if (!SeriesFiles::PatternOf(stage->pattern, stage->stage, rules.numberCount))
            Fail("the stage's pattern " + stage->pattern + " is not known");
        if (tracking && stage->stage != row)
            Fail("stage " + std::to_string(stage->stage) + " is not the row being played, row " +
                 std::to_string(row));
        stage_patterns[stage->stage] = stage->pattern;
    }

    // "coupon 342 after 45 numbers — 500 €": the count is the numbers drawn.
    void JackpotWon(std::string_view text) {
        ++result.jackpots_won;
        constexpr std::string_view kCoupon = "coupon ";
        if (!tracking || text.substr(0, kCoupon.size()) != kCoupon)
            return;
        const std::size_t after = text.find(" after ");
        const std::size_t numbers = text.find(" numbers");
        if (after == std::string_view::npos || numbers == std::string_view::npos || numbers < after)
            return;
        const std::string_view count = text.substr(after + 7, numbers - after - 7);
        if (count != std::to_string(drawn.size()))
            Fail("the jackpot's count " + std::string(count) + " is not the " +
                 std::to_string(drawn.size()) + " numbers drawn");
    }

    // "row 2", or "stage 2 (four_corners)" in a game of the programme.
    std::string StageName(int stage) const {
        const auto found = stage_patterns.find(stage);
        if (found == stage_patterns.end())
            return "row " + std::to_string(stage);
        return "stage " + std::to_string(stage) + " (" + found->second + ")";
    }

    // Judges a check by the series, by the pattern of the stage checked; true when it could.
    std::optional<SeriesFiles::Verdict> Judge(int coupon, int checkedRow) {
        const auto found = stage_patterns.find(checkedRow);
        const auto pattern =
            SeriesFiles::PatternOf(found == stage_patterns.end() ? std::string() : found->second,
                                   checkedRow, rules.numberCount);
        const SeriesFiles::Verdict verdict =
            pattern ? series_files->Judge(series.fileName, series.digest, rules.numberCount,
                                          rules.freeMiddle, coupon, *pattern, drawn)
                    : SeriesFiles::Verdict::NotCheckable;
        if (verdict == SeriesFiles::Verdict::NotCheckable) {
            ++result.checks_not_checkable;
            return std::nullopt;
        }
        ++result.checks_judged;
        return verdict;
    }

    std::string SeriesName() const {
        return series.fileName.empty() ? std::string("the series") : series.fileName;
    }

    void Winner(std::string_view text) {
        const auto bingo = LogLines::ParseBingo(text);
        if (!bingo) {
            Fail("the winner's line is not a coupon and a row");
            return;
        }
        if (!tracking)
            return;
        winner_waits = true;
        if (bingo->row != row)
            Fail("the winner's row " + std::to_string(bingo->row) +
                 " is not the row being played, row " + std::to_string(row));
        const auto verdict = Judge(bingo->coupon, bingo->row);
        if (verdict == SeriesFiles::Verdict::Wrong)
            Fail("coupon " + std::to_string(bingo->coupon) + " does not hold " +
                 StageName(bingo->row) + " with the " + std::to_string(drawn.size()) +
                 " numbers drawn");
        else if (verdict == SeriesFiles::Verdict::NotInSeries)
            Fail("coupon " + std::to_string(bingo->coupon) + " is not in " + SeriesName());
    }

    void Checked(std::string_view text) {
        const auto checked = LogLines::ParseChecked(text);
        if (!checked) {
            Fail("the check is not a coupon, a row, a count and a verdict");
            return;
        }
        if (!tracking)
            return;
        if (checked->row != row)
            Fail("the check's row " + std::to_string(checked->row) +
                 " is not the row being played, row " + std::to_string(row));
        if (static_cast<std::size_t>(checked->count) != drawn.size())
            Fail("the check's count " + std::to_string(checked->count) + " is not the " +
                 std::to_string(drawn.size()) + " numbers drawn");
        const auto verdict = Judge(checked->coupon, checked->row);
        if (!verdict)
            return;
        const std::string coupon = "coupon " + std::to_string(checked->coupon);
        if (checked->inSeries && *verdict == SeriesFiles::Verdict::Wins)
            Fail(coupon + " holds " + StageName(checked->row) + ": the verdict should be BINGO");
        else if (checked->inSeries && *verdict == SeriesFiles::Verdict::NotInSeries)
            Fail(coupon + " is not in " + SeriesName());
        else if (!checked->inSeries && *verdict != SeriesFiles::Verdict::NotInSeries)
            Fail(coupon + " is in " + SeriesName());
    }

    void WinnersList(std::string_view text, bool winnerWaited) {
        const auto numbers = ParseDrawn(text);
        if (!numbers) {
            Fail("the drawn numbers are not a list of numbers");
            return;
        }
        if (winnerWaited && *numbers != drawn)
            Fail("the winner's drawn numbers are not the " + std::to_string(drawn.size()) +
                 " numbers drawn before it");
        if (open) {
            Kept kept = Keep();
            kept.numbers = *numbers;
            lists.push_back(std::move(kept));
        } else {
            ++result.lists_unchecked;
        }
    }

    void Reveal(std::string_view text) {
        const auto reveal = DrawCommitment::ParseReveal(text);
        if (!reveal) {
            Fail("the reveal is not a nonce and a list of numbers");
            return;
        }
        if (!IsPermutation(reveal->sequence)) {
            Fail("the revealed sequence is not an order of the numbers 1 to " +
                 std::to_string(reveal->sequence.size()));
            return;
        }
        const std::string digest = DrawCommitment::Commitment(reveal->sequence, reveal->nonce);
        if (!open) {
            // Revealed again after a restart, or committed in an earlier log.
            if (verified.count(digest) != 0)
                ++result.repeated_reveals;
            else
                ++result.reveals_without;
            return;
        }
        if (tracking)
            seal_due = Keep();
        if (digest != commitment) {
            Fail("the revealed sequence and nonce do not give the game's commitment " + commitment);
            Close();
            return;
        }
        bool holds = true;
        for (const Kept& list : lists) {
            const bool prefix =
                list.numbers.size() <= reveal->sequence.size() &&
                std::equal(list.numbers.begin(), list.numbers.end(), reveal->sequence.begin());
            if (!prefix) {
                // Reported at the winner's line: that is the line that does not hold.
                FailAt(list,
                       "a winner's drawn numbers are not the start of the revealed sequence of " +
                           Where(file, line_number, list.file));
                holds = false;
            }
        }
        for (const Kept& draw : draws) {
            const auto at = static_cast<std::size_t>(draw.count);
            if (at < 1 || at > reveal->sequence.size() || reveal->sequence[at - 1] != draw.number) {
                FailAt(draw, "the draw is not number " + std::to_string(draw.count) +
                                 " of the revealed sequence of " +
                                 Where(file, line_number, draw.file));
                holds = false;
            }
        }
        if (holds) {
            ++result.games_verified;
            result.lists_checked += lists.size();
            result.draws_checked += draws.size();
            verified.insert(digest);
        }
        Close();
    }

    // The game is over: nothing of it steers what follows.
    void Close() {
        open = false;
        lists.clear();
        draws.clear();
        commitment.clear();
        tracking = false;
        drawn.clear();
        row = 1;
        machine = false;
        stage_patterns.clear();
    }

    void EndOfFile() {
        if (seal_due) {
            FailAt(*seal_due, "the game's seal does not follow its reveal");
            seal_due.reset();
        }
        result.unsealed_lines += line_number - sealed_up_to;
    }
};

LogVerifier::LogVerifier(SeriesFiles* series) : state_(std::make_unique<State>(series)) {}
LogVerifier::~LogVerifier() = default;

bool LogVerifier::SplitLine(const std::string& line, std::string* message) {
    auto split = LogLines::Split(line);
    if (!split)
        return false;
    *message = std::move(split->message);
    return true;
}

void LogVerifier::Feed(std::istream& in, const std::string& name) {
    State& state = *state_;
    state.file_index = state.feeds++;
    state.file = name;
    state.line_number = 0;
    state.chain = std::string(LogLines::kChainStart);
    state.sealed_up_to = 0;
    std::string message;
    while (std::getline(in, state.line)) {
        ++state.line_number;
        const bool isLogLine = SplitLine(state.line, &message);
        state.Chain(message, isLogLine);
        if (isLogLine)
            state.Message(message);
    }
    state.EndOfFile();
}

LogVerifier::Result LogVerifier::Finish() {
    State& state = *state_;
    state.Abandon();
    Result result = state.result;
    // Found in the order they were found out (a draw when its game is revealed), listed in the
    // order of the log.
    std::stable_sort(result.failures.begin(), result.failures.end(),
                     [](const Failure& a, const Failure& b) {
                         return a.file_index != b.file_index ? a.file_index < b.file_index
                                                             : a.line_number < b.line_number;
                     });
    result.ok = result.failures.empty();
    if (!result.ok) {
        result.file = result.failures.front().file;
        result.line_number = result.failures.front().line_number;
        result.line = result.failures.front().line;
        result.reason = result.failures.front().reason;
    }
    return result;
}

} // namespace zorvi
