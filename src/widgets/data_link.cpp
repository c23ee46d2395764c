#include "widgets/data_link.h"

#include "data/dataset.h"
#include "data/table.h"

TDataLink::TDataLink(QObject* parent) : QObject(parent) {}

void TDataLink::SetDataSource(TDataSource* source) {
    if (source == source_ && (!source || source->DataSet() == dataSet_))
        return;
    if (source_)
        disconnect(source_, nullptr, this, nullptr);
    source_ = source;
    if (source_) {
        connect(source_, &TDataSource::dataSetChanged, this, &TDataLink::attach);
        connect(source_, &QObject::destroyed, this, [this] {
            source_ = nullptr;
            attach();
        });
    }
    attach();
}

void TDataLink::attach() {
    TDataSet* next = source_ ? source_->DataSet() : nullptr;
    if (dataSet_)
        disconnect(dataSet_, nullptr, this, nullptr);
    dataSet_ = next;
    if (dataSet_) {
        connect(dataSet_, &TDataSet::stateChanged, this, &TDataLink::stateChanged);
        connect(dataSet_, &TDataSet::currentChanged, this, &TDataLink::currentChanged);
        connect(dataSet_, &TDataSet::rowsReset, this, &TDataLink::rowsReset);
        connect(dataSet_, &TDataSet::rowsFetched, this, &TDataLink::rowsFetched);
        connect(dataSet_, &QObject::destroyed, this, [this] {
            dataSet_ = nullptr;
            emit dataSetChanged();
        });
    }
    emit dataSetChanged();
}

bool TDataLink::Active() const {
    return dataSet_ && dataSet_->Active();
}

bool TDataLink::Editing() const {
    return dataSet_ &&
           (dataSet_->State() == TDataSetState::Edit || dataSet_->State() == TDataSetState::Insert);
}

TIBTable* TDataLink::Table() const {
    return qobject_cast<TIBTable*>(dataSet_.data());
}

bool TDataLink::CanModify() const {
    TIBTable* table = Table();
    return table && table->Active() && !table->ReadOnly;
}

TField* TDataLink::Field(const QString& name) const {
    if (!Active() || name.isEmpty())
        return nullptr;
    return dataSet_->FindField(name);
}
