#include "ui/sheetprinting.h"

#include "platform/formsruntime.h"

#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>

namespace zev {

QString printSheet(QWidget* parent, const NamedSheet& page) {
    QPrinter printer(QPrinter::HighResolution);
    printer.setDocName(page.name);
    printer.setCreator(QStringLiteral("ZEV %1").arg(programVersion()));
    QPrintDialog dialog(&printer, parent);
    dialog.setOption(QAbstractPrintDialog::PrintPageRange, false);
    if (dialog.exec() != QDialog::Accepted) {
        return {};
    }
    QPainter painter;
    if (!painter.begin(&printer)) {
        return QStringLiteral("Nem sikerült nyomtatni: %1\na nyomtató vagy a fájl nem nyitható meg")
            .arg(printer.outputFileName().isEmpty() ? printer.printerName()
                                                    : printer.outputFileName());
    }
    paintSheetPage(painter, QRectF(QPointF(0, 0), printer.pageRect(QPrinter::DevicePixel).size()),
                   page);
    if (!painter.end()) {
        return QStringLiteral("Nem sikerült nyomtatni: %1\na lapot nem sikerült átadni")
            .arg(printer.printerName());
    }
    return {};
}

} // namespace zev
