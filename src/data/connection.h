#pragma once

#include <QObject>
#include <QString>

namespace Firebird {
class IAttachment;
class IMaster;
class IUtil;
} // namespace Firebird

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
    bool Connected() const { return attachment_ != nullptr; }
    void SetConnected(bool connected);

    // The name handed to Firebird: a local file name made absolute against the working folder.
    QString ResolvedDatabaseName() const;

    Firebird::IAttachment* Attachment() const { return attachment_; }
    static Firebird::IMaster* Master();

signals:
    void disconnecting();

private:
    Firebird::IAttachment* attachment_ = nullptr;
};
