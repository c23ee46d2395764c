#include "data/dataset_cursor.h"

#include "data/dataset_cursor_sql.h"
#include "data/list_plan.h"

#include <algorithm>
#include <climits>
#include <optional>

using namespace Firebird;
using vardelo::fb::Status;
using namespace vardelo::cursor;

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

} // namespace

TDataSetCursor::TDataSetCursor(IAttachment* attachment, ITransaction* transaction, const QString& sql,
                               const std::vector<QVariant>& parameters, int windowSize,
                               std::shared_ptr<const TListPlan> plan)
    : attachment_(attachment), transaction_(transaction), sql_(sql), parameters_(parameters),
      windowSize_(std::max(2, windowSize)), plan_(std::move(plan)) {
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
    if (joinedOrder())
        placeRows();
    else
        openAt(0);
}

// The handles close the cursors and free the statements.
TDataSetCursor::~TDataSetCursor() {
    if (placed_.capacity() > sparePlaces_.capacity()) {
        placed_.clear();
        sparePlaces_.swap(placed_);
    }
}

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
    return vardelo::fb::prepareStatement(attachment_, transaction_, sql);
}

vardelo::fb::Handle<IStatement> TDataSetCursor::prepareSameRows(const QString& sql) {
    Status status;
    try {
        auto statement = prepare(sql);
        vardelo::fb::Handle<IMessageMetadata> output(statement->getOutputMetadata(status.throwing()));
        if (sameLayout(vardelo::fb::describeColumns(output.get()), columns_))
            return statement;
    } catch (const FbException& e) {
        // Not a statement that can stand as a derived table (unnamed or repeated columns, a lock clause).
        if (!refused(e))
            vardelo::fb::raise(e);
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

// Starts a forward cursor on the statement given; the window is emptied for its rows.
void TDataSetCursor::startCursor(IStatement* statement, const std::vector<QVariant>& extra) {
    std::vector<QVariant> parameters = parameters_;
    parameters.insert(parameters.end(), extra.begin(), extra.end());
    window_.clear();
    steps_.clear();
    cursorAtEnd_ = false;
    startedAtKey_ = false;
    resumeFromKey_ = false;
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

bool TDataSetCursor::startChain(std::deque<Step> steps, bool keepWindow) {
    resultSet_.reset();
    if (!keepWindow)
        window_.clear();
    steps_ = std::move(steps);
    cursorAtEnd_ = false;
    startedAtKey_ = false;
    resumeFromKey_ = false;
    if (openNextStep() != StepOpened::Refused)
        return true;
    cursorAtEnd_ = true;
    return false;
}

TDataSetCursor::StepOpened TDataSetCursor::openNextStep() {
    resultSet_.reset();
    if (steps_.empty())
        return StepOpened::NoneLeft;
    const Step step = std::move(steps_.front());
    steps_.pop_front();
    stepStatement_ = prepareSameRows(step.sql);
    if (!stepStatement_) {
        steps_.clear();
        return StepOpened::Refused;
    }
    std::vector<QVariant> parameters = parameters_;
    parameters.insert(parameters.end(), step.extra.begin(), step.extra.end());
    Status status;
    try {
        vardelo::fb::InputMessage input(stepStatement_.get(), parameters);
        resultSet_.reset(stepStatement_->openCursor(status.throwing(), transaction_, input.metadata(),
                                                    input.buffer(), output_.get(), 0));
    } catch (const FbException& e) {
        steps_.clear();
        cursorAtEnd_ = true;
        vardelo::fb::raise(e);
    }
    return StepOpened::Yes;
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
    if (resumeFromKey_ && !window_.empty())
        startChain(stepsFrom(keyAt(base_ + int(window_.size()) - 1), false), true);
    if (cursorAtEnd_)
        return false;
    buffer.resize(messageLength_);
    Status status;
    while (resultSet_ || !steps_.empty()) {
        if (!resultSet_ && openNextStep() != StepOpened::Yes)
            // The chain's statements have the list's shape: the engine took the first, so it takes them all.
            throw EDatabaseError(QStringLiteral("A lista további sorai nem olvashatók be."));
        try {
            if (resultSet_->fetchNext(status.throwing(), buffer.data()) == IStatus::RESULT_OK)
                return true;
        } catch (const FbException& e) {
            cursorAtEnd_ = true;
            resultSet_.reset();
            steps_.clear();
            vardelo::fb::raise(e);
        }
        resultSet_.reset();
    }
    // The end: the number of rows is now known.
    cursorAtEnd_ = true;
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
    if (joinedOrder()) {
        if (row >= placedCount())
            return false;
        if (row < base_ || row >= base_ + int(window_.size())) {
            // Moving back, most of the rows read lie above the row; else a grid's page above it.
            const int rows = std::min(windowSize_, 230);
            const int above = row < base_ ? rows * 3 / 4 : std::min(30, rows / 4);
            readPlaced(std::max(0, row - above), rows);
        }
        return row >= base_ && row < base_ + int(window_.size());
    }
    const int ahead = row - (base_ + int(window_.size()));
    if (row < base_) {
        // Just above a row reached by its key: the grid showing it wants the rows above, not a walk back.
        const int before =
            rowsBeforeJump(!startedAtKey_ || base_ - row > rowsBeforeJump(false)) + (base_ - row);
        if (totalKeys().empty() || base_ - row > rowsBeforeJump(true) || !readBefore(before))
            reloadAround(row, before - (base_ - row));
        startedAtKey_ = false;
    } else if (ahead > std::min(windowSize_, 4096) && ahead > row / 8 &&
               row - rowsBeforeJump(false) < rowCount() && offsetStatement()) {
        // Far ahead, where rows are known to exist: the server skips to them faster than they are read.
        reloadAround(row, rowsBeforeJump(false));
    }
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
    const bool byKey = !totalKeys().empty();
    // The end may be near: read on a little before asking for the count.
    const int tail = rowsBeforeJump(!byKey) + 1;
    ensure(base_ + int(window_.size()) + tail - 1);
    if (endSeen_)
        return;
    const int rows = count();
    if (endSeen_ || rows - tail <= base_ + int(window_.size())) {
        ensure(INT_MAX);
        return;
    }
    if (byKey) {
        // The last rows by the reversed order, the last of them first.
        QStringList order;
        for (size_t i = 0; i < orderKeys().size(); ++i)
            order << keyName(i) + QStringLiteral(" DESC");
        if (startChain({{QStringLiteral("SELECT * FROM (\n%1\n) ORDER BY %2")
                             .arg(countableSql(), order.join(QStringLiteral(", "))),
                         {}}},
                       false)) {
            std::vector<std::vector<unsigned char>> read;
            std::vector<unsigned char> buffer(messageLength_);
            Status status;
            try {
                while (int(read.size()) < tail &&
                       resultSet_->fetchNext(status.throwing(), buffer.data()) == IStatus::RESULT_OK)
                    read.push_back(buffer);
            } catch (const FbException& e) {
                resultSet_.reset();
                cursorAtEnd_ = true;
                vardelo::fb::raise(e);
            }
            resultSet_.reset();
            cursorAtEnd_ = true;
            // Fewer rows than counted: the list shrank since, and these are all of it.
            base_ = int(read.size()) < tail ? 0 : std::max(0, rows - tail);
            for (auto it = read.rbegin(); it != read.rend(); ++it) {
                Row row;
                row.raw = std::move(*it);
                window_.push_back(std::move(row));
            }
            count_ = known_ = base_ + int(window_.size());
            countKnown_ = endSeen_ = true;
            return;
        }
    }
    if (offsetStatement())
        reloadAround(rows - 1, rowsBeforeJump(false));
    ensure(INT_MAX);
}

void TDataSetCursor::assumeCount(int rows) {
    if (countKnown_)
        return;
    count_ = std::max(known_, rows);
    countKnown_ = true;
}

int TDataSetCursor::count() {
    if (countKnown_)
        return count_;
    if (const auto kept = keptCount()) {
        count_ = std::max(known_, *kept);
        countKnown_ = true;
        return count_;
    }
    std::vector<QVariant> parameters;
    const QString source = countSource({}, parameters);
    try {
        const auto row = vardelo::fb::executeSingle(
            attachment_, transaction_, QStringLiteral("SELECT COUNT(*) FROM (\n%1\n)").arg(source),
            parameters);
        if (!row.empty()) {
            count_ = std::max(known_, row.front().toInt());
            countKnown_ = true;
            return count_;
        }
    } catch (const EDatabaseError& e) {
        // A statement that cannot stand as a derived table (unnamed or repeated columns): read it through.
        if (!refused(e))
            throw;
    }
    ensure(INT_MAX);
    return count_;
}

bool TDataSetCursor::drivingCounts() {
    if (drivingCounts_)
        return *drivingCounts_;
    drivingCounts_ = false;
    if (!plan_ || plan_->drivingSql.isEmpty() || !drivingHas({}))
        return false;
    for (const QString& joined : plan_->joinedKeys) {
        const QStringList parts = joined.split(QLatin1Char('.'));
        if (parts.size() != 2 || !plainIdentifier(parts[0]) || !plainIdentifier(parts[1]))
            return false;
        // A key found twice would repeat a driving row in the list.
        bool repeated = false;
        const bool ran = scanRows(
            QStringLiteral("SELECT FIRST 1 1 FROM %1 WHERE %2 IS NOT NULL GROUP BY %2 HAVING COUNT(*) > 1")
                .arg(parts[0], parts[1]),
            {},
            [&](const unsigned char*, const Layout&) {
                repeated = true;
                return true;
            },
            &NoValues);
        if (!ran || repeated)
            return false;
    }
    drivingCounts_ = true;
    return true;
}

bool TDataSetCursor::drivingHas(const std::vector<int>& columns) {
    if (!drivingColumns_) {
        drivingColumns_.emplace();
        Status status;
        try {
            auto statement = prepare(QStringLiteral("SELECT * FROM (\n%1\n)").arg(plan_->drivingSql));
            vardelo::fb::Handle<IMessageMetadata> output(statement->getOutputMetadata(status.throwing()));
            for (const auto& column : vardelo::fb::describeColumns(output.get()))
                drivingColumns_->push_back(column.name);
        } catch (const FbException& e) {
            if (!refused(e))
                vardelo::fb::raise(e);
        }
    }
    if (drivingColumns_->empty())
        return false;
    for (const int column : columns)
        if (std::find(drivingColumns_->begin(), drivingColumns_->end(), columns_[size_t(column)].name) ==
            drivingColumns_->end())
            return false;
    return true;
}

// The plan's driving statement when it counts the same rows and has the columns to filter on; else the list.
QString TDataSetCursor::countSource(const std::vector<int>& columns, std::vector<QVariant>& parameters) {
    if (drivingCounts() && drivingHas(columns)) {
        parameters = plan_->drivingParameters;
        return plan_->drivingSql;
    }
    parameters = parameters_;
    return countableSql();
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
    if (!joinedOrder()) {
        const auto& keys = orderKeys();
        if (!keys.empty() && column == keys.front() && !equalTo.isNull() &&
            integerColumn(columns_[size_t(column)])) {
            // A number the list is ordered by: found in the window, or the rows before it are counted. A
            // value that is no number, or one the column cannot hold, is in no row.
            const auto number = soughtNumber(columns_[size_t(column)], equalTo);
            if (!number)
                return -1;
            const Key key{QVariant(*number)};
            if (const auto position = placeOfKey(key)) {
                known_ = std::max(known_, *position);
                reach(*position, key);
                return ensure(*position) && testColumn(window_[size_t(*position - base_)], column, test)
                           ? *position
                           : -1;
            }
        }
        const int byKey = findByKey(column, test, startsWith);
        if (byKey != -2)
            return byKey;
    } else if (placedByGroups_) {
        const int placed = findPlaced(column, test, equalTo, startsWith);
        if (placed != -2)
            return placed;
    }
    return findByScan(column, from, test, startsWith);
}

// Runs a statement over the list's own with its parameters (or those given) and `extra` ones, handing each
// row to `onRow` until it returns true. False when the engine refuses the statement (the list cannot stand as
// a derived table); any other failure is raised.
bool TDataSetCursor::scanRows(const QString& sql, const std::vector<QVariant>& extra, const RowVisitor& onRow,
                              const std::vector<QVariant>* parameters) {
    std::vector<QVariant> values = parameters ? *parameters : parameters_;
    values.insert(values.end(), extra.begin(), extra.end());
    Status status;
    vardelo::fb::Handle<IStatement> statement;
    try {
        statement = prepare(sql);
    } catch (const FbException& e) {
        if (refused(e))
            return false;
        vardelo::fb::raise(e);
    }
    try {
        vardelo::fb::Handle<IMessageMetadata> output(statement->getOutputMetadata(status.throwing()));
        const auto layout = vardelo::fb::describeColumns(output.get());
        vardelo::fb::InputMessage input(statement.get(), values);
        vardelo::fb::Handle<IResultSet> rows(statement->openCursor(
            status.throwing(), transaction_, input.metadata(), input.buffer(), output.get(), 0));
        std::vector<unsigned char> buffer(output->getMessageLength(status.throwing()));
        while (rows->fetchNext(status.throwing(), buffer.data()) == IStatus::RESULT_OK)
            if (onRow(buffer.data(), layout))
                break;
    } catch (const FbException& e) {
        vardelo::fb::raise(e);
    }
    return true;
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
    if (joinedOrder())
        removePlaced(row);
    --known_;
    if (countKnown_)
        --count_;
}
