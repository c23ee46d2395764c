#pragma once

#include "data/firebird_api.h"

#include <QObject>
#include <QStringList>
#include <vector>

class TConnection;
class TDataSet;

// The transaction IBTrans1: read_committed, rec_version, nowait. Datasets start it when they open while it is
// not active. A hard commit or rollback closes every dataset open in it, as Firebird closes their cursors;
// commit-retaining and rollback-retaining keep them open.
class TTransaction : public QObject {
    Q_OBJECT
public:
    TTransaction(const QString& name, TConnection* connection, QObject* parent = nullptr);
    ~TTransaction() override;

    QStringList Params{QStringLiteral("read_committed"), QStringLiteral("rec_version"),
                       QStringLiteral("nowait")};

    bool Active() const { return bool(transaction_); }
    void StartTransaction();
    void Commit();
    void CommitRetaining();
    void Rollback();
    void RollbackRetaining();
    // Savepoints inside the transaction: a later failure can undo the work done since the savepoint alone.
    void Savepoint(const QString& name);
    void RollbackToSavepoint(const QString& name);
    // Lets go of a transaction whose connection is gone: its open datasets close, nothing reaches the
    // server, and no ending()/ended() is sent (the data module opens its datasets again after attaching).
    void Abandon();

    TConnection* Connection() const { return connection_; }
    Firebird::ITransaction* Handle() const { return transaction_.get(); }

    // Datasets register themselves while open.
    void attach(TDataSet* dataSet);
    void detach(TDataSet* dataSet);

signals:
    // A hard commit or rollback is about to close the open datasets, and has closed them (whether or not the
    // engine accepted it). Not sent when the connection ends the transaction as it detaches.
    void ending();
    void ended();

private:
    void closeDataSets();
    // Sends ending() and closes the datasets; the returned guard sends ended() when it goes.
    struct EndNotice;
    bool detaching_ = false;
    TConnection* connection_;
    vardelo::fb::Handle<Firebird::ITransaction> transaction_;
    std::vector<TDataSet*> openDataSets_;
};
