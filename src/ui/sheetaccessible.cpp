#include "ui/sheetaccessible.h"

#include "platform/sheetsurfacewidget.h"
#include "ui/sheetitems.h"

namespace zev {

SheetAccessible::SheetAccessible(SheetSurfaceWidget* surface)
    : QAccessibleWidget(surface, QAccessible::Client) {
    for (int position = 0; position <= kRowCount; ++position) {
        children_.at(static_cast<size_t>(position)) =
            QAccessible::registerAccessibleInterface(newSheetItem(surface, position));
    }
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
    return child != nullptr && child->parent() == this ? positionOf(child) : -1;
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
    QAccessibleInterface* notice = sheet.child(kRowCount);
    setNotice(notice, message);
#if QT_VERSION >= QT_VERSION_CHECK(6, 8, 0)
    QAccessibleAnnouncementEvent event(notice, message);
#else
    QAccessibleEvent event(notice, QAccessible::ObjectShow);
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
