// The ticket counts the database keeps for the ticket list: the trigger follows every change of a ticket, a
// rolled back change leaves nothing, the program sums the changes into one row a code, an older database is
// counted once, a ticket another desk writes meanwhile is counted once, a second desk doing the same work
// gives way, and the list is counted from them.
#include "data/connection.h"
#include "data/data_module.h"
#include "data/immediate_write.h"
#include "data/query.h"
#include "data/shared_values.h"
#include "data/transaction.h"
#include "support/test_database.h"
#include "ticket_data.h"
#include "tickets/ticket_counts.h"
#include "tickets/ticket_queries.h"

#include <QtTest>

using namespace vardelo;
using namespace vardelo::testing;

namespace {

QStringList rowsOf(const QString& sql) {
    TZQuery q(QStringLiteral("counts"), Data->ZCon1, Data->IBTrans1);
    openQuery(&q, {sql});
    QStringList rows;
    for (; !q.Eof(); q.Next()) {
        QStringList values;
        for (int i = 0; i < q.FieldCount(); ++i)
            values << (q.Fields(i).IsNull() ? QStringLiteral("-") : q.Fields(i).AsString().trimmed());
        rows << values.join(QLatin1Char('|'));
    }
    q.Close();
    rows.sort();
    return rows;
}

// "purchaser|code|tickets" of every purchaser and code, as kept and as the tickets are.
QStringList keptCounts() {
    return rowsOf(QStringLiteral("SELECT a, k, SUM(n) FROM (SELECT d_akod a, d_ostermkod k, d_darab n "
                                 "FROM fjfej_darab WHERE d_allapot IS DISTINCT FROM 2) "
                                 "GROUP BY a, k HAVING SUM(n) <> 0"));
}

QStringList ticketCounts() {
    return rowsOf(
        QStringLiteral("SELECT f_akod, f_ostermkod, COUNT(*) FROM fjfej GROUP BY f_akod, f_ostermkod"));
}

int single(const QString& sql) {
    return rowsOf(sql).value(0).toInt();
}

// Five tickets of two purchasers: codes "1" (twice), "2", none, and "3" of purchaser 2.
void storeTickets(TestDatabase& db) {
    storeTicket(db, {.number = "10000001", .producer = "1"});
    storeTicket(db, {.number = "10000002", .producer = "1"});
    storeTicket(db, {.number = "10000003", .producer = "2"});
    storeTicket(db, {.number = "10000004", .producer = "2"});
    db.exec(QStringLiteral("UPDATE fjfej SET f_ostermkod = NULL WHERE f_bszam = '10000004'"));
    storeTicket(db, {.number = "20000001", .akod = "2", .producer = "3"});
}

// The database as an older one stands once the upgrade has added the table: no counts and no mark.
void forgetCounts(TestDatabase& db) {
    db.exec(QStringLiteral("DELETE FROM fjfej_darab"));
}

// Another desk with a transaction of its own, left open until it commits or rolls back.
struct Desk {
    TConnection connection{QStringLiteral("desk")};
    std::unique_ptr<TTransaction> transaction;
    std::unique_ptr<TZQuery> query;

    explicit Desk(const TestDatabase& db) {
        connection.DatabaseName = db.databasePath();
        connection.Connect();
        transaction = std::make_unique<TTransaction>(QStringLiteral("deskTransaction"), &connection);
        query = std::make_unique<TZQuery>(QStringLiteral("deskQuery"), &connection, transaction.get());
    }
    ~Desk() {
        query.reset();
        transaction.reset();
        connection.Disconnect();
    }
    void exec(const QString& sql) { execQuery(query.get(), {sql}); }
};

bool settle() {
    const bool settled = tickets::settleTicketCounts(Data->ZCon1);
    Data->IBTrans1->Commit();
    return settled;
}

} // namespace

class TestTicketCounts : public QObject {
    Q_OBJECT
private slots:
    void init() { QTest::failOnWarning(QRegularExpression(QStringLiteral(".*"))); }

    void keptThroughEveryChange_data() {
        QTest::addColumn<QStringList>("changes");
        QTest::addColumn<bool>("countsWritten");
        QTest::newRow("stored") << QStringList{} << true;
        QTest::newRow("another producer")
            << QStringList{"UPDATE fjfej SET f_ostermkod = '2' WHERE f_bszam = '10000001'"} << true;
        QTest::newRow("another purchaser")
            << QStringList{"UPDATE fjfej SET f_akod = '2' WHERE f_bszam = '10000002'"} << true;
        QTest::newRow("producer taken off")
            << QStringList{"UPDATE fjfej SET f_ostermkod = NULL WHERE f_bszam = '10000003'"} << true;
        QTest::newRow("producer given")
            << QStringList{"UPDATE fjfej SET f_ostermkod = '7' WHERE f_bszam = '10000004'"} << true;
        QTest::newRow("deleted") << QStringList{"DELETE FROM fjfej WHERE f_akod = '1' AND f_ostermkod = '1'"}
                                 << true;
        QTest::newRow("a trailing blank")
            << QStringList{"UPDATE fjfej SET f_ostermkod = '2 ' WHERE f_bszam = '10000003'"} << false;
        QTest::newRow("another column")
            << QStringList{"UPDATE fjfej SET f_megj = 'Más', f_prn = 'I' WHERE f_akod = '1'"} << false;
    }
    void keptThroughEveryChange() {
        QFETCH(QStringList, changes);
        QFETCH(bool, countsWritten);
        TestDatabase db;
        storeTickets(db);
        QCOMPARE(keptCounts(), (QStringList{"1|-|1", "1|1|2", "1|2|1", "2|3|1"}));
        const int rowsBefore = single(QStringLiteral("SELECT COUNT(*) FROM fjfej_darab"));
        for (const QString& change : changes)
            db.exec(change);
        QCOMPARE(keptCounts(), ticketCounts());
        QCOMPARE(single(QStringLiteral("SELECT COUNT(*) FROM fjfej_darab")) > rowsBefore,
                 countsWritten && !changes.isEmpty());

        // Summed: one row a code, none for a code without tickets, the mark kept.
        QVERIFY(settle());
        QCOMPARE(keptCounts(), ticketCounts());
        QCOMPARE(
            single(QStringLiteral("SELECT COUNT(*) FROM fjfej_darab WHERE d_allapot IS DISTINCT FROM 2")),
            ticketCounts().size());
        QCOMPARE(single(QStringLiteral("SELECT COUNT(*) FROM fjfej_darab WHERE d_allapot = 2")), 1);
    }

    void rolledBackChangeLeavesNoCount() {
        TestDatabase db;
        storeTickets(db);
        execQuery(Data->ZQ80, {QStringLiteral("INSERT INTO fjfej (f_bszam, f_akod, f_ostermkod) "
                                              "VALUES ('10000009', '1', '1')")});
        execQuery(Data->ZQ80, {QStringLiteral("DELETE FROM fjfej WHERE f_bszam = '10000003'")});
        QCOMPARE(keptCounts(), ticketCounts());
        Data->IBTrans1->Rollback();
        QCOMPARE(keptCounts(), (QStringList{"1|-|1", "1|1|2", "1|2|1", "2|3|1"}));
    }

    // An older database gets its counts when the ticket browser first opens; until then the list counts the
    // tickets itself. The changes its trigger wrote before are replaced by the count.
    void olderDatabaseIsCountedOnce() {
        TestDatabase db;
        storeTickets(db);
        forgetCounts(db);
        // A ticket written after the upgrade, before the counting: its change is in the count.
        storeTicket(db, {.number = "10000005", .producer = "2"});
        AktAkod = QStringLiteral("1");
        tickets::openTicketHeaders(QStringLiteral("f_bszam"));
        QCOMPARE(Data->ZQ10->RecordCount(), 5);
        Data->ZQ10->Close();
        QVERIFY(settle());
        QCOMPARE(keptCounts(), ticketCounts());
        const QStringList rows = rowsOf(QStringLiteral("SELECT * FROM fjfej_darab"));
        QVERIFY(settle());
        QCOMPARE(rowsOf(QStringLiteral("SELECT * FROM fjfej_darab")), rows);
    }

    // What another desk writes while the counts are made or summed, and commits afterwards, is counted
    // once: its change is neither in what is counted nor among the rows replaced.
    void changeOfAnotherDeskCountedOnce_data() {
        QTest::addColumn<bool>("older");
        QTest::addColumn<QString>("change");
        const QString store = QStringLiteral("INSERT INTO fjfej (f_bszam, f_akod, f_ostermkod) "
                                             "VALUES ('10000009', '1', '1')");
        const QString remove = QStringLiteral("DELETE FROM fjfej WHERE f_bszam = '10000001'");
        QTest::newRow("stored, older database") << true << store;
        QTest::newRow("deleted, older database") << true << remove;
        QTest::newRow("stored, changes summed") << false << store;
        QTest::newRow("deleted, changes summed") << false << remove;
    }
    void changeOfAnotherDeskCountedOnce() {
        QFETCH(bool, older);
        QFETCH(QString, change);
        TestDatabase db;
        storeTickets(db);
        if (older)
            forgetCounts(db);
        Desk desk(db);
        desk.exec(change);
        QVERIFY(settle());
        desk.transaction->Commit();
        QCOMPARE(keptCounts(), ticketCounts());
        QVERIFY(settle());
        QCOMPARE(keptCounts(), ticketCounts());
    }

    // A desk making or summing the counts at the same moment: the second one gives way, changing nothing,
    // and does it once the first is done.
    void secondDeskGivesWay_data() {
        QTest::addColumn<bool>("older");
        QTest::addColumn<QString>("work");
        QTest::newRow("counting an older database")
            << true
            << QStringLiteral("INSERT INTO fjfej_darab (d_akod, d_ostermkod, d_darab, d_allapot) "
                              "VALUES (NULL, NULL, 0, 2)");
        QTest::newRow("summing") << false
                                 << QStringLiteral("DELETE FROM fjfej_darab WHERE d_allapot IS NULL");
    }
    void secondDeskGivesWay() {
        QFETCH(bool, older);
        QFETCH(QString, work);
        TestDatabase db;
        storeTickets(db);
        if (older)
            forgetCounts(db);
        const QStringList rows = rowsOf(QStringLiteral("SELECT * FROM fjfej_darab"));
        {
            Desk desk(db);
            desk.exec(work);
            QTest::ignoreMessage(QtWarningMsg,
                                 QRegularExpression(QStringLiteral("^ticket counts not settled")));
            QVERIFY(!settle());
            QCOMPARE(rowsOf(QStringLiteral("SELECT * FROM fjfej_darab")), rows);
            desk.transaction->Rollback();
        }
        QVERIFY(settle());
        QCOMPARE(keptCounts(), ticketCounts());
    }

    // The list is counted from the kept counts, not by reading the tickets (a count made wrong on purpose
    // shows through).
    void listCountedFromKeptCounts() {
        TestDatabase db;
        storeTickets(db);
        QVERIFY(settle());
        db.exec(QStringLiteral("UPDATE fjfej_darab SET d_darab = d_darab + 10 "
                               "WHERE d_akod = '1' AND d_ostermkod = '2'"));
        AktAkod = QStringLiteral("1");
        tickets::openTicketHeaders(QStringLiteral("f_bszam"));
        QCOMPARE(Data->ZQ10->RecordCount(), 14);
        Data->ZQ10->Close();
    }
};

QTEST_GUILESS_MAIN(TestTicketCounts)
#include "test_ticket_counts.moc"
