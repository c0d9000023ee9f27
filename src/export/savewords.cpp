#include "export/savewords.h"

#include <QDir>
#include <QFile>

#include <cerrno>
#include <cstring>
#include <sys/stat.h>

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

namespace {

QString readErrorText(int error) {
    switch (error) {
    case EACCES:
        return QStringLiteral("nincs jogosultságod a fájl olvasásához");
    case ENOENT:
        return QStringLiteral("a mappája nem létezik");
    default:
        return reasonText(error);
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

// Numbers read with a vowel first (egy, öt…, ezer…) take "az".
QString article(int number) {
    const QString digits = QString::number(number);
    return number == 1 || digits.startsWith(u'5') || (digits.size() == 4 && digits.startsWith(u'1'))
               ? QStringLiteral("az")
               : QStringLiteral("a");
}

// "a 12. sor (Ökölharc)": the line, and the trait whose rating belongs there.
QString lineText(int line) {
    QString text = QStringLiteral("%1 %2. sor").arg(article(line)).arg(line);
    if (line > kTraitCount) {
        return text;
    }
    const std::string_view name = trait(line - 1).name;
    return QStringLiteral("%1 (%2)").arg(text,
                                         QString::fromUtf8(name.data(), qsizetype(name.size())));
}

// What stands on a line, as a name is shown.
QString quoted(const std::string& text) {
    if (text.empty()) {
        return QStringLiteral("üres");
    }
    return u'„' + shownName(QString::fromUtf8(text.data(), qsizetype(text.size()))) + u'”';
}

} // namespace

QString openNameRefusal(const QByteArray& path) {
    if (!path.endsWith(QByteArrayView(kSheetFileEnding))) {
        return QStringLiteral(
            "csak .txt végű fájl nyitható meg, mert a Mentés .txt végű fájlba ír");
    }
    if (QFile::encodeName(QFile::decodeName(path)) != path) {
        return QStringLiteral("a nevét a rendszer nyelvi beállítása nem tudja pontosan "
                              "megjeleníteni, így a Mentés máshová írna");
    }
    return {};
}

QString openFailureMessage(const QString& path, const QString& reason, WindowOnRefusal onRefusal) {
    const QString instead = onRefusal == WindowOnRefusal::StartsAfresh
                                ? QStringLiteral("helyette új karakterlap nyílt meg")
                                : QStringLiteral("az ablak karakterlapja sem változott");
    return QStringLiteral("Nem sikerült megnyitni: %1\n%2\nA fájl változatlan maradt, %3.")
        .arg(shownName(path), reason, instead);
}

QString readFailureReason(const ReadOutcome& outcome) {
    switch (outcome.failed) {
    case ReadStep::NotRegular:
        return kindText(outcome.kind) + QStringLiteral(", nem karakterlap");
    case ReadStep::TooLarge:
        return QStringLiteral("túl nagy ahhoz, hogy karakterlap legyen (több mint %1 KiB)")
            .arg(kLargestSheetFile / 1024);
    default:
        return readErrorText(outcome.error);
    }
}

QString sheetFaultReason(const SheetReading& reading) {
    if (reading.fault == SheetFault::TooFewLines) {
        return (reading.line == 0 ? QStringLiteral("a fájl üres")
                                  : QStringLiteral("csak %1 sor van benne").arg(reading.line)) +
               QStringLiteral(", de egy karakterlap %1 sorból áll").arg(kTraitCount);
    }
    const QString line = lineText(reading.line);
    const QString number = QString::fromStdString(reading.text);
    switch (reading.fault) {
    case SheetFault::NotAscii:
        return line + QStringLiteral(": nem ASCII karakter van benne (például ékezetes betű)");
    case SheetFault::NotANumber:
        return QStringLiteral("%1: %2, de egy egész számnak kell ott állnia")
            .arg(line, quoted(reading.text));
    case SheetFault::BelowFloor:
        return QStringLiteral("%1: %2, de nem lehet kevesebb, mint %3")
            .arg(line, number)
            .arg(trait(reading.line - 1).floor);
    case SheetFault::AboveCap:
        return QStringLiteral("%1: %2, de legfeljebb %3 lehet").arg(line, number).arg(kRatingCap);
    default: // TooManyLines
        return QStringLiteral("%1: %2, de egy karakterlap csak %3 sorból áll")
            .arg(line, quoted(reading.text))
            .arg(kTraitCount);
    }
}

} // namespace zev
