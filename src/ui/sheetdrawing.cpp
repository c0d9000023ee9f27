#include "ui/sheetdrawing.h"

#include "platform/textconversions.h"

namespace zev {
namespace {

void movePen(SheetSurface& surface, float x, float y) {
    surface.setCurrentX(x);
    surface.setCurrentY(y);
}

void drawTraitRow(Sheet& sheet, SheetSurface& surface, int index) {
    const TraitDef& trait = traitTable().at(static_cast<size_t>(index));
    movePen(surface, trait.x, trait.y);
    surface.Print(
        QString::fromUtf8(trait.label.data(), static_cast<qsizetype>(trait.label.size())));
    sheet.CapAt5(index);
    for (int mark = 1; mark <= sheet.rating(index); ++mark) {
        surface.Print(QStringLiteral("^"));
    }
}

void drawTotalRow(const Sheet& sheet, SheetSurface& surface, int group) {
    const TraitGroup& g = traitGroups().at(static_cast<size_t>(group));
    movePen(surface, g.totalX, g.totalY);
    surface.Print(QStringLiteral("          ("));
    surface.Print(numberToDisplayText(sheet.GroupTotal(group)));
    surface.Print(QStringLiteral(")"));
}

} // namespace

void drawSheet(Sheet& sheet, SheetSurface& surface) {
    surface.Cls();
    for (int group = 0; group < kGroupCount; ++group) {
        const TraitGroup& g = traitGroups().at(static_cast<size_t>(group));
        for (int index = g.firstIndex; index < g.firstIndex + g.count; ++index) {
            drawTraitRow(sheet, surface, index);
        }
        drawTotalRow(sheet, surface, group);
    }
}

} // namespace zev
