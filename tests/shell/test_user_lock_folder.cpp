// Each user's embedded engine keeps its lock files in a folder of its own, so one user of a computer never
// locks another out of every database; two copies of the program on one file stay safe all the same: the
// second is told that another copy uses it, and the file stays whole. The tests with throwaway normal users
// need root (useradd, runuser) and are skipped without it.

#include "support/test_database.h"
#include "support/ui_recorder.h"

#include "data/connection.h"
#include "data/data_module.h"
#include "data/database_error.h"
#include "data/engine_lock_folder.h"
#include "shell/main_window.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>
#include <csignal>
#include <unistd.h>

using namespace vardelo;

namespace {

QString program() {
    return qEnvironmentVariable("VARDELO_PROGRAM");
}

QString tool() {
    return qEnvironmentVariable("VARDELO_DB_TOOL");
}

// Sets an environment variable (or unsets it, for a null value) for as long as it lives.
class EnvironmentVariable {
public:
    EnvironmentVariable(const char* name, const QString& value)
        : name_(name), wasSet_(qEnvironmentVariableIsSet(name)), old_(qgetenv(name)) {
        if (value.isNull())
            qunsetenv(name);
        else
            qputenv(name, QFile::encodeName(value));
    }
    ~EnvironmentVariable() {
        if (wasSet_)
            qputenv(name_, old_);
        else
            qunsetenv(name_);
    }

private:
    const char* name_;
    bool wasSet_;
    QByteArray old_;
};

bool lockTableIn(const QString& folder) {
    return !QDir(folder).entryList({QStringLiteral("fb_lock_*")}, QDir::Files | QDir::System).isEmpty();
}

// Runs a command and gives its exit code and its output (standard output and error together).
std::pair<int, QString> run(const QString& command, const QStringList& arguments, int timeout = 120000) {
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(command, arguments);
    if (!process.waitForFinished(timeout)) {
        process.kill();
        process.waitForFinished();
        return {-1, QString::fromUtf8(process.readAll()) + QStringLiteral("\n(timed out)")};
    }
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            QString::fromUtf8(process.readAll())};
}

// A throwaway normal user with a home folder of its own, removed again at the end.
class ThrowawayUser {
public:
    ThrowawayUser(const QString& name, const QString& home) : name_(name), home_(home) {
        run(QStringLiteral("userdel"), {QStringLiteral("-r"), name_});
        created_ = run(QStringLiteral("useradd"), {QStringLiteral("-m"), QStringLiteral("-d"), home_,
                                                   QStringLiteral("-s"), QStringLiteral("/bin/sh"), name_})
                       .first == 0;
    }
    ~ThrowawayUser() {
        if (created_)
            run(QStringLiteral("userdel"), {QStringLiteral("-r"), name_});
    }
    bool created() const { return created_; }
    const QString& name() const { return name_; }
    const QString& home() const { return home_; }

    // Runs a shell command line as the user, in its home folder, with a clean environment as a desktop
    // session would have (no FIREBIRD_LOCK, no XDG_RUNTIME_DIR: the cache folder is the fallback), headless.
    std::pair<int, QString> shell(const QString& commandLine, const QStringList& extra = {}) const {
        QStringList arguments{QStringLiteral("-u"),
                              name_,
                              QStringLiteral("--"),
                              QStringLiteral("env"),
                              QStringLiteral("-i"),
                              QStringLiteral("HOME=") + home_,
                              QStringLiteral("PATH=/usr/bin:/bin"),
                              QStringLiteral("QT_QPA_PLATFORM=offscreen")};
        arguments << extra << QStringLiteral("sh") << QStringLiteral("-c")
                  << QStringLiteral("cd \"$HOME\" && ") + commandLine;
        return run(QStringLiteral("runuser"), arguments);
    }

private:
    QString name_;
    QString home_;
    bool created_ = false;
};

bool canMakeUsers() {
    return ::geteuid() == 0 && !QStandardPaths::findExecutable(QStringLiteral("useradd")).isEmpty() &&
           !QStandardPaths::findExecutable(QStringLiteral("runuser")).isEmpty();
}

// The programs copied where every user can run them (the build folder may be closed to others).
QString publicCopies(const QTemporaryDir& dir) {
    const QString bin = dir.filePath(QStringLiteral("bin"));
    QDir().mkpath(bin);
    for (const QString& file : {program(), tool(), QCoreApplication::applicationFilePath()}) {
        const QString copy = QDir(bin).filePath(QFileInfo(file).fileName());
        QFile::copy(file, copy);
        QFile::setPermissions(copy, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner |
                                        QFile::ReadGroup | QFile::ExeGroup | QFile::ReadOther |
                                        QFile::ExeOther);
    }
    QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner |
                                          QFile::ReadGroup | QFile::ExeGroup | QFile::ReadOther |
                                          QFile::ExeOther);
    return bin;
}

} // namespace

class TestUserLockFolder : public QObject {
    Q_OBJECT
private slots:
    void ownFolder_data();
    void ownFolder();
    void setLockFolderIsKept();
    void secondCopyIsRefusedAndTheFileStaysWhole();
    void twoNormalUsersEachCreateAndUseADatabase();
    void refusalNamesTheLockFolder();
    void refusalAsTheUser();
};

void TestUserLockFolder::ownFolder_data() {
    QTest::addColumn<bool>("runtimeFolder");
    QTest::addColumn<bool>("cacheFolder");
    QTest::addColumn<QString>("expected"); // under the temporary folder
    QTest::newRow("the session's runtime folder") << true << true << "run/vardelo-firebird";
    QTest::newRow("else the cache folder it names") << false << true << "cache/vardelo-firebird";
    QTest::newRow("else the home folder's .cache") << false << false << "home/.cache/vardelo-firebird";
}

void TestUserLockFolder::ownFolder() {
    QFETCH(bool, runtimeFolder);
    QFETCH(bool, cacheFolder);
    QFETCH(QString, expected);
    QTemporaryDir dir;
    for (const char* name : {"run", "cache", "home"})
        QDir(dir.path()).mkdir(QString::fromLatin1(name));
    EnvironmentVariable runtime("XDG_RUNTIME_DIR", runtimeFolder ? dir.filePath("run") : QString());
    EnvironmentVariable cache("XDG_CACHE_HOME", cacheFolder ? dir.filePath("cache") : QString());
    EnvironmentVariable home("HOME", dir.filePath("home"));
    EnvironmentVariable lock("FIREBIRD_LOCK", QString());
    QCOMPARE(ownEngineLockFolder(), dir.filePath(expected));

    // Made for its owner alone, and named to the engine.
    QCOMPARE(useOwnEngineLockFolder(), dir.filePath(expected));
    QCOMPARE(qEnvironmentVariable("FIREBIRD_LOCK"), dir.filePath(expected));
    QCOMPARE(engineLockFolder(), dir.filePath(expected));
    QCOMPARE(QFileInfo(dir.filePath(expected)).permissions() & 0x7077,
             QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

void TestUserLockFolder::setLockFolderIsKept() {
    QTemporaryDir dir;
    EnvironmentVariable lock("FIREBIRD_LOCK", dir.filePath(QStringLiteral("sajat")));
    EnvironmentVariable runtime("XDG_RUNTIME_DIR", dir.path());
    QCOMPARE(useOwnEngineLockFolder(), dir.filePath(QStringLiteral("sajat")));
    QCOMPARE(qEnvironmentVariable("FIREBIRD_LOCK"), dir.filePath(QStringLiteral("sajat")));
    QVERIFY(!QFileInfo::exists(dir.filePath(QStringLiteral("vardelo-firebird"))));
}

// The program runs on a database with a lock folder of its own; a second copy, with another lock folder (this
// test process's), is refused with the "another copy uses it" advice. The first one, ended by SIGTERM as a
// logout ends it, leaves the file whole (gfix -v -full finds nothing).
void TestUserLockFolder::secondCopyIsRefusedAndTheFileStaysWhole() {
    // An instrumented first copy is still starting when the lock table appears, and this test's copy would
    // meet it in the middle of its start.
    if (qEnvironmentVariableIsSet("VARDELO_SANITIZED"))
        QSKIP("the first copy's start takes too long under the sanitizers");
    QVERIFY2(QFileInfo(program()).isExecutable(), qPrintable(program()));
    testing::TestDatabase db(true);
    const QString database = db.databasePath();
    delete Data; // the file is the other copy's now
    Data = nullptr;

    QTemporaryDir runtime;
    QProcess first;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.remove(QStringLiteral("FIREBIRD_LOCK"));
    environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime.path());
    environment.insert(QStringLiteral("XDG_DATA_HOME"), runtime.filePath(QStringLiteral("data"))); // its log
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    environment.remove(QStringLiteral("VARDELO_QUIT_WHEN_SHOWN"));
    first.setProcessEnvironment(environment);
    first.setWorkingDirectory(db.folder());
    first.setProcessChannelMode(QProcess::ForwardedChannels);
    first.start(program(), {});
    QVERIFY(first.waitForStarted());
    const QString firstLocks = QDir(runtime.path()).filePath(QStringLiteral("vardelo-firebird"));
    QTRY_VERIFY_WITH_TIMEOUT(lockTableIn(firstLocks), 60000);
    QVERIFY(QDir::cleanPath(engineLockFolder()) != QDir::cleanPath(firstLocks));
    // The lock table appears when the first copy attaches; its start (the schema's check, the lists) goes on
    // a while after that, and a second engine knocking meanwhile ends the first copy's start. The copy on the
    // clerk's desk is the one that has started, so that is the case here.
    QTest::qWait(10000);
    QVERIFY(first.state() == QProcess::Running);

    {
        UiRecorder recorder;
        TForm1 second;
        QVERIFY(second.StartupFailed());
        QCOMPARE(recorder.messages.size(), 1);
        QVERIFY2(recorder.messages[0].reason.contains(QStringLiteral("Zárja be a másik példányt")),
                 qPrintable(recorder.messages[0].reason));
    }

    ::kill(pid_t(first.processId()), SIGTERM);
    QVERIFY(first.waitForFinished(60000));
    QCOMPARE(first.exitStatus(), QProcess::NormalExit);
    QCOMPARE(first.exitCode(), 0);
    QVERIFY(!lockTableIn(firstLocks));

    QTemporaryDir gfixLocks;
    QProcess check;
    QProcessEnvironment checkEnvironment = QProcessEnvironment::systemEnvironment();
    checkEnvironment.insert(QStringLiteral("FIREBIRD_LOCK"), gfixLocks.path());
    check.setProcessEnvironment(checkEnvironment);
    check.setProcessChannelMode(QProcess::MergedChannels);
    check.start(QStringLiteral("gfix"), {QStringLiteral("-v"), QStringLiteral("-full"),
                                         QStringLiteral("-user"), QStringLiteral("SYSDBA"), database});
    QVERIFY(check.waitForFinished(120000));
    const QString report = QString::fromUtf8(check.readAll());
    QCOMPARE(check.exitCode(), 0);
    QVERIFY2(report.trimmed().isEmpty(), qPrintable(report));
}

// Two normal users of one computer, one after the other, each make a database with the tool and open it with
// the program up to its main window: neither depends on a lock folder of the other (or of the firebird user).
void TestUserLockFolder::twoNormalUsersEachCreateAndUseADatabase() {
    if (!canMakeUsers())
        QSKIP("needs root, useradd and runuser to make throwaway users");
    // The throwaway users' processes do not get the sanitizers' options (nor read their suppressions), so the
    // engine's own leaks at exit would fail them.
    if (qEnvironmentVariableIsSet("VARDELO_SANITIZED"))
        QSKIP("the sanitizers' options do not reach the throwaway users' processes");
    QTemporaryDir dir;
    const QString bin = publicCopies(dir);
    for (const char* name : {"vardeloteszt1", "vardeloteszt2"}) {
        const ThrowawayUser user(QString::fromLatin1(name), dir.filePath(QString::fromLatin1(name)));
        QVERIFY2(user.created(), name);
        const auto [created, toolOutput] = user.shell(bin + QStringLiteral("/vardelo-db --demo du2010.fdb"));
        QVERIFY2(created == 0, qPrintable(toolOutput));
        const auto [started, caption] =
            user.shell(bin + QStringLiteral("/vardelo"), {QStringLiteral("VARDELO_QUIT_WHEN_SHOWN=1")});
        QVERIFY2(started == 0, qPrintable(caption));
        QVERIFY2(caption.contains(QStringLiteral("Felvásárlási jegy -  Verzió: ")), qPrintable(caption));
        // The engine's locks were the user's own, for the user alone.
        const QFileInfo locks(QDir(user.home()).filePath(QStringLiteral(".cache/vardelo-firebird")));
        QVERIFY(locks.isDir());
        QCOMPARE(locks.owner(), user.name());
        QCOMPARE(locks.permissions() & 0x0077, QFile::Permissions());
    }
}

// A lock folder the user cannot use (another user's): the advice names the folder and why, never a
// read-only database file.
void TestUserLockFolder::refusalNamesTheLockFolder() {
    if (!canMakeUsers())
        QSKIP("needs root, useradd and runuser to make throwaway users");
    if (qEnvironmentVariableIsSet("VARDELO_SANITIZED"))
        QSKIP("the sanitizers' options do not reach the throwaway users' processes");
    QTemporaryDir dir;
    const QString bin = publicCopies(dir);
    const ThrowawayUser owner(QStringLiteral("vardeloteszt1"), dir.filePath(QStringLiteral("egyik")));
    const ThrowawayUser other(QStringLiteral("vardeloteszt2"), dir.filePath(QStringLiteral("masik")));
    QVERIFY(owner.created() && other.created());
    const QString foreign = QDir(owner.home()).filePath(QStringLiteral("zarak"));
    QVERIFY(owner.shell(QStringLiteral("mkdir -m 700 zarak")).first == 0);
    QVERIFY(other.shell(bin + QStringLiteral("/vardelo-db du2010.fdb")).first == 0);
    const auto [result, output] =
        other.shell(QStringLiteral("VARDELO_LOCK_CHILD=1 %1/%2 refusalAsTheUser")
                        .arg(bin, QFileInfo(QCoreApplication::applicationFilePath()).fileName()),
                    {QStringLiteral("FIREBIRD_LOCK=") + foreign});
    QVERIFY2(result == 0, qPrintable(output));
    QVERIFY2(
        output.contains(QStringLiteral("ADVICE: Az adatbázis-kezelő zárolási mappája (%1) nem használható: "
                                       "nincs hozzá jogosultsága")
                            .arg(foreign)),
        qPrintable(output));
    QVERIFY2(!output.contains(QStringLiteral("nem írható")), qPrintable(output));
}

// Run by refusalNamesTheLockFolder as the other user, in its home folder: opens the database there and prints
// the start-up advice.
void TestUserLockFolder::refusalAsTheUser() {
    if (qEnvironmentVariableIsEmpty("VARDELO_LOCK_CHILD"))
        QSKIP("run as a throwaway user by refusalNamesTheLockFolder");
    TConnection connection(QStringLiteral("ZCon1"));
    connection.DatabaseName = QDir::current().absoluteFilePath(QStringLiteral("du2010.fdb"));
    connection.User = QStringLiteral("SYSDBA");
    connection.CharacterSet = QStringLiteral("WIN1250");
    try {
        connection.Connect();
        QFAIL("opened with a lock folder of another user");
    } catch (const EDatabaseError& error) {
        std::printf("ADVICE: %s\n", qPrintable(startupFailureAdvice(error)));
        std::fflush(stdout);
    }
}

QTEST_MAIN(TestUserLockFolder)
#include "test_user_lock_folder.moc"
