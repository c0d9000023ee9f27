#pragma once

#include <QAccessibleInterface>
#include <QRectF>

namespace zev {

class Form1;

// The drawn sheet's rows as assistive technology sees them: one item per trait and one per
// group total, children of the drawing surface in drawing order. They keep no state of their
// own; names and values are read from the window's sheet whenever they are asked for, and
// they have no keyboard focus or editing of their own.
class SheetItem : public QAccessibleInterface {
public:
    [[nodiscard]] bool isValid() const override { return form_ != nullptr; }
    [[nodiscard]] QObject* object() const override { return nullptr; }
    [[nodiscard]] QWindow* window() const override;
    [[nodiscard]] QAccessibleInterface* parent() const override;
    [[nodiscard]] QAccessibleInterface* child(int /*index*/) const override { return nullptr; }
    [[nodiscard]] int childCount() const override { return 0; }
    [[nodiscard]] int indexOfChild(const QAccessibleInterface* /*child*/) const override {
        return -1;
    }
    [[nodiscard]] QAccessibleInterface* childAt(int /*x*/, int /*y*/) const override {
        return nullptr;
    }
    void setText(QAccessible::Text /*kind*/, const QString& /*text*/) override {}
    [[nodiscard]] QRect rect() const override;
    [[nodiscard]] QAccessible::State state() const override { return {}; }

protected:
    // band: the row's area on the surface, in points.
    SheetItem(Form1* form, const QRectF& band) : form_(form), band_(band) {}
    [[nodiscard]] Form1& form() const { return *form_; }

private:
    Form1* form_;
    QRectF band_;
};

// A trait: its name, its rating as a value between its floor and 5, and the actions increase
// and decrease, which are a left and a right mouse release over its row.
class TraitItem : public SheetItem,
                  public QAccessibleValueInterface,
                  public QAccessibleActionInterface {
public:
    TraitItem(Form1* form, int index);

    [[nodiscard]] QString text(QAccessible::Text kind) const override;
    [[nodiscard]] QAccessible::Role role() const override { return QAccessible::Slider; }
    void* interface_cast(QAccessible::InterfaceType type) override;

    [[nodiscard]] QVariant currentValue() const override;
    void setCurrentValue(const QVariant& /*value*/) override {} // one step at a time only
    [[nodiscard]] QVariant maximumValue() const override;
    [[nodiscard]] QVariant minimumValue() const override;
    [[nodiscard]] QVariant minimumStepSize() const override { return 1; }

    [[nodiscard]] QStringList actionNames() const override;
    void doAction(const QString& actionName) override;
    [[nodiscard]] QStringList keyBindingsForAction(const QString& /*actionName*/) const override {
        return {};
    }

private:
    int index_;
};

// A group total: static text that names the traits it sums and says the total.
class TotalItem : public SheetItem {
public:
    TotalItem(Form1* form, int group);

    [[nodiscard]] QString text(QAccessible::Text kind) const override;
    [[nodiscard]] QAccessible::Role role() const override { return QAccessible::StaticText; }

private:
    int group_;
};

} // namespace zev
