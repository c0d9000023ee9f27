// The sheet drawing: the whole sheet put on the surface, ratings capped on the way; no input.
#pragma once

#include "model/sheet.h"
#include "platform/sheetsurface.h"

namespace zev {

// Erases the surface and draws the whole sheet on it: every trait's label followed by one "^"
// per point of rating, and under each column of each block its total in parentheses.
// Ratings above 5 are capped in the sheet itself on the way, so what is drawn is what is kept.
void drawSheet(Sheet& sheet, SheetSurface& surface);

// A trait's name, as a reader hears it.
QString traitName(int index);

// A trait's label as it is drawn: its name and the blanks that follow it.
QString traitLabel(int index);

} // namespace zev
