#include "export/sheetopener.h"

#include "export/openwords.h"
#include "export/sheetfile.h"
#include "files/fileread.h"

#include <QFile>

namespace zev {
namespace {

// Reads the file at path into sheet, a fresh one where there is no file yet; what kept it from
// being a sheet comes back.
OpenFault readSheet(const QByteArray& path, Sheet& sheet) {
    OpenFault fault;
    if (!path.endsWith(QByteArrayView(kSheetFileEnding))) {
        fault.name = OpenFault::Name::NotASheetName;
    } else if (QFile::encodeName(QFile::decodeName(path)) != path) {
        fault.name = OpenFault::Name::NotShowable;
    }
    if (fault.name != OpenFault::Name::Fine) {
        return fault;
    }
    const ReadOutcome read = readSmallFile(path.toStdString(), kLargestSheetFile);
    if (read.failure.step == FileStep::Absent) {
        fault.absent = true;
        sheet.Reset();
        return fault;
    }
    fault.read = read.failure;
    if (read.ok()) {
        fault.sheet = readSheetFile(read.content);
    }
    if (fault.none()) {
        sheet = fault.sheet.sheet;
    }
    return fault;
}

} // namespace

OpenResult openSheet(const QByteArray& path, WindowOnRefusal onRefusal) {
    OpenResult result;
    const OpenFault fault = readSheet(path, result.sheet);
    const QString shown = QFile::decodeName(path);
    result.ok = fault.none();
    if (result.ok) {
        // The folder keeps its own spelling, so that a relative one stays relative.
        const qsizetype nameStart = shown.lastIndexOf(u'/') + 1;
        result.folder = shown.left(nameStart);
        result.name = shown.sliced(nameStart).chopped(qsizetype(kSheetFileEnding.size()));
    } else {
        result.message = openFailureMessage(shown, fault, onRefusal);
    }
    result.absent = fault.absent;
    if (!result.ok || result.absent) {
        result.refusal = openRefusal(shown, fault);
    }
    return result;
}

QString sheetPath(const QString& folder, const QString& name) {
    const QString file = name + QLatin1StringView(kSheetFileEnding);
    return name.startsWith(u'/') ? file : folder + file;
}

} // namespace zev
