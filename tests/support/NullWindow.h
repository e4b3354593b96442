#pragma once

#include <optional>
#include <random>

#include "LogSink.h"
#include "PageCalls.h"
#include "WindowRequests.h"

namespace zorvi::test {

// A window that carries out nothing and answers every question with Yes: the driver plays
// the engine alone, as fast as it can.
class NullWindow : public WindowRequests, public GamePages, public LogSink {
public:
    void EnableControl(int, bool) override {}
    void ShowControl(int, bool) override {}
    void SetControlText(int, const std::string&) override {}
    void SetControlCaption(int, TextId) override {}
    void SetAutomaticCheck(bool) override {}
    void SetSliderPosition(int, int) override {}
    void ScrollWinnersToEnd() override {}
    void ShowBoundFields() override {}
    std::optional<long long> ReadCouponNumber() override { return coupon_number; }
    void FocusCouponField() override {}
    void ForgetHeldKeys() override {}
    void StartTimer(int, int) override {}
    void StopTimer(int) override {}
    void ClearCouponPanel() override {}
    void ShowCoupon(const BingoCoupon&) override {}
    void ShowCouponNotInSeries(int, int) override {}
    void RepaintBoard() override {}
    void RepaintCouponPanel() override {}
    void RedrawAll() override {}
    void RebuildNumberBoard(int) override {}
    bool AskConfirmation(TextId) override { return true; }
    void ShowMessage(const std::string&) override {}
    void RelabelWindow() override {}
    void SelectPageFolder() override {}
    void ReadCouponSeries(int, int) override {}
    void OpenPublicScreen(bool) override {}
    void SetBackgroundVoice(bool) override {}
    void OkDlg(TextId) override {}
    std::optional<int> NumberLimitDlg(int) override { return 0; }
    void SayNumber(int) override {}
    void SayNumberLimit() override {}
    void SayCorrect() override {}
    void WriteLog(const std::string&) override {}
    void ShowPublicScreen() override {}
    void EnablePublicDrawButton(bool) override {}
    void SetPublicDrawCaption(TextId) override {}
    void PageReset(int, const std::string&) override {}
    void PageUpdateMainScreen(int, int, int, const std::vector<int>&) override {}
    void PageShowTicket(const PageTicket&) override {}
    void PageShowSeal(const std::string&) override {}
    void PageShowRecall(int) override {}
    void PageShowPrizeBoard(const PagePrizeBoard&) override {}

    long long coupon_number = 1;
};

} // namespace zorvi::test
