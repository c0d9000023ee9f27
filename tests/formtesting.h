#pragma once
// Helpers for driving a real Form1 through widget events, in points.

#include "platform/sheetsurfacewidget.h"
#include "ui/form1.h"

#include <QTest>

#include <memory>

namespace zev::testing {

// A started window as the user first sees it: loaded, shown, and the sheet drawn once.
inline std::unique_ptr<Form1> shownForm() {
    auto form = std::make_unique<Form1>();
    form->Form_Load();
    form->show();
    form->Timer1_Timer();
    return form;
}

inline QPoint pixelsAt(const Form1& form, float x, float y) {
    const PointScale scale = form.surface()->scale();
    return QPointF(scale.pixelsFromPoints(x), scale.pixelsFromPoints(y)).toPoint();
}

// A press and release of one button at a position in points on the sheet.
inline void clickAt(Form1& form, Qt::MouseButton button, float x, float y) {
    QTest::mouseClick(form.surface(), button, Qt::NoModifier, pixelsAt(form, x, y));
}

// The texts printed after each pen setting, joined, as the sheet shows them.
inline QString rowAt(const Form1& form, float x, float y) {
    QString row;
    bool inRow = false;
    for (const PrintedText& item : form.surface()->printed()) {
        if (item.x == x && item.y == y) {
            inRow = true;
        } else if (inRow && item.y != y) {
            break;
        }
        if (inRow) {
            row += item.text;
        }
    }
    return row;
}

} // namespace zev::testing
