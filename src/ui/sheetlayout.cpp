#include "ui/sheetlayout.h"

namespace zev {
namespace {

// A column's bands are narrower than the column pitch, which leaves a strip between columns
// that belongs to no trait; a row's band fills the row pitch. The attributes start at the top
// and the skills below the attributes' total and a blank row; each block's total takes the row
// below its last trait.
constexpr float kColumnPitch = 100.0F;
constexpr float kBandWidth = 90.0F;
constexpr float kRowPitch = 10.0F;
constexpr float kSkillsTop = 50.0F;

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
    const TraitGroup g = traitGroup(group);
    return position < g.count ? SheetRow{false, g.firstIndex + position} : SheetRow{true, group};
}

int drawnPosition(int traitIndex) {
    int position = traitIndex;
    for (int group = 0; traitGroup(group).firstIndex + traitGroup(group).count <= traitIndex;
         ++group) {
        ++position; // that group's total is drawn before the trait
    }
    return position;
}

RowBand rowBand(SheetRow row) {
    // A total is drawn in its group's column, on the row below the group's last trait.
    const int index = row.isTotal ? traitGroup(row.index).firstIndex : row.index;
    const TraitDef def = trait(index);
    const int line = def.row + (row.isTotal ? traitGroup(row.index).count : 0);
    const float left = kColumnPitch * static_cast<float>(def.column);
    const float top =
        (def.block == Block::Attribute ? 0.0F : kSkillsTop) + kRowPitch * static_cast<float>(line);
    RowBand band{left, top, left + kBandWidth, top + kRowPitch};
    if (!row.isTotal) {
        band.openLeft = def.column == 0;
        band.openTop = cellOf(index).row == 0;
        band.openRight = def.column == kColumnCount - 1;
    }
    return band;
}

SheetExtent sheetExtent() {
    return {kColumnPitch * kColumnCount, rowBand({true, kGroupCount - 1}).bottom};
}

} // namespace zev
