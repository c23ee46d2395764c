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

    // The scale exists only with its section; each value read, or its default kept when it cannot be read.
    void scaleSection_data() {
        QTest::addColumn<QByteArray>("ini");
        QTest::addColumn<bool>("present");
        QTest::addColumn<QString>("port");
        QTest::addColumn<int>("baudRate");
        QTest::addColumn<int>("dataBits");
        QTest::addColumn<char>("parity");
        QTest::addColumn<int>("stopBits");
        QTest::addColumn<int>("format");
        QTest::newRow("no section") << QByteArray("[Adatbazis]\nNev=du2010.fdb\n") << false << QString() << 0
                                    << 0 << 'N' << 0 << 0;
        QTest::newRow("port only") << QByteArray("[Merleg]\nPort=/dev/ttyUSB0\n") << true << "/dev/ttyUSB0"
                                   << 9600 << 8 << 'N' << 1 << int(ScaleFormat::Comma);
        QTest::newRow("every value")
            << QByteArray("[Merleg]\nPort= /dev/ttyUSB1 \nSebesseg=2400\nAdatbit=7\nParitas=e\nStopbit=2\n"
                          "Formatum=Toledo\n")
            << true << "/dev/ttyUSB1" << 2400 << 7 << 'E' << 2 << int(ScaleFormat::Toledo);
        QTest::newRow("plain number") << QByteArray("[Merleg]\nPort=COM1\nParitas=O\nFormatum=szam\n") << true
                                      << "COM1" << 9600 << 8 << 'O' << 1 << int(ScaleFormat::Plain);
        QTest::newRow("unreadable values")
            << QByteArray("[Merleg]\nPort=/dev/ttyS0\nSebesseg=gyors\nAdatbit=9\nParitas=X\nStopbit=3\n"
                          "Formatum=ismeretlen\n")
            << true << "/dev/ttyS0" << 9600 << 8 << 'N' << 1 << int(ScaleFormat::Comma);
    }

    void scaleSection() {
        QFETCH(QByteArray, ini);
        QFETCH(bool, present);
        QTemporaryDir work;
        writeIni(work.path(), ini);
        const AppSettings s = loadAppSettings(work.path(), QString());
        QCOMPARE(s.scale.has_value(), present);
        if (!present)
            return;
        QTEST(s.scale->port, "port");
        QTEST(s.scale->baudRate, "baudRate");
        QTEST(s.scale->dataBits, "dataBits");
        QTEST(s.scale->parity, "parity");
        QTEST(s.scale->stopBits, "stopBits");
        QTEST(int(s.scale->format), "format");
    }
};

QTEST_GUILESS_MAIN(TestAppSettings)
#include "test_app_settings.moc"
