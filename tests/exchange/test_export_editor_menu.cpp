#include "data/data_module.h"
#include "shell/main_window.h"
#include "support/test_database.h"
#include "support/ui_recorder.h"
#include "widgets/ui_service.h"

#include <QAction>
#include <QDialog>
#include <QTest>

using namespace vardelo;
using vardelo::testing::TestDatabase;

// "Segédlet" opens the spreadsheet export and the raw table editor; after the editor the tables are locked.
class TestExportEditorMenu : public QObject {
    Q_OBJECT

private slots:
    void menuOpensTheWindows_data() {
        QTest::addColumn<QString>("entry");
        QTest::addColumn<QString>("window");
        QTest::addColumn<QString>("caption");
        QTest::newRow("Zozed excel táblába") << "Adatokexceltblba1"
                                             << "Form20"
                                             << "Excel  táblába";
        QTest::newRow("Adatok") << "Adatbzis1"
                                << "Form22"
                                << "Adatbázis";
    }
    void menuOpensTheWindows() {
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
        for (int i = 1; i <= 5; ++i)
            QVERIFY(Data->Table(i)->ReadOnly && Data->Table(i)->Active());
    }
};

QTEST_MAIN(TestExportEditorMenu)
#include "test_export_editor_menu.moc"
