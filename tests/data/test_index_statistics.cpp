// Index figures measured again when stale: never measured on rows, or measured on less than half the rows the
// table has now; fresh figures are left alone, and a table without rows is not measured.

#include "data/data_module.h"
#include "data/index_statistics.h"
#include "data/query.h"
#include "support/test_database.h"

#include <QtTest>

using vardelo::testing::TestDatabase;

namespace {

// The selectivity Firebird keeps for an index (0: never measured on rows).
double selectivity(const QString& index) {
    TZQuery q(QStringLiteral("Figures"), Data->ZCon1, Data->IBTrans1);
    q.SQL.Add(QStringLiteral("SELECT RDB$STATISTICS FROM RDB$INDICES WHERE RDB$INDEX_NAME = :p1"));
    q.ParamByName(QStringLiteral("p1")).SetAsString(index);
    q.Open();
    return q.IsEmpty() ? -1 : q.Fields(0).AsFloat();
}

void addTickets(TestDatabase& db, int first, int count) {
    for (int i = first; i < first + count; ++i)
        db.exec(
            QStringLiteral("INSERT INTO fjfej (f_bszam, f_akod, f_fizkelt) VALUES ('%1', '2', '2010-08-%2')")
                .arg(20000000 + i)
                .arg(1 + i % 4, 2, 10, QLatin1Char('0')));
}

QStringList refresh() {
    return vardelo::refreshIndexStatistics(Data->ZCon1, Data->IBTrans1, vardelo::ticketTables());
}

} // namespace

class TestIndexStatistics : public QObject {
    Q_OBJECT
private slots:
    void measuredWhenStale();
};

void TestIndexStatistics::measuredWhenStale() {
    TestDatabase db;
    // A new database: no rows, nothing measured, nothing to measure.
    QCOMPARE(selectivity("FJFEJ_BSZAM"), 0.0);
    QVERIFY(refresh().isEmpty());

    // Twenty tickets on four days: the figures made on the empty table are replaced.
    addTickets(db, 0, 20);
    const QStringList first = refresh();
    QVERIFY(first.contains("FJFEJ_BSZAM"));
    QVERIFY(first.contains("FJFEJ_FIZKELT"));
    QVERIFY(!first.contains("FJSOR_AKOD")); // lines and producers have no rows
    QVERIFY(qAbs(selectivity("FJFEJ_BSZAM") - 1.0 / 20) < 1e-6);
    QVERIFY(qAbs(selectivity("FJFEJ_FIZKELT") - 1.0 / 4) < 1e-6);

    // Fresh figures stay, also after a few more rows.
    addTickets(db, 20, 15);
    QVERIFY(refresh().isEmpty());
    QVERIFY(qAbs(selectivity("FJFEJ_BSZAM") - 1.0 / 20) < 1e-6);

    // More than twice the measured rows: measured again.
    addTickets(db, 35, 10);
    QVERIFY(refresh().contains("FJFEJ_BSZAM"));
    QVERIFY(qAbs(selectivity("FJFEJ_BSZAM") - 1.0 / 45) < 1e-6);
}

QTEST_MAIN(TestIndexStatistics)
#include "test_index_statistics.moc"
