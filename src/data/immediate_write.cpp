#include "data/immediate_write.h"

#include "data/database_error.h"
#include "data/list_plan.h"
#include "data/query.h"
#include "data/transaction.h"

namespace vardelo {

namespace {

const QString WriteSavepoint = QStringLiteral("VARDELO_WRITE");

void setStatement(TZQuery* query, const QStringList& sql, const QueryParams& params) {
    query->Close();
    query->SQL.Clear();
    for (const QString& line : sql)
        query->SQL.Add(line);
    for (const auto& [name, value] : params)
        query->ParamByName(name).SetValue(value);
}

} // namespace

void openQuery(TZQuery* query, const QStringList& sql, const QueryParams& params) {
    setStatement(query, sql, params);
    query->Open();
}

void openList(TZQuery* query, const QStringList& sql, const QueryParams& params, const TListPlan& plan) {
    setStatement(query, sql, params);
    query->SetListPlan(plan);
    query->Open();
}

int execQuery(TZQuery* query, const QStringList& sql, const QueryParams& params) {
    setStatement(query, sql, params);
    query->ExecSQL();
    return query->RowsAffected();
}

namespace {

// One write made permanent at once, inside a savepoint that undoes it alone when it fails.
int commitWrite(TZQuery* query, const QStringList& sql, const QueryParams& params, const RowAsRead* asRead) {
    TTransaction* transaction = query->Transaction();
    if (!transaction->Active())
        transaction->StartTransaction();
    transaction->Savepoint(WriteSavepoint);
    try {
        if (asRead)
            checkRowUnchanged(transaction, *asRead);
        const int rows = execQuery(query, sql, params);
        if (asRead)
            requireRowChanged(rows);
        transaction->CommitRetaining();
        return rows;
    } catch (const EDatabaseError& error) {
        // A connection that is gone has lost the write anyway; the write's own error is the one to tell.
        if (!isLostConnection(error) && transaction->Active()) {
            try {
                transaction->RollbackToSavepoint(WriteSavepoint);
            } catch (const EDatabaseError&) {
            }
        }
        throw;
    }
}

} // namespace

int executeAndCommit(TZQuery* query, const QStringList& sql, const QueryParams& params) {
    return commitWrite(query, sql, params, nullptr);
}

int executeRowAndCommit(TZQuery* query, const QStringList& sql, const QueryParams& params,
                        const RowAsRead& asRead) {
    return commitWrite(query, sql, params, &asRead);
}

int execWrite(TZQuery* query, const std::optional<QString>& changedId, const QStringList& updateSql,
              const QStringList& insertSql, QueryParams params, const RowAsRead& asRead) {
    if (!changedId)
        return execQuery(query, insertSql, params);
    checkRowUnchanged(query->Transaction(), asRead);
    params.emplace_back(QStringLiteral("p0"), *changedId);
    const int rows = execQuery(query, updateSql, params);
    requireRowChanged(rows);
    return rows;
}

} // namespace vardelo
