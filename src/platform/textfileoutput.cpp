#include "platform/textfileoutput.h"

#include "platform/filereplace.h"

#include <QFile>

#include <cerrno>
#include <cstring>

namespace zev {
namespace {

QString reasonFor(const ReplaceOutcome& outcome) {
    QString reason;
    switch (outcome.error) {
    case kNotRegularFile:
        reason = QStringLiteral("ez nem közönséges fájl (hanem mappa, eszköz vagy cső), "
                                "ebbe nem lehet menteni");
        break;
    case EACCES:
        reason = QStringLiteral("nincs jogosultságod a fájl írásához");
        break;
    case ELOOP:
        reason = QStringLiteral("túl sok szimbolikus link követi egymást");
        break;
    case kFileMoved:
        reason = QStringLiteral("a fájlt mentés közben áthelyezték vagy lecserélték");
        break;
    default:
        reason = QString::fromLocal8Bit(std::strerror(outcome.error));
    }
    if (outcome.damaged) {
        reason += QStringLiteral("\nA fájl régi tartalmát sem sikerült visszaírni, "
                                 "a fájl megsérülhetett.");
    }
    if (outcome.partialNewFile) {
        reason += QStringLiteral("\nA félig megírt új fájlt nem sikerült törölni.");
    }
    if (!outcome.oldCopy.isEmpty()) {
        reason += QStringLiteral("\nA régi tartalma egészben megvan itt: %1")
                      .arg(QFile::decodeName(outcome.oldCopy));
    }
    return reason;
}

} // namespace

QString writeTextFile(const QString& path, const QByteArray& content) {
    if (path.contains(QChar(u'\0'))) {
        // The system call would silently cut the name at the NUL and write somewhere else.
        return QStringLiteral("a név nem tartalmazhat NUL karaktert");
    }
    const QByteArray encoded = QFile::encodeName(path);
    if (QFile::decodeName(encoded) != path) {
        // A lone surrogate would silently become U+FFFD: a different name than the one typed.
        return QStringLiteral("a név nem írható le a fájlrendszer kódolásával");
    }
    const ReplaceOutcome outcome = replaceFileContent(encoded, content);
    return outcome.ok() ? QString() : reasonFor(outcome);
}

} // namespace zev
