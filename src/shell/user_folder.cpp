#include "shell/user_folder.h"

#include "data/connection.h"
#include "data/database_creator.h"
#include "data/database_error.h"
#include "data/logging.h"
#include "widgets/action_guard.h"
#include "widgets/ui_service.h"

#include <QDir>
#include <QFileInfo>
#include <QMessageBox>
#include <QPushButton>
#include <QStandardPaths>

namespace vardelo {

bool userFolderRequested(const QStringList& arguments) {
    return arguments.mid(1).contains(UserFolderOption);
}

QString userFolderPath(const AppSettings& settings) {
    if (!settings.userFolder.trimmed().isEmpty())
        return QDir::cleanPath(settings.userFolder.trimmed());
    return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
}

NewDatabaseChoice askNewDatabase(const QString& databasePath) {
    QMessageBox box;
    box.setObjectName(QStringLiteral("NewDatabaseQuestion"));
    box.setWindowTitle(programTitle());
    box.setIcon(QMessageBox::Question);
    box.setText(QStringLiteral("A munkamappában még nincs adatbázis:\n%1\n\n"
                               "Üres adatbázissal kezd (az első átvevő adatait Önnek kell kitöltenie), "
                               "vagy bemutató adatokkal?")
                    .arg(QDir::toNativeSeparators(databasePath)));
    auto* empty = box.addButton(QStringLiteral("Üres adatbázis"), QMessageBox::AcceptRole);
    empty->setObjectName(QStringLiteral("EmptyButton"));
    auto* demo = box.addButton(QStringLiteral("Bemutató adatokkal"), QMessageBox::AcceptRole);
    demo->setObjectName(QStringLiteral("DemoButton"));
    auto* quit = box.addButton(QStringLiteral("Kilépés"), QMessageBox::RejectRole);
    quit->setObjectName(QStringLiteral("QuitButton"));
    box.setDefaultButton(empty);
    box.setEscapeButton(quit);
    ui().showModal(box);
    if (box.clickedButton() == empty)
        return NewDatabaseChoice::Empty;
    if (box.clickedButton() == demo)
        return NewDatabaseChoice::Demo;
    return NewDatabaseChoice::Quit;
}

namespace {

// Whether the folder is there or can be made: its nearest existing parent is a folder the user may write.
bool folderCanBeMade(const QString& folder) {
    QFileInfo info(folder);
    while (!info.exists()) {
        const QString parent = info.absolutePath();
        if (parent == info.absoluteFilePath())
            return false;
        info = QFileInfo(parent);
    }
    return info.isDir() &&
           (info.absoluteFilePath() == QFileInfo(folder).absoluteFilePath() || info.isWritable());
}

} // namespace

bool enterUserFolder(const AppSettings& settings) {
    const QString folder = userFolderPath(settings);
    if (folder.isEmpty() || !folderCanBeMade(folder)) {
        ui().showError(QStringLiteral("A munkamappa nem hozható létre: ") + QDir::toNativeSeparators(folder),
                       lcShell);
        return false;
    }
    const QString database = QDir(folder).absoluteFilePath(settings.databaseName);
    // The question comes before the folder is made: "Kilépés" leaves nothing behind.
    const bool newDatabase = !folder.isEmpty() && !TConnection::IsServerName(settings.databaseName) &&
                             !QFileInfo::exists(database) && !QFileInfo(database).isSymLink();
    NewDatabaseChoice choice = NewDatabaseChoice::Quit;
    if (newDatabase) {
        choice = askNewDatabase(database);
        if (choice == NewDatabaseChoice::Quit)
            return false;
    }
    if (folder.isEmpty() || !QDir().mkpath(folder) || !QDir::setCurrent(folder)) {
        ui().showError(QStringLiteral("A munkamappa nem hozható létre: ") + QDir::toNativeSeparators(folder),
                       lcShell);
        return false;
    }
    if (!newDatabase)
        return true;
    try {
        createDatabaseFile(database, choice == NewDatabaseChoice::Demo);
    } catch (const EDatabaseError& error) {
        reportFailure(QStringLiteral("Az adatbázis nem hozható létre."), error, lcShell);
        return false;
    }
    return true;
}

} // namespace vardelo
