#pragma once

#include <QString>

namespace vardelo::testing {

// Whether isql-fb, the engine's own tool, is installed.
bool isqlAvailable();

// Runs statements with isql-fb on a database file through the embedded engine, as an administrator would
// (UTF-8 on the connection, stopping at the first error). The program must not hold the file open meanwhile.
// Returns whether it succeeded; the tool's error output in errors.
bool runIsql(const QString& database, const QString& statements, QString* errors = nullptr);

} // namespace vardelo::testing
