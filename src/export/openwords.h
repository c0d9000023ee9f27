#pragma once

#include "export/sheetfile.h"
#include "export/sheetopener.h"
#include "files/filestep.h"

#include <QString>

// Everything the user reads about a file that was not opened, in the program's language.
namespace zev {

// Why a file was not opened: its name, its reading, or the first fault of what it holds; the
// first of them that says so.
struct OpenFault {
    // A sheet's name ends in kSheetFileEnding, and the locale shows it exactly (a save goes back).
    enum class Name { Fine, NotASheetName, NotShowable } name = Name::Fine;
    FileFailure read;
    SheetReading sheet;
    bool absent = false; // no file by that name yet: no fault, a fresh sheet

    [[nodiscard]] bool none() const { return name == Name::Fine && !read.failed() && sheet.ok(); }
};

// The message for a file that gave no sheet, a file not there yet too: its name and why.
QString openRefusal(const QString& path, const OpenFault& fault);

// The message for a file that was not opened: its name, why, and what the window shows instead.
QString openFailureMessage(const QString& path, const OpenFault& fault, WindowOnRefusal onRefusal);

} // namespace zev
