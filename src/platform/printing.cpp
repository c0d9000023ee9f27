#include "platform/printing.h"

#include "platform/formsruntime.h"

#include <QCoreApplication>
#include <QLibrary>

namespace zev {
namespace {

using Entry = int (*)(QWidget*, const QString&, const QString&, const PaintPage&, QString&);

// Beside the program in its build folder, or where it is installed.
QStringList modulePlaces() {
    return {QCoreApplication::applicationDirPath() + QStringLiteral("/zevprint"),
            QStringLiteral(ZEV_MODULE_DIR "/zevprint")};
}

Entry printEntry() {
    for (const QString& place : modulePlaces()) {
        if (QFunctionPointer entry = QLibrary::resolve(place, "zevPrintPage")) {
            return reinterpret_cast<Entry>(entry);
        }
    }
    return nullptr;
}

} // namespace

PrintResult printPage(QWidget* parent, const QString& documentName, const PaintPage& paint) {
    static const Entry entry = printEntry();
    PrintResult result;
    if (entry == nullptr) {
        result.outcome = PrintOutcome::Unavailable;
        result.where = modulePlaces().constLast() + QStringLiteral(".so");
        return result;
    }
    result.outcome = PrintOutcome(entry(
        parent, documentName, QStringLiteral("ZEV %1").arg(programVersion()), paint, result.where));
    return result;
}

} // namespace zev
