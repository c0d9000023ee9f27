#include "platform/sheetsurfacewidget.h"

#include "platform/drawingfont.h"
#include "platform/mousebutton.h"

#include <QFontMetricsF>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>

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
    // Never a click: whoever clicks ratings and then types a name types into the name box.
    setFocusPolicy(Qt::TabFocus);
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

void SheetSurfaceWidget::setFocusArea(const QRectF& points) {
    const bool framed = hasFocus();
    if (framed) {
        update(focusFrame());
    }
    focusArea_ = points;
    if (framed) {
        update(focusFrame());
    }
}

QRect SheetSurfaceWidget::focusFrame() const {
    // Edges are rounded, so that the frames of neighbouring rows share no pixel.
    const PointScale points = scale();
    const auto pixel = [&points](qreal edge) { return qRound(points.pixelsFromPoints(edge)); };
    return {QPoint(pixel(focusArea_.left()), pixel(focusArea_.top())),
            QPoint(pixel(focusArea_.right()) - 1, pixel(focusArea_.bottom()) - 1)};
}

void SheetSurfaceWidget::paintFocusFrame(QPainter& painter) const {
    const QRect frame = focusFrame();
    const int width = std::max(1, qRound(scale().pixelsFromPoints(1.0)));
    QPainterPath ring; // the frame and the area inside it: filled odd-even, only the line shows
    ring.addRect(frame);
    ring.addRect(frame.adjusted(width, width, -width, -width));
    painter.fillPath(ring, palette().color(QPalette::Highlight));
}

void SheetSurfaceWidget::focusInEvent(QFocusEvent* /*event*/) {
    update(focusFrame());
    emit gotFocus();
}

void SheetSurfaceWidget::focusOutEvent(QFocusEvent* /*event*/) { update(focusFrame()); }

void SheetSurfaceWidget::keyPressEvent(QKeyEvent* event) {
    if (!keyReceiver_ || !keyReceiver_(event->key(), event->modifiers())) {
        QWidget::keyPressEvent(event); // which ignores it
    }
}

void SheetSurfaceWidget::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    if (hasFocus()) {
        paintFocusFrame(painter); // under the text, which stays whole where the line meets it
    }
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
