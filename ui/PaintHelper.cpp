#include "PaintHelper.h"

#include "DialogUnits.h"

namespace zorvi {

namespace {
const QString kArial = QStringLiteral("Arial");
const QString kCourier = QStringLiteral("Courier New");
} // namespace

PaintHelper::PaintHelper()
    : brush_free_middle(ToQColor(colour_free_middle)), brush_latest(ToQColor(colour_latest)),
      brush_drawn(ToQColor(colour_drawn)), brush_previous(ToQColor(colour_previous)),
      brush_display(ToQColor(colour_display)), brush_automatic(ToQColor(colour_automatic)),
      font_current(DialogUnits::FontByCellHeight(kArial, 180)),
      font_result(DialogUnits::FontByCellHeight(kArial, 50, true, true)),
      font_small_display(DialogUnits::FontByCellHeight(kArial, 30, true)),
      font_board_cell(DialogUnits::FontByCellHeight(kArial, 26, true)),
      font_coupon_cell(DialogUnits::FontByCellHeight(kArial, 26, true)),
      font_letter_name(DialogUnits::FontByCellHeight(kArial, 40)),
      font_button(DialogUnits::FontByCellHeight(kArial, 24, true)),
      font_list(DialogUnits::FontByCellHeight(kCourier, 16, true)),
      font_limit(DialogUnits::FontByCellHeight(kArial, 96, true)) {}

} // namespace zorvi
