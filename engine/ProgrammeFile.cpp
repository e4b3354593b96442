#include "ProgrammeFile.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <vector>

#include "GameRules.h"
#include "TextTrim.h"

namespace zorvi {

namespace {

using Kind = ProgrammeFaultKind;

#ifdef _WIN32
constexpr std::string_view kEol = "\r\n";
#else
constexpr std::string_view kEol = "\n";
#endif

constexpr std::string_view kBom = "\xEF\xBB\xBF";
// More digits than this is out of every range the file has; it also keeps the sum in range.
constexpr std::size_t kMostDigits = 12;
constexpr long long kOutOfRange = 1'000'000'000'000'000LL;

char Lower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

std::string Lowered(std::string_view text) {
    std::string out(text);
    for (char& c : out)
        c = Lower(c);
    return out;
}

bool SameIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (Lower(a[i]) != Lower(b[i]))
            return false;
    return true;
}

// Length of the UTF-8 sequence at `at`, or 0 when it is not a well-formed one (overlong forms,
// surrogates and code points past U+10FFFF included).
std::size_t Utf8Length(std::string_view text, std::size_t at) {
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char lead = byte(at);
    if (lead < 0x80)
        return 1;
    std::size_t length = 0;
    unsigned char low = 0x80, high = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        if (lead == 0xE0)
            low = 0xA0;
        if (lead == 0xED)
            high = 0x9F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        if (lead == 0xF0)
            low = 0x90;
        if (lead == 0xF4)
            high = 0x8F;
    } else {
        return 0;
    }
    if (at + length > text.size())
        return 0;
    if (byte(at + 1) < low || byte(at + 1) > high)
        return 0;
    for (std::size_t i = 2; i < length; ++i)
        if (byte(at + i) < 0x80 || byte(at + i) > 0xBF)
            return 0;
    return length;
}

// The text cut to at most `limit` bytes without splitting a character.
std::string Clipped(std::string_view text, std::size_t limit) {
    if (text.size() <= limit)
        return std::string(text);
    std::size_t end = limit;
    while (end > 0 && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80)
        --end;
    return std::string(text.substr(0, end));
}

// A whole number of digits only; more digits than any field takes read as out of range.
std::optional<long long> ParseNumber(std::string_view text) {
    if (text.empty())
        return std::nullopt;
    for (const char c : text)
        if (c < '0' || c > '9')
            return std::nullopt;
    while (text.size() > 1 && text.front() == '0')
        text.remove_prefix(1);
    if (text.size() > kMostDigits)
        return kOutOfRange;
    long long value = 0;
    for (const char c : text)
        value = value * 10 + (c - '0');
    return value;
}

bool IsBuiltInKey(std::string_view name) {
    for (const int numbers : {GameRules::kNumbers75, GameRules::kNumbers90})
        for (const WinPattern& pattern : WinPatterns::Library(numbers))
            if (SameIgnoringCase(pattern.key, name))
                return true;
    return false;
}

bool IsFullCard(const WinPattern& pattern, int numberCount) {
    if (pattern.drawn)
        return false;
    return pattern.key == "full_card" ||
           (pattern.rows > 0 && pattern.rows == GameRules::RowsPerGame(numberCount));
}

struct NumberField {
    long long value = 0;
    int line = 0;
};

struct RawStage {
    int line = 0;
    std::string key;
    std::string prize;
};

struct RawPattern {
    int line = 0;
    std::string name;
    std::optional<std::uint32_t> mask;
};

struct RawGame {
    int line = 0;
    std::optional<std::string> name;
    int numberCount = GameRules::kNumbers75;
    std::vector<RawStage> stages;
    NumberField within, prize, step, prizeStep, cap;
};

enum class Section { None, Programme, Pattern, Game };

struct JackpotKey {
    std::string_view key;
    NumberField RawGame::*field;
};

constexpr std::array<JackpotKey, 5> kJackpotKeys = {{
    {"jackpot_within", &RawGame::within},
    {"jackpot_prize", &RawGame::prize},
    {"jackpot_step", &RawGame::step},
    {"jackpot_prize_step", &RawGame::prizeStep},
    {"jackpot_cap", &RawGame::cap},
}};

class Reader {
public:
    ProgrammeRead Read(std::string_view text);

private:
    ProgrammeRead Fail(int line, Kind kind, std::string_view field) {
        ProgrammeRead read;
        read.fault = {line, kind, Clipped(field, kLongestFaultField)};
        return read;
    }
    std::optional<ProgrammeFault> Line(int number, std::string_view line);
    std::optional<ProgrammeFault> Heading(int number, std::string_view inner);
    std::optional<ProgrammeFault> Key(int number, std::string_view key, std::string_view value);
    std::optional<ProgrammeFault> GameKey(int number, const std::string& key,
                                          std::string_view value);
    std::optional<ProgrammeFault> Finish(Programme& programme);

    static ProgrammeFault Fault(int line, Kind kind, std::string_view field) {
        return {line, kind, Clipped(field, kLongestFaultField)};
    }

    Section section_ = Section::None;
    std::vector<std::string> keysSeen_; // the single keys of the current section
    bool programmeSeen_ = false;
    std::string name_;
    std::string currency_ = "€";
    std::vector<RawPattern> patterns_;
    std::vector<RawGame> games_;
};

std::optional<ProgrammeFault> CheckBytes(int number, std::string_view line) {
    if (line.size() > kLongestProgrammeLine)
        return ProgrammeFault{number, Kind::LineTooLong, ""};
    for (std::size_t i = 0; i < line.size();) {
        const unsigned char c = static_cast<unsigned char>(line[i]);
        if (c == 0)
            return ProgrammeFault{number, Kind::NulByte, ""};
        if ((c < 0x20 && c != '\t') || c == 0x7F)
            return ProgrammeFault{number, Kind::ControlCharacter, ""};
        const std::size_t length = Utf8Length(line, i);
        if (length == 0)
            return ProgrammeFault{number, Kind::BadUtf8, ""};
        i += length;
    }
    return std::nullopt;
}

ProgrammeRead Reader::Read(std::string_view text) {
    if (text.size() > ProgrammeLimits::kLargestFile)
        return Fail(0, Kind::TooLarge, "");
    if (text.substr(0, kBom.size()) == kBom)
        text.remove_prefix(kBom.size());
    int number = 0;
    while (!text.empty()) {
        ++number;
        const std::size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        if (auto fault = CheckBytes(number, line))
            return {std::nullopt, *fault};
        if (auto fault = Line(number, line))
            return {std::nullopt, *fault};
    }
    Programme programme;
    if (auto fault = Finish(programme))
        return {std::nullopt, *fault};
    return {std::move(programme), {}};
}

std::optional<ProgrammeFault> Reader::Line(int number, std::string_view line) {
    line = TrimBlanks(line);
    if (line.empty() || line.front() == '#' || line.front() == ';')
        return std::nullopt;
    if (line.front() == '[') {
        if (line.back() != ']' || line.size() < 2)
            return Fault(number, Kind::UnknownSection, line);
        return Heading(number, TrimBlanks(line.substr(1, line.size() - 2)));
    }
    if (section_ == Section::None)
        return Fault(number, Kind::OutsideSection, line);
    const std::size_t equals = line.find('=');
    if (equals == std::string_view::npos)
        return Fault(number, Kind::MissingEquals, line);
    return Key(number, TrimBlanks(line.substr(0, equals)), TrimBlanks(line.substr(equals + 1)));
}

std::optional<ProgrammeFault> Reader::Heading(int number, std::string_view inner) {
    std::size_t wordEnd = 0;
    while (wordEnd < inner.size() && !IsBlank(inner[wordEnd]))
        ++wordEnd;
    const std::string word = Lowered(inner.substr(0, wordEnd));
    const std::string_view rest = TrimBlanks(inner.substr(wordEnd));
    keysSeen_.clear();
    if (word == "programme" && rest.empty()) {
        if (programmeSeen_)
            return Fault(number, Kind::DuplicateSection, inner);
        programmeSeen_ = true;
        section_ = Section::Programme;
        return std::nullopt;
    }
    if (word == "game" && rest.empty()) {
        if (games_.size() >= ProgrammeLimits::kMostGames)
            return Fault(number, Kind::TooManyGames, inner);
        games_.push_back({});
        games_.back().line = number;
        section_ = Section::Game;
        return std::nullopt;
    }
    if (word != "pattern")
        return Fault(number, Kind::UnknownSection, inner);
    if (rest.empty() || rest.find('|') != std::string_view::npos)
        return Fault(number, Kind::BadPatternName, rest);
    if (rest.size() > ProgrammeLimits::kLongestName)
        return Fault(number, Kind::TooLong, "pattern");
    if (IsBuiltInKey(rest))
        return Fault(number, Kind::BuiltInPatternName, rest);
    for (const RawPattern& pattern : patterns_)
        if (SameIgnoringCase(pattern.name, rest))
            return Fault(number, Kind::DuplicatePattern, rest);
    if (patterns_.size() >= ProgrammeLimits::kMostDrawnPatterns)
        return Fault(number, Kind::TooManyPatterns, rest);
    patterns_.push_back({number, std::string(rest), std::nullopt});
    section_ = Section::Pattern;
    return std::nullopt;
}

std::optional<ProgrammeFault> Reader::Key(int number, std::string_view keyText,
                                          std::string_view value) {
    const std::string key = Lowered(keyText);
    const bool repeatable = section_ == Section::Game && key == "stage";
    if (!repeatable) {
        for (const std::string& seen : keysSeen_)
            if (seen == key)
                return Fault(number, Kind::DuplicateKey, keyText);
    }
    std::optional<ProgrammeFault> fault;
    switch (section_) {
    case Section::Programme:
        if (key == "name") {
            if (value.size() > ProgrammeLimits::kLongestName)
                return Fault(number, Kind::TooLong, keyText);
            name_ = value;
        } else if (key == "currency") {
            if (value.size() > ProgrammeLimits::kLongestPrize)
                return Fault(number, Kind::TooLong, keyText);
            currency_ = value;
        } else {
            return Fault(number, Kind::UnknownKey, keyText);
        }
        break;
    case Section::Pattern:
        if (key != "grid")
            return Fault(number, Kind::UnknownKey, keyText);
        if (value.empty())
            return Fault(number, Kind::EmptyGrid, patterns_.back().name);
        patterns_.back().mask = WinPatterns::ParseGrid(value);
        if (!patterns_.back().mask)
            return Fault(number, Kind::BadGrid, value);
        if (*patterns_.back().mask == 0)
            return Fault(number, Kind::EmptyGrid, patterns_.back().name);
        break;
    case Section::Game:
        fault = GameKey(number, key, value);
        if (fault && fault->kind == Kind::UnknownKey)
            fault->field = Clipped(keyText, kLongestFaultField);
        if (fault)
            return fault;
        break;
    case Section::None:
        return Fault(number, Kind::OutsideSection, keyText);
    }
    if (!repeatable)
        keysSeen_.push_back(key);
    return std::nullopt;
}

std::optional<ProgrammeFault> Reader::GameKey(int number, const std::string& key,
                                              std::string_view value) {
    RawGame& game = games_.back();
    if (key == "name") {
        if (value.empty())
            return Fault(number, Kind::MissingGameName, key);
        if (value.size() > ProgrammeLimits::kLongestName)
            return Fault(number, Kind::TooLong, key);
        for (std::size_t g = 0; g + 1 < games_.size(); ++g)
            if (games_[g].name == value)
                return Fault(number, Kind::DuplicateGameName, value);
        game.name = std::string(value);
        return std::nullopt;
    }
    if (key == "numbers") {
        const std::optional<long long> count = ParseNumber(value);
        if (!count)
            return Fault(number, Kind::BadNumber, value);
        if (!GameRules::IsNumberCount(static_cast<int>(std::min(*count, 1000LL))))
            return Fault(number, Kind::BadNumberCount, value);
        game.numberCount = static_cast<int>(*count);
        return std::nullopt;
    }
    if (key == "stage") {
        if (game.stages.size() >= ProgrammeLimits::kMostStages)
            return Fault(number, Kind::TooManyStages, value);
        const std::size_t bar = value.find('|');
        RawStage stage;
        stage.line = number;
        stage.key = TrimBlanks(value.substr(0, bar));
        if (bar != std::string_view::npos)
            stage.prize = TrimBlanks(value.substr(bar + 1));
        if (stage.prize.size() > ProgrammeLimits::kLongestPrize)
            return Fault(number, Kind::TooLong, key);
        game.stages.push_back(std::move(stage));
        return std::nullopt;
    }
    for (const JackpotKey& jackpot : kJackpotKeys) {
        if (key != jackpot.key)
            continue;
        const std::optional<long long> parsed = ParseNumber(value);
        if (!parsed)
            return Fault(number, Kind::BadNumber, value);
        game.*jackpot.field = {*parsed, number};
        return std::nullopt;
    }
    return Fault(number, Kind::UnknownKey, key);
}

std::optional<ProgrammeFault> Reader::Finish(Programme& programme) {
    programme.name = name_;
    programme.currency = currency_;
    for (const RawPattern& raw : patterns_) {
        const std::optional<WinPattern> pattern =
            raw.mask ? WinPatterns::Drawn(raw.name, *raw.mask) : std::nullopt;
        if (!pattern)
            return Fault(raw.line, Kind::EmptyGrid, raw.name);
        programme.drawnPatterns.push_back(*pattern);
    }
    for (const RawGame& raw : games_) {
        ProgrammeGame game;
        if (!raw.name)
            return Fault(raw.line, Kind::MissingGameName, "name");
        game.name = *raw.name;
        game.numberCount = raw.numberCount;
        if (raw.stages.empty())
            return Fault(raw.line, Kind::NoStages, game.name);
        for (const RawStage& stage : raw.stages) {
            std::optional<WinPattern> pattern =
                WinPatterns::Find(Lowered(stage.key), game.numberCount);
            if (!pattern) {
                for (const WinPattern& drawn : programme.drawnPatterns)
                    if (SameIgnoringCase(drawn.key, stage.key))
                        pattern = drawn;
                if (pattern && game.numberCount != GameRules::kNumbers75)
                    return Fault(stage.line, Kind::DrawnPatternIn90, stage.key);
            }
            if (!pattern)
                return Fault(stage.line, Kind::UnknownPattern, stage.key);
            game.stages.push_back({std::move(*pattern), stage.prize});
        }

        // Without N the game has no jackpot, whatever else is written: a hall turns it off by
        // setting jackpot_within=0 and keeps the rest for later.
        if (raw.within.value > 0) {
            const long long numbers = game.numberCount;
            if (!IsFullCard(game.stages.back().pattern, game.numberCount))
                return Fault(raw.within.line, Kind::JackpotNeedsFullCard, "jackpot_within");
            if (raw.within.value > numbers)
                return Fault(raw.within.line, Kind::BadJackpot, "jackpot_within");
            if (raw.prize.value > ProgrammeLimits::kLargestPrize)
                return Fault(raw.prize.line, Kind::BadJackpot, "jackpot_prize");
            if (raw.step.value > numbers)
                return Fault(raw.step.line, Kind::BadJackpot, "jackpot_step");
            if (raw.prizeStep.value > ProgrammeLimits::kLargestPrize)
                return Fault(raw.prizeStep.line, Kind::BadJackpot, "jackpot_prize_step");
            if (raw.cap.value != 0 && (raw.cap.value < raw.within.value || raw.cap.value > numbers))
                return Fault(raw.cap.line, Kind::BadJackpot, "jackpot_cap");
            game.jackpot.within = static_cast<int>(raw.within.value);
            game.jackpot.prize = raw.prize.value;
            game.jackpot.step = static_cast<int>(raw.step.value);
            game.jackpot.prizeStep = raw.prizeStep.value;
            game.jackpot.cap = static_cast<int>(raw.cap.value);
        }
        programme.games.push_back(std::move(game));
    }
    if (programme.games.empty())
        return Fault(0, Kind::NoGames, "");
    return std::nullopt;
}

void AddLine(std::string& out, std::string_view line) {
    out += line;
    out += kEol;
}

void AddKey(std::string& out, std::string_view key, std::string_view value) {
    out += key;
    out += '=';
    out += value;
    out += kEol;
}

std::string KeysOf(int numberCount) {
    std::string keys;
    for (const WinPattern& pattern : WinPatterns::Library(numberCount)) {
        if (!keys.empty())
            keys += ", ";
        keys += pattern.key;
    }
    return keys;
}

// The head of every file the program writes, so a person editing it has the rules at hand.
void AddGuide(std::string& out) {
    const std::string_view guide[] = {
        "# ZORVI evening programme",
        "#",
        "# [programme] holds the evening's name and currency. A [pattern NAME] is a pattern the",
        "# hall drew on the 5 x 5 grid: grid= five rows of '#' (in the pattern) and '.', joined",
        "# by '/'. Then one [game] per game, in playing order; every game has its own name.",
        "# stage=PATTERN | PRIZE, one line per stage in order. PATTERN is a drawn pattern's name",
        "# (75-number games only) or one of these keys:",
    };
    for (const std::string_view line : guide)
        AddLine(out, line);
    AddLine(out, "#   75 numbers: " + KeysOf(GameRules::kNumbers75));
    AddLine(out, "#   90 numbers: " + KeysOf(GameRules::kNumbers90));
    const std::string_view jackpot[] = {
        "# A jackpot (optional) is won by a full card within jackpot_within numbers, and needs",
        "# the game's last stage to be a full card. When nobody wins it, N grows by jackpot_step",
        "# and the prize by jackpot_prize_step, up to jackpot_cap; at the cap it must go.",
        "#",
        "# Example:",
        "#   [pattern Arrow]",
        "#   grid=..#../.###./#.#.#/..#../..#..",
        "#",
        "#   [game]",
        "#   name=Early bird",
        "#   numbers=75",
        "#   stage=rows_1 | 20 €",
        "#   stage=Arrow | Gift basket",
        "#   stage=full_card | 50 €",
        "#   jackpot_within=48",
        "#   jackpot_prize=500",
        "#   jackpot_step=2",
        "#   jackpot_prize_step=50",
        "#   jackpot_cap=56",
    };
    for (const std::string_view line : jackpot)
        AddLine(out, line);
}

struct FaultTexts {
    const char* fi;
    const char* sv;
    const char* en;
};

// %1 the field.
FaultTexts TextsOf(Kind kind) {
    switch (kind) {
    case Kind::None:
        return {"ei virhettä", "inget fel", "no fault"};
    case Kind::Unreadable:
        return {"tiedostoa \"%1\" ei voi lukea", "filen \"%1\" kan inte läsas",
                "the file \"%1\" cannot be read"};
    case Kind::TooLarge:
        return {"tiedosto on suurempi kuin 256 kt", "filen är större än 256 kB",
                "the file is larger than 256 KB"};
    case Kind::NulByte:
        return {"NUL-tavu: tiedosto ei ole tekstiä", "en NUL-byte: filen är ingen text",
                "a NUL byte: the file is not text"};
    case Kind::BadUtf8:
        return {"teksti ei ole UTF-8-muodossa", "texten är inte i UTF-8", "the text is not UTF-8"};
    case Kind::ControlCharacter:
        return {"rivillä on ohjausmerkki", "raden innehåller ett styrtecken",
                "a control character in the line"};
    case Kind::LineTooLong:
        return {"rivi on pidempi kuin 4096 tavua", "raden är längre än 4096 byte",
                "the line is longer than 4096 bytes"};
    case Kind::OutsideSection:
        return {"\"%1\" on ennen ensimmäistä osiota, kuten [game]",
                "\"%1\" står före första avsnittet, till exempel [game]",
                "\"%1\" comes before any section such as [game]"};
    case Kind::MissingEquals:
        return {"\"%1\" ei ole muotoa avain=arvo", "\"%1\" är inte på formen nyckel=värde",
                "\"%1\" is not of the form key=value"};
    case Kind::UnknownSection:
        return {"tuntematon osio \"%1\"", "okänt avsnitt \"%1\"", "unknown section \"%1\""};
    case Kind::DuplicateSection:
        return {"osio \"%1\" on tiedostossa kahdesti", "avsnittet \"%1\" finns två gånger",
                "the section \"%1\" is given twice"};
    case Kind::UnknownKey:
        return {"tuntematon avain \"%1\"", "okänd nyckel \"%1\"", "unknown key \"%1\""};
    case Kind::DuplicateKey:
        return {"avain \"%1\" on osiossa kahdesti", "nyckeln \"%1\" finns två gånger i avsnittet",
                "the key \"%1\" is given twice in the section"};
    case Kind::BadNumber:
        return {"\"%1\" ei ole kokonaisluku", "\"%1\" är inget heltal",
                "\"%1\" is not a whole number"};
    case Kind::BadNumberCount:
        return {"numeroiden määrän on oltava 75 tai 90, ei \"%1\"",
                "antalet nummer måste vara 75 eller 90, inte \"%1\"",
                "numbers must be 75 or 90, not \"%1\""};
    case Kind::UnknownPattern:
        return {"tuntematon kuvio \"%1\"", "okänt mönster \"%1\"", "unknown pattern \"%1\""};
    case Kind::DrawnPatternIn90:
        return {"piirrettyä kuviota \"%1\" ei voi käyttää 90 numeron pelissä",
                "det ritade mönstret \"%1\" kan inte användas i ett spel med 90 nummer",
                "the drawn pattern \"%1\" cannot be used in a 90-number game"};
    case Kind::BadGrid:
        return {"virheellinen ruudukko \"%1\": viisi viiden merkin riviä (# tai .) "
                "erotettuina merkillä /",
                "felaktigt rutnät \"%1\": fem rader med fem # eller . åtskilda av /",
                "bad grid \"%1\": five rows of five # or . joined by /"};
    case Kind::EmptyGrid:
        return {"kuvion \"%1\" ruudukossa ei ole yhtään ruutua",
                "mönstret \"%1\" har inga rutor i sitt rutnät",
                "the pattern \"%1\" has no squares in its grid"};
    case Kind::BadPatternName:
        return {"virheellinen kuvion nimi \"%1\" (tyhjä tai sisältää merkin |)",
                "felaktigt mönsternamn \"%1\" (tomt eller med tecknet |)",
                "bad pattern name \"%1\" (empty or holding |)"};
    case Kind::DuplicatePattern:
        return {"kuvio \"%1\" on määritelty kahdesti", "mönstret \"%1\" är definierat två gånger",
                "the pattern \"%1\" is defined twice"};
    case Kind::BuiltInPatternName:
        return {"\"%1\" on valmiin kuvion nimi", "\"%1\" är namnet på ett inbyggt mönster",
                "\"%1\" is the name of a built-in pattern"};
    case Kind::MissingGameName:
        return {"pelillä ei ole nimeä (name=)", "spelet saknar namn (name=)",
                "the game has no name (name=)"};
    case Kind::DuplicateGameName:
        return {"toisella pelillä on jo nimi \"%1\"", "ett annat spel heter redan \"%1\"",
                "another game is already named \"%1\""};
    case Kind::TooLong:
        return {"avaimen \"%1\" arvo on liian pitkä", "värdet för \"%1\" är för långt",
                "the value of \"%1\" is too long"};
    case Kind::NoStages:
        return {"pelissä \"%1\" ei ole yhtään vaihetta (stage=)",
                "spelet \"%1\" har inga etapper (stage=)",
                "the game \"%1\" has no stages (stage=)"};
    case Kind::TooManyStages:
        return {"pelissä on yli 10 vaihetta: \"%1\"", "fler än 10 etapper i spelet: \"%1\"",
                "more than 10 stages in the game: \"%1\""};
    case Kind::TooManyGames:
        return {"yli 100 peliä", "fler än 100 spel", "more than 100 games"};
    case Kind::TooManyPatterns:
        return {"yli 50 piirrettyä kuviota: \"%1\"", "fler än 50 ritade mönster: \"%1\"",
                "more than 50 drawn patterns: \"%1\""};
    case Kind::BadJackpot:
        return {"jackpotin arvo \"%1\" on sallitun alueen ulkopuolella",
                "jackpotvärdet \"%1\" ligger utanför det tillåtna",
                "the jackpot value \"%1\" is out of range"};
    case Kind::JackpotNeedsFullCard:
        return {"jackpot (\"%1\") vaatii, että pelin viimeinen vaihe on täysi kuponki",
                "en jackpot (\"%1\") kräver att spelets sista etapp är full bricka",
                "a jackpot (\"%1\") needs the game's last stage to be a full card"};
    case Kind::NoGames:
        return {"tiedostossa ei ole yhtään peliä ([game])", "filen innehåller inget spel ([game])",
                "the file has no game ([game])"};
    }
    return {"tuntematon virhe", "okänt fel", "unknown fault"};
}

} // namespace

ProgrammeRead ParseProgramme(std::string_view text) {
    return Reader().Read(text);
}

std::string FormatProgramme(const Programme& programme) {
    std::string out;
    AddGuide(out);
    out += kEol;
    AddLine(out, "[programme]");
    AddKey(out, "name", programme.name);
    AddKey(out, "currency", programme.currency);
    for (const WinPattern& pattern : programme.drawnPatterns) {
        out += kEol;
        AddLine(out, "[pattern " + pattern.key + "]");
        AddKey(out, "grid", WinPatterns::GridText(pattern.masks.empty() ? 0 : pattern.masks[0]));
    }
    for (const ProgrammeGame& game : programme.games) {
        out += kEol;
        AddLine(out, "[game]");
        AddKey(out, "name", game.name);
        AddKey(out, "numbers", std::to_string(game.numberCount));
        for (const ProgrammeStage& stage : game.stages)
            AddKey(out, "stage",
                   stage.prize.empty() ? stage.pattern.key
                                       : stage.pattern.key + " | " + stage.prize);
        const Jackpot& jackpot = game.jackpot;
        if (jackpot.Any()) {
            AddKey(out, "jackpot_within", std::to_string(jackpot.within));
            AddKey(out, "jackpot_prize", std::to_string(jackpot.prize));
            AddKey(out, "jackpot_step", std::to_string(jackpot.step));
            AddKey(out, "jackpot_prize_step", std::to_string(jackpot.prizeStep));
            AddKey(out, "jackpot_cap", std::to_string(jackpot.cap));
        }
    }
    return out;
}

bool ProgrammeWritable(const Programme& programme) {
    const ProgrammeRead read = ParseProgramme(FormatProgramme(programme));
    return read.programme && *read.programme == programme;
}

std::string ProgrammeFaultText(const ProgrammeFault& fault, int language) {
    const FaultTexts texts = TextsOf(fault.kind);
    std::string text;
    const std::string line = std::to_string(fault.line);
    switch (language) {
    case 1:
        text = fault.line > 0 ? "Rad " + line + ": " : "Programfilen: ";
        text += texts.sv;
        break;
    case 2:
        text = fault.line > 0 ? "Line " + line + ": " : "Programme file: ";
        text += texts.en;
        break;
    default:
        text = fault.line > 0 ? "Rivi " + line + ": " : "Ohjelmatiedosto: ";
        text += texts.fi;
        break;
    }
    const std::string field = Clipped(fault.field, kLongestFaultField);
    const std::size_t at = text.find("%1");
    if (at != std::string::npos)
        text.replace(at, 2, field);
    return text;
}

} // namespace zorvi
