#pragma once

#include "data/database_error.h"

#include "widgets/db_grid_model.h"

#include <QHash>
#include <QList>
#include <QString>
#include <QTableView>

class TDataSet;
class TDataSource;

// A grid bound to a data source. The selected row is the dataset's current row: moving the dataset moves the
// selection, and clicking or stepping to a row makes it the dataset's current row. Columns are every field of
// the dataset or the list the screen gives. Clicking a column title emits titleClick with the column's field
// name.
//
// On a writable table (TIBTable with its read-only flag clear) and unless the grid is read-only, cells can be
// edited in place: the first change puts the table into edit state, the typed value goes into the edit
// buffer, and the edit is posted when another row becomes current.
class TDBGrid : public QTableView {
    Q_OBJECT
public:
    explicit TDBGrid(QWidget* parent = nullptr);

    void SetDataSource(TDataSource* source);
    TDataSource* DataSource() const;
    TDataSet* DataSet() const;

    // The columns in order, (field name, title). An empty list shows every field with its display label.
    void SetColumns(const QList<TDBGridColumn>& columns);
    void AddColumn(const QString& fieldName, const QString& title);
    void ClearColumns();
    int ColumnCount() const { return model_->ColumnCount(); }
    QString ColumnFieldName(int column) const { return model_->ColumnFieldName(column); }
    QString ColumnTitle(int column) const { return model_->ColumnTitle(column); }

    void SetReadOnly(bool readOnly);
    bool ReadOnly() const { return readOnly_; }

    TDBGridModel* GridModel() const { return model_; }

signals:
    // A column title was clicked; the field name of the column (also for a column of a name the dataset
    // lacks).
    void titleClick(const QString& fieldName);
    // An edit in a cell or the post of an edited row failed; the screen reports it (reportFailure).
    void dataError(const EDatabaseError& error);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    // A value its column is too narrow for is shown whole in a tip over its cell.
    bool viewportEvent(QEvent* event) override;

private:
    void followDataSet();
    void rowChosen(const QModelIndex& current, const QModelIndex& previous);
    void applyColumnWidths();
    void updateEditTriggers();
    int defaultColumnWidth(int column) const;

    TDBGridModel* model_;
    bool readOnly_ = false;
    bool following_ = false;
    bool applyingWidths_ = false;
    // Widths the clerk dragged, by field name; they survive reopening the dataset.
    QHash<QString, int> userWidths_;
};
