#include "platform/pagesurface.h"

#include "platform/drawingfont.h"

#include <QFontMetricsF>
#include <QPaintDevice>
#include <QPainter>

namespace zev {

PageSurface::PageSurface(QPainter& painter, QPointF origin)
    : painter_(painter), origin_(origin), scale_(painter.device()->logicalDpiY()),
      font_(sheetDrawingFont()) {}

void PageSurface::Cls() {
    currentX_ = 0.0F;
    currentY_ = 0.0F;
}

void PageSurface::Print(const QString& text) {
    const QFontMetricsF metrics(font_, painter_.device());
    painter_.setFont(font_);
    painter_.setPen(Qt::black); // paper is white whatever the desktop's colours
    // Print places the top of the line at the pen; drawText wants the baseline.
    painter_.drawText(origin_ + QPointF(scale_.pixelsFromPoints(currentX_),
                                        scale_.pixelsFromPoints(currentY_) + metrics.ascent()),
                      text);
    currentX_ += scale_.pointsFromPixels(metrics.horizontalAdvance(text));
}

} // namespace zev
