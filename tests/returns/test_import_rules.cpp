#include "returns/import_file.h"
#include "returns/merge_rules.h"

#include <QtTest>
#include <limits>

using namespace vardelo::returns;
using vardelo::Decimal;

class TestImportRules : public QObject {
    Q_OBJECT

private slots:
    void periodCheck_data() {
        QTest::addColumn<QDate>("from");
        QTest::addColumn<QDate>("to");
        QTest::addColumn<QString>("month"); // empty: refused
        QTest::newRow("opening dates 01-12") << QDate(2010, 1, 1) << QDate(2010, 12, 31) << "";
        QTest::newRow("one month") << QDate(2010, 8, 1) << QDate(2010, 8, 31) << "08";
        QTest::newRow("same month digits, other year") << QDate(2010, 3, 5) << QDate(2011, 3, 20) << "03";
        QTest::newRow("from after to") << QDate(2010, 5, 31) << QDate(2010, 5, 1) << "05";
        QTest::newRow("neighbouring months") << QDate(2010, 8, 31) << QDate(2010, 9, 1) << "";
        QTest::newRow("december") << QDate(2010, 12, 1) << QDate(2010, 12, 31) << "12";
    }
    void periodCheck() {
        QFETCH(QDate, from);
        QFETCH(QDate, to);
        QFETCH(QString, month);
        const std::optional<QString> got = periodMonth(from, to);
        QCOMPARE(got.value_or(QString()), month);
    }

    void namesAndFolder() {
        QCOMPARE(monthFolderText("08"), QStringLiteral("C:\\DU2010\\08\\"));
        QCOMPARE(importFileName(QDate(2010, 8, 1), "8123456789"),
                 QStringLiteral("1008M201008_8123456789.imp"));
        QCOMPARE(importFileName(QDate(2010, 3, 5), ""), QStringLiteral("1008M201003_.imp"));
        QCOMPARE(listFileName(QDate(2010, 1, 1), QDate(2010, 1, 31)),
                 QStringLiteral("1008M_20100101_0131.txt"));
        QCOMPARE(listFileName(QDate(2010, 8, 1), QDate(2010, 8, 31)),
                 QStringLiteral("1008M_20100801_0831.txt"));
        QCOMPARE(listFileName(QDate(2010, 3, 5), QDate(2011, 3, 20)),
                 QStringLiteral("1008M_20100305_0320.txt"));
        QCOMPARE(compactDate(QDate(2010, 8, 31)), QStringLiteral("20100831"));
        QCOMPARE(compactDate(QDate()), QStringLiteral("18991230"));
    }

    void safeIdentifier_data() {
        QTest::addColumn<QString>("adoazon");
        QTest::addColumn<bool>("safe");
        QTest::newRow("ten digits") << "8123456789" << true;
        QTest::newRow("none") << "" << true;
        QTest::newRow("path") << "..\\..\\x" << false;
        QTest::newRow("slash") << "81/3456789" << false;
        QTest::newRow("blank") << "812345678 " << false;
        QTest::newRow("letter") << "81234A6789" << false;
    }
    void safeIdentifier() {
        QFETCH(QString, adoazon);
        QFETCH(bool, safe);
        QCOMPARE(fileNameSafeIdentifier(adoazon), safe);
    }

    // A producer without any data: 29 lines, empty values, the zero date, the split of an empty name.
    void emptyProducerLines() {
        const QStringList lines =
            importFileLines(ImportPurchaser{"1", "P", "2"}, ImportProducer{}, QDate(2010, 8, 1),
                            QDate(2010, 8, 31), *Decimal::parse("-2.5"));
        QCOMPARE(lines.size(), 29);
        QCOMPARE(lines[3], QStringLiteral("$info=__"));
        QCOMPARE(lines[14], QStringLiteral("12458=-3"));
        QCOMPARE(lines[18], QStringLiteral("13855=18991230"));
        QCOMPARE(lines[21], QStringLiteral("14807= "));
        QCOMPARE(lines[22], QStringLiteral("14808="));
    }

    // The amount is rounded once, a half away from zero, from the exact value given.
    void amountRounding_data() {
        QTest::addColumn<QString>("amount");
        QTest::addColumn<QString>("line");
        QTest::newRow("half up") << "10812.5"
                                 << "12458=10813";
        QTest::newRow("below half") << "10812.49"
                                    << "12458=10812";
        QTest::newRow("just below half") << "10812.4999"
                                         << "12458=10812";
        QTest::newRow("negative half") << "-10812.5"
                                       << "12458=-10813";
        QTest::newRow("zero") << "0"
                              << "12458=0";
        QTest::newRow("large") << "12345678901"
                               << "12458=12345678901";
    }
    void amountRounding() {
        QFETCH(QString, amount);
        QFETCH(QString, line);
        QCOMPARE(importFileLines({}, {}, QDate(2010, 8, 1), QDate(2010, 8, 31), *Decimal::parse(amount))[14],
                 line);
    }

    // A producer's lines that add up exactly to a half which binary floating point cannot hold: the exact sum
    // writes the amount rounded up, where the sum of doubles (the last column) lands below the half. The
    // first is the clerk's month of eight lines; the others came from a search over random fillér amounts.
    void producerMonthsOnAHalf_data() {
        QTest::addColumn<QStringList>("lines");
        QTest::addColumn<QString>("line");
        QTest::newRow("405 328,50") << QStringList{"81776.34", "96178.14", "39227.02", "64121.70",
                                                   "3431.04",  "1510.01",  "36984.78", "82099.47"}
                                    << "12458=405329";
        QTest::newRow("338 523,50") << QStringList{"39243.92", "43218.88", "19666.12", "60684.62",
                                                   "31198.55", "12145.93", "84093.91", "48271.57"}
                                    << "12458=338524";
        QTest::newRow("261 450,50") << QStringList{"94269.31", "30004.37", "60371.99", "41972.17", "34832.66"}
                                    << "12458=261451";
        QTest::newRow("173 197,50") << QStringList{"41098.00", "90315.24", "25743.84", "12426.39", "3614.03"}
                                    << "12458=173198";
    }
    void producerMonthsOnAHalf() {
        QFETCH(QStringList, lines);
        QFETCH(QString, line);
        Decimal amount;
        double inDoubles = 0;
        for (const QString& price : lines) {
            amount += *Decimal::parse(price);
            inDoubles += price.toDouble();
        }
        QCOMPARE(importFileLines({}, {}, QDate(2010, 8, 1), QDate(2010, 8, 31), amount)[14], line);
        QVERIFY(inDoubles < amount.toDouble()); // doubles miss the half: the case can fail
    }

    void lineValues_data() {
        QTest::addColumn<QString>("line");
        QTest::addColumn<bool>("whole");
        QTest::addColumn<qint64>("value");
        QTest::newRow("number") << "12458=100" << true << qint64(100);
        QTest::newRow("blanks around") << "12458=  42 " << true << qint64(42);
        QTest::newRow("empty") << "12458=" << true << qint64(0);
        QTest::newRow("only blanks") << "12458=   " << true << qint64(0);
        QTest::newRow("negative") << "12456=-7" << true << qint64(-7);
        QTest::newRow("beyond 32 bits") << "12458=5000000000" << true << qint64(5000000000);
        QTest::newRow("fraction") << "12458=10,5" << false << qint64(0);
        QTest::newRow("letters") << "12458=abc" << false << qint64(0);
        QTest::newRow("inner blank") << "12458=1 000" << false << qint64(0);
    }
    void lineValues() {
        QFETCH(QString, line);
        QFETCH(bool, whole);
        QFETCH(qint64, value);
        const std::optional<qint64> got = lineValue(line);
        QCOMPARE(got.has_value(), whole);
        if (whole)
            QCOMPARE(*got, value);
    }

    // Sums count every occurrence; the merge takes the last; a bad value names its line.
    void fileValues() {
        const QStringList lines{"$info=x", "12456=", "12458=100", "12458= 20", "12456=3", "13846=HUN"};
        const std::optional<ImportValues> sums = summedValues(lines);
        QVERIFY(sums);
        QCOMPARE(sums->v12456, qint64(3));
        QCOMPARE(sums->v12458, qint64(120));
        const std::optional<ImportValues> last = lastValues(lines);
        QVERIFY(last);
        QCOMPARE(last->v12458, qint64(20));
        QCOMPARE(last->v12456, qint64(3));
        QVERIFY(summedValues({"$info=x"}).has_value());
        QCOMPARE(summedValues({"$info=x"})->v12458, qint64(0));
        ValueFault bad;
        QVERIFY(!summedValues({"12458=1", "12456=2.5"}, &bad));
        QCOMPARE(bad.line, QStringLiteral("12456=2.5"));
        QVERIFY(!bad.tooLong);
    }

    // An import file holds amounts of at most 11 digits: a longer value, or lines that add up to more, are
    // refused by name; the sums never overflow.
    void elevenDigits_data() {
        QTest::addColumn<QStringList>("lines");
        QTest::addColumn<bool>("taken");
        QTest::addColumn<QString>("faultLine");
        QTest::newRow("11 digits") << QStringList{"12458=99999999999", "12456=-99999999999"} << true << "";
        QTest::newRow("12 digits") << QStringList{"12458=100000000000"} << false << "12458=100000000000";
        QTest::newRow("negative 12 digits")
            << QStringList{"12456=-100000000000"} << false << "12456=-100000000000";
        QTest::newRow("64-bit largest")
            << QStringList{"12458=9223372036854775807"} << false << "12458=9223372036854775807";
        QTest::newRow("sum of two lines")
            << QStringList{"12458=99999999999", "12458=1"} << false << "12458=1";
    }
    void elevenDigits() {
        QFETCH(QStringList, lines);
        QFETCH(bool, taken);
        QFETCH(QString, faultLine);
        ValueFault fault;
        QCOMPARE(summedValues(lines, &fault).has_value(), taken);
        if (!taken) {
            QCOMPARE(fault.line, faultLine);
            QVERIFY(fault.tooLong);
        }
    }

    void checkedSums() {
        QCOMPARE(addAmounts(99999999998, 1), std::optional<qint64>(99999999999));
        QCOMPARE(addAmounts(99999999999, 1), std::nullopt);
        QCOMPARE(addAmounts(-99999999999, -1), std::nullopt);
        QCOMPARE(addAmounts(std::numeric_limits<qint64>::max(), 1), std::nullopt);
        QCOMPARE(mergedAmount(ImportValues{1, 99999999997}, ImportValues{0, 1}),
                 std::optional<qint64>(99999999999));
        QCOMPARE(mergedAmount(ImportValues{1, 99999999998}, ImportValues{0, 1}), std::nullopt);
        ImportValues sums{0, std::numeric_limits<qint64>::max() / 4};
        QVERIFY(!addToSums(sums, ImportValues{0, 1}));
        QCOMPARE(sums.v12458, std::numeric_limits<qint64>::max() / 4); // unchanged
        QVERIFY(addToSums(sums, ImportValues{5, -1}));
        QCOMPARE(sums.v12456, qint64(5));
    }

    // A whole import file: Windows-1250 text with CR LF or LF ends, the form's first line and a "12458="
    // line; anything else is refused with what is wrong.
    void wholeFile_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("problem"); // empty: whole
        const QByteArray good("$ny_azon=1008M\r\n$info=1_Kov\xE1\x63s_8123456789\r\n12458=100\r\n12456=\r\n");
        QTest::newRow("CR LF") << good << "";
        QTest::newRow("LF") << QByteArray(good).replace("\r\n", "\n") << "";
        QTest::newRow("bare 12458 line") << QByteArray("$ny_azon=1008M\r\n12458=\r\n") << "";
        QTest::newRow("CR only") << QByteArray(good).replace("\r\n", "\r") << "sorvégei";
        QTest::newRow("one CR inside") << QByteArray("$ny_azon=1008M\r\n12458=1\r2\r\n") << "sorvégei";
        const QString text = QString::fromLatin1("$ny_azon=1008M\r\n12458=100\r\n");
        QByteArray utf16("\xFF\xFE");
        utf16.append(reinterpret_cast<const char*>(text.utf16()), text.size() * 2);
        QTest::newRow("UTF-16") << utf16 << "Windows-1250";
        QTest::newRow("undefined byte") << QByteArray("$ny_azon=1008M\r\n12458=1\x98\r\n") << "Windows-1250";
        QTest::newRow("NUL") << QByteArray("$ny_azon=1008M\r\n12458=1") + QByteArray(1, '\0') + "\r\n"
                             << "Windows-1250";
        QTest::newRow("no 12458 line: cut off")
            << QByteArray("$ny_azon=1008M\r\n$sorok_sz\xE1ma=28\r\n12456=\r\n") << "12458=";
        QTest::newRow("not an import file") << QByteArray("Kedves Kati!\r\n12458=5\r\n") << "$ny_azon=1008M";
        QTest::newRow("UTF-8 byte order mark")
            << QByteArray("\xEF\xBB\xBF$ny_azon=1008M\r\n12458=5\r\n") << "$ny_azon=1008M";
        QTest::newRow("empty") << QByteArray() << "$ny_azon=1008M";
    }
    void wholeFile() {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, problem);
        QString got;
        const std::optional<QStringList> lines = importFileLines(bytes, &got);
        QCOMPARE(lines.has_value(), problem.isEmpty());
        if (lines)
            QCOMPARE(lines->first(), QStringLiteral("$ny_azon=1008M"));
        else
            QVERIFY2(got.contains(problem), qPrintable(got));
    }

    // The merged file: 12458 carries all four values, 12456 stays empty, the rest as A has it.
    void mergedFile() {
        const QStringList a{"$info=1_A_8123456789", "12458=100", "12461=2", "12456=", "13842=9"};
        const std::optional<qint64> amount = mergedAmount(ImportValues{5, 100}, ImportValues{7, 50});
        QCOMPARE(amount, std::optional<qint64>(162));
        const QStringList merged = mergedLines(a, *amount);
        QCOMPARE(merged, (QStringList{"$info=1_A_8123456789", "12458=162", "12461=2", "12456=", "13842=9"}));
        const QStringList blank = mergedLines({"12458=", "12456=  "}, 0);
        QCOMPARE(blank, (QStringList{"12458=0", "12456="}));
        // Beyond 32 bits.
        QCOMPARE(mergedAmount(ImportValues{0, 3000000000}, ImportValues{0, 3000000000}),
                 std::optional<qint64>(6000000000));
        QCOMPARE(mergedLines({"12458=x"}, 6000000000)[0], QStringLiteral("12458=6000000000"));
    }

    void keys() {
        QCOMPARE(mergeKey("1008M201008_8123456789.imp"), QStringLiteral("_8123456789.imp"));
        QCOMPARE(mergeKey("1008M200908_8123456789.imp"), QStringLiteral("_8123456789.imp"));
        QCOMPARE(mergeKey("short.imp"), QStringLiteral("short.imp"));
    }

    void sumTexts() {
        QCOMPARE(sumLineAllat(true, 0), QStringLiteral("Összevonás előtt a 455. sor (állat): 0"));
        QCOMPARE(sumLineNoveny(false, 150), QStringLiteral("Összevonás után a 455. sor (növény): 150"));
        QCOMPARE(grandTotalLine(6000000000), QStringLiteral("Mindösszesen : 6000000000"));
    }
};

QTEST_MAIN(TestImportRules)
#include "test_import_rules.moc"
