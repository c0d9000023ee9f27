// The print module: Qt's print dialog and printer, which reach the printers through CUPS. Built
// on its own and loaded by printing.cpp when the user first prints.
#include "platform/printing.h"

#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>

extern "C" Q_DECL_EXPORT int zevPrintPage(QWidget* parent, const QString& documentName,
                                          const QString& creator, const zev::PaintPage& paint,
                                          QString& where) {
    using zev::PrintOutcome;
    QPrinter printer(QPrinter::HighResolution);
    printer.setDocName(documentName);
    printer.setCreator(creator);
    QPrintDialog dialog(&printer, parent);
    dialog.setOption(QAbstractPrintDialog::PrintPageRange, false); // there is one page
    if (dialog.exec() != QDialog::Accepted) {
        return int(PrintOutcome::Cancelled);
    }
    where = printer.outputFileName().isEmpty() ? printer.printerName() : printer.outputFileName();
    QPainter painter;
    if (!painter.begin(&printer)) {
        return int(PrintOutcome::Failed);
    }
    paint(painter, QRectF(QPointF(0, 0), printer.pageRect(QPrinter::DevicePixel).size()));
    return int(painter.end() ? PrintOutcome::Printed : PrintOutcome::Failed);
}
