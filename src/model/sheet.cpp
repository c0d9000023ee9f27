#include "model/sheet.h"

namespace zev {

void Sheet::Reset() {
    // Skills are left alone: a new sheet starts with them at 0 already.
    for (int index = 0; index < kAttributeCount; ++index) {
        setRating(index, trait(index).floor);
    }
}

void Sheet::Raise(int index) { setRating(index, static_cast<Rating>(rating(index) + 1)); }

void Sheet::Lower(int index) { setRating(index, static_cast<Rating>(rating(index) - 1)); }

void Sheet::ApplyFloors() {
    for (int index = 0; index < kTraitCount; ++index) {
        const Rating floor = trait(index).floor;
        if (rating(index) < floor) {
            setRating(index, floor);
        }
    }
}

void Sheet::CapAt5(int index) {
    if (rating(index) > kRatingCap) {
        setRating(index, kRatingCap);
    }
}

Rating Sheet::GroupTotal(int group) const {
    const TraitGroup g = traitGroup(group);
    Rating total = 0;
    for (int index = g.firstIndex; index < g.firstIndex + g.count; ++index) {
        total = static_cast<Rating>(total + rating(index));
    }
    return static_cast<Rating>(total - g.totalOffset);
}

std::string ratingText(Rating value) { return (value < 0 ? "" : " ") + std::to_string(value); }

} // namespace zev
