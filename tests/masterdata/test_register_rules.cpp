#include "data/identifier_checks.h"
#include "masterdata/register_rules.h"

#include <QtTest>

using namespace vardelo;

Q_DECLARE_METATYPE(vardelo::AnimalEntryTexts)

namespace {

// A producer that passes every check.
ProducerEntryTexts validProducer() {
    ProducerEntryTexts e;
    e.nev = QStringLiteral("Teszt Elek");
    e.irszam = QStringLiteral("6000");
    e.helysegnev = QStringLiteral("Kecskemét");
    e.utca = QStringLiteral("Fő u. 1.");
    e.adoazon = QStringLiteral("8123456786");
    e.igszam = QStringLiteral("123456");
    e.regszam = QStringLiteral("R-1");
    e.szja = QStringLiteral("15");
    e.szulhely = QStringLiteral("Kecskemét");
    e.szido = QStringLiteral("1961.03.14.");
    e.anyja = QStringLiteral("Szabó Mária");
    e.csgazd = QString();
    e.neme = QStringLiteral("1");
    e.szulnev = QStringLiteral("Teszt Elek");
    e.taj = QStringLiteral("111111110");
    e.adoszam = QStringLiteral("12345676142");
    e.bankszla = QString();
    e.ervkelt = QStringLiteral("2010.01.12.");
    return e;
}

void setField(ProducerEntryTexts& e, const QString& field, const QString& value) {
    QString* target = field == "Edit3"    ? &e.nev
                      : field == "Edit4"  ? &e.irszam
                      : field == "Edit5"  ? &e.helysegnev
                      : field == "Edit6"  ? &e.utca
                      : field == "Edit7"  ? &e.adoazon
                      : field == "Edit8"  ? &e.igszam
                      : field == "Edit9"  ? &e.regszam
                      : field == "Edit10" ? &e.szja
                      : field == "Edit11" ? &e.szulhely
                      : field == "Edit12" ? &e.szido
                      : field == "Edit13" ? &e.anyja
                      : field == "Edit15" ? &e.csgazd
                      : field == "Edit16" ? &e.neme
                      : field == "Edit17" ? &e.szulnev
                      : field == "Edit18" ? &e.taj
                      : field == "Edit19" ? &e.adoszam
                      : field == "Edit20" ? &e.bankszla
                      : field == "Edit21" ? &e.ervkelt
                                          : nullptr;
    QVERIFY2(target, qPrintable(field));
    *target = value;
}

} // namespace

class TestRegisterRules : public QObject {
    Q_OBJECT

private slots:
    void nextCodeFromCodes_data() {
        QTest::addColumn<QStringList>("codes");
        QTest::addColumn<int>("expected");
        QTest::newRow("none") << QStringList{} << 1;
        QTest::newRow("one to five") << QStringList{"1", "2", "3", "4", "5"} << 6;
        // In text order "9" comes last; the highest number is 10.
        QTest::newRow("1-9 and 10") << QStringList{"1", "10", "2", "3", "4", "5", "6", "7", "8", "9"} << 11;
        QTest::newRow("leading zeros") << QStringList{"007", "3"} << 8;
        QTest::newRow("blanks around") << QStringList{" 12 ", "3"} << 13;
        QTest::newRow("non-numeric passed over") << QStringList{"1", "A7", "99x", "", "2,5", "4"} << 5;
        QTest::newRow("only non-numeric") << QStringList{"ABC", ""} << 1;
    }
    void nextCodeFromCodes() {
        QFETCH(QStringList, codes);
        QFETCH(int, expected);
        QCOMPARE(nextCode(codes), expected);
    }

    void validProducerPasses() {
        QVERIFY(adoazonositoValid(validProducer().adoazon));
        QVERIFY(adoszamValid(validProducer().adoszam));
        QVERIFY(tajValid(validProducer().taj));
        QVERIFY(!checkProducerEntry(validProducer()));
    }

    // Each check of the producer entry on an otherwise valid producer; several changes are separated by ";".
    void producerChecks_data() {
        QTest::addColumn<QStringList>("changes"); // field=value
        QTest::addColumn<bool>("uresTaj");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("focus");
        auto row = [](const char* name, QStringList changes, bool box, const char* message,
                      const char* focus) {
            QTest::newRow(name) << changes << box << QString::fromUtf8(message) << QString::fromLatin1(focus);
        };
        row("1 name blank", {"Edit3=   "}, false, "Nincs megadva a neve!", "Edit3");
        row("2 postcode", {"Edit4="}, false, "Nincs megadva az irányitószám!", "Edit4");
        row("3 town", {"Edit5= "}, false, "Nincs megadva a helységnév!", "Edit5");
        row("4 street", {"Edit6="}, false, "Nincs megadva az utca!", "Edit6");
        row("5 tax identifier", {"Edit7="}, false, "Nincs megadva az adóazonositó!", "Edit7");
        row("6 card number", {"Edit8="}, false, "Nincs megadva az őstermelő ig.szám!", "Edit8");
        row("7 szja", {"Edit10="}, false, "Nincs megadva az szja!", "Edit10");
        row("8 place of birth", {"Edit11="}, false, "Nincs megadva a születési hely!", "Edit11");
        row("9 date of birth", {"Edit12="}, false, "Nincs megadva a születési idő!", "Edit12");
        row("10 mother", {"Edit13="}, false, "Nincs megadva az anyja neve!", "Edit13");
        row("11 sex", {"Edit16="}, false, "Nincs megadva a neme!", "Edit16");
        row("12 name at birth", {"Edit17="}, false, "Nincs megadva a születési neve!", "Edit17");
        row("13 TAJ", {"Edit18="}, false, "Nincs megadva a TAJ!", "Edit18");
        row("14 tax number", {"Edit19="}, false, "Nincs megadva az adószáma!", "Edit19");
        row("15 card 5 digits", {"Edit8=12345"}, false, "Az őstermelő ig.szám kevésebb mint 6 karakter!",
            "Edit8");
        row("16 card 8 digits", {"Edit8=12345678"}, false, "Az őstermelő ig.szám többmint 7 karakter!",
            "Edit8");
        row("17 impossible birth date", {"Edit12=1961.02.30."}, false,
            "A születési idö dátum formátuma nem megfelelö!", "Edit12");
        row("17 birth date not a date", {"Edit12=19610314"}, false,
            "A születési idö dátum formátuma nem megfelelö!", "Edit12");
        row("18 validation date empty", {"Edit21="}, false, "Az érvényesités dátum formátuma nem megfelelö!",
            "Edit21");
        row("18 validation date wrong", {"Edit21=2010.13.01."}, false,
            "Az érvényesités dátum formátuma nem megfelelö!", "Edit21");
        row("19 tax identifier 9 digits", {"Edit7=812345678"}, false, "Nem 10 hosszú számsor", "Edit7");
        row("19 tax identifier 11 digits", {"Edit7=81234567860"}, false, "Nem 10 hosszú számsor", "Edit7");
        row("20 tax identifier check digit", {"Edit7=8123456787"}, false, "Hibás adóazonositó", "Edit7");
        row("21 tax number 10 digits", {"Edit19=1234567614"}, false, "Kevesebb mint 11 hosszú számsor",
            "Edit19");
        row("22 tax number check digit", {"Edit19=12345677142"}, false, "Hibás adószám", "Edit19");
        row("23 TAJ check digit", {"Edit18=111111111"}, false, "Hibás TAJ", "Edit18");
        row("24 TAJ short", {"Edit18=11111111"}, false, "Kevesebb mint 9 hosszú számsor", "Edit18");
        row("24 TAJ long", {"Edit18=1111111100"}, false, "Kevesebb mint 9 hosszú számsor", "Edit18");
        // The order: the first failed check wins.
        row("order: empties before lengths", {"Edit8=12345", "Edit19="}, false, "Nincs megadva az adószáma!",
            "Edit19");
        row("order: card before dates", {"Edit8=1", "Edit12=x"}, false,
            "Az őstermelő ig.szám kevésebb mint 6 karakter!", "Edit8");
        row("order: tax identifier before TAJ", {"Edit7=8123456787", "Edit18=1"}, false, "Hibás adóazonositó",
            "Edit7");
        row("order: name first", {"Edit3=", "Edit21="}, false, "Nincs megadva a neve!", "Edit3");
        // The box lets a missing or wrong TAJ through, but not the other checks.
        row("box: tax number still checked", {"Edit18=", "Edit19=1"}, true, "Kevesebb mint 11 hosszú számsor",
            "Edit19");
        // The SZJA per cent last: a whole number from 0 to 100, nothing a BIGINT column would refuse.
        row("szja over 100", {"Edit10=101"}, false, "Az szja 0 és 100 közötti egész szám lehet!", "Edit10");
        row("szja beyond 64 bits", {"Edit10=99999999999999999999"}, false,
            "Az szja 0 és 100 közötti egész szám lehet!", "Edit10");
    }
    void producerChecks() {
        QFETCH(QStringList, changes);
        QFETCH(bool, uresTaj);
        QFETCH(QString, message);
        QFETCH(QString, focus);
        ProducerEntryTexts e = validProducer();
        e.uresTaj = uresTaj;
        for (const QString& change : changes) {
            const int eq = int(change.indexOf('='));
            setField(e, change.left(eq), change.mid(eq + 1));
        }
        const std::optional<EntryProblem> problem = checkProducerEntry(e);
        QVERIFY(problem);
        QCOMPARE(problem->message, message);
        QCOMPARE(problem->field, focus);
    }

    void producerPasses_data() {
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("value");
        QTest::addColumn<bool>("uresTaj");
        QTest::newRow("card 6 digits") << "Edit8"
                                       << "123456" << false;
        QTest::newRow("card 7 digits") << "Edit8"
                                       << "1234567" << false;
        QTest::newRow("date without last point") << "Edit12"
                                                 << "1961.3.4" << false;
        QTest::newRow("box: empty TAJ") << "Edit18"
                                        << "" << true;
        QTest::newRow("box: short TAJ") << "Edit18"
                                        << "12345" << true;
        QTest::newRow("box: wrong TAJ") << "Edit18"
                                        << "111111111" << true;
        QTest::newRow("optional fields empty") << "Edit9"
                                               << "" << false;
    }
    void producerPasses() {
        QFETCH(QString, field);
        QFETCH(QString, value);
        QFETCH(bool, uresTaj);
        ProducerEntryTexts e = validProducer();
        e.uresTaj = uresTaj;
        setField(e, field, value);
        const std::optional<EntryProblem> problem = checkProducerEntry(e);
        QVERIFY2(!problem, problem ? qPrintable(problem->message) : "");
    }

    void animalChecks_data() {
        QTest::addColumn<AnimalEntryTexts>("entry");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("focus");
        const AnimalEntryTexts valid{"8", "Vágóliba", "0105 99 30", "450", "kg", "12"};
        auto with = [&](auto member, const char* value) {
            AnimalEntryTexts e = valid;
            e.*member = QString::fromUtf8(value);
            return e;
        };
        QTest::newRow("1 code") << with(&AnimalEntryTexts::kod, "") << "Nincs megadva a kód!"
                                << "Edit2";
        QTest::newRow("2 name") << with(&AnimalEntryTexts::megnevezes, "  ") << "Nincs megadva a megnevezés!"
                                << "Edit3";
        QTest::newRow("3 price") << with(&AnimalEntryTexts::ear, "") << "Nincs megadva a mennyiség!"
                                 << "Edit5";
        QTest::newRow("4 unit") << with(&AnimalEntryTexts::megy, " ") << "Nincs megadva a mennyiség egység!"
                                << "Edit6";
        QTest::newRow("5 per cent") << with(&AnimalEntryTexts::kompmerteke, "")
                                    << "Nincs megadva a komp.mérték!"
                                    << "Edit7";
        QTest::newRow("6 price beyond")
            << with(&AnimalEntryTexts::ear, "1000000")
            << "Az egységár 0 és 999 999 közötti szám lehet, legfeljebb 4 tizedesjeggyel!"
            << "Edit5";
        QTest::newRow("6 price with five decimals")
            << with(&AnimalEntryTexts::ear, "450,12345")
            << "Az egységár 0 és 999 999 közötti szám lehet, legfeljebb 4 tizedesjeggyel!"
            << "Edit5";
        QTest::newRow("7 per cent beyond") << with(&AnimalEntryTexts::kompmerteke, "101")
                                           << "A komp.mérték 0 és 100 közötti egész szám lehet!"
                                           << "Edit7";
        AnimalEntryTexts all{};
        QTest::newRow("order: code first") << all << "Nincs megadva a kód!"
                                           << "Edit2";
    }
    void animalChecks() {
        QFETCH(AnimalEntryTexts, entry);
        QFETCH(QString, message);
        QFETCH(QString, focus);
        const std::optional<EntryProblem> problem = checkAnimalEntry(entry);
        QVERIFY(problem);
        QCOMPARE(problem->message, message);
        QCOMPARE(problem->field, focus);
    }

    void animalTariffMayBeEmpty() { QVERIFY(!checkAnimalEntry({"8", "Vágóliba", "", "450", "kg", "12"})); }
    void animalLimitsPass() {
        QVERIFY(!checkAnimalEntry({"8", "Vágóliba", "", "999999", "kg", "100"}));
        QVERIFY(!checkAnimalEntry({"8", "Vágóliba", "", "450,25", "kg", "0"}));
    }
};

QTEST_MAIN(TestRegisterRules)
#include "test_register_rules.moc"
