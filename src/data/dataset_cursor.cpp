#include "data/dataset_cursor.h"

#include "data/database_error.h"

#include <algorithm>
#include <climits>

using namespace Firebird;
using vardelo::fb::Status;

TDataSetCursor::TDataSetCursor(IAttachment* attachment, ITransaction* transaction, const QString& sql,
                               const std::vector<QVariant>& parameters, int windowSize)
    : attachment_(attachment), transaction_(transaction), sql_(sql), parameters_(parameters),
      windowSize_(std::max(2, windowSize)) {
    if (!attachment)
        throw EDatabaseError(QStringLiteral("Nincs kapcsolat az adatbázissal."));
    Status status;
    try {
        const QByteArray text = vardelo::fb::encodeSql(sql);
        statement_.reset(attachment->prepare(status.throwing(), transaction, 0, text.constData(), 3,
                                             IStatement::PREPARE_PREFETCH_METADATA));
        const unsigned type = statement_->getType(status.throwing());
        if (type != isc_info_sql_stmt_select && type != isc_info_sql_stmt_select_for_upd)
            throw EDatabaseError(QStringLiteral("Az utasítás nem ad vissza sorokat, nem nyitható meg."));
        output_.reset(statement_->getOutputMetadata(status.throwing()));
        columns_ = vardelo::fb::describeColumns(output_.get());
        messageLength_ = output_->getMessageLength(status.throwing());
    } catch (const FbException& e) {
        vardelo::fb::raise(e);
    }
    open();
}

// The handles close the cursor and free the statement.
TDataSetCursor::~TDataSetCursor() = default;

// Runs the statement (again) from its first row.
void TDataSetCursor::open() {
    window_.clear();
    base_ = 0;
    cursorAtEnd_ = false;
    Status status;
    try {
        resultSet_.reset();
        vardelo::fb::InputMessage input(statement_.get(), parameters_);
        resultSet_.reset(statement_->openCursor(status.throwing(), transaction_, input.metadata(),
                                                input.buffer(), output_.get(), 0));
    } catch (const FbException& e) {
        cursorAtEnd_ = true;
        vardelo::fb::raise(e);
    }
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

bool TDataSetCursor::ensure(int row) {
    if (row < 0 || (endSeen_ && row >= count_))
        return false;
    if (row < base_)
        reloadAround(row);
    while (row >= base_ + int(window_.size())) {
        if (!fetchOne(scratch_))
            return false;
        Row next;
        if (int(window_.size()) >= windowSize_) {
            // The window is full: the oldest row goes, and its buffer takes the next fetch.
            next.raw = std::move(window_.front().raw);
            window_.pop_front();
            ++base_;
        }
        std::swap(next.raw, scratch_);
        window_.push_back(std::move(next));
        known_ = std::max(known_, base_ + int(window_.size()));
        // More rows than the server counted (another transaction added some since).
        count_ = std::max(count_, known_);
    }
    return row >= base_;
}

// Runs the statement again and reads up to a window around the row, most of it before the row: the row was
// wanted while moving back.
void TDataSetCursor::reloadAround(int row) {
    const int start = std::max(0, row + windowSize_ / 4 + 1 - windowSize_);
    open();
    for (int i = 0; i < start; ++i) {
        if (!fetchOne(scratch_))
            return;
        ++base_;
    }
    while (int(window_.size()) < windowSize_ && fetchOne(scratch_)) {
        Row next;
        std::swap(next.raw, scratch_);
        window_.push_back(std::move(next));
    }
    known_ = std::max(known_, base_ + int(window_.size()));
    count_ = std::max(count_, known_);
}

void TDataSetCursor::readToEnd() {
    if (!endSeen_)
        ensure(INT_MAX);
}

int TDataSetCursor::count() {
    if (countKnown_)
        return count_;
    QString sql = sql_.trimmed();
    while (sql.endsWith(QLatin1Char(';')))
        sql = sql.chopped(1).trimmed();
    try {
        const auto row = vardelo::fb::executeSingle(
            attachment_, transaction_, QStringLiteral("SELECT COUNT(*) FROM (\n%1\n)").arg(sql), parameters_);
        if (!row.empty()) {
            count_ = std::max(known_, row.front().toInt());
            countKnown_ = true;
            return count_;
        }
    } catch (const EDatabaseError&) {
        // A statement that cannot stand as a derived table (unnamed or repeated columns): read it through.
    }
    readToEnd();
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

int TDataSetCursor::find(
    int from, const std::function<bool(const unsigned char*, const std::vector<QVariant>*)>& test) {
    for (int row = std::max(0, from); ensure(row); ++row) {
        const Row& r = window_[size_t(row - base_)];
        if (r.values ? test(nullptr, r.values.get()) : test(r.raw.data(), nullptr))
            return row;
    }
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
