#include "ui/clickediting.h"

#include "ui/traitedit.h"

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
    const std::optional<int> hit = TraitAt(x, y);
    if (button == kLeftButton && hit) {
        applyEdit(sheet, *hit, TraitEdit::Raise);
    } else if (button == kRightButton) {
        if (hit) {
            applyEdit(sheet, *hit, TraitEdit::Lower);
        } else {
            sheet.ApplyFloors(); // a right release puts the floors back even where it hits nothing
        }
    }
}

} // namespace zev
