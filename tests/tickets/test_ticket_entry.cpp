#include "data/text_formats.h"
#include "support/children.h"
#include "support/test_database.h"
#include "support/ui_recorder.h"
#include "ticket_data.h"
#include "ticket_fixture.h"
#include "tickets/ticket_queries.h"
#include "tickets/ticket_rules.h"
#include "widgets/form_controls.h"
#include "widgets/save_refusal.h"

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QTest>

using vardelo::testing::child;
using namespace vardelo;
using namespace vardelo::testing;

namespace {

// The browser's way of opening a ticket for change: the list on the ticket, its lines, the load.
void loadForChange(TForm9& form, const QString& number) {
    tickets::openTicketHeaders();
    tickets::locateTicket(number);
    tickets::openTicketLines(number);
    form.LoadForChange();
    form.show();
}

// Purchaser 1's ticket 10000001 with one line, stored and opened in the entry for a change.
void openStoredForChange(TestDatabase& db, TForm9& form, const StoredTicket& ticket = {},
                         const StoredLine& line = {}) {
    selectPurchaser("1");
    storeTicket(db, ticket);
    storeLine(db, line);
    JegyMod = tickets::JegyModositas;
    loadForChange(form, "10000001");
}

void showActive(QWidget& window) {
    window.show();
    QApplication::setActiveWindow(&window);
    QVERIFY(QTest::qWaitForWindowActive(&window));
}

} // namespace

class TestTicketEntry : public QObject {
    Q_OBJECT
private slots:
    void newTicketTakesNextNumberAndConsumesItOnSave();
    void cancelledTicketLinesComeBackUnderSameNumber();
    void numberBeyondTheColumnFailsAndKeepsSeed();
    void numberUpdateFailureStoresNothing();
    void unreadableNumberNamesTheField();
    void headerChecksInOrder_data();
    void headerChecksInOrder();
    void okWithoutLines();
    void contributionByVersion_data();
    void contributionByVersion();
    void producerChoiceOverwritesSzja();
    void declarationOnLoad_data();
    void declarationOnLoad();
    void declarationBoxFollowsTick();
    void changeSaveRewritesHeaderAndClearsMark();
    void largeTotalsShowWhole();
    void totalsOnAHalfNotExactInBinary();
    void failedChangeKeepsWindowAndInput();
    void conflictWithAnotherDeskKeepsInput();
    void newTicketLeavesAnotherDesksLines();
    void abandonedLinesComeToTheNextNewTicket();
    void linesOfAnEarlierVersionComeWithTheNumber();
    void movedNumberIsTold();
    void changedTicketIsRefused_data();
    void changedTicketIsRefused();
    void deletedProducerRefusesTheSave_data();
    void deletedProducerRefusesTheSave();
    void changedOrDeletedLineIsRefused();
    void decimalCommaAndPoint();
    void newLineTakesWeightDeductionAndGridPositions();
    void deleteLineCommitsAtOnce();
    void deleteOnEmptyGridDeletesNothing();
    void failedLineKeepsDialogAndInput();
    void lineChecksInDialog();
    void lineBeyondLimitsRefused();
    void szjaTakesDigitsOnly();
    void animalChoiceFillsLine();
    void enterMovesFocus();
};

void TestTicketEntry::newTicketTakesNextNumberAndConsumesItOnSave() {
    TestDatabase db(true);
    UiRecorder rec;
    db.exec("UPDATE sorszam SET a_fjbszam = '12345678' WHERE a_akod = '1'");
    selectPurchaser("1");
    JegyMod = tickets::UjJegy;
    TForm9 form;
    form.show();

    const QString today = dateText(QDate::currentDate());
    QCOMPARE(form.windowTitle(), QString("Felvásárlási jegy bevitel"));
    QCOMPARE(child<QLineEdit>(form, "Edit1")->text(), QString("12345679"));
    QCOMPARE(child<QLineEdit>(form, "Edit3")->text(), today);
    QCOMPARE(child<QLineEdit>(form, "Edit10")->text(), today);
    QCOMPARE(child<QLineEdit>(form, "Edit11")->text(), today);
    QCOMPARE(child<QLineEdit>(form, "Edit5")->text(), QString());
    QCOMPARE(child<QLineEdit>(form, "Edit6")->text(), QString("0"));
    QCOMPARE(child<QLineEdit>(form, "Edit14")->text(), QString("12"));
    QCOMPARE(child<QLineEdit>(form, "Edit13")->text(), QString("0"));
    QVERIFY(child<QCheckBox>(form, "CheckBox2")->isChecked());
    QCOMPARE(child<QLineEdit>(form, "Edit12")->text(), Data->IBTable6->FieldByName("V_NYILATK").AsString());
    QCOMPARE(child<QLineEdit>(form, "FelvarTotal")->text(), QString()); // a new ticket opens without totals

    rec.expectModal(writeLine());
    child<QPushButton>(form, "NewLineButton")->click();
    // The line is stored at once, as this desk's line without a number until the ticket is stored.
    QCOMPARE(lineCount("12345679"), 0);
    QCOMPARE(unsavedLineCount(), 1);
    QCOMPARE(committedValue("SELECT a_fjbszam FROM sorszam WHERE a_akod = '1'").toString(),
             QString("12345678"));

    fillHeader(form);
    child<QPushButton>(form, "OkButton")->click(); // the deduction "0" counts as given
    QVERIFY(rec.messageTexts().isEmpty());
    QVERIFY(!form.isVisible());
    QCOMPARE(form.result(), int(QDialog::Accepted));
    QCOMPARE(committedValue("SELECT a_fjbszam FROM sorszam WHERE a_akod = '1'").toString(),
             QString("12345679"));
    QCOMPARE(committedValue("SELECT COUNT(*) FROM fjfej WHERE f_bszam = '12345679' AND f_akod = '1'").toInt(),
             1);
    QVERIFY(value("SELECT f_prn FROM fjfej WHERE f_bszam = '12345679'").isNull());
    QCOMPARE(value("SELECT f_utal FROM fjfej WHERE f_bszam = '12345679'").toString(), QString(" "));
    QCOMPARE(value("SELECT f_kelt FROM fjfej WHERE f_bszam = '12345679'").toDate(), QDate(2010, 8, 31));
    QCOMPARE(value("SELECT f_levonas FROM fjfej WHERE f_bszam = '12345679'").toDouble(), 0.0);
    QCOMPARE(AktBszam, QString("12345679"));
    QCOMPARE(Data->ZQ10->FieldByName("F_BSZAM").AsString(), QString("12345679"));
    QCOMPARE(committedValue("SELECT COUNT(*) FROM fjsor WHERE s_bszam = '12345679' AND s_munkahely IS NULL "
                            "AND s_munkaido IS NULL")
                 .toInt(),
             1);
    QCOMPARE(unsavedLineCount(), 0);
}

void TestTicketEntry::cancelledTicketLinesComeBackUnderSameNumber() {
    TestDatabase db(true);
    UiRecorder rec;
    selectPurchaser("1");
    JegyMod = tickets::UjJegy;
    {
        TForm9 form;
        form.show();
        QCOMPARE(child<QLineEdit>(form, "Edit1")->text(), QString("10000001"));
        rec.expectModal(writeLine({.name = "Borjú", .animalCode = "4"}));
        child<QPushButton>(form, "NewLineButton")->click();
        child<QPushButton>(form, "CancelButton")->click();
        QCOMPARE(form.result(), int(QDialog::Rejected));
    }
    QCOMPARE(committedValue("SELECT a_fjbszam FROM sorszam WHERE a_akod = '1'").toString(),
             QString("10000000"));
    TForm9 again;
    again.show();
    QCOMPARE(child<QLineEdit>(again, "Edit1")->text(), QString("10000001"));
    QCOMPARE(Data->ZQ20->RecordCount(), 1);
    QCOMPARE(Data->ZQ20->FieldByName("S_MEGNEVEZES").AsString(), QString("Borjú"));
}

void TestTicketEntry::numberBeyondTheColumnFailsAndKeepsSeed() {
    TestDatabase db(true);
    UiRecorder rec;
    db.exec("UPDATE sorszam SET a_fjbszam = '99999999' WHERE a_akod = '1'");
    selectPurchaser("1");
    JegyMod = tickets::UjJegy;
    TForm9 form;
    form.show();
    QCOMPARE(child<QLineEdit>(form, "Edit1")->text(), QString("100000000"));
    rec.expectModal(writeLine());
    child<QPushButton>(form, "NewLineButton")->click();
    fillHeader(form);
    child<QLineEdit>(form, "Edit4")->setText("Megjegyzés marad");
    child<QPushButton>(form, "OkButton")->click();
    QCOMPARE(rec.messageTexts(), QStringList{"Hiba1: Újban, INSERT a Fjfejben "});
    QVERIFY(form.isVisible());
    QCOMPARE(child<QLineEdit>(form, "Edit4")->text(), QString("Megjegyzés marad"));
    QCOMPARE(child<QLineEdit>(form, "Edit3")->text(), QString("2010.08.31."));
    QCOMPARE(committedValue("SELECT a_fjbszam FROM sorszam WHERE a_akod = '1'").toString(),
             QString("99999999"));
    QCOMPARE(value("SELECT COUNT(*) FROM fjfej").toInt(), 0);
    // The lists closed by the rollback are open again.
    QCOMPARE(Data->ZQ20->RecordCount(), 1);
}

void TestTicketEntry::numberUpdateFailureStoresNothing() {
    TestDatabase db(true);
    UiRecorder rec;
    // The number row is found by its ID but not by the purchaser code the update uses.
    db.exec("UPDATE sorszam SET a_akod = '9' WHERE id_sorszam = 1");
    selectPurchaser("1");
    JegyMod = tickets::UjJegy;
    TForm9 form;
    form.show();
    rec.expectModal(writeLine());
    child<QPushButton>(form, "NewLineButton")->click();
    fillHeader(form);
    child<QPushButton>(form, "OkButton")->click();
    QCOMPARE(rec.messageTexts(), QStringList{"Hiba: Új UPDATE Sorszam -ba "});
    QVERIFY(form.isVisible());
    QCOMPARE(committedValue("SELECT COUNT(*) FROM fjfej").toInt(), 0);
}

// A number that does not read as one ("1,2,3" passes the key filter) is refused before anything is written,
// with a message that names the field, which takes the focus; nothing stored, no number used.
void TestTicketEntry::unreadableNumberNamesTheField() {
    TestDatabase db(true);
    UiRecorder rec;
    selectPurchaser("1");
    JegyMod = tickets::UjJegy;
    TForm9 form;
    form.show();
    rec.expectModal(writeLine());
    child<QPushButton>(form, "NewLineButton")->click();
    fillHeader(form);
    child<QLineEdit>(form, "Edit13")->setText("1,2,3");
    child<QPushButton>(form, "OkButton")->click();
    QCOMPARE(rec.messageTexts(),
             QStringList{"A levonás (Ft) nem szám („1,2,3”), 0 és 99 999 999 közötti szám "
                         "lehet, legfeljebb 4 tizedesjeggyel!"});
    QVERIFY(form.isVisible());
    QCOMPARE(form.focusWidget(), child<QLineEdit>(form, "Edit13"));
    QCOMPARE(child<QLineEdit>(form, "Edit13")->text(), QString("1,2,3"));
    QCOMPARE(committedValue("SELECT COUNT(*) FROM fjfej").toInt(), 0);
    QCOMPARE(committedValue("SELECT a_fjbszam FROM sorszam WHERE a_akod = '1'").toString(),
             QString("10000000"));
    // Corrected, the same window stores the ticket under the same number.
    child<QLineEdit>(form, "Edit13")->setText("0");
    child<QPushButton>(form, "OkButton")->click();
    QVERIFY(!form.isVisible());
    QCOMPARE(committedValue("SELECT f_bszam FROM fjfej").toString(), QString("10000001"));
    QCOMPARE(committedValue("SELECT a_fjbszam FROM sorszam WHERE a_akod = '1'").toString(),
             QString("10000001"));
}

void TestTicketEntry::headerChecksInOrder_data() {
    QTest::addColumn<QStringList>("emptied");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("focus");
    QTest::newRow("issue date") << QStringList{"Edit3", "Edit6"} << ""
                                << "Nincs megadva a kiállítás dátuma!"
                                << "Edit3";
    QTest::newRow("purchase date blanks") << QStringList{"Edit10", "Edit11"} << "  "
                                          << "Nincs megadva a felvásárlás dátuma!"
                                          << "Edit10";
    QTest::newRow("payment date") << QStringList{"Edit11"} << ""
                                  << "Nincs megadva a átvétel dátum!"
                                  << "Edit11";
    QTest::newRow("szja blanks") << QStringList{"Edit6", "Edit5"} << " "
                                 << "Nincs megadva az szja!"
                                 << "Edit6";
    QTest::newRow("producer") << QStringList{"Edit5", "Edit13"} << ""
                              << "Nincs kiválasztva őstermelő!"
                              << "ProducerButton";
    QTest::newRow("deduction") << QStringList{"Edit13", "Edit14"} << ""
                               << "Nincs megadva vagy nem nulla a levonás!"
                               << "Edit13";
    QTest::newRow("weight deduction") << QStringList{"Edit14", "Edit15"} << ""
                                      << "Nincs megadva súlylevonás % -a!"
                                      << "Edit14";
    QTest::newRow("contribution") << QStringList{"Edit15"} << "   "
                                  << "Nincs megadva tagok hozzájárulása % -a!"
                                  << "Edit15";
    QTest::newRow("issue date impossible") << QStringList{"Edit3"} << "2010.02.30."
                                           << "Hibás a kiállítás dátuma!"
                                           << "Edit3";
    QTest::newRow("purchase date garbled") << QStringList{"Edit10"} << "2010.13.1"
                                           << "Hibás a felvásárlás dátuma!"
                                           << "Edit10";
    QTest::newRow("payment date garbled") << QStringList{"Edit11"} << "31.08.2010"
                                          << "Hibás az átvétel dátuma!"
                                          << "Edit11";
}

void TestTicketEntry::headerChecksInOrder() {
    QFETCH(QStringList, emptied);
    QFETCH(QString, text);
    QFETCH(QString, message);
    QFETCH(QString, focus);
    TestDatabase db(true);
    UiRecorder rec;
    selectPurchaser("1");
    JegyMod = tickets::UjJegy;
    TForm9 form;
    form.show();
    rec.expectModal(writeLine());
    child<QPushButton>(form, "NewLineButton")->click();
    fillHeader(form);
    for (const QString& name : emptied)
        form.findChild<QLineEdit*>(name)->setText(text);
    child<QPushButton>(form, "OkButton")->click();
    QCOMPARE(rec.messageTexts(), QStringList{message});
    QCOMPARE(form.focusWidget()->objectName(), focus);
    QVERIFY(form.isVisible());
    QCOMPARE(value("SELECT COUNT(*) FROM fjfej").toInt(), 0);
}

void TestTicketEntry::okWithoutLines() {
    TestDatabase db(true);
    UiRecorder rec;
    selectPurchaser("1");
    JegyMod = tickets::UjJegy;
    TForm9 form;
    form.show();
    fillHeader(form);
    child<QPushButton>(form, "OkButton")->click();
    QCOMPARE(rec.messageTexts(), QStringList{"Nincs a felvásárlási jegynek tételsora!"});
    QCOMPARE(form.focusWidget(), child<QPushButton>(form, "ProducerButton"));
    QVERIFY(form.isVisible());
    QCOMPARE(value("SELECT COUNT(*) FROM fjfej").toInt(), 0);
}

void TestTicketEntry::contributionByVersion_data() {
    QTest::addColumn<QString>("akod");
    QTest::addColumn<QString>("opened");
    QTest::newRow("A") << "1"
                       << "0";
    QTest::newRow("B") << "2"
                       << "2";
}

void TestTicketEntry::contributionByVersion() {
    QFETCH(QString, akod);
    QFETCH(QString, opened);
    TestDatabase db(true);
    UiRecorder rec;
    selectPurchaser(akod);
    JegyMod = tickets::UjJegy;
    {
        TForm9 form;
        form.show();
        QCOMPARE(child<QLineEdit>(form, "Edit15")->text(), opened);
    }
    // A stored rate is loaded whatever the letter.
    storeTicket(db, {.number = "30000001", .akod = akod, .jarulszaz = "3.5"});
    JegyMod = tickets::JegyModositas;
    TForm9 change;
    loadForChange(change, "30000001");
    QCOMPARE(child<QLineEdit>(change, "Edit15")->text(), QString("3,5"));
    QCOMPARE(child<QLineEdit>(change, "Edit14")->text(), QString("0")); // no lines
}

void TestTicketEntry::producerChoiceOverwritesSzja() {
    TestDatabase db(true);
    UiRecorder rec;
    selectPurchaser("1");
    JegyMod = tickets::UjJegy;
    TForm9 form;
    form.show();
    child<QLineEdit>(form, "Edit6")->setText("99");
    rec.expectModal(chooseProducer("2"));
    child<QPushButton>(form, "ProducerButton")->click();
    QCOMPARE(rec.modalsShown, QStringList{"Form4"});
    QCOMPARE(child<QLineEdit>(form, "Edit6")->text(), QString("15"));
    QCOMPARE(child<QLineEdit>(form, "Edit5")->text(), QString("2"));
    QCOMPARE(Data->ZQ31->FieldByName("O_NEV").AsString(), QString("Nagy Éva"));
    QCOMPARE(form.findChild<QLabel*>("Panel_O_NEV")->text(), QString("Nagy Éva"));

    child<QLineEdit>(form, "Edit6")->setText("20");
    rec.expectModal(chooseProducer("5"));
    child<QPushButton>(form, "ProducerButton")->click();
    QCOMPARE(child<QLineEdit>(form, "Edit6")->text(), QString("0"));
    QCOMPARE(child<QLineEdit>(form, "Edit5")->text(), QString("5"));
}

void TestTicketEntry::declarationOnLoad_data() {
    QTest::addColumn<QString>("stored");
    QTest::addColumn<bool>("ticked");
    QTest::addColumn<QString>("shown");
    QTest::newRow("5 characters") << "Saját" << false << " ";
    QTest::newRow("6 characters") << "Sajáté" << true << "Sajáté";
}

void TestTicketEntry::declarationOnLoad() {
    QFETCH(QString, stored);
    QFETCH(bool, ticked);
    QFETCH(QString, shown);
    TestDatabase db(true);
    UiRecorder rec;
    TForm9 form;
    openStoredForChange(db, form, {.nyilatk = stored});
    QCOMPARE(child<QCheckBox>(form, "CheckBox2")->isChecked(), ticked);
    QCOMPARE(child<QLineEdit>(form, "Edit12")->text(), shown);
    child<QPushButton>(form, "OkButton")->click();
    QVERIFY(rec.messageTexts().isEmpty());
    QCOMPARE(committedValue("SELECT f_nyilatk FROM fjfej WHERE f_bszam = '10000001'").toString(), shown);
}

void TestTicketEntry::declarationBoxFollowsTick() {
    TestDatabase db(true);
    UiRecorder rec;
    selectPurchaser("2");
    JegyMod = tickets::UjJegy;
    TForm9 form;
    form.show();
    const QString purchaserText = "A termékek saját gazdaságomból származnak.";
    QCOMPARE(child<QLineEdit>(form, "Edit12")->text(), purchaserText);
    child<QCheckBox>(form, "CheckBox2")->click();
    QCOMPARE(child<QLineEdit>(form, "Edit12")->text(), QString(" "));
    child<QLineEdit>(form, "Edit12")->setText("Átírt nyilatkozat");
    child<QCheckBox>(form, "CheckBox2")->click();
    QCOMPARE(child<QLineEdit>(form, "Edit12")->text(), purchaserText);
    QCOMPARE(child<QLineEdit>(form, "Edit12")->toolTip(), QString("A nyilatkozat szövegén itt változtathat"));
}

void TestTicketEntry::changeSaveRewritesHeaderAndClearsMark() {
    TestDatabase db(true);
    UiRecorder rec;
    TForm9 form;
    openStoredForChange(db, form, {.prn = "'I'", .utal = "x", .levonas = "150.5"}, {.levonszaz = "8"});
    QCOMPARE(form.windowTitle(), QString("Felvásárlási jegy módositás"));
    QCOMPARE(child<QLineEdit>(form, "Edit1")->text(), QString("10000001"));
    QCOMPARE(child<QLineEdit>(form, "Edit5")->text(), QString("1"));
    QCOMPARE(child<QLineEdit>(form, "Edit3")->text(), QString("2010.08.31."));
    QCOMPARE(child<QLineEdit>(form, "Edit6")->text(), QString("15"));
    QCOMPARE(child<QLineEdit>(form, "Edit13")->text(), QString("150,5"));
    QCOMPARE(child<QLineEdit>(form, "Edit14")->text(), QString("8"));
    QVERIFY(child<QCheckBox>(form, "CheckBox1")->isChecked());
    QCOMPARE(AktBszam, QString("10000001"));
    QCOMPARE(AktOkod, QString("1"));
    const double vetelar = value("SELECT s_vetelar FROM fjsor").toDouble();
    QCOMPARE(child<QLineEdit>(form, "VetelarTotal")->text(), wholeForintText(vetelar));

    child<QLineEdit>(form, "Edit4")->setText("Javított");
    child<QCheckBox>(form, "CheckBox1")->setChecked(false);
    child<QPushButton>(form, "OkButton")->click();
    QVERIFY(rec.messageTexts().isEmpty());
    QVERIFY(!form.isVisible());
    QCOMPARE(committedValue("SELECT f_prn FROM fjfej WHERE f_bszam = '10000001'").toString(), QString(" "));
    QCOMPARE(committedValue("SELECT f_megj FROM fjfej WHERE f_bszam = '10000001'").toString(),
             QString("Javított"));
    QCOMPARE(committedValue("SELECT f_utal FROM fjfej WHERE f_bszam = '10000001'").toString(), QString(" "));
    QCOMPARE(committedValue("SELECT f_levonas FROM fjfej WHERE f_bszam = '10000001'").toDouble(), 150.5);
    QCOMPARE(committedValue("SELECT COUNT(*) FROM fjfej").toInt(), 1);
}

void TestTicketEntry::failedChangeKeepsWindowAndInput() {
    TestDatabase db(true);
    UiRecorder rec;
    TForm9 form;
    openStoredForChange(db, form);
    const QString tooLong(201, QChar('x')); // F_MEGJ holds 200
    child<QLineEdit>(form, "Edit4")->setText(tooLong);
    child<QPushButton>(form, "OkButton")->click();
    QCOMPARE(rec.messageTexts(), QStringList{"Hiba2: Módositás, UPDATE a Zozed fejben "});
    QVERIFY(form.isVisible());
    QCOMPARE(child<QLineEdit>(form, "Edit4")->text(), tooLong);
    QCOMPARE(committedValue("SELECT f_megj FROM fjfej WHERE f_bszam = '10000001'").toString(),
             QString("Első jegy"));
    QCOMPARE(Data->ZQ20->RecordCount(), 1);
    QCOMPARE(Data->ZQ31->FieldByName("O_KOD").AsString(), QString("1"));
}

// Another desk changes the same ticket and has not committed yet: the non-waiting transaction fails at once,
// the clerk is told so under the screen's own message, and keeps what was typed; nothing is written.
void TestTicketEntry::conflictWithAnotherDeskKeepsInput() {
    TestDatabase db(true);
    UiRecorder rec;
    TForm9 form;
    openStoredForChange(db, form);

    TConnection other("otherDesk");
    other.Connect();
    TTransaction otherTransaction("otherDeskTransaction", &other);
    TZQuery otherWrite("otherDeskWrite", &other, &otherTransaction);
    otherWrite.SQL.Add("UPDATE fjfej SET f_megj = 'Másik gép' WHERE f_bszam = '10000001'");
    otherWrite.ExecSQL();

    child<QLineEdit>(form, "Edit4")->setText("Javított");
    child<QPushButton>(form, "OkButton")->click();
    QCOMPARE(rec.messageTexts(), QStringList{"Hiba2: Módositás, UPDATE a Zozed fejben "});
    QCOMPARE(rec.messages.last().reason,
             QString("Egy másik munkahely éppen ugyanezeket az adatokat módosítja. Próbálja újra!"));
    QVERIFY(form.isVisible());
    QCOMPARE(child<QLineEdit>(form, "Edit4")->text(), QString("Javított"));
    otherTransaction.Rollback();
    other.Disconnect();
    QCOMPARE(committedValue("SELECT f_megj FROM fjfej WHERE f_bszam = '10000001'").toString(),
             QString("Első jegy"));

    // Once the other desk is done, the same window stores it.
    child<QPushButton>(form, "OkButton")->click();
    QCOMPARE(rec.messageTexts().size(), 1);
    QVERIFY(!form.isVisible());
    QCOMPARE(committedValue("SELECT f_megj FROM fjfej WHERE f_bszam = '10000001'").toString(),
             QString("Javított"));
}

// Another desk's unsaved ticket of the same purchaser: its lines are neither shown, counted nor deleted here,
// the ticket stored here holds its own lines only, and the other desk's lines stay that desk's.
void TestTicketEntry::newTicketLeavesAnotherDesksLines() {
    TestDatabase db(true);
    UiRecorder rec;
    selectPurchaser("1");
    storeUnsavedLine(db, "masik-gep", "Másik");
    JegyMod = tickets::UjJegy;
    TForm9 form;
    form.show();
    QCOMPARE(child<QLineEdit>(form, "Edit1")->text(), QString("10000001"));
    QVERIFY(Data->ZQ20->IsEmpty());
    // "OK" without a line of its own, and "Töröl" on its empty grid.
    fillHeader(form);
    child<QPushButton>(form, "OkButton")->click();
    QCOMPARE(rec.messageTexts(), QStringList{"Nincs a felvásárlási jegynek tételsora!"});
    rec.clear();
    child<QPushButton>(form, "DeleteLineButton")->click();
    QCOMPARE(committedValue("SELECT COUNT(*) FROM fjsor WHERE s_megnevezes = 'Másik'").toInt(), 1);

    rec.clear();
    rec.expectModal(writeLine({.name = "Saját"}));
    child<QPushButton>(form, "NewLineButton")->click();
    QCOMPARE(Data->ZQ20->RecordCount(), 1);
    QCOMPARE(child<QLineEdit>(form, "VetelarTotal")->text(),
             wholeForintText(value("SELECT s_vetelar FROM fjsor WHERE s_megnevezes = 'Saját'").toDouble()));
    child<QPushButton>(form, "OkButton")->click();
    QVERIFY(rec.messageTexts().isEmpty());
    QVERIFY(!form.isVisible());
    QCOMPARE(committedValue("SELECT s_megnevezes FROM fjsor WHERE s_bszam = '10000001'").toString(),
             QString("Saját"));
    QCOMPARE(committedValue("SELECT COUNT(*) FROM fjsor WHERE s_bszam = '10000001'").toInt(), 1);
    QCOMPARE(committedValue("SELECT s_munkahely FROM fjsor WHERE s_megnevezes = 'Másik' AND s_bszam IS NULL")
                 .toString(),
             QString("masik-gep"));
}

// Lines of a desk that is not attached and left them an hour ago come to the next new ticket, and the clerk
// is told; a desk's lines of a moment ago stay that desk's.
void TestTicketEntry::abandonedLinesComeToTheNextNewTicket() {
    TestDatabase db(true);
    UiRecorder rec;
    selectPurchaser("1");
    storeUnsavedLine(db, "lezuhant-gep", "Elhagyott", 61);
    storeUnsavedLine(db, "ujrainditott-gep", "Friss", 5);
    JegyMod = tickets::UjJegy;
    TForm9 form;
    form.show();
    QCOMPARE(
        rec.messageTexts(),
        QStringList{"Az új jegyen megjelent egy másik munkahely félbehagyott jegyének 1 tételsora is. Ha nem "
                    "ehhez a jegyhez tartoznak, törölje őket."});
    QCOMPARE(Data->ZQ20->RecordCount(), 1);
    QCOMPARE(Data->ZQ20->FieldByName("S_MEGNEVEZES").AsString(), QString("Elhagyott"));
    QCOMPARE(committedValue("SELECT s_munkahely FROM fjsor WHERE s_megnevezes = 'Friss'").toString(),
             QString("ujrainditott-gep"));
}

// A ticket cancelled by an earlier version left its lines under the number, without a header: the new ticket
// shows them and stores them, as a cancelled ticket's lines always came back.
void TestTicketEntry::linesOfAnEarlierVersionComeWithTheNumber() {
    TestDatabase db(true);
    UiRecorder rec;
    selectPurchaser("1");
    storeLine(db, {.number = "10000001", .name = "Régi"});
    storeLine(db, {.number = "10000002", .name = "Későbbi"});
    JegyMod = tickets::UjJegy;
    TForm9 form;
    form.show();
    QCOMPARE(Data->ZQ20->RecordCount(), 1);
    QCOMPARE(Data->ZQ20->FieldByName("S_MEGNEVEZES").AsString(), QString("Régi"));
    fillHeader(form);
    child<QPushButton>(form, "OkButton")->click();
    QVERIFY(rec.messageTexts().isEmpty());
    QCOMPARE(committedValue("SELECT s_bszam FROM fjsor WHERE s_megnevezes = 'Régi'").toString(),
             QString("10000001"));
    QCOMPARE(committedValue("SELECT s_bszam FROM fjsor WHERE s_megnevezes = 'Későbbi'").toString(),
             QString("10000002"));
}

// Another desk stored the number shown first: the ticket takes the next one, and the clerk is told which, so
// that the right number goes on paper.
void TestTicketEntry::movedNumberIsTold() {
    TestDatabase db(true);
    UiRecorder rec;
    db.exec("UPDATE sorszam SET a_fjbszam = '20000000' WHERE a_akod = '1'");
    selectPurchaser("1");
    JegyMod = tickets::UjJegy;
    TForm9 form;
    form.show();
    QCOMPARE(child<QLineEdit>(form, "Edit1")->text(), QString("20000001"));
    rec.expectModal(writeLine());
    child<QPushButton>(form, "NewLineButton")->click();
    db.execAsAnotherDesk("INSERT INTO fjfej (f_bszam, f_akod, f_ostermkod) VALUES ('20000001', '1', '1')");
    db.execAsAnotherDesk("UPDATE sorszam SET a_fjbszam = '20000001' WHERE a_akod = '1'");
    fillHeader(form);
    child<QPushButton>(form, "OkButton")->click();
    QCOMPARE(rec.messageTexts(), QStringList{"A jegy a(z) 20000002 sorszámot kapta, mert a 20000001-et egy "
                                             "másik munkahely már felhasználta."});
    QVERIFY(!form.isVisible());
    QCOMPARE(committedValue("SELECT COUNT(*) FROM fjsor WHERE s_bszam = '20000002'").toInt(), 1);
    QCOMPARE(committedValue("SELECT COUNT(*) FROM fjsor WHERE s_bszam = '20000001'").toInt(), 0);
    QCOMPARE(AktBszam, QString("20000002"));
}

// Another desk stored a change of the ticket after this window loaded it: the save is refused naming what
// changed, and the clerk's input stays, or the ticket is loaded as stored now when the clerk asks for it.
void TestTicketEntry::changedTicketIsRefused_data() {
    QTest::addColumn<bool>("reload");
    QTest::newRow("input kept") << false;
    QTest::newRow("loaded again") << true;
}

void TestTicketEntry::changedTicketIsRefused() {
    QFETCH(bool, reload);
    TestDatabase db(true);
    UiRecorder rec;
    TForm9 form;
    openStoredForChange(db, form);
    db.execAsAnotherDesk("UPDATE fjfej SET f_megj = 'AAA', f_prn = 'I' WHERE f_bszam = '10000001'");
    child<QLineEdit>(form, "Edit4")->setText("BBB");
    rec.answer(reload ? MsgButton::Yes : MsgButton::No);
    child<QPushButton>(form, "OkButton")->click();
    QCOMPARE(rec.messageTexts(), QStringList{"Hiba2: Módositás, UPDATE a Zozed fejben "});
    QCOMPARE(
        rec.messages.last().reason,
        QString("Ezt az adatot közben egy másik munkahely módosította: Nyomtatva: (üres) helyett most „I”; "
                "Megjegyzés: „Első jegy” helyett most „AAA”.\n\n") +
            ReloadQuestion);
    QVERIFY(form.isVisible());
    QCOMPARE(committedValue("SELECT f_megj FROM fjfej WHERE f_bszam = '10000001'").toString(),
             QString("AAA"));
    QCOMPARE(child<QLineEdit>(form, "Edit4")->text(), reload ? QString("AAA") : QString("BBB"));
    QCOMPARE(Data->ZQ20->RecordCount(), 1);

    // Saved again: refused again while the input stands on the old reading; stored once loaded again.
    rec.clear();
    child<QLineEdit>(form, "Edit4")->setText("CCC");
    rec.answer(MsgButton::No);
    child<QPushButton>(form, "OkButton")->click();
    QCOMPARE(form.isVisible(), !reload);
    QCOMPARE(committedValue("SELECT f_megj FROM fjfej WHERE f_bszam = '10000001'").toString(),
             reload ? QString("CCC") : QString("AAA"));
}

// The producer chosen for the ticket was deleted by another desk: nothing is stored, the window stays.
void TestTicketEntry::deletedProducerRefusesTheSave_data() {
    QTest::addColumn<bool>("change");
    QTest::newRow("new ticket") << false;
    QTest::newRow("changed ticket") << true;
}

void TestTicketEntry::deletedProducerRefusesTheSave() {
    QFETCH(bool, change);
    TestDatabase db(true);
    UiRecorder rec;
    selectPurchaser("1");
    JegyMod = change ? tickets::JegyModositas : tickets::UjJegy;
    TForm9 form;
    if (change) {
        openStoredForChange(db, form);
    } else {
        form.show();
        rec.expectModal(writeLine());
        child<QPushButton>(form, "NewLineButton")->click();
        fillHeader(form);
    }
    db.execAsAnotherDesk("DELETE FROM ostermelo WHERE o_kod = '1'");
    child<QPushButton>(form, "OkButton")->click();
    QCOMPARE(rec.messageTexts(), QStringList{change ? "Hiba2: Módositás, UPDATE a Zozed fejben "
                                                    : "Hiba1: Újban, INSERT a Fjfejben "});
    QCOMPARE(
        rec.messages.last().reason,
        QString("A jegy őstermelőjét (kód: 1) közben egy másik munkahely törölte. Válasszon őstermelőt!"));
    QVERIFY(form.isVisible());
    QCOMPARE(committedValue("SELECT COUNT(*) FROM fjfej").toInt(), change ? 1 : 0);
    QCOMPARE(committedValue("SELECT a_fjbszam FROM sorszam WHERE a_akod = '1'").toString(),
             QString("10000000"));
}

// A line another desk changed or deleted since the grid read it: its change and its delete are refused and
// told, never done unseen.
void TestTicketEntry::changedOrDeletedLineIsRefused() {
    TestDatabase db(true);
    UiRecorder rec;
    TForm9 form;
    openStoredForChange(db, form);
    db.execAsAnotherDesk("UPDATE fjsor SET s_brutto = 250 WHERE s_bszam = '10000001'");
    rec.answer(MsgButton::No);
    rec.expectModal([](QDialog& dialog) {
        child<QLineEdit>(&dialog, "Edit5")->setText("300");
        child<QPushButton>(&dialog, "OkButton")->click();
        QVERIFY(dialog.isVisible());
        QCOMPARE(child<QLineEdit>(&dialog, "Edit5")->text(), QString("300"));
    });
    child<QPushButton>(form, "ChangeLineButton")->click();
    QCOMPARE(rec.messageTexts(), QStringList{"Hiba: Módosit, UPDATE a fjsorban "});
    QCOMPARE(rec.messages.last().reason,
             QString("Ezt az adatot közben egy másik munkahely módosította: Bruttó menny: „100” helyett most "
                     "„250”.\n\n") +
                 ReloadQuestion);
    QCOMPARE(committedValue("SELECT s_brutto FROM fjsor").toDouble(), 250.0);

    // Changed again while the dialog is open, loaded again when the clerk asks; then deleted meanwhile.
    rec.clear();
    rec.answer(MsgButton::Yes);
    rec.expectModal([&db](QDialog& dialog) {
        QCOMPARE(child<QLineEdit>(&dialog, "Edit5")->text(), QString("250"));
        db.execAsAnotherDesk("UPDATE fjsor SET s_brutto = 260");
        child<QLineEdit>(&dialog, "Edit5")->setText("300");
        child<QPushButton>(&dialog, "OkButton")->click();
        QCOMPARE(child<QLineEdit>(&dialog, "Edit5")->text(), QString("260"));
        db.execAsAnotherDesk("DELETE FROM fjsor");
        child<QPushButton>(&dialog, "OkButton")->click();
        QVERIFY(dialog.isVisible());
    });
    Data->ZQ20->First();
    child<QPushButton>(form, "ChangeLineButton")->click();
    QCOMPARE(rec.messageTexts(),
             QStringList({"Hiba: Módosit, UPDATE a fjsorban ", "Hiba: Módosit, UPDATE a fjsorban "}));
    QCOMPARE(rec.messages.last().reason, QString("Ezt a sort közben egy másik munkahely törölte."));
    QVERIFY(Data->ZQ20->IsEmpty());

    // "Töröl" on a line the grid still shows but another desk deleted.
    rec.clear();
    storeLine(db, {.name = "Újabb"});
    Data->ZQ20->Close();
    Data->ZQ20->Open();
    db.execAsAnotherDesk("DELETE FROM fjsor");
    child<QPushButton>(form, "DeleteLineButton")->click();
    QCOMPARE(rec.messageTexts(), QStringList{"Hiba: Felvásárlási jegy tételsor DELETE törlésekor"});
    QCOMPARE(rec.messages.last().reason, QString("Ezt a sort közben egy másik munkahely törölte."));
}

void TestTicketEntry::decimalCommaAndPoint() {
    TestDatabase db(true);
    UiRecorder rec;
    selectPurchaser("1");
    JegyMod = tickets::UjJegy;
    TForm9 form;
    form.show();
    // A typed point becomes the decimal comma; letters are dropped.
    child<QLineEdit>(form, "Edit14")->clear();
    QTest::keyClicks(child<QLineEdit>(form, "Edit14"), "12.5a");
    QCOMPARE(child<QLineEdit>(form, "Edit14")->text(), QString("12,5"));
    child<QLineEdit>(form, "Edit15")->clear();
    QTest::keyClicks(child<QLineEdit>(form, "Edit15"), "1,5");
    QCOMPARE(child<QLineEdit>(form, "Edit15")->text(), QString("1,5"));
    child<QLineEdit>(form, "Edit13")->clear();
    QTest::keyClicks(child<QLineEdit>(form, "Edit13"), "100.25");
    QCOMPARE(child<QLineEdit>(form, "Edit13")->text(), QString("100,25"));
    child<QLineEdit>(form, "Edit6")->clear();
    QTest::keyClicks(child<QLineEdit>(form, "Edit6"), "16");

    rec.expectModal(writeLine());
    child<QPushButton>(form, "NewLineButton")->click();
    QCOMPARE(value("SELECT s_levonszaz FROM fjsor").toDouble(), 12.5);
    fillHeader(form);
    child<QPushButton>(form, "OkButton")->click();
    QVERIFY(rec.messageTexts().isEmpty());
    QCOMPARE(value("SELECT f_jarulszaz FROM fjfej").toDouble(), 1.5);
    QCOMPARE(value("SELECT f_levonas FROM fjfej").toDouble(), 100.25);
    QCOMPARE(value("SELECT f_szja FROM fjfej").toInt(), 16);
}

void TestTicketEntry::newLineTakesWeightDeductionAndGridPositions() {
    TestDatabase db(true);
    UiRecorder rec;
    selectPurchaser("1");
    JegyMod = tickets::UjJegy;
    TForm9 form;
    form.show();
    child<QLineEdit>(form, "Edit14")->setText("15");
    rec.expectModal([](QDialog& dialog) {
        QCOMPARE(dialog.windowTitle(), QString("Felvásárlási jegy tételsor"));
        writeLine({.name = "Süldő"})(dialog);
    });
    rec.expectModal(writeLine({.name = "Borjú", .gross = "250,5", .unitPrice = "640", .animalCode = "4"}));
    rec.expectModal(writeLine({.name = "Vágóbárány", .compensation = "12", .animalCode = "5"}));
    for (int i = 0; i < 3; ++i) {
        child<QPushButton>(form, "NewLineButton")->click();
        QCOMPARE(Data->ZQ20->RecordCount(), i + 1);
        QCOMPARE(Data->ZQ20->RecNo(), 1); // after an insert the grid is on the first line
    }
    QCOMPARE(rec.modalsShown, QStringList({"Form10", "Form10", "Form10"}));
    QCOMPARE(value("SELECT COUNT(*) FROM fjsor WHERE s_levonszaz = 15 AND s_akod = '1' AND s_bszam IS NULL "
                   "AND s_munkahely = '" +
                   Data->ZCon1->DeskName + "'")
                 .toInt(),
             3);
    QCOMPARE(value("SELECT s_brutto FROM fjsor WHERE s_megnevezes = 'Borjú'").toDouble(), 250.5);
    QCOMPARE(value("SELECT s_termekkod FROM fjsor WHERE s_megnevezes = 'Borjú'").toString(), QString("4"));
    const double vetelar = value("SELECT SUM(s_vetelar) FROM fjsor").toDouble();
    QCOMPARE(child<QLineEdit>(form, "VetelarTotal")->text(), wholeForintText(vetelar));
    QCOMPARE(child<QLineEdit>(form, "FelvarTotal")->text(),
             wholeForintText(value("SELECT SUM(s_felvar) FROM fjsor").toDouble()));

    // Changing the second line: the dialog is loaded from it, and the grid stays on it.
    Data->ZQ20->First();
    Data->ZQ20->Next();
    child<QLineEdit>(form, "Edit14")->setText("10");
    rec.expectModal([](QDialog& dialog) {
        auto* line = qobject_cast<TForm10*>(&dialog);
        QVERIFY(line);
        QCOMPARE(line->windowTitle(), QString("Felvásárlási jegy módositás"));
        QCOMPARE(child<QLineEdit>(line, "Edit1")->text(), QString("10000001"));
        QCOMPARE(child<QLineEdit>(line, "Edit3")->text(), QString("Borjú"));
        QCOMPARE(child<QLineEdit>(line, "Edit5")->text(), QString("250,5"));
        QCOMPARE(child<QLineEdit>(line, "Edit7")->text(), QString("640"));
        QCOMPARE(child<QLineEdit>(line, "Edit9")->text(), QString("4"));
        child<QLineEdit>(line, "Edit5")->setText("300");
        child<QPushButton>(line, "OkButton")->click();
        QVERIFY(!line->isVisible());
    });
    child<QPushButton>(form, "ChangeLineButton")->click();
    QCOMPARE(Data->ZQ20->RecNo(), 2);
    QCOMPARE(Data->ZQ20->FieldByName("S_MEGNEVEZES").AsString(), QString("Borjú"));
    QCOMPARE(Data->ZQ20->FieldByName("S_BRUTTO").AsFloat(), 300.0);
    QCOMPARE(Data->ZQ20->FieldByName("S_LEVONSZAZ").AsFloat(), 10.0);
    QCOMPARE(value("SELECT COUNT(*) FROM fjsor WHERE s_levonszaz = 15").toInt(), 2);
    QCOMPARE(committedValue("SELECT s_brutto FROM fjsor WHERE s_megnevezes = 'Borjú'").toDouble(), 300.0);
}

// Totals that add up exactly to a half forint are rounded from the exact sum, half to even: 338 523,50 of
// eight lines (doubles give 338 523,49999999994, and 338 523) shows 338 524; the screen groups with no-break
// spaces. The stored values for the change stay exact too: "2,53", not "2,5300000000000002".
void TestTicketEntry::totalsOnAHalfNotExactInBinary() {
    TestDatabase db(true);
    UiRecorder rec;
    selectPurchaser("1");
    storeTicket(db, {.szja = "10", .jarulszaz = "2.5", .levonas = "2.53"});
    for (const char* price :
         {"39243.92", "43218.88", "19666.12", "60684.62", "31198.55", "12145.93", "84093.91", "48271.57"})
        storeLine(db, {.gross = "1", .levonszaz = "0", .ear = price, .komp = "0"});
    JegyMod = tickets::JegyModositas;
    TForm9 form;
    loadForChange(form, "10000001");
    const QString nb(QChar(0x00A0));
    QCOMPARE(child<QLineEdit>(form, "VetelarTotal")->text(), "338" + nb + "524");
    QCOMPARE(child<QLineEdit>(form, "FelvarTotal")->text(), "338" + nb + "524");
    QCOMPARE(child<QLineEdit>(form, "KompfelarTotal")->text(), QString("0"));
    QCOMPARE(child<QLineEdit>(form, "Edit13")->text(), QString("2,53"));
    QCOMPARE(child<QLineEdit>(form, "Edit15")->text(), QString("2,5"));
    QCOMPARE(child<QLineEdit>(form, "Edit14")->text(), QString("0"));
}

// Totals of nine digits and more are shown whole: never "84 444 376" for 684 444 376.
void TestTicketEntry::largeTotalsShowWhole() {
    TestDatabase db(true);
    UiRecorder rec;
    selectPurchaser("1");
    JegyMod = tickets::UjJegy;
    TForm9 form;
    form.show();
    rec.expectModal(writeLine({.gross = "999999", .unitPrice = "999999"}));
    child<QPushButton>(form, "NewLineButton")->click();
    const double felvar = value("SELECT SUM(s_felvar) FROM fjsor").toDouble();
    QVERIFY(felvar > 100000000);
    QCOMPARE(child<QLineEdit>(form, "FelvarTotal")->text(), wholeForintText(felvar));
    QCOMPARE(child<QLineEdit>(form, "VetelarTotal")->text(),
             wholeForintText(value("SELECT SUM(s_vetelar) FROM fjsor").toDouble()));
    auto shownWhole = [](QLineEdit* box) {
        QCoreApplication::processEvents();
        return box->fontMetrics().horizontalAdvance(box->text()) + 8 <= box->width();
    };
    for (QLineEdit* box : {child<QLineEdit>(form, "FelvarTotal"), child<QLineEdit>(form, "KompfelarTotal"),
                           child<QLineEdit>(form, "VetelarTotal")})
        QVERIFY2(shownWhole(box), qPrintable(box->objectName()));
    // A total larger than the box was made for widens it.
    setNumberText(child<QLineEdit>(form, "VetelarTotal"), wholeForintText(12345678901234567.0));
    QVERIFY(shownWhole(child<QLineEdit>(form, "VetelarTotal")));
}

void TestTicketEntry::deleteLineCommitsAtOnce() {
    TestDatabase db(true);
    UiRecorder rec;
    selectPurchaser("1");
    JegyMod = tickets::UjJegy;
    TForm9 form;
    form.show();
    rec.expectModal(writeLine({.name = "Süldő"}));
    rec.expectModal(writeLine({.name = "Borjú", .animalCode = "4"}));
    child<QPushButton>(form, "NewLineButton")->click();
    child<QPushButton>(form, "NewLineButton")->click();
    Data->ZQ20->First(); // Süldő
    child<QPushButton>(form, "DeleteLineButton")->click();
    QCOMPARE(rec.messageTexts(), QStringList{"Az tételsor törölve!"});
    QCOMPARE(committedValue("SELECT COUNT(*) FROM fjsor").toInt(), 1);
    QCOMPARE(committedValue("SELECT s_megnevezes FROM fjsor").toString(), QString("Borjú"));
    // The grid is re-read, on its last line, and the totals follow.
    QCOMPARE(Data->ZQ20->RecordCount(), 1);
    QCOMPARE(child<QLineEdit>(form, "VetelarTotal")->text(),
             wholeForintText(value("SELECT s_vetelar FROM fjsor").toDouble()));
    QCOMPARE(Data->ZQ31->Active(), true);
}

void TestTicketEntry::deleteOnEmptyGridDeletesNothing() {
    TestDatabase db(true);
    UiRecorder rec;
    selectPurchaser("1");
    storeLine(db, {.number = "55555555"}); // another ticket's line
    JegyMod = tickets::UjJegy;
    TForm9 form;
    form.show();
    QVERIFY(Data->ZQ20->IsEmpty());
    child<QPushButton>(form, "DeleteLineButton")->click();
    QCOMPARE(rec.messageTexts(), QStringList{"Az tételsor törölve!"});
    QCOMPARE(committedValue("SELECT COUNT(*) FROM fjsor").toInt(), 1);
    QCOMPARE(child<QLineEdit>(form, "VetelarTotal")->text(), QString("0"));
}

void TestTicketEntry::failedLineKeepsDialogAndInput() {
    TestDatabase db(true);
    UiRecorder rec;
    selectPurchaser("1");
    JegyMod = tickets::UjJegy;
    TForm9 form;
    form.show();
    const QString tooLong(76, QChar('m')); // S_MEGNEVEZES holds 75
    rec.expectModal([&](QDialog& dialog) {
        writeLine({.name = tooLong}, false)(dialog);
        auto* line = qobject_cast<TForm10*>(&dialog);
        QCOMPARE(child<QLineEdit>(line, "Edit3")->text(), tooLong);
        QCOMPARE(child<QLineEdit>(line, "Edit5")->text(), QString("100"));
        // Corrected, the same dialog stores the line.
        child<QLineEdit>(line, "Edit3")->setText("Süldő");
        child<QPushButton>(line, "OkButton")->click();
        QVERIFY(!line->isVisible());
    });
    child<QPushButton>(form, "NewLineButton")->click();
    QCOMPARE(rec.messageTexts(), QStringList{"Hiba: Új, INSERT a fjsorban "});
    QCOMPARE(committedValue("SELECT COUNT(*) FROM fjsor").toInt(), 1);
}

void TestTicketEntry::lineChecksInDialog() {
    TestDatabase db(true);
    UiRecorder rec;
    selectPurchaser("1");
    JegyMod = tickets::UjJegy;
    TForm9 form;
    form.show();
    rec.expectModal([](QDialog& dialog) {
        auto* line = qobject_cast<TForm10*>(&dialog);
        writeLine({.vtsz = "   ", .unit = ""}, false)(dialog);
        QCOMPARE(line->focusWidget(), child<QLineEdit>(line, "Edit4"));
    });
    child<QPushButton>(form, "NewLineButton")->click();
    QCOMPARE(rec.messageTexts(), QStringList{"Nincs megadva a VTSZ!"});
    QCOMPARE(value("SELECT COUNT(*) FROM fjsor").toInt(), 0);
}

// A line whose amounts the database could not compute back is never stored: the dialog names the limit and
// keeps the clerk's input; corrected, it stores the line.
void TestTicketEntry::lineBeyondLimitsRefused() {
    TestDatabase db(true);
    UiRecorder rec;
    selectPurchaser("1");
    JegyMod = tickets::UjJegy;
    TForm9 form;
    form.show();
    rec.expectModal([](QDialog& dialog) {
        auto* line = qobject_cast<TForm10*>(&dialog);
        writeLine({.gross = "8000000000"}, false)(dialog);
        QCOMPARE(line->focusWidget(), child<QLineEdit>(line, "Edit5"));
        QCOMPARE(child<QLineEdit>(line, "Edit5")->text(), QString("8000000000"));
        child<QLineEdit>(line, "Edit5")->setText("999999");
        child<QPushButton>(line, "OkButton")->click();
        QVERIFY(!line->isVisible());
    });
    child<QPushButton>(form, "NewLineButton")->click();
    QCOMPARE(rec.messageTexts(),
             QStringList{
                 "A bruttó mennyiség -999 999 és 999 999 közötti szám lehet, legfeljebb 4 tizedesjeggyel!"});
    QCOMPARE(committedValue("SELECT COUNT(*) FROM fjsor").toInt(), 1);
    QCOMPARE(committedValue("SELECT s_netto FROM fjsor").toDouble(), 879999.12);

    // The ticket's weight deduction per cent is checked with the line that takes it.
    rec.clear();
    child<QLineEdit>(form, "Edit14")->setText("99999999999");
    rec.expectModal(writeLine({}, false));
    child<QPushButton>(form, "NewLineButton")->click();
    QCOMPARE(rec.messageTexts(),
             QStringList{"A felvásárlási jegy súlylevonás %-a 0 és 100 közötti szám lehet, "
                         "legfeljebb 4 tizedesjeggyel!"});
    QCOMPARE(committedValue("SELECT COUNT(*) FROM fjsor").toInt(), 1);
    // Every line reads back.
    QCOMPARE(Data->ZQ20->RecordCount(), 1);
}

// "Szja %" is a whole number like the producer's: a comma is neither typed nor pasted, and a stored value
// comes back as it was.
void TestTicketEntry::szjaTakesDigitsOnly() {
    TestDatabase db(true);
    UiRecorder rec;
    selectPurchaser("1");
    JegyMod = tickets::UjJegy;
    TForm9 form;
    form.show();
    child<QLineEdit>(form, "Edit6")->clear();
    QTest::keyClicks(child<QLineEdit>(form, "Edit6"), "12,5");
    QCOMPARE(child<QLineEdit>(form, "Edit6")->text(), QString("125"));
    child<QLineEdit>(form, "Edit6")->clear();
    child<QLineEdit>(form, "Edit6")->insert("12,5");
    QCOMPARE(child<QLineEdit>(form, "Edit6")->text(), QString());
    child<QLineEdit>(form, "Edit6")->insert("12");
    rec.expectModal(writeLine());
    child<QPushButton>(form, "NewLineButton")->click();
    fillHeader(form);
    child<QPushButton>(form, "OkButton")->click();
    QVERIFY(rec.messageTexts().isEmpty());
    QCOMPARE(committedValue("SELECT f_szja FROM fjfej").toInt(), 12);
}

void TestTicketEntry::animalChoiceFillsLine() {
    TestDatabase db(true);
    UiRecorder rec;
    selectPurchaser("1");
    JegyMod = tickets::UjJegy;
    TForm9 form;
    form.show();
    rec.expectModal([&rec](QDialog& dialog) {
        auto* line = qobject_cast<TForm10*>(&dialog);
        QVERIFY(line);
        child<QLineEdit>(line, "Edit3")->setText("vágóm");
        rec.expectModal([](QDialog& picker) {
            QVERIFY(qobject_cast<TForm6*>(&picker));
            QCOMPARE(AllatKulcs, QString("vágóm"));
            // The catalogue opens on the first animal whose name starts with the typed letters.
            QCOMPARE(Data->ZQ40->FieldByName("T_KOD").AsString(), QString("3"));
        });
        child<QPushButton>(line, "AnimalButton")->click();
        QCOMPARE(child<QLineEdit>(line, "Edit3")->text(), QString("Vágómarha"));
        QCOMPARE(child<QLineEdit>(line, "Edit4")->text(), QString("0102 90 59"));
        QCOMPARE(child<QLineEdit>(line, "Edit6")->text(), QString("kg"));
        QCOMPARE(child<QLineEdit>(line, "Edit7")->text(), QString("395,5"));
        QCOMPARE(child<QLineEdit>(line, "Edit8")->text(), QString("7"));
        QCOMPARE(child<QLineEdit>(line, "Edit9")->text(), QString("3"));
        QCOMPARE(line->focusWidget(), child<QLineEdit>(line, "Edit5"));
        QTest::keyClicks(child<QLineEdit>(line, "Edit5"), "-12,5x");
        QCOMPARE(child<QLineEdit>(line, "Edit5")->text(), QString("-12,5"));
        child<QPushButton>(line, "OkButton")->click();
    });
    child<QPushButton>(form, "NewLineButton")->click();
    QCOMPARE(value("SELECT s_brutto FROM fjsor WHERE s_termekkod = '3'").toDouble(), -12.5);
}

void TestTicketEntry::enterMovesFocus() {
    TestDatabase db(true);
    UiRecorder rec;
    selectPurchaser("1");
    JegyMod = tickets::UjJegy;
    TForm9 form;
    showActive(form);
    child<QLineEdit>(form, "Edit3")->setFocus();
    const QList<QWidget*> order{
        child<QLineEdit>(form, "Edit10"),          child<QLineEdit>(form, "Edit11"),
        child<QCheckBox>(form, "CheckBox1"),       child<QLineEdit>(form, "Edit6"),
        child<QLineEdit>(form, "Edit14"),          child<QLineEdit>(form, "Edit15"),
        child<QLineEdit>(form, "Edit13"),          child<QLineEdit>(form, "Edit4"),
        child<QLineEdit>(form, "Edit12"),          child<QCheckBox>(form, "CheckBox2"),
        child<QPushButton>(form, "ProducerButton")};
    for (QWidget* next : order) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        QCOMPARE(QApplication::focusWidget(), next);
    }
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return, Qt::ShiftModifier);
    QCOMPARE(QApplication::focusWidget(), child<QCheckBox>(form, "CheckBox2"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Enter, Qt::ShiftModifier | Qt::KeypadModifier);
    QCOMPARE(QApplication::focusWidget(), child<QLineEdit>(form, "Edit12"));

    rec.expectModal([](QDialog& dialog) {
        auto* line = qobject_cast<TForm10*>(&dialog);
        QCOMPARE(QApplication::focusWidget(), child<QLineEdit>(line, "Edit3"));
        const QList<QWidget*> lineOrder{
            child<QLineEdit>(line, "Edit4"),         child<QLineEdit>(line, "Edit5"),
            child<QLineEdit>(line, "Edit6"),         child<QLineEdit>(line, "Edit7"),
            child<QLineEdit>(line, "Edit8"),         child<QPushButton>(line, "OkButton"),
            child<QPushButton>(line, "CancelButton")};
        for (QWidget* next : lineOrder) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
            QCOMPARE(QApplication::focusWidget(), next);
        }
        QVERIFY(line->isVisible()); // Enter on "OK" moves on, it does not save the line
    });
    child<QPushButton>(form, "NewLineButton")->click();
    QCOMPARE(value("SELECT COUNT(*) FROM fjsor").toInt(), 0);
}

QTEST_MAIN(TestTicketEntry)
#include "test_ticket_entry.moc"
