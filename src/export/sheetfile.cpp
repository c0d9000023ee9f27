#include "export/sheetfile.h"

namespace zev {

std::string integerLine(std::int16_t value) { return ratingText(value) + " \r\n"; }

std::string sheetFileContent(const Sheet& sheet) {
    std::string content;
    for (int index = 0; index < kTraitCount; ++index) {
        content += integerLine(sheet.rating(index));
    }
    return content;
}

} // namespace zev
