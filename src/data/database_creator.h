#pragma once

#include <QString>
#include <QStringList>

namespace vardelo {

// The statements of the database's DDL, in order (the SET TERM blocks resolved).
QStringList ddlStatements();

// Creates a new database file at path from the DDL, with one purchaser and its SORSZAM row; with demo, also a
// second purchaser, producers with valid identifiers and complete data, and animals. Raises EDatabaseError;
// an existing file is never overwritten.
void createDatabase(const QString& path, bool demo);

} // namespace vardelo
