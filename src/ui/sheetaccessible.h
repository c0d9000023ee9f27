// The accessible sheet: the drawn rows for assistive technology; it neither draws nor edits.
#pragma once

#include "model/sheet.h"
#include "ui/sheetlayout.h"
#include "ui/traitedit.h"

#include <QAccessibleWidget>

#include <array>

namespace zev {

class SheetSurfaceWidget;

// What a surface's parent widget offers the accessible sheet drawn on that surface: the sheet
// to read, an edit of a trait with everything a click brings (floors, cap, redraw, words), and
// the current trait, which has the focus whenever the surface has it.
class SheetSource {
public:
    [[nodiscard]] virtual const Sheet& sheet() const = 0;
    virtual void editTrait(int index, TraitEdit edit) = 0;
    [[nodiscard]] virtual int currentTrait() const = 0;

protected:
    ~SheetSource() = default;
};

// The drawing surface as one child per row in drawing order, and last the notice that tells of
// a change in words. Each child reads the sheet through the surface whenever it is asked, and is
// invalid once the surface, or the source that is its parent, is gone.
class SheetAccessible : public QAccessibleWidget {
public:
    explicit SheetAccessible(SheetSurfaceWidget* surface);
    ~SheetAccessible() override;
    SheetAccessible(const SheetAccessible&) = delete;
    SheetAccessible& operator=(const SheetAccessible&) = delete;

    [[nodiscard]] int childCount() const override { return static_cast<int>(children_.size()); }
    [[nodiscard]] QAccessibleInterface* child(int index) const override;
    [[nodiscard]] int indexOfChild(const QAccessibleInterface* child) const override;
    [[nodiscard]] QAccessibleInterface* childAt(int x, int y) const override;
    [[nodiscard]] QAccessibleInterface* focusChild() const override;

private:
    std::array<QAccessible::Id, kRowCount + 1> children_{};
};

// The accessible sheet of a surface whose parent is a SheetSource, else null.
QAccessibleInterface* accessibleSheet(QObject* object);

// Tells assistive technology which values a redraw changed: a value-changed event for every
// trait whose rating differs between the two sheets and a name change for every total that
// differs, then the same in words, for screen readers that present changes of the focused
// object only: an announcement where Qt has one (6.8), else the notice shown afresh. Nothing
// is sent, or even looked at, while no assistive technology listens.
void announceChanges(SheetSurfaceWidget* surface, const Sheet& before, const Sheet& after);

// Tells assistive technology of a sheet replaced by another, as announceChanges does, but in the
// words of the message rather than change by change; nothing while none listens.
void announceReplaced(SheetSurfaceWidget* surface, const Sheet& before, const Sheet& after,
                      const QString& message);

// Tells assistive technology a message in words, as a change is told; nothing while none listens.
void announce(SheetSurfaceWidget* surface, const QString& message);

// Tells assistive technology that a trait's item has the focus; nothing while none listens.
void announceFocus(SheetSurfaceWidget* surface, int index);

} // namespace zev
