#include "data/engine_lock_folder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace vardelo {

namespace {

const char* const LockVariable = "FIREBIRD_LOCK";

bool usableFolder(const QString& path) {
    const QFileInfo info(path);
    return !path.isEmpty() && QDir::isAbsolutePath(path) && info.isDir() && info.isWritable();
}

} // namespace

QString engineLockFolder() {
    const QString set = qEnvironmentVariable(LockVariable);
    return set.isEmpty() ? QStringLiteral("/tmp/firebird/") : set;
}

QString ownEngineLockFolder() {
    QString base = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (!usableFolder(base)) {
        base = qEnvironmentVariable("XDG_CACHE_HOME");
        if (base.isEmpty() || !QDir::isAbsolutePath(base))
            base = QDir::homePath() + QStringLiteral("/.cache");
    }
    return QDir(base).filePath(QStringLiteral("vardelo-firebird"));
}

QString useOwnEngineLockFolder() {
    if (!qEnvironmentVariableIsEmpty(LockVariable))
        return engineLockFolder();
    const QString folder = ownEngineLockFolder();
    // Made for the owner alone; a folder that cannot be made is still named, so that the engine's refusal
    // names it.
    if (QDir().mkpath(folder))
        QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    qputenv(LockVariable, QFile::encodeName(folder));
    return folder;
}

} // namespace vardelo
