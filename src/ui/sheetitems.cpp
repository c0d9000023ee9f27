#include "ui/sheetitems.h"

#include "model/traittable.h"
#include "platform/sheetsurfacewidget.h"
#include "ui/clickediting.h"
#include "ui/form1.h"

namespace zev {
namespace {

// A row's band is as wide as a click column and as high as the row pitch.
constexpr float kBandWidth = 90.0F;
constexpr float kBandHeight = 10.0F;

const TraitDef& trait(int index) { return traitTable().at(static_cast<size_t>(index)); }

QString traitName(int index) {
    const std::string_view name = trait(index).name();
    return QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size()));
}

} // namespace

QWindow* SheetItem::window() const { return form_->surface()->window()->windowHandle(); }

QAccessibleInterface* SheetItem::parent() const {
    return QAccessible::queryAccessibleInterface(form_->surface());
}

QRect SheetItem::rect() const {
    const SheetSurfaceWidget* surface = form_->surface();
    const PointScale scale = surface->scale();
    const QRectF pixels(scale.pixelsFromPoints(band_.x()), scale.pixelsFromPoints(band_.y()),
                        scale.pixelsFromPoints(band_.width()),
                        scale.pixelsFromPoints(band_.height()));
    return QRect(surface->mapToGlobal(pixels.topLeft().toPoint()), pixels.size().toSize());
}

TraitItem::TraitItem(Form1* form, int index)
    : SheetItem(form, QRectF(trait(index).x, trait(index).y, kBandWidth, kBandHeight)),
      index_(index) {}

QString TraitItem::text(QAccessible::Text kind) const {
    switch (kind) {
    case QAccessible::Name:
        return traitName(index_);
    case QAccessible::Value:
        return QString::number(form().sheet().rating(index_));
    default:
        return {};
    }
}

void* TraitItem::interface_cast(QAccessible::InterfaceType type) {
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

QString TraitItem::line() const {
    return traitName(index_) + u' ' + QString::number(form().sheet().rating(index_));
}

QString TraitItem::text(int startOffset, int endOffset) const {
    return line().mid(startOffset, endOffset - startOffset);
}

int TraitItem::characterCount() const { return static_cast<int>(line().size()); }

QVariant TraitItem::currentValue() const { return int(form().sheet().rating(index_)); }

QVariant TraitItem::maximumValue() const { return int(kRatingCap); }

QVariant TraitItem::minimumValue() const { return int(trait(index_).floor); }

QStringList TraitItem::actionNames() const { return {increaseAction(), decreaseAction()}; }

void TraitItem::doAction(const QString& actionName) {
    // A release in the middle of the row: the very path a mouse takes, floors and cap included.
    std::int16_t button = 0;
    if (actionName == increaseAction()) {
        button = kLeftButton;
    } else if (actionName == decreaseAction()) {
        button = kRightButton;
    } else {
        return;
    }
    form().Form_MouseUp(button, 0, trait(index_).x + kBandWidth / 2,
                        trait(index_).y + kBandHeight / 2);
}

TotalItem::TotalItem(Form1* form, int group)
    : SheetItem(form, QRectF(traitGroups().at(static_cast<size_t>(group)).totalX,
                             traitGroups().at(static_cast<size_t>(group)).totalY, kBandWidth,
                             kBandHeight)),
      group_(group) {}

QString TotalItem::text(QAccessible::Text kind) const {
    QString total = QString::number(form().sheet().GroupTotal(group_));
    if (kind == QAccessible::Value) {
        return total;
    }
    if (kind != QAccessible::Name) {
        return {};
    }
    const TraitGroup& g = traitGroups().at(static_cast<size_t>(group_));
    return QStringLiteral("%1 – %2 összesen: %3")
        .arg(traitName(g.firstIndex), traitName(g.firstIndex + g.count - 1), total);
}

} // namespace zev
