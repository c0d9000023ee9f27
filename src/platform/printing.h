#pragma once

#include <QString>

#include <functional>

class QPainter;
class QRectF;
class QWidget;

// Printing through the desktop's print dialog. Qt's print support is a module of its own,
// loaded the first time the user prints, so that a window that never prints neither maps nor
// relocates it.
namespace zev {

// Paints the page into an area given in the painter's device pixels.
using PaintPage = std::function<void(QPainter& painter, const QRectF& area)>;

enum class PrintOutcome {
    Printed,
    Cancelled,   // the dialog was closed without printing
    Failed,      // the printer or the file the dialog chose took no page
    Unavailable, // the print module is not installed
};

struct PrintResult {
    PrintOutcome outcome = PrintOutcome::Printed;
    QString where; // the printer or the file chosen; with Unavailable, the module looked for
};

// Asks in the print dialog where and how to print one page, and prints it there.
PrintResult printPage(QWidget* parent, const QString& documentName, const PaintPage& paint);

} // namespace zev
