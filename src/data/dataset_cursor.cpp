#include "data/dataset_cursor.h"

#include "data/database_error.h"

#include <cstring>

using namespace Firebird;
using vardelo::fb::Status;

TDataSetCursor::TDataSetCursor(IAttachment* attachment, ITransaction* transaction, const QString& sql,
                               const std::vector<QVariant>& parameters) {
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
        vardelo::fb::InputMessage input(statement_.get(), parameters);
        output_.reset(statement_->getOutputMetadata(status.throwing()));
        columns_ = vardelo::fb::describeColumns(output_.get());
        messageLength_ = output_->getMessageLength(status.throwing());
        resultSet_.reset(statement_->openCursor(status.throwing(), transaction, input.metadata(),
                                                input.buffer(), output_.get(), 0));
    } catch (const FbException& e) {
        vardelo::fb::raise(e);
    }
}

// The handles close the cursor and free the statement.
TDataSetCursor::~TDataSetCursor() = default;

void TDataSetCursor::close() {
    resultSet_.reset();
    output_.reset();
    statement_.reset();
    exhausted_ = true;
}

int TDataSetCursor::fetch(int count) {
    if (exhausted_ || !resultSet_)
        return 0;
    Status status;
    int fetched = 0;
    try {
        while (fetched < count) {
            std::unique_ptr<unsigned char[]> buffer(new unsigned char[messageLength_]);
            if (resultSet_->fetchNext(status.throwing(), buffer.get()) != IStatus::RESULT_OK) {
                exhausted_ = true;
                break;
            }
            rows_.push_back(Row{std::move(buffer), nullptr});
            ++fetched;
        }
    } catch (const FbException& e) {
        exhausted_ = true;
        vardelo::fb::raise(e);
    }
    return fetched;
}

QVariant TDataSetCursor::value(int row, int column) const {
    if (row < 0 || row >= int(rows_.size()) || column < 0 || column >= int(columns_.size()))
        return QVariant();
    const Row& r = rows_[row];
    if (r.values)
        return (*r.values)[column];
    return vardelo::fb::decodeColumn(columns_[column], r.raw.get());
}

void TDataSetCursor::replaceRow(int row, std::vector<QVariant> values) {
    rows_.at(row).raw.reset();
    rows_.at(row).values = std::make_unique<std::vector<QVariant>>(std::move(values));
}

void TDataSetCursor::removeRow(int row) {
    rows_.erase(rows_.begin() + row);
}

void TDataSetCursor::appendRow(std::vector<QVariant> values) {
    rows_.push_back(Row{nullptr, std::make_unique<std::vector<QVariant>>(std::move(values))});
}
