#pragma once

#include <QFont>

namespace zev {

// The face the sheet is drawn in, carried inside the program so that the sheet looks the
// same on every system whatever fonts it has installed. It knows nothing of what is drawn.
QFont sheetDrawingFont();

} // namespace zev
