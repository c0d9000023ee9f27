// What the redraw puts on the surface, read from a surface that records every call.
#include "model/sheet.h"
#include "sheetfacts.h"
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
        calls.append(QStringLiteral("Cls"));
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
        calls.append(QStringLiteral("Print"));
        x_ += float(text.size());
    }
    void setCurrentX(float x) override { x_ = x; }
    void setCurrentY(float y) override {
        y_ = y;
        pens.append(QPointF(x_, y_));
        rows.append(QString());
    }

    QStringList calls; // every call, never cleared
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
    void drawsEveryRowAsTheSheetHasIt_data();
    void drawsEveryRowAsTheSheetHasIt();
};

void TestDrawing::clearsOnceBeforeDrawing() {
    RecordingSurface surface;
    Sheet sheet = freshSheet();
    drawSheet(sheet, surface);
    QCOMPARE(surface.calls.count(QStringLiteral("Cls")), 1);
    QCOMPARE(surface.calls.first(), QStringLiteral("Cls"));
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
    QCOMPARE(surface.pens, expected);
}

void TestDrawing::drawsEveryRowAsTheSheetHasIt_data() {
    QTest::addColumn<QList<int>>("changes"); // pairs of index, rating
    QTest::addColumn<QList<int>>("shown");   // every rating as it must be drawn and kept
    QTest::addColumn<QList<int>>("totals");
    QList<int> fresh(39, 0);
    std::fill(fresh.begin(), fresh.begin() + 9, 1);
    QTest::newRow("fresh sheet") << QList<int>{} << fresh << QList<int>{0, 0, 0, 0, 0, 0};
    QList<int> capped = fresh;
    capped[4] = capped[20] = 5;
    QTest::newRow("six is drawn and kept as five")
        << QList<int>{4, 6, 20, 6} << capped << QList<int>{0, 4, 0, 0, 5, 0};
    QList<int> low = fresh;
    low[0] = 0;
    low[12] = -1;
    QTest::newRow("below one draws no mark")
        << QList<int>{0, 0, 12, -1} << low << QList<int>{-1, 0, 0, -1, 0, 0};
    QList<int> full = fresh;
    std::fill(full.begin() + 6, full.begin() + 9, 5);
    std::fill(full.begin() + 29, full.end(), 5);
    QList<int> fullChanges{6, 5, 7, 5, 8, 5};
    for (int index = 29; index < 39; ++index) {
        fullChanges << index << 5;
    }
    QTest::newRow("full groups total twelve and fifty")
        << fullChanges << full << QList<int>{0, 0, 12, 0, 0, 50};
}

// Every row read back as label and marks, every total as blanks, "(", the number, ")".
void TestDrawing::drawsEveryRowAsTheSheetHasIt() {
    QFETCH(QList<int>, changes);
    QFETCH(QList<int>, shown);
    QFETCH(QList<int>, totals);
    Sheet sheet = freshSheet();
    for (qsizetype i = 0; i + 1 < changes.size(); i += 2) {
        sheet.setRating(changes[i], Rating(changes[i + 1]));
    }
    RecordingSurface surface;
    drawSheet(sheet, surface);

    QStringList expected;
    const int groupEnds[6] = {3, 6, 9, 19, 29, 39};
    int index = 0;
    for (int group = 0; group < 6; ++group) {
        for (; index < groupEnds[group]; ++index) {
            expected << facts::label(index) + QString(qMax(shown[index], 0), u'^');
            QCOMPARE(sheet.rating(index), Rating(shown[index]));
        }
        const int total = totals[group];
        expected << kTotalOpen + (total < 0 ? QStringLiteral("-%1)").arg(-total)
                                            : QStringLiteral(" %1)").arg(total));
    }
    QCOMPARE(surface.rows, expected);
}

QTEST_APPLESS_MAIN(TestDrawing)
#include "tst_drawing.moc"
