#include "platform/textconversions.h"

#include "model/sheet.h"

namespace zev {

QString numberToDisplayText(std::int16_t value) {
    return QString::fromStdString(ratingText(value));
}

QString integerToText(int value) { return QString::number(value); }

double textToNumber(const QString& text) {
    // Hand-rolled rather than a regular expression: this runs on every timer tick, and the
    // regex engine alone would add half a megabyte to a program that is otherwise tiny.
    qsizetype at = 0;
    const auto skipDigits = [&] {
        const qsizetype from = at;
        while (at < text.size() && text.at(at).isDigit() && text.at(at).unicode() < 128) {
            ++at;
        }
        return at > from;
    };
    while (at < text.size() && text.at(at).isSpace()) {
        ++at;
    }
    const qsizetype start = at;
    if (at < text.size() && (text.at(at) == u'+' || text.at(at) == u'-')) {
        ++at;
    }
    bool digits = skipDigits();
    if (at < text.size() && text.at(at) == u'.') {
        ++at;
        digits = skipDigits() || digits;
    }
    if (!digits) {
        return 0.0;
    }
    const qsizetype mantissaEnd = at;
    if (at < text.size() && (text.at(at) == u'e' || text.at(at) == u'E')) {
        ++at;
        if (at < text.size() && (text.at(at) == u'+' || text.at(at) == u'-')) {
            ++at;
        }
        if (!skipDigits()) {
            at = mantissaEnd; // "1e" is the number 1 followed by text
        }
    }
    return QStringView(text).mid(start, at - start).toDouble();
}

} // namespace zev
