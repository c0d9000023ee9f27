// The click editor: which trait a release hits and what it does to the sheet; it draws nothing.
#pragma once

#include "model/sheet.h"
#include "platform/mousebutton.h"
#include "ui/sheetlayout.h"

#include <cstdint>
#include <optional>

namespace zev {

// The trait whose band holds the point (x, y), in points, or none.
std::optional<int> TraitAt(float x, float y);

// Changes the sheet as one mouse-button release at (x, y) does: left raises the trait under
// it, right lowers it and then puts every rating back on its floor, any other button leaves
// the sheet alone. Redrawing (which caps the ratings) is the caller's business.
void applyRelease(Sheet& sheet, std::int16_t button, float x, float y);

} // namespace zev
