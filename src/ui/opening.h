// What the user is asked, and what they hand over, when another sheet is opened in the window.
#pragma once

#include <QByteArray>
#include <QString>

class QMimeData;
class QWidget;

namespace zev {

enum class BeforeOpening { Save, Discard, Stay };

// Asks over the window whether the changes to the sheet named name are saved before another
// sheet is opened; Escape and closing the question stay.
BeforeOpening askToSaveChanges(QWidget* window, const QString& name);

// The desktop's file dialog over the window, in folder (the current one when empty), sheets
// shown first; the chosen file as the system spells it, empty when none was chosen.
QByteArray chooseSheetFile(QWidget* window, const QString& folder);

// The file a drag brings when it is one sheet file on this machine (its name ends in ".txt"),
// as the system spells it; empty for anything else.
QByteArray draggedSheetFile(const QMimeData* data);

} // namespace zev
