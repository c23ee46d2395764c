// The start from the desktop menu ("vardelo --user-folder"): the program works in a folder of its own, the
// one vardelo.ini names ([Mappa] Munkamappa) or else the user's application-data folder. The first time that
// folder holds no database, the clerk is asked once whether to start with an empty database (its first
// purchaser's data to fill in) or one with the demo data; it is created as vardelo-db creates it.
#pragma once

#include "data/app_settings.h"

#include <QString>
#include <QStringList>

class QMessageBox;

namespace vardelo {

inline const QString UserFolderOption = QStringLiteral("--user-folder");

// Whether the program was started with the option.
bool userFolderRequested(const QStringList& arguments);

// The folder a user-folder start works in.
QString userFolderPath(const AppSettings& settings);

// The question asked when the folder has no database; its buttons are "EmptyButton", "DemoButton" and
// "QuitButton".
enum class NewDatabaseChoice { Empty, Demo, Quit };
NewDatabaseChoice askNewDatabase(const QString& databasePath);

// Makes the folder when it is missing and makes it the working folder; creates the database there when it
// has none (the question is asked first, so "Kilépés" leaves no folder behind). False when the program should
// end: the clerk chose "Kilépés", or the folder or the database could not be made (the clerk has been told
// why). A database on a server is not looked for.
bool enterUserFolder(const AppSettings& settings);

} // namespace vardelo
