// The automatic backup as the program closes: made after a run that wrote, not after one that only read, into
// the folder of the settings; a failed one is told at the next start.

#include "data/data_module.h"
#include "data/database_backup.h"
#include "shell/main_window.h"
#include "support/test_database.h"
#include "support/ui_recorder.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>
#include <functional>

using namespace vardelo;
using vardelo::testing::TestDatabase;

namespace {

QStringList backupsIn(const QString& folder) {
    return QDir(folder).entryList({QStringLiteral("*.fbk")}, QDir::Files, QDir::Name);
}

void writeFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

// Starts the program on the test's database, lets `work` run and closes it through "Kilépés".
void runProgram(UiRecorder& recorder, const std::function<void()>& work) {
    TForm1 form;
    QVERIFY(!form.StartupFailed());
    form.show();
    work();
    recorder.clear();
    form.findChild<QAction*>(QStringLiteral("Kilps1"))->trigger();
    QVERIFY(!Data->ZCon1->Connected());
}

const QString aWrite = QStringLiteral("UPDATE ATVEVO SET V_UTCA = 'Mentett utca 1.'");

} // namespace

class TestAutomaticBackup : public QObject {
    Q_OBJECT
private slots:
    void closingAfterAWriteBacksUp();
    void closingAfterReadingOnlyMakesNone();
    void folderAndNumberFromTheSettings();
    void failureToldAtTheNextStart();
};

void TestAutomaticBackup::closingAfterAWriteBacksUp() {
    TestDatabase db(true);
    UiRecorder recorder;
    runProgram(recorder, [&] { db.exec(aWrite); });
    QCOMPARE(recorder.messageTexts(), QStringList());
    const QString folder = QDir(db.folder()).filePath(QStringLiteral("Mentés"));
    const QStringList made = backupsIn(folder);
    QCOMPARE(made.size(), 1);
    QVERIFY(made.at(0).endsWith(QStringLiteral("_auto.fbk")));
    // The backup holds the write committed as the program closed.
    QTemporaryDir dir;
    const QString restored = dir.filePath(QStringLiteral("r.fdb"));
    restoreDatabase(QDir(folder).filePath(made.at(0)), {restored});
    Data->ZCon1->DatabaseName = restored;
    Data->ZCon1->Connect();
    Data->IBTable6->Open();
    QCOMPARE(Data->IBTable6->FieldByName(QStringLiteral("V_UTCA")).AsString(),
             QStringLiteral("Mentett utca 1."));
}

void TestAutomaticBackup::closingAfterReadingOnlyMakesNone() {
    TestDatabase db(true);
    UiRecorder recorder;
    runProgram(recorder, [] {
        Data->IBTable3->Close();
        Data->IBTable3->Open();
        Data->IBTable3->Last();
    });
    QVERIFY(!QFileInfo::exists(QDir(db.folder()).filePath(QStringLiteral("Mentés"))));
}

void TestAutomaticBackup::folderAndNumberFromTheSettings() {
    TestDatabase db(false);
    QTemporaryDir backups;
    writeFile(QDir(db.folder()).filePath(QStringLiteral("vardelo.ini")),
              "[Mentes]\nMappa=" + backups.path().toUtf8() + "\nMegtartott=2\n");
    for (const char* old : {"du2010_2026-01-01_0800_auto.fbk", "du2010_2026-01-02_0800_auto.fbk"})
        writeFile(QDir(backups.path()).filePath(QLatin1String(old)), "x");
    UiRecorder recorder;
    runProgram(recorder, [&] { db.exec(aWrite); });
    const QStringList left = backupsIn(backups.path());
    QCOMPARE(left.size(), 2);
    QCOMPARE(left.at(0), QStringLiteral("du2010_2026-01-02_0800_auto.fbk"));
    QVERIFY(!QFileInfo::exists(QDir(db.folder()).filePath(QStringLiteral("Mentés"))));
}

// The backup cannot be written (a file stands where its folder should be): closing says nothing, the next
// start tells the clerk once.
void TestAutomaticBackup::failureToldAtTheNextStart() {
    TestDatabase db(false);
    writeFile(QDir(db.folder()).filePath(QStringLiteral("Mentés")), "nem mappa");
    UiRecorder recorder;
    runProgram(recorder, [&] { db.exec(aWrite); });
    QCOMPARE(recorder.messageTexts(), QStringList());
    QVERIFY(QFileInfo::exists(automaticBackupMarkers(db.databasePath()).constFirst()));
    recorder.clear();
    {
        TForm1 form;
        QCOMPARE(recorder.messages.size(), 1);
        QVERIFY2(recorder.messages.at(0).text.startsWith(
                     QStringLiteral("Az automatikus adatmentés nem sikerült:\n")),
                 qPrintable(recorder.messages.at(0).text));
    }
    recorder.clear();
    {
        TForm1 form;
        QCOMPARE(recorder.messageTexts(), QStringList());
    }
}

QTEST_MAIN(TestAutomaticBackup)
#include "test_automatic_backup.moc"
