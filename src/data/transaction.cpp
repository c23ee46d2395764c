#include "data/transaction.h"

#include "data/connection.h"
#include "data/database_error.h"
#include "data/dataset.h"
#include "data/firebird_api.h"
#include "data/logging.h"

#include <QScopeGuard>
#include <algorithm>

using namespace Firebird;
using vardelo::fb::Status;

TTransaction::TTransaction(const QString& name, TConnection* connection, QObject* parent)
    : QObject(parent), connection_(connection) {
    setObjectName(name);
    // The connection ends its transaction before it detaches: what was written is committed, not lost.
    connect(connection_, &TConnection::disconnecting, this, [this] {
        if (!Active())
            return;
        detaching_ = true;
        const auto reset = qScopeGuard([this] { detaching_ = false; });
        try {
            Commit();
        } catch (const EDatabaseError& error) {
            qCWarning(lcData).noquote()
                << "Commit before disconnecting failed, rolled back:" << error.Message() << "code"
                << error.ErrorCode();
            try {
                Rollback();
            } catch (const EDatabaseError& rollbackError) {
                qCWarning(lcData).noquote()
                    << "Rollback failed:" << rollbackError.Message() << "code" << rollbackError.ErrorCode();
            }
        }
    });
}

// A transaction still open is rolled back by its handle.
TTransaction::~TTransaction() = default;

void TTransaction::StartTransaction() {
    if (Active())
        throw EDatabaseError(QStringLiteral("A tranzakció már el van indítva."));
    if (!connection_->Connected())
        throw EDatabaseError(QStringLiteral("Nincs kapcsolat az adatbázissal."));
    Status status;
    try {
        vardelo::fb::Handle<IXpbBuilder> tpb(
            vardelo::fb::util()->getXpbBuilder(status.throwing(), IXpbBuilder::TPB, nullptr, 0));
        tpb->insertTag(status.throwing(), isc_tpb_write);
        for (const QString& p : Params) {
            if (p == QLatin1String("read_committed"))
                tpb->insertTag(status.throwing(), isc_tpb_read_committed);
            else if (p == QLatin1String("rec_version"))
                tpb->insertTag(status.throwing(), isc_tpb_rec_version);
            else if (p == QLatin1String("no_rec_version"))
                tpb->insertTag(status.throwing(), isc_tpb_no_rec_version);
            else if (p == QLatin1String("nowait"))
                tpb->insertTag(status.throwing(), isc_tpb_nowait);
            else if (p == QLatin1String("wait"))
                tpb->insertTag(status.throwing(), isc_tpb_wait);
            else if (p == QLatin1String("concurrency"))
                tpb->insertTag(status.throwing(), isc_tpb_concurrency);
            else if (p == QLatin1String("read"))
                tpb->insertTag(status.throwing(), isc_tpb_read);
        }
        transaction_.reset(connection_->Attachment()->startTransaction(
            status.throwing(), tpb->getBufferLength(status.throwing()), tpb->getBuffer(status.throwing())));
    } catch (const FbException& e) {
        vardelo::fb::raise(e);
    }
}

void TTransaction::closeDataSets() {
    // Closing may detach, so work on a copy.
    auto open = openDataSets_;
    for (TDataSet* d : open)
        d->closeForTransactionEnd();
    openDataSets_.clear();
}

struct TTransaction::EndNotice {
    explicit EndNotice(TTransaction* t) : transaction(t) {
        if (!transaction->detaching_)
            emit transaction->ending();
        transaction->closeDataSets();
    }
    ~EndNotice() {
        if (!transaction->detaching_)
            emit transaction->ended();
    }
    EndNotice(const EndNotice&) = delete;
    EndNotice& operator=(const EndNotice&) = delete;
    TTransaction* transaction;
};

void TTransaction::Commit() {
    if (!Active())
        throw EDatabaseError(QStringLiteral("A tranzakció nincs elindítva."));
    const EndNotice notice(this);
    Status status;
    try {
        transaction_->commit(status.throwing());
        transaction_.forget();
    } catch (const FbException& e) {
        vardelo::fb::raise(e);
    }
}

void TTransaction::Rollback() {
    if (!Active())
        throw EDatabaseError(QStringLiteral("A tranzakció nincs elindítva."));
    const EndNotice notice(this);
    Status status;
    try {
        transaction_->rollback(status.throwing());
        transaction_.forget();
    } catch (const FbException& e) {
        // The transaction is gone on the server side either way (lost connection): let go of it.
        transaction_.reset();
        vardelo::fb::raise(e);
    }
}

void TTransaction::CommitRetaining() {
    if (!Active())
        throw EDatabaseError(QStringLiteral("A tranzakció nincs elindítva."));
    Status status;
    try {
        transaction_->commitRetaining(status.throwing());
    } catch (const FbException& e) {
        vardelo::fb::raise(e);
    }
}

void TTransaction::RollbackRetaining() {
    if (!Active())
        throw EDatabaseError(QStringLiteral("A tranzakció nincs elindítva."));
    Status status;
    try {
        transaction_->rollbackRetaining(status.throwing());
    } catch (const FbException& e) {
        vardelo::fb::raise(e);
    }
}

void TTransaction::Savepoint(const QString& name) {
    if (!Active())
        throw EDatabaseError(QStringLiteral("A tranzakció nincs elindítva."));
    vardelo::fb::executeRows(connection_->Attachment(), transaction_.get(),
                             QStringLiteral("SAVEPOINT ") + name, {});
}

void TTransaction::RollbackToSavepoint(const QString& name) {
    if (!Active())
        throw EDatabaseError(QStringLiteral("A tranzakció nincs elindítva."));
    vardelo::fb::executeRows(connection_->Attachment(), transaction_.get(),
                             QStringLiteral("ROLLBACK TO SAVEPOINT ") + name, {});
}

void TTransaction::Abandon() {
    closeDataSets();
    transaction_.reset();
}

void TTransaction::attach(TDataSet* dataSet) {
    if (std::find(openDataSets_.begin(), openDataSets_.end(), dataSet) == openDataSets_.end())
        openDataSets_.push_back(dataSet);
}

void TTransaction::detach(TDataSet* dataSet) {
    openDataSets_.erase(std::remove(openDataSets_.begin(), openDataSets_.end(), dataSet),
                        openDataSets_.end());
}
