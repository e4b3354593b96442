#include "JackpotBook.h"

#include <algorithm>
#include <system_error>

#include "AtomicFile.h"
#include "RegularFile.h"

namespace zorvi {

namespace fs = std::filesystem;

namespace {

constexpr std::string_view kHeading = "[jackpots]";
constexpr std::string_view kHex = "0123456789ABCDEF";
constexpr int kLargestWithin = 90;
constexpr std::size_t kMostDigits = 12;

// A game name as a key: every byte that could end the key, start a heading or comment, or
// break the line is written as %XX, and so are blanks at either end (a read trims them).
std::string EncodeName(std::string_view name) {
    std::string out;
    for (std::size_t i = 0; i < name.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(name[i]);
        const bool edge = i == 0 || i + 1 == name.size();
        const bool plain = c >= 0x20 && c != 0x7F && c != '%' && c != '=' && c != '[' && c != ']' &&
                           c != '#' && c != ';' && !(edge && c == ' ');
        if (plain) {
            out += static_cast<char>(c);
        } else {
            out += '%';
            out += kHex[c >> 4];
            out += kHex[c & 0x0F];
        }
    }
    return out;
}

int HexValue(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;
}

std::optional<std::string> DecodeName(std::string_view text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '%') {
            out += text[i];
            continue;
        }
        if (i + 2 >= text.size())
            return std::nullopt;
        const int high = HexValue(text[i + 1]);
        const int low = HexValue(text[i + 2]);
        if (high < 0 || low < 0)
            return std::nullopt;
        out += static_cast<char>(high * 16 + low);
        i += 2;
    }
    return out;
}

std::optional<long long> ParseCount(std::string_view text) {
    if (text.empty() || text.size() > kMostDigits)
        return std::nullopt;
    long long value = 0;
    for (const char c : text) {
        if (c < '0' || c > '9')
            return std::nullopt;
        value = value * 10 + (c - '0');
    }
    return value;
}

std::string_view Trim(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t'))
        text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t'))
        text.remove_suffix(1);
    return text;
}

int LargestWithin(const Jackpot& jackpot, int numberCount) {
    return jackpot.cap > 0 ? jackpot.cap : numberCount;
}

} // namespace

bool JackpotWins(const Jackpot& jackpot, const JackpotNow& now, int drawnCount) {
    if (!jackpot.Any() || now.within <= 0 || drawnCount <= 0)
        return false;
    const bool mustGo = jackpot.cap > 0 && now.within >= jackpot.cap;
    return mustGo || drawnCount <= now.within;
}

JackpotNow CarriedOver(const Jackpot& jackpot, const JackpotNow& now, int numberCount) {
    JackpotNow next = now;
    if (jackpot.step > 0) {
        const int limit = LargestWithin(jackpot, numberCount);
        next.within = now.within >= limit ? now.within : std::min(now.within + jackpot.step, limit);
    }
    constexpr long long largest = ProgrammeLimits::kLargestPrize;
    if (jackpot.prizeStep > 0) {
        next.prize = now.prize >= largest || jackpot.prizeStep >= largest - now.prize
                         ? std::max(now.prize, largest)
                         : now.prize + jackpot.prizeStep;
    }
    return next;
}

JackpotNow JackpotBook::Current(const ProgrammeGame& game) const {
    const Jackpot& jackpot = game.jackpot;
    if (!jackpot.Any())
        return {};
    const JackpotNow base{jackpot.within, jackpot.prize};
    const auto found = entries_.find(game.name);
    if (found == entries_.end())
        return base;
    const JackpotNow& stored = found->second;
    const bool fits = stored.within >= base.within &&
                      stored.within <= LargestWithin(jackpot, game.numberCount) &&
                      stored.prize >= base.prize && stored.prize <= ProgrammeLimits::kLargestPrize;
    return fits ? stored : base;
}

void JackpotBook::Won(const ProgrammeGame& game) {
    entries_.erase(game.name);
}

void JackpotBook::Carry(const ProgrammeGame& game) {
    if (!game.jackpot.Any())
        return;
    const JackpotNow next = CarriedOver(game.jackpot, Current(game), game.numberCount);
    if (next == JackpotNow{game.jackpot.within, game.jackpot.prize}) {
        entries_.erase(game.name);
        return;
    }
    const auto found = entries_.find(game.name);
    if (found != entries_.end())
        found->second = next;
    else if (entries_.size() < kMostEntries)
        entries_.emplace(game.name, next);
}

std::string JackpotBook::Format() const {
    std::string out = "# ZORVI jackpots carried over between evenings: game=N prize\n";
    out += kHeading;
    out += '\n';
    for (const auto& [name, now] : entries_) {
        out += EncodeName(name);
        out += '=';
        out += std::to_string(now.within);
        out += ' ';
        out += std::to_string(now.prize);
        out += '\n';
    }
    return out;
}

std::optional<std::map<std::string, JackpotNow>> JackpotBook::Parse(std::string_view text) {
    if (text.size() > kLargestFile)
        return std::nullopt;
    std::map<std::string, JackpotNow> entries;
    bool inSection = false;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        // What this file holds was written by us, escaped: a raw control byte is damage.
        for (const char c : line)
            if ((static_cast<unsigned char>(c) < 0x20 && c != '\t') || c == 0x7F)
                return std::nullopt;
        line = Trim(line);
        if (line.empty() || line.front() == '#' || line.front() == ';')
            continue;
        if (line == kHeading) {
            if (inSection)
                return std::nullopt;
            inSection = true;
            continue;
        }
        const std::size_t equals = line.find('=');
        if (!inSection || equals == std::string_view::npos)
            return std::nullopt;
        const std::optional<std::string> name = DecodeName(line.substr(0, equals));
        const std::string_view value = line.substr(equals + 1);
        const std::size_t space = value.find(' ');
        if (!name || name->empty() || name->size() > ProgrammeLimits::kLongestName ||
            space == std::string_view::npos)
            return std::nullopt;
        const std::optional<long long> within = ParseCount(value.substr(0, space));
        const std::optional<long long> prize = ParseCount(value.substr(space + 1));
        if (!within || !prize || *within < 1 || *within > kLargestWithin ||
            *prize > ProgrammeLimits::kLargestPrize)
            return std::nullopt;
        if (entries.size() >= kMostEntries || entries.count(*name) != 0)
            return std::nullopt;
        entries.emplace(*name, JackpotNow{static_cast<int>(*within), *prize});
    }
    return entries;
}

bool JackpotBook::Load(const fs::path& folder) {
    entries_.clear();
    std::string bytes;
    switch (ReadRegularFile(folder / std::string(kJackpotFileName), kLargestFile, bytes)) {
    case FileRead::Missing:
        return true;
    case FileRead::Ok:
        break;
    default:
        return false;
    }
    std::optional<std::map<std::string, JackpotNow>> entries = Parse(bytes);
    if (!entries)
        return false;
    entries_ = std::move(*entries);
    return true;
}

bool JackpotBook::Save(const fs::path& folder) const {
    std::error_code ec;
    fs::create_directories(folder, ec);
    return WriteFileAtomically(folder / std::string(kJackpotFileName), Format());
}

} // namespace zorvi
