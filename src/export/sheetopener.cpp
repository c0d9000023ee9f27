#include "export/sheetopener.h"

#include "export/savewords.h"
#include "export/sheetfile.h"
#include "files/fileread.h"

#include <QFile>

namespace zev {
namespace {

OpenResult refused(const QString& path, const QString& reason, WindowOnRefusal onRefusal) {
    OpenResult result;
    result.message = openFailureMessage(path, reason, onRefusal);
    return result;
}

// The folder keeps its own spelling, so that a relative one stays relative.
OpenResult namedAfter(const QString& path) {
    OpenResult result;
    result.ok = true;
    const qsizetype nameStart = path.lastIndexOf(u'/') + 1;
    result.folder = path.left(nameStart);
    result.name = path.sliced(nameStart).chopped(qsizetype(kSheetFileEnding.size()));
    return result;
}

} // namespace

OpenResult openSheet(const QByteArray& path, WindowOnRefusal onRefusal) {
    const QString shown = QFile::decodeName(path);
    if (const QString refusal = openNameRefusal(path); !refusal.isEmpty()) {
        return refused(shown, refusal, onRefusal);
    }
    const ReadOutcome read = readSmallFile(path.toStdString(), kLargestSheetFile);
    OpenResult result = namedAfter(shown);
    if (read.failed == ReadStep::Absent) {
        result.sheet.Reset();
        return result;
    }
    if (!read.ok()) {
        return refused(shown, readFailureReason(read), onRefusal);
    }
    const SheetReading reading = readSheetFile(read.content);
    if (!reading.ok()) {
        return refused(shown, sheetFaultReason(reading), onRefusal);
    }
    result.sheet = reading.sheet;
    return result;
}

QString sheetPath(const QString& folder, const QString& name) {
    const QString file = name + QLatin1StringView(kSheetFileEnding);
    return name.startsWith(u'/') ? file : folder + file;
}

} // namespace zev
