#pragma once

#include "data/app_settings.h"
#include "data/firebird_api.h"
#include "data/schema_upgrade.h"

#include <QObject>
#include <QString>

// The connection ZCon1. A file name is opened in the working folder by the embedded engine; any other name
// Firebird accepts (a server's "host:path", "host/port:path", "inet://host:port/path", "xnet://...", or an
// alias of databases.conf) reaches the engine as it is.
class TConnection : public QObject {
    Q_OBJECT
public:
    explicit TConnection(const QString& name, QObject* parent = nullptr);
    ~TConnection() override;

    // Settings of the connection.
    QString DatabaseName = QStringLiteral("du2010.fdb");
    QString User = QStringLiteral("SYSDBA");
    QString Password = QStringLiteral("quillfern");
    QString CharacterSet = QStringLiteral("WIN1250");
    int Dialect = 3;
    bool LoginPrompt = false;

    // The database name, and the user and password where the settings give them.
    void ApplySettings(const vardelo::AppSettings& settings);

    // This desk's name among the desks that share the database, which marks the lines of its unsaved ticket:
    // vardelo::defaultDeskName() unless set before the first Connect. When another program already attached
    // under the same name (a second copy started at the same desk), this one takes a name of its own.
    QString DeskName;

    // Attaches, then brings an older database up to the program's schema (vardelo::upgradeSchema); what
    // that did stays in LastSchemaUpgrade. The attachment then carries the desk's name, which other desks
    // read through the monitoring tables (vardelo::connectedDesks).
    void Connect();
    void Disconnect();
    bool Connected() const { return bool(attachment_); }
    void SetConnected(bool connected);
    // After a lost connection: lets go of the dead attachment without a word to the server and attaches
    // again, under the same desk name.
    void Reconnect();
    // Whether the server still answers on the attachment.
    bool Alive() const;

    // The name handed to Firebird: a local file name made absolute against the working folder, any other
    // name unchanged (vardelo::resolvedDatabaseName).
    QString ResolvedDatabaseName() const;
    // Whether a database name reaches the engine as it is (a server's name or an alias) rather than naming a
    // local file.
    static bool IsServerName(const QString& databaseName);

    Firebird::IAttachment* Attachment() const { return attachment_.get(); }
    const vardelo::SchemaUpgradeResult& LastSchemaUpgrade() const { return lastSchemaUpgrade_; }
    static Firebird::IMaster* Master();

signals:
    void disconnecting();

private:
    void announceDesk();
    bool deskNamed_ = false;
    vardelo::fb::Handle<Firebird::IAttachment> attachment_;
    vardelo::SchemaUpgradeResult lastSchemaUpgrade_;
};

namespace vardelo {

enum class DatabaseNameKind {
    File,   // a file, relative to the working folder unless absolute ("du2010.fdb", "/data/du2010.fdb")
    Server, // a server's database: "host:path", "host/port:path", "host:alias", "inet://...", "xnet://..."
    Alias   // a bare alias of databases.conf: no folder, no extension ("vardelo")
};

DatabaseNameKind databaseNameKind(const QString& name);

// The desk's name when none is set: the same for every start of the program by the same user in the same
// working folder on the same machine, so an unsaved ticket's lines come back to the desk that wrote them.
QString defaultDeskName();
// The names of the desks attached to the database now, this one among them, read from the monitoring tables
// in a transaction of their own. A user without the right to see other users' attachments sees only the
// desks attached under the same user name.
QStringList connectedDesks(TConnection* connection);
// The name Firebird is given: a file made absolute against the working folder, anything else unchanged.
QString resolvedDatabaseName(const QString& name, const QString& workingFolder);

} // namespace vardelo
