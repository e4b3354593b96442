// The coupon check: judges the coupon typed in the coupon number field against the row being
// played and the numbers drawn so far.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "BingoHelpers.h"
#include "ControlIds.h"
#include "GameCommands.h"
#include "GameRules.h"
#include "Language.h"
#include "LogLines.h"
#include "LogSink.h"
#include "PageCalls.h"
#include "ProgramState.h"
#include "Settings.h"
#include "WindowRequests.h"

namespace zorvi {

void GameCommands::CheckCommand() {
    const CommandScope command(running_);
    if (!command.entered())
        return;
    const std::optional<long long> read = window_.ReadCouponNumber();
    // A refused field changes nothing on either screen: the last coupon shown stays as it was.
    if (!read)
        return;
    const long long k = *read;
    StopAutomatic();
    ShowHiddenPublicScreen();
    if (k < GameRules::kLowestCouponNumber || k > GameRules::kHighestCouponNumber)
        return;
    const int couponNumber = static_cast<int>(k);
    window_.SetControlText(Control::CheckedCoupon, std::to_string(couponNumber));

    // Without a readable series there is not even a blank coupon; the check then shows zeros of
    // the game's coupon size and judges "Wrong!".
    BingoCoupon coupon = coupons_.GetCoupon(couponNumber);
    std::vector<std::uint8_t> zeros;
    if (coupon.empty()) {
        zeros.assign(static_cast<std::size_t>(GameRules::CouponSize(settings_.max_called_numbers)),
                     0);
        coupon = BingoCoupon(zeros.data(), static_cast<std::uint32_t>(zeros.size()));
    }
    const std::vector<int> drawn = state_.DrawnNumbers();

    const std::vector<int> layout = settings_.max_called_numbers == GameRules::kNumbers90
                                        ? BingoHelpers::LayoutNinetyTicket(coupon.Numbers())
                                        : coupon.Numbers();
    const std::vector<int> marks =
        BingoHelpers::MarkDrawnNumbers(layout, drawn, settings_.free_middle);
    const std::string numbersText = BingoHelpers::JoinComma(layout);
    const std::string marksText = BingoHelpers::JoinComma(marks);

    const int result = coupons_.CheckCouponNumber(
        programme_.StagePattern(state_, settings_.max_called_numbers), drawn, couponNumber);
    if (result == CouponCheck::Wins) {
        state_.SetBingoFound(1);
        state_.bingo_on_this_row = 1;
        state_.Save();
        window_.SetControlCaption(Control::CheckResult, TextId::TXT_BINGO);
        pages_.PageShowTicket(PageTicket{numbersText, marksText, true, couponNumber});
        window_.SayCorrect();
        log_.WriteLog(LogLines::BingoFound(couponNumber, state_.current_row));
        log_.WriteLog(LogLines::DrawnNumbers(drawn));
        if (state_.IsLastRowOrAllDrawn()) {
            EnableDrawButtons(false);
            window_.EnableControl(Control::CancelNumber, false);
        }
        // Saved at once: a crash before the next draw must not lose a winner already announced.
        state_.AddWinner(couponNumber, state_.current_row, state_.number_count);
        state_.Save();
        // The full card of a game with a jackpot decides it, with its first winner.
        if (state_.current_row >= state_.max_row)
            SettleJackpot(couponNumber);
        if (GameOver())
            ShowPrizeBoard();
        window_.SetControlText(Control::WinnersList,
                               BingoHelpers::FormatWinners(state_.winners, settings_.language));
        window_.ScrollWinnersToEnd();
    } else {
        state_.SetBingoFound(0);
        log_.WriteLog(LogLines::CheckedCoupon(couponNumber, state_.current_row,
                                              static_cast<int>(drawn.size()),
                                              result != CouponCheck::NotInSeries));
        window_.SetControlCaption(Control::CheckResult, TextId::TXT_WRONG);
        pages_.PageShowTicket(PageTicket{numbersText, marksText, false, couponNumber});
    }
    window_.ShowCoupon(coupon);
    if (result == CouponCheck::NotInSeries && coupons_.CouponCount() > 0)
        window_.ShowCouponNotInSeries(couponNumber, static_cast<int>(coupons_.CouponCount()));
    FocusEntry();
}

} // namespace zorvi
