#include "export/savewords.h"

#include "export/filewords.h"

#include <QFile>

namespace zev {
namespace {

// What failed, where, and why. The file itself is named above the reason by saveFailureMessage.
QString stepText(const FileFailure& failure) {
    const QString reason = reasonText(failure.error);
    switch (failure.step) {
    case FileStep::NotRegular:
        return kindText(failure.kind) + QStringLiteral(", ebbe nem lehet menteni");
    case FileStep::Open:
        return QStringLiteral("a fájl nem nyitható meg írásra: ") + reason;
    case FileStep::Create:
        return placedText(QStringLiteral("a mappában nem hozható létre új fájl"), failure);
    case FileStep::Mode:
        return QStringLiteral("az új fájl jogosultságait nem sikerült beállítani: ") + reason;
    case FileStep::Moved:
        return QStringLiteral("a fájlt mentés közben áthelyezték vagy lecserélték");
    case FileStep::PrivateFolder:
        return placedText(QStringLiteral("a fájl mellé nem kerülhet másolat a régi tartalomról, "
                                         "és a saját mappád sem hozható létre hozzá"),
                          failure);
    case FileStep::Copy:
        return placedText(QStringLiteral("a régi tartalomról nem sikerült másolatot készíteni"),
                          failure);
    case FileStep::Write:
        return QStringLiteral("a fájl új tartalmát nem sikerült kiírni: ") + reason;
    case FileStep::Rename:
        return placedText(QStringLiteral("a megírt új fájlt nem sikerült a helyére átnevezni"),
                          failure);
    default:
        return findingText(failure);
    }
}

} // namespace

QString nameRefusal(const QString& path) {
    if (path.contains(QChar(u'\0'))) {
        // The system call would silently cut the name at the NUL and write somewhere else.
        return QStringLiteral("a név nem tartalmazhat NUL karaktert");
    }
    if (QFile::decodeName(QFile::encodeName(path)) != path) {
        // A lone surrogate would silently become U+FFFD: a different name than the one typed.
        return QStringLiteral("a név nem írható le a fájlrendszer kódolásával");
    }
    return {};
}

QString saveFailureMessage(const QString& path, const QString& reason) {
    return QStringLiteral("Nem sikerült menteni: %1\n%2").arg(shownName(path), reason);
}

QString replaceFailureReason(const ReplaceOutcome& outcome) {
    QString reason = stepText(outcome.failure);
    if (!outcome.oldIntact) {
        reason += QStringLiteral("\nA fájl régi tartalmát sem sikerült visszaírni, "
                                 "a fájl megsérülhetett.");
        if (!outcome.copy.empty()) {
            reason += QStringLiteral("\nA régi tartalma egészben megvan itt: %1")
                          .arg(shownPath(outcome.copy));
        }
    }
    if (outcome.partialNewFile) {
        reason += QStringLiteral("\nA félig megírt új fájlt nem sikerült törölni.");
    }
    return reason;
}

} // namespace zev
