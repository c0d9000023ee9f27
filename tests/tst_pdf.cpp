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
    QTest::addColumn<int>("rating"); // every trait's, above its floor, before the drawing caps it
    QTest::addColumn<QPageSize::PageSizeId>("paper");
    QTest::addColumn<QString>("paperName"); // as pdfinfo says it

    QTest::newRow("fresh sheet") << QStringLiteral("Karakter neve") << 0 << QPageSize::A4 << "(A4)";
    QTest::newRow("all at six, capped to five")
        << QStringLiteral("Öt") << 6 << QPageSize::A4 << "(A4)";
    QTest::newRow("long name") << QStringLiteral("Sir Kovács Hős Árvíztűrő von Ödenburg, a "
                                                 "tükörfúrógépek harmadik ura")
                               << 3 << QPageSize::A4 << "(A4)";
    QTest::newRow("accented name")
        << QStringLiteral("Őrült Ügyes Éva") << 2 << QPageSize::A4 << "(A4)";
    QTest::newRow("letter") << QStringLiteral("Letter") << 4 << QPageSize::Letter << "(letter)";
    QTest::newRow("A6, too narrow: scaled")
        << QStringLiteral("Kicsi") << 1 << QPageSize::A6 << "297 x 420 pts";
}

void TestPdf::pageHoldsTheSheetAsText() {
    QFETCH(QString, name);
    QFETCH(int, rating);
    QFETCH(QPageSize::PageSizeId, paper);
    QFETCH(QString, paperName);
    Sheet sheet;
    for (int index = 0; index < 39; ++index) {
        sheet.setRating(index, Rating(std::max(rating, facts::floor(index))));
    }
    const QByteArray pdf = sheetsPdf({{sheet, name}}, paper);

    const QString text = poppler(QStringLiteral("pdftotext"), {"-layout", "-"}, pdf);
    QCOMPARE(text.trimmed().section(u'\n', 0, 0).trimmed(), name);
    for (int index = 0; index < 39; ++index) {
        const int marks = std::min(std::max(rating, facts::floor(index)), 5);
        const QRegularExpressionMatch row =
            QRegularExpression(QStringLiteral("(^|\\s)%1(\\s+\\^+|(?!\\s*\\^))")
                                   .arg(QRegularExpression::escape(facts::name(index))))
                .match(text);
        QVERIFY2(row.captured().count(u'^') == marks, qPrintable(facts::name(index)));
    }
    const QString attributes = QString::number(3 * std::min(std::max(rating, 1), 5) - 3);
    const QString skills = QString::number(10 * std::min(rating, 5));
    QStringList totals;
    for (const auto& total :
         QRegularExpression(QStringLiteral("\\( (\\d+)\\)")).globalMatch(text)) {
        totals.append(total.captured(1));
    }
    QCOMPARE(totals, QStringList({attributes, attributes, attributes, skills, skills, skills}));

    const QString info = poppler(QStringLiteral("pdfinfo"), {}, pdf);
    for (const QString& line :
         {QStringLiteral("Title: +%1\n").arg(QRegularExpression::escape(name)),
          QStringLiteral("Creator: +ZEV \\d"),
          QStringLiteral("Page size: .*%1\n").arg(QRegularExpression::escape(paperName))}) {
        QVERIFY2(info.contains(QRegularExpression(line)), qPrintable(info));
    }
    // Every face embedded: no "no" in the column after the encoding.
    const QString fonts = poppler(QStringLiteral("pdffonts"), {}, pdf);
    QVERIFY2(
        fonts.contains(QStringLiteral(" yes ")) &&
            !fonts.contains(QRegularExpression(QStringLiteral(" no +\\S+ +\\S+ +\\d+ +\\d+\n"))),
        qPrintable(fonts));
}

QTEST_MAIN(TestPdf)
#include "tst_pdf.moc"
