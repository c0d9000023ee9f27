#include "export/sheetfile.h"

#include <algorithm>
#include <optional>

namespace zev {
namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
constexpr int kLargestCompared = 99999; // any more digits are as far out of range

std::string_view trimmed(std::string_view line) {
    const size_t first = line.find_first_not_of(" \t");
    if (first == std::string_view::npos) {
        return {};
    }
    return line.substr(first, line.find_last_not_of(" \t") - first + 1);
}

bool isAscii(std::string_view line) {
    return std::all_of(line.begin(), line.end(),
                       [](char c) { return static_cast<unsigned char>(c) <= 0x7F; });
}

// An optional sign and one or more decimal digits, nothing else.
std::optional<int> wholeNumber(std::string_view text) {
    const bool negative = text.starts_with('-');
    if (negative || text.starts_with('+')) {
        text.remove_prefix(1);
    }
    if (text.empty()) {
        return std::nullopt;
    }
    int value = 0;
    for (const char c : text) {
        if (c < '0' || c > '9') {
            return std::nullopt;
        }
        value = std::min(value * 10 + (c - '0'), kLargestCompared);
    }
    return negative ? -value : value;
}

SheetReading fault(SheetFault what, int line, std::string_view text) {
    SheetReading reading;
    reading.fault = what;
    reading.line = line;
    reading.text = text;
    return reading;
}

} // namespace

std::string integerLine(std::int16_t value) {
    return (value < 0 ? "" : " ") + std::to_string(value) + " \r\n";
}

std::string sheetFileContent(const Sheet& sheet) {
    std::string content;
    for (int index = 0; index < kTraitCount; ++index) {
        content += integerLine(sheet.rating(index));
    }
    return content;
}

SheetReading readSheetFile(std::string_view content) {
    if (content.starts_with(kByteOrderMark)) {
        content.remove_prefix(kByteOrderMark.size());
    }
    SheetReading reading;
    int ratings = 0;
    int firstEmpty = 0; // the first of the empty lines just passed, if any
    for (int number = 1; !content.empty(); ++number) {
        const size_t end = content.find('\n');
        std::string_view line = content.substr(0, end);
        content.remove_prefix(end == std::string_view::npos ? content.size() : end + 1);
        if (end != std::string_view::npos && line.ends_with('\r')) {
            line.remove_suffix(1);
        }
        const std::string_view token = trimmed(line);
        if (token.empty()) {
            firstEmpty = firstEmpty == 0 ? number : firstEmpty;
            continue;
        }
        if (ratings == kTraitCount) {
            return fault(SheetFault::TooManyLines, number, line);
        }
        if (firstEmpty != 0) {
            return fault(SheetFault::NotANumber, firstEmpty, {});
        }
        if (!isAscii(line)) {
            return fault(SheetFault::NotAscii, number, {});
        }
        const std::optional<int> value = wholeNumber(token);
        if (!value) {
            return fault(SheetFault::NotANumber, number, line);
        }
        if (*value < trait(ratings).floor || *value > kRatingCap) {
            return fault(*value > kRatingCap ? SheetFault::AboveCap : SheetFault::BelowFloor,
                         number, token);
        }
        reading.sheet.setRating(ratings++, Rating(*value));
    }
    return ratings < kTraitCount ? fault(SheetFault::TooFewLines, ratings, {}) : reading;
}

} // namespace zev
