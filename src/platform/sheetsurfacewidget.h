#pragma once

#include "platform/sheetsurface.h"
#include "platform/units.h"

#include <QFont>
#include <QHash>
#include <QList>
#include <QRectF>
#include <QWidget>

#include <cstdint>
#include <functional>

namespace zev {

// What one Print left on the surface: the text and the pen position it was drawn at.
struct PrintedText {
    float x;
    float y;
    QString text;

    friend bool operator==(const PrintedText&, const PrintedText&) = default;
};

// The window's client area as a SheetSurface.
//
// It keeps everything printed since the last Cls and paints that list whenever the window
// system asks, so the sheet survives being covered and uncovered. Mouse releases that began
// on it are reported in points as mouseUp; it knows nothing of sheets or traits. Only the
// keyboard gives it the focus, and while it has the focus a frame surrounds its focus area.
class SheetSurfaceWidget : public QWidget, public SheetSurface {
    Q_OBJECT
public:
    // Takes a key pressed while the surface has the focus, as Qt's key and modifiers, and says
    // whether it used it; a key it leaves goes on to the parent, as any widget's does.
    using KeyReceiver = std::function<bool(int key, Qt::KeyboardModifiers modifiers)>;

    explicit SheetSurfaceWidget(QWidget* parent = nullptr);

    void Cls() override;
    void Print(const QString& text) override;
    void setCurrentX(float x) override { currentX_ = x; }
    void setCurrentY(float y) override { currentY_ = y; }

    [[nodiscard]] const QList<PrintedText>& printed() const { return printed_; }
    [[nodiscard]] PointScale scale() const;

    void setKeyReceiver(KeyReceiver receiver) { keyReceiver_ = std::move(receiver); }
    // The area, in points, that the focus frame surrounds.
    void setFocusArea(const QRectF& points);
    // The pixels of the focus frame: its line lies inside them.
    [[nodiscard]] QRect focusFrame() const;

signals:
    // button: as platform/mousebutton.h says; shift: 1 Shift, 2 Ctrl, 4 Alt; x, y in points.
    void mouseUp(std::int16_t button, std::int16_t shift, float x, float y);
    void gotFocus();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    static constexpr qsizetype kMaxCachedAdvances = 1024;
    float advanceInPoints(const QString& text);
    void paintFocusFrame(QPainter& painter) const;

    QHash<QString, float> advances_;
    int advancesDpi_ = 0;
    QList<PrintedText> printed_;
    float currentX_ = 0.0F;
    float currentY_ = 0.0F;
    KeyReceiver keyReceiver_;
    QRectF focusArea_;
};

} // namespace zev
