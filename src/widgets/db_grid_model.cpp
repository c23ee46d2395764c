#include "widgets/db_grid_model.h"

#include "data/database_error.h"
#include "data/dataset.h"
#include "data/table.h"
#include "widgets/data_link.h"
#include "widgets/field_input.h"

namespace {

// Marks the current row in the row header, as the indicator column of the grid.
QString rowIndicator(TDataSetState state) {
    switch (state) {
    case TDataSetState::Edit:
        return QStringLiteral("✎");
    case TDataSetState::Insert:
        return QStringLiteral("*");
    case TDataSetState::Browse:
    case TDataSetState::Inactive:
        break;
    }
    return QStringLiteral("►");
}

QStringList fieldNames(TDataSet* dataSet) {
    QStringList names;
    if (dataSet && dataSet->Active()) {
        for (int i = 0; i < dataSet->FieldCount(); ++i)
            names << dataSet->Fields(i).FieldName();
    }
    return names;
}

} // namespace

TDBGridModel::TDBGridModel(QObject* parent) : QAbstractTableModel(parent), link_(new TDataLink(this)) {
    connect(link_, &TDataLink::dataSetChanged, this, &TDBGridModel::rebuild);
    connect(link_, &TDataLink::stateChanged, this, &TDBGridModel::stateChanged);
    connect(link_, &TDataLink::rowsReset, this, &TDBGridModel::rowsChanged);
    connect(link_, &TDataLink::rowsFetched, this, &TDBGridModel::SyncRowCount);
    connect(link_, &TDataLink::currentChanged, this, &TDBGridModel::currentChanged);
}

void TDBGridModel::SetDataSource(TDataSource* source) {
    link_->SetDataSource(source);
}

TDataSource* TDBGridModel::DataSource() const {
    return link_->DataSource();
}

TDataSet* TDBGridModel::DataSet() const {
    return link_->DataSet();
}

void TDBGridModel::SetColumns(const QList<TDBGridColumn>& columns) {
    configured_ = columns;
    rebuild();
}

QString TDBGridModel::ColumnFieldName(int column) const {
    if (column < 0 || column >= ColumnCount())
        return {};
    return columns_[column].fieldName;
}

QString TDBGridModel::ColumnTitle(int column) const {
    if (column < 0 || column >= ColumnCount())
        return {};
    return columns_[column].title;
}

TField* TDBGridModel::ColumnField(int column) const {
    if (column < 0 || column >= ColumnCount() || columns_[column].fieldIndex < 0 || !link_->Active())
        return nullptr;
    return &link_->DataSet()->Fields(columns_[column].fieldIndex);
}

void TDBGridModel::SetEditingAllowed(bool allowed) {
    if (allowed == editingAllowed_)
        return;
    editingAllowed_ = allowed;
    if (rows_ > 0 && !columns_.empty())
        emit dataChanged(index(0, 0), index(rows_ - 1, ColumnCount() - 1));
}

bool TDBGridModel::CanEdit() const {
    return editingAllowed_ && link_->CanModify();
}

bool TDBGridModel::inserting() const {
    return link_->Active() && link_->DataSet()->State() == TDataSetState::Insert;
}

int TDBGridModel::datasetRows() const {
    if (!link_->Active())
        return 0;
    return link_->DataSet()->FetchedCount() + (inserting() ? 1 : 0);
}

int TDBGridModel::CurrentRow() const {
    if (!link_->Active())
        return -1;
    if (inserting())
        return link_->DataSet()->FetchedCount();
    return link_->DataSet()->CurrentIndex();
}

void TDBGridModel::rebuild() {
    ++updating_;
    beginResetModel();
    columns_.clear();
    TDataSet* dataSet = link_->DataSet();
    const bool active = link_->Active();
    fieldNames_ = fieldNames(dataSet);
    if (configured_.isEmpty()) {
        for (int i = 0; active && i < dataSet->FieldCount(); ++i) {
            const TField& field = dataSet->Fields(i);
            columns_.push_back({field.FieldName(), field.DisplayLabel(), i});
        }
    } else {
        for (const TDBGridColumn& column : configured_) {
            Column shown{column.FieldName, column.Title, -1};
            if (TField* field = active ? dataSet->FindField(column.FieldName) : nullptr) {
                shown.fieldIndex = field->Index();
                if (shown.title.isEmpty())
                    shown.title = field->DisplayLabel();
            }
            if (shown.title.isEmpty())
                shown.title = column.FieldName;
            columns_.push_back(shown);
        }
    }
    rows_ = datasetRows();
    currentRow_ = CurrentRow();
    wasActive_ = active;
    endResetModel();
    --updating_;
    emit columnsRebuilt();
}

void TDBGridModel::SyncRowCount() {
    const int rows = datasetRows();
    if (rows == rows_)
        return;
    ++updating_;
    if (rows > rows_) {
        beginInsertRows(QModelIndex(), rows_, rows - 1);
        rows_ = rows;
        endInsertRows();
    } else {
        beginRemoveRows(QModelIndex(), rows, rows_ - 1);
        rows_ = rows;
        endRemoveRows();
    }
    --updating_;
}

void TDBGridModel::rowsChanged() {
    if (link_->Active() != wasActive_ || fieldNames(link_->DataSet()) != fieldNames_) {
        rebuild();
        return;
    }
    // The same columns: keep the view (and the widths the clerk set), re-read every row.
    SyncRowCount();
    if (rows_ > 0 && !columns_.empty())
        emit dataChanged(index(0, 0), index(rows_ - 1, ColumnCount() - 1));
    currentChanged();
}

void TDBGridModel::stateChanged() {
    if (link_->Active() != wasActive_ || fieldNames(link_->DataSet()) != fieldNames_) {
        rebuild();
        return;
    }
    // Edit state entered or left: the current row shows or drops its edit buffer.
    SyncRowCount();
    if (currentRow_ >= 0 && currentRow_ < rows_ && !columns_.empty())
        emit dataChanged(index(currentRow_, 0), index(currentRow_, ColumnCount() - 1));
    currentChanged();
    if (currentRow_ >= 0 && currentRow_ < rows_)
        emit rowMarkChanged(currentRow_);
}

void TDBGridModel::currentChanged() {
    SyncRowCount();
    markCurrent(CurrentRow());
}

void TDBGridModel::markCurrent(int row) {
    const int previous = currentRow_;
    currentRow_ = row;
    if (previous == row)
        return;
    if (previous >= 0 && previous < rows_)
        emit rowMarkChanged(previous);
    if (row >= 0 && row < rows_)
        emit rowMarkChanged(row);
}

int TDBGridModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : rows_;
}

int TDBGridModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : ColumnCount();
}

QVariant TDBGridModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rows_ || index.column() >= ColumnCount() || !link_->Active())
        return {};
    const Column& column = columns_[index.column()];
    if (column.fieldIndex < 0)
        return role == Qt::DisplayRole || role == Qt::EditRole ? QVariant(QString()) : QVariant();
    TDataSet* dataSet = link_->DataSet();
    switch (role) {
    case Qt::DisplayRole:
    case Qt::EditRole: {
        // Amounts show as money; what an editor starts from is the plain value, which reads back.
        const auto text = role == Qt::DisplayRole ? fieldDisplayText : fieldValueText;
        if (link_->Editing() && index.row() == CurrentRow())
            return text(dataSet->CurrentValue(column.fieldIndex));
        if (index.row() >= dataSet->FetchedCount())
            return QString();
        return text(dataSet->ValueAt(index.row(), column.fieldIndex));
    }
    case Qt::TextAlignmentRole:
        return QVariant::fromValue(dataSet->Fields(column.fieldIndex).IsNumeric()
                                       ? Qt::Alignment(Qt::AlignRight | Qt::AlignVCenter)
                                       : Qt::Alignment(Qt::AlignLeft | Qt::AlignVCenter));
    default:
        return {};
    }
}

QVariant TDBGridModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation == Qt::Horizontal) {
        if (section < 0 || section >= ColumnCount())
            return {};
        if (role == Qt::DisplayRole)
            return columns_[section].title;
        if (role == Qt::TextAlignmentRole)
            return QVariant::fromValue(Qt::Alignment(Qt::AlignLeft | Qt::AlignVCenter));
        return {};
    }
    if (role == Qt::DisplayRole)
        return section == currentRow_ && link_->Active() ? rowIndicator(link_->DataSet()->State())
                                                         : QString();
    if (role == Qt::TextAlignmentRole)
        return QVariant::fromValue(Qt::Alignment(Qt::AlignCenter));
    return {};
}

Qt::ItemFlags TDBGridModel::flags(const QModelIndex& index) const {
    if (!index.isValid())
        return Qt::NoItemFlags;
    Qt::ItemFlags flags = Qt::ItemIsSelectable | Qt::ItemIsEnabled;
    const TField* field = ColumnField(index.column());
    if (field && !field->Computed() && CanEdit())
        flags |= Qt::ItemIsEditable;
    return flags;
}

bool TDBGridModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (role != Qt::EditRole || !index.isValid() || index.row() >= rows_ || !CanEdit())
        return false;
    TField* field = ColumnField(index.column());
    TIBTable* table = link_->Table();
    if (!field || field->Computed() || !table)
        return false;
    const QString text = value.toString();
    if (text == data(index, Qt::EditRole).toString())
        return false; // nothing changed: the row stays in browse state
    const std::optional<QVariant> parsed = vardelo::fieldValueFromText(field->DataType(), text);
    if (!parsed) {
        emit dataError(EDatabaseError(vardelo::fieldInputErrorText(field->DataType(), text)));
        return false;
    }
    try {
        if (CurrentRow() != index.row()) {
            if (link_->Editing())
                table->Post();
            table->SetRecNo(index.row() + 1);
        }
        if (table->State() == TDataSetState::Browse)
            table->Edit();
        field->SetValue(*parsed);
    } catch (const EDatabaseError& error) {
        emit dataError(error);
        return false;
    }
    emit dataChanged(index.siblingAtColumn(0), index.siblingAtColumn(ColumnCount() - 1));
    return true;
}

// Not while a new row is being inserted: its extra row stays the last one.
bool TDBGridModel::canFetchMore(const QModelIndex& parent) const {
    return !parent.isValid() && link_->Active() && !inserting() && !link_->DataSet()->AllFetched();
}

void TDBGridModel::fetchMore(const QModelIndex& parent) {
    if (!canFetchMore(parent))
        return;
    link_->DataSet()->FetchMore(FetchBatch);
    SyncRowCount();
}
