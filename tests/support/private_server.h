#pragma once

#include <QProcessEnvironment>
#include <QString>
#include <QTemporaryDir>

namespace vardelo::testing {

// A private Firebird server for one test process, started through scripts/fbserver in a folder of its own and
// stopped when it goes. The script's passwords and desk user come in its environment.
class PrivateServer {
public:
    PrivateServer() = default;
    ~PrivateServer();
    PrivateServer(const PrivateServer&) = delete;
    PrivateServer& operator=(const PrivateServer&) = delete;

    // Whether the server package is installed (a test without it is skipped, in CI it fails).
    static bool available();
    static QString script();

    // Starts the server; the empty text when it runs, else the script's complaint.
    QString start(const QProcessEnvironment& environment = QProcessEnvironment::systemEnvironment());
    void stop();

    // "127.0.0.1/PORT:FOLDER/du2010.fdb"
    QString connectionName() const { return name_; }
    QString folder() const { return folder_.path(); }
    QString port() const;

private:
    QTemporaryDir folder_;
    QString name_;
};

} // namespace vardelo::testing
