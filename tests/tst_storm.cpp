// Hundreds of thousands of random releases straight into the window's release handler, with
// the sheet's promises checked after every one. ZEV_STORM_SEED replays a run,
// ZEV_STORM_RELEASES sets how many releases are sent.
#include "formtesting.h"
#include "platform/textconversions.h"
#include "ui/clickediting.h"
#include "ui/sheetdrawing.h"

#include <cmath>
#include <limits>
#include <random>

using namespace zev;
using namespace zev::testing;

namespace {

class ReleaseGenerator {
public:
    explicit ReleaseGenerator(std::uint32_t seed) : random_(seed) {}

    std::int16_t button() {
        const int kind = pick(10);
        if (kind < 8) {
            return std::int16_t(kind); // 0 to 7: none, left, right, both, middle, ...
        }
        return std::int16_t(std::uniform_int_distribution<int>(-32768, 32767)(random_));
    }

    float coordinate(const std::vector<float>& edges) {
        switch (pick(6)) {
        case 0:
            return edges[size_t(pick(int(edges.size())))];
        case 1: { // a hair either side of an edge
            const float edge = edges[size_t(pick(int(edges.size())))];
            return pick(2) == 0 ? std::nextafter(edge, -kInf) : std::nextafter(edge, kInf);
        }
        case 2:
            return std::uniform_real_distribution<float>(-20.0F, 350.0F)(random_);
        case 3:
            return std::uniform_real_distribution<float>(-1e6F, 1e6F)(random_);
        case 4: {
            const float specials[] = {kInf,
                                      -kInf,
                                      std::numeric_limits<float>::quiet_NaN(),
                                      std::numeric_limits<float>::max(),
                                      std::numeric_limits<float>::lowest(),
                                      std::numeric_limits<float>::denorm_min(),
                                      -0.0F};
            return specials[pick(7)];
        }
        default:
            return std::uniform_real_distribution<float>(0.0F, 160.0F)(random_);
        }
    }

private:
    static constexpr float kInf = std::numeric_limits<float>::infinity();
    int pick(int count) { return std::uniform_int_distribution<int>(0, count - 1)(random_); }

    std::mt19937 random_;
};

const std::vector<float> kXEdges{0, 90, 100, 190, 200, 328.5F};
const std::vector<float> kYEdges{0,   10,  20,  30,  40,  50,  60,  70,  80,     90,
                                 100, 110, 120, 130, 140, 150, 155, 222, 272.25F};

// The texts the surface must hold for this sheet, in drawing order.
QStringList expectedPrints(const Sheet& sheet) {
    QStringList prints;
    for (int group = 0; group < kGroupCount; ++group) {
        const TraitGroup& g = traitGroups().at(size_t(group));
        for (int index = g.firstIndex; index < g.firstIndex + g.count; ++index) {
            prints << traitLabel(index);
            for (int mark = 0; mark < sheet.rating(index); ++mark) {
                prints << QStringLiteral("^");
            }
        }
        prints << QStringLiteral("          (") << numberToDisplayText(sheet.GroupTotal(group))
               << QStringLiteral(")");
    }
    return prints;
}

QString invariantBroken(const Sheet& sheet, const Sheet& before, const Form1& form,
                        std::int16_t button, float x, float y) {
    for (int index = 0; index < kTraitCount; ++index) {
        const Rating floor = traitTable().at(size_t(index)).floor;
        if (sheet.rating(index) > kRatingCap) {
            return QStringLiteral("trait %1 above 5 after drawing").arg(index);
        }
        if (button == kRightButton && sheet.rating(index) < floor) {
            return QStringLiteral("trait %1 below its floor after a right release").arg(index);
        }
    }
    for (int group = 0; group < kGroupCount; ++group) {
        const int most = group < 3 ? 12 : 50;
        if (sheet.GroupTotal(group) < 0 || sheet.GroupTotal(group) > most) {
            return QStringLiteral("group %1 total %2").arg(group).arg(sheet.GroupTotal(group));
        }
    }
    if (!TraitAt(x, y) && !(button == kRightButton) && !(sheet == before)) {
        return QStringLiteral("a release that hit no trait changed a rating");
    }
    QStringList drawn;
    for (const PrintedText& item : form.surface()->printed()) {
        drawn << item.text;
    }
    if (drawn != expectedPrints(sheet)) {
        return QStringLiteral("the surface does not show the sheet");
    }
    return {};
}

} // namespace

class TestStorm : public QObject {
    Q_OBJECT

private slots:
    void randomReleasesKeepTheSheetsPromises();
};

void TestStorm::randomReleasesKeepTheSheetsPromises() {
    const std::uint32_t seed = qEnvironmentVariableIsSet("ZEV_STORM_SEED")
                                   ? qEnvironmentVariable("ZEV_STORM_SEED").toUInt()
                                   : 20261207U;
    const int releases = qEnvironmentVariableIsSet("ZEV_STORM_RELEASES")
                             ? qEnvironmentVariableIntValue("ZEV_STORM_RELEASES")
                             : 200000;
    qInfo("storm: %d releases, ZEV_STORM_SEED=%u", releases, seed);

    auto form = shownForm();
    ReleaseGenerator generate(seed);
    int hits = 0;
    for (int n = 0; n < releases; ++n) {
        const std::int16_t button = generate.button();
        const float x = generate.coordinate(kXEdges);
        const float y = generate.coordinate(kYEdges);
        const Sheet before = form->sheet();
        form->Form_MouseUp(button, 0, x, y);
        hits += TraitAt(x, y) ? 1 : 0;
        const QString broken = invariantBroken(form->sheet(), before, *form, button, x, y);
        QVERIFY2(broken.isEmpty(), qPrintable(QStringLiteral("release %1 (button %2 at %3, %4): %5")
                                                  .arg(n)
                                                  .arg(button)
                                                  .arg(double(x))
                                                  .arg(double(y))
                                                  .arg(broken)));
    }
    qInfo("storm: %d of %d releases hit a trait", hits, releases);
    QVERIFY(hits > releases / 10); // the storm must exercise the editing, not only misses
}

QTEST_MAIN(TestStorm)
#include "tst_storm.moc"
