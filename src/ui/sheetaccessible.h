// The accessible sheet: the drawn rows for assistive technology; it neither draws nor edits.
#pragma once

#include "model/sheet.h"

#include <QAccessibleWidget>

#include <array>
#include <cstdint>
#include <functional>

namespace zev {

class NoticeItem;
class SheetSurfaceWidget;

// Performs one mouse-button release at (x, y), in points, with everything a real one brings.
using Release = std::function<void(std::int16_t button, float x, float y)>;

// The drawing surface as 46 children in drawing order, the traits of each group followed by
// the group's total, and last the notice that tells of a change in words. Names and values
// are read from the sheet whenever they are asked for.
class SheetAccessible : public QAccessibleWidget {
public:
    SheetAccessible(SheetSurfaceWidget* surface, const Sheet& sheet, const Release& release);
    ~SheetAccessible() override;
    SheetAccessible(const SheetAccessible&) = delete;
    SheetAccessible& operator=(const SheetAccessible&) = delete;

    [[nodiscard]] int childCount() const override { return static_cast<int>(children_.size()); }
    [[nodiscard]] QAccessibleInterface* child(int index) const override;
    [[nodiscard]] int indexOfChild(const QAccessibleInterface* child) const override;
    [[nodiscard]] QAccessibleInterface* childAt(int x, int y) const override;

    // The child that shows a trait, or a group's total.
    [[nodiscard]] QAccessibleInterface* traitChild(int index) const;
    [[nodiscard]] QAccessibleInterface* totalChild(int group) const;
    [[nodiscard]] NoticeItem* notice() const { return notice_; }

private:
    std::array<QAccessible::Id, kTraitCount + kGroupCount + 1> children_{};
    NoticeItem* notice_ = nullptr;
};

// Tells assistive technology which values a redraw changed: a value-changed event for every
// trait whose rating differs between the two sheets and a name change for every total that
// differs, then the same in words, for screen readers that present changes of the focused
// object only: an announcement where Qt has one (6.8), else the notice shown afresh. Nothing
// is sent, or even looked at, while no assistive technology listens.
void announceChanges(SheetSurfaceWidget* surface, const Sheet& before, const Sheet& after);

// Tells assistive technology a message in words, as a change is told; nothing while none listens.
void announce(SheetSurfaceWidget* surface, const QString& message);

} // namespace zev
