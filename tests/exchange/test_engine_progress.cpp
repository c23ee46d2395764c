// The engine's verbose backup and restore lines as the Hungarian progress text of the backup windows.

#include "exchange/engine_progress_rules.h"

#include <QtTest>

using vardelo::exchange::engineProgressText;

class TestEngineProgress : public QObject {
    Q_OBJECT
private slots:
    void lines_data() {
        QTest::addColumn<QString>("line");
        QTest::addColumn<QString>("text");
        // Thousands grouped with a no-break space.
        QTest::newRow("rows written")
            << "gbak:500000 records written" << QStringLiteral("500\u00A0000 sor mentve");
        QTest::newRow("one row written") << "gbak:1 records written"
                                         << "1 sor mentve";
        QTest::newRow("rows restored, indented")
            << "gbak:   1234567 records restored" << QStringLiteral("1\u00A0234\u00A0567 sor visszatöltve");
        QTest::newRow("a table's rows") << "gbak:    writing data for table FJSOR"
                                        << "Mentés: FJSOR tábla";
        QTest::newRow("a table restored") << "gbak:restoring data for table OSTERMELO"
                                          << "Visszatöltés: OSTERMELO tábla";
        QTest::newRow("a table's structure") << "gbak:restoring table FJFEJ"
                                             << "Visszatöltés: FJFEJ tábla szerkezete";
        QTest::newRow("backup ends") << "gbak:closing file, committing, and finishing. 1024 bytes written"
                                     << "A mentés lezárása";
        QTest::newRow("restore ends") << "gbak:finishing, closing, and going home"
                                      << "A visszatöltés befejezése";
        QTest::newRow("indexes") << "gbak:creating indexes"
                                 << "Indexek építése";
        QTest::newRow("without the prefix") << "20 records written"
                                            << "20 sor mentve";
        // The engine's own steps say nothing to the clerk: the line before stays.
        QTest::newRow("a domain") << "gbak:    writing domain RDB$1"
                                  << "";
        QTest::newRow("a privilege") << "gbak:    restoring privilege for user SYSDBA"
                                     << "";
        QTest::newRow("empty") << ""
                               << "";
    }
    void lines() {
        QFETCH(QString, line);
        QFETCH(QString, text);
        QCOMPARE(engineProgressText(line), text);
    }
};

QTEST_MAIN(TestEngineProgress)
#include "test_engine_progress.moc"
