// Number and text conversions used by the totals, the timer's Tag and the saved file.
#include "export/sheetfile.h"
#include "platform/textconversions.h"

#include <QTest>

#include <cstdint>

using namespace zev;

class TestConversions : public QObject {
    Q_OBJECT

private slots:
    void displayText_data();
    void displayText();
    void textToNumber_data();
    void textToNumber();
    void integerTextHasNoBlank();
};

void TestConversions::displayText_data() {
    QTest::addColumn<int>("value");
    QTest::addColumn<QString>("display");
    QTest::addColumn<QByteArray>("line");
    QTest::newRow("zero") << 0 << " 0" << QByteArray(" 0 \r\n");
    QTest::newRow("twelve") << 12 << " 12" << QByteArray(" 12 \r\n");
    QTest::newRow("negative") << -3 << "-3" << QByteArray("-3 \r\n");
    QTest::newRow("largest") << 32767 << " 32767" << QByteArray(" 32767 \r\n");
    QTest::newRow("smallest") << -32768 << "-32768" << QByteArray("-32768 \r\n");
}

void TestConversions::displayText() {
    QFETCH(int, value);
    QFETCH(QString, display);
    QFETCH(QByteArray, line);
    QCOMPARE(numberToDisplayText(std::int16_t(value)), display);
    QCOMPARE(QByteArray::fromStdString(integerLine(std::int16_t(value))), line);
}

void TestConversions::textToNumber_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("number");
    QTest::newRow("one") << "1" << 1.0;
    QTest::newRow("zero") << "0" << 0.0;
    QTest::newRow("leading blank") << " 1" << 1.0;
    QTest::newRow("decimal") << "1.0" << 1.0;
    QTest::newRow("negative") << "-2" << -2.0;
    QTest::newRow("trailing text ignored") << "1abc" << 1.0;
    QTest::newRow("empty") << "" << 0.0;
    QTest::newRow("no number") << "abc" << 0.0;
    QTest::newRow("sign alone") << "-" << 0.0;
    QTest::newRow("dot alone") << "." << 0.0;
    QTest::newRow("leading dot") << ".5" << 0.5;
    QTest::newRow("exponent") << "1e2" << 100.0;
    QTest::newRow("incomplete exponent") << "1e" << 1.0;
    QTest::newRow("non-ASCII digits are text") << QStringLiteral("١") << 0.0;
}

void TestConversions::textToNumber() {
    QFETCH(QString, text);
    QFETCH(double, number);
    QCOMPARE(zev::textToNumber(text), number);
}

void TestConversions::integerTextHasNoBlank() {
    QCOMPARE(integerToText(0), QStringLiteral("0"));
    QCOMPARE(integerToText(1), QStringLiteral("1"));
}

QTEST_APPLESS_MAIN(TestConversions)
#include "tst_conversions.moc"
