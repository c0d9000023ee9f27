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
// and decrease, which are a left and a right mouse release over its row. Its text is the row as
// a reader should hear it, name and rating ("erő 1"): a screen reader reviewing the window line
// by line reads an item's text, and would otherwise make a percentage of the value.
class TraitItem : public SheetItem,
                  public QAccessibleValueInterface,
                  public QAccessibleActionInterface,
                  public QAccessibleTextInterface {
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

    // Read-only text without caret or selection; every character covers the whole row, so
    // that whatever part of it a reader clicks, the click lands in the row's middle.
    [[nodiscard]] QString text(int startOffset, int endOffset) const override;
    [[nodiscard]] int characterCount() const override;
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
    [[nodiscard]] QString line() const;

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

// What the last change was, in words ("erő 2, összesen: 1"): the message that tells a screen
// reader about a change it would not present by itself, since none of the items is ever
// focused. It has no area, so that a reader reviewing the window never meets it.
class NoticeItem : public SheetItem {
public:
    explicit NoticeItem(Form1* form) : SheetItem(form, QRectF()) {}

    [[nodiscard]] QString text(QAccessible::Text kind) const override {
        return kind == QAccessible::Name ? message_ : QString();
    }
    [[nodiscard]] QAccessible::Role role() const override { return QAccessible::Notification; }
    void setMessage(const QString& message) { message_ = message; }

private:
    QString message_;
};

} // namespace zev
