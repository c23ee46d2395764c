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
#include <QMap>
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

// Every file of a folder with its bytes.
QMap<QString, QByteArray> contentsOf(const QString& folder) {
    QMap<QString, QByteArray> contents;
    for (const QString& name : filesIn(folder)) {
        QFile file(QDir(folder).filePath(name));
        if (file.open(QIODevice::ReadOnly))
            contents.insert(name, file.readAll());
    }
    return contents;
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

    // Both folders, every file with its bytes.
    std::pair<QMap<QString, QByteArray>, QMap<QString, QByteArray>> both() const {
        return {contentsOf(a_), contentsOf(b_)};
    }
    returns::MergeOutcome merge(const returns::MergedFileWriter& write = {}) const {
        return returns::mergeImportFolders(a_, returns::importFilesIn(a_), b_, returns::importFilesIn(b_),
                                           write);
    }
    // Two producers in both sets: 100 + 50 and 200 + 500.
    void writeTwoPartners() const {
        writeImport(a_, p1, "100");
        writeImport(a_, p2, "200");
        writeImport(b_, p1, "50");
        writeImport(b_, p2, "500");
    }

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
        const returns::MergeOutcome out = merge();
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
        const returns::MergeOutcome out = merge();
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
        const returns::MergeOutcome out = merge();
        QCOMPARE(out.before.total(), qint64(162));
        QCOMPARE(out.after.total(), qint64(162));
        QCOMPARE(valueLine(a_ + "/" + p1, "12458="), QStringLiteral("12458=162"));
    }

    // A leftover ".old" (or ".im_") of an earlier merge, where a rename or the merged file would meet it:
    // refused by name before anything changes, so no amount is left in a file the return does not read.
    void leftoverFileRefused_data() {
        QTest::addColumn<bool>("inA");
        QTest::addColumn<QString>("leftover");
        QTest::newRow("A's .old") << true << "1008M201008_8123456789.old";
        QTest::newRow("A's .im_") << true << "1008M201008_8123456789.im_";
        QTest::newRow("B's .old") << false << "1008M201008_8123456789.old";
    }
    void leftoverFileRefused() {
        QFETCH(bool, inA);
        QFETCH(QString, leftover);
        writeImport(a_, p1, "100");
        writeImport(b_, p1, "50");
        writeImport(inA ? a_ : b_, leftover, "1");
        const auto before = both();
        const returns::MergeOutcome out = merge();
        QVERIFY(!out.ran);
        QVERIFY2(out.error.contains(QDir::toNativeSeparators((inA ? a_ : b_) + "/" + leftover)),
                 qPrintable(out.error));
        QVERIFY(out.error.contains("egy fájl sem változott"));
        QCOMPARE(both(), before);
    }

    // A file that is not a whole import file, or a value beyond what an import file holds, stops the merge
    // before any file changes, with a message naming the file: the amounts of both sides stay where the
    // return reads them.
    void brokenFileChangesNothing_data() {
        QTest::addColumn<bool>("inA");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("reason");
        const QByteArray cut("$ny_azon=1008M\r\n$sorok_sz\xE1ma=28\r\n$d_lapok_sz\xE1ma=0\r\n");
        QTest::newRow("A's partner cut off before 12458") << true << p1 << cut << "12458=";
        QTest::newRow("A's partner not an import file")
            << true << p1 << QByteArray("<html>hiba</html>\r\n") << "$ny_azon=1008M";
        QTest::newRow("B's partner with CR-only line ends")
            << false << p1 << QByteArray("$ny_azon=1008M\r12458=50\r12456=\r") << "sorvégei";
        const QString text = QStringLiteral("$ny_azon=1008M\r\n12458=50\r\n");
        QByteArray utf16("\xFF\xFE");
        utf16.append(reinterpret_cast<const char*>(text.utf16()), text.size() * 2);
        QTest::newRow("B's partner in UTF-16") << false << p1 << utf16 << "Windows-1250";
        QTest::newRow("B's partner beyond 11 digits")
            << false << p1 << QByteArray("$ny_azon=1008M\r\n12458=100000000000\r\n") << "11 jegy";
        QTest::newRow("B's partner beyond 64 bits")
            << false << p1 << QByteArray("$ny_azon=1008M\r\n12458=9223372036854775808\r\n") << "Nem egész";
        QTest::newRow("A's partner with a fraction")
            << true << p1 << QByteArray("$ny_azon=1008M\r\n12458=10,5\r\n") << "Nem egész szám";
        QTest::newRow("B's partner with letters")
            << false << p1 << QByteArray("$ny_azon=1008M\r\n12458=abc\r\n") << "Nem egész szám";
        QTest::newRow("a file only in B, empty") << false << p3 << QByteArray() << "$ny_azon=1008M";
    }
    void brokenFileChangesNothing() {
        QFETCH(bool, inA);
        QFETCH(QString, name);
        QFETCH(QByteArray, bytes);
        QFETCH(QString, reason);
        writeTwoPartners();
        QFile broken((inA ? a_ : b_) + "/" + name);
        QVERIFY(broken.open(QIODevice::WriteOnly | QIODevice::Truncate));
        broken.write(bytes);
        broken.close();
        const auto before = both();
        const returns::MergeOutcome out = merge();
        QVERIFY(!out.ran);
        QVERIFY2(out.error.contains(QDir::toNativeSeparators(broken.fileName())), qPrintable(out.error));
        QVERIFY2(out.error.contains(reason), qPrintable(out.error));
        QVERIFY(out.error.endsWith("Az összevonás nem indult el, egy fájl sem változott."));
        QCOMPARE(both(), before);
    }

    // The merged amount must fit the 11 digits of an import file: 99 999 999 999 does, one more does not.
    void mergedAmountLimit() {
        writeImport(a_, p1, "99999999998");
        writeImport(b_, p1, "1");
        returns::MergeOutcome out = merge();
        QVERIFY(out.ran);
        QCOMPARE(valueLine(a_ + "/" + p1, "12458="), QStringLiteral("12458=99999999999"));

        init();
        writeImport(a_, p1, "99999999999");
        writeImport(b_, p1, "1");
        const auto before = both();
        out = merge();
        QVERIFY(!out.ran);
        QVERIFY2(out.error.contains("11 jegynél hosszabb"), qPrintable(out.error));
        QCOMPARE(both(), before);
    }

    // A merged file that cannot be written (a full disk, a read-only folder) stops the run at once: what this
    // run wrote is taken back and no file is renamed.
    void failedWriteChangesNothing() {
        writeTwoPartners();
        const auto before = both();
        int writes = 0;
        const returns::MergeOutcome out =
            merge([&](const QString& path, const QStringList& lines, QString* error) {
                if (++writes == 2) {
                    *error = "A(z) " + path + " fájl nem írható: Nincs hely az eszközön";
                    return false;
                }
                return writeTextFile(path, lines, error);
            });
        QVERIFY(!out.ran);
        QCOMPARE(writes, 2);
        QVERIFY2(out.error.contains("nem írható"), qPrintable(out.error));
        QVERIFY(out.error.contains("egy fájl sem változott"));
        QCOMPARE(both(), before);
    }

    // A rename that fails late (B's file cannot be taken out of use) puts every file back: A's files carry
    // their own amounts again and no merged or ".old" file of this run is left.
    void failedRenamePutsEverythingBack() {
        writeTwoPartners();
        const auto before = both();
        const QString inTheWay = b_ + "/1008M201008_8111111111.old";
        const returns::MergeOutcome out =
            merge([&](const QString& path, const QStringList& lines, QString* error) {
                // Something takes the name of B's retired file while the merged files are written.
                QFile(inTheWay).open(QIODevice::WriteOnly);
                return writeTextFile(path, lines, error);
            });
        QVERIFY(!out.ran);
        QVERIFY2(out.error.startsWith(" \"old\" Rename2 átnevezési hiba kódja = "), qPrintable(out.error));
        QVERIFY(out.error.contains("minden fájl az eredeti állapotában maradt"));
        QFile::remove(inTheWay);
        QCOMPARE(both(), before);
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

    // The window tells the clerk which file stopped the merge, shows no sums and leaves "Összevonás" on.
    void windowNamesBrokenFile() {
        testing::TestDatabase db;
        const QString c = qEnvironmentVariable("VARDELO_DRIVE_C");
        const QString a = c + "/ze10/08";
        const QString b = c + "/pen/08";
        writeImport(b, p1, "50");
        QDir().mkpath(a);
        QFile cut(a + "/" + p1);
        QVERIFY(cut.open(QIODevice::WriteOnly));
        cut.write("$ny_azon=1008M\r\n$sorok_sz\xE1ma=28\r\n");
        cut.close();
        UiRecorder recorder;
        TForm24 form;
        form.ChooseFolderA(a);
        form.ChooseFolderB(b);
        child<QPushButton>(form, "Button3")->click();
        QCOMPARE(recorder.messages.size(), 1);
        QVERIFY2(recorder.lastMessage().contains(QDir::toNativeSeparators(cut.fileName())),
                 qPrintable(recorder.lastMessage()));
        QCOMPARE(child<QLabel>(form, "Label13")->text(), QStringLiteral("..."));
        QVERIFY(child<QPushButton>(form, "Button3")->isEnabled());
        QCOMPARE(filesIn(a), QStringList{p1});
        QCOMPARE(filesIn(b), QStringList{p1});
    }
};

QTEST_MAIN(TestImportMerge)
#include "test_import_merge.moc"
