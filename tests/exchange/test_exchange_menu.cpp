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

// The entries of "Segédlet" open their windows; afterwards the table components are open and read-only again
// (the raw table editor unlocks them only while it is open).
class TestExchangeMenu : public QObject {
    Q_OBJECT

private slots:
    void menuOpensTheWindows_data() {
        QTest::addColumn<QString>("entry");
        QTest::addColumn<QString>("window");
        QTest::addColumn<QString>("caption");
        QTest::newRow("Sugó") << "Sug1"
                              << "Form21"
                              << "Sugó";
        QTest::newRow("Távsegitség") << "Tvsegitsg1"
                                     << "Form26"
                                     << "Távsegítség";
        QTest::newRow("Adatok küldése") << "Adatokkldse1"
                                        << "Form27"
                                        << "Adatok elküldése  emailben";
        QTest::newRow("Adatmentés") << "Adatments1"
                                    << "BackupWindow"
                                    << "Adatmentés";
        QTest::newRow("Visszatöltés") << "Visszatlts1"
                                      << "RestoreWindow"
                                      << "Visszatöltés";
        QTest::newRow("Zozed excel táblába") << "Adatokexceltblba1"
                                             << "Form20"
                                             << "Excel  táblába";
        QTest::newRow("Adatok") << "Adatbzis1"
                                << "Form22"
                                << "Adatbázis";
        QTest::newRow("Napló") << "Naplo1"
                               << "FormNaplo"
                               << "Napló";
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

    // "Régiből import" is shown but stays disabled; its window is behind it all the same.
    void importEntryStaysDisabled() {
        TestDatabase db(true);
        UiRecorder recorder;
        TForm1 form;
        form.findChild<QAction*>("Vlaszts1")->trigger();
        auto* action = form.findChild<QAction*>("Rgiblexport1");
        QVERIFY(action->isVisible());
        QVERIFY(!action->isEnabled());
        action->setEnabled(true);
        action->trigger();
        QCOMPARE(recorder.modalsShown.last(), QStringLiteral("Form25"));
    }
};

QTEST_MAIN(TestExchangeMenu)
#include "test_exchange_menu.moc"
