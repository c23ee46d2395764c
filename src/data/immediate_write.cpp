#include "data/immediate_write.h"

#include "data/database_error.h"
#include "data/list_plan.h"
#include "data/query.h"
#include "data/transaction.h"

namespace vardelo {

namespace {

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

int executeAndCommit(TZQuery* query, const QStringList& sql, const QueryParams& params) {
    TTransaction* transaction = query->Transaction();
    try {
        if (!transaction->Active())
            transaction->StartTransaction();
        setStatement(query, sql, params);
        query->ExecSQL();
        const int rows = query->RowsAffected();
        transaction->CommitRetaining();
        return rows;
    } catch (const EDatabaseError&) {
        try {
            if (transaction->Active())
                transaction->RollbackRetaining();
        } catch (const EDatabaseError&) {
        }
        throw;
    }
}

int execWrite(TZQuery* query, const std::optional<QString>& changedId, const QStringList& updateSql,
              const QStringList& insertSql, QueryParams params) {
    if (!changedId)
        return execQuery(query, insertSql, params);
    params.emplace_back(QStringLiteral("p0"), *changedId);
    return execQuery(query, updateSql, params);
}

} // namespace vardelo
