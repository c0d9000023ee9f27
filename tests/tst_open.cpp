// Opening a file, named at start-up or in the window: what a sheet is, what is refused and why,
// that a file that is not opened is never changed, and where the opened sheet is saved.
#include "export/sheetopener.h"
#include "foldertesting.h"
#include "formtesting.h"

#include <QAbstractButton>
#include <QLineEdit>
#include <QMessageBox>
#include <QMimeData>
#include <QTemporaryDir>
#include <QTimer>

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

Sheet freshWith(const QList<int>& changes) { // pairs of index, rating
    Sheet expected;
    expected.Reset();
    for (qsizetype i = 0; i + 1 < changes.size(); i += 2) {
        expected.setRating(changes[i], Rating(changes[i + 1]));
    }
    return expected;
}

void write(const QString& path, const QByteArray& content) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly) && file.write(content) == content.size());
}

// Started in "elsewhere", under the folder %1, the window opens the file at path, which holds
// erő 3, maybe has a name typed over, and saves it: the file saved, from %1.
struct Saving {
    QString path, typed, saved;
};

// After erő is raised to 2 and a name typed in the window that opened a.txt, b.txt is opened
// and the question answered with the button so named, or with Escape: what the boxes told, the
// window's name and erő, and the first line of each sheet file, in name order.
struct Opening {
    bool raised;
    QString typed, b, answer, told, nameBox;
    int erő;
    QString disk;
};

// A form that opened a.txt, and b.txt (erő 4) beside it, in a fresh current folder.
struct OpenedA {
    CurrentFolder dir;
    std::unique_ptr<Form1> form = shownForm();
    explicit OpenedA(const QString& b = sheet(" %1 \r\n", 1, "4")) {
        write(QStringLiteral("a.txt"), sheet());
        write(QStringLiteral("b.txt"), b.toUtf8());
        form->openNamedFile("a.txt");
    }
};

} // namespace

Q_DECLARE_METATYPE(Saving)
Q_DECLARE_METATYPE(Opening)

class TestOpen : public QObject {
    Q_OBJECT

private slots:
    void opensOnlyASheet_data();
    void opensOnlyASheet();
    void refusedFileIsToldInABoxThatFitsTheScreen();
    void savedWhereItCameFrom_data();
    void savedWhereItCameFrom();
    void askedBeforeAChangedSheetGivesWay_data();
    void askedBeforeAChangedSheetGivesWay();
    void oneSheetFileIsTakenFromADrop_data();
    void oneSheetFileIsTakenFromADrop();
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
        << sheet("\t %1\t \r\n", 39, "4") << "" << t << "" << QList{38, 4};
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
    QTest::newRow("40 lines") << sheet() + "5\n"
                              << "" << t << "a 40. sor: „5”, de egy karakterlap csak 39 sorból áll"
                              << fresh;
    QTest::newRow("a CR at the end with no LF") << sheet("%1\n").chopped(1) + "\r"
                                                << "" << t << "(Term.tudományok): „0␍”" << fresh;
    QTest::newRow("empty") << QByteArray("") << "" << t << "a fájl üres" << fresh;
    QTest::newRow("an accented letter")
        << sheet("%1\n", 3, "é") << "" << t << "a 3. sor (állóképesség): nem ASCII" << fresh;
    QTest::newRow("a terabyte") << none << "truncate -s 1T t.txt" << t << "túl nagy" << fresh;
    QTest::newRow("not .txt") << sheet() << "mv t.txt t.TXT" << QByteArray("t.TXT")
                              << "csak .txt végű" << fresh;
    QTest::newRow("a name the locale cannot show")
        << sheet() << "mv t.txt $'H\\xf5s.txt'" << QByteArray("H\xf5s.txt") << "pontosan" << fresh;
    QTest::newRow("no such folder")
        << none << "" << QByteArray("nincs/t.txt") << "a mappája nem létezik" << fresh;
    QTest::newRow("a folder") << none << "mkdir t.txt" << t << "ez egy mappa" << fresh;
    QTest::newRow("a fifo") << none << "mkfifo t.txt" << t << "ez egy cső" << fresh;
    QTest::newRow("a socket") << none
                              << "python3 -c 'import socket; socket.socket(1).bind(\"t.txt\")'" << t
                              << "foglalat" << fresh;
    QTest::newRow("a device") << none << "ln -s /dev/zero t.txt" << t << "ez egy eszköz" << fresh;
    // A write-only setting of the kernel: no one may read it, not even root.
    QTest::newRow("no one may read it") << none << "ln -s /proc/sys/vm/compact_memory t.txt" << t
                                        << "nincs jogosultságod a fájl olvasásához" << fresh;
    QTest::newRow("a loop of links")
        << none << "ln -s t.txt t.txt" << t << "túl sok szimbolikus link" << fresh;
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
    QCOMPARE(shell(setup), QString());
    const QString before = snapshot();
    const OpenResult opened = openSheet(path);

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

void TestOpen::savedWhereItCameFrom_data() {
    QTest::addColumn<Saving>("row");
    QTest::newRow("absolute") << Saving{"%1/Kalandok/Hős.txt", "", "Kalandok/Hős.txt"};
    QTest::newRow("relative") << Saving{"../Kalandok/Hős.txt", "", "Kalandok/Hős.txt"};
    QTest::newRow("plain") << Saving{"Hős.txt", "", "elsewhere/Hős.txt"};
    QTest::newRow("a name typed over") << Saving{"%1/Kalandok/Hős.txt", "Új", "Kalandok/Új.txt"};
    QTest::newRow("an absolute name typed") << Saving{"../Kalandok/Hős.txt", "%1/Új", "Új.txt"};
}

void TestOpen::savedWhereItCameFrom() {
    QFETCH(Saving, row);
    const CurrentFolder dir;
    QDir().mkpath(QStringLiteral("Kalandok/../elsewhere"));
    QDir::setCurrent(QStringLiteral("elsewhere"));
    write(row.path.arg(dir.path()), sheet("%1\n", 1, "3"));
    Form1 form;
    form.openNamedFile(QFile::encodeName(row.path.arg(dir.path())));
    QCOMPARE(form.Text1()->text(), QStringLiteral("Hős"));
    form.Text1()->setText(row.typed.isEmpty() ? form.Text1()->text() : row.typed.arg(dir.path()));
    QVERIFY(form.saveSheetFile());
    QCOMPARE(shell("head -c5 " + dir.file(row.saved)), QStringLiteral(" 3 \r\n"));
}

void TestOpen::askedBeforeAChangedSheetGivesWay_data() {
    QTest::addColumn<Opening>("row");
    const QByteArray b = sheet(" %1 \r\n", 1, "4");
    QTest::newRow("unchanged") << Opening{false, "", b, "", "", "b", 4, " 1 | 4 |"};
    QTest::newRow("Mentés") << Opening{
        true, "", b, "Mentés", "„a” változásai még nincsenek", "b", 4, " 2 | 4 |"};
    QTest::newRow("Elvetés") << Opening{true, "", b, "Elvetés", "„a”", "b", 4, " 1 | 4 |"};
    QTest::newRow("Mégse") << Opening{true, "", b, "Mégse", "„a”", "a", 2, " 1 | 4 |"};
    QTest::newRow("Escape") << Opening{true, "", b, "", "„a”", "a", 2, " 1 | 4 |"};
    QTest::newRow("a name typed") << Opening{false, "c", b, "Mentés",
                                             "„c”", "b", 4, " 1 | 4 | 1 |"};
    QTest::newRow("a save that fails")
        << Opening{true, "nincs/c", b, "Mentés", "Nem sikerült menteni", "nincs/c", 2, " 1 | 4 |"};
    QTest::newRow("a refused file") << Opening{
        true, "", "9\n", "Elvetés", "az ablak karakterlapja sem változott", "a", 2, " 1 |9|"};
}

void TestOpen::askedBeforeAChangedSheetGivesWay() {
    QFETCH(Opening, row);
    const OpenedA opened(row.b);
    Form1& form = *opened.form;
    if (row.raised) {
        clickAt(form, Qt::LeftButton, 50, 5);
    }
    form.Text1()->setText(row.typed.isEmpty() ? form.Text1()->text() : row.typed);
    QString boxes;
    QTimer answerer; // answers each modal box from inside its own loop
    connect(&answerer, &QTimer::timeout, [&] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            boxes += box->text();
            for (QAbstractButton* button : box->buttons()) {
                if (button->text() == row.answer) {
                    return button->click();
                }
            }
            QTest::keyClick(box, Qt::Key_Escape);
        }
    });
    answerer.start(10);
    form.openAnotherSheet("b.txt");
    QVERIFY2(row.told.isEmpty() ? boxes.isEmpty() : boxes.contains(row.told), qPrintable(boxes));
    QCOMPARE(form.Text1()->text(), row.nameBox);
    QCOMPARE(rowAt(form, 0, 0), "erő" + QString(9, u' ') + QString(row.erő, u'^'));
    QCOMPARE(shell("head -qn1 *.txt | tr -d '\\r' | tr '\\n' '|'"), row.disk);
}

void TestOpen::oneSheetFileIsTakenFromADrop_data() {
    QTest::addColumn<bool>("onNameBox");
    QTest::addColumn<QList<QUrl>>("urls"); // relative ones in the current folder; none: text
    QTest::addColumn<QString>("nameBox");  // afterwards: "a" when nothing was taken
    const QUrl b(QStringLiteral("b.txt"));
    QTest::newRow("a sheet") << false << QList{b} << "b";
    QTest::newRow("a sheet on the name box") << true << QList{b} << "b";
    QTest::newRow("not a sheet's name") << true << QList{QUrl("a.png")} << "a";
    QTest::newRow("two sheets") << false << QList{b, QUrl("a.txt")} << "a";
    QTest::newRow("text on the name box") << true << QList<QUrl>() << "ab.txt";
}

void TestOpen::oneSheetFileIsTakenFromADrop() {
    QFETCH(bool, onNameBox);
    QFETCH(QList<QUrl>, urls);
    QFETCH(QString, nameBox);
    const OpenedA opened;
    QMimeData data;
    for (QUrl& url : urls) {
        url = url.isRelative() ? QUrl::fromLocalFile(opened.dir.file(url.path())) : url;
    }
    urls.isEmpty() ? data.setText(QStringLiteral("b.txt")) : data.setUrls(urls);
    QWidget* target = onNameBox ? static_cast<QWidget*>(opened.form->Text1()) : opened.form.get();
    const QPoint end = target->rect().bottomRight();
    QDragEnterEvent enter(end, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QDropEvent drop(end, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &enter);
    if (enter.isAccepted()) { // else Qt sends no drop
        QApplication::sendEvent(target, &drop);
    }
    QTRY_COMPARE(opened.form->Text1()->text(), nameBox);
}

QTEST_MAIN(TestOpen)
#include "tst_open.moc"
