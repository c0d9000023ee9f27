#pragma once

#include <cstdint>

namespace zev {

// Mouse buttons as a release reports them: Qt's value for the button, cut to 16 bits (the
// surface that makes the codes checks these against Qt's).
inline constexpr std::int16_t kLeftButton = 1;
inline constexpr std::int16_t kRightButton = 2;

} // namespace zev
