// Sheets on paper as a PDF file, with no window.
#pragma once

#include "platform/formsruntime.h"
#include "ui/sheetpage.h"

#include <QByteArray>
#include <QList>
#include <QPageSize>

namespace zev {

// One page a sheet, in order, as a PDF document: its faces embedded once, its title the first
// sheet's name, its creator the program and its version.
QByteArray sheetsPdf(const QList<NamedSheet>& pages, QPageSize::PageSizeId paper);

// The paper where none is chosen: Letter where the locale measures in inches, A4 elsewhere.
QPageSize::PageSizeId localePaper();

// What `zev --pdf` does: reads every sheet as the window would open it, then writes their PDF
// as a save writes a sheet. A sheet that is refused or not there, or a PDF that cannot be
// written, is told on standard error in the window's words and ends it with status 1, and the
// PDF is then neither made nor changed. Gives the program's exit status.
int writeSheetsPdf(const PdfRequest& request);

} // namespace zev
