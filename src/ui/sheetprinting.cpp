#include "ui/sheetprinting.h"

#include "platform/printing.h"

namespace zev {

QString printSheet(QWidget* parent, const NamedSheet& page) {
    const PrintResult result =
        printPage(parent, page.name, [&page](QPainter& painter, const QRectF& area) {
            paintSheetPage(painter, area, page);
        });
    switch (result.outcome) {
    case PrintOutcome::Failed:
        return QStringLiteral("Nem sikerült nyomtatni: %1\nA lapot nem vette át.")
            .arg(result.where);
    case PrintOutcome::Unavailable:
        return QStringLiteral("Nem lehet nyomtatni: a nyomtatás modulja nincs telepítve (%1).")
            .arg(result.where);
    default:
        return {};
    }
}

} // namespace zev
