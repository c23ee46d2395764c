// An older database opened by the program gets what the program's schema adds: the changes are found by
// comparing the DDL with the database, each is made in a transaction of its own, and the rows stay.

#include "data/connection.h"
#include "data/database_creator.h"
#include "data/decimal.h"
#include "data/firebird_api.h"
#include "data/schema_upgrade.h"

#include <QDir>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

using vardelo::fb::Handle;
using vardelo::fb::Status;

namespace {

QString sourceFile(const QString& relative) {
    return QDir(qEnvironmentVariable("VARDELO_SOURCE_DIR")).filePath(relative);
}

QString readText(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        qFatal("Cannot read %s", qPrintable(path));
    return QString::fromUtf8(file.readAll());
}

// A database made by isql-fb from a DDL text, as an earlier version of the program (or an administrator)
// made it; two ticket lines stand in it: 100 kg less 10 % at 250 Ft with 7 % (24 075 Ft), and 1 kg at 0,29 Ft
// with 50 %, whose price doubles cannot hold (0,29 + 0,15 is 0,4399999999999999 in binary).
bool makeDatabase(const QString& folder, const QString& ddl, QString* errors) {
    const QString ddlPath = QDir(folder).filePath(QStringLiteral("old.sql"));
    QFile ddlFile(ddlPath);
    if (!ddlFile.open(QIODevice::WriteOnly))
        return false;
    ddlFile.write(ddl.toUtf8());
    ddlFile.close();
    const QString script =
        QStringLiteral(
            "CREATE DATABASE '%1' USER 'SYSDBA' PASSWORD 'quillfern' DEFAULT CHARACTER SET WIN1250;\n"
            "INPUT '%2';\nCOMMIT;\n"
            "INSERT INTO fjsor (s_bszam, s_brutto, s_levonszaz, s_ear, s_kompmerteke, s_akod) "
            "VALUES ('10000001', 100, 10, 250, 7, '1');\n"
            "INSERT INTO fjsor (s_bszam, s_brutto, s_levonszaz, s_ear, s_kompmerteke, s_akod) "
            "VALUES ('10000001', 1, 0, 0.29, 50, '1');\nCOMMIT;\n")
            .arg(QDir(folder).filePath(QStringLiteral("du2010.fdb")), ddlPath);
    QProcess isql;
    isql.start(
        QStandardPaths::findExecutable(QStringLiteral("isql-fb")),
        {QStringLiteral("-q"), QStringLiteral("-ch"), QStringLiteral("UTF8"), QStringLiteral("-bail")});
    if (!isql.waitForStarted(30000))
        return false;
    isql.write(script.toUtf8());
    isql.closeWriteChannel();
    isql.waitForFinished(120000);
    *errors = QString::fromUtf8(isql.readAllStandardError()).trimmed();
    return errors->isEmpty() && isql.exitCode() == 0;
}

// A database as version 8.9 of the program made it, with the one line.
bool makeVersion89Database(const QString& folder, QString* errors) {
    return makeDatabase(folder, readText(sourceFile(QStringLiteral("tests/data/fixtures/du2010_8.9.sql"))),
                        errors);
}

Handle<Firebird::IAttachment> attach(const QString& path) {
    Status status;
    Handle<Firebird::IXpbBuilder> dpb(
        vardelo::fb::util()->getXpbBuilder(status.throwing(), Firebird::IXpbBuilder::DPB, nullptr, 0));
    dpb->insertString(status.throwing(), isc_dpb_user_name, "SYSDBA");
    dpb->insertString(status.throwing(), isc_dpb_password, "quillfern");
    dpb->insertString(status.throwing(), isc_dpb_lc_ctype, "WIN1250");
    return vardelo::fb::attachDatabase(path.toUtf8(), dpb.get());
}

QStringList descriptions(const QList<vardelo::SchemaChange>& changes) {
    QStringList result;
    for (const auto& change : changes)
        result << change.description;
    return result;
}

// The computed amounts of the first line, read back.
QList<QVariant> lineAmounts(Firebird::IAttachment* attachment,
                            const QString& where = QStringLiteral("s_ear = 250")) {
    Status status;
    Handle<Firebird::ITransaction> transaction(attachment->startTransaction(status.throwing(), 0, nullptr));
    const auto row = vardelo::fb::executeSingle(
        attachment, transaction.get(),
        QStringLiteral("SELECT s_netto, s_felvar, s_kompfelar, s_vetelar, s_kifizet FROM fjsor WHERE ") +
            where,
        {});
    return QList<QVariant>(row.begin(), row.end());
}

// The named indexes as "name asc|desc column,column", in name order.
QStringList indexes(Firebird::IAttachment* attachment, const QStringList& names) {
    Status status;
    Handle<Firebird::ITransaction> transaction(attachment->startTransaction(status.throwing(), 0, nullptr));
    QStringList result;
    for (const QString& name : names) {
        const auto rows = vardelo::fb::executeRows(
            attachment, transaction.get(),
            QStringLiteral("SELECT COALESCE(i.RDB$INDEX_TYPE, 0), TRIM(s.RDB$FIELD_NAME) FROM RDB$INDICES i "
                           "JOIN RDB$INDEX_SEGMENTS s ON s.RDB$INDEX_NAME = i.RDB$INDEX_NAME "
                           "WHERE i.RDB$INDEX_NAME = ? ORDER BY s.RDB$FIELD_POSITION"),
            {name});
        QStringList columns;
        for (const auto& row : rows)
            columns << row.at(1).toString();
        if (!rows.empty())
            result << QStringLiteral("%1 %2 %3")
                          .arg(name,
                               rows.front().at(0).toInt() == 1 ? QStringLiteral("desc")
                                                               : QStringLiteral("asc"),
                               columns.join(QLatin1Char(',')));
    }
    return result;
}

QVariant lineTotal(Firebird::IAttachment* attachment) {
    Status status;
    Handle<Firebird::ITransaction> transaction(attachment->startTransaction(status.throwing(), 0, nullptr));
    return vardelo::fb::executeSingle(attachment, transaction.get(),
                                      QStringLiteral("SELECT SUM(s_vetelar) FROM fjsor"), {})
        .front();
}

bool isExact(const QVariant& value) {
    return value.typeId() == qMetaTypeId<vardelo::Decimal>();
}

} // namespace

class TestSchemaUpgrade : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() {
        if (QStandardPaths::findExecutable(QStringLiteral("isql-fb")).isEmpty())
            QSKIP("isql-fb is not installed");
    }

    // A database made from the program's own DDL lacks nothing.
    void newDatabaseNeedsNothing() {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("new.fdb"));
        vardelo::createDatabase(path, true);
        auto attachment = attach(path);
        QCOMPARE(descriptions(vardelo::pendingSchemaChanges(attachment.get(), vardelo::ddlStatements())),
                 QStringList());
    }

    // The server's database, made by isql-fb from the same DDL file (which keeps the comments in trigger
    // bodies), lacks nothing either: opening it changes no trigger.
    void databaseMadeByIsqlNeedsNothing() {
        QTemporaryDir dir;
        QString errors;
        QVERIFY2(makeDatabase(dir.path(), readText(sourceFile(QStringLiteral("db/du2010.sql"))), &errors),
                 qPrintable(errors));
        auto attachment = attach(dir.filePath(QStringLiteral("du2010.fdb")));
        QCOMPARE(descriptions(vardelo::pendingSchemaChanges(attachment.get(), vardelo::ddlStatements())),
                 QStringList());
    }

    // Each kind of difference an older database can have is found and made good; the line already stored
    // reads back with the current formulas.
    void olderDatabaseGetsWhatItLacks_data() {
        QTest::addColumn<QStringList>("from");
        QTest::addColumn<QStringList>("to");
        QTest::addColumn<QString>("expected");
        QTest::newRow("index") << QStringList{"CREATE INDEX FJFEJ_FIZKELT ON FJFEJ (F_FIZKELT);\n"}
                               << QStringList{""} << "index FJFEJ_FIZKELT";
        // A column and its line in the journal's trigger, which an older database lacked together.
        QTest::newRow("column")
            << QStringList{"  S_MENNYISEG   DECIMAL(18,4),\n",
                           "\n     || NAPLO_ERTEK('S_MENNYISEG', OLD.S_MENNYISEG, NEW.S_MENNYISEG)"}
            << QStringList{"", ""} << "column FJSOR.S_MENNYISEG";
        QTest::newRow("constraint")
            << QStringList{"  CONSTRAINT FJSOR_SZJA_RANGE CHECK (S_SZJA BETWEEN 0 AND 100)\n"}
            << QStringList{"  S_DUMMY INTEGER\n"} << "constraint FJSOR.FJSOR_SZJA_RANGE";
        QTest::newRow("computed expression")
            << QStringList{"COMPUTED BY (S_VETELAR - S_LEVONT)"} << QStringList{"COMPUTED BY (S_VETELAR)"}
            << "computed column FJSOR.S_KIFIZET";
        // A formula that stayed while its type changed: the column of doubles becomes an exact decimal.
        QTest::newRow("computed type")
            << QStringList{"S_VETELAR     DECIMAL(18,2) COMPUTED BY"}
            << QStringList{"S_VETELAR     DOUBLE PRECISION COMPUTED BY"} << "computed column FJSOR.S_VETELAR";
        QTest::newRow("trigger text")
            << QStringList{"NEW.ID_TERMEK = GEN_ID(GEN_TERMEK_ID, 1)"}
            << QStringList{"NEW.ID_TERMEK = GEN_ID(GEN_TERMEK_ID, 2)"} << "changed trigger TERMEK_BI";
        QTest::newRow("grant") << QStringList{"GRANT USAGE ON GENERATOR GEN_NAPLO_ID TO TRIGGER NAPLO_BI;\n"}
                               << QStringList{""} << "grant USAGE on GEN_NAPLO_ID to NAPLO_BI";
        QTest::newRow("function text")
            << QStringList{"THEN\n    RETURN '';"} << QStringList{"THEN\n    RETURN NULL;"}
            << "changed function NAPLO_ERTEK";
        QTest::newRow("trigger")
            << QStringList{"CREATE TRIGGER TERMEK_BI FOR TERMEK ACTIVE BEFORE INSERT POSITION 0 AS\n"
                           "BEGIN\n"
                           "  IF (NEW.ID_TERMEK IS NULL) THEN NEW.ID_TERMEK = GEN_ID(GEN_TERMEK_ID, 1);\n"
                           "END^\n"}
            << QStringList{""} << "trigger TERMEK_BI";
    }

    void olderDatabaseGetsWhatItLacks() {
        QFETCH(QStringList, from);
        QFETCH(QStringList, to);
        QFETCH(QString, expected);
        const QString current = readText(sourceFile(QStringLiteral("db/du2010.sql")));
        QString older = current;
        for (qsizetype i = 0; i < from.size(); ++i) {
            QVERIFY2(current.contains(from[i]), qPrintable(from[i]));
            older.replace(from[i], to[i]);
        }
        QTemporaryDir dir;
        QString errors;
        QVERIFY2(makeDatabase(dir.path(), older, &errors), qPrintable(errors));
        const QString path = dir.filePath(QStringLiteral("du2010.fdb"));
        auto attachment = attach(path);
        const QStringList ddl = vardelo::ddlStatements();
        QVERIFY(descriptions(vardelo::pendingSchemaChanges(attachment.get(), ddl)).contains(expected));

        const auto result = vardelo::upgradeSchema(attachment.get());
        QCOMPARE(result.failed, QStringList());
        QVERIFY(result.applied.contains(expected));
        QCOMPARE(descriptions(vardelo::pendingSchemaChanges(attachment.get(), ddl)), QStringList());
        // 100 kg less 10 %, at 250 Ft, 7 % surcharge: 90 kg, 22 500, 1 575, 24 075, nothing withheld.
        const auto amounts = lineAmounts(attachment.get());
        QCOMPARE(amounts.size(), 5);
        QCOMPARE(amounts[0].toDouble(), 90.0);
        QCOMPARE(amounts[3].toDouble(), 24075.0);
        QCOMPARE(amounts[4].toDouble(), 24075.0);
        for (const QVariant& amount : amounts)
            QVERIFY(isExact(amount));
        QCOMPARE(lineTotal(attachment.get()).value<vardelo::Decimal>(), *vardelo::Decimal::parse("24075.44"));
    }

    // A database of version 8.9, opened through the program's connection, is brought up to the schema; an
    // upgrade cut short after some changes is finished by the next opening.
    void version89DatabaseOpensUpToDate() {
        QTemporaryDir dir;
        QString errors;
        QVERIFY2(makeVersion89Database(dir.path(), &errors), qPrintable(errors));
        const QString path = dir.filePath(QStringLiteral("du2010.fdb"));
        const QStringList ddl = vardelo::ddlStatements();
        {
            auto attachment = attach(path);
            // Version 8.9 computes the prices in doubles.
            const QVariant price = lineAmounts(attachment.get(), QStringLiteral("s_ear = 0.29")).value(3);
            QCOMPARE(price.typeId(), int(QMetaType::Double));
            QVERIFY(price.toDouble() != 0.44);
            // Cut short: only the first half of the statements' changes are made.
            vardelo::upgradeSchema(attachment.get(), ddl.mid(0, ddl.size() / 2));
        }
        TConnection connection(QStringLiteral("ZCon1"));
        connection.DatabaseName = path;
        connection.Connect();
        QCOMPARE(connection.LastSchemaUpgrade().failed, QStringList());
        QCOMPARE(descriptions(vardelo::pendingSchemaChanges(connection.Attachment(), ddl)), QStringList());
        QCOMPARE(lineAmounts(connection.Attachment()).value(3).toDouble(), 24075.0);
        // Among what it got: the lists' indexes, the reversed ones descending, each on its columns.
        QCOMPARE(indexes(connection.Attachment(), {"FJFEJ_AKOD_BSZAM_DESC", "FJFEJ_AKOD_KELT_ID",
                                                   "FJFEJ_AKOD_KELT_ID_DESC", "FJSOR_ID_DESC"}),
                 QStringList({"FJFEJ_AKOD_BSZAM_DESC desc F_AKOD,F_BSZAM",
                              "FJFEJ_AKOD_KELT_ID asc F_AKOD,F_KELT,ID_FJFEJ",
                              "FJFEJ_AKOD_KELT_ID_DESC desc F_AKOD,F_KELT,ID_FJFEJ",
                              "FJSOR_ID_DESC desc ID_FJSOR"}));
        // Opened by this version, every amount is an exact decimal: the same values where doubles held them,
        // the corrected value where they did not.
        const auto small = lineAmounts(connection.Attachment(), QStringLiteral("s_ear = 0.29"));
        for (const QVariant& amount : small)
            QVERIFY(isExact(amount));
        QCOMPARE(small.value(3).value<vardelo::Decimal>(), *vardelo::Decimal::parse("0.44"));
        QCOMPARE(lineTotal(connection.Attachment()).value<vardelo::Decimal>(),
                 *vardelo::Decimal::parse("24075.44"));
        connection.Disconnect();

        // Opened again, nothing is left to do.
        connection.Connect();
        QCOMPARE(connection.LastSchemaUpgrade().applied, QStringList());
        connection.Disconnect();
    }

    // A database of version 8.9 gets the column for the weight read from the scale when it is opened; its
    // lines stay as they were, weighed by nobody.
    void version89DatabaseGetsScaleWeightColumn() {
        QTemporaryDir dir;
        QString errors;
        QVERIFY2(makeVersion89Database(dir.path(), &errors), qPrintable(errors));
        TConnection connection(QStringLiteral("ZCon1"));
        connection.DatabaseName = dir.filePath(QStringLiteral("du2010.fdb"));
        connection.Connect();
        QVERIFY(connection.LastSchemaUpgrade().applied.contains(QStringLiteral("column FJSOR.S_MERLEG")));
        {
            Status status;
            Handle<Firebird::ITransaction> transaction(
                connection.Attachment()->startTransaction(status.throwing(), 0, nullptr));
            const auto row =
                vardelo::fb::executeSingle(connection.Attachment(), transaction.get(),
                                           QStringLiteral("SELECT s_brutto, s_merleg FROM fjsor"), {});
            QCOMPARE(row.size(), std::size_t(2));
            QCOMPARE(row[0].toDouble(), 100.0);
            QVERIFY(row[1].isNull());
        }
        connection.Disconnect();
    }

    // A database of version 8.9 gets the journal when the program opens it: from then on every change is
    // journalled (the rows stored before have no entries of their own).
    void version89DatabaseGetsTheJournal() {
        QTemporaryDir dir;
        QString errors;
        QVERIFY2(makeDatabase(dir.path(),
                              readText(sourceFile(QStringLiteral("tests/data/fixtures/du2010_8.9.sql"))),
                              &errors),
                 qPrintable(errors));
        TConnection connection(QStringLiteral("ZCon1"));
        connection.DatabaseName = dir.filePath(QStringLiteral("du2010.fdb"));
        connection.Connect();
        const QStringList applied = connection.LastSchemaUpgrade().applied;
        for (const char* added :
             {"column FJFEJ.F_NYMOD", "table NAPLO", "table KAPCSOLAT", "index NAPLO_KULCS",
              "function NAPLO_ERTEK", "trigger NAPLO_BI", "trigger NAPLO_VEDELEM", "trigger FJSOR_NAPLO",
              "trigger FJFEJ_NAPLO", "trigger OSTERMELO_NAPLO"})
            QVERIFY2(applied.contains(QString::fromLatin1(added)), added);
        QCOMPARE(connection.LastSchemaUpgrade().failed, QStringList());

        Status status;
        Handle<Firebird::ITransaction> transaction(
            connection.Attachment()->startTransaction(status.throwing(), 0, nullptr));
        QCOMPARE(vardelo::fb::executeSingle(connection.Attachment(), transaction.get(),
                                            QStringLiteral("SELECT COUNT(*) FROM NAPLO"), {})
                     .at(0)
                     .toInt(),
                 0);
        vardelo::fb::executeRows(connection.Attachment(), transaction.get(),
                                 QStringLiteral("UPDATE fjsor SET s_brutto = 120"), {});
        const auto entry = vardelo::fb::executeSingle(
            connection.Attachment(), transaction.get(),
            QStringLiteral("SELECT N_TABLA, N_MUVELET, N_KULCS, N_VALTOZAS FROM NAPLO"), {});
        QCOMPARE(QList<QVariant>(entry.begin(), entry.end()),
                 (QList<QVariant>{"S", "M", "10000001", "S_BRUTTO 8:100.0000 8:120.0000\n"}));
        transaction->commit(status.throwing());
        transaction.forget();
        connection.Disconnect();
    }
};

QTEST_MAIN(TestSchemaUpgrade)
#include "test_schema_upgrade.moc"
