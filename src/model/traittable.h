#pragma once

#include <cstdint>
#include <string_view>

namespace zev {

using Rating = std::int16_t;

enum class Block : std::uint8_t { Attribute, Skill };

// What a trait is: its name, its place in the sheet's columns, and how low it may go.
struct TraitDef {
    std::string_view name;
    Block block;
    int column; // 0, 1 or 2
    int row;    // within its block's part of the column, from the top
    Rating floor;
};

// One column of one block, and how its total is counted.
struct TraitGroup {
    int firstIndex;
    int count;
    Rating totalOffset; // the floors' sum, subtracted: a total counts only points above them
};

// Every column holds three attributes and, below them, ten skills.
inline constexpr int kColumnCount = 3;
inline constexpr int kAttributeRows = 3;
inline constexpr int kSkillRows = 10;
inline constexpr int kAttributeCount = kColumnCount * kAttributeRows;
inline constexpr int kTraitCount = kAttributeCount + kColumnCount * kSkillRows;
inline constexpr int kGroupCount = 2 * kColumnCount;
inline constexpr Rating kRatingCap = 5;

// The trait at an index from 0 to 38; index order is also the order of the saved file.
TraitDef trait(int index);

// The six groups: attribute columns 0-2, then skill columns 0-2.
TraitGroup traitGroup(int group);

// A trait's place in the grid of the sheet: its column, and its row counted down the column
// through the attributes and on through the skills.
struct Cell {
    int column;
    int row;
};

inline constexpr int kRowsPerColumn = kAttributeRows + kSkillRows;

Cell cellOf(int index);

// The trait in a cell of the grid: column 0 to 2, row 0 to kRowsPerColumn - 1.
int traitInCell(Cell cell);

} // namespace zev
