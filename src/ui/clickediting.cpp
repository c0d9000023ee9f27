#include "ui/clickediting.h"

namespace zev {

std::optional<int> TraitAt(float x, float y) {
    for (int index = 0; index < kTraitCount; ++index) {
        if (traitBand(index).holds(x, y)) {
            return index;
        }
    }
    return std::nullopt;
}

void applyRelease(Sheet& sheet, std::int16_t button, float x, float y) {
    if (button == kLeftButton) {
        if (const std::optional<int> hit = TraitAt(x, y)) {
            sheet.Raise(*hit);
        }
    } else if (button == kRightButton) {
        if (const std::optional<int> hit = TraitAt(x, y)) {
            sheet.Lower(*hit);
        }
        sheet.ApplyFloors();
    }
}

} // namespace zev
