#include "data/connection.h"
#include "data/data_module.h"
#include "data/database_backup.h"
#include "data/database_error.h"
#include "data/windows_paths.h"
#include "exchange/mail_message.h"
#include "exchange/send_data.h"
#include "support/test_database.h"
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
#include <memory>

using namespace vardelo;

namespace {

// The window needs no open database: a temporary drive C of its own for each test, a working folder on it
// (where the program would open its database), a temporary folder standing for the system's, shared by every
// user, and a cache folder of the user's own, where the copies it sends go.
class DriveC {
public:
    DriveC()
        : oldTemp_(qgetenv("TMPDIR")), oldCache_(qgetenv("XDG_CACHE_HOME")),
          oldWorking_(QDir::currentPath()) {
        qputenv("VARDELO_DRIVE_C", dir_.path().toLocal8Bit());
        QDir(temp_.path()).mkpath(QStringLiteral("."));
        qputenv("TMPDIR", temp_.path().toLocal8Bit());
        qputenv("XDG_CACHE_HOME", cache_.path().toLocal8Bit());
        QDir(dir_.path()).mkpath(QStringLiteral("munka"));
        QDir::setCurrent(working());
    }
    ~DriveC() {
        QDir::setCurrent(oldWorking_);
        qunsetenv("VARDELO_DRIVE_C");
        if (oldTemp_.isEmpty())
            qunsetenv("TMPDIR");
        else
            qputenv("TMPDIR", oldTemp_);
        if (oldCache_.isEmpty())
            qunsetenv("XDG_CACHE_HOME");
        else
            qputenv("XDG_CACHE_HOME", oldCache_);
    }
    QString temp() const { return temp_.path(); }
    QString cache() const { return cache_.path(); }
    QString working() const { return QDir::cleanPath(dir_.filePath(QStringLiteral("munka"))); }

private:
    QTemporaryDir dir_;
    QTemporaryDir temp_;
    QTemporaryDir cache_;
    QByteArray oldTemp_;
    QByteArray oldCache_;
    QString oldWorking_;
};

// A real database at the path, and a connection that holds it open as the program does.
std::unique_ptr<TConnection> liveDatabase(const QString& path) {
    if (!QFile::copy(vardelo::testing::templateDatabase(true), path))
        qFatal("cannot copy the template database");
    QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner);
    auto connection = std::make_unique<TConnection>(QStringLiteral("live"));
    connection->DatabaseName = path;
    try {
        connection->Connect();
    } catch (const EDatabaseError& e) {
        qFatal("the database does not open: %s", qPrintable(e.Message()));
    }
    return connection;
}

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

// The window's controls, found by their names.
struct Controls {
    QLineEdit* Edit1;
    QComboBox* DriveComboBox1;
    QTreeView* DirectoryListBox1;
    QFileSystemModel* DirectoryModel;
    QListWidget* FileListBox1;
    QPushButton* Button3;
    QPushButton* Button4;
    QPushButton* Button6;
};

Controls controls(TForm27& window) {
    Controls c{window.findChild<QLineEdit*>(QStringLiteral("Edit1")),
               window.findChild<QComboBox*>(QStringLiteral("DriveComboBox1")),
               window.findChild<QTreeView*>(QStringLiteral("DirectoryListBox1")),
               window.findChild<QFileSystemModel*>(QStringLiteral("DirectoryModel")),
               window.findChild<QListWidget*>(QStringLiteral("FileListBox1")),
               window.findChild<QPushButton*>(QStringLiteral("Button3")),
               window.findChild<QPushButton*>(QStringLiteral("Button4")),
               window.findChild<QPushButton*>(QStringLiteral("Button6"))};
    if (!c.Edit1 || !c.DriveComboBox1 || !c.DirectoryListBox1 || !c.DirectoryModel || !c.FileListBox1 ||
        !c.Button3 || !c.Button4 || !c.Button6)
        qFatal("a control of the window is missing");
    return c;
}

// Chooses a folder in the tree as the clerk does.
void chooseFolder(TForm27& window, const QString& folder) {
    controls(window).DirectoryListBox1->setCurrentIndex(controls(window).DirectoryModel->index(folder));
}

} // namespace

class TestSendData : public QObject {
    Q_OBJECT
private slots:
    // The template database is made before any test points the temporary folder elsewhere.
    void initTestCase() { (void)vardelo::testing::templateDatabase(true); }
    void link();
    void databaseFile_data();
    void databaseFile();
    void opensOnTheDatabaseFolder();
    void databaseFolder();
    void folderWithoutTheDatabase();
    void folderMissingAtOpening();
    void anotherDriveKeepsItsFolder();
    void sendWithMailProgram();
    void sendWithMissingFile();
    void sendThroughLink();
    void copyToClipboard();
};

// The link exactly as the mail program receives it: the address directly before "?" (a blank there would
// make it another address), a blank before "&", nothing encoded, a blank at the end.
void TestSendData::link() {
    QCOMPARE(mail::mailtoLink(QStringLiteral("x@y.hu")),
             QStringLiteral("mailto:x@y.hu?subject=Zozed adatok &body=Zozed adatok elküldése ellenőrzésre. "
                            "Figyelmeztetés: csatolt fálj mellékelni kell! "));
    QCOMPARE(QUrl(mail::mailtoLink(QStringLiteral("x@y.hu"))).path(), QStringLiteral("x@y.hu"));
    QCOMPARE(
        mail::mailtoLink(mail::SupportAddress).toUtf8(),
        QByteArray("mailto:") + mail::SupportAddress.toUtf8() +
            QByteArray("?subject=Zozed adatok &body=Zozed adatok elk\xc3\xbc"
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

// The window starts where the program's database is: the field names it at once.
void TestSendData::opensOnTheDatabaseFolder() {
    DriveC drive;
    const QString folder = drive.working();
    touch(QDir(folder).filePath(QStringLiteral("du2010.fdb")));
    TForm27 window;
    QCOMPARE(window.objectName(), QStringLiteral("Form27"));
    QCOMPARE(window.windowTitle(), QStringLiteral("Adatok elküldése  emailben"));
    QCOMPARE(window.Directory(), folder);
    QCOMPARE(controls(window).Edit1->text(),
             QDir::toNativeSeparators(folder + QStringLiteral("/du2010.fdb")));
    QVERIFY(controls(window).FileListBox1->isHidden());
    QCOMPARE(controls(window).FileListBox1->count(), 1);
    QCOMPARE(controls(window).DirectoryModel->filePath(controls(window).DirectoryListBox1->currentIndex()),
             folder);
    QVERIFY(window.sizeHint().width() <= 1024 && window.sizeHint().height() <= 768);
}

// Choosing a folder without the database empties the field, and "Küldés1" then says nothing is chosen.
void TestSendData::folderWithoutTheDatabase() {
    DriveC drive;
    const QString folder = drive.working();
    touch(QDir(folder).filePath(QStringLiteral("du2010.fdb")));
    const QString empty = driveCFolder(QStringLiteral("c:\\ures\\"));
    UiRecorder recorder;
    TForm27 window;
    recorder.expectModal([&](QDialog&) {
        QVERIFY(!controls(window).Edit1->text().isEmpty());
        chooseFolder(window, empty);
        QCOMPARE(window.Directory(), empty);
        QCOMPARE(controls(window).Edit1->text(), QString());
        QCOMPARE(controls(window).FileListBox1->count(), 0);
        QTest::mouseClick(controls(window).Button3, Qt::LeftButton);
        QCOMPARE(recorder.messageTexts(), QStringList{QStringLiteral("Nincs kiválasztva! ")});
        // Back in the working folder the file is found again.
        chooseFolder(window, folder);
        QVERIFY(controls(window).Edit1->text().endsWith(QStringLiteral("du2010.fdb")));
    });
    ui().showModal(window);
}

// A working folder without the database file: the tree stands on it, and nothing is chosen.
void TestSendData::folderMissingAtOpening() {
    DriveC drive;
    TForm27 window;
    QCOMPARE(window.Directory(), drive.working());
    QCOMPARE(controls(window).Edit1->text(), QString());
}

// The database's folder: the folder of the file the program opened (a name given with a folder counts), the
// working folder when the database is a server's or an alias.
void TestSendData::databaseFolder() {
    vardelo::testing::TestDatabase db;
    QCOMPARE(QDir(TForm27::DatabaseFolder()), QDir(db.folder()));
    const QString opened = Data->ZCon1->DatabaseName;
    QTemporaryDir elsewhere;
    Data->ZCon1->DatabaseName = QDir(elsewhere.path()).filePath(QStringLiteral("du2010.fdb"));
    QCOMPARE(QDir(TForm27::DatabaseFolder()), QDir(elsewhere.path()));
    {
        TForm27 window;
        QCOMPARE(QDir(window.Directory()), QDir(elsewhere.path()));
    }
    for (const QString& server : {QStringLiteral("szerver:vardelo"), QStringLiteral("vardelo")}) {
        Data->ZCon1->DatabaseName = server;
        QCOMPARE(TForm27::DatabaseFolder(), QDir::currentPath());
    }
    Data->ZCon1->DatabaseName = opened;
}

void TestSendData::anotherDriveKeepsItsFolder() {
    DriveC drive;
    const QString folder = drive.working();
    touch(QDir(folder).filePath(QStringLiteral("du2010.fdb")));
    TForm27 window;
    if (controls(window).DriveComboBox1->count() < 2)
        QSKIP("only one volume is mounted");
    const int own = controls(window).DriveComboBox1->currentIndex();
    controls(window).DriveComboBox1->setCurrentIndex(own == 0 ? 1 : 0);
    QCOMPARE(window.Directory(), controls(window).DriveComboBox1->currentData().toString());
    controls(window).DriveComboBox1->setCurrentIndex(own);
    QCOMPARE(window.Directory(), folder);
    QVERIFY(controls(window).Edit1->text().endsWith(QStringLiteral("du2010.fdb")));
}

// "Küldés1" hands recipient, subject, body and the attached file to the mail program (a stand-in
// "xdg-email" first on the search path, which writes down its arguments).
void TestSendData::sendWithMailProgram() {
#ifdef Q_OS_WIN
    QSKIP("the mail program of Linux");
#endif
    DriveC drive;
    const QString folder = drive.working();
    const QString database = QDir(folder).filePath(QStringLiteral("du2010.fdb"));
    const auto live = liveDatabase(database);

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

    // Another user of the computer sent first: what the shared temporary folder holds under the program's
    // name is not this clerk's to use.
    {
        QFile others(QDir(drive.temp()).filePath(QStringLiteral("Vardelo")));
        QVERIFY(others.open(QIODevice::WriteOnly));
    }

    UiRecorder recorder;
    TForm27 window;
    recorder.expectModal([&](QDialog&) { QTest::mouseClick(controls(window).Button3, Qt::LeftButton); });
    ui().showModal(window);
    qputenv("PATH", path);
    QCOMPARE(recorder.messageTexts(), QStringList());

    QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(argumentsFile), 10000);
    QFile file(argumentsFile);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QStringList arguments = QString::fromUtf8(file.readAll()).split(u'\n', Qt::SkipEmptyParts);
    // The attachment is a fresh copy under the temporary folder, named like the database, that opens as one.
    const QString copy = window.LastCopy();
    QCOMPARE(arguments,
             (QStringList{"--subject", "Zozed adatok", "--body", "Zozed adatok elküldése ellenőrzésre",
                          "--attach", copy, mail::SupportAddress}));
    QCOMPARE(QFileInfo(copy).fileName(), QStringLiteral("du2010.fdb"));
    QVERIFY(copy.startsWith(QDir(drive.cache()).path() + u'/'));
    QVERIFY(QFileInfo(copy).dir().dirName().startsWith(QStringLiteral("kuldes-")));
    QCOMPARE(QFileInfo(QFileInfo(copy).absolutePath()).permissions() & (QFile::ReadOther | QFile::ExeOther),
             QFile::Permissions());
    QVERIFY(QFileInfo(copy).canonicalFilePath() != QFileInfo(database).canonicalFilePath());
    const TableCounts copied = checkDatabase({copy});
    QCOMPARE(copied, checkDatabase({database}));
    QCOMPARE(copied.size(), size_t(9)); // every table: the six, the journal's two, the ticket counts
}

// A name that does not lead to a file cannot be attached: the error box says so and nothing is started.
void TestSendData::sendWithMissingFile() {
    DriveC drive;
    UiRecorder recorder;
    TForm27 window;
    controls(window).Edit1->setText(QStringLiteral("/nincs/ilyen/du2010.fdb"));
    QTest::mouseClick(controls(window).Button3, Qt::LeftButton);
    QCOMPARE(recorder.messages.size(), 1);
    QCOMPARE(recorder.messages.at(0).caption, vardelo::errorCaption());
    QVERIFY(recorder.messages.at(0).text.contains(QStringLiteral("/nincs/ilyen/du2010.fdb")));
}

// "Küldés2" opens the link whatever the field holds, even when it is empty.
void TestSendData::sendThroughLink() {
    DriveC drive;
    LinkCatcher catcher;
    UiRecorder recorder;
    TForm27 window;
    QCOMPARE(controls(window).Edit1->text(), QString());
    QTest::mouseClick(controls(window).Button6, Qt::LeftButton);
    QCOMPARE(catcher.links.size(), 1);
    QCOMPARE(catcher.links.at(0), QUrl(mail::mailtoLink(mail::SupportAddress)));
    QCOMPARE(catcher.links.at(0).scheme(), QStringLiteral("mailto"));
    QCOMPARE(QUrl::fromPercentEncoding(catcher.links.at(0).toEncoded()),
             mail::mailtoLink(mail::SupportAddress));
    QCOMPARE(recorder.messageTexts(), QStringList());
}

// The clipboard gets the name of a fresh copy; without a file it keeps what it had.
void TestSendData::copyToClipboard() {
    DriveC drive;
    const QString folder = drive.working();
    const QString database = QDir(folder).filePath(QStringLiteral("du2010.fdb"));
    const auto live = liveDatabase(database);
    UiRecorder recorder;
    TForm27 window;
    QCOMPARE(controls(window).Edit1->text(), QDir::toNativeSeparators(database));
    QTest::mouseClick(controls(window).Button4, Qt::LeftButton);
    QCOMPARE(recorder.messageTexts(), QStringList());
    const QString copy = QGuiApplication::clipboard()->text();
    QCOMPARE(copy, QDir::toNativeSeparators(window.LastCopy()));
    QVERIFY(copy != QDir::toNativeSeparators(database));
    QCOMPARE(QFileInfo(copy).fileName(), QStringLiteral("du2010.fdb"));
    QCOMPARE(checkDatabase({copy}).size(), size_t(9));
    // Each copy is fresh, in a folder of its own; the one sent before stays as it was.
    QTest::mouseClick(controls(window).Button4, Qt::LeftButton);
    QVERIFY(QGuiApplication::clipboard()->text() != copy);
    QVERIFY(QFileInfo::exists(copy));

    controls(window).Edit1->setText(QStringLiteral("/valahol/du2010.fdb"));
    QTest::mouseClick(controls(window).Button4, Qt::LeftButton);
    QCOMPARE(QGuiApplication::clipboard()->text(), QDir::toNativeSeparators(window.LastCopy()));
    QCOMPARE(recorder.messages.size(), 1);
    QVERIFY(recorder.messages.at(0).text.contains(QStringLiteral("/valahol/du2010.fdb")));
}

QTEST_MAIN(TestSendData)
#include "test_send_data.moc"
