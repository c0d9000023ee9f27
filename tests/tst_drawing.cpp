// What the redraw puts on the surface, read from a surface that records every call.
#include "model/sheet.h"
#include "ui/sheetdrawing.h"

#include <QList>
#include <QPointF>
#include <QStringList>
#include <QTest>

using namespace zev;

namespace {

// Records the pen settings and prints; every character advances the pen by one point.
class RecordingSurface : public SheetSurface {
public:
    void Cls() override {
        ++clsCount;
        rows.clear();
        prints.clear();
        x_ = y_ = 0.0F;
    }
    void Print(const QString& text) override {
        if (rows.isEmpty()) {
            rows.append(QString()); // printed before any pen setting
        }
        rows.last() += text;
        prints.append(text);
        x_ += float(text.size());
    }
    float CurrentX() const override { return x_; }
    float CurrentY() const override { return y_; }
    void setCurrentX(float x) override { x_ = x; }
    void setCurrentY(float y) override {
        y_ = y;
        pens.append(QPointF(x_, y_));
        rows.append(QString());
    }

    int clsCount = 0;
    QList<QPointF> pens;
    QStringList rows; // what was printed after each pen setting, joined
    QStringList prints;

private:
    float x_ = 0.0F;
    float y_ = 0.0F;
};

Sheet freshSheet() {
    Sheet sheet;
    sheet.Reset();
    return sheet;
}

const QString kTotalOpen = QStringLiteral("          (");

} // namespace

class TestDrawing : public QObject {
    Q_OBJECT

private slots:
    void clearsOnceBeforeDrawing();
    void setsThePen45TimesInDrawingOrder();
    void freshSheetShowsOneMarkPerAttributeAndZeroTotals();
    void ratingAboveFiveIsDrawnAndStoredAsFive();
    void ratingBelowOneDrawsTheLabelAlone_data();
    void ratingBelowOneDrawsTheLabelAlone();
    void fullGroupsShowTwelveAndFifty();
};

void TestDrawing::clearsOnceBeforeDrawing() {
    RecordingSurface surface;
    surface.Print(QStringLiteral("old"));
    Sheet sheet = freshSheet();
    drawSheet(sheet, surface);
    QCOMPARE(surface.clsCount, 1);
    QVERIFY2(!surface.prints.contains(QStringLiteral("old")), "Cls must come before the rows");
}

void TestDrawing::setsThePen45TimesInDrawingOrder() {
    QList<QPointF> expected;
    for (int column = 0; column < 3; ++column) {
        for (int y = 0; y <= 30; y += 10) {
            expected.append(QPointF(100 * column, y));
        }
    }
    for (int column = 0; column < 3; ++column) {
        for (int y = 50; y <= 150; y += 10) {
            expected.append(QPointF(100 * column, y));
        }
    }
    RecordingSurface surface;
    Sheet sheet = freshSheet();
    drawSheet(sheet, surface);
    QCOMPARE(surface.pens.size(), 45);
    QCOMPARE(surface.pens, expected);
}

void TestDrawing::freshSheetShowsOneMarkPerAttributeAndZeroTotals() {
    RecordingSurface surface;
    Sheet sheet = freshSheet();
    drawSheet(sheet, surface);
    const QStringList& rows = surface.rows;
    QCOMPARE(rows.size(), 45);
    QCOMPARE(rows.at(0), QStringLiteral("erő         ^"));
    QCOMPARE(rows.at(2), QStringLiteral("állóképesség         ^"));
    QCOMPARE(rows.at(3), kTotalOpen + QStringLiteral(" 0)"));
    QCOMPARE(rows.at(4), QStringLiteral("karizma         ^"));
    QCOMPARE(rows.at(12), QStringLiteral("Éberség         "));
    QCOMPARE(rows.at(22), kTotalOpen + QStringLiteral(" 0)"));
    QCOMPARE(rows.at(43), QStringLiteral("Term.tudományok         "));
    QCOMPARE(rows.at(44), kTotalOpen + QStringLiteral(" 0)"));
    QCOMPARE(rows.filter(QStringLiteral("^")).size(), 9);
    QCOMPARE(rows.filter(kTotalOpen + QStringLiteral(" 0)")).size(), 6);
    QCOMPARE(sheet, freshSheet());
}

void TestDrawing::ratingAboveFiveIsDrawnAndStoredAsFive() {
    RecordingSurface surface;
    Sheet sheet = freshSheet();
    sheet.setRating(4, 6);  // manipuláció, attribute column 1
    sheet.setRating(20, 6); // Nyomozás, skill column 1
    drawSheet(sheet, surface);
    QCOMPARE(sheet.rating(4), Rating(5));
    QCOMPARE(sheet.rating(20), Rating(5));
    QCOMPARE(surface.rows.at(5), QStringLiteral("manipuláció         ^^^^^"));
    QCOMPARE(surface.rows.at(7), kTotalOpen + QStringLiteral(" 4)"));
    QCOMPARE(surface.rows.at(24), QStringLiteral("Nyomozás         ^^^^^"));
    QCOMPARE(surface.rows.at(33), kTotalOpen + QStringLiteral(" 5)"));
}

void TestDrawing::ratingBelowOneDrawsTheLabelAlone_data() {
    QTest::addColumn<int>("rating");
    QTest::newRow("zero") << 0;
    QTest::newRow("negative") << -1;
}

void TestDrawing::ratingBelowOneDrawsTheLabelAlone() {
    QFETCH(int, rating);
    RecordingSurface surface;
    Sheet sheet = freshSheet();
    sheet.setRating(0, Rating(rating));
    drawSheet(sheet, surface);
    QCOMPARE(surface.rows.at(0), QStringLiteral("erő         "));
}

void TestDrawing::fullGroupsShowTwelveAndFifty() {
    RecordingSurface surface;
    Sheet sheet = freshSheet();
    for (int index : {6, 7, 8}) {
        sheet.setRating(index, 5);
    }
    for (int index = 29; index <= 38; ++index) {
        sheet.setRating(index, 5);
    }
    drawSheet(sheet, surface);
    // The total row is three prints: the opening, the number as display text, the closing.
    const qsizetype last = surface.prints.size();
    QCOMPARE(surface.prints.mid(last - 3), (QStringList{kTotalOpen, " 50", ")"}));
    QCOMPARE(surface.rows.at(11), kTotalOpen + QStringLiteral(" 12)"));
    QVERIFY(surface.prints.contains(QStringLiteral(" 12")));
}

QTEST_APPLESS_MAIN(TestDrawing)
#include "tst_drawing.moc"
