// The one way a screen reports a failed action: the screen's message, the reason in plain Hungarian below it,
// the engine's or library's own words in the details, one log line with the codes.

#include "support/ui_recorder.h"

#include "data/database_error.h"
#include "widgets/action_guard.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QTest>
#include <QTimer>
#include <cerrno>
#include <ibase.h>
#include <stdexcept>

using namespace vardelo;

namespace {

// Collects the log lines written while it lives.
class LogLines {
public:
    LogLines() { previous_ = qInstallMessageHandler(&LogLines::collect); }
    ~LogLines() { qInstallMessageHandler(previous_); }
    static inline QStringList lines;

private:
    static void collect(QtMsgType, const QMessageLogContext&, const QString& text) { lines << text; }
    QtMessageHandler previous_ = nullptr;
};

} // namespace

class TestActionGuard : public QObject {
    Q_OBJECT
private slots:
    void init() { LogLines::lines.clear(); }
    void databaseError_data();
    void databaseError();
    void oneLogLineWithTheCodes();
    void otherFailures_data();
    void otherFailures();
    void actionThatRunsThrough();
    void failureOfALibrary();
    void generalErrorBoxLogs();
    void realBoxHasTheDetails();
};

void TestActionGuard::databaseError_data() {
    QTest::addColumn<QString>("screenMessage");
    QTest::addColumn<QString>("engineMessage");
    QTest::addColumn<qlonglong>("code");
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("reason");
    QTest::addColumn<QString>("details");

    QTest::newRow("a character the database cannot hold, field known")
        << QStringLiteral("Hiba: östermelö DELETE törlésekor")
        << QStringLiteral("A „☃” karakter nem tárolható az adatbázisban.") << 0LL << QStringList()
        << QStringLiteral("V_NEV") << QStringLiteral("Hiba: östermelö DELETE törlésekor")
        << QStringLiteral("A(z) V_NEV mező: A „☃” karakter nem tárolható az adatbázisban.")
        << QStringLiteral("A „☃” karakter nem tárolható az adatbázisban.");
    QTest::newRow("engine truncation in Hungarian, engine words as details")
        << QStringLiteral("Hiba: Új, INSERT a fjsorban ")
        << QStringLiteral(
               "arithmetic exception, numeric overflow, or string truncation\n-string right truncation")
        << qlonglong(isc_string_truncation) << QStringList() << QString()
        << QStringLiteral("Hiba: Új, INSERT a fjsorban ")
        << QStringLiteral("A beírt szöveg hosszabb, mint amennyi a mezőben elfér.")
        << QStringLiteral("arithmetic exception, numeric overflow, or string truncation\n-string right "
                          "truncation\n(hibakód: 335544914, SQL-kód: 0)");
    QTest::newRow("a check of the table names its rule")
        << QString()
        << QStringLiteral("Operation violates CHECK constraint FJSOR_BRUTTO_RANGE on view or table FJSOR")
        << qlonglong(isc_check_constraint) << QStringList{"FJSOR_BRUTTO_RANGE", "FJSOR"} << QString()
        << QStringLiteral("Egy mező értéke nem megengedett (FJSOR_BRUTTO_RANGE).") << QString()
        << QStringLiteral("Operation violates CHECK constraint FJSOR_BRUTTO_RANGE on view or table FJSOR\n"
                          "(hibakód: 335544558, SQL-kód: 0)");
    QTest::newRow("a value of the wrong kind names the value")
        << QString() << QStringLiteral("conversion error from string \"1000000X\"")
        << qlonglong(isc_convert_error) << QStringList{"1000000X"} << QString()
        << QStringLiteral("Egy érték („1000000X”) nem alakítható át a mező típusára.") << QString()
        << QStringLiteral("conversion error from string \"1000000X\"\n(hibakód: 335544334, SQL-kód: 0)");
    QTest::newRow("an unknown engine code: a plain reason, the engine's words in the details")
        << QStringLiteral("Hiba: prn UPDATE Fjfej-be ") << QStringLiteral("something odd") << 335544999LL
        << QStringList() << QString() << QStringLiteral("Hiba: prn UPDATE Fjfej-be ")
        << QStringLiteral("Az adatbázis-kezelő hibát jelzett, a művelet nem történt meg. A hiba leírása a "
                          "részletek között olvasható.")
        << QStringLiteral("something odd\n(hibakód: 335544999, SQL-kód: 0)");
    QTest::newRow("no screen message: the reason is the error box's text")
        << QString() << QStringLiteral("lock conflict on no wait transaction") << qlonglong(isc_lock_conflict)
        << QStringList() << QString()
        << QStringLiteral("Egy másik munkahely éppen ugyanezeket az adatokat módosítja. Próbálja újra!")
        << QString()
        << QStringLiteral("lock conflict on no wait transaction\n(hibakód: 335544345, SQL-kód: 0)");
}

void TestActionGuard::databaseError() {
    QFETCH(QString, screenMessage);
    QFETCH(QString, engineMessage);
    QFETCH(qlonglong, code);
    QFETCH(QStringList, arguments);
    QFETCH(QString, field);
    QFETCH(QString, text);
    QFETCH(QString, reason);
    QFETCH(QString, details);
    UiRecorder recorder;
    LogLines log;
    const bool ran = guarded(lcMasterdata, screenMessage, [&] {
        EDatabaseError error(engineMessage, long(code), 0,
                             code ? std::vector<long>{long(code)} : std::vector<long>{}, 0, arguments);
        error.SetFieldName(field);
        throw error;
    });
    QVERIFY(!ran);
    QCOMPARE(recorder.messages.size(), 1);
    const RecordedMessage& shown = recorder.messages.first();
    QCOMPARE(shown.text, text);
    QCOMPARE(shown.reason, reason);
    QCOMPARE(shown.details, details == shown.text || details == reason ? QString() : details);
    QCOMPARE(shown.caption, screenMessage.isEmpty() ? QStringLiteral("Hiba") : QStringLiteral("Vardelo"));
    QCOMPARE(LogLines::lines.size(), 1);
}

void TestActionGuard::oneLogLineWithTheCodes() {
    UiRecorder recorder;
    LogLines log;
    reportFailure(QStringLiteral("Hiba: termék DELETE törlésekor"),
                  EDatabaseError(QStringLiteral("I/O error during \"open\" operation\n-Permission denied"),
                                 isc_io_error, -902, {isc_io_error, isc_io_open_err}, EACCES,
                                 {QStringLiteral("open"), QStringLiteral("/adat/du2010.fdb")}),
                  lcMasterdata);
    QCOMPARE(LogLines::lines.size(), 1);
    const QString line = LogLines::lines.first();
    QVERIFY2(!line.contains(QLatin1Char('\n')), qPrintable(line));
    for (const QString& part :
         {QStringLiteral("335544344,335544734"), QStringLiteral("sqlcode -902"),
          QStringLiteral("os error %1").arg(EACCES), QStringLiteral("Permission denied"),
          QStringLiteral("Hiba: termék DELETE törlésekor")})
        QVERIFY2(line.contains(part), qPrintable(line));
}

void TestActionGuard::otherFailures_data() {
    QTest::addColumn<bool>("programText");
    QTest::newRow("a run-time error of the program's own says what happened") << true;
    QTest::newRow("a fault of the program: its words in the details") << false;
}

void TestActionGuard::otherFailures() {
    QFETCH(bool, programText);
    UiRecorder recorder;
    LogLines log;
    const bool ran = guarded(lcTickets, QStringLiteral("Hiba a nyomtatáskor"), [&] {
        if (programText)
            throw std::runtime_error("Hibás kifejezés a jelentésben: [v_x]");
        std::vector<int> none;
        (void)none.at(3);
    });
    QVERIFY(!ran);
    QCOMPARE(recorder.messages.size(), 1);
    const RecordedMessage& shown = recorder.messages.first();
    QCOMPARE(shown.text, QStringLiteral("Hiba a nyomtatáskor"));
    if (programText) {
        QCOMPARE(shown.reason, QStringLiteral("Hibás kifejezés a jelentésben: [v_x]"));
        QCOMPARE(shown.details, QString());
    } else {
        QCOMPARE(shown.reason, QStringLiteral("A program belső hibája miatt a művelet nem fejeződött be. Ami "
                                              "előtte elkészült, megmaradt."));
        QVERIFY2(shown.details.contains(QStringLiteral("_M_range_check")), qPrintable(shown.details));
    }
    QCOMPARE(LogLines::lines.size(), 1);
}

void TestActionGuard::actionThatRunsThrough() {
    UiRecorder recorder;
    LogLines log;
    int runs = 0;
    QVERIFY(guarded(lcLists, [&] { ++runs; }));
    QCOMPARE(runs, 1);
    QVERIFY(recorder.messages.isEmpty());
    QVERIFY(LogLines::lines.isEmpty());
}

void TestActionGuard::failureOfALibrary() {
    UiRecorder recorder;
    LogLines log;
    reportFailure(QStringLiteral("A fájl mentése nem történt meg!"),
                  QStringLiteral("A(z) x.xls fájl nem írható."), QStringLiteral("x.xls: Permission denied"),
                  lcExchange);
    QCOMPARE(recorder.messages.size(), 1);
    QCOMPARE(recorder.messages.first().reason, QStringLiteral("A(z) x.xls fájl nem írható."));
    QCOMPARE(recorder.messages.first().details, QStringLiteral("x.xls: Permission denied"));
    QCOMPARE(LogLines::lines.size(), 1);
}

void TestActionGuard::generalErrorBoxLogs() {
    UiRecorder recorder;
    LogLines log;
    ui().showError(QStringLiteral("A munkamappa nem hozható létre:\n/x"), lcShell);
    QCOMPARE(recorder.messages.size(), 1);
    QCOMPARE(recorder.messages.first().caption, QStringLiteral("Hiba"));
    QCOMPARE(LogLines::lines.size(), 1);
    QVERIFY(LogLines::lines.first().contains(QStringLiteral("A munkamappa nem hozható létre: /x")));
}

void TestActionGuard::realBoxHasTheDetails() {
    // The real box: the screen's message as its text, the reason below it, the engine's words and code behind
    // the details.
    QString text, informative, detailed;
    QTimer::singleShot(0, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        QVERIFY(box);
        text = box->text();
        informative = box->informativeText();
        detailed = box->detailedText();
        box->button(QMessageBox::Ok)->click();
    });
    LogLines log;
    reportFailure(
        QStringLiteral("Hiba: termék DELETE törlésekor"),
        EDatabaseError(QStringLiteral("violation of PRIMARY or UNIQUE KEY constraint \"PK_X\" on table "
                                      "\"X\""),
                       isc_unique_key_violation),
        lcMasterdata);
    QCOMPARE(text, QStringLiteral("Hiba: termék DELETE törlésekor"));
    QCOMPARE(informative, QStringLiteral("Ilyen azonosítójú adat már van az adatbázisban."));
    QVERIFY2(detailed.contains(QStringLiteral("PK_X")) && detailed.contains(QStringLiteral("335544665")),
             qPrintable(detailed));
}

QTEST_MAIN(TestActionGuard)
#include "test_action_guard.moc"
