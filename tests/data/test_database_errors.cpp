// Database errors in plain Hungarian: the reason a screen shows below its own message, the advice of the
// start-up box, and what the data layer tells about the value that failed.

#include "data/connection.h"
#include "data/data_module.h"
#include "data/database_error.h"
#include "data/query.h"
#include "data/table.h"
#include "data/transaction.h"
#include "support/test_database.h"

#include <QFile>
#include <QtTest>
#include <cerrno>
#include <ibase.h>

using vardelo::testing::TestDatabase;

Q_DECLARE_METATYPE(std::vector<long>)

class TestDatabaseErrors : public QObject {
    Q_OBJECT
private slots:
    void startupAdvice_data();
    void startupAdvice();
    void reason_data();
    void reason();
    void tooLongValueNamesItsField();
    void characterOutsideWin1250NamesItsField();
    void engineMessageDecodedAsWin1250();
    void fileThatIsNotADatabase();
};

// The advice is chosen by the engine's codes, the system's error number and the file the engine names; the
// message text (English, and another language on another engine) plays no part: every row's is the same.
void TestDatabaseErrors::startupAdvice_data() {
    QTest::addColumn<std::vector<long>>("codes");
    QTest::addColumn<int>("systemError");
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("advice"); // a part of the advice

    QTest::newRow("another copy holds the file")
        << std::vector<long>{isc_io_error, isc_random} << 0
        << QStringList{"lock", "/home/kati/du2010.fdb", "Database already opened with engine instance"}
        << QStringLiteral("Zárja be a másik példányt");
    QTest::newRow("read-only database") << std::vector<long>{isc_no_priv} << 0 << QStringList{"du2010.fdb"}
                                        << QStringLiteral("Másolja a fájlt egy írható mappába");
    QTest::newRow("file of another user") << std::vector<long>{isc_io_error, isc_io_open_err} << EACCES
                                          << QStringList{"open", "/home/kati/du2010.fdb"}
                                          << QStringLiteral("nem írható (nincs hozzá jogosultsága");
    QTest::newRow("lock folder of another user")
        << std::vector<long>{isc_sys_request} << EACCES << QStringList{"access", "/tmp/firebird/"}
        << QStringLiteral("zárolási mappája (/tmp/firebird) nem használható: nincs hozzá jogosultsága");
    QTest::newRow("a lock file inside it")
        << std::vector<long>{isc_io_error, isc_io_open_err} << EACCES
        << QStringList{"open", "/tmp/firebird/fb_init"} << QStringLiteral("zárolási mappája (/tmp/firebird)");
    QTest::newRow("not a database") << std::vector<long>{isc_bad_db_format} << 0 << QStringList{"du2010.fdb"}
                                    << QStringLiteral("nem a program adatbázisa");
    QTest::newRow("damaged") << std::vector<long>{isc_db_corrupt, isc_page_type_err} << 0 << QStringList()
                             << QStringLiteral("Állítsa vissza a legutóbbi mentésből");
    QTest::newRow("checksum") << std::vector<long>{isc_bad_checksum} << 0 << QStringList()
                              << QStringLiteral("mentésből");
    QTest::newRow("missing file") << std::vector<long>{isc_io_error, isc_io_open_err} << ENOENT
                                  << QStringList{"open", "/home/kati/du2010.fdb"}
                                  << QStringLiteral("nincs a program mappájában");
    QTest::newRow("disk full") << std::vector<long>{isc_io_error, isc_io_write_err} << ENOSPC
                               << QStringList{"write", "/home/kati/du2010.fdb"}
                               << QStringLiteral("betelt a lemez");
    QTest::newRow("server not running")
        << std::vector<long>{isc_network_error} << 0 << QStringList{"srv"} << QStringLiteral("nem érhető el");
    QTest::newRow("anything else") << std::vector<long>{335544999} << 0 << QStringList()
                                   << QStringLiteral("Az adatbázis nem nyitható meg.");
}

void TestDatabaseErrors::startupAdvice() {
    QFETCH(std::vector<long>, codes);
    QFETCH(int, systemError);
    QFETCH(QStringList, arguments);
    QFETCH(QString, advice);
    // The engine's default lock folder, as for a program started without FIREBIRD_LOCK.
    const QByteArray lockFolder = qgetenv("FIREBIRD_LOCK");
    qunsetenv("FIREBIRD_LOCK");
    const EDatabaseError error(QStringLiteral("Permission denied: read-only, not found, in use"),
                               codes.front(), 0, codes, systemError, arguments);
    const QString text = vardelo::startupFailureAdvice(error);
    qputenv("FIREBIRD_LOCK", lockFolder);
    QVERIFY2(text.contains(advice), qPrintable(text));
}

void TestDatabaseErrors::reason_data() {
    QTest::addColumn<QString>("message");
    QTest::addColumn<qlonglong>("code");
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("reason");

    QTest::newRow("the data layer's own, field known")
        << QStringLiteral("A szöveg túl hosszú: 46 karakter, legfeljebb 45 fér el.") << 0LL
        << QStringLiteral("O_NEV")
        << QStringLiteral("A(z) O_NEV mező: A szöveg túl hosszú: 46 karakter, legfeljebb 45 fér el.");
    QTest::newRow("engine truncation")
        << QStringLiteral(
               "arithmetic exception, numeric overflow, or string truncation\n-string right truncation")
        << qlonglong(isc_arith_except) << QString()
        << QStringLiteral("A szám túl nagy, vagy a szöveg túl hosszú ahhoz, hogy a mezőben elférjen.");
    QTest::newRow("lock conflict") << QStringLiteral("lock conflict on no wait transaction")
                                   << qlonglong(isc_lock_conflict) << QString()
                                   << QStringLiteral("Egy másik munkahely éppen ugyanezeket az adatokat "
                                                     "módosítja. Próbálja újra!");
    QTest::newRow("deadlock") << QStringLiteral("deadlock\n-update conflicts with concurrent update")
                              << qlonglong(isc_deadlock) << QString()
                              << QStringLiteral("Egy másik munkahely éppen ugyanezeket az adatokat "
                                                "módosítja. Próbálja újra!");
    QTest::newRow("update conflict") << QStringLiteral("update conflicts with concurrent update")
                                     << qlonglong(isc_update_conflict) << QString()
                                     << QStringLiteral("Egy másik munkahely éppen ugyanezeket az adatokat "
                                                       "módosítja. Próbálja újra!");
    QTest::newRow("unknown code: a plain reason, the engine's words in the details")
        << QStringLiteral("Dynamic SQL Error") << 335544569LL << QString()
        << QStringLiteral("Az adatbázis-kezelő hibát jelzett, a művelet nem történt meg. A hiba leírása a "
                          "részletek között olvasható.");
}

void TestDatabaseErrors::reason() {
    QFETCH(QString, message);
    QFETCH(qlonglong, code);
    QFETCH(QString, field);
    QFETCH(QString, reason);
    EDatabaseError error(message, long(code));
    error.SetFieldName(field);
    QCOMPARE(vardelo::databaseErrorReason(error), reason);
    if (code != 0)
        QVERIFY(vardelo::databaseErrorEngineText(error).contains(QString::number(code)));
}

void TestDatabaseErrors::tooLongValueNamesItsField() {
    TestDatabase db;
    TIBTable* table = Data->IBTable6;
    table->Open();
    table->Insert();
    table->FieldByName(QStringLiteral("V_AKOD")).SetAsString(QStringLiteral("9"));
    table->FieldByName(QStringLiteral("V_NEVE")).SetAsString(QString(46, QLatin1Char('x')));
    try {
        table->Post();
        QFAIL("a name of 46 letters was stored in a column of 45");
    } catch (const EDatabaseError& error) {
        QCOMPARE(error.FieldName(), QStringLiteral("V_NEVE"));
        QCOMPARE(vardelo::databaseErrorReason(error),
                 QStringLiteral("A(z) V_NEVE mező: A szöveg túl hosszú: 46 karakter, legfeljebb 45 fér el."));
    }
    table->Cancel();

    // Trailing blanks that do not fit are dropped, as the engine does; 45 letters fit.
    table->Insert();
    table->FieldByName(QStringLiteral("V_AKOD")).SetAsString(QStringLiteral("9"));
    table->FieldByName(QStringLiteral("V_NEVE"))
        .SetAsString(QString(45, QLatin1Char('y')) + QStringLiteral("   "));
    table->Post();

    // A query names the parameter.
    TZQuery query(QStringLiteral("ZQ99"), Data->ZCon1, Data->IBTrans1);
    query.SQL.Add(QStringLiteral("UPDATE atvevo SET v_utca = :utca WHERE v_akod = :akod"));
    query.ParamByName(QStringLiteral("akod")).SetAsString(QStringLiteral("9"));
    query.ParamByName(QStringLiteral("utca")).SetAsString(QString(50, QLatin1Char('u')));
    try {
        query.ExecSQL();
        QFAIL("a street of 50 letters was stored in a column of 45");
    } catch (const EDatabaseError& error) {
        QCOMPARE(error.FieldName(), QStringLiteral("utca"));
        QVERIFY(vardelo::databaseErrorReason(error).contains(QStringLiteral("legfeljebb 45")));
    }
}

void TestDatabaseErrors::characterOutsideWin1250NamesItsField() {
    TestDatabase db;
    TIBTable* table = Data->IBTable6;
    table->Open();
    table->Insert();
    table->FieldByName(QStringLiteral("V_HELYSEG")).SetAsString(QStringLiteral("Hóember ☃ falva"));
    try {
        table->Post();
        QFAIL("a snowman was stored");
    } catch (const EDatabaseError& error) {
        QCOMPARE(vardelo::databaseErrorReason(error),
                 QStringLiteral("A(z) V_HELYSEG mező: A „☃” karakter nem tárolható az adatbázisban."));
    }
    table->Cancel();
}

void TestDatabaseErrors::engineMessageDecodedAsWin1250() {
    TestDatabase db;
    db.exec(QStringLiteral("CREATE TABLE proba (nev VARCHAR(20) NOT NULL PRIMARY KEY)"));
    db.exec(QStringLiteral("INSERT INTO proba (nev) VALUES ('árvíztűrő')"));
    try {
        db.exec(QStringLiteral("INSERT INTO proba (nev) VALUES ('árvíztűrő')"));
        QFAIL("a duplicate key was stored");
    } catch (const EDatabaseError& error) {
        QVERIFY2(error.Message().contains(QStringLiteral("árvíztűrő")), qPrintable(error.Message()));
        QVERIFY(error.HasCode(isc_unique_key_violation));
        QCOMPARE(vardelo::databaseErrorReason(error),
                 QStringLiteral("Ilyen azonosítójú adat már van az adatbázisban."));
    }
    Data->IBTrans1->Rollback();
}

void TestDatabaseErrors::fileThatIsNotADatabase() {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("du2010.fdb"));
    {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(QByteArray(64 * 1024, 'x'));
    }
    TConnection connection(QStringLiteral("ZCon1"));
    connection.DatabaseName = path;
    connection.User = QStringLiteral("SYSDBA");
    connection.CharacterSet = QStringLiteral("WIN1250");
    try {
        connection.Connect();
        QFAIL("a file of x letters opened as a database");
    } catch (const EDatabaseError& error) {
        QVERIFY2(vardelo::startupFailureAdvice(error).contains(QStringLiteral("nem a program adatbázisa")),
                 qPrintable(error.Message()));
    }
}

QTEST_MAIN(TestDatabaseErrors)
#include "test_database_errors.moc"
