// Which database names reach the engine as they are and which are files in the working folder.
#include "data/connection.h"

#include <QtTest>

using namespace vardelo;

Q_DECLARE_METATYPE(vardelo::DatabaseNameKind)

class TestConnectionNames : public QObject {
    Q_OBJECT
private slots:
    void resolution_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<DatabaseNameKind>("kind");
        QTest::addColumn<QString>("resolved");
        const auto server = DatabaseNameKind::Server;
        const auto file = DatabaseNameKind::File;
        const auto alias = DatabaseNameKind::Alias;
        auto row = [](const char* tag, const QString& name, DatabaseNameKind kind, const QString& resolved) {
            QTest::newRow(tag) << name << kind << resolved;
        };
        // A server's names, unchanged.
        row("host:path", "szerver:/adat/du2010.fdb", server, "szerver:/adat/du2010.fdb");
        row("host/port:path", "server/3051:/data/x.fdb", server, "server/3051:/data/x.fdb");
        row("host/service:path", "server/gds_db:/data/x.fdb", server, "server/gds_db:/data/x.fdb");
        row("host:alias", "localhost:vardelo", server, "localhost:vardelo");
        row("host:windows path", "iroda:C:\\DU2010\\du2010.fdb", server, "iroda:C:\\DU2010\\du2010.fdb");
        row("ip:path", "192.168.1.10:/adat/du2010.fdb", server, "192.168.1.10:/adat/du2010.fdb");
        row("ip/port:path", "127.0.0.1/40123:/tmp/x/du2010.fdb", server, "127.0.0.1/40123:/tmp/x/du2010.fdb");
        row("ipv6", "[::1]/3051:/adat/x.fdb", server, "[::1]/3051:/adat/x.fdb");
        row("inet url", "inet://szerver:3051/adat/du2010.fdb", server, "inet://szerver:3051/adat/du2010.fdb");
        row("inet alias", "inet://szerver/vardelo", server, "inet://szerver/vardelo");
        row("inet4", "inet4://10.0.0.2/vardelo", server, "inet4://10.0.0.2/vardelo");
        row("inet6", "inet6://[::1]:3051/adat/x.fdb", server, "inet6://[::1]:3051/adat/x.fdb");
        row("xnet", "xnet://C:\\DU2010\\du2010.fdb", server, "xnet://C:\\DU2010\\du2010.fdb");
        row("xnet upper case", "XNET://vardelo", server, "XNET://vardelo");
        row("wnet", "wnet://szerver/vardelo", server, "wnet://szerver/vardelo");
        row("unc", "\\\\szerver\\adat\\du2010.fdb", server, "\\\\szerver\\adat\\du2010.fdb");
        // A bare alias: no folder, no extension.
        row("alias", "vardelo", alias, "vardelo");
        row("alias with digits", "du2010", alias, "du2010");
        // Files: relative ones in the working folder.
        row("default", "du2010.fdb", file, "/munka/du2010.fdb");
        row("gdb", "regi.gdb", file, "/munka/regi.gdb");
        row("other extension", "adatok.db", file, "/munka/adatok.db");
        row("subfolder", "adat/du2010.fdb", file, "/munka/adat/du2010.fdb");
        row("dot folder", "./du2010.fdb", file, "/munka/du2010.fdb");
        row("parent folder", "../kozos/du2010.fdb", file, "/kozos/du2010.fdb");
        row("absolute", "/srv/vardelo/du2010.fdb", file, "/srv/vardelo/du2010.fdb");
        row("path with port-like folder", "adat/3051/x.fdb", file, "/munka/adat/3051/x.fdb");
        row("two folders, then a colon", "adat/régi/x:y.fdb", file, "/munka/adat/régi/x:y.fdb");
        row("file with blank", "Vardelo adat.fdb", file, "/munka/Vardelo adat.fdb");
    }

    void resolution() {
        QFETCH(QString, name);
        QFETCH(DatabaseNameKind, kind);
        QFETCH(QString, resolved);
        QCOMPARE(databaseNameKind(name), kind);
        QCOMPARE(resolvedDatabaseName(name, QStringLiteral("/munka")), resolved);
    }

    // A drive-letter path is a file, never a server called "c".
    void driveLetterIsNotAServer() {
        QCOMPARE(databaseNameKind(QStringLiteral("c:\\DU2010\\du2010.fdb")), DatabaseNameKind::File);
        QCOMPARE(databaseNameKind(QStringLiteral("C:/DU2010/du2010.fdb")), DatabaseNameKind::File);
    }

    void connectionTakesTheSettings() {
        TConnection connection(QStringLiteral("ZCon1"));
        AppSettings settings;
        settings.databaseName = QStringLiteral("server/3051:/data/x.fdb");
        connection.ApplySettings(settings);
        QCOMPARE(connection.ResolvedDatabaseName(), QStringLiteral("server/3051:/data/x.fdb"));
        QCOMPARE(connection.User, QStringLiteral("SYSDBA"));
        settings.databaseUser = QStringLiteral("KATI");
        settings.databasePassword = QStringLiteral("titok");
        connection.ApplySettings(settings);
        QCOMPARE(connection.User, QStringLiteral("KATI"));
        QCOMPARE(connection.Password, QStringLiteral("titok"));
    }
};

QTEST_GUILESS_MAIN(TestConnectionNames)
#include "test_connection_names.moc"
