// The position rules of datasets whose rows outnumber their window: every answer must be the one a dataset
// holding all its rows gives.
#include "data/data_module.h"
#include "data/database_error.h"
#include "data/immediate_write.h"
#include "support/test_database.h"

#include <QtTest>

using vardelo::testing::TestDatabase;

namespace {

constexpr int Producers = 60;
constexpr int SmallWindow = 7;

// Producers 1..60 (code = number, zero padded, so code order is number order); a few names with accented
// capitals sit far past the first window.
void fillProducers(TestDatabase& db) {
    db.exec(QStringLiteral("INSERT INTO ostermelo (o_kod, o_nev) "
                           "WITH RECURSIVE n AS (SELECT 1 AS i FROM rdb$database UNION ALL "
                           "SELECT i + 1 FROM n WHERE i < %1) "
                           "SELECT LPAD(i, 3, '0'), 'Termelő ' || i FROM n")
                .arg(Producers));
    db.exec(QStringLiteral("UPDATE ostermelo SET o_nev = 'Ördögh Ödön' WHERE o_kod = '041'"));
    db.exec(QStringLiteral("UPDATE ostermelo SET o_nev = 'Őrdögh Ödön' WHERE o_kod = '045'"));
    db.exec(QStringLiteral("UPDATE ostermelo SET o_nev = 'Szűcs Ágnes' WHERE o_kod = '052'"));
    db.exec(QStringLiteral("UPDATE ostermelo SET o_nev = 'ÁRVAI ÉVA' WHERE o_kod = '058'"));
}

const QString ProducersByCode = QStringLiteral("SELECT o_kod, o_nev FROM ostermelo ORDER BY o_kod");
// The same rows from a statement that cannot stand as a derived table (a column twice): rows behind the
// window are then reached by reading from the start on the client.
const QString ProducersWithARepeatedColumn =
    QStringLiteral("SELECT o_kod, o_nev, o_kod FROM ostermelo ORDER BY 1");

// Ordered by two columns: a row is found by its number in the list rather than by a key.
const QString ProducersByCodeAndName =
    QStringLiteral("SELECT o_kod, o_nev FROM ostermelo ORDER BY o_kod, o_nev");

void openProducers(TZQuery* q, int window, const QString& sql = ProducersByCode) {
    q->Close();
    q->SetWindowSize(window);
    vardelo::openQuery(q, {sql});
}

QString where(TDataSet& d);

// Moves first, then tells where it ended (the two must not be evaluated in either order).
QString moved(TDataSet& d, int distance) {
    const int by = d.MoveBy(distance);
    return QString::number(by) + QLatin1Char(' ') + where(d);
}

QString where(TDataSet& d) {
    return QStringLiteral("%1 rec %2 bof %3 eof %4")
        .arg(d.FieldByName(QStringLiteral("O_KOD")).AsString())
        .arg(d.RecNo())
        .arg(d.Bof())
        .arg(d.Eof());
}

// A walk over every move that crosses a window's edge, written down step by step.
QStringList walk(TDataSet& d) {
    QStringList steps;
    steps << where(d);
    d.Last();
    steps << where(d);
    d.Prior();
    steps << where(d);
    d.Next();
    d.Next();
    steps << where(d);
    steps << moved(d, -25);
    steps << moved(d, -40);
    steps << moved(d, 33);
    d.SetRecNo(2);
    steps << where(d);
    d.Prior();
    d.Prior();
    steps << where(d);
    steps << moved(d, 100);
    d.SetRecNo(30);
    steps << where(d);
    for (int row : {0, 59, 12, 44, 3, 58})
        steps << d.ValueAt(row, 0).toString();
    const int count = d.RecordCount();
    steps << QString::number(count) + QLatin1Char(' ') + where(d);
    d.First();
    steps << where(d);
    return steps;
}

} // namespace

class TestDatasetWindow : public QObject {
    Q_OBJECT
private slots:
    // A statement the cursor builds wrongly would still give the right rows by a slower road; the warning
    // its text raises (a missing argument) shows it.
    void init() { QTest::failOnWarning(QRegularExpression(QStringLiteral(".*"))); }

    void positionRulesBeyondTheWindow() {
        TestDatabase db;
        fillProducers(db);
        openProducers(Data->ZQ30, 1000);
        const QStringList whole = walk(*Data->ZQ30);
        openProducers(Data->ZQ30, SmallWindow);
        QCOMPARE(walk(*Data->ZQ30), whole);
        openProducers(Data->ZQ30, SmallWindow, ProducersWithARepeatedColumn);
        QCOMPARE(walk(*Data->ZQ30), whole);
        // The answers themselves, beside their agreement.
        QCOMPARE(whole.at(1), QStringLiteral("060 rec 60 bof 0 eof 1"));
        QCOMPARE(whole.at(2), QStringLiteral("059 rec 59 bof 0 eof 0"));
        QCOMPARE(whole.at(3), QStringLiteral("060 rec 60 bof 0 eof 1"));
        QCOMPARE(whole.at(4), QStringLiteral("-25 035 rec 35 bof 0 eof 0"));
        QCOMPARE(whole.at(5), QStringLiteral("-34 001 rec 1 bof 1 eof 0"));
        QCOMPARE(whole.at(9), QStringLiteral("59 060 rec 60 bof 0 eof 1"));
        QCOMPARE(whole.mid(11, 6), QStringList({"001", "060", "013", "045", "004", "059"}));
        QCOMPARE(whole.at(17), QStringLiteral("60 030 rec 30 bof 0 eof 0"));
    }

    // A failure other than the engine refusing a statement's form (here the connection ended by the server)
    // reaches the caller at once: no count, search or move falls back to reading the rows through.
    void failuresReachTheCaller() {
        TestDatabase db;
        fillProducers(db);
        openProducers(Data->ZQ30, SmallWindow);
        db.cutConnection();
        QVERIFY_THROWS_EXCEPTION(EDatabaseError, Data->ZQ30->RecordCount());
        QVERIFY_THROWS_EXCEPTION(EDatabaseError,
                                 Data->ZQ30->Locate(QStringLiteral("O_NEV"), QStringLiteral("Termelő 5"),
                                                    loCaseInsensitive | loPartialKey));
        QVERIFY_THROWS_EXCEPTION(EDatabaseError, Data->ZQ30->Last());
        // Letting go of the connection at the end of the test says the same in the log.
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("connection shutdown")));
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("connection shutdown")));
    }

    void countAndLastOnAnEmptyResult() {
        TestDatabase db;
        Data->ZQ30->SetWindowSize(SmallWindow);
        vardelo::openQuery(Data->ZQ30, {QStringLiteral("SELECT o_kod FROM ostermelo WHERE o_kod = 'x'")});
        Data->ZQ30->Last();
        QVERIFY(Data->ZQ30->Bof() && Data->ZQ30->Eof());
        QCOMPARE(Data->ZQ30->RecNo(), 0);
        QCOMPARE(Data->ZQ30->RecordCount(), 0);
    }

    void locateBeyondTheWindow_data() {
        QTest::addColumn<QString>("value");
        QTest::addColumn<int>("options");
        QTest::addColumn<QString>("found");
        const int ci = loCaseInsensitive | loPartialKey;
        QTest::newRow("partial, past the window") << "Termelő 5" << ci << "005";
        QTest::newRow("exact, far row") << "Termelő 57" << 0 << "057";
        QTest::newRow("lower case Ő") << "őrd" << ci << "045";
        QTest::newRow("upper case Ö") << "ÖRDÖGH" << ci << "041";
        QTest::newRow("ű and Á folded") << "SZŰCS á" << ci << "052";
        QTest::newRow("capitals found by small letters") << "árvai év" << ci << "058";
        QTest::newRow("case counts without the option") << "árvai" << int(loPartialKey) << "";
        QTest::newRow("accents count") << "Arvai" << ci << "";
        QTest::newRow("exact needs the whole value") << "Szűcs" << int(loCaseInsensitive) << "";
        QTest::newRow("no such name") << "Zz" << ci << "";
        QTest::newRow("by the code") << "033" << 0 << "033";
        QTest::newRow("by the start of a code") << "05" << ci << "050";
        QTest::newRow("no code starts so") << "07" << ci << "";
        QTest::newRow("longer than any code") << "033333" << ci << "";
        QTest::newRow("longer than any code, whole") << "033333" << 0 << "";
    }
    void locateBeyondTheWindow() {
        QFETCH(QString, value);
        QFETCH(int, options);
        QFETCH(QString, found);
        TestDatabase db;
        fillProducers(db);
        const std::pair<int, QString> ways[] = {{1000, ProducersByCode},
                                                {SmallWindow, ProducersByCode},
                                                {SmallWindow, ProducersByCodeAndName},
                                                {SmallWindow, ProducersWithARepeatedColumn}};
        for (const auto& [window, sql] : ways) {
            openProducers(Data->ZQ30, window, sql);
            Data->ZQ30->Last();
            Data->ZQ30->MoveBy(-2);
            const QString field = value.at(0).isDigit() ? QStringLiteral("O_KOD") : QStringLiteral("O_NEV");
            QCOMPARE(Data->ZQ30->Locate(field, value, options), !found.isEmpty());
            QCOMPARE(Data->ZQ30->FieldByName("O_KOD").AsString(), found.isEmpty() ? QString("058") : found);
            QCOMPARE(Data->ZQ30->RecNo(), (found.isEmpty() ? QString("058") : found).toInt());
            // The rows around it read right, also after the window moved.
            Data->ZQ30->Prior();
            QCOMPARE(Data->ZQ30->RecNo(), std::max(1, (found.isEmpty() ? 58 : found.toInt()) - 1));
        }
    }

    void tableInsertAndDeleteBeyondTheWindow() {
        TestDatabase db;
        fillProducers(db);
        TIBTable* table = Data->IBTable3;
        table->Close();
        table->ReadOnly = false;
        table->SetWindowSize(SmallWindow);
        table->Open();
        table->Insert();
        table->FieldByName("O_KOD").SetAsString("999");
        table->Post();
        QCOMPARE(table->FieldByName("O_KOD").AsString(), QString("999"));
        QCOMPARE(table->RecNo(), Producers + 1);
        QCOMPARE(table->RecordCount(), Producers + 1);
        table->Prior();
        QCOMPARE(table->FieldByName("O_KOD").AsString(), QString("060"));
        table->SetRecNo(20);
        QCOMPARE(table->FieldByName("O_KOD").AsString(), QString("020"));
        table->Delete();
        QCOMPARE(table->FieldByName("O_KOD").AsString(), QString("021"));
        QCOMPARE(table->RecordCount(), Producers);
        table->Last();
        QCOMPARE(table->RecNo(), Producers);
        table->First();
        table->MoveBy(19);
        QCOMPARE(table->FieldByName("O_KOD").AsString(), QString("021"));
        table->Edit();
        table->FieldByName("O_NEV").SetAsString("Módosított");
        table->Post();
        table->Last();
        table->First();
        QVERIFY(table->Locate("O_NEV", "módos", loCaseInsensitive | loPartialKey));
        QCOMPARE(table->RecNo(), 20);
        table->SetWindowSize(TDataSet::DefaultWindowSize);
    }

    // A list ordered by a column whose values come in pairs: walking back from the last row to the first
    // meets every row once, in the list's order, and a row found by another column sits among its equals.
    void orderWithEqualValues() {
        TestDatabase db;
        fillProducers(db);
        db.exec(
            QStringLiteral("UPDATE ostermelo SET o_helysegnev = 'Hely ' || LPAD(MOD(CAST(o_kod AS INTEGER), "
                           "30), 2, '0')"));
        for (int window : {1000, SmallWindow}) {
            openProducers(Data->ZQ30, window,
                          QStringLiteral("SELECT o_kod, o_helysegnev FROM ostermelo ORDER BY o_helysegnev"));
            TZQuery* q = Data->ZQ30;
            q->Last();
            QStringList codes;
            QString previousPlace = QStringLiteral("zzz");
            int recNo = Producers + 1;
            while (true) {
                QCOMPARE(q->RecNo(), recNo - 1);
                recNo = q->RecNo();
                const QString place = q->FieldByName(QStringLiteral("O_HELYSEGNEV")).AsString();
                QVERIFY2(place <= previousPlace, qPrintable(place + QLatin1Char(' ') + previousPlace));
                previousPlace = place;
                codes << q->FieldByName(QStringLiteral("O_KOD")).AsString();
                q->Prior();
                if (q->Bof())
                    break;
            }
            QCOMPARE(recNo, 1);
            codes.sort();
            codes.removeDuplicates();
            QCOMPARE(codes.size(), Producers);
            QVERIFY(q->Locate(QStringLiteral("O_KOD"), QStringLiteral("047"), 0));
            QCOMPARE(q->FieldByName(QStringLiteral("O_KOD")).AsString(), QStringLiteral("047"));
            // Places 'Hely 17' hold 017 and 047, after the 34 rows of places 00 to 16.
            QVERIFY2(q->RecNo() == 35 || q->RecNo() == 36, qPrintable(QString::number(q->RecNo())));
        }
    }

    // Lines keyed by a number: a key is found by counting the rows before it in key order, also with gaps
    // in the numbers, a missing key, and a new line posted past the window.
    void numberKeysBeyondTheWindow() {
        TestDatabase db;
        db.exec(QStringLiteral("INSERT INTO fjsor (s_bszam) "
                               "WITH RECURSIVE n AS (SELECT 1 AS i FROM rdb$database UNION ALL "
                               "SELECT i + 1 FROM n WHERE i < 80) SELECT LPAD(i, 8, '0') FROM n"));
        db.exec(QStringLiteral("DELETE FROM fjsor WHERE MOD(id_fjsor, 10) = 3"));
        TIBTable* lines = Data->IBTable2;
        for (int window : {1000, SmallWindow}) {
            lines->Close();
            lines->ReadOnly = false;
            lines->SetWindowSize(window);
            lines->Open();
            vardelo::openQuery(Data->ZQ80,
                               {QStringLiteral("SELECT MIN(id_fjsor), MAX(id_fjsor) FROM fjsor")});
            const int first = Data->ZQ80->Fields(0).AsInteger();
            const int last = Data->ZQ80->Fields(1).AsInteger();
            // Key first + k sits at row k + 1 less the removed keys (those ending in 3) before it.
            const auto rowOf = [&](int key) {
                int removed = 0;
                for (int k = first; k < key; ++k)
                    removed += k % 10 == 3 ? 1 : 0;
                return key - first + 1 - removed;
            };
            // Neighbours of a found key, and the same key again, are answered from the window.
            for (int key : {last - 1, first + 40, first + 41, first + 39, first + 1, last - 1, last, last}) {
                if (key % 10 == 3)
                    ++key;
                QVERIFY(lines->Locate(QStringLiteral("ID_FJSOR"), key, 0));
                QCOMPARE(lines->FieldByName(QStringLiteral("ID_FJSOR")).AsInteger(), key);
                QCOMPARE(lines->RecNo(), rowOf(key));
            }
            int missing = first;
            while (missing % 10 != 3)
                ++missing;
            QVERIFY(!lines->Locate(QStringLiteral("ID_FJSOR"), missing, 0));
            QCOMPARE(lines->FieldByName(QStringLiteral("ID_FJSOR")).AsInteger(), last);
            QVERIFY(!lines->Locate(QStringLiteral("ID_FJSOR"), last + 1000, 0));
            // A number past any key, and a text no number column can hold: not found, nothing moves.
            QVERIFY(!lines->Locate(QStringLiteral("ID_FJSOR"), QStringLiteral("99999999999999"), 0));
            QVERIFY(!lines->Locate(QStringLiteral("ID_FJSOR"), QStringLiteral("12a"), 0));
            QCOMPARE(lines->FieldByName(QStringLiteral("ID_FJSOR")).AsInteger(), last);
            // Two saves in a row, each landing on its own new line.
            lines->First();
            for (const QString& number : {QStringLiteral("99999998"), QStringLiteral("99999999")}) {
                lines->Insert();
                lines->FieldByName(QStringLiteral("S_BSZAM")).SetAsString(number);
                lines->Post();
                QCOMPARE(lines->FieldByName(QStringLiteral("S_BSZAM")).AsString(), number);
                QCOMPARE(lines->RecNo(), lines->RecordCount());
            }
            lines->Prior();
            QCOMPARE(lines->FieldByName(QStringLiteral("S_BSZAM")).AsString(), QStringLiteral("99999998"));
            lines->Prior();
            QCOMPARE(lines->FieldByName(QStringLiteral("ID_FJSOR")).AsInteger(), last);
            lines->Transaction()->Rollback();
        }
        lines->SetWindowSize(TDataSet::DefaultWindowSize);
    }
};

QTEST_GUILESS_MAIN(TestDatasetWindow)
#include "test_dataset_window.moc"
