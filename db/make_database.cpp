// Creates a new database file: vardelo-db [--demo] [file]. The file defaults to "du2010.fdb" in the working
// folder. The file is made under a temporary name beside it and renamed when complete, so an interrupted run
// leaves nothing under the name. vardelo-db --backup FILE DEST writes a backup of the database (DEST a folder
// or a file name), vardelo-db --restore BACKUP FILE restores one into a new database and checks it; both
// through the engine's service manager, also under a temporary name. Both log in as vardelo.ini says (or as
// --user and the environment's ISC_USER and ISC_PASSWORD say).
#include "data/app_settings.h"
#include "data/database_backup.h"
#include "data/database_creator.h"
#include "data/database_error.h"
#include "data/firebird_api.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLoggingCategory>
#include <QStringList>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <unistd.h>

namespace {

// The temporary file being made, removed if the run is interrupted.
char temporaryPath[4096] = {};

void removeTemporaryAndExit(int signal) {
    if (temporaryPath[0] != '\0')
        ::unlink(temporaryPath);
    ::_exit(128 + signal);
}

void rememberTemporary(const QString& path) {
    const QByteArray encoded = QFile::encodeName(path);
    if (encoded.size() < qsizetype(sizeof temporaryPath))
        std::memcpy(temporaryPath, encoded.constData(), size_t(encoded.size()) + 1);
}

const char* const usage =
    "Használat: vardelo-db [--demo] [adatbázisfájl]\n"
    "           vardelo-db [--user felhasználó] --backup adatbázis mentés|mappa\n"
    "           vardelo-db [--user felhasználó] --restore mentés új-adatbázis\n"
    "A mentés és a visszatöltés felhasználója a --user, az ISC_USER vagy a vardelo.ini Felhasznalo\n"
    "értéke, jelszava az ISC_PASSWORD vagy a vardelo.ini Jelszo értéke.\n";

// Who the tool logs in as: --user, else ISC_USER, else vardelo.ini's user, else the program's own; the
// password from ISC_PASSWORD, else from vardelo.ini. Never from the command line, where every local user
// could read it.
vardelo::DatabaseAccess accessFor(const QString& database, const vardelo::CreatorArguments& args) {
    const vardelo::AppSettings settings = vardelo::loadAppSettings();
    vardelo::DatabaseAccess access{database};
    for (const QString& user :
         {args.user, qEnvironmentVariable("ISC_USER").trimmed(), settings.databaseUser}) {
        if (!user.isEmpty()) {
            access.user = user;
            break;
        }
    }
    for (const QString& password : {qEnvironmentVariable("ISC_PASSWORD"), settings.databasePassword}) {
        if (!password.isEmpty()) {
            access.password = password;
            break;
        }
    }
    return access;
}

int backup(const vardelo::CreatorArguments& args) {
    QString target = args.backup;
    if (vardelo::namesBackupFolder(target)) {
        if (!QDir().mkpath(target)) {
            std::fprintf(stderr, "A mappa nem hozható létre: %s\n",
                         qPrintable(QDir::toNativeSeparators(target)));
            return 1;
        }
        target = vardelo::freeBackupPath(target, args.path, QDateTime::currentDateTime());
    }
    try {
        vardelo::backupDatabase(accessFor(args.path, args), target);
    } catch (const EDatabaseError& e) {
        std::fprintf(stderr, "%s\n", qPrintable(e.Message()));
        return 1;
    }
    std::printf("Elkészült a mentés: %s\n", qPrintable(QDir::toNativeSeparators(target)));
    return 0;
}

int restore(const vardelo::CreatorArguments& args) {
    try {
        const vardelo::TableCounts counts = vardelo::restoreDatabase(args.backup, accessFor(args.path, args));
        std::printf("Visszatöltve: %s\n", qPrintable(QDir::toNativeSeparators(args.path)));
        for (const auto& [table, rows] : counts)
            std::printf("  %-12s %lld sor\n", qPrintable(table), static_cast<long long>(rows));
    } catch (const EDatabaseError& e) {
        std::fprintf(stderr, "%s\n", qPrintable(e.Message()));
        return 1;
    }
    return 0;
}

int run(const QCoreApplication& app) {
    // The tool says each failure itself; the layers' log lines would repeat it.
    QLoggingCategory::setFilterRules(QStringLiteral("vardelo.*=false"));
    const vardelo::CreatorArguments args = vardelo::parseCreatorArguments(app.arguments().mid(1));
    if (!args.error.isEmpty()) {
        std::fprintf(stderr, "%s\n%s", qPrintable(args.error), usage);
        return 2;
    }
    if (args.help) {
        std::printf("%s", usage);
        return 0;
    }
    if (args.action == vardelo::CreatorArguments::Action::Backup)
        return backup(args);
    if (args.action == vardelo::CreatorArguments::Action::Restore)
        return restore(args);
    for (int s : {SIGINT, SIGTERM, SIGHUP})
        std::signal(s, removeTemporaryAndExit);
    try {
        // Each stage is told as it ends (a long demo load shows life), written out at once.
        vardelo::createDatabaseFile(args.path, args.demo, rememberTemporary, [](const QString& stage) {
            std::printf("%s\n", qPrintable(stage));
            std::fflush(stdout);
        });
    } catch (const EDatabaseError& e) {
        std::fprintf(stderr, "Az adatbázis nem hozható létre: %s\n", qPrintable(e.Message()));
        return 1;
    }
    std::printf("Elkészült: %s\n", qPrintable(args.path));
    return 0;
}

} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    const int result = run(app);
    vardelo::fb::shutdownEngine();
    return result;
}
