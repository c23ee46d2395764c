#pragma once

#include <QString>

namespace vardelo {

// Maps a fixed Windows path ("C:\DU2010\08\") to a local one. On Windows it is returned unchanged; elsewhere
// drive C: is the folder named by VARDELO_DRIVE_C (the home folder when unset), another drive letter X: is
// the folder "X" beside it, and backslashes become slashes. The path is normalised ("." dropped, ".." taking
// back the folder before it), and a path that would climb out of its drive's folder (or, without a drive,
// above its first folder) gives an empty string: nothing is ever read or written outside the mapped root.
QString localPath(const QString& windowsPath);

} // namespace vardelo
