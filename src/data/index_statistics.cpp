#include "data/index_statistics.h"

#include "data/database_error.h"
#include "data/immediate_write.h"
#include "data/logging.h"
#include "data/query.h"

#include <cmath>

namespace vardelo {

namespace {

// An identifier as a quoted name (the names come from the system tables, never from typed text).
QString quotedName(const QString& name) {
    return QLatin1Char('"') + QString(name).replace(QLatin1Char('"'), QStringLiteral("\"\"")) +
           QLatin1Char('"');
}

struct TableIndexes {
    QStringList names;
    bool unmeasured = false; // an index whose figure was never taken on rows
    double keyRows = 0;      // the rows of the table when its key index was last measured
};

TableIndexes readIndexes(TZQuery& q, const QString& table) {
    openQuery(
        &q,
        {QStringLiteral("SELECT TRIM(i.RDB$INDEX_NAME) AS INDEX_NAME, i.RDB$STATISTICS AS SELECTIVITY, "),
         QStringLiteral("  TRIM(c.RDB$CONSTRAINT_TYPE) AS CONSTRAINT_TYPE "),
         QStringLiteral("  FROM RDB$INDICES i "),
         QStringLiteral("  LEFT JOIN RDB$RELATION_CONSTRAINTS c ON c.RDB$INDEX_NAME = i.RDB$INDEX_NAME "),
         QStringLiteral("  WHERE i.RDB$RELATION_NAME = :p1 AND COALESCE(i.RDB$INDEX_INACTIVE, 0) = 0 ")},
        {{QStringLiteral("p1"), table}});
    TableIndexes result;
    for (q.First(); !q.Eof(); q.Next()) {
        const double selectivity = q.FieldByName(QStringLiteral("SELECTIVITY")).AsFloat();
        result.names << q.FieldByName(QStringLiteral("INDEX_NAME")).AsString();
        if (selectivity <= 0)
            result.unmeasured = true;
        else if (q.FieldByName(QStringLiteral("CONSTRAINT_TYPE")).AsString() == QStringLiteral("PRIMARY KEY"))
            result.keyRows = 1 / selectivity;
    }
    q.Close();
    return result;
}

double generatedRows(TZQuery& q, const QString& table) {
    openQuery(&q, {QStringLiteral("SELECT GEN_ID(") +
                   quotedName(QStringLiteral("GEN_") + table + QStringLiteral("_ID")) +
                   QStringLiteral(", 0) AS N FROM RDB$DATABASE")});
    const double rows = q.Fields(0).AsFloat();
    q.Close();
    return rows;
}

} // namespace

QStringList ticketTables() {
    return {QStringLiteral("FJFEJ"), QStringLiteral("FJSOR"), QStringLiteral("OSTERMELO")};
}

QStringList refreshIndexStatistics(TConnection* connection, TTransaction* transaction,
                                   const QStringList& tables) {
    QStringList measured;
    TZQuery q(QStringLiteral("IndexStatistics"), connection, transaction);
    try {
        for (const QString& table : tables) {
            const TableIndexes indexes = readIndexes(q, table);
            const double rows = generatedRows(q, table);
            const bool stale = rows > 0 && (indexes.unmeasured || rows > 2 * std::max(indexes.keyRows, 1.0));
            if (!stale)
                continue;
            for (const QString& index : indexes.names) {
                executeAndCommit(&q, {QStringLiteral("SET STATISTICS INDEX ") + quotedName(index)}, {});
                measured << index;
            }
        }
    } catch (const EDatabaseError& e) {
        qCWarning(lcData) << "index statistics not measured:" << e.Message() << e.ErrorCode();
    }
    return measured;
}

} // namespace vardelo
