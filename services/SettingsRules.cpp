#include "SettingsRules.h"

#include <algorithm>

#include "GameRules.h"

namespace zorvi::SettingsRules {

namespace {

constexpr int kSeriesWithFreeMiddle = 1; // "B"

} // namespace

int ChoiceIndex(int stored, int last) {
    return stored >= 0 && stored <= last ? stored : 0;
}

int NumberCountIndex(int storedCount) {
    return storedCount == GameRules::kNumbers90 ? 1 : 0;
}

int NumberCountOfIndex(int index) {
    switch (index) {
    case 0:
        return GameRules::kNumbers75;
    case 1:
        return GameRules::kNumbers90;
    default:
        return 0;
    }
}

int ScreenSizeShown(int stored) {
    return static_cast<int>(
        std::clamp<long long>(stored, kScreenSizeField.minimum, kScreenSizeField.maximum));
}

CouponBoxes CouponBoxesAtOpening(int numberCount, int series) {
    if (numberCount == GameRules::kNumbers90)
        return {false, false, Tick::Keep};
    if (series == kSeriesWithFreeMiddle)
        return {true, false, Tick::Keep};
    return {true, true, Tick::Keep};
}

CouponBoxes CouponBoxesAfterChoice(int numberCount, int series) {
    CouponBoxes boxes = CouponBoxesAtOpening(numberCount, series);
    if (numberCount == GameRules::kNumbers90)
        boxes.freeMiddle = Tick::Clear;
    else if (series == kSeriesWithFreeMiddle)
        boxes.freeMiddle = Tick::Set;
    return boxes;
}

} // namespace zorvi::SettingsRules
