#include "data/data_module.h"
#include "data/database_error.h"
#include "data/immediate_write.h"
#include "data/shared_values.h"
#include "shell/main_window.h"
#include "shell/program_version.h"
#include "support/children.h"
#include "support/test_database.h"
#include "support/ui_recorder.h"
#include "widgets/db_lookup_combo_box.h"

#include <QAction>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QLocale>
#include <QMenu>
#include <QMenuBar>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

using vardelo::testing::child;
using namespace vardelo;
using vardelo::testing::TestDatabase;

namespace {

QAction* entry(TForm1& form, const char* name) {
    auto* action = form.findChild<QAction*>(QLatin1String(name));
    if (!action)
        qFatal("no menu entry %s", name);
    return action;
}

// The top-level entries of the menu bar, in display order, with their names and captions.
QStringList topLevel(TForm1& form) {
    QStringList result;
    for (QAction* action : child<QMenuBar>(form, "MainMenu1")->actions())
        result << action->objectName() + QLatin1Char('=') + action->text();
    return result;
}

QStringList enabledTopLevel(TForm1& form) {
    QStringList result;
    for (QAction* action : child<QMenuBar>(form, "MainMenu1")->actions())
        if (action->isEnabled())
            result << action->objectName();
    return result;
}

// A window that fails while it is being created, as one whose query the database refuses.
class FailingWindow : public QDialog {
public:
    explicit FailingWindow(QWidget* parent) : QDialog(parent) {
        throw EDatabaseError(QStringLiteral("Dynamic SQL Error"));
    }
};

} // namespace

class TestMainWindow : public QObject {
    Q_OBJECT
private slots:
    void missingDatabaseEndsTheProgram_data();
    void missingDatabaseEndsTheProgram();
    void unusableDatabaseSaysWhy();
    void startShowsTheSplashOnceAndOpensTheTables();
    void captionCarriesTheVersion();
    void programVersion_data();
    void programVersion();
    void menuTree();
    void menuStateFollowsTheFirstSelection();
    void refreshKeepsTheSelectedPurchaser();
    void refreshDropsAnUnstoredEdit();
    void aboutWindowFromTheMenu();
    void failingWindowEndsWithTheErrorBox();
    void closingCommitsAndDisconnects();
    void failedCommitAtClosingIsReported();
};

void TestMainWindow::missingDatabaseEndsTheProgram_data() {
    QTest::addColumn<int>("answer");
    QTest::newRow("answered Yes") << int(MsgButton::Yes);
    QTest::newRow("box closed") << int(MsgButton::Closed);
}

// Without "du2010.fdb" in the working folder the program says so and ends, whatever the answer.
void TestMainWindow::missingDatabaseEndsTheProgram() {
    QFETCH(int, answer);
    QTemporaryDir folder;
    const QString previous = QDir::currentPath();
    QDir::setCurrent(folder.path());
    UiRecorder recorder;
    recorder.answer(MsgButton(answer));
    {
        TForm1 form;
        QVERIFY(form.StartupFailed());
        QVERIFY(!form.isVisible());
        QCOMPARE(recorder.modalsShown, QStringList{QStringLiteral("AboutBox")});
        QCOMPARE(recorder.messages.size(), 1);
        QCOMPARE(recorder.messages[0].text,
                 QStringLiteral("Az adatbáziskezelöt nem találja.\rA program müködéséhez szükséges."));
        QCOMPARE(recorder.messages[0].buttons, int(MsgButton::Yes));
        // Below it: why, and what to do.
        QVERIFY2(recorder.messages[0].reason.contains(QStringLiteral("nincs a program mappájában")),
                 qPrintable(recorder.messages[0].reason));
        QVERIFY(recorder.messages[0].details.contains(QStringLiteral("du2010.fdb")));
        QVERIFY(!Data->ZCon1->Connected());
    }
    QVERIFY(!QFileInfo::exists(QDir(folder.path()).filePath(QStringLiteral("du2010.fdb"))));
    delete Data;
    Data = nullptr;
    QDir::setCurrent(previous);
}

// A file that is not a database: the same message, with the reason and the engine's words below it.
void TestMainWindow::unusableDatabaseSaysWhy() {
    QTemporaryDir folder;
    const QString previous = QDir::currentPath();
    QDir::setCurrent(folder.path());
    {
        QFile file(QStringLiteral("du2010.fdb"));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(QByteArray(64 * 1024, 'x'));
    }
    UiRecorder recorder;
    {
        TForm1 form;
        QVERIFY(form.StartupFailed());
        QCOMPARE(recorder.messages.size(), 1);
        const RecordedMessage& box = recorder.messages[0];
        QCOMPARE(box.text,
                 QStringLiteral("Az adatbáziskezelöt nem találja.\rA program müködéséhez szükséges."));
        QCOMPARE(box.caption, vardelo::confirmCaption());
        QVERIFY2(box.reason.contains(QStringLiteral("nem a program adatbázisa")), qPrintable(box.reason));
        QVERIFY2(box.details.contains(QStringLiteral("not a valid database")), qPrintable(box.details));
    }
    delete Data;
    Data = nullptr;
    QDir::setCurrent(previous);
}

void TestMainWindow::startShowsTheSplashOnceAndOpensTheTables() {
    TestDatabase db;
    UiRecorder recorder;
    TForm1 form;
    QVERIFY(!form.StartupFailed());
    QCOMPARE(recorder.modalsShown, QStringList{QStringLiteral("AboutBox")});
    QVERIFY(recorder.messages.isEmpty());
    QVERIFY(Data->ZCon1->Connected());
    for (int i = 1; i <= 6; ++i)
        QVERIFY2(Data->Table(i)->Active(), qPrintable(Data->Table(i)->objectName()));
    QCOMPARE(QLocale().decimalPoint(), QStringLiteral(","));
    QCOMPARE(Form1, &form);
}

void TestMainWindow::captionCarriesTheVersion() {
    TestDatabase db;
    UiRecorder recorder;
    TForm1 form;
    QCOMPARE(form.ProgramVerzio, QStringLiteral("8.09"));
    QCOMPARE(form.windowTitle(), QStringLiteral("Felvásárlási jegy -  Verzió: 8.09 2006-2010"));
}

void TestMainWindow::programVersion_data() {
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("product");
    QTest::addColumn<QString>("expected");
    QTest::newRow("this build") << "8.9.0.0"
                                << "8.9"
                                << "8.09";
    QTest::newRow("two-digit parts") << "10.2.3.4"
                                     << "1.12"
                                     << "10.012";
    QTest::newRow("product without minor") << "8.9.0.0"
                                           << "8"
                                           << "8.00";
    QTest::newRow("no file version") << ""
                                     << "8.9"
                                     << "";
    QTest::newRow("no product version") << "8.9.0.0"
                                        << ""
                                        << "";
    QTest::newRow("not a number") << "8.x.0.0"
                                  << "8.9"
                                  << "";
    QTest::newRow("part too large") << "70000.1"
                                    << "8.9"
                                    << "";
}

void TestMainWindow::programVersion() {
    QFETCH(QString, file);
    QFETCH(QString, product);
    QFETCH(QString, expected);
    QCOMPARE(programVersionText(file, product), expected);
    QCOMPARE(mainCaption(QString()), QStringLiteral("Felvásárlási jegy -  Verzió:  2006-2010"));
}

void TestMainWindow::menuTree() {
    TestDatabase db;
    UiRecorder recorder;
    TForm1 form;
    QCOMPARE(form.objectName(), QStringLiteral("Form1"));
    QCOMPARE(topLevel(form), (QStringList{"Adz1=Átvevö", "Felvsrlsijegy1=Felvásárlási jegy",
                                          "stermel1=Östermelö", "Termk1=Állat", "Bevalls1=Bevallás",
                                          "Listk1=Listák", "Export1=Segédlet", "Kilps1=Kilépés"}));
    auto items = [&](const char* menuName) {
        QStringList result;
        for (QAction* action : form.findChild<QMenu*>(QLatin1String(menuName))->actions())
            result << action->objectName() + QLatin1Char('=') +
                          (action->isSeparator() ? "-" : action->text());
        return result;
    };
    QCOMPARE(items("Adz1"), (QStringList{"Vlaszts1=Választás", "Lekrdezs1=Lekérdezés"}));
    QCOMPARE(items("Bevalls1"),
             (QStringList{"N0808Mhozexport1=1008M-hoz export", "Bevallslista1=Bevallás lista",
                          "Importsszevons1=Import összevonás"}));
    QCOMPARE(items("Listk1"), (QStringList{"Termkenkntilista1=Termékenkénti lista",
                                           "Termelnkntilista1=Östermelönkénti lista"}));
    QCOMPARE(items("Export1"),
             (QStringList{"Ellenrzs2=Ellenörzés", "Adatokexceltblba1=Zozed excel táblába", "Adatbzis1=Adatok",
                          "Naplo1=Napló", "N1=-", "Sug1=Sugó", "Nvjegy1=Névjegy", "Tvsegitsg1=Távsegitség",
                          "Rgiblexport1=Régiből import", "Adatokkldse1=Adatok küldése",
                          "Adatments1=Adatmentés", "Visszatlts1=Visszatöltés"}));
    // "Felvásárlási jegy", "Östermelö", "Állat" and "Kilépés" act when clicked: no submenu.
    for (const char* name : {"Felvsrlsijegy1", "stermel1", "Termk1", "Kilps1"})
        QVERIFY(!entry(form, name)->menu());
}

// Before the first selection only "Átvevö" and "Kilépés" work; once the selection window has closed, every
// top-level entry does. "Régiből import" never.
void TestMainWindow::menuStateFollowsTheFirstSelection() {
    TestDatabase db;
    UiRecorder recorder;
    TForm1 form;
    QCOMPARE(enabledTopLevel(form), (QStringList{"Adz1", "Kilps1"}));
    QVERIFY(entry(form, "Vlaszts1")->isEnabled());
    QVERIFY(entry(form, "Lekrdezs1")->isEnabled());
    QVERIFY(!entry(form, "Rgiblexport1")->isEnabled());

    // The record window does not enable anything.
    entry(form, "Lekrdezs1")->trigger();
    QCOMPARE(enabledTopLevel(form), (QStringList{"Adz1", "Kilps1"}));

    entry(form, "Vlaszts1")->trigger();
    QCOMPARE(recorder.modalsShown.last(), QStringLiteral("Form18"));
    QCOMPARE(enabledTopLevel(form), (QStringList{"Adz1", "Felvsrlsijegy1", "stermel1", "Termk1", "Bevalls1",
                                                 "Listk1", "Export1", "Kilps1"}));
    QVERIFY(!entry(form, "Rgiblexport1")->isEnabled());
    QCOMPARE(AktAkod, QStringLiteral("1"));
    QCOMPARE(form.windowTitle(), QStringLiteral("Felvásárlási jegy - Első Felvásárló Kft.  2006-2010"));

    // Choosing again leaves them enabled; the import stays off.
    entry(form, "Vlaszts1")->trigger();
    QCOMPARE(enabledTopLevel(form).size(), 8);
    QVERIFY(!entry(form, "Rgiblexport1")->isEnabled());
}

// With two purchasers, the second selected: after any window closes the tables are re-read and the purchaser
// table stays on the second, and rows written through a query show in the tables.
void TestMainWindow::refreshKeepsTheSelectedPurchaser() {
    TestDatabase db(true);
    UiRecorder recorder;
    TForm1 form;
    recorder.expectModal([](QDialog& dialog) {
        auto* combo = dialog.findChild<TDBLookupComboBox*>(QStringLiteral("DBLookupComboBox1"));
        QVERIFY(combo->ChooseText(QStringLiteral("Alföldi Állatfelvásárló Bt.")));
    });
    entry(form, "Vlaszts1")->trigger();
    QCOMPARE(AktAkod, QStringLiteral("2"));
    QCOMPARE(Data->IBTable6->FieldByName(QStringLiteral("V_AKOD")).AsString(), QStringLiteral("2"));

    const int before = Data->IBTable1->RecordCount();
    db.exec(QStringLiteral("INSERT INTO FJFEJ (F_BSZAM, F_AKOD) VALUES ('20000001', '2')"));
    QCOMPARE(Data->IBTable1->RecordCount(), before);
    entry(form, "Nvjegy1")->trigger();
    QCOMPARE(recorder.modalsShown.last(), QStringLiteral("Form16"));
    QCOMPARE(Data->IBTable1->RecordCount(), before + 1);
    QCOMPARE(Data->IBTable6->FieldByName(QStringLiteral("V_AKOD")).AsString(), QStringLiteral("2"));
    QCOMPARE(Data->IBTable6->FieldByName(QStringLiteral("V_NEVE")).AsString(),
             QStringLiteral("Alföldi Állatfelvásárló Bt."));
}

// An edit of the purchaser row that was not stored is gone once the window has closed.
void TestMainWindow::refreshDropsAnUnstoredEdit() {
    TestDatabase db;
    UiRecorder recorder;
    TForm1 form;
    recorder.expectModal([](QDialog&) {
        Data->IBTable6->Edit();
        Data->IBTable6->FieldByName(QStringLiteral("V_NEVE")).SetAsString(QStringLiteral("Nem tárolt név"));
    });
    entry(form, "Lekrdezs1")->trigger();
    QCOMPARE(Data->IBTable6->State(), TDataSetState::Browse);
    QCOMPARE(Data->IBTable6->FieldByName(QStringLiteral("V_NEVE")).AsString(),
             QStringLiteral("Első Felvásárló Kft."));
}

void TestMainWindow::aboutWindowFromTheMenu() {
    TestDatabase db;
    UiRecorder recorder;
    TForm1 form;
    entry(form, "Vlaszts1")->trigger();
    QStringList lines;
    recorder.expectModal([&](QDialog& dialog) {
        QCOMPARE(dialog.windowTitle(), QStringLiteral("Névjegy"));
        lines =
            dialog.findChild<QObject*>(QStringLiteral("Memo1"))->property("plainText").toString().split('\n');
    });
    entry(form, "Nvjegy1")->trigger();
    QCOMPARE(recorder.modalsShown, (QStringList{"AboutBox", "Form18", "Form16"}));
    QCOMPARE(lines.size(), 12);
    QCOMPARE(lines[0], QStringLiteral("VARDELO"));
    QCOMPARE(lines[1], QStringLiteral("2006-2010"));
}

// An error that the window did not handle ends the action with the error box; the tables are re-read.
void TestMainWindow::failingWindowEndsWithTheErrorBox() {
    TestDatabase db;
    UiRecorder recorder;
    TForm1 form;
    Data->IBTable3->Close();
    form.openModal<FailingWindow>();
    QCOMPARE(recorder.messages.size(), 1);
    QCOMPARE(recorder.messages[0].caption, vardelo::errorCaption());
    QCOMPARE(recorder.messages[0].text, QStringLiteral("Dynamic SQL Error"));
    QVERIFY(Data->IBTable3->Active());
}

// "Kilépés" closes the window: what is pending is committed and the connection closed.
void TestMainWindow::closingCommitsAndDisconnects() {
    TestDatabase db;
    UiRecorder recorder;
    {
        TForm1 form;
        form.show();
        vardelo::execQuery(Data->ZQ50, {QStringLiteral("UPDATE ATVEVO SET V_UTCA = :p1")},
                           {{QStringLiteral("p1"), QStringLiteral("Függőben út 1.")}});
        entry(form, "Kilps1")->trigger();
        QVERIFY(!form.isVisible());
        QVERIFY(!Data->ZCon1->Connected());
    }
    Data->ZCon1->Connect();
    TZQuery q(QStringLiteral("check"), Data->ZCon1, Data->IBTrans1);
    vardelo::openQuery(&q, {QStringLiteral("SELECT V_UTCA FROM ATVEVO")});
    QCOMPARE(q.FieldByName(QStringLiteral("V_UTCA")).AsString(), QStringLiteral("Függőben út 1."));
}

// When the pending changes cannot be committed as the program closes, the clerk is told so; they are not
// stored, and nothing else is lost.
void TestMainWindow::failedCommitAtClosingIsReported() {
    TestDatabase db;
    db.exec(QStringLiteral("CREATE EXCEPTION e_no_commit 'A tranzakció nem zárható le'"));
    db.exec(QStringLiteral("CREATE TRIGGER t_no_commit ON TRANSACTION COMMIT AS BEGIN "
                           "IF (RDB$GET_CONTEXT('USER_SESSION', 'NO_COMMIT') = '1') THEN "
                           "EXCEPTION e_no_commit; END"));
    UiRecorder recorder;
    {
        TForm1 form;
        form.show();
        vardelo::openQuery(Data->ZQ80,
                           {QStringLiteral("SELECT RDB$SET_CONTEXT('USER_SESSION', 'NO_COMMIT', '1') AS x "
                                           "FROM RDB$DATABASE")});
        Data->ZQ80->Close();
        vardelo::execQuery(Data->ZQ50, {QStringLiteral("UPDATE ATVEVO SET V_UTCA = :p1")},
                           {{QStringLiteral("p1"), QStringLiteral("Elveszett út 1.")}});
        recorder.clear();
        entry(form, "Kilps1")->trigger();
        QVERIFY(!form.isVisible());
        QVERIFY(!Data->ZCon1->Connected());
    }
    QCOMPARE(recorder.messages.size(), 1);
    QCOMPARE(recorder.lastMessage(),
             QStringLiteral("A legutóbbi módosításokat nem sikerült tárolni az adatbázisban."));
    QVERIFY(recorder.messages.last().reason.contains(QStringLiteral("A tranzakció nem zárható le")));
    Data->ZCon1->Connect();
    TZQuery check(QStringLiteral("check"), Data->ZCon1, Data->IBTrans1);
    vardelo::openQuery(&check, {QStringLiteral("SELECT V_UTCA FROM ATVEVO")});
    QVERIFY(check.FieldByName(QStringLiteral("V_UTCA")).AsString() != QStringLiteral("Elveszett út 1."));
}

QTEST_MAIN(TestMainWindow)
#include "test_main_window.moc"
