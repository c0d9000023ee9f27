#include "export/sheetsaver.h"

#include "platform/textconversions.h"
#include "platform/textfileoutput.h"

namespace zev {

SaveResult saveSheet(const Sheet& sheet, const QString& path) {
    QByteArray content;
    for (int index = 0; index < kTraitCount; ++index) {
        content += integerLine(sheet.rating(index));
    }
    const QString error = writeTextFile(path, content);
    if (error.isEmpty()) {
        return {true, {}};
    }
    return {false, QStringLiteral("Nem sikerült menteni: %1\n%2").arg(path, error)};
}

} // namespace zev
