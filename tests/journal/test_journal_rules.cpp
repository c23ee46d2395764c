// The journal's texts and values as the window shows them: the changed columns read back from the text the
// triggers write, values in the program's forms, the values an insert stored, and the filter.

#include "journal/journal_rules.h"

#include <QtTest>

using namespace vardelo::journal;

using Values = QHash<QString, std::optional<QString>>;

class TestJournalRules : public QObject {
    Q_OBJECT
private slots:
    // Whatever a value holds (blanks, colons, line feeds, nothing at all), it reads back as written; null and
    // an empty text stay apart.
    void changesReadBackAsWritten() {
        const QList<ColumnChange> changes{
            {"F_MEGJ", QString("alma"), QString("alma ")},
            {"F_PRN", QString("I"), QString(" ")},
            {"S_MEGNEVEZES", QString("két\nsor: 3:x - y"), std::nullopt},
            {"F_UTAL", std::nullopt, QString("")},
            {"F_NYILATK", QString(250, u'ő'), QString("-")},
        };
        const QString text = changesText(changes);
        QCOMPARE(text.left(24), QString("F_MEGJ 4:alma 5:alma \nF_"));
        QCOMPARE(parseChanges(text), changes);
    }

    // The text as the database writes it reads the same; a damaged line ends the reading, what came before
    // it stays.
    void damagedTextReadsUpToTheDamage_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("columns");
        QTest::newRow("whole") << "A_FJBSZAM 8:10000000 8:10000001\nF_PRN - 1:I\n" << 2;
        QTest::newRow("last line without its line feed") << "F_PRN 1:  1:I" << 1;
        QTest::newRow("length past the end") << "F_PRN - 1:I\nF_MEGJ 9:ab -\n" << 1;
        QTest::newRow("no length") << "F_MEGJ abc -\n" << 0;
        QTest::newRow("missing after value") << "F_MEGJ 3:abc\n" << 0;
        QTest::newRow("empty") << "" << 0;
    }
    void damagedTextReadsUpToTheDamage() {
        QFETCH(QString, text);
        QFETCH(int, columns);
        QCOMPARE(parseChanges(text).size(), columns);
    }

    void valuesInTheProgramsForms_data() {
        QTest::addColumn<QString>("raw");
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("shown");
        QTest::newRow("decimal, whole") << "100.0000" << int(ValueKind::Number) << "100";
        QTest::newRow("decimal, fraction") << "12.5000" << int(ValueKind::Number) << "12,5";
        QTest::newRow("negative decimal") << "-0.2500" << int(ValueKind::Number) << "-0,25";
        QTest::newRow("integer") << "15" << int(ValueKind::Number) << "15";
        QTest::newRow("large decimal stays exact")
            << "123456789012345.6789" << int(ValueKind::Number) << "123456789012345,6789";
        QTest::newRow("double form") << "1.250000000000000e+003" << int(ValueKind::Number) << "1250";
        QTest::newRow("date") << "2010-08-31" << int(ValueKind::Date) << "2010.08.31.";
        QTest::newRow("time stamp") << "2010-08-31 14:05:09.1230" << int(ValueKind::Timestamp)
                                    << "2010.08.31. 14:05:09";
        QTest::newRow("text keeps its blanks") << " 12.50 " << int(ValueKind::Text) << " 12.50 ";
        QTest::newRow("unreadable date stays") << "31/08/2010" << int(ValueKind::Date) << "31/08/2010";
    }
    void valuesInTheProgramsForms() {
        QFETCH(QString, raw);
        QFETCH(int, kind);
        QFETCH(QString, shown);
        QCOMPARE(valueText(raw, ValueKind(kind)), shown);
        QCOMPARE(valueText(std::nullopt, ValueKind(kind)), QString());
    }

    void captions() {
        QCOMPARE(columnCaption("F_MEGJ"), QString("Megjegyzés (F_MEGJ)"));
        QCOMPARE(columnCaption("S_BRUTTO"), QString("Bruttó súly (S_BRUTTO)"));
        // A column another version added is shown by its name.
        QCOMPARE(columnCaption("S_UJOSZLOP"), QString("S_UJOSZLOP"));
        QCOMPARE(columnCaption("S_MERLEG"), QString("Mérlegről vett súly (S_MERLEG)"));
        QCOMPARE(kindCaption(u'N'), QString("Nyomtatás"));
        QCOMPARE(tableByLetter(u'S')->name, QString("FJSOR"));
        QCOMPARE(tableByName("ostermelo")->letter, QChar(u'O'));
        QVERIFY(!tableByLetter(u'X'));
    }

    // An insert stored what the row's first later change of each column had before; the rest is the row as
    // it is now, or, for a deleted row, what its delete recorded.
    void insertedValuesFromTheRowsHistory_data() {
        QTest::addColumn<QList<RowEntry>>("later");
        QTest::addColumn<Values>("current");
        QTest::addColumn<QList<ColumnChange>>("expected");
        const QStringList columns{"F_BSZAM", "F_PRN", "F_MEGJ", "F_SZJA"};
        const Values now{{"F_BSZAM", QString("10000001")},
                         {"F_PRN", QString("I")},
                         {"F_MEGJ", QString("harmadik")},
                         {"F_SZJA", std::nullopt}};
        QTest::newRow("never changed") << QList<RowEntry>{} << now
                                       << QList<ColumnChange>{{"F_BSZAM", std::nullopt, QString("10000001")},
                                                              {"F_PRN", std::nullopt, QString("I")},
                                                              {"F_MEGJ", std::nullopt, QString("harmadik")}};
        QTest::newRow("changed twice, printed, given a value")
            << QList<RowEntry>{{5, u'M', "F_MEGJ 4:első 7:második\n"},
                               {6, u'N', "F_PRN - 1:I\n"},
                               {8, u'M', "F_MEGJ 7:második 8:harmadik\nF_SZJA - 2:15\n"}}
            << now
            << QList<ColumnChange>{{"F_BSZAM", std::nullopt, QString("10000001")},
                                   {"F_MEGJ", std::nullopt, QString("első")}};
        QTest::newRow("deleted: the rest were null")
            << QList<RowEntry>{{5, u'M', "F_MEGJ 4:első 7:második\n"},
                               {9, u'T', "F_BSZAM 8:10000001 -\nF_MEGJ 7:második -\n"},
                               {12, u'M', "F_MEGJ 3:más 2:új\n"}}
            << Values{}
            << QList<ColumnChange>{{"F_BSZAM", std::nullopt, QString("10000001")},
                                   {"F_MEGJ", std::nullopt, QString("első")}};
        QTest::newRow("row gone without a delete")
            << QList<RowEntry>{{5, u'M', "F_MEGJ 4:első 7:második\n"}} << Values{}
            << QList<ColumnChange>{{"F_MEGJ", std::nullopt, QString("első")}};
    }
    void insertedValuesFromTheRowsHistory() {
        QFETCH(QList<RowEntry>, later);
        QFETCH(Values, current);
        QFETCH(QList<ColumnChange>, expected);
        QCOMPARE(insertedValues({"F_BSZAM", "F_PRN", "F_MEGJ", "F_SZJA"}, later, current), expected);
    }

    void keyChanges() {
        QVERIFY(!changedKey("S_BSZAM", "S_BRUTTO 8:100.0000 8:120.0000\n"));
        QCOMPARE(changedKey("S_BSZAM", "S_BSZAM 8:10000001 8:10000002\n"),
                 std::optional(QString("10000002")));
        QCOMPARE(changedKey("O_KOD", "O_KOD 2:12 -\n"), std::optional(QString()));
    }

    void filterRefusals_data() {
        QTest::addColumn<QString>("ticket");
        QTest::addColumn<bool>("byDate");
        QTest::addColumn<QDate>("from");
        QTest::addColumn<QDate>("to");
        QTest::addColumn<QString>("refusal");
        const QDate aug1(2010, 8, 1), aug31(2010, 8, 31);
        QTest::newRow("nothing set") << "" << false << aug31 << aug1 << "";
        QTest::newRow("a ticket and a period") << "20000153" << true << aug1 << aug31 << "";
        QTest::newRow("same day") << "" << true << aug1 << aug1 << "";
        QTest::newRow("ticket too long")
            << "123456789" << false << aug1 << aug31 << "A bizonylatszám legfeljebb 8 számjegy lehet.";
        QTest::newRow("ticket not digits")
            << "12a4" << false << aug1 << aug31 << "A bizonylatszám legfeljebb 8 számjegy lehet.";
        QTest::newRow("period backwards")
            << "" << true << aug31 << aug1 << "A kezdő dátum nem lehet későbbi a záró dátumnál.";
        QTest::newRow("backwards, not used") << "" << false << aug31 << aug1 << "";
    }
    void filterRefusals() {
        QFETCH(QString, ticket);
        QFETCH(bool, byDate);
        QFETCH(QDate, from);
        QFETCH(QDate, to);
        QFETCH(QString, refusal);
        JournalFilter filter;
        filter.ticketNumber = ticket;
        filter.byDate = byDate;
        filter.from = from;
        filter.to = to;
        QCOMPARE(filterRefusal(filter), refusal);
    }

    void filterInWords() {
        JournalFilter filter;
        QCOMPARE(filterDescription(filter), QString("Minden bejegyzés"));
        filter.ticketNumber = "20000153";
        filter.byDate = true;
        filter.from = QDate(2010, 8, 1);
        filter.to = QDate(2010, 8, 31);
        filter.kind = u'M';
        QCOMPARE(filterDescription(filter),
                 QString("Bizonylatszám: 20000153; Időszak: 2010.08.01. - 2010.08.31.; Művelet: Módosítás"));
    }

    // Each column of an entry is a line of the print; an entry without columns still has its line.
    void linesOfThePrint() {
        JournalEntry print{7,
                           QDateTime(QDate(2010, 8, 3), QTime(10, 15, 2)),
                           u'F',
                           12,
                           u'N',
                           "1",
                           QString("20000153"),
                           "SYSDBA (kati)",
                           "asztal (4242)",
                           "/usr/bin/vardelo",
                           ""};
        JournalEntry insert{3,
                            QDateTime(QDate(2010, 8, 2), QTime(9, 0)),
                            u'S',
                            40,
                            u'U',
                            "1",
                            QString("20000153"),
                            "SYSDBA",
                            "asztal (4242)",
                            "",
                            ""};
        const auto lines = journalLines(
            {print, insert},
            {{{"F_PRN", QString(" "), QString("I")}, {"F_LEVONAS", QString("0.0000"), QString("12.5000")}},
             {}},
            [](const QString& column) {
                return column == "F_LEVONAS" ? ValueKind::Number : ValueKind::Text;
            });
        QCOMPARE(lines.size(), 3);
        QCOMPARE(lines[0].kind, QString("Nyomtatás"));
        QCOMPARE(lines[0].table, QString("Jegy"));
        QCOMPARE(lines[0].column, QString("Nyomtatva (F_PRN)"));
        QCOMPARE(lines[1].before, QString("0"));
        QCOMPARE(lines[1].after, QString("12,5"));
        QCOMPARE(lines[1].entry, 7);
        QCOMPARE(lines[2].table, QString("Jegy tétele"));
        QCOMPARE(lines[2].column, QString());
        QCOMPARE(lines[2].key, QString("20000153"));
    }
};

QTEST_MAIN(TestJournalRules)
#include "test_journal_rules.moc"
