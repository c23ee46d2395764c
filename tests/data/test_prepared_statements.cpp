// The prepared statements the program's connection keeps for reuse: one statement is never lent twice at
// once, a list and a read of the same text run side by side, a schema change (of this desk or another) is
// neither blocked by a kept statement nor hidden from the statements prepared after it, and a write runs the
// triggers as another desk changed them.
#include "data/connection.h"
#include "data/data_module.h"
#include "data/firebird_api.h"
#include "data/immediate_write.h"
#include "data/query.h"
#include "data/transaction.h"
#include "support/test_database.h"

#include <QtTest>

using vardelo::testing::TestDatabase;
namespace fb = vardelo::fb;

namespace {

std::vector<std::vector<QVariant>> run(const QString& sql, const std::vector<QVariant>& values = {}) {
    if (!Data->IBTrans1->Active())
        Data->IBTrans1->StartTransaction();
    auto rows = fb::executeRows(Data->ZCon1->Attachment(), Data->IBTrans1->Handle(), sql, values);
    Data->IBTrans1->Commit();
    return rows;
}

int columnsOf(const QString& sql) {
    vardelo::openQuery(Data->ZQ80, {sql});
    const int columns = Data->ZQ80->FieldCount();
    Data->ZQ80->Close();
    return columns;
}

} // namespace

class TestPreparedStatements : public QObject {
    Q_OBJECT
private slots:
    void aStatementIsReusedOnlyWhenLetGo();
    void listAndWriteOfOneTextRunSideBySide();
    void schemaChangeOfThisDesk();
    void schemaChangeOfAnotherDesk();
    void reattachedConnectionPreparesAnew();
};

void TestPreparedStatements::aStatementIsReusedOnlyWhenLetGo() {
    TestDatabase db;
    Data->IBTrans1->StartTransaction();
    Firebird::IAttachment* attachment = Data->ZCon1->Attachment();
    const QString sql = QStringLiteral("SELECT COUNT(*) FROM RDB$DATABASE WHERE 1 = ?");
    Firebird::IStatement* first = nullptr;
    {
        auto held = fb::prepareStatement(attachment, Data->IBTrans1->Handle(), sql);
        first = held.get();
        // Held: the same text gets a statement of its own.
        auto second = fb::prepareStatement(attachment, Data->IBTrans1->Handle(), sql);
        QVERIFY(second.get() != first);
    }
    {
        auto again = fb::prepareStatement(attachment, Data->IBTrans1->Handle(), sql);
        QCOMPARE(again.get(), first);
    }
    // A write of the program (inside its savepoint) leaves the kept reads kept.
    vardelo::executeAndCommit(Data->ZQ21, {"INSERT INTO termek (t_kod) VALUES ('1')"}, {});
    auto afterWrite = fb::prepareStatement(attachment, Data->IBTrans1->Handle(), sql);
    QCOMPARE(afterWrite.get(), first);
    Data->IBTrans1->Commit();
}

void TestPreparedStatements::listAndWriteOfOneTextRunSideBySide() {
    TestDatabase db;
    for (int i = 1; i <= 30; ++i)
        db.exec(QStringLiteral("INSERT INTO termek (t_kod, t_megnevezes) VALUES ('%1', 'Állat %1')").arg(i));
    // A list is open on a statement while the same text runs again, as a write's read of its row does.
    const QString sql = QStringLiteral("SELECT t_kod, t_megnevezes FROM termek ORDER BY id_termek");
    vardelo::openQuery(Data->ZQ50, {sql});
    Data->ZQ50->SetRecNo(10);
    const auto rows = fb::executeRows(Data->ZCon1->Attachment(), Data->IBTrans1->Handle(), sql, {});
    QCOMPARE(int(rows.size()), 30);
    int seen = 10;
    for (Data->ZQ50->Next(); !Data->ZQ50->Eof(); Data->ZQ50->Next())
        QCOMPARE(Data->ZQ50->FieldByName(QStringLiteral("T_KOD")).AsString(), QString::number(++seen));
    QCOMPARE(seen, 30);
    Data->ZQ50->Close();
}

void TestPreparedStatements::schemaChangeOfThisDesk() {
    TestDatabase db;
    db.exec(QStringLiteral("CREATE TABLE proba (a INTEGER)"));
    QCOMPARE(columnsOf(QStringLiteral("SELECT * FROM proba")), 1);
    run(QStringLiteral("SELECT * FROM proba"));
    // The kept statements over the table do not stand in the way of its change, nor hide the new column.
    run(QStringLiteral("ALTER TABLE proba ADD b INTEGER"));
    QCOMPARE(int(run(QStringLiteral("SELECT * FROM proba WHERE 1 = ?"), {1}).size()), 0);
    QCOMPARE(columnsOf(QStringLiteral("SELECT * FROM proba")), 2);
    run(QStringLiteral("DROP TABLE proba"));
}

void TestPreparedStatements::schemaChangeOfAnotherDesk() {
    TestDatabase db;
    db.exec(QStringLiteral("CREATE TABLE proba (a INTEGER, c INTEGER)"));
    db.exec(QStringLiteral("CREATE TRIGGER proba_bi FOR proba BEFORE INSERT AS BEGIN NEW.c = 1; END"));
    const QString insert = QStringLiteral("INSERT INTO proba (a) VALUES (?)");
    run(insert, {1});
    QCOMPARE(run(QStringLiteral("SELECT a FROM proba")).size(), size_t(1));
    // Another desk changes the table and the trigger of the statements this desk keeps, as a newer program's
    // schema upgrade does while older desks work on.
    db.execAsAnotherDesk(QStringLiteral("ALTER TABLE proba ADD b INTEGER"));
    db.execAsAnotherDesk(QStringLiteral("ALTER TRIGGER proba_bi AS BEGIN NEW.c = 2; END"));
    db.execAsAnotherDesk(QStringLiteral("INSERT INTO proba (a, b) VALUES (2, 3)"));
    run(insert, {3});
    QCOMPARE(run(QStringLiteral("SELECT a FROM proba")).size(), size_t(3));
    QCOMPARE(run(QStringLiteral("SELECT b FROM proba WHERE a = 2")).front().front().toInt(), 3);
    // The trigger as changed runs for this desk's next insert too.
    QCOMPARE(run(QStringLiteral("SELECT c FROM proba WHERE a = 3")).front().front().toInt(), 2);
}

void TestPreparedStatements::reattachedConnectionPreparesAnew() {
    TestDatabase db;
    const QString sql = QStringLiteral("SELECT COUNT(*) FROM termek");
    QCOMPARE(run(sql).front().front().toInt(), 0);
    // The server forgets the attachment: its kept statements go with it, and the new one prepares its own.
    db.cutConnection();
    Data->IBTrans1->Abandon();
    Data->ZCon1->Reconnect();
    db.exec(QStringLiteral("INSERT INTO termek (t_kod) VALUES ('1')"));
    QCOMPARE(run(sql).front().front().toInt(), 1);
}

QTEST_MAIN(TestPreparedStatements)
#include "test_prepared_statements.moc"
