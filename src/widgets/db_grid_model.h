#pragma once

#include "data/database_error.h"

#include <QAbstractTableModel>
#include <QList>
#include <QString>
#include <QStringList>
#include <vector>

class TDataLink;
class TDataSet;
class TDataSource;
class TField;

// A column of a grid: the field it shows and its title. A field name the dataset does not have gives a column
// of empty cells; an empty title takes the field's display label.
struct TDBGridColumn {
    QString FieldName;
    QString Title;
};

// The rows of a dataset as a table model for TDBGrid. Rows are fetched from the dataset's cursor only as the
// view scrolls to them (canFetchMore / fetchMore), so a grid on a very large table opens at once. The current
// row of a dataset in edit or insert state shows the edit buffer.
class TDBGridModel : public QAbstractTableModel {
    Q_OBJECT
public:
    // Rows asked from the cursor each time the view wants more.
    static constexpr int FetchBatch = 100;

    explicit TDBGridModel(QObject* parent = nullptr);

    TDataLink* Link() const { return link_; }
    void SetDataSource(TDataSource* source);
    TDataSource* DataSource() const;
    TDataSet* DataSet() const;

    // The screen's columns in order; an empty list shows every field of the dataset in its own order.
    void SetColumns(const QList<TDBGridColumn>& columns);
    const QList<TDBGridColumn>& Columns() const { return configured_; }

    // The columns as shown now.
    int ColumnCount() const { return int(columns_.size()); }
    QString ColumnFieldName(int column) const;
    QString ColumnTitle(int column) const;
    // The field behind a column, nullptr when the dataset is closed or has no such field.
    TField* ColumnField(int column) const;

    // Cells of a writable table can be edited when the grid allows it.
    void SetEditingAllowed(bool allowed);
    bool EditingAllowed() const { return editingAllowed_; }
    bool CanEdit() const;

    // The row of the dataset's current row: the extra row at the end while a new row is being inserted, -1
    // when there is none.
    int CurrentRow() const;

    // True while the model changes its rows because the dataset changed; the view must not move the dataset
    // then.
    bool Updating() const { return updating_ > 0; }

    // Brings the row count up to the rows the dataset has fetched (after the dataset moved past them).
    void SyncRowCount();

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;
    bool canFetchMore(const QModelIndex& parent) const override;
    void fetchMore(const QModelIndex& parent) override;

signals:
    // The column set was rebuilt (another dataset, opened or closed, new column list): widths have to be set.
    void columnsRebuilt();
    // An edit could not be written into the edit buffer (text the field cannot hold, a database error).
    void dataError(const EDatabaseError& error);
    // The row's mark (the current row's arrow or edit sign) changed. Not headerDataChanged: a view lays out
    // all its rows again on that, which, on every move of a walk through thousands of rows, cost more than
    // the walk's own statements.
    void rowMarkChanged(int row);

private:
    struct Column {
        QString fieldName;
        QString title;
        int fieldIndex = -1;
    };

    void rebuild();
    void rowsChanged();
    void stateChanged();
    void currentChanged();
    int datasetRows() const;
    bool inserting() const;
    void markCurrent(int row);

    TDataLink* link_;
    QList<TDBGridColumn> configured_;
    std::vector<Column> columns_;
    QStringList fieldNames_;
    int rows_ = 0;
    int currentRow_ = -1;
    bool wasActive_ = false;
    bool editingAllowed_ = false;
    int updating_ = 0;
};
