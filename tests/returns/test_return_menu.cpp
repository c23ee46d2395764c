#include "shell/main_window.h"
#include "support/test_database.h"
#include "support/ui_recorder.h"
#include "widgets/ui_service.h"

#include <QAction>
#include <QDialog>
#include <QTest>

using namespace vardelo;
using vardelo::testing::TestDatabase;

// The "Bevallás" menu opens the three return windows.
class TestReturnMenu : public QObject {
    Q_OBJECT

private slots:
    void menuOpensTheReturnWindows_data() {
        QTest::addColumn<QString>("entry");
        QTest::addColumn<QString>("window");
        QTest::addColumn<QString>("caption");
        QTest::newRow("1008M-hoz export") << "N0808Mhozexport1"
                                          << "Form11"
                                          << "APEH 1008M adat importnak a létrehozása";
        QTest::newRow("Bevallás lista") << "Bevallslista1"
                                        << "Form12"
                                        << "Tételes lista";
        QTest::newRow("Import összevonás") << "Importsszevons1"
                                           << "Form24"
                                           << "Két import összevonása";
    }
    void menuOpensTheReturnWindows() {
        QFETCH(QString, entry);
        QFETCH(QString, window);
        QFETCH(QString, caption);
        TestDatabase db(true);
        UiRecorder recorder;
        TForm1 form;
        form.findChild<QAction*>("Vlaszts1")->trigger();
        QString shownCaption;
        recorder.expectModal([&](QDialog& dialog) { shownCaption = dialog.windowTitle(); });
        form.findChild<QAction*>(entry)->trigger();
        QCOMPARE(recorder.modalsShown.last(), window);
        QCOMPARE(shownCaption, caption);
    }
};

QTEST_MAIN(TestReturnMenu)
#include "test_return_menu.moc"
