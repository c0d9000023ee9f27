#pragma once

#include "model/sheet.h"

#include <cstdint>
#include <optional>

namespace zev {

// Mouse button codes as the window reports them.
inline constexpr std::int16_t kLeftButton = 1;
inline constexpr std::int16_t kRightButton = 2;
inline constexpr std::int16_t kMiddleButton = 4;

// The trait whose row band holds the point (x, y), in points, or none.
// Every comparison is strict, so a point exactly on a band's edge hits nothing; column 0 and
// the first attribute row are open towards negative positions, column 2 towards the right.
std::optional<int> TraitAt(float x, float y);

// Changes the sheet as one mouse-button release at (x, y) does: left raises the trait under
// it, right lowers it and then puts every rating back on its floor, any other button leaves
// the sheet alone. Redrawing (which caps the ratings) is the caller's business.
void applyRelease(Sheet& sheet, std::int16_t button, float x, float y);

} // namespace zev
