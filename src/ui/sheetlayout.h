// The sheet's layout on the surface, in points: where each row is drawn, in which order, and the
// band a release hits it in.
#pragma once

#include "model/traittable.h"

#include <string_view>

namespace zev {

// A row's band on the surface, in points. The row is drawn from the band's top-left corner, and
// a release hits the row when it lies strictly between the edges, so a release exactly on an
// edge hits nothing. An open side has no edge at all: there the edge given is only where the
// row's area ends for whoever needs a rectangle.
struct RowBand {
    float left;
    float top;
    float right;
    float bottom;
    bool openLeft = false;
    bool openTop = false;
    bool openRight = false;

    [[nodiscard]] bool holds(float x, float y) const;
    [[nodiscard]] float centreX() const { return (left + right) / 2; }
    [[nodiscard]] float centreY() const { return (top + bottom) / 2; }
};

// One row of the drawn sheet: a trait's, or a group's total.
struct SheetRow {
    bool isTotal;
    int index; // the trait index, or the group of a total
};

inline constexpr int kRowCount = kTraitCount + kGroupCount;

// A trait's row is its label, the name and this many blanks (drawn too), then its marks; a
// total's row is the opening, the total and the closing.
inline constexpr int kLabelPadding = 9;
inline constexpr std::string_view kTotalOpening = "          (";
inline constexpr std::string_view kTotalClosing = ")";

// The row drawn at a position from 0 to kRowCount - 1: the groups in order, each with its
// traits in index order and then its total.
SheetRow drawnRow(int position);

// Where a trait's row comes in that order.
int drawnPosition(int traitIndex);

// The band of a drawn row. A total's band is closed on every side, though no release ever hits
// it; a trait's is open towards negative positions in column 0 and in the sheet's top row, and
// to the right in the last column.
RowBand rowBand(SheetRow row);

inline RowBand traitBand(int index) { return rowBand({false, index}); }

// The size of the whole drawn sheet in points: every column's pitch across, and down to the
// bottom of the lowest total.
struct SheetExtent {
    float width;
    float height;
};
SheetExtent sheetExtent();

} // namespace zev
