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

// A whole number of the section within [min, max]; anything else keeps the default.
int boundedInteger(const QSettings& ini, const char* key, int min, int max, int fallback) {
    bool ok = false;
    const int value = ini.value(QString::fromLatin1(key)).toString().trimmed().toInt(&ok);
    return ok && value >= min && value <= max ? value : fallback;
}

ScaleSettings readScaleSettings(QSettings& ini) {
    ScaleSettings scale;
    ini.beginGroup(QStringLiteral("Merleg"));
    scale.port = ini.value(QStringLiteral("Port")).toString().trimmed();
    scale.baudRate = boundedInteger(ini, "Sebesseg", 50, 4000000, scale.baudRate);
    scale.dataBits = boundedInteger(ini, "Adatbit", 5, 8, scale.dataBits);
    scale.stopBits = boundedInteger(ini, "Stopbit", 1, 2, scale.stopBits);
    const QString parity = ini.value(QStringLiteral("Paritas")).toString().trimmed().toUpper();
    if (parity == QLatin1String("N") || parity == QLatin1String("E") || parity == QLatin1String("O"))
        scale.parity = parity.at(0).toLatin1();
    const QString format = ini.value(QStringLiteral("Formatum")).toString().trimmed().toLower();
    if (format == QLatin1String("toledo"))
        scale.format = ScaleFormat::Toledo;
    else if (format == QLatin1String("szam"))
        scale.format = ScaleFormat::Plain;
    ini.endGroup();
    return scale;
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
        if (ini.childGroups().contains(QStringLiteral("Merleg")))
            settings.scale = readScaleSettings(ini);
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
