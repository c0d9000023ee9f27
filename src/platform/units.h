#pragma once

namespace zev {

// Converts between points (1/72 inch, the sheet's drawing unit), twips (1/20 point, the unit
// of the control layout) and the screen's logical pixels. Every conversion in both directions
// goes through here, so the drawing, the click bands and the controls always scale together.
class PointScale {
public:
    explicit PointScale(double logicalDpi) : dpi_(logicalDpi) {}

    [[nodiscard]] double pixelsFromPoints(double points) const { return points * dpi_ / 72.0; }
    [[nodiscard]] float pointsFromPixels(double pixels) const {
        return static_cast<float>(pixels * 72.0 / dpi_);
    }
    [[nodiscard]] int pixelsFromTwips(int twips) const;

private:
    double dpi_;
};

} // namespace zev
