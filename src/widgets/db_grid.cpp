#include "widgets/db_grid.h"

#include "data/database_error.h"
#include "data/dataset.h"
#include "data/table.h"
#include "data/text_formats.h"
#include "widgets/data_link.h"
#include "widgets/db_text.h"

#include <QEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QScrollBar>
#include <QStyle>
#include <QToolTip>
#include <algorithm>

TDBGrid::TDBGrid(QWidget* parent) : QTableView(parent), model_(new TDBGridModel(this)) {
    setModel(model_);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setAlternatingRowColors(false);
    setWordWrap(false);
    setCornerButtonEnabled(false);
    setSortingEnabled(false);

    QHeaderView* rows = verticalHeader();
    rows->setSectionResizeMode(QHeaderView::Fixed);
    rows->setDefaultSectionSize(fontMetrics().height() + 6);
    rows->setFixedWidth(fontMetrics().horizontalAdvance(QStringLiteral("►")) + 12);
    rows->setSectionsClickable(false);

    QHeaderView* titles = horizontalHeader();
    titles->setSectionsClickable(true);
    titles->setHighlightSections(false);
    titles->setSectionResizeMode(QHeaderView::Interactive);
    titles->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    titles->setStretchLastSection(false);
    connect(titles, &QHeaderView::sectionClicked, this,
            [this](int column) { emit titleClick(model_->ColumnFieldName(column)); });
    connect(titles, &QHeaderView::sectionResized, this, [this](int column, int, int size) {
        if (!applyingWidths_ && column < model_->ColumnCount())
            userWidths_[model_->ColumnFieldName(column)] = size;
    });

    connect(selectionModel(), &QItemSelectionModel::currentRowChanged, this, &TDBGrid::rowChosen);
    connect(model_, &TDBGridModel::columnsRebuilt, this, [this] {
        applyColumnWidths();
        updateEditTriggers();
        followDataSet();
    });
    connect(model_, &TDBGridModel::dataError, this, &TDBGrid::dataError);
    connect(model_, &TDBGridModel::rowMarkChanged, this, [rows](int row) {
        rows->viewport()->update(0, rows->sectionViewportPosition(row), rows->viewport()->width(),
                                 rows->sectionSize(row));
    });
    TDataLink* link = model_->Link();
    connect(link, &TDataLink::currentChanged, this, &TDBGrid::followDataSet);
    connect(link, &TDataLink::rowsReset, this, &TDBGrid::followDataSet);
    connect(link, &TDataLink::stateChanged, this, [this] {
        updateEditTriggers();
        followDataSet();
    });
    updateEditTriggers();
}

void TDBGrid::SetDataSource(TDataSource* source) {
    model_->SetDataSource(source);
}

TDataSource* TDBGrid::DataSource() const {
    return model_->DataSource();
}

TDataSet* TDBGrid::DataSet() const {
    return model_->DataSet();
}

void TDBGrid::SetColumns(const QList<TDBGridColumn>& columns) {
    model_->SetColumns(columns);
}

void TDBGrid::AddColumn(const QString& fieldName, const QString& title) {
    QList<TDBGridColumn> columns = model_->Columns();
    columns.append({fieldName, title});
    model_->SetColumns(columns);
}

void TDBGrid::ClearColumns() {
    model_->SetColumns({});
}

void TDBGrid::SetReadOnly(bool readOnly) {
    readOnly_ = readOnly;
    updateEditTriggers();
}

void TDBGrid::updateEditTriggers() {
    model_->SetEditingAllowed(!readOnly_);
    setEditTriggers(model_->CanEdit() ? QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                                            QAbstractItemView::AnyKeyPressed
                                      : QAbstractItemView::NoEditTriggers);
}

// The dataset moved (or was reopened): select its current row.
void TDBGrid::followDataSet() {
    model_->SyncRowCount();
    const int row = model_->CurrentRow();
    following_ = true;
    if (row < 0 || row >= model_->rowCount()) {
        selectionModel()->clear();
    } else {
        const int column = std::max(currentIndex().column(), 0);
        const QModelIndex target =
            model_->index(row, std::min(column, std::max(model_->ColumnCount() - 1, 0)));
        if (target.isValid()) {
            if (target != currentIndex())
                setCurrentIndex(target);
            else if (!selectionModel()->isRowSelected(row, QModelIndex()))
                selectionModel()->select(target,
                                         QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
            scrollTo(target);
        }
    }
    following_ = false;
}

// The clerk moved to another row: make it the dataset's current row, posting a pending edit first.
void TDBGrid::rowChosen(const QModelIndex& current, const QModelIndex& previous) {
    Q_UNUSED(previous);
    if (following_ || model_->Updating() || !current.isValid())
        return;
    TDataSet* dataSet = model_->DataSet();
    if (!dataSet || !dataSet->Active() || model_->CurrentRow() == current.row())
        return;
    TIBTable* table = model_->Link()->Table();
    try {
        if (table && model_->Link()->Editing())
            table->Post();
        dataSet->SetRecNo(current.row() + 1);
    } catch (const EDatabaseError& error) {
        emit dataError(error);
        // Back to the row whose post failed, once the view has finished its own move.
        QMetaObject::invokeMethod(this, &TDBGrid::followDataSet, Qt::QueuedConnection);
        return;
    }
    followDataSet();
}

void TDBGrid::keyPressEvent(QKeyEvent* event) {
    // Ctrl+Home and Ctrl+End go to the dataset's first and last row, also past the rows fetched so far.
    TDataSet* dataSet = model_->DataSet();
    const bool ctrl = event->modifiers() == Qt::ControlModifier;
    if (ctrl && dataSet && dataSet->Active() && state() != QAbstractItemView::EditingState &&
        (event->key() == Qt::Key_Home || event->key() == Qt::Key_End)) {
        try {
            if (TIBTable* table = model_->Link()->Table(); table && model_->Link()->Editing())
                table->Post();
            if (event->key() == Qt::Key_Home)
                dataSet->First();
            else
                dataSet->Last();
        } catch (const EDatabaseError& error) {
            emit dataError(error);
        }
        followDataSet();
        event->accept();
        return;
    }
    QTableView::keyPressEvent(event);
}

bool TDBGrid::viewportEvent(QEvent* event) {
    if (event->type() != QEvent::ToolTip)
        return QTableView::viewportEvent(event);
    const auto* help = static_cast<QHelpEvent*>(event);
    const QModelIndex index = indexAt(help->pos());
    const QString text = index.isValid() ? index.data(Qt::DisplayRole).toString() : QString();
    const QRect cell = visualRect(index);
    // The cell's text keeps this much off each side.
    const int margin = style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, this) + 1;
    if (!text.isEmpty() && fontMetrics().horizontalAdvance(text) + 2 * margin > cell.width())
        QToolTip::showText(help->globalPos(), text, viewport(), cell);
    else
        QToolTip::hideText();
    return true;
}

// Wide enough for the title and for a typical value of the field: short text columns (codes, ticket, tax and
// account numbers, postcodes) for their full length in digits, which are wider than the average letter; long
// ones (names, addresses, remarks) for a capped number of letters, the clerk can widen them; numbers and
// dates by their usual texts.
int TDBGrid::defaultColumnWidth(int column) const {
    const QFontMetrics values = fontMetrics();
    const int average = values.averageCharWidth();
    int width = 10 * average;
    if (const TField* field = model_->ColumnField(column)) {
        switch (field->DataType()) {
        case TFieldType::String:
            width = vardelo::shownWhole(*field)
                        ? values.horizontalAdvance(QString(std::max(field->Size(), 2), QLatin1Char('0')))
                        : 22 * average;
            break;
        case TFieldType::Date:
            width = values.horizontalAdvance(QStringLiteral("2010.08.31."));
            break;
        case TFieldType::DateTime:
            width = values.horizontalAdvance(QStringLiteral("2010.08.31. 23:59:59"));
            break;
        case TFieldType::Decimal:
            // Money, grouped, up to a billion forints; other decimals as plain numbers.
            width =
                values.horizontalAdvance(field->Scale() == 2 ? vardelo::moneyText(vardelo::Decimal(999999999))
                                                             : QStringLiteral("1234567,89"));
            break;
        default:
            width = values.horizontalAdvance(QStringLiteral("1234567,89"));
            break;
        }
    }
    const int title = horizontalHeader()->fontMetrics().horizontalAdvance(model_->ColumnTitle(column)) + 16;
    return std::clamp(std::max(title, width + 12), 24, 320);
}

void TDBGrid::applyColumnWidths() {
    applyingWidths_ = true;
    for (int column = 0; column < model_->ColumnCount(); ++column) {
        const QString name = model_->ColumnFieldName(column);
        setColumnWidth(column, userWidths_.value(name, defaultColumnWidth(column)));
    }
    applyingWidths_ = false;
}
