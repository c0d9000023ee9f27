// The sheet from the keyboard: the tab order, the keys on the current trait, the focus frame.
#include "formtesting.h"
#include "sheetfacts.h"

#include <QLineEdit>
#include <QPushButton>

using namespace zev;
using namespace zev::testing;

namespace {

void press(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QTest::keyClick(QApplication::focusWidget(), key, modifiers);
}

// The region of the surface painted since it was last emptied.
struct Repainted : QObject {
    QRegion region;
    bool eventFilter(QObject* /*watched*/, QEvent* event) override {
        if (event->type() == QEvent::Paint) {
            region += static_cast<QPaintEvent*>(event)->region();
        }
        return false;
    }
};

} // namespace

class TestKeyboard : public QObject {
    Q_OBJECT

private slots:
    void tabGoesRoundAndAClickNeverTakesTheFocus();
    void keysMoveAndChange_data();
    void keysMoveAndChange();
    void theFrameSurroundsTheCurrentRowOnly();
};

void TestKeyboard::tabGoesRoundAndAClickNeverTakesTheFocus() {
    auto form = shownForm();
    QVERIFY(QTest::qWaitForWindowActive(form.get()));
    for (QWidget* next :
         QList<QWidget*>{form->Text1(), form->Command1(), form->surface(), form->Text1()}) {
        clickAt(*form, Qt::RightButton, 150, 55);
        QCOMPARE(QApplication::focusWidget(), next);
        press(Qt::Key_Tab);
    }
    press(Qt::Key_Tab, Qt::ShiftModifier);
    press(Qt::Key_Tab, Qt::ShiftModifier);
    QCOMPARE(QApplication::focusWidget(), form->surface());
}

void TestKeyboard::keysMoveAndChange_data() {
    for (const char* column : {"start", "rating", "key", "modifiers", "current", "after"}) {
        QTest::addColumn<int>(column); // after: the start trait's rating; -1: not the sheet's key
    }
    const auto row = [](const char* name, int start, int rating, int key, int current, int after,
                        int modifiers = Qt::NoModifier) {
        QTest::newRow(name) << start << rating << key << modifiers << current << after;
    };
    row("down in a column", 0, 1, Qt::Key_Down, 1, 1);
    row("down from attributes to skills", 2, 1, Qt::Key_Down, 9, 1);
    row("up from skills to attributes", 29, 0, Qt::Key_Up, 8, 0);
    row("keypad up at the top stays", 3, 1, Qt::Key_Up, 3, 1, Qt::KeypadModifier);
    row("down at the bottom stays", 28, 0, Qt::Key_Down, 28, 0);
    row("right keeps an attribute row", 1, 1, Qt::Key_Right, 4, 1);
    row("right keeps a skill row", 14, 0, Qt::Key_Right, 24, 0);
    row("left keeps a skill row", 37, 0, Qt::Key_Left, 27, 0);
    row("left at the first column stays", 12, 0, Qt::Key_Left, 12, 0);
    row("right at the last column stays", 33, 0, Qt::Key_Right, 33, 0);
    row("home", 27, 0, Qt::Key_Home, 0, 0);
    row("end", 5, 1, Qt::Key_End, 38, 1);
    row("+ raises", 20, 2, Qt::Key_Plus, 20, 3);
    row("shifted + at 5 stays", 4, 5, Qt::Key_Plus, 4, 5, Qt::ShiftModifier);
    row("keypad - lowers", 7, 3, Qt::Key_Minus, 7, 2, Qt::KeypadModifier);
    row("- on an attribute at 1", 6, 1, Qt::Key_Minus, 6, 1);
    row("- on a skill at 0", 30, 0, Qt::Key_Minus, 30, 0);
    row("ctrl+down is not the sheet's", 0, 1, Qt::Key_Down, 0, -1, Qt::ControlModifier);
    row("alt++ is not the sheet's", 9, 0, Qt::Key_Plus, 9, -1, Qt::AltModifier);
    row("meta+up is not the sheet's", 1, 1, Qt::Key_Up, 1, -1, Qt::MetaModifier);
    row("= is not +", 9, 0, Qt::Key_Equal, 9, -1);
}

// A move changes no rating and draws nothing; "+" and "-" do what a left and a right release
// over the current row do, to the sheet and on the surface; any other key goes on.
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
    auto form = shownForm();
    prepare(*form);
    QKeyEvent event(QEvent::KeyPress, key, Qt::KeyboardModifiers(modifiers));
    QApplication::sendEvent(form->surface(), &event);
    QCOMPARE(event.isAccepted(), after >= 0);
    QCOMPARE(form->currentTrait(), current);
    QCOMPARE(int(form->sheet().rating(start)), after < 0 ? rating : after);
    QCOMPARE(form->sheet(), clicked->sheet());
    QCOMPARE(form->surface()->printed(), clicked->surface()->printed());
}

// Without the focus the sheet is drawn as ever. With it a line in the focus colour goes round
// the current row and nothing else changes; a move repaints the two frames only, and the focus
// coming and going repaints the frame.
void TestKeyboard::theFrameSurroundsTheCurrentRowOnly() {
    auto form = shownForm();
    QVERIFY(QTest::qWaitForWindowActive(form.get()));
    QVERIFY(form->surface()->focusFrame().contains(pixelsAt(*form, 45, 5))); // erő at first
    form->setCurrentTrait(23);
    const QImage unfocused = form->surface()->grab().toImage();
    Repainted painted;
    form->surface()->installEventFilter(&painted);
    const auto frame = [&form] { return QRegion(form->surface()->focusFrame()); };
    const QRegion first = frame();
    press(Qt::Key_Tab, Qt::ShiftModifier);       // back from the name box to the sheet
    QTRY_COMPARE(painted.region & first, first); // the name box is repainted on the sheet too
    painted.region = QRegion();
    press(Qt::Key_Down);
    QTRY_COMPARE(painted.region, first + frame());

    const QImage focused = form->surface()->grab().toImage();
    QRect changed;
    int pixels = 0;
    for (int y = 0; y < focused.height(); ++y) {
        for (int x = 0; x < focused.width(); ++x) {
            const bool differs = focused.pixel(x, y) != unfocused.pixel(x, y);
            changed |= differs ? QRect(x, y, 1, 1) : QRect();
            pixels += differs ? 1 : 0;
        }
    }
    const double perPoint = focused.devicePixelRatio() * form->logicalDpiY() / 72.0;
    const facts::TraitRow& row = facts::kTraits.at(24);
    const QRect band =
        QRectF(row.x * perPoint, row.y * perPoint, 90 * perPoint, 10 * perPoint).toAlignedRect();
    QVERIFY(band.contains(changed) && changed.width() >= band.width() - 2 &&
            changed.height() >= band.height() - 2);
    QVERIFY2(pixels < band.width() * band.height() / 2, "a fill, not a line");
    QCOMPARE(focused.pixelColor(changed.bottomRight()),
             form->surface()->palette().color(QPalette::Highlight));

    painted.region = QRegion();
    press(Qt::Key_Tab, Qt::ShiftModifier); // on to the button
    QTRY_COMPARE(painted.region & frame(), frame());
    QCOMPARE(form->surface()->grab().toImage(), unfocused);
}

QTEST_MAIN(TestKeyboard)
#include "tst_keyboard.moc"
