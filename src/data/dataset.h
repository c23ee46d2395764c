#pragma once

#include "data/field.h"

#include <QObject>
#include <QString>
#include <QVariant>
#include <memory>
#include <vector>

class TConnection;
class TTransaction;
class TDataSetCursor;
struct TListPlan;
namespace vardelo::fb {
struct ColumnLayout;
}

enum class TDataSetState { Inactive, Browse, Edit, Insert };

enum TLocateOption { loCaseInsensitive = 1, loPartialKey = 2 };
using TLocateOptions = int;

// A dataset over one SELECT statement, read through an open cursor. Rows are fetched as they are needed, so
// opening costs the same for ten rows as for a million, and only a window of them is kept (WindowSize rows),
// so memory stays the same too; Last and Locate read through the rows without keeping them, RecordCount asks
// the server for a count.
//
// Position rules: after Open the first row is current and Bof is true; Next on the last row sets Eof and
// stays; Prior on the first row sets Bof and stays. RecNo counts from 1 (0 when empty).
class TDataSet : public QObject {
    Q_OBJECT
public:
    TDataSet(const QString& name, TConnection* connection, TTransaction* transaction,
             QObject* parent = nullptr);
    ~TDataSet() override;

    TConnection* Connection() const { return connection_; }
    TTransaction* Transaction() const { return transaction_; }

    void Open();
    void Close();
    bool Active() const { return state_ != TDataSetState::Inactive; }
    void SetActive(bool active);
    TDataSetState State() const { return state_; }

    void First();
    void Next();
    void Prior();
    void Last();
    int MoveBy(int distance);
    bool Eof() const { return eof_; }
    bool Bof() const { return bof_; }
    bool IsEmpty() const;
    int RecNo() const;
    void SetRecNo(int recNo);
    // The server's count of the rows (read through when the statement cannot be counted apart).
    int RecordCount();

    // The most rows kept at once; the next Open uses it. DefaultWindowSize is what new datasets take.
    static int DefaultWindowSize;
    int WindowSize() const { return windowSize_; }
    void SetWindowSize(int rows);

    int FieldCount() const { return int(fields_.size()); }
    TField& Fields(int index) { return *fields_.at(index); }
    TField* FindField(const QString& name);
    // Raises EDatabaseError for a name the dataset does not have.
    TField& FieldByName(const QString& name);

    // Searches from the first row; on a match the row becomes current and true is returned, otherwise the
    // position stays. Partial: the field begins with the value. Case-insensitive folds every letter,
    // Hungarian accented ones included; accents themselves still count (o is not ó).
    bool Locate(const QString& fieldName, const QVariant& value, TLocateOptions options);

    // For grids: rows known so far (all of them once AllFetched), whether the end was reached, fetching a
    // further batch, and the value of any known row (read again from the server when it left the window).
    int FetchedCount() const;
    bool AllFetched() const;
    int FetchMore(int count);
    QVariant ValueAt(int row, int fieldIndex) const;
    // The bytes of a row as fetched and where each column lies in them, for readers of many rows that need
    // no QVariant made of every value; nullptr for a row kept decoded (one the dataset changed itself) or
    // missing: read that one by ValueAt.
    const unsigned char* MessageAt(int row) const;
    const std::vector<vardelo::fb::ColumnLayout>& ColumnLayouts() const;
    // Zero-based index of the current row, -1 when empty or closed.
    int CurrentIndex() const { return IsEmpty() ? -1 : current_; }

    // Used by TField; a table in edit or insert state answers from its edit buffer.
    virtual QVariant CurrentValue(int fieldIndex) const;
    virtual void SetFieldValue(int fieldIndex, const QVariant& value);

signals:
    // Opened, closed, or the edit state changed.
    void stateChanged();
    // Another row became current.
    void currentChanged();
    // The rows themselves changed (a post, delete or refresh); views re-read them.
    void rowsReset();
    // More rows were fetched from the cursor.
    void rowsFetched(int first, int last);

protected:
    // The statement the dataset opens, and its bound input values in the order of the statement's markers.
    virtual QString SelectStatement() const = 0;
    virtual std::vector<QVariant> SelectParameters() const { return {}; }
    // What lets the list be read by cheaper statements (data/list_plan.h), its markers already bound; none by
    // default.
    virtual std::shared_ptr<const TListPlan> ListPlan() const { return nullptr; }
    // Called after the fields are known, so subclasses can set labels or flags.
    virtual void FieldsCreated() {}
    virtual void BeforeClose() {}
    // Called before the cursor moves; a table posts its pending edit here.
    virtual void CheckBrowseMode() {}

    void setState(TDataSetState state);
    bool ensureFetched(int index);
    void moveTo(int index);
    void replaceRow(int index, const std::vector<QVariant>& values);
    void removeRow(int index);
    // Runs the statement anew (after an insert) with the first row current.
    void reopenCursor();

    std::vector<std::unique_ptr<TField>> fields_;
    std::unique_ptr<TDataSetCursor> cursor_;
    int current_ = 0;
    bool bof_ = true;
    bool eof_ = true;

private:
    friend class TTransaction;
    void closeForTransactionEnd();

    TConnection* connection_;
    TTransaction* transaction_;
    TDataSetState state_ = TDataSetState::Inactive;
    int windowSize_ = DefaultWindowSize;
};

// Binds screens and controls to a dataset, as the module's DS.. components do.
class TDataSource : public QObject {
    Q_OBJECT
public:
    TDataSource(const QString& name, TDataSet* dataSet, QObject* parent = nullptr);
    TDataSet* DataSet() const { return dataSet_; }
    void SetDataSet(TDataSet* dataSet);

signals:
    void dataSetChanged();

private:
    TDataSet* dataSet_;
};
