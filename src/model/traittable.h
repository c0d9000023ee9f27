#pragma once

#include <cstdint>
#include <string_view>

namespace zev {

using Rating = std::int16_t;

enum class Block : std::uint8_t { Attribute, Skill };

// One row of the sheet: what is drawn, where it is drawn, and how low it may go.
struct TraitDef {
    std::string_view label; // the name followed by nine blanks, exactly as drawn
    Block block;
    int column; // 0, 1 or 2
    float x;    // drawing position of the row, in points
    float y;
    Rating floor;
};

// One column of one block, with the position of its total row.
struct TraitGroup {
    int firstIndex;
    int count;
    float totalX;
    float totalY;
    Rating totalOffset; // subtracted from the sum: attributes count only points above their floor
};

inline constexpr int kTraitCount = 39;
inline constexpr int kAttributeCount = 9;
inline constexpr int kGroupCount = 6;
inline constexpr Rating kRatingCap = 5;

// The trait at an index from 0 to 38; index order is also the order of the saved file.
const TraitDef& trait(int index);

// The six groups: attribute columns 0-2, then skill columns 0-2.
const TraitGroup& traitGroup(int group);

// One row of the drawn sheet: a trait's, or a group's total.
struct SheetRow {
    bool isTotal;
    int index; // the trait index, or the group of a total
};

inline constexpr int kRowCount = kTraitCount + kGroupCount;

// The row drawn at a position from 0 to 44: the groups in order, each with its traits in index
// order and then its total.
SheetRow drawnRow(int position);

inline constexpr int attributeIndex(int column, int row) { return 3 * column + row; }
inline constexpr int skillIndex(int column, int row) { return kAttributeCount + 10 * column + row; }

} // namespace zev
