// The sheet and its trait table: starting values, floors, the cap and the group totals.
#include "model/sheet.h"
#include "model/traittable.h"
#include "sheetfacts.h"

#include <QTest>

using namespace zev;

class TestSheet : public QObject {
    Q_OBJECT

private slots:
    void resetGivesAttributesOneAndSkillsZero();
    void freshSheetTotalsAreZero();
    void applyFloorsRestoresAFreshSheet();
    void applyFloorsLeavesRatingsAboveTheFloor();
    void capAt5_data();
    void capAt5();
    void groupTotal_data();
    void groupTotal();
    void tableHoldsEveryTraitAsUsersKnowIt();
};

void TestSheet::resetGivesAttributesOneAndSkillsZero() {
    Sheet sheet;
    sheet.Reset();
    for (int i = 0; i < kTraitCount; ++i) {
        QCOMPARE(sheet.rating(i), Rating(i < kAttributeCount ? 1 : 0));
    }
}

void TestSheet::freshSheetTotalsAreZero() {
    Sheet sheet;
    sheet.Reset();
    for (int g = 0; g < kGroupCount; ++g) {
        QVERIFY2(sheet.GroupTotal(g) == 0, qPrintable(QStringLiteral("group %1").arg(g)));
    }
}

void TestSheet::applyFloorsRestoresAFreshSheet() {
    Sheet sheet;
    for (int i = kAttributeCount; i < kTraitCount; ++i) {
        sheet.setRating(i, -1);
    }
    sheet.ApplyFloors();
    Sheet fresh;
    fresh.Reset();
    QVERIFY(sheet == fresh);
}

void TestSheet::applyFloorsLeavesRatingsAboveTheFloor() {
    Sheet sheet;
    sheet.Reset();
    sheet.setRating(0, 6);
    sheet.setRating(4, 3);
    sheet.setRating(38, 2);
    const Sheet before = sheet;
    sheet.ApplyFloors();
    QVERIFY(sheet == before);
}

void TestSheet::capAt5_data() {
    QTest::addColumn<int>("index");
    QTest::addColumn<int>("before");
    QTest::addColumn<int>("after");
    QTest::newRow("attribute at 6 comes down") << 2 << 6 << 5;
    QTest::newRow("skill at 6 comes down") << 30 << 6 << 5;
    QTest::newRow("at 5 stays") << 7 << 5 << 5;
    QTest::newRow("far above comes down") << 12 << 300 << 5;
    QTest::newRow("below the floor is not the cap's business") << 20 << -1 << -1;
}

void TestSheet::capAt5() {
    QFETCH(int, index);
    QFETCH(int, before);
    QFETCH(int, after);
    Sheet sheet;
    sheet.setRating(index, Rating(before));
    sheet.CapAt5(index);
    QCOMPARE(sheet.rating(index), Rating(after));
}

void TestSheet::groupTotal_data() {
    QTest::addColumn<int>("group");
    QTest::addColumn<int>("rating");
    QTest::addColumn<int>("total");
    QTest::newRow("attribute column 1 at 5,5,5") << 1 << 5 << 12;
    QTest::newRow("attribute column 0 at 1,1,1") << 0 << 1 << 0;
    QTest::newRow("attribute column 2 at 3,3,3") << 2 << 3 << 6;
    QTest::newRow("skill column 2 all 5") << 5 << 5 << 50;
    QTest::newRow("skill column 0 all 2") << 3 << 2 << 20;
    QTest::newRow("skill column 1 all 0") << 4 << 0 << 0;
}

void TestSheet::groupTotal() {
    QFETCH(int, group);
    QFETCH(int, rating);
    QFETCH(int, total);
    Sheet sheet;
    sheet.Reset();
    const TraitGroup& g = traitGroup(group);
    for (int i = g.firstIndex; i < g.firstIndex + g.count; ++i) {
        sheet.setRating(i, Rating(rating));
    }
    QCOMPARE(sheet.GroupTotal(group), Rating(total));
    // The other groups must not see these ratings.
    for (int other = 0; other < kGroupCount; ++other) {
        if (other != group) {
            QCOMPARE(sheet.GroupTotal(other), Rating(0));
        }
    }
}

// A trait's row in the grid is the rank of the height it is drawn at among its column's rows.
void TestSheet::tableHoldsEveryTraitAsUsersKnowIt() {
    const QList<float> rowYs{0, 10, 20, 50, 60, 70, 80, 90, 100, 110, 120, 130, 140};
    QCOMPARE(kRowsPerColumn, rowYs.size());
    for (int index = 0; index < 39; ++index) {
        const TraitDef& t = trait(index);
        const facts::TraitRow& row = facts::kTraits.at(size_t(index));
        QCOMPARE(QString::fromUtf8(t.name.data(), qsizetype(t.name.size())), facts::name(index));
        const Cell cell = cellOf(index);
        QCOMPARE(cell.column, int(row.x) / 100);
        QCOMPARE(cell.row, rowYs.indexOf(row.y));
        QCOMPARE(traitInCell(cell), index);
        QCOMPARE(t.block, index < 9 ? Block::Attribute : Block::Skill);
        QCOMPARE(t.floor, Rating(facts::floor(index)));
    }
}

QTEST_APPLESS_MAIN(TestSheet)
#include "tst_sheet.moc"
