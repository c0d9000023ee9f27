#include "ui/keyediting.h"

#include "model/traittable.h"

#include <algorithm>

namespace zev {
namespace {

// The trait a number of columns and rows away in the grid, or the nearest one at its edge.
int stepped(int current, int columns, int rows) {
    const Cell cell = cellOf(current);
    return traitInCell({std::clamp(cell.column + columns, 0, kColumnCount - 1),
                        std::clamp(cell.row + rows, 0, kRowsPerColumn - 1)});
}

} // namespace

KeyEffect keyEffect(int current, int key, Qt::KeyboardModifiers modifiers) {
    if (modifiers & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)) {
        return {false, current};
    }
    switch (key) {
    case Qt::Key_Up:
        return {true, stepped(current, 0, -1)};
    case Qt::Key_Down:
        return {true, stepped(current, 0, 1)};
    case Qt::Key_Left:
        return {true, stepped(current, -1, 0)};
    case Qt::Key_Right:
        return {true, stepped(current, 1, 0)};
    case Qt::Key_Home:
        return {true, 0};
    case Qt::Key_End:
        return {true, kTraitCount - 1};
    case Qt::Key_Plus:
        return {true, current, TraitEdit::Raise};
    case Qt::Key_Minus:
        return {true, current, TraitEdit::Lower};
    default:
        return {false, current};
    }
}

} // namespace zev
