#include "platform/textconversions.h"

#include <QRegularExpression>

namespace zev {

QString numberToDisplayText(std::int16_t value) {
    const QString digits = QString::number(value);
    return value >= 0 ? QStringLiteral(" ") + digits : digits;
}

QString integerToText(int value) {
    return QString::number(value);
}

double textToNumber(const QString& text) {
    static const QRegularExpression leadingNumber(
        QStringLiteral(R"(^\s*([+-]?(?:\d+\.?\d*|\.\d+)(?:[eE][+-]?\d+)?))"));
    const QRegularExpressionMatch match = leadingNumber.match(text);
    return match.hasMatch() ? match.captured(1).toDouble() : 0.0;
}

QByteArray integerLine(std::int16_t value) {
    return numberToDisplayText(value).toLatin1() + QByteArrayLiteral(" \r\n");
}

} // namespace zev
