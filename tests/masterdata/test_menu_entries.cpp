#include "data/data_module.h"
#include "shell/main_window.h"
#include "support/test_database.h"
#include "support/ui_recorder.h"

#include <QAction>
#include <QDialog>
#include <QTest>

using namespace vardelo;
using vardelo::testing::TestDatabase;

// The main menu opens the two registers.
class TestMenuEntries : public QObject {
    Q_OBJECT

private slots:
    void menuOpensTheRegisters_data() {
        QTest::addColumn<QString>("entry");
        QTest::addColumn<QString>("window");
        QTest::addColumn<QString>("caption");
        QTest::newRow("Östermelö") << "stermel1"
                                   << "Form4"
                                   << "Őstermelő";
        QTest::newRow("Állat") << "Termk1"
                               << "Form6"
                               << "Állat";
    }
    void menuOpensTheRegisters() {
        QFETCH(QString, entry);
        QFETCH(QString, window);
        QFETCH(QString, caption);
        TestDatabase db(true);
        UiRecorder recorder;
        TForm1 form;
        form.findChild<QAction*>("Vlaszts1")->trigger();
        QString shownCaption;
        recorder.expectModal([&](QDialog& dialog) { shownCaption = dialog.windowTitle(); });
        auto* action = form.findChild<QAction*>(entry);
        QVERIFY(action->isEnabled());
        action->trigger();
        QCOMPARE(recorder.modalsShown.last(), window);
        QCOMPARE(shownCaption, caption);
        QCOMPARE(recorder.messageTexts(), QStringList{});
    }
};

QTEST_MAIN(TestMenuEntries)
#include "test_menu_entries.moc"
