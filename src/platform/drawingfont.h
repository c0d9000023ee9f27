#pragma once

#include <QFont>

namespace zev {

// The face the sheet is drawn in, the system's Roboto Condensed, so that the sheet looks the
// same on every system. It knows nothing of what is drawn.
QFont sheetDrawingFont();

// The same face for the character's name above the sheet on paper: larger and bold.
QFont sheetHeadingFont();

} // namespace zev
