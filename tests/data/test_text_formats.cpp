#include "data/text_formats.h"

#include <QTest>
#include <cmath>
#include <limits>

using namespace vardelo;

class TestTextFormats : public QObject {
    Q_OBJECT
private slots:
    void dateTextFormat();
    void parseDate_data();
    void parseDate();
    void shortestNumber_data();
    void shortestNumber();
    void fixedNumber_data();
    void fixedNumber();
    void wholeForint_data();
    void wholeForint();
    void wholeAmount_data();
    void wholeAmount();
    void rounding_data();
    void rounding();
    void parseNumber_data();
    void parseNumber();
    void parseInteger_data();
    void parseInteger();
    void blanks_data();
    void blanks();
};

void TestTextFormats::dateTextFormat() {
    QCOMPARE(dateText(QDate(2010, 8, 31)), QStringLiteral("2010.08.31."));
    QCOMPARE(dateText(QDate(2010, 1, 5)), QStringLiteral("2010.01.05."));
    QCOMPARE(dateText(QDate()), QString());
    // What is written is read back.
    QCOMPARE(parseDateText(dateText(QDate(2008, 2, 29))), std::optional<QDate>(QDate(2008, 2, 29)));
}

void TestTextFormats::parseDate_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QDate>("expected"); // invalid: refused

    QTest::newRow("full") << "2010.08.31." << QDate(2010, 8, 31);
    QTest::newRow("no trailing point") << "2010.08.31" << QDate(2010, 8, 31);
    QTest::newRow("one-digit month and day") << "2010.8.5." << QDate(2010, 8, 5);
    QTest::newRow("one-digit day, no point") << "2010.12.1" << QDate(2010, 12, 1);
    QTest::newRow("blanks around") << "  2010.01.02.  " << QDate(2010, 1, 2);
    QTest::newRow("leap day") << "2008.02.29." << QDate(2008, 2, 29);
    QTest::newRow("no leap day") << "2010.02.29." << QDate();
    QTest::newRow("February 30") << "2010.02.30." << QDate();
    QTest::newRow("April 31") << "2010.04.31." << QDate();
    QTest::newRow("month 13") << "2010.13.01." << QDate();
    QTest::newRow("month 0") << "2010.00.10." << QDate();
    QTest::newRow("day 0") << "2010.01.00." << QDate();
    QTest::newRow("empty") << "" << QDate();
    QTest::newRow("two points at end") << "2010.08.31.." << QDate();
    QTest::newRow("three-digit day") << "2010.08.031." << QDate();
    QTest::newRow("short year") << "10.08.31." << QDate();
    QTest::newRow("dashes") << "2010-08-31" << QDate();
    QTest::newRow("letters") << "2010.aug.31." << QDate();
    QTest::newRow("inner blank") << "2010. 08.31." << QDate();
}

void TestTextFormats::parseDate() {
    QFETCH(QString, text);
    QFETCH(QDate, expected);
    const std::optional<QDate> parsed = parseDateText(text);
    if (!expected.isValid()) {
        QVERIFY2(!parsed, qPrintable(parsed ? parsed->toString() : QString()));
    } else {
        QVERIFY(parsed);
        QCOMPARE(*parsed, expected);
    }
}

void TestTextFormats::shortestNumber_data() {
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("expected");

    QTest::newRow("zero") << 0.0 << "0";
    QTest::newRow("negative zero") << -0.0 << "0";
    QTest::newRow("whole") << 3.0 << "3";
    QTest::newRow("fraction") << 12.5 << "12,5";
    QTest::newRow("negative fraction") << -0.25 << "-0,25";
    QTest::newRow("thousands are not grouped") << 1234567.0 << "1234567";
    QTest::newRow("binary noise hidden") << 0.1 + 0.2 << "0,3";
    QTest::newRow("15 significant digits") << 1.0 / 3.0 << "0,333333333333333";
    QTest::newRow("two thirds rounded") << 2.0 / 3.0 << "0,666666666666667";
    QTest::newRow("large whole") << 123456789012345.0 << "123456789012345";
    QTest::newRow("beyond 15 digits") << 1e15 << "1E15";
    QTest::newRow("large with fraction") << 1.5e20 << "1,5E20";
    QTest::newRow("small") << 0.0001 << "0,0001";
    QTest::newRow("smallest fixed") << 0.00001 << "0,00001";
    QTest::newRow("very small") << 0.000001 << "1E-6";
    QTest::newRow("negative very small") << -0.0000025 << "-2,5E-6";
    QTest::newRow("per cent") << 12.0 << "12";
    QTest::newRow("round up to whole") << 2.9999999999999996 << "3";
}

void TestTextFormats::shortestNumber() {
    QFETCH(double, value);
    QFETCH(QString, expected);
    QCOMPARE(shortestNumberText(value), expected);
}

void TestTextFormats::fixedNumber_data() {
    QTest::addColumn<double>("value");
    QTest::addColumn<int>("decimals");
    QTest::addColumn<bool>("grouped");
    QTest::addColumn<QString>("expected");

    QTest::newRow("grouped millions") << 1234567.891 << 2 << true << "1 234 567,89";
    QTest::newRow("ungrouped") << 1234567.891 << 2 << false << "1234567,89";
    QTest::newRow("thousand exactly") << 1000.0 << 2 << true << "1 000,00";
    QTest::newRow("below thousand") << 999.0 << 2 << true << "999,00";
    QTest::newRow("zero") << 0.0 << 2 << true << "0,00";
    QTest::newRow("small fraction") << 0.05 << 2 << true << "0,05";
    QTest::newRow("three decimals") << 1234.5 << 3 << true << "1 234,500";
    QTest::newRow("no decimals") << 1234.5 << 0 << true << "1 235";
    QTest::newRow("negative grouped") << -1234567.891 << 2 << true << "-1 234 567,89";
    QTest::newRow("half away from zero") << 0.125 << 2 << true << "0,13";
    QTest::newRow("negative half") << -0.125 << 2 << true << "-0,13";
    QTest::newRow("decimal half below in binary") << 2.675 << 2 << true << "2,68";
    QTest::newRow("carry into thousands") << 999.995 << 2 << true << "1 000,00";
    QTest::newRow("carry all nines") << 9999999.999 << 2 << true << "10 000 000,00";
    QTest::newRow("negative rounding to zero") << -0.001 << 2 << true << "0,00";
    QTest::newRow("tiny") << 1e-20 << 2 << true << "0,00";
    QTest::newRow("large") << 1e18 << 2 << true << "1 000 000 000 000 000 000,00";
}

void TestTextFormats::fixedNumber() {
    QFETCH(double, value);
    QFETCH(int, decimals);
    QFETCH(bool, grouped);
    QFETCH(QString, expected);
    QCOMPARE(fixedNumberText(value, decimals, grouped), expected);
}

void TestTextFormats::wholeForint_data() {
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("expected");

    const QChar nb(0x00A0);
    QTest::newRow("zero") << 0.0 << "0";
    QTest::newRow("small") << 999.0 << "999";
    QTest::newRow("thousand") << 1000.0 << QStringLiteral("1") + nb + "000";
    QTest::newRow("millions") << 1234567.4 << QStringLiteral("1") + nb + "234" + nb + "567";
    QTest::newRow("half to even down") << 8330.5 << QStringLiteral("8") + nb + "330";
    QTest::newRow("half to even up") << 8331.5 << QStringLiteral("8") + nb + "332";
    QTest::newRow("negative") << -1234.0 << QStringLiteral("-1") + nb + "234";
    QTest::newRow("negative half") << -2.5 << "-2";
    QTest::newRow("negative below half") << -0.4 << "0";
}

void TestTextFormats::wholeForint() {
    QFETCH(double, value);
    QFETCH(QString, expected);
    QCOMPARE(wholeForintText(value), expected);
}

void TestTextFormats::wholeAmount_data() {
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("expected");

    QTest::newRow("zero") << 0.0 << "0";
    QTest::newRow("no separators") << 1234567.0 << "1234567";
    QTest::newRow("half up") << 2.5 << "3";
    QTest::newRow("half up again") << 8330.5 << "8331";
    QTest::newRow("negative half") << -2.5 << "-3";
    QTest::newRow("below half") << 2.4999 << "2";
    QTest::newRow("largest below half") << 0.49999999999999994 << "0";
    QTest::newRow("negative small") << -0.3 << "0";
    QTest::newRow("negative") << -1500.0 << "-1500";
    QTest::newRow("beyond 32 bits") << 5000000000.0 << "5000000000";
}

void TestTextFormats::wholeAmount() {
    QFETCH(double, value);
    QFETCH(QString, expected);
    QCOMPARE(wholeAmountText(value), expected);
}

void TestTextFormats::rounding_data() {
    QTest::addColumn<double>("value");
    QTest::addColumn<double>("halfEven");
    QTest::addColumn<double>("halfAway");

    QTest::newRow("8330.5") << 8330.5 << 8330.0 << 8331.0;
    QTest::newRow("8331.5") << 8331.5 << 8332.0 << 8332.0;
    QTest::newRow("2.5") << 2.5 << 2.0 << 3.0;
    QTest::newRow("3.5") << 3.5 << 4.0 << 4.0;
    QTest::newRow("0.5") << 0.5 << 0.0 << 1.0;
    QTest::newRow("1.5") << 1.5 << 2.0 << 2.0;
    QTest::newRow("-0.5") << -0.5 << 0.0 << -1.0;
    QTest::newRow("-2.5") << -2.5 << -2.0 << -3.0;
    QTest::newRow("-3.5") << -3.5 << -4.0 << -4.0;
    QTest::newRow("just below half") << 8330.499999999999 << 8330.0 << 8330.0;
    QTest::newRow("just above half") << 8330.500000000001 << 8331.0 << 8331.0;
    QTest::newRow("largest below 0.5") << 0.49999999999999994 << 0.0 << 0.0;
    QTest::newRow("whole") << 42.0 << 42.0 << 42.0;
    QTest::newRow("below") << 7.2 << 7.0 << 7.0;
    QTest::newRow("above") << -7.7 << -8.0 << -8.0;
    QTest::newRow("odd whole above 2^52") << 4503599627370497.0 << 4503599627370497.0 << 4503599627370497.0;
    QTest::newRow("large half") << 4503599627370495.5 << 4503599627370496.0 << 4503599627370496.0;
}

void TestTextFormats::rounding() {
    QFETCH(double, value);
    QFETCH(double, halfEven);
    QFETCH(double, halfAway);
    QCOMPARE(roundHalfEven(value), halfEven);
    QCOMPARE(roundHalfAwayFromZero(value), halfAway);
}

void TestTextFormats::parseNumber_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("valid");
    QTest::addColumn<double>("expected");

    QTest::newRow("whole") << "15" << true << 15.0;
    QTest::newRow("decimal comma") << "12,5" << true << 12.5;
    QTest::newRow("decimal point") << "12.5" << true << 12.5;
    QTest::newRow("negative") << "-0,25" << true << -0.25;
    QTest::newRow("plus sign") << "+3" << true << 3.0;
    QTest::newRow("blanks around") << "  7,75 " << true << 7.75;
    QTest::newRow("leading separator") << ",5" << true << 0.5;
    QTest::newRow("trailing separator") << "5," << true << 5.0;
    QTest::newRow("zero") << "0" << true << 0.0;
    QTest::newRow("empty") << "" << false << 0.0;
    QTest::newRow("blank") << "   " << false << 0.0;
    QTest::newRow("two separators") << "1,2,3" << false << 0.0;
    QTest::newRow("comma and point") << "1.234,5" << false << 0.0;
    QTest::newRow("grouping blank") << "1 234" << false << 0.0;
    QTest::newRow("letters") << "12a" << false << 0.0;
    QTest::newRow("sign only") << "-" << false << 0.0;
    QTest::newRow("separator only") << "," << false << 0.0;
    QTest::newRow("exponent") << "1e5" << false << 0.0;
    QTest::newRow("inf") << "inf" << false << 0.0;
}

void TestTextFormats::parseNumber() {
    QFETCH(QString, text);
    QFETCH(bool, valid);
    QFETCH(double, expected);
    const std::optional<double> parsed = parseNumberText(text);
    QCOMPARE(parsed.has_value(), valid);
    if (valid)
        QCOMPARE(*parsed, expected);
}

void TestTextFormats::parseInteger_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("valid");
    QTest::addColumn<int>("expected");

    QTest::newRow("plain") << "12345678" << true << 12345678;
    QTest::newRow("leading zeros") << "00042" << true << 42;
    QTest::newRow("blanks around") << " 17 " << true << 17;
    QTest::newRow("negative") << "-5" << true << -5;
    QTest::newRow("largest") << "2147483647" << true << 2147483647;
    QTest::newRow("smallest") << "-2147483648" << true << std::numeric_limits<int>::min();
    QTest::newRow("one too large") << "2147483648" << false << 0;
    QTest::newRow("one too small") << "-2147483649" << false << 0;
    QTest::newRow("far too large") << "99999999999999999999999" << false << 0;
    QTest::newRow("many leading zeros") << "000000000000000000001" << true << 1;
    QTest::newRow("empty") << "" << false << 0;
    QTest::newRow("fraction") << "1,5" << false << 0;
    QTest::newRow("inner blank") << "1 000" << false << 0;
    QTest::newRow("letters") << "12x" << false << 0;
    QTest::newRow("sign only") << "+" << false << 0;
}

void TestTextFormats::parseInteger() {
    QFETCH(QString, text);
    QFETCH(bool, valid);
    QFETCH(int, expected);
    const std::optional<int> parsed = parseIntegerText(text);
    QCOMPARE(parsed.has_value(), valid);
    if (valid)
        QCOMPARE(*parsed, expected);
}

void TestTextFormats::blanks_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("trimmed");
    QTest::addColumn<bool>("blank");

    QTest::newRow("empty") << ""
                           << "" << true;
    QTest::newRow("blanks") << "   "
                            << "" << true;
    QTest::newRow("trailing") << "abc  "
                              << "abc" << false;
    QTest::newRow("leading kept") << "  abc"
                                  << "  abc" << false;
    QTest::newRow("both") << " a b "
                          << " a b" << false;
    QTest::newRow("tab and line end") << "x\t\r\n"
                                      << "x" << false;
    QTest::newRow("accented") << "Őrség "
                              << "Őrség" << false;
}

void TestTextFormats::blanks() {
    QFETCH(QString, text);
    QFETCH(QString, trimmed);
    QFETCH(bool, blank);
    QCOMPARE(trimRight(text), trimmed);
    QCOMPARE(isBlank(text), blank);
}

QTEST_MAIN(TestTextFormats)
#include "test_text_formats.moc"
