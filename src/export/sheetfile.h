#pragma once

#include "model/sheet.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

// The saved file: one line per rating, in trait-index order, and nothing else.
namespace zev {

// A sheet's file is its name in the name box with this appended.
inline constexpr std::string_view kSheetFileEnding = ".txt";

// One line: the rating as the sheet writes it (ratingText), a blank, CR LF.
std::string integerLine(std::int16_t value);

// The whole file for a sheet: 39 such lines.
std::string sheetFileContent(const Sheet& sheet);

// Far more than any sheet needs, however padded; a larger file is not read at all.
inline constexpr std::size_t kLargestSheetFile = 64 * 1024;

// The first thing that keeps a file from being a sheet.
enum class SheetFault {
    None,
    NotAscii,     // a byte outside ASCII on the line
    NotANumber,   // the line is not one whole number (an empty line before the last rating too)
    BelowFloor,   // the number is below its trait's floor
    AboveCap,     // the number is above 5
    TooFewLines,  // fewer than 39 ratings
    TooManyLines, // something after the 39th rating
};

struct SheetReading {
    SheetFault fault = SheetFault::None;
    int line = 0;     // where the fault is, counted from 1; with TooFewLines, how many ratings
    std::string text; // the line as it stands (NotANumber, TooManyLines) or its number (range)
    Sheet sheet;      // the 39 ratings read, when there is no fault

    [[nodiscard]] bool ok() const { return fault == SheetFault::None; }
};

// A sheet is what sheetFileContent writes and what other tools make of it: 39 lines, each one
// whole number in its trait's range, with blanks or tabs around it; LF or CR LF line ends, no
// line end after the last line, empty lines at the end and a UTF-8 byte-order mark are all
// accepted. Nothing else is.
SheetReading readSheetFile(std::string_view content);

} // namespace zev
