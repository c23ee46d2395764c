#pragma once

namespace vardelo {

// At start, with the database open: a failed automatic backup of the last closing is told to the clerk, once.
void reportFailedAutomaticBackup();

// At closing, after the last commit and before the connection closes: when this run wrote to the database, a
// backup into the backup folder (the settings' one, or "Mentés" beside the database); the backups of earlier
// days beyond the number kept go. A failure is logged and told at the next start.
void automaticBackupAtClose();

} // namespace vardelo
