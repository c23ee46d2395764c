// The rules of the ticket data check: each check's verdict on a value, the failure lines, the whole memo of a
// batch, and the single checks of typed numbers and of a birth date.
#include "check_memo.h"
#include "lists/check_rules.h"

#include <QtTest>

using namespace vardelo::lists;

namespace {

const BatchCheck& check(int number) {
    return batchChecks()[size_t(number - 1)];
}

// A ticket line that passes every check.
CheckRow goodRow(const QString& bszam = QStringLiteral("20000001")) {
    CheckRow row;
    using C = CheckColumn;
    row[C::SBszam] = bszam;
    row[C::STermekkod] = "1";
    row[C::SNetto] = "250";
    row[C::SEar] = "310";
    row[C::SKompmerteke] = "7";
    row[C::FOstermkod] = "1";
    row[C::FSzja] = "15";
    row[C::FPrn] = "I";
    row[C::OAdoszam] = "18301667104";
    row[C::OAdoazon] = "8526018159";
    row[C::OTaj] = "318609139";
    row[C::ONev] = "Kovács János";
    row[C::OIrszam] = "6000";
    row[C::OHelysegnev] = "Kecskemét";
    row[C::OUtca] = "Petőfi Sándor u. 3.";
    row[C::OIgszam] = "123456";
    row[C::OSzulhely] = "Kecskemét";
    row[C::OSzido] = "1961.03.14.";
    row[C::OAnyja] = "Szabó Mária";
    row[C::ONeme] = "1";
    row[C::OSzulnev] = "Kovács János";
    return row;
}

const QString kLast = "Klikk az ablakba és kurzor billentyüvel mozoghat benne. ";

} // namespace

class TestCheckRules : public QObject {
    Q_OBJECT
private slots:
    void namesAndColumns();
    void verdicts_data();
    void verdicts();
    void failureLineNamesProducerOrTicket();
    void memoOfRows();
    void memoWithoutRows();
    void memoInBlocks();
    void typedChecks_data();
    void typedChecks();
    void birthDate_data();
    void birthDate();
};

void TestCheckRules::namesAndColumns() {
    QCOMPARE(int(batchChecks().size()), 20);
    for (int i = 0; i < 20; ++i)
        QCOMPARE(batchChecks()[size_t(i)].name, kNames[i]);
    QCOMPARE(check(12).column, CheckColumn::OAnyja);
    QCOMPARE(check(20).column, CheckColumn::SKompmerteke);
}

void TestCheckRules::verdicts_data() {
    QTest::addColumn<int>("number");
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("message"); // null: the value passes

    const QString ok;
    QTest::newRow("tax number ok") << 1 << "18301667104" << ok;
    QTest::newRow("tax number, 8 digits ok") << 1 << "12345676" << ok;
    QTest::newRow("tax number missing") << 1 << ""
                                        << "Hiba (kevesebb nyolc számnál): ";
    QTest::newRow("tax number 7 long") << 1 << "1234567"
                                       << "Hiba (kevesebb nyolc számnál): ";
    QTest::newRow("tax number wrong digit") << 1 << "12345678112"
                                            << "Hiba (hibás adószám): ";
    QTest::newRow("tax number with a letter") << 1 << "1234A676142"
                                              << "Hiba (hibás adószám): ";
    QTest::newRow("tax identifier ok") << 2 << "8123456786" << ok;
    QTest::newRow("tax identifier wrong digit") << 2 << "8123456787"
                                                << "Hiba (hibás adóazonositó): ";
    QTest::newRow("tax identifier with a letter") << 2 << "81234X6786"
                                                  << "Hiba (hibás adóazonositó): ";
    QTest::newRow("tax identifier 9 long") << 2 << "812345678"
                                           << "Hiba (kevesebb tiz számnál): ";
    QTest::newRow("tax identifier 11 long") << 2 << "81234567860"
                                            << "Hiba (kevesebb tiz számnál): ";
    QTest::newRow("tax identifier missing") << 2 << ""
                                            << "Hiba (kevesebb tiz számnál): ";
    QTest::newRow("TAJ ok") << 3 << "111111110" << ok;
    QTest::newRow("TAJ wrong digit") << 3 << "111111111"
                                     << "Hiba (hibás TAJ): ";
    QTest::newRow("TAJ with a letter") << 3 << "11111x110"
                                       << "Hiba (hibás TAJ): ";
    QTest::newRow("TAJ 10 long") << 3 << "1111111100"
                                 << "Hiba (kevesebb 9 számnál): ";
    QTest::newRow("TAJ 8 long") << 3 << "11111111"
                                << "Hiba (kevesebb 9 számnál): ";
    QTest::newRow("producer code") << 4 << ""
                                   << "Hiba (nincs östermelö megadva): ";
    QTest::newRow("producer code given") << 4 << "99" << ok;
    QTest::newRow("name") << 5 << ""
                          << "Hiba (nincs östermelö név megadva): ";
    QTest::newRow("a blank is a value") << 5 << " " << ok;
    QTest::newRow("postcode") << 6 << ""
                              << "Hiba (nincs östermelö irányitószám megadva): ";
    QTest::newRow("place") << 7 << ""
                           << "Hiba (nincs östermelö Helységnév megadva): ";
    QTest::newRow("street") << 8 << ""
                            << "Hiba (nincs östermelö Utca megadva): ";
    QTest::newRow("id card") << 9 << ""
                             << "Hiba (nincs östermelö ig.szám megadva): ";
    QTest::newRow("birth place") << 10 << ""
                                 << "Hiba (nincs östermelö születési hely megadva): ";
    QTest::newRow("birth date") << 11 << ""
                                << "Hiba (nincs östermelö születési idö megadva): ";
    QTest::newRow("mother") << 12 << ""
                            << "Hiba (nincs östermelö anyja neve megadva): ";
    QTest::newRow("sex") << 13 << ""
                         << "Hiba (nincs östermelö neme megadva): ";
    QTest::newRow("birth name") << 14 << ""
                                << "Hiba (nincs östermelö születési neve megadva): ";
    QTest::newRow("szja") << 15 << ""
                          << "Hiba (nincs szja (minimum 0) megadva): ";
    QTest::newRow("szja 0") << 15 << "0" << ok;
    QTest::newRow("printed") << 16 << "I" << ok;
    QTest::newRow("not printed, blank") << 16 << " "
                                        << "Figyelmeztetés (még nincs kinyomtatva): ";
    QTest::newRow("not printed, null") << 16 << ""
                                       << "Figyelmeztetés (még nincs kinyomtatva): ";
    QTest::newRow("printed, lower case") << 16 << "i"
                                         << "Figyelmeztetés (még nincs kinyomtatva): ";
    QTest::newRow("animal code") << 17 << ""
                                 << "Figyelmeztetés (nincs termékkód megadva): ";
    QTest::newRow("quantity missing") << 18 << ""
                                      << "Hiba (nincs mennyiség megadva): ";
    QTest::newRow("quantity zero") << 18 << "0"
                                   << "Hiba (nullás mennyiség van megadva): ";
    QTest::newRow("quantity zero with decimals") << 18 << "0,000"
                                                 << "Hiba (nullás mennyiség van megadva): ";
    QTest::newRow("quantity negative") << 18 << "-10" << ok;
    QTest::newRow("quantity fraction") << 18 << "39,893" << ok;
    QTest::newRow("quantity unreadable") << 18 << "12a"
                                         << "Hiba (nincs mennyiség megadva): ";
    QTest::newRow("price missing") << 19 << ""
                                   << "Hiba (nincs egységár megadva): ";
    QTest::newRow("price zero") << 19 << "0"
                                << "Hiba (nullás egységár van megadva): ";
    QTest::newRow("price zero written long") << 19 << "0,00"
                                             << "Hiba (nulla vagy minuszos egységár van megadva): ";
    QTest::newRow("price negative") << 19 << "-5"
                                    << "Hiba (nulla vagy minuszos egységár van megadva): ";
    QTest::newRow("price fraction") << 19 << "395,5" << ok;
    QTest::newRow("price unreadable") << 19 << "x"
                                      << "Hiba (nincs egységár megadva): ";
    QTest::newRow("rate missing") << 20 << ""
                                  << "Hiba (nincs Komp.felár megadva): ";
    QTest::newRow("rate 7") << 20 << "7" << ok;
    QTest::newRow("rate 12") << 20 << "12" << ok;
    QTest::newRow("rate 5") << 20 << "5"
                            << "Hiba (nem 7, 12 % van megadva): ";
    QTest::newRow("rate 0") << 20 << "0"
                            << "Hiba (nem 7, 12 % van megadva): ";
    QTest::newRow("rate -7") << 20 << "-7"
                             << "Hiba (nem 7, 12 % van megadva): ";
    QTest::newRow("rate with a fraction") << 20 << "7,5"
                                          << "Hiba (nem 7, 12 % van megadva): ";
}

void TestCheckRules::verdicts() {
    QFETCH(int, number);
    QFETCH(QString, value);
    QFETCH(QString, message);
    const QString verdict = check(number).verdict(value);
    QCOMPARE(verdict.isNull(), message.isNull());
    QCOMPARE(verdict, message);
}

void TestCheckRules::failureLineNamesProducerOrTicket() {
    CheckRow row = goodRow("20000007");
    for (const BatchCheck& c : batchChecks())
        QVERIFY2(failureLine(c, row).isNull(), qPrintable(c.name));
    row[CheckColumn::OAdoazon] = "812345678";
    QCOMPARE(failureLine(check(2), row), "Hiba (kevesebb tiz számnál): 812345678 Kovács János Kódja: 1");
    row[CheckColumn::OAdoszam] = "";
    QCOMPARE(failureLine(check(1), row), "Hiba (kevesebb nyolc számnál):  Kovács János Kódja: 1");
    row[CheckColumn::OAnyja] = "";
    QCOMPARE(failureLine(check(12), row), "Hiba (nincs östermelö anyja neve megadva): 20000007");
}

// Two lines of a producer without a tax number, a line whose producer row is missing, an unprinted ticket
// with a zero quantity and a rate of 5.
void TestCheckRules::memoOfRows() {
    CheckRow first = goodRow("20000001");
    first[CheckColumn::OAdoszam] = "";
    CheckRow second = first;
    second[CheckColumn::SNetto] = "-3";
    CheckRow orphan;
    orphan[CheckColumn::SBszam] = "20000002";
    orphan[CheckColumn::STermekkod] = "3";
    orphan[CheckColumn::SNetto] = "400";
    orphan[CheckColumn::SEar] = "395,5";
    orphan[CheckColumn::SKompmerteke] = "7";
    orphan[CheckColumn::FOstermkod] = "99";
    orphan[CheckColumn::FSzja] = "15";
    orphan[CheckColumn::FPrn] = "I";
    CheckRow unprinted = goodRow("20000003");
    unprinted[CheckColumn::FPrn] = " ";
    unprinted[CheckColumn::SNetto] = "0";
    unprinted[CheckColumn::SKompmerteke] = "5";

    QStringList expected;
    expected << "    Adószám ellenörzés... "
             << "Hiba (kevesebb nyolc számnál):  Kovács János Kódja: 1"
             << "Hiba (kevesebb nyolc számnál):  Kovács János Kódja: 1"
             << "Hiba (kevesebb nyolc számnál):   Kódja: 99"
             << "    Adószám ellenörzés vége. "
             << " "
             << "    Adóazonositó ellenörzés... "
             << "Hiba (kevesebb tiz számnál):   Kódja: 99"
             << "    Adóazonositó ellenörzés vége. "
             << " "
             << "    TAJ ellenörzés... "
             << "Hiba (kevesebb 9 számnál):   Kódja: 99"
             << "    TAJ ellenörzés vége. "
             << " "
             << "    Östermelökód ellenörzés... "
             << "    Östermelökód ellenörzés vége. "
             << " "
             << "    Östermelö név ellenörzés... "
             << "Hiba (nincs östermelö név megadva): 20000002"
             << "    Östermelö név ellenörzés vége. "
             << " "
             << "    Östermelö irányitószám ellenörzés... "
             << "Hiba (nincs östermelö irányitószám megadva): 20000002"
             << "    Östermelö irányitószám ellenörzés vége. "
             << " "
             << "    Östermelö Helységnév ellenörzés... "
             << "Hiba (nincs östermelö Helységnév megadva): 20000002"
             << "    Östermelö Helységnév ellenörzés vége. "
             << " "
             << "    Östermelö Utca ellenörzés... "
             << "Hiba (nincs östermelö Utca megadva): 20000002"
             << "    Östermelö Utca ellenörzés vége. "
             << " "
             << "    Östermelö ig.szám ellenörzés... "
             << "Hiba (nincs östermelö ig.szám megadva): 20000002"
             << "    Östermelö ig.szám ellenörzés vége. "
             << " "
             << "    Östermelö születési hely ellenörzés... "
             << "Hiba (nincs östermelö születési hely megadva): 20000002"
             << "    Östermelö születési hely ellenörzés vége. "
             << " "
             << "    Östermelö születési idö ellenörzés... "
             << "Hiba (nincs östermelö születési idö megadva): 20000002"
             << "    Östermelö születési idö ellenörzés vége. "
             << " "
             << "    Östermelö anyja neve ellenörzés... "
             << "Hiba (nincs östermelö anyja neve megadva): 20000002"
             << "    Östermelö anyja neve ellenörzés vége. "
             << " "
             << "    Östermelö neme ellenörzés... "
             << "Hiba (nincs östermelö neme megadva): 20000002"
             << "    Östermelö neme ellenörzés vége. "
             << " "
             << "    Östermelö születési neve ellenörzés... "
             << "Hiba (nincs östermelö születési neve megadva): 20000002"
             << "    Östermelö születési neve ellenörzés vége. "
             << " "
             << "    Szja ellenörzés... "
             << "    Szja ellenörzés vége. "
             << " "
             << "    Volt-e nyomtatva? ellenörzés... "
             << "Figyelmeztetés (még nincs kinyomtatva): 20000003"
             << "    Volt-e nyomtatva? ellenörzés vége. "
             << " "
             << "    Termékkód ellenörzés... "
             << "    Termékkód ellenörzés vége. "
             << " "
             << "    Mennyiség ellenörzés... "
             << "Hiba (nullás mennyiség van megadva): 20000003"
             << "    Mennyiség ellenörzés vége. "
             << " "
             << "    Egységár ellenörzés... "
             << "    Egységár ellenörzés vége. "
             << " "
             << "    Komp.felár ellenörzés... "
             << "Hiba (nem 7, 12 % van megadva): 20000003"
             << "    Komp.felár ellenörzés vége. "
             << " "
             << "Klikk az ablakba és kurzor billentyüvel mozoghat benne. ";
    QCOMPARE(batchCheckLines({first, second, orphan, unprinted}), expected);
}

void TestCheckRules::memoWithoutRows() {
    QStringList expected;
    for (const QString& name : kNames)
        expected += framed(name, {});
    expected << kLast;
    QCOMPARE(batchCheckLines({}), expected);
    QCOMPARE(expected.size(), 61);
}

// The memo comes in blocks of the given size; together they are the whole memo.
void TestCheckRules::memoInBlocks() {
    std::vector<CheckRow> rows(1000, goodRow());
    for (CheckRow& row : rows)
        row[CheckColumn::OAnyja] = "";
    const QStringList whole = batchCheckLines(rows);
    QCOMPARE(whole.size(), 61 + 1000);
    QList<int> sizes;
    QStringList joined;
    runBatchCheck(rows, 300, [&](const QStringList& block) {
        sizes << int(block.size());
        joined += block;
    });
    QCOMPARE(joined, whole);
    QCOMPARE(sizes, QList<int>({300, 300, 300, 161}));
}

void TestCheckRules::typedChecks_data() {
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("message");
    QTest::addColumn<bool>("beep");

    QTest::newRow("tax number with hyphens") << "adoszam"
                                             << "12345676-1-42"
                                             << "Az adószám rendben" << false;
    QTest::newRow("tax number as digits") << "adoszam"
                                          << "12345676142"
                                          << "Az adószám rendben" << false;
    QTest::newRow("wrong tax number with hyphens") << "adoszam"
                                                   << "12345678-1-12"
                                                   << "Hibaüzenet: Hibás adószám" << true;
    QTest::newRow("wrong tax number as digits") << "adoszam"
                                                << "12345678112"
                                                << "Hibaüzenet: Hibás adószám" << true;
    QTest::newRow("tax number of 8") << "adoszam"
                                     << "12345676"
                                     << "Hibaüzenet: Nem 11 vagy 13 hosszú számsor" << true;
    QTest::newRow("tax number of 12") << "adoszam"
                                      << "12345676-142"
                                      << "Hibaüzenet: Nem 11 vagy 13 hosszú számsor" << true;
    QTest::newRow("tax number with a letter") << "adoszam"
                                              << "1234567X-1-42"
                                              << "Hibaüzenet: Hibás adószám" << true;
    QTest::newRow("tax identifier") << "adoazon"
                                    << "8123456786"
                                    << "Az azóazonositó rendben" << false;
    QTest::newRow("wrong tax identifier") << "adoazon"
                                          << "8123456787"
                                          << "Hibaüzenet: Hibás adóazonositó" << true;
    QTest::newRow("tax identifier with a letter") << "adoazon"
                                                  << "812345678X"
                                                  << "Hibaüzenet: Hibás adóazonositó" << true;
    QTest::newRow("tax identifier of 9") << "adoazon"
                                         << "812345678"
                                         << "Hibaüzenet: Nem 10 hosszú számsor" << true;
    QTest::newRow("tax identifier of 11") << "adoazon"
                                          << "81234567860"
                                          << "Hibaüzenet: Nem 10 hosszú számsor" << true;
    QTest::newRow("TAJ") << "taj"
                         << "111111110"
                         << "A TAJ rendben" << false;
    QTest::newRow("TAJ with hyphens") << "taj"
                                      << "111-111-110"
                                      << "A TAJ rendben" << false;
    QTest::newRow("TAJ with blanks") << "taj"
                                     << "111 111 110"
                                     << "A TAJ rendben" << false;
    QTest::newRow("TAJ with any separators") << "taj"
                                             << "111x111/110"
                                             << "A TAJ rendben" << false;
    QTest::newRow("wrong TAJ") << "taj"
                               << "111-111-111"
                               << "Hibaüzenet: Hibás TAJ" << true;
    QTest::newRow("TAJ with a letter") << "taj"
                                       << "11a111110"
                                       << "Hibaüzenet: Hibás TAJ" << true;
    QTest::newRow("TAJ of 10") << "taj"
                               << "1111111100"
                               << "Hibaüzenet: Nem 9 vagy 11 hosszú számsor" << true;
    QTest::newRow("TAJ empty") << "taj"
                               << ""
                               << "Hibaüzenet: Nem 9 vagy 11 hosszú számsor" << true;
}

void TestCheckRules::typedChecks() {
    QFETCH(QString, kind);
    QFETCH(QString, text);
    QFETCH(QString, message);
    QFETCH(bool, beep);
    const SingleVerdict verdict = kind == "adoszam"   ? checkTypedAdoszam(text)
                                  : kind == "adoazon" ? checkTypedAdoazon(text)
                                                      : checkTypedTaj(text);
    QCOMPARE(verdict.message, message);
    QCOMPARE(verdict.beep, beep);
}

void TestCheckRules::birthDate_data() {
    QTest::addColumn<QString>("adoazon");
    QTest::addColumn<QDate>("birth");
    QTest::addColumn<QString>("fromIdentifier");
    QTest::addColumn<QString>("days");
    QTest::addColumn<QString>("message");
    QTest::addColumn<bool>("beep");

    // 8123456786: characters 2-6 are 12345, and 1867.01.01 + 12345 days is 1900.10.20.
    QTest::newRow("matching") << "8123456786" << QDate(1900, 10, 20) << "12345"
                              << "12345"
                              << "Az adóazonositó és születési dátum összevetése rendben" << false;
    QTest::newRow("a day off") << "8123456786" << QDate(1900, 10, 21) << "12345"
                               << "12346"
                               << "Hibaüzenet: Az adóazonositó és/vagy szül.dátum hiba !" << true;
    QTest::newRow("too short") << "812345678" << QDate(1900, 10, 20) << "12345"
                               << "12345"
                               << "Hibaüzenet: Nem 10 hosszú számsor !" << true;
    QTest::newRow("too long") << "81234567860" << QDate(1900, 1, 1) << "12345"
                              << "12053"
                              << "Hibaüzenet: Nem 10 hosszú számsor !" << true;
    QTest::newRow("a letter") << "81X3456786" << QDate(1900, 10, 20) << "1X345"
                              << "12345"
                              << "Hibaüzenet: Az adóazonositó és/vagy szül.dátum hiba !" << true;
    QTest::newRow("demo producer") << "8526018159" << QDate(1961, 3, 14) << "52601"
                                   << "34405"
                                   << "Hibaüzenet: Az adóazonositó és/vagy szül.dátum hiba !" << true;
    QTest::newRow("before 1867") << "8000016786" << QDate(1866, 12, 31) << "00001"
                                 << "1"
                                 << "Az adóazonositó és születési dátum összevetése rendben" << false;
    QTest::newRow("empty") << "" << QDate(1900, 1, 1) << ""
                           << "12053"
                           << "Hibaüzenet: Nem 10 hosszú számsor !" << true;
}

void TestCheckRules::birthDate() {
    QFETCH(QString, adoazon);
    QFETCH(QDate, birth);
    QFETCH(QString, fromIdentifier);
    QFETCH(QString, days);
    QFETCH(QString, message);
    QFETCH(bool, beep);
    const DaysVerdict verdict = checkTypedDays(adoazon, birth);
    QCOMPARE(verdict.fromIdentifier, fromIdentifier);
    QCOMPARE(verdict.dayCount, days);
    QCOMPARE(verdict.verdict.message, message);
    QCOMPARE(verdict.verdict.beep, beep);
}

QTEST_APPLESS_MAIN(TestCheckRules)
#include "test_check_rules.moc"
