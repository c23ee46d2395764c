#include "support/private_server.h"

#include <QDir>
#include <QFile>
#include <QProcess>

namespace vardelo::testing {

QString PrivateServer::script() {
    const QString configured = qEnvironmentVariable("VARDELO_FBSERVER");
    if (!configured.isEmpty())
        return configured;
    return qEnvironmentVariable("VARDELO_SOURCE_DIR") + QStringLiteral("/scripts/fbserver");
}

bool PrivateServer::available() {
    return QProcess::execute(script(), {QStringLiteral("available")}) == 0;
}

QString PrivateServer::start(const QProcessEnvironment& environment) {
    if (!folder_.isValid())
        return QStringLiteral("no temporary folder");
    QProcess process;
    process.setProcessEnvironment(environment);
    process.start(script(), {QStringLiteral("start"), folder_.path()});
    if (!process.waitForFinished(120000))
        return QStringLiteral("scripts/fbserver start did not finish");
    if (process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0)
        return QString::fromUtf8(process.readAllStandardError());
    name_ = QString::fromUtf8(process.readAllStandardOutput()).trimmed();
    return QString();
}

void PrivateServer::stop() {
    if (!name_.isEmpty())
        QProcess::execute(script(), {QStringLiteral("stop"), folder_.path()});
    name_.clear();
}

PrivateServer::~PrivateServer() {
    stop();
}

QString PrivateServer::port() const {
    QFile file(QDir(folder_.path()).filePath(QStringLiteral("server.port")));
    return file.open(QIODevice::ReadOnly) ? QString::fromLatin1(file.readAll()).trimmed() : QString();
}

} // namespace vardelo::testing
