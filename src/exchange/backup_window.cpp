#include "exchange/backup_window.h"

#include "data/app_settings.h"
#include "data/data_module.h"
#include "data/database_backup.h"
#include "data/database_error.h"
#include "data/logging.h"
#include "widgets/ui_service.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

using vardelo::ui;

TBackupWindow::TBackupWindow(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("BackupWindow"));
    setWindowTitle(QStringLiteral("Adatmentés"));

    Label1 = new QLabel(QStringLiteral("A mentés helye (mappa):"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Edit1 = new QLineEdit(this);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    Label1->setBuddy(Edit1);
    Button2 = new QPushButton(QStringLiteral("Tallózás..."), this);
    Button2->setObjectName(QStringLiteral("Button2"));
    Label2 = new QLabel(this);
    Label2->setObjectName(QStringLiteral("Label2"));
    Label2->setWordWrap(true);
    ProgressBar1 = new QProgressBar(this);
    ProgressBar1->setObjectName(QStringLiteral("ProgressBar1"));
    ProgressBar1->setTextVisible(false);
    ProgressBar1->setRange(0, 1);
    ProgressBar1->setValue(0);
    Button1 = new QPushButton(QStringLiteral("Mentés"), this);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button1->setDefault(true);
    Button3 = new QPushButton(QStringLiteral("Bezárás"), this);
    Button3->setObjectName(QStringLiteral("Button3"));

    auto* folder = new QHBoxLayout;
    folder->addWidget(Edit1, 1);
    folder->addWidget(Button2);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(Button1);
    buttons->addWidget(Button3);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Label1);
    layout->addLayout(folder);
    layout->addWidget(ProgressBar1);
    layout->addWidget(Label2);
    layout->addStretch();
    layout->addLayout(buttons);
    resize(560, 200);

    connect(Button1, &QPushButton::clicked, this, &TBackupWindow::Button1Click);
    connect(Button2, &QPushButton::clicked, this, &TBackupWindow::Button2Click);
    connect(Button3, &QPushButton::clicked, this, &QDialog::close);

    if (Data)
        Edit1->setText(QDir::toNativeSeparators(vardelo::backupFolderFor(
            Data->ZCon1->ResolvedDatabaseName(), vardelo::loadAppSettings().backupFolder)));
}

void TBackupWindow::setWorking(bool working) {
    for (QWidget* control : std::initializer_list<QWidget*>{Edit1, Button1, Button2, Button3})
        control->setEnabled(!working);
    // A running bar while the engine works; its lines come in as it goes.
    ProgressBar1->setRange(0, working ? 0 : 1);
    ProgressBar1->setValue(working ? 0 : 1);
}

void TBackupWindow::Button2Click() {
    QFileDialog dialog(this, QStringLiteral("A mentés helye"), QDir::fromNativeSeparators(Edit1->text()));
    dialog.setFileMode(QFileDialog::Directory);
    dialog.setOption(QFileDialog::ShowDirsOnly);
    if (ui().showModal(dialog) == QDialog::Accepted && !dialog.selectedFiles().isEmpty())
        Edit1->setText(QDir::toNativeSeparators(dialog.selectedFiles().constFirst()));
}

void TBackupWindow::Button1Click() {
    const QString database = Data->ZCon1->ResolvedDatabaseName();
    const QString folder = QDir::fromNativeSeparators(Edit1->text().trimmed());
    if (folder.isEmpty()) {
        ui().showMessage(QStringLiteral("Adja meg a mentés helyét!"));
        return;
    }
    if (!vardelo::isServerDatabase(database) && !QDir().mkpath(folder)) {
        ui().showError(QStringLiteral("A mappa nem hozható létre: ") + QDir::toNativeSeparators(folder));
        return;
    }
    // A second backup in the same minute gets a number of its own.
    const QString name = vardelo::backupFileName(database, QDateTime::currentDateTime());
    QString target = QDir(folder).filePath(name);
    for (int n = 2; QFileInfo::exists(target); ++n)
        target = QDir(folder).filePath(name.chopped(4) + QStringLiteral("_%1.fbk").arg(n));
    Label2->setText(QStringLiteral("Mentés folyamatban..."));
    setWorking(true);
    try {
        vardelo::backupDatabase(database, target, [this](const QString& line) {
            Label2->setText(line);
            QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        });
        setWorking(false);
        lastBackup_ = target;
        Label2->setText(QStringLiteral("Elkészült: ") + QDir::toNativeSeparators(target));
        ui().showMessage(QStringLiteral("Az adatmentés elkészült: ") + QDir::toNativeSeparators(target));
    } catch (const EDatabaseError& error) {
        setWorking(false);
        Label2->setText(QStringLiteral("Az adatmentés nem sikerült."));
        ui().showDatabaseError(QStringLiteral("Az adatmentés nem sikerült."), error, lcExchange);
    }
}
