#pragma once

#include "model/sheet.h"

#include <QByteArray>
#include <QString>

namespace zev {

// What the window has when a file cannot be opened: the fresh sheet it starts with, or the
// sheet it already showed.
enum class WindowOnRefusal { StartsAfresh, KeepsItsSheet };

struct OpenResult {
    bool ok = false;
    Sheet sheet;         // the ratings read; a fresh sheet for a file not there yet
    QString name;        // for the name box: the file's name less its folder and its ".txt"
    QString folder;      // the path up to its last "/", empty for none: where a save goes
    QString message;     // for the user when not ok, with what the window does instead
    bool absent = false; // ok, but no file by that name yet: the fresh sheet is to become it
    QString refusal;     // when not ok or absent: the file's name and why it gave no sheet
};

// Opens the file at path (as the system spelt it) as a sheet: a sheet is read, a path with no
// file yet starts a fresh one under that name, and anything else is refused, in words that
// say what the window does instead. Nothing is written.
OpenResult openSheet(const QByteArray& path,
                     WindowOnRefusal onRefusal = WindowOnRefusal::StartsAfresh);

// The file that the name in the name box is saved to: a name is taken in the folder a sheet
// was opened from, but one that spells an absolute path stays where it says.
QString sheetPath(const QString& folder, const QString& name);

} // namespace zev
