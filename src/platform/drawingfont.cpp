#include "platform/drawingfont.h"

#include <QFontDatabase>
#include <QStringList>

namespace zev {
namespace {

// Why this face: the widest row, a label with its nine blanks and five marks, must end well
// before the next column 100 pt on, at an 8 pt size that stays readable; that takes a
// condensed face. A system's narrow faces come and go between releases (a fallback to a wide
// face pushes rows into the next column), so the program carries its own. Roboto Condensed
// covers every Hungarian letter, its widest row is about 91 pt, and its Apache 2.0 licence
// (resources/fonts/LICENSE-Apache-2.0) allows carrying it inside the program.
constexpr const char* kFontResource = ":/zev/fonts/RobotoCondensed-Regular.ttf";
constexpr qreal kPointSize = 8.0;

QString carriedFamily() {
    static const QString family = [] {
        const int id = QFontDatabase::addApplicationFont(QString::fromLatin1(kFontResource));
        return QFontDatabase::applicationFontFamilies(id).value(0);
    }();
    return family;
}

} // namespace

QFont sheetDrawingFont() {
    QFont font(carriedFamily());
    font.setPointSizeF(kPointSize);
    return font;
}

} // namespace zev
