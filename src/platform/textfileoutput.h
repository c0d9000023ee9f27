#pragma once

#include <QByteArray>
#include <QString>

namespace zev {

// Gives the text file at path (relative to the current folder) exactly this content, as
// replaceFileContent does (filereplace.h). Returns an empty string on success, otherwise why
// not, in the program's language.
QString writeTextFile(const QString& path, const QByteArray& content);

} // namespace zev
