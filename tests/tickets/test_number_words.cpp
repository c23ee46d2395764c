#include "tickets/number_words.h"

#include <QTest>
#include <limits>

using namespace vardelo;

class TestNumberWords : public QObject {
    Q_OBJECT
private slots:
    void words_data();
    void words();
    void groups_data();
    void groups();
};

void TestNumberWords::words_data() {
    QTest::addColumn<int>("number");
    QTest::addColumn<QString>("expected");

    QTest::newRow("0") << 0 << QStringLiteral("nulla");
    QTest::newRow("5") << 5 << QStringLiteral("öt ");
    QTest::newRow("10") << 10 << QStringLiteral("tíz ");
    QTest::newRow("11") << 11 << QStringLiteral("tizenegy ");
    QTest::newRow("20") << 20 << QStringLiteral("húsz ");
    QTest::newRow("21") << 21 << QStringLiteral("huszonegy ");
    QTest::newRow("99") << 99 << QStringLiteral("kilencvenkilenc ");
    QTest::newRow("100") << 100 << QStringLiteral("száz ");
    QTest::newRow("110") << 110 << QStringLiteral("száztíz ");
    QTest::newRow("115") << 115 << QStringLiteral("száztizenöt ");
    QTest::newRow("200") << 200 << QStringLiteral("kettöszáz ");
    QTest::newRow("1000") << 1000 << QStringLiteral("egyezer-");
    QTest::newRow("1234") << 1234 << QStringLiteral("egyezer-kettöszázharmincnégy ");
    QTest::newRow("2000") << 2000 << QStringLiteral("kettöezer-");
    QTest::newRow("8330") << 8330 << QStringLiteral("nyolcezer-háromszázharminc ");
    QTest::newRow("1000000") << 1000000 << QStringLiteral("egymillió-");
    QTest::newRow("1001001") << 1001001 << QStringLiteral("egymillió-egyezer-egy ");
    QTest::newRow("1000020") << 1000020 << QStringLiteral("egymillió-húsz ");
    QTest::newRow("1000000000") << 1000000000 << QStringLiteral("egymilliárd-");
    QTest::newRow("2147483647") << 2147483647
                                << QStringLiteral("kettömilliárd-száznegyvenhétmillió-"
                                                  "négyszáznyolcvanháromezer-hatszáznegyvenhét ");
    QTest::newRow("-5") << -5 << QStringLiteral("mínusz öt ");
    QTest::newRow("-1234") << -1234 << QStringLiteral("mínusz egyezer-kettöszázharmincnégy ");
    QTest::newRow("-2147483648") << std::numeric_limits<qint32>::min()
                                 << QStringLiteral("mínusz kettömilliárd-száznegyvenhétmillió-"
                                                   "négyszáznyolcvanháromezer-hatszáznegyvennyolc ");
}

void TestNumberWords::words() {
    QFETCH(int, number);
    QFETCH(QString, expected);
    QCOMPARE(SzamBetuvel(number), expected);
}

void TestNumberWords::groups_data() {
    QTest::addColumn<QString>("digits");
    QTest::addColumn<QString>("expected");

    QTest::newRow("000") << "000"
                         << "";
    QTest::newRow("001") << "001" << QStringLiteral("egy");
    QTest::newRow("010") << "010" << QStringLiteral("tíz");
    QTest::newRow("020") << "020" << QStringLiteral("húsz");
    QTest::newRow("030") << "030" << QStringLiteral("harminc");
    QTest::newRow("100") << "100" << QStringLiteral("száz");
    QTest::newRow("120") << "120" << QStringLiteral("százhúsz");
    QTest::newRow("999") << "999" << QStringLiteral("kilencszázkilencvenkilenc");
    QTest::newRow("short text padded") << "5" << QStringLiteral("öt");
}

void TestNumberWords::groups() {
    QFETCH(QString, digits);
    QFETCH(QString, expected);
    QCOMPARE(HarmasBetuvel(digits), expected);
}

QTEST_MAIN(TestNumberWords)
#include "test_number_words.moc"
