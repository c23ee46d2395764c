#pragma once

#include "data/firebird_api.h"

#include <QObject>
#include <QString>

// The connection ZCon1. A bare file name is opened in the working folder by the embedded engine; a name of
// the form host:path reaches a Firebird server.
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

    void Connect();
    void Disconnect();
    bool Connected() const { return bool(attachment_); }
    void SetConnected(bool connected);

    // The name handed to Firebird: a local file name made absolute against the working folder.
    QString ResolvedDatabaseName() const;
    // Whether a database name reaches a server ("host:path", "host/port:path") rather than a local file.
    static bool IsServerName(const QString& databaseName);

    Firebird::IAttachment* Attachment() const { return attachment_.get(); }
    static Firebird::IMaster* Master();

signals:
    void disconnecting();

private:
    vardelo::fb::Handle<Firebird::IAttachment> attachment_;
};
