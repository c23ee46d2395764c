#include "data/identifier_checks.h"

#include <QTest>

using namespace vardelo;

class TestIdentifierChecks : public QObject {
    Q_OBJECT
private slots:
    void adoazonosito_data();
    void adoazonosito();
    void adoszam_data();
    void adoszam();
    void taj_data();
    void taj();
    void name_data();
    void name();
};

void TestIdentifierChecks::adoazonosito_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("valid");

    // 1·8+2·1+3·2+4·3+5·4+6·5+7·6+8·7+9·8 = 248, 248 mod 11 = 6.
    QTest::newRow("check digit fits") << "8123456786" << true;
    QTest::newRow("check digit one off") << "8123456787" << false;
    // 1·8+2·1+...+9·9 = 257, 257 mod 11 = 4.
    QTest::newRow("another") << "8123456794" << true;
    // S = 8, R = 8.
    QTest::newRow("zeros") << "8000000008" << true;
    // S = 1·8 + 2·1 = 10, R = 10: no last digit matches.
    for (int last = 0; last <= 9; ++last)
        QTest::addRow("remainder 10, last digit %d", last)
            << QStringLiteral("810000000%1").arg(last) << false;
    QTest::newRow("extra characters ignored") << "8123456786xyz" << true;
    QTest::newRow("extra digits ignored") << "81234567861234" << true;
    QTest::newRow("letter among the used") << "812345678A" << false;
    QTest::newRow("blank among the used") << "8123 56786" << false;
    QTest::newRow("too short") << "812345678" << false;
    QTest::newRow("empty") << "" << false;
    QTest::newRow("non-ASCII digit") << QStringLiteral("812345678\u0666") << false;
}

void TestIdentifierChecks::adoazonosito() {
    QFETCH(QString, text);
    QFETCH(bool, valid);
    QCOMPARE(adoazonositoValid(text), valid);
}

void TestIdentifierChecks::adoszam_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("valid");

    // 9+14+9+4+45+42+21 = 144, last digit 4, check digit 6.
    QTest::newRow("eight digits") << "12345676" << true;
    QTest::newRow("eleven digits") << "12345676142" << true;
    QTest::newRow("written with dashes") << "12345676-1-42" << true;
    QTest::newRow("wrong check digit") << "12345675" << false;
    QTest::newRow("wrong check digit, eleven") << "12345675142" << false;
    // 9·1 + 7·3 = 30, ends in 0: check digit 0, not 10.
    QTest::newRow("sum ending in 0 needs 0") << "13000000" << true;
    QTest::newRow("sum ending in 0, 1 refused") << "13000001" << false;
    QTest::newRow("all zeros") << "00000000" << true;
    QTest::newRow("letter in VAT code ignored") << "12345676X42" << true;
    QTest::newRow("letter among the used") << "1234567A" << false;
    QTest::newRow("too short") << "1234567" << false;
    QTest::newRow("empty") << "" << false;
}

void TestIdentifierChecks::adoszam() {
    QFETCH(QString, text);
    QFETCH(bool, valid);
    QCOMPARE(adoszamValid(text), valid);
}

void TestIdentifierChecks::taj_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("valid");

    // 3+7+3+7+3+7+3+7 = 40, remainder 0.
    QTest::newRow("111111110") << "111111110" << true;
    QTest::newRow("111111111") << "111111111" << false;
    // 3·1+7·2+3·3+7·4+3·5+7·6+3·7+7·8 = 188, remainder 8.
    QTest::newRow("123456788") << "123456788" << true;
    QTest::newRow("123456789") << "123456789" << false;
    QTest::newRow("extra characters ignored") << "111111110 99" << true;
    QTest::newRow("letter among the used") << "11111111X" << false;
    QTest::newRow("too short") << "11111111" << false;
    QTest::newRow("empty") << "" << false;
}

void TestIdentifierChecks::taj() {
    QFETCH(QString, text);
    QFETCH(bool, valid);
    QCOMPARE(tajValid(text), valid);
}

void TestIdentifierChecks::name_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("family");
    QTest::addColumn<QString>("given");

    QTest::newRow("two parts") << QStringLiteral("Kovács János") << QStringLiteral("Kovács ")
                               << QStringLiteral("János");
    QTest::newRow("three parts") << QStringLiteral("Nagy Kovács Anna") << QStringLiteral("Nagy Kovács ")
                                 << QStringLiteral("Anna");
    QTest::newRow("one part") << QStringLiteral("Őrsi") << QStringLiteral(" ") << QStringLiteral("Őrsi");
    QTest::newRow("empty") << QString() << QStringLiteral(" ") << QString();
    QTest::newRow("trailing blank") << QStringLiteral("Kovács ") << QStringLiteral("Kovács ") << QString();
    QTest::newRow("double blank") << QStringLiteral("Kiss  Éva") << QStringLiteral("Kiss  ")
                                  << QStringLiteral("Éva");
}

void TestIdentifierChecks::name() {
    QFETCH(QString, name);
    QFETCH(QString, family);
    QFETCH(QString, given);
    const NameParts parts = splitName(name);
    QCOMPARE(parts.familyName, family);
    QCOMPARE(parts.givenName, given);
}

QTEST_MAIN(TestIdentifierChecks)
#include "test_identifier_checks.moc"
