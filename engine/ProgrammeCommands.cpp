// The evening's programme in the game: each game's place, number count and stages, its board
// on every screen, its lines in the log, and the jackpot that its full card may win.

#include <string>

#include "ControlIds.h"
#include "Folders.h"
#include "GameCommands.h"
#include "JackpotBook.h"
#include "LogLines.h"
#include "LogSink.h"
#include "PageCalls.h"
#include "ProgramState.h"
#include "Settings.h"
#include "WindowRequests.h"

namespace zorvi {

void GameCommands::SetProgramme(std::optional<zorvi::Programme> programme) {
    programme_.SetProgramme(std::move(programme));
}

bool GameCommands::HasNextGame() const {
    const int played = programme_.GameOf(state_) != nullptr ? state_.programme_game : 0;
    return played < programme_.NextCount();
}

void GameCommands::NextGameCommand() {
    const CommandScope command(running_);
    if (!command.entered())
        return;
    if (!HasNextGame())
        return;
    StopAutomatic();
    if (!window_.AskConfirmation(TextId::TXT_CONFIRM_NEXT_GAME)) {
        FocusEntry();
        return;
    }
    const bool ofTheProgramme = programme_.GameOf(state_) != nullptr;
    // A jackpot that nobody won goes on to the next evening.
    if (ofTheProgramme)
        SettleJackpot(0);
    state_.programme_game = ofTheProgramme ? state_.programme_game + 1 : 1;
    AskNumberLimit();
    BeginNewGame();
}

int GameCommands::PrepareProgrammeGame() {
    programme_.Adopt();
    const ProgrammeGame* game = programme_.GameAt(state_.programme_game);
    if (game == nullptr && programme_.GameCount() > 0) {
        state_.programme_game = 1;
        game = programme_.GameAt(1);
    }
    if (game == nullptr) {
        state_.programme_game = 0;
        state_.programme_game_name.clear();
        return 0;
    }
    state_.programme_game_name = game->name;
    const int before = settings_.max_called_numbers;
    if (game->numberCount != before && window_.SwitchNumberCount(game->numberCount)) {
        log_.WriteLog(LogLines::SettingChanged("number count", std::to_string(before),
                                               std::to_string(settings_.max_called_numbers)));
        log_.WriteLog(std::string(LogLines::kReadCouponsAfterChange));
        window_.ReadCouponSeries(settings_.max_called_numbers, settings_.coupon_series);
    }
    return static_cast<int>(game->stages.size());
}

bool GameCommands::GameOver() const {
    return state_.rows_left == 0;
}

std::optional<JackpotNow> GameCommands::JackpotOfGame() const {
    const ProgrammeGame* game = programme_.GameOf(state_);
    if (game == nullptr || !game->jackpot.Any() || jackpots_ == nullptr)
        return std::nullopt;
    return jackpots_->Current(*game);
}

void GameCommands::ShowPrizeBoard() {
    const PagePrizeBoard board = programme_.Board(state_, GameOver(), JackpotOfGame());
    // Without a programme the pages hear nothing new, as before; a board once shown is taken
    // down.
    if (board.game == 0 && !boardShown_)
        return;
    boardShown_ = board.game != 0;
    pages_.PageShowPrizeBoard(board);
    window_.ShowProgrammeStage(board);
}

void GameCommands::SettleJackpot(int couponNumber) {
    const ProgrammeGame* game = programme_.GameOf(state_);
    if (game == nullptr || !game->jackpot.Any() || jackpots_ == nullptr ||
        state_.programme_jackpot != ProgramState::kJackpotOpen)
        return;
    const JackpotNow now = jackpots_->Current(*game);
    if (couponNumber > 0 && JackpotWins(game->jackpot, now, state_.number_count)) {
        log_.WriteLog(
            LogLines::JackpotWon(couponNumber, state_.number_count, programme_.JackpotPrize(now)));
        jackpots_->Won(*game);
        state_.programme_jackpot = ProgramState::kJackpotWon;
    } else {
        jackpots_->Carry(*game);
        const JackpotNow next = jackpots_->Current(*game);
        log_.WriteLog(LogLines::JackpotCarried(next.within, programme_.JackpotPrize(next)));
        state_.programme_jackpot = ProgramState::kJackpotCarried;
    }
    // Kept before the game's state: a crash in between carries a jackpot at worst twice, never
    // loses a win.
    jackpots_->Save(Helpers::GetDataFolder());
    state_.Save();
}

} // namespace zorvi
