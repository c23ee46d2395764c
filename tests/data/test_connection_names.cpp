// Which database names reach a Firebird server and which are local files of the working folder.
#include "data/connection.h"

#include <QDir>
#include <QtTest>

class TestConnectionNames : public QObject {
    Q_OBJECT
private slots:
    void serverOrFile_data();
    void serverOrFile();
};

void TestConnectionNames::serverOrFile_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("server");
    QTest::newRow("bare file") << "du2010.fdb" << false;
    QTest::newRow("file in a folder") << "adat/du2010.fdb" << false;
    QTest::newRow("absolute file") << "/srv/adat/du2010.fdb" << false;
    QTest::newRow("drive letter") << "c:\\DU2010\\du2010.fdb" << false;
    QTest::newRow("host and path") << "szerver:/adat/du2010.fdb" << true;
    QTest::newRow("host, port and path") << "szerver/3051:/adat/du2010.fdb" << true;
    QTest::newRow("address, service and alias") << "192.168.1.10/gds_db:vardelo" << true;
    QTest::newRow("two folders, then a colon") << "adat/régi/x:y.fdb" << false;
}

void TestConnectionNames::serverOrFile() {
    QFETCH(QString, name);
    QFETCH(bool, server);
    QCOMPARE(TConnection::IsServerName(name), server);
    TConnection connection(QStringLiteral("ZCon1"));
    connection.DatabaseName = name;
    QCOMPARE(connection.ResolvedDatabaseName(), server ? name : QDir::current().absoluteFilePath(name));
}

QTEST_GUILESS_MAIN(TestConnectionNames)
#include "test_connection_names.moc"
