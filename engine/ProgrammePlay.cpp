#include "ProgrammePlay.h"

#include <algorithm>

#include "LogLines.h"
#include "ProgramState.h"

namespace zorvi {

namespace {

// The board lists this many games to come.
constexpr std::size_t kNextGamesShown = 3;

// The stage the state plays, kept inside the game's stages.
std::size_t StageIndex(const ProgramState& state, const ProgrammeGame& game) {
    const int stage = std::clamp(state.current_row, 1, static_cast<int>(game.stages.size()));
    return static_cast<std::size_t>(stage - 1);
}

// How the log names a pattern: its key, or the grid of a pattern the hall drew.
std::string PatternToken(const WinPattern& pattern) {
    if (pattern.drawn && !pattern.masks.empty())
        return WinPatterns::GridText(pattern.masks.front());
    return pattern.key;
}

PageTexts TextsOf(const PatternNames& names) {
    return PageTexts{names.fi, names.sv, names.en};
}

} // namespace

const ProgrammeGame* ProgrammePlay::GameAt(int place) const {
    const Programme* programme = Get();
    if (programme == nullptr || place < 1 || place > static_cast<int>(programme->games.size()))
        return nullptr;
    return &programme->games[static_cast<std::size_t>(place - 1)];
}

int ProgrammePlay::GameCount() const {
    const Programme* programme = Get();
    return programme == nullptr ? 0 : static_cast<int>(programme->games.size());
}

const ProgrammeGame* ProgrammePlay::GameOf(const ProgramState& state) const {
    const ProgrammeGame* game = GameAt(state.programme_game);
    if (game == nullptr || game->name != state.programme_game_name || game->stages.empty() ||
        static_cast<int>(game->stages.size()) != state.max_row)
        return nullptr;
    return game;
}

WinPattern ProgrammePlay::StagePattern(const ProgramState& state, int numberCount) const {
    if (const ProgrammeGame* game = GameOf(state))
        return game->stages[StageIndex(state, *game)].pattern;
    return WinPatterns::Rows(state.current_row, numberCount);
}

std::string ProgrammePlay::JackpotPrize(const JackpotNow& now) const {
    const Programme* programme = Get();
    return LogLines::Amount(now.prize, programme != nullptr ? programme->currency : "");
}

std::vector<std::string>
ProgrammePlay::GameStartLines(const ProgramState& state,
                              const std::optional<JackpotNow>& jackpot) const {
    const ProgrammeGame* game = GameOf(state);
    if (game == nullptr)
        return {};
    std::vector<std::string> prizes;
    for (const ProgrammeStage& stage : game->stages)
        prizes.push_back(stage.prize);
    std::vector<std::string> lines = {
        LogLines::ProgrammeGame(state.programme_game, GameCount(), game->name, prizes)};
    if (jackpot && game->jackpot.Any()) {
        const bool mustGo = game->jackpot.cap > 0 && jackpot->within >= game->jackpot.cap;
        lines.push_back(LogLines::JackpotNote(jackpot->within, mustGo, JackpotPrize(*jackpot)));
    }
    lines.push_back(StageLine(state));
    return lines;
}

std::string ProgrammePlay::StageLine(const ProgramState& state) const {
    const ProgrammeGame* game = GameOf(state);
    if (game == nullptr)
        return {};
    const std::size_t index = StageIndex(state, *game);
    const ProgrammeStage& stage = game->stages[index];
    return LogLines::Stage(static_cast<int>(index) + 1, static_cast<int>(game->stages.size()),
                           PatternToken(stage.pattern), stage.pattern.names.en, stage.prize);
}

PagePattern ProgrammePlay::PageFor(const WinPattern& pattern) {
    return PagePattern{TextsOf(pattern.names), pattern.squares, pattern.masks};
}

PagePrizeBoard ProgrammePlay::Board(const ProgramState& state, bool between,
                                    const std::optional<JackpotNow>& jackpot) const {
    PagePrizeBoard board;
    const ProgrammeGame* game = GameOf(state);
    if (game == nullptr)
        return board;
    board.game = state.programme_game;
    board.games = GameCount();
    board.name = game->name;
    board.numberCount = game->numberCount;
    board.between = between;
    const std::size_t index = StageIndex(state, *game);
    board.stage = static_cast<int>(index) + 1;
    board.stages = static_cast<int>(game->stages.size());
    board.pattern = PageFor(game->stages[index].pattern);
    board.prize = game->stages[index].prize;
    if (jackpot && game->jackpot.Any() && state.programme_jackpot == ProgramState::kJackpotOpen) {
        board.jackpotWithin = jackpot->within;
        board.jackpotPrize = JackpotPrize(*jackpot);
    }
    board.called = state.number_count;
    if (between) {
        for (int place = state.programme_game + 1;
             place <= GameCount() && board.next.size() < kNextGamesShown; ++place) {
            const ProgrammeGame& next = *GameAt(place);
            PageNextGame listed;
            listed.number = place;
            listed.name = next.name;
            for (const ProgrammeStage& stage : next.stages)
                listed.stages.push_back(TextsOf(stage.pattern.names));
            if (!next.stages.empty())
                listed.prize = next.stages.back().prize;
            board.next.push_back(std::move(listed));
        }
    }
    return board;
}

} // namespace zorvi
