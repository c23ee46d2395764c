// Exact decimals: reading, arithmetic, rounding by each rule, the texts made of them, and the way they travel
// through QVariant and the database.
#include "data/decimal.h"
#include "data/text_formats.h"

#include <QRandomGenerator>
#include <QTest>
#include <QVariant>
#include <cstdlib>
#include <limits>

using namespace vardelo;

namespace {

Decimal d(const char* text) {
    const auto value = Decimal::parse(QString::fromLatin1(text));
    if (!value)
        qFatal("not a number: %s", text);
    return *value;
}

} // namespace

class TestDecimal : public QObject {
    Q_OBJECT
private slots:
    void parse_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("plain"); // empty: refused
        QTest::newRow("comma") << "12,5"
                               << "12.5";
        QTest::newRow("point") << "12.50"
                               << "12.50";
        QTest::newRow("negative") << "-0,25"
                                  << "-0.25";
        QTest::newRow("plus") << "+7"
                              << "7";
        QTest::newRow("only fraction") << ",5"
                                       << "0.5";
        QTest::newRow("trailing separator") << "7."
                                            << "7";
        QTest::newRow("blanks around") << "  405328,50 "
                                       << "405328.50";
        QTest::newRow("leading zeros") << "000123,4"
                                       << "123.4";
        QTest::newRow("38 digits") << "12345678901234567890123456789012345678"
                                   << "12345678901234567890123456789012345678";
        QTest::newRow("two separators") << "1,2,3"
                                        << "";
        QTest::newRow("point and comma") << "1.234,5"
                                         << "";
        QTest::newRow("empty") << ""
                               << "";
        QTest::newRow("sign only") << "-"
                                   << "";
        QTest::newRow("separator only") << ","
                                        << "";
        QTest::newRow("grouped") << "1 234"
                                 << "";
        QTest::newRow("exponent") << "1e5"
                                  << "";
        QTest::newRow("39 digits") << "123456789012345678901234567890123456789"
                                   << "";
    }
    void parse() {
        QFETCH(QString, text);
        QFETCH(QString, plain);
        const auto value = Decimal::parse(text);
        QCOMPARE(value.has_value(), !plain.isEmpty());
        if (value)
            QCOMPARE(value->plainText(u'.'), plain);
        // The double reading of the program takes the same texts (it has no limit of digits).
        if (text.size() < 30)
            QCOMPARE(parseNumberText(text).has_value(), value.has_value());
    }

    // Sums of fillér that binary floating point cannot hold are exact: the eight lines of one producer add up
    // to 405 328,50 exactly, where doubles give 405 328,4999999999.
    void arithmetic() {
        Decimal sum;
        for (const char* line :
             {"81776.34", "96178.14", "39227.02", "64121.70", "3431.04", "1510.01", "36984.78", "82099.47"})
            sum += d(line);
        QCOMPARE(sum, d("405328.5"));
        QCOMPARE(sum.plainText(), QStringLiteral("405328,50"));
        QCOMPARE(d("0.1") + d("0.2"), d("0.3"));
        QCOMPARE(d("1.5") - d("2.25"), d("-0.75"));
        QCOMPARE(d("2.5") * d("-1.25"), d("-3.125"));
        QCOMPARE((d("2.5") * d("-1.25")).scale(), 3);
        QCOMPARE(d("12.5").shiftedRight(2), d("0.125"));
        QCOMPARE(-d("3.10"), d("-3.1"));
        QVERIFY(d("1.50") == d("1.5"));
        QVERIFY(d("-0.01") < Decimal());
        QVERIFY(d("99999999999999999999") > d("1.000000000000000000001"));
        QVERIFY(d("-99999999999999999999") < d("-1.000000000000000000001"));
    }

    // A result beyond 128 bits is invalid, and stays so through further arithmetic.
    void overflowIsInvalid() {
        const Decimal big = d("99999999999999999999");
        const Decimal product = big * big; // 10^40
        QVERIFY(!product.isValid());
        QVERIFY(!(product + Decimal(1)).isValid());
        QVERIFY(!(product * Decimal()).isValid());
        QVERIFY(!(product == Decimal(1)));
        QVERIFY(product == Decimal::invalid());
        QVERIFY(!Decimal::fromUnits(1, Decimal::MaxScale + 1).isValid());
        // Aligning scales that no longer fit is invalid too, not a wrong sum.
        QVERIFY(!(d("99999999999999999999999999999999999999") + d("0.01")).isValid());
        QCOMPARE(shortestNumberText(product), QStringLiteral("NAN"));
        QCOMPARE(product.toWhole(Rounding::HalfEven), std::nullopt);
    }

    void rounding_data() {
        QTest::addColumn<QString>("value");
        QTest::addColumn<int>("places");
        QTest::addColumn<QString>("halfEven");
        QTest::addColumn<QString>("halfAway");
        QTest::newRow("half above even") << "8330.5" << 0 << "8330"
                                         << "8331";
        QTest::newRow("half above odd") << "8331.5" << 0 << "8332"
                                        << "8332";
        QTest::newRow("negative half") << "-2.5" << 0 << "-2"
                                       << "-3";
        QTest::newRow("negative odd half") << "-3.5" << 0 << "-4"
                                           << "-4";
        QTest::newRow("just below half") << "124968.4999999999" << 0 << "124968"
                                         << "124968";
        QTest::newRow("just above half") << "124968.5000000001" << 0 << "124969"
                                         << "124969";
        QTest::newRow("the payable") << "124968.50" << 0 << "124968"
                                     << "124969";
        QTest::newRow("fillér half") << "0.125" << 2 << "0.12"
                                     << "0.13";
        QTest::newRow("fillér half negative") << "-0.125" << 2 << "-0.12"
                                              << "-0.13";
        QTest::newRow("below one") << "0.4" << 0 << "0"
                                   << "0";
        QTest::newRow("carry") << "9.995" << 2 << "10.00"
                               << "10.00";
        QTest::newRow("padded") << "1.5" << 3 << "1.500"
                                << "1.500";
        QTest::newRow("many places") << "0.0000000000000000000000000005" << 27
                                     << "0.000000000000000000000000000"
                                     << "0.000000000000000000000000001";
    }
    void rounding() {
        QFETCH(QString, value);
        QFETCH(int, places);
        QFETCH(QString, halfEven);
        QFETCH(QString, halfAway);
        const Decimal x = *Decimal::parse(value);
        QCOMPARE(x.rounded(places, Rounding::HalfEven).plainText(u'.'), halfEven);
        QCOMPARE(x.rounded(places, Rounding::HalfAwayFromZero).plainText(u'.'), halfAway);
        if (places == 0) {
            QCOMPARE(QString::number(*x.toWhole(Rounding::HalfEven)), halfEven);
            QCOMPARE(QString::number(*x.toWhole(Rounding::HalfAwayFromZero)), halfAway);
        }
    }

    void wholeNumbersBeyond64Bits() {
        QCOMPARE(d("9223372036854775807.4").toWhole(Rounding::HalfEven),
                 std::optional<qint64>(std::numeric_limits<qint64>::max()));
        QCOMPARE(d("9223372036854775807.5").toWhole(Rounding::HalfEven), std::nullopt);
        QCOMPARE(d("-9223372036854775808.5").toWhole(Rounding::HalfEven),
                 std::optional<qint64>(std::numeric_limits<qint64>::min()));
        QCOMPARE(d("12.50").unitsAt(2), std::optional<qint64>(1250));
        QCOMPARE(d("12.5").unitsAt(4), std::optional<qint64>(125000));
        QCOMPARE(d("12.505").unitsAt(2), std::nullopt);
        QCOMPARE(d("92233720368547758.08").unitsAt(2), std::nullopt);
    }

    void fromDouble_data() {
        QTest::addColumn<double>("value");
        QTest::addColumn<QString>("plain");
        QTest::newRow("noise of a double sum") << 405328.4999999999 << "405328.5";
        QTest::newRow("tenths") << 0.1 + 0.2 << "0.3";
        QTest::newRow("whole") << 24075.0 << "24075";
        QTest::newRow("negative") << -954.8 << "-954.8";
        QTest::newRow("zero") << 0.0 << "0";
        QTest::newRow("large") << 1e20 << "100000000000000000000";
        QTest::newRow("small") << 1.25e-7 << "0.000000125";
    }
    void fromDouble() {
        QFETCH(double, value);
        QFETCH(QString, plain);
        QCOMPARE(Decimal::fromDouble(value).plainText(u'.'), plain);
        QVERIFY(!Decimal::fromDouble(std::numeric_limits<double>::quiet_NaN()).isValid());
        QVERIFY(!Decimal::fromDouble(std::numeric_limits<double>::infinity()).isValid());
    }

    void toDouble() {
        QCOMPARE(d("405328.50").toDouble(), 405328.5);
        QCOMPARE(d("0.1").toDouble(), 0.1);
        QCOMPARE(d("-81776.34").toDouble(), -81776.34);
        QCOMPARE(Decimal(std::numeric_limits<qint64>::max()).toDouble(), 9223372036854775807.0);
    }

    // The double of an amount is the one strtod reads from its exact digits, whatever the digits and the
    // scale: small and large units, the edge of 2^53, scales up to 25.
    void toDoubleIsCorrectlyRounded() {
        QRandomGenerator random(20261211);
        const qint64 edge = qint64(1) << 53;
        for (int i = 0; i < 200000; ++i) {
            const int scale = i % 26;
            qint64 units = i % 3 == 0   ? qint64(random.bounded(1000000))
                           : i % 3 == 1 ? edge - 2 + qint64(random.bounded(5))
                                        : qint64(random.generate64() >> 1);
            if (i % 2)
                units = -units;
            const Decimal value = Decimal::fromUnits(units, scale);
            const QByteArray digits = value.plainText(u'.').toLatin1();
            QCOMPARE(value.toDouble(), std::strtod(digits.constData(), nullptr));
        }
    }

    void texts_data() {
        QTest::addColumn<QString>("value");
        QTest::addColumn<QString>("shortest");
        QTest::addColumn<QString>("fixed2");
        QTest::addColumn<QString>("wholeForint");
        QTest::addColumn<QString>("wholeAmount");
        QTest::addColumn<QString>("money");
        const QString nb(QChar(0x00A0));
        QTest::newRow("return amount") << "405328.50"
                                       << "405328,5"
                                       << "405 328,50"
                                       << "405" + nb + "328"
                                       << "405329"
                                       << "405" + nb + "328,50";
        QTest::newRow("grid sum") << "349699696.40"
                                  << "349699696,4"
                                  << "349 699 696,40"
                                  << "349" + nb + "699" + nb + "696"
                                  << "349699696"
                                  << "349" + nb + "699" + nb + "696,40";
        QTest::newRow("tax at a half fillér") << "13885.665"
                                              << "13885,665"
                                              << "13 885,67"
                                              << "13" + nb + "886"
                                              << "13886"
                                              << "13" + nb + "885,67";
        QTest::newRow("negative") << "-1150.5"
                                  << "-1150,5"
                                  << "-1 150,50"
                                  << "-1" + nb + "150"
                                  << "-1151"
                                  << "-1" + nb + "150,50";
        QTest::newRow("small negative to zero") << "-0.001"
                                                << "-0,001"
                                                << "0,00"
                                                << "0"
                                                << "0"
                                                << "0,00";
        QTest::newRow("zero with places") << "0.0000"
                                          << "0"
                                          << "0,00"
                                          << "0"
                                          << "0"
                                          << "0,00";
    }
    void texts() {
        QFETCH(QString, value);
        QFETCH(QString, shortest);
        QFETCH(QString, fixed2);
        QFETCH(QString, wholeForint);
        QFETCH(QString, wholeAmount);
        QFETCH(QString, money);
        const Decimal x = *Decimal::parse(value);
        QCOMPARE(shortestNumberText(x), shortest);
        QCOMPARE(fixedNumberText(x, 2, true), fixed2);
        QCOMPARE(wholeForintText(x), wholeForint);
        QCOMPARE(wholeAmountText(x), wholeAmount);
        QCOMPARE(moneyText(x), money);
    }

    // A QVariant carries a decimal whole; code that knows only QVariant's own conversions still reads it.
    void variant() {
        const QVariant v = QVariant::fromValue(d("81776.34"));
        QCOMPARE(v.value<Decimal>(), d("81776.34"));
        QCOMPARE(v.toDouble(), 81776.34);
        QCOMPARE(v.toString(), QStringLiteral("81776.34"));
        QVERIFY(v == QVariant::fromValue(d("81776.340")));
        QVERIFY(v != QVariant::fromValue(d("81776.35")));
    }
};

QTEST_APPLESS_MAIN(TestDecimal)
#include "test_decimal.moc"
