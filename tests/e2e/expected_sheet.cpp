// Compares a picture of the real window with what the sheet must look like, pixel for pixel.
// The expected sheet is drawn from the sheet's facts alone (labels, row positions, a mark per
// point, the totals), on a drawing surface of the window's size on the same display.
// Usage: expected_sheet WINDOW.png R0 ... R38   (exit 0 same, 1 different, 2 usage)
#include "../releaseoracle.h"
#include "../sheetfacts.h"
#include "platform/sheetsurfacewidget.h"

#include <QApplication>
#include <QImage>

#include <cstdio>

namespace {

void print(zev::SheetSurface& surface, float x, float y, const QStringList& texts) {
    surface.setCurrentX(x);
    surface.setCurrentY(y);
    for (const QString& text : texts) {
        surface.Print(text);
    }
}

void drawExpected(zev::SheetSurface& surface, const zev::oracle::Ratings& ratings) {
    const int ends[6] = {3, 6, 9, 19, 29, 39};
    int index = 0;
    for (int group = 0; group < 6; ++group) {
        const float x = zev::facts::kTraits.at(size_t(index)).x;
        for (; index < ends[group]; ++index) {
            const zev::facts::TraitRow& row = zev::facts::kTraits.at(size_t(index));
            print(surface, row.x, row.y,
                  QStringList{zev::facts::label(index)} +
                      QStringList(ratings[size_t(index)], QStringLiteral("^")));
        }
        print(surface, x, group < 3 ? 30.0F : 150.0F,
              {QStringLiteral("          ("),
               QStringLiteral(" %1").arg(zev::oracle::groupTotal(ratings, group)),
               QStringLiteral(")")});
    }
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (argc != 2 + 39) {
        std::fputs("usage: expected_sheet WINDOW.png R0 ... R38\n", stderr);
        return 2;
    }
    const QImage actual =
        QImage(QString::fromLocal8Bit(argv[1])).convertToFormat(QImage::Format_RGB32);
    zev::oracle::Ratings ratings{};
    for (int i = 0; i < 39; ++i) {
        ratings[size_t(i)] = QByteArray(argv[2 + i]).toInt();
    }
    zev::SheetSurfaceWidget surface;
    surface.resize(actual.size());
    drawExpected(surface, ratings);
    const QImage expected = surface.grab().toImage().convertToFormat(QImage::Format_RGB32);
    // The sheet ends at the skill totals (150 pt); the controls below are not its business.
    const int sheetBottom = int(surface.scale().pixelsFromPoints(200));
    int differing = 0;
    int firstRow = -1;
    for (int y = 0; y < sheetBottom && y < actual.height(); ++y) {
        for (int x = 0; x < actual.width(); ++x) {
            if (actual.pixel(x, y) != expected.pixel(x, y)) {
                ++differing;
                firstRow = firstRow < 0 ? y : firstRow;
            }
        }
    }
    if (differing != 0) {
        expected.save(QString::fromLocal8Bit(argv[1]) + QStringLiteral(".expected.png"));
        std::printf("%d pixels differ, the first in pixel row %d\n", differing, firstRow);
        return 1;
    }
    std::printf("the sheet matches pixel for pixel (%dx%d px)\n", actual.width(), sheetBottom);
    return 0;
}
