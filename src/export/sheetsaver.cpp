#include "export/sheetsaver.h"

#include "export/savewords.h"
#include "export/sheetfile.h"
#include "files/filereplace.h"

#include <QFile>

namespace zev {

SaveResult saveSheet(const Sheet& sheet, const QString& path) {
    return saveFileContent(path, sheetFileContent(sheet));
}

SaveResult saveFileContent(const QString& path, std::string_view content) {
    if (const QString refusal = nameRefusal(path); !refusal.isEmpty()) {
        return {false, saveFailureMessage(path, refusal)};
    }
    const ReplaceOutcome outcome =
        replaceFileContent(QFile::encodeName(path).toStdString(), content);
    if (outcome.ok()) {
        return {true, {}};
    }
    return {false, saveFailureMessage(path, replaceFailureReason(outcome))};
}

} // namespace zev
