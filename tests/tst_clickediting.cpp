// Which trait a release position hits, and what each button does to the sheet.
#include "ui/clickediting.h"

#include <QTest>

#include <limits>

using namespace zev;

Q_DECLARE_METATYPE(std::optional<int>)

namespace {
constexpr std::optional<int> none = std::nullopt;

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
    void everyRowBandHitsItsTrait();
    void rightReleaseAppliesFloorsEvenOnAMiss();
};

void TestClickEditing::traitAt_data() {
    QTest::addColumn<float>("x");
    QTest::addColumn<float>("y");
    QTest::addColumn<std::optional<int>>("trait");
    const float inf = std::numeric_limits<float>::infinity();
    const float nan = std::numeric_limits<float>::quiet_NaN();

    // Examples a user meets.
    QTest::newRow("erő at (50,5)") << 50.0F << 5.0F << std::optional(0);
    QTest::newRow("Term.tudományok at (250,145)") << 250.0F << 145.0F << std::optional(38);
    QTest::newRow("Állatszelidítés at (150,55)") << 150.0F << 55.0F << std::optional(19);
    QTest::newRow("állóképesség at (60,25)") << 60.0F << 25.0F << std::optional(2);
    QTest::newRow("Nyomozás at (120,65)") << 120.0F << 65.0F << std::optional(20);

    // Column edges: 90 and 100, 190 and 200 belong to no column.
    QTest::newRow("x just below 90") << 89.99F << 5.0F << std::optional(0);
    QTest::newRow("x on 90") << 90.0F << 5.0F << none;
    QTest::newRow("x 95 in the gap") << 95.0F << 5.0F << none;
    QTest::newRow("x on 100") << 100.0F << 5.0F << none;
    QTest::newRow("x just above 100") << 100.01F << 5.0F << std::optional(3);
    QTest::newRow("x just below 190") << 189.99F << 5.0F << std::optional(3);
    QTest::newRow("x on 190") << 190.0F << 5.0F << none;
    QTest::newRow("x 195 in the gap") << 195.0F << 5.0F << none;
    QTest::newRow("x on 200") << 200.0F << 5.0F << none;
    QTest::newRow("x just above 200") << 200.01F << 5.0F << std::optional(6);

    // Attribute row edges.
    QTest::newRow("y just below 10") << 50.0F << 9.99F << std::optional(0);
    QTest::newRow("y on 10") << 50.0F << 10.0F << none;
    QTest::newRow("y just above 10") << 50.0F << 10.01F << std::optional(1);
    QTest::newRow("y on 20") << 50.0F << 20.0F << none;
    QTest::newRow("y just above 20") << 50.0F << 20.01F << std::optional(2);
    QTest::newRow("y just below 30") << 50.0F << 29.99F << std::optional(2);
    QTest::newRow("y on 30, the total row") << 50.0F << 30.0F << none;
    QTest::newRow("y 40 between the blocks") << 50.0F << 40.0F << none;
    QTest::newRow("y on 50") << 50.0F << 50.0F << none;

    // Skill row edges.
    QTest::newRow("y just above 50") << 50.0F << 50.01F << std::optional(9);
    QTest::newRow("y on 60") << 150.0F << 60.0F << none;
    QTest::newRow("y just below 60") << 150.0F << 59.99F << std::optional(19);
    QTest::newRow("y just above 60") << 150.0F << 60.01F << std::optional(20);
    QTest::newRow("y on 140") << 250.0F << 140.0F << none;
    QTest::newRow("y just below 150") << 250.0F << 149.99F << std::optional(38);
    QTest::newRow("y on 150, the total row") << 250.0F << 150.0F << none;
    QTest::newRow("y 155 on the total row") << 250.0F << 155.0F << none;

    // Open ends.
    QTest::newRow("negative y") << 50.0F << -5.0F << std::optional(0);
    QTest::newRow("negative x and y") << -20.0F << -1.0F << std::optional(0);
    QTest::newRow("x far right") << 10000.0F << 5.0F << std::optional(6);
    QTest::newRow("x infinite") << inf << 145.0F << std::optional(38);
    QTest::newRow("y minus infinity") << -inf << -inf << std::optional(0);
    QTest::newRow("y infinite") << 50.0F << inf << none;
    QTest::newRow("x NaN") << nan << 5.0F << none;
    QTest::newRow("y NaN") << 50.0F << nan << none;
}

void TestClickEditing::traitAt() {
    QFETCH(float, x);
    QFETCH(float, y);
    QFETCH(std::optional<int>, trait);
    QCOMPARE(TraitAt(x, y), trait);
}

void TestClickEditing::everyRowBandHitsItsTrait() {
    // The centre of each row's band, 5 pt below where the row is drawn.
    for (int index = 0; index < kTraitCount; ++index) {
        const TraitDef& t = traitTable().at(size_t(index));
        QCOMPARE(TraitAt(t.x + 40.0F, t.y + 5.0F), std::optional(index));
    }
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
