// The dataset cursor's reading by its list's order keys: the rows from a key on and before it, the count of
// the rows before a key, a search that finds a row's key first (data/dataset_cursor.h).
#include "data/dataset_cursor.h"
#include "data/dataset_cursor_sql.h"
#include "data/list_plan.h"

#include <algorithm>

using namespace Firebird;
using vardelo::fb::Status;
using namespace vardelo::cursor;

const std::vector<int>& TDataSetCursor::orderKeys() {
    if (orderKeys_)
        return *orderKeys_;
    orderKeys_.emplace();
    static const QRegularExpression plain(
        QStringLiteral(
            "^(?:(?:\"[^\"]+\"|[A-Za-z_][A-Za-z0-9_$]*)\\.)?(\"[^\"]+\"|[A-Za-z_][A-Za-z0-9_$]*|[0-9]+)"
            "(?:\\s+(?:ASC|ASCENDING))?$"),
        QRegularExpression::CaseInsensitiveOption);
    std::vector<int> keys;
    for (const QString& item : trailingOrder(innerSql()).items) {
        const auto match = plain.match(item);
        if (!match.hasMatch())
            return *orderKeys_;
        QString name = match.captured(1);
        int found = -1;
        if (name.at(0).isDigit()) {
            found = name.toInt() - 1;
            if (found < 0 || found >= int(columns_.size()))
                return *orderKeys_;
        } else {
            name = name.startsWith(QLatin1Char('"')) ? name.mid(1, name.size() - 2) : name.toUpper();
            for (size_t i = 0; i < columns_.size(); ++i) {
                if (columns_[i].name != name)
                    continue;
                if (found >= 0)
                    return *orderKeys_;
                found = int(i);
            }
        }
        if (found < 0 || !keyableColumn(columns_[size_t(found)]))
            return *orderKeys_;
        keys.push_back(found);
    }
    *orderKeys_ = std::move(keys);
    return *orderKeys_;
}

const std::vector<int>& TDataSetCursor::totalKeys() {
    if (!totalTried_) {
        totalTried_ = true;
        // The joins keep the driving rows' order total while they find one row each.
        if (plan_ && plan_->totalOrder && !joinedOrder() && (plan_->joinedKeys.isEmpty() || drivingCounts()))
            totalKeys_ = orderKeys();
    }
    return totalKeys_;
}

QString TDataSetCursor::keyName(size_t item) {
    return quotedName(columns_[size_t(orderKeys()[item])].name);
}

TDataSetCursor::Key TDataSetCursor::keyAt(int row) {
    const Row& r = window_[size_t(row - base_)];
    Key key;
    for (const int column : orderKeys())
        key.push_back(r.values ? (*r.values)[size_t(column)]
                               : vardelo::fb::decodeColumn(columns_[size_t(column)], r.raw.data()));
    return key;
}

namespace {

// Conditions on the first keys of a list ordered by them, empty keys first: "equal" to a value (IS NULL for
// an empty one), and the bound values they take.
struct KeyConditions {
    QStringList conditions;
    std::vector<QVariant> values;
    void equal(const QString& name, const QVariant& value) {
        if (value.isNull()) {
            conditions << name + QStringLiteral(" IS NULL");
        } else {
            conditions << name + QStringLiteral(" = ?");
            values.push_back(value);
        }
    }
    void compare(const QString& name, const char* op, const QVariant& value) {
        conditions << QStringLiteral("%1 %2 ?").arg(name, QLatin1String(op));
        values.push_back(value);
    }
};

} // namespace

// From the deepest key outwards: the rows that share the keys before it and come after it by it, then those
// after by the key before, and so on; each step in the list's order, so together they are the list from the
// key on.
std::deque<TDataSetCursor::Step> TDataSetCursor::stepsFrom(const Key& values, bool inclusive) {
    QStringList order;
    for (size_t i = 0; i < orderKeys().size(); ++i)
        order << keyName(i);
    const QString tail = QStringLiteral(" ORDER BY ") + order.join(QStringLiteral(", "));
    std::deque<Step> steps;
    for (size_t level = values.size(); level >= 1; --level) {
        KeyConditions where;
        for (size_t j = 0; j + 1 < level; ++j)
            where.equal(keyName(j), values[j]);
        const size_t i = level - 1;
        if (level == values.size() && inclusive) {
            // From the first row with the value; an empty value sorts first, so from the first row sharing
            // the keys before it.
            if (!values[i].isNull())
                where.compare(keyName(i), ">=", values[i]);
        } else if (values[i].isNull()) {
            where.conditions << keyName(i) + QStringLiteral(" IS NOT NULL");
        } else {
            where.compare(keyName(i), ">", values[i]);
        }
        steps.push_back({QStringLiteral("SELECT * FROM (\n%1\n)").arg(countableSql()) +
                             whereClause(where.conditions) + tail,
                         where.values});
    }
    return steps;
}

// The same backwards, in the reversed order: the rows before the key by the deepest key (the empty ones
// last), then by the key before it, and so on.
std::deque<TDataSetCursor::Step> TDataSetCursor::stepsBefore(const Key& values) {
    QStringList order;
    for (size_t i = 0; i < orderKeys().size(); ++i)
        order << keyName(i) + QStringLiteral(" DESC");
    const QString tail = QStringLiteral(" ORDER BY ") + order.join(QStringLiteral(", "));
    const QString select = QStringLiteral("SELECT * FROM (\n%1\n)").arg(countableSql());
    std::deque<Step> steps;
    for (size_t level = values.size(); level >= 1; --level) {
        const size_t i = level - 1;
        // Nothing sorts before an empty value.
        if (values[i].isNull())
            continue;
        KeyConditions lower;
        for (size_t j = 0; j < i; ++j)
            lower.equal(keyName(j), values[j]);
        KeyConditions empty = lower;
        lower.compare(keyName(i), "<", values[i]);
        steps.push_back({select + whereClause(lower.conditions) + tail, lower.values});
        if (columns_[size_t(orderKeys()[i])].nullable) {
            empty.conditions << keyName(i) + QStringLiteral(" IS NULL");
            steps.push_back({select + whereClause(empty.conditions) + tail, empty.values});
        }
    }
    return steps;
}

// Reads the rows before the window's first row from its key, prepending them; false when the list no longer
// has that many rows there (it changed since), leaving the window as it was.
bool TDataSetCursor::readBefore(int rows) {
    rows = std::min(rows, base_);
    if (rows <= 0 || window_.empty())
        return rows <= 0;
    std::deque<Step> steps = stepsBefore(keyAt(base_));
    std::vector<std::vector<unsigned char>> read;
    Status status;
    while (!steps.empty() && int(read.size()) < rows) {
        const Step step = std::move(steps.front());
        steps.pop_front();
        auto statement = prepareSameRows(step.sql);
        if (!statement)
            return false;
        std::vector<QVariant> values = parameters_;
        values.insert(values.end(), step.extra.begin(), step.extra.end());
        try {
            vardelo::fb::InputMessage input(statement.get(), values);
            vardelo::fb::Handle<IResultSet> cursor(statement->openCursor(
                status.throwing(), transaction_, input.metadata(), input.buffer(), output_.get(), 0));
            std::vector<unsigned char> buffer(messageLength_);
            while (int(read.size()) < rows &&
                   cursor->fetchNext(status.throwing(), buffer.data()) == IStatus::RESULT_OK)
                read.push_back(buffer);
        } catch (const FbException& e) {
            vardelo::fb::raise(e);
        }
    }
    if (int(read.size()) < rows)
        return false;
    for (auto& message : read) {
        if (int(window_.size()) >= windowSize_) {
            // The window is full: its last row goes, and the rows after it are read again from its key.
            window_.pop_back();
            resultSet_.reset();
            steps_.clear();
            cursorAtEnd_ = false;
            resumeFromKey_ = true;
        }
        Row row;
        row.raw = std::move(message);
        window_.push_front(std::move(row));
        --base_;
    }
    return true;
}

// Brings a row far from the window into it, with a few rows before it for the grid showing it. The first
// row of a key, its place known, is reached by the key instead: the server starts at it through the key's
// index rather than passing every row before it, and rows before it are read only when asked for.
void TDataSetCursor::reach(int row, const Key& key) {
    const int end = base_ + int(window_.size());
    if (row >= base_ && row < end + std::min(windowSize_, 4096))
        return;
    if (!key.empty() && startChain(stepsFrom(key, true), false)) {
        base_ = row;
        startedAtKey_ = true;
        return;
    }
    reloadAround(row, rowsBeforeJump(false));
}

// The number of rows before the first one with the key (its first keys; empty keys come first).
std::optional<int> TDataSetCursor::rowsBelow(const Key& key) {
    const std::vector<int> columns(orderKeys().begin(),
                                   orderKeys().begin() + static_cast<std::ptrdiff_t>(key.size()));
    std::vector<QVariant> parameters;
    const QString source = countSource(columns, parameters);
    QStringList before;
    for (size_t i = 0; i < key.size(); ++i) {
        if (key[i].isNull())
            continue;
        KeyConditions part;
        for (size_t j = 0; j < i; ++j)
            part.equal(keyName(j), key[j]);
        const QString name = keyName(i);
        part.conditions << (columns_[size_t(columns[i])].nullable
                                ? QStringLiteral("(%1 < ? OR %1 IS NULL)").arg(name)
                                : QStringLiteral("%1 < ?").arg(name));
        part.values.push_back(key[i]);
        before << QLatin1Char('(') + part.conditions.join(QStringLiteral(" AND ")) + QLatin1Char(')');
        parameters.insert(parameters.end(), part.values.begin(), part.values.end());
    }
    if (before.isEmpty())
        return 0;
    try {
        if (key.size() == 1) {
            // A key near the end: the few rows from it on are counted through the key's index and taken from
            // all the rows, which the server counts faster than it counts the many rows before the key
            // through the index (and which later moves need anyway).
            constexpr int Near = 5000;
            std::vector<QVariant> fromParameters{QVariant(qlonglong(Near))};
            fromParameters.insert(fromParameters.end(), parameters.begin(), parameters.end() - 1);
            fromParameters.push_back(key[0]);
            const auto from = vardelo::fb::executeSingle(
                attachment_, transaction_,
                QStringLiteral("SELECT COUNT(*) FROM (SELECT FIRST ? 1 AS ONE FROM (\n%1\n) WHERE %2 >= ?)")
                    .arg(source, keyName(0)),
                fromParameters);
            if (!from.empty() && from.front().toInt() < Near)
                return count() - from.front().toInt();
        }
        const auto row = vardelo::fb::executeSingle(attachment_, transaction_,
                                                    QStringLiteral("SELECT COUNT(*) FROM (\n%1\n) WHERE %2")
                                                        .arg(source, before.join(QStringLiteral(" OR "))),
                                                    parameters);
        if (!row.empty())
            return row.front().toInt();
    } catch (const EDatabaseError& e) {
        if (!refused(e))
            throw;
    }
    return std::nullopt;
}

bool TDataSetCursor::keyAtEquals(int row, const Key& key) {
    const Key rowKey = keyAt(row);
    for (size_t i = 0; i < key.size(); ++i) {
        if (rowKey[i].isNull() || key[i].isNull()) {
            if (rowKey[i].isNull() != key[i].isNull())
                return false;
            continue;
        }
        if (!integerColumn(columns_[size_t(orderKeys()[i])])) {
            if (rowKey[i] != key[i])
                return false;
            continue;
        }
        bool ok = false;
        const qlonglong wanted = key[i].toLongLong(&ok);
        if (!ok || rowKey[i].toLongLong() != wanted)
            return false;
    }
    return true;
}

// The first row with the key: in the window when it holds that row and the one before it (or the list's
// first row), so that repeated searches for the row in view ask the server nothing; at the end of a list
// whose rows are counted when no row follows the key; else counted.
std::optional<int> TDataSetCursor::placeOfKey(const Key& key) {
    for (int row = base_; row < base_ + int(window_.size()); ++row) {
        if (!keyAtEquals(row, key))
            continue;
        if (row == 0 || row > base_)
            return row;
        break;
    }
    if (countKnown_ && count_ > 0 && key.size() == totalKeys().size()) {
        const std::deque<Step> after = stepsFrom(key, false);
        bool any = false;
        for (const Step& step : after) {
            const bool ran = scanRows(step.sql, step.extra, [&](const unsigned char*, const Layout&) {
                any = true;
                return true;
            });
            if (!ran || any)
                break;
        }
        if (!any)
            return count_ - 1;
    }
    return rowsBelow(key);
}

// In a list ordered by plain columns, the column searched and the order's keys are fetched alone in the
// list's order, only the rows beginning with `startsWith` when given, and tested on the client. The first row
// accepted gives a key; the rows before that key are counted. -2 when the list is not ordered so, or the row
// is not where it was looked for.
int TDataSetCursor::findByKey(int column, const ColumnTest& test, const QString& startsWith) {
    const auto& keys = orderKeys();
    if (keys.empty())
        return -2;
    const QString searched = quotedName(columns_[size_t(column)].name);
    QStringList names;
    for (size_t i = 0; i < keys.size(); ++i)
        names << keyName(i);
    QString sql = QStringLiteral("SELECT %1, %2 FROM (\n%3\n)")
                      .arg(searched, names.join(QStringLiteral(", ")), countableSql());
    std::vector<QVariant> extra;
    if (!startsWith.isEmpty()) {
        sql += QStringLiteral(" WHERE %1 STARTING WITH ?").arg(searched);
        extra.push_back(startsWith);
    }
    // By position: the searched column may be a key too, and its name then stands twice.
    QStringList positions;
    for (size_t i = 0; i < keys.size(); ++i)
        positions << QString::number(i + 2);
    sql += QStringLiteral(" ORDER BY ") + positions.join(QStringLiteral(", "));
    bool accepted = false;
    Key found;
    const bool ran = scanRows(sql, extra, [&](const unsigned char* message, const Layout& layout) {
        accepted = test(message, layout.front(), nullptr);
        if (accepted)
            for (size_t i = 1; i < layout.size(); ++i)
                found.push_back(vardelo::fb::decodeColumn(layout[i], message));
        return accepted;
    });
    if (!ran)
        return -2;
    if (!accepted)
        return -1;
    const auto position = placeOfKey(found);
    if (!position)
        return -2;
    known_ = std::max(known_, *position + 1);
    count_ = std::max(count_, known_);
    reach(*position, found);
    // Rows of equal keys may come in another order here than in the search.
    for (int row = *position; ensure(row) && keyAtEquals(row, found); ++row)
        if (testColumn(window_[size_t(row - base_)], column, test))
            return row;
    return -2;
}
