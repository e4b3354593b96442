#include "ProgramState.h"

#include <algorithm>
#include <tuple>

#include "DrawCommitment.h"
#include "DrawSource.h"
#include "Helpers.h"
#include "Settings.h"

namespace zorvi {

ProgramState::ProgramState(DrawSource& source) : source_(&source) {}

int ProgramState::NumbersInGame() const {
    if (settings_ == nullptr)
        return GameRules::kDefaultNumberCount;
    return std::max(0, settings_->max_called_numbers);
}

int ProgramState::DrawnInSequence() const {
    // A state file may hold any count; never index outside the sequence.
    const auto size = static_cast<long long>(randomizer_numbers.size());
    return static_cast<int>(std::clamp<long long>(number_count, 0, size));
}

void ProgramState::ResetGame(int stages) {
    const int n = NumbersInGame();
    randomizer_numbers = Helpers::ShuffledSequence(*source_, n);
    commitment_nonce.clear();
    number_count = 0;
    current_row = 1;
    bingo_found = 0;
    bingo_on_this_row = 0;
    rows_left = 1;
    max_row = stages > 0 ? stages : GameRules::RowsPerGame(n);
    programme_jackpot = kJackpotOpen;
    Save();
}

void ProgramState::NewCommitment() {
    commitment_nonce = DrawCommitment::NewNonce(*source_);
    Save();
}

void ProgramState::DrawNext() {
    // Also stop at the end of the sequence, which a state file may have left short.
    if (number_count >= NumbersInGame() ||
        static_cast<long long>(number_count) >= static_cast<long long>(randomizer_numbers.size()))
        return;
    ++number_count;
    Save();
}

bool ProgramState::EnterBall(int ball) {
    if (number_count < 0 || number_count >= NumbersInGame() ||
        static_cast<std::size_t>(number_count) >= randomizer_numbers.size())
        return false;
    const auto from = randomizer_numbers.begin() + number_count;
    const auto at = std::find(from, randomizer_numbers.end(), ball);
    if (at == randomizer_numbers.end())
        return false;
    std::iter_swap(from, at);
    ++number_count;
    Save();
    return true;
}

void ProgramState::CancelLast() {
    if (number_count <= 0)
        return;
    --number_count;
    Save();
}

void ProgramState::NextRow() {
    if (current_row >= max_row)
        return;
    ++current_row;
    Save();
}

void ProgramState::PreviousRow() {
    if (current_row <= 1)
        return;
    --current_row;
    Save();
}

int ProgramState::CurrentNumber() const {
    const int drawn = DrawnInSequence();
    return drawn >= 1 ? randomizer_numbers[static_cast<std::size_t>(drawn - 1)] : -1;
}

int ProgramState::PreviousNumber() const {
    const int drawn = DrawnInSequence();
    return drawn >= 2 ? randomizer_numbers[static_cast<std::size_t>(drawn - 2)] : -1;
}

std::vector<int> ProgramState::DrawnNumbers() const {
    const auto drawn = static_cast<std::ptrdiff_t>(DrawnInSequence());
    return std::vector<int>(randomizer_numbers.begin(), randomizer_numbers.begin() + drawn);
}

void ProgramState::SetBingoFound(int value) {
    bingo_found = value;
    if (value == 1 && IsLastRowOrAllDrawn())
        rows_left = 0;
    Save();
}

bool ProgramState::IsLastRowOrAllDrawn() const {
    return current_row >= max_row || number_count >= NumbersInGame();
}

void ProgramState::AddWinner(int coupon_number, int row, int drawn_count) {
    const Winner winner{row, drawn_count, coupon_number};
    if (std::find(winners.begin(), winners.end(), winner) != winners.end())
        return;
    winners.push_back(winner);
}

bool operator==(const ProgramState& a, const ProgramState& b) {
    const auto game = [](const ProgramState& s) {
        return std::tie(s.number_limit, s.number_count, s.randomizer_numbers, s.current_row,
                        s.auto_speed, s.auto_new_number, s.bingo_found, s.bingo_on_this_row,
                        s.max_row, s.rows_left, s.winners, s.commitment_nonce, s.ball_machine,
                        s.programme_game, s.programme_game_name, s.programme_jackpot);
    };
    return game(a) == game(b);
}

void ProgramState::Save() const {
    if (saver_)
        saver_(*this);
}

} // namespace zorvi
