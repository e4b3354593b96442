#pragma once

#include <optional>
#include <string>
#include <vector>

#include "PageCalls.h"
#include "Programme.h"
#include "WinPattern.h"

namespace zorvi {

class ProgramState;

// The evening's programme as the game commands play it: which of its games the running game
// is, the stage's pattern and prize, the lines the game log gets and the prize board the pages
// show. Without a programme every answer is the game of rows it always was.
class ProgrammePlay {
public:
    // The programme as it stands now; the running game keeps the one it began with until
    // Adopt.
    void SetProgramme(std::optional<Programme> programme) { next_ = std::move(programme); }
    // A game begins (or a stored one is read): it is played by the programme as it stands.
    void Adopt() { programme_ = next_; }
    // The games of the programme as it stands, for the step to the next one.
    int NextCount() const { return next_ ? static_cast<int>(next_->games.size()) : 0; }
    // The programme the running game is played by; null without one (or one with no games).
    const Programme* Get() const {
        return programme_ && !programme_->Empty() ? &*programme_ : nullptr;
    }

    // The programme's game that the state plays: at its place, with its name and stage count;
    // null when the state plays no game of this programme.
    const ProgrammeGame* GameOf(const ProgramState& state) const;
    // The game at a place of the programme (from 1), or null.
    const ProgrammeGame* GameAt(int place) const;
    int GameCount() const;

    // What wins now: the stage's pattern, or row k of the number count.
    WinPattern StagePattern(const ProgramState& state, int numberCount) const;

    // The jackpot's amount as text, in the programme's currency.
    std::string JackpotPrize(const JackpotNow& now) const;

    // The lines that open a game of the programme in the log: the game, its jackpot, its first
    // stage.
    std::vector<std::string> GameStartLines(const ProgramState& state,
                                            const std::optional<JackpotNow>& jackpot) const;
    // "Stage 2 of 3, pattern …" of the stage the state plays now.
    std::string StageLine(const ProgramState& state) const;

    // The board of the game as it stands (`between`: its last stage is won); game 0 when the
    // state plays no game of the programme.
    PagePrizeBoard Board(const ProgramState& state, bool between,
                         const std::optional<JackpotNow>& jackpot) const;

    static PagePattern PageFor(const WinPattern& pattern);

private:
    std::optional<Programme> programme_;
    std::optional<Programme> next_;
};

} // namespace zorvi
