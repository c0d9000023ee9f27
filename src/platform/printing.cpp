#include "platform/printing.h"

#include "platform/formsruntime.h"

#include <QCoreApplication>
#include <QLibrary>

namespace zev {
namespace {

using Entry = int (*)(QWidget*, const QString&, const QString&, const PaintPage&, QString&);

constexpr const char* kEntryName = "zevPrintPage";

// In the build, the module lies beside the program, which looks there first.
QString besideTheProgram() {
    return QCoreApplication::applicationDirPath() + QStringLiteral("/zevprint");
}
QString installed() { return QStringLiteral(ZEV_MODULE_DIR "/zevprint"); }

Entry printEntry() {
    QFunctionPointer entry = QLibrary::resolve(besideTheProgram(), kEntryName);
    if (entry == nullptr) {
        entry = QLibrary::resolve(installed(), kEntryName);
    }
    return reinterpret_cast<Entry>(entry);
}

} // namespace

PrintResult printPage(QWidget* parent, const QString& documentName, const PaintPage& paint) {
    static const Entry entry = printEntry();
    PrintResult result;
    if (entry == nullptr) {
        result.outcome = PrintOutcome::Unavailable;
        result.where = installed() + QStringLiteral(".so");
        return result;
    }
    result.outcome =
        PrintOutcome(entry(parent, documentName, programCreator(), paint, result.where));
    return result;
}

} // namespace zev
