#pragma once

#include "model/traittable.h"

#include <array>
#include <string>

namespace zev {

// The 39 ratings of one character, addressed by trait index.
//
// Raise and Lower do no range checks on purpose: the floors are applied by ApplyFloors after a
// lowering click and the cap by CapAt5 while drawing, so a rating may briefly stand outside
// its range between the two. The character's name is not part of the sheet.
class Sheet {
public:
    Sheet() = default; // every rating 0

    void Reset();
    void Raise(int index);
    void Lower(int index);
    void ApplyFloors();
    void CapAt5(int index);

    [[nodiscard]] Rating GroupTotal(int group) const;
    [[nodiscard]] Rating rating(int index) const { return ratings_.at(static_cast<size_t>(index)); }
    void setRating(int index, Rating value) { ratings_.at(static_cast<size_t>(index)) = value; }

    friend bool operator==(const Sheet&, const Sheet&) = default;

private:
    std::array<Rating, kTraitCount> ratings_{};
};

// A rating or a total as the sheet writes it, on the surface and in its file: a blank where a
// minus sign would stand, then the digits.
std::string ratingText(Rating value);

} // namespace zev
