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
    void declarationBox();
    void ticketOrders_data();
    void ticketOrders();
};

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
    LineTexts line{"Süldő", "0103 91 10", "100", "kg", "420", "7"};
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
                                << "f_ostermkod"
                                << "Felvásárlási jegy lista, \"Őstermelőkód\" szerint";
    QTest::newRow("Név") << "O_NEV"
                         << "o_nev"
                         << "Felvásárlási jegy lista, név szerint";
    QTest::newRow("Dátum") << "F_KELT"
                           << "f_kelt"
                           << "Felvásárlási jegy lista, dátum szerint";
    QTest::newRow("Print") << "F_PRN"
                           << "f_prn"
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
