#pragma once

#include "files/filereplace.h"

#include <QString>

// Everything the user reads about a failed save, in the program's language.
namespace zev {

// Why a typed name cannot be a file name at all; empty when it can.
QString nameRefusal(const QString& path);

// The message for a save to path that did not succeed: the file's name, then why.
QString saveFailureMessage(const QString& path, const QString& reason);

// Why a replace failed: the step, its place and the system's reason, and what became of the old
// content.
QString replaceFailureReason(const ReplaceOutcome& outcome);

} // namespace zev
