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
    const auto row = [](const char* name, FileStep step, int error) -> QTestData& {
        return QTest::newRow(name) << int(step) << error;
    };
    row("a folder that is not there", FileStep::Folder, ENOENT)
        << "nincs"
        << "a fájl mappája nem nyitható meg (nincs): " + says(ENOENT);
    row("a folder one may not search", FileStep::Find, EACCES)
        << "zárt"
        << "a fájl nem érhető el a mappájában (zárt): " + denied;
    const QString loop = QStringLiteral("túl sok szimbolikus link követi egymást");
    row("a loop of links", FileStep::Find, ELOOP)
        << ""
        << "a fájl nem érhető el a mappájában (" + here + "): " + loop;
    row("a file one may not write", FileStep::Open, EACCES)
        << ""
        << "a fájl nem nyitható meg írásra: " + denied;
    row("a new file where one may not write", FileStep::Create, EACCES)
        << ""
        << "a mappában nem hozható létre új fájl (" + here + "): " + denied;
    const QString own = QStringLiteral("a fájl mellé nem kerülhet másolat a régi tartalomról, és a "
                                       "saját mappád sem hozható létre hozzá");
    row("no private folder", FileStep::PrivateFolder, EACCES)
        << "/ház/zev" << own + " (/ház/zev): " + denied;
    const QString copy = QStringLiteral("a régi tartalomról nem sikerült másolatot készíteni");
    row("no room for the copy", FileStep::Copy, ENOSPC)
        << "mappa/t.txt~" << copy + " (mappa/t.txt~): " + says(ENOSPC);
    row("a new file's mode", FileStep::Mode, EPERM)
        << ""
        << "az új fájl jogosultságait nem sikerült beállítani: " + says(EPERM);
    row("a name the file system refuses", FileStep::Rename, EINVAL)
        << "mappa"
        << "a megírt új fájlt nem sikerült a helyére átnevezni (mappa): " + says(EINVAL);
    row("no room for the content", FileStep::Write, ENOSPC)
        << ""
        << "a fájl új tartalmát nem sikerült kiírni: " + says(ENOSPC);
}

void TestSaveWords::namesTheStepThePlaceAndTheReason() {
    QFETCH(int, step);
    QFETCH(int, error);
    QFETCH(QString, place);
    QFETCH(QString, message);
    ReplaceOutcome outcome;
    outcome.failure = {FileStep(step), error, QFile::encodeName(place).toStdString()};
    QCOMPARE(replaceFailureReason(outcome), message);
}

QTEST_APPLESS_MAIN(TestSaveWords)
#include "tst_savewords.moc"
