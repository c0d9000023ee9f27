#include "platform/sheetsurfacewidget.h"

#include "platform/drawingfont.h"
#include "platform/mousebutton.h"

#include <QFontMetricsF>
#include <QMouseEvent>
#include <QPainter>

namespace zev {
namespace {

static_assert(kLeftButton == Qt::LeftButton && kRightButton == Qt::RightButton);

std::int16_t buttonCode(Qt::MouseButton button) {
    return static_cast<std::int16_t>(static_cast<unsigned>(button) & 0xFFFFU);
}

std::int16_t shiftCode(Qt::KeyboardModifiers modifiers) {
    const auto bit = [modifiers](Qt::KeyboardModifier key, int code) {
        return modifiers.testFlag(key) ? code : 0;
    };
    return static_cast<std::int16_t>(bit(Qt::ShiftModifier, 1) | bit(Qt::ControlModifier, 2) |
                                     bit(Qt::AltModifier, 4));
}

} // namespace

SheetSurfaceWidget::SheetSurfaceWidget(QWidget* parent) : QWidget(parent) {
    setFont(sheetDrawingFont());
    setAutoFillBackground(true);
}

PointScale SheetSurfaceWidget::scale() const { return PointScale(logicalDpiY()); }

void SheetSurfaceWidget::Cls() {
    printed_.clear();
    currentX_ = 0.0F;
    currentY_ = 0.0F;
    update();
}

void SheetSurfaceWidget::Print(const QString& text) {
    printed_.append({currentX_, currentY_, text});
    currentX_ += advanceInPoints(text);
    update();
}

float SheetSurfaceWidget::advanceInPoints(const QString& text) {
    // Shaping a text costs far more than the rest of a redraw, and the sheet prints the
    // same few dozen texts every time, so their widths are kept until font or DPI change.
    const int dpi = logicalDpiY();
    if (dpi != advancesDpi_ || advances_.size() > kMaxCachedAdvances) {
        advances_.clear();
        advancesDpi_ = dpi;
    }
    auto found = advances_.constFind(text);
    if (found == advances_.constEnd()) {
        const qreal pixels = QFontMetricsF(font(), this).horizontalAdvance(text);
        found = advances_.insert(text, scale().pointsFromPixels(pixels));
    }
    return *found;
}

void SheetSurfaceWidget::changeEvent(QEvent* event) {
    if (event->type() == QEvent::FontChange) {
        advances_.clear();
    }
    QWidget::changeEvent(event);
}

void SheetSurfaceWidget::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    painter.setFont(font());
    painter.setPen(palette().color(QPalette::WindowText));
    const PointScale points = scale();
    const qreal ascent = QFontMetricsF(font(), this).ascent();
    for (const PrintedText& item : printed_) {
        // Print places the top of the line at the pen; drawText wants the baseline.
        painter.drawText(
            QPointF(points.pixelsFromPoints(item.x), points.pixelsFromPoints(item.y) + ascent),
            item.text);
    }
}

void SheetSurfaceWidget::mouseReleaseEvent(QMouseEvent* event) {
    const PointScale points = scale();
    const QPointF position = event->position();
    emit mouseUp(buttonCode(event->button()), shiftCode(event->modifiers()),
                 points.pointsFromPixels(position.x()), points.pointsFromPixels(position.y()));
}

} // namespace zev
