#include "export/sheetopener.h"

#include "export/savewords.h"
#include "export/sheetfile.h"
#include "files/fileread.h"

#include <QFile>

namespace zev {
namespace {

OpenResult refused(const QString& path, const QString& reason) {
    OpenResult result;
    result.message = openFailureMessage(path, reason);
    result.refusal = openRefusal(path, reason);
    return result;
}

} // namespace

OpenResult openSheet(const QByteArray& path) {
    const QString shown = QFile::decodeName(path);
    if (const QString refusal = openNameRefusal(path); !refusal.isEmpty()) {
        return refused(shown, refusal);
    }
    const ReadOutcome read = readSmallFile(path.toStdString(), kLargestSheetFile);
    OpenResult result;
    result.ok = true;
    result.name = shown.chopped(qsizetype(kSheetFileEnding.size()));
    if (read.failed == ReadStep::Absent) {
        result.absent = true;
        result.refusal = openRefusal(shown, absentFileReason());
        result.sheet.Reset();
        return result;
    }
    if (!read.ok()) {
        return refused(shown, readFailureReason(read));
    }
    const SheetReading reading = readSheetFile(read.content);
    if (!reading.ok()) {
        return refused(shown, sheetFaultReason(reading));
    }
    result.sheet = reading.sheet;
    return result;
}

} // namespace zev
