#pragma once

#include "model/sheet.h"

#include <QString>

namespace zev {

struct SaveResult {
    bool ok = false;
    QString message; // for the user; empty on success
};

// Writes the 39 ratings, one line each in trait-index order, to the file at path; an existing
// file gets the new content as files/filereplace.h says.
SaveResult saveSheet(const Sheet& sheet, const QString& path);

} // namespace zev
