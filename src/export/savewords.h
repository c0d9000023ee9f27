#pragma once

#include "export/sheetfile.h"
#include "export/sheetopener.h"
#include "files/fileread.h"
#include "files/filereplace.h"

#include <QByteArray>
#include <QString>

// Everything the user reads about a failed save or open, in the program's language.
namespace zev {

// Why a typed name cannot be a file name at all; empty when it can.
QString nameRefusal(const QString& path);

// The message for a save to path that did not succeed: the file's name, then why.
QString saveFailureMessage(const QString& path, const QString& reason);

// Why a replace failed, with what became of the old content.
QString replaceFailureReason(const ReplaceOutcome& outcome);

// Why a file cannot be opened by that name; empty when it can.
QString openNameRefusal(const QByteArray& path);

// The message for a file that was not opened: its name, why, and what the window shows instead.
QString openFailureMessage(const QString& path, const QString& reason, WindowOnRefusal onRefusal);

// Why a file could not be read.
QString readFailureReason(const ReadOutcome& outcome);

// Why what a file holds is no sheet.
QString sheetFaultReason(const SheetReading& reading);

} // namespace zev
