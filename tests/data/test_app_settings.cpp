// Where the program's settings come from: the working folder's vardelo.ini wins over the program folder's,
// the environment over both, and unreadable values keep their defaults.
#include "data/app_settings.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

using namespace vardelo;

namespace {

void writeIni(const QString& folder, const QByteArray& text) {
    QFile file(folder + QStringLiteral("/vardelo.ini"));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(text);
}

} // namespace

class TestAppSettings : public QObject {
    Q_OBJECT
private slots:
    void init() { qunsetenv("VARDELO_DATABASE"); }
    void cleanup() { qunsetenv("VARDELO_DATABASE"); }

    void defaultsWithoutAFile() {
        QTemporaryDir work, program;
        const AppSettings s = loadAppSettings(work.path(), program.path());
        QCOMPARE(s.databaseName, QStringLiteral("du2010.fdb"));
        QCOMPARE(s.backupsKept, 10);
        QVERIFY(s.userFolder.isEmpty());
        QVERIFY(s.backupFolder.isEmpty());
        QVERIFY(s.settingsFile.isEmpty());
    }

    void workingFolderFirstThenProgramFolder() {
        QTemporaryDir work, program;
        writeIni(program.path(), "[Adatbazis]\nNev=program.fdb\n");
        QCOMPARE(loadAppSettings(work.path(), program.path()).databaseName, QStringLiteral("program.fdb"));
        writeIni(work.path(), "[Adatbazis]\nNev=szerver/3051:/adat/du2010.fdb\n[Mentes]\nMegtartott=3\n"
                              "Mappa=/mnt/mentés\n[Mappa]\nMunkamappa=/home/kati/Vardelo\n");
        const AppSettings s = loadAppSettings(work.path(), program.path());
        QCOMPARE(s.databaseName, QStringLiteral("szerver/3051:/adat/du2010.fdb"));
        QCOMPARE(s.backupsKept, 3);
        QCOMPARE(s.backupFolder, QStringLiteral("/mnt/mentés"));
        QCOMPARE(s.userFolder, QStringLiteral("/home/kati/Vardelo"));
        QCOMPARE(s.settingsFile, work.path() + QStringLiteral("/vardelo.ini"));
        QVERIFY(s.databaseUser.isEmpty());
        QVERIFY(s.databasePassword.isEmpty());
    }

    // A password others can read is warned about in the log, once; a file of its owner alone, or one
    // without a password, is not.
    void passwordReadableByOthersIsLogged() {
        QTemporaryDir work;
        const QString ini = work.path() + QStringLiteral("/vardelo.ini");
        const QRegularExpression warning(QStringLiteral("vardelo\\.ini holds the database password and "
                                                        "others can read it"));
        QTest::failOnWarning(warning);
        writeIni(work.path(), "[Adatbazis]\nNev=szerver:vardelo\n");
        QVERIFY(QFile::setPermissions(ini, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadOther));
        loadAppSettings(work.path(), QString());
        writeIni(work.path(), "[Adatbazis]\nNev=szerver:vardelo\nJelszo=titok\n");
        QVERIFY(QFile::setPermissions(ini, QFile::ReadOwner | QFile::WriteOwner));
        QCOMPARE(loadAppSettings(work.path(), QString()).databasePassword, QStringLiteral("titok"));

        QVERIFY(QFile::setPermissions(ini, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup));
        QTest::ignoreMessage(QtWarningMsg, warning);
        loadAppSettings(work.path(), QString());
        // Once is enough.
        loadAppSettings(work.path(), QString());
    }

    void serverUserAndPassword() {
        QTemporaryDir work;
        writeIni(work.path(), "[Adatbazis]\nNev=szerver:vardelo\nFelhasznalo= KATI \nJelszo=titok\n");
        const AppSettings s = loadAppSettings(work.path(), QString());
        QCOMPARE(s.databaseUser, QStringLiteral("KATI"));
        QCOMPARE(s.databasePassword, QStringLiteral("titok"));
    }

    void environmentOverridesTheFile() {
        QTemporaryDir work;
        writeIni(work.path(), "[Adatbazis]\nNev=ini.fdb\n");
        qputenv("VARDELO_DATABASE", "localhost:vardelo");
        QCOMPARE(loadAppSettings(work.path(), QString()).databaseName, QStringLiteral("localhost:vardelo"));
    }

    void unreadableValuesKeepTheirDefaults() {
        QTemporaryDir work;
        writeIni(work.path(), "[Adatbazis]\nNev=   \n[Mentes]\nMegtartott=-2\n");
        const AppSettings s = loadAppSettings(work.path(), QString());
        QCOMPARE(s.databaseName, QStringLiteral("du2010.fdb"));
        QCOMPARE(s.backupsKept, 10);
    }
};

QTEST_GUILESS_MAIN(TestAppSettings)
#include "test_app_settings.moc"
