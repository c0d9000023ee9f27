#pragma once

#include "model/sheet.h"

#include <QString>

#include <string_view>

namespace zev {

struct SaveResult {
    bool ok = false;
    QString message; // for the user; empty on success
};

// Writes the 39 ratings, one line each in trait-index order, to the file at path, as the
// manual page states under SAVING (resources/zev.1).
SaveResult saveSheet(const Sheet& sheet, const QString& path);

// Gives the file at path exactly this content, the same way and with the same words.
SaveResult saveFileContent(const QString& path, std::string_view content);

} // namespace zev
