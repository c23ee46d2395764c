// The start from the menu entry (--user-folder): the program's own folder, made when missing, and the one
// question that makes its first database, after which the program starts on it.
#include "data/app_settings.h"
#include "data/data_module.h"
#include "data/database_error.h"
#include "data/dataset.h"
#include "shell/main_window.h"
#include "shell/user_folder.h"
#include "support/run_state.h"
#include "support/test_database.h"
#include "support/ui_recorder.h"

#include <QAbstractButton>
#include <QDir>
#include <QFile>
#include <QMessageBox>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

using namespace vardelo;

namespace {

// Clicks the named button of the question.
UiRecorder::ModalScript click(const QString& button) {
    return [button](QDialog& dialog) {
        auto* target = dialog.findChild<QAbstractButton*>(button);
        QVERIFY2(target, qPrintable(button));
        target->click();
    };
}

AppSettings inFolder(const QString& folder) {
    AppSettings settings;
    settings.userFolder = folder;
    return settings;
}

} // namespace

class TestUserFolder : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void option_data();
    void option();
    void folderFromTheSettingsElseTheDataLocation();
    void firstStartAsksOnce_data();
    void firstStartAsksOnce();
    void existingDatabaseAsksNothing();
    void serverDatabaseIsNotLookedFor();
    void folderThatCannotBeMadeEndsTheProgram();
    void databaseThatCannotBeMadeEndsTheProgram();

private:
    QString previousFolder_;
};

void TestUserFolder::init() {
    testing::resetRunState();
    previousFolder_ = QDir::currentPath();
}

void TestUserFolder::cleanup() {
    testing::resetRunState();
    QDir::setCurrent(previousFolder_);
}

void TestUserFolder::option_data() {
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<bool>("requested");
    QTest::newRow("none") << QStringList{"vardelo"} << false;
    QTest::newRow("the option") << QStringList{"vardelo", "--user-folder"} << true;
    QTest::newRow("among others") << QStringList{"vardelo", "-style", "fusion", "--user-folder"} << true;
    QTest::newRow("only as the program's name") << QStringList{"--user-folder"} << false;
    QTest::newRow("misspelt") << QStringList{"vardelo", "--userfolder"} << false;
}

void TestUserFolder::option() {
    QFETCH(QStringList, arguments);
    QFETCH(bool, requested);
    QCOMPARE(userFolderRequested(arguments), requested);
}

void TestUserFolder::folderFromTheSettingsElseTheDataLocation() {
    QCOMPARE(userFolderPath(inFolder(QStringLiteral(" /home/kati/Vardelo/ "))),
             QStringLiteral("/home/kati/Vardelo"));
    const QString dataLocation = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    QVERIFY(!dataLocation.isEmpty());
    QCOMPARE(userFolderPath(AppSettings()), dataLocation);
}

// Each answer: whether the program goes on, and the purchasers of the new database (none: no file).
void TestUserFolder::firstStartAsksOnce_data() {
    QTest::addColumn<QString>("button");
    QTest::addColumn<bool>("goesOn");
    QTest::addColumn<int>("purchasers");
    QTest::newRow("empty database") << "EmptyButton" << true << 1;
    QTest::newRow("demo data") << "DemoButton" << true << 2;
    QTest::newRow("quit") << "QuitButton" << false << 0;
    QTest::newRow("question closed") << QString() << false << 0;
}

void TestUserFolder::firstStartAsksOnce() {
    QFETCH(QString, button);
    QFETCH(bool, goesOn);
    QFETCH(int, purchasers);
    QTemporaryDir root;
    // A folder that does not exist yet, two levels deep.
    const QString folder = QDir(root.path()).filePath(QStringLiteral("adat/Vardelo"));
    const QString database = QDir(folder).filePath(QStringLiteral("du2010.fdb"));
    QString question;
    QStringList buttons;
    {
        UiRecorder recorder;
        recorder.expectModal([&](QDialog& dialog) {
            auto* box = qobject_cast<QMessageBox*>(&dialog);
            QVERIFY(box);
            question = box->text();
            for (QAbstractButton* b : box->buttons())
                buttons << b->text();
            if (!button.isEmpty())
                click(button)(dialog);
        });
        QCOMPARE(enterUserFolder(inFolder(folder)), goesOn);
        QCOMPARE(recorder.modalsShown, QStringList{QStringLiteral("NewDatabaseQuestion")});
        QVERIFY(recorder.messages.isEmpty());
    }
    QVERIFY2(question.contains(database), qPrintable(question));
    QCOMPARE(buttons.size(), 3);
    QVERIFY(buttons.contains(QStringLiteral("Üres adatbázis")));
    QVERIFY(buttons.contains(QStringLiteral("Bemutató adatokkal")));
    if (!goesOn) {
        // "Kilépés" (or the question closed) leaves no folder behind, and the program where it was started.
        QVERIFY(!QFileInfo::exists(QDir(root.path()).filePath(QStringLiteral("adat"))));
        QCOMPARE(QDir::currentPath(), previousFolder_);
        return;
    }
    QCOMPARE(QDir::currentPath(), folder);
    // Nothing but the database is left in the folder (no temporary file).
    QCOMPARE(QDir(folder).entryList(QDir::Files), QStringList{"du2010.fdb"});
    QCOMPARE(purchasers > 0, QFileInfo::exists(database));

    // The program starts on it: the splash, no message, the purchasers in their table.
    UiRecorder recorder;
    {
        TForm1 form;
        QVERIFY(!form.StartupFailed());
        QCOMPARE(recorder.modalsShown, QStringList{QStringLiteral("AboutBox")});
        QVERIFY(recorder.messages.isEmpty());
        QCOMPARE(Data->IBTable6->RecordCount(), purchasers);
    }
    // The next start asks nothing.
    testing::resetRunState();
    UiRecorder again;
    QVERIFY(enterUserFolder(inFolder(folder)));
    QVERIFY(again.modalsShown.isEmpty());
}

void TestUserFolder::existingDatabaseAsksNothing() {
    QTemporaryDir folder;
    QVERIFY(QFile::copy(testing::templateDatabase(false), QDir(folder.path()).filePath("du2010.fdb")));
    UiRecorder recorder;
    QVERIFY(enterUserFolder(inFolder(folder.path())));
    QVERIFY(recorder.modalsShown.isEmpty());
    QVERIFY(recorder.messages.isEmpty());
    QCOMPARE(QDir::currentPath(), QDir(folder.path()).canonicalPath());
}

// A database on a server is the server's business: the folder is entered, nothing is asked or made.
void TestUserFolder::serverDatabaseIsNotLookedFor() {
    QTemporaryDir folder;
    AppSettings settings = inFolder(folder.path());
    settings.databaseName = QStringLiteral("szerver/3051:/adat/du2010.fdb");
    UiRecorder recorder;
    QVERIFY(enterUserFolder(settings));
    QVERIFY(recorder.modalsShown.isEmpty());
    QVERIFY(QDir(folder.path()).isEmpty());
}

void TestUserFolder::folderThatCannotBeMadeEndsTheProgram() {
    QTemporaryDir root;
    const QString file = QDir(root.path()).filePath(QStringLiteral("fájl"));
    QFile(file).open(QIODevice::WriteOnly);
    UiRecorder recorder;
    QVERIFY(!enterUserFolder(inFolder(file + QStringLiteral("/Vardelo"))));
    QVERIFY(recorder.modalsShown.isEmpty());
    QCOMPARE(recorder.messages.size(), 1);
    QVERIFY2(recorder.messages[0].text.startsWith(QStringLiteral("A munkamappa nem hozható létre: ")),
             qPrintable(recorder.messages[0].text));
    QCOMPARE(QDir::currentPath(), previousFolder_);
}

// A dangling link under the database's name is left to the start-up's own message; a database that cannot be
// made is reported and the program ends.
void TestUserFolder::databaseThatCannotBeMadeEndsTheProgram() {
    QTemporaryDir folder;
    const QString database = QDir(folder.path()).filePath(QStringLiteral("du2010.fdb"));
    const QString target = QDir(folder.path()).filePath(QStringLiteral("máshol.fdb"));
    QVERIFY(QFile::link(target, database));
    AppSettings settings = inFolder(folder.path());
    UiRecorder recorder;
    // The link counts as a database: the engine's start-up says what is wrong with it.
    QVERIFY(enterUserFolder(settings));
    QVERIFY(recorder.modalsShown.isEmpty());
    // A name in a folder that does not exist: the question, then the reason; nothing is made.
    settings.databaseName = QStringLiteral("nincs/du2010.fdb");
    recorder.expectModal(click(QStringLiteral("DemoButton")));
    QVERIFY(!enterUserFolder(settings));
    QCOMPARE(recorder.modalsShown, QStringList{QStringLiteral("NewDatabaseQuestion")});
    QCOMPARE(recorder.messages.size(), 1);
    QCOMPARE(recorder.messages[0].text, QStringLiteral("Az adatbázis nem hozható létre."));
    QVERIFY(!QFileInfo::exists(target));
    QCOMPARE(QDir(folder.path()).entryList(QDir::Files | QDir::System), QStringList{"du2010.fdb"});
}

QTEST_MAIN(TestUserFolder)
#include "test_user_folder.moc"
