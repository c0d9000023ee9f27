// The window as the user meets it: its frame, its controls, its first drawing and mouse
// editing through real widget events. Runs at whatever logical DPI the platform reports;
// ZEV_EXPECTED_DPI, when set, says which DPI the run was meant to have.
#include "formtesting.h"
#include "platform/formtimer.h"
#include "sheetfacts.h"
#include "ui/sheetdrawing.h"

#include <QFile>
#include <QFontMetricsF>
#include <QImage>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtEndian>

using namespace zev;
using namespace zev::testing;

class TestForm1 : public QObject {
    Q_OBJECT

private slots:
    void runsAtTheIntendedDpi();
    void windowHasCaptionIconAndFixedClientArea();
    void iconHoldsFiveImagesIn16And256Colours();
    void controlsSitAtTheirTwipsPositions();
    void nameBoxHasFocusAndComesFirstInTabOrder();
    void firstTickDrawsOnceAndClearsTheFlag();
    void timerDrawsTheSheetSoonAfterStart();
    void releaseEditsAndRedraws_data();
    void releaseEditsAndRedraws();
    void closingEndsWithoutAQuestion();
    void releaseBeforeFirstTickDrawsAtOnce();
    void releaseOutsideTheWindowStillArrives();
    void releasesOverTheControlsChangeNoRating();
    void typingTheNameDrawsNothing();
    void defaultSheetInksEveryRowAndNothingBelow();
    void rowsAtFiveEndBeforeTheNextColumn();
};

void TestForm1::runsAtTheIntendedDpi() {
    const QByteArray expected = qgetenv("ZEV_EXPECTED_DPI");
    if (expected.isEmpty()) {
        QSKIP("no particular DPI was asked for");
    }
    Form1 form;
    QCOMPARE(form.logicalDpiY(), expected.toInt());
}

void TestForm1::windowHasCaptionIconAndFixedClientArea() {
    Form1 form;
    form.show();
    QCOMPARE(form.windowTitle(), QStringLiteral("ZEV"));
    const QList<QSize> iconSizes = form.windowIcon().availableSizes();
    for (const QSize size : {QSize(16, 16), QSize(32, 32), QSize(48, 48)}) {
        QVERIFY2(iconSizes.contains(size), "the icon lacks a 16, 32 or 48 pixel image");
    }
    const double dpi = form.logicalDpiX();
    const QSize client(qRound(6570 * dpi / 1440), qRound(5445 * dpi / 1440));
    QCOMPARE(form.size(), client);
    QCOMPARE(form.minimumSize(), client);
    QCOMPARE(form.maximumSize(), client);
    QCOMPARE(form.surface()->geometry(), QRect(QPoint(0, 0), client));
    QVERIFY(!form.windowFlags().testFlag(Qt::WindowMaximizeButtonHint));
    QVERIFY(!form.windowFlags().testFlag(Qt::WindowMinimizeButtonHint));
    QVERIFY(form.windowFlags().testFlag(Qt::WindowCloseButtonHint));
}

void TestForm1::iconHoldsFiveImagesIn16And256Colours() {
    QFile ico(QStringLiteral(":/zev/zev.ico"));
    QVERIFY(ico.open(QIODevice::ReadOnly));
    const QByteArray bytes = ico.readAll();
    const auto word = [&bytes](qsizetype at) {
        return int(uchar(bytes.at(at))) | int(uchar(bytes.at(at + 1))) << 8;
    };
    QCOMPARE(word(2), 1); // an icon, not a cursor
    QCOMPARE(word(4), 5);
    // (size, bits per pixel) of each directory entry, in file order.
    const QList<QPair<int, int>> expected{{16, 4}, {16, 8}, {32, 4}, {32, 8}, {48, 8}};
    for (int n = 0; n < 5; ++n) {
        const qsizetype entry = 6 + 16 * n;
        QCOMPARE(int(uchar(bytes.at(entry))), expected[n].first);
        QCOMPARE(int(uchar(bytes.at(entry + 1))), expected[n].first);
        QCOMPARE(word(entry + 6), expected[n].second);
        // The bitmap header inside must agree with the directory.
        const qsizetype image = qFromLittleEndian<quint32>(bytes.constData() + entry + 12);
        QCOMPARE(word(image + 14), expected[n].second);
    }
}

void TestForm1::controlsSitAtTheirTwipsPositions() {
    Form1 form;
    // Each edge within a pixel of where its twips fall (1440 twips to the inch).
    const double perTwip = form.logicalDpiX() / 1440.0;
    const auto near = [perTwip](const QRect& r, double left, double top, double width,
                                double height) {
        return qAbs(r.left() - left * perTwip) <= 1 && qAbs(r.top() - top * perTwip) <= 1 &&
               qAbs(r.x() + r.width() - (left + width) * perTwip) <= 1 &&
               qAbs(r.y() + r.height() - (top + height) * perTwip) <= 1;
    };
    QVERIFY2(near(form.Text1()->geometry(), 120, 4440, 1575, 285), "the name box is misplaced");
    QVERIFY2(near(form.Command1()->geometry(), 1920, 4440, 1695, 375), "the button is misplaced");
    QCOMPARE(form.Text1()->text(), QStringLiteral("Karakter neve"));
    QCOMPARE(form.Command1()->text(), QStringLiteral("Mentés"));
    // Both lie below the lowest drawn line, the skill totals at 150 pt.
    QVERIFY(form.Text1()->y() > pixelsAt(form, 0, 160).y());
}

void TestForm1::nameBoxHasFocusAndComesFirstInTabOrder() {
    Form1 form;
    form.show();
    QVERIFY(QTest::qWaitForWindowActive(&form));
    QCOMPARE(QApplication::focusWidget(), form.Text1());
    QCOMPARE(form.Text1()->nextInFocusChain(), form.Command1());
}

void TestForm1::firstTickDrawsOnceAndClearsTheFlag() {
    Form1 form;
    form.Form_Load();
    QCOMPARE(form.Timer1()->Tag, QStringLiteral("1"));
    QCOMPARE(form.Timer1()->interval(), 10);
    QVERIFY(form.surface()->printed().isEmpty());

    form.Timer1_Timer();
    QCOMPARE(form.Timer1()->Tag, QStringLiteral("0"));
    QCOMPARE(rowAt(form, 0, 0), QStringLiteral("erő         ^"));

    form.surface()->Cls();
    form.Timer1_Timer();
    form.Timer1_Timer();
    QVERIFY2(form.surface()->printed().isEmpty(), "later ticks must not draw");
    QCOMPARE(form.Timer1()->Tag, QStringLiteral("0"));
    QVERIFY(form.Timer1()->isActive());
}

void TestForm1::timerDrawsTheSheetSoonAfterStart() {
    Form1 form;
    form.Form_Load();
    form.show();
    QTRY_COMPARE_WITH_TIMEOUT(form.Timer1()->Tag, QStringLiteral("0"), 2000);
    QCOMPARE(form.surface()->printed().size(), 39 + 9 + 18); // labels, marks, total rows
}

void TestForm1::releaseEditsAndRedraws_data() {
    QTest::addColumn<int>("button");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<QPointF>("at");
    QTest::addColumn<int>("trait");
    QTest::addColumn<int>("start");
    QTest::addColumn<int>("expected");
    const int none = Qt::NoModifier;
    QTest::newRow("left raises erő")
        << int(Qt::LeftButton) << none << QPointF(50, 5) << 0 << 1 << 2;
    QTest::newRow("left on a five keeps five")
        << int(Qt::LeftButton) << none << QPointF(250, 145) << 38 << 5 << 5;
    QTest::newRow("right on an attribute at 1")
        << int(Qt::RightButton) << none << QPointF(150, 15) << 4 << 1 << 1;
    QTest::newRow("right on a skill at 0")
        << int(Qt::RightButton) << none << QPointF(120, 65) << 20 << 0 << 0;
    QTest::newRow("right lowers") << int(Qt::RightButton) << none << QPointF(120, 65) << 20 << 3
                                  << 2;
    QTest::newRow("middle changes nothing")
        << int(Qt::MiddleButton) << none << QPointF(50, 5) << 0 << 3 << 3;
    QTest::newRow("back button changes nothing")
        << int(Qt::BackButton) << none << QPointF(50, 5) << 0 << 3 << 3;
    QTest::newRow("forward button changes nothing")
        << int(Qt::ForwardButton) << none << QPointF(50, 5) << 0 << 3 << 3;
    QTest::newRow("shift does not change a left release")
        << int(Qt::LeftButton) << int(Qt::ShiftModifier) << QPointF(150, 55) << 19 << 0 << 1;
    QTest::newRow("ctrl does not change a right release")
        << int(Qt::RightButton) << int(Qt::ControlModifier) << QPointF(250, 25) << 8 << 4 << 3;
    QTest::newRow("alt with shift does not change a left release")
        << int(Qt::LeftButton) << int(Qt::AltModifier | Qt::ShiftModifier) << QPointF(60, 25) << 2
        << 2 << 3;
}

// The sheet changes only where the table says, and the whole sheet is drawn again.
void TestForm1::releaseEditsAndRedraws() {
    QFETCH(int, button);
    QFETCH(int, modifiers);
    QFETCH(QPointF, at);
    QFETCH(int, trait);
    QFETCH(int, start);
    QFETCH(int, expected);
    auto form = shownForm();
    form->sheet().setRating(trait, Rating(start));
    Sheet after = form->sheet();
    after.setRating(trait, Rating(expected));
    form->surface()->Cls();
    QTest::mouseClick(form->surface(), Qt::MouseButton(button), Qt::KeyboardModifiers(modifiers),
                      pixelsAt(*form, float(at.x()), float(at.y())));
    QCOMPARE(form->sheet(), after);
    const facts::TraitRow& row = facts::kTraits.at(size_t(trait));
    QCOMPARE(rowAt(*form, row.x, row.y), facts::label(trait) + QString(expected, u'^'));
    QCOMPARE(form->surface()->printed().size(), 39 + 9 + 18 + (expected - (trait < 9 ? 1 : 0)));
}

// The close is accepted at once, with nothing asked, and closing the last window ends the loop.
void TestForm1::closingEndsWithoutAQuestion() {
    auto form = shownForm();
    clickAt(*form, Qt::LeftButton, 50, 5); // an unsaved change
    QVERIFY(form->close());
    QVERIFY(!form->isVisible());
    QVERIFY(QGuiApplication::quitOnLastWindowClosed());
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        QVERIFY2(!widget->isVisible(), qPrintable(widget->metaObject()->className()));
    }
}

void TestForm1::releaseBeforeFirstTickDrawsAtOnce() {
    Form1 form;
    form.Form_Load();
    form.show();
    form.Timer1()->stop(); // hold the first tick back
    clickAt(form, Qt::LeftButton, 150, 55);
    QCOMPARE(rowAt(form, 100, 50), QStringLiteral("Állatszelidítés         ^"));
    QCOMPARE(form.Timer1()->Tag, QStringLiteral("1"));
    form.surface()->Cls();
    form.Timer1_Timer();
    QCOMPARE(form.Timer1()->Tag, QStringLiteral("0"));
    QCOMPARE(rowAt(form, 100, 50), QStringLiteral("Állatszelidítés         ^"));
}

void TestForm1::releaseOutsideTheWindowStillArrives() {
    auto form = shownForm();
    QTest::mousePress(form->surface(), Qt::LeftButton, Qt::NoModifier, pixelsAt(*form, 50, 5));
    QTest::mouseRelease(form->surface(), Qt::LeftButton, Qt::NoModifier, QPoint(-30, -40));
    QCOMPARE(form->sheet().rating(0), Rating(2)); // x < 90 and y < 10: erő
}

void TestForm1::releasesOverTheControlsChangeNoRating() {
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString previous = QDir::currentPath();
    QDir::setCurrent(dir.path()); // the button saves into the current folder
    auto form = shownForm();
    const Sheet before = form->sheet();
    for (QWidget* control :
         {static_cast<QWidget*>(form->Text1()), static_cast<QWidget*>(form->Command1())}) {
        for (Qt::MouseButton button : {Qt::LeftButton, Qt::RightButton}) {
            QTest::mouseClick(control, button, Qt::NoModifier, QPoint(5, 5));
        }
    }
    QDir::setCurrent(previous);
    QCOMPARE(form->sheet(), before);
    QVERIFY2(QFile::exists(dir.filePath(QStringLiteral("Karakter neve.txt"))),
             "a left click on the button should have saved");
}

void TestForm1::typingTheNameDrawsNothing() {
    auto form = shownForm();
    form->surface()->Cls();
    QTest::keyClicks(form->Text1(), QStringLiteral("Kovacs"));
    QVERIFY(form->surface()->printed().isEmpty());
    QCOMPARE(form->Text1()->text(), QStringLiteral("Karakter neveKovacs"));
}

namespace {

// The surface as it was really painted, in the face the program really got.
struct Painted {
    QImage image;
    PointScale scale;
    QRgb background;

    // The image's pixels under an area of the sheet given in points.
    [[nodiscard]] QRect area(float x, float y, float width, float height) const {
        const double perPoint = scale.pixelsFromPoints(1.0) * image.devicePixelRatio();
        return QRectF(x * perPoint, y * perPoint, width * perPoint, height * perPoint)
            .toAlignedRect()
            .intersected(image.rect());
    }
    [[nodiscard]] bool hasInk(const QRect& pixels) const {
        for (int y = pixels.top(); y <= pixels.bottom(); ++y) {
            for (int x = pixels.left(); x <= pixels.right(); ++x) {
                if (image.pixel(x, y) != background) {
                    return true;
                }
            }
        }
        return false;
    }
    [[nodiscard]] bool hasInk(float x, float y, float width, float height) const {
        return hasInk(area(x, y, width, height));
    }
};

Painted paint(const Form1& form) {
    const QImage image = form.surface()->grab().toImage();
    // Nothing is ever drawn at the surface's bottom right corner.
    return {image, form.surface()->scale(), image.pixel(image.width() - 1, image.height() - 1)};
}

} // namespace

void TestForm1::defaultSheetInksEveryRowAndNothingBelow() {
    auto form = shownForm();
    const Painted painted = paint(*form);
    for (int column = 0; column < 3; ++column) {
        const float x = 100.0F * float(column);
        for (float y : {0.0F, 10.0F, 20.0F, 30.0F, 50.0F, 60.0F, 70.0F, 80.0F, 90.0F, 100.0F,
                        110.0F, 120.0F, 130.0F, 140.0F, 150.0F}) {
            QVERIFY2(painted.hasInk(x, y, 90, 10),
                     qPrintable(QStringLiteral("no ink at (%1, %2)").arg(x).arg(y)));
        }
    }
    // The totals' parentheses reach a point below their 10 pt rows; nothing else may.
    QVERIFY2(!painted.hasInk(0, 162, 328, 59), "ink between the sheet and the controls");
    QVERIFY2(!painted.hasInk(0, 42, 328, 7), "ink between the two blocks");
}

void TestForm1::rowsAtFiveEndBeforeTheNextColumn() {
    auto form = shownForm();
    for (int index = 0; index < kTraitCount; ++index) {
        form->sheet().setRating(index, 5);
    }
    form->cucc();
    const Painted painted = paint(*form);
    // A visible gap before the next column, and before the window's right edge.
    constexpr float kGap = 3.0F;
    const float ends[3] = {100.0F, 200.0F, 328.5F};
    for (int column = 0; column < 3; ++column) {
        const float start = 100.0F * float(column);
        float widest = 0.0F;
        // The last point is left out: the next column's first letter may touch it.
        for (float width = 1.0F; start + width <= ends[column] - 1.0F; width += 0.5F) {
            if (painted.hasInk(start + width - 0.5F, 0, 0.5F, 160)) {
                widest = width;
            }
        }
        qInfo("column %d: the widest row ends %.1f pt from its start", column, double(widest));
        QVERIFY2(
            start + widest <= ends[column] - kGap,
            qPrintable(QStringLiteral("column %1 runs to %2 pt").arg(column).arg(start + widest)));
        QVERIFY2(widest > 50.0F, "the rows at five are missing");
    }
    // Rows are 10 pt apart: the tallest letter over the deepest one must fit between them.
    QString everyLabel;
    for (int index = 0; index < kTraitCount; ++index) {
        everyLabel += traitLabel(index);
    }
    const QFontMetricsF metrics(form->surface()->font(), form->surface());
    const float inkHeight =
        painted.scale.pointsFromPixels(metrics.tightBoundingRect(everyLabel + u'^').height());
    QVERIFY2(inkHeight < 10.0F,
             qPrintable(QStringLiteral("letters are %1 pt tall").arg(inkHeight)));
}

QTEST_MAIN(TestForm1)
#include "tst_form1.moc"
