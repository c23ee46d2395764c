#pragma once

#include <QString>

namespace vardelo {

// The program's log: every message of Qt's logging (the layers' categories among them) is also written, with
// its time, level and category, to "vardelo.log" in the user's application-data folder. A log that grows past
// maxBytes is moved to "vardelo.log.1" (the older one to ".2", and so on up to keptFiles) and a new one
// begun.
struct LogFileSettings {
    QString folder; // empty: QStandardPaths::AppDataLocation
    qint64 maxBytes = 1024 * 1024;
    int keptFiles = 3;
};

// Installs the log as Qt's message handler; messages still reach the handler that was in force before
// (standard error). Returns the log file's path, empty when the folder cannot be made.
QString installLogFile(const LogFileSettings& settings = {});
// Puts the handler that was in force before back, and closes the log.
void removeLogFile();

} // namespace vardelo
