#pragma once

#include <QString>

namespace zev {

// A text-drawing surface with a pen, in points from its top-left corner.
//
// Print draws a text with no line break, the top of its line at CurrentY and its left edge at
// CurrentX, then moves CurrentX to the text's right end; CurrentY stays. Cls erases everything
// and puts the pen back at (0, 0).
class SheetSurface {
public:
    virtual ~SheetSurface() = default;

    virtual void Cls() = 0;
    virtual void Print(const QString& text) = 0;

    virtual void setCurrentX(float x) = 0;
    virtual void setCurrentY(float y) = 0;

protected:
    SheetSurface() = default;
    SheetSurface(const SheetSurface&) = default;
    SheetSurface& operator=(const SheetSurface&) = default;
};

} // namespace zev
