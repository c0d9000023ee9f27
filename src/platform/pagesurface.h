#pragma once

#include "platform/sheetsurface.h"
#include "platform/units.h"

#include <QFont>
#include <QPointF>

class QPainter;

namespace zev {

// A page, or any other painter's device, as a SheetSurface: each Print is painted at once, in
// the sheet's face, black, with the surface's points scaled to the device as the window scales
// them to the screen. The pen's (0, 0) lies at origin, in the painter's coordinates.
class PageSurface : public SheetSurface {
public:
    PageSurface(QPainter& painter, QPointF origin);

    void Cls() override; // a page is blank to begin with: only the pen goes home
    void Print(const QString& text) override;
    void setCurrentX(float x) override { currentX_ = x; }
    void setCurrentY(float y) override { currentY_ = y; }

private:
    QPainter& painter_;
    QPointF origin_;
    PointScale scale_;
    QFont font_;
    float currentX_ = 0.0F;
    float currentY_ = 0.0F;
};

} // namespace zev
