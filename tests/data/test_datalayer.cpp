// The data layer against a real database file: computed line amounts, keys, transactions, locating, text.
#include "data/connection.h"
#include "data/data_module.h"
#include "data/database_error.h"
#include "data/immediate_write.h"
#include "data/shared_values.h"
#include "data/transaction.h"
#include "support/test_database.h"

#include <QRandomGenerator>
#include <QtTest>
#include <array>
#include <cmath>
#include <vector>

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

// The seven computed amounts of a line as the schema's rules give them: S_LEVONAS, S_NETTO, S_FELVAR,
// S_KOMPFELAR, S_VETELAR, S_LEVONT, S_KIFIZET.
using LineAmounts = std::array<vardelo::Decimal, 7>;

LineAmounts lineAmounts(const QString& brutto, const QString& levonszaz, const QString& ear,
                        const QString& komp, const QString& szja) {
    using vardelo::Decimal;
    using vardelo::Rounding;
    auto d = [](const QString& text) { return *Decimal::parse(text); };
    auto percentOf = [](const Decimal& amount, const Decimal& percent, int places) {
        return (amount * percent).shiftedRight(2).rounded(places, Rounding::HalfAwayFromZero);
    };
    const Decimal levonas = percentOf(d(brutto), d(levonszaz), 4);
    const Decimal netto = d(brutto) - levonas;
    const Decimal felvar = (netto * d(ear)).rounded(2, Rounding::HalfAwayFromZero);
    const Decimal kompfelar = percentOf(felvar, d(komp), 2);
    const Decimal vetelar = felvar + kompfelar;
    const Decimal levont = percentOf(vetelar, d(szja), 2);
    return {levonas, netto, felvar, kompfelar, vetelar, levont, vetelar - levont};
}

LineAmounts storedAmounts(TDataSet& lines) {
    LineAmounts amounts;
    const char* names[] = {"S_LEVONAS", "S_NETTO",  "S_FELVAR", "S_KOMPFELAR",
                           "S_VETELAR", "S_LEVONT", "S_KIFIZET"};
    for (size_t i = 0; i < amounts.size(); ++i) {
        const QVariant value = lines.FieldByName(names[i]).Value();
        // Exact decimals, not doubles that happen to print right.
        amounts[i] = value.typeId() == qMetaTypeId<vardelo::Decimal>() ? value.value<vardelo::Decimal>()
                                                                       : vardelo::Decimal::invalid();
    }
    return amounts;
}

} // namespace

namespace QTest {
template <> inline char* toString<LineAmounts>(const LineAmounts& amounts) {
    QStringList texts;
    for (const auto& a : amounts)
        texts << a.plainText(u'.');
    return qstrdup(qPrintable(texts.join(QStringLiteral(" | "))));
}
} // namespace QTest

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

    // A date that is no date (what a null date field reads as) binds NULL; one beyond what the engine keeps
    // is refused with a message, before any day number is computed from it.
    void datesBoundAsParameters() {
        TestDatabase db;
        vardelo::execQuery(Data->ZQ20,
                           {"INSERT INTO fjfej (f_bszam, f_kelt, f_fizkelt) VALUES ('1', :p1, :p2)"},
                           {{"p1", QDate()}, {"p2", QDate(9999, 12, 31)}});
        openQuery(Data->ZQ20, "SELECT f_kelt, f_fizkelt FROM fjfej");
        QVERIFY(Data->ZQ20->FieldByName("F_KELT").IsNull());
        QCOMPARE(Data->ZQ20->FieldByName("F_FIZKELT").AsDate(), QDate(9999, 12, 31));
        // What was read binds back as it was.
        vardelo::execQuery(Data->ZQ21, {"UPDATE fjfej SET f_felvkelt = :p1"},
                           {{"p1", Data->ZQ20->FieldByName("F_KELT").AsDate()}});
        openQuery(Data->ZQ20, "SELECT COUNT(*) FROM fjfej WHERE f_felvkelt IS NULL");
        QCOMPARE(Data->ZQ20->Fields(0).AsInteger(), 1);
        vardelo::execQuery(Data->ZQ21, {"UPDATE fjfej SET f_felvkelt = :p1"}, {{"p1", QDateTime()}});

        for (const QVariant& beyond : {QVariant(QDate(10000, 1, 1)), QVariant(QDate(-1, 12, 31)),
                                       QVariant(QDateTime(QDate(12345, 6, 7), QTime(8, 0)))}) {
            try {
                vardelo::execQuery(Data->ZQ21, {"UPDATE fjfej SET f_kelt = :p1"}, {{"p1", beyond}});
                QFAIL("stored");
            } catch (const EDatabaseError& error) {
                QVERIFY2(error.Message().contains("nem tárolható: az évszám 1 és 9999 között lehet"),
                         qPrintable(error.Message()));
            }
        }
    }

    // Decimals are bound exactly (as scaled integers) and read back as they were stored.
    void decimalsBoundExactly() {
        TestDatabase db;
        const auto d = [](const char* text) { return QVariant::fromValue(*vardelo::Decimal::parse(text)); };
        vardelo::execQuery(
            Data->ZQ20,
            {"INSERT INTO fjfej (f_bszam, f_levonas, f_jarulszaz, f_szja) VALUES ('1', :p1, :p2, :p3)"},
            {{"p1", d("99999999.9999")}, {"p2", d("2.5")}, {"p3", d("15")}});
        openQuery(Data->ZQ20, "SELECT f_levonas, f_jarulszaz, f_szja FROM fjfej");
        QCOMPARE(Data->ZQ20->FieldByName("F_LEVONAS").AsDecimal(), *vardelo::Decimal::parse("99999999.9999"));
        QCOMPARE(Data->ZQ20->FieldByName("F_LEVONAS").AsString(), QString("99999999,9999"));
        QCOMPARE(Data->ZQ20->FieldByName("F_JARULSZAZ").AsDecimal(), *vardelo::Decimal::parse("2.5"));
        QCOMPARE(Data->ZQ20->FieldByName("F_SZJA").AsLargeInt(), qint64(15));
        // More digits than 64 bits hold are refused with a message, not cut.
        QVERIFY_THROWS_EXCEPTION(EDatabaseError,
                                 vardelo::execQuery(Data->ZQ21, {"UPDATE fjfej SET f_levonas = :p1"},
                                                    {{"p1", d("12345678901234567890.5")}}));
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

    // Every amount of a line at the edges of what the checks allow reads back exact, as the rules of the
    // schema compute it by hand (half away from zero, once, from the exact product); a row beyond them is
    // refused by the database itself, so no program or tool can store a line that locks the table.
    void extremeLinesReadBack_data() {
        QTest::addColumn<QString>("brutto");
        QTest::addColumn<QString>("levonszaz");
        QTest::addColumn<QString>("ear");
        QTest::addColumn<QString>("komp");
        QTest::addColumn<QString>("szja");
        QTest::newRow("largest") << "999999"
                                 << "0"
                                 << "999999"
                                 << "100"
                                 << "100";
        QTest::newRow("largest, all deducted") << "999999"
                                               << "100"
                                               << "999999"
                                               << "100"
                                               << "100";
        QTest::newRow("most negative") << "-999999"
                                       << "0"
                                       << "999999"
                                       << "100"
                                       << "100";
        QTest::newRow("finest fractions") << "999998.9999"
                                          << "0.0001"
                                          << "999998.9999"
                                          << "99.9999"
                                          << "99.9999";
        QTest::newRow("negative finest fractions") << "-999998.9999"
                                                   << "0.0001"
                                                   << "999998.9999"
                                                   << "99.9999"
                                                   << "99.9999";
        QTest::newRow("smallest") << "0.0001"
                                  << "0.0001"
                                  << "0.0001"
                                  << "0"
                                  << "0";
        QTest::newRow("half a fillér") << "0.5"
                                       << "0"
                                       << "0.01"
                                       << "0"
                                       << "0";
        QTest::newRow("minus half a fillér") << "-0.5"
                                             << "0"
                                             << "0.01"
                                             << "0"
                                             << "0";
        QTest::newRow("surcharge on a half") << "1"
                                             << "0"
                                             << "0.5"
                                             << "1"
                                             << "0";
        QTest::newRow("tax on a half") << "1"
                                       << "0"
                                       << "0.05"
                                       << "10"
                                       << "10";
    }
    void extremeLinesReadBack() {
        QFETCH(QString, brutto);
        QFETCH(QString, levonszaz);
        QFETCH(QString, ear);
        QFETCH(QString, komp);
        QFETCH(QString, szja);
        TestDatabase db;
        vardelo::execQuery(
            Data->ZQ20,
            {"INSERT INTO fjsor (s_bszam, s_brutto, s_levonszaz, s_ear, s_kompmerteke, s_szja)",
             "  VALUES ('10000001', :p1, :p2, :p3, :p4, :p5)"},
            {{"p1", brutto}, {"p2", levonszaz}, {"p3", ear}, {"p4", komp}, {"p5", szja}});
        Data->IBTrans1->Commit();
        openQuery(Data->ZQ20, "SELECT * FROM fjsor");
        QCOMPARE(Data->ZQ20->RecordCount(), 1);
        const LineAmounts expected = lineAmounts(brutto, levonszaz, ear, komp, szja);
        QCOMPARE(storedAmounts(*Data->ZQ20), expected);
        // The whole table reads, as the browsers read it.
        Data->IBTable2->Open();
        QCOMPARE(Data->IBTable2->RecordCount(), 1);
    }

    // Random lines across the whole range agree with the rules to the fillér: the columns never pass through
    // binary floating point, and no step of them leaves the 64-bit arithmetic.
    void randomLinesExact() {
        TestDatabase db;
        QRandomGenerator random(20240611);
        auto fourPlaces = [&random](qint64 lowest, qint64 highest) {
            const qint64 units = random.bounded(lowest * 10000, highest * 10000 + 1);
            return vardelo::Decimal::fromUnits(units, 4).plainText(u'.');
        };
        struct Inputs {
            QString brutto, levonszaz, ear, komp, szja;
        };
        std::vector<Inputs> lines;
        for (int i = 0; i < 2000; ++i) {
            const bool wide = i % 4 == 0;
            lines.push_back({wide ? fourPlaces(-999999, 999999) : fourPlaces(-50, 5000),
                             i % 3 == 0 ? fourPlaces(0, 100) : QString::number(random.bounded(0, 31)),
                             wide ? fourPlaces(-999999, 999999) : fourPlaces(-10, 3000),
                             i % 2 == 0 ? fourPlaces(0, 100) : QStringLiteral("7"),
                             i % 5 == 0 ? fourPlaces(0, 100) : QStringLiteral("0")});
        }
        Data->IBTrans1->StartTransaction();
        for (const Inputs& l : lines)
            vardelo::execQuery(
                Data->ZQ20,
                {"INSERT INTO fjsor (s_bszam, s_brutto, s_levonszaz, s_ear, s_kompmerteke, s_szja)",
                 "  VALUES ('10000001', :p1, :p2, :p3, :p4, :p5)"},
                {{"p1", l.brutto}, {"p2", l.levonszaz}, {"p3", l.ear}, {"p4", l.komp}, {"p5", l.szja}});
        Data->IBTrans1->Commit();
        openQuery(Data->ZQ20, "SELECT * FROM fjsor ORDER BY id_fjsor");
        vardelo::Decimal total;
        for (const Inputs& l : lines) {
            const LineAmounts expected = lineAmounts(l.brutto, l.levonszaz, l.ear, l.komp, l.szja);
            QCOMPARE(storedAmounts(*Data->ZQ20), expected);
            total += expected[4];
            Data->ZQ20->Next();
        }
        // The sum the lists and the return take is exact as well.
        openQuery(Data->ZQ21, "SELECT SUM(s_vetelar) AS osszes FROM fjsor");
        QCOMPARE(Data->ZQ21->FieldByName("OSSZES").AsDecimal(), total);
        QCOMPARE(Data->ZQ21->FieldByName("OSSZES").Value().typeId(), qMetaTypeId<vardelo::Decimal>());
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
        QTest::newRow("unit price of a million") << "INSERT INTO fjsor (s_brutto, s_ear) VALUES (1, 1000000)";
        QTest::newRow("unit price below minus a million")
            << "INSERT INTO fjsor (s_brutto, s_ear) VALUES (1, -1000000)";
        QTest::newRow("surcharge over 100")
            << "INSERT INTO fjsor (s_brutto, s_kompmerteke) VALUES (1, 100.0001)";
        QTest::newRow("tax per cent over 100") << "UPDATE fjsor SET s_szja = 101";
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
