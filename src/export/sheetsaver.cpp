#include "export/sheetsaver.h"

#include "platform/textfileoutput.h"

namespace zev {

SaveResult saveSheet(const Sheet& sheet, const QString& path) {
    TextFileOutput file;
    if (file.open(path)) {
        for (int index = 0; index < kTraitCount; ++index) {
            file.printLine(sheet.rating(index));
        }
    }
    if (file.close()) {
        return {true, {}};
    }
    return {false, QStringLiteral("Nem sikerült menteni: %1\n%2").arg(path, file.errorString())};
}

} // namespace zev
