#include "exchange/send_data.h"

#include "data/connection.h"
#include "data/data_module.h"
#include "data/database_backup.h"
#include "data/database_error.h"
#include "data/logging.h"
#include "exchange/mail_message.h"
#include "widgets/action_guard.h"
#include "widgets/ui_service.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QDateTime>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProcess>
#include <QPushButton>
#include <QStandardPaths>
#include <QStorageInfo>
#include <QTreeView>
#include <QUrl>
#include <QVBoxLayout>

using vardelo::reportFailure;
using vardelo::ui;
namespace mail = vardelo::mail;

TForm27::TForm27(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("Form27"));
    setWindowTitle(QStringLiteral("Adatok elküldése  emailben"));

    Label1 = new QLabel(QStringLiteral("A küldendő fálj neve :"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Edit1 = new QLineEdit(this);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    Label1->setBuddy(Edit1);

    DriveComboBox1 = new QComboBox(this);
    DriveComboBox1->setObjectName(QStringLiteral("DriveComboBox1"));

    DirectoryModel = new QFileSystemModel(this);
    DirectoryModel->setObjectName(QStringLiteral("DirectoryModel"));
    DirectoryModel->setFilter(QDir::AllDirs | QDir::NoDotAndDotDot | QDir::Drives);
    DirectoryModel->setReadOnly(true);
    DirectoryListBox1 = new QTreeView(this);
    DirectoryListBox1->setObjectName(QStringLiteral("DirectoryListBox1"));
    DirectoryListBox1->setModel(DirectoryModel);
    for (int column = 1; column < DirectoryModel->columnCount(); ++column)
        DirectoryListBox1->hideColumn(column);
    DirectoryListBox1->header()->hide();
    DirectoryListBox1->setMinimumSize(360, 260);

    FileListBox1 = new QListWidget(this);
    FileListBox1->setObjectName(QStringLiteral("FileListBox1"));
    FileListBox1->hide();

    const QStringList texts{
        QStringLiteral(
            "A program megkisérli a  levelező programmal elküldeni  vagy a postázandókhoz berakni. "),
        QStringLiteral("A \"Küldés1\" program gomb feltételezi, hogy a számítógépre telepítve van az Outlook "
                       "program."),
        QStringLiteral("A levélhez csatolt fáljként  mellékeli a felső sorban megjelenitett fáljt."),
        QStringLiteral("Ha sikeres volt akkor a levelezései között megtalálható."),
        QStringLiteral(
            "Vagy: a küldendő fálj  nevét másolja vágólapra és  a \"Küldés2\" levelező programjában "),
        QStringLiteral("CTRL +  V  billentyüvel  tegye be a  csatolt fájl nevéhez"),
    };
    auto* textLayout = new QVBoxLayout;
    for (qsizetype i = 0; i < texts.size(); ++i) {
        auto* label = new QLabel(texts.at(i), this);
        label->setObjectName(QStringLiteral("Label%1").arg(i + 2));
        label->setWordWrap(true);
        textLayout->addWidget(label);
    }
    textLayout->addStretch();

    Button3 = new QPushButton(QStringLiteral("Küldés1"), this);
    Button3->setObjectName(QStringLiteral("Button3"));
    Button4 = new QPushButton(QStringLiteral("Vágólapra másolás"), this);
    Button4->setObjectName(QStringLiteral("Button4"));
    Button6 = new QPushButton(QStringLiteral("Küldés2"), this);
    Button6->setObjectName(QStringLiteral("Button6"));
    Button5 = new QPushButton(QStringLiteral("Mégsem"), this);
    Button5->setObjectName(QStringLiteral("Button5"));
    connect(Button3, &QPushButton::clicked, this, &TForm27::Button3Click);
    connect(Button4, &QPushButton::clicked, this, &TForm27::Button4Click);
    connect(Button5, &QPushButton::clicked, this, &TForm27::Button5Click);
    connect(Button6, &QPushButton::clicked, this, &TForm27::Button6Click);

    auto* folders = new QVBoxLayout;
    folders->addWidget(DriveComboBox1);
    folders->addWidget(DirectoryListBox1, 1);

    auto* middle = new QHBoxLayout;
    middle->addLayout(folders, 1);
    middle->addLayout(textLayout, 1);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(Button3);
    buttons->addWidget(Button4);
    buttons->addWidget(Button6);
    buttons->addStretch();
    buttons->addWidget(Button5);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Label1);
    layout->addWidget(Edit1);
    layout->addLayout(middle, 1);
    layout->addWidget(FileListBox1);
    layout->addLayout(buttons);
    resize(860, 460);

    // The folders are read in the background: the chosen one is brought into view as its parents arrive.
    connect(DirectoryModel, &QFileSystemModel::directoryLoaded, this, [this] {
        DirectoryListBox1->scrollTo(DirectoryListBox1->currentIndex(), QAbstractItemView::PositionAtCenter);
    });
    fillDrives();
    connect(DriveComboBox1, &QComboBox::currentIndexChanged, this, &TForm27::DriveComboBox1Change);
    connect(DirectoryListBox1->selectionModel(), &QItemSelectionModel::currentChanged, this,
            &TForm27::DirectoryListBox1Change);

    // The tree starts where the program's database is, so the field names it at once.
    SetDirectory(DatabaseFolder());
    // A desk of a server sends the server's database, copied through the server onto the desk.
    if (Data && Data->ZCon1->Connected() && vardelo::isServerDatabase(Data->ZCon1->ResolvedDatabaseName()))
        Edit1->setText(Data->ZCon1->ResolvedDatabaseName());
}

QString TForm27::DatabaseFolder() {
    if (Data && Data->ZCon1 &&
        vardelo::databaseNameKind(Data->ZCon1->DatabaseName) == vardelo::DatabaseNameKind::File)
        return QFileInfo(Data->ZCon1->ResolvedDatabaseName()).absolutePath();
    return QDir::currentPath();
}

// The mounted volumes, each under its root folder.
void TForm27::fillDrives() {
    QStringList roots;
    for (const QStorageInfo& volume : QStorageInfo::mountedVolumes()) {
        if (volume.isValid() && volume.isReady() && QFileInfo(volume.rootPath()).isDir() &&
            !roots.contains(volume.rootPath()))
            roots << volume.rootPath();
    }
    roots.sort();
    for (const QString& root : roots)
        DriveComboBox1->addItem(QDir::toNativeSeparators(root), root);
}

void TForm27::SetDirectory(const QString& folder) {
    // A folder that does not exist gives way to the nearest one above it that does.
    QString existing = QDir::cleanPath(QDir(folder).absolutePath());
    while (!QFileInfo(existing).isDir() && existing != QFileInfo(existing).absolutePath())
        existing = QFileInfo(existing).absolutePath();

    const QString root = QStorageInfo(existing).rootPath();
    updating_ = true;
    int drive = DriveComboBox1->findData(root);
    if (drive < 0 && !root.isEmpty()) {
        DriveComboBox1->addItem(QDir::toNativeSeparators(root), root);
        drive = DriveComboBox1->count() - 1;
    }
    DriveComboBox1->setCurrentIndex(drive);
    updating_ = false;
    showFolderInTree(existing);
    FolderChanged(existing);
}

void TForm27::showFolderInTree(const QString& folder) {
    updating_ = true;
    const QString root = DriveComboBox1->currentData().toString();
    DirectoryModel->setRootPath(root);
    DirectoryListBox1->setRootIndex(DirectoryModel->index(root));
    const QModelIndex current = DirectoryModel->index(folder);
    DirectoryListBox1->setCurrentIndex(current);
    DirectoryListBox1->scrollTo(current, QAbstractItemView::PositionAtCenter);
    DirectoryListBox1->expand(current);
    updating_ = false;
}

// Another drive: its folder chosen last (its root at first) becomes the folder.
void TForm27::DriveComboBox1Change() {
    if (updating_)
        return;
    const QString root = DriveComboBox1->currentData().toString();
    const QString folder = driveFolders_.value(root, root);
    showFolderInTree(folder);
    FolderChanged(folder);
}

void TForm27::DirectoryListBox1Change() {
    if (updating_)
        return;
    const QModelIndex current = DirectoryListBox1->currentIndex();
    if (current.isValid())
        FolderChanged(DirectoryModel->filePath(current));
}

void TForm27::FolderChanged(const QString& folder) {
    directory_ = folder;
    driveFolders_.insert(DriveComboBox1->currentData().toString(), folder);
    FileListBox1->clear();
    const QString name = mail::findDatabaseFile(folder);
    if (name.isEmpty()) {
        Edit1->clear();
        return;
    }
    FileListBox1->addItem(name);
    Edit1->setText(mail::fullFileName(folder, name));
}

// A folder of the clerk's own (~/.cache/Vardelo): the system's temporary folder is shared by every user of
// the computer, and a "Vardelo" folder made there by the first user to send would lock the others out.
QString TForm27::CopiesFolder() {
    const QString own = QStandardPaths::writableLocation(QStandardPaths::CacheLocation);
    if (!own.isEmpty())
        return own;
    return QDir(QStandardPaths::writableLocation(QStandardPaths::TempLocation))
        .filePath(QStringLiteral("Vardelo"));
}

QString TForm27::MakeCopy() {
    const QString name = Edit1->text().trimmed();
    const bool onServer = vardelo::isServerDatabase(name);
    const QString file = onServer ? name : QDir::fromNativeSeparators(name);
    if (file.isEmpty()) {
        ui().showMessage(QStringLiteral("Nincs kiválasztva! "));
        return QString();
    }
    if (!onServer && !QFileInfo(file).isFile()) {
        ui().showError(QStringLiteral("A csatolandó fájl nem található: ") + Edit1->text(), lcExchange);
        return QString();
    }
    // The copies of earlier days have long been sent.
    const QDateTime dayAgo = QDateTime::currentDateTime().addDays(-1);
    for (const QFileInfo& old :
         QDir(CopiesFolder()).entryInfoList({QStringLiteral("kuldes-*")}, QDir::Dirs)) {
        if (old.lastModified() < dayAgo)
            QDir(old.absoluteFilePath()).removeRecursively();
    }
    QApplication::setOverrideCursor(Qt::WaitCursor);
    try {
        // Logged in as the desk is: the server's user for a server's database.
        vardelo::DatabaseAccess source{file};
        if (Data) {
            source.user = Data->ZCon1->User;
            source.password = Data->ZCon1->Password;
        }
        lastCopy_ = vardelo::makeDatabaseCopy(source, CopiesFolder(), [](const QString&) {
            QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        });
        QApplication::restoreOverrideCursor();
        return lastCopy_;
    } catch (const EDatabaseError& error) {
        QApplication::restoreOverrideCursor();
        reportFailure(QStringLiteral("A küldendő másolat nem készíthető el."), error, lcExchange);
        return QString();
    }
}

// "Küldés1": a message to the support mailbox with a fresh copy attached, handed to the mail program.
void TForm27::Button3Click() {
    const QString copy = MakeCopy();
    if (copy.isEmpty())
        return;
    const mail::MailCommand command =
        mail::mailCommand(mail::SupportAddress, mail::Subject, mail::Body, QDir::toNativeSeparators(copy));
    if (!QProcess::startDetached(command.program, command.arguments))
        ui().showError(QStringLiteral("A levelező program nem indítható: ") + command.program, lcExchange);
}

// "Vágólapra másolás": the full name of a fresh copy to the clipboard.
void TForm27::Button4Click() {
    const QString copy = MakeCopy();
    if (copy.isEmpty())
        return;
    Edit1->selectAll();
    QGuiApplication::clipboard()->setText(QDir::toNativeSeparators(copy));
}

void TForm27::Button5Click() {
    close();
}

// "Küldés2": a new message of the default mail program through the link; the clerk attaches the file.
void TForm27::Button6Click() {
    QDesktopServices::openUrl(QUrl(mail::mailtoLink(mail::SupportAddress)));
}
