// "Adatmentés" and "Visszatöltés": a backup into the chosen folder, a restore that replaces the open database
// only when the clerk confirms, and a refused file that leaves the database as it was.

#include "data/data_module.h"
#include "data/database_backup.h"
#include "exchange/backup_window.h"
#include "exchange/restore_window.h"
#include "support/test_database.h"
#include "support/ui_recorder.h"
#include "widgets/ui_service.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

using namespace vardelo;
using vardelo::testing::TestDatabase;

namespace {

template <typename T> T* control(QWidget& window, const char* name) {
    auto* found = window.findChild<T*>(QLatin1String(name));
    if (!found)
        qFatal("no control %s", name);
    return found;
}

QStringList folderEntries(const QString& folder) {
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
}

int producers() {
    Data->IBTable3->Close();
    Data->IBTable3->Open();
    return Data->IBTable3->RecordCount();
}

const QString newProducer = QStringLiteral(
    "INSERT INTO OSTERMELO (O_KOD, O_NEV, O_AKOD) VALUES ('99999', 'Visszatöltés Vilma', '1')");

} // namespace

class TestBackupWindows : public QObject {
    Q_OBJECT
private slots:
    void backupIntoTheChosenFolder();
    void backupFailureSaysWhy();
    void restoreReplacesWhenConfirmed();
    void restoreLeftWhenNotConfirmed();
    void restoreRefusesADamagedFile();
    void windowsFitTheScreen();
};

void TestBackupWindows::backupIntoTheChosenFolder() {
    TestDatabase db(true);
    UiRecorder recorder;
    TBackupWindow window;
    QCOMPARE(window.objectName(), QStringLiteral("BackupWindow"));
    QCOMPARE(window.windowTitle(), QStringLiteral("Adatmentés"));
    auto* folder = control<QLineEdit>(window, "Edit1");
    QCOMPARE(QDir::fromNativeSeparators(folder->text()),
             QDir(db.folder()).filePath(QStringLiteral("Mentés")));
    // The default folder is made when first used.
    QTest::mouseClick(control<QPushButton>(window, "Button1"), Qt::LeftButton);
    const QStringList made = folderEntries(QDir(db.folder()).filePath(QStringLiteral("Mentés")));
    QCOMPARE(made.size(), 1);
    QVERIFY2(QRegularExpression(QStringLiteral("^du2010_\\d{4}-\\d\\d-\\d\\d_\\d{4}\\.fbk$"))
                 .match(made.at(0))
                 .hasMatch(),
             qPrintable(made.at(0)));
    QCOMPARE(recorder.messageTexts(), QStringList{QStringLiteral("Az adatmentés elkészült: ") +
                                                  QDir::toNativeSeparators(window.LastBackup())});
    QVERIFY(control<QLabel>(window, "Label2")->text().startsWith(QStringLiteral("Elkészült: ")));

    // Again in the same minute: a name of its own.
    recorder.clear();
    const QString first = window.LastBackup();
    QTest::mouseClick(control<QPushButton>(window, "Button1"), Qt::LeftButton);
    QCOMPARE(recorder.messages.size(), 1);
    QVERIFY(window.LastBackup() != first);
    QVERIFY(QFileInfo::exists(first) && QFileInfo::exists(window.LastBackup()));

    QTemporaryDir other;
    folder->setText(QDir::toNativeSeparators(other.path()));
    QTest::mouseClick(control<QPushButton>(window, "Button1"), Qt::LeftButton);
    QCOMPARE(folderEntries(other.path()).size(), 1);
    // The backup restores into a database with the same rows.
    const TableCounts counts =
        restoreDatabase(window.LastBackup(), {other.filePath(QStringLiteral("r.fdb"))});
    QCOMPARE(counts, checkDatabase({db.databasePath()}));
}

void TestBackupWindows::backupFailureSaysWhy() {
    TestDatabase db(false);
    UiRecorder recorder;
    TBackupWindow window;
    control<QLineEdit>(window, "Edit1")->setText(QStringLiteral("/proc/self"));
    QTest::mouseClick(control<QPushButton>(window, "Button1"), Qt::LeftButton);
    QCOMPARE(recorder.messages.size(), 1);
    QVERIFY2(recorder.messages.at(0).text.startsWith(QStringLiteral("Az adatmentés nem sikerült.")),
             qPrintable(recorder.messages.at(0).text));
    QVERIFY(window.LastBackup().isEmpty());
    QVERIFY(control<QPushButton>(window, "Button1")->isEnabled());
    recorder.clear();
    control<QLineEdit>(window, "Edit1")->clear();
    QTest::mouseClick(control<QPushButton>(window, "Button1"), Qt::LeftButton);
    QCOMPARE(recorder.messageTexts(), QStringList{QStringLiteral("Adja meg a mentés helyét!")});
}

// The restore is checked and its counts shown; on "Yes" the open database is closed, replaced (the old one
// kept under a dated name) and opened again, and the program reads the restored rows.
void TestBackupWindows::restoreReplacesWhenConfirmed() {
    TestDatabase db(true);
    const int before = producers();
    QTemporaryDir dir;
    const QString backup = dir.filePath(QStringLiteral("du2010_2026-12-10_1530.fbk"));
    backupDatabase({db.databasePath()}, backup);
    db.exec(newProducer);
    QCOMPARE(producers(), before + 1);

    UiRecorder recorder;
    recorder.answer(MsgButton::Yes);
    TRestoreWindow window;
    QCOMPARE(window.objectName(), QStringLiteral("RestoreWindow"));
    QCOMPARE(window.windowTitle(), QStringLiteral("Visszatöltés"));
    control<QLineEdit>(window, "Edit1")->setText(QDir::toNativeSeparators(backup));
    QTest::mouseClick(control<QPushButton>(window, "Button1"), Qt::LeftButton);

    QCOMPARE(recorder.messages.size(), 2);
    const RecordedMessage confirm = recorder.messages.at(0);
    QCOMPARE(confirm.caption, vardelo::confirmCaption());
    QCOMPARE(confirm.buttons, int(MsgButton::Yes) | int(MsgButton::No));
    QVERIFY2(confirm.text.contains(QStringLiteral("OSTERMELO: %1 sor").arg(before)),
             qPrintable(confirm.text));
    QVERIFY(confirm.text.contains(QStringLiteral("FJSOR: ")));
    // The six tables, the journal's two and the ticket counts.
    QCOMPARE(control<QListWidget>(window, "ListBox1")->count(), 9);
    QVERIFY(recorder.messages.at(1).text.startsWith(QStringLiteral("Az adatbázis visszatöltve.")));

    QVERIFY(Data->ZCon1->Connected());
    for (int i = 1; i <= 6; ++i)
        QVERIFY(Data->Table(i)->Active());
    QCOMPARE(producers(), before);
    // The replaced database is kept beside it, with the producer added after the backup.
    const QString kept = window.ReplacedFile();
    QVERIFY(QRegularExpression(QStringLiteral("/du2010_csere_\\d{4}-\\d\\d-\\d\\d_\\d{4}\\.fdb$"))
                .match(kept)
                .hasMatch());
    QCOMPARE(folderEntries(db.folder()), (QStringList{"c", "du2010.fdb", QFileInfo(kept).fileName()}));
    bool found = false;
    for (const auto& [table, rows] : checkDatabase({kept}))
        found = found || (table == QLatin1String("OSTERMELO") && rows == before + 1);
    QVERIFY(found);
    // The program writes on into the restored database.
    db.exec(newProducer);
    QCOMPARE(producers(), before + 1);
}

void TestBackupWindows::restoreLeftWhenNotConfirmed() {
    TestDatabase db(true);
    QTemporaryDir dir;
    const QString backup = dir.filePath(QStringLiteral("m.fbk"));
    backupDatabase({db.databasePath()}, backup);
    db.exec(newProducer);
    const int before = producers();

    UiRecorder recorder;
    recorder.answer(MsgButton::No);
    TRestoreWindow window;
    control<QLineEdit>(window, "Edit1")->setText(backup);
    QTest::mouseClick(control<QPushButton>(window, "Button1"), Qt::LeftButton);
    QCOMPARE(recorder.messages.size(), 1);
    QVERIFY(window.ReplacedFile().isEmpty());
    QCOMPARE(folderEntries(db.folder()), (QStringList{"c", "du2010.fdb"}));
    QVERIFY(Data->ZCon1->Connected());
    QCOMPARE(producers(), before);
}

// A damaged backup is refused: the reason is told, no restored file is left, the database goes on as it was.
void TestBackupWindows::restoreRefusesADamagedFile() {
    TestDatabase db(true);
    const TableCounts before = checkDatabase({db.databasePath()});
    QTemporaryDir dir;
    const QString backup = dir.filePath(QStringLiteral("m.fbk"));
    backupDatabase({db.databasePath()}, backup);
    {
        QFile file(backup);
        QVERIFY(file.open(QIODevice::ReadWrite));
        QVERIFY(file.resize(file.size() / 2));
    }
    UiRecorder recorder;
    TRestoreWindow window;
    control<QLineEdit>(window, "Edit1")->setText(backup);
    QTest::mouseClick(control<QPushButton>(window, "Button1"), Qt::LeftButton);
    QCOMPARE(recorder.messages.size(), 1);
    QVERIFY2(recorder.messages.at(0).text.startsWith(
                 QStringLiteral("A visszatöltés nem sikerült, az adatbázis nem változott.")),
             qPrintable(recorder.messages.at(0).text));
    QCOMPARE(recorder.pendingAnswers(), 0);
    QCOMPARE(folderEntries(db.folder()), (QStringList{"c", "du2010.fdb"}));
    QVERIFY(Data->ZCon1->Connected());
    QCOMPARE(checkDatabase({db.databasePath()}), before);
    QCOMPARE(control<QListWidget>(window, "ListBox1")->count(), 0);

    recorder.clear();
    control<QLineEdit>(window, "Edit1")->clear();
    QTest::mouseClick(control<QPushButton>(window, "Button1"), Qt::LeftButton);
    QCOMPARE(recorder.messageTexts(), QStringList{QStringLiteral("Válassza ki a visszatöltendő mentést!")});
}

void TestBackupWindows::windowsFitTheScreen() {
    TestDatabase db(false);
    TBackupWindow backup;
    TRestoreWindow restore;
    for (QDialog* window : std::initializer_list<QDialog*>{&backup, &restore}) {
        QVERIFY(window->sizeHint().width() <= 1024 && window->sizeHint().height() <= 768);
        QVERIFY(window->width() <= 1024 && window->height() <= 768);
    }
}

QTEST_MAIN(TestBackupWindows)
#include "test_backup_windows.moc"
