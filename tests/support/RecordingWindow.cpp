#include "RecordingWindow.h"

#include <algorithm>

#include "BingoCoupon.h"
#include "ControlIds.h"

namespace zorvi::test {

namespace {

std::string English(TextId id) {
    return Language::GetText(id, 2);
}

std::string Flag(bool value) {
    return value ? "1" : "0";
}

} // namespace

void RecordingWindow::EnableControl(int id, bool enable) {
    if (enable)
        disabled_.erase(id);
    else
        disabled_.insert(id);
    Record("enable " + ControlName(id) + "=" + Flag(enable));
}

bool RecordingWindow::IsControlEnabled(int id) const {
    return !disabled_.contains(id);
}

void RecordingWindow::ShowControl(int id, bool show) {
    Record("show " + ControlName(id) + "=" + Flag(show));
}

void RecordingWindow::SetControlText(int id, const std::string& text) {
    texts_[id] = text;
    Record("text " + ControlName(id) + "=" + text);
}

void RecordingWindow::SetControlCaption(int id, TextId text) {
    SetControlText(id, English(text));
}

void RecordingWindow::SetAutomaticCheck(bool checked) {
    Record("check=" + Flag(checked));
}

void RecordingWindow::SetSliderPosition(int id, int position) {
    Record("slider " + ControlName(id) + "=" + std::to_string(position));
}

void RecordingWindow::ScrollWinnersToEnd() {
    Record("scrollWinners");
}
void RecordingWindow::ShowBoundFields() {
    Record("showBoundFields");
}

std::optional<long long> RecordingWindow::ReadCouponNumber() {
    Record("readCoupon");
    return couponNumber;
}

void RecordingWindow::FocusCouponField() {
    Record("focusCoupon");
}
void RecordingWindow::ForgetHeldKeys() {
    Record("forgetKeys");
}

void RecordingWindow::StartTimer(int id, int periodMs) {
    timers_[id] = periodMs;
    Record("timer " + TimerName(id) + " start " + std::to_string(periodMs));
}

void RecordingWindow::StopTimer(int id) {
    timers_.erase(id);
    Record("timer " + TimerName(id) + " stop");
}

void RecordingWindow::ShowCouponNotInSeries(int couponNumber, int couponCount) {
    Record("notInSeries " + std::to_string(couponNumber) + " of " + std::to_string(couponCount));
}

void RecordingWindow::ClearCouponPanel() {
    Record("clearCouponPanel");
}

void RecordingWindow::ShowCoupon(const BingoCoupon& coupon) {
    std::string text;
    for (std::uint32_t i = 0; i < coupon.size(); ++i) {
        if (i > 0)
            text += ',';
        text += std::to_string(coupon.Number(i));
    }
    Record("showCoupon " + text);
}

void RecordingWindow::RepaintBoard() {
    Record("repaintBoard");
}
void RecordingWindow::RepaintCouponPanel() {
    Record("repaintCouponPanel");
}
void RecordingWindow::RedrawAll() {
    Record("redrawAll");
}
void RecordingWindow::RebuildNumberBoard(int n) {
    Record("rebuildBoard " + std::to_string(n));
}

void RecordingWindow::ShowBallSource(bool machine) {
    Record(std::string("ballSource ") + (machine ? "machine" : "computer"));
}

std::optional<long long> RecordingWindow::ReadBallNumber() {
    Record("readBall");
    const std::optional<long long> ball = ballNumber;
    ballNumber.reset();
    return ball;
}

void RecordingWindow::FocusBallField() {
    Record("focusBall");
}

namespace {

std::string Filled(std::string text, const std::string& first, const std::string& second) {
    for (const auto& [mark, value] : {std::pair{std::string("%1"), first}, {"%2", second}}) {
        const std::size_t at = text.find(mark);
        if (at != std::string::npos)
            text.replace(at, 2, value);
    }
    return text;
}

} // namespace

void RecordingWindow::ShowBallRefused(std::optional<TextId> reason, long long entered,
                                      int highest) {
    Record("ballRefused " +
           (reason ? Filled(English(*reason), std::to_string(entered), std::to_string(highest))
                   : std::string("-")));
}

bool RecordingWindow::AskBallConfirmation(int ball) {
    Record("ask " + Filled(English(TextId::TXT_CONFIRM_ENTER_BALL), std::to_string(ball), ""));
    if (confirmations.empty())
        return true;
    const bool answer = confirmations.front();
    confirmations.pop_front();
    return answer;
}

bool RecordingWindow::AskConfirmation(TextId question) {
    Record("ask " + English(question));
    if (confirmations.empty())
        return true;
    const bool answer = confirmations.front();
    confirmations.pop_front();
    return answer;
}

void RecordingWindow::ShowMessage(const std::string& text) {
    Record("message " + text);
}

void RecordingWindow::OkDlg(TextId message) {
    Record("ok " + English(message));
    if (whileOkDlgOpen)
        whileOkDlgOpen();
}

std::optional<int> RecordingWindow::NumberLimitDlg(int initialLimit) {
    Record("numberLimitDlg " + std::to_string(initialLimit));
    return numberLimitAnswer;
}

void RecordingWindow::SayNumber(int number) {
    Record("say " + std::to_string(number));
}
void RecordingWindow::SayNumberLimit() {
    Record("sayNumberLimit");
}
void RecordingWindow::SayCorrect() {
    Record("sayCorrect");
}
std::string RecordingWindow::SealGame() {
    return logWriter != nullptr ? logWriter->SealGame() : std::string();
}

void RecordingWindow::WriteLog(const std::string& line) {
    if (logWriter != nullptr)
        logWriter->WriteLog(line);
    Record("log " + line);
}
void RecordingWindow::ShowPublicScreen() {
    Record("public show");
}

void RecordingWindow::EnablePublicDrawButton(bool enable) {
    publicDrawEnabled_ = enable;
    Record("public enable=" + Flag(enable));
}

void RecordingWindow::SetPublicDrawCaption(TextId caption) {
    Record("public caption=" + English(caption));
}

void RecordingWindow::RelabelWindow() {
    Record("relabelWindow");
}
void RecordingWindow::SelectPageFolder() {
    Record("selectPageFolder");
}
void RecordingWindow::ReadCouponSeries(int numberCount, int couponSeries) {
    Record("readCoupons " + std::to_string(numberCount) + "," + std::to_string(couponSeries));
}
void RecordingWindow::OpenPublicScreen(bool reload) {
    Record(std::string("public open reload=") + Flag(reload));
}
void RecordingWindow::SetBackgroundVoice(bool on) {
    Record(std::string("backgroundVoice=") + Flag(on));
}

void RecordingWindow::PageReset(int numberCount, const std::string& commitment) {
    pageCommitment = commitment;
    Record("page reset " + std::to_string(numberCount));
}

void RecordingWindow::PageUpdateMainScreen(int currentNumber, int count, int row,
                                           const std::vector<int>&) {
    Record("page updateMainScreen " + std::to_string(currentNumber) + "," + std::to_string(count) +
           "," + std::to_string(row));
    if (duringNextPageUpdate) {
        const auto hook = std::move(duringNextPageUpdate);
        duringNextPageUpdate = nullptr;
        hook();
    }
}

void RecordingWindow::PageShowTicket(const PageTicket& ticket) {
    Record("page showTicket " + ticket.numbers + "|" + ticket.marks + "|" + Flag(ticket.winner) +
           "|" + std::to_string(ticket.couponNumber));
}

void RecordingWindow::PageShowSeal(const std::string& seal) {
    Record("page showSeal " + seal);
}

void RecordingWindow::PageShowRecall(int ball) {
    Record("page showRecall " + std::to_string(ball));
}

void RecordingWindow::PageShowPrizeBoard(const PagePrizeBoard& board) {
    // "page showPrizeBoard 2/5 stage 1/2 Four corners: 20 €", "… 2/5 between", "… none".
    if (board.game == 0) {
        Record("page showPrizeBoard none");
        return;
    }
    std::string text =
        "page showPrizeBoard " + std::to_string(board.game) + "/" + std::to_string(board.games);
    if (board.between)
        text += " between";
    else
        text += " stage " + std::to_string(board.stage) + "/" + std::to_string(board.stages) + " " +
                board.pattern.name.en + ": " + board.prize;
    if (board.jackpotWithin > 0)
        text += " jackpot " + std::to_string(board.jackpotWithin) + " " + board.jackpotPrize +
                " called " + std::to_string(board.called);
    lastPrizeBoard = board;
    Record(text);
}

void RecordingWindow::ShowProgrammeStage(const PagePrizeBoard& board) {
    Record("programmeStage " + std::to_string(board.game) + "/" + std::to_string(board.stage));
}

bool RecordingWindow::SwitchNumberCount(int numberCount) {
    Record("switchNumbers " + std::to_string(numberCount));
    return switchNumberCount && switchNumberCount(numberCount);
}

std::vector<std::string> RecordingWindow::Take() {
    std::vector<std::string> taken;
    taken.swap(events_);
    return taken;
}

bool RecordingWindow::Has(const std::string& event) const {
    return IndexOf(event) >= 0;
}

int RecordingWindow::Count(const std::string& event) const {
    return static_cast<int>(std::count(events_.begin(), events_.end(), event));
}

int RecordingWindow::IndexOf(const std::string& event) const {
    const auto it = std::find(events_.begin(), events_.end(), event);
    return it == events_.end() ? -1 : static_cast<int>(it - events_.begin());
}

std::vector<std::string> RecordingWindow::Matching(const std::string& prefix) const {
    std::vector<std::string> found;
    for (const auto& event : events_)
        if (event.rfind(prefix, 0) == 0)
            found.push_back(event);
    return found;
}

std::optional<std::string> RecordingWindow::Text(int id) const {
    const auto it = texts_.find(id);
    if (it == texts_.end())
        return std::nullopt;
    return it->second;
}

std::optional<int> RecordingWindow::TimerPeriod(int id) const {
    const auto it = timers_.find(id);
    if (it == timers_.end())
        return std::nullopt;
    return it->second;
}

void RecordingWindow::ShowWinningNow(int count, const std::vector<int>& first) {
    std::string event = "winningNow " + std::to_string(count) + ":";
    for (std::size_t i = 0; i < first.size(); ++i)
        event += (i == 0 ? " " : ",") + std::to_string(first[i]);
    Record(event);
}

} // namespace zorvi::test
