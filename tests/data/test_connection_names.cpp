// Which database names reach the engine as they are and which are files in the working folder; and, read the
// same way, which service manager a backup of each asks and what it names the database there.
#include "data/connection.h"
#include "data/database_location.h"

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
        QTest::addColumn<QString>("serviceManager");
        QTest::addColumn<QString>("onEngine");
        const auto server = DatabaseNameKind::Server;
        const auto file = DatabaseNameKind::File;
        const auto alias = DatabaseNameKind::Alias;
        auto row = [](const char* tag, const QString& name, DatabaseNameKind kind, const QString& resolved,
                      const QString& serviceManager, const QString& onEngine) {
            QTest::newRow(tag) << name << kind << resolved << serviceManager << onEngine;
        };
        // A server's names, unchanged; the service manager is the same server's, reached the same way.
        row("host:path", "szerver:/adat/du2010.fdb", server, "szerver:/adat/du2010.fdb",
            "szerver:service_mgr", "/adat/du2010.fdb");
        row("host/port:path", "server/3051:/data/x.fdb", server, "server/3051:/data/x.fdb",
            "server/3051:service_mgr", "/data/x.fdb");
        row("host/service:path", "server/gds_db:/data/x.fdb", server, "server/gds_db:/data/x.fdb",
            "server/gds_db:service_mgr", "/data/x.fdb");
        row("host:alias", "localhost:vardelo", server, "localhost:vardelo", "localhost:service_mgr",
            "vardelo");
        row("host:windows path", "iroda:C:\\DU2010\\du2010.fdb", server, "iroda:C:\\DU2010\\du2010.fdb",
            "iroda:service_mgr", "C:\\DU2010\\du2010.fdb");
        row("ip:path", "192.168.1.10:/adat/du2010.fdb", server, "192.168.1.10:/adat/du2010.fdb",
            "192.168.1.10:service_mgr", "/adat/du2010.fdb");
        row("ip/port:path", "127.0.0.1/40123:/tmp/x/du2010.fdb", server, "127.0.0.1/40123:/tmp/x/du2010.fdb",
            "127.0.0.1/40123:service_mgr", "/tmp/x/du2010.fdb");
        row("ipv6", "[::1]/3051:/adat/x.fdb", server, "[::1]/3051:/adat/x.fdb", "[::1]/3051:service_mgr",
            "/adat/x.fdb");
        row("ipv6 without port", "[::1]:/adat/x.fdb", server, "[::1]:/adat/x.fdb", "[::1]:service_mgr",
            "/adat/x.fdb");
        row("inet url", "inet://szerver:3051/adat/du2010.fdb", server, "inet://szerver:3051/adat/du2010.fdb",
            "inet://szerver:3051/service_mgr", "adat/du2010.fdb");
        row("inet url, absolute path", "inet://szerver:3051//adat/du2010.fdb", server,
            "inet://szerver:3051//adat/du2010.fdb", "inet://szerver:3051/service_mgr", "/adat/du2010.fdb");
        row("inet alias", "inet://szerver/vardelo", server, "inet://szerver/vardelo",
            "inet://szerver/service_mgr", "vardelo");
        row("inet4", "inet4://10.0.0.2/vardelo", server, "inet4://10.0.0.2/vardelo",
            "inet4://10.0.0.2/service_mgr", "vardelo");
        row("inet6", "inet6://[::1]:3051/adat/x.fdb", server, "inet6://[::1]:3051/adat/x.fdb",
            "inet6://[::1]:3051/service_mgr", "adat/x.fdb");
        row("xnet", "xnet://C:\\DU2010\\du2010.fdb", server, "xnet://C:\\DU2010\\du2010.fdb",
            "xnet://service_mgr", "C:\\DU2010\\du2010.fdb");
        row("xnet upper case", "XNET://vardelo", server, "XNET://vardelo", "XNET://service_mgr", "vardelo");
        row("wnet", "wnet://szerver/vardelo", server, "wnet://szerver/vardelo", "wnet://szerver/service_mgr",
            "vardelo");
        row("unc", "\\\\szerver\\adat\\du2010.fdb", server, "\\\\szerver\\adat\\du2010.fdb",
            "\\\\szerver\\service_mgr", "adat\\du2010.fdb");
        // A bare alias: no folder, no extension; the desk's own engine finds it.
        row("alias", "vardelo", alias, "vardelo", "service_mgr", "vardelo");
        row("alias with digits", "du2010", alias, "du2010", "service_mgr", "du2010");
        // Files: relative ones in the working folder, opened by the desk's own engine.
        row("default", "du2010.fdb", file, "/munka/du2010.fdb", "service_mgr", "/munka/du2010.fdb");
        row("gdb", "regi.gdb", file, "/munka/regi.gdb", "service_mgr", "/munka/regi.gdb");
        row("other extension", "adatok.db", file, "/munka/adatok.db", "service_mgr", "/munka/adatok.db");
        row("subfolder", "adat/du2010.fdb", file, "/munka/adat/du2010.fdb", "service_mgr",
            "/munka/adat/du2010.fdb");
        row("dot folder", "./du2010.fdb", file, "/munka/du2010.fdb", "service_mgr", "/munka/du2010.fdb");
        row("parent folder", "../kozos/du2010.fdb", file, "/kozos/du2010.fdb", "service_mgr",
            "/kozos/du2010.fdb");
        row("absolute", "/srv/vardelo/du2010.fdb", file, "/srv/vardelo/du2010.fdb", "service_mgr",
            "/srv/vardelo/du2010.fdb");
        row("path with port-like folder", "adat/3051/x.fdb", file, "/munka/adat/3051/x.fdb", "service_mgr",
            "/munka/adat/3051/x.fdb");
        row("two folders, then a colon", "adat/régi/x:y.fdb", file, "/munka/adat/régi/x:y.fdb", "service_mgr",
            "/munka/adat/régi/x:y.fdb");
        row("file with blank", "Vardelo adat.fdb", file, "/munka/Vardelo adat.fdb", "service_mgr",
            "/munka/Vardelo adat.fdb");
    }

    void resolution() {
        QFETCH(QString, name);
        QFETCH(DatabaseNameKind, kind);
        QFETCH(QString, resolved);
        QFETCH(QString, serviceManager);
        QFETCH(QString, onEngine);
        QCOMPARE(databaseNameKind(name), kind);
        QCOMPARE(resolvedDatabaseName(name, QStringLiteral("/munka")), resolved);
        const DatabaseLocation location = databaseLocation(name, QStringLiteral("/munka"));
        QCOMPARE(location.kind, kind);
        QCOMPARE(location.serviceManager(), serviceManager);
        QCOMPARE(location.path, onEngine);
        // The name is the server's part and the database on it: another database there is named alike.
        QCOMPARE(location.nameOf(location.path), kind == DatabaseNameKind::File ? onEngine : name);
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
