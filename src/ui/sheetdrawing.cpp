#include "ui/sheetdrawing.h"

#include "platform/textconversions.h"
#include "ui/sheetlayout.h"

#include <array>
#include <string_view>

namespace zev {
namespace {

// Blanks that follow every name, part of its label and drawn.
constexpr qsizetype kLabelPadding = 9;

// Converted once: the sheet is redrawn after every click.
template <typename Make> std::array<QString, kTraitCount> perTrait(Make make) {
    std::array<QString, kTraitCount> texts;
    for (size_t i = 0; i < texts.size(); ++i) {
        texts.at(i) = make(static_cast<int>(i));
    }
    return texts;
}

void drawTraitRow(Sheet& sheet, SheetSurface& surface, int index) {
    surface.Print(traitLabel(index));
    sheet.CapAt5(index);
    for (int mark = 1; mark <= sheet.rating(index); ++mark) {
        surface.Print(QStringLiteral("^"));
    }
}

void drawTotalRow(const Sheet& sheet, SheetSurface& surface, int group) {
    surface.Print(QStringLiteral("          ("));
    surface.Print(numberToDisplayText(sheet.GroupTotal(group)));
    surface.Print(QStringLiteral(")"));
}

} // namespace

const QString& traitName(int index) {
    static const std::array<QString, kTraitCount> names = perTrait([](int i) {
        const std::string_view name = trait(i).name;
        return QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size()));
    });
    return names.at(static_cast<size_t>(index));
}

const QString& traitLabel(int index) {
    static const std::array<QString, kTraitCount> labels =
        perTrait([](int i) { return traitName(i) + QString(kLabelPadding, u' '); });
    return labels.at(static_cast<size_t>(index));
}

void drawSheet(Sheet& sheet, SheetSurface& surface) {
    surface.Cls();
    for (int position = 0; position < kRowCount; ++position) {
        const SheetRow row = drawnRow(position);
        const RowBand band = rowBand(row); // a row is drawn from its band's top-left corner
        surface.setCurrentX(band.left);
        surface.setCurrentY(band.top);
        if (row.isTotal) {
            drawTotalRow(sheet, surface, row.index);
        } else {
            drawTraitRow(sheet, surface, row.index);
        }
    }
}

} // namespace zev
