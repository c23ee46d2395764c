#include "widgets/db_lookup_combo_box.h"

#include "data/dataset.h"
#include "widgets/data_link.h"

#include <QAbstractItemView>
#include <QFocusEvent>
#include <QMetaObject>
#include <QScopedValueRollback>
#include <QSignalBlocker>

TDBLookupComboBox::TDBLookupComboBox(QWidget* parent) : QComboBox(parent), link_(new TDataLink(this)) {
    setEditable(false);
    setInsertPolicy(QComboBox::NoInsert);
    setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    setMinimumContentsLength(20);
    setMaxVisibleItems(16);
    connect(link_, &TDataLink::dataSetChanged, this, &TDBLookupComboBox::reload);
    connect(link_, &TDataLink::stateChanged, this, &TDBLookupComboBox::reload);
    connect(link_, &TDataLink::rowsReset, this, &TDBLookupComboBox::reload);
    connect(link_, &TDataLink::currentChanged, this, &TDBLookupComboBox::followDataSet);
    connect(this, qOverload<int>(&QComboBox::activated), this, &TDBLookupComboBox::chosen);
}

void TDBLookupComboBox::SetListSource(TDataSource* source) {
    link_->SetDataSource(source);
    reload();
}

TDataSource* TDBLookupComboBox::ListSource() const {
    return link_->DataSource();
}

TDataSet* TDBLookupComboBox::ListDataSet() const {
    return link_->DataSet();
}

void TDBLookupComboBox::SetListField(const QString& fieldName) {
    listField_ = fieldName;
    reload();
}

// Lists the field of every row. The dataset keeps its current row: the values are read from the fetched rows.
void TDBLookupComboBox::reload() {
    const QSignalBlocker blocker(this);
    clear();
    const TField* field = link_->Field(listField_);
    if (field) {
        TDataSet* dataSet = link_->DataSet();
        const int index = field->Index();
        try {
            const int rows = dataSet->RecordCount();
            QStringList texts;
            texts.reserve(rows);
            for (int row = 0; row < rows; ++row)
                texts << fieldValueText(dataSet->ValueAt(row, index));
            addItems(texts);
        } catch (...) {
            // No half list: the box stays empty, and the failure goes on to the window (and the log).
            clear();
            throw;
        }
    }
    followDataSet();
}

void TDBLookupComboBox::followDataSet() {
    if (following_)
        return;
    const QSignalBlocker blocker(this);
    TDataSet* dataSet = link_->DataSet();
    const int row = link_->Active() && link_->Field(listField_) ? dataSet->CurrentIndex() : -1;
    setCurrentIndex(row < count() ? row : -1);
}

void TDBLookupComboBox::chosen(int index) {
    const TField* field = link_->Field(listField_);
    if (!field || index < 0 || index >= count())
        return;
    TDataSet* dataSet = link_->DataSet();
    {
        const QScopedValueRollback<bool> following(following_, true);
        // The first row with the value, which for equal values may lie above the entry chosen. A failure goes
        // on to the window.
        dataSet->Locate(field->FieldName(), dataSet->ValueAt(index, field->Index()), 0);
    }
    followDataSet();
}

bool TDBLookupComboBox::ChooseIndex(int index) {
    if (index < 0 || index >= count())
        return false;
    setCurrentIndex(index);
    emit activated(index);
    return true;
}

bool TDBLookupComboBox::ChooseText(const QString& text) {
    return ChooseIndex(findText(text, Qt::MatchExactly | Qt::MatchCaseSensitive));
}

// Qt hides the list before it applies the entry clicked in it, so closeUp waits for the event loop to come
// round.
void TDBLookupComboBox::hidePopup() {
    QComboBox::hidePopup();
    QMetaObject::invokeMethod(this, &TDBLookupComboBox::closeUp, Qt::QueuedConnection);
}

void TDBLookupComboBox::focusOutEvent(QFocusEvent* event) {
    QComboBox::focusOutEvent(event);
    // Only a move to another control counts: not the list dropping down, nor the window losing activation.
    const bool listShown = view() && view()->isVisible();
    if (event->reason() != Qt::PopupFocusReason && event->reason() != Qt::ActiveWindowFocusReason &&
        !listShown)
        emit exited();
}
