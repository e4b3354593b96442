#include "ColourRules.h"

#include <QString>
#include <algorithm>

#include "ControlIds.h"
#include "GameRules.h"
#include "PaintHelper.h"

namespace zorvi {

namespace {

const QColor kWhite(255, 255, 255);

ControlColours WhiteOn(std::uint32_t colour) {
    const QColor c = PaintHelper::ToQColor(colour);
    return ControlColours{kWhite, c, c};
}

std::optional<ControlColours> BoardRule(int id, const ColourContext& cx) {
    const int count = static_cast<int>(cx.drawn.size());
    // A board cell is found by its identifier, so only the drawn numbers are looked through.
    for (int i = 0; i < count; ++i) {
        if (id != Control::FirstBoardCell + cx.drawn[std::size_t(i)] - 1)
            continue;
        if (i == count - 1)
            return WhiteOn(cx.paint.colour_latest);
        if (i == count - 2)
            return WhiteOn(cx.paint.colour_previous);
        return WhiteOn(cx.paint.colour_drawn);
    }
    if (id == Control::DrawnCount)
        return WhiteOn(cx.paint.colour_previous);
    return std::nullopt;
}

std::optional<ControlColours> CouponRule(int id, const QString& text, const ColourContext& cx) {
    const int middleCell = GameRules::MiddleCell(cx.couponCellCount);
    if (cx.freeMiddle == 1 && middleCell >= 0 && id == Control::FirstCouponCell + middleCell)
        return WhiteOn(cx.paint.colour_free_middle);
    if (id >= Control::FirstCouponCell && id < Control::FirstCouponCell + cx.couponCellCount) {
        bool ok = false;
        int number = text.trimmed().toInt(&ok);
        if (!ok)
            number = 0;
        const auto found = std::find(cx.drawn.begin(), cx.drawn.end(), number);
        if (found != cx.drawn.end()) {
            if (found + 1 == cx.drawn.end())
                return WhiteOn(cx.paint.colour_latest);
            return WhiteOn(cx.paint.colour_previous);
        }
        return std::nullopt;
    }
    if (id == Control::CheckedCoupon)
        return WhiteOn(cx.paint.colour_previous);
    return std::nullopt;
}

std::optional<ControlColours> DisplayRule(int id, const ColourContext& cx) {
    switch (id) {
    case Control::CurrentNumber:
    case Control::LetterName:
    case Control::PreviousNumber:
        return WhiteOn(cx.paint.colour_display);
    case Control::CurrentRow:
        return WhiteOn(cx.paint.colour_previous);
    case Control::CheckResult:
        return ControlColours{cx.bingoFound == 1 ? PaintHelper::ToQColor(cx.paint.colour_previous)
                                                 : QColor(255, 0, 0),
                              std::nullopt, std::nullopt};
    case Control::BallRefused:
        // A ball refused stands out as a wrong coupon does.
        return ControlColours{QColor(255, 0, 0), std::nullopt, std::nullopt};
    case Control::AutomaticPanel: {
        const QColor c = PaintHelper::ToQColor(cx.paint.colour_automatic);
        return ControlColours{std::nullopt, c, c};
    }
    case Control::AutomaticStatus:
        return WhiteOn(cx.paint.colour_automatic);
    default:
        return std::nullopt;
    }
}

} // namespace

std::optional<ControlColours> ChooseControlColours(int id, const QString& text,
                                                   const ColourContext& context) {
    if (auto board = BoardRule(id, context))
        return board;
    if (auto coupon = CouponRule(id, text, context))
        return coupon;
    return DisplayRule(id, context);
}

} // namespace zorvi
