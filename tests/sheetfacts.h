#pragma once
// What the sheet must show, written down once as its users know it and never taken from the
// code under test: every trait's label as drawn (name and nine blanks) and where its row is
// drawn, in points, in index order.

#include <QString>

#include <array>

namespace zev::facts {

struct TraitRow {
    const char* label;
    float x;
    float y;
};

// clang-format off
inline constexpr std::array<TraitRow, 39> kTraits{{
    {"erő         ", 0, 0},
    {"ügyesség         ", 0, 10},
    {"állóképesség         ", 0, 20},
    {"karizma         ", 100, 0},
    {"manipuláció         ", 100, 10},
    {"megjelenés         ", 100, 20},
    {"észlelés         ", 200, 0},
    {"intelligencia         ", 200, 10},
    {"érzék         ", 200, 20},
    {"Éberség         ", 0, 50},
    {"Atlétika         ", 0, 60},
    {"Ökölharc         ", 0, 70},
    {"Kitérés         ", 0, 80},
    {"Empátia         ", 0, 90},
    {"Szerencsejáték         ", 0, 100},
    {"Megfélemlítés         ", 0, 110},
    {"Irányítás         ", 0, 120},
    {"Lopás         ", 0, 130},
    {"Rászedés         ", 0, 140},
    {"Állatszelidítés         ", 100, 50},
    {"Nyomozás         ", 100, 60},
    {"Vezetés         ", 100, 70},
    {"Hajítás         ", 100, 80},
    {"Íjászat         ", 100, 90},
    {"Közelharc         ", 100, 100},
    {"Szereplés         ", 100, 110},
    {"Bizt.rendsz         ", 100, 120},
    {"Lopózás         ", 100, 130},
    {"Túlélés         ", 100, 140},
    {"Academics         ", 200, 50},
    {"Computer         ", 200, 60},
    {"Pénzügy         ", 200, 70},
    {"Javítás         ", 200, 80},
    {"Jog         ", 200, 90},
    {"Nyelvek         ", 200, 100},
    {"Orvostudomány         ", 200, 110},
    {"Építés         ", 200, 120},
    {"Földművelés         ", 200, 130},
    {"Term.tudományok         ", 200, 140},
}};
// clang-format on

inline QString label(int index) { return QString::fromUtf8(kTraits.at(size_t(index)).label); }

// The name a screen reader says: the label without its nine blanks.
inline QString name(int index) { return label(index).chopped(9); }

inline int floor(int index) { return index < 9 ? 1 : 0; }

} // namespace zev::facts
