#include "Placement.h"

#include <QFont>
#include <QFontMetrics>
#include <algorithm>

namespace zorvi {

namespace {

int Limited(int setting, int limit) {
    return setting == 0 || setting > limit ? limit : setting;
}

} // namespace

QRect ComputeWindowPlacement(bool otherScreen, int heightSetting, int widthSetting,
                             const QRect& primary, const std::optional<QRect>& firstOther) {
    int x = primary.left();
    int y = primary.top();
    int widthLimit = primary.width();
    int heightLimit = primary.height();
    // With only one monitor attached the window stays on the primary screen.
    if (otherScreen && firstOther) {
        x = primary.left() + primary.width();
        y = 0;
        widthLimit = firstOther->width();
        heightLimit = firstOther->top() + firstOther->height(); // the monitor's bottom edge
    }
    // A negative setting cannot come from the settings reader; treat it as "whole screen".
    const int width = widthSetting < 0 ? widthLimit : Limited(widthSetting, widthLimit);
    const int height = heightSetting < 0 ? heightLimit : Limited(heightSetting, heightLimit);
    return QRect(x, y, width, height);
}

ButtonPlacement ComputeButtonPlacement(int clientWidth, const QSize& closeSize,
                                       const QSize& drawSize) {
    const int middle = clientWidth / 2;
    return {QRect(QPoint(middle - 10 - closeSize.width(), 0), closeSize),
            QRect(QPoint(middle + 10, 0), drawSize)};
}

QRect DialogUnitsToPixels(const QRect& dialogUnits, const QFont& font) {
    const QFontMetrics metrics(font);
    // Dialog units: the average width over the 52 Latin letters, rounded.
    const int letters = metrics.horizontalAdvance(
        QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
    const int baseX = std::max(1, (letters / 26 + 1) / 2);
    const int baseY = std::max(1, metrics.height());
    auto scale = [](int units, int base, int divisor) {
        return (units * base + divisor / 2) / divisor;
    };
    return QRect(scale(dialogUnits.x(), baseX, 4), scale(dialogUnits.y(), baseY, 8),
                 scale(dialogUnits.width(), baseX, 4), scale(dialogUnits.height(), baseY, 8));
}

} // namespace zorvi
