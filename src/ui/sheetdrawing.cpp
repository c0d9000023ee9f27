#include "ui/sheetdrawing.h"

#include "platform/textconversions.h"

#include <array>
#include <string_view>

namespace zev {
namespace {

void movePen(SheetSurface& surface, float x, float y) {
    surface.setCurrentX(x);
    surface.setCurrentY(y);
}

void drawTraitRow(Sheet& sheet, SheetSurface& surface, int index) {
    movePen(surface, trait(index).x, trait(index).y);
    surface.Print(traitLabel(index));
    sheet.CapAt5(index);
    for (int mark = 1; mark <= sheet.rating(index); ++mark) {
        surface.Print(QStringLiteral("^"));
    }
}

void drawTotalRow(const Sheet& sheet, SheetSurface& surface, int group) {
    movePen(surface, traitGroup(group).totalX, traitGroup(group).totalY);
    surface.Print(QStringLiteral("          ("));
    surface.Print(numberToDisplayText(sheet.GroupTotal(group)));
    surface.Print(QStringLiteral(")"));
}

} // namespace

const QString& traitLabel(int index) {
    // Converted once: the sheet is redrawn after every click.
    static const std::array<QString, kTraitCount> labels = [] {
        std::array<QString, kTraitCount> converted;
        for (size_t i = 0; i < converted.size(); ++i) {
            const std::string_view label = trait(static_cast<int>(i)).label;
            converted.at(i) = QString::fromUtf8(label.data(), static_cast<qsizetype>(label.size()));
        }
        return converted;
    }();
    return labels.at(static_cast<size_t>(index));
}

void drawSheet(Sheet& sheet, SheetSurface& surface) {
    surface.Cls();
    for (int position = 0; position < kRowCount; ++position) {
        const SheetRow row = drawnRow(position);
        if (row.isTotal) {
            drawTotalRow(sheet, surface, row.index);
        } else {
            drawTraitRow(sheet, surface, row.index);
        }
    }
}

} // namespace zev
