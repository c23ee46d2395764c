// Safe copies of the database, made by the engine itself through Firebird's service manager: a backup file
// (the gbak format, ".fbk") of the open database, a database restored from such a file, checked before it is
// used, and the automatic backup at closing. On a server the service manager of the server does the work, on
// the server's disk; a local file is handled by the embedded engine in this process, which shares the open
// database with the program's own connection.
#pragma once

#include <QDateTime>
#include <QString>
#include <functional>
#include <utility>
#include <vector>

namespace Firebird {
class IAttachment;
}

namespace vardelo {

// A line of the engine's verbose output while it works, for a progress display. The call may process
// events; it must not touch the database.
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
// The folder of the backups: the one given (the settings' backupFolder) or "Mentés" beside the database.
QString backupFolderFor(const QString& databaseName, const QString& configured);
// The name for the replaced database kept beside the new one: "du2010_csere_2026-12-10_1530.fdb".
QString replacedFileName(const QString& databaseName, const QDateTime& when);

// Writes a backup of the database (a file name, or host:path of a server) to backupFile through the service
// manager. A local backup is written under a temporary name beside the target and renamed when complete, so a
// failure leaves nothing under the final name; an existing file is never overwritten. Raises EDatabaseError.
void backupDatabase(const QString& databaseName, const QString& backupFile,
                    const BackupProgress& progress = {});

// Restores a backup file into a new database file (never over an existing one) and checks it. A damaged
// file, or a backup of another program's database, is refused: the new file is removed and EDatabaseError
// raised. Returns the row count of each table.
using TableCounts = std::vector<std::pair<QString, qint64>>;
TableCounts restoreDatabase(const QString& backupFile, const QString& databaseName,
                            const BackupProgress& progress = {});

// Opens the database and reads every table of it; the row count of each, in name order. Raises
// EDatabaseError when the file does not open, a table does not read, or one of the program's tables is
// missing.
TableCounts checkDatabase(const QString& databaseName);

// A fresh consistent copy of the database as a plain database file, named after the database (du2010.fdb),
// in a new folder of its own under `parentFolder`. Returns the copy's full name.
QString makeDatabaseCopy(const QString& databaseName, const QString& parentFolder,
                         const BackupProgress& progress = {});

// Puts the restored file in the place of the database: the database is kept under replacedName, then the
// restored file takes its name. When the second step fails the database goes back. Both files must be closed.
// Raises EDatabaseError.
void replaceDatabaseFile(const QString& databaseFile, const QString& restoredFile,
                         const QString& replacedName);

// Removes the older automatic backups of the database in the folder: of each day only the last is kept, and
// of the days only the last `kept` (at least one).
void pruneAutomaticBackups(const QString& folder, const QString& databaseName, int kept);

// Rows inserted, changed and deleted through this attachment since it was made.
qint64 attachmentWrites(Firebird::IAttachment* attachment);

// The automatic backup at closing: a backup into the folder, the day's earlier ones and the oldest days
// beyond `kept` removed. A failure
// is written to the marker file beside the database (and logged); a success removes the marker. Returns
// whether it succeeded.
bool automaticBackup(const QString& databaseName, const QString& folder, int kept);
// The marker of a failed automatic backup beside the local database; empty for a server database.
QString automaticBackupMarker(const QString& databaseName);
// The message left by a failed automatic backup (empty when the last one succeeded), and the marker removed.
QString takeAutomaticBackupFailure(const QString& databaseName);

// Whether the name reaches the engine as it is (a server's name or an alias) rather than naming a local file.
bool isServerDatabase(const QString& databaseName);

} // namespace vardelo
