#include "ui/sheetaccessible.h"

#include "platform/mousebutton.h"
#include "platform/sheetsurfacewidget.h"
#include "ui/sheetdrawing.h"

#include <QPointer>

#include <algorithm>
#include <cmath>

namespace zev {
namespace {

// Found afresh each time rather than kept: once the parent's own part is destroyed, while QWidget
// deletes the children, it is a source no longer, so nothing reads a sheet that is gone.
SheetSource* sourceOf(const QWidget* surface) {
    return surface != nullptr ? dynamic_cast<SheetSource*>(surface->parentWidget()) : nullptr;
}

// The pixels whose release lands inside the band, so that a pointer sent anywhere in an item's
// rectangle hits that item's trait. A release exactly on a closed edge hits nothing, so such an
// edge is rounded inwards past the pixel it falls on.
QRect pixelsInside(const RowBand& band, const PointScale& scale) {
    const auto first = [&scale](float edge, bool open) {
        const double pixels = scale.pixelsFromPoints(edge);
        return static_cast<int>(open ? std::ceil(pixels) : std::floor(pixels) + 1);
    };
    const auto last = [&scale](float edge, bool open) {
        const double pixels = scale.pixelsFromPoints(edge);
        return static_cast<int>(open ? std::floor(pixels) : std::ceil(pixels) - 1);
    };
    return {QPoint(first(band.left, band.openLeft), first(band.top, band.openTop)),
            QPoint(last(band.right, band.openRight), last(band.bottom, false))};
}

// One row of the drawn sheet, a child of the surface known by its place among the surface's
// children. It has no object, children, focus or editing of its own and shares the surface's
// state. Like an item view's cell it holds no data: it reads through the surface each time.
class SheetItem : public QAccessibleInterface {
public:
    SheetItem(SheetSurfaceWidget* surface, int position) : surface_(surface), position_(position) {}

    [[nodiscard]] int position() const { return position_; }

    [[nodiscard]] bool isValid() const override { return source() != nullptr; }
    [[nodiscard]] QObject* object() const override { return nullptr; }
    [[nodiscard]] QWindow* window() const override {
        return isValid() ? surface_->window()->windowHandle() : nullptr;
    }
    [[nodiscard]] QRect rect() const override {
        if (!isValid()) {
            return {};
        }
        const QRect pixels = pixelsInside(band(), surface_->scale());
        return {surface_->mapToGlobal(pixels.topLeft()), pixels.size()};
    }
    [[nodiscard]] QAccessibleInterface* parent() const override {
        return QAccessible::queryAccessibleInterface(surface_.data());
    }
    [[nodiscard]] QAccessibleInterface* child(int /*index*/) const override { return nullptr; }
    [[nodiscard]] int childCount() const override { return 0; }
    [[nodiscard]] int indexOfChild(const QAccessibleInterface* /*child*/) const override {
        return -1;
    }
    [[nodiscard]] QAccessibleInterface* childAt(int /*x*/, int /*y*/) const override {
        return nullptr;
    }
    void setText(QAccessible::Text /*kind*/, const QString& /*text*/) override {}

    // The surface's state, but for the focus, which is the current trait's alone.
    [[nodiscard]] QAccessible::State state() const override {
        if (QAccessibleInterface* surface = parent()) {
            QAccessible::State unfocused = surface->state();
            unfocused.focusable = unfocused.focused = false;
            return unfocused;
        }
        QAccessible::State gone;
        gone.invalid = true;
        return gone;
    }

protected:
    // The trait index, or the group of a total.
    [[nodiscard]] int index() const { return drawnRow(position_).index; }
    [[nodiscard]] SheetSource* source() const { return sourceOf(surface_.data()); }
    [[nodiscard]] bool hasFocus() const {
        const SheetSource* from = source();
        return from != nullptr && surface_->hasFocus() && from->currentTrait() == index();
    }

    // Once the source is gone an item reads an empty sheet, as a view's cell reads an empty model.
    [[nodiscard]] const Sheet& sheet() const {
        static const Sheet gone = Sheet();
        return source() != nullptr ? source()->sheet() : gone;
    }

    [[nodiscard]] RowBand band() const { return rowBand(drawnRow(position_)); }

private:
    QPointer<SheetSurfaceWidget> surface_;
    int position_;
};

// A trait: its name, its rating as a value between its floor and 5, and the actions increase
// and decrease. Every change is a release in the middle of its band, left to raise and right
// to lower, so floors, cap, redraw and announcements are the mouse's own. Its text is the row
// as a reader should hear it, name and rating ("erő 1"): a screen reader reviewing the window
// line by line reads an item's text, and would otherwise make a percentage of the value.
class TraitItem : public SheetItem,
                  public QAccessibleValueInterface,
                  public QAccessibleActionInterface,
                  public QAccessibleTextInterface {
public:
    using SheetItem::SheetItem;

    [[nodiscard]] QString text(QAccessible::Text kind) const override {
        switch (kind) {
        case QAccessible::Name:
            return traitName(index());
        case QAccessible::Value:
            return QString::number(rating());
        default:
            return {};
        }
    }
    [[nodiscard]] QAccessible::Role role() const override { return QAccessible::Slider; }
    [[nodiscard]] QAccessible::State state() const override {
        QAccessible::State current = SheetItem::state();
        current.focusable = !current.invalid;
        current.focused = hasFocus();
        return current;
    }
    void* interface_cast(QAccessible::InterfaceType type) override {
        if (type == QAccessible::ValueInterface) {
            return static_cast<QAccessibleValueInterface*>(this);
        }
        if (type == QAccessible::ActionInterface) {
            return static_cast<QAccessibleActionInterface*>(this);
        }
        if (type == QAccessible::TextInterface) {
            return static_cast<QAccessibleTextInterface*>(this);
        }
        return nullptr;
    }

    [[nodiscard]] QVariant currentValue() const override { return rating(); }
    [[nodiscard]] QVariant maximumValue() const override { return int(kRatingCap); }
    [[nodiscard]] QVariant minimumValue() const override { return int(trait(index()).floor); }
    [[nodiscard]] QVariant minimumStepSize() const override { return 1; }

    // One release per step: the sheet passes through every value between, as under the mouse.
    void setCurrentValue(const QVariant& value) override {
        const int target = std::clamp(value.toInt(), int(trait(index()).floor), int(kRatingCap));
        const std::int16_t button = target > rating() ? kLeftButton : kRightButton;
        for (int steps = std::abs(target - rating()); steps > 0; --steps) {
            releaseOver(button);
        }
    }

    [[nodiscard]] QStringList actionNames() const override {
        return {increaseAction(), decreaseAction()};
    }
    void doAction(const QString& actionName) override {
        if (actionName == increaseAction()) {
            releaseOver(kLeftButton);
        } else if (actionName == decreaseAction()) {
            releaseOver(kRightButton);
        }
    }
    [[nodiscard]] QStringList keyBindingsForAction(const QString& /*actionName*/) const override {
        return {};
    }

    // Read-only text without caret or selection; every character covers the whole row, so
    // that whatever part of it a reader clicks, the click lands in the row's middle.
    [[nodiscard]] QString text(int startOffset, int endOffset) const override {
        return line().mid(startOffset, endOffset - startOffset);
    }
    [[nodiscard]] int characterCount() const override { return static_cast<int>(line().size()); }
    [[nodiscard]] QRect characterRect(int /*offset*/) const override { return rect(); }
    [[nodiscard]] int offsetAtPoint(const QPoint& point) const override {
        return rect().contains(point) ? 0 : -1;
    }
    [[nodiscard]] int cursorPosition() const override { return 0; }
    void setCursorPosition(int /*position*/) override {}
    [[nodiscard]] int selectionCount() const override { return 0; }
    void selection(int /*selectionIndex*/, int* startOffset, int* endOffset) const override {
        *startOffset = *endOffset = 0;
    }
    void addSelection(int /*startOffset*/, int /*endOffset*/) override {}
    void removeSelection(int /*selectionIndex*/) override {}
    void setSelection(int /*selectionIndex*/, int /*startOffset*/, int /*endOffset*/) override {}
    void scrollToSubstring(int /*startIndex*/, int /*endIndex*/) override {}
    [[nodiscard]] QString attributes(int offset, int* startOffset, int* endOffset) const override {
        *startOffset = *endOffset = offset;
        return {};
    }

private:
    [[nodiscard]] int rating() const { return sheet().rating(index()); }
    [[nodiscard]] QString line() const {
        return traitName(index()) + u' ' + QString::number(rating());
    }

    void releaseOver(std::int16_t button) {
        if (SheetSource* to = source()) {
            to->release(button, band().centreX(), band().centreY());
        }
    }
};

// A group total: static text that names the traits it sums and says the total.
class TotalItem : public SheetItem {
public:
    using SheetItem::SheetItem;

    [[nodiscard]] QString text(QAccessible::Text kind) const override {
        QString total = QString::number(sheet().GroupTotal(index()));
        if (kind == QAccessible::Value) {
            return total;
        }
        if (kind != QAccessible::Name) {
            return {};
        }
        const TraitGroup g = traitGroup(index());
        return QStringLiteral("%1 – %2 összesen: %3")
            .arg(traitName(g.firstIndex), traitName(g.firstIndex + g.count - 1), total);
    }
    [[nodiscard]] QAccessible::Role role() const override { return QAccessible::StaticText; }
};

} // namespace

// What the last change was, in words ("erő 2, összesen: 1"): the message that tells a screen
// reader about a change it would not present by itself: a click changes an item that need not
// have the focus, and a total never has it. It has no area and is never visible, so that a reader
// reviewing the window line by line never meets it.
class NoticeItem : public SheetItem {
public:
    using SheetItem::SheetItem;

    [[nodiscard]] QString text(QAccessible::Text kind) const override {
        return kind == QAccessible::Name ? message_ : QString();
    }
    [[nodiscard]] QAccessible::Role role() const override { return QAccessible::Notification; }
    [[nodiscard]] QRect rect() const override { return {}; }
    [[nodiscard]] QAccessible::State state() const override {
        QAccessible::State hidden = SheetItem::state();
        hidden.invisible = true;
        return hidden;
    }
    void setMessage(const QString& message) { message_ = message; }

private:
    QString message_;
};

SheetAccessible::SheetAccessible(SheetSurfaceWidget* surface)
    : QAccessibleWidget(surface, QAccessible::Client) {
    for (int position = 0; position < kRowCount; ++position) {
        SheetItem* item = drawnRow(position).isTotal
                              ? static_cast<SheetItem*>(new TotalItem(surface, position))
                              : new TraitItem(surface, position);
        children_.at(static_cast<size_t>(position)) =
            QAccessible::registerAccessibleInterface(item);
    }
    notice_ = new NoticeItem(surface, kRowCount);
    children_.back() = QAccessible::registerAccessibleInterface(notice_);
}

SheetAccessible::~SheetAccessible() {
    for (const QAccessible::Id id : children_) {
        QAccessible::deleteAccessibleInterface(id);
    }
}

QAccessibleInterface* SheetAccessible::child(int index) const {
    if (index < 0 || index >= childCount()) {
        return nullptr;
    }
    return QAccessible::accessibleInterface(children_.at(static_cast<size_t>(index)));
}

int SheetAccessible::indexOfChild(const QAccessibleInterface* child) const {
    const auto* item = dynamic_cast<const SheetItem*>(child);
    return item != nullptr && item->parent() == this ? item->position() : -1;
}

QAccessibleInterface* SheetAccessible::childAt(int x, int y) const {
    for (const QAccessible::Id id : children_) {
        QAccessibleInterface* item = QAccessible::accessibleInterface(id);
        if (item->rect().contains(x, y)) {
            return item;
        }
    }
    return nullptr;
}

QAccessibleInterface* SheetAccessible::focusChild() const {
    const SheetSource* source = sourceOf(widget());
    return source != nullptr && widget()->hasFocus() ? child(drawnPosition(source->currentTrait()))
                                                     : nullptr;
}

namespace {

const SheetAccessible* listenedSheet(SheetSurfaceWidget* surface) {
    return QAccessible::isActive() ? dynamic_cast<const SheetAccessible*>(
                                         QAccessible::queryAccessibleInterface(surface))
                                   : nullptr;
}

void tell(const SheetAccessible& sheet, const QString& message) {
    sheet.notice()->setMessage(message);
#if QT_VERSION >= QT_VERSION_CHECK(6, 8, 0)
    QAccessibleAnnouncementEvent event(sheet.notice(), message);
#else
    QAccessibleEvent event(sheet.notice(), QAccessible::ObjectShow);
#endif
    QAccessible::updateAccessibility(&event);
}

// Sends an event for every item whose value or name differs between the two sheets; what
// changed, in words.
QStringList sendChanges(const SheetAccessible& sheet, const Sheet& before, const Sheet& after) {
    QStringList said;
    for (int position = 0; position < kRowCount; ++position) {
        const SheetRow row = drawnRow(position);
        QAccessibleInterface* item = sheet.child(position);
        if (row.isTotal && before.GroupTotal(row.index) != after.GroupTotal(row.index)) {
            QAccessibleEvent event(item, QAccessible::NameChanged);
            QAccessible::updateAccessibility(&event);
            said << QStringLiteral("összesen: %1").arg(after.GroupTotal(row.index));
        } else if (!row.isTotal && before.rating(row.index) != after.rating(row.index)) {
            QAccessibleValueChangeEvent event(item, int(after.rating(row.index)));
            QAccessible::updateAccessibility(&event);
            said << item->text(QAccessible::Name) + u' ' + item->text(QAccessible::Value);
        }
    }
    return said;
}

} // namespace

QAccessibleInterface* accessibleSheet(QObject* object) {
    auto* surface = qobject_cast<SheetSurfaceWidget*>(object);
    return sourceOf(surface) != nullptr ? new SheetAccessible(surface) : nullptr;
}

void announce(SheetSurfaceWidget* surface, const QString& message) {
    if (const SheetAccessible* sheet = listenedSheet(surface)) {
        tell(*sheet, message);
    }
}

void announceFocus(SheetSurfaceWidget* surface, int index) {
    if (const SheetAccessible* sheet = listenedSheet(surface)) {
        QAccessibleEvent event(sheet->child(drawnPosition(index)), QAccessible::Focus);
        QAccessible::updateAccessibility(&event);
    }
}

void announceChanges(SheetSurfaceWidget* surface, const Sheet& before, const Sheet& after) {
    if (before == after) {
        return;
    }
    if (const SheetAccessible* sheet = listenedSheet(surface)) {
        tell(*sheet, sendChanges(*sheet, before, after).join(QStringLiteral(", ")));
    }
}

void announceReplaced(SheetSurfaceWidget* surface, const Sheet& before, const Sheet& after,
                      const QString& message) {
    if (const SheetAccessible* sheet = listenedSheet(surface)) {
        sendChanges(*sheet, before, after);
        tell(*sheet, message);
    }
}

} // namespace zev
