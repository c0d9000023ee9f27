#include "ui/sheetpage.h"

#include "platform/drawingfont.h"
#include "platform/pagesurface.h"
#include "ui/sheetdrawing.h"
#include "ui/sheetlayout.h"

#include <QFontMetricsF>
#include <QPaintDevice>
#include <QPainter>

#include <algorithm>
#include <limits>

namespace zev {
namespace {

// One row of the sheet between the heading and the sheet.
constexpr qreal kHeadingGap = 10.0;
constexpr int kHeadingFlags =
    Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap | Qt::TextWrapAnywhere;

} // namespace

QString freshSheetName() { return QStringLiteral("Karakter neve"); }

void paintSheetPage(QPainter& painter, const QRectF& area, const NamedSheet& page) {
    const PointScale scale(painter.device()->logicalDpiY());
    const QFont heading = sheetHeadingFont();
    const QFontMetricsF metrics(heading, painter.device());
    const QRectF unbounded(0, 0, area.width(), std::numeric_limits<qreal>::max() / 4);
    const qreal headingHeight = std::max(
        metrics.height(), metrics.boundingRect(unbounded, kHeadingFlags, page.name).height());
    const qreal sheetTop = headingHeight + scale.pixelsFromPoints(kHeadingGap);
    const SheetExtent extent = sheetExtent();
    const qreal factor =
        std::min({1.0, area.width() / scale.pixelsFromPoints(extent.width),
                  area.height() / (sheetTop + scale.pixelsFromPoints(extent.height))});

    painter.save();
    painter.translate(area.topLeft());
    painter.scale(factor, factor);
    painter.setFont(heading);
    painter.setPen(Qt::black);
    painter.drawText(QRectF(0, 0, area.width() / factor, headingHeight), kHeadingFlags, page.name);
    Sheet sheet = page.sheet;
    PageSurface surface(painter, QPointF(0, sheetTop));
    drawSheet(sheet, surface);
    painter.restore();
}

} // namespace zev
