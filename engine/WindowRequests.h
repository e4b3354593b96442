#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "Language.h"
#include "PageCalls.h"

namespace zorvi {

class BingoCoupon;

// Everything the game commands and the coupon check ask of the operator window. The commands
// touch no widget, timer, sound or file themselves; the operator window carries each request
// out, and tests record them. The pages and the game log are not the window's: the commands
// tell them directly. The window is told, never asked about the game: what
// the engine needs to know (the draw lock, the automatic mode) it keeps itself.
class WindowRequests {
public:
    virtual ~WindowRequests() = default;

    // Controls, by identifier (ControlIds.h).
    virtual void EnableControl(int id, bool enable) = 0;
    virtual void ShowControl(int id, bool show) = 0;
    // A text that is the same in every language (numbers, "-", the winners list).
    virtual void SetControlText(int id, const std::string& text) = 0;
    // A text of the language table: the window shows it in the current language, and again
    // in the new one when the language changes.
    virtual void SetControlCaption(int id, TextId text) = 0;
    virtual void SetAutomaticCheck(bool checked) = 0;
    virtual void SetSliderPosition(int id, int position) = 0;
    virtual void ScrollWinnersToEnd() = 0;
    // Let the window show the current values of its bound fields.
    virtual void ShowBoundFields() = 0;
    // Reads the coupon number field: the number typed, or nothing when the window
    // refused the text (it has shown its validation message).
    virtual std::optional<long long> ReadCouponNumber() = 0;
    virtual void FocusCouponField() = 0;
    virtual void ForgetHeldKeys() = 0;

    // Balls from the hall's ball machine. The window shows which source the game uses (the
    // ball field and its label for the machine; the Draw buttons and automatic drawing for the
    // computer's draw).
    virtual void ShowBallSource(bool machine) { (void)machine; }
    // Reads the ball field and empties it, ready for the next ball: the number typed, or
    // nothing when it holds none.
    virtual std::optional<long long> ReadBallNumber() { return std::nullopt; }
    virtual void FocusBallField() {}
    // "Enter ball %1 as drawn?" for a click on the board; true only for Yes.
    virtual bool AskBallConfirmation(int ball) {
        (void)ball;
        return AskConfirmation(TextId::TXT_CONFIRM_ENTER_BALL);
    }
    // An entry refused, told beside the ball field in the operator's language (the text's %1 is
    // the entry, %2 the highest ball of the game); nothing else changes. `reason` none clears
    // the last one.
    virtual void ShowBallRefused(std::optional<TextId> reason, long long entered, int highest) {
        (void)reason;
        (void)entered;
        (void)highest;
    }

    // Timers (Timer::Automatic, Timer::DrawLock), period in milliseconds.
    virtual void StartTimer(int id, int periodMs) = 0;
    virtual void StopTimer(int id) = 0;

    // The number board and the coupon panel.
    virtual void ClearCouponPanel() = 0;
    virtual void ShowCoupon(const BingoCoupon& coupon) = 0;
    // Tells the operator, on the coupon panel, that the coupon checked is not in the series
    // of `couponCount` coupons. The players see a plain miss.
    virtual void ShowCouponNotInSeries(int couponNumber, int couponCount) = 0;
    virtual void RepaintBoard() = 0;
    virtual void RepaintCouponPanel() = 0;
    virtual void RedrawAll() = 0;
    // Rebuild the board for n numbers and place the coupon-number display under the panel.
    virtual void RebuildNumberBoard(int n) = 0;

    // Prompts. AskConfirmation is true only for Yes.
    virtual bool AskConfirmation(TextId question) = 0;
    // A message box with one OK button and a fixed English text.
    virtual void ShowMessage(const std::string& text) = 0;
    virtual void OkDlg(TextId message) = 0;
    // The limit entered with OK, or nothing when the prompt was skipped or closed.
    virtual std::optional<int> NumberLimitDlg(int initialLimit) = 0;

    // Voice.
    virtual void SayNumber(int number) = 0;
    virtual void SayNumberLimit() = 0;
    virtual void SayCorrect() = 0;

    // Public screen window and its draw button.
    virtual void ShowPublicScreen() = 0;
    virtual void EnablePublicDrawButton(bool enable) = 0;
    virtual void SetPublicDrawCaption(TextId caption) = 0;

    // The window's own steps that the start-up and a settings change ask for: every text
    // again in the current language; the page folder of that language; the coupon series of
    // this number count and series (a failure is told by the series itself); the public screen
    // placed by `shown_public_screen`, its page loaded anew when asked; the background sound.
    virtual void RelabelWindow() = 0;
    virtual void SelectPageFolder() = 0;
    virtual void ReadCouponSeries(int numberCount, int couponSeries) = 0;
    virtual void OpenPublicScreen(bool reload) = 0;
    virtual void SetBackgroundVoice(bool on) = 0;

    // Winning now, for the operator only: how many coupons in play hold a bingo and the lowest
    // few of them; a count of 0 shows nothing.
    virtual void ShowWinningNow(int count, const std::vector<int>& first) {
        (void)count;
        (void)first;
    }
    // The evening's programme: the game and stage now played, for the operator (game 0: no
    // programme).
    virtual void ShowProgrammeStage(const PagePrizeBoard& board) { (void)board; }
    // A game of the programme is played with another number count: the window makes it the
    // setting (saved, as the operator's own change would be). False when it could not.
    virtual bool SwitchNumberCount(int numberCount) {
        (void)numberCount;
        return false;
    }

    // Called on the winning-now scan's thread: the window runs `task` once on its own thread,
    // in posting order. A window without threads of its own runs it at once.
    virtual void PostToWindowThread(std::function<void()> task) { task(); }
};

} // namespace zorvi
