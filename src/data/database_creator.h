#pragma once

#include <QString>
#include <QStringList>
#include <functional>

namespace vardelo {

// The statements of the database's DDL, in order (the SET TERM blocks resolved).
QStringList ddlStatements();

// Creates a new database file at path from the DDL, with one purchaser and its SORSZAM row; with demo, also a
// second purchaser, producers with valid identifiers and complete data, and animals. Raises EDatabaseError;
// an existing file is never overwritten. progress, when given, hears of each stage done, in plain Hungarian.
using CreationProgress = std::function<void(const QString&)>;
void createDatabase(const QString& path, bool demo, const CreationProgress& progress = {});

// Creates the database as createDatabase does, but under a temporary name in the same folder, and gives it
// its name only when it is complete: a run that fails or is interrupted never leaves a file under the final
// name. Refuses a path that exists or is a link (a dangling one too). The temporary name is handed to
// temporaryName before the file is made, so the caller can remove it if the run is cut short.
void createDatabaseFile(const QString& path, bool demo,
                        const std::function<void(const QString&)>& temporaryName = {},
                        const CreationProgress& progress = {});

// The command line of the tool: vardelo-db [--demo] [file], vardelo-db [--user NAME] --backup FILE DEST or
// vardelo-db [--user NAME] --restore BACKUP FILE. An unknown option (anything beginning with "-" but the
// options named and "-h"), more than one file name, a missing name after --backup, --restore or --user,
// --demo beside them, or --user without them is an error.
struct CreatorArguments {
    enum class Action { Create, Backup, Restore };
    Action action = Action::Create;
    bool demo = false;
    bool help = false;
    QString path = QStringLiteral("du2010.fdb"); // the database (made, backed up or restored into)
    QString backup;                              // --backup: the destination; --restore: the backup file
    QString user;                                // --user: the service manager's user (empty: not given)
    QString error;                               // empty when the arguments are sound
};
CreatorArguments parseCreatorArguments(const QStringList& arguments);

} // namespace vardelo
