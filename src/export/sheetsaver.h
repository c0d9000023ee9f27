#pragma once

#include "model/sheet.h"

#include <QString>

namespace zev {

struct SaveResult {
    bool ok = false;
    QString message; // for the user; empty on success
};

// Writes the 39 ratings, one line each in trait-index order, to the file at path, as the
// manual page states under SAVING (resources/zev.1).
SaveResult saveSheet(const Sheet& sheet, const QString& path);

} // namespace zev
