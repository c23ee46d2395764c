#include "shell/automatic_backup.h"

#include "data/app_settings.h"
#include "data/data_module.h"
#include "data/database_backup.h"
#include "data/logging.h"
#include "widgets/ui_service.h"

#include <QGuiApplication>

namespace vardelo {

void reportFailedAutomaticBackup() {
    if (!Data || !Data->ZCon1->Connected())
        return;
    const QString failure = takeAutomaticBackupFailure(Data->ZCon1->ResolvedDatabaseName());
    if (!failure.isEmpty())
        ui().showMessage(failure);
}

void automaticBackupAtClose() {
    if (!Data || !Data->ZCon1->Connected() || attachmentWrites(Data->ZCon1->Attachment()) == 0)
        return;
    const AppSettings settings = loadAppSettings();
    const QString database = Data->ZCon1->ResolvedDatabaseName();
    qCInfo(lcShell).noquote() << "Automatic backup of" << database;
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    automaticBackup(connectionAccess(*Data->ZCon1), backupFolderFor(database, settings.backupFolder),
                    settings.backupsKept);
    QGuiApplication::restoreOverrideCursor();
}

} // namespace vardelo
