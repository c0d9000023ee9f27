#include "ui/clickediting.h"

namespace zev {
namespace {

std::optional<int> columnAt(float x) {
    if (x < 90.0F) {
        return 0;
    }
    if (x > 100.0F && x < 190.0F) {
        return 1;
    }
    if (x > 200.0F) {
        return 2;
    }
    return std::nullopt; // the gaps between columns, and NaN
}

std::optional<int> attributeRowAt(float y) {
    if (y < 10.0F) {
        return 0;
    }
    if (y > 10.0F && y < 20.0F) {
        return 1;
    }
    if (y > 20.0F && y < 30.0F) {
        return 2;
    }
    return std::nullopt;
}

// Each skill row is hit by the 10 pt band below the line it is drawn at (50, 60, ... 140).
std::optional<int> skillRowAt(float y) {
    for (int row = 0; row < 10; ++row) {
        const float top = 50.0F + 10.0F * static_cast<float>(row);
        if (y > top && y < top + 10.0F) {
            return row;
        }
    }
    return std::nullopt;
}

} // namespace

std::optional<int> TraitAt(float x, float y) {
    const std::optional<int> column = columnAt(x);
    if (!column) {
        return std::nullopt;
    }
    if (const std::optional<int> row = attributeRowAt(y)) {
        return attributeIndex(*column, *row);
    }
    if (const std::optional<int> row = skillRowAt(y)) {
        return skillIndex(*column, *row);
    }
    return std::nullopt;
}

void applyRelease(Sheet& sheet, std::int16_t button, float x, float y) {
    if (button == kLeftButton) {
        if (const std::optional<int> trait = TraitAt(x, y)) {
            sheet.Raise(*trait);
        }
    } else if (button == kRightButton) {
        if (const std::optional<int> trait = TraitAt(x, y)) {
            sheet.Lower(*trait);
        }
        sheet.ApplyFloors();
    }
}

} // namespace zev
