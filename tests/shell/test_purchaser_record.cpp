#include "data/data_module.h"
#include "data/immediate_write.h"
#include "data/shared_values.h"
#include "shell/main_window.h"
#include "shell/purchaser_record.h"
#include "shell/ticket_number_seed.h"
#include "support/children.h"
#include "support/test_database.h"
#include "support/ui_recorder.h"
#include "widgets/db_edit.h"

#include <QAction>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>

using vardelo::testing::child;
using namespace vardelo;
using vardelo::testing::TestDatabase;

namespace {

const QString TicketMessage = QStringLiteral("Már készült felvásárlási jegy! Nem módositható.");

// Selects the purchaser of the last row (closing the selection window at once).
void selectLast(TForm1& form) {
    child<QAction>(form, "Vlaszts1")->trigger();
}

// Opens "Átvevö" / "Lekérdezés" with the script.
void inRecord(TForm1& form, UiRecorder& recorder, std::function<void(TForm17&)> script) {
    recorder.expectModal([&](QDialog& dialog) { script(static_cast<TForm17&>(dialog)); });
    child<QAction>(form, "Lekrdezs1")->trigger();
}

QString seedOf(const QString& akod) {
    TZQuery q(QStringLiteral("check"), Data->ZCon1, Data->IBTrans1);
    vardelo::openQuery(&q, {QStringLiteral("SELECT A_FJBSZAM FROM SORSZAM WHERE A_AKOD = :p1")},
                       {{QStringLiteral("p1"), akod}});
    return q.FieldByName(QStringLiteral("A_FJBSZAM")).AsString();
}

QString purchaserValue(const QString& akod, const QString& column) {
    TZQuery q(QStringLiteral("check"), Data->ZCon1, Data->IBTrans1);
    vardelo::openQuery(&q, {QStringLiteral("SELECT * FROM ATVEVO WHERE V_AKOD = :p1")},
                       {{QStringLiteral("p1"), akod}});
    return q.FieldByName(column).AsString();
}

void retype(QLineEdit* edit, const QString& text) {
    edit->setFocus();
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_Backspace);
    // Typed one character at a time, accented letters as well.
    for (const QChar c : text) {
        QKeyEvent press(QEvent::KeyPress,
                        c.isLetterOrNumber() && c.unicode() < 128 ? c.toUpper().unicode() : 0, Qt::NoModifier,
                        QString(c));
        QApplication::sendEvent(edit, &press);
        QKeyEvent release(QEvent::KeyRelease, press.key(), Qt::NoModifier, QString(c));
        QApplication::sendEvent(edit, &release);
    }
}

int committedValueCount() {
    TZQuery q(QStringLiteral("check"), Data->ZCon1, Data->IBTrans1);
    vardelo::openQuery(&q, {QStringLiteral("SELECT COUNT(*) AS n FROM SORSZAM")});
    return q.FieldByName(QStringLiteral("n")).AsInteger();
}

bool shown(QWidget* widget) {
    return !widget->isHidden();
}

} // namespace

class TestPurchaserRecord : public QObject {
    Q_OBJECT
private slots:
    void seedChecks_data();
    void seedChecks();
    void yearOpening_data();
    void yearOpening();
    void ticketBlocksYearOpening();
    void serviceKeyShowsTheInput_data();
    void serviceKeyShowsTheInput();
    void seedBeforeAnySelectionChangesNoRow();
    void seedWithoutNumberRowFails();
    void seedNotAboveTicketsRefused_data();
    void seedNotAboveTicketsRefused();
    void keyFieldsReadOnly();
    void storedRecordSurvivesRestart();
    void refusedRecordStaysInEdit();
    void changeOfAnotherDeskIsNotOverwritten();
    void bankAccountTakesDigitsOnly();
};

void TestPurchaserRecord::seedChecks_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("message");
    QTest::newRow("empty") << ""
                           << "Nincs megadva sorszám!";
    QTest::newRow("blanks only") << "        "
                                 << "Nincs megadva sorszám!";
    QTest::newRow("seven digits") << "0123456"
                                  << "Nem 8 hosszú a számsor!";
    QTest::newRow("nine digits") << "201000000"
                                 << "Nem 8 hosszú a számsor!";
    QTest::newRow("trailing blank counts") << "2010000 "
                                           << "'2010000 ' nem érvényes egész szám.";
    QTest::newRow("leading zero") << "01234567"
                                  << "Nullával nem kezdödhet!";
    QTest::newRow("letters") << "2010000a"
                             << "'2010000a' nem érvényes egész szám.";
    QTest::newRow("good") << "20100000"
                          << "";
    QTest::newRow("largest") << "99999999"
                             << "";
}

void TestPurchaserRecord::seedChecks() {
    QFETCH(QString, text);
    QFETCH(QString, message);
    QCOMPARE(ticketNumberSeedError(text), message);
}

void TestPurchaserRecord::yearOpening_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("message");
    QTest::newRow("empty") << ""
                           << "Nincs megadva sorszám!";
    QTest::newRow("seven long") << "0123456"
                                << "Nem 8 hosszú a számsor!";
    QTest::newRow("leading zero") << "01234567"
                                  << "Nullával nem kezdödhet!";
    QTest::newRow("stored") << "20100000"
                            << "";
}

// The purchaser has no ticket: the tab shows the last used number and takes a new one.
void TestPurchaserRecord::yearOpening() {
    QFETCH(QString, text);
    QFETCH(QString, message);
    TestDatabase db;
    UiRecorder recorder;
    TForm1 form;
    selectLast(form);
    bool openAfter = false;
    inRecord(form, recorder, [&](TForm17& window) {
        QVERIFY(!shown(child<QLineEdit>(window, "Edit1")));
        QVERIFY(!shown(child<QPushButton>(window, "Button4")));
        child<QTabWidget>(window, "PageControl1")->setCurrentIndex(1);
        QVERIFY(recorder.messages.isEmpty());
        QVERIFY(shown(child<QLineEdit>(window, "Edit1")));
        QVERIFY(shown(child<QPushButton>(window, "Button4")));
        QCOMPARE(child<TDBEdit>(window, "DBEdit11")->text(), QStringLiteral("10000000"));
        retype(child<QLineEdit>(window, "Edit1"), text);
        QCOMPARE(child<QLineEdit>(window, "Edit1")->text(), text);
        child<QPushButton>(window, "Button3")->setFocus();
        child<QPushButton>(window, "Button4")->click();
        openAfter = window.isVisible();
        if (!message.isEmpty())
            QCOMPARE(QApplication::focusWidget(), child<QLineEdit>(window, "Edit1"));
    });
    if (message.isEmpty()) {
        QVERIFY(recorder.messages.isEmpty());
        QVERIFY(!openAfter);
        QCOMPARE(seedOf(QStringLiteral("1")), text);
        // Committed at once: a rollback elsewhere does not take it back.
        Data->IBTrans1->Rollback();
        QCOMPARE(seedOf(QStringLiteral("1")), text);
    } else {
        QCOMPARE(recorder.messageTexts(), QStringList{message});
        QVERIFY(openAfter);
        QCOMPARE(seedOf(QStringLiteral("1")), QStringLiteral("10000000"));
    }
}

// With a ticket of the purchaser every change of tab, in either direction, says so and the input stays
// hidden.
void TestPurchaserRecord::ticketBlocksYearOpening() {
    TestDatabase db(true);
    db.exec(QStringLiteral("INSERT INTO FJFEJ (F_BSZAM, F_AKOD) VALUES ('20000001', '2')"));
    UiRecorder recorder;
    TForm1 form;
    selectLast(form);
    QCOMPARE(AktAkod, QStringLiteral("2"));
    inRecord(form, recorder, [&](TForm17& window) {
        child<QTabWidget>(window, "PageControl1")->setCurrentIndex(1);
        QCOMPARE(recorder.messageTexts(), QStringList{TicketMessage});
        QVERIFY(!shown(child<QLineEdit>(window, "Edit1")));
        QVERIFY(!shown(child<QPushButton>(window, "Button4")));
        child<QTabWidget>(window, "PageControl1")->setCurrentIndex(0);
        QCOMPARE(recorder.messageTexts(), (QStringList{TicketMessage, TicketMessage}));
        child<QTabWidget>(window, "PageControl1")->setCurrentIndex(1);
        QCOMPARE(recorder.messages.size(), 3);
        QVERIFY(!shown(child<QLineEdit>(window, "Edit1")));
    });
    // The other purchaser has no ticket: its year opening is open.
    recorder.clear();
    AktAkod = QStringLiteral("1");
    inRecord(form, recorder, [&](TForm17& window) {
        child<QTabWidget>(window, "PageControl1")->setCurrentIndex(1);
        QVERIFY(recorder.messages.isEmpty());
        QVERIFY(shown(child<QLineEdit>(window, "Edit1")));
    });
}

void TestPurchaserRecord::serviceKeyShowsTheInput_data() {
    QTest::addColumn<char>("key");
    QTest::addColumn<bool>("opens");
    QTest::newRow("S") << 'S' << true;
    QTest::newRow("s") << 's' << true;
    QTest::newRow("another letter") << 'x' << false;
}

// The service key on "Bezárás" of the year opening shows the input despite the tickets, and the seed can be
// stored.
void TestPurchaserRecord::serviceKeyShowsTheInput() {
    QFETCH(char, key);
    QFETCH(bool, opens);
    TestDatabase db;
    db.exec(QStringLiteral("INSERT INTO FJFEJ (F_BSZAM, F_AKOD) VALUES ('10000001', '1')"));
    UiRecorder recorder;
    TForm1 form;
    selectLast(form);
    inRecord(form, recorder, [&](TForm17& window) {
        child<QTabWidget>(window, "PageControl1")->setCurrentIndex(1);
        QCOMPARE(recorder.messages.size(), 1);
        child<QPushButton>(window, "Button3")->setFocus();
        QTest::keyClick(child<QPushButton>(window, "Button3"), key);
        QCOMPARE(recorder.messages.size(), 1);
        QCOMPARE(shown(child<QLineEdit>(window, "Edit1")), opens);
        QCOMPARE(shown(child<QPushButton>(window, "Button4")), opens);
        QVERIFY(window.isVisible());
        if (!opens)
            return;
        QCOMPARE(child<TDBEdit>(window, "DBEdit11")->text(), QStringLiteral("10000000"));
        retype(child<QLineEdit>(window, "Edit1"), QStringLiteral("30000000"));
        child<QPushButton>(window, "Button4")->click();
        QVERIFY(!window.isVisible());
    });
    QCOMPARE(seedOf(QStringLiteral("1")), opens ? QStringLiteral("30000000") : QStringLiteral("10000000"));
}

// Before any selection the window shows the first purchaser, and a seed stored there changes no row: that is
// a failure, reported with the window's own message, and the window stays open.
void TestPurchaserRecord::seedBeforeAnySelectionChangesNoRow() {
    TestDatabase db(true);
    UiRecorder recorder;
    TForm1 form;
    inRecord(form, recorder, [&](TForm17& window) {
        QCOMPARE(child<TDBEdit>(window, "DBEdit3")->text(), QStringLiteral("Első Felvásárló Kft."));
        child<QTabWidget>(window, "PageControl1")->setCurrentIndex(1);
        QVERIFY(shown(child<QLineEdit>(window, "Edit1")));
        QCOMPARE(child<TDBEdit>(window, "DBEdit11")->text(), QString());
        retype(child<QLineEdit>(window, "Edit1"), QStringLiteral("40000000"));
        child<QPushButton>(window, "Button4")->click();
        QVERIFY(window.isVisible());
        QCOMPARE(window.focusWidget(), child<QLineEdit>(window, "Edit1"));
    });
    QCOMPARE(recorder.messageTexts(), QStringList{"Hiba: Letároláskor az UPDATE Sorszam -ba "});
    QCOMPARE(seedOf(QStringLiteral("1")), QStringLiteral("10000000"));
    QCOMPARE(seedOf(QStringLiteral("2")), QStringLiteral("20000000"));
}

// A chosen purchaser without a number row: the seed changes nothing, and says so.
void TestPurchaserRecord::seedWithoutNumberRowFails() {
    TestDatabase db(true);
    db.exec(QStringLiteral("DELETE FROM SORSZAM WHERE A_AKOD = '2'"));
    UiRecorder recorder;
    TForm1 form;
    selectLast(form);
    QCOMPARE(AktAkod, QStringLiteral("2"));
    inRecord(form, recorder, [&](TForm17& window) {
        child<QTabWidget>(window, "PageControl1")->setCurrentIndex(1);
        retype(child<QLineEdit>(window, "Edit1"), QStringLiteral("20100000"));
        child<QPushButton>(window, "Button4")->click();
        QVERIFY(window.isVisible());
    });
    QCOMPARE(recorder.messageTexts(), QStringList{"Hiba: Letároláskor az UPDATE Sorszam -ba "});
    QCOMPARE(committedValueCount(), 1);
}

// Through the service key too, a seed at or below the purchaser's highest ticket is refused: the next ticket
// would take a number already used. A seed above it is stored.
void TestPurchaserRecord::seedNotAboveTicketsRefused_data() {
    QTest::addColumn<QString>("seed");
    QTest::addColumn<bool>("stored");
    QTest::newRow("below") << "10000000" << false;
    QTest::newRow("equal") << "10000005" << false;
    QTest::newRow("above") << "10000006" << true;
}

void TestPurchaserRecord::seedNotAboveTicketsRefused() {
    QFETCH(QString, seed);
    QFETCH(bool, stored);
    TestDatabase db;
    db.exec(QStringLiteral("INSERT INTO FJFEJ (F_BSZAM, F_AKOD) VALUES ('10000001', '1')"));
    db.exec(QStringLiteral("INSERT INTO FJFEJ (F_BSZAM, F_AKOD) VALUES ('10000005', '1')"));
    db.exec(QStringLiteral("INSERT INTO FJFEJ (F_BSZAM, F_AKOD) VALUES ('9000', '1')"));
    UiRecorder recorder;
    TForm1 form;
    selectLast(form);
    inRecord(form, recorder, [&](TForm17& window) {
        child<QPushButton>(window, "Button3")->setFocus();
        QTest::keyClick(child<QPushButton>(window, "Button3"), 'S');
        retype(child<QLineEdit>(window, "Edit1"), seed);
        child<QPushButton>(window, "Button4")->click();
        QCOMPARE(window.isVisible(), !stored);
    });
    QCOMPARE(recorder.messageTexts(),
             stored
                 ? QStringList()
                 : QStringList{"A sorszámnak nagyobbnak kell lennie az átvevő utolsó felvásárlási jegyének "
                               "számánál (10000005)!"});
    QCOMPARE(seedOf(QStringLiteral("1")), stored ? seed : QStringLiteral("10000000"));
}

// The row's ID never changes; its code only while no ticket carries it.
void TestPurchaserRecord::keyFieldsReadOnly() {
    TestDatabase db(true);
    db.exec(QStringLiteral("INSERT INTO FJFEJ (F_BSZAM, F_AKOD) VALUES ('20000001', '2')"));
    UiRecorder recorder;
    TForm1 form;
    selectLast(form);
    QCOMPARE(AktAkod, QStringLiteral("2"));
    inRecord(form, recorder, [&](TForm17& window) {
        QVERIFY(child<TDBEdit>(window, "DBEdit1")->isReadOnly());
        QVERIFY(child<TDBEdit>(window, "DBEdit2")->isReadOnly());
        QVERIFY(!child<TDBEdit>(window, "DBEdit3")->isReadOnly());
        child<TDBEdit>(window, "DBEdit2")->setFocus();
        QTest::keyClicks(child<TDBEdit>(window, "DBEdit2"), "9");
        QCOMPARE(child<TDBEdit>(window, "DBEdit2")->text(), QStringLiteral("2"));
    });
    QCOMPARE(purchaserValue(QStringLiteral("2"), QStringLiteral("V_AKOD")), QStringLiteral("2"));
    // Purchaser 1 has no ticket: its code may still be set.
    AktAkod = QStringLiteral("1");
    Data->IBTable6->Locate(QStringLiteral("V_AKOD"), QStringLiteral("1"), 0);
    inRecord(form, recorder, [&](TForm17& window) {
        QVERIFY(child<TDBEdit>(window, "DBEdit1")->isReadOnly());
        QVERIFY(!child<TDBEdit>(window, "DBEdit2")->isReadOnly());
    });
}

// "Letárol" stores the purchaser row and commits it: it is there after a rollback and after the program has
// ended and started again.
void TestPurchaserRecord::storedRecordSurvivesRestart() {
    TestDatabase db(true);
    UiRecorder recorder;
    {
        TForm1 form;
        selectLast(form);
        inRecord(form, recorder, [&](TForm17& window) {
            QCOMPARE(child<TDBEdit>(window, "DBEdit3")->text(),
                     QStringLiteral("Alföldi Állatfelvásárló Bt."));
            retype(child<TDBEdit>(window, "DBEdit5"), QStringLiteral("Kossuth tér 2."));
            retype(child<TDBEdit>(window, "DBEdit8"), QStringLiteral("8123456789"));
            child<QPushButton>(window, "Button2")->click();
            QVERIFY(window.isVisible());
            QCOMPARE(Data->IBTable6->State(), TDataSetState::Browse);
            Data->IBTrans1->Rollback();
            child<QPushButton>(window, "Button1")->click();
            QVERIFY(!window.isVisible());
        });
        QVERIFY(recorder.messages.isEmpty());
        form.close();
    }
    recorder.clear();
    TForm1 again;
    QVERIFY(!again.StartupFailed());
    QCOMPARE(purchaserValue(QStringLiteral("2"), QStringLiteral("V_UTCA")), QStringLiteral("Kossuth tér 2."));
    QCOMPARE(purchaserValue(QStringLiteral("2"), QStringLiteral("V_ADOAZON")), QStringLiteral("8123456789"));
    QCOMPARE(purchaserValue(QStringLiteral("1"), QStringLiteral("V_UTCA")),
             QStringLiteral("Szolnoki út 12."));
}

// A value the database refuses (a postal code longer than its column): its message, the row stays in edit,
// and closing the window drops it.
void TestPurchaserRecord::refusedRecordStaysInEdit() {
    TestDatabase db;
    UiRecorder recorder;
    TForm1 form;
    selectLast(form);
    inRecord(form, recorder, [&](TForm17& window) {
        retype(child<TDBEdit>(window, "DBEdit6"), QStringLiteral("123456789"));
        child<QPushButton>(window, "Button2")->click();
        QCOMPARE(recorder.messages.size(), 1);
        QCOMPARE(recorder.messages[0].caption, vardelo::errorCaption());
        QVERIFY(!recorder.messages[0].text.isEmpty());
        QVERIFY(window.isVisible());
        QCOMPARE(Data->IBTable6->State(), TDataSetState::Edit);
        QCOMPARE(child<TDBEdit>(window, "DBEdit6")->text(), QStringLiteral("123456789"));
        child<QPushButton>(window, "Button5")->click();
    });
    QCOMPARE(Data->IBTable6->State(), TDataSetState::Browse);
    QCOMPARE(purchaserValue(QStringLiteral("1"), QStringLiteral("V_IRSZAM")), QStringLiteral("6000"));
    QCOMPARE(Data->IBTable6->FieldByName(QStringLiteral("V_IRSZAM")).AsString(), QStringLiteral("6000"));
}

// Another desk stored a change of the purchaser after the window read it: "Letárol" is refused naming the
// change, the typing stays in edit; asked for, the row is read again and the typing is stored on it.
void TestPurchaserRecord::changeOfAnotherDeskIsNotOverwritten() {
    TestDatabase db(true);
    UiRecorder recorder;
    TForm1 form;
    selectLast(form);
    inRecord(form, recorder, [&](TForm17& window) {
        retype(child<TDBEdit>(window, "DBEdit5"), QStringLiteral("Kossuth tér 2."));
        db.execAsAnotherDesk("UPDATE atvevo SET v_neve = 'Másik Bt.' WHERE v_akod = '2'");
        recorder.answer(MsgButton::No);
        child<QPushButton>(window, "Button2")->click();
        QCOMPARE(recorder.messageTexts(),
                 QStringList{QStringLiteral("Az átvevő adatait nem sikerült tárolni.")});
        QVERIFY(recorder.messages.last().reason.startsWith(
            QStringLiteral("Ezt az adatot közben egy másik munkahely módosította: Átvevő neve: „Alföldi "
                           "Állatfelvásárló Bt.” helyett most „Másik Bt.”.")));
        QCOMPARE(Data->IBTable6->State(), TDataSetState::Edit);
        QCOMPARE(child<TDBEdit>(window, "DBEdit5")->text(), QStringLiteral("Kossuth tér 2."));

        recorder.answer(MsgButton::Yes);
        child<QPushButton>(window, "Button2")->click();
        QCOMPARE(Data->IBTable6->State(), TDataSetState::Browse);
        QCOMPARE(child<TDBEdit>(window, "DBEdit3")->text(), QStringLiteral("Másik Bt."));
        retype(child<TDBEdit>(window, "DBEdit5"), QStringLiteral("Kossuth tér 2."));
        child<QPushButton>(window, "Button2")->click();
        QCOMPARE(recorder.messages.size(), 2);
        child<QPushButton>(window, "Button1")->click();
    });
    QCOMPARE(purchaserValue(QStringLiteral("2"), QStringLiteral("V_UTCA")), QStringLiteral("Kossuth tér 2."));
    QCOMPARE(purchaserValue(QStringLiteral("2"), QStringLiteral("V_NEVE")), QStringLiteral("Másik Bt."));
}

void TestPurchaserRecord::bankAccountTakesDigitsOnly() {
    TestDatabase db;
    UiRecorder recorder;
    TForm1 form;
    selectLast(form);
    inRecord(form, recorder, [&](TForm17& window) {
        retype(child<TDBEdit>(window, "DBEdit9"), QStringLiteral("1173-2009 x12"));
        QCOMPARE(child<TDBEdit>(window, "DBEdit9")->text(), QStringLiteral("1173200912"));
        child<QTabWidget>(window, "PageControl1")->setCurrentIndex(1);
        recorder.clear();
        retype(child<QLineEdit>(window, "Edit1"), QStringLiteral("2010-0000a"));
        QCOMPARE(child<QLineEdit>(window, "Edit1")->text(), QStringLiteral("20100000"));
    });
}

QTEST_MAIN(TestPurchaserRecord)
#include "test_purchaser_record.moc"
