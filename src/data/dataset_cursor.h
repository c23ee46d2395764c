#pragma once

// The open Firebird cursor of a dataset and the rows fetched from it so far. Fetched rows are kept as the raw
// output messages and decoded when read; rows a table changed itself are kept decoded.
#include "data/firebird_api.h"

#include <QVariant>
#include <memory>
#include <vector>

class TDataSetCursor {
public:
    TDataSetCursor(Firebird::IAttachment* attachment, Firebird::ITransaction* transaction, const QString& sql,
                   const std::vector<QVariant>& parameters);
    ~TDataSetCursor();
    TDataSetCursor(const TDataSetCursor&) = delete;
    TDataSetCursor& operator=(const TDataSetCursor&) = delete;

    const std::vector<vardelo::fb::ColumnLayout>& columns() const { return columns_; }
    int rowCount() const { return int(rows_.size()); }
    bool exhausted() const { return exhausted_; }
    // Fetches up to count more rows; returns how many came.
    int fetch(int count);
    QVariant value(int row, int column) const;

    void replaceRow(int row, std::vector<QVariant> values);
    void removeRow(int row);
    void appendRow(std::vector<QVariant> values);

    // Ends the cursor on the server; the rows already fetched stay readable.
    void close();

private:
    struct Row {
        std::unique_ptr<unsigned char[]> raw;
        std::unique_ptr<std::vector<QVariant>> values;
    };
    std::vector<vardelo::fb::ColumnLayout> columns_;
    std::vector<Row> rows_;
    vardelo::fb::Handle<Firebird::IStatement> statement_;
    vardelo::fb::Handle<Firebird::IMessageMetadata> output_;
    vardelo::fb::Handle<Firebird::IResultSet> resultSet_;
    unsigned messageLength_ = 0;
    bool exhausted_ = false;
};
