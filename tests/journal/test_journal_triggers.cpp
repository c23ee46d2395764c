// The journal as the database writes it: every insert, change and delete of the six tables, whoever makes it,
// in the writer's transaction, with the attachment that made it; nothing can change it afterwards.

#include "data/connection.h"
#include "data/data_module.h"
#include "data/database_error.h"
#include "data/immediate_write.h"
#include "data/transaction.h"
#include "journal/journal_rules.h"
#include "support/isql.h"
#include "support/test_database.h"

#include <QCoreApplication>
#include <QRegularExpression>
#include <QSysInfo>
#include <QtTest>

using namespace vardelo;
using namespace vardelo::journal;
using vardelo::testing::TestDatabase;

namespace {

// Every row of a statement through the program's transaction, each value as text ("<null>" for null).
QList<QStringList> rows(const QString& sql) {
    TZQuery q(QStringLiteral("check"), Data->ZCon1, Data->IBTrans1);
    openQuery(&q, {sql});
    QList<QStringList> result;
    for (q.First(); !q.IsEmpty() && !q.Eof(); q.Next()) {
        QStringList row;
        for (int c = 0; c < q.FieldCount(); ++c)
            row << (q.Fields(c).IsNull() ? QStringLiteral("<null>") : q.Fields(c).Value().toString());
        result << row;
    }
    return result;
}

QString single(const QString& sql) {
    return rows(sql).value(0).value(0);
}

const QString entryColumns = QStringLiteral(
    "SELECT N_TABLA, N_MUVELET, N_SOR, COALESCE(N_AKOD, '-'), COALESCE(N_KULCS, '-'), "
    "COALESCE(N_VALTOZAS, CAST(N_VALTOZAS_HOSSZU AS VARCHAR(16000)), ''), N_KAPCSOLAT FROM NAPLO ");

// The entries written after the given entry number, oldest first: table, kind, row, purchaser, key, text,
// attachment.
QList<QStringList> entriesAfter(int id) {
    return rows(entryColumns + QStringLiteral("WHERE ID_NAPLO > %1 ORDER BY ID_NAPLO").arg(id));
}

int lastEntry() {
    return single(QStringLiteral("SELECT COALESCE(MAX(ID_NAPLO), 0) FROM NAPLO")).toInt();
}

// Runs a statement that the database refuses; the refusal's text.
QString refusal(TestDatabase& db, const QString& sql) {
    try {
        db.exec(sql);
    } catch (const EDatabaseError& e) {
        Data->IBTrans1->Rollback();
        return e.Message();
    }
    return QString();
}

} // namespace

class TestJournalTriggers : public QObject {
    Q_OBJECT
private slots:
    // Each kind of write of each table leaves one entry: its table, kind, row, purchaser and key, and the
    // columns it changed with their values before and after (a delete the values it took away).
    void everyWriteLeavesItsEntry_data() {
        QTest::addColumn<QString>("statement");
        QTest::addColumn<QStringList>("entry");
        QTest::newRow("line inserted")
            << "INSERT INTO fjsor (s_bszam, s_brutto, s_ear, s_akod) VALUES ('10000001', 100, 250, '1')"
            << QStringList{"S", "U", "<id>", "1", "10000001", ""};
        QTest::newRow("producer's name changed")
            << "UPDATE ostermelo SET o_nev = 'Kovács Jánosné' WHERE o_kod = '1'"
            << QStringList{"O", "M", "<id>", "-", "1", "O_NEV 12:Kovács János 14:Kovács Jánosné\n"};
        QTest::newRow("animal's price and unit")
            << "UPDATE termek SET t_ear = 320.5, t_megy = 'db' WHERE t_kod = '1'"
            << QStringList{"T", "M", "<id>", "-", "1", "T_EAR 8:310.0000 8:320.5000\nT_MEGY 2:kg 2:db\n"};
        QTest::newRow("purchaser's declaration emptied")
            << "UPDATE atvevo SET v_nyilatk = NULL WHERE v_akod = '2'"
            << QStringList{"V", "M", "<id>",
                           "2", "2", "V_NYILATK 42:A termékek saját gazdaságomból származnak. -\n"};
        QTest::newRow("ticket number taken")
            << "UPDATE sorszam SET a_fjbszam = '20000001' WHERE a_akod = '2'"
            << QStringList{"A", "M", "<id>", "2", "20000001", "A_FJBSZAM 8:20000000 8:20000001\n"};
        QTest::newRow("animal deleted")
            << "DELETE FROM termek WHERE t_kod = '2'"
            << QStringList{"T",
                           "T",
                           "<id>",
                           "-",
                           "2",
                           "T_KOD 1:2 -\nT_MEGNEVEZES 5:Süldő -\nT_VTSZ 10:0103 91 10 -\nT_EAR 8:420.0000 -\n"
                           "T_MEGY 2:kg -\nT_KOMPMERTEKE 1:7 -\n"};
    }
    void everyWriteLeavesItsEntry() {
        QFETCH(QString, statement);
        QFETCH(QStringList, entry);
        TestDatabase db(true);
        const int before = lastEntry();
        db.exec(statement);
        const auto written = entriesAfter(before);
        QCOMPARE(written.size(), 1);
        QStringList got = written[0].mid(0, 6);
        got[2] = QStringLiteral("<id>");
        QCOMPARE(got, entry);
        QVERIFY(written[0][2].toInt() > 0);
    }

    // A ticket's road: its line and header stored, changed, printed, changed again; a print is the printed
    // mark turning to "I", and a change of a printed ticket (its header or a line) dates F_NYMOD.
    void printsAndChangesOfPrintedTickets() {
        TestDatabase db(true);
        const int before = lastEntry();
        db.exec("INSERT INTO fjsor (s_bszam, s_brutto, s_ear, s_akod) VALUES ('10000001', 100, 250, '1')");
        db.exec(
            "INSERT INTO fjfej (f_bszam, f_akod, f_ostermkod, f_megj) VALUES ('10000001', '1', '1', 'a')");
        db.exec("UPDATE fjfej SET f_megj = 'b' WHERE f_bszam = '10000001'");
        QCOMPARE(single("SELECT f_nymod FROM fjfej WHERE f_bszam = '10000001'"), QString("<null>"));
        db.exec("UPDATE fjfej SET f_prn = 'I' WHERE f_bszam = '10000001'");
        QCOMPARE(single("SELECT f_nymod FROM fjfej WHERE f_bszam = '10000001'"), QString("<null>"));
        db.exec("UPDATE fjsor SET s_brutto = 120 WHERE s_bszam = '10000001'");
        QCOMPARE(single("SELECT f_nymod = CURRENT_DATE FROM fjfej WHERE f_bszam = '10000001'"),
                 QString("true"));
        // Printed again after the service key cleared the mark: the date stays, the print is a print.
        db.exec("UPDATE fjfej SET f_prn = ' ', f_megj = 'c' WHERE f_bszam = '10000001'");
        db.exec("UPDATE fjfej SET f_prn = 'I' WHERE f_bszam = '10000001'");
        QCOMPARE(single("SELECT f_nymod = CURRENT_DATE FROM fjfej WHERE f_bszam = '10000001'"),
                 QString("true"));
        QStringList kinds;
        for (const QStringList& entry : entriesAfter(before))
            kinds << entry[0] + entry[1];
        // F_NYMOD itself is never journalled: setting it adds no entry.
        QCOMPARE(kinds, (QStringList{"SU", "FU", "FM", "FN", "SM", "FM", "FN"}));
        const auto written = entriesAfter(before);
        QCOMPARE(written[3][5], QString("F_PRN - 1:I\n"));
        QCOMPARE(written[5][5], QString("F_PRN 1:I 1: \nF_MEGJ 1:b 1:c\n"));
        QCOMPARE(written[6][5], QString("F_PRN 1:  1:I\n"));
    }

    // Written in the writer's transaction: a change rolled back leaves no entry; a change that changes
    // nothing writes none.
    void rolledBackOrUnchangedWritesNothing() {
        TestDatabase db(true);
        const int before = lastEntry();
        TZQuery q(QStringLiteral("write"), Data->ZCon1, Data->IBTrans1);
        execQuery(&q, {QStringLiteral("UPDATE ostermelo SET o_nev = 'Visszavont' WHERE o_kod = '1'")});
        QCOMPARE(entriesAfter(before).size(), 1);
        Data->IBTrans1->Rollback();
        QCOMPARE(entriesAfter(before).size(), 0);
        db.exec("UPDATE ostermelo SET o_nev = o_nev, o_kod = o_kod");
        db.exec("UPDATE sorszam SET a_fjbszam = a_fjbszam");
        QCOMPARE(entriesAfter(before).size(), 0);
    }

    // Values compare byte for byte: a trailing blank or a letter's case is a change. A text too long for the
    // row goes into the blob and reads back whole.
    void blanksCaseAndLongTexts() {
        TestDatabase db(true);
        const int before = lastEntry();
        db.exec("UPDATE ostermelo SET o_nev = 'Kovács János ' WHERE o_kod = '1'");
        db.exec("UPDATE ostermelo SET o_nev = 'kovács jános ' WHERE o_kod = '1'");
        const QString longText = QString(240, u'ő');
        db.exec("UPDATE atvevo SET v_nyilatk = '" + longText + "' WHERE v_akod = '2'");
        const auto written = entriesAfter(before);
        QCOMPARE(written.size(), 3);
        QCOMPARE(written[0][5], QString("O_NEV 12:Kovács János 13:Kovács János \n"));
        QCOMPARE(written[1][5], QString("O_NEV 13:Kovács János  13:kovács jános \n"));
        QCOMPARE(parseChanges(written[2][5]).value(0).after, std::optional(longText));
        QCOMPARE(
            single(QStringLiteral("SELECT N_VALTOZAS IS NULL AND N_VALTOZAS_HOSSZU IS NOT NULL FROM NAPLO "
                                  "WHERE ID_NAPLO = %1")
                       .arg(lastEntry())),
            QString("true"));
        QCOMPARE(single(QStringLiteral("SELECT N_VALTOZAS_HOSSZU IS NULL FROM NAPLO WHERE ID_NAPLO = %1")
                            .arg(lastEntry() - 1)),
                 QString("true"));
    }

    // Nothing changes or deletes the journal, whatever code a window was given.
    void journalCannotBeChanged() {
        TestDatabase db(true);
        const QString refused = QStringLiteral("A napló bejegyzései nem módosíthatók és nem törölhetők.");
        for (const char* sql : {"UPDATE NAPLO SET N_KULCS = 'x'", "DELETE FROM NAPLO",
                                "UPDATE KAPCSOLAT SET K_GEP = 'x'", "DELETE FROM KAPCSOLAT"})
            QVERIFY2(refusal(db, QString::fromLatin1(sql)).contains(refused), sql);
        // The time, the number and the attachment are the database's, whatever an insert gives.
        db.exec("INSERT INTO NAPLO (ID_NAPLO, N_IDO, N_KAPCSOLAT) VALUES (-5, TIMESTAMP '2001-01-01 00:00', "
                "999)");
        const auto given = rows("SELECT ID_NAPLO, N_IDO, N_KAPCSOLAT FROM NAPLO WHERE ID_NAPLO = " +
                                QString::number(lastEntry()));
        QVERIFY(given[0][0].toInt() > 0);
        QVERIFY(!given[0][1].startsWith(QStringLiteral("2001")));
        QVERIFY(given[0][2] != QString("999"));
    }

    // The attachment that wrote an entry, as the engine knows it: the program gives its host, process and
    // user, so the embedded engine knows them too. One row for the attachment, also when its first
    // transaction was rolled back.
    void attachmentIsKnown() {
        TestDatabase db(true);
        const int before = lastEntry();
        TZQuery q(QStringLiteral("write"), Data->ZCon1, Data->IBTrans1);
        execQuery(&q, {QStringLiteral("UPDATE termek SET t_ear = 1 WHERE t_kod = '1'")});
        Data->IBTrans1->Rollback();
        db.exec("UPDATE termek SET t_ear = 2 WHERE t_kod = '1'");
        db.exec("UPDATE termek SET t_ear = 3 WHERE t_kod = '1'");
        const auto written = entriesAfter(before);
        QCOMPARE(written.size(), 2);
        QCOMPARE(written[0][6], written[1][6]);
        const auto attachment =
            rows("SELECT K_FELHASZNALO, K_GEP, K_FOLYAMAT, K_PROGRAM, K_OSFELHASZNALO FROM KAPCSOLAT "
                 "WHERE ID_KAPCSOLAT = " +
                 written[0][6]);
        QCOMPARE(attachment.size(), 1);
        QCOMPARE(attachment[0][0].trimmed(), QString("SYSDBA"));
        QCOMPARE(attachment[0][1], QSysInfo::machineHostName());
        QCOMPARE(attachment[0][2], QString::number(QCoreApplication::applicationPid()));
        QCOMPARE(attachment[0][3], QCoreApplication::applicationFilePath());
        if (!qEnvironmentVariable("USER").isEmpty())
            QCOMPARE(attachment[0][4], qEnvironmentVariable("USER"));
    }

    // A change made with isql-fb is journalled like any other, under isql-fb's own attachment.
    void changeByIsqlIsJournalled() {
        if (!vardelo::testing::isqlAvailable())
            QSKIP("isql-fb is not installed");
        TestDatabase db(true);
        db.exec("UPDATE termek SET t_ear = 2 WHERE t_kod = '1'");
        const int before = lastEntry();
        const QString ours =
            single("SELECT N_KAPCSOLAT FROM NAPLO WHERE ID_NAPLO = " + QString::number(before));
        Data->IBTrans1->Commit();
        Data->ZCon1->Disconnect();
        QString errors;
        QVERIFY2(
            vardelo::testing::runIsql(db.databasePath(),
                                      "UPDATE ostermelo SET o_utca = 'Kossuth tér 1.' WHERE o_kod = '2';\n"
                                      "COMMIT;\n",
                                      &errors),
            qPrintable(errors));
        Data->ZCon1->Connect();
        const auto written = entriesAfter(before);
        QCOMPARE(written.size(), 1);
        QCOMPARE(written[0].mid(0, 2), (QStringList{"O", "M"}));
        QCOMPARE(written[0][5], QString("O_UTCA 22:Kossuth Lajos sgt. 27. 14:Kossuth tér 1.\n"));
        QVERIFY(written[0][6] != ours);
        QCOMPARE(single("SELECT COUNT(*) FROM KAPCSOLAT WHERE ID_KAPCSOLAT = " + written[0][6]),
                 QString("1"));
    }

    // A desk with a user of its own, with rights on the tables it writes and none on the journal, is
    // journalled all the same, under its user (the embedded engine takes the user as given).
    void deskWithItsOwnUserIsJournalled() {
        TestDatabase db(true);
        for (const char* sql : {"GRANT ALL ON fjsor TO KATI", "GRANT ALL ON fjfej TO KATI",
                                "GRANT USAGE ON GENERATOR gen_fjsor_id TO KATI"})
            db.exec(QString::fromLatin1(sql));
        Data->IBTrans1->Commit();
        const int before = lastEntry();
        {
            TConnection desk(QStringLiteral("desk"));
            desk.DatabaseName = db.databasePath();
            desk.User = QStringLiteral("KATI");
            desk.Connect();
            TTransaction transaction(QStringLiteral("deskTrans"), &desk);
            TZQuery q(QStringLiteral("deskQuery"), &desk, &transaction);
            execQuery(&q, {QStringLiteral(
                              "INSERT INTO fjsor (s_bszam, s_brutto, s_akod) VALUES ('10000009', 5, '1')")});
            transaction.Commit();
            desk.Disconnect();
        }
        const auto written = entriesAfter(before);
        QCOMPARE(written.size(), 1);
        QCOMPARE(written[0].mid(0, 2), (QStringList{"S", "U"}));
        QCOMPARE(single("SELECT TRIM(K_FELHASZNALO) FROM KAPCSOLAT WHERE ID_KAPCSOLAT = " + written[0][6]),
                 QString("KATI"));
    }

    // Every stored column of the six tables is journalled by its table's trigger. A column added to a table
    // needs its line in the trigger in db/du2010.sql:  || NAPLO_ERTEK('S_X', OLD.S_X, NEW.S_X)
    void everyStoredColumnIsJournalled() {
        TestDatabase db;
        for (const JournalTable& table : journalTables()) {
            const QString source =
                single(QStringLiteral("SELECT CAST(RDB$TRIGGER_SOURCE AS VARCHAR(32000)) FROM RDB$TRIGGERS "
                                      "WHERE RDB$TRIGGER_NAME = '%1_NAPLO'")
                           .arg(table.name));
            const auto stored =
                rows(QStringLiteral("SELECT TRIM(rf.RDB$FIELD_NAME) FROM RDB$RELATION_FIELDS rf "
                                    "JOIN RDB$FIELDS f ON f.RDB$FIELD_NAME = rf.RDB$FIELD_SOURCE "
                                    "WHERE rf.RDB$RELATION_NAME = '%1' AND f.RDB$COMPUTED_BLR IS NULL")
                         .arg(table.name));
            QVERIFY(stored.size() > 3);
            for (const QStringList& column : stored) {
                const QString name = column[0];
                // F_NYMOD is derived by the triggers. S_MUNKAHELY and S_MUNKAIDO mark a line of a ticket not
                // stored yet with the desk writing it and the time: they change with every write of such a
                // line, and every entry names its desk and time already (N_KAPCSOLAT, N_IDO).
                if (name == QStringLiteral("ID_") + table.name || name == QStringLiteral("F_NYMOD") ||
                    name == QStringLiteral("S_MUNKAHELY") || name == QStringLiteral("S_MUNKAIDO"))
                    continue;
                const QString line = QStringLiteral("NAPLO_ERTEK('%1', OLD.%1, NEW.%1)").arg(name);
                QVERIFY2(source.contains(line),
                         qPrintable(QStringLiteral("%1.%2 is not journalled: add \"|| %3\" to %1_NAPLO in "
                                                   "db/du2010.sql")
                                        .arg(table.name, name, line)));
            }
        }
    }

    // A line of a ticket not stored yet: written without a number under its desk's mark, the desk's working
    // copy. Its insert, its changes and touching its mark write nothing; the store that numbers it is the
    // line's insert under the ticket's number, so the ticket's journal shows it as before. An unsaved line
    // deleted before any store leaves nothing either.
    void unsavedLineIsJournalledWhenStored() {
        TestDatabase db(true);
        const int before = lastEntry();
        db.exec("INSERT INTO fjsor (s_brutto, s_akod, s_munkahely, s_munkaido) "
                "VALUES (100, '1', 'asztal', CURRENT_TIMESTAMP)");
        db.exec("INSERT INTO fjsor (s_brutto, s_akod, s_munkahely, s_munkaido) "
                "VALUES (200, '1', 'asztal', CURRENT_TIMESTAMP)");
        db.exec("UPDATE fjsor SET s_brutto = 150 WHERE s_brutto = 100 AND s_munkahely = 'asztal'");
        db.exec("DELETE FROM fjsor WHERE s_brutto = 200 AND s_munkahely = 'asztal'");
        db.exec("UPDATE fjsor SET s_munkaido = DATEADD(MINUTE, 1, s_munkaido), s_munkahely = 'masik' "
                "WHERE s_munkahely = 'asztal'");
        QCOMPARE(entriesAfter(before).size(), 0);
        db.exec("UPDATE fjsor SET s_bszam = '19999001', s_munkahely = NULL, s_munkaido = NULL "
                "WHERE s_munkahely = 'masik'");
        const auto written = entriesAfter(before);
        QCOMPARE(written.size(), 1);
        QCOMPARE(written[0].mid(0, 2), (QStringList{"S", "U"}));
        QCOMPARE(written[0][4], QString("19999001"));
        QCOMPARE(written[0][5], QString());
        // A stored line's next change is an ordinary change.
        db.exec("UPDATE fjsor SET s_brutto = 101 WHERE s_bszam = '19999001'");
        QCOMPARE(entriesAfter(before).at(1).mid(0, 2), (QStringList{"S", "M"}));
    }

    // A column that a later version adds to a table does not break the journal: writes go on, the journalled
    // columns are recorded, the new one waits for its line in the trigger.
    void newColumnDoesNotBreakTheJournal() {
        TestDatabase db(true);
        db.exec("ALTER TABLE fjsor ADD s_ujoszlop DECIMAL(18,4)");
        Data->IBTrans1->Commit();
        const int before = lastEntry();
        db.exec(
            "INSERT INTO fjsor (s_bszam, s_brutto, s_ujoszlop, s_akod) VALUES ('10000001', 100, 99, '1')");
        db.exec("UPDATE fjsor SET s_ujoszlop = 98, s_brutto = 101 WHERE s_bszam = '10000001'");
        db.exec("UPDATE fjsor SET s_ujoszlop = 97 WHERE s_bszam = '10000001'");
        const auto written = entriesAfter(before);
        QCOMPARE(written.size(), 2);
        QCOMPARE(written[1][5], QString("S_BRUTTO 8:100.0000 8:101.0000\n"));
    }
};

QTEST_MAIN(TestJournalTriggers)
#include "test_journal_triggers.moc"
