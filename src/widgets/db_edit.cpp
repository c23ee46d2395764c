#include "widgets/db_edit.h"

#include "data/database_error.h"
#include "data/dataset.h"
#include "data/table.h"
#include "widgets/data_link.h"
#include "widgets/field_input.h"

TDBEdit::TDBEdit(QWidget* parent) : QLineEdit(parent), link_(new TDataLink(this)) {
    connect(link_, &TDataLink::dataSetChanged, this, &TDBEdit::refresh);
    connect(link_, &TDataLink::stateChanged, this, &TDBEdit::refresh);
    connect(link_, &TDataLink::currentChanged, this, &TDBEdit::refresh);
    connect(link_, &TDataLink::rowsReset, this, &TDBEdit::refresh);
    connect(this, &QLineEdit::textEdited, this, &TDBEdit::typed);
    refresh();
}

TDBEdit::TDBEdit(TDataSource* source, const QString& fieldName, QWidget* parent) : TDBEdit(parent) {
    fieldName_ = fieldName;
    SetDataSource(source);
}

void TDBEdit::SetDataSource(TDataSource* source) {
    link_->SetDataSource(source);
    refresh();
}

TDataSource* TDBEdit::DataSource() const {
    return link_->DataSource();
}

void TDBEdit::SetDataField(const QString& fieldName) {
    fieldName_ = fieldName;
    refresh();
}

void TDBEdit::SetReadOnly(bool readOnly) {
    readOnly_ = readOnly;
    refresh();
}

bool TDBEdit::CanWrite() const {
    const TField* field = link_->Field(fieldName_);
    return !readOnly_ && field && !field->Computed() && link_->CanModify();
}

void TDBEdit::refresh() {
    if (writing_)
        return; // our own write into the edit buffer: keep the text and the cursor as the clerk left them
    const TField* field = link_->Field(fieldName_);
    const bool hasRow = field && (link_->Editing() || !link_->DataSet()->IsEmpty());
    setText(hasRow ? field->AsString() : QString());
    setCursorPosition(0);
    setReadOnly(!CanWrite());
    invalid_ = false;
}

void TDBEdit::typed(const QString& text) {
    TField* field = link_->Field(fieldName_);
    TIBTable* table = link_->Table();
    if (!CanWrite() || !field || !table)
        return;
    const std::optional<QVariant> value = vardelo::fieldValueFromText(field->DataType(), text);
    invalid_ = !value;
    if (!value)
        return;
    writing_ = true;
    try {
        if (table->State() == TDataSetState::Browse)
            table->Edit();
        field->SetValue(*value);
    } catch (const EDatabaseError& error) {
        writing_ = false;
        emit dataError(error);
        refresh();
        return;
    }
    writing_ = false;
}

void TDBEdit::focusOutEvent(QFocusEvent* event) {
    QLineEdit::focusOutEvent(event);
    if (invalid_) {
        const TField* field = link_->Field(fieldName_);
        if (field)
            emit dataError(EDatabaseError(vardelo::fieldInputErrorText(field->DataType(), text())));
    }
}
