// The main menu opens the two summaries from "Listák" and the check from "Segédlet".
#include "data/shared_values.h"
#include "shell/main_window.h"
#include "support/test_database.h"
#include "support/ui_recorder.h"
#include "widgets/ui_service.h"

#include <QAction>
#include <QDialog>
#include <QTest>

using namespace vardelo;
using namespace vardelo::testing;

class TestListMenu : public QObject {
    Q_OBJECT
private slots:
    void entriesOpenTheirWindows_data();
    void entriesOpenTheirWindows();
};

void TestListMenu::entriesOpenTheirWindows_data() {
    QTest::addColumn<QString>("entry");
    QTest::addColumn<QString>("window");
    QTest::addColumn<QString>("caption");
    QTest::newRow("per animal") << "Termkenkntilista1"
                                << "Form13"
                                << "Termékenkénti lista";
    QTest::newRow("per producer") << "Termelnkntilista1"
                                  << "Form19"
                                  << "Östermelönkénti lista";
    QTest::newRow("check") << "Ellenrzs2"
                           << "Form14"
                           << "Ellenörzés";
}

void TestListMenu::entriesOpenTheirWindows() {
    QFETCH(QString, entry);
    QFETCH(QString, window);
    QFETCH(QString, caption);
    TestDatabase db(true);
    UiRecorder recorder;
    TForm1 form;
    form.findChild<QAction*>("Vlaszts1")->trigger();
    QVERIFY(!AktAkod.isEmpty());
    QString shown;
    recorder.expectModal([&shown](QDialog& dialog) { shown = dialog.windowTitle(); });
    form.findChild<QAction*>(entry)->trigger();
    QCOMPARE(recorder.modalsShown.last(), window);
    QCOMPARE(shown, caption);
    QVERIFY(recorder.messages.isEmpty());
}

QTEST_MAIN(TestListMenu)
#include "test_list_menu.moc"
