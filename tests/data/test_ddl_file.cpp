// The database's DDL file on its own, as a database administrator would use it: run by isql-fb into a new
// database, it gives the same Hungarian order of names as a database made by the program.

#include <QDir>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

namespace {

// Runs a script with isql-fb (embedded engine, UTF-8 on the connection); its output, or a failure.
QString runIsql(const QString& script, QString* errors) {
    QProcess isql;
    isql.setProcessChannelMode(QProcess::SeparateChannels);
    isql.start(
        QStandardPaths::findExecutable(QStringLiteral("isql-fb")),
        {QStringLiteral("-q"), QStringLiteral("-ch"), QStringLiteral("UTF8"), QStringLiteral("-bail")});
    if (!isql.waitForStarted(30000)) {
        *errors = QStringLiteral("isql-fb did not start");
        return QString();
    }
    isql.write(script.toUtf8());
    isql.closeWriteChannel();
    isql.waitForFinished(120000);
    *errors = QString::fromUtf8(isql.readAllStandardError()).trimmed();
    return QString::fromUtf8(isql.readAllStandardOutput());
}

} // namespace

class TestDdlFile : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() {
        if (QStandardPaths::findExecutable(QStringLiteral("isql-fb")).isEmpty())
            QSKIP("isql-fb is not installed");
    }

    void namesSortHungarian_data() {
        QTest::addColumn<QString>("characterSet");
        QTest::newRow("database in WIN1250") << "DEFAULT CHARACTER SET WIN1250";
        QTest::newRow("database without a character set") << "";
        QTest::newRow("database in UTF8") << "DEFAULT CHARACTER SET UTF8";
    }

    void namesSortHungarian() {
        QFETCH(QString, characterSet);
        QTemporaryDir dir;
        const QString database = QDir(dir.path()).filePath(QStringLiteral("du2010.fdb"));
        const QString ddl =
            QDir(qEnvironmentVariable("VARDELO_SOURCE_DIR")).filePath(QStringLiteral("db/du2010.sql"));
        QVERIFY(QFile::exists(ddl));
        QString script = QStringLiteral("CREATE DATABASE '%1' USER 'SYSDBA' PASSWORD 'quillfern' %2;\n"
                                        "INPUT '%3';\nCOMMIT;\n")
                             .arg(database, characterSet, ddl);
        const QStringList names{QStringLiteral("Zsák Péter"),  QStringLiteral("Őri Anna"),
                                QStringLiteral("Oláh Béla"),   QStringLiteral("Ábel Ádám"),
                                QStringLiteral("Csóka Cecil"), QStringLiteral("Cukor Csaba"),
                                QStringLiteral("Bodó Ede")};
        int code = 0;
        for (const QString& name : names)
            script += QStringLiteral("INSERT INTO ostermelo (o_kod, o_nev) VALUES ('%1', '%2');\n")
                          .arg(++code)
                          .arg(name);
        script += QStringLiteral(
            "COMMIT;\nSET HEADING OFF;\nSELECT '|' || o_nev || '|' FROM ostermelo ORDER BY o_nev;\n");
        QString errors;
        const QString output = runIsql(script, &errors);
        QVERIFY2(errors.isEmpty(), qPrintable(errors));
        QStringList sorted;
        for (const QString& line : output.split(u'\n')) {
            const QString t = line.trimmed();
            if (t.startsWith(u'|') && t.endsWith(u'|'))
                sorted << t.mid(1, t.size() - 2);
        }
        // Á with A, Cs after C, Ő after O, Zs last: the order of a Hungarian reader.
        QCOMPARE(sorted, QStringList({"Ábel Ádám", "Bodó Ede", "Cukor Csaba", "Csóka Cecil", "Oláh Béla",
                                      "Őri Anna", "Zsák Péter"}));
    }
};

QTEST_MAIN(TestDdlFile)
#include "test_ddl_file.moc"
