// Backups, restores and copies of the database through the engine: consistent while another connection
// writes, complete table by table, refused when the file is not a backup of this program's database, and
// never left half-written under the final name.

#include "data/data_module.h"
#include "data/database_backup.h"
#include "data/database_creator.h"
#include "data/database_error.h"
#include "data/firebird_api.h"
#include "support/test_database.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>
#include <atomic>
#include <thread>
#include <unistd.h>

using namespace vardelo;
using vardelo::testing::TestDatabase;
using namespace Firebird;

namespace {

// The test user's attach (or create) parameters.
fb::Handle<IXpbBuilder> sysdbaParameters(fb::Status& status) {
    fb::Handle<IXpbBuilder> dpb(fb::util()->getXpbBuilder(status.throwing(), IXpbBuilder::DPB, nullptr, 0));
    dpb->insertString(status.throwing(), isc_dpb_user_name, "SYSDBA");
    dpb->insertString(status.throwing(), isc_dpb_password, "quillfern");
    return dpb;
}

// A connection of the test's own to a database file, with one transaction for each call.
class Attachment {
public:
    explicit Attachment(const QString& path) {
        fb::Status status;
        try {
            auto dpb = sysdbaParameters(status);
            dpb->insertString(status.throwing(), isc_dpb_lc_ctype, "WIN1250");
            attachment_ = fb::attachDatabase(path, dpb.get());
        } catch (const FbException& e) {
            fb::raise(e);
        }
    }
    std::vector<std::vector<QVariant>> rows(const QString& sql, const std::vector<QVariant>& values = {}) {
        fb::Status status;
        try {
            fb::Handle<ITransaction> transaction(
                attachment_->startTransaction(status.throwing(), 0, nullptr));
            auto result = fb::executeRows(attachment_.get(), transaction.get(), sql, values);
            transaction->commit(status.throwing());
            transaction.forget();
            return result;
        } catch (const FbException& e) {
            fb::raise(e);
        }
    }
    QVariant value(const QString& sql, const std::vector<QVariant>& values = {}) {
        const auto result = rows(sql, values);
        return result.empty() ? QVariant() : result.front().front();
    }

private:
    fb::Handle<IAttachment> attachment_;
};

// Every row of every table, as text, in key order: two databases with the same rows give the same lists.
QMap<QString, QStringList> contents(const QString& path) {
    Attachment db(path);
    QMap<QString, QStringList> tables;
    for (const QString& table : programTables()) {
        QStringList lines;
        for (const auto& row : db.rows(QStringLiteral("SELECT * FROM %1 ORDER BY 1").arg(table))) {
            QStringList values;
            for (const QVariant& v : row)
                values << (v.isNull() ? QStringLiteral("<null>") : v.toString());
            lines << values.join(u'|');
        }
        tables.insert(table, lines);
    }
    return tables;
}

QStringList folderEntries(const QString& folder) {
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
}

// The engine's validation of every page and record (gfix -v -full); the empty text when it finds nothing.
QString validation(const QString& path) {
    QProcess gfix;
    gfix.start(QStringLiteral("gfix"),
               {QStringLiteral("-v"), QStringLiteral("-full"), QStringLiteral("-user"),
                QStringLiteral("SYSDBA"), QStringLiteral("-password"), QStringLiteral("quillfern"), path});
    if (!gfix.waitForFinished(120000))
        return QStringLiteral("gfix did not finish");
    const QString output =
        QString::fromLocal8Bit(gfix.readAllStandardOutput() + gfix.readAllStandardError()).trimmed();
    if (gfix.exitStatus() != QProcess::NormalExit || gfix.exitCode() != 0)
        return QStringLiteral("exit %1: %2").arg(gfix.exitCode()).arg(output);
    return output;
}

void writeFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

} // namespace

class TestDatabaseBackup : public QObject {
    Q_OBJECT
private slots:
    void names();
    void copyWhileAnotherConnectionWrites();
    void backupThenRestoreKeepsEveryRow();
    void restoreRefusesWhatIsNotABackup_data();
    void restoreRefusesWhatIsNotABackup();
    void backupToAnUnwritableDestination();
    void backupNeverOverwrites();
    void replaceKeepsTheOldFile();
    void automaticBackupsKept();
    void failedAutomaticBackupIsReported();
    void failureNotedOnTheDeskWhenTheFolderIsReadOnly();
    void filesReadableByTheOwnerOnly();
    void writesOfTheConnectionCounted();
};

void TestDatabaseBackup::names() {
    const QDateTime when(QDate(2026, 12, 10), QTime(15, 30, 12));
    QCOMPARE(backupFileName(QStringLiteral("du2010.fdb"), when),
             QStringLiteral("du2010_2026-12-10_1530.fbk"));
    QCOMPARE(backupFileName(QStringLiteral("/a/b/du2010.fdb"), when, true),
             QStringLiteral("du2010_2026-12-10_1530_auto.fbk"));
    QCOMPARE(backupFileName(QStringLiteral("server/3051:/data/ceg.fdb"), when),
             QStringLiteral("ceg_2026-12-10_1530.fbk"));
    QCOMPARE(backupFolderFor(QStringLiteral("/a/b/du2010.fdb"), QString()), QStringLiteral("/a/b/Mentés"));
    QCOMPARE(backupFolderFor(QStringLiteral("/a/b/du2010.fdb"), QStringLiteral("/mnt/m")),
             QStringLiteral("/mnt/m"));
    // A server's database is backed up onto the desk, into its working folder.
    QCOMPARE(backupFolderFor(QStringLiteral("server:/data/du2010.fdb"), QString()),
             QDir::current().absoluteFilePath(QStringLiteral("Mentés")));
    QCOMPARE(backupFolderFor(QStringLiteral("vardelo"), QString()),
             QDir::current().absoluteFilePath(QStringLiteral("Mentés")));
    QCOMPARE(replacedFileName(QStringLiteral("/a/b/du2010.fdb"), when),
             QStringLiteral("/a/b/du2010_csere_2026-12-10_1530.fdb"));
    // A restore goes beside the database, on the same engine; beside an alias there is no known folder.
    QCOMPARE(restoredDatabaseName(QStringLiteral("/a/b/du2010.fdb"), when),
             QStringLiteral("/a/b/du2010_visszatoltott_2026-12-10_153012.fdb"));
    QCOMPARE(restoredDatabaseName(QStringLiteral("szerver/3051:/adat/du2010.fdb"), when),
             QStringLiteral("szerver/3051:/adat/du2010_visszatoltott_2026-12-10_153012.fdb"));
    QCOMPARE(restoredDatabaseName(QStringLiteral("inet://szerver:3051//adat/ceg.fdb"), when),
             QStringLiteral("inet://szerver:3051//adat/ceg_visszatoltott_2026-12-10_153012.fdb"));
    QCOMPARE(restoredDatabaseName(QStringLiteral("iroda:C:\\DU2010\\du2010.fdb"), when),
             QStringLiteral("iroda:C:\\DU2010\\du2010_visszatoltott_2026-12-10_153012.fdb"));
    QCOMPARE(restoredDatabaseName(QStringLiteral("szerver:vardelo"), when), QString());
    QCOMPARE(restoredDatabaseName(QStringLiteral("vardelo"), when), QString());
    QVERIFY(isServerDatabase(QStringLiteral("server/3051:/data/du2010.fdb")));
    QVERIFY(!isServerDatabase(QStringLiteral("c:\\DU2010\\du2010.fdb")));
    QVERIFY(!isServerDatabase(QStringLiteral("/a/du2010.fdb")));
}

// The copy is taken while a second connection adds and commits rows as fast as it can: it opens, the
// engine's full validation finds nothing, and every row committed before the copy began is in it.
void TestDatabaseBackup::copyWhileAnotherConnectionWrites() {
    TestDatabase db(true);
    std::atomic<int> committed{0};
    std::atomic<bool> stop{false};
    QString writerError;
    std::thread writer([&] {
        try {
            Attachment own(db.databasePath());
            for (int n = 1; !stop; ++n) {
                own.rows(
                    QStringLiteral("INSERT INTO TERMEK (T_KOD, T_MEGNEVEZES, T_AKOD) VALUES (?, ?, '9')"),
                    {QStringLiteral("W%1").arg(n), QStringLiteral("Írás %1").arg(n)});
                committed = n;
            }
        } catch (const EDatabaseError& e) {
            writerError = e.Message();
        }
    });
    QTRY_VERIFY_WITH_TIMEOUT(committed >= 20, 20000);
    const int before = committed;
    QTemporaryDir sendFolder;
    QString copy;
    int lines = 0;
    try {
        copy = makeDatabaseCopy({db.databasePath()}, sendFolder.path(), [&](const QString&) { ++lines; });
    } catch (const EDatabaseError& e) {
        stop = true;
        writer.join();
        QFAIL(qPrintable(e.Message()));
    }
    stop = true;
    writer.join();
    QCOMPARE(writerError, QString());
    QVERIFY(lines > 0);
    QCOMPARE(QFileInfo(copy).fileName(), QStringLiteral("du2010.fdb"));
    QVERIFY(QFileInfo(copy).absolutePath() != QFileInfo(db.databasePath()).absolutePath());
    QVERIFY(QFileInfo(copy).absolutePath().startsWith(sendFolder.path()));
    // Only the copy is left in its folder.
    QCOMPARE(folderEntries(QFileInfo(copy).absolutePath()), QStringList{"du2010.fdb"});
    QVERIFY(committed > before);

    QCOMPARE(validation(copy), QString());
    Attachment opened(copy);
    const auto rows = opened.rows(QStringLiteral("SELECT T_KOD FROM TERMEK WHERE T_AKOD = '9'"));
    QSet<QString> codes;
    for (const auto& row : rows)
        codes.insert(row.at(0).toString());
    for (int n = 1; n <= before; ++n)
        QVERIFY2(codes.contains(QStringLiteral("W%1").arg(n)), qPrintable(QStringLiteral("W%1").arg(n)));
}

// A backup restored gives every table the same rows, and the generators go on from where they stood: a new
// ticket line gets a number never used.
void TestDatabaseBackup::backupThenRestoreKeepsEveryRow() {
    TestDatabase db(true);
    db.exec(QStringLiteral("INSERT INTO FJFEJ (F_BSZAM, F_OSTERMKOD, F_KELT, F_AKOD, F_MEGJ) "
                           "VALUES ('10000001', '1', DATE '2010-08-02', '1', 'Árvíztűrő tükörfúrógép')"));
    for (int i = 0; i < 5; ++i)
        db.exec(QStringLiteral("INSERT INTO FJSOR (S_BSZAM, S_TERMEKKOD, S_BRUTTO, S_LEVONSZAZ, S_AKOD) "
                               "VALUES ('10000001', '1', %1.5, 8, '1')")
                    .arg(100 + i));
    // A deleted line leaves its number used.
    db.exec(QStringLiteral("DELETE FROM FJSOR WHERE ID_FJSOR = (SELECT MAX(ID_FJSOR) FROM FJSOR)"));
    const QString maxLine = QStringLiteral("SELECT GEN_ID(GEN_FJSOR_ID, 0) FROM RDB$DATABASE");

    QTemporaryDir dir;
    const QString backup = dir.filePath(QStringLiteral("du2010_2026-12-10_1530.fbk"));
    QStringList lines;
    backupDatabase(DatabaseAccess{QStringLiteral("du2010.fdb")}, backup,
                   [&](const QString& line) { lines << line; });
    QVERIFY(QFileInfo(backup).size() > 0);
    QVERIFY(!lines.isEmpty());
    QCOMPARE(folderEntries(dir.path()), QStringList{"du2010_2026-12-10_1530.fbk"});

    const QString restored = dir.filePath(QStringLiteral("restored.fdb"));
    const TableCounts counts = restoreDatabase(backup, {restored});
    QCOMPARE(validation(restored), QString());
    Data->ZCon1->Disconnect();
    const auto original = contents(db.databasePath());
    const auto copy = contents(restored);
    for (const QString& table : programTables())
        QCOMPARE(copy.value(table), original.value(table));
    QCOMPARE(
        qint64(copy.value(QStringLiteral("FJSOR")).size()),
        std::find_if(counts.begin(), counts.end(), [](const auto& c) { return c.first == "FJSOR"; })->second);
    // The six tables, the journal's two and the ticket counts.
    QCOMPARE(counts.size(), size_t(9));

    Attachment before(db.databasePath());
    Attachment after(restored);
    QCOMPARE(after.value(maxLine), before.value(maxLine));
    const QVariant used = before.value(QStringLiteral("SELECT MAX(ID_FJSOR) FROM FJSOR"));
    const auto inserted = after.rows(
        QStringLiteral("INSERT INTO FJSOR (S_BSZAM, S_AKOD) VALUES ('10000001', '1') RETURNING ID_FJSOR"));
    QVERIFY(inserted.front().front().toLongLong() > used.toLongLong() + 1);

    // The journal comes back whole, and goes on: the restored database journals its writes.
    const QString journal = QStringLiteral(
        "SELECT ID_NAPLO, N_IDO, N_TABLA, N_SOR, N_MUVELET, N_KULCS, N_KAPCSOLAT, "
        "COALESCE(N_VALTOZAS, CAST(N_VALTOZAS_HOSSZU AS VARCHAR(8000))) FROM NAPLO WHERE ID_NAPLO <= ? "
        "ORDER BY ID_NAPLO");
    const QVariant lastEntry = before.value(QStringLiteral("SELECT MAX(ID_NAPLO) FROM NAPLO"));
    QVERIFY(before.rows(journal, {lastEntry}).size() > 7);
    QCOMPARE(after.rows(journal, {lastEntry}), before.rows(journal, {lastEntry}));
    QCOMPARE(after
                 .value(QStringLiteral("SELECT COUNT(*) FROM NAPLO WHERE N_TABLA = 'S' AND N_SOR = ?"),
                        {inserted.front().front()})
                 .toInt(),
             1);
}

void TestDatabaseBackup::restoreRefusesWhatIsNotABackup_data() {
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("reason");
    const QString damaged = QStringLiteral("A visszatöltés nem sikerült. A mentés hiányos vagy sérült.");
    QTest::newRow("text file") << "text" << damaged;
    QTest::newRow("empty file") << "empty" << damaged;
    // Not here: a backup whose middle is overwritten. The embedded engine's restore reads such data out of
    // bounds and takes the process down with it (the restore window's test damages a backup in a way the
    // engine does detect).
    QTest::newRow("cut backup") << "cut" << damaged;
    QTest::newRow("backup cut to its header") << "header" << damaged;
    QTest::newRow("another program's database")
        << "foreign"
        << "A visszatöltés nem sikerült. Ez nem a program adatbázisa: hiányzik a(z) ATVEVO tábla.";
    QTest::newRow("missing file") << "missing"
                                  << "A mentés nem található";
}

// What is not a whole backup of this program's database is refused, and nothing is left of the attempt.
void TestDatabaseBackup::restoreRefusesWhatIsNotABackup() {
    QFETCH(QString, kind);
    QFETCH(QString, reason);
    TestDatabase db(true);
    QTemporaryDir dir;
    const QString backup = dir.filePath(QStringLiteral("mentes.fbk"));
    if (kind == QLatin1String("text")) {
        writeFile(backup, QByteArray("Ez egy levél, nem mentés.\n").repeated(200));
    } else if (kind == QLatin1String("empty")) {
        writeFile(backup, QByteArray());
    } else if (kind == QLatin1String("foreign")) {
        // A sound backup, but of a database without the program's tables.
        const QString other = dir.filePath(QStringLiteral("other.fdb"));
        fb::Status status;
        try {
            auto dpb = sysdbaParameters(status);
            fb::Handle<IAttachment> created = fb::createDatabase(other, dpb.get());
            fb::Handle<ITransaction> t(created->startTransaction(status.throwing(), 0, nullptr));
            created->execute(status.throwing(), t.get(), 0, "CREATE TABLE SZAMLA (ID INTEGER)", 3, nullptr,
                             nullptr, nullptr, nullptr);
            t->commit(status.throwing());
            t.forget();
        } catch (const FbException& e) {
            fb::raise(e);
        }
        backupDatabase(DatabaseAccess{other}, backup);
        QFile::remove(other);
    } else if (kind != QLatin1String("missing")) {
        backupDatabase(DatabaseAccess{db.databasePath()}, backup);
        QFile file(backup);
        QVERIFY(file.open(QIODevice::ReadWrite));
        if (kind == QLatin1String("cut")) {
            QVERIFY(file.resize(file.size() / 2));
        } else if (kind == QLatin1String("header")) {
            QVERIFY(file.resize(300));
        } else {
            // The middle of the data overwritten.
            file.seek(file.size() / 3);
            file.write(QByteArray(int(file.size() / 3), '\x5a'));
        }
    }
    const QByteArray databaseBefore = [&] {
        QFile f(db.databasePath());
        f.open(QIODevice::ReadOnly);
        return f.readAll();
    }();
    const QStringList entriesBefore = folderEntries(dir.path());
    const QString restored = QDir(db.folder()).filePath(QStringLiteral("visszatoltott.fdb"));
    try {
        restoreDatabase(backup, {restored});
        QFAIL("the restore was not refused");
    } catch (const EDatabaseError& e) {
        QVERIFY2(e.Message().startsWith(reason), qPrintable(e.Message()));
    }
    QVERIFY(!QFileInfo::exists(restored));
    QCOMPARE(folderEntries(db.folder()), (QStringList{"c", "du2010.fdb"}));
    QCOMPARE(folderEntries(dir.path()), entriesBefore);
    QFile f(db.databasePath());
    QVERIFY(f.open(QIODevice::ReadOnly));
    QCOMPARE(f.size(), databaseBefore.size());
    QVERIFY(Data->ZCon1->Connected());
}

// A destination that cannot be written leaves nothing: no file under the final name, no part file.
void TestDatabaseBackup::backupToAnUnwritableDestination() {
    TestDatabase db(false);
    for (const QString& target : {QStringLiteral("/proc/self/du2010.fbk"),
                                  QDir(db.folder()).filePath(QStringLiteral("nincs/du2010.fbk"))}) {
        try {
            backupDatabase(DatabaseAccess{db.databasePath()}, target);
            QFAIL("the backup did not fail");
        } catch (const EDatabaseError& e) {
            QVERIFY2(!e.Message().isEmpty(), qPrintable(target));
        }
        QVERIFY(!QFileInfo::exists(target));
    }
    QCOMPARE(folderEntries(db.folder()), (QStringList{"c", "du2010.fdb"}));
}

void TestDatabaseBackup::backupNeverOverwrites() {
    TestDatabase db(false);
    QTemporaryDir dir;
    const QString target = dir.filePath(QStringLiteral("du2010.fbk"));
    writeFile(target, "régi");
    QVERIFY_THROWS_EXCEPTION(EDatabaseError, backupDatabase(DatabaseAccess{db.databasePath()}, target));
    QFile file(target);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), QByteArray("régi"));
}

void TestDatabaseBackup::replaceKeepsTheOldFile() {
    QTemporaryDir dir;
    const QString database = dir.filePath(QStringLiteral("du2010.fdb"));
    const QString restored = dir.filePath(QStringLiteral("uj.fdb"));
    const QString kept = dir.filePath(QStringLiteral("du2010_csere_2026-12-10_1530.fdb"));
    writeFile(database, "régi");
    writeFile(restored, "új");
    replaceDatabaseFile(database, restored, kept);
    QCOMPARE(folderEntries(dir.path()), (QStringList{"du2010.fdb", "du2010_csere_2026-12-10_1530.fdb"}));
    QFile file(database);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), QByteArray("új"));
    // The kept name in use: nothing moves.
    writeFile(restored, "harmadik");
    QVERIFY_THROWS_EXCEPTION(EDatabaseError, replaceDatabaseFile(database, restored, kept));
    QCOMPARE(folderEntries(dir.path()),
             (QStringList{"du2010.fdb", "du2010_csere_2026-12-10_1530.fdb", "uj.fdb"}));
}

// Automatic backups beyond the number kept go, the oldest first; a backup made by hand stays.
void TestDatabaseBackup::automaticBackupsKept() {
    TestDatabase db(false);
    const QString folder = QDir(db.folder()).filePath(QStringLiteral("Mentés"));
    QDir().mkpath(folder);
    for (int day = 1; day <= 12; ++day)
        writeFile(QDir(folder).filePath(
                      QStringLiteral("du2010_2026-11-%1_0800_auto.fbk").arg(day, 2, 10, QChar(u'0'))),
                  "x");
    writeFile(QDir(folder).filePath(QStringLiteral("du2010_2026-10-01_0800.fbk")), "kézi");
    writeFile(QDir(folder).filePath(QStringLiteral("masik_2026-10-01_0800_auto.fbk")), "más");
    QVERIFY(automaticBackup({db.databasePath()}, folder, 10));
    const QStringList left = folderEntries(folder);
    QCOMPARE(left.size(), 12);
    QVERIFY(left.contains(QStringLiteral("du2010_2026-10-01_0800.fbk")));
    QVERIFY(left.contains(QStringLiteral("masik_2026-10-01_0800_auto.fbk")));
    QVERIFY(!left.contains(QStringLiteral("du2010_2026-11-01_0800_auto.fbk")));
    QVERIFY(!left.contains(QStringLiteral("du2010_2026-11-02_0800_auto.fbk")));
    QVERIFY(!left.contains(QStringLiteral("du2010_2026-11-03_0800_auto.fbk")));
    QVERIFY(left.contains(QStringLiteral("du2010_2026-11-04_0800_auto.fbk")));
    // A second one the same day (the same minute too) takes the place of the first: one a day is kept.
    const QString today = backupFileName(db.databasePath(), QDateTime::currentDateTime(), true).left(17);
    const QStringList first = folderEntries(folder).filter(today);
    QCOMPARE(first.size(), 1);
    QVERIFY(automaticBackup({db.databasePath()}, folder, 10));
    const QStringList second = folderEntries(folder).filter(today);
    QCOMPARE(second.size(), 1);
    QVERIFY(second != first || QFileInfo(QDir(folder).filePath(second.at(0))).size() > 0);
    QCOMPARE(folderEntries(folder).size(), 12);
    QCOMPARE(takeAutomaticBackupFailure(db.databasePath()), QString());
}

void TestDatabaseBackup::failedAutomaticBackupIsReported() {
    TestDatabase db(false);
    // A file where the folder should be.
    const QString folder = QDir(db.folder()).filePath(QStringLiteral("Mentés"));
    writeFile(folder, "nem mappa");
    QVERIFY(!automaticBackup({db.databasePath()}, folder, 10));
    const QString marker = automaticBackupMarkers(db.databasePath()).constFirst();
    QCOMPARE(QFileInfo(marker).absolutePath(), db.folder());
    QVERIFY(QFileInfo::exists(marker));
    const QString message = takeAutomaticBackupFailure(db.databasePath());
    QVERIFY2(message.startsWith(QStringLiteral("Az automatikus adatmentés nem sikerült:\n")),
             qPrintable(message));
    QVERIFY(message.contains(QStringLiteral("Mentés")));
    QVERIFY(message.endsWith(QStringLiteral("Segédlet → Adatmentés.")));
    // Reported once.
    QCOMPARE(takeAutomaticBackupFailure(db.databasePath()), QString());
    // Every failure until the next start is told, even when a later one succeeded.
    QFile::remove(folder);
    QVERIFY(!automaticBackup({db.databasePath()}, QStringLiteral("/proc/self"), 10));
    QVERIFY(automaticBackup({db.databasePath()}, folder, 10));
    QVERIFY(!automaticBackup({db.databasePath()}, QStringLiteral("/proc/self/x"), 10));
    const QString both = takeAutomaticBackupFailure(db.databasePath());
    QVERIFY2(both.startsWith(QStringLiteral("Az automatikus adatmentés 2 alkalommal nem sikerült:\n")),
             qPrintable(both));
    QCOMPARE(takeAutomaticBackupFailure(db.databasePath()), QString());
    QVERIFY(!QFileInfo::exists(marker));
}

// A database folder that cannot be written keeps no marker beside the database: the desk's own folder takes
// it.
void TestDatabaseBackup::failureNotedOnTheDeskWhenTheFolderIsReadOnly() {
    if (::geteuid() == 0)
        QSKIP("root writes into a read-only folder");
    TestDatabase db(false);
    QTemporaryDir appData;
    qputenv("XDG_DATA_HOME", appData.path().toUtf8());
    QVERIFY(QFile::setPermissions(db.folder(), QFile::ReadOwner | QFile::ExeOwner));
    QVERIFY(!automaticBackup({db.databasePath()}, QDir(db.folder()).filePath(QStringLiteral("Mentés")), 10));
    QVERIFY(QFile::setPermissions(db.folder(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
    const QStringList markers = automaticBackupMarkers(db.databasePath());
    QVERIFY(!QFileInfo::exists(markers.at(0)));
    QVERIFY(markers.at(1).startsWith(appData.path()));
    QVERIFY(QFileInfo::exists(markers.at(1)));
    QVERIFY(takeAutomaticBackupFailure(db.databasePath()).startsWith(QStringLiteral("Az automatikus")));
    qunsetenv("XDG_DATA_HOME");
}

// Backups and copies hold the firm's personal data: only their owner reads them. A restored database takes
// the permissions of the one it replaces.
void TestDatabaseBackup::filesReadableByTheOwnerOnly() {
    TestDatabase db(true);
    QTemporaryDir dir;
    const QString backup = dir.filePath(QStringLiteral("m.fbk"));
    backupDatabase(DatabaseAccess{db.databasePath()}, backup);
    const QFile::Permissions ownerOnly = QFile::ReadOwner | QFile::WriteOwner;
    QCOMPARE(QFileInfo(backup).permissions() & ~(QFile::ReadUser | QFile::WriteUser), ownerOnly);
    const QString restored = dir.filePath(QStringLiteral("r.fdb"));
    restoreDatabase(backup, {restored});
    QCOMPARE(QFileInfo(restored).permissions() & ~(QFile::ReadUser | QFile::WriteUser), ownerOnly);
    const QString copy = makeDatabaseCopy({db.databasePath()}, dir.filePath(QStringLiteral("kuldes")));
    QCOMPARE(QFileInfo(copy).permissions() & ~(QFile::ReadUser | QFile::WriteUser), ownerOnly);

    const QString database = dir.filePath(QStringLiteral("du2010.fdb"));
    writeFile(database, "régi");
    const QFile::Permissions shared = ownerOnly | QFile::ReadGroup | QFile::WriteGroup;
    QVERIFY(QFile::setPermissions(database, shared));
    replaceDatabaseFile(database, restored, dir.filePath(QStringLiteral("du2010_csere.fdb")));
    QCOMPARE(QFileInfo(database).permissions() & ~(QFile::ReadUser | QFile::WriteUser), shared);
}

void TestDatabaseBackup::writesOfTheConnectionCounted() {
    TestDatabase db(true);
    const qint64 start = attachmentWrites(Data->ZCon1->Attachment());
    Data->IBTable4->Close();
    Data->IBTable4->Open();
    QCOMPARE(attachmentWrites(Data->ZCon1->Attachment()), start);
    db.exec(QStringLiteral("UPDATE TERMEK SET T_MEGNEVEZES = T_MEGNEVEZES WHERE ID_TERMEK = 1"));
    QVERIFY(attachmentWrites(Data->ZCon1->Attachment()) > start);
    QCOMPARE(attachmentWrites(nullptr), qint64(0));
}

QTEST_MAIN(TestDatabaseBackup)
#include "test_database_backup.moc"
