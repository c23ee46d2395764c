#include "tickets/ticket_rules.h"

#include <QTest>

using namespace vardelo::tickets;

Q_DECLARE_METATYPE(HeaderField)
Q_DECLARE_METATYPE(LineField)

class TestTicketRules : public QObject {
    Q_OBJECT
private slots:
    void nextNumber_data();
    void nextNumber();
    void headerChecks_data();
    void headerChecks();
    void completeHeaderPasses_data();
    void completeHeaderPasses();
    void lineChecks_data();
    void lineChecks();
    void headerLimits_data();
    void headerLimits();
    void lineLimits_data();
    void lineLimits();
    void newTicketNumbers_data();
    void newTicketNumbers();
    void numberInAccusative_data();
    void numberInAccusative();
    void movedNumberMessage();
    void declarationBox();
    void ticketOrders_data();
    void ticketOrders();
};

// The article and the case ending follow the number as it is read out: by its last word (egyet, kettőt,
// hármat, ..., tizet, húszat, százat, ezret, milliót) and its first sound (az öt..., az egy, az ezer...).
void TestTicketRules::numberInAccusative_data() {
    QTest::addColumn<QString>("number");
    QTest::addColumn<QString>("expected");
    const std::pair<const char*, const char*> cases[] = {
        {"20000001", "a 20000001-et"},
        {"20000002", "a 20000002-t"},
        {"20000003", "a 20000003-at"},
        {"20000004", "a 20000004-et"},
        {"20000005", "a 20000005-öt"},
        {"20000006", "a 20000006-ot"},
        {"20000007", "a 20000007-et"},
        {"20000008", "a 20000008-at"},
        {"20000009", "a 20000009-et"},
        {"20000010", "a 20000010-et"},
        {"20000020", "a 20000020-at"},
        {"20000030", "a 20000030-at"},
        {"20000040", "a 20000040-et"},
        {"20000060", "a 20000060-at"},
        {"20000100", "a 20000100-at"},
        {"20001000", "a 20001000-et"},
        {"20000000", "a 20000000-t"},
        {"50000001", "az 50000001-et"},
        {"10000001", "a 10000001-et"},
        {"1234567", "az 1234567-et"},
        {"1001", "az 1001-et"},
        {"1", "az 1-et"},
        {"12", "a 12-t"},
        {"120000000", "a 120000000-t"},
        {"1000000000", "az 1000000000-ot"},
    };
    for (const auto& [number, expected] : cases)
        QTest::newRow(number) << QString::fromUtf8(number) << QString::fromUtf8(expected);
}

void TestTicketRules::numberInAccusative() {
    QFETCH(QString, number);
    QFETCH(QString, expected);
    QCOMPARE(numberWithArticleAccusative(number), expected);
}

void TestTicketRules::movedNumberMessage() {
    QCOMPARE(numberMovedMessage("20000002", "20000001"),
             QString("A jegy a(z) 20000002 sorszámot kapta, mert a 20000001-et egy másik munkahely már "
                     "felhasználta."));
    QCOMPARE(numberMovedMessage("50000004", "50000003"),
             QString("A jegy a(z) 50000004 sorszámot kapta, mert az 50000003-at egy másik munkahely már "
                     "felhasználta."));
}

void TestTicketRules::nextNumber_data() {
    QTest::addColumn<QString>("last");
    QTest::addColumn<QString>("next");
    QTest::addColumn<QString>("error");
    QTest::newRow("seed") << "12345678"
                          << "12345679"
                          << "";
    QTest::newRow("blanks around") << " 10000000 "
                                   << "10000001"
                                   << "";
    QTest::newRow("leading zeros dropped") << "00000041"
                                           << "42"
                                           << "";
    QTest::newRow("beyond eight digits") << "99999999"
                                         << "100000000"
                                         << "";
    QTest::newRow("empty") << ""
                           << ""
                           << "'' is not a valid integer value";
    QTest::newRow("letters") << "1234567A"
                             << ""
                             << "'1234567A' is not a valid integer value";
    QTest::newRow("fraction") << "12,5"
                              << ""
                              << "'12,5' is not a valid integer value";
}

void TestTicketRules::nextNumber() {
    QFETCH(QString, last);
    QFETCH(QString, next);
    QFETCH(QString, error);
    const NextNumber n = nextTicketNumber(last);
    QCOMPARE(n.number, next);
    QCOMPARE(n.error, error);
    QCOMPARE(n.ok(), error.isEmpty());
}

namespace {
HeaderTexts completeHeader() {
    return {"2010.08.31.", "2010.08.30.", "2010.09.01.", "15", "3", "0", "12", "2"};
}
QString* headerField(HeaderTexts& h, HeaderField f) {
    switch (f) {
    case HeaderField::IssueDate:
        return &h.issueDate;
    case HeaderField::PurchaseDate:
        return &h.purchaseDate;
    case HeaderField::PaymentDate:
        return &h.paymentDate;
    case HeaderField::Szja:
        return &h.szja;
    case HeaderField::Producer:
        return &h.producerCode;
    case HeaderField::Deduction:
        return &h.deduction;
    case HeaderField::WeightDeduction:
        return &h.weightDeduction;
    case HeaderField::Contribution:
        return &h.contribution;
    }
    return nullptr;
}
} // namespace

// Each case empties one field and every field after it: the message is the one of the first.
void TestTicketRules::headerChecks_data() {
    QTest::addColumn<HeaderField>("field");
    QTest::addColumn<QString>("emptyText");
    QTest::addColumn<QString>("message");
    const std::pair<HeaderField, const char*> order[] = {
        {HeaderField::IssueDate, "Nincs megadva a kiállítás dátuma!"},
        {HeaderField::PurchaseDate, "Nincs megadva a felvásárlás dátuma!"},
        {HeaderField::PaymentDate, "Nincs megadva a átvétel dátum!"},
        {HeaderField::Szja, "Nincs megadva az szja!"},
        {HeaderField::Producer, "Nincs kiválasztva őstermelő!"},
        {HeaderField::Deduction, "Nincs megadva vagy nem nulla a levonás!"},
        {HeaderField::WeightDeduction, "Nincs megadva súlylevonás % -a!"},
        {HeaderField::Contribution, "Nincs megadva tagok hozzájárulása % -a!"},
    };
    for (const auto& [field, message] : order) {
        QTest::addRow("%s empty", message) << field << QString() << QString::fromUtf8(message);
        QTest::addRow("%s blanks", message) << field << QString("   ") << QString::fromUtf8(message);
    }
    // Dates are read only when every required field is there, in the same order.
    QTest::newRow("issue date impossible") << HeaderField::IssueDate << "2010.02.30."
                                           << "Hibás a kiállítás dátuma!";
    QTest::newRow("purchase date garbled") << HeaderField::PurchaseDate << "2010..08"
                                           << "Hibás a felvásárlás dátuma!";
    QTest::newRow("payment date month 13") << HeaderField::PaymentDate << "2010.13.01."
                                           << "Hibás az átvétel dátuma!";
}

void TestTicketRules::headerChecks() {
    QFETCH(HeaderField, field);
    QFETCH(QString, emptyText);
    QFETCH(QString, message);
    HeaderTexts h = completeHeader();
    const bool missing = message.startsWith("Nincs");
    for (int f = int(field); f <= int(HeaderField::Contribution); ++f) {
        if (missing || f == int(field))
            *headerField(h, HeaderField(f)) = emptyText;
        if (!missing)
            break;
    }
    const auto problem = checkHeader(h);
    QVERIFY(problem);
    QCOMPARE(problem->field, field);
    QCOMPARE(problem->message, message);
}

void TestTicketRules::completeHeaderPasses_data() {
    QTest::addColumn<QString>("deduction");
    QTest::addColumn<QString>("issueDate");
    QTest::newRow("zero deduction") << "0"
                                    << "2010.08.31.";
    QTest::newRow("one-digit month and day, no last point") << "1500"
                                                            << "2010.8.1";
    QTest::newRow("deduction with comma") << "12,5"
                                          << "2010.08.31.";
}

void TestTicketRules::completeHeaderPasses() {
    QFETCH(QString, deduction);
    QFETCH(QString, issueDate);
    HeaderTexts h = completeHeader();
    h.deduction = deduction;
    h.issueDate = issueDate;
    QVERIFY(!checkHeader(h));
}

void TestTicketRules::lineChecks_data() {
    QTest::addColumn<LineField>("field");
    QTest::addColumn<QString>("message");
    QTest::newRow("name") << LineField::Name << "Nincs megadva a megnevezés!";
    QTest::newRow("vtsz") << LineField::Vtsz << "Nincs megadva a VTSZ!";
    QTest::newRow("gross") << LineField::Gross << "Nincs megadva a bruttó mennyiség!";
    QTest::newRow("unit") << LineField::Unit << "Nincs megadva a mennyiség egység!";
    QTest::newRow("unit price") << LineField::UnitPrice << "Nincs megadva az egységár!";
    QTest::newRow("compensation") << LineField::CompensationRate << "Nincs megadva a komp.mértéke!";
}

void TestTicketRules::lineChecks() {
    QFETCH(LineField, field);
    QFETCH(QString, message);
    LineTexts line{"Süldő", "0103 91 10", "100", "kg", "420", "7", "12"};
    QVERIFY(!checkLine(line));
    QString* texts[] = {&line.name, &line.vtsz,      &line.gross,
                        &line.unit, &line.unitPrice, &line.compensationRate};
    // This field of blanks and every later one empty: the first one is reported.
    *texts[int(field)] = QStringLiteral("  ");
    for (int f = int(field) + 1; f < 6; ++f)
        texts[f]->clear();
    const auto problem = checkLine(line);
    QVERIFY(problem);
    QCOMPARE(problem->field, field);
    QCOMPARE(problem->message, message);
}

// Numbers beyond what a ticket holds are refused with a message that names the limit; the edges pass.
void TestTicketRules::headerLimits_data() {
    QTest::addColumn<HeaderField>("field");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("message"); // empty: accepted
    const QString szja = "Az szja % 0 és 100 közötti egész szám lehet!";
    const QString weight = "A súlylevonás % 0 és 100 közötti szám lehet, legfeljebb 4 tizedesjeggyel!";
    const QString contribution =
        "A tagi hozzájárulás % 0 és 100 közötti szám lehet, legfeljebb 4 tizedesjeggyel!";
    const QString deduction =
        "A levonás (Ft) 0 és 99 999 999 közötti szám lehet, legfeljebb 4 tizedesjeggyel!";
    QTest::newRow("szja 0") << HeaderField::Szja << "0" << QString();
    QTest::newRow("szja 100") << HeaderField::Szja << "100" << QString();
    QTest::newRow("szja 101") << HeaderField::Szja << "101" << szja;
    QTest::newRow("szja with a fraction") << HeaderField::Szja << "12,5" << szja;
    QTest::newRow("szja huge") << HeaderField::Szja << "99999999999999999999" << szja;
    QTest::newRow("weight 12") << HeaderField::WeightDeduction << "12" << QString();
    QTest::newRow("weight 12,25") << HeaderField::WeightDeduction << "12,25" << QString();
    QTest::newRow("weight 12,250") << HeaderField::WeightDeduction << "12,250" << QString();
    QTest::newRow("weight 12,12345") << HeaderField::WeightDeduction << "12,12345" << weight;
    QTest::newRow("weight 100,5") << HeaderField::WeightDeduction << "100,5" << weight;
    // A number that does not read as one is refused here, naming the field, not at the save.
    QTest::newRow("weight lone comma") << HeaderField::WeightDeduction << ","
                                       << "A súlylevonás % nem szám („,”), 0 és 100 közötti szám lehet, "
                                          "legfeljebb 4 tizedesjeggyel!";
    QTest::newRow("contribution 1,2,3") << HeaderField::Contribution << "1,2,3"
                                        << "A tagi hozzájárulás % nem szám („1,2,3”), 0 és 100 közötti szám "
                                           "lehet, legfeljebb 4 tizedesjeggyel!";
    QTest::newRow("deduction 1.2.3") << HeaderField::Deduction << " 1.2.3 "
                                     << "A levonás (Ft) nem szám („1.2.3”), 0 és 99 999 999 közötti szám "
                                        "lehet, legfeljebb 4 tizedesjeggyel!";
    QTest::newRow("contribution 100") << HeaderField::Contribution << "100" << QString();
    QTest::newRow("contribution 250") << HeaderField::Contribution << "250" << contribution;
    QTest::newRow("deduction largest") << HeaderField::Deduction << "99999999" << QString();
    QTest::newRow("deduction just over") << HeaderField::Deduction << "99999999,5" << deduction;
    QTest::newRow("deduction 100 million") << HeaderField::Deduction << "100000000" << deduction;
    QTest::newRow("deduction five decimals") << HeaderField::Deduction << "10,00005" << deduction;
}

void TestTicketRules::headerLimits() {
    QFETCH(HeaderField, field);
    QFETCH(QString, text);
    QFETCH(QString, message);
    HeaderTexts h = completeHeader();
    *headerField(h, field) = text;
    const auto problem = checkHeader(h);
    QCOMPARE(bool(problem), !message.isEmpty());
    if (problem) {
        QCOMPARE(problem->field, field);
        QCOMPARE(problem->message, message);
    }
}

void TestTicketRules::lineLimits_data() {
    QTest::addColumn<LineField>("field");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("message"); // empty: accepted
    const QString gross =
        "A bruttó mennyiség -999 999 és 999 999 közötti szám lehet, legfeljebb 4 tizedesjeggyel!";
    const QString price = "Az egységár 0 és 999 999 közötti szám lehet, legfeljebb 4 tizedesjeggyel!";
    const QString komp = "A komp.mértéke 0 és 100 közötti szám lehet, legfeljebb 4 tizedesjeggyel!";
    const QString weight =
        "A felvásárlási jegy súlylevonás %-a 0 és 100 közötti szám lehet, legfeljebb 4 tizedesjeggyel!";
    QTest::newRow("gross eight billion") << LineField::Gross << "8000000000" << gross;
    QTest::newRow("gross largest") << LineField::Gross << "999999" << QString();
    QTest::newRow("gross just over") << LineField::Gross << "999999,0001" << gross;
    QTest::newRow("gross negative largest") << LineField::Gross << "-999999" << QString();
    QTest::newRow("gross below") << LineField::Gross << "-1000000" << gross;
    QTest::newRow("gross four decimals") << LineField::Gross << "312,1255" << QString();
    QTest::newRow("gross five decimals") << LineField::Gross << "312,12555" << gross;
    QTest::newRow("gross minus alone")
        << LineField::Gross << "-"
        << "A bruttó mennyiség nem szám („-”), -999 999 és 999 999 közötti szám lehet, legfeljebb 4 "
           "tizedesjeggyel!";
    QTest::newRow("price 1,2,3")
        << LineField::UnitPrice << "1,2,3"
        << "Az egységár nem szám („1,2,3”), 0 és 999 999 közötti szám lehet, legfeljebb 4 tizedesjeggyel!";
    QTest::newRow("compensation 7,,") << LineField::CompensationRate << "7,,"
                                      << "A komp.mértéke nem szám („7,,”), 0 és 100 közötti szám lehet, "
                                         "legfeljebb 4 tizedesjeggyel!";
    QTest::newRow("price just over") << LineField::UnitPrice << "999999,0001" << price;
    QTest::newRow("price at the limit") << LineField::UnitPrice << "999999" << QString();
    QTest::newRow("price four decimals") << LineField::UnitPrice << "395,5555" << QString();
    QTest::newRow("price five decimals") << LineField::UnitPrice << "395,55555" << price;
    QTest::newRow("compensation 100") << LineField::CompensationRate << "100" << QString();
    QTest::newRow("compensation 101") << LineField::CompensationRate << "101" << komp;
    QTest::newRow("weight deduction 150") << LineField::WeightDeduction << "150" << weight;
    QTest::newRow("weight deduction huge") << LineField::WeightDeduction << "99999999999" << weight;
}

void TestTicketRules::lineLimits() {
    QFETCH(LineField, field);
    QFETCH(QString, text);
    QFETCH(QString, message);
    LineTexts line{"Süldő", "0103 91 10", "100", "kg", "420", "7", "12"};
    QString* texts[] = {&line.name,           &line.vtsz,      &line.gross,
                        &line.unit,           &line.unitPrice, &line.compensationRate,
                        &line.weightDeduction};
    *texts[int(field)] = text;
    const auto problem = checkLine(line);
    QCOMPARE(bool(problem), !message.isEmpty());
    if (problem) {
        QCOMPARE(problem->field, field);
        QCOMPARE(problem->message, message);
    }
}

void TestTicketRules::newTicketNumbers_data() {
    QTest::addColumn<QString>("number");
    QTest::addColumn<bool>("headerExists");
    QTest::addColumn<QString>("message");
    const QString advice = " Állítsa be a sorszámot: Átvevö / Lekérdezés, \"Évnyitás\" lap.";
    QTest::newRow("free") << "10000004" << false << QString();
    QTest::newRow("used") << "10000004" << true
                          << "A következő sorszámmal (10000004) már van felvásárlási jegy!" + advice;
    QTest::newRow("nine digits") << "100000000" << false
                                 << "A következő sorszám (100000000) hosszabb 8 számjegynél, nem adható ki!" +
                                        advice;
}

void TestTicketRules::newTicketNumbers() {
    QFETCH(QString, number);
    QFETCH(bool, headerExists);
    QFETCH(QString, message);
    QCOMPARE(newTicketNumberRefusal(number, headerExists), message);
}

void TestTicketRules::declarationBox() {
    QVERIFY(!declarationTicked(QString()));
    QVERIFY(!declarationTicked(QStringLiteral("12345")));
    QVERIFY(declarationTicked(QStringLiteral("123456")));
    QCOMPARE(declarationText(true, QStringLiteral("Saját termelés.")), QStringLiteral("Saját termelés."));
    QCOMPARE(declarationText(false, QStringLiteral("Saját termelés.")), QStringLiteral(" "));
}

void TestTicketRules::ticketOrders_data() {
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("column");
    QTest::addColumn<QString>("caption");
    QTest::newRow("Bszám") << "F_BSZAM"
                           << "f_bszam"
                           << "Felvásárlási jegy lista, \"Bizonylatszám\" szerint";
    QTest::newRow("Österm.kód") << "F_OSTERMKOD"
                                << "f_ostermkod, id_fjfej"
                                << "Felvásárlási jegy lista, \"Őstermelőkód\" szerint";
    QTest::newRow("Név") << "O_NEV"
                         << "o_nev, id_fjfej"
                         << "Felvásárlási jegy lista, név szerint";
    QTest::newRow("Dátum") << "F_KELT"
                           << "f_kelt, id_fjfej"
                           << "Felvásárlási jegy lista, dátum szerint";
    QTest::newRow("Print") << "F_PRN"
                           << "f_prn, id_fjfej"
                           << "Felvásárlási jegy lista, volt-e nyomtatva szerint";
    QTest::newRow("Megjegyzés") << "F_MEGJ"
                                << ""
                                << "";
    QTest::newRow("ID") << "ID_FJFEJ"
                        << ""
                        << "";
}

void TestTicketRules::ticketOrders() {
    QFETCH(QString, field);
    QFETCH(QString, column);
    QFETCH(QString, caption);
    const auto order = ticketOrderForColumn(field);
    QCOMPARE(bool(order), !column.isEmpty());
    if (order) {
        QCOMPARE(order->column, column);
        QCOMPARE(order->caption, caption);
    }
}

QTEST_APPLESS_MAIN(TestTicketRules)
#include "test_ticket_rules.moc"
