// libFuzzer target: any sequence of releases must change the sheet exactly as the oracle
// says. Each record is a 16-bit button code and two floats; every release is followed by the
// cap that the redraw applies.
#include "../releaseoracle.h"
#include "ui/clickediting.h"

#include <cstdlib>
#include <cstring>

namespace {

void check(bool promise) {
    if (!promise) {
        std::abort();
    }
}

void capAll(zev::Sheet& sheet) {
    for (int index = 0; index < zev::kTraitCount; ++index) {
        sheet.CapAt5(index);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    zev::Sheet sheet;
    sheet.Reset();
    zev::oracle::Ratings expected = zev::oracle::freshRatings();
    constexpr std::size_t kRecord = sizeof(std::int16_t) + 2 * sizeof(float);
    for (std::size_t at = 0; at + kRecord <= size; at += kRecord) {
        std::int16_t button = 0;
        float x = 0;
        float y = 0;
        std::memcpy(&button, data + at, sizeof button);
        std::memcpy(&x, data + at + sizeof button, sizeof x);
        std::memcpy(&y, data + at + sizeof button + sizeof x, sizeof y);
        zev::applyRelease(sheet, button, x, y);
        capAll(sheet);
        zev::oracle::release(expected, button, x, y);
        for (int index = 0; index < zev::kTraitCount; ++index) {
            check(sheet.rating(index) == expected.at(std::size_t(index)));
        }
        for (int group = 0; group < zev::kGroupCount; ++group) {
            check(sheet.GroupTotal(group) == zev::oracle::groupTotal(expected, group));
        }
    }
    return 0;
}
