#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "Programme.h"

namespace zorvi {

// Why a programme file was refused. The file is written by people, so every refusal names the
// line and the text a person has to fix.
enum class ProgrammeFaultKind {
    None,
    Unreadable,           // no regular file that could be read (whole file: line 0)
    TooLarge,             // larger than ProgrammeLimits::kLargestFile (line 0)
    NulByte,              // a NUL byte: not a text file
    BadUtf8,              // bytes that are not UTF-8
    ControlCharacter,     // a control character other than a tab
    LineTooLong,          // a line longer than kLongestProgrammeLine bytes
    OutsideSection,       // a key before the first section heading
    MissingEquals,        // a line that is neither a heading, a comment nor key=value
    UnknownSection,       // a heading other than [programme], [pattern NAME], [game]
    DuplicateSection,     // a second [programme]
    UnknownKey,           // a key the section does not have
    DuplicateKey,         // a single key given twice in one section
    BadNumber,            // not a whole number of digits
    BadNumberCount,       // numbers= other than 75 or 90
    UnknownPattern,       // a stage naming no built-in key of the game nor a drawn pattern
    DrawnPatternIn90,     // a drawn pattern in a 90-number game: drawn patterns are 5 x 5
    BadGrid,              // grid= not five rows of five '#' or '.' joined by '/'
    EmptyGrid,            // a drawn pattern without a grid or with no square in it
    BadPatternName,       // a drawn pattern's name empty or holding '|'
    DuplicatePattern,     // two drawn patterns of one name
    BuiltInPatternName,   // a drawn pattern named like a built-in one
    MissingGameName,      // a [game] without name=
    DuplicateGameName,    // two games of one name (jackpots are kept by name)
    TooLong,              // a name, prize or currency longer than its limit
    NoStages,             // a game without stage=
    TooManyStages,        // more than ProgrammeLimits::kMostStages in a game
    TooManyGames,         // more than ProgrammeLimits::kMostGames
    TooManyPatterns,      // more than ProgrammeLimits::kMostDrawnPatterns
    BadJackpot,           // a jackpot value out of its range
    JackpotNeedsFullCard, // a jackpot in a game whose last stage is no full card
    NoGames,              // a file without any [game] (line 0)
};

struct ProgrammeFault {
    int line = 0; // 1-based; 0 for the file as a whole
    ProgrammeFaultKind kind = ProgrammeFaultKind::None;
    std::string field; // the key or the text that is wrong, clipped to kLongestFaultField bytes

    friend bool operator==(const ProgrammeFault&, const ProgrammeFault&) = default;
};

struct ProgrammeRead {
    std::optional<Programme> programme; // set when the text was taken
    ProgrammeFault fault;               // kind None when taken
};

inline constexpr std::size_t kLongestProgrammeLine = 4096;
inline constexpr std::size_t kLongestFaultField = 60;

// Reads the programme file's text. Takes everything FormatProgramme writes, and a person's
// edits of it: comments ('#', ';'), blank lines, blanks around keys and values, a UTF-8 BOM,
// CR LF line ends.
ProgrammeRead ParseProgramme(std::string_view text);

// The file for a programme, with a commented example at the top. For a programme that
// ParseProgramme gives, ParseProgramme(FormatProgramme(p)) gives p again.
std::string FormatProgramme(const Programme& programme);

// True when the programme can be written and read back unchanged: what the program may save.
bool ProgrammeWritable(const Programme& programme);

// The refusal for a person: "Line 14: unknown pattern \"four_corner\"" in Finnish (0),
// Swedish (1) or English (2); any other index gives Finnish.
std::string ProgrammeFaultText(const ProgrammeFault& fault, int language);

} // namespace zorvi
