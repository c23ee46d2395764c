// The embedded engine keeps its lock files in one folder. Its default, /tmp/firebird, belongs to whichever
// user starts an engine first (and to the firebird user once the server package is installed), and every
// other user of the machine is then locked out of every database. Each user's engine therefore gets a folder
// of its own.
#pragma once

#include <QString>

namespace vardelo {

// The folder this process's engine uses: FIREBIRD_LOCK when set, else the engine's default.
QString engineLockFolder();

// The user's own lock folder: "vardelo-firebird" in $XDG_RUNTIME_DIR (the session's private folder), else in
// the user's cache folder ($XDG_CACHE_HOME, else ~/.cache).
QString ownEngineLockFolder();

// Before the engine is loaded: unless FIREBIRD_LOCK is set already, makes the user's own lock folder (owner
// only) and sets FIREBIRD_LOCK to it. Returns the folder the engine will use.
QString useOwnEngineLockFolder();

} // namespace vardelo
