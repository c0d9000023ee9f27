#pragma once

#include "model/sheet.h"
#include "ui/sheetaccessible.h"

#include <QWidget>

#include <cstdint>
#include <functional>

class QDragEnterEvent;
class QDropEvent;
class QKeyEvent;
class QLineEdit;
class QPushButton;

namespace zev {

struct OpenResult;
class FormTimer;
class SheetSurfaceWidget;

// The program's only window: the sheet drawn on the client area, the name box and the save
// button. It owns the sheet and wires each window event to its handler; the handlers hand
// the work to the click editor, the key editor, the drawing and the saver. It is the source of
// its surface's accessible sheet.
class Form1 : public QWidget, public SheetSource {
    Q_OBJECT
public:
    using ErrorReporter = std::function<void(const QString& message)>;

    explicit Form1(QWidget* parent = nullptr);
    Form1(const Form1&) = delete;
    Form1& operator=(const Form1&) = delete;

    void Form_Load();
    void Form_MouseUp(std::int16_t button, std::int16_t shift, float x, float y);
    // A key pressed while the sheet has the focus; whether the sheet took it.
    bool Form_KeyDown(int key, Qt::KeyboardModifiers modifiers);
    void Form_GotFocus();
    void Command1_Click();
    void Timer1_Timer();
    void cucc();
    // Prints the page of the sheet under the name in the box, as the print dialog says.
    void printPage();

    // Takes the sheet, the name and the folder from the file named at start-up, before the window
    // is shown; a file that cannot be opened is told once the window is up, and nothing changes.
    void openNamedFile(const QByteArray& path);
    // Ctrl+O: the file dialog, then as openAnotherSheet.
    void openChosenSheet();
    // Opens the file at path in place of the window's sheet, having asked first whether changes
    // are saved; a file that cannot be opened is told, and the window keeps what it had.
    void openAnotherSheet(const QByteArray& path);
    // Saves the sheet as "Mentés" does, to the name in the name box in the window's folder;
    // whether it was saved (a failure is told).
    bool saveSheetFile();

    [[nodiscard]] const Sheet& sheet() const override { return sheet_; }
    [[nodiscard]] Sheet& sheet() { return sheet_; }
    // Raises or lowers a trait, then draws the sheet again, as a release over its row does.
    void editTrait(int index, TraitEdit edit) override;
    [[nodiscard]] int currentTrait() const override { return current_; }
    void setCurrentTrait(int index);
    [[nodiscard]] SheetSurfaceWidget* surface() const { return surface_; }
    [[nodiscard]] QLineEdit* Text1() const { return text1_; }
    [[nodiscard]] QPushButton* Command1() const { return command1_; }
    [[nodiscard]] FormTimer* Timer1() const { return timer1_; }

    // A failed save is told to the user in a message box; tests may listen instead.
    void setErrorReporter(ErrorReporter reporter) { reportError_ = std::move(reporter); }

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void layOutControls();
    void connectEvents();
    void take(const OpenResult& opened);
    void replaceWith(const QByteArray& path);
    void keepAsSaved();
    [[nodiscard]] bool changedSinceSaved() const;
    [[nodiscard]] bool readyToReplace();
    void takeDrop(QDropEvent* event);
    void showError(const QString& message);

    Sheet sheet_;
    Sheet announced_; // the sheet as assistive technology was last told of it
    Sheet saved_;     // the sheet and the name as they were opened or last saved
    QString savedName_;
    QString folder_;  // where the name in the name box is saved; empty for the current folder
    int current_ = 0; // the trait the keys act on while the sheet has the focus
    SheetSurfaceWidget* surface_;
    QLineEdit* text1_;
    QPushButton* command1_;
    FormTimer* timer1_;
    ErrorReporter reportError_;
};

} // namespace zev
