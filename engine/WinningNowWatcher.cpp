// Winning now: which coupons in play hold a bingo for the row being played, at every moment of
// the game, judged exactly as the coupon check would judge each of them.

#include <string>

#include "BingoHelpers.h"
#include "CouponsInPlay.h"
#include "LogLines.h"
#include "LogSink.h"
#include "ProgramState.h"
#include "ProgrammePlay.h"
#include "Settings.h"
#include "WindowRequests.h"
#include "WinningNowScan.h"
#include "WinningNowWatcher.h"

namespace zorvi {

WinningNowWatcher::WinningNowWatcher(const ProgramState& state, const Settings& settings,
                                     const BingoHelpers& coupons, const ProgrammePlay& programme,
                                     WindowRequests& window, LogSink& log)
    : state_(state), settings_(settings), coupons_(coupons), programme_(programme), window_(window),
      log_(log) {}

void WinningNowWatcher::AttachScan(WinningNowScan* scan) {
    scan_ = scan;
    if (scan_ == nullptr)
        return;
    scan_->SetDeliver([this](std::uint64_t generation, const WinningNow& answer) {
        window_.PostToWindowThread([this, generation, answer] { Show(generation, answer); });
    });
}

void WinningNowWatcher::Ask(bool afterDraw) {
    if (scan_ == nullptr)
        return;
    // The answer shown belongs to the moment before: a click on it must not check a coupon
    // that may no longer win.
    if (shown_.count != 0) {
        shown_ = WinningNow{};
        window_.ShowWinningNow(0, {});
    }
    afterDraw_ = afterDraw;
    row_ = state_.current_row;
    WinningQuery query;
    query.series = coupons_.SeriesBytes();
    query.couponSize = coupons_.CouponSize();
    query.drawn = state_.DrawnNumbers();
    // The stage's pattern, as the check judges it.
    const WinPattern pattern = programme_.StagePattern(state_, settings_.max_called_numbers);
    if (pattern.rows > 0) {
        query.rowsNeeded = pattern.rows;
    } else {
        query.patternMasks = pattern.masks;
        query.patternSquares = pattern.squares;
    }
    query.freeMiddle = settings_.free_middle;
    // The settings keep the checked, canonical text; anything else counts the whole series.
    if (const auto inPlay = CouponsInPlay::Parse(settings_.coupons_in_play))
        query.inPlay = inPlay->Ranges();
    scan_->Request(std::move(query));
}

void WinningNowWatcher::Show(std::uint64_t generation, const WinningNow& answer) {
    if (scan_ == nullptr || generation != scan_->Latest())
        return;
    shown_ = answer;
    window_.ShowWinningNow(answer.count, answer.first);
    if (afterDraw_ && answer.count != lastCount_)
        log_.WriteLog(LogLines::WinningNow(answer.count, row_));
    lastCount_ = answer.count;
}

std::optional<int> WinningNowWatcher::First() const {
    if (shown_.first.empty())
        return std::nullopt;
    return shown_.first.front();
}

} // namespace zorvi
