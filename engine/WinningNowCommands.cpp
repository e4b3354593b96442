// Winning now: which coupons in play hold a bingo for the row being played, at every moment of
// the game, judged exactly as the coupon check would judge each of them.

#include <string>

#include "BingoHelpers.h"
#include "CouponsInPlay.h"
#include "GameCommands.h"
#include "LogSink.h"
#include "PageCalls.h"
#include "ProgramState.h"
#include "Settings.h"
#include "WindowRequests.h"
#include "WinningNowScan.h"

namespace zorvi {

void GameCommands::AttachWinningScan(WinningNowScan* scan) {
    scan_ = scan;
    if (scan_ == nullptr)
        return;
    scan_->SetDeliver([this](std::uint64_t generation, const WinningNow& answer) {
        window_.PostToWindowThread(
            [this, generation, answer] { ShowWinningNow(generation, answer); });
    });
}

void GameCommands::ScanWinningNow(bool afterDraw) {
    if (scan_ == nullptr)
        return;
    // The answer shown belongs to the moment before: a click on it must not check a coupon
    // that may no longer win.
    if (shownWinning_.count != 0) {
        shownWinning_ = WinningNow{};
        window_.ShowWinningNow(0, {});
    }
    scanAfterDraw_ = afterDraw;
    scanRow_ = state_.current_row;
    WinningQuery query;
    query.series = coupons_.SeriesBytes();
    query.couponSize = coupons_.CouponSize();
    query.drawn = state_.DrawnNumbers();
    query.rowsNeeded = state_.current_row;
    query.freeMiddle = settings_.free_middle;
    // The settings keep the checked, canonical text; anything else counts the whole series.
    if (const auto inPlay =
            CouponsInPlay::Parse(settings_.coupons_in_play, static_cast<std::string*>(nullptr)))
        query.inPlay = inPlay->Ranges();
    scan_->Request(std::move(query));
}

void GameCommands::ShowWinningNow(std::uint64_t generation, const WinningNow& answer) {
    if (scan_ == nullptr || generation != scan_->Latest())
        return;
    shownWinning_ = answer;
    window_.ShowWinningNow(answer.count, answer.first);
    if (scanAfterDraw_ && answer.count != lastWinningCount_)
        log_.WriteLog("Winning now: " + std::to_string(answer.count) + " (row " +
                      std::to_string(scanRow_) + ")");
    lastWinningCount_ = answer.count;
}

std::optional<int> GameCommands::FirstWinningNow() const {
    if (shownWinning_.first.empty())
        return std::nullopt;
    return shownWinning_.first.front();
}

} // namespace zorvi
