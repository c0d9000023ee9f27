// The click editor: which trait a release hits and what it does to the sheet; it draws nothing.
#pragma once

#include "model/sheet.h"

#include <cstdint>
#include <optional>

namespace zev {

// Mouse button codes as the window reports them.
inline constexpr std::int16_t kLeftButton = 1;
inline constexpr std::int16_t kRightButton = 2;
inline constexpr std::int16_t kMiddleButton = 4;

// A row's band on the surface, in points. A release hits the row when it lies strictly between
// the edges, so a release exactly on an edge hits nothing. An open side has no edge at all:
// there the edge given is only where the row's area ends for whoever needs a rectangle.
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

// The band below a row drawn at (x, y), as wide as a click column and one row high. The total
// rows have such a band too, though no release ever hits them.
RowBand rowBand(float x, float y);

// The band a trait answers to: its row's band, with column 0 and the first attribute row open
// towards negative positions and column 2 open to the right.
RowBand traitBand(int index);

// The trait whose band holds the point (x, y), in points, or none.
std::optional<int> TraitAt(float x, float y);

// Changes the sheet as one mouse-button release at (x, y) does: left raises the trait under
// it, right lowers it and then puts every rating back on its floor, any other button leaves
// the sheet alone. Redrawing (which caps the ratings) is the caller's business.
void applyRelease(Sheet& sheet, std::int16_t button, float x, float y);

} // namespace zev
