// Opening a file named at start-up: what a sheet is, what is refused and why, and that a file
// that is not opened is never changed.
#include "export/sheetopener.h"
#include "foldertesting.h"
#include "formtesting.h"

#include <QMessageBox>
#include <QTemporaryDir>
#include <QTimer>

#include <cstdio>

using namespace zev;
using namespace zev::testing;

namespace {

// The fresh sheet's 39 numbers, each line as format makes it, line n (from 1) holding text.
QByteArray sheet(const char* format = " %1 \r\n", int n = 0, const QByteArray& text = {}) {
    QByteArray bytes;
    for (int line = 1; line <= 39; ++line) {
        bytes += QByteArray(format).replace("%1", line == n ? text : line <= 9 ? "1" : "0");
    }
    return bytes;
}

// Names, kinds, sizes, times and small files' content of the current folder: never opens a
// fifo or a device.
QString snapshot() {
    return shell(QStringLiteral("find . -printf '%p %y %s %T@\\n' | sort; "
                                "find . -type f -size -100k -exec md5sum {} + | sort"));
}

// Bytes this process has read so far, as the kernel counts them.
long long bytesRead() {
    QFile io(QStringLiteral("/proc/self/io"));
    long long read = 0;
    if (io.open(QIODevice::ReadOnly)) {
        std::sscanf(io.readAll().constData(), "rchar: %lld", &read);
    }
    return read;
}

Sheet freshWith(const QList<int>& changes) { // pairs of index, rating
    Sheet expected;
    expected.Reset();
    for (qsizetype i = 0; i + 1 < changes.size(); i += 2) {
        expected.setRating(changes[i], Rating(changes[i + 1]));
    }
    return expected;
}

} // namespace

class TestOpen : public QObject {
    Q_OBJECT

private slots:
    void opensOnlyASheet_data();
    void opensOnlyASheet();
    void refusedFileIsToldInABoxThatFitsTheScreen();
};

void TestOpen::opensOnlyASheet_data() {
    // content, when not null, is written to t.txt before setup runs in the same fresh folder;
    // reason is what the message must say, empty when the file must open, and then the sheet
    // must hold the fresh ratings with changes (index, rating, ...).
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QString>("setup");
    QTest::addColumn<QByteArray>("path");
    QTest::addColumn<QString>("reason");
    QTest::addColumn<QList<int>>("changes");
    const QByteArray t("t.txt");
    const QByteArray none;
    const QList<int> fresh;
    const auto padded = [](qsizetype size) { return sheet() + QByteArray(size - 195, '\n'); };

    QTest::newRow("as saved") << sheet(" %1 \r\n", 12, "3") << "" << t << "" << QList{11, 3};
    QTest::newRow("LF, bare numbers") << sheet("%1\n", 1, "5") << "" << t << "" << QList{0, 5};
    QTest::newRow("tabs and blanks")
        << sheet("\t %1\t \r\n", 39, "+4") << "" << t << "" << QList{38, 4};
    QTest::newRow("no line end at the end") << sheet().chopped(2) << "" << t << "" << fresh;
    QTest::newRow("empty lines at the end") << sheet() + "\r\n\n \t\n"
                                            << "" << t << "" << fresh;
    QTest::newRow("byte-order mark") << "\xEF\xBB\xBF" + sheet("%1\n") << "" << t << "" << fresh;
    QTest::newRow("as large as a sheet may be") << padded(65536) << "" << t << "" << fresh;
    QTest::newRow("not there yet") << none << "" << t << "" << fresh;

    QTest::newRow("above five") << sheet(" %1 \r\n", 12, "6") << "" << t
                                << "a 12. sor (Ökölharc): 6, de legfeljebb 5 lehet" << fresh;
    QTest::newRow("past any integer") << sheet("%1\n", 10, "4294967301") << "" << t
                                      << "(Éberség): 4294967301, de legfeljebb 5" << fresh;
    QTest::newRow("a sign alone") << sheet("%1\n", 11, "-") << "" << t << "(Atlétika): „-”"
                                  << fresh;
    QTest::newRow("an attribute at 0")
        << sheet("%1\n", 2, "0") << "" << t
        << "a 2. sor (ügyesség): 0, de nem lehet kevesebb, mint 1" << fresh;
    QTest::newRow("a skill below 0") << sheet("%1\n", 39, "-1") << "" << t
                                     << "a 39. sor (Term.tudományok): -1, de nem lehet kevesebb, "
                                        "mint 0"
                                     << fresh;
    QTest::newRow("a fraction") << sheet("%1\n", 1, "2.0") << "" << t << "az 1. sor (erő): „2.0”"
                                << fresh;
    QTest::newRow("two numbers") << sheet("%1\n", 5, "3 4") << "" << t
                                 << "az 5. sor (manipuláció): „3 4”" << fresh;
    QTest::newRow("empty lines between")
        << sheet("%1\n", 20, "\n") << "" << t << "a 20. sor (Állatszelidítés): üres" << fresh;
    QTest::newRow("38 lines") << sheet().chopped(5) << "" << t
                              << "csak 38 sor van benne, de egy karakterlap 39 sorból áll" << fresh;
    QTest::newRow("50 lines") << sheet() + QByteArray(10, '\n') + "5\n"
                              << "" << t << "az 50. sor: „5”, de egy karakterlap csak 39 sorból áll"
                              << fresh;
    QTest::newRow("1040 lines") << sheet() + QByteArray(1000, '\n') + "x"
                                << "" << t << "az 1040. sor: „x”" << fresh;
    QTest::newRow("a CR at the end with no LF") << sheet("%1\n").chopped(1) + "\r"
                                                << "" << t << "(Term.tudományok): „0␍”" << fresh;
    QTest::newRow("empty") << QByteArray("") << "" << t << "a fájl üres" << fresh;
    QTest::newRow("an accented letter")
        << sheet("%1\n", 3, "é") << "" << t << "a 3. sor (állóképesség): nem ASCII" << fresh;
    QTest::newRow("a terabyte") << none << "needs /proc/self/io && truncate -s 1T t.txt" << t
                                << "túl nagy ahhoz, hogy karakterlap legyen (több mint 64 KiB)"
                                << fresh;
    QTest::newRow("more than its size said")
        << none << "needs /proc/kallsyms && ln -s /proc/kallsyms t.txt" << t << "túl nagy" << fresh;
    QTest::newRow("not .txt") << sheet() << "mv t.txt t.TXT" << QByteArray("t.TXT")
                              << "csak .txt végű" << fresh;
    QTest::newRow("a name the locale cannot show")
        << sheet() << "mv t.txt $'H\\xf5s.txt'" << QByteArray("H\xf5s.txt") << "pontosan" << fresh;
    QTest::newRow("no such folder") << none << "" << QByteArray("nincs/t.txt")
                                    << "a fájl mappája nem nyitható meg (nincs)" << fresh;
    QTest::newRow("a folder") << none << "mkdir t.txt" << t << "ez egy mappa" << fresh;
    QTest::newRow("a fifo") << none << "mkfifo t.txt" << t << "ez egy cső" << fresh;
    QTest::newRow("a socket")
        << none << "needs python3 && python3 -c 'import socket; socket.socket(1).bind(\"t.txt\")'"
        << t << "foglalat" << fresh;
    QTest::newRow("a device") << none << "ln -s /dev/zero t.txt" << t << "ez egy eszköz" << fresh;
    // A write-only setting of the kernel: no one may read it, not even root.
    QTest::newRow("no one may read it")
        << none << "needs /proc/sys/vm/compact_memory && ln -s /proc/sys/vm/compact_memory t.txt"
        << t << "a fájl nem nyitható meg olvasásra: nincs hozzá jogosultságod" << fresh;
    QTest::newRow("a loop of links")
        << none << "ln -s t.txt t.txt" << t << "a fájl nem érhető el a mappájában" << fresh;
}

void TestOpen::opensOnlyASheet() {
    QFETCH(QByteArray, content);
    QFETCH(QString, setup);
    QFETCH(QByteArray, path);
    QFETCH(QString, reason);
    QFETCH(QList<int>, changes);
    const CurrentFolder dir;
    QFile file(QStringLiteral("t.txt"));
    QVERIFY(content.isNull() || (file.open(QIODevice::WriteOnly) && file.write(content) >= 0));
    file.close();
    // A row that needs what this machine lacks is left out, saying what.
    const QString made = shell(QStringLiteral("needs() { [ -e \"$1\" ] || command -v \"$1\" "
                                              ">/dev/null || { echo \"needs $1\"; false; }; }; ") +
                               setup);
    if (!made.isEmpty()) {
        QSKIP(qPrintable(QStringLiteral("left out: ") + made.trimmed()));
    }
    const QString before = snapshot();
    const bool overSize = QFileInfo(QStringLiteral("t.txt")).size() > 64 * 1024;
    const long long read = bytesRead();
    const OpenResult opened = openSheet(path);
    // A file whose size says more than a sheet may hold is refused before a byte of it is read.
    QVERIFY(!overSize || bytesRead() - read < 4096);

    QCOMPARE(snapshot(), before);
    shell(QStringLiteral("find . -mindepth 1 -delete")); // names Qt cannot spell too
    if (reason.isEmpty()) {
        QVERIFY2(opened.ok, qPrintable(opened.message));
        QCOMPARE(opened.name, QString::fromUtf8(path).chopped(4));
        QCOMPARE(opened.sheet, freshWith(changes));
    } else {
        QVERIFY(!opened.ok);
        QVERIFY2(opened.message.contains(reason) &&
                     opened.message.contains(QString::fromUtf8(path.right(5))),
                 qPrintable(opened.message));
    }
}

void TestOpen::refusedFileIsToldInABoxThatFitsTheScreen() {
    const QTemporaryDir dir;
    const QString path = dir.filePath(QString(200, u'x') + QStringLiteral(".txt"));
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly) && file.write(sheet("%1\n", 7, QByteArray(3000, 'x'))));
    file.close();
    Form1 form;
    form.Form_Load();
    form.openNamedFile(QFile::encodeName(path));
    form.show();
    QSize box;
    QString told;
    QTimer closer; // the box is modal: it is measured and closed from inside its own loop
    connect(&closer, &QTimer::timeout, [&] {
        if (auto* shown = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            box = shown->frameGeometry().size();
            told = shown->text();
            shown->close();
        }
    });
    closer.start(10);
    QTRY_VERIFY(box.isValid());
    QVERIFY2(box.width() <= 1024 && box.height() <= 768, qPrintable(QDebug::toString(box)));
    QVERIFY2(told.contains(QStringLiteral("a 7. sor (észlelés)")), qPrintable(told));
}

QTEST_MAIN(TestOpen)
#include "tst_open.moc"
