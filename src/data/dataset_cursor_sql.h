#pragma once

// The pieces of SQL and the checks the dataset cursor builds its statements from (data/dataset_cursor.h).
#include "data/database_error.h"
#include "data/firebird_api.h"

#include <QRegularExpression>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <climits>
#include <ibase.h>
#include <optional>
#include <vector>

namespace vardelo::cursor {

// A column name as a quoted identifier of the derived table.
inline QString quotedName(const QString& name) {
    return QLatin1Char('"') + QString(name).replace(QLatin1Char('"'), QStringLiteral("\"\"")) +
           QLatin1Char('"');
}

inline bool integerColumn(const vardelo::fb::ColumnLayout& c) {
    return (c.type == SQL_SHORT || c.type == SQL_LONG || c.type == SQL_INT64) && c.scale == 0;
}

// A value sought in a whole number column as a number the column can hold; none for a value that is no
// number, or one the column cannot hold, which is then in no row.
inline std::optional<qlonglong> soughtNumber(const vardelo::fb::ColumnLayout& c, const QVariant& value) {
    bool whole = false;
    const qlonglong number = value.toString().trimmed().toLongLong(&whole);
    const qlonglong most = c.type == SQL_SHORT ? SHRT_MAX : c.type == SQL_LONG ? INT_MAX : LLONG_MAX;
    if (!whole || number > most || number < -most - 1)
        return std::nullopt;
    return number;
}

// A column whose values go back to the server bound as they were read, comparing as they did.
inline bool keyableColumn(const vardelo::fb::ColumnLayout& c) {
    return integerColumn(c) || c.type == SQL_VARYING || c.type == SQL_TEXT || c.type == SQL_TYPE_DATE;
}

// The engine refused to prepare the statement (it cannot stand as a derived table, or names what the
// database has not): as opposed to a lost connection, a lock or a failure of the data, which the caller
// must hear of.
inline bool refused(const EDatabaseError& error) {
    return error.ErrorCode() == isc_dsql_error;
}

inline bool refused(const Firebird::FbException& error) {
    const intptr_t* vector = error.getStatus()->getErrors();
    return vector[0] == isc_arg_gds && vector[1] == isc_dsql_error;
}

inline bool plainIdentifier(const QString& name) {
    static const QRegularExpression plain(QStringLiteral("^[A-Za-z_][A-Za-z0-9_$]*$"));
    return plain.match(name).hasMatch();
}

// The statement's closing ORDER BY when it names plain columns only: where it starts and its items.
struct TrailingOrder {
    qsizetype start = -1;
    QStringList items;
};

inline TrailingOrder trailingOrder(const QString& sql) {
    static const QString name = QStringLiteral("(?:\"[^\"]+\"|[A-Za-z_][A-Za-z0-9_$]*|[0-9]+)");
    static const QString item = QStringLiteral("%1(?:\\.%1)?(?:\\s+COLLATE\\s+\\w+)?"
                                               "(?:\\s+(?:ASC|ASCENDING|DESC|DESCENDING))?"
                                               "(?:\\s+NULLS\\s+(?:FIRST|LAST))?")
                                    .arg(name);
    static const QRegularExpression orderBy(
        QStringLiteral("\\sORDER\\s+BY\\s+(%1(?:\\s*,\\s*%1)*)$").arg(item),
        QRegularExpression::CaseInsensitiveOption);
    TrailingOrder order;
    const auto match = orderBy.match(sql);
    if (match.hasMatch()) {
        order.start = match.capturedStart(0);
        for (const QString& part : match.captured(1).split(QLatin1Char(',')))
            order.items << part.simplified();
    }
    return order;
}

inline QString whereClause(const QStringList& conditions) {
    return conditions.isEmpty() ? QString()
                                : QStringLiteral(" WHERE ") + conditions.join(QStringLiteral(" AND "));
}

inline const std::vector<QVariant> NoValues;

} // namespace vardelo::cursor
