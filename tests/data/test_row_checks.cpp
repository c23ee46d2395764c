// Writes of a row another desk changed or deleted since this desk read it: refused and told (the columns that
// changed named by their captions), never done unseen; an unchanged row is written.
#include "data/connection.h"
#include "data/data_module.h"
#include "data/immediate_write.h"
#include "data/row_check.h"
#include "data/transaction.h"
#include "support/test_database.h"

#include <QtTest>

using vardelo::testing::TestDatabase;

namespace {

// Another desk: a connection of its own; each statement committed.
class OtherDesk {
public:
    OtherDesk() : connection_("otherDesk"), transaction_("otherDeskTransaction", &connection_) {
        connection_.Connect();
    }
    ~OtherDesk() {
        if (transaction_.Active())
            transaction_.Rollback();
        connection_.Disconnect();
    }
    void commit(const QString& sql) {
        write(sql);
        transaction_.Commit();
    }
    // Left uncommitted: the row stays held by this desk.
    void write(const QString& sql) {
        TZQuery q("otherDeskQuery", &connection_, &transaction_);
        q.SQL.Add(sql);
        q.ExecSQL();
    }

private:
    TConnection connection_;
    TTransaction transaction_;
};

void openProducer(const QString& code) {
    vardelo::openQuery(Data->ZQ30, {"SELECT * FROM ostermelo WHERE o_kod = :p1"}, {{"p1", code}});
}

} // namespace

class TestRowChecks : public QObject {
    Q_OBJECT
private slots:
    void changedRowNamesWhatChanged();
    void checkedRowIsHeldUntilTheCommit();
    void tablePostOfAChangedOrDeletedRow();
    void tableDeleteOfAGoneRow();
    void updateThatFindsNoRowFails();
    void ownLineChangeOfAPrintedTicketIsNoRefusal();
};

void TestRowChecks::changedRowNamesWhatChanged() {
    TestDatabase db(true);
    openProducer("1");
    const vardelo::RowAsRead read = vardelo::rowAsRead(*Data->ZQ30, "OSTERMELO");
    QCOMPARE(read.keyColumn, QString("ID_OSTERMELO"));
    vardelo::checkRowUnchanged(Data->IBTrans1, read); // unchanged: no refusal
    Data->IBTrans1->Commit();

    OtherDesk other;
    other.commit("UPDATE ostermelo SET o_nev = 'Új Név', o_szja = 16, o_utca = NULL WHERE o_kod = '1'");
    try {
        vardelo::checkRowUnchanged(Data->IBTrans1, read);
        QFAIL("a changed row passed");
    } catch (const vardelo::ERowChanged& refusal) {
        QVERIFY(!refusal.Deleted());
        QCOMPARE(refusal.Changes().size(), 3);
        QVERIFY2(refusal.Changes().at(0).startsWith("Neve: „"), qPrintable(refusal.Changes().at(0)));
        QVERIFY(refusal.Changes().at(0).endsWith(" helyett most „Új Név”"));
        QVERIFY(refusal.Changes().at(1).endsWith(" helyett most (üres)"));
        QVERIFY2(refusal.Changes().at(2).startsWith("Szja: „"), qPrintable(refusal.Changes().at(2)));
        QVERIFY(refusal.Message().startsWith("Ezt az adatot közben egy másik munkahely módosította: Neve: "));
    }
    // The window rolls back after a refusal, which lets go of the row.
    Data->IBTrans1->Rollback();
    other.commit("DELETE FROM ostermelo WHERE o_kod = '1'");
    try {
        vardelo::checkRowUnchanged(Data->IBTrans1, read);
        QFAIL("a deleted row passed");
    } catch (const vardelo::ERowChanged& refusal) {
        QVERIFY(refusal.Deleted());
        QCOMPARE(refusal.Message(), QString("Ezt a sort közben egy másik munkahely törölte."));
    }
}

// The check locks the row: another desk cannot change it between the check and this desk's commit, and a row
// another desk holds makes the check fail at once as the known conflict.
void TestRowChecks::checkedRowIsHeldUntilTheCommit() {
    TestDatabase db(true);
    openProducer("2");
    const vardelo::RowAsRead read = vardelo::rowAsRead(*Data->ZQ30, "OSTERMELO");
    vardelo::checkRowUnchanged(Data->IBTrans1, read);
    {
        OtherDesk other;
        QVERIFY_THROWS_EXCEPTION(EDatabaseError,
                                 other.write("UPDATE ostermelo SET o_nev = 'X' WHERE o_kod = '2'"));
    }
    Data->IBTrans1->Commit();

    OtherDesk holder;
    holder.write("UPDATE ostermelo SET o_nev = 'Y' WHERE o_kod = '2'");
    try {
        vardelo::checkRowUnchanged(Data->IBTrans1, read);
        QFAIL("a held row passed");
    } catch (const EDatabaseError& error) {
        QVERIFY(vardelo::isConcurrencyConflict(error));
    }
}

// The purchaser record and the raw table editor write through the table components.
void TestRowChecks::tablePostOfAChangedOrDeletedRow() {
    TestDatabase db(true);
    TIBTable* table = Data->IBTable6;
    table->Open();
    QVERIFY(table->Locate("V_AKOD", "1", 0));
    table->Edit();
    table->FieldByName("V_NEVE").SetAsString("Saját név");

    OtherDesk other;
    other.commit("UPDATE atvevo SET v_utca = 'Másik utca' WHERE v_akod = '1'");
    try {
        table->Post();
        QFAIL("a changed row was overwritten");
    } catch (const vardelo::ERowChanged& refusal) {
        QCOMPARE(refusal.Changes().size(), 1);
        QVERIFY2(refusal.Changes().at(0).startsWith("Utca: "), qPrintable(refusal.Changes().at(0)));
    }
    QCOMPARE(table->State(), TDataSetState::Edit); // the typed value stays
    QCOMPARE(table->FieldByName("V_NEVE").AsString(), QString("Saját név"));

    // Read again, the same edit is stored, and the other desk's change with it.
    table->Cancel();
    table->Refresh();
    table->Edit();
    table->FieldByName("V_NEVE").SetAsString("Saját név");
    table->Post();
    Data->IBTrans1->Commit();
    table->Open();
    QVERIFY(table->Locate("V_AKOD", "1", 0));
    QCOMPARE(table->FieldByName("V_UTCA").AsString(), QString("Másik utca"));
    QCOMPARE(table->FieldByName("V_NEVE").AsString(), QString("Saját név"));

    table->Edit();
    table->FieldByName("V_NEVE").SetAsString("Harmadik");
    other.commit("DELETE FROM atvevo WHERE v_akod = '1'");
    try {
        table->Post();
        QFAIL("a deleted row passed");
    } catch (const vardelo::ERowChanged& refusal) {
        QVERIFY(refusal.Deleted());
    }
}

void TestRowChecks::tableDeleteOfAGoneRow() {
    TestDatabase db(true);
    TIBTable* table = Data->IBTable3;
    table->ReadOnly = false;
    table->Open();
    QVERIFY(table->Locate("O_KOD", "3", 0));
    OtherDesk other;
    other.commit("DELETE FROM ostermelo WHERE o_kod = '3'");
    QVERIFY_THROWS_EXCEPTION(vardelo::ERowChanged, table->Delete());
    table->ReadOnly = true;
}

// An UPDATE by a key that no row has any more: a failure, never a silent success.
void TestRowChecks::updateThatFindsNoRowFails() {
    TestDatabase db(true);
    QVERIFY_THROWS_EXCEPTION(vardelo::ERowChanged,
                             vardelo::execWrite(Data->ZQ31, QString("999999"),
                                                {"UPDATE ostermelo SET o_nev = :p1 WHERE id_ostermelo = :p0"},
                                                {"INSERT INTO ostermelo (o_nev) VALUES (:p1)"},
                                                {{"p1", "X"}}));
    QVERIFY_THROWS_EXCEPTION(vardelo::ERowChanged,
                             vardelo::executeRowAndCommit(Data->ZQ31,
                                                          {"DELETE FROM ostermelo WHERE id_ostermelo = :p1"},
                                                          {{"p1", 999999}}, vardelo::RowAsRead{}));
}

// A line changed on a printed ticket dates the header's F_NYMOD (the journal's trigger), also when this desk
// changes it in the ticket's own window: the header's save is not refused for that. The working time of an
// unsaved line is not compared either; a clerk's column still is.
void TestRowChecks::ownLineChangeOfAPrintedTicketIsNoRefusal() {
    TestDatabase db(true);
    db.exec("INSERT INTO fjfej (f_bszam, f_akod, f_ostermkod, f_prn, f_megj) "
            "VALUES ('19999001', '1', '1', 'I', 'Első')");
    db.exec("INSERT INTO fjsor (s_bszam, s_akod, s_brutto) VALUES ('19999001', '1', 100)");
    db.exec("INSERT INTO fjsor (s_akod, s_brutto, s_munkahely, s_munkaido) "
            "VALUES ('1', 50, 'asztal', TIMESTAMP '2010-08-01 10:00:00')");
    vardelo::openQuery(Data->ZQ10, {"SELECT * FROM fjfej WHERE f_bszam = '19999001'"}, {});
    const vardelo::RowAsRead header = vardelo::rowAsRead(*Data->ZQ10, "FJFEJ");
    vardelo::openQuery(Data->ZQ20, {"SELECT * FROM fjsor WHERE s_munkahely = 'asztal'"}, {});
    const vardelo::RowAsRead unsaved = vardelo::rowAsRead(*Data->ZQ20, "FJSOR");
    Data->ZQ10->Close();
    Data->ZQ20->Close();

    db.exec("UPDATE fjsor SET s_brutto = 101 WHERE s_bszam = '19999001'");
    db.exec("UPDATE fjsor SET s_munkaido = CURRENT_TIMESTAMP WHERE s_munkahely = 'asztal'");
    vardelo::openQuery(Data->ZQ11, {"SELECT f_nymod FROM fjfej WHERE f_bszam = '19999001'"}, {});
    QCOMPARE(Data->ZQ11->FieldByName("F_NYMOD").AsDate(), QDate::currentDate());
    Data->ZQ11->Close();
    vardelo::checkRowUnchanged(Data->IBTrans1, header);
    vardelo::checkRowUnchanged(Data->IBTrans1, unsaved);
    Data->IBTrans1->Commit();

    OtherDesk other;
    other.commit("UPDATE fjsor SET s_munkahely = 'masik' WHERE s_munkahely = 'asztal'");
    QVERIFY_THROWS_EXCEPTION(vardelo::ERowChanged, vardelo::checkRowUnchanged(Data->IBTrans1, unsaved));
    Data->IBTrans1->Rollback();
}

QTEST_GUILESS_MAIN(TestRowChecks)
#include "test_row_checks.moc"
