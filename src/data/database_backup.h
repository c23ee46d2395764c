// Safe copies of the database, made by the engine itself through Firebird's service manager: a backup file
// (the gbak format, ".fbk") of the open database, a database restored from such a file and checked before it
// is used, a fresh copy to send, and the automatic backup at closing. The engine streams a backup to the desk
// that asks for it and reads a restore from there, so the backup of a server's database lands on the desk,
// and no engine ever reads or writes a backup file itself (nor asks on a terminal for the next volume of a
// file cut short). Every call logs in as the desk's connection does.
#pragma once

#include "data/database_location.h"

#include <QDateTime>
#include <QString>
#include <functional>
#include <utility>
#include <vector>

namespace Firebird {
class IAttachment;
}

namespace vardelo {

// A line of progress while the engine works (its own verbose lines while it restores, the megabytes written
// while it backs up), for a progress display. The call may process events; it must not touch the database.
using BackupProgress = std::function<void(const QString& line)>;

// The program's own tables: a restored file without any of them is not this program's database.
QStringList programTables();

// "du2010_2026-12-10_1530.fbk": the database's base name with the date and time; an automatic backup ends in
// "_auto.fbk".
QString backupFileName(const QString& databaseName, const QDateTime& when, bool automatic = false);
// A free name for a backup in the folder: backupFileName, with "_2", "_3" ... for a second one in the same
// minute.
QString freeBackupPath(const QString& folder, const QString& databaseName, const QDateTime& when);
// Whether a backup destination names a folder: an existing folder, a name ending in a separator, or a name
// that is not a ".fbk" file ("Mentés" is a folder to create, "masolat.fbk" a file).
bool namesBackupFolder(const QString& destination);
// The desk's folder of backups: the one given (the settings' backupFolder), else "Mentés" beside a local
// database, or in the working folder for a server's database.
QString backupFolderFor(const QString& databaseName, const QString& configured);
// The name for the replaced database kept beside the new one: "du2010_csere_2026-12-10_1530.fdb".
QString replacedFileName(const QString& databaseName, const QDateTime& when);
// The name a restore takes beside the database, on the same engine:
// "du2010_visszatoltott_2026-12-10_153012.fdb" (with the server's part for a server's database). Empty for an
// alias, whose folder the desk does not know.
QString restoredDatabaseName(const QString& databaseName, const QDateTime& when);

// Writes a backup of the database to backupFile on this desk, streamed from the engine's service manager (the
// server's, for a server's database). The file is written readable by its owner only, under a temporary name
// beside the target, and renamed when complete, so a failure leaves nothing under the final name; an existing
// file is never overwritten. Raises EDatabaseError.
void backupDatabase(const DatabaseAccess& database, const QString& backupFile,
                    const BackupProgress& progress = {});

// Restores a backup file of this desk into a new database (never over an existing one) and checks it. A
// local file is made under a temporary name and renamed when checked, readable by its owner only; a server
// makes its own file, which is dropped again when the restore fails. A damaged or cut file, or a backup of
// another program's database, is refused at once: nothing of the attempt is left and EDatabaseError raised.
// Returns the row count of each table.
using TableCounts = std::vector<std::pair<QString, qint64>>;
TableCounts restoreDatabase(const QString& backupFile, const DatabaseAccess& target,
                            const BackupProgress& progress = {});

// Opens the database and reads every table of it; the row count of each, in name order. Raises
// EDatabaseError when the file does not open, a table does not read, or one of the program's tables is
// missing.
TableCounts checkDatabase(const DatabaseAccess& database);

// A fresh consistent copy of the database (a server's too) as a plain database file on this desk, named after
// the database (du2010.fdb), readable by its owner only, in a new folder of its own under `parentFolder`.
// Returns the copy's full name.
QString makeDatabaseCopy(const DatabaseAccess& database, const QString& parentFolder,
                         const BackupProgress& progress = {});

// Puts the restored file in the place of the database: the database is kept under replacedName, then the
// restored file takes its name and its permissions. When the second step fails the database goes back. Both
// files must be closed. Raises EDatabaseError.
void replaceDatabaseFile(const QString& databaseFile, const QString& restoredFile,
                         const QString& replacedName);

// Removes the older automatic backups of the database in the folder: of each day only the last is kept, and
// of the days only the last `kept` (at least one).
void pruneAutomaticBackups(const QString& folder, const QString& databaseName, int kept);

// Rows inserted, changed and deleted through this attachment since it was made.
qint64 attachmentWrites(Firebird::IAttachment* attachment);

// The automatic backup at closing: a backup into the desk's folder, the day's earlier ones and the oldest
// days beyond `kept` removed. A failure is logged and added to the marker of this desk; every failure stays
// there until the next start tells it. Returns whether it succeeded.
bool automaticBackup(const DatabaseAccess& database, const QString& folder, int kept);
// Where a failed automatic backup is noted: beside a local database, in the desk's application-data folder
// for a server's database (or when the database's folder cannot be written).
QStringList automaticBackupMarkers(const QString& databaseName);
// The message left by the failed automatic backups since the last start (empty when none failed), and the
// markers removed.
QString takeAutomaticBackupFailure(const QString& databaseName);

// Whether the name reaches the engine as it is (a server's name or an alias) rather than naming a local file.
bool isServerDatabase(const QString& databaseName);

} // namespace vardelo
