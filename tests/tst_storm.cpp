// Hundreds of thousands of random releases straight into the window's release handler, with
// the sheet's promises checked after every one. ZEV_STORM_SEED replays a run,
// ZEV_STORM_RELEASES sets how many releases are sent.
#include "formtesting.h"
#include "releaseoracle.h"
#include "sheetfacts.h"

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

// The texts the surface must hold for these ratings, in drawing order.
QStringList expectedPrints(const oracle::Ratings& ratings) {
    QStringList prints;
    const int groups[7] = {0, 3, 6, 9, 19, 29, 39};
    for (int group = 0; group < 6; ++group) {
        for (int index = groups[group]; index < groups[group + 1]; ++index) {
            prints << facts::label(index);
            for (int mark = 0; mark < ratings[size_t(index)]; ++mark) {
                prints << QStringLiteral("^");
            }
        }
        prints << QStringLiteral("          (")
               << QStringLiteral(" %1").arg(oracle::groupTotal(ratings, group))
               << QStringLiteral(")");
    }
    return prints;
}

QString differences(const Form1& form, const oracle::Ratings& expected) {
    for (int index = 0; index < 39; ++index) {
        if (form.sheet().rating(index) != expected[size_t(index)]) {
            return QStringLiteral("trait %1 is %2, not %3")
                .arg(index)
                .arg(form.sheet().rating(index))
                .arg(expected[size_t(index)]);
        }
    }
    QStringList drawn;
    for (const PrintedText& item : form.surface()->printed()) {
        drawn << item.text;
    }
    return drawn == expectedPrints(expected)
               ? QString()
               : QStringLiteral("the surface does not show the sheet");
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
    oracle::Ratings expected = oracle::freshRatings();
    ReleaseGenerator generate(seed);
    int hits = 0;
    for (int n = 0; n < releases; ++n) {
        const std::int16_t button = generate.button();
        const float x = generate.coordinate(kXEdges);
        const float y = generate.coordinate(kYEdges);
        form->Form_MouseUp(button, 0, x, y);
        oracle::release(expected, button, x, y);
        hits += oracle::traitAt(x, y) >= 0 && (button == 1 || button == 2) ? 1 : 0;
        const QString broken = differences(*form, expected);
        QVERIFY2(broken.isEmpty(), qPrintable(QStringLiteral("release %1 (button %2 at %3, %4): %5")
                                                  .arg(n)
                                                  .arg(button)
                                                  .arg(double(x))
                                                  .arg(double(y))
                                                  .arg(broken)));
    }
    qInfo("storm: %d of %d releases edited a trait", hits, releases);
    QVERIFY(hits > releases / 20); // the storm must exercise the editing, not only misses
}

QTEST_MAIN(TestStorm)
#include "tst_storm.moc"
