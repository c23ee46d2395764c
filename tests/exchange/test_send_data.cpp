#include "data/windows_paths.h"
#include "exchange/mail_message.h"
#include "exchange/send_data.h"
#include "support/ui_recorder.h"
#include "widgets/ui_service.h"

#include <QClipboard>
#include <QComboBox>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QFileSystemModel>
#include <QGuiApplication>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTreeView>
#include <QUrl>
#include <QtTest>

using namespace vardelo;

namespace {

// The window needs no database: a temporary drive C of its own for each test.
class DriveC {
public:
    DriveC() { qputenv("VARDELO_DRIVE_C", dir_.path().toLocal8Bit()); }
    ~DriveC() { qunsetenv("VARDELO_DRIVE_C"); }

private:
    QTemporaryDir dir_;
};

// Catches the links the program asks the desktop to open.
class LinkCatcher : public QObject {
    Q_OBJECT
public:
    LinkCatcher() { QDesktopServices::setUrlHandler(QStringLiteral("mailto"), this, "openLink"); }
    ~LinkCatcher() override { QDesktopServices::unsetUrlHandler(QStringLiteral("mailto")); }
    QList<QUrl> links;
public slots:
    void openLink(const QUrl& url) { links << url; }
};

// A folder under drive C, created.
QString driveCFolder(const QString& windowsPath) {
    const QString folder = localPath(windowsPath);
    QDir().mkpath(folder);
    return QDir::cleanPath(folder);
}

void touch(const QString& path) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("database");
}

// Chooses a folder in the tree as the clerk does.
void chooseFolder(TForm27& window, const QString& folder) {
    window.DirectoryListBox1->setCurrentIndex(window.DirectoryModel->index(folder));
}

} // namespace

class TestSendData : public QObject {
    Q_OBJECT
private slots:
    void link();
    void databaseFile_data();
    void databaseFile();
    void opensOnTheInstallationFolder();
    void folderWithoutTheDatabase();
    void folderMissingAtOpening();
    void anotherDriveKeepsItsFolder();
    void sendWithMailProgram();
    void sendWithMissingFile();
    void sendThroughLink();
    void copyToClipboard();
};

// The link exactly as the mail program receives it: blanks before "?" and "&", nothing encoded, a blank at
// the end.
void TestSendData::link() {
    QCOMPARE(mail::mailtoLink(QStringLiteral("x@y.hu")),
             QStringLiteral("mailto:x@y.hu ?subject=Zozed adatok &body=Zozed adatok elküldése ellenőrzésre. "
                            "Figyelmeztetés: csatolt fálj mellékelni kell! "));
    QCOMPARE(
        mail::mailtoLink(mail::SupportAddress).toUtf8(),
        QByteArray("mailto:") + mail::SupportAddress.toUtf8() +
            QByteArray(" ?subject=Zozed adatok &body=Zozed adatok elk\xc3\xbc"
                       "ld\xc3\xa9se ellen\xc5\x91rz\xc3\xa9sre. Figyelmeztet\xc3\xa9s: csatolt f\xc3\xa1lj "
                       "mell\xc3\xa9kelni kell! "));
}

void TestSendData::databaseFile_data() {
    QTest::addColumn<QStringList>("files");
    QTest::addColumn<QString>("found");
    QTest::newRow("the database") << QStringList{"du2010.fdb", "other.fdb"} << "du2010.fdb";
    QTest::newRow("capitals") << QStringList{"DU2010.FDB"} << "DU2010.FDB";
    QTest::newRow("other years only") << QStringList{"du2009.fdb", "du2010.fdb.bak"} << "";
    QTest::newRow("empty folder") << QStringList{} << "";
}

void TestSendData::databaseFile() {
    QFETCH(QStringList, files);
    QFETCH(QString, found);
    QTemporaryDir dir;
    for (const QString& name : files)
        touch(dir.filePath(name));
    QCOMPARE(mail::findDatabaseFile(dir.path()), found);
    QCOMPARE(mail::findDatabaseFile(dir.filePath(QStringLiteral("missing"))), QString());
}

void TestSendData::opensOnTheInstallationFolder() {
    DriveC drive;
    const QString folder = driveCFolder(TForm27::InstallFolder);
    touch(QDir(folder).filePath(QStringLiteral("du2010.fdb")));
    TForm27 window;
    QCOMPARE(window.objectName(), QStringLiteral("Form27"));
    QCOMPARE(window.windowTitle(), QStringLiteral("Adatok elküldése  emailben"));
    QCOMPARE(window.Directory(), folder);
    QCOMPARE(window.Edit1->text(), QDir::toNativeSeparators(folder + QStringLiteral("/du2010.fdb")));
    QVERIFY(window.FileListBox1->isHidden());
    QCOMPARE(window.FileListBox1->count(), 1);
    QCOMPARE(window.DirectoryModel->filePath(window.DirectoryListBox1->currentIndex()), folder);
    QVERIFY(window.sizeHint().width() <= 1024 && window.sizeHint().height() <= 768);
}

// Choosing a folder without the database empties the field, and "Küldés1" then says nothing is chosen.
void TestSendData::folderWithoutTheDatabase() {
    DriveC drive;
    const QString folder = driveCFolder(TForm27::InstallFolder);
    touch(QDir(folder).filePath(QStringLiteral("du2010.fdb")));
    const QString empty = driveCFolder(QStringLiteral("c:\\ures\\"));
    UiRecorder recorder;
    TForm27 window;
    recorder.expectModal([&](QDialog&) {
        QVERIFY(!window.Edit1->text().isEmpty());
        chooseFolder(window, empty);
        QCOMPARE(window.Directory(), empty);
        QCOMPARE(window.Edit1->text(), QString());
        QCOMPARE(window.FileListBox1->count(), 0);
        QTest::mouseClick(window.Button3, Qt::LeftButton);
        QCOMPARE(recorder.messageTexts(), QStringList{QStringLiteral("Nincs kiválasztva! ")});
        // Back in the installation folder the file is found again.
        chooseFolder(window, folder);
        QVERIFY(window.Edit1->text().endsWith(QStringLiteral("du2010.fdb")));
    });
    ui().showModal(window);
}

// Without an installation folder the tree stands on the nearest folder above it, and nothing is chosen.
void TestSendData::folderMissingAtOpening() {
    DriveC drive;
    TForm27 window;
    QCOMPARE(window.Directory(), QDir::cleanPath(qEnvironmentVariable("VARDELO_DRIVE_C")));
    QCOMPARE(window.Edit1->text(), QString());
}

void TestSendData::anotherDriveKeepsItsFolder() {
    DriveC drive;
    const QString folder = driveCFolder(TForm27::InstallFolder);
    touch(QDir(folder).filePath(QStringLiteral("du2010.fdb")));
    TForm27 window;
    if (window.DriveComboBox1->count() < 2)
        QSKIP("only one volume is mounted");
    const int own = window.DriveComboBox1->currentIndex();
    window.DriveComboBox1->setCurrentIndex(own == 0 ? 1 : 0);
    QCOMPARE(window.Directory(), window.DriveComboBox1->currentData().toString());
    window.DriveComboBox1->setCurrentIndex(own);
    QCOMPARE(window.Directory(), folder);
    QVERIFY(window.Edit1->text().endsWith(QStringLiteral("du2010.fdb")));
}

// "Küldés1" hands recipient, subject, body and the attached file to the mail program (a stand-in
// "xdg-email" first on the search path, which writes down its arguments).
void TestSendData::sendWithMailProgram() {
#ifdef Q_OS_WIN
    QSKIP("the mail program of Linux");
#endif
    DriveC drive;
    const QString folder = driveCFolder(TForm27::InstallFolder);
    const QString database = QDir(folder).filePath(QStringLiteral("du2010.fdb"));
    touch(database);

    QTemporaryDir bin;
    const QString argumentsFile = bin.filePath(QStringLiteral("arguments.txt"));
    const QString script = bin.filePath(QStringLiteral("xdg-email"));
    {
        QFile file(script);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("#!/bin/sh\nprintf '%s\\n' \"$@\" > '" + argumentsFile.toUtf8() + ".part'\nmv '" +
                   argumentsFile.toUtf8() + ".part' '" + argumentsFile.toUtf8() + "'\n");
        file.close();
        QVERIFY(file.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
    }
    const QByteArray path = qgetenv("PATH");
    qputenv("PATH", bin.path().toUtf8() + ':' + path);

    UiRecorder recorder;
    TForm27 window;
    recorder.expectModal([&](QDialog&) { QTest::mouseClick(window.Button3, Qt::LeftButton); });
    ui().showModal(window);
    qputenv("PATH", path);
    QCOMPARE(recorder.messageTexts(), QStringList());

    QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(argumentsFile), 10000);
    QFile file(argumentsFile);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QStringList arguments = QString::fromUtf8(file.readAll()).split(u'\n', Qt::SkipEmptyParts);
    QCOMPARE(arguments,
             (QStringList{"--subject", "Zozed adatok", "--body", "Zozed adatok elküldése ellenőrzésre",
                          "--attach", database, mail::SupportAddress}));
}

// A name that does not lead to a file cannot be attached: the error box says so and nothing is started.
void TestSendData::sendWithMissingFile() {
    DriveC drive;
    UiRecorder recorder;
    TForm27 window;
    window.Edit1->setText(QStringLiteral("/nincs/ilyen/du2010.fdb"));
    window.Button3Click();
    QCOMPARE(recorder.messages.size(), 1);
    QCOMPARE(recorder.messages.at(0).caption, QStringLiteral("Error"));
    QVERIFY(recorder.messages.at(0).text.contains(QStringLiteral("/nincs/ilyen/du2010.fdb")));
}

// "Küldés2" opens the link whatever the field holds, even when it is empty.
void TestSendData::sendThroughLink() {
    DriveC drive;
    LinkCatcher catcher;
    UiRecorder recorder;
    TForm27 window;
    QCOMPARE(window.Edit1->text(), QString());
    QTest::mouseClick(window.Button6, Qt::LeftButton);
    QCOMPARE(catcher.links.size(), 1);
    QCOMPARE(catcher.links.at(0), QUrl(mail::mailtoLink(mail::SupportAddress)));
    QCOMPARE(catcher.links.at(0).scheme(), QStringLiteral("mailto"));
    QCOMPARE(QUrl::fromPercentEncoding(catcher.links.at(0).toEncoded()),
             mail::mailtoLink(mail::SupportAddress));
    QCOMPARE(recorder.messageTexts(), QStringList());
}

void TestSendData::copyToClipboard() {
    DriveC drive;
    TForm27 window;
    window.Edit1->setText(QStringLiteral("/valahol/du2010.fdb"));
    QTest::mouseClick(window.Button4, Qt::LeftButton);
    QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("/valahol/du2010.fdb"));
    QCOMPARE(window.Edit1->selectedText(), QStringLiteral("/valahol/du2010.fdb"));
}

QTEST_MAIN(TestSendData)
#include "test_send_data.moc"
