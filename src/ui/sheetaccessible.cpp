#include "ui/sheetaccessible.h"

#include "platform/sheetsurfacewidget.h"
#include "ui/form1.h"
#include "ui/sheetitems.h"

namespace zev {

SheetAccessible::SheetAccessible(SheetSurfaceWidget* surface, Form1* form)
    : QAccessibleWidget(surface, QAccessible::Client) {
    for (int group = 0; group < kGroupCount; ++group) {
        const TraitGroup& g = traitGroups().at(static_cast<size_t>(group));
        for (int index = g.firstIndex; index < g.firstIndex + g.count; ++index) {
            children_.append(QAccessible::registerAccessibleInterface(new TraitItem(form, index)));
        }
        children_.append(QAccessible::registerAccessibleInterface(new TotalItem(form, group)));
    }
    notice_ = new NoticeItem(form);
    children_.append(QAccessible::registerAccessibleInterface(notice_));
}

SheetAccessible::~SheetAccessible() {
    for (const QAccessible::Id id : std::as_const(children_)) {
        QAccessible::deleteAccessibleInterface(id);
    }
}

QAccessibleInterface* SheetAccessible::child(int index) const {
    return index >= 0 && index < children_.size()
               ? QAccessible::accessibleInterface(children_[index])
               : nullptr;
}

int SheetAccessible::indexOfChild(const QAccessibleInterface* child) const {
    return static_cast<int>(
        children_.indexOf(QAccessible::uniqueId(const_cast<QAccessibleInterface*>(child))));
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

// Drawing order puts each group's total after its traits: trait i sits at i + its group.
QAccessibleInterface* SheetAccessible::traitChild(int index) const {
    for (int group = 0; group < kGroupCount; ++group) {
        const TraitGroup& g = traitGroups().at(static_cast<size_t>(group));
        if (index < g.firstIndex + g.count) {
            return child(index + group);
        }
    }
    return nullptr;
}

QAccessibleInterface* SheetAccessible::totalChild(int group) const {
    const TraitGroup& g = traitGroups().at(static_cast<size_t>(group));
    return child(g.firstIndex + g.count + group);
}

QAccessibleInterface* sheetAccessibleFactory(const QString& /*className*/, QObject* object) {
    if (auto* form = qobject_cast<Form1*>(object)) {
        return new QAccessibleWidget(form, QAccessible::Window);
    }
    auto* surface = qobject_cast<SheetSurfaceWidget*>(object);
    if (surface != nullptr) {
        if (auto* form = qobject_cast<Form1*>(surface->parentWidget())) {
            return new SheetAccessible(surface, form);
        }
    }
    return nullptr;
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

} // namespace

void announce(SheetSurfaceWidget* surface, const QString& message) {
    if (const SheetAccessible* sheet = listenedSheet(surface)) {
        tell(*sheet, message);
    }
}

void announceChanges(SheetSurfaceWidget* surface, const Sheet& before, const Sheet& after) {
    if (!QAccessible::isActive() || before == after) {
        return;
    }
    const SheetAccessible* sheet = listenedSheet(surface);
    if (sheet == nullptr) {
        return;
    }
    QStringList said;
    for (int index = 0; index < kTraitCount; ++index) {
        if (before.rating(index) != after.rating(index)) {
            QAccessibleInterface* trait = sheet->traitChild(index);
            QAccessibleValueChangeEvent event(trait, int(after.rating(index)));
            QAccessible::updateAccessibility(&event);
            said << trait->text(QAccessible::Name) + u' ' + trait->text(QAccessible::Value);
        }
    }
    for (int group = 0; group < kGroupCount; ++group) {
        if (before.GroupTotal(group) != after.GroupTotal(group)) {
            QAccessibleEvent event(sheet->totalChild(group), QAccessible::NameChanged);
            QAccessible::updateAccessibility(&event);
            said << QStringLiteral("összesen: %1").arg(after.GroupTotal(group));
        }
    }
    tell(*sheet, said.join(QStringLiteral(", ")));
}

} // namespace zev
