#include "platform/units.h"

#include <cmath>

namespace zev {

int PointScale::pixelsFromTwips(int twips) const {
    return static_cast<int>(std::lround(twips * dpi_ / 1440.0));
}

} // namespace zev
