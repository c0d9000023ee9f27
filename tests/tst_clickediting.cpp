// Which trait a release position hits, and what each button does to the sheet.
#include "sheetfacts.h"
#include "ui/clickediting.h"

#include <QTest>

#include <cmath>
#include <limits>

using namespace zev;

Q_DECLARE_METATYPE(std::optional<int>)

namespace {
constexpr std::optional<int> none = std::nullopt;
constexpr float kInf = std::numeric_limits<float>::infinity();

Sheet freshSheet() {
    Sheet sheet;
    sheet.Reset();
    return sheet;
}
} // namespace

class TestClickEditing : public QObject {
    Q_OBJECT

private slots:
    void traitAt_data();
    void traitAt();
    void bandOfEveryTrait_data();
    void bandOfEveryTrait();
    void rightReleaseAppliesFloorsEvenOnAMiss();
};

void TestClickEditing::traitAt_data() {
    QTest::addColumn<float>("x");
    QTest::addColumn<float>("y");
    QTest::addColumn<std::optional<int>>("trait");
    const float nan = std::numeric_limits<float>::quiet_NaN();

    // Examples a user meets.
    QTest::newRow("erő at (50,5)") << 50.0F << 5.0F << std::optional(0);
    QTest::newRow("Term.tudományok at (250,145)") << 250.0F << 145.0F << std::optional(38);
    QTest::newRow("Állatszelidítés at (150,55)") << 150.0F << 55.0F << std::optional(19);
    QTest::newRow("állóképesség at (60,25)") << 60.0F << 25.0F << std::optional(2);
    QTest::newRow("Nyomozás at (120,65)") << 120.0F << 65.0F << std::optional(20);

    // Between the bands.
    QTest::newRow("x 95 in the gap") << 95.0F << 5.0F << none;
    QTest::newRow("x 195 in the gap") << 195.0F << 5.0F << none;
    QTest::newRow("y 40 between the blocks") << 50.0F << 40.0F << none;
    QTest::newRow("y 155 on the total row") << 250.0F << 155.0F << none;

    // Open ends.
    QTest::newRow("negative x and y") << -20.0F << -1.0F << std::optional(0);
    QTest::newRow("y minus infinity") << -kInf << -kInf << std::optional(0);
    QTest::newRow("y infinite") << 50.0F << kInf << none;
    QTest::newRow("x NaN") << nan << 5.0F << none;
    QTest::newRow("y NaN") << 50.0F << nan << none;
}

void TestClickEditing::traitAt() {
    QFETCH(float, x);
    QFETCH(float, y);
    QFETCH(std::optional<int>, trait);
    QCOMPARE(TraitAt(x, y), trait);
}

void TestClickEditing::bandOfEveryTrait_data() {
    QTest::addColumn<int>("index");
    for (int index = 0; index < 39; ++index) {
        QTest::addRow("%s", qPrintable(facts::name(index))) << index;
    }
}

// 90 by 10 pt below where the row is drawn; a release on an edge misses, except on the sides
// that reach without end: left of column 0, above the first row and right of column 2.
void TestClickEditing::bandOfEveryTrait() {
    QFETCH(int, index);
    const facts::TraitRow& row = facts::kTraits.at(size_t(index));
    const RowBand band = traitBand(index);
    QCOMPARE(QRectF(QPointF(band.left, band.top), QPointF(band.right, band.bottom)),
             QRectF(row.x, row.y, 90, 10));
    const bool openLeft = row.x == 0;
    const bool openTop = row.y == 0;
    const bool openRight = row.x == 200;
    const std::optional<int> self = index;
    const float x = row.x + 45;
    const float y = row.y + 5;
    QCOMPARE(TraitAt(band.centreX(), band.centreY()), self);
    QCOMPARE(TraitAt(std::nextafter(row.x, kInf), y), self);
    QCOMPARE(TraitAt(std::nextafter(row.x + 90, -kInf), y), self);
    QCOMPARE(TraitAt(x, std::nextafter(row.y, kInf)), self);
    QCOMPARE(TraitAt(x, std::nextafter(row.y + 10, -kInf)), self);
    QCOMPARE(TraitAt(row.x, y), openLeft ? self : none);
    QCOMPARE(TraitAt(row.x + 90, y), openRight ? self : none);
    QCOMPARE(TraitAt(x, row.y), openTop ? self : none);
    QCOMPARE(TraitAt(x, row.y + 10), none);
    QCOMPARE(TraitAt(-kInf, y) == self, openLeft);
    QCOMPARE(TraitAt(kInf, y) == self, openRight);
    QCOMPARE(TraitAt(x, -kInf) == self, openTop);
}

void TestClickEditing::rightReleaseAppliesFloorsEvenOnAMiss() {
    Sheet sheet;
    sheet.setRating(30, -1);
    applyRelease(sheet, kRightButton, 95.0F, 40.0F);
    QCOMPARE(sheet, freshSheet());

    Sheet leftOnly;
    applyRelease(leftOnly, kLeftButton, 95.0F, 40.0F);
    QCOMPARE(leftOnly.rating(0), Rating(0)); // left never applies the floors
}

QTEST_APPLESS_MAIN(TestClickEditing)
#include "tst_clickediting.moc"
