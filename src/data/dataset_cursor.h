#pragma once

// The rows of a dataset's statement, read through a forward Firebird cursor and held in a window of at most a
// set number of rows, so a million-row result costs the memory of the window. A row behind the window, or far
// ahead of it, is reached by running the statement again from that row: the server skips the rows before it
// (OFFSET on the statement as a derived table) without working out their columns. A row a little ahead is
// read on from the open cursor. Rows are kept as the raw output messages and decoded when read; rows a table
// changed itself are kept decoded. A statement that cannot stand as a derived table is read through from its
// start.
#include "data/firebird_api.h"

#include <QVariant>
#include <deque>
#include <functional>
#include <memory>
#include <optional>
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
    // Looks at one column of a row: its bytes in a fetched message read with the layout given, or, for a row
    // kept decoded, its value (message null).
    using ColumnTest = std::function<bool(const unsigned char* message,
                                          const vardelo::fb::ColumnLayout& layout, const QVariant* value)>;
    // The first row whose column the test accepts, -1 when none. Rows not in the window are searched by
    // fetching that column alone; a non-text value the accepted rows must equal (`equalTo`), in a list
    // ordered by that column, is found by counting the rows before it; a text every accepted value begins
    // with, byte for byte (`startsWith`), lets the server pass only the rows beginning so.
    int findInColumn(int column, const ColumnTest& test, const QVariant& equalTo = QVariant(),
                     const QString& startsWith = QString());

    void replaceRow(int row, std::vector<QVariant> values);
    void removeRow(int row);

    int windowSize() const { return windowSize_; }

private:
    // How many rows before a row out of the window are read with it.
    int rowsBeforeJump(bool movingBack) const;
    struct Row {
        std::vector<unsigned char> raw;
        std::unique_ptr<std::vector<QVariant>> values;
    };
    // Runs the statement again, its first delivered row being row `offset`.
    void openAt(int offset);
    bool fetchOne(std::vector<unsigned char>& buffer);
    void append(std::vector<unsigned char>& buffer);
    // Starts the window `before` rows before the row, which is behind the window or far ahead of it.
    void reloadAround(int row, int before);
    // The statement text without a closing semicolon, for use inside another statement.
    QString innerSql() const;
    // The same without a closing ORDER BY, for counting.
    QString countableSql() const;
    // The statement delivering the rows from a bound offset on, prepared on first use; null when the
    // statement cannot be wrapped that way (its rows are then skipped on the client).
    Firebird::IStatement* offsetStatement();
    bool testColumn(const Row& row, int column, const ColumnTest& test) const;
    vardelo::fb::Handle<Firebird::IStatement> prepare(const QString& sql);
    // Prepared when its rows have the list's own layout; null when not, or when it cannot be prepared.
    vardelo::fb::Handle<Firebird::IStatement> prepareSameRows(const QString& sql);
    void startCursor(Firebird::IStatement* statement, const std::vector<QVariant>& extra);

    // A list ordered by one column (its key) finds a row's place by counting the rows with smaller keys.
    // The list's single order column, found in its closing ORDER BY; -1 when it has none or several.
    int keyColumn();
    QVariant keyOf(const std::vector<unsigned char>& message) const;
    QVariant keyAt(int row) const;
    void reach(int row, const QVariant& key = QVariant());
    std::optional<int> rowsBelow(const QVariant& key);
    bool keyAtEquals(int row, const QVariant& key) const;
    std::optional<int> placeOfKey(const QVariant& key);
    int findByKey(int column, const ColumnTest& test, const QString& startsWith);
    using Layout = std::vector<vardelo::fb::ColumnLayout>;
    using RowVisitor = std::function<bool(const unsigned char* message, const Layout& layout)>;
    bool scanRows(const QString& sql, const std::vector<QVariant>& extra, const RowVisitor& onRow);
    int findByScan(int column, int from, const ColumnTest& test, const QString& startsWith);

    Firebird::IAttachment* attachment_;
    Firebird::ITransaction* transaction_;
    QString sql_;
    std::vector<QVariant> parameters_;
    int windowSize_;
    std::vector<vardelo::fb::ColumnLayout> columns_;
    vardelo::fb::Handle<Firebird::IStatement> statement_;
    vardelo::fb::Handle<Firebird::IMessageMetadata> output_;
    vardelo::fb::Handle<Firebird::IResultSet> resultSet_;
    vardelo::fb::Handle<Firebird::IStatement> offsetStatement_;
    bool offsetTried_ = false;
    vardelo::fb::Handle<Firebird::IStatement> keyedStatement_;
    bool keyedTried_ = false;
    // The window starts at a row reached by its key, without the rows before it.
    bool startedAtKey_ = false;
    int keyColumn_ = -1;
    bool keyTried_ = false;
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
