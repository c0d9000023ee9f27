// The page on paper through Qt's PDF writer and back out through poppler's tools: the name as a
// heading, every trait's name followed by its marks, every total, the faces embedded, the title
// and the creator, the paper.
#include "sheetfacts.h"
#include "ui/sheetpdf.h"

#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryFile>
#include <QTest>

using namespace zev;

namespace {

// What a poppler tool says of the PDF, given its first argument, the PDF's name and its other
// arguments; fails the test where the tool is missing.
QString poppler(const QString& tool, const QStringList& arguments, const QByteArray& pdf) {
    QTemporaryFile file;
    if (!file.open() || file.write(pdf) != pdf.size() || !file.flush()) {
        return {};
    }
    QProcess process;
    process.start(tool, arguments.mid(0, 1) + QStringList{file.fileName()} + arguments.mid(1));
    if (!process.waitForFinished() || process.exitCode() != 0) {
        qWarning("FAIL: %s is missing or failed; install the Debian package poppler-utils",
                 qPrintable(tool));
        return {};
    }
    return QString::fromUtf8(process.readAllStandardOutput());
}

} // namespace

class TestPdf : public QObject {
    Q_OBJECT

private slots:
    void pageHoldsTheSheetAsText_data();
    void pageHoldsTheSheetAsText();
};

void TestPdf::pageHoldsTheSheetAsText_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("rating"); // every trait's before the drawing caps it; 0: a fresh sheet
    QTest::addColumn<int>("paper");
    QTest::addColumn<QString>("pageSize"); // as pdfinfo says it

    QTest::newRow("fresh sheet") << QStringLiteral("Karakter neve") << 0 << int(QPageSize::A4)
                                 << QStringLiteral("595 x 842 pts (A4)");
    QTest::newRow("all at six, capped to five")
        << QStringLiteral("Öt") << 6 << int(QPageSize::A4) << QStringLiteral("595 x 842 pts (A4)");
    QTest::newRow("long name") << QStringLiteral("Sir Kovács Hős Árvíztűrő von Ödenburg, a "
                                                 "tükörfúrógépek harmadik ura")
                               << 3 << int(QPageSize::A4) << QStringLiteral("595 x 842 pts (A4)");
    QTest::newRow("accented name") << QStringLiteral("Őrült Ügyes Éva") << 2 << int(QPageSize::A4)
                                   << QStringLiteral("595 x 842 pts (A4)");
    QTest::newRow("letter") << QStringLiteral("Letter") << 4 << int(QPageSize::Letter)
                            << QStringLiteral("612 x 792 pts (letter)");
}

void TestPdf::pageHoldsTheSheetAsText() {
    QFETCH(QString, name);
    QFETCH(int, rating);
    QFETCH(int, paper);
    QFETCH(QString, pageSize);
    Sheet sheet;
    for (int index = 0; index < 39; ++index) {
        sheet.setRating(index, Rating(rating == 0 ? facts::floor(index) : rating));
    }
    const QByteArray pdf = sheetsPdf({{sheet, name}}, QPageSize::PageSizeId(paper));

    const QString text =
        poppler(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), QStringLiteral("-")}, pdf);
    QCOMPARE(text.trimmed().section(u'\n', 0, 0).trimmed(), name);
    for (int index = 0; index < 39; ++index) {
        const int marks = rating == 0 ? facts::floor(index) : std::min(rating, 5);
        const QRegularExpression row(
            QStringLiteral("(^|\\s)%1\\s+\\^{%2}(?!\\^)|(^|\\s)%1(?!\\s*\\^)")
                .arg(QRegularExpression::escape(facts::name(index)))
                .arg(marks));
        const QRegularExpressionMatch match = row.match(text);
        QVERIFY2(match.hasMatch() && match.captured().count(u'^') == marks,
                 qPrintable(facts::name(index) + QStringLiteral(" without %1 marks").arg(marks)));
    }
    const int mark = rating == 0 ? 0 : std::min(rating, 5);
    const QString attributes = QString::number(rating == 0 ? 0 : 3 * mark - 3);
    const QString skills = QString::number(10 * mark);
    QStringList totals;
    for (const auto& match :
         QRegularExpression(QStringLiteral("\\( ?(\\d+)\\)")).globalMatch(text)) {
        totals.append(match.captured(1));
    }
    QCOMPARE(totals, QStringList({attributes, attributes, attributes, skills, skills, skills}));

    const QString info = poppler(QStringLiteral("pdfinfo"), {}, pdf);
    QVERIFY2(info.contains(QStringLiteral("Title:           %1\n").arg(name)), qPrintable(info));
    QVERIFY2(info.contains(QRegularExpression(QStringLiteral("Creator: +ZEV \\d"))),
             qPrintable(info));
    QVERIFY2(info.contains(QStringLiteral("Page size:       %1\n").arg(pageSize)),
             qPrintable(info));
    const QStringList fonts = poppler(QStringLiteral("pdffonts"), {}, pdf).split(u'\n').mid(2);
    QVERIFY(fonts.size() >= 2);
    for (const QString& font : fonts) {
        const QStringList fields = font.split(u' ', Qt::SkipEmptyParts);
        QVERIFY2(fields.isEmpty() || fields.at(fields.size() - 5) == QLatin1String("yes"),
                 qPrintable(font));
    }
}

QTEST_MAIN(TestPdf)
#include "tst_pdf.moc"
