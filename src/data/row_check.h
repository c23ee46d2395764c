#pragma once

#include "data/database_error.h"

#include <QString>
#include <QStringList>
#include <QVariant>
#include <utility>
#include <vector>

class TDataSet;
class TTransaction;

namespace vardelo {

// A row as a window read it before the clerk began to change it: its table, its key and the values read. A
// save checks the row against it first, so that a change another desk stored meanwhile is never overwritten
// unseen.
struct RowAsRead {
    QString table;     // "FJFEJ"
    QString keyColumn; // "ID_FJFEJ"
    QVariant key;
    std::vector<std::pair<QString, QVariant>> values; // column name and value, as read
    bool isEmpty() const { return table.isEmpty() || key.isNull(); }
};

// The current row of a dataset as read, for the given table (its key column is ID_<table>); a list that joins
// another table brings that table's columns too, which the check leaves out. Empty when the dataset is
// closed, empty, or has no key column of the table.
RowAsRead rowAsRead(TDataSet& dataSet, const QString& table);

inline const QString RowDeletedText = QStringLiteral("Ezt a sort közben egy másik munkahely törölte.");

// A write refused because the row is gone, or because another desk changed it since this desk read it. The
// message names each changed column by its caption, with the value read and the value stored now.
class ERowChanged : public EDatabaseError {
public:
    static ERowChanged deleted();
    static ERowChanged changed(const QStringList& changes);
    bool Deleted() const { return deleted_; }
    // "Megjegyzés: „Első jegy” helyett most „AAA”", one for each changed column.
    const QStringList& Changes() const { return changes_; }

private:
    ERowChanged(const QString& message, bool deleted, QStringList changes);
    bool deleted_;
    QStringList changes_;
};

// Reads the row again in the transaction and locks it, so that no other desk changes it before this
// transaction ends (a desk that holds it uncommitted makes this fail at once as a lock conflict), and raises
// ERowChanged when it is gone or a stored column differs from what was read. Computed columns, columns the
// read did not hold, and the two no clerk writes (F_NYMOD, dated by the journal's triggers, and S_MUNKAIDO)
// are not compared. An empty row is not checked.
void checkRowUnchanged(TTransaction* transaction, const RowAsRead& row);

// Locks the rows of the table whose column has the value until the transaction ends, so that no other desk
// changes or deletes them before this transaction commits; false when there is none. The table and column are
// the program's own names, never typed text.
bool lockRowsWhere(TTransaction* transaction, const QString& table, const QString& column,
                   const QVariant& value);

// An UPDATE or DELETE of one row by its key that changed no row: the row is gone (ERowChanged::deleted()).
void requireRowChanged(int rowsChanged);

// The caption a window shows for a column ("F_MEGJ": "Megjegyzés"); the column's own name for others.
QString columnCaption(const QString& column);

} // namespace vardelo
