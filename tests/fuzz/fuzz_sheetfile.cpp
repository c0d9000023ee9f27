// libFuzzer target: any bytes are read as a sheet file without a crash or a hang; a fault names
// a line the file has (one of the 39 where a rating is out of its range), and a file taken as a
// sheet is one a save gives back: its ratings, each in its range, saved and read again, are the
// same ratings, and saving them again gives the same bytes.
#include "export/sheetfile.h"

#include <algorithm>
#include <cstdlib>

namespace {

void check(bool promise) {
    if (!promise) {
        std::abort();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view content(reinterpret_cast<const char*>(data), size);
    const zev::SheetReading reading = zev::readSheetFile(content);
    if (!reading.ok()) {
        const int lines = int(std::count(content.begin(), content.end(), '\n')) + 1;
        const bool ranged = reading.fault == zev::SheetFault::BelowFloor ||
                            reading.fault == zev::SheetFault::AboveCap;
        check(reading.fault == zev::SheetFault::TooFewLines
                  ? reading.line >= 0 && reading.line < zev::kTraitCount
                  : reading.line >= 1 && reading.line <= (ranged ? zev::kTraitCount : lines));
        return 0;
    }
    for (int index = 0; index < zev::kTraitCount; ++index) {
        const zev::Rating rating = reading.sheet.rating(index);
        check(rating >= zev::trait(index).floor && rating <= zev::kRatingCap);
    }
    const std::string saved = zev::sheetFileContent(reading.sheet);
    const zev::SheetReading again = zev::readSheetFile(saved);
    check(again.ok() && again.sheet == reading.sheet &&
          zev::sheetFileContent(again.sheet) == saved);
    return 0;
}
