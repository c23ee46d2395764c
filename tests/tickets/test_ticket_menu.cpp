// The main menu's "Felvásárlási jegy" opens the ticket browser on the chosen purchaser's tickets.

#include "data/data_module.h"
#include "data/shared_values.h"
#include "shell/main_window.h"
#include "support/test_database.h"
#include "support/ui_recorder.h"
#include "ticket_data.h"

#include <QAction>
#include <QDialog>
#include <QTest>

using namespace vardelo;
using namespace vardelo::testing;

class TestTicketMenu : public QObject {
    Q_OBJECT
private slots:
    void menuOpensTheBrowser();
};

void TestTicketMenu::menuOpensTheBrowser() {
    TestDatabase db(true);
    UiRecorder recorder;
    storeTicket(db, {.number = "10000001", .akod = "1"});
    storeTicket(db, {.number = "20000001", .akod = "2"});
    TForm1 form;
    form.findChild<QAction*>("Vlaszts1")->trigger();
    const QString chosen = AktAkod;
    QVERIFY(!chosen.isEmpty());
    QStringList listed;
    recorder.expectModal([&listed](QDialog& dialog) {
        QCOMPARE(dialog.windowTitle(), QString("Felvásárlási jegy"));
        for (Data->ZQ10->First(); !Data->ZQ10->Eof(); Data->ZQ10->Next())
            listed << Data->ZQ10->FieldByName("F_AKOD").AsString();
    });
    form.findChild<QAction*>("Felvsrlsijegy1")->trigger();
    QCOMPARE(recorder.modalsShown.last(), QString("Form8"));
    QCOMPARE(listed, QStringList{chosen});
}

QTEST_MAIN(TestTicketMenu)
#include "test_ticket_menu.moc"
