#include "platform/drawingfont.h"

#include <QFontInfo>

#include <cstdio>

namespace zev {
namespace {

// Why this face: the widest row, a label and five marks, must end well before the next column
// (the sheet's layout, ui/sheetlayout.cpp), at an 8 pt size that stays readable; that takes a
// condensed face. A system's narrow faces come and go between releases (a fallback to a wide
// face pushes rows into the next column), so the program asks for one face by name: Roboto
// Condensed, which covers every Hungarian letter and is narrow enough. Debian ships it in
// fonts-roboto-unhinted; the package depends on it and the build commands install
// it, so every build draws with that system copy and none carries its own.
constexpr const char* kFamily = "Roboto Condensed";
constexpr qreal kPointSize = 8.0;
constexpr qreal kHeadingPointSize = 14.0;

// Without the face the sheet still opens in whatever fontconfig offers instead, but its rows
// may run into the next column; that is said once, where whoever started the program sees it.
void reportMissingFace(const QFont& font) {
    static bool reported = false;
    const QString found = QFontInfo(font).family();
    if (reported || found == QLatin1String(kFamily)) {
        return;
    }
    reported = true;
    std::fprintf(stderr,
                 "zev: the sheet's face %s is not installed (Debian package "
                 "fonts-roboto-unhinted); drawing with %s, rows may not fit their columns\n",
                 kFamily, qUtf8Printable(found));
}

} // namespace

QFont sheetDrawingFont() {
    QFont font(QString::fromLatin1(kFamily));
    font.setPointSizeF(kPointSize);
    reportMissingFace(font);
    return font;
}

QFont sheetHeadingFont() {
    QFont font = sheetDrawingFont();
    font.setPointSizeF(kHeadingPointSize);
    font.setBold(true);
    return font;
}

} // namespace zev
