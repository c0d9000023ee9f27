// The sheet from the keyboard: the tab order, the current trait and its keys, the focus frame.
#include "formtesting.h"
#include "sheetfacts.h"

#include <QLineEdit>
#include <QPushButton>

using namespace zev;
using namespace zev::testing;

namespace {

// The keys whose presses the sheet leaves to its parent.
struct KeysPassedOn : QObject {
    QList<int> keys;
    bool eventFilter(QObject* /*watched*/, QEvent* event) override {
        if (event->type() == QEvent::KeyPress) {
            keys << static_cast<QKeyEvent*>(event)->key();
        }
        return false;
    }
};

// The region of the surface painted since the filter was installed.
struct Repainted : QObject {
    QRegion region;
    bool eventFilter(QObject* /*watched*/, QEvent* event) override {
        if (event->type() == QEvent::Paint) {
            region += static_cast<QPaintEvent*>(event)->region();
        }
        return false;
    }
};

std::unique_ptr<Form1> focusedSheet() {
    auto form = shownForm();
    if (QTest::qWaitForWindowActive(form.get())) {
        form->surface()->setFocus(Qt::TabFocusReason);
    }
    return form;
}

// A key as the user presses it: to whichever widget has the focus.
void press(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QTest::keyClick(QApplication::focusWidget(), key, modifiers);
}

QImage grabbed(const Form1& form) { return form.surface()->grab().toImage(); }

} // namespace

class TestKeyboard : public QObject {
    Q_OBJECT

private slots:
    void tabGoesRoundAndAClickNeverTakesTheFocus();
    void keysMoveAndChange_data();
    void keysMoveAndChange();
    void theFrameSurroundsTheCurrentRowOnlyWhileFocused();
    void aMoveRepaintsTheTwoFramesOnly();
};

void TestKeyboard::tabGoesRoundAndAClickNeverTakesTheFocus() {
    auto form = shownForm();
    QVERIFY(QTest::qWaitForWindowActive(form.get()));
    clickAt(*form, Qt::LeftButton, 50, 5);
    clickAt(*form, Qt::RightButton, 150, 55);
    QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("+x"));
    QCOMPARE(form->Text1()->text(), QStringLiteral("Karakter neve+x"));
    const QList<QWidget*> round{form->Command1(), form->surface(), form->Text1()};
    for (QWidget* next : round) {
        press(Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), next);
        clickAt(*form, Qt::LeftButton, 150, 55); // nor does a click take it from a control
        QCOMPARE(QApplication::focusWidget(), next);
    }
    press(Qt::Key_Tab, Qt::ShiftModifier);
    QCOMPARE(QApplication::focusWidget(), form->surface());
}

void TestKeyboard::keysMoveAndChange_data() {
    QTest::addColumn<int>("start");
    QTest::addColumn<int>("rating"); // of the start trait, before the key
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<int>("current");
    QTest::addColumn<int>("after"); // the start trait's rating after the key; -1: not the sheet's
    const int none = Qt::NoModifier;
    const int pad = Qt::KeypadModifier;
    QTest::newRow("down in a column") << 0 << 1 << int(Qt::Key_Down) << none << 1 << 1;
    QTest::newRow("down from attributes to skills")
        << 2 << 1 << int(Qt::Key_Down) << none << 9 << 1;
    QTest::newRow("up from skills to attributes") << 29 << 0 << int(Qt::Key_Up) << none << 8 << 0;
    QTest::newRow("up in a column") << 24 << 0 << int(Qt::Key_Up) << pad << 23 << 0;
    QTest::newRow("up at the top stays") << 3 << 1 << int(Qt::Key_Up) << none << 3 << 1;
    QTest::newRow("down at the bottom stays") << 28 << 0 << int(Qt::Key_Down) << none << 28 << 0;
    QTest::newRow("right keeps an attribute row") << 1 << 1 << int(Qt::Key_Right) << none << 4 << 1;
    QTest::newRow("right keeps a skill row") << 14 << 0 << int(Qt::Key_Right) << none << 24 << 0;
    QTest::newRow("left keeps a skill row") << 37 << 0 << int(Qt::Key_Left) << pad << 27 << 0;
    QTest::newRow("left keeps an attribute row") << 8 << 1 << int(Qt::Key_Left) << none << 5 << 1;
    QTest::newRow("left at the first column stays")
        << 12 << 0 << int(Qt::Key_Left) << none << 12 << 0;
    QTest::newRow("right at the last column stays")
        << 33 << 0 << int(Qt::Key_Right) << none << 33 << 0;
    QTest::newRow("home") << 27 << 0 << int(Qt::Key_Home) << none << 0 << 0;
    QTest::newRow("end") << 5 << 1 << int(Qt::Key_End) << pad << 38 << 1;
    QTest::newRow("+ raises") << 20 << 2 << int(Qt::Key_Plus) << none << 20 << 3;
    QTest::newRow("shifted + raises")
        << 4 << 1 << int(Qt::Key_Plus) << int(Qt::ShiftModifier) << 4 << 2;
    QTest::newRow("keypad + at 5 stays") << 38 << 5 << int(Qt::Key_Plus) << pad << 38 << 5;
    QTest::newRow("- lowers") << 7 << 3 << int(Qt::Key_Minus) << none << 7 << 2;
    QTest::newRow("keypad - on an attribute at 1") << 6 << 1 << int(Qt::Key_Minus) << pad << 6 << 1;
    QTest::newRow("- on a skill at 0") << 30 << 0 << int(Qt::Key_Minus) << none << 30 << 0;
    QTest::newRow("ctrl+down is not the sheet's")
        << 0 << 1 << int(Qt::Key_Down) << int(Qt::ControlModifier) << 0 << -1;
    QTest::newRow("alt++ is not the sheet's")
        << 9 << 0 << int(Qt::Key_Plus) << int(Qt::AltModifier) << 9 << -1;
    QTest::newRow("= is not +") << 9 << 0 << int(Qt::Key_Equal) << none << 9 << -1;
    QTest::newRow("a letter is not the sheet's") << 9 << 0 << int(Qt::Key_A) << none << 9 << -1;
}

// A move changes no rating and draws nothing; "+" and "-" do what a left and a right release
// over the current row do, to the sheet and on the surface.
void TestKeyboard::keysMoveAndChange() {
    QFETCH(int, start);
    QFETCH(int, rating);
    QFETCH(int, key);
    QFETCH(int, modifiers);
    QFETCH(int, current);
    QFETCH(int, after);
    const auto prepare = [&](Form1& form) {
        form.setCurrentTrait(start);
        form.sheet().setRating(start, Rating(rating));
        form.sheet().setRating(start < 9 ? 10 : 0, -1); // another trait below its floor
        form.surface()->Cls();
    };
    auto clicked = shownForm();
    prepare(*clicked);
    if (after >= 0 && (key == Qt::Key_Plus || key == Qt::Key_Minus)) {
        const facts::TraitRow& row = facts::kTraits.at(size_t(start));
        clickAt(*clicked, key == Qt::Key_Plus ? Qt::LeftButton : Qt::RightButton, row.x + 45,
                row.y + 5);
    }
    auto form = focusedSheet();
    QVERIFY(form->surface()->hasFocus());
    prepare(*form);
    KeysPassedOn passed;
    form->installEventFilter(&passed);
    QTest::keyClick(form->surface(), Qt::Key(key), Qt::KeyboardModifiers(modifiers));
    QCOMPARE(form->currentTrait(), current);
    QCOMPARE(int(form->sheet().rating(start)), after < 0 ? rating : after);
    QCOMPARE(form->sheet(), clicked->sheet());
    QCOMPARE(form->surface()->printed(), clicked->surface()->printed());
    QCOMPARE(passed.keys.contains(key), after < 0);
}

// Without the focus the sheet is drawn as ever; with it, a frame in the focus colour
// surrounds the current row's band and nothing else changes.
void TestKeyboard::theFrameSurroundsTheCurrentRowOnlyWhileFocused() {
    auto form = shownForm();
    QVERIFY(QTest::qWaitForWindowActive(form.get()));
    form->setCurrentTrait(24);
    const QImage unfocused = grabbed(*form);
    form->surface()->setFocus(Qt::TabFocusReason);
    const QImage focused = grabbed(*form);
    QRect changed;
    int pixels = 0;
    for (int y = 0; y < focused.height(); ++y) {
        for (int x = 0; x < focused.width(); ++x) {
            if (focused.pixel(x, y) != unfocused.pixel(x, y)) {
                changed |= QRect(x, y, 1, 1);
                ++pixels;
            }
        }
    }
    const double perPoint =
        form->surface()->scale().pixelsFromPoints(1) * focused.devicePixelRatio();
    const facts::TraitRow& row = facts::kTraits.at(24);
    const QRect band =
        QRectF(row.x * perPoint, row.y * perPoint, 90 * perPoint, 10 * perPoint).toAlignedRect();
    QVERIFY2(band.contains(changed),
             qPrintable(QStringLiteral("the frame reaches outside its row")));
    QVERIFY2(changed.width() >= band.width() - 2 && changed.height() >= band.height() - 2,
             "the frame does not go round the row");
    QVERIFY2(pixels < band.width() * band.height() / 2, "the frame covers its row");
    QCOMPARE(focused.pixelColor(changed.bottomRight()),
             form->surface()->palette().color(QPalette::Highlight));
    press(Qt::Key_Tab);
    QCOMPARE(grabbed(*form), unfocused);
}

// A move repaints its two frames only; the focus coming and going repaints the frame.
void TestKeyboard::aMoveRepaintsTheTwoFramesOnly() {
    auto form = focusedSheet();
    QVERIFY(QTest::qWaitForWindowExposed(form.get()));
    QCoreApplication::processEvents(); // the first drawing and the focus frame
    const QRect before = form->surface()->focusFrame();
    Repainted repainted;
    form->surface()->installEventFilter(&repainted);
    press(Qt::Key_Right);
    QVERIFY(form->surface()->focusFrame() != before);
    QTRY_COMPARE(repainted.region, QRegion(before) + form->surface()->focusFrame());
    for (const Qt::KeyboardModifiers away : {Qt::NoModifier, Qt::ShiftModifier}) {
        repainted.region = QRegion();
        press(Qt::Key_Tab, away);                           // to the name box, and back
        const QRegion frame(form->surface()->focusFrame()); // and what the name box covers
        QTRY_COMPARE(repainted.region & frame, frame);
    }
}

QTEST_MAIN(TestKeyboard)
#include "tst_keyboard.moc"
