// A sheet on paper: the character's name as a heading, and below it the sheet as the window
// draws it.
#pragma once

#include "model/sheet.h"

#include <QString>

class QPainter;
class QRectF;

namespace zev {

struct NamedSheet {
    Sheet sheet;
    QString name;
};

// The name a fresh sheet goes by until the player types another.
QString freshSheetName();

// Paints the page into an area given in the painter's device pixels: the name, wrapped to the
// area's width, then the sheet at its own size in points, the same face, rows and totals as on
// the screen, black. Both are scaled down together only where the area cannot hold them.
// The ratings are capped on the way as the window's drawing caps them, in a copy.
void paintSheetPage(QPainter& painter, const QRectF& area, const NamedSheet& page);

} // namespace zev
