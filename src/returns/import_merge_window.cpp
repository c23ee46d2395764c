#include "returns/import_merge_window.h"

#include "data/logging.h"
#include "data/windows_paths.h"
#include "returns/import_merge.h"
#include "widgets/form_controls.h"
#include "widgets/ui_service.h"

#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStorageInfo>
#include <QTreeView>
#include <QVBoxLayout>

using vardelo::ui;
namespace returns = vardelo::returns;

namespace {

const QStringList memoLines = {
    QStringLiteral("1. A meghajtó betüjelének kiválasztása \"A\" és \"B\" import helye."),
    QStringLiteral("2. Az összevonandó könyvtárak kiválasztása \"A\" és \"B\" meghajtónál."),
    QStringLiteral("         ( pl: \"A\" -nál  a C:\\ze10\\01 és a \"B\" nél E:\\ze10\\01)"),
    QStringLiteral("3.Program inditása \"Összevonás\" -ra."),
    QString(),
    QStringLiteral(
        "A Ft összesítésnek egyezni kell az \"A\" és \"B\" gépen lekért felvásárlási jegy bevallási "
        "nyomtatás listával. Kerekitési hiba lehetséges, mivel mennyiség és egységár van csak "
        "letárolva a programban."),
    QStringLiteral("Az összevonás után az \"A\" és \"B\" helyen megmaradt import fáljokat kell az 1008 -ba "
                   "beolvasni."),
    QString(),
    QStringLiteral("Az \"A\" import kijelölt könytárába kerül a mind két gépen megtalálható östermelö "
                   "adóazonositóval rendelkezö bevallás Ft összesítése."),
    QStringLiteral("A \"B\" importból ezen tételek megszüntetése (átnevezve \" .old \" -ra)."),
    QStringLiteral("Az \"A\" importban az összesítés előtti állapot \" .imp \" átnevezve \" .old \" névre."),
    QStringLiteral(
        "Összevonás megismétlése előtt mindig végre kell hajtani az 'A\" és \"B\" gépen is a bevallás "
        "kigyűjtés menüpontot és újra rámásolni pl.: a pen drive-ra."),
};

QLabel* sumLabel(const QString& name, const QString& text, QWidget* parent) {
    auto* l = new QLabel(text, parent);
    l->setObjectName(name);
    l->setMinimumWidth(
        l->fontMetrics().horizontalAdvance(QStringLiteral("Összevonás előtt a 455. sor (növény): "
                                                          "-9999999999999")));
    return l;
}

// The drives: the program's drive C: first, then every mounted volume.
QStringList driveRoots() {
    QStringList roots{QDir::cleanPath(vardelo::localPath(QStringLiteral("C:\\")))};
    for (const QStorageInfo& volume : QStorageInfo::mountedVolumes()) {
        if (volume.isValid() && volume.isReady() && !roots.contains(volume.rootPath()))
            roots << volume.rootPath();
    }
    return roots;
}

} // namespace

TForm24::TForm24(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("Form24"));
    setWindowTitle(QStringLiteral("Két import összevonása"));
    buildWindow();
    // A starts at the earlier version's folder (the drive's root when it is missing), B at the drive's root.
    const QString c = QDir::cleanPath(vardelo::localPath(QStringLiteral("c:\\")));
    const QString ze10 = QDir::cleanPath(vardelo::localPath(QStringLiteral("c:\\ze10\\")));
    ChooseFolderA(QFileInfo(ze10).isDir() ? ze10 : c);
    ChooseFolderB(c);
    opening_ = false;
}

void TForm24::buildWindow() {
    auto side = [this](bool sideA, QComboBox*& drives, QTreeView*& tree, QFileSystemModel*& model,
                       QListWidget*& files) {
        const QString letter = sideA ? QStringLiteral("1") : QStringLiteral("2");
        auto* box = new QGroupBox(sideA ? QStringLiteral("\"A\" importok (winchester)")
                                        : QStringLiteral("\"B\"  importok (pen drive)"),
                                  this);
        drives = new QComboBox(box);
        drives->setObjectName(QStringLiteral("DriveComboBox") + letter);
        drives->addItems(driveRoots());
        drives->setToolTip(sideA ? QStringLiteral("Az \"A\" meghajtó betüjelének kiválasztása")
                                 : QStringLiteral("Az \"B\" meghajtó betüjelének kiválasztása"));
        model = new QFileSystemModel(this);
        model->setFilter(QDir::AllDirs | QDir::NoDotAndDotDot);
        tree = new QTreeView(box);
        tree->setObjectName(QStringLiteral("DirectoryListBox") + letter);
        tree->setModel(model);
        for (int c = 1; c < model->columnCount(); ++c)
            tree->hideColumn(c);
        tree->setHeaderHidden(true);
        tree->setToolTip(
            sideA ? QStringLiteral("Az adatok helye (pl.:  C:\\ro09\\01 azaz  januári hónap)")
                  : QStringLiteral("Az adatok helye (pl.:  C:\\ro09\\01 azaz  januári hónap azonos "
                                   "az \"A\" hónapjával)"));
        files = new QListWidget(box);
        files->setObjectName(QStringLiteral("FileListBox") + letter);
        files->setEnabled(false);
        if (sideA)
            files->setToolTip(QStringLiteral("Az \"A\" import fáljok listája "));
        auto* layout = new QVBoxLayout(box);
        layout->addWidget(drives);
        auto* lists = new QHBoxLayout;
        lists->addWidget(tree, 3);
        lists->addWidget(files, 2);
        layout->addLayout(lists);
        connect(drives, &QComboBox::activated, this, [this, sideA] { driveChosen(sideA); });
        connect(tree, &QTreeView::clicked, this, [this, sideA, model](const QModelIndex& index) {
            (sideA ? folderA_ : folderB_) = model->filePath(index);
            folderChosen(sideA);
        });
        return box;
    };
    QGroupBox* boxA = side(true, DriveComboBox1, DirectoryListBox1, dirModel1_, FileListBox1);
    QGroupBox* boxB = side(false, DriveComboBox2, DirectoryListBox2, dirModel2_, FileListBox2);

    Label1 = sumLabel(QStringLiteral("Label1"), QStringLiteral("Összevonás előtt:"), this);
    Label4 = sumLabel(QStringLiteral("Label4"), QStringLiteral("..."), this);
    Label6 = sumLabel(QStringLiteral("Label6"), QStringLiteral("Összevonás után"), this);
    Label7 = sumLabel(QStringLiteral("Label7"), QStringLiteral("..."), this);
    Label2 = sumLabel(QStringLiteral("Label2"), QStringLiteral("Összevonás előtt:"), this);
    Label5 = sumLabel(QStringLiteral("Label5"), QStringLiteral("..."), this);
    Label8 = sumLabel(QStringLiteral("Label8"), QStringLiteral("Összevonás után"), this);
    Label12 = sumLabel(QStringLiteral("Label12"), QStringLiteral("..."), this);
    Label3 = new QLabel(QStringLiteral("Mindösszesen:"), this);
    Label3->setObjectName(QStringLiteral("Label3"));
    Label13 = new QLabel(QStringLiteral("..."), this);
    Label13->setObjectName(QStringLiteral("Label13"));

    auto* sums = new QGridLayout;
    sums->addWidget(Label1, 0, 0);
    sums->addWidget(Label4, 1, 0);
    sums->addWidget(Label6, 2, 0);
    sums->addWidget(Label7, 3, 0);
    sums->addWidget(Label3, 0, 1, 2, 1, Qt::AlignCenter);
    sums->addWidget(Label13, 2, 1, 2, 1, Qt::AlignCenter);
    sums->addWidget(Label2, 0, 2);
    sums->addWidget(Label5, 1, 2);
    sums->addWidget(Label8, 2, 2);
    sums->addWidget(Label12, 3, 2);
    sums->setColumnStretch(1, 1);

    CheckListBox1 = new QListWidget(this);
    CheckListBox1->setObjectName(QStringLiteral("CheckListBox1"));
    CheckListBox1->setEnabled(false);
    CheckListBox1->setToolTip(QStringLiteral("Ezen östermelök vannak  \"A\" és \"B\" listában is."));
    CheckListBox2 = new QListWidget(this);
    CheckListBox2->setObjectName(QStringLiteral("CheckListBox2"));
    CheckListBox2->hide();
    Memo1 = new QPlainTextEdit(this);
    Memo1->setObjectName(QStringLiteral("Memo1"));
    Memo1->setReadOnly(true);
    Memo1->setPlainText(memoLines.join(QLatin1Char('\n')));

    auto* partners = new QVBoxLayout;
    partners->addWidget(new QLabel(QStringLiteral("Mind két listában megtalálhatóak"), this));
    partners->addWidget(CheckListBox1);
    auto* lower = new QHBoxLayout;
    lower->addLayout(partners, 1);
    lower->addWidget(Memo1, 2);

    Button3 = vardelo::makeButton(QStringLiteral("Button3"), QStringLiteral("Összevonás"), this);
    Button3->setToolTip(
        QStringLiteral("Azonos adóazonositójú östermelö adatok összeadása egy listára hozása."));
    Button6 = vardelo::makeButton(QStringLiteral("Button6"), QStringLiteral("Mégsem"), this);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(Button3);
    buttons->addWidget(Button6);

    auto* halves = new QHBoxLayout;
    halves->addWidget(boxA);
    halves->addWidget(boxB);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(halves, 3);
    layout->addLayout(sums);
    layout->addLayout(lower, 2);
    layout->addLayout(buttons);

    connect(Button3, &QPushButton::clicked, this, &TForm24::Button3Click);
    connect(Button6, &QPushButton::clicked, this, &QDialog::reject);
    resize(1000, 700);
}

QString TForm24::FolderA() const {
    return folderA_;
}

QString TForm24::FolderB() const {
    return folderB_;
}

void TForm24::ChooseFolderA(const QString& folder) {
    folderA_ = QDir::cleanPath(folder);
    folderChosen(true);
}

void TForm24::ChooseFolderB(const QString& folder) {
    folderB_ = QDir::cleanPath(folder);
    folderChosen(false);
}

void TForm24::driveChosen(bool sideA) {
    QComboBox* drives = sideA ? DriveComboBox1 : DriveComboBox2;
    if (sideA)
        ChooseFolderA(drives->currentText());
    else
        ChooseFolderB(drives->currentText());
}

void TForm24::folderChosen(bool sideA) {
    const QString folder = sideA ? folderA_ : folderB_;
    QTreeView* tree = sideA ? DirectoryListBox1 : DirectoryListBox2;
    QFileSystemModel* model = sideA ? dirModel1_ : dirModel2_;
    // The tree shows the drive the folder lies on.
    QString root;
    for (const QString& drive : driveRoots()) {
        const QString prefix = drive.endsWith(QLatin1Char('/')) ? drive : drive + QLatin1Char('/');
        if ((folder == drive || folder.startsWith(prefix)) && drive.size() > root.size())
            root = drive;
    }
    if (root.isEmpty())
        root = QDir::rootPath();
    if (model->rootPath() != root) {
        model->setRootPath(root);
        tree->setRootIndex(model->index(root));
    }
    tree->setCurrentIndex(model->index(folder));

    QListWidget* files = sideA ? FileListBox1 : FileListBox2;
    files->clear();
    files->addItems(returns::importFilesIn(folder));

    if (!opening_ && returns::sameFolder(folderA_, folderB_))
        ui().showMessage(QStringLiteral("Nem lehet azonos a könyvtár "));
    if (returns::holdsOldFiles(folder))
        ui().showMessage(QStringLiteral(" Csak bevallás újbóli export ismétlés után!  "));
}

void TForm24::Button3Click() {
    // Merging a folder with itself would double every amount.
    if (returns::sameFolder(folderA_, folderB_)) {
        ui().showMessage(QStringLiteral("Nem lehet azonos a könyvtár "));
        return;
    }
    QStringList aFiles;
    QStringList bFiles;
    for (int i = 0; i < FileListBox1->count(); ++i)
        aFiles << FileListBox1->item(i)->text();
    for (int i = 0; i < FileListBox2->count(); ++i)
        bFiles << FileListBox2->item(i)->text();

    const returns::MergeOutcome outcome = returns::mergeImportFolders(folderA_, aFiles, folderB_, bFiles);
    if (!outcome.error.isEmpty() && !outcome.ran) {
        qCWarning(lcReturns) << "merge stopped:" << outcome.error;
        ui().showMessage(outcome.error);
        return;
    }
    Label1->setText(returns::sumLineAllat(true, outcome.before.a.v12456));
    Label4->setText(returns::sumLineNoveny(true, outcome.before.a.v12458));
    Label2->setText(returns::sumLineAllat(true, outcome.before.b.v12456));
    Label5->setText(returns::sumLineNoveny(true, outcome.before.b.v12458));
    Label3->setText(returns::grandTotalLine(outcome.before.total()));

    CheckListBox2->clear();
    for (const QString& name : bFiles) {
        auto* item = new QListWidgetItem(name, CheckListBox2);
        item->setCheckState(outcome.partners.contains(name) ? Qt::Checked : Qt::Unchecked);
    }
    CheckListBox1->clear();
    for (const QString& name : outcome.partners) {
        auto* item = new QListWidgetItem(name, CheckListBox1);
        item->setCheckState(Qt::Checked);
    }

    for (const QString& message : outcome.messages)
        ui().showMessage(message);

    Label6->setText(returns::sumLineAllat(false, outcome.after.a.v12456));
    Label7->setText(returns::sumLineNoveny(false, outcome.after.a.v12458));
    Label8->setText(returns::sumLineAllat(false, outcome.after.b.v12456));
    Label12->setText(returns::sumLineNoveny(false, outcome.after.b.v12458));
    Label13->setText(returns::grandTotalLine(outcome.after.total()));
    // The lists show what the folders hold now.
    FileListBox1->clear();
    FileListBox1->addItems(returns::importFilesIn(folderA_));
    FileListBox2->clear();
    FileListBox2->addItems(returns::importFilesIn(folderB_));
    Button3->setEnabled(false);
}
