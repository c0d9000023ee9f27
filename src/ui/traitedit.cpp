#include "ui/traitedit.h"

namespace zev {

void applyEdit(Sheet& sheet, int index, TraitEdit edit) {
    if (edit == TraitEdit::Raise) {
        sheet.Raise(index);
        return;
    }
    sheet.Lower(index);
    sheet.ApplyFloors();
}

} // namespace zev
