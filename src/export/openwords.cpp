#include "export/openwords.h"

#include "export/filewords.h"

namespace zev {
namespace {

QString readText(const FileFailure& failure) {
    switch (failure.step) {
    case FileStep::NotRegular:
        return kindText(failure.kind) + QStringLiteral(", nem karakterlap");
    case FileStep::TooLarge:
        return QStringLiteral("túl nagy ahhoz, hogy karakterlap legyen (több mint %1 KiB)")
            .arg(kLargestSheetFile / 1024);
    case FileStep::Open:
        return QStringLiteral("a fájl nem nyitható meg olvasásra: ") + reasonText(failure.error);
    case FileStep::Read:
        return QStringLiteral("a fájlt nem sikerült beolvasni: ") + reasonText(failure.error);
    default:
        return findingText(failure);
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

QString sheetText(const SheetReading& reading) {
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

} // namespace

QString openRefusal(const QString& path, const OpenFault& fault) {
    QString reason;
    switch (fault.name) {
    case OpenFault::Name::NotASheetName:
        reason =
            QStringLiteral("csak .txt végű fájl nyitható meg, mert a Mentés .txt végű fájlba ír");
        break;
    case OpenFault::Name::NotShowable:
        reason = QStringLiteral("a nevét a rendszer nyelvi beállítása nem tudja pontosan "
                                "megjeleníteni, így a Mentés máshová írna");
        break;
    default:
        reason = fault.absent          ? QStringLiteral("nincs ilyen fájl")
                 : fault.read.failed() ? readText(fault.read)
                                       : sheetText(fault.sheet);
    }
    return QStringLiteral("Nem sikerült megnyitni: %1\n%2").arg(shownName(path), reason);
}

QString openFailureMessage(const QString& path, const OpenFault& fault, WindowOnRefusal onRefusal) {
    const QString instead = onRefusal == WindowOnRefusal::StartsAfresh
                                ? QStringLiteral("helyette új karakterlap nyílt meg")
                                : QStringLiteral("az ablak karakterlapja sem változott");
    return openRefusal(path, fault) +
           QStringLiteral("\nA fájl változatlan maradt, %1.").arg(instead);
}

} // namespace zev
