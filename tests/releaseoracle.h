#pragma once
// An oracle for mouse releases, written from what users are told and sharing no code with the
// program: the band each trait's row answers to, and what each button does to a sheet.
// Free of Qt, so the fuzzer can use it too.

#include <algorithm>
#include <array>

namespace zev::oracle {

using Ratings = std::array<int, 39>;

inline Ratings freshRatings() {
    Ratings ratings{};
    std::fill(ratings.begin(), ratings.begin() + 9, 1);
    return ratings;
}

// Open intervals: a release exactly on an edge hits nothing. The first column and the first
// row have no lower edge, the last column no upper one.
struct Band {
    float low;
    float high;
    bool noLow = false;
    bool noHigh = false;
    [[nodiscard]] bool holds(float v) const {
        return v == v && (noLow || v > low) && (noHigh || v < high); // NaN is nowhere
    }
};

constexpr std::array<Band, 3> kColumns{{{0, 90, true}, {100, 190}, {200, 0, false, true}}};

// Attribute rows 0-2, then skill rows 0-9.
constexpr std::array<Band, 13> kRows{{{0, 10, true},
                                      {10, 20},
                                      {20, 30},
                                      {50, 60},
                                      {60, 70},
                                      {70, 80},
                                      {80, 90},
                                      {90, 100},
                                      {100, 110},
                                      {110, 120},
                                      {120, 130},
                                      {130, 140},
                                      {140, 150}}};

// The trait under (x, y), or -1.
inline int traitAt(float x, float y) {
    for (int column = 0; column < 3; ++column) {
        for (int row = 0; row < 13; ++row) {
            if (kColumns[column].holds(x) && kRows[row].holds(y)) {
                return row < 3 ? 3 * column + row : 9 + 10 * column + (row - 3);
            }
        }
    }
    return -1;
}

// A release and the redraw after it: left raises, right lowers and then no rating stays below
// its floor (1 for attributes, 0 for skills), and the redraw brings every rating above 5 to 5.
inline void release(Ratings& ratings, int button, float x, float y) {
    const int trait = traitAt(x, y);
    if (button == 1 && trait >= 0) {
        ++ratings[trait];
    }
    if (button == 2) {
        if (trait >= 0) {
            --ratings[trait];
        }
        for (int i = 0; i < 39; ++i) {
            ratings[i] = std::max(ratings[i], i < 9 ? 1 : 0);
        }
    }
    for (int& rating : ratings) {
        rating = std::min(rating, 5);
    }
}

// The total under a group's column: points above the floors for attributes, the sum for skills.
inline int groupTotal(const Ratings& ratings, int group) {
    constexpr int first[6] = {0, 3, 6, 9, 19, 29};
    const int count = group < 3 ? 3 : 10;
    int total = group < 3 ? -3 : 0;
    for (int i = first[group]; i < first[group] + count; ++i) {
        total += ratings[i];
    }
    return total;
}

} // namespace zev::oracle
