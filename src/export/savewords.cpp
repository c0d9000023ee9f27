#include "export/savewords.h"

#include <QDir>
#include <QFile>

#include <cerrno>
#include <cstring>

namespace zev {
namespace {

constexpr qsizetype kLongestShownName = 60;

// A name is shown on one line and at a length a message box can hold: control characters as
// their visible symbols, the middle of a long name left out.
QString shownName(const QString& name) {
    QString shown = name;
    for (QChar& c : shown) {
        if (c.unicode() < 0x20) {
            c = QChar(0x2400 + c.unicode());
        } else if (c.unicode() == 0x7f) {
            c = QChar(0x2421);
        }
    }
    if (shown.size() > kLongestShownName) {
        const qsizetype half = kLongestShownName / 2;
        shown = shown.left(half) + u'…' + shown.right(half);
    }
    return shown;
}

// The system's reason; a missing permission in words that follow any step.
QString reasonText(int error) {
    switch (error) {
    case EACCES:
        return QStringLiteral("nincs hozzá jogosultságod");
    case ELOOP:
        return QStringLiteral("túl sok szimbolikus link követi egymást");
    default:
        return QString::fromLocal8Bit(std::strerror(error));
    }
}

// A path the file layer gave; an empty one is the current folder.
QString shownPath(const std::string& path) {
    return shownName(path.empty() ? QDir::currentPath() : QFile::decodeName(path.c_str()));
}

// What failed, where, and why. The file itself is named above the reason by saveFailureMessage.
QString stepText(const ReplaceOutcome& outcome) {
    const QString reason = reasonText(outcome.error);
    const auto at = [&](const QString& what) {
        return QStringLiteral("%1 (%2): %3").arg(what, shownPath(outcome.place), reason);
    };
    switch (outcome.failed) {
    case ReplaceStep::Folder:
        return at(QStringLiteral("a fájl mappája nem nyitható meg"));
    case ReplaceStep::Find:
        return at(QStringLiteral("a fájl nem érhető el a mappájában"));
    case ReplaceStep::NotRegular:
        return QStringLiteral("ez nem közönséges fájl (hanem mappa, eszköz vagy cső), "
                              "ebbe nem lehet menteni");
    case ReplaceStep::Open:
        return QStringLiteral("a fájl nem nyitható meg írásra: ") + reason;
    case ReplaceStep::Create:
        return at(QStringLiteral("a mappában nem hozható létre új fájl"));
    case ReplaceStep::Moved:
        return QStringLiteral("a fájlt mentés közben áthelyezték vagy lecserélték");
    case ReplaceStep::PrivateFolder:
        return at(QStringLiteral("a fájl mellé nem kerülhet másolat a régi tartalomról, és a "
                                 "saját mappád sem hozható létre hozzá"));
    case ReplaceStep::Copy:
        return at(QStringLiteral("a régi tartalomról nem sikerült másolatot készíteni"));
    default:
        return QStringLiteral("a fájl új tartalmát nem sikerült kiírni: ") + reason;
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
    QString reason = stepText(outcome);
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
