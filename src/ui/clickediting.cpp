#include "ui/clickediting.h"

namespace zev {
namespace {

// Columns are 100 pt apart and their bands 90 pt wide, which leaves 10 pt between them that
// belong to no trait. Rows are 10 pt apart and each band fills the pitch.
constexpr float kBandWidth = 90.0F;
constexpr float kBandHeight = 10.0F;
constexpr int kLastColumn = 2;

} // namespace

bool RowBand::holds(float x, float y) const {
    // Strict comparisons: edges and NaN are nowhere.
    return (openLeft || x > left) && (openRight || x < right) && (openTop || y > top) && y < bottom;
}

RowBand rowBand(float x, float y) { return {x, y, x + kBandWidth, y + kBandHeight}; }

RowBand traitBand(int index) {
    const TraitDef& def = trait(index);
    RowBand band = rowBand(def.x, def.y);
    band.openLeft = def.column == 0;
    band.openTop = def.y == 0.0F; // the sheet's top row
    band.openRight = def.column == kLastColumn;
    return band;
}

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
