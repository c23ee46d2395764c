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
        statement_ = attachment->prepare(&status, transaction, 0, text.constData(), 3,
                                         IStatement::PREPARE_PREFETCH_METADATA);
        if (statement_->getType(&status) != isc_info_sql_stmt_select &&
            statement_->getType(&status) != isc_info_sql_stmt_select_for_upd) {
            statement_->release();
            statement_ = nullptr;
            throw EDatabaseError(QStringLiteral("Az utasítás nem ad vissza sorokat, nem nyitható meg."));
        }
        vardelo::fb::InputMessage input(statement_, parameters);
        output_ = statement_->getOutputMetadata(&status);
        columns_ = vardelo::fb::describeColumns(output_);
        messageLength_ = output_->getMessageLength(&status);
        resultSet_ =
            statement_->openCursor(&status, transaction, input.metadata(), input.buffer(), output_, 0);
    } catch (const FbException& e) {
        close();
        vardelo::fb::raise(e);
    } catch (...) {
        close();
        throw;
    }
}

TDataSetCursor::~TDataSetCursor() {
    close();
}

void TDataSetCursor::close() {
    Status status;
    if (resultSet_) {
        try {
            resultSet_->close(&status);
        } catch (const FbException&) {
            resultSet_->release();
        }
        resultSet_ = nullptr;
    }
    if (output_) {
        output_->release();
        output_ = nullptr;
    }
    if (statement_) {
        try {
            statement_->free(&status);
        } catch (const FbException&) {
            statement_->release();
        }
        statement_ = nullptr;
    }
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
            if (resultSet_->fetchNext(&status, buffer.get()) != IStatus::RESULT_OK) {
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
