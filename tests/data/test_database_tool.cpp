// The tool vardelo-db: its command line, and a database file that appears under its name only when complete.

#include "data/database_creator.h"
#include "data/database_error.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QtTest>
#include <csignal>
#include <fcntl.h>
#include <sys/types.h>
#include <unistd.h>

using namespace vardelo;

namespace {

QStringList folderEntries(const QString& folder) {
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                                  QDir::Name);
}

QString tool() {
    return qEnvironmentVariable("VARDELO_DB_TOOL");
}

} // namespace

class TestDatabaseTool : public QObject {
    Q_OBJECT
private slots:
    void arguments_data() {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<bool>("demo");
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("error");
        QTest::newRow("nothing") << QStringList() << false << "du2010.fdb"
                                 << "";
        QTest::newRow("demo") << QStringList{"--demo"} << true << "du2010.fdb"
                              << "";
        QTest::newRow("demo and file") << QStringList{"--demo", "x.fdb"} << true << "x.fdb"
                                       << "";
        QTest::newRow("file and demo") << QStringList{"x.fdb", "--demo"} << true << "x.fdb"
                                       << "";
        QTest::newRow("mistyped option") << QStringList{"--dmeo"} << false << "du2010.fdb"
                                         << "Ismeretlen kapcsoló: --dmeo";
        QTest::newRow("single dash option") << QStringList{"-demo", "x.fdb"} << false << "du2010.fdb"
                                            << "Ismeretlen kapcsoló: -demo";
        QTest::newRow("two files") << QStringList{"a.fdb", "b.fdb"} << false << "a.fdb"
                                   << "Csak egy adatbázisfájl adható meg: b.fdb";
        QTest::newRow("empty name") << QStringList{""} << false << "du2010.fdb"
                                    << "Üres fájlnév.";
        QTest::newRow("name with a dash after --") << QStringList{"--", "-x.fdb"} << false << "-x.fdb"
                                                   << "";
        QTest::newRow("backup without destination") << QStringList{"--backup", "x.fdb"} << false << "x.fdb"
                                                    << "A --backup után az adatbázis és a mentés helye kell.";
        QTest::newRow("restore without names") << QStringList{"--restore"} << false << "x.fdb"
                                               << "A --restore után a mentés és az új adatbázis neve kell.";
        QTest::newRow("backup and demo") << QStringList{"--demo", "--backup", "x.fdb", "m"} << false << ""
                                         << "A --demo csak új adatbázishoz adható meg.";
        QTest::newRow("backup and restore")
            << QStringList{"--backup", "x.fdb", "m", "--restore", "m", "y.fdb"} << false << ""
            << "A --restore mellett más művelet vagy fájl nem adható meg.";
        QTest::newRow("backup and a third name") << QStringList{"--backup", "x.fdb", "m", "z"} << false << ""
                                                 << "Csak egy adatbázisfájl adható meg: z";
    }
    void arguments() {
        QFETCH(QStringList, arguments);
        QFETCH(bool, demo);
        QFETCH(QString, path);
        QFETCH(QString, error);
        const CreatorArguments parsed = parseCreatorArguments(arguments);
        QCOMPARE(parsed.error, error);
        if (error.isEmpty()) {
            QCOMPARE(parsed.demo, demo);
            QCOMPARE(parsed.path, path);
            QCOMPARE(parsed.action, CreatorArguments::Action::Create);
        }
    }

    void backupAndRestoreArguments() {
        const CreatorArguments backup = parseCreatorArguments({"--backup", "du2010.fdb", "/mnt/mentes"});
        QCOMPARE(backup.error, QString());
        QCOMPARE(backup.action, CreatorArguments::Action::Backup);
        QCOMPARE(backup.path, QStringLiteral("du2010.fdb"));
        QCOMPARE(backup.backup, QStringLiteral("/mnt/mentes"));
        const CreatorArguments restore = parseCreatorArguments({"--restore", "m.fbk", "uj.fdb"});
        QCOMPARE(restore.error, QString());
        QCOMPARE(restore.action, CreatorArguments::Action::Restore);
        QCOMPARE(restore.path, QStringLiteral("uj.fdb"));
        QCOMPARE(restore.backup, QStringLiteral("m.fbk"));
        QCOMPARE(restore.user, QString());
        // The service's user; its password never stands on the command line.
        const CreatorArguments asKati =
            parseCreatorArguments({"--user", "KATI", "--backup", "szerver:vardelo", "Mentés"});
        QCOMPARE(asKati.error, QString());
        QCOMPARE(asKati.user, QStringLiteral("KATI"));
        QCOMPARE(asKati.path, QStringLiteral("szerver:vardelo"));
        QCOMPARE(parseCreatorArguments({"--backup", "x.fdb", "m", "--user"}).error,
                 QStringLiteral("A --user után a felhasználó neve kell."));
        QCOMPARE(parseCreatorArguments({"--user", "KATI", "x.fdb"}).error,
                 QStringLiteral("A --user csak a --backup és a --restore mellett adható meg."));
        QCOMPARE(parseCreatorArguments({"--password", "titok", "--backup", "x.fdb", "m"}).error,
                 QStringLiteral("Ismeretlen kapcsoló: --password"));
    }

    // File names reach the engine as UTF-8 whatever the locale: a database in "Számlák", its backup into
    // "Mentés" and a restore beside it, with LANG=C and with no locale at all.
    void toolWorksInEveryLocale_data() {
        QTest::addColumn<QString>("lang");
        QTest::newRow("LANG=C") << "C";
        QTest::newRow("LANG unset") << "";
    }
    void toolWorksInEveryLocale() {
        QFETCH(QString, lang);
        QVERIFY2(QFileInfo(tool()).isExecutable(), qPrintable(tool()));
        QTemporaryDir dir;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        for (const char* name : {"LANG", "LANGUAGE", "LC_ALL", "LC_CTYPE", "LC_MESSAGES"})
            environment.remove(name);
        if (!lang.isEmpty())
            environment.insert("LANG", lang);
        auto run = [&](const QStringList& arguments, QString* out = nullptr) {
            QProcess p;
            p.setProcessEnvironment(environment);
            p.setWorkingDirectory(dir.path());
            p.start(tool(), arguments);
            if (!p.waitForFinished(120000))
                return -1;
            const QString output = QString::fromUtf8(p.readAllStandardOutput() + p.readAllStandardError());
            if (out)
                *out = output;
            else if (p.exitCode() != 0)
                qWarning("%s", qPrintable(output));
            return p.exitCode();
        };
        QVERIFY(QDir(dir.path()).mkdir("Számlák"));
        QCOMPARE(run({"--demo", "Számlák/du2010.fdb"}), 0);
        QCOMPARE(run({"--backup", "Számlák/du2010.fdb", "Mentés"}), 0);
        const QStringList backups = folderEntries(QDir(dir.path()).filePath("Mentés"));
        QCOMPARE(backups.size(), 1);
        const QString backup = QDir(dir.path()).filePath("Mentés/" + backups.at(0));
        QCOMPARE(QFileInfo(backup).permissions() & ~(QFile::ReadUser | QFile::WriteUser),
                 QFile::ReadOwner | QFile::WriteOwner);
        QString out;
        QCOMPARE(run({"--restore", backup, "Számlák/visszatöltött.fdb"}, &out), 0);
        QVERIFY2(out.contains("OSTERMELO") && out.contains("Számlák/visszatöltött.fdb"), qPrintable(out));
        QCOMPARE(folderEntries(QDir(dir.path()).filePath("Számlák")),
                 (QStringList{"du2010.fdb", "visszatöltött.fdb"}));
    }

    // A cut backup is refused at once with the program's words, while the tool's standard input stays open
    // and unread: the engine never stops to ask for the rest of the file.
    void toolRefusesACutBackupAtOnce() {
        QVERIFY2(QFileInfo(tool()).isExecutable(), qPrintable(tool()));
        QTemporaryDir dir;
        QProcess create;
        create.setWorkingDirectory(dir.path());
        create.start(tool(), {"--demo", "du2010.fdb"});
        QVERIFY(create.waitForFinished(120000) && create.exitCode() == 0);
        create.start(tool(), {"--backup", "du2010.fdb", "m.fbk"});
        QVERIFY(create.waitForFinished(120000) && create.exitCode() == 0);
        QFile backup(QDir(dir.path()).filePath("m.fbk"));
        QVERIFY(backup.open(QIODevice::ReadWrite));
        QVERIFY(backup.resize(backup.size() / 2));
        backup.close();

        QProcess restore;
        restore.setWorkingDirectory(dir.path());
        restore.start(tool(), {"--restore", "m.fbk", "uj.fdb"});
        QVERIFY(restore.waitForStarted());
        // Its standard input is a pipe that is neither written nor closed.
        QVERIFY2(restore.waitForFinished(60000), "the restore waits for input");
        QCOMPARE(restore.exitCode(), 1);
        const QString out =
            QString::fromUtf8(restore.readAllStandardOutput() + restore.readAllStandardError());
        QVERIFY2(out.startsWith("A visszatöltés nem sikerült. A mentés hiányos vagy sérült."),
                 qPrintable(out));
        QVERIFY(!out.contains("Press return"));
        QCOMPARE(folderEntries(dir.path()), (QStringList{"du2010.fdb", "m.fbk"}));
    }

    // The tool backs up into a folder (named with the date) or a file, restores into a new file and shows the
    // row counts; a second restore over the new file, or a file that is not a backup, fails with exit code 1.
    void toolBacksUpAndRestores() {
        QVERIFY2(QFileInfo(tool()).isExecutable(), qPrintable(tool()));
        QTemporaryDir dir;
        auto run = [&](const QStringList& arguments, QString* out = nullptr) {
            QProcess p;
            p.setWorkingDirectory(dir.path());
            p.start(tool(), arguments);
            if (!p.waitForFinished(120000))
                return -1;
            if (out)
                *out = QString::fromUtf8(p.readAllStandardOutput() + p.readAllStandardError());
            return p.exitCode();
        };
        QCOMPARE(run({"--demo", "du2010.fdb"}), 0);
        QVERIFY(QDir(dir.path()).mkdir("Mentés"));
        QString out;
        QCOMPARE(run({"--backup", "du2010.fdb", "Mentés"}, &out), 0);
        const QStringList backups = folderEntries(QDir(dir.path()).filePath("Mentés"));
        QCOMPARE(backups.size(), 1);
        QVERIFY2(
            QRegularExpression("^du2010_\\d{4}-\\d\\d-\\d\\d_\\d{4}\\.fbk$").match(backups.at(0)).hasMatch(),
            qPrintable(backups.at(0)));
        QVERIFY(out.contains("Elkészült a mentés"));
        // A folder that does not exist yet is made; a second backup in the same minute gets a name of its
        // own.
        QCOMPARE(run({"--backup", "du2010.fdb", "Uj mappa"}), 0);
        QCOMPARE(run({"--backup", "du2010.fdb", "Uj mappa/"}), 0);
        QCOMPARE(folderEntries(QDir(dir.path()).filePath("Uj mappa")).size(), 2);
        QCOMPARE(run({"--backup", "du2010.fdb", "masolat.fbk"}), 0);
        QCOMPARE(run({"--backup", "du2010.fdb", "masolat.fbk"}, &out), 1);
        QVERIFY(out.contains("A fájl már létezik"));

        QCOMPARE(run({"--restore", "masolat.fbk", "uj.fdb"}, &out), 0);
        QVERIFY2(out.contains("FJSOR") && out.contains("OSTERMELO"), qPrintable(out));
        QCOMPARE(run({"--restore", "masolat.fbk", "uj.fdb"}, &out), 1);
        QFile text(QDir(dir.path()).filePath("level.fbk"));
        QVERIFY(text.open(QIODevice::WriteOnly));
        text.write(QByteArray("nem mentés\n").repeated(100));
        text.close();
        QCOMPARE(run({"--restore", "level.fbk", "masik.fdb"}, &out), 1);
        QVERIFY2(out.contains("A visszatöltés nem sikerült."), qPrintable(out));
        QCOMPARE(folderEntries(dir.path()),
                 (QStringList{"Mentés", "Uj mappa", "du2010.fdb", "level.fbk", "masolat.fbk", "uj.fdb"}));
    }

    void createdCompleteUnderItsName() {
        QTemporaryDir dir;
        const QString path = QDir(dir.path()).filePath("du2010.fdb");
        QString temporary;
        createDatabaseFile(path, false, [&](const QString& name) { temporary = name; });
        QCOMPARE(QFileInfo(temporary).absolutePath(), QFileInfo(path).absolutePath());
        QVERIFY(temporary != path);
        QVERIFY(QFileInfo(path).isFile());
        QCOMPARE(folderEntries(dir.path()), QStringList{"du2010.fdb"});
    }

    void existingOrLinkedNameRefused_data() {
        QTest::addColumn<QString>("kind");
        QTest::newRow("existing file") << "file";
        QTest::newRow("dangling link") << "dangling";
        QTest::newRow("link to a file") << "link";
    }
    void existingOrLinkedNameRefused() {
        QFETCH(QString, kind);
        QTemporaryDir dir;
        const QString path = QDir(dir.path()).filePath("du2010.fdb");
        const QString elsewhere = QDir(dir.path()).filePath("elsewhere.fdb");
        if (kind == "file") {
            QFile f(path);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write("keep");
        } else {
            if (kind == "link") {
                QFile f(elsewhere);
                QVERIFY(f.open(QIODevice::WriteOnly));
                f.write("keep");
            }
            QVERIFY(QFile::link(elsewhere, path));
        }
        const QStringList before = folderEntries(dir.path());
        QVERIFY_THROWS_EXCEPTION(EDatabaseError, createDatabaseFile(path, false));
        QCOMPARE(folderEntries(dir.path()), before);
        if (kind == "dangling")
            QVERIFY(!QFileInfo::exists(elsewhere));
        else {
            QFile f(kind == "file" ? path : elsewhere);
            QVERIFY(f.open(QIODevice::ReadOnly));
            QCOMPARE(f.readAll(), QByteArray("keep"));
        }
    }

    // The tool itself: a mistyped option or a second name makes nothing; an interrupted run leaves nothing
    // under the name, and no unfinished file either.
    void toolRefusesBadCommandLines_data() {
        QTest::addColumn<QStringList>("arguments");
        QTest::newRow("mistyped option") << QStringList{"--dmeo"};
        QTest::newRow("two names") << QStringList{"a.fdb", "b.fdb"};
        QTest::newRow("backup without destination") << QStringList{"--backup", "a.fdb"};
    }
    void toolRefusesBadCommandLines() {
        QFETCH(QStringList, arguments);
        QVERIFY2(QFileInfo(tool()).isExecutable(), qPrintable(tool()));
        QTemporaryDir dir;
        QProcess p;
        p.setWorkingDirectory(dir.path());
        p.start(tool(), arguments);
        QVERIFY(p.waitForFinished(60000));
        QCOMPARE(p.exitCode(), 2);
        QVERIFY(QString::fromUtf8(p.readAllStandardError()).contains("Használat: vardelo-db"));
        QCOMPARE(folderEntries(dir.path()), QStringList());
    }

    // The tool writes each stage it ends to its output at once. Given an output that is full (a pipe nobody
    // reads, a terminal paused with Ctrl+S) it waits there with its unfinished file made, and is interrupted
    // while it waits: every time in the middle of its work, never after it.
    void interruptedToolLeavesNothing() {
        QVERIFY2(QFileInfo(tool()).isExecutable(), qPrintable(tool()));
        QTemporaryDir dir;
        int output[2];
        QCOMPARE(::pipe(output), 0);
        const auto closeOutput = qScopeGuard([&] {
            ::close(output[0]);
            ::close(output[1]);
        });
        ::fcntl(output[1], F_SETFL, O_NONBLOCK);
        const QByteArray filler(4096, 'x');
        while (::write(output[1], filler.constData(), size_t(filler.size())) > 0) {
        }
        ::fcntl(output[1], F_SETFL, 0);

        QProcess p;
        p.setWorkingDirectory(dir.path());
        // A lock folder of its own: a process stopped inside the engine can leave the shared one's mutex
        // held, and every other embedded attach on the machine would then wait for it.
        QTemporaryDir lockDir;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("FIREBIRD_LOCK", lockDir.path());
        p.setProcessEnvironment(environment);
        const int blocked = output[1];
        p.setChildProcessModifier([blocked] { ::dup2(blocked, STDOUT_FILENO); });
        p.start(tool(), {"--demo", "du2010.fdb"});
        QVERIFY(p.waitForStarted());
        QTRY_VERIFY_WITH_TIMEOUT(folderEntries(dir.path()).size() == 1 &&
                                     folderEntries(dir.path()).first().endsWith(".part"),
                                 60000);
        QCOMPARE(p.state(), QProcess::Running);
        ::kill(pid_t(p.processId()), SIGINT);
        QVERIFY(p.waitForFinished(60000));
        QCOMPARE(p.exitStatus(), QProcess::NormalExit);
        QCOMPARE(p.exitCode(), 128 + SIGINT);
        QCOMPARE(folderEntries(dir.path()), QStringList());
    }
};

QTEST_MAIN(TestDatabaseTool)
#include "test_database_tool.moc"
