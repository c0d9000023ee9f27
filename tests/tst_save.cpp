// Saving the ratings: the exact bytes, the names files get, and what a failed save leaves.
#include "export/sheetsaver.h"
#include "foldertesting.h"
#include "formtesting.h"
#include "platform/formtimer.h"

#include <QDirIterator>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>

#include <sys/stat.h>
#include <unistd.h>

using namespace zev;
using namespace zev::testing;

namespace {

using Snapshot = QMap<QString, QByteArray>;

// Every file and folder under dir with its content, to prove that nothing else was touched.
Snapshot snapshot(const QString& dir) {
    Snapshot result;
    QDirIterator it(dir, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QFileInfo info(it.next());
        QFile file(info.filePath());
        result.insert(QDir(dir).relativeFilePath(info.filePath()),
                      info.isDir() || !file.open(QIODevice::ReadOnly) ? QByteArray("<dir>")
                                                                      : file.readAll());
    }
    return result;
}

QByteArray readAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

QByteArray freshSheetBytes() {
    return QByteArray(" 1 \r\n").repeated(9) + QByteArray(" 0 \r\n").repeated(30);
}

// A shown window whose error reports are collected instead of shown in a message box.
struct SavingForm {
    SavingForm() : form(shownForm()) {
        form->setErrorReporter([this](const QString& message) { errors.append(message); });
    }
    void saveAs(const QString& name) {
        form->Text1()->setText(name);
        QTest::mouseClick(form->Command1(), Qt::LeftButton, Qt::NoModifier, QPoint(5, 5));
    }
    std::unique_ptr<Form1> form;
    QStringList errors;
};

} // namespace

class TestSave : public QObject {
    Q_OBJECT

private slots:
    void writesOneLinePerRating_data();
    void writesOneLinePerRating();
    void savesUnderTheNameItSpells_data();
    void savesUnderTheNameItSpells();
    void savesWhereTheFolderShutsItsOwnerOutOfNewFolders();
    void savingAgainReplacesTheOldContent();
    void saveChangesNeitherSheetNorWindow();
    void failedSaveIsShownAndTouchesNothing_data();
    void failedSaveIsShownAndTouchesNothing();
    void hostileNameIsSavedAsSpelledOrRefused_data();
    void hostileNameIsSavedAsSpelledOrRefused();
    void savesInAFolderDeeperThanAPathMayBe();
    void failureMessageFitsTheScreen_data();
    void failureMessageFitsTheScreen();
    void saveBeforeTheFirstTickWritesTheFreshSheet();
    void savesOnFileSystemsOfTheirOwn_data();
    void savesOnFileSystemsOfTheirOwn();
    void savingOverAFileKeepsItsIdentity_data();
    void savingOverAFileKeepsItsIdentity();
};

void TestSave::writesOneLinePerRating_data() {
    QTest::addColumn<QList<int>>("changes"); // pairs of index, rating
    QTest::addColumn<QByteArray>("expected");
    QTest::newRow("fresh sheet") << QList<int>{} << freshSheetBytes();

    QByteArray edited = freshSheetBytes();
    edited.replace(0, 5, " 3 \r\n");      // erő
    edited.replace(20 * 5, 5, " 2 \r\n"); // Nyomozás
    edited.replace(38 * 5, 5, " 5 \r\n"); // Term.tudományok
    QTest::newRow("a few edits") << QList<int>{0, 3, 20, 2, 38, 5} << edited;

    QByteArray digits = freshSheetBytes();
    for (int rating = 0; rating <= 5; ++rating) {
        digits.replace((9 + rating) * 5, 5, " " + QByteArray::number(rating) + " \r\n");
    }
    QTest::newRow("every digit") << QList<int>{9, 0, 10, 1, 11, 2, 12, 3, 13, 4, 14, 5} << digits;
}

void TestSave::writesOneLinePerRating() {
    QFETCH(QList<int>, changes);
    QFETCH(QByteArray, expected);
    QTemporaryDir dir;
    Sheet sheet;
    sheet.Reset();
    for (qsizetype i = 0; i + 1 < changes.size(); i += 2) {
        sheet.setRating(changes[i], Rating(changes[i + 1]));
    }
    const QString path = dir.filePath(QStringLiteral("x.txt"));
    const SaveResult result = saveSheet(sheet, path);
    QVERIFY2(result.ok, qPrintable(result.message));
    QCOMPARE(readAll(path), expected);
}

void TestSave::savesUnderTheNameItSpells_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("file");
    QTest::newRow("untouched name") << "Karakter neve"
                                    << "Karakter neve.txt";
    QTest::newRow("empty name") << ""
                                << ".txt";
    QTest::newRow("trailing blanks kept") << "Bob  "
                                          << "Bob  .txt";
    QTest::newRow("Hungarian letters") << "Kovács Ödön"
                                       << "Kovács Ödön.txt";
    QTest::newRow("into a sub-folder") << "sub/Hős"
                                       << "sub/Hős.txt";
    QTest::newRow("trailing slash") << "sub/"
                                    << "sub/.txt";
    QTest::newRow("absolute path") << "@/sub/Hős"
                                   << "sub/Hős.txt"; // @ stands for the folder's absolute path
}

void TestSave::savesUnderTheNameItSpells() {
    QFETCH(QString, name);
    QFETCH(QString, file);
    CurrentFolder folder;
    QVERIFY(QDir(folder.path()).mkdir(QStringLiteral("sub")));
    SavingForm saving;
    saving.saveAs(name.replace(u'@', folder.path()));
    QVERIFY2(saving.errors.isEmpty(), qPrintable(saving.errors.join('\n')));
    Snapshot expected{{QStringLiteral("sub"), "<dir>"}, {file, freshSheetBytes()}};
    QCOMPARE(snapshot(folder.path()), expected);
    // The name reaches the file system as UTF-8 bytes, not as some legacy encoding.
    QVERIFY2(::access(folder.file(file).toUtf8().constData(), F_OK) == 0,
             "no file under the UTF-8 bytes of the name");
    // The mode any new file gets here, though it was written where no one else could open it.
    const QStringList modes = shell(QStringLiteral("touch ref && stat -c %a ref '%1'").arg(file))
                                  .split(u'\n', Qt::SkipEmptyParts);
    QCOMPARE(modes.value(1), modes.value(0));
}

void TestSave::savesWhereTheFolderShutsItsOwnerOutOfNewFolders() {
    CurrentFolder folder;
    // A default access control list that gives no one the right to enter a folder made here.
    const QString made = shell(QStringLiteral("setfacl -d -m u::rw,g::r,o::-,m::rw ."));
    QVERIFY2(made.isEmpty(), qPrintable(made));
    SavingForm saving;
    saving.saveAs(QStringLiteral("Hős"));
    QVERIFY2(saving.errors.isEmpty(), qPrintable(saving.errors.join('\n')));
    QCOMPARE(snapshot(folder.path()), (Snapshot{{QStringLiteral("Hős.txt"), freshSheetBytes()}}));
}

void TestSave::savingAgainReplacesTheOldContent() {
    CurrentFolder folder;
    SavingForm saving;
    saving.saveAs(QStringLiteral("Hős"));
    saving.form->sheet().setRating(5, 4);
    saving.saveAs(QStringLiteral("Hős"));
    QVERIFY(saving.errors.isEmpty());
    QByteArray expected = freshSheetBytes();
    expected.replace(5 * 5, 5, " 4 \r\n");
    QCOMPARE(snapshot(folder.path()), (Snapshot{{QStringLiteral("Hős.txt"), expected}}));
}

void TestSave::saveChangesNeitherSheetNorWindow() {
    CurrentFolder folder;
    SavingForm saving;
    saving.form->sheet().setRating(12, 3);
    saving.form->cucc();
    const Sheet before = saving.form->sheet();
    const QList<PrintedText> drawn = saving.form->surface()->printed();
    saving.saveAs(QStringLiteral("Hős"));
    QCOMPARE(saving.form->sheet(), before);
    QCOMPARE(saving.form->surface()->printed(), drawn);
    QCOMPARE(saving.form->Text1()->text(), QStringLiteral("Hős"));
}

void TestSave::failedSaveIsShownAndTouchesNothing_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("reason"); // what the message must say why
    QTest::newRow("folder does not exist")
        << "nincs/Hős" << QString::fromLocal8Bit(std::strerror(ENOENT));
    QTest::newRow("parent is a regular file")
        << "plain/Hős" << QString::fromLocal8Bit(std::strerror(ENOTDIR));
    QTest::newRow("target is a directory") << "folder"
                                           << "ez egy mappa, ebbe nem lehet";
    QTest::newRow("link to the null device") << "null"
                                             << "ez egy eszköz, ebbe nem lehet";
    QTest::newRow("link to itself") << "loop"
                                    << "túl sok szimbolikus link";
}

void TestSave::failedSaveIsShownAndTouchesNothing() {
    QFETCH(QString, name);
    QFETCH(QString, reason);
    CurrentFolder folder;
    QVERIFY(QDir(folder.path()).mkdir(QStringLiteral("folder.txt")));
    QVERIFY(QFile::link(QStringLiteral("/dev/null"), folder.file(QStringLiteral("null.txt"))));
    QVERIFY(QFile::link(QStringLiteral("loop.txt"), folder.file(QStringLiteral("loop.txt"))));
    QFile plain(folder.file(QStringLiteral("plain")));
    QVERIFY(plain.open(QIODevice::WriteOnly) && plain.write("not a folder") > 0);
    plain.close();
    QFile older(folder.file(QStringLiteral("older.txt")));
    QVERIFY(older.open(QIODevice::WriteOnly) && older.write(" 9 \r\n") > 0);
    older.close();
    const Snapshot before = snapshot(folder.path());

    SavingForm saving;
    saving.form->sheet().setRating(3, 4);
    const Sheet sheet = saving.form->sheet();
    saving.saveAs(name);

    QCOMPARE(saving.errors.size(), 1);
    QVERIFY2(saving.errors.first().contains(name.left(20)), "the message must name the file");
    QVERIFY2(saving.errors.first().contains(reason), qPrintable(saving.errors.first()));
    QCOMPARE(saving.form->sheet(), sheet);
    QVERIFY(saving.form->isVisible());
    QCOMPARE(snapshot(folder.path()), before);

    // The user can correct the name and save the same sheet.
    saving.saveAs(QStringLiteral("Hős"));
    QCOMPARE(saving.errors.size(), 1);
    QCOMPARE(readAll(folder.file(QStringLiteral("Hős.txt"))).mid(3 * 5, 5), QByteArray(" 4 \r\n"));
}

void TestSave::hostileNameIsSavedAsSpelledOrRefused_data() {
    // file: where the save must land, relative to the folder; empty when it must be refused,
    // and then reason is what the error box must say why.
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("reason");
    const QString tooLong = QString::fromLocal8Bit(std::strerror(ENAMETOOLONG));
    QTest::newRow("very long") << QString(5000, u'x') << "" << tooLong;
    QTest::newRow("one over the name limit") << QString(252, u'y') << "" << tooLong;
    QTest::newRow("just under the name limit") << QString(251, u'y') << QString(251, u'y') + ".txt"
                                               << "";
    QTest::newRow("NUL in the middle")
        << QStringLiteral("older") + QChar(u'\0') + QStringLiteral("evil") << ""
        << "NUL";
    QTest::newRow("NUL at the end") << QStringLiteral("older") + QChar(u'\0') << ""
                                    << "NUL";
    QTest::newRow("lone surrogate") << QString(QChar(0xD800)) << ""
                                    << "kódolás";
    QTest::newRow("into a missing folder") << "nincs/"
                                           << "" << QString::fromLocal8Bit(std::strerror(ENOENT));
    QTest::newRow("only blanks") << "   "
                                 << "   .txt"
                                 << "";
    QTest::newRow("leading blanks") << "  Bob"
                                    << "  Bob.txt"
                                    << "";
    QTest::newRow("only dots") << "..."
                               << "....txt"
                               << "";
    QTest::newRow("dot dot") << ".."
                             << "...txt"
                             << "";
    QTest::newRow("single dot") << "."
                                << "..txt"
                                << "";
    QTest::newRow("control characters") << "a\x01b\tc\nd\x7f"
                                        << "a\x01b\tc\nd\x7f.txt"
                                        << "";
    QTest::newRow("escape sequence") << "\x1b[31mred"
                                     << "\x1b[31mred.txt"
                                     << "";
    QTest::newRow("right-to-left override") << "שלום \u202Eabc"
                                            << "שלום \u202Eabc.txt"
                                            << "";
    QTest::newRow("emoji") << "🐉 sárkány"
                           << "🐉 sárkány.txt"
                           << "";
    QTest::newRow("backslashes") << "a\\b\\c"
                                 << "a\\b\\c.txt"
                                 << "";
    QTest::newRow("parent folder") << "sub/../up"
                                   << "up.txt"
                                   << "";
}

void TestSave::hostileNameIsSavedAsSpelledOrRefused() {
    QFETCH(QString, name);
    QFETCH(QString, file);
    QFETCH(QString, reason);
    CurrentFolder folder;
    QVERIFY(QDir(folder.path()).mkdir(QStringLiteral("sub")));
    QFile older(folder.file(QStringLiteral("older.txt")));
    QVERIFY(older.open(QIODevice::WriteOnly) && older.write(" 9 \r\n") > 0);
    older.close();
    Snapshot expected = snapshot(folder.path());

    SavingForm saving;
    saving.saveAs(name);
    QVERIFY(saving.form->isVisible());
    if (file.isEmpty()) {
        QCOMPARE(saving.errors.size(), 1);
        QVERIFY2(saving.errors.first().contains(reason), qPrintable(saving.errors.first()));
    } else {
        QVERIFY2(saving.errors.isEmpty(), qPrintable(saving.errors.join('\n')));
        expected.insert(file, freshSheetBytes());
    }
    QCOMPARE(snapshot(folder.path()), expected);
}

void TestSave::savesInAFolderDeeperThanAPathMayBe() {
    CurrentFolder folder;
    const QByteArray step(200, 'd');
    for (int depth = 0; depth < 25; ++depth) { // 25 × 201 bytes: past PATH_MAX
        QVERIFY(::mkdir(step.constData(), 0700) == 0 && ::chdir(step.constData()) == 0);
    }
    SavingForm saving;
    saving.saveAs(QStringLiteral("t"));
    saving.form->sheet().setRating(0, 3);
    saving.saveAs(QStringLiteral("t")); // over the file the first save made
    const QByteArray saved = shell(QStringLiteral("cat t.txt")).toLatin1();
    QDir::setCurrent(folder.path());
    shell(QStringLiteral("rm -rf ") + step); // too deep for QTemporaryDir's own removal
    QVERIFY2(saving.errors.isEmpty(), qPrintable(saving.errors.join('\n')));
    QCOMPARE(saved, QByteArray(" 3 \r\n") + freshSheetBytes().mid(5));
}

void TestSave::failureMessageFitsTheScreen_data() {
    QTest::addColumn<QString>("name");
    QTest::newRow("a long name") << QString(8000, u'x') + QStringLiteral("/y");
    QTest::newRow("many lines") << QString(200, u'\n') + QStringLiteral("/y");
}

void TestSave::failureMessageFitsTheScreen() {
    QFETCH(QString, name);
    CurrentFolder folder;
    const std::unique_ptr<Form1> form = shownForm();
    QSize box;
    QTimer closer; // the box is modal: it is measured and closed from inside its own loop
    connect(&closer, &QTimer::timeout, [&box] {
        if (QWidget* shown = QApplication::activeModalWidget()) {
            box = shown->frameGeometry().size();
            shown->close();
        }
    });
    closer.start(10);
    form->Text1()->setText(name);
    QTest::mouseClick(form->Command1(), Qt::LeftButton);
    QVERIFY2(box.isValid() && box.width() <= 1024 && box.height() <= 768,
             qPrintable(QDebug::toString(box)));
}

void TestSave::saveBeforeTheFirstTickWritesTheFreshSheet() {
    CurrentFolder folder;
    Form1 form;
    form.Form_Load();
    form.show();
    form.Timer1()->stop();
    form.Command1_Click();
    QCOMPARE(form.Timer1()->Tag, QStringLiteral("1"));
    QCOMPARE(readAll(folder.file(QStringLiteral("Karakter neve.txt"))), freshSheetBytes());
}

void TestSave::savesOnFileSystemsOfTheirOwn_data() {
    // folder names the variable that tests/mounted-saves.sh sets to a file system it mounted;
    // reasons are what the message must say, none when the save must succeed. A file with two
    // names is rewritten in place, and on a full disk its copy is what fails; on an overlay,
    // opening a lower file for writing copies it up, a new inode under the same name.
    QTest::addColumn<QString>("folder");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QStringList>("reasons");
    const auto row = [](const QString& tag, const QString& folder, const QString& name,
                        const QStringList& reasons) {
        QTest::newRow(qPrintable(tag)) << "ZEV_" + folder + "_DIR" << name << reasons;
    };
    const QString full = QString::fromLocal8Bit(std::strerror(ENOSPC));
    row("full, one name", "FULL_DISK", "Hős", {full});
    row("full, two names", "FULL_DISK", "Két név", {"másolatot", full});
    row("overlay, two names", "OVERLAY", "t", {});
    for (const QString fuse : {"bindfs", "exFAT", "NTFS"}) {
        row(fuse + ", new", fuse.toUpper(), "Új", {});
        row(fuse + ", over an old one", fuse.toUpper(), "Régi", {});
    }
    row("exFAT, a name it refuses", "EXFAT", "a:b", {"a:b"});
    row("NTFS, a name it refuses", "NTFS", "a:b", {"a:b"});
    row("bindfs, full", "BINDFS_FULL", "Új", {full});
    row("exFAT, full", "EXFAT_FULL", "Új", {full});
}

void TestSave::savesOnFileSystemsOfTheirOwn() {
    QFETCH(QString, folder);
    QFETCH(QString, name);
    QFETCH(QStringList, reasons);
    const QString dir = qEnvironmentVariable(folder.toLatin1());
    if (dir.isEmpty()) {
        QSKIP("no such file system was set up (run through tests/mounted-saves.sh)");
    }
    Snapshot expected = snapshot(dir);
    SavingForm saving;
    saving.saveAs(dir + u'/' + name);
    saving.saveAs(dir + u'/' + name); // over what the first save left
    const QString message = saving.errors.join(u'\n');
    for (const QString& reason : reasons) {
        QVERIFY2(message.contains(reason), qPrintable(message));
    }
    QVERIFY2(reasons.isEmpty() == message.isEmpty(), qPrintable(message));
    QVERIFY2(!message.contains(QStringLiteral("megsérülhetett")), qPrintable(message));
    // Nothing else: no temporary file or folder, no copy, no file hidden by FUSE.
    if (reasons.isEmpty()) {
        expected.insert(name + QStringLiteral(".txt"), freshSheetBytes());
    }
    QCOMPARE(snapshot(dir), expected);
}

namespace {

// A group other than the user's own that the user may give a file to: root may give any.
QString groupToGive() {
    if (::geteuid() == 0) {
        return QStringLiteral("users");
    }
    const QStringList groups = shell(QStringLiteral("id -Gn")).split(u' ', Qt::SkipEmptyParts);
    return groups.size() > 1 ? groups.at(1).trimmed() : QString();
}

} // namespace

void TestSave::savingOverAFileKeepsItsIdentity_data() {
    // setup makes t.txt (the file saved over) in an empty folder; identity is what must not
    // change; real is the file that holds the content; renamedByRoot says whether root saves it
    // by a rename (a new inode) rather than in place (an ordinary user always saves in place).
    QTest::addColumn<QString>("setup");
    QTest::addColumn<QString>("real");
    QTest::addColumn<QString>("identity");
    QTest::addColumn<bool>("renamedByRoot");
    const QString owner = QStringLiteral("stat -c '%U:%G %A %F' ");
    QTest::newRow("mode 0600") << "chmod 600 t.txt"
                               << "t.txt" << owner + "t.txt" << true;
    QTest::newRow("symbolic links")
        << "mkdir -p a/b && mv t.txt a/ && ln -s ../t.txt a/b/l && ln -s a/b/l t.txt"
        << "a/t.txt" << owner + "t.txt a/t.txt; readlink t.txt a/b/l" << true;
    QTest::newRow("40 links, as many as are followed")
        << "mv t.txt l40 && for i in $(seq 40); do ln -s l$i l$((i - 1)); done && mv l0 t.txt"
        << "l40" << owner + "l40; readlink t.txt" << true;
    QTest::newRow("a folder one may not list") << "chmod 300 ."
                                               << "t.txt" << owner + "t.txt" << true;
    QTest::newRow("another group") << "chgrp @group t.txt"
                                   << "t.txt" << owner + "t.txt" << true;
    QTest::newRow("another owner") << "chown nobody:users t.txt"
                                   << "t.txt" << owner + "t.txt" << true;
    QTest::newRow("one of two hard links") << "ln t.txt other.txt"
                                           << "other.txt"
                                           << "stat -c '%i %h' t.txt other.txt" << false;
    QTest::newRow("ACL entry") << "setfacl -m user:nobody:rw- t.txt"
                               << "t.txt" << owner + "t.txt; getfacl -p t.txt" << true;
    QTest::newRow("extended attribute") << "setfattr -n user.note -v kept t.txt"
                                        << "t.txt" << owner + "t.txt; getfattr -d t.txt" << true;
    QTest::newRow("write-only") << "chmod 200 t.txt"
                                << "t.txt" << owner + "t.txt" << true;
    QTest::newRow("a leftover NAME~") << "echo keep >t.txt~ && ln t.txt other.txt"
                                      << "t.txt" << owner + "t.txt; ls -A; cat t.txt~" << false;
}

void TestSave::savingOverAFileKeepsItsIdentity() {
    QFETCH(QString, setup);
    QFETCH(QString, real);
    QFETCH(QString, identity);
    QFETCH(bool, renamedByRoot);
    if (::geteuid() != 0 && setup.contains(QStringLiteral("chown"))) {
        QSKIP("left out: needs root, to give a file to another user");
    }
    if (setup.contains(u'@')) {
        const QString group = groupToGive();
        if (group.isEmpty()) {
            QSKIP("left out: needs root, or a second group of the user's to give a file to");
        }
        setup.replace(QStringLiteral("@group"), group);
    }
    CurrentFolder folder;
    const QString made = shell(QStringLiteral("printf ' 9 \\r\\n' > t.txt && ") + setup);
    QVERIFY2(made.isEmpty(), qPrintable(made));
    const QString before = shell(identity);
    const QString inode = QStringLiteral("stat -c %i ") + real;
    const QString oldInode = shell(inode);

    SavingForm saving;
    saving.saveAs(QStringLiteral("t"));
    QVERIFY2(saving.errors.isEmpty(), qPrintable(saving.errors.join('\n')));
    QCOMPARE(shell(identity + QStringLiteral("; chmod 700 .")), before);
    QCOMPARE(shell(inode) != oldInode, renamedByRoot && ::geteuid() == 0);
    QCOMPARE(shell(QStringLiteral("chmod u+r %1 && cat %1").arg(real)).toLatin1(),
             freshSheetBytes());
}

QTEST_MAIN(TestSave)
#include "tst_save.moc"
