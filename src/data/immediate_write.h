#pragma once

#include "data/row_check.h"

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
// commit keeps the lists of the open windows open. The write runs inside a savepoint: on a database error
// only this write is undone (what other windows left to the next commit stays) and the error is raised again
// for the screen to report. Returns the number of rows the statement changed.
int executeAndCommit(TZQuery* query, const QStringList& sql, const QueryParams& params);

// executeAndCommit for the UPDATE or DELETE of one row that a window read: the row is first checked against
// what was read (checkRowUnchanged: another desk's change since is refused with ERowChanged), and a statement
// that changes no row fails as ERowChanged::deleted(); either undoes this write alone.
int executeRowAndCommit(TZQuery* query, const QStringList& sql, const QueryParams& params,
                        const RowAsRead& asRead);

// Opens a query on its SQL lines and named parameters: closes it, replaces its text, binds every parameter
// and opens it (starting the transaction when needed). The one way a screen opens a list.
void openQuery(TZQuery* query, const QStringList& sql, const QueryParams& params = {});

// Runs one write (its SQL lines and named parameters) inside the query's transaction, starting it when
// needed, and leaves the commit or rollback to the caller: for a screen whose write is one step of a larger
// change. Returns the number of rows the statement changed; a database error is raised.
int execQuery(TZQuery* query, const QStringList& sql, const QueryParams& params = {});

// Writes a record inside the query's transaction, as execQuery does: with the update statement, its record's
// id bound to :p0, when a record is changed, else with the insert statement. A changed record is first
// checked against the row as the window read it (checkRowUnchanged: another desk's change since is refused
// with ERowChanged), and an update that finds no row fails as ERowChanged::deleted().
int execWrite(TZQuery* query, const std::optional<QString>& changedId, const QStringList& updateSql,
              const QStringList& insertSql, QueryParams params, const RowAsRead& asRead = {});

} // namespace vardelo
