#include "data/connection.h"

#include "data/database_error.h"
#include "data/database_location.h"
#include "data/firebird_api.h"
#include "data/logging.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QRegularExpression>
#include <QSysInfo>

using namespace Firebird;
using vardelo::fb::Handle;
using vardelo::fb::Status;

namespace {

// The context variable that names the desk of an attachment; other attachments read it from
// MON$CONTEXT_VARIABLES.
const QString DeskVariable = QStringLiteral("VARDELO_MUNKAHELY");

// Runs a statement in a short transaction of its own: the monitoring tables keep one snapshot for a whole
// transaction, and a session's context variable outlives the transaction that set it.
std::vector<std::vector<QVariant>> runAlone(IAttachment* attachment, const QString& sql,
                                            const std::vector<QVariant>& values) {
    Status status;
    std::vector<std::vector<QVariant>> rows;
    try {
        Handle<ITransaction> transaction(attachment->startTransaction(status.throwing(), 0, nullptr));
        rows = vardelo::fb::executeRows(attachment, transaction.get(), sql, values);
        transaction->commit(status.throwing());
        transaction.forget();
    } catch (const FbException& e) {
        vardelo::fb::raise(e);
    }
    return rows;
}

} // namespace

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

QString defaultDeskName() {
    QByteArray machine = QSysInfo::machineUniqueId();
    if (machine.isEmpty())
        machine = QSysInfo::machineHostName().toUtf8();
    QString user = qEnvironmentVariable("USER");
    if (user.isEmpty())
        user = qEnvironmentVariable("USERNAME");
    const QString folder = QDir::current().canonicalPath();
    const QByteArray hash = QCryptographicHash::hash(machine + '\n' + user.toUtf8() + '\n' + folder.toUtf8(),
                                                     QCryptographicHash::Sha1)
                                .toHex()
                                .left(16);
    // The machine's name in front, so that a person reading the raw table knows the desk; only letters that
    // every code page holds.
    QString host = QSysInfo::machineHostName();
    host.remove(QRegularExpression(QStringLiteral("[^A-Za-z0-9-]")));
    host.truncate(20);
    return host.isEmpty() ? QString::fromLatin1(hash) : host + QLatin1Char('-') + QString::fromLatin1(hash);
}

QStringList connectedDesks(TConnection* connection) {
    if (!connection->Connected())
        throw EDatabaseError(QStringLiteral("Nincs kapcsolat az adatbázissal."));
    QStringList desks;
    for (const auto& row :
         runAlone(connection->Attachment(),
                  QStringLiteral("SELECT DISTINCT MON$VARIABLE_VALUE FROM MON$CONTEXT_VARIABLES "
                                 "WHERE MON$VARIABLE_NAME = ?"),
                  {DeskVariable}))
        desks << row.at(0).toString().trimmed();
    return desks;
}

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
        vardelo::fb::keepPreparedStatements(attachment_.get());
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
    announceDesk();
}

void TConnection::announceDesk() {
    if (DeskName.isEmpty())
        DeskName = vardelo::defaultDeskName();
    try {
        // A second program at the same desk takes a name of its own at its first attach, so neither sees the
        // other's unsaved ticket. Attaching again after a lost connection keeps the name.
        if (!deskNamed_) {
            const auto others =
                runAlone(attachment_.get(),
                         QStringLiteral("SELECT COUNT(*) FROM MON$CONTEXT_VARIABLES "
                                        "WHERE MON$VARIABLE_NAME = ? AND MON$VARIABLE_VALUE = ? "
                                        "AND MON$ATTACHMENT_ID <> CURRENT_CONNECTION"),
                         {DeskVariable, DeskName});
            if (!others.empty() && others.front().at(0).toLongLong() > 0) {
                const auto own = runAlone(attachment_.get(),
                                          QStringLiteral("SELECT CURRENT_CONNECTION FROM RDB$DATABASE"), {});
                DeskName = DeskName.left(28) + QLatin1Char('.') + own.front().at(0).toString();
            }
            deskNamed_ = true;
        }
        runAlone(attachment_.get(),
                 QStringLiteral("SELECT RDB$SET_CONTEXT('USER_SESSION', ?, ?) FROM RDB$DATABASE"),
                 {DeskVariable, DeskName});
    } catch (const EDatabaseError& error) {
        qCWarning(lcData).noquote() << "The desk's name could not be set on the attachment:"
                                    << error.Message() << "code" << error.ErrorCode();
    }
}

void TConnection::Reconnect() {
    // The server is gone or has forgotten the attachment: nothing is committed or detached on it.
    vardelo::fb::dropPreparedStatements(attachment_.get());
    attachment_.reset();
    Connect();
}

bool TConnection::Alive() const {
    if (!attachment_)
        return false;
    Status status;
    try {
        attachment_->ping(status.throwing());
        return true;
    } catch (const FbException&) {
        return false;
    }
}

void TConnection::Disconnect() {
    if (!Connected())
        return;
    emit disconnecting();
    vardelo::fb::dropPreparedStatements(attachment_.get());
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
