#pragma once

#include <QString>

#include <cstdint>

// The few number-to-text and text-to-number conversions the window relies on.
namespace zev {

// As the sheet writes a number (ratingText, model/sheet.h): " 12", "-3"; no trailing blank.
QString numberToDisplayText(std::int16_t value);

// Plain digits with no leading blank: 0 gives "0".
QString integerToText(int value);

// The number at the start of the text (leading blanks skipped), 0 when there is none.
double textToNumber(const QString& text);

} // namespace zev
