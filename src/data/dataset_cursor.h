#pragma once

// The rows of a dataset's statement, read through a forward Firebird cursor and held in a window of at most a
// set number of rows, so a million-row result costs the memory of the window. A row behind the window is read
// again by running the statement anew and skipping to it; a row ahead is read on from the open cursor. Rows
// are kept as the raw output messages and decoded when read; rows a table changed itself are kept decoded.
#include "data/firebird_api.h"

#include <QVariant>
#include <deque>
#include <functional>
#include <memory>
#include <vector>

class TDataSetCursor {
public:
    TDataSetCursor(Firebird::IAttachment* attachment, Firebird::ITransaction* transaction, const QString& sql,
                   const std::vector<QVariant>& parameters, int windowSize);
    ~TDataSetCursor();
    TDataSetCursor(const TDataSetCursor&) = delete;
    TDataSetCursor& operator=(const TDataSetCursor&) = delete;

    const std::vector<vardelo::fb::ColumnLayout>& columns() const { return columns_; }
    // Rows known to exist: every row once the end was reached, otherwise the rows read so far.
    int rowCount() const { return countKnown_ ? count_ : known_; }
    // True once the number of rows is known (the end was reached, or the server counted them).
    bool exhausted() const { return countKnown_; }
    // Makes the row readable; false when there is no such row.
    bool ensure(int row);
    // Reads on to the end, keeping the last rows; afterwards rowCount() is the number of rows.
    void readToEnd();
    // Counts the rows on the server without reading them, or reads to the end when the statement cannot be
    // counted that way.
    int count();
    QVariant value(int row, int column);
    // The output message of a row as fetched, nullptr for a row kept decoded or missing.
    const unsigned char* message(int row);
    // The first row from `from` on whose message (or decoded values) the test accepts, -1 when none.
    int find(int from, const std::function<bool(const unsigned char*, const std::vector<QVariant>*)>& test);

    void replaceRow(int row, std::vector<QVariant> values);
    void removeRow(int row);

    int windowSize() const { return windowSize_; }

private:
    struct Row {
        std::vector<unsigned char> raw;
        std::unique_ptr<std::vector<QVariant>> values;
    };
    void open();
    bool fetchOne(std::vector<unsigned char>& buffer);
    void reloadAround(int row);

    Firebird::IAttachment* attachment_;
    Firebird::ITransaction* transaction_;
    QString sql_;
    std::vector<QVariant> parameters_;
    int windowSize_;
    std::vector<vardelo::fb::ColumnLayout> columns_;
    vardelo::fb::Handle<Firebird::IStatement> statement_;
    vardelo::fb::Handle<Firebird::IMessageMetadata> output_;
    vardelo::fb::Handle<Firebird::IResultSet> resultSet_;
    unsigned messageLength_ = 0;
    // The window holds rows [base_, base_ + window_.size()); the open cursor delivers row base_ + size next.
    std::deque<Row> window_;
    int base_ = 0;
    // The most rows seen so far; the number of rows once the end was reached or the server counted them.
    int known_ = 0;
    int count_ = 0;
    bool countKnown_ = false;
    // A cursor reached the end: count_ is what it delivered.
    bool endSeen_ = false;
    // The cursor has delivered its last row (it may be re-run for earlier rows).
    bool cursorAtEnd_ = false;
    std::vector<unsigned char> scratch_;
};
