#include "model/traittable.h"

#include <array>

namespace zev {
namespace {

// In index order: the attribute columns, then the skill columns, each column on its own line.
// clang-format off
constexpr std::array<std::string_view, kTraitCount> kNames{
    "erő", "ügyesség", "állóképesség",
    "karizma", "manipuláció", "megjelenés",
    "észlelés", "intelligencia", "érzék",
    "Éberség", "Atlétika", "Ökölharc", "Kitérés", "Empátia",
        "Szerencsejáték", "Megfélemlítés", "Irányítás", "Lopás", "Rászedés",
    "Állatszelidítés", "Nyomozás", "Vezetés", "Hajítás", "Íjászat",
        "Közelharc", "Szereplés", "Bizt.rendsz", "Lopózás", "Túlélés",
    "Academics", "Computer", "Pénzügy", "Javítás", "Jog",
        "Nyelvek", "Orvostudomány", "Építés", "Földművelés", "Term.tudományok",
};
// clang-format on

constexpr Rating kAttributeFloor = 1;

// The place and floor of a trait follow from its index.
constexpr TraitDef defined(int index) {
    const std::string_view name = kNames.at(static_cast<size_t>(index));
    if (index < kAttributeCount) {
        return {name, Block::Attribute, index / kAttributeRows, index % kAttributeRows,
                kAttributeFloor};
    }
    const int skill = index - kAttributeCount;
    return {name, Block::Skill, skill / kSkillRows, skill % kSkillRows, 0};
}

constexpr TraitGroup grouped(int group) {
    if (group < kColumnCount) {
        return {attributeIndex(group, 0), kAttributeRows, kAttributeRows * kAttributeFloor};
    }
    return {skillIndex(group - kColumnCount, 0), kSkillRows, 0};
}

template <typename T, int count> constexpr std::array<T, count> tabulate(T (*make)(int)) {
    std::array<T, count> table{};
    for (int i = 0; i < count; ++i) {
        table.at(static_cast<size_t>(i)) = make(i);
    }
    return table;
}

constexpr auto kTraits = tabulate<TraitDef, kTraitCount>(defined);
constexpr auto kGroups = tabulate<TraitGroup, kGroupCount>(grouped);

} // namespace

const TraitDef& trait(int index) { return kTraits.at(static_cast<size_t>(index)); }

const TraitGroup& traitGroup(int group) { return kGroups.at(static_cast<size_t>(group)); }

Cell cellOf(int index) {
    const TraitDef& def = trait(index);
    return {def.column, def.block == Block::Attribute ? def.row : kAttributeRows + def.row};
}

int traitInCell(Cell cell) {
    return cell.row < kAttributeRows ? attributeIndex(cell.column, cell.row)
                                     : skillIndex(cell.column, cell.row - kAttributeRows);
}

} // namespace zev
