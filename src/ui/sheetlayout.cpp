#include "ui/sheetlayout.h"

namespace zev {
namespace {

// Columns are 100 pt apart and their bands 90 pt wide, which leaves 10 pt between them that
// belong to no trait. Rows are 10 pt apart and each band fills the pitch. The attributes start
// at the top and the skills at 50 pt; each block's total takes the row below its last trait.
constexpr float kColumnPitch = 100.0F;
constexpr float kBandWidth = 90.0F;
constexpr float kRowPitch = 10.0F;
constexpr float kSkillsTop = 50.0F;

RowBand closedBand(int column, Block block, int row) {
    const float left = kColumnPitch * static_cast<float>(column);
    const float top =
        (block == Block::Attribute ? 0.0F : kSkillsTop) + kRowPitch * static_cast<float>(row);
    return {left, top, left + kBandWidth, top + kRowPitch};
}

RowBand totalBand(int group) {
    const TraitGroup& g = traitGroup(group);
    const TraitDef& first = trait(g.firstIndex);
    return closedBand(first.column, first.block, first.row + g.count);
}

RowBand traitRowBand(int index) {
    const TraitDef& def = trait(index);
    RowBand band = closedBand(def.column, def.block, def.row);
    band.openLeft = def.column == 0;
    band.openTop = cellOf(index).row == 0;
    band.openRight = def.column == kColumnCount - 1;
    return band;
}

} // namespace

bool RowBand::holds(float x, float y) const {
    // Strict comparisons: edges and NaN are nowhere.
    return (openLeft || x > left) && (openRight || x < right) && (openTop || y > top) && y < bottom;
}

SheetRow drawnRow(int position) {
    int group = 0;
    for (; position > traitGroup(group).count; ++group) { // past the group's traits and total
        position -= traitGroup(group).count + 1;
    }
    const TraitGroup& g = traitGroup(group);
    return position < g.count ? SheetRow{false, g.firstIndex + position} : SheetRow{true, group};
}

RowBand rowBand(SheetRow row) {
    return row.isTotal ? totalBand(row.index) : traitRowBand(row.index);
}

} // namespace zev
