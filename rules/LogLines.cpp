#include "LogLines.h"

#include <algorithm>
#include <cstdio>

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

std::optional<Bingo> ParseBingo(std::string_view text) {
    std::size_t at = 0;
    const auto coupon = Digits(text, &at, 7);
    if (!coupon || text.substr(at, 6) != " (row ")
        return std::nullopt;
    at += 6;
    const auto row = Digits(text, &at, 2);
    if (!row || at + 1 != text.size() || text[at] != ')')
        return std::nullopt;
    return Bingo{static_cast<int>(*coupon), static_cast<int>(*row)};
}

} // namespace zorvi::LogLines
