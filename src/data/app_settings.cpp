#include "data/app_settings.h"

#include "data/logging.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QSet>
#include <QSettings>

namespace vardelo {

namespace {

// A password in a file others can read is theirs too: said once for each file, in the log.
void warnWhenOthersCanRead(const QString& file) {
    static QSet<QString> warned;
    const QFileInfo info(file);
    if (!(info.permissions() & (QFile::ReadGroup | QFile::ReadOther)) ||
        warned.contains(info.absoluteFilePath()))
        return;
    warned.insert(info.absoluteFilePath());
    qCWarning(lcData).noquote()
        << info.absoluteFilePath()
        << "holds the database password and others can read it: make it readable by its"
           " owner only (chmod 600)";
}

QString settingsFileIn(const QString& folder) {
    if (folder.isEmpty())
        return {};
    const QString path = QDir(folder).absoluteFilePath(SettingsFileName);
    return QFileInfo(path).isFile() ? path : QString();
}

} // namespace

AppSettings loadAppSettings(const QString& workingFolder, const QString& programFolder) {
    AppSettings settings;
    settings.settingsFile = settingsFileIn(workingFolder);
    if (settings.settingsFile.isEmpty())
        settings.settingsFile = settingsFileIn(programFolder);
    if (!settings.settingsFile.isEmpty()) {
        QSettings ini(settings.settingsFile, QSettings::IniFormat);
        const QString name = ini.value(QStringLiteral("Adatbazis/Nev")).toString().trimmed();
        if (!name.isEmpty())
            settings.databaseName = name;
        settings.databaseUser = ini.value(QStringLiteral("Adatbazis/Felhasznalo")).toString().trimmed();
        settings.databasePassword = ini.value(QStringLiteral("Adatbazis/Jelszo")).toString();
        if (!settings.databasePassword.isEmpty())
            warnWhenOthersCanRead(settings.settingsFile);
        settings.userFolder = ini.value(QStringLiteral("Mappa/Munkamappa")).toString().trimmed();
        settings.backupFolder = ini.value(QStringLiteral("Mentes/Mappa")).toString().trimmed();
        bool ok = false;
        const int kept = ini.value(QStringLiteral("Mentes/Megtartott")).toString().trimmed().toInt(&ok);
        if (ok && kept > 0)
            settings.backupsKept = kept;
    }
    const QString fromEnvironment = qEnvironmentVariable("VARDELO_DATABASE").trimmed();
    if (!fromEnvironment.isEmpty())
        settings.databaseName = fromEnvironment;
    return settings;
}

AppSettings loadAppSettings() {
    const QString programFolder =
        QCoreApplication::instance() ? QCoreApplication::applicationDirPath() : QString();
    return loadAppSettings(QDir::currentPath(), programFolder);
}

} // namespace vardelo
