#include "model/traittable.h"

#include <array>

namespace zev {
namespace {

constexpr float columnX(int column) { return 100.0F * static_cast<float>(column); }

// Attribute rows are 10 pt apart from the top; skill rows start at 50 pt.
constexpr TraitDef attribute(std::string_view label, int column, int row) {
    return {label, Block::Attribute, column, columnX(column), 10.0F * static_cast<float>(row), 1};
}

constexpr TraitDef skill(std::string_view label, int column, int row) {
    return {label, Block::Skill, column, columnX(column), 50.0F + 10.0F * static_cast<float>(row),
            0};
}

// One trait a line, in index order; clang-format would pack them into an unreadable grid.
// clang-format off
constexpr std::array<TraitDef, kTraitCount> kTraits{{
    attribute("erő         ", 0, 0),
    attribute("ügyesség         ", 0, 1),
    attribute("állóképesség         ", 0, 2),
    attribute("karizma         ", 1, 0),
    attribute("manipuláció         ", 1, 1),
    attribute("megjelenés         ", 1, 2),
    attribute("észlelés         ", 2, 0),
    attribute("intelligencia         ", 2, 1),
    attribute("érzék         ", 2, 2),
    skill("Éberség         ", 0, 0),
    skill("Atlétika         ", 0, 1),
    skill("Ökölharc         ", 0, 2),
    skill("Kitérés         ", 0, 3),
    skill("Empátia         ", 0, 4),
    skill("Szerencsejáték         ", 0, 5),
    skill("Megfélemlítés         ", 0, 6),
    skill("Irányítás         ", 0, 7),
    skill("Lopás         ", 0, 8),
    skill("Rászedés         ", 0, 9),
    skill("Állatszelidítés         ", 1, 0),
    skill("Nyomozás         ", 1, 1),
    skill("Vezetés         ", 1, 2),
    skill("Hajítás         ", 1, 3),
    skill("Íjászat         ", 1, 4),
    skill("Közelharc         ", 1, 5),
    skill("Szereplés         ", 1, 6),
    skill("Bizt.rendsz         ", 1, 7),
    skill("Lopózás         ", 1, 8),
    skill("Túlélés         ", 1, 9),
    skill("Academics         ", 2, 0),
    skill("Computer         ", 2, 1),
    skill("Pénzügy         ", 2, 2),
    skill("Javítás         ", 2, 3),
    skill("Jog         ", 2, 4),
    skill("Nyelvek         ", 2, 5),
    skill("Orvostudomány         ", 2, 6),
    skill("Építés         ", 2, 7),
    skill("Földművelés         ", 2, 8),
    skill("Term.tudományok         ", 2, 9),
}};
// clang-format on

constexpr std::array<TraitGroup, kGroupCount> kGroups{{
    {attributeIndex(0, 0), 3, columnX(0), 30.0F, 3},
    {attributeIndex(1, 0), 3, columnX(1), 30.0F, 3},
    {attributeIndex(2, 0), 3, columnX(2), 30.0F, 3},
    {skillIndex(0, 0), 10, columnX(0), 150.0F, 0},
    {skillIndex(1, 0), 10, columnX(1), 150.0F, 0},
    {skillIndex(2, 0), 10, columnX(2), 150.0F, 0},
}};

} // namespace

const TraitDef& trait(int index) { return kTraits.at(static_cast<size_t>(index)); }

const TraitGroup& traitGroup(int group) { return kGroups.at(static_cast<size_t>(group)); }

SheetRow drawnRow(int position) {
    int group = 0;
    for (; position > traitGroup(group).count; ++group) { // past the group's traits and total
        position -= traitGroup(group).count + 1;
    }
    const TraitGroup& g = traitGroup(group);
    return position < g.count ? SheetRow{false, g.firstIndex + position} : SheetRow{true, group};
}

} // namespace zev
