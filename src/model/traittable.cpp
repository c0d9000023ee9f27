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

} // namespace

// A trait's place and floor follow from its index.
TraitDef trait(int index) {
    const std::string_view name = kNames.at(static_cast<size_t>(index));
    if (index < kAttributeCount) {
        return {name, Block::Attribute, index / kAttributeRows, index % kAttributeRows, 1};
    }
    const int skill = index - kAttributeCount;
    return {name, Block::Skill, skill / kSkillRows, skill % kSkillRows, 0};
}

TraitGroup traitGroup(int group) {
    const bool skills = group >= kColumnCount;
    const int first = traitInCell({group % kColumnCount, skills ? kAttributeRows : 0});
    const int count = skills ? kSkillRows : kAttributeRows;
    return {first, count, static_cast<Rating>(count * trait(first).floor)};
}

Cell cellOf(int index) {
    const TraitDef def = trait(index);
    return {def.column, def.block == Block::Attribute ? def.row : kAttributeRows + def.row};
}

int traitInCell(Cell cell) {
    if (cell.row < kAttributeRows) {
        return kAttributeRows * cell.column + cell.row;
    }
    return kAttributeCount + kSkillRows * cell.column + cell.row - kAttributeRows;
}

} // namespace zev
