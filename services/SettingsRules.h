#pragma once

#include "IntegerField.h"

namespace zorvi {

// The value rules of the settings dialog, apart from any window: which item a stored value
// selects, the size fields' range, and how the number count and the series steer the
// free-middle and series boxes.
namespace SettingsRules {

// Public-screen width and height, in pixels.
inline constexpr IntegerFieldRule kScreenSizeField{0, 99999, false};
// The hall server's port: above the ports that need the administrator.
inline constexpr IntegerFieldRule kHallPortField{1024, 65535, false};

// The item of a list of choices 0..last that a stored value selects. A value that no item
// stands for selects the first item, the one the rest of the program falls back to for it.
int ChoiceIndex(int stored, int last);

// The number-count list holds "75" and "90": the item of a stored count (any count but 90
// selects "75", the count the program falls back to), and the count of an item (0 for none).
int NumberCountIndex(int storedCount);
int NumberCountOfIndex(int index);

// A stored size as the size field shows it: brought into the field's range.
int ScreenSizeShown(int stored);

// What the boxes of the coupon choices show.
enum class Tick { Keep, Set, Clear };
struct CouponBoxes {
    bool seriesEnabled = true;
    bool freeMiddleEnabled = true;
    // Set: series "B" is played with a free middle square, which the record takes at once.
    Tick freeMiddle = Tick::Keep;

    bool operator==(const CouponBoxes&) const = default;
};

// When the dialog opens: a 90-number game has neither a middle square nor a choice of
// series; series "B" (1) always has its free middle. The ticks stay as stored.
CouponBoxes CouponBoxesAtOpening(int numberCount, int series);
// After the operator chose a number count or a series: as at opening, and the free middle is
// cleared for 90 numbers and set for series "B".
CouponBoxes CouponBoxesAfterChoice(int numberCount, int series);

} // namespace SettingsRules

} // namespace zorvi
