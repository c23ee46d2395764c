#include "data/dataset_cursor.h"

#include "data/database_error.h"

#include <QRegularExpression>
#include <algorithm>
#include <climits>
#include <optional>

using namespace Firebird;
using vardelo::fb::Status;

namespace {

bool sameLayout(const std::vector<vardelo::fb::ColumnLayout>& a,
                const std::vector<vardelo::fb::ColumnLayout>& b) {
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (a[i].type != b[i].type || a[i].length != b[i].length || a[i].scale != b[i].scale ||
            a[i].offset != b[i].offset || a[i].nullOffset != b[i].nullOffset)
            return false;
    return true;
}

// A column name as a quoted identifier of the derived table.
QString quotedName(const QString& name) {
    return QLatin1Char('"') + QString(name).replace(QLatin1Char('"'), QStringLiteral("\"\"")) +
           QLatin1Char('"');
}

bool integerColumn(const vardelo::fb::ColumnLayout& c) {
    return (c.type == SQL_SHORT || c.type == SQL_LONG || c.type == SQL_INT64) && c.scale == 0;
}

// The statement's closing ORDER BY when it names plain columns only: where it starts and its items.
struct TrailingOrder {
    qsizetype start = -1;
    QStringList items;
};

TrailingOrder trailingOrder(const QString& sql) {
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

} // namespace

TDataSetCursor::TDataSetCursor(IAttachment* attachment, ITransaction* transaction, const QString& sql,
                               const std::vector<QVariant>& parameters, int windowSize)
    : attachment_(attachment), transaction_(transaction), sql_(sql), parameters_(parameters),
      windowSize_(std::max(2, windowSize)) {
    if (!attachment)
        throw EDatabaseError(QStringLiteral("Nincs kapcsolat az adatbázissal."));
    Status status;
    try {
        statement_ = prepare(sql);
        const unsigned type = statement_->getType(status.throwing());
        if (type != isc_info_sql_stmt_select && type != isc_info_sql_stmt_select_for_upd)
            throw EDatabaseError(QStringLiteral("Az utasítás nem ad vissza sorokat, nem nyitható meg."));
        output_.reset(statement_->getOutputMetadata(status.throwing()));
        columns_ = vardelo::fb::describeColumns(output_.get());
        messageLength_ = output_->getMessageLength(status.throwing());
    } catch (const FbException& e) {
        vardelo::fb::raise(e);
    }
    openAt(0);
}

// The handles close the cursors and free the statements.
TDataSetCursor::~TDataSetCursor() = default;

QString TDataSetCursor::innerSql() const {
    QString sql = sql_.trimmed();
    while (sql.endsWith(QLatin1Char(';')))
        sql = sql.chopped(1).trimmed();
    return sql;
}

// Counting does not need the order: without it the server need not walk an index or sort.
QString TDataSetCursor::countableSql() const {
    const QString sql = innerSql();
    const TrailingOrder order = trailingOrder(sql);
    return order.start < 0 ? sql : sql.left(order.start);
}

// Throws FbException when the engine refuses the statement.
vardelo::fb::Handle<IStatement> TDataSetCursor::prepare(const QString& sql) {
    Status status;
    const QByteArray text = vardelo::fb::encodeSql(sql);
    return vardelo::fb::Handle<IStatement>(attachment_->prepare(
        status.throwing(), transaction_, 0, text.constData(), 3, IStatement::PREPARE_PREFETCH_METADATA));
}

vardelo::fb::Handle<IStatement> TDataSetCursor::prepareSameRows(const QString& sql) {
    Status status;
    try {
        auto statement = prepare(sql);
        vardelo::fb::Handle<IMessageMetadata> output(statement->getOutputMetadata(status.throwing()));
        if (sameLayout(vardelo::fb::describeColumns(output.get()), columns_))
            return statement;
    } catch (const FbException&) {
        // Not a statement that can stand as a derived table (unnamed or repeated columns, a lock clause).
    } catch (const EDatabaseError&) {
    }
    return {};
}

IStatement* TDataSetCursor::offsetStatement() {
    if (!offsetTried_) {
        offsetTried_ = true;
        offsetStatement_ =
            prepareSameRows(QStringLiteral("SELECT * FROM (\n%1\n) OFFSET ? ROWS").arg(innerSql()));
    }
    return offsetStatement_.get();
}

int TDataSetCursor::keyColumn() {
    if (keyTried_)
        return keyColumn_;
    keyTried_ = true;
    const TrailingOrder order = trailingOrder(innerSql());
    if (order.items.size() != 1)
        return -1;
    static const QRegularExpression plain(
        QStringLiteral("^(\"[^\"]+\"|[A-Za-z_][A-Za-z0-9_$]*)(?:\\s+(?:ASC|ASCENDING))?$"),
        QRegularExpression::CaseInsensitiveOption);
    const auto match = plain.match(order.items.front());
    if (!match.hasMatch())
        return -1;
    QString name = match.captured(1);
    name = name.startsWith(QLatin1Char('"')) ? name.mid(1, name.size() - 2) : name.toUpper();
    int found = -1;
    for (size_t i = 0; i < columns_.size(); ++i) {
        if (columns_[i].name != name)
            continue;
        if (found >= 0)
            return -1;
        found = int(i);
    }
    if (found >= 0 && columns_[size_t(found)].type != SQL_BLOB && columns_[size_t(found)].type != SQL_ARRAY)
        keyColumn_ = found;
    return keyColumn_;
}

QVariant TDataSetCursor::keyOf(const std::vector<unsigned char>& message) const {
    return vardelo::fb::decodeColumn(columns_[size_t(keyColumn_)], message.data());
}

QVariant TDataSetCursor::keyAt(int row) const {
    const Row& r = window_[size_t(row - base_)];
    return r.values ? (*r.values)[size_t(keyColumn_)] : keyOf(r.raw);
}

// Brings a row far from the window into it, with a few rows before it for the grid showing it. The first
// row of a key, its place known, is reached by the key instead: the server starts at it through the key's
// index rather than passing every row before it, and rows before it are read only when asked for.
void TDataSetCursor::reach(int row, const QVariant& key) {
    const int end = base_ + int(window_.size());
    if (row >= base_ && row < end + std::min(windowSize_, 4096))
        return;
    if (!key.isNull()) {
        if (!keyedTried_) {
            keyedTried_ = true;
            keyedStatement_ =
                prepareSameRows(QStringLiteral("SELECT * FROM (\n%1\n) WHERE %2 >= ?")
                                    .arg(innerSql(), quotedName(columns_[size_t(keyColumn_)].name)));
        }
        if (keyedStatement_) {
            startCursor(keyedStatement_.get(), {key});
            base_ = row;
            startedAtKey_ = true;
            return;
        }
    }
    reloadAround(row, rowsBeforeJump(false));
}

// The number of rows before the first one with the key (empty keys come first).
std::optional<int> TDataSetCursor::rowsBelow(const QVariant& key) {
    const auto& layout = columns_[size_t(keyColumn_)];
    const QString name = quotedName(layout.name);
    std::vector<QVariant> parameters = parameters_;
    parameters.push_back(key);
    try {
        const auto row = vardelo::fb::executeSingle(
            attachment_, transaction_,
            QStringLiteral("SELECT COUNT(*) FROM (\n%1\n) WHERE %2 < ?%3")
                .arg(countableSql(), name,
                     layout.nullable ? QStringLiteral(" OR %1 IS NULL").arg(name) : QString()),
            parameters);
        if (!row.empty())
            return row.front().toInt();
    } catch (const EDatabaseError&) {
    }
    return std::nullopt;
}

bool TDataSetCursor::keyAtEquals(int row, const QVariant& key) const {
    const QVariant rowKey = keyAt(row);
    if (rowKey.isNull())
        return false;
    if (!integerColumn(columns_[size_t(keyColumn_)]))
        return rowKey == key;
    bool ok = false;
    const qlonglong wanted = key.toLongLong(&ok);
    return ok && rowKey.toLongLong() == wanted;
}

// The first row with the key: in the window when it holds that row and the one before it (or the list's
// first row), so that repeated searches for the row in view ask the server nothing; else counted.
std::optional<int> TDataSetCursor::placeOfKey(const QVariant& key) {
    for (int row = base_; row < base_ + int(window_.size()); ++row) {
        if (!keyAtEquals(row, key))
            continue;
        if (row == 0 || row > base_)
            return row;
        break;
    }
    return rowsBelow(key);
}

// Starts a forward cursor on the statement given; the window is emptied for its rows.
void TDataSetCursor::startCursor(IStatement* statement, const std::vector<QVariant>& extra) {
    std::vector<QVariant> parameters = parameters_;
    parameters.insert(parameters.end(), extra.begin(), extra.end());
    window_.clear();
    cursorAtEnd_ = false;
    startedAtKey_ = false;
    Status status;
    try {
        resultSet_.reset();
        vardelo::fb::InputMessage input(statement, parameters);
        resultSet_.reset(statement->openCursor(status.throwing(), transaction_, input.metadata(),
                                               input.buffer(), output_.get(), 0));
    } catch (const FbException& e) {
        cursorAtEnd_ = true;
        vardelo::fb::raise(e);
    }
}

// Runs the statement (again); its first delivered row is row `offset`. Without the offset statement the rows
// before it are fetched and dropped.
void TDataSetCursor::openAt(int offset) {
    IStatement* statement = statement_.get();
    std::vector<QVariant> extra;
    int skipHere = 0;
    if (offset > 0) {
        if (IStatement* withOffset = offsetStatement()) {
            statement = withOffset;
            extra.push_back(QVariant(qlonglong(offset)));
        } else {
            skipHere = offset;
        }
    }
    startCursor(statement, extra);
    base_ = offset - skipHere;
    for (int i = 0; i < skipHere && fetchOne(scratch_); ++i)
        ++base_;
}

bool TDataSetCursor::fetchOne(std::vector<unsigned char>& buffer) {
    if (cursorAtEnd_ || !resultSet_)
        return false;
    buffer.resize(messageLength_);
    Status status;
    try {
        if (resultSet_->fetchNext(status.throwing(), buffer.data()) == IStatus::RESULT_OK)
            return true;
    } catch (const FbException& e) {
        cursorAtEnd_ = true;
        resultSet_.reset();
        vardelo::fb::raise(e);
    }
    // The end: the number of rows is now known.
    cursorAtEnd_ = true;
    resultSet_.reset();
    count_ = base_ + int(window_.size());
    known_ = count_;
    countKnown_ = endSeen_ = true;
    return false;
}

void TDataSetCursor::append(std::vector<unsigned char>& buffer) {
    Row next;
    if (int(window_.size()) >= windowSize_) {
        // The window is full: the oldest row goes, and its buffer takes the next fetch.
        next.raw = std::move(window_.front().raw);
        window_.pop_front();
        ++base_;
    }
    std::swap(next.raw, buffer);
    window_.push_back(std::move(next));
    known_ = std::max(known_, base_ + int(window_.size()));
    // More rows than the server counted (another transaction added some since).
    count_ = std::max(count_, known_);
}

// Moving back, many rows before the wanted one are read with it, so the next moves back find them; jumping
// (a search, the last row, a scroll), only those a grid shows above it.
int TDataSetCursor::rowsBeforeJump(bool movingBack) const {
    const int most = std::min(windowSize_ * 3 / 4, 2000);
    return movingBack ? most : std::min(most, 100);
}

bool TDataSetCursor::ensure(int row) {
    if (row < 0 || (endSeen_ && row >= count_))
        return false;
    const int ahead = row - (base_ + int(window_.size()));
    if (row < base_)
        // Just above a row reached by its key: the grid showing it wants the rows above, not a walk back.
        reloadAround(row, rowsBeforeJump(!startedAtKey_ || base_ - row > rowsBeforeJump(false)));
    else if (ahead > std::min(windowSize_, 4096) && ahead > row / 8 &&
             row - rowsBeforeJump(false) < rowCount() && offsetStatement())
        // Far ahead, where rows are known to exist: the server skips to them faster than they are read.
        reloadAround(row, rowsBeforeJump(false));
    while (row >= base_ + int(window_.size())) {
        if (!fetchOne(scratch_))
            return false;
        append(scratch_);
    }
    return row >= base_;
}

void TDataSetCursor::reloadAround(int row, int before) {
    const int start = std::max(0, row - before);
    openAt(start);
    if (start == 0 || !window_.empty() || cursorAtEnd_)
        return;
    // Peek at the first row: none means the list shrank below it since it was counted; read it anew.
    if (fetchOne(scratch_)) {
        append(scratch_);
        return;
    }
    count_ = known_ = 0;
    countKnown_ = endSeen_ = false;
    openAt(0);
}

void TDataSetCursor::readToEnd() {
    if (endSeen_)
        return;
    // The end may be near: read on a little before asking for the count.
    const int tail = rowsBeforeJump(true) + 1;
    ensure(base_ + int(window_.size()) + tail - 1);
    if (endSeen_)
        return;
    const int rows = count();
    if (!endSeen_ && rows - tail > base_ + int(window_.size()) && offsetStatement())
        reloadAround(rows - 1, rowsBeforeJump(false));
    ensure(INT_MAX);
}

int TDataSetCursor::count() {
    if (countKnown_)
        return count_;
    try {
        const auto row = vardelo::fb::executeSingle(
            attachment_, transaction_, QStringLiteral("SELECT COUNT(*) FROM (\n%1\n)").arg(countableSql()),
            parameters_);
        if (!row.empty()) {
            count_ = std::max(known_, row.front().toInt());
            countKnown_ = true;
            return count_;
        }
    } catch (const EDatabaseError&) {
        // A statement that cannot stand as a derived table (unnamed or repeated columns): read it through.
    }
    ensure(INT_MAX);
    return count_;
}

QVariant TDataSetCursor::value(int row, int column) {
    if (column < 0 || column >= int(columns_.size()) || !ensure(row))
        return QVariant();
    const Row& r = window_[size_t(row - base_)];
    if (r.values)
        return (*r.values)[size_t(column)];
    return vardelo::fb::decodeColumn(columns_[size_t(column)], r.raw.data());
}

const unsigned char* TDataSetCursor::message(int row) {
    if (!ensure(row))
        return nullptr;
    const Row& r = window_[size_t(row - base_)];
    return r.values ? nullptr : r.raw.data();
}

bool TDataSetCursor::testColumn(const Row& row, int column, const ColumnTest& test) const {
    const auto& layout = columns_[size_t(column)];
    return row.values ? test(nullptr, layout, &(*row.values)[size_t(column)])
                      : test(row.raw.data(), layout, nullptr);
}

int TDataSetCursor::findInColumn(int column, const ColumnTest& test, const QVariant& equalTo,
                                 const QString& startsWith) {
    if (column < 0 || column >= int(columns_.size()))
        return -1;
    // The window's rows, when it begins with the first row, are looked at where they are.
    int from = 0;
    if (base_ == 0) {
        for (size_t i = 0; i < window_.size(); ++i)
            if (testColumn(window_[i], column, test))
                return int(i);
        from = int(window_.size());
        if (endSeen_ && from >= count_)
            return -1;
    }
    if (column == keyColumn() && !equalTo.isNull() && integerColumn(columns_[size_t(column)])) {
        // A number the list is ordered by: found in the window, or the rows before it are counted.
        if (const auto position = placeOfKey(equalTo)) {
            known_ = std::max(known_, *position);
            reach(*position, equalTo);
            return ensure(*position) && testColumn(window_[size_t(*position - base_)], column, test)
                       ? *position
                       : -1;
        }
    }
    const int byKey = findByKey(column, test, startsWith);
    if (byKey != -2)
        return byKey;
    return findByScan(column, from, test, startsWith);
}

// Runs a statement over the list's own with its parameters and `extra` ones, handing each row to `onRow`
// until it returns true. False when the statement cannot be run (the list cannot stand as a derived table).
bool TDataSetCursor::scanRows(const QString& sql, const std::vector<QVariant>& extra,
                              const RowVisitor& onRow) {
    std::vector<QVariant> parameters = parameters_;
    parameters.insert(parameters.end(), extra.begin(), extra.end());
    Status status;
    try {
        auto statement = prepare(sql);
        vardelo::fb::Handle<IMessageMetadata> output(statement->getOutputMetadata(status.throwing()));
        const auto layout = vardelo::fb::describeColumns(output.get());
        vardelo::fb::InputMessage input(statement.get(), parameters);
        vardelo::fb::Handle<IResultSet> rows(statement->openCursor(
            status.throwing(), transaction_, input.metadata(), input.buffer(), output.get(), 0));
        std::vector<unsigned char> buffer(output->getMessageLength(status.throwing()));
        while (rows->fetchNext(status.throwing(), buffer.data()) == IStatus::RESULT_OK)
            if (onRow(buffer.data(), layout))
                break;
        return true;
    } catch (const FbException&) {
    } catch (const EDatabaseError&) {
    }
    return false;
}

// In a list ordered by one column, the column searched and that key are fetched alone in the list's order,
// only the rows beginning with `startsWith` when given, and tested on the client. The first row accepted
// gives a key; the rows before that key are counted. -2 when the list is not ordered so, or the row is not
// where it was looked for.
int TDataSetCursor::findByKey(int column, const ColumnTest& test, const QString& startsWith) {
    const int key = keyColumn();
    if (key < 0)
        return -2;
    const QString searched = quotedName(columns_[size_t(column)].name);
    QString sql = column == key ? QStringLiteral("SELECT %1 FROM (\n%2\n)").arg(searched, innerSql())
                                : QStringLiteral("SELECT %1, %2 FROM (\n%3\n)")
                                      .arg(searched, quotedName(columns_[size_t(key)].name), innerSql());
    std::vector<QVariant> extra;
    if (!startsWith.isEmpty()) {
        sql += QStringLiteral(" WHERE %1 STARTING WITH ?").arg(searched);
        extra.push_back(startsWith);
    }
    bool accepted = false;
    QVariant found;
    const bool ran = scanRows(sql, extra, [&](const unsigned char* message, const Layout& layout) {
        accepted = test(message, layout.front(), nullptr);
        if (accepted)
            found = vardelo::fb::decodeColumn(layout.back(), message);
        return accepted;
    });
    if (!ran)
        return -2;
    if (!accepted)
        return -1;
    const auto position = found.isNull() ? std::nullopt : placeOfKey(found);
    if (!position)
        return -2;
    known_ = std::max(known_, *position + 1);
    count_ = std::max(count_, known_);
    reach(*position, found);
    // Rows of equal keys may come in another order here than in the search.
    for (int row = *position; ensure(row) && keyAt(row) == found; ++row)
        if (testColumn(window_[size_t(row - base_)], column, test))
            return row;
    return -2;
}

// Fetches the column alone from the row `from` on and tests it on the client; with a known start of the
// accepted values the server passes only the rows starting so, numbered in the list's order. The found row is
// then checked in the full statement, whose rows of equal order might come in another order, and on a
// mismatch the rows are read through.
int TDataSetCursor::findByScan(int column, int from, const ColumnTest& test, const QString& startsWith) {
    const QString name = quotedName(columns_[size_t(column)].name);
    int found = -1;
    bool ran = false;
    if (!startsWith.isEmpty())
        ran = scanRows(
            QStringLiteral("SELECT rn, c FROM (SELECT ROW_NUMBER() OVER () AS rn, %1 AS c FROM (\n%2\n)) "
                           "WHERE rn > ? AND c STARTING WITH ?")
                .arg(name, innerSql()),
            {QVariant(qlonglong(from)), startsWith}, [&](const unsigned char* message, const Layout& layout) {
                if (!test(message, layout.back(), nullptr))
                    return false;
                found = vardelo::fb::decodeColumn(layout.front(), message).toInt() - 1;
                return true;
            });
    if (!ran) {
        int row = from;
        bool passedAll = true;
        ran = scanRows(QStringLiteral("SELECT %1 FROM (\n%2\n) OFFSET ? ROWS").arg(name, innerSql()),
                       {QVariant(qlonglong(from))}, [&](const unsigned char* message, const Layout& layout) {
                           if (test(message, layout.front(), nullptr)) {
                               found = row;
                               passedAll = false;
                               return true;
                           }
                           ++row;
                           return false;
                       });
        if (ran && passedAll && !countKnown_) {
            // Every row was passed: their number came with it.
            count_ = std::max(known_, row);
            countKnown_ = true;
        }
    }
    if (ran && found < 0)
        return -1;
    if (ran) {
        known_ = std::max(known_, found + 1);
        count_ = std::max(count_, known_);
        if (ensure(found) && testColumn(window_[size_t(found - base_)], column, test))
            return found;
        from = 0;
    }
    // The column cannot be fetched alone, or the rows came in another order: read the rows through.
    for (int row = from; ensure(row); ++row)
        if (testColumn(window_[size_t(row - base_)], column, test))
            return row;
    return -1;
}

void TDataSetCursor::replaceRow(int row, std::vector<QVariant> values) {
    if (!ensure(row))
        return;
    Row& r = window_[size_t(row - base_)];
    r.raw.clear();
    r.values = std::make_unique<std::vector<QVariant>>(std::move(values));
}

// The row was deleted in the dataset's transaction, so running the statement again no longer brings it.
void TDataSetCursor::removeRow(int row) {
    if (!ensure(row))
        return;
    window_.erase(window_.begin() + (row - base_));
    --known_;
    if (countKnown_)
        --count_;
}
