#pragma once

#include <QFont>

namespace zev {

// The face the sheet is drawn in, the system's Roboto Condensed, so that the sheet looks the
// same on every system. It knows nothing of what is drawn.
QFont sheetDrawingFont();

} // namespace zev
