// The accessible sheet's items: one row of the drawn sheet each, and the notice that tells of a
// change in words. Like an item view's cells they hold no data and read the sheet each time.
#pragma once

#include <QString>

class QAccessibleInterface;
class QWidget;

namespace zev {

class SheetSource;
class SheetSurfaceWidget;

// The source of a surface's sheet: its parent widget, while that is one.
SheetSource* sourceOf(const QWidget* surface);

// The item at a position among the surface's children: a trait's or a total's row, in drawing
// order, or past the last row the notice.
QAccessibleInterface* newSheetItem(SheetSurfaceWidget* surface, int position);

// An item's position among its surface's children; -1 for anything that is not an item.
int positionOf(const QAccessibleInterface* item);

// What the notice, the item past the last row, says from now on.
void setNotice(QAccessibleInterface* notice, const QString& message);

} // namespace zev
