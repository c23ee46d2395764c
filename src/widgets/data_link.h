#pragma once

// The datasets are complete here: a QPointer needs its class.
#include "data/dataset.h"

#include <QObject>
#include <QPointer>
#include <QString>

class TIBTable;

// The connection of one control to a data source: follows the source when it is switched to another dataset
// and forwards the signals of whatever dataset it currently holds. A control connects to the link only, so it
// never has to re-wire itself, and it never touches a dataset that has been destroyed.
class TDataLink : public QObject {
    Q_OBJECT
public:
    explicit TDataLink(QObject* parent = nullptr);

    void SetDataSource(TDataSource* source);
    TDataSource* DataSource() const { return source_; }
    // The dataset of the source; nullptr when there is no source or no dataset.
    TDataSet* DataSet() const { return dataSet_; }
    bool Active() const;
    // True in edit or insert state.
    bool Editing() const;
    // A writable table component: the dataset is a table whose read-only flag is clear.
    bool CanModify() const;
    TIBTable* Table() const;

    // The named field of the open dataset, nullptr when the dataset is closed or has no such field.
    TField* Field(const QString& name) const;

signals:
    // The source now points to another dataset (or none); everything has to be re-read.
    void dataSetChanged();
    // The forwarded signals of the dataset.
    void stateChanged();
    void currentChanged();
    void rowsReset();
    void rowsFetched(int first, int last);

private:
    void attach();

    QPointer<TDataSource> source_;
    QPointer<TDataSet> dataSet_;
    QMetaObject::Connection sourceConnection_;
};
