// What a failed save tells the user: the step that failed, the place it was about, and why.
#include "export/savewords.h"

#include <QDir>
#include <QTest>

#include <cerrno>
#include <cstring>

using namespace zev;

class TestSaveWords : public QObject {
    Q_OBJECT

private slots:
    void namesTheStepThePlaceAndTheReason_data();
    void namesTheStepThePlaceAndTheReason();
};

void TestSaveWords::namesTheStepThePlaceAndTheReason_data() {
    QTest::addColumn<int>("step");
    QTest::addColumn<int>("error");
    QTest::addColumn<QString>("place");
    QTest::addColumn<QString>("message");
    const auto says = [](int error) { return QString::fromLocal8Bit(std::strerror(error)); };
    const QString denied = QStringLiteral("nincs hozzá jogosultságod");
    const QString here = QDir::currentPath();
    const auto row = [](const char* name, ReplaceStep step, int error) -> QTestData& {
        return QTest::newRow(name) << int(step) << error;
    };
    row("a folder that is not there", ReplaceStep::Folder, ENOENT)
        << "nincs"
        << "a fájl mappája nem nyitható meg (nincs): " + says(ENOENT);
    row("a folder one may not search", ReplaceStep::Find, EACCES)
        << "zárt"
        << "a fájl nem érhető el a mappájában (zárt): " + denied;
    const QString loop = QStringLiteral("túl sok szimbolikus link követi egymást");
    row("a loop of links", ReplaceStep::Find, ELOOP)
        << ""
        << "a fájl nem érhető el a mappájában (" + here + "): " + loop;
    row("a file one may not write", ReplaceStep::Open, EACCES)
        << ""
        << "a fájl nem nyitható meg írásra: " + denied;
    row("a new file where one may not write", ReplaceStep::Create, EACCES)
        << ""
        << "a mappában nem hozható létre új fájl (" + here + "): " + denied;
    const QString own = QStringLiteral("a fájl mellé nem kerülhet másolat a régi tartalomról, és a "
                                       "saját mappád sem hozható létre hozzá");
    row("no private folder", ReplaceStep::PrivateFolder, EACCES)
        << "/ház/zev" << own + " (/ház/zev): " + denied;
    const QString copy = QStringLiteral("a régi tartalomról nem sikerült másolatot készíteni");
    row("no room for the copy", ReplaceStep::Copy, ENOSPC)
        << "mappa/t.txt~" << copy + " (mappa/t.txt~): " + says(ENOSPC);
    row("no room for the content", ReplaceStep::Write, ENOSPC)
        << ""
        << "a fájl új tartalmát nem sikerült kiírni: " + says(ENOSPC);
}

void TestSaveWords::namesTheStepThePlaceAndTheReason() {
    QFETCH(int, step);
    QFETCH(int, error);
    QFETCH(QString, place);
    QFETCH(QString, message);
    ReplaceOutcome outcome;
    outcome.failed = ReplaceStep(step);
    outcome.error = error;
    outcome.place = QFile::encodeName(place).toStdString();
    QCOMPARE(replaceFailureReason(outcome), message);
}

QTEST_APPLESS_MAIN(TestSaveWords)
#include "tst_savewords.moc"
