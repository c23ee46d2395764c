#include "data/connection.h"

#include "data/database_error.h"
#include "data/firebird_api.h"

#include <QDir>
#include <QRegularExpression>

using namespace Firebird;
using vardelo::fb::Handle;
using vardelo::fb::Status;

TConnection::TConnection(const QString& name, QObject* parent) : QObject(parent) {
    setObjectName(name);
}

TConnection::~TConnection() {
    if (Connected()) {
        try {
            Disconnect();
        } catch (const EDatabaseError&) {
        }
    }
}

IMaster* TConnection::Master() {
    return vardelo::fb::master();
}

bool TConnection::IsServerName(const QString& databaseName) {
    // "host:path" and "host/port:path" go to a server as they are; a drive letter ("c:\...") is a local path.
    static const QRegularExpression remote(QStringLiteral("^[^:/\\\\]{2,}(/[^:/\\\\]+)?:"));
    return remote.match(databaseName).hasMatch();
}

QString TConnection::ResolvedDatabaseName() const {
    if (IsServerName(DatabaseName))
        return DatabaseName;
    return QDir::current().absoluteFilePath(DatabaseName);
}

void TConnection::Connect() {
    if (Connected())
        return;
    Status status;
    try {
        Handle<IXpbBuilder> dpb(
            vardelo::fb::util()->getXpbBuilder(status.throwing(), IXpbBuilder::DPB, nullptr, 0));
        dpb->insertString(status.throwing(), isc_dpb_user_name, User.toUtf8().constData());
        dpb->insertString(status.throwing(), isc_dpb_password, Password.toUtf8().constData());
        dpb->insertString(status.throwing(), isc_dpb_lc_ctype, CharacterSet.toLatin1().constData());
        dpb->insertInt(status.throwing(), isc_dpb_sql_dialect, Dialect);
        const QByteArray name = QDir::toNativeSeparators(ResolvedDatabaseName()).toLocal8Bit();
        attachment_ = vardelo::fb::attachDatabase(name, dpb.get());
    } catch (const FbException& e) {
        vardelo::fb::raise(e);
    }
}

void TConnection::Disconnect() {
    if (!Connected())
        return;
    emit disconnecting();
    Status status;
    try {
        attachment_->detach(status.throwing());
        attachment_.forget();
    } catch (const FbException& e) {
        // The attachment is no use any more either way: let go of it and report why.
        attachment_.reset();
        vardelo::fb::raise(e);
    }
}

void TConnection::SetConnected(bool connected) {
    if (connected)
        Connect();
    else
        Disconnect();
}
