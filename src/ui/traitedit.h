// An edit of one trait, however it was asked for: a release over its row, a key, an assistive
// technology's action. It draws nothing.
#pragma once

#include "model/sheet.h"

namespace zev {

enum class TraitEdit { Raise, Lower };

// Raise: one up, capped by the drawing that follows. Lower: one down, then every rating back on
// its floor.
void applyEdit(Sheet& sheet, int index, TraitEdit edit);

} // namespace zev
