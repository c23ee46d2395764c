// Backups of a server's database as the desks make them: logged in as the desk user of vardelo.ini (not
// SYSDBA), streamed onto the desk for every form of the database's name, refused with a clear reason for a
// user without the rights; the restore window on a server; the copy to send; vardelo-db; the automatic backup
// and its failure told at the desk's next start. The private server comes from scripts/fbserver, with a desk
// user of its own; without the server package the test is skipped, except in CI, where it fails.
#include "data/app_settings.h"
#include "data/data_module.h"
#include "data/database_backup.h"
#include "data/database_error.h"
#include "data/immediate_write.h"
#include "exchange/backup_window.h"
#include "exchange/restore_window.h"
#include "exchange/send_data.h"
#include "shell/main_window.h"
#include "support/children.h"
#include "support/private_server.h"
#include "support/run_state.h"
#include "support/ui_recorder.h"

#include <QAction>
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

using namespace vardelo;
using vardelo::testing::child;
using vardelo::testing::PrivateServer;

namespace {

const QString deskUser = QStringLiteral("KATI");
const QString deskPassword = QStringLiteral("Kati's 2026");
constexpr QFile::Permissions ownerOnly = QFile::ReadOwner | QFile::WriteOwner;

QStringList entries(const QString& folder) {
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
}

QFile::Permissions ownersPermissions(const QString& file) {
    return QFileInfo(file).permissions() & ~(QFile::ReadUser | QFile::WriteUser | QFile::ExeUser);
}

} // namespace

class TestServerBackups : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();
    void backupThroughEveryName_data();
    void backupThroughEveryName();
    void refusalsSayWhy();
    void backupWindowWritesOntoTheDesk();
    void restoreWindowOnAServer();
    void restoreOfACutBackupLeavesNothingOnTheServer();
    void copyToSendFromAServerDesk();
    void toolBacksUpAsTheDeskUser();
    void automaticBackupAndItsFailureAtTheNextStart();

private:
    DatabaseAccess desk(const QString& name = QString()) const {
        return {name.isEmpty() ? server_.connectionName() : name, deskUser, deskPassword};
    }
    // The desk's working folder: a vardelo.ini with the server's name and the desk user, readable by its
    // owner only.
    void writeSettings(const QString& user = deskUser, const QString& password = deskPassword);
    void connectDesk();
    QString serverDatabase() const { return QDir(server_.folder()).filePath(QStringLiteral("du2010.fdb")); }

    PrivateServer server_;
    std::unique_ptr<QTemporaryDir> desk_;
    QTemporaryDir appData_;
    QString previousFolder_;
};

void TestServerBackups::initTestCase() {
    if (!PrivateServer::available()) {
        if (qEnvironmentVariable("CI") == QLatin1String("true"))
            QFAIL("The Firebird server package (firebird3.0-server) is missing in CI.");
        QSKIP("No Firebird 3 server here (package firebird3.0-server).");
    }
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("FBSERVER_DESK_USER"), deskUser);
    environment.insert(QStringLiteral("FBSERVER_DESK_PASSWORD"), deskPassword);
    const QString error = server_.start(environment);
    QVERIFY2(error.isEmpty(), qPrintable(error));
    // The desk's own folder for the notes of failed automatic backups.
    qputenv("XDG_DATA_HOME", appData_.path().toUtf8());
    // A second user of the server, without any right in the database.
    TData admin;
    admin.ZCon1->DatabaseName = server_.connectionName();
    admin.ZCon1->Connect();
    executeAndCommit(admin.ZQ70, {QStringLiteral("CREATE USER JOE PASSWORD 'joe'")}, {});
}

void TestServerBackups::init() {
    vardelo::testing::resetRunState();
    desk_ = std::make_unique<QTemporaryDir>();
    previousFolder_ = QDir::currentPath();
    QDir::setCurrent(desk_->path());
    qputenv("VARDELO_DRIVE_C", desk_->path().toUtf8());
}

void TestServerBackups::cleanup() {
    vardelo::testing::resetRunState();
    QDir::setCurrent(previousFolder_);
    desk_.reset();
}

void TestServerBackups::writeSettings(const QString& user, const QString& password) {
    QFile ini(QDir(desk_->path()).filePath(SettingsFileName));
    QVERIFY(ini.open(QIODevice::WriteOnly | QIODevice::Truncate, ownerOnly));
    ini.write("[Adatbazis]\nNev=" + server_.connectionName().toUtf8() + "\nFelhasznalo=" + user.toUtf8() +
              "\nJelszo=" + password.toUtf8() + "\n");
}

void TestServerBackups::connectDesk() {
    writeSettings();
    Data = new TData;
    Data->ZCon1->ApplySettings(loadAppSettings());
    Data->ZCon1->Connect();
    QCOMPARE(Data->ZCon1->User, deskUser);
}

void TestServerBackups::backupThroughEveryName_data() {
    QTest::addColumn<QString>("name");
    const QString port = server_.port();
    QTest::newRow("host/port:path") << QStringLiteral("127.0.0.1/%1:%2").arg(port, serverDatabase());
    QTest::newRow("host/port:alias") << QStringLiteral("127.0.0.1/%1:vardelo").arg(port);
    QTest::newRow("inet url") << QStringLiteral("inet://127.0.0.1:%1/%2").arg(port, serverDatabase());
    QTest::newRow("inet4 alias") << QStringLiteral("inet4://127.0.0.1:%1/vardelo").arg(port);
}

// The backup lands on the desk, readable by its owner only, whatever form the name takes, and restores there
// into a database with the server's rows.
void TestServerBackups::backupThroughEveryName() {
    QFETCH(QString, name);
    const QString folder = QDir(desk_->path()).filePath(QStringLiteral("Mentés"));
    QVERIFY(QDir().mkpath(folder));
    const QString backup = freeBackupPath(folder, name, QDateTime::currentDateTime());
    QStringList progress;
    backupDatabase(desk(name), backup, [&](const QString& line) { progress << line; });
    QCOMPARE(entries(folder), QStringList{QFileInfo(backup).fileName()});
    QCOMPARE(ownersPermissions(backup), ownerOnly);
    QVERIFY2(!progress.isEmpty() && progress.last().endsWith(QStringLiteral(" mentve")),
             qPrintable(progress.join(u'|')));
    const TableCounts restored =
        restoreDatabase(backup, {QDir(desk_->path()).filePath(QStringLiteral("r.fdb"))});
    QCOMPARE(restored, checkDatabase(desk(name)));
}

// A user without the rights, or a wrong password, gets the reason in plain words; nothing is left behind.
void TestServerBackups::refusalsSayWhy() {
    const QString target = QDir(desk_->path()).filePath(QStringLiteral("m.fbk"));
    struct Case {
        DatabaseAccess access;
        QString reason;
    };
    const Case cases[] = {
        {{server_.connectionName(), QStringLiteral("JOE"), QStringLiteral("joe")},
         QStringLiteral("Az adatmentés nem sikerült. A(z) JOE felhasználónak nincs joga ehhez: az adatbázis "
                        "tulajdonosa vagy az RDB$ADMIN szerepkör kell hozzá.")},
        {{server_.connectionName(), deskUser, QStringLiteral("rossz")},
         QStringLiteral(
             "Az adatmentés nem sikerült. Az adatbázis-kezelő nem fogadta el a(z) KATI felhasználót "
             "vagy a jelszavát.")},
        // The built-in administrator's password is not the server's.
        {{server_.connectionName(), QStringLiteral("SYSDBA"), QStringLiteral("masterkey")},
         QStringLiteral("Az adatmentés nem sikerült. Az adatbázis-kezelő nem fogadta el")},
    };
    for (const Case& c : cases) {
        try {
            backupDatabase(c.access, target);
            QFAIL(qPrintable(c.access.user));
        } catch (const EDatabaseError& e) {
            QVERIFY2(e.Message().startsWith(c.reason), qPrintable(e.Message()));
        }
        QCOMPARE(entries(desk_->path()), QStringList());
    }
}

void TestServerBackups::backupWindowWritesOntoTheDesk() {
    connectDesk();
    UiRecorder recorder;
    TBackupWindow window;
    const QString folder = QDir(desk_->path()).filePath(QStringLiteral("Mentés"));
    QCOMPARE(QDir::fromNativeSeparators(child<QLineEdit>(window, QStringLiteral("Edit1"))->text()), folder);
    QTest::mouseClick(child<QPushButton>(window, QStringLiteral("Button1")), Qt::LeftButton);
    QCOMPARE(recorder.messageTexts(), QStringList{QStringLiteral("Az adatmentés elkészült: ") +
                                                  QDir::toNativeSeparators(window.LastBackup())});
    QCOMPARE(QFileInfo(window.LastBackup()).absolutePath(), folder);
    QVERIFY(QRegularExpression(QStringLiteral("^du2010_\\d{4}-\\d\\d-\\d\\d_\\d{4}\\.fbk$"))
                .match(QFileInfo(window.LastBackup()).fileName())
                .hasMatch());
    QCOMPARE(ownersPermissions(window.LastBackup()), ownerOnly);
}

// On a server the window says at once what it can do; it restores into a new database beside the server's,
// checks it and names it, and the server's database stays as it was.
void TestServerBackups::restoreWindowOnAServer() {
    connectDesk();
    const QString backup = QDir(desk_->path()).filePath(QStringLiteral("m.fbk"));
    backupDatabase(desk(), backup);
    const TableCounts live = checkDatabase(desk());
    const QStringList before = entries(server_.folder());

    UiRecorder recorder;
    TRestoreWindow window;
    QVERIFY(
        child<QLabel>(window, QStringLiteral("Label2"))
            ->text()
            .startsWith(QStringLiteral("Az adatbázis a kiszolgálón van: a program a mentést a kiszolgálón "
                                       "egy új adatbázisba tölti vissza")));
    child<QLineEdit>(window, QStringLiteral("Edit1"))->setText(backup);
    QTest::mouseClick(child<QPushButton>(window, QStringLiteral("Button1")), Qt::LeftButton);
    QCOMPARE(recorder.messages.size(), 1);
    const QString restored = window.RestoredOnServer();
    QVERIFY2(recorder.messages.at(0).text.startsWith(
                 QStringLiteral("A mentés visszatöltve és ellenőrizve a kiszolgálón, egy új adatbázisba:\n") +
                 restored),
             qPrintable(recorder.messages.at(0).text));
    QVERIFY(recorder.messages.at(0).text.contains(QStringLiteral("a rendszergazda teheti a helyére")));
    QVERIFY(restored.startsWith(
        QStringLiteral("127.0.0.1/%1:%2/du2010_visszatoltott_").arg(server_.port(), server_.folder())));
    QCOMPARE(checkDatabase(desk(restored)), live);
    QCOMPARE(entries(server_.folder()).size(), before.size() + 1);
    QVERIFY(Data->ZCon1->Connected());
    QCOMPARE(checkDatabase(desk()), live);
}

// A cut backup is refused at once with the program's words, and the half-made database is dropped again on
// the server; a user who may not create databases there is told so.
void TestServerBackups::restoreOfACutBackupLeavesNothingOnTheServer() {
    const QString backup = QDir(desk_->path()).filePath(QStringLiteral("m.fbk"));
    backupDatabase(desk(), backup);
    {
        QFile file(backup);
        QVERIFY(file.open(QIODevice::ReadWrite));
        QVERIFY(file.resize(file.size() * 2 / 3));
    }
    const QStringList before = entries(server_.folder());
    // A name of its own: the restore before this one may have named its database within the same second.
    const QString target =
        restoredDatabaseName(server_.connectionName(), QDateTime::currentDateTime().addDays(1));
    try {
        restoreDatabase(backup, desk(target));
        QFAIL("the cut backup was restored");
    } catch (const EDatabaseError& e) {
        QVERIFY2(e.Message().startsWith(
                     QStringLiteral("A visszatöltés nem sikerült. A mentés hiányos vagy sérült.")),
                 qPrintable(e.Message()));
    }
    QCOMPARE(entries(server_.folder()), before);
    try {
        restoreDatabase(backup, {target, QStringLiteral("JOE"), QStringLiteral("joe")});
        QFAIL("JOE made a database");
    } catch (const EDatabaseError& e) {
        QVERIFY2(e.Message().startsWith(
                     QStringLiteral("A visszatöltés nem sikerült. A(z) JOE felhasználónak nincs "
                                    "joga ehhez a kiszolgálón.")),
                 qPrintable(e.Message()));
    }
    QCOMPARE(entries(server_.folder()), before);
}

// "Adatok küldése" on a desk of the server: the name field holds the server's database, and the copy is made
// through the server onto the desk.
void TestServerBackups::copyToSendFromAServerDesk() {
    connectDesk();
    UiRecorder recorder;
    TForm27 window;
    QCOMPARE(child<QLineEdit>(window, QStringLiteral("Edit1"))->text(), server_.connectionName());
    QTest::mouseClick(child<QPushButton>(window, QStringLiteral("Button4")), Qt::LeftButton);
    QCOMPARE(recorder.messageTexts(), QStringList());
    const QString copy = window.LastCopy();
    QCOMPARE(QGuiApplication::clipboard()->text(), QDir::toNativeSeparators(copy));
    QCOMPARE(QFileInfo(copy).fileName(), QStringLiteral("du2010.fdb"));
    QCOMPARE(ownersPermissions(copy), ownerOnly);
    QCOMPARE(checkDatabase({copy}), checkDatabase(desk()));
    QDir(QFileInfo(copy).absolutePath()).removeRecursively();
}

// vardelo-db logs in as --user (the password from the environment) or as vardelo.ini says.
void TestServerBackups::toolBacksUpAsTheDeskUser() {
    const QString tool = qEnvironmentVariable("VARDELO_DB_TOOL");
    QVERIFY2(QFileInfo(tool).isExecutable(), qPrintable(tool));
    auto run = [&](const QStringList& arguments, const QProcessEnvironment& environment) {
        QProcess p;
        p.setProcessEnvironment(environment);
        p.setWorkingDirectory(desk_->path());
        p.start(tool, arguments);
        p.waitForFinished(120000);
        return std::make_pair(p.exitCode(),
                              QString::fromUtf8(p.readAllStandardOutput() + p.readAllStandardError()));
    };
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("ISC_PASSWORD"), deskPassword);
    auto [code, out] = run({"--user", deskUser, "--backup", server_.connectionName(), "Mentés"}, environment);
    QVERIFY2(code == 0, qPrintable(out));
    QCOMPARE(entries(QDir(desk_->path()).filePath(QStringLiteral("Mentés"))).size(), 1);

    // Without a password the user is refused; vardelo.ini's user and password are the tool's.
    environment.remove(QStringLiteral("ISC_PASSWORD"));
    std::tie(code, out) =
        run({"--user", deskUser, "--backup", server_.connectionName(), "Mentés"}, environment);
    QCOMPARE(code, 1);
    QVERIFY2(out.contains(QStringLiteral("nem fogadta el a(z) KATI")), qPrintable(out));
    writeSettings(deskUser, QStringLiteral("rossz"));
    std::tie(code, out) = run({"--backup", server_.connectionName(), "Mentés"}, environment);
    QCOMPARE(code, 1);
    QVERIFY2(out.contains(QStringLiteral("nem fogadta el a(z) KATI")), qPrintable(out));
    writeSettings();
    std::tie(code, out) = run({"--backup", server_.connectionName(), "Mentés"}, environment);
    QVERIFY2(code == 0, qPrintable(out));
    QCOMPARE(entries(QDir(desk_->path()).filePath(QStringLiteral("Mentés"))).size(), 2);
}

// The program closes after a write: the automatic backup lands in the desk's "Mentés". When it cannot be
// made, closing says nothing and the next start of the desk tells it, once.
void TestServerBackups::automaticBackupAndItsFailureAtTheNextStart() {
    writeSettings();
    const QString folder = QDir(desk_->path()).filePath(QStringLiteral("Mentés"));
    UiRecorder recorder;
    auto runProgram = [&] {
        TForm1 form;
        QVERIFY(!form.StartupFailed());
        QCOMPARE(Data->ZCon1->User, deskUser);
        executeAndCommit(Data->ZQ70, {QStringLiteral("UPDATE ATVEVO SET V_UTCA = V_UTCA")}, {});
        recorder.clear();
        form.findChild<QAction*>(QStringLiteral("Kilps1"))->trigger();
    };
    runProgram();
    QCOMPARE(recorder.messageTexts(), QStringList());
    const QStringList made = entries(folder);
    QCOMPARE(made.size(), 1);
    QVERIFY(made.at(0).endsWith(QStringLiteral("_auto.fbk")));

    QVERIFY(QDir(folder).removeRecursively());
    {
        QFile blocker(folder);
        QVERIFY(blocker.open(QIODevice::WriteOnly));
    }
    runProgram();
    QCOMPARE(recorder.messageTexts(), QStringList());
    recorder.clear();
    {
        TForm1 form;
        QCOMPARE(recorder.messages.size(), 1);
        QVERIFY2(recorder.messages.at(0).text.startsWith(
                     QStringLiteral("Az automatikus adatmentés nem sikerült:\n")),
                 qPrintable(recorder.messages.at(0).text));
        QVERIFY(recorder.messages.at(0).text.contains(QStringLiteral("Mentés")));
    }
    recorder.clear();
    {
        TForm1 form;
        QCOMPARE(recorder.messageTexts(), QStringList());
    }
}

QTEST_MAIN(TestServerBackups)
#include "test_server_backups.moc"
