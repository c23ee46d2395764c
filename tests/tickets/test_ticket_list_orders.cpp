// The ticket list in each of its orders, read through its plan (counted without the producers, read from
// its end, around a row by its key, ordered by the producer's name without joining every ticket), gives the
// rows of its plain statement in the same order: forwards, backwards from the last row, counted and found
// by number. The cases: equal names of two producers, an empty name, a producer without a name, a ticket of
// a producer who is not in the register and one without a producer, Hungarian letters in the collation's
// order, equal dates and printed marks, tickets stored out of number order, a producer code used twice, and
// codes holding a blank or a comma, or stored with a trailing blank. Each order both with the ticket counts
// the database keeps and without them.
#include "support/test_database.h"
#include "ticket_data.h"
#include "tickets/ticket_queries.h"
#include "tickets/ticket_rules.h"

#include <QtTest>

using namespace vardelo;
using namespace vardelo::testing;

namespace {

// Producers with names that test the collation, two with one name, one with an empty name, one without.
const std::vector<std::pair<QString, QString>> Producers = {
    {"1", "'Kovács János'"}, {"2", "'Kovács János'"},   {"3", "''"},
    {"4", "NULL"},           {"5", "'Ábel Ádám'"},      {"6", "'Abel Adam'"},
    {"7", "'Öreg Ödön'"},    {"8", "'Őri Őrs'"},        {"9", "'Orosz Olga'"},
    {"10", "'Zsák Zoltán'"}, {"11", "'Szabó Sára'"},    {"12", "'Csonka Csaba'"},
    {"13", "'Cukor Cecil'"}, {"14", "'Üveges Ürsula'"}, {"15", "'Ujj Ubul'"},
    {"16", "'Úr Úrsula'"},   {"17", "'Űr Ürge'"},       {"18", "'éva'"},
    {"19", "'Éva'"},         {"20", "'Ágnes'"},
};
// Producers whose codes hold a blank or a comma, one of them of a name used above.
const std::vector<std::pair<QString, QString>> OddCodes = {{"2, 3", "'Vessző Vilma'"},
                                                           {"1 1", "'Kovács János'"}};

// 37 tickets of purchaser 1, stored out of number order, over the first twenty producers, a missing one
// ("999") and none; dates and printed marks repeat. Three more of the producers whose codes hold a blank or
// a comma, one of them written with a trailing blank ("2 " is producer "2"). Two tickets of purchaser 2 that
// the list never shows.
void storeTickets(TestDatabase& db) {
    for (const auto* producers : {&Producers, &OddCodes})
        for (const auto& [code, name] : *producers)
            db.exec(QStringLiteral("INSERT INTO ostermelo (o_kod, o_nev) VALUES ('%1', %2)").arg(code, name));
    const QStringList marks = {"NULL", "' '", "'I'"};
    for (int i = 0; i < 37; ++i) {
        const int number = (i * 17) % 37;
        QString producer = QString::number(i % 22 + 1);
        if (producer == QLatin1String("21"))
            producer = QStringLiteral("999");
        StoredTicket ticket{.number = QString::number(10000000 + number),
                            .producer = producer,
                            .kelt = QStringLiteral("2010-08-%1").arg(1 + i % 5, 2, 10, QLatin1Char('0')),
                            .prn = marks[i % 3]};
        storeTicket(db, ticket);
        if (producer == QLatin1String("22"))
            db.exec(QStringLiteral("UPDATE fjfej SET f_ostermkod = NULL WHERE f_bszam = '%1'")
                        .arg(ticket.number));
    }
    for (const auto& [number, producer] :
         {std::pair{"10000037", "2, 3"}, {"10000038", "1 1"}, {"10000039", "2 "}})
        storeTicket(db, {.number = number, .producer = producer});
    storeTicket(db, {.number = "20000001", .akod = "2", .producer = "5"});
    storeTicket(db, {.number = "20000002", .akod = "2", .producer = "999"});
}

// A row as the ticket and its producer: "ticket id/producer id".
QString rowOf(TDataSet& q) {
    return q.FieldByName("ID_FJFEJ").AsString() + QLatin1Char('/') + q.FieldByName("ID_OSTERMELO").AsString();
}

// The plain statement's rows, read through a query of its own without a plan and with room for every row.
QStringList plainRows(const QString& sql) {
    TZQuery plain("plain", Data->ZCon1, Data->IBTrans1);
    plain.SQL.SetText(sql);
    plain.ParamByName("p3").SetAsString(AktAkod);
    plain.Open();
    QStringList rows;
    for (; !plain.Eof(); plain.Next())
        rows << rowOf(plain);
    return rows;
}

QStringList forwards(TDataSet& q) {
    QStringList rows;
    for (q.First(); !q.Eof(); q.Next())
        rows << rowOf(q);
    return rows;
}

QStringList backwards(TDataSet& q) {
    QStringList rows;
    for (q.Last(); !q.Bof(); q.Prior())
        rows.prepend(rowOf(q));
    return rows;
}

} // namespace

class TestTicketListOrders : public QObject {
    Q_OBJECT
private slots:
    void init() { QTest::failOnWarning(QRegularExpression(QStringLiteral(".*"))); }

    void sameRowsAsThePlainStatement_data() {
        QTest::addColumn<QString>("field");
        QTest::addColumn<bool>("codeTwice");
        QTest::addColumn<bool>("kept");
        for (const char* field : {"F_BSZAM", "F_OSTERMKOD", "O_NEV", "F_KELT", "F_PRN"})
            for (const bool kept : {true, false}) {
                const QString name = QLatin1String(field) + (kept ? QString() : QStringLiteral(", counted"));
                QTest::newRow(qPrintable(name)) << QString::fromLatin1(field) << false << kept;
                QTest::newRow(qPrintable(name + QStringLiteral(", a code twice")))
                    << QString::fromLatin1(field) << true << kept;
            }
    }
    void sameRowsAsThePlainStatement() {
        QFETCH(QString, field);
        QFETCH(bool, codeTwice);
        QFETCH(bool, kept);
        TestDatabase db;
        storeTickets(db);
        // Without the mark that the kept ticket counts are whole, the list counts and places every ticket.
        if (!kept)
            db.exec(QStringLiteral("DELETE FROM fjfej_darab WHERE d_allapot = 2"));
        if (codeTwice)
            db.exec(QStringLiteral("INSERT INTO ostermelo (o_kod, o_nev) VALUES ('7', 'Bárány Béla')"));
        AktAkod = QStringLiteral("1");
        const QString order = tickets::ticketOrderForColumn(field)->column;
        for (const int window : {4, 1000}) {
            TZQuery* q = Data->ZQ10;
            q->Close();
            q->SetWindowSize(window);
            tickets::openTicketHeaders(order);
            const QStringList plain = plainRows(q->SQL.Text());
            QCOMPARE(plain.size(), codeTwice ? 42 : 40);
            QCOMPARE(forwards(*q), plain);
            QCOMPARE(backwards(*q), plain);
            q->Last();
            QCOMPARE(q->RecNo(), plain.size());
            QCOMPARE(q->RecordCount(), plain.size());

            // Reopened, counted first, then every ticket found by its number where the plain list has it (a
            // ticket of the code used twice is on two rows: the first of them).
            tickets::openTicketHeaders(order);
            QCOMPARE(q->RecordCount(), plain.size());
            for (int i = 39; i >= 0; --i) {
                const QString number = QString::number(10000000 + i);
                QVERIFY(q->Locate("F_BSZAM", number, 0));
                QCOMPARE(q->FieldByName("F_BSZAM").AsString(), number);
                const QString id = q->FieldByName("ID_FJFEJ").AsString();
                int first = 0;
                while (!plain[first].startsWith(id + QLatin1Char('/')))
                    ++first;
                QCOMPARE(q->RecNo(), first + 1);
                // The rows around it, read from its key (the first row has none before it).
                const int before = std::max(0, first - 1);
                q->Prior();
                QCOMPARE(rowOf(*q), plain[before]);
                q->MoveBy(2);
                QCOMPARE(rowOf(*q), plain[std::min(int(plain.size()) - 1, before + 2)]);
            }
            // A key no row can have, and a number longer than any ticket's, are in no row.
            QVERIFY(!q->Locate("ID_FJFEJ", QStringLiteral("99999999999"), 0));
            QVERIFY(!q->Locate("F_BSZAM", QStringLiteral("100000011"), loCaseInsensitive | loPartialKey));
        }
        Data->ZQ10->SetWindowSize(TDataSet::DefaultWindowSize);
    }
};

QTEST_GUILESS_MAIN(TestTicketListOrders)
#include "test_ticket_list_orders.moc"
