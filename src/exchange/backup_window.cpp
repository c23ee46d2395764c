#include "exchange/backup_window.h"

#include "data/app_settings.h"
#include "data/data_module.h"
#include "data/database_backup.h"
#include "data/database_error.h"
#include "data/logging.h"
#include "widgets/action_guard.h"
#include "widgets/ui_service.h"

#include <QDateTime>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>

using vardelo::reportFailure;
using vardelo::ui;

TBackupWindow::TBackupWindow(QWidget* parent)
    : TEngineJobWindow(QStringLiteral("BackupWindow"), QStringLiteral("Adatmentés"),
                       QStringLiteral("A mentés helye (mappa):"), QStringLiteral("Mentés"), parent) {
    resize(560, 200);
    if (Data)
        setPathText(vardelo::backupFolderFor(Data->ZCon1->ResolvedDatabaseName(),
                                             vardelo::loadAppSettings().backupFolder));
}

void TBackupWindow::browse() {
    QFileDialog dialog(this, QStringLiteral("A mentés helye"), pathText());
    dialog.setFileMode(QFileDialog::Directory);
    dialog.setOption(QFileDialog::ShowDirsOnly);
    if (ui().showModal(dialog) == QDialog::Accepted && !dialog.selectedFiles().isEmpty())
        setPathText(dialog.selectedFiles().constFirst());
}

void TBackupWindow::action() {
    const QString database = Data->ZCon1->ResolvedDatabaseName();
    const QString folder = pathText();
    if (folder.isEmpty()) {
        ui().showMessage(QStringLiteral("Adja meg a mentés helyét!"));
        return;
    }
    if (!QDir().mkpath(folder)) {
        ui().showError(QStringLiteral("A mappa nem hozható létre: ") + QDir::toNativeSeparators(folder),
                       lcExchange);
        return;
    }
    const QString target = vardelo::freeBackupPath(folder, database, QDateTime::currentDateTime());
    setStatus(QStringLiteral("Mentés folyamatban..."));
    setWorking(true);
    try {
        vardelo::backupDatabase(vardelo::connectionAccess(*Data->ZCon1), target, engineLines());
        setWorking(false);
        lastBackup_ = target;
        setStatus(QStringLiteral("Elkészült: ") + QDir::toNativeSeparators(target));
        ui().showMessage(QStringLiteral("Az adatmentés elkészült: ") + QDir::toNativeSeparators(target));
    } catch (const EDatabaseError& error) {
        setWorking(false);
        setStatus(QStringLiteral("Az adatmentés nem sikerült."));
        reportFailure(QStringLiteral("Az adatmentés nem sikerült."), error, lcExchange);
    }
}
