#include "data/text_files.h"
#include "returns/import_merge.h"
#include "returns/import_merge_window.h"
#include "support/children.h"
#include "support/test_database.h"
#include "support/ui_recorder.h"
#include "widgets/ui_service.h"

#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

using vardelo::testing::child;
using namespace vardelo;

namespace {

// An import file as the collection writes it, with the given "12458=" value and an empty "12456=" line.
void writeImport(const QString& folder, const QString& name, const QString& amount,
                 const QString& v12456 = QString()) {
    QDir().mkpath(folder);
    QVERIFY(writeTextFile(QDir(folder).filePath(name),
                          {"$ny_azon=1008M", "$info=1_Kovács János_" + name.mid(12, 10), "12458=" + amount,
                           "12461=2", "12456=" + v12456, "13842=8234567891"}));
}

QStringList filesIn(const QString& folder) {
    return QDir(folder).entryList(QDir::Files, QDir::Name);
}

QString valueLine(const QString& path, const QString& key) {
    const std::optional<QStringList> lines = readTextFile(path);
    if (!lines)
        return "<missing>";
    for (const QString& line : *lines)
        if (line.startsWith(key))
            return line;
    return QString();
}

const QString p1 = "1008M201008_8123456789.imp";
const QString p2 = "1008M201008_8111111111.imp";
const QString p3 = "1008M201008_8222222222.imp";

} // namespace

class TestImportMerge : public QObject {
    Q_OBJECT

    QTemporaryDir dir_;
    QString a_;
    QString b_;

private slots:
    void init() {
        QVERIFY(dir_.isValid());
        a_ = dir_.path() + "/c/ze10/08";
        b_ = dir_.path() + "/e/ze10/08";
        QDir(dir_.path()).removeRecursively();
        QDir().mkpath(a_);
        QDir().mkpath(b_);
    }

    // 100 in A and 50 in B: A's file carries 150, A's old file and B's file end in ".old", the grand total
    // stays; a producer only in A and one only in B are left alone; a blank 12458 counts 0.
    void mergesPartner() {
        writeImport(a_, p1, "100");
        writeImport(a_, p2, "  ");
        writeImport(b_, p1, "50");
        writeImport(b_, p3, "7");
        const returns::MergeOutcome out =
            returns::mergeImportFolders(a_, returns::importFilesIn(a_), b_, returns::importFilesIn(b_));
        QVERIFY(out.ran);
        QVERIFY(out.messages.isEmpty());
        QCOMPARE(out.partners, QStringList{p1});
        QCOMPARE(out.before.a.v12458, qint64(100));
        QCOMPARE(out.before.b.v12458, qint64(57));
        QCOMPARE(out.after.a.v12458, qint64(150));
        QCOMPARE(out.after.b.v12458, qint64(7));
        QCOMPARE(out.after.total(), out.before.total());
        QCOMPARE(valueLine(a_ + "/" + p1, "12458="), QStringLiteral("12458=150"));
        QCOMPARE(valueLine(a_ + "/" + p1, "12456="), QStringLiteral("12456="));
        QCOMPARE(valueLine(a_ + "/1008M201008_8123456789.old", "12458="), QStringLiteral("12458=100"));
        QCOMPARE(filesIn(a_), (QStringList{p2, p1, "1008M201008_8123456789.old"}));
        QCOMPARE(filesIn(b_), (QStringList{"1008M201008_8123456789.old", p3}));
    }

    // No partners: nothing is written or renamed, the sums stay.
    void noPartners() {
        writeImport(a_, p1, "100");
        writeImport(b_, p3, "7");
        const returns::MergeOutcome out =
            returns::mergeImportFolders(a_, returns::importFilesIn(a_), b_, returns::importFilesIn(b_));
        QVERIFY(out.ran);
        QVERIFY(out.partners.isEmpty());
        QCOMPARE(filesIn(a_), QStringList{p1});
        QCOMPARE(filesIn(b_), QStringList{p3});
        QCOMPARE(out.after.total(), out.before.total());
        QCOMPARE(out.before.total(), qint64(107));
    }

    // A "12456=" value in either file goes into the merged 12458 once and never counts twice.
    void animalValuesCountOnce() {
        writeImport(a_, p1, "100", "5");
        writeImport(b_, p1, "50", "7");
        const returns::MergeOutcome out =
            returns::mergeImportFolders(a_, returns::importFilesIn(a_), b_, returns::importFilesIn(b_));
        QCOMPARE(out.before.total(), qint64(162));
        QCOMPARE(out.after.total(), qint64(162));
        QCOMPARE(valueLine(a_ + "/" + p1, "12458="), QStringLiteral("12458=162"));
    }

    // A leftover ".old" in A: Rename1 and Rename11 fail and say so, the run goes on (B's file is renamed) and
    // the merged amount stays in the ".im_" file.
    void leftoverOld() {
        writeImport(a_, p1, "100");
        writeImport(a_, "1008M201008_8123456789.old", "1");
        writeImport(b_, p1, "50");
        const returns::MergeOutcome out =
            returns::mergeImportFolders(a_, returns::importFilesIn(a_), b_, returns::importFilesIn(b_));
        QVERIFY(out.ran);
        QCOMPARE(out.messages.size(), 2);
        QVERIFY(out.messages[0].startsWith(" \"old\" Rename1 átnevezési hiba kódja = "));
        QVERIFY(out.messages[1].startsWith(" \"imp\" Rename11 átnevezési hiba kódja = "));
        QCOMPARE(valueLine(a_ + "/1008M201008_8123456789.im_", "12458="), QStringLiteral("12458=150"));
        QCOMPARE(valueLine(a_ + "/" + p1, "12458="), QStringLiteral("12458=100"));
        QCOMPARE(valueLine(a_ + "/1008M201008_8123456789.old", "12458="), QStringLiteral("12458=1"));
        QCOMPARE(filesIn(b_), QStringList{"1008M201008_8123456789.old"});
    }

    // A value that is not a whole number stops the run before anything on disk changes.
    void badValueChangesNothing_data() {
        QTest::addColumn<bool>("inA");
        QTest::newRow("in A's partner") << true;
        QTest::newRow("in B's partner") << false;
    }
    void badValueChangesNothing() {
        QFETCH(bool, inA);
        writeImport(a_, p1, inA ? "10,5" : "100");
        writeImport(b_, p1, inA ? "50" : "abc");
        const QStringList beforeA = filesIn(a_);
        const QStringList beforeB = filesIn(b_);
        const returns::MergeOutcome out =
            returns::mergeImportFolders(a_, returns::importFilesIn(a_), b_, returns::importFilesIn(b_));
        QVERIFY(!out.ran);
        QVERIFY(out.error.contains(p1));
        QCOMPARE(filesIn(a_), beforeA);
        QCOMPARE(filesIn(b_), beforeB);
    }

    // The window: the memo, the warnings on choosing folders, the same-folder refusal, and a merge with its
    // sums, partner list and the button disabled afterwards.
    void window() {
        testing::TestDatabase db;
        const QString c = qEnvironmentVariable("VARDELO_DRIVE_C");
        const QString a = c + "/ze10/08";
        const QString b = c + "/pen/08";
        writeImport(a, p1, "100");
        writeImport(b, p1, "50");
        writeImport(b, p3, "7");
        UiRecorder recorder;
        TForm24 form;
        QCOMPARE(form.objectName(), QStringLiteral("Form24"));
        QCOMPARE(form.windowTitle(), QStringLiteral("Két import összevonása"));
        QCOMPARE(QDir(form.FolderA()), QDir(c + "/ze10"));
        QVERIFY(child<QComboBox>(form, "DriveComboBox1")->count() >= 1);
        QCOMPARE(child<QPlainTextEdit>(form, "Memo1")->toPlainText().split('\n').size(), 12);
        QCOMPARE(child<QLabel>(form, "Label3")->text(), QStringLiteral("Mindösszesen:"));
        QVERIFY(recorder.messages.isEmpty());

        form.ChooseFolderA(a);
        form.ChooseFolderB(a);
        QCOMPARE(recorder.lastMessage(), QStringLiteral("Nem lehet azonos a könyvtár "));
        recorder.clear();
        child<QPushButton>(form, "Button3")->click();
        QCOMPARE(recorder.lastMessage(), QStringLiteral("Nem lehet azonos a könyvtár "));
        QCOMPARE(filesIn(a), QStringList{p1});
        QVERIFY(child<QPushButton>(form, "Button3")->isEnabled());

        recorder.clear();
        form.ChooseFolderB(b);
        QVERIFY(recorder.messages.isEmpty());
        QCOMPARE(child<QListWidget>(form, "FileListBox2")->count(), 2);
        child<QPushButton>(form, "Button3")->click();
        QVERIFY(recorder.messages.isEmpty());
        QCOMPARE(child<QLabel>(form, "Label4")->text(),
                 QStringLiteral("Összevonás előtt a 455. sor (növény): 100"));
        QCOMPARE(child<QLabel>(form, "Label5")->text(),
                 QStringLiteral("Összevonás előtt a 455. sor (növény): 57"));
        QCOMPARE(child<QLabel>(form, "Label3")->text(), QStringLiteral("Mindösszesen : 157"));
        QCOMPARE(child<QLabel>(form, "Label7")->text(),
                 QStringLiteral("Összevonás után a 455. sor (növény): 150"));
        QCOMPARE(child<QLabel>(form, "Label12")->text(),
                 QStringLiteral("Összevonás után a 455. sor (növény): 7"));
        QCOMPARE(child<QLabel>(form, "Label6")->text(),
                 QStringLiteral("Összevonás után a 455. sor (állat): 0"));
        QCOMPARE(child<QLabel>(form, "Label13")->text(), QStringLiteral("Mindösszesen : 157"));
        QCOMPARE(child<QListWidget>(form, "CheckListBox1")->count(), 1);
        QCOMPARE(child<QListWidget>(form, "CheckListBox1")->item(0)->text(), p1);
        QCOMPARE(child<QListWidget>(form, "CheckListBox1")->item(0)->checkState(), Qt::Checked);
        QCOMPARE(child<QListWidget>(form, "CheckListBox2")->count(), 2);
        QVERIFY(!child<QPushButton>(form, "Button3")->isEnabled());

        // Choosing a folder that holds ".old" files warns.
        form.ChooseFolderB(b);
        QCOMPARE(recorder.lastMessage(), QStringLiteral(" Csak bevallás újbóli export ismétlés után!  "));
    }
};

QTEST_MAIN(TestImportMerge)
#include "test_import_merge.moc"
