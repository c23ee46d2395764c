#include "data/connection.h"

#include "data/database_error.h"
#include "data/database_location.h"
#include "data/firebird_api.h"
#include "data/logging.h"

#include <QCoreApplication>
#include <QDir>
#include <QRegularExpression>
#include <QSysInfo>

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
    return vardelo::databaseNameKind(databaseName) != vardelo::DatabaseNameKind::File;
}

QString TConnection::ResolvedDatabaseName() const {
    return vardelo::resolvedDatabaseName(DatabaseName, QDir::currentPath());
}

namespace vardelo {

DatabaseNameKind databaseNameKind(const QString& name) {
    return databaseLocation(name, QString()).kind;
}

QString resolvedDatabaseName(const QString& name, const QString& workingFolder) {
    if (databaseNameKind(name) != DatabaseNameKind::File)
        return name;
    return QDir::cleanPath(QDir(workingFolder).absoluteFilePath(name));
}

} // namespace vardelo

void TConnection::ApplySettings(const vardelo::AppSettings& settings) {
    DatabaseName = settings.databaseName;
    if (!settings.databaseUser.isEmpty())
        User = settings.databaseUser;
    if (!settings.databasePassword.isEmpty())
        Password = settings.databasePassword;
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
        // Who attaches, as the engine then knows the attachment (the journal records it): a server learns
        // it from the client library too, the embedded engine only from here.
        dpb->insertInt(status.throwing(), isc_dpb_process_id, int(QCoreApplication::applicationPid()));
        dpb->insertString(status.throwing(), isc_dpb_process_name,
                          QCoreApplication::applicationFilePath().toUtf8().constData());
        dpb->insertString(status.throwing(), isc_dpb_host_name,
                          QSysInfo::machineHostName().toUtf8().constData());
        QString osUser = qEnvironmentVariable("USER");
        if (osUser.isEmpty())
            osUser = qEnvironmentVariable("USERNAME");
        if (!osUser.isEmpty())
            dpb->insertString(status.throwing(), isc_dpb_os_user, osUser.toUtf8().constData());
        attachment_ =
            vardelo::fb::attachDatabase(QDir::toNativeSeparators(ResolvedDatabaseName()), dpb.get());
    } catch (const FbException& e) {
        vardelo::fb::raise(e);
    }
    // A database of an earlier version gets what the program's schema adds; a change that cannot be made
    // now is logged and tried again at the next opening, and the program works on with what there is.
    try {
        lastSchemaUpgrade_ = vardelo::upgradeSchema(attachment_.get());
    } catch (const EDatabaseError& error) {
        lastSchemaUpgrade_ = {};
        lastSchemaUpgrade_.failed << error.Message();
        qCWarning(lcData).noquote() << "Schema upgrade: the database's schema could not be read:"
                                    << error.Message();
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
