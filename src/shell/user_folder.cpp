#include "shell/user_folder.h"

#include "data/connection.h"
#include "data/database_creator.h"
#include "data/database_error.h"
#include "data/logging.h"
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

bool enterUserFolder(const AppSettings& settings) {
    const QString folder = userFolderPath(settings);
    if (folder.isEmpty() || !QDir().mkpath(folder) || !QDir::setCurrent(folder)) {
        qCWarning(lcShell).noquote() << "The user folder cannot be used:" << folder;
        ui().showError(QStringLiteral("A munkamappa nem hozható létre: ") + QDir::toNativeSeparators(folder));
        return false;
    }
    if (TConnection::IsServerName(settings.databaseName))
        return true;
    const QString database = QDir(folder).absoluteFilePath(settings.databaseName);
    if (QFileInfo::exists(database) || QFileInfo(database).isSymLink())
        return true;
    const NewDatabaseChoice choice = askNewDatabase(database);
    if (choice == NewDatabaseChoice::Quit)
        return false;
    try {
        createDatabaseFile(database, choice == NewDatabaseChoice::Demo);
    } catch (const EDatabaseError& error) {
        ui().showDatabaseError(QStringLiteral("Az adatbázis nem hozható létre."), error, lcShell);
        return false;
    }
    return true;
}

} // namespace vardelo
