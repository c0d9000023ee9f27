#include "ui/sheetdrawing.h"

#include "platform/textconversions.h"
#include "ui/sheetlayout.h"

#include <string_view>

namespace zev {
namespace {

// A row is drawn from its band's top-left corner: a trait's label and marks, or a total.
void drawRow(Sheet& sheet, SheetSurface& surface, SheetRow row) {
    const RowBand band = rowBand(row);
    surface.setCurrentX(band.left);
    surface.setCurrentY(band.top);
    if (row.isTotal) {
        surface.Print(QLatin1StringView(kTotalOpening));
        surface.Print(numberToDisplayText(sheet.GroupTotal(row.index)));
        surface.Print(QLatin1StringView(kTotalClosing));
        return;
    }
    surface.Print(traitLabel(row.index));
    sheet.CapAt5(row.index);
    for (int mark = 1; mark <= sheet.rating(row.index); ++mark) {
        surface.Print(QStringLiteral("^"));
    }
}

} // namespace

QString traitName(int index) {
    const std::string_view name = trait(index).name;
    return QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size()));
}

QString traitLabel(int index) { return traitName(index) + QString(kLabelPadding, u' '); }

void drawSheet(Sheet& sheet, SheetSurface& surface) {
    surface.Cls();
    for (int position = 0; position < kRowCount; ++position) {
        drawRow(sheet, surface, drawnRow(position));
    }
}

} // namespace zev
