#pragma once

#include "model/sheet.h"

#include <QByteArray>
#include <QString>

namespace zev {

struct OpenResult {
    bool ok = false;
    Sheet sheet;         // the ratings read; a fresh sheet for a file not there yet
    QString name;        // for the name box: the path less its ".txt", so a save goes back to it
    QString message;     // for the user when not ok; the window then keeps its fresh sheet and name
    bool absent = false; // ok, but no file by that name yet: the fresh sheet is to become it
    QString refusal;     // when not ok or absent: the file's name and why it gave no sheet
};

// Opens the file at path (as the system spelt it) as a sheet: a sheet is read, a path with no
// file yet starts a fresh one under that name, and anything else is refused. Nothing is written.
OpenResult openSheet(const QByteArray& path);

} // namespace zev
