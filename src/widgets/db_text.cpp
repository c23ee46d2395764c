#include "widgets/db_text.h"

#include "data/dataset.h"
#include "widgets/data_link.h"

TDBText::TDBText(QWidget* parent) : QLabel(parent), link_(new TDataLink(this)) {
    setTextFormat(Qt::PlainText);
    connect(link_, &TDataLink::dataSetChanged, this, &TDBText::refresh);
    connect(link_, &TDataLink::stateChanged, this, &TDBText::refresh);
    connect(link_, &TDataLink::currentChanged, this, &TDBText::refresh);
    connect(link_, &TDataLink::rowsReset, this, &TDBText::refresh);
}

TDBText::TDBText(TDataSource* source, const QString& fieldName, QWidget* parent) : TDBText(parent) {
    fieldName_ = fieldName;
    SetDataSource(source);
}

void TDBText::SetDataSource(TDataSource* source) {
    link_->SetDataSource(source);
    refresh();
}

TDataSource* TDBText::DataSource() const {
    return link_->DataSource();
}

void TDBText::SetDataField(const QString& fieldName) {
    fieldName_ = fieldName;
    refresh();
}

void TDBText::refresh() {
    const TField* field = link_->Field(fieldName_);
    const bool hasRow = field && !link_->DataSet()->IsEmpty();
    setText(hasRow ? field->AsString() : QString());
}
