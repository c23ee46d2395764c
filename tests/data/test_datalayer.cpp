// The data layer against a real database file: computed line amounts, keys, transactions, locating, text.
#include "data/connection.h"
#include "data/data_module.h"
#include "data/database_error.h"
#include "data/immediate_write.h"
#include "data/shared_values.h"
#include "data/transaction.h"
#include "support/test_database.h"

#include <QtTest>
#include <cmath>

using vardelo::testing::TestDatabase;

namespace {

void insertLine(const QString& bszam, double brutto, double levonszaz, double ear, double komp) {
    vardelo::execQuery(Data->ZQ20,
                       {"INSERT INTO fjsor (s_bszam, s_brutto, s_levonszaz, s_ear, s_kompmerteke)",
                        "  VALUES (:p1, :p2, :p3, :p4, :p5)"},
                       {{"p1", bszam}, {"p2", brutto}, {"p3", levonszaz}, {"p4", ear}, {"p5", komp}});
}

void openQuery(TZQuery* q, const QString& sql) {
    vardelo::openQuery(q, {sql});
}

void insertProducer(const QString& kod, const QString& nev) {
    vardelo::execQuery(Data->ZQ31, {"INSERT INTO ostermelo (o_kod, o_nev) VALUES (:p1, :p2)"},
                       {{"p1", kod}, {"p2", nev}});
}

} // namespace

class TestDataLayer : public QObject {
    Q_OBJECT
private slots:
    void computedLineAmounts_data() {
        QTest::addColumn<double>("brutto");
        QTest::addColumn<double>("levonszaz");
        QTest::addColumn<double>("ear");
        QTest::addColumn<double>("komp");
        QTest::addColumn<double>("levonas");
        QTest::addColumn<double>("netto");
        QTest::addColumn<double>("felvar");
        QTest::addColumn<double>("kompfelar");
        QTest::addColumn<double>("vetelar");
        QTest::newRow("whole") << 1000.0 << 12.0 << 310.0 << 7.0 << 120.0 << 880.0 << 272800.0 << 19096.0
                               << 291896.0;
        QTest::newRow("fractions") << 123.5 << 12.0 << 395.5 << 7.0 << 14.82 << 108.68 << 42982.94 << 3008.81
                                   << 45991.75;
        QTest::newRow("no deduction")
            << 87.25 << 0.0 << 420.0 << 12.0 << 0.0 << 87.25 << 36645.0 << 4397.4 << 41042.4;
        QTest::newRow("fraction per cent")
            << 10.0 << 33.3333 << 1.5 << 7.0 << 3.3333 << 6.6667 << 10.0 << 0.7 << 10.7;
        QTest::newRow("negative gross")
            << -50.0 << 12.0 << 310.0 << 7.0 << -6.0 << -44.0 << -13640.0 << -954.8 << -14594.8;
    }
    void computedLineAmounts() {
        QFETCH(double, brutto);
        QFETCH(double, levonszaz);
        QFETCH(double, ear);
        QFETCH(double, komp);
        QFETCH(double, levonas);
        QFETCH(double, netto);
        QFETCH(double, felvar);
        QFETCH(double, kompfelar);
        QFETCH(double, vetelar);
        TestDatabase db;
        insertLine("10000001", brutto, levonszaz, ear, komp);
        openQuery(Data->ZQ20, "SELECT * FROM fjsor");
        QCOMPARE(Data->ZQ20->RecordCount(), 1);
        auto value = [](const char* name) { return Data->ZQ20->FieldByName(name).AsFloat(); };
        QCOMPARE(value("S_LEVONAS"), levonas);
        QCOMPARE(value("S_NETTO"), netto);
        QCOMPARE(value("S_NETTO"), value("S_BRUTTO") - value("S_LEVONAS"));
        QVERIFY(std::fabs(value("S_FELVAR") - felvar) < 1e-9);
        QVERIFY(std::fabs(value("S_KOMPFELAR") - kompfelar) < 1e-9);
        QVERIFY(std::fabs(value("S_VETELAR") - vetelar) < 1e-9);
        QVERIFY(std::fabs(value("S_VETELAR") - (value("S_FELVAR") + value("S_KOMPFELAR"))) < 1e-9);
    }

    void taxWithheldColumns() {
        TestDatabase db;
        insertLine("10000001", 100, 0, 100, 0);
        db.exec("UPDATE fjsor SET s_szja = 15");
        openQuery(Data->ZQ20, "SELECT s_vetelar, s_levont, s_kifizet FROM fjsor");
        QCOMPARE(Data->ZQ20->FieldByName("S_LEVONT").AsFloat(), 1500.0);
        QCOMPARE(Data->ZQ20->FieldByName("S_KIFIZET").AsFloat(), 8500.0);
    }

    void insertsWithoutIdGetNewUniqueIds() {
        TestDatabase db(true);
        for (int i = 0; i < 3; ++i)
            insertLine("10000001", 1, 0, 1, 0);
        insertProducer("90", "Új Ember");
        insertProducer("91", "Másik Ember");
        openQuery(Data->ZQ20, "SELECT COUNT(DISTINCT id_fjsor) AS n, COUNT(*) AS c FROM fjsor");
        QCOMPARE(Data->ZQ20->FieldByName("n").AsInteger(), 3);
        QCOMPARE(Data->ZQ20->FieldByName("c").AsInteger(), 3);
        openQuery(Data->ZQ30,
                  "SELECT COUNT(DISTINCT id_ostermelo) AS n, COUNT(*) AS c, MIN(id_ostermelo) AS m "
                  "FROM ostermelo");
        QCOMPARE(Data->ZQ30->FieldByName("n").AsInteger(), Data->ZQ30->FieldByName("c").AsInteger());
        QVERIFY(Data->ZQ30->FieldByName("m").AsInteger() > 0);
    }

    void uncommittedWriteVisibleInsideTransaction() {
        TestDatabase db(true);
        Data->IBTrans1->StartTransaction();
        insertProducer("77", "Pending Péter");
        openQuery(Data->ZQ30, "SELECT * FROM ostermelo WHERE o_kod = '77'");
        QCOMPARE(Data->ZQ30->FieldByName("O_NEV").AsString(), QString("Pending Péter"));
        Data->IBTrans1->Rollback();
        openQuery(Data->ZQ30, "SELECT * FROM ostermelo WHERE o_kod = '77'");
        QVERIFY(Data->ZQ30->IsEmpty());
    }

    void hardCommitClosesDatasetsRetainingKeepsThem() {
        TestDatabase db(true);
        openQuery(Data->ZQ30, "SELECT * FROM ostermelo ORDER BY o_kod");
        Data->ZQ30->Next();
        Data->IBTrans1->CommitRetaining();
        QVERIFY(Data->ZQ30->Active());
        QCOMPARE(Data->ZQ30->RecNo(), 2);
        Data->IBTrans1->Commit();
        QVERIFY(!Data->ZQ30->Active());
        QVERIFY(!Data->IBTrans1->Active());
        Data->ZQ30->Open(); // starts the transaction again
        QVERIFY(Data->IBTrans1->Active());
        QCOMPARE(Data->ZQ30->RecNo(), 1);
    }

    // The selected purchaser's row is back, on the purchaser, after every hard commit and rollback; the other
    // table components that were open come back on their rows, and closed ones stay closed.
    void tablesReopenedAfterTheTransactionEnds_data() {
        QTest::addColumn<bool>("commit");
        QTest::newRow("commit") << true;
        QTest::newRow("rollback") << false;
    }
    void tablesReopenedAfterTheTransactionEnds() {
        QFETCH(bool, commit);
        TestDatabase db(true);
        Data->IBTable6->Open();
        QVERIFY(Data->IBTable6->Locate("V_AKOD", "2", 0));
        AktAkod = "2";
        Data->IBTable3->Open();
        Data->IBTable3->Last();
        const QString lastProducer = Data->IBTable3->FieldByName("O_KOD").AsString();
        Data->IBTable1->Close();
        openQuery(Data->ZQ30, "SELECT * FROM ostermelo");
        // Elsewhere the table was moved off the purchaser; the reopened row is the selected purchaser's.
        Data->IBTable6->First();
        if (commit)
            Data->IBTrans1->Commit();
        else
            Data->IBTrans1->Rollback();
        QVERIFY(!Data->ZQ30->Active());
        QVERIFY(Data->IBTable6->Active());
        QCOMPARE(Data->IBTable6->FieldByName("V_AKOD").AsString(), QString("2"));
        QCOMPARE(Data->IBTable6->FieldByName("V_NYILATK").AsString(),
                 QString("A termékek saját gazdaságomból származnak."));
        QVERIFY(Data->IBTable3->Active());
        QCOMPARE(Data->IBTable3->FieldByName("O_KOD").AsString(), lastProducer);
        QVERIFY(!Data->IBTable1->Active());
        // Closing the connection ends the transaction without opening anything again.
        Data->ZCon1->Disconnect();
        QVERIFY(!Data->IBTable6->Active());
        QVERIFY(!Data->IBTrans1->Active());
    }

    // Every amount of a line at the edges of what the line entry accepts can be read back; a row beyond them
    // is refused by the database itself, so no program or tool can store a line that locks the table.
    void extremeLinesReadBack_data() {
        QTest::addColumn<double>("brutto");
        QTest::addColumn<double>("levonszaz");
        QTest::addColumn<double>("ear");
        QTest::addColumn<double>("komp");
        QTest::newRow("largest") << 999999.0 << 100.0 << 999999.0 << 100.0;
        QTest::newRow("largest, no deduction") << 999999.0 << 0.0 << 999999.0 << 100.0;
        QTest::newRow("most negative") << -999999.0 << 100.0 << 999999.0 << 100.0;
        QTest::newRow("finest fractions") << 999998.9999 << 99.9999 << 999998.9999 << 99.9999;
        QTest::newRow("smallest") << 0.0001 << 0.0001 << 0.0001 << 0.0;
    }
    void extremeLinesReadBack() {
        QFETCH(double, brutto);
        QFETCH(double, levonszaz);
        QFETCH(double, ear);
        QFETCH(double, komp);
        TestDatabase db;
        insertLine("10000001", brutto, levonszaz, ear, komp);
        db.exec("UPDATE fjsor SET s_szja = 100");
        Data->IBTrans1->Commit();
        openQuery(Data->ZQ20, "SELECT * FROM fjsor");
        QCOMPARE(Data->ZQ20->RecordCount(), 1);
        auto value = [](const char* name) { return Data->ZQ20->FieldByName(name).AsFloat(); };
        const double levonas = brutto * levonszaz / 100;
        QVERIFY(std::fabs(value("S_LEVONAS") - levonas) < 1e-4);
        QVERIFY(std::fabs(value("S_NETTO") - (brutto - levonas)) < 1e-4);
        const double felvar = value("S_NETTO") * ear;
        QVERIFY(std::fabs(value("S_FELVAR") - felvar) <= 0.005 + std::fabs(felvar) * 1e-12);
        QVERIFY(std::fabs(value("S_KOMPFELAR") - value("S_FELVAR") * komp / 100) <= 0.01);
        QCOMPARE(value("S_VETELAR"), value("S_FELVAR") + value("S_KOMPFELAR"));
        QVERIFY(std::isfinite(value("S_LEVONT")));
        QVERIFY(std::isfinite(value("S_KIFIZET")));
        // The whole table reads, as the browsers read it.
        Data->IBTable2->Open();
        QCOMPARE(Data->IBTable2->RecordCount(), 1);
    }

    void linesBeyondTheLimitsRefused_data() {
        QTest::addColumn<QString>("sql");
        QTest::newRow("eight billion kg")
            << "INSERT INTO fjsor (s_brutto, s_levonszaz) VALUES (8000000000, 12)";
        QTest::newRow("a million kg") << "INSERT INTO fjsor (s_brutto, s_levonszaz) VALUES (1000000, 12)";
        QTest::newRow("below minus a million")
            << "INSERT INTO fjsor (s_brutto, s_levonszaz) VALUES (-1000000, 12)";
        QTest::newRow("per cent over 100") << "INSERT INTO fjsor (s_brutto, s_levonszaz) VALUES (100, 100.5)";
        QTest::newRow("negative per cent") << "INSERT INTO fjsor (s_brutto, s_levonszaz) VALUES (100, -1)";
        QTest::newRow("changed beyond") << "UPDATE fjsor SET s_brutto = 8000000000";
    }
    void linesBeyondTheLimitsRefused() {
        QFETCH(QString, sql);
        TestDatabase db;
        insertLine("10000001", 100, 12, 310, 7);
        Data->IBTrans1->Commit();
        QVERIFY_THROWS_EXCEPTION(EDatabaseError, db.exec(sql));
        Data->IBTrans1->Rollback();
        openQuery(Data->ZQ20, "SELECT * FROM fjsor");
        QCOMPARE(Data->ZQ20->RecordCount(), 1);
        QCOMPARE(Data->ZQ20->FieldByName("S_LEVONAS").AsFloat(), 12.0);
    }

    void pendingWriteSurvivesCloseWithCommitRetaining() {
        TestDatabase db(true);
        insertProducer("55", "Megmaradó Márta");
        // What the main window does on closing: commit-retaining, then disconnect.
        Data->IBTrans1->CommitRetaining();
        Data->ZCon1->Disconnect();
        delete Data;
        Data = new TData;
        Data->ZCon1->Connect();
        openQuery(Data->ZQ30, "SELECT o_nev FROM ostermelo WHERE o_kod = '55'");
        QCOMPARE(Data->ZQ30->FieldByName("O_NEV").AsString(), QString("Megmaradó Márta"));
    }

    void lockedRowFailsAtOnce() {
        TestDatabase db(true);
        TConnection other("other");
        other.Connect();
        TTransaction otherTrans("otherTrans", &other);
        TZQuery otherQuery("otherQuery", &other, &otherTrans);
        otherQuery.SQL.Add("UPDATE ostermelo SET o_nev = 'Zárolt' WHERE o_kod = '1'");
        otherQuery.ExecSQL(); // holds the row, uncommitted
        TZQuery* q = Data->ZQ31;
        q->SQL.Clear();
        q->SQL.Add("UPDATE ostermelo SET o_nev = :p1 WHERE o_kod = '1'");
        q->ParamByName("p1").SetAsString("Másik");
        QVERIFY_THROWS_EXCEPTION(EDatabaseError, q->ExecSQL());
        otherTrans.Rollback();
    }

    void positionRules() {
        TestDatabase db(true);
        openQuery(Data->ZQ30, "SELECT * FROM ostermelo ORDER BY o_kod");
        TZQuery* q = Data->ZQ30;
        QVERIFY(q->Bof());
        QVERIFY(!q->Eof());
        QCOMPARE(q->RecNo(), 1);
        int seen = 0;
        for (q->First(); !q->Eof(); q->Next())
            ++seen;
        QCOMPARE(seen, 5);
        QCOMPARE(q->RecNo(), 5);
        q->Prior();
        QCOMPARE(q->RecNo(), 4);
        q->Last();
        QVERIFY(q->Eof());
        QCOMPARE(q->FieldByName("O_KOD").AsString(), QString("5"));
        openQuery(q, "SELECT * FROM ostermelo WHERE o_kod = 'none'");
        QVERIFY(q->IsEmpty());
        QVERIFY(q->Eof() && q->Bof());
        QCOMPARE(q->RecNo(), 0);
        QCOMPARE(q->FieldByName("O_NEV").AsString(), QString());
        QVERIFY_THROWS_EXCEPTION(EDatabaseError, q->FieldByName("NO_SUCH"));
    }

    void parametersByName() {
        TestDatabase db(true);
        TZQuery* q = Data->ZQ30;
        q->SQL.Clear();
        q->SQL.Add(
            "SELECT * FROM ostermelo WHERE o_kod = :p1 OR o_kod = :P2 OR o_nev = ':p9' OR o_kod = :p1");
        QCOMPARE(q->ParamCount(), 2);
        q->ParamByName("p1").SetAsString("2");
        q->ParamByName("p2").SetAsString("3");
        q->Open();
        QCOMPARE(q->RecordCount(), 2);
        QVERIFY_THROWS_EXCEPTION(EDatabaseError, q->ParamByName("p9"));
        // A date and a number bound as such.
        q->SQL.Clear();
        q->SQL.Add("SELECT o_kod FROM ostermelo WHERE o_szido = :d AND o_szja = :n");
        q->ParamByName("d").SetAsDate(QDate(1961, 3, 14));
        q->ParamByName("n").SetAsFloat(15);
        q->Open();
        QCOMPARE(q->FieldByName("O_KOD").AsString(), QString("1"));
        QCOMPARE(q->RecordCount(), 1);
        // The helper replaces the text of an open query, binds and reopens it.
        vardelo::openQuery(q, {"SELECT o_kod FROM ostermelo", "  WHERE o_kod = :p1 OR o_kod = :p2"},
                           {{"p1", "4"}, {"p2", "5"}});
        QVERIFY(q->Active());
        QCOMPARE(q->RecordCount(), 2);
        QVERIFY_THROWS_EXCEPTION(EDatabaseError,
                                 vardelo::openQuery(q, {"SELECT 1 FROM rdb$database"}, {{"p1", "1"}}));
    }

    void fieldTexts() {
        TestDatabase db(true);
        openQuery(Data->ZQ40, "SELECT * FROM termek WHERE t_kod = '3'");
        QCOMPARE(Data->ZQ40->FieldByName("T_EAR").AsString(), QString("395,5"));
        QCOMPARE(Data->ZQ40->FieldByName("T_KOMPMERTEKE").AsString(), QString("7"));
        openQuery(Data->ZQ30, "SELECT * FROM ostermelo WHERE o_kod = '1'");
        QCOMPARE(Data->ZQ30->FieldByName("O_SZIDO").AsString(), QString("1961.03.14."));
        QCOMPARE(Data->ZQ30->FieldByName("O_SZIDO").AsDate(), QDate(1961, 3, 14));
    }

    void locate_data() {
        QTest::addColumn<QString>("value");
        QTest::addColumn<int>("options");
        QTest::addColumn<QString>("found");
        const int ci = loCaseInsensitive | loPartialKey;
        QTest::newRow("prefix") << "Ko" << ci << "Kovács János";
        QTest::newRow("lower case prefix") << "ko" << ci << "Kovács János";
        QTest::newRow("upper case accented ő") << "ŐRDÖ" << ci << "Ördögh Ödön";
        QTest::newRow("lower case ű") << "szű" << ci << "Szűcs Ágnes";
        QTest::newRow("upper case Á in word") << "SZŰCS Á" << ci << "Szűcs Ágnes";
        QTest::newRow("exact needs whole value") << "Nagy Éva" << 0 << "Nagy Éva";
        QTest::newRow("case matters without option") << "kovács" << int(loPartialKey) << "";
        QTest::newRow("accent is not folded") << "Kovacs" << ci << "";
        QTest::newRow("no match") << "Zz" << ci << "";
    }
    void locate() {
        QFETCH(QString, value);
        QFETCH(int, options);
        QFETCH(QString, found);
        TestDatabase db(true);
        insertProducer("6", "Őrdögh Ödön"); // ő as a first letter, to tell Ő from Ö
        db.exec("UPDATE ostermelo SET o_nev = 'Ördögh Ödön' WHERE o_kod = '6'");
        db.exec("UPDATE ostermelo SET o_nev = 'Őrdögh Ödön' WHERE o_kod = '3'");
        openQuery(Data->ZQ30, "SELECT * FROM ostermelo ORDER BY o_kod");
        Data->ZQ30->Next();
        Data->ZQ30->Next();
        const QString before = Data->ZQ30->FieldByName("O_NEV").AsString();
        const bool located = Data->ZQ30->Locate("O_NEV", value, options);
        QCOMPARE(located, !found.isEmpty());
        const QString now = Data->ZQ30->FieldByName("O_NEV").AsString();
        if (found.isEmpty())
            QCOMPARE(now, before);
        else if (found == "Ördögh Ödön")
            QCOMPARE(now, QString("Őrdögh Ödön"));
        else
            QCOMPARE(now, found);
    }

    void hungarianTextRoundTrips() {
        TestDatabase db;
        insertProducer("8", "Őrség Ügyintéző Ű");
        openQuery(Data->ZQ30, "SELECT o_nev FROM ostermelo WHERE o_kod = '8'");
        QCOMPARE(Data->ZQ30->FieldByName("O_NEV").AsString(), QString("Őrség Ügyintéző Ű"));
    }

    void characterOutsideWin1250FailsAndStoresNothing() {
        TestDatabase db;
        try {
            insertProducer("9", QString::fromUtf8("Kovács 漢"));
            QFAIL("the write went through");
        } catch (const EDatabaseError& e) {
            QVERIFY(e.Message().contains(QString::fromUtf8("漢")));
        }
        openQuery(Data->ZQ30, "SELECT * FROM ostermelo WHERE o_kod = '9'");
        QVERIFY(Data->ZQ30->IsEmpty());
    }

    void valueTooLongIsRefused() {
        TestDatabase db;
        QVERIFY_THROWS_EXCEPTION(EDatabaseError, insertProducer("123456", "Túl hosszú kód"));
    }

    void editableTablePostsAndReadOnlyTablesRefuse() {
        TestDatabase db(true);
        Data->IBTable6->Open();
        QCOMPARE(Data->IBTable6->RecordCount(), 2);
        Data->IBTable6->Last();
        Data->IBTable6->Edit();
        Data->IBTable6->FieldByName("V_NEVE").SetAsString("Átírt Név Kft.");
        QCOMPARE(Data->IBTable6->FieldByName("V_NEVE").AsString(), QString("Átírt Név Kft."));
        Data->IBTable6->Post();
        QCOMPARE(Data->IBTable6->State(), TDataSetState::Browse);
        QCOMPARE(Data->IBTable6->FieldByName("V_NEVE").AsString(), QString("Átírt Név Kft."));
        Data->IBTable6->Close();
        Data->IBTable6->Open();
        Data->IBTable6->Last();
        QCOMPARE(Data->IBTable6->FieldByName("V_NEVE").AsString(), QString("Átírt Név Kft."));
        // A value too long for its column: the post fails and the row stays in edit.
        Data->IBTable6->Edit();
        Data->IBTable6->FieldByName("V_AKOD").SetAsString("TOOLONG");
        QVERIFY_THROWS_EXCEPTION(EDatabaseError, Data->IBTable6->Post());
        QCOMPARE(Data->IBTable6->State(), TDataSetState::Edit);
        Data->IBTable6->Cancel();

        Data->IBTable3->Open();
        QVERIFY_THROWS_EXCEPTION(EDatabaseError, Data->IBTable3->Edit());
        Data->IBTable2->Open();
        QVERIFY(Data->IBTable2->IsEmpty());
    }

    void tableInsertAndDelete() {
        TestDatabase db(true);
        Data->IBTable4->ReadOnly = false;
        Data->IBTable4->Open();
        const int before = Data->IBTable4->RecordCount();
        Data->IBTable4->Insert();
        Data->IBTable4->FieldByName("T_KOD").SetAsString("99");
        Data->IBTable4->FieldByName("T_MEGNEVEZES").SetAsString("Próba");
        Data->IBTable4->Post();
        QCOMPARE(Data->IBTable4->RecordCount(), before + 1);
        QCOMPARE(Data->IBTable4->FieldByName("T_KOD").AsString(), QString("99"));
        QVERIFY(Data->IBTable4->FieldByName("ID_TERMEK").AsInteger() > 0);
        Data->IBTable4->Delete();
        QCOMPARE(Data->IBTable4->RecordCount(), before);
        // Inserting while the cursor has read only the first row lists the new row once.
        Data->IBTable4->Close();
        Data->IBTable4->Open();
        QVERIFY(!Data->IBTable4->AllFetched());
        Data->IBTable4->Insert();
        Data->IBTable4->FieldByName("T_KOD").SetAsString("98");
        Data->IBTable4->Post();
        QCOMPARE(Data->IBTable4->FieldByName("T_KOD").AsString(), QString("98"));
        QCOMPARE(Data->IBTable4->RecordCount(), before + 1);
        Data->IBTable2->ReadOnly = false;
        Data->IBTable2->Open();
        Data->IBTable2->Insert();
        QVERIFY_THROWS_EXCEPTION(EDatabaseError, Data->IBTable2->FieldByName("S_NETTO").SetAsFloat(1));
        Data->IBTable2->Cancel();
    }

    void moduleChecksAndNameSplit_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("family");
        QTest::addColumn<QString>("given");
        QTest::newRow("two parts") << "Kovács János"
                                   << "Kovács "
                                   << "János";
        QTest::newRow("three parts") << "Nagy Kovács Anna"
                                     << "Nagy Kovács "
                                     << "Anna";
        QTest::newRow("one part") << "Madonna"
                                  << " "
                                  << "Madonna";
        QTest::newRow("empty") << ""
                               << " "
                               << "";
    }
    void moduleChecksAndNameSplit() {
        QFETCH(QString, name);
        QFETCH(QString, family);
        QFETCH(QString, given);
        TData data;
        CsaladiNev = "old";
        UtoNev = "old";
        data.ujnev(name);
        QCOMPARE(CsaladiNev, family);
        QCOMPARE(UtoNev, given);
        QVERIFY(data.AdoazonEllenorzes("8123456786"));
        QVERIFY(!data.AdoazonEllenorzes("812345678x"));
        QVERIFY(data.AdoszamEllenorzes("12345676142"));
        QVERIFY(data.TAJEllenorzes("111111110"));
        QVERIFY(!data.TAJEllenorzes("11111111O"));
    }

    void immediateWriteSurvivesALaterRollback() {
        TestDatabase db(true);
        openQuery(Data->ZQ30, "SELECT * FROM ostermelo ORDER BY o_kod");
        Data->ZQ30->Next();
        vardelo::executeAndCommit(Data->ZQ31, {"DELETE FROM ostermelo", "  WHERE o_kod = :p1"},
                                  {{"p1", "5"}});
        QVERIFY(Data->ZQ30->Active()); // the lists of the windows stay open
        QCOMPARE(Data->ZQ30->RecNo(), 2);
        insertProducer("60", "Később Visszavont");
        Data->IBTrans1->Rollback();
        openQuery(Data->ZQ30, "SELECT o_kod FROM ostermelo WHERE o_kod IN ('5', '60')");
        QVERIFY(Data->ZQ30->IsEmpty());
        // A failed write raises and undoes itself alone: what another window left pending stays pending, and
        // the lists stay open.
        insertProducer("61", "Függő Ferenc");
        openQuery(Data->ZQ30, "SELECT o_kod FROM ostermelo ORDER BY o_kod");
        QVERIFY_THROWS_EXCEPTION(EDatabaseError,
                                 vardelo::executeAndCommit(Data->ZQ31, {"UPDATE ostermelo SET o_kod = :p1"},
                                                           {{"p1", "TOOLONGCODE"}}));
        QVERIFY(Data->ZQ30->Active());
        QVERIFY(Data->IBTrans1->Active());
        openQuery(Data->ZQ31, "SELECT COUNT(*) FROM ostermelo WHERE o_kod = '61'");
        QCOMPARE(Data->ZQ31->Fields(0).AsInteger(), 1);
        openQuery(Data->ZQ31, "SELECT COUNT(*) FROM ostermelo WHERE o_kod = 'TOOLONGCODE'");
        QCOMPARE(Data->ZQ31->Fields(0).AsInteger(), 0);
        // A write that succeeds next commits it with itself.
        vardelo::executeAndCommit(Data->ZQ31, {"UPDATE ostermelo SET o_nev = 'Kész' WHERE o_kod = '61'"}, {});
        Data->IBTrans1->Rollback();
        openQuery(Data->ZQ30, "SELECT o_nev FROM ostermelo WHERE o_kod = '61'");
        QCOMPARE(Data->ZQ30->Fields(0).AsString(), QString("Kész"));
    }

    void openingFetchesOnlyWhatIsNeeded() {
        TestDatabase db;
        for (int i = 0; i < 300; ++i)
            insertLine("10000001", i, 0, 1, 0);
        Data->IBTable2->Open();
        QVERIFY(Data->IBTable2->FetchedCount() <= 1);
        QVERIFY(!Data->IBTable2->AllFetched());
        QCOMPARE(Data->IBTable2->RecordCount(), 300);
        QVERIFY(Data->IBTable2->AllFetched());
    }
};

QTEST_GUILESS_MAIN(TestDataLayer)
#include "test_datalayer.moc"
