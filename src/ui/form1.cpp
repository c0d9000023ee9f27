#include "ui/form1.h"

#include "export/sheetfile.h"
#include "export/sheetopener.h"
#include "export/sheetsaver.h"
#include "platform/formtimer.h"
#include "platform/sheetsurfacewidget.h"
#include "platform/textconversions.h"
#include "ui/clickediting.h"
#include "ui/keyediting.h"
#include "ui/opening.h"
#include "ui/sheetaccessible.h"
#include "ui/sheetdrawing.h"
#include "ui/sheetpage.h"
#include "ui/sheetprinting.h"

#include <QAccessible>
#include <QCoreApplication>
#include <QDropEvent>
#include <QIcon>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMessageBox>
#include <QMimeData>
#include <QPushButton>
#include <QTimer>

namespace zev {
namespace {

// Layout in twips, from the client area's top-left corner.
constexpr QRect kClientArea(0, 0, 6570, 5445);
constexpr QRect kText1(120, 4440, 1575, 285);
constexpr QRect kCommand1(1920, 4440, 1695, 375);

QRect pixelsFromTwips(const PointScale& scale, const QRect& twips) {
    // Edges are rounded, not sizes, so neighbouring controls keep their gaps at any DPI.
    const int left = scale.pixelsFromTwips(twips.left());
    const int top = scale.pixelsFromTwips(twips.top());
    const int right = scale.pixelsFromTwips(twips.left() + twips.width());
    const int bottom = scale.pixelsFromTwips(twips.top() + twips.height());
    return {left, top, right - left, bottom - top};
}

// Assistive technology meets Form1 as a window and its surface as the sheet.
QAccessibleInterface* accessibleForm(const QString& /*className*/, QObject* object) {
    if (auto* form = qobject_cast<Form1*>(object)) {
        return new QAccessibleWidget(form, QAccessible::Window);
    }
    return accessibleSheet(object);
}

void installAccessibleForm() { QAccessible::installFactory(accessibleForm); }

} // namespace

Q_COREAPP_STARTUP_FUNCTION(installAccessibleForm)

Form1::Form1(QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint),
      surface_(new SheetSurfaceWidget(this)), text1_(new QLineEdit(this)),
      command1_(new QPushButton(QStringLiteral("Mentés"), this)), timer1_(new FormTimer(this)),
      reportError_([this](const QString& message) { showError(message); }) {
    setWindowTitle(QStringLiteral("ZEV"));
    setWindowIcon(QIcon(QStringLiteral(":/zev/zev.ico")));
    text1_->setText(freshSheetName());
    text1_->setAccessibleName(QStringLiteral("Karakter neve")); // kept when the text is typed over
    setAcceptDrops(true);
    text1_->installEventFilter(this); // a file dropped on the name box is the window's
    setTabOrder(text1_, command1_);
    setTabOrder(command1_, surface_);
    text1_->setFocus();
    timer1_->Tag = QStringLiteral("1");
    timer1_->setInterval(10);
    layOutControls();
    connectEvents();
    setCurrentTrait(0);
    timer1_->start();
}

void Form1::layOutControls() {
    const PointScale scale = surface_->scale();
    const QRect client = pixelsFromTwips(scale, kClientArea);
    setFixedSize(client.size());
    surface_->setGeometry(client);
    text1_->setGeometry(pixelsFromTwips(scale, kText1));
    command1_->setGeometry(pixelsFromTwips(scale, kCommand1));
}

void Form1::connectEvents() {
    connect(surface_, &SheetSurfaceWidget::mouseUp, this, &Form1::Form_MouseUp);
    surface_->setKeyReceiver(
        [this](int key, Qt::KeyboardModifiers modifiers) { return Form_KeyDown(key, modifiers); });
    // Queued: Qt tells assistive technology of the surface's own focus only after its focus-in
    // event, and the current trait's focus must come after that, or the sheet keeps it.
    connect(surface_, &SheetSurfaceWidget::gotFocus, this, &Form1::Form_GotFocus,
            Qt::QueuedConnection);
    connect(command1_, &QPushButton::clicked, this, &Form1::Command1_Click);
    connect(timer1_, &QTimer::timeout, this, &Form1::Timer1_Timer);
}

void Form1::Form_Load() {
    sheet_.Reset();
    announced_ = sheet_; // before the window is shown: nobody has heard anything yet
    keepAsSaved();
}

void Form1::Timer1_Timer() {
    // The Tag says whether the first drawing is still due; it goes to "0" once and stays.
    if (textToNumber(timer1_->Tag) == 1.0) {
        cucc();
        timer1_->Tag = integerToText(0);
    }
}

void Form1::Form_MouseUp(std::int16_t button, std::int16_t /*shift*/, float x, float y) {
    applyRelease(sheet_, button, x, y);
    cucc();
}

void Form1::editTrait(int index, TraitEdit edit) {
    applyEdit(sheet_, index, edit);
    cucc();
}

bool Form1::Form_KeyDown(int key, Qt::KeyboardModifiers modifiers) {
    const KeyEffect effect = keyEffect(current_, key, modifiers);
    if (effect.edit) {
        editTrait(current_, *effect.edit);
    } else if (effect.current != current_) {
        setCurrentTrait(effect.current);
    }
    return effect.taken;
}

void Form1::Form_GotFocus() {
    if (surface_->hasFocus()) { // still, once the queued call arrives
        announceFocus(surface_, current_);
    }
}

void Form1::setCurrentTrait(int index) {
    current_ = index;
    const RowBand band = traitBand(index);
    surface_->setFocusArea(QRectF(QPointF(band.left, band.top), QPointF(band.right, band.bottom)));
    if (surface_->hasFocus()) {
        announceFocus(surface_, index);
    }
}

void Form1::Command1_Click() { saveSheetFile(); }

bool Form1::saveSheetFile() {
    const SaveResult result = saveSheet(sheet_, sheetPath(folder_, text1_->text()));
    if (!result.ok) {
        reportError_(result.message);
        return false;
    }
    keepAsSaved();
    announce(surface_, QStringLiteral("Mentve"));
    return true;
}

void Form1::keepAsSaved() {
    saved_ = sheet_;
    savedName_ = text1_->text();
}

bool Form1::changedSinceSaved() const { return sheet_ != saved_ || text1_->text() != savedName_; }

void Form1::take(const OpenResult& opened) {
    sheet_ = opened.sheet;
    folder_ = opened.folder;
    text1_->setText(opened.name);
    keepAsSaved();
}

void Form1::openNamedFile(const QByteArray& path) {
    const OpenResult opened = openSheet(path);
    if (!opened.ok) {
        // The message box stands over the window, so it waits for the event loop to show it.
        QTimer::singleShot(0, this, [this, message = opened.message] { reportError_(message); });
        return;
    }
    take(opened);
    announced_ = sheet_;
}

void Form1::openChosenSheet() {
    if (!readyToReplace()) {
        return;
    }
    if (const QByteArray path = chooseSheetFile(this, folder_); !path.isEmpty()) {
        replaceWith(path);
    }
}

void Form1::openAnotherSheet(const QByteArray& path) {
    if (readyToReplace()) {
        replaceWith(path);
    }
}

void Form1::replaceWith(const QByteArray& path) {
    const OpenResult opened = openSheet(path, WindowOnRefusal::KeepsItsSheet);
    if (!opened.ok) {
        reportError_(opened.message);
        return;
    }
    const Sheet before = announced_;
    take(opened);
    announced_ = sheet_; // told below in one phrase, not change by change
    cucc();
    announceReplaced(surface_, before, sheet_, QStringLiteral("%1 megnyitva").arg(opened.name));
}

// Whether the window's sheet may give way: unchanged, saved now, or its changes dropped.
bool Form1::readyToReplace() {
    if (!changedSinceSaved()) {
        return true;
    }
    switch (askToSaveChanges(this, text1_->text())) {
    case BeforeOpening::Save:
        return saveSheetFile();
    case BeforeOpening::Discard:
        return true;
    default:
        return false;
    }
}

// The controls leave these keys to the window, so they work wherever the focus is.
void Form1::keyPressEvent(QKeyEvent* event) {
    if (event->matches(QKeySequence::Save)) {
        saveSheetFile();
    } else if (event->matches(QKeySequence::Open)) {
        openChosenSheet();
    } else if (event->matches(QKeySequence::Print)) {
        printPage();
    } else {
        QWidget::keyPressEvent(event);
    }
}

void Form1::dragEnterEvent(QDragEnterEvent* event) {
    if (!draggedSheetFile(event->mimeData()).isEmpty()) {
        event->acceptProposedAction();
    }
}

void Form1::dropEvent(QDropEvent* event) { takeDrop(event); }

bool Form1::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if (watched != text1_ ||
        (type != QEvent::DragEnter && type != QEvent::DragMove && type != QEvent::Drop)) {
        return QWidget::eventFilter(watched, event);
    }
    auto* drag = static_cast<QDropEvent*>(event);
    if (!drag->mimeData()->hasUrls()) {
        return false; // text, which the name box takes as ever
    }
    if (type == QEvent::Drop) {
        takeDrop(drag);
    } else if (!draggedSheetFile(drag->mimeData()).isEmpty()) {
        drag->acceptProposedAction();
    } else {
        drag->ignore();
    }
    return true;
}

// The drop ends first: the question and the opening would hold the dragging program waiting.
void Form1::takeDrop(QDropEvent* event) {
    const QByteArray path = draggedSheetFile(event->mimeData());
    if (path.isEmpty()) {
        event->ignore();
        return;
    }
    event->acceptProposedAction();
    QTimer::singleShot(0, this, [this, path] { openAnotherSheet(path); });
}

void Form1::cucc() {
    drawSheet(sheet_, *surface_);
    announceChanges(surface_, announced_, sheet_);
    announced_ = sheet_;
}

void Form1::printPage() {
    if (const QString failure = printSheet(this, {sheet_, text1_->text()}); !failure.isEmpty()) {
        reportError_(failure);
    }
}

void Form1::showError(const QString& message) {
    QMessageBox::critical(this, QStringLiteral("ZEV"), message);
}

} // namespace zev
