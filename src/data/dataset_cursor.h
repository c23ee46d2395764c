#pragma once

// The rows of a dataset's statement, read through a forward Firebird cursor and held in a window of at most a
// set number of rows, so a million-row result costs the memory of the window. A row a little ahead is read on
// from the open cursor. A row far away is reached by running the statement again from that row: the server
// skips the rows before it (OFFSET on the statement as a derived table) without working out their columns.
// Rows are kept as the raw output messages and decoded when read; rows a table changed itself are kept
// decoded. A statement that cannot stand as a derived table is read through from its start.
//
// A list whose plan (data/list_plan.h) says its order is total is read by its order's keys instead: its last
// rows by the reversed order, the rows before or after the window from the key of the window's first or last
// row, a row found by a search from its key; so the server walks an index from where the rows are and never
// passes the rows before them. The plan's driving statement counts the rows without the joins. A list
// ordered by a joined table's column is ordered on the client from the driving rows' links and the joined
// table's ranks, and its rows are read by their keys. Where the database keeps the number of driving rows
// of each link, the list is counted from those numbers, and ordered by the joined column in groups of one
// rank whose rows are read when they are first wanted, so neither reads every driving row.
#include "data/firebird_api.h"

#include <QHash>
#include <QVariant>
#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

struct TListPlan;

class TDataSetCursor {
public:
    TDataSetCursor(Firebird::IAttachment* attachment, Firebird::ITransaction* transaction, const QString& sql,
                   const std::vector<QVariant>& parameters, int windowSize,
                   std::shared_ptr<const TListPlan> plan = nullptr);
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
    // Reads the last rows; afterwards rowCount() is the number of rows.
    void readToEnd();
    // Counts the rows on the server without reading them, or reads to the end when the statement cannot be
    // counted that way.
    int count();
    // Takes the number of rows as known without counting them (a list reopened after one row was added to
    // it, whose rows were counted a moment before).
    void assumeCount(int rows);
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
    using Layout = std::vector<vardelo::fb::ColumnLayout>;
    using Key = std::vector<QVariant>;
    struct Row {
        std::vector<unsigned char> raw;
        std::unique_ptr<std::vector<QVariant>> values;
    };
    // One statement of a chain that reads the list on from a key: its text and its values after the list's.
    struct Step {
        QString sql;
        std::vector<QVariant> extra;
    };
    // A row of a list ordered by a joined column: where its joined row's order puts it, its driving key and
    // its joined row's key (0 without one).
    struct Placed {
        qint64 rank = 0;
        qint64 drivingKey = 0;
        qint64 joinedKey = 0;
    };

    // How many rows before a row out of the window are read with it.
    int rowsBeforeJump(bool movingBack) const;
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
    // Prepared when its rows have the list's own layout; null when the engine refuses to wrap the statement
    // so, or the rows differ.
    vardelo::fb::Handle<Firebird::IStatement> prepareSameRows(const QString& sql);
    // Starts a cursor on the statement, or on the first step of a chain whose further steps follow when it
    // ends.
    void startCursor(Firebird::IStatement* statement, const std::vector<QVariant>& extra);
    // False when the engine refuses the chain's statements. Keeping the window, the chain reads on after it.
    bool startChain(std::deque<Step> steps, bool keepWindow);
    enum class StepOpened { Yes, NoneLeft, Refused };
    StepOpened openNextStep();

    // The columns of the list's closing ORDER BY (plain names or numbers of its columns, ascending), empty
    // when it has none or another kind; a column the server can compare with a bound value.
    const std::vector<int>& orderKeys();
    // The order keys when the plan says they order the rows totally, else empty.
    const std::vector<int>& totalKeys();
    Key keyAt(int row);
    QString keyName(size_t item);
    // The steps reading the rows from a key (its first keys, `values.size()` of them) on: from the first row
    // with the key when inclusive, else from the row after the last such row.
    std::deque<Step> stepsFrom(const Key& values, bool inclusive);
    // The steps reading backwards the rows before the row with the whole key.
    std::deque<Step> stepsBefore(const Key& values);
    // Reads `rows` rows before the window's first row into the window; false when it could not.
    bool readBefore(int rows);
    void reach(int row, const Key& key = {});
    // The number of rows before the first one with the key (its first keys); empty keys come first.
    std::optional<int> rowsBelow(const Key& key);
    bool keyAtEquals(int row, const Key& key);
    std::optional<int> placeOfKey(const Key& key);
    int findByKey(int column, const ColumnTest& test, const QString& startsWith);
    using RowVisitor = std::function<bool(const unsigned char* message, const Layout& layout)>;
    // Runs the statement on its rows; false when the engine refuses the statement.
    bool scanRows(const QString& sql, const std::vector<QVariant>& extra, const RowVisitor& onRow,
                  const std::vector<QVariant>* parameters = nullptr);
    int findByScan(int column, int from, const ColumnTest& test, const QString& startsWith);

    // The plan's driving statement, when it can be counted in place of the list: the joined keys are unique.
    bool drivingCounts();
    // Whether the driving statement has these columns of the list (by name).
    bool drivingHas(const std::vector<int>& columns);
    // The statement and values to count the list's rows by, able to filter on the columns given.
    QString countSource(const std::vector<int>& columns, std::vector<QVariant>& parameters);

    // The number of rows as the database keeps it; none when the plan has no kept numbers, the database
    // does not keep them (yet), or they cannot stand for the list's count.
    std::optional<int> keptCount();
    bool keptCountsWhole();
    QString keptCountsSource() const;

    // A list ordered by a joined column: places every row, then reads the rows by their keys.
    bool joinedOrder();
    void placeRows();
    // The joined rows' ranks by their links.
    struct JoinedRanks {
        struct Joined {
            qint64 rank;
            qint64 key;
        };
        QHash<QByteArray, std::vector<Joined>> byLink;
    };
    // The same from the kept numbers, in groups of one rank; false when there are none to place by.
    bool placeByKeptCounts(const JoinedRanks& ranks);
    int placedCount() const { return placedByGroups_ ? groupedRows_ : int(placed_.size()); }
    // The place of a row of the placed list, whose group readGroups() has read.
    const Placed& placedAt(int row) const;
    size_t groupOf(int row) const;
    // Reads the rows of the groups holding rows [first, last) that were not read yet.
    void readGroups(int first, int last);
    void removePlaced(int row);
    // The first row of the list placed in groups whose column the test accepts, found from the driving rows
    // the server finds by the driving key or by a text the value begins with; -2 when it cannot be found so.
    int findPlaced(int column, const ColumnTest& test, const QVariant& equalTo, const QString& startsWith);
    // Reads rows [first, first + rows) of the placed list into the window, which then holds them.
    void readPlaced(int first, int rows);

    Firebird::IAttachment* attachment_;
    Firebird::ITransaction* transaction_;
    QString sql_;
    std::vector<QVariant> parameters_;
    int windowSize_;
    std::shared_ptr<const TListPlan> plan_;
    std::vector<vardelo::fb::ColumnLayout> columns_;
    vardelo::fb::Handle<Firebird::IStatement> statement_;
    vardelo::fb::Handle<Firebird::IMessageMetadata> output_;
    // Statements before the cursor, which goes first.
    vardelo::fb::Handle<Firebird::IStatement> stepStatement_;
    vardelo::fb::Handle<Firebird::IStatement> offsetStatement_;
    vardelo::fb::Handle<Firebird::IResultSet> resultSet_;
    std::deque<Step> steps_;
    bool offsetTried_ = false;
    // The window starts at a row reached by its key, without the rows before it.
    bool startedAtKey_ = false;
    std::optional<std::vector<int>> orderKeys_;
    std::vector<int> totalKeys_;
    bool totalTried_ = false;
    std::optional<bool> drivingCounts_;
    std::optional<std::vector<QString>> drivingColumns_;
    std::optional<bool> joined_;
    std::vector<Placed> placed_;
    // The placed list in groups: the rows of one rank, first among them the group's first row.
    struct PlacedGroup {
        qint64 rank = 0;
        int first = 0;
        int rows = 0;
        // The links whose driving rows the group holds (none: an empty link), each with its joined row's
        // key (0 without one).
        struct Part {
            std::optional<QByteArray> link;
            QString text; // the link as a value to look the rows up by
            qint64 joinedKey = 0;
        };
        std::vector<Part> parts;
        bool read = false;
        std::vector<Placed> placed;
    };
    std::vector<PlacedGroup> groups_;
    bool placedByGroups_ = false;
    // The ranks the groups were placed by, which tell the groups of a link's rows.
    JoinedRanks groupRanks_;
    int groupedRows_ = 0;
    // The rows of the groups read so far, let go of past a limit.
    size_t groupRowsRead_ = 0;
    std::optional<bool> keptWhole_;
    // The places of the last list let go, kept for the next one: a hundred thousand rows' places are
    // megabytes the system would otherwise hand out page by page again for each sort.
    static inline thread_local std::vector<Placed> sparePlaces_;
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
    // The open cursor no longer delivers the row after the window (rows were dropped from its end): the
    // rows after it are read from the last row's key.
    bool resumeFromKey_ = false;
    std::vector<unsigned char> scratch_;
};
