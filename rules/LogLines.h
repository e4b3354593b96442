#pragma once

#include <ctime>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zorvi::LogLines {

// The game log's lines, defined once: the program writes them, and the verifier and the report
// in the tools read them back.
inline constexpr std::string_view kProgramStart = "Starting program";
inline constexpr std::string_view kNewGame = "Starting new game";
inline constexpr std::string_view kReadCoupons = "Read coupons";
inline constexpr std::string_view kReadCouponsAfterChange = "Reading coupons after settings change";
inline constexpr std::string_view kDrawnPrefix = "Drawn numbers: ";
inline constexpr std::string_view kBingoPrefix = "Bingo found in coupon ";
inline constexpr std::string_view kWinningNowPrefix = "Winning now: ";
inline constexpr std::string_view kCouponsInPlayPrefix = "Coupons in play: ";
inline constexpr std::string_view kWholeSeries = "the whole series";
inline constexpr std::string_view kCommitmentPrefix = "Game commitment: ";
inline constexpr std::string_view kRevealPrefix = "Game reveal: ";
inline constexpr std::string_view kHallServerNotStartedPrefix = "Hall server not started: ";

// The events of a game, one line each, so that a disputed call can be looked up: every draw and
// cancel with its count, every row change, every check (a miss too), the rules and the coupon
// series that a game is played with, a declined new game, and each setting that touches it.
inline constexpr std::string_view kNumberDrawnPrefix = "Number drawn: ";
inline constexpr std::string_view kNumberCancelledPrefix = "Number cancelled: ";
inline constexpr std::string_view kPlayingRowPrefix = "Playing row ";
inline constexpr std::string_view kCheckedPrefix = "Checked coupon ";
inline constexpr std::string_view kVerdictWrong = "wrong";
inline constexpr std::string_view kVerdictNotInSeries = "not in the series";
inline constexpr std::string_view kNewGameDeclined = "New game declined";
inline constexpr std::string_view kGameContinuedPrefix = "Game continued: row ";
inline constexpr std::string_view kGameRulesPrefix = "Game rules: ";
inline constexpr std::string_view kCouponSeriesPrefix = "Coupon series: ";
inline constexpr std::string_view kSeriesNotRead = "not read";
inline constexpr std::string_view kSettingChangedPrefix = "Setting changed: ";
// Where a game's balls come from, at its start: "Ball source: this computer's draw" (its
// commitment before it) or "Ball source: the hall's ball machine" (no commitment: there is no
// sequence to commit to). A machine's ball is logged as entered; the cancel of one is a recall.
inline constexpr std::string_view kBallSourcePrefix = "Ball source: ";
inline constexpr std::string_view kComputerDraw = "this computer's draw";
inline constexpr std::string_view kBallMachine = "the hall's ball machine";
inline constexpr std::string_view kBallEnteredPrefix = "Ball entered: ";
inline constexpr std::string_view kBallRecalledPrefix = "Ball recalled: ";

// The chain that makes the log tamper-evident: every line of a month's file, in order, is
// folded into a running SHA-256 value, which a seal writes out at the end of each game and when
// the log is closed. "Game seal: " is also shown to the players.
// The evening's programme.
inline constexpr std::string_view kProgrammeGamePrefix = "Game ";
inline constexpr std::string_view kStagePrefix = "Stage ";
inline constexpr std::string_view kJackpotPrefix = "Jackpot: ";
inline constexpr std::string_view kJackpotWonPrefix = "Jackpot won: ";
inline constexpr std::string_view kJackpotCarriedPrefix = "Jackpot carried over: ";
inline constexpr std::string_view kPrizeSeparator = " \u2014 "; // an em dash between spaces
inline constexpr std::string_view kGameSealPrefix = "Game seal: ";
inline constexpr std::string_view kLogSealPrefix = "Log seal: ";
// The chain value before the first line of a file.
inline constexpr std::string_view kChainStart =
    "0000000000000000000000000000000000000000000000000000000000000000";
// The chain value after one more line (as it stands in the file, without its CR LF):
// SHA-256 of the previous value's 64 hexadecimal digits, a line feed, and the line.
std::string ChainNext(std::string_view chain, std::string_view line);

// "Bingo found in coupon 1045 (row 2)".
std::string BingoFound(int coupon, int row);
// "Drawn numbers: 17, 4, 75", in draw order.
std::string DrawnNumbers(const std::vector<int>& drawn);
// "17, 4, 75": the numbers as the drawn-numbers line and the operator window list them.
std::string NumberList(const std::vector<int>& numbers);
// "Winning now: 3 (row 2)".
std::string WinningNow(int count, int row);
// "Coupons in play: 1-500, 1201-1300", or "Coupons in play: the whole series" for an empty
// (canonical) text.
std::string CouponsInPlayNote(const std::string& canonical);

// "Number drawn: 23 (count 5)"; a cancel names the number taken back and the count it had.
std::string NumberDrawn(int number, int count);
std::string NumberCancelled(int number, int count);
// A stored game goes on after a start: "Game continued: row 2, numbers drawn: 17, 4, 75".
std::string GameContinued(int row, const std::vector<int>& drawn);
constexpr std::string_view BallSourceName(bool machine) {
    return machine ? kBallMachine : kComputerDraw;
}
std::string BallSource(bool machine);
// "Ball entered: 23", "Ball recalled: 23".
std::string BallEntered(int ball);
std::string BallRecalled(int ball);
// "23" of a ball line; nothing when it is not a ball number.
std::optional<int> ParseBall(std::string_view afterPrefix);
// "Playing row 2".
std::string PlayingRow(int row);
// A check that found no bingo: "Checked coupon 36 (row 1) after 12 numbers: wrong", or
// ": not in the series".
std::string CheckedCoupon(int coupon, int row, int count, bool inSeries);
// "Game rules: 75 numbers, free middle off, number limit 30" ("no number limit" for 0).
std::string GameRulesNote(int numberCount, bool freeMiddle, int numberLimit);
// "Coupon series: kup75.hex, SHA-256 <64 digits>", or "Coupon series: kup75.hex, not read".
std::string CouponSeriesNote(const std::string& fileName, const std::string& digest);
// A game of the programme begins: "Game 3 of 12: Early bird — 20 € / 50 €", its stages' prizes
// in order.
std::string ProgrammeGame(int game, int games, const std::string& name,
                          const std::vector<std::string>& prizes);
// The stage played, at the game's start and at every change: "Stage 2 of 3, pattern
// four_corners: Four corners — 20 €". The pattern is a built-in key or, for a pattern the hall
// drew, its grid ("..#../.###./..."), so that a reader can judge winners without the programme.
std::string Stage(int stage, int stages, const std::string& pattern, const std::string& name,
                  const std::string& prize);
// "Jackpot: full card within 48 numbers — 500 €", with ", must go" at its cap.
std::string JackpotNote(int within, bool mustGo, const std::string& prize);
// "Jackpot won: coupon 342 after 45 numbers — 500 €".
std::string JackpotWon(int coupon, int count, const std::string& prize);
// "Jackpot carried over: full card within 50 numbers — 550 €".
std::string JackpotCarried(int within, const std::string& prize);
// An amount in the programme's currency: "500 €"; the amount alone without one.
std::string Amount(long long amount, const std::string& currency);

// "3 of 12: …" of a programme's game line, without its prefix.
struct ProgrammeGameLine {
    int game = 0;
    int games = 0;
};
std::optional<ProgrammeGameLine> ParseProgrammeGame(std::string_view afterPrefix);
// "2 of 3, pattern four_corners: …" of a stage line, without its prefix.
struct StageLine {
    int stage = 0;
    int stages = 0;
    std::string pattern;
};
std::optional<StageLine> ParseStage(std::string_view afterPrefix);

// "Setting changed: number count 75 -> 90".
std::string SettingChanged(std::string_view name, const std::string& before,
                           const std::string& after);
std::string GameSeal(const std::string& chain);
std::string LogSeal(const std::string& chain);

// The line as it stands in the file: "2024-3-5 9:5:3: message" and CR LF, because the log is
// read in a text editor on every platform.
std::string Stamped(const std::tm& time, const std::string& message);

// A line "2024-3-5 9:5:3: message": its time as "2024-03-05 09:05:03" and its message.
struct Line {
    std::string time;
    std::string message;
};
std::optional<Line> Split(const std::string& line);

bool IsHexDigest(std::string_view text);

// "17, 4, 75" as written by the coupon check; nothing when it is not such a list.
std::optional<std::vector<int>> ParseDrawn(std::string_view text);

// True when the sequence holds each of 1 to its length once.
bool IsPermutation(const std::vector<int>& sequence);

// "Bingo found in coupon 1045 (row 2)" without its prefix: the coupon and the row.
struct Bingo {
    int coupon = 0;
    int row = 0;
};
std::optional<Bingo> ParseBingo(std::string_view afterPrefix);

// "23 (count 5)" of a draw or cancel line, without its prefix.
struct Counted {
    int number = 0;
    int count = 0;
};
std::optional<Counted> ParseCounted(std::string_view afterPrefix);
// "2, numbers drawn: 17, 4, 75" of a continued game.
struct Continued {
    int row = 1;
    std::vector<int> drawn;
};
std::optional<Continued> ParseContinued(std::string_view afterPrefix);
// "2" of "Playing row 2".
std::optional<int> ParseRow(std::string_view afterPrefix);

// "36 (row 1) after 12 numbers: wrong" without its prefix.
struct Checked {
    int coupon = 0;
    int row = 0;
    int count = 0;
    bool inSeries = true;
};
std::optional<Checked> ParseChecked(std::string_view afterPrefix);

// "75 numbers, free middle off, number limit 30" without its prefix.
struct Rules {
    int numberCount = 75;
    bool freeMiddle = false;
    int numberLimit = 0;
};
std::optional<Rules> ParseRules(std::string_view afterPrefix);

// "kup75.hex, SHA-256 <digits>" without its prefix; digest empty for "not read".
struct Series {
    std::string fileName;
    std::string digest;
};
std::optional<Series> ParseSeries(std::string_view afterPrefix);

} // namespace zorvi::LogLines
