#pragma once

#include <QString>
#include <QStringList>
#include <QVariant>
#include <optional>
#include <utility>
#include <vector>

class TZQuery;

namespace vardelo {

using QueryParams = std::vector<std::pair<QString, QVariant>>;

// Runs one write (its SQL lines and named parameters) through the query and makes it permanent at once with a
// retaining commit: left pending, a later failed write anywhere would roll it back unseen, and the retaining
// commit keeps the lists of the open windows open. On a database error the transaction is rolled back
// (retaining) and the error is raised again for the screen to report. Returns the number of rows the
// statement changed.
int executeAndCommit(TZQuery* query, const QStringList& sql, const QueryParams& params);

// Opens a query on its SQL lines and named parameters: closes it, replaces its text, binds every parameter
// and opens it (starting the transaction when needed). The one way a screen opens a list.
void openQuery(TZQuery* query, const QStringList& sql, const QueryParams& params = {});

// Runs one write (its SQL lines and named parameters) inside the query's transaction, starting it when
// needed, and leaves the commit or rollback to the caller: for a screen whose write is one step of a larger
// change. Returns the number of rows the statement changed; a database error is raised.
int execQuery(TZQuery* query, const QStringList& sql, const QueryParams& params = {});

// Writes a record inside the query's transaction, as execQuery does: with the update statement, its record's
// id bound to :p0, when a record is changed, else with the insert statement.
int execWrite(TZQuery* query, const std::optional<QString>& changedId, const QStringList& updateSql,
              const QStringList& insertSql, QueryParams params);

} // namespace vardelo
