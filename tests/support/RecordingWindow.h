#pragma once

#include <deque>
#include <functional>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "LogWriter.h"
#include "PageCalls.h"
#include "WindowRequests.h"

namespace zorvi::test {

// A WindowRequests, the pages and the game log in one, that carries nothing out: it records
// every request, page call and log line as a readable event, in order, keeps the enabled state of
// controls and the running timers, and answers the prompts from a script.
//
// Events: "enable Draw=0", "show AutomaticPanel=1", "text CurrentRow=2", "check=1", "slider
// IntervalSlider=5", "scrollWinners", "showBoundFields", "readCoupon", "focusCoupon", "forgetKeys",
// "timer Automatic start 500", "timer Automatic stop", "clearCouponPanel", "showCoupon 1,2,...",
// "repaintBoard", "repaintCouponPanel", "redrawAll", "rebuildBoard 75",
// "ask <English text>", "message <text>", "ok <English text>", "numberLimitDlg 10", "say 17",
// "sayNumberLimit", "sayCorrect", "log <line>", "public show", "public enable=0",
// "public caption=<text>", "relabelWindow", "selectPageFolder", "readCoupons 75,0",
// "public open reload=1", "backgroundVoice=1", "page reset 75",
// "page updateMainScreen 17,1,1", "page showTicket <numbers>|<marks>|1|7",
// "page showSeal 1a2b3c4d5e6f7a8b", "winningNow 3: 17,342,981" (and "winningNow 0:" for a
// cleared line).
class RecordingWindow : public WindowRequests, public GamePages, public LogSink {
public:
    void EnableControl(int id, bool enable) override;
    void ShowControl(int id, bool show) override;
    void SetControlText(int id, const std::string& text) override;
    void SetControlCaption(int id, TextId text) override;
    void SetAutomaticCheck(bool checked) override;
    void SetSliderPosition(int id, int position) override;
    void ScrollWinnersToEnd() override;
    void ShowBoundFields() override;
    std::optional<long long> ReadCouponNumber() override;
    void FocusCouponField() override;
    // "ballSource machine" / "ballSource computer", "readBall", "focusBall",
    // "ballRefused <English text>" ("ballRefused -" when cleared), "ask <English text>".
    void ShowBallSource(bool machine) override;
    std::optional<long long> ReadBallNumber() override;
    void FocusBallField() override;
    void ShowBallRefused(std::optional<TextId> reason, long long entered, int highest) override;
    bool AskBallConfirmation(int ball) override;
    void ForgetHeldKeys() override;
    void StartTimer(int id, int periodMs) override;
    void StopTimer(int id) override;
    void ClearCouponPanel() override;
    void ShowCoupon(const BingoCoupon& coupon) override;
    void ShowCouponNotInSeries(int couponNumber, int couponCount) override;
    void RepaintBoard() override;
    void RepaintCouponPanel() override;
    void RedrawAll() override;
    void RebuildNumberBoard(int n) override;
    bool AskConfirmation(TextId question) override;
    void ShowMessage(const std::string& text) override;
    void OkDlg(TextId message) override;
    std::optional<int> NumberLimitDlg(int initialLimit) override;
    void SayNumber(int number) override;
    void SayNumberLimit() override;
    void SayCorrect() override;
    void WriteLog(const std::string& line) override;
    // The real log's seal when one is attached, else none (and so no seal for the pages).
    std::string SealGame() override;
    void ShowPublicScreen() override;
    void EnablePublicDrawButton(bool enable) override;
    void SetPublicDrawCaption(TextId caption) override;
    void RelabelWindow() override;
    void SelectPageFolder() override;
    void ReadCouponSeries(int numberCount, int couponSeries) override;
    void OpenPublicScreen(bool reload) override;
    void SetBackgroundVoice(bool on) override;
    void PageReset(int numberCount, const std::string& commitment) override;
    void PageUpdateMainScreen(int currentNumber, int count, int row,
                              const std::vector<int>& drawn) override;
    void PageShowTicket(const PageTicket& ticket) override;
    void PageShowSeal(const std::string& seal) override;
    void PageShowRecall(int ball) override;
    void PageShowPrizeBoard(const PagePrizeBoard& board) override;
    void ShowProgrammeStage(const PagePrizeBoard& board) override;
    bool SwitchNumberCount(int numberCount) override;
    void ShowWinningNow(int count, const std::vector<int>& first) override;

    // The recorded events; Take() returns them and starts a new record.
    const std::vector<std::string>& events() const { return events_; }
    std::vector<std::string> Take();
    void Clear() { events_.clear(); }
    bool Has(const std::string& event) const;
    int Count(const std::string& event) const;
    // Position of the first event equal to `event`, or -1.
    int IndexOf(const std::string& event) const;
    // Events that start with `prefix`, in order.
    std::vector<std::string> Matching(const std::string& prefix) const;

    // Whether a control was last enabled (controls start enabled).
    bool IsControlEnabled(int id) const;
    // The last text set on a control, or nothing; a caption in English.
    std::optional<std::string> Text(int id) const;
    bool PublicDrawEnabled() const { return publicDrawEnabled_; }
    // Period of a running timer, or nothing when it is stopped.
    std::optional<int> TimerPeriod(int id) const;

    // Script: answers of AskConfirmation in order (Yes when the queue is empty), the answer
    // of NumberLimitDlg, the value of the coupon number field, and a hook that runs while
    // the number-limit message is open (as a modal loop would deliver timer ticks).
    std::deque<bool> confirmations;
    std::optional<int> numberLimitAnswer;
    // Nothing: the window refuses the field.
    std::optional<long long> couponNumber = 1;
    // What the ball field holds; read once, then empty.
    std::optional<long long> ballNumber;
    // The last prize board the pages were sent.
    PagePrizeBoard lastPrizeBoard;
    std::function<void()> whileOkDlgOpen;
    // Carries out a switch of the number count (the test's settings); none refuses it.
    std::function<bool(int)> switchNumberCount;
    // Runs once, inside the next updateMainScreen page call, as the page call's own message
    // loop would deliver ticks, keys and clicks to a slow page.
    std::function<void()> duringNextPageUpdate;
    // When set, log lines also go to this real game log.
    LogWriter* logWriter = nullptr;
    // The commitment digits of the last page reset.
    std::string pageCommitment;

private:
    void Record(std::string event) { events_.push_back(std::move(event)); }

    std::vector<std::string> events_;
    std::set<int> disabled_;
    std::map<int, std::string> texts_;
    std::map<int, int> timers_;
    bool publicDrawEnabled_ = true;
};

} // namespace zorvi::test
