#include "LogLines.h"

#include <algorithm>
#include <cstdio>
#include <utility>

#include "Sha256.h"

namespace zorvi::LogLines {

namespace {

// A decimal number of at most `maxDigits` digits at `at`; moves past it.
std::optional<long> Digits(std::string_view text, std::size_t* at, std::size_t maxDigits) {
    const std::size_t start = *at;
    long value = 0;
    while (*at < text.size() && text[*at] >= '0' && text[*at] <= '9') {
        if (*at - start >= maxDigits)
            return std::nullopt;
        value = value * 10 + (text[(*at)++] - '0');
    }
    if (*at == start)
        return std::nullopt;
    return value;
}

} // namespace

std::string BingoFound(int coupon, int row) {
    return std::string(kBingoPrefix) + std::to_string(coupon) + " (row " + std::to_string(row) +
           ")";
}

std::string NumberDrawn(int number, int count) {
    return std::string(kNumberDrawnPrefix) + std::to_string(number) + " (count " +
           std::to_string(count) + ")";
}

std::string NumberCancelled(int number, int count) {
    return std::string(kNumberCancelledPrefix) + std::to_string(number) + " (count " +
           std::to_string(count) + ")";
}

std::string GameContinued(int row, const std::vector<int>& drawn) {
    return std::string(kGameContinuedPrefix) + std::to_string(row) +
           ", numbers drawn: " + NumberList(drawn);
}

std::string BallSource(bool machine) {
    return std::string(kBallSourcePrefix) + std::string(BallSourceName(machine));
}

std::string BallEntered(int ball) {
    return std::string(kBallEnteredPrefix) + std::to_string(ball);
}

std::string BallRecalled(int ball) {
    return std::string(kBallRecalledPrefix) + std::to_string(ball);
}

std::optional<int> ParseBall(std::string_view text) {
    std::size_t at = 0;
    const auto ball = Digits(text, &at, 2);
    if (!ball || at != text.size())
        return std::nullopt;
    return static_cast<int>(*ball);
}

std::string PlayingRow(int row) {
    return std::string(kPlayingRowPrefix) + std::to_string(row);
}

std::string ProgrammeGame(int game, int games, const std::string& name,
                          const std::vector<std::string>& prizes) {
    std::string prizeList;
    for (const std::string& prize : prizes) {
        if (prize.empty())
            continue;
        if (!prizeList.empty())
            prizeList += " / ";
        prizeList += prize;
    }
    std::string line = std::string(kProgrammeGamePrefix) + std::to_string(game) + " of " +
                       std::to_string(games) + ": " + name;
    if (!prizeList.empty())
        line += std::string(kPrizeSeparator) + prizeList;
    return line;
}

std::string Stage(int stage, int stages, const std::string& pattern, const std::string& name,
                  const std::string& prize) {
    std::string line = std::string(kStagePrefix) + std::to_string(stage) + " of " +
                       std::to_string(stages) + ", pattern " + pattern + ": " + name;
    if (!prize.empty())
        line += std::string(kPrizeSeparator) + prize;
    return line;
}

std::string JackpotNote(int within, bool mustGo, const std::string& prize) {
    return std::string(kJackpotPrefix) + "full card within " + std::to_string(within) + " numbers" +
           (mustGo ? ", must go" : "") + std::string(kPrizeSeparator) + prize;
}

std::string JackpotWon(int coupon, int count, const std::string& prize) {
    return std::string(kJackpotWonPrefix) + "coupon " + std::to_string(coupon) + " after " +
           std::to_string(count) + " numbers" + std::string(kPrizeSeparator) + prize;
}

std::string JackpotCarried(int within, const std::string& prize) {
    return std::string(kJackpotCarriedPrefix) + "full card within " + std::to_string(within) +
           " numbers" + std::string(kPrizeSeparator) + prize;
}

std::string Amount(long long amount, const std::string& currency) {
    return currency.empty() ? std::to_string(amount) : std::to_string(amount) + " " + currency;
}

std::string CheckedCoupon(int coupon, int row, int count, bool inSeries) {
    return std::string(kCheckedPrefix) + std::to_string(coupon) + " (row " + std::to_string(row) +
           ") after " + std::to_string(count) +
           " numbers: " + std::string(inSeries ? kVerdictWrong : kVerdictNotInSeries);
}

std::string GameRulesNote(int numberCount, bool freeMiddle, int numberLimit) {
    return std::string(kGameRulesPrefix) + std::to_string(numberCount) + " numbers, free middle " +
           (freeMiddle ? "on" : "off") + ", " +
           (numberLimit > 0 ? "number limit " + std::to_string(numberLimit)
                            : std::string("no number limit"));
}

std::string CouponSeriesNote(const std::string& fileName, const std::string& digest) {
    // No file was named yet (nothing read): still a line that reads back.
    return std::string(kCouponSeriesPrefix) + (fileName.empty() ? "(none)" : fileName) + ", " +
           (digest.empty() ? std::string(kSeriesNotRead) : "SHA-256 " + digest);
}

std::string SettingChanged(std::string_view name, const std::string& before,
                           const std::string& after) {
    return std::string(kSettingChangedPrefix) + std::string(name) + " " + before + " -> " + after;
}

std::string GameSeal(const std::string& chain) {
    return std::string(kGameSealPrefix) + chain;
}

std::string LogSeal(const std::string& chain) {
    return std::string(kLogSealPrefix) + chain;
}

std::string ChainNext(std::string_view chain, std::string_view line) {
    Sha256 hash;
    hash.Update(chain);
    hash.Update("\n");
    hash.Update(line);
    const Sha256::Digest digest = hash.Finish();
    return HexText(digest.data(), digest.size());
}

std::string NumberList(const std::vector<int>& numbers) {
    std::string text;
    for (std::size_t i = 0; i < numbers.size(); ++i) {
        if (i > 0)
            text += ", ";
        text += std::to_string(numbers[i]);
    }
    return text;
}

std::string DrawnNumbers(const std::vector<int>& drawn) {
    return std::string(kDrawnPrefix) + NumberList(drawn);
}

std::string WinningNow(int count, int row) {
    return std::string(kWinningNowPrefix) + std::to_string(count) + " (row " + std::to_string(row) +
           ")";
}

std::string CouponsInPlayNote(const std::string& canonical) {
    return std::string(kCouponsInPlayPrefix) +
           (canonical.empty() ? std::string(kWholeSeries) : canonical);
}

std::string Stamped(const std::tm& time, const std::string& message) {
    return std::to_string(time.tm_year + 1900) + "-" + std::to_string(time.tm_mon + 1) + "-" +
           std::to_string(time.tm_mday) + " " + std::to_string(time.tm_hour) + ":" +
           std::to_string(time.tm_min) + ":" + std::to_string(time.tm_sec) + ": " + message +
           "\r\n";
}

std::optional<Line> Split(const std::string& line) {
    // Six numbers: "%d-%d-%d %d:%d:%d: ", then the message.
    static constexpr char kAfter[] = {'-', '-', ' ', ':', ':', ':'};
    long fields[6] = {};
    std::size_t at = 0;
    for (int i = 0; i < 6; ++i) {
        const auto value = Digits(line, &at, 5);
        if (!value || at >= line.size() || line[at] != kAfter[i])
            return std::nullopt;
        fields[i] = *value;
        ++at;
    }
    if (at >= line.size() || line[at] != ' ')
        return std::nullopt;
    std::string_view rest(line);
    rest.remove_prefix(at + 1);
    while (!rest.empty() && rest.back() == '\r')
        rest.remove_suffix(1);
    char time[64];
    std::snprintf(time, sizeof time, "%ld-%02ld-%02ld %02ld:%02ld:%02ld", fields[0], fields[1],
                  fields[2], fields[3], fields[4], fields[5]);
    return Line{time, std::string(rest)};
}

bool IsHexDigest(std::string_view text) {
    return text.size() == 64 && std::all_of(text.begin(), text.end(), [](char c) {
               return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f');
           });
}

std::optional<std::vector<int>> ParseDrawn(std::string_view text) {
    std::vector<int> numbers;
    if (text.empty())
        return numbers;
    std::size_t at = 0;
    while (true) {
        const auto value = Digits(text, &at, 7);
        if (!value)
            return std::nullopt;
        numbers.push_back(static_cast<int>(*value));
        if (at == text.size())
            return numbers;
        if (text.substr(at, 2) != ", ")
            return std::nullopt;
        at += 2;
    }
}

bool IsPermutation(const std::vector<int>& sequence) {
    std::vector<bool> seen(sequence.size() + 1, false);
    for (const int number : sequence) {
        if (number < 1 || static_cast<std::size_t>(number) > sequence.size() ||
            seen[static_cast<std::size_t>(number)])
            return false;
        seen[static_cast<std::size_t>(number)] = true;
    }
    return true;
}

namespace {

// "<first><opening><second>)", such as "1045 (row 2)": the two numbers.
std::optional<std::pair<int, int>> Bracketed(std::string_view text, std::string_view opening,
                                             std::size_t firstDigits) {
    std::size_t at = 0;
    const auto first = Digits(text, &at, firstDigits);
    if (!first || text.substr(at, opening.size()) != opening)
        return std::nullopt;
    at += opening.size();
    const auto second = Digits(text, &at, 2);
    if (!second || at + 1 != text.size() || text[at] != ')')
        return std::nullopt;
    return std::pair{static_cast<int>(*first), static_cast<int>(*second)};
}

} // namespace

std::optional<Bingo> ParseBingo(std::string_view text) {
    const auto read = Bracketed(text, " (row ", 7);
    return read ? std::optional<Bingo>(Bingo{read->first, read->second}) : std::nullopt;
}

std::optional<Counted> ParseCounted(std::string_view text) {
    const auto read = Bracketed(text, " (count ", 2);
    return read ? std::optional<Counted>(Counted{read->first, read->second}) : std::nullopt;
}

std::optional<Continued> ParseContinued(std::string_view text) {
    std::size_t at = 0;
    const auto row = Digits(text, &at, 2);
    constexpr std::string_view kDrawn = ", numbers drawn: ";
    if (!row || text.substr(at, kDrawn.size()) != kDrawn)
        return std::nullopt;
    auto drawn = ParseDrawn(text.substr(at + kDrawn.size()));
    if (!drawn)
        return std::nullopt;
    return Continued{static_cast<int>(*row), std::move(*drawn)};
}

std::optional<int> ParseRow(std::string_view text) {
    std::size_t at = 0;
    const auto row = Digits(text, &at, 2);
    if (!row || at != text.size())
        return std::nullopt;
    return static_cast<int>(*row);
}

namespace {

// "<a> of <b>" at the start of the text: the two numbers, and where the text goes on.
std::optional<std::pair<int, int>> OneOf(std::string_view text, std::size_t* at) {
    const auto first = Digits(text, at, 3);
    constexpr std::string_view kOf = " of ";
    if (!first || text.substr(*at, kOf.size()) != kOf)
        return std::nullopt;
    *at += kOf.size();
    const auto second = Digits(text, at, 3);
    if (!second || *first < 1 || *first > *second)
        return std::nullopt;
    return std::pair{static_cast<int>(*first), static_cast<int>(*second)};
}

} // namespace

std::optional<ProgrammeGameLine> ParseProgrammeGame(std::string_view text) {
    std::size_t at = 0;
    const auto read = OneOf(text, &at);
    if (!read || text.substr(at, 2) != ": ")
        return std::nullopt;
    return ProgrammeGameLine{read->first, read->second};
}

std::optional<StageLine> ParseStage(std::string_view text) {
    std::size_t at = 0;
    const auto read = OneOf(text, &at);
    constexpr std::string_view kPattern = ", pattern ";
    if (!read || text.substr(at, kPattern.size()) != kPattern)
        return std::nullopt;
    at += kPattern.size();
    const std::size_t end = text.find(": ", at);
    if (end == std::string_view::npos || end == at)
        return std::nullopt;
    const std::string_view pattern = text.substr(at, end - at);
    if (pattern.find(' ') != std::string_view::npos)
        return std::nullopt;
    return StageLine{read->first, read->second, std::string(pattern)};
}

std::optional<Checked> ParseChecked(std::string_view text) {
    std::size_t at = 0;
    const auto coupon = Digits(text, &at, 7);
    if (!coupon || text.substr(at, 6) != " (row ")
        return std::nullopt;
    at += 6;
    const auto row = Digits(text, &at, 2);
    if (!row || text.substr(at, 8) != ") after ")
        return std::nullopt;
    at += 8;
    const auto count = Digits(text, &at, 2);
    if (!count || text.substr(at, 10) != " numbers: ")
        return std::nullopt;
    at += 10;
    const std::string_view verdict = text.substr(at);
    if (verdict != kVerdictWrong && verdict != kVerdictNotInSeries)
        return std::nullopt;
    return Checked{static_cast<int>(*coupon), static_cast<int>(*row), static_cast<int>(*count),
                   verdict == kVerdictWrong};
}

std::optional<Rules> ParseRules(std::string_view text) {
    std::size_t at = 0;
    const auto count = Digits(text, &at, 2);
    if (!count || text.substr(at, 22) != " numbers, free middle ")
        return std::nullopt;
    Rules rules;
    rules.numberCount = static_cast<int>(*count);
    at += 22;
    if (text.substr(at, 4) == "on, ") {
        rules.freeMiddle = true;
        at += 4;
    } else if (text.substr(at, 5) == "off, ") {
        at += 5;
    } else {
        return std::nullopt;
    }
    const std::string_view limit = text.substr(at);
    if (limit == "no number limit")
        return rules;
    if (limit.substr(0, 13) != "number limit ")
        return std::nullopt;
    at += 13;
    const auto value = Digits(text, &at, 5);
    if (!value || at != text.size())
        return std::nullopt;
    rules.numberLimit = static_cast<int>(*value);
    return rules;
}

std::optional<Series> ParseSeries(std::string_view text) {
    const std::size_t comma = text.rfind(", ");
    if (comma == std::string_view::npos || comma == 0)
        return std::nullopt;
    Series series{std::string(text.substr(0, comma)), std::string()};
    const std::string_view rest = text.substr(comma + 2);
    if (rest == kSeriesNotRead)
        return series;
    constexpr std::string_view kSha = "SHA-256 ";
    if (rest.substr(0, kSha.size()) != kSha || !IsHexDigest(rest.substr(kSha.size())))
        return std::nullopt;
    series.digest = std::string(rest.substr(kSha.size()));
    return series;
}

} // namespace zorvi::LogLines
