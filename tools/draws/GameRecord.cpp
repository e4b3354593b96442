#include "GameRecord.h"

#include <algorithm>
#include <map>

#include "DrawCommitment.h"
#include "LogLines.h"
#include "SeriesFiles.h"

namespace zorvi {

namespace {

constexpr std::size_t kQuoted = 80;

std::string Shortened(std::string_view text) {
    if (text.size() <= kQuoted)
        return std::string(text);
    return std::string(text.substr(0, kQuoted)) + "...";
}

bool StartsWith(std::string_view text, std::string_view prefix) {
    return text.substr(0, prefix.size()) == prefix;
}

bool IsPrefix(const std::vector<int>& start, const std::vector<int>& whole) {
    return start.size() <= whole.size() && std::equal(start.begin(), start.end(), whole.begin());
}

} // namespace

std::vector<int> RecordedGame::Drawn() const {
    if (draws_logged)
        return called;
    const std::vector<int>* longest = nullptr;
    for (const RecordedCheck& check : checks) {
        if (check.drawn && (!longest || check.drawn->size() >= longest->size()))
            longest = &*check.drawn;
    }
    return longest ? *longest : std::vector<int>();
}

std::vector<RecordedWinner> RecordedGame::Winners() const {
    // A check of a coupon already listed for the same row at the same count adds no winner.
    std::vector<RecordedWinner> winners;
    for (const RecordedCheck& check : checks) {
        if (!check.damaged.empty() || check.verdict != RecordedCheck::Verdict::Bingo)
            continue;
        const RecordedWinner winner{check.row,
                                    check.drawn ? static_cast<int>(check.drawn->size()) : -1,
                                    check.coupon, check.judged};
        if (std::find(winners.begin(), winners.end(), winner) == winners.end())
            winners.push_back(winner);
    }
    return winners;
}

std::size_t RecordedGame::Misses() const {
    return static_cast<std::size_t>(
        std::count_if(checks.begin(), checks.end(), [](const RecordedCheck& check) {
            return check.damaged.empty() && check.verdict != RecordedCheck::Verdict::Bingo;
        }));
}

int RecordedGame::NumberCount() const {
    if (revealed.size() == 75 || revealed.size() == 90)
        return static_cast<int>(revealed.size());
    int highest = 0;
    for (const RecordedCheck& check : checks) {
        if (check.drawn)
            for (const int number : *check.drawn)
                highest = std::max(highest, number);
    }
    return highest > 75 ? 90 : 0;
}

struct GameRecordReader::State {
    std::size_t line_number = 0; // within the log being read
    std::size_t lines = 0;       // in all logs
    std::size_t file_index = 0;
    std::size_t feeds = 0;
    std::string file;
    std::size_t log_lines = 0;
    // The rules and the series in force, for the checks.
    LogLines::Rules rules;
    bool rules_known = false;
    LogLines::Series series;
    bool series_named = false;
    // The game just revealed, whose seal comes next.
    std::optional<std::size_t> seal_due;
    // The lines that follow "Game continued" (its source, rules and series) go on with it.
    bool continued = false;
    std::vector<RecordedGame> games;
    bool open = false;           // games.back() goes on
    bool check_waits = false;    // games.back().checks.back() waits for its numbers
    std::string new_game_time;   // a "Starting new game" not yet followed by its game
    std::string coupons_in_play; // the last note, for games that begin after it
    // The stages of the programme's game in play, by the pattern their lines name.
    std::map<int, std::string> stage_patterns;

    std::string PatternAt(int row) const {
        const auto found = stage_patterns.find(row);
        return found == stage_patterns.end() ? std::string() : found->second;
    }

    RecordedGame& Begin(RecordedGame::Begin begin, const std::string& time) {
        RecordedGame game;
        game.begin = begin;
        game.file_index = file_index;
        game.file = file;
        game.first_line = line_number;
        game.started = time;
        if (!coupons_in_play.empty())
            game.coupons_in_play.push_back(coupons_in_play);
        games.push_back(std::move(game));
        open = true;
        new_game_time.clear();
        return games.back();
    }

    // The game a check or a reveal belongs to: the open one, else one that began before this
    // log (or at the last "Starting new game" of a log without commitments).
    RecordedGame& Current() {
        if (open)
            return games.back();
        if (!new_game_time.empty())
            return Begin(RecordedGame::Begin::NewGame, new_game_time);
        return Begin(RecordedGame::Begin::BeforeLog, std::string());
    }

    void Message(const LogLines::Line& line) {
        const std::string_view message = line.message;
        const bool waited = check_waits;
        check_waits = false;
        const std::optional<std::size_t> sealed = seal_due;
        seal_due.reset();
        const bool justContinued = continued;
        continued = false;
        if (StartsWith(message, LogLines::kGameSealPrefix)) {
            const std::string seal(message.substr(LogLines::kGameSealPrefix.size()));
            if (sealed) {
                games[*sealed].seal = seal;
            } else if (open && games.back().begin == RecordedGame::Begin::BallMachine) {
                // A game of the machine ends at its seal.
                games.back().seal = seal;
                open = false;
            }
            return;
        }
        if (StartsWith(message, LogLines::kBallSourcePrefix)) {
            continued = justContinued;
            if (message.substr(LogLines::kBallSourcePrefix.size()) == LogLines::kBallMachine &&
                !(open && justContinued &&
                  games.back().begin == RecordedGame::Begin::BallMachine)) {
                const std::vector<int> had =
                    open && justContinued ? games.back().called : std::vector<int>();
                RecordedGame& game = Begin(RecordedGame::Begin::BallMachine, line.time);
                game.draws_logged = justContinued;
                game.called = had;
            }
            return;
        }
        if (StartsWith(message, LogLines::kBallEnteredPrefix) ||
            StartsWith(message, LogLines::kBallRecalledPrefix)) {
            const bool entered = StartsWith(message, LogLines::kBallEnteredPrefix);
            const auto ball = LogLines::ParseBall(message.substr(
                (entered ? LogLines::kBallEnteredPrefix : LogLines::kBallRecalledPrefix).size()));
            if (!ball)
                return;
            RecordedGame& game = Current();
            game.draws_logged = true;
            if (entered) {
                game.called.push_back(*ball);
            } else {
                if (!game.called.empty() && game.called.back() == *ball)
                    game.called.pop_back();
                game.recalls.push_back(line.time + ": " + std::to_string(*ball));
            }
            return;
        }
        if (StartsWith(message, LogLines::kGameRulesPrefix) ||
            StartsWith(message, LogLines::kCouponSeriesPrefix))
            continued = justContinued;
        if (StartsWith(message, LogLines::kGameContinuedPrefix))
            continued = true;
        if (Events(line, message))
            return;
        if (StartsWith(message, LogLines::kCommitmentPrefix)) {
            const std::string_view digest = message.substr(LogLines::kCommitmentPrefix.size());
            RecordedGame& game = Begin(RecordedGame::Begin::Commitment, line.time);
            if (LogLines::IsHexDigest(digest))
                game.commitment = std::string(digest);
            else
                game.bad_commitment = Shortened(digest);
        } else if (StartsWith(message, LogLines::kRevealPrefix)) {
            Reveal(line, message.substr(LogLines::kRevealPrefix.size()));
        } else if (StartsWith(message, LogLines::kBingoPrefix)) {
            RecordedGame& game = Current();
            RecordedCheck check = NewCheck(line);
            const auto bingo = LogLines::ParseBingo(message.substr(LogLines::kBingoPrefix.size()));
            if (bingo) {
                check.coupon = bingo->coupon;
                check.row = bingo->row;
                check.pattern = PatternAt(bingo->row);
            } else {
                check.damaged = Shortened(message);
            }
            game.checks.push_back(std::move(check));
            check_waits = true;
        } else if (StartsWith(message, LogLines::kDrawnPrefix)) {
            if (waited && open)
                games.back().checks.back().drawn =
                    LogLines::ParseDrawn(message.substr(LogLines::kDrawnPrefix.size()));
        } else if (message == LogLines::kNewGame) {
            // In a log without commitments this is where a game begins; with commitments the
            // commitment that follows begins it (and none follows when the operator said No).
            if (open && games.back().commitment.empty() && games.back().bad_commitment.empty() &&
                games.back().begin != RecordedGame::Begin::Commitment)
                open = false;
            new_game_time = line.time;
        } else if (StartsWith(message, LogLines::kWinningNowPrefix)) {
            Current().winning_now.emplace_back(
                line.time, Shortened(message.substr(LogLines::kWinningNowPrefix.size())));
        } else if (message == LogLines::kProgramStart) {
            if (open)
                games.back().restarts.push_back(line.time);
        } else if (StartsWith(message, LogLines::kCouponsInPlayPrefix)) {
            coupons_in_play =
                line.time + ": " + Shortened(message.substr(LogLines::kCouponsInPlayPrefix.size()));
            if (open)
                games.back().coupons_in_play.push_back(coupons_in_play);
        }
    }

    RecordedCheck NewCheck(const LogLines::Line& line) const {
        RecordedCheck check;
        check.file_index = file_index;
        check.line = line_number;
        check.time = line.time;
        check.series_name = series.fileName;
        check.series_digest = series.digest;
        check.series_named = series_named && rules_known;
        check.number_count = rules.numberCount;
        check.free_middle = rules.freeMiddle;
        return check;
    }

    // The lines of a game's events: rules, series, draws, cancels, misses, a continued game,
    // the programme's game, stages and jackpot.
    bool Events(const LogLines::Line& line, std::string_view message) {
        if (StartsWith(message, LogLines::kProgrammeGamePrefix) &&
            LogLines::ParseProgrammeGame(message.substr(LogLines::kProgrammeGamePrefix.size()))) {
            stage_patterns.clear();
            if (open)
                games.back().programme = Shortened(message);
            return true;
        }
        if (StartsWith(message, LogLines::kStagePrefix)) {
            if (const auto stage =
                    LogLines::ParseStage(message.substr(LogLines::kStagePrefix.size())))
                stage_patterns[stage->stage] = stage->pattern;
            // A continued game names its stage again.
            if (open &&
                (games.back().stages.empty() || games.back().stages.back() != Shortened(message)))
                games.back().stages.push_back(Shortened(message));
            return true;
        }
        if (StartsWith(message, LogLines::kJackpotPrefix) ||
            StartsWith(message, LogLines::kJackpotWonPrefix) ||
            StartsWith(message, LogLines::kJackpotCarriedPrefix)) {
            if (open)
                games.back().jackpot.push_back(Shortened(message));
            return true;
        }
        if (StartsWith(message, LogLines::kGameRulesPrefix)) {
            const auto rulesRead =
                LogLines::ParseRules(message.substr(LogLines::kGameRulesPrefix.size()));
            rules_known = rulesRead.has_value();
            if (rulesRead)
                rules = *rulesRead;
            if (open)
                games.back().rules = Shortened(message.substr(LogLines::kGameRulesPrefix.size()));
            return true;
        }
        if (StartsWith(message, LogLines::kCouponSeriesPrefix)) {
            const auto named =
                LogLines::ParseSeries(message.substr(LogLines::kCouponSeriesPrefix.size()));
            series_named = named.has_value();
            series = named ? *named : LogLines::Series{};
            if (open && named) {
                games.back().series_name = Shortened(named->fileName);
                games.back().series_digest = named->digest;
            }
            return true;
        }
        if (StartsWith(message, LogLines::kGameContinuedPrefix)) {
            const auto continued =
                LogLines::ParseContinued(message.substr(LogLines::kGameContinuedPrefix.size()));
            if (open && continued) {
                games.back().draws_logged = true;
                games.back().called = continued->drawn;
            }
            return true;
        }
        if (StartsWith(message, LogLines::kNumberDrawnPrefix)) {
            const auto draw =
                LogLines::ParseCounted(message.substr(LogLines::kNumberDrawnPrefix.size()));
            if (draw && draw->count >= 1) {
                RecordedGame& game = Current();
                game.draws_logged = true;
                game.called.resize(static_cast<std::size_t>(draw->count - 1), 0);
                game.called.push_back(draw->number);
            }
            return true;
        }
        if (StartsWith(message, LogLines::kNumberCancelledPrefix)) {
            const auto cancel =
                LogLines::ParseCounted(message.substr(LogLines::kNumberCancelledPrefix.size()));
            if (open && cancel &&
                games.back().called.size() == static_cast<std::size_t>(cancel->count))
                games.back().called.pop_back();
            return true;
        }
        if (StartsWith(message, LogLines::kCheckedPrefix)) {
            RecordedGame& game = Current();
            RecordedCheck check = NewCheck(line);
            const auto checked =
                LogLines::ParseChecked(message.substr(LogLines::kCheckedPrefix.size()));
            if (checked) {
                check.coupon = checked->coupon;
                check.row = checked->row;
                check.pattern = PatternAt(checked->row);
                check.verdict = checked->inSeries ? RecordedCheck::Verdict::Wrong
                                                  : RecordedCheck::Verdict::NotInSeries;
                if (game.draws_logged &&
                    game.called.size() == static_cast<std::size_t>(checked->count))
                    check.drawn = game.called;
            } else {
                check.damaged = Shortened(message);
            }
            game.checks.push_back(std::move(check));
            return true;
        }
        return false;
    }

    void Reveal(const LogLines::Line& line, std::string_view text) {
        const auto reveal = DrawCommitment::ParseReveal(text);
        if (reveal && !open) {
            // The same game revealed once more (the program stopped before it could forget
            // the sequence): already in the record.
            const std::string digest = DrawCommitment::Commitment(reveal->sequence, reveal->nonce);
            for (const RecordedGame& game : games) {
                if (game.commitment == digest && game.reveal == RecordedGame::Reveal::Verifies)
                    return;
            }
        }
        RecordedGame& game = Current();
        open = false;
        seal_due = games.size() - 1;
        game.reveal_time = line.time;
        game.reveal = RecordedGame::Reveal::Fails;
        if (!reveal) {
            game.reveal_problem = "the reveal is not a nonce and a list of numbers";
            return;
        }
        game.revealed = reveal->sequence;
        if (!LogLines::IsPermutation(reveal->sequence)) {
            game.reveal_problem = "the revealed sequence is not an order of the numbers 1 to " +
                                  std::to_string(reveal->sequence.size());
            return;
        }
        for (const RecordedCheck& check : game.checks) {
            if (check.drawn && !IsPrefix(*check.drawn, reveal->sequence)) {
                game.reveal_problem = "the drawn numbers of the check on line " +
                                      std::to_string(check.line) +
                                      " are not the start of the revealed order";
                return;
            }
        }
        const std::string digest = DrawCommitment::Commitment(reveal->sequence, reveal->nonce);
        if (!game.bad_commitment.empty()) {
            game.reveal_problem = "the game's commitment line holds no digest";
        } else if (game.commitment.empty()) {
            game.reveal = RecordedGame::Reveal::NoCommitment;
            game.revealed_commitment = digest;
        } else if (digest != game.commitment) {
            game.reveal_problem =
                "the revealed order and nonce give the commitment " + digest + " instead";
        } else {
            game.reveal = RecordedGame::Reveal::Verifies;
        }
    }
};

GameRecordReader::GameRecordReader() : state_(std::make_unique<State>()) {}
GameRecordReader::~GameRecordReader() = default;

void GameRecordReader::Feed(std::istream& in, const std::string& name) {
    state_->file_index = state_->feeds++;
    state_->file = name;
    state_->line_number = 0;
    std::string line;
    while (std::getline(in, line)) {
        ++state_->line_number;
        ++state_->lines;
        if (const auto split = LogLines::Split(line)) {
            ++state_->log_lines;
            state_->Message(*split);
        }
    }
}

std::vector<RecordedGame> GameRecordReader::Finish() {
    state_->open = false;
    return std::move(state_->games);
}

std::size_t GameRecordReader::Lines() const {
    return state_->lines;
}

void JudgeChecks(std::vector<RecordedGame>& games, SeriesFiles& series) {
    for (RecordedGame& game : games) {
        for (RecordedCheck& check : game.checks) {
            if (!check.damaged.empty() || !check.series_named)
                continue;
            if (!check.drawn) {
                check.judged = RecordedCheck::Judged::NotCheckable;
                continue;
            }
            const auto pattern =
                SeriesFiles::PatternOf(check.pattern, check.row, check.number_count);
            const SeriesFiles::Verdict verdict =
                pattern ? series.Judge(check.series_name, check.series_digest, check.number_count,
                                       check.free_middle, check.coupon, *pattern, *check.drawn)
                        : SeriesFiles::Verdict::NotCheckable;
            using Verdict = RecordedCheck::Verdict;
            switch (verdict) {
            case SeriesFiles::Verdict::NotCheckable:
                check.judged = RecordedCheck::Judged::NotCheckable;
                break;
            case SeriesFiles::Verdict::Wins:
                check.judged = check.verdict == Verdict::Bingo ? RecordedCheck::Judged::Holds
                                                               : RecordedCheck::Judged::Fails;
                break;
            case SeriesFiles::Verdict::Wrong:
                check.judged = check.verdict == Verdict::Wrong ? RecordedCheck::Judged::Holds
                                                               : RecordedCheck::Judged::Fails;
                break;
            case SeriesFiles::Verdict::NotInSeries:
                check.judged = check.verdict == Verdict::NotInSeries ? RecordedCheck::Judged::Holds
                                                                     : RecordedCheck::Judged::Fails;
                break;
            }
        }
    }
}

std::size_t GameRecordReader::LogLines() const {
    return state_->log_lines;
}

} // namespace zorvi
