#include "StateFile.h"

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string_view>
#include <utility>
#include <vector>

#include "DrawCommitment.h"
#include "Folders.h"
#include "Helpers.h"
#include "ProgramState.h"
#include "Programme.h"
#include "SetAside.h"

namespace zorvi::StateFile {

namespace {

constexpr int kMostProgrammeStages = static_cast<int>(ProgrammeLimits::kMostStages);

std::string FlagText(int flag) {
    return flag == 1 ? "1" : "0";
}

// Splits at the separator, skipping runs of it, so no piece is ever empty.
template <typename Visit> bool ForEachPiece(std::string_view text, char separator, Visit visit) {
    std::size_t pos = 0;
    while (pos < text.size()) {
        if (text[pos] == separator) {
            ++pos;
            continue;
        }
        std::size_t end = text.find(separator, pos);
        if (end == std::string_view::npos)
            end = text.size();
        if (!visit(text.substr(pos, end - pos)))
            return false;
        pos = end;
    }
    return true;
}

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

// A signed decimal number at the start of the piece, as strtol reads it: leading blanks and
// one sign, digits up to the first other character. Nothing when no digit was read or the
// value does not fit 32 bits.
std::optional<int> ParsePiece(std::string_view piece) {
    std::size_t i = 0;
    while (i < piece.size() && IsBlank(piece[i]))
        ++i;
    bool negative = false;
    if (i < piece.size() && (piece[i] == '+' || piece[i] == '-')) {
        negative = piece[i] == '-';
        ++i;
    }
    const std::int64_t bound = negative ? -static_cast<std::int64_t>(INT32_MIN) : INT32_MAX;
    std::int64_t value = 0;
    bool anyDigit = false;
    bool tooLarge = false;
    for (; i < piece.size() && piece[i] >= '0' && piece[i] <= '9'; ++i) {
        anyDigit = true;
        if (!tooLarge) {
            value = value * 10 + (piece[i] - '0');
            tooLarge = value > bound;
        }
    }
    if (!anyDigit || tooLarge)
        return std::nullopt;
    return static_cast<int>(negative ? -value : value);
}

} // namespace

std::string FormatSequence(const ProgramState& state) {
    std::string text;
    text.reserve(state.randomizer_numbers.size() * 3);
    for (const int number : state.randomizer_numbers) {
        text += std::to_string(number);
        text += ';';
    }
    return text;
}

std::string FormatWinners(const ProgramState& state) {
    std::string text;
    for (const Winner& winner : state.winners) {
        text += std::to_string(winner.row);
        text += ':';
        text += std::to_string(winner.drawn_count);
        text += ':';
        text += std::to_string(winner.coupon_number);
        text += ';';
    }
    return text;
}

bool SaveState(const ProgramState& state) {
    Helpers::EnsureDataFolder();
    // All keys in one replacement: a crash mid-save must not leave half a game on disk.
    std::vector<std::pair<std::string, std::string>> values = {
        {"number_count", std::to_string(state.number_count)},
        {"randomizer_numbers", FormatSequence(state)},
        {"current_row", std::to_string(state.current_row)},
        {"auto_speed", std::to_string(state.auto_speed)},
        {"auto_new_number", std::to_string(state.auto_new_number)},
        {"bingo_found", FlagText(state.bingo_found)},
        {"bingo_on_this_row", FlagText(state.bingo_on_this_row)},
        {"max_row", std::to_string(state.max_row)},
        {"rows_left", FlagText(state.rows_left)},
        {"number_limit", std::to_string(state.number_limit)},
        {"winners", FormatWinners(state)},
        {"commitment_nonce", state.commitment_nonce},
    };
    // Only in a game of the hall's machine: the file of a computer's game stays as it was.
    if (state.ball_machine != 0)
        values.emplace_back("ball_machine", "1");
    // Only in a game of the evening's programme, for the same reason.
    if (state.programme_game > 0) {
        values.emplace_back("programme_game", std::to_string(state.programme_game));
        values.emplace_back("programme_game_name", state.programme_game_name);
        values.emplace_back("programme_jackpot", std::to_string(state.programme_jackpot));
    }
    // A file of its own each time: the cost of a save is the game, whatever was on disk.
    return Helpers::ReplaceIniFile(kFileName, values);
}

int LoadState(ProgramState& state) {
    Helpers::EnsureDataFolder();
    // One read of the file serves every key.
    const Helpers::IniFileSnapshot file(kFileName);
    if (!file.Exists())
        return 0;
    // A folder, a pipe, a device, an endless or oversized file: no game can be in it.
    if (file.Read() != FileRead::Ok)
        return -1;

    state.number_count = file.ReadInt("number_count", 0);

    const std::string sequence = file.ReadStringWhole("randomizer_numbers", "");
    const bool sequenceRead = ForEachPiece(sequence, ';', [&](std::string_view piece) {
        const std::optional<int> number = ParsePiece(piece);
        if (!number)
            return false;
        state.randomizer_numbers.push_back(*number);
        return true;
    });
    if (!sequenceRead)
        return -1;

    state.current_row = file.ReadInt("current_row", 0);
    state.auto_speed = file.ReadInt("auto_speed", 0);
    state.auto_new_number = file.ReadInt("auto_new_number", 0);
    state.bingo_found = file.ReadInt("bingo_found", 0) == 1 ? 1 : 0;
    state.bingo_on_this_row = file.ReadInt("bingo_on_this_row", 0) == 1 ? 1 : 0;
    state.max_row = file.ReadInt("max_row", 0);
    state.rows_left = file.ReadInt("rows_left", 0) == 1 ? 1 : 0;
    state.number_limit = file.ReadInt("number_limit", 0);

    const std::string winners = file.ReadStringWhole("winners", "");
    const bool winnersRead = ForEachPiece(winners, ';', [&](std::string_view entry) {
        // Row, drawn count and coupon number; pieces after the third are ignored.
        std::optional<int> fields[3];
        std::size_t taken = 0;
        ForEachPiece(entry, ':', [&](std::string_view piece) {
            fields[taken++] = ParsePiece(piece);
            return taken < 3;
        });
        if (!fields[0] || !fields[1] || !fields[2])
            return false;
        state.winners.push_back(Winner{*fields[0], *fields[1], *fields[2]});
        return true;
    });
    if (!winnersRead)
        return -1;

    // Absent in a file from before commitments: the game then simply has none. A value that is
    // not a nonce is dropped the same way; it cannot open a reveal that proves anything.
    const std::string nonce = file.ReadStringWhole("commitment_nonce", "");
    if (DrawCommitment::IsNonce(nonce))
        state.commitment_nonce = nonce;
    // Absent in a file from before the ball machine: the computer's draw. The entered balls
    // stand first in the sequence, so such a file is a game an older version plays on too.
    state.ball_machine = file.ReadInt("ball_machine", 0) == 1 ? 1 : 0;
    // Absent without a programme. Whether the game still is one of the programme is for the
    // programme to say; here only the values are kept in range.
    state.programme_game = std::max(file.ReadInt("programme_game", 0), 0);
    if (state.programme_game > 0) {
        state.programme_game_name = file.ReadStringWhole("programme_game_name", "");
        const int jackpot = file.ReadInt("programme_jackpot", 0);
        state.programme_jackpot =
            jackpot == ProgramState::kJackpotWon || jackpot == ProgramState::kJackpotCarried
                ? jackpot
                : ProgramState::kJackpotOpen;
    }
    return 1;
}

bool IsPlayable(const ProgramState& state, int n) {
    if (n < 1 || state.randomizer_numbers.size() != static_cast<std::size_t>(n))
        return false;
    std::vector<bool> seen(static_cast<std::size_t>(n) + 1, false);
    for (const int number : state.randomizer_numbers) {
        if (number < 1 || number > n || seen[static_cast<std::size_t>(number)])
            return false;
        seen[static_cast<std::size_t>(number)] = true;
    }
    // A game of the programme plays its own stages as rows.
    const bool rowsFit = state.programme_game > 0
                             ? state.max_row >= 1 && state.max_row <= kMostProgrammeStages
                             : state.max_row == GameRules::RowsPerGame(n);
    return state.number_count >= 0 && state.number_count <= n && rowsFit &&
           state.current_row >= 1 && state.current_row <= state.max_row;
}

void NormalizeLoadedState(ProgramState& state) {
    state.auto_speed =
        std::clamp(state.auto_speed, GameRules::kShortestInterval, GameRules::kLongestInterval);
    if (state.auto_new_number < AutoMode::Manual || state.auto_new_number > AutoMode::Running)
        state.auto_new_number = AutoMode::Manual;
    state.number_limit = std::max(state.number_limit, 0);
}

std::optional<std::string> FileAwayCorruptedState() {
    Helpers::EnsureDataFolder();
    return Helpers::SetAsideFile(kFileName);
}

void DeleteStateFile() {
    Helpers::EnsureDataFolder();
    std::error_code ignored;
    std::filesystem::remove(Helpers::GetDataFolder() / kFileName, ignored);
}

} // namespace zorvi::StateFile
