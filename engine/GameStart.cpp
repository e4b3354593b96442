// The decisions of the operator window's start-up and of its settings step: whether a stored
// game goes on, and what a changed setting redoes.

#include <string>

#include "ControlIds.h"
#include "CouponsInPlay.h"
#include "DrawCommitment.h"
#include "GameCommands.h"
#include "GameRules.h"
#include "LogLines.h"
#include "LogSink.h"
#include "PageCalls.h"
#include "ProgramState.h"
#include "Settings.h"
#include "SettingsChange.h"
#include "StateFile.h"
#include "WindowRequests.h"

namespace zorvi {

int GameCommands::LoadStoredGame() {
    if (running_)
        return loaded_;
    // Held until ResumeOrStart has begun the game: nothing runs against a game half set up.
    running_ = true;
    state_.shown_public_screen = settings_.public_screen;
    int loaded = StateFile::LoadState(state_);
    // A stored game that this number count cannot play is as good as a corrupted file.
    if (loaded == StateLoad::Loaded && !StateFile::IsPlayable(state_, settings_.max_called_numbers))
        loaded = StateLoad::Corrupted;
    // So is a game of a programme that no longer has it: its stages are not known.
    programme_.Adopt();
    if (loaded == StateLoad::Loaded && state_.programme_game > 0 &&
        programme_.GameOf(state_) == nullptr)
        loaded = StateLoad::Corrupted;

    if (loaded == StateLoad::Loaded) {
        StateFile::NormalizeLoadedState(state_);
        if (!window_.AskConfirmation(TextId::TXT_LOAD_PREVIOUS_STATE))
            loaded = StateLoad::NoFile;
    } else if (loaded == StateLoad::Corrupted) {
        // A file read and judged corrupted is moved aside, and the fresh game is saved to a
        // clean file before the operator is told; one that could not be read at all (or not
        // be moved) stays where it is and is never overwritten.
        const bool filed = StateFile::FileAwayCorruptedState().has_value();
        if (!filed)
            window_.ShowMessage("Corrupted state left in place, resetting");
        // A stored game that cannot be played is still revealed when it was committed.
        DiscardSequence();
        state_.ResetGame();
        if (filed)
            window_.ShowMessage("Corrupted state filed, resetting");
    }

    if (loaded != StateLoad::Loaded) {
        // What a declined or broken file held must not steer the fresh game: its automatic
        // mode would run behind controls that show manual drawing, its limit would be reported
        // with no limit shown. The interval slider hands the start interval back once shown.
        state_.auto_new_number = AutoMode::Manual;
        state_.number_limit = 0;
        state_.auto_speed = GameRules::kStartInterval;
        // A fresh start is a fresh evening: the programme begins at its first game.
        state_.programme_game = 0;
        state_.programme_game_name.clear();
    }
    if (loaded == StateLoad::NoFile)
        state_.SetBingoFound(0);
    loaded_ = loaded;
    return loaded;
}

void GameCommands::ResumeOrStart() {
    // Ends the start-up that LoadStoredGame began.
    struct StartUpEnds {
        bool& running;
        ~StartUpEnds() { running = false; }
    } ends{running_};
    if (loaded_ == StateLoad::Loaded) {
        // The limit of the game that goes on is in force: the display shows it, not a 0.
        window_.SetControlText(Control::NumberLimit, std::to_string(state_.number_limit));
        ContinueStoredGame();
    } else {
        ShowAutomaticCaptions();
        BeginNewGame();
    }
}

void GameCommands::ApplySettingsChange(const SettingsChange& change) {
    const CommandScope command(running_);
    if (!command.entered())
        return;
    const int n = settings_.max_called_numbers;
    for (const std::string& note : change.log_notes)
        log_.WriteLog(note);
    if (change.language_changed) {
        window_.RelabelWindow();
        window_.SelectPageFolder();
    }
    if (change.reread_coupons) {
        log_.WriteLog(std::string(LogLines::kReadCouponsAfterChange));
        window_.ReadCouponSeries(n, settings_.coupon_series);
        window_.ClearCouponPanel();
    }
    if (change.restart_game) {
        // Reset at once, on purpose, although BeginNewGame below resets again: the public
        // screen's wait that comes first dispatches messages, and the game must already match
        // the new number count then.
        DiscardSequence();
        state_.ResetGame();
        window_.ClearCouponPanel();
        window_.RebuildNumberBoard(n);
    }
    if (change.public_screen_changed || change.language_changed) {
        state_.shown_public_screen = settings_.public_screen;
        window_.OpenPublicScreen(change.language_changed);
        if (change.language_changed) {
            pages_.PageReset(n, DrawCommitment::PageText(state_));
            // The page loaded anew knows nothing of the game that goes on.
            if (!change.restart_game)
                UpdatePages();
        }
    }
    window_.SetBackgroundVoice(settings_.enable_background_voice != 0);
    if (change.restart_game)
        BeginNewGame(); // which asks for winning now itself
    // After the restart, so that the record reads it as part of the game that is played with
    // these coupons.
    if (change.coupons_in_play_changed)
        log_.WriteLog(LogLines::CouponsInPlayNote(settings_.coupons_in_play));
    if (!change.restart_game)
        winning_.Ask(false);
}

} // namespace zorvi
