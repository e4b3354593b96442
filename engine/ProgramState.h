#pragma once

#include <functional>
#include <string>
#include <vector>

#include "GameRules.h"

namespace zorvi {

class DrawSource;
class Settings;

struct Winner {
    int row = 0;
    int drawn_count = 0;
    int coupon_number = 0;

    friend bool operator==(const Winner&, const Winner&) = default;
};

// The one game of the run. Fields are public as the game commands and the state file
// read and write them; the operations keep the invariants. Every accessor stays inside
// its list even when a state file broke an invariant.
class ProgramState {
public:
    using Saver = std::function<void(const ProgramState&)>;

    explicit ProgramState(DrawSource& source);
    virtual ~ProgramState() = default;

    void AttachSettings(const Settings& settings) { settings_ = &settings; }
    void AttachSaver(Saver saver) { saver_ = std::move(saver); }
    const Settings* GetSettings() const { return settings_; }

    // N, the numbers of this game (75 or 90): the `max_called_numbers` setting at every use,
    // 75 without settings. Not to be confused with `number_count`, the numbers drawn so far.
    int NumbersInGame() const;

    // A new shuffled sequence; it has no commitment until NewCommitment. A game of the programme
    // has `stages` rows to play; 0 gives the rows of the number count.
    void ResetGame(int stages = 0);
    // A fresh nonce that commits the game to its sequence (DrawCommitment.h); saves.
    void NewCommitment();
    void DrawNext();
    // The hall's machine drew `ball`: it becomes the next number of the sequence (taken from
    // where it stood among those not drawn, so the sequence stays an order of 1 to N and the
    // state file keeps its shape). False, and nothing changes, when it is not among them.
    bool EnterBall(int ball);
    void CancelLast();
    void NextRow();
    void PreviousRow();
    int DrawnCount() const { return number_count; }
    int CurrentNumber() const;
    int PreviousNumber() const;
    std::vector<int> DrawnNumbers() const;
    void SetBingoFound(int value);
    bool IsLastRowOrAllDrawn() const;
    void AddWinner(int coupon_number, int row, int drawn_count);

    // The save step: hands the whole state to the attached writer.
    void Save() const;

    // The same game: equal in every field that the state file keeps. Where the public screen
    // was last shown, the settings, the generator and the writer are not part of a game.
    friend bool operator==(const ProgramState& a, const ProgramState& b);

    int number_limit = 0;
    int number_count = 0;
    std::vector<int> randomizer_numbers;
    int current_row = 1;
    int auto_speed = GameRules::kLongestInterval;
    int auto_new_number = AutoMode::Manual;
    int bingo_found = 0;
    int bingo_on_this_row = 0;
    int max_row = GameRules::RowsPerGame(GameRules::kDefaultNumberCount);
    int shown_public_screen = PublicScreenMode::None;
    int rows_left = 1;
    std::vector<Winner> winners;
    // 32 hex digits while the sequence is committed in the game log, else empty.
    std::string commitment_nonce;
    // 1 while the game takes its balls from the hall's machine; 0 for the computer's draw,
    // and once a machine game has been given up (its record sealed).
    int ball_machine = 0;
    // The game of the evening's programme being played, from 1, with its name so that a changed
    // programme is noticed; 0 and empty without a programme. Its stages are the rows.
    int programme_game = 0;
    std::string programme_game_name;
    // That game's jackpot: still open, won, or carried over to the next evening.
    int programme_jackpot = 0;
    static constexpr int kJackpotOpen = 0;
    static constexpr int kJackpotWon = 1;
    static constexpr int kJackpotCarried = 2;

private:
    // number_count held inside 0 to the length of the sequence.
    int DrawnInSequence() const;

    DrawSource* source_;
    const Settings* settings_ = nullptr;
    Saver saver_;
};

} // namespace zorvi
