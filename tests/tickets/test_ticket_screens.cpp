// The ticket windows as the clerk sees them, with a ticket of three lines: every caption fits its control,
// and with VARDELO_SCREENSHOTS naming a folder, a picture of each window (and tab) is saved there to look at.

#include "support/children.h"
#include "support/pseudo_terminal.h"
#include "support/screens.h"
#include "support/test_database.h"
#include "support/ui_recorder.h"
#include "ticket_data.h"
#include "ticket_fixture.h"
#include "tickets/ticket_browser.h"
#include "tickets/ticket_queries.h"
#include "tickets/ticket_rules.h"

#include <QAbstractButton>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QTabWidget>
#include <QTest>

using namespace vardelo;
using namespace vardelo::testing;

namespace {

void storeDemoTicket(TestDatabase& db) {
    storeTicket(db,
                {.number = "10000001", .producer = "1", .prn = "' '", .megj = "Szállítás a telephelyről"});
    storeLine(db,
              {.number = "10000001", .animal = "1", .name = "Vágósertés", .gross = "312.5", .ear = "310"});
    storeLine(db, {.number = "10000001", .animal = "2", .name = "Süldő", .gross = "148", .ear = "420"});
    storeLine(db, {.number = "10000001",
                   .animal = "5",
                   .name = "Vágóbárány",
                   .gross = "61",
                   .ear = "720",
                   .komp = "12"});
    storeTicket(db, {.number = "10000002", .producer = "3", .prn = "'I'", .megj = ""});
}

} // namespace

class TestTicketScreens : public QObject {
    Q_OBJECT
private slots:
    void browser();
    void entryAndLine();
    void lineWithScale();
};

void TestTicketScreens::browser() {
    TestDatabase db(true);
    UiRecorder rec;
    selectPurchaser("1");
    storeDemoTicket(db);
    TForm8 form;
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    shoot(form, "Form8_Fejsor");
    child<QTabWidget>(form, "PageControl1")->setCurrentIndex(1);
    shoot(form, "Form8_Tetelsor");
    child<QTabWidget>(form, "PageControl1")->setCurrentIndex(2);
    shoot(form, "Form8_Ostermelo");
}

void TestTicketScreens::entryAndLine() {
    TestDatabase db(true);
    UiRecorder rec;
    selectPurchaser("1");
    storeDemoTicket(db);
    JegyMod = tickets::JegyModositas;
    TForm9 form;
    tickets::openTicketHeaders();
    tickets::locateTicket("10000001");
    tickets::openTicketLines("10000001");
    form.LoadForChange();
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    shoot(form, "Form9_Fejsor");
    child<QTabWidget>(form, "PageControl1")->setCurrentIndex(1);
    shoot(form, "Form9_ostermelo");
    child<QTabWidget>(form, "PageControl1")->setCurrentIndex(0);

    Data->ZQ20->Next();
    rec.expectModal([](QDialog& dialog) {
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        shoot(dialog, "Form10");
    });
    child<QPushButton>(form, "ChangeLineButton")->click();
    QCOMPARE(rec.modalsShown, QStringList{"Form10"});
}

// The line dialog with the scale on, a pseudo-terminal standing in for the indicator.
void TestTicketScreens::lineWithScale() {
    TestDatabase db(true);
    PseudoTerminal indicator;
    QFile ini(QDir(db.folder()).filePath(QStringLiteral("vardelo.ini")));
    QVERIFY(ini.open(QIODevice::WriteOnly));
    ini.write("[Merleg]\nPort=" + indicator.portName().toUtf8() + "\n");
    ini.close();
    UiRecorder rec;
    selectPurchaser("1");
    JegyMod = tickets::UjJegy;
    TForm9 form;
    form.show();
    rec.expectModal([&](QDialog& dialog) {
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        child<QLineEdit>(dialog, "Edit3")->setText("Vágósertés");
        indicator.send("US,GS,+0001234.5kg\r\n");
        QTRY_COMPARE(child<QLabel>(dialog, "ScaleLabel")->text(), QStringLiteral("1234,5 kg, nem nyugodt"));
        shoot(dialog, "Form10_Merleg_nem_nyugodt");
        indicator.send("ST,GS,+0001234.5kg\r\n");
        QTRY_COMPARE(child<QLabel>(dialog, "ScaleLabel")->text(), QStringLiteral("1234,5 kg"));
        child<QPushButton>(dialog, "ScaleButton")->click();
        shoot(dialog, "Form10_Merleg");
    });
    child<QPushButton>(form, "NewLineButton")->click();
    QCOMPARE(rec.modalsShown, QStringList{"Form10"});
}

QTEST_MAIN(TestTicketScreens)
#include "test_ticket_screens.moc"
