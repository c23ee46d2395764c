#pragma once

namespace vardelo {

// At start, with the database open: the automatic backups of this desk that failed since its last start
// (of a local or a server's database alike) are told to the clerk, once.
void reportFailedAutomaticBackup();

// At closing, after the last commit and before the connection closes: when this run wrote to the database, a
// backup into the desk's backup folder (the settings' one, or "Mentés" beside a local database or in the
// working folder), logged in as the connection is; the backups of earlier days beyond the number kept go. A
// failure is logged and told at the next start.
void automaticBackupAtClose();

} // namespace vardelo
