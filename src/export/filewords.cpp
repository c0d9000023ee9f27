#include "export/filewords.h"

#include <QDir>
#include <QFile>

#include <cerrno>
#include <cstring>
#include <sys/stat.h>

namespace zev {

// Control characters as their visible symbols, the middle of a long name left out.
QString shownName(const QString& name) {
    constexpr qsizetype kLongestShownName = 60;
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

QString shownPath(const std::string& path) {
    return shownName(path.empty() ? QDir::currentPath() : QFile::decodeName(path.c_str()));
}

// A missing permission in words that follow any step.
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

QString kindText(mode_t kind) {
    switch (kind) {
    case S_IFDIR:
        return QStringLiteral("ez egy mappa");
    case S_IFCHR:
    case S_IFBLK:
        return QStringLiteral("ez egy eszköz");
    case S_IFIFO:
        return QStringLiteral("ez egy cső");
    case S_IFSOCK:
        return QStringLiteral("ez egy foglalat (socket)");
    default:
        return QStringLiteral("ez nem közönséges fájl");
    }
}

QString placedText(const QString& what, const FileFailure& failure) {
    return QStringLiteral("%1 (%2): %3")
        .arg(what, shownPath(failure.place), reasonText(failure.error));
}

QString findingText(const FileFailure& failure) {
    return placedText(failure.step == FileStep::Folder
                          ? QStringLiteral("a fájl mappája nem nyitható meg")
                          : QStringLiteral("a fájl nem érhető el a mappájában"),
                      failure);
}

} // namespace zev
