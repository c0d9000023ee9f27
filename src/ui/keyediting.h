// The sheet from the keyboard: what a key does while the sheet has the focus; it draws nothing.
#pragma once

#include "ui/traitedit.h"

#include <Qt>

#include <optional>

namespace zev {

// What one key does: nothing, for a key that is not the sheet's; a move of the current trait;
// or an edit of the current trait.
struct KeyEffect {
    bool taken = false;
    int current = 0; // the current trait after the key
    std::optional<TraitEdit> edit = std::nullopt;
};

// The arrows move to the neighbouring trait in the sheet's grid (up and down through a column's
// attributes and skills, left and right to the same row of the next column) and stay at an edge;
// Home and End go to the first and the last trait; "+" and "-", on the main keys or the keypad,
// raise and lower the current trait. A key held with Ctrl, Alt or Meta is never the sheet's.
KeyEffect keyEffect(int current, int key, Qt::KeyboardModifiers modifiers);

} // namespace zev
