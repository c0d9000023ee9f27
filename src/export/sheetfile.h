#pragma once

#include "model/sheet.h"

#include <cstdint>
#include <string>

// The saved file: one line per rating, in trait-index order, and nothing else.
namespace zev {

// One line: the rating as the sheet writes it (ratingText), a blank, CR LF.
std::string integerLine(std::int16_t value);

// The whole file for a sheet: 39 such lines.
std::string sheetFileContent(const Sheet& sheet);

} // namespace zev
