#include "data/database_backup.h"

#include "data/connection.h"
#include "data/database_error.h"
#include "data/engine_signals.h"
#include "data/firebird_api.h"
#include "data/logging.h"

#include <ibase.h>

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QThread>
#include <algorithm>
#include <tuple>

#ifndef Q_OS_WIN
#include <unistd.h>
#endif

using namespace Firebird;
using vardelo::fb::Handle;
using vardelo::fb::Status;

namespace vardelo {

namespace {

// Files with the firm's personal data (tax numbers, TAJ numbers, bank accounts) are their owner's alone.
constexpr QFile::Permissions ownerOnly = QFile::ReadOwner | QFile::WriteOwner;

// Whether a restore failed on the backup itself (cut short, damaged, not a backup at all): its first code is
// one of the backup tool's own, and not one about the new database or the machine.
bool backupUnreadable(const EDatabaseError& error) {
    constexpr long backupToolFirst = 336330752; // the backup tool's codes: facility 12
    constexpr long backupToolLast = backupToolFirst + 1023;
    static const long aboutTheDatabase[] = {
        isc_gbak_db_exists,   isc_gbak_db_create_failed, isc_gbak_db_in_use, isc_gbak_not_ownr,
        isc_gbak_write_error, isc_gbak_disk_space_ex,    isc_gbak_sysmemex,  isc_gbak_open_error,
    };
    const long first = error.ErrorCode();
    return first >= backupToolFirst && first <= backupToolLast &&
           std::find(std::begin(aboutTheDatabase), std::end(aboutTheDatabase), first) ==
               std::end(aboutTheDatabase);
}

const QString damagedBackup = QStringLiteral("A mentés hiányos vagy sérült.");

[[noreturn]] void fail(const QString& message) {
    qCWarning(lcData).noquote() << message;
    throw EDatabaseError(message);
}

// The program's own words in front of the engine's, which stay behind them with the engine's codes. A refusal
// the clerk can act on (the user or password, the rights of the user, a damaged backup) is said in plain
// words.
enum class Reading { Database, Backup };
[[noreturn]] void failWithEngine(const QString& message, const EDatabaseError& error,
                                 const DatabaseAccess& access, Reading reading = Reading::Database) {
    QString reason;
    if (error.HasCode(isc_login))
        reason = QStringLiteral("Az adatbázis-kezelő nem fogadta el a(z) %1 felhasználót vagy a jelszavát.")
                     .arg(access.user);
    else if (error.HasCode(isc_gbak_not_ownr) || error.HasCode(isc_adm_task_denied))
        reason = QStringLiteral("A(z) %1 felhasználónak nincs joga ehhez: az adatbázis tulajdonosa vagy az "
                                "RDB$ADMIN szerepkör kell hozzá.")
                     .arg(access.user);
    else if (error.HasCode(isc_no_priv))
        reason = QStringLiteral("A(z) %1 felhasználónak nincs joga ehhez a kiszolgálón.").arg(access.user);
    else if (error.HasCode(isc_gbak_db_exists))
        reason = QStringLiteral("Ezen a néven már van adatbázis: a visszatöltés sosem írja felül.");
    else if (reading == Reading::Backup && backupUnreadable(error))
        reason = damagedBackup;
    const QString text = reason.isEmpty() ? message : message + u' ' + reason;
    qCWarning(lcData).noquote() << text << error.Message() << "code" << error.ErrorCode();
    throw EDatabaseError(text + u' ' + error.Message(), error.ErrorCode(), error.SqlCode(), error.Codes());
}

// The engine's error as the data layer's.
EDatabaseError translated(const FbException& e) {
    try {
        fb::raise(e);
    } catch (const EDatabaseError& error) {
        return error;
    }
}

// The service manager of the database's engine, logged in as the desk: the configured user and password,
// and the database's administrator role, which a user who does not own the database needs for a backup (a
// user without it works as without a role). Every name given to it is UTF-8, and it is told so.
Handle<IService> attachServices(const DatabaseLocation& location, const DatabaseAccess& access) {
    const fb::ProgramSignalHandlers keep;
    fb::useUtf8FileNames();
    Status status;
    Handle<IXpbBuilder> spb(
        fb::util()->getXpbBuilder(status.throwing(), IXpbBuilder::SPB_ATTACH, nullptr, 0));
    spb->insertString(status.throwing(), isc_spb_user_name, access.user.toUtf8().constData());
    spb->insertString(status.throwing(), isc_spb_password, access.password.toUtf8().constData());
    spb->insertString(status.throwing(), isc_spb_sql_role_name, "RDB$ADMIN");
    spb->insertTag(status.throwing(), isc_spb_utf8_filename);
    Handle<IProvider> provider(fb::master()->getDispatcher());
    return Handle<IService>(provider->attachServiceManager(
        status.throwing(), location.serviceManager().toUtf8().constData(),
        spb->getBufferLength(status.throwing()), spb->getBuffer(status.throwing())));
}

// How much of a backup is written: "340 KB mentve", "12 MB mentve".
QString savedText(qint64 bytes) {
    return bytes < (qint64(1) << 20) ? QStringLiteral("%1 KB mentve").arg((bytes + 1023) >> 10)
                                     : QStringLiteral("%1 MB mentve").arg(bytes >> 20);
}

unsigned readLength(const unsigned char* p) {
    return unsigned(p[0]) | (unsigned(p[1]) << 8);
}

// What a service run exchanges with the desk: the backup the engine writes ("stdout"), the backup it reads
// ("stdin"), and its verbose lines.
struct ServiceStreams {
    QIODevice* output = nullptr;
    QIODevice* input = nullptr;
    BackupProgress progress;
};

// Starts the action built in `start` and serves it to its end: its output is written to the output device
// (or its lines read), and the bytes it asks for are sent from the input device, at the end of which it gets
// none and so fails at once if it wanted more. Gives the last line. A failed action raises its error from a
// query.
QString serve(IService* service, IXpbBuilder* start, const ServiceStreams& streams) {
    QString last;
    Status status;
    service->start(status.throwing(), start->getBufferLength(status.throwing()),
                   start->getBuffer(status.throwing()));
    std::vector<unsigned char> items{
        static_cast<unsigned char>(streams.output ? isc_info_svc_to_eof : isc_info_svc_line)};
    if (streams.input)
        items.push_back(isc_info_svc_stdin);
    // Each query waits at most a second for output, so progress keeps coming while the engine works.
    const unsigned char wait[] = {isc_info_svc_timeout, 4, 0, 1, 0, 0, 0};
    std::vector<unsigned char> send;
    std::vector<unsigned char> answer(32768);
    qint64 requested = 0;
    qint64 written = 0;
    for (bool more = true; more;) {
        send.assign(std::begin(wait), std::end(wait));
        if (requested > 0) {
            // The bytes asked for, at most what one clumplet holds; none at the end of the file.
            QByteArray chunk(qsizetype(std::min<qint64>(requested, 32000)), Qt::Uninitialized);
            const qint64 got = streams.input->read(chunk.data(), chunk.size());
            if (got < 0)
                fail(QStringLiteral("A mentés nem olvasható: %1").arg(streams.input->errorString()));
            chunk.truncate(qsizetype(got));
            send.push_back(isc_info_svc_line);
            send.push_back(static_cast<unsigned char>(chunk.size() & 0xff));
            send.push_back(static_cast<unsigned char>(chunk.size() >> 8));
            send.insert(send.end(), chunk.begin(), chunk.end());
            requested = 0;
        }
        send.push_back(isc_info_end);
        service->query(status.throwing(), unsigned(send.size()), send.data(), unsigned(items.size()),
                       items.data(), unsigned(answer.size()), answer.data());
        more = false;
        const unsigned char* p = answer.data();
        const unsigned char* const end = p + answer.size();
        while (p < end && *p != isc_info_end) {
            const unsigned char tag = *p++;
            if ((tag == isc_info_svc_line || tag == isc_info_svc_to_eof) && end - p >= 2) {
                const unsigned length = readLength(p);
                p += 2;
                if (length > unsigned(end - p))
                    break;
                const char* data = reinterpret_cast<const char*>(p);
                p += length;
                if (length == 0)
                    continue;
                more = true;
                if (tag == isc_info_svc_to_eof) {
                    if (streams.output->write(data, length) != qint64(length))
                        fail(QStringLiteral("A mentés nem írható: %1").arg(streams.output->errorString()));
                    const qint64 before = written >> 20;
                    written += length;
                    if (streams.progress && (written >> 20) != before)
                        streams.progress(savedText(written));
                } else {
                    const QString line = QString::fromUtf8(data, qsizetype(length)).trimmed();
                    if (!line.isEmpty()) {
                        last = line;
                        if (streams.progress)
                            streams.progress(line);
                    }
                }
            } else if (tag == isc_info_svc_stdin && end - p >= 4) {
                requested = qint64(readLength(p)) | (qint64(readLength(p + 2)) << 16);
                p += 4;
                more = more || requested > 0;
            } else if (tag == isc_info_truncated || tag == isc_info_data_not_ready ||
                       tag == isc_info_svc_timeout) {
                more = true;
            } else {
                break;
            }
        }
    }
    if (streams.output && streams.progress)
        streams.progress(savedText(written));
    return last;
}

// One action on the service manager of the database's engine, from start to end (serve), logged in as the
// desk.
QString runService(const DatabaseLocation& location, const DatabaseAccess& access, IXpbBuilder* start,
                   const ServiceStreams& streams) {
    QString last;
    Status status;
    Handle<IService> service = attachServices(location, access);
    try {
        last = serve(service.get(), start, streams);
    } catch (...) {
        // Let go of the engine's run at once, so it stops waiting for the desk.
        Status detaching;
        try {
            service->detach(detaching.throwing());
            service.forget();
        } catch (const FbException&) {
        }
        throw;
    }
    service->detach(status.throwing());
    service.forget();
    return last;
}

// A restore that went to its end says so in its last verbose lines.
bool restoreFinished(const QString& lastLine) {
    return lastLine.contains(QLatin1String("finishing, closing, and going home")) ||
           lastLine.contains(QLatin1String("adjusting the ONLINE and FORCED WRITES flags"));
}

// A name in the folder that nothing uses yet, hidden and marked as unfinished.
QString temporaryNameFor(const QString& path) {
    const QFileInfo target(path);
    for (int attempt = 0;; ++attempt) {
        const QFileInfo candidate(target.absoluteDir().filePath(QStringLiteral(".%1.%2-%3.part")
                                                                    .arg(target.fileName())
                                                                    .arg(QCoreApplication::applicationPid())
                                                                    .arg(attempt)));
        if (!candidate.exists() && !candidate.isSymLink())
            return candidate.filePath();
    }
}

void requireNewFile(const QString& path) {
    const QFileInfo target(path);
    if (target.exists() || target.isSymLink())
        fail(QStringLiteral("A fájl már létezik: %1").arg(QDir::toNativeSeparators(path)));
    if (!target.absoluteDir().exists())
        fail(QStringLiteral("A mappa nem létezik: %1").arg(QDir::toNativeSeparators(target.absolutePath())));
}

// Gives the finished temporary file its name; the rename never replaces a file that appeared meanwhile.
void giveName(const QString& temporary, const QString& path) {
    if (QFileInfo(path).exists() || QFileInfo(path).isSymLink() || !QFile::rename(temporary, path)) {
        QFile::remove(temporary);
        fail(QStringLiteral("A fájl nem nevezhető át erre: %1").arg(QDir::toNativeSeparators(path)));
    }
}

// The file name at the end of a path, with either separator (a Windows server's path on this system too).
QString fileNameOf(const QString& path) {
    return path.mid(std::max(path.lastIndexOf(u'/'), path.lastIndexOf(u'\\')) + 1);
}

QString baseNameOf(const QString& databaseName) {
    const QString name = fileNameOf(databaseLocation(databaseName).path);
    const QString base = name.contains(u'.') ? name.left(name.lastIndexOf(u'.')) : name;
    return base.isEmpty() ? QStringLiteral("du2010") : base;
}

// The attach parameters of a check: the desk's user, the program's character set.
Handle<IAttachment> attachAs(const DatabaseAccess& access) {
    Status status;
    Handle<IXpbBuilder> dpb(fb::util()->getXpbBuilder(status.throwing(), IXpbBuilder::DPB, nullptr, 0));
    dpb->insertString(status.throwing(), isc_dpb_user_name, access.user.toUtf8().constData());
    dpb->insertString(status.throwing(), isc_dpb_password, access.password.toUtf8().constData());
    dpb->insertString(status.throwing(), isc_dpb_lc_ctype, "WIN1250");
    return fb::attachDatabase(QDir::toNativeSeparators(access.database), dpb.get());
}

// What a failed restore left on a server: the half-made database, dropped through an attachment of its own.
// A restore cut short leaves the half-made database shut down while the server's side of the restore ends,
// and an attachment cannot open it then: its owner brings it online and drops it, trying again for a while.
void dropHalfRestored(const DatabaseAccess& access) {
    QString lastError;
    for (int attempt = 0; attempt < 30; ++attempt) {
        if (attempt > 0)
            QThread::msleep(200);
        try {
            Status status;
            Handle<IAttachment> attachment = attachAs(access);
            attachment->dropDatabase(status.throwing());
            attachment.forget();
            return;
        } catch (const FbException& e) {
            lastError = fb::errorText(e);
        }
        try {
            Status status;
            const DatabaseLocation location = databaseLocation(access.database);
            Handle<IXpbBuilder> start(
                fb::util()->getXpbBuilder(status.throwing(), IXpbBuilder::SPB_START, nullptr, 0));
            start->insertTag(status.throwing(), isc_action_svc_properties);
            start->insertString(status.throwing(), isc_spb_dbname, location.path.toUtf8().constData());
            start->insertInt(status.throwing(), isc_spb_options, isc_spb_prp_db_online);
            runService(location, access, start.get(), {});
        } catch (const FbException&) {
        } catch (const EDatabaseError&) {
        }
    }
    qCWarning(lcData).noquote() << "The half-restored database could not be dropped:" << access.database
                                << lastError;
}

} // namespace

bool isServerDatabase(const QString& name) {
    return databaseNameKind(name) != DatabaseNameKind::File;
}

QStringList programTables() {
    return {QStringLiteral("ATVEVO"),    QStringLiteral("FJFEJ"),   QStringLiteral("FJSOR"),
            QStringLiteral("OSTERMELO"), QStringLiteral("SORSZAM"), QStringLiteral("TERMEK")};
}

QString backupFileName(const QString& databaseName, const QDateTime& when, bool automatic) {
    return baseNameOf(databaseName) + u'_' + when.toString(QStringLiteral("yyyy-MM-dd_HHmm")) +
           (automatic ? QStringLiteral("_auto.fbk") : QStringLiteral(".fbk"));
}

QString freeBackupPath(const QString& folder, const QString& databaseName, const QDateTime& when) {
    const QString name = backupFileName(databaseName, when);
    QString target = QDir(folder).filePath(name);
    for (int n = 2; QFileInfo::exists(target); ++n)
        target = QDir(folder).filePath(name.chopped(4) + QStringLiteral("_%1.fbk").arg(n));
    return target;
}

bool namesBackupFolder(const QString& destination) {
    return QFileInfo(destination).isDir() || destination.endsWith(u'/') || destination.endsWith(u'\\') ||
           !destination.endsWith(QStringLiteral(".fbk"), Qt::CaseInsensitive);
}

QString backupFolderFor(const QString& databaseName, const QString& configured) {
    if (!configured.trimmed().isEmpty())
        return configured;
    const DatabaseLocation location = databaseLocation(databaseName);
    // A server's database is backed up onto the desk, into its working folder.
    const QDir folder =
        location.kind == DatabaseNameKind::File ? QFileInfo(location.path).absoluteDir() : QDir::current();
    return folder.absoluteFilePath(QStringLiteral("Mentés"));
}

QString replacedFileName(const QString& databaseName, const QDateTime& when) {
    const QFileInfo file(databaseLocation(databaseName).path);
    return file.absoluteDir().filePath(baseNameOf(databaseName) + QStringLiteral("_csere_") +
                                       when.toString(QStringLiteral("yyyy-MM-dd_HHmm")) +
                                       QStringLiteral(".") +
                                       (file.suffix().isEmpty() ? QStringLiteral("fdb") : file.suffix()));
}

QString restoredDatabaseName(const QString& databaseName, const QDateTime& when) {
    const DatabaseLocation location = databaseLocation(databaseName);
    if (location.kind == DatabaseNameKind::Alias)
        return QString();
    // The server's folder, with the server's separators.
    const QString path = location.path;
    const qsizetype slash = std::max(path.lastIndexOf(u'/'), path.lastIndexOf(u'\\'));
    if (location.onServer() && slash < 0)
        return QString(); // "host:alias"
    const QString name = baseNameOf(databaseName) + QStringLiteral("_visszatoltott_") +
                         when.toString(QStringLiteral("yyyy-MM-dd_HHmmss")) + QStringLiteral(".fdb");
    return location.nameOf(path.left(slash + 1) + name);
}

void backupDatabase(const DatabaseAccess& database, const QString& backupFile,
                    const BackupProgress& progress) {
    const DatabaseLocation location = databaseLocation(database.database);
    const QString target = QFileInfo(backupFile).absoluteFilePath();
    requireNewFile(target);
    const QString written = temporaryNameFor(target);
    QFile file(written);
    if (!file.open(QIODevice::WriteOnly | QIODevice::NewOnly, ownerOnly))
        fail(QStringLiteral("Az adatmentés nem sikerült: a mentés nem írható: %1 (%2)")
                 .arg(QDir::toNativeSeparators(target), file.errorString()));
    Status status;
    try {
        Handle<IXpbBuilder> start(
            fb::util()->getXpbBuilder(status.throwing(), IXpbBuilder::SPB_START, nullptr, 0));
        start->insertTag(status.throwing(), isc_action_svc_backup);
        start->insertString(status.throwing(), isc_spb_dbname,
                            QDir::toNativeSeparators(location.path).toUtf8().constData());
        start->insertString(status.throwing(), isc_spb_bkp_file, "stdout");
        runService(location, database, start.get(), {&file, nullptr, progress});
        // The backup is on the disk before it gets its name.
        if (!file.flush() || file.size() == 0)
            fail(QStringLiteral("Az adatmentés nem sikerült: a mentés nem írható: %1")
                     .arg(QDir::toNativeSeparators(target)));
#ifndef Q_OS_WIN
        ::fsync(file.handle());
#endif
        file.close();
    } catch (const FbException& e) {
        file.close();
        QFile::remove(written);
        failWithEngine(QStringLiteral("Az adatmentés nem sikerült."), translated(e), database);
    } catch (...) {
        file.close();
        QFile::remove(written);
        throw;
    }
    giveName(written, target);
}

TableCounts checkDatabase(const DatabaseAccess& database) {
    Status status;
    TableCounts counts;
    try {
        Handle<IAttachment> attachment = attachAs(database);
        Handle<ITransaction> transaction(attachment->startTransaction(status.throwing(), 0, nullptr));
        const auto tables =
            fb::executeRows(attachment.get(), transaction.get(),
                            QStringLiteral("SELECT TRIM(RDB$RELATION_NAME) FROM RDB$RELATIONS "
                                           "WHERE COALESCE(RDB$SYSTEM_FLAG, 0) = 0 AND "
                                           "RDB$VIEW_BLR IS NULL ORDER BY RDB$RELATION_NAME"),
                            {});
        QStringList names;
        for (const auto& row : tables)
            names << row.at(0).toString();
        for (const QString& table : programTables()) {
            if (!names.contains(table))
                fail(QStringLiteral("Ez nem a program adatbázisa: hiányzik a(z) %1 tábla.").arg(table));
        }
        for (const QString& table : names) {
            // Every record of the table is read, not only counted from an index.
            const auto row = fb::executeSingle(attachment.get(), transaction.get(),
                                               QStringLiteral("SELECT COUNT(*) FROM \"%1\"")
                                                   .arg(QString(table).replace(u'"', QStringLiteral("\"\""))),
                                               {});
            counts.emplace_back(table, row.at(0).toLongLong());
        }
        transaction->commit(status.throwing());
        transaction.forget();
        attachment->detach(status.throwing());
        attachment.forget();
    } catch (const FbException& e) {
        failWithEngine(QStringLiteral("Az adatbázis nem olvasható."), translated(e), database);
    }
    return counts;
}

TableCounts restoreDatabase(const QString& backupFile, const DatabaseAccess& target,
                            const BackupProgress& progress) {
    const DatabaseLocation location = databaseLocation(target.database);
    // A local file is made under a temporary name; a server's (or an alias's) file is the engine's own.
    const bool local = location.kind == DatabaseNameKind::File;
    if (local)
        requireNewFile(location.path);
    QFile input(backupFile);
    if (!QFileInfo(backupFile).isFile() || !input.open(QIODevice::ReadOnly))
        fail(QStringLiteral("A mentés nem található: %1").arg(QDir::toNativeSeparators(backupFile)));
    const QString written = local ? temporaryNameFor(location.path) : location.path;
    const DatabaseAccess made{location.nameOf(written), target.user, target.password};
    // The engine says when it has made the database: only then is there something of the attempt to drop.
    bool created = false;
    const BackupProgress watch = [&](const QString& line) {
        if (line.contains(QLatin1String("created database")))
            created = true;
        if (progress)
            progress(line);
    };
    auto removeWritten = [&] {
        if (local)
            QFile::remove(written);
        else if (created)
            dropHalfRestored(made);
    };
    Status status;
    TableCounts counts;
    try {
        if (input.size() == 0)
            fail(damagedBackup);
        Handle<IXpbBuilder> start(
            fb::util()->getXpbBuilder(status.throwing(), IXpbBuilder::SPB_START, nullptr, 0));
        start->insertTag(status.throwing(), isc_action_svc_restore);
        start->insertString(status.throwing(), isc_spb_bkp_file, "stdin");
        start->insertString(status.throwing(), isc_spb_dbname,
                            QDir::toNativeSeparators(written).toUtf8().constData());
        // A new file only: a restore never overwrites a database.
        start->insertInt(status.throwing(), isc_spb_options, isc_spb_res_create);
        start->insertTag(status.throwing(), isc_spb_verbose);
        if (!restoreFinished(runService(location, target, start.get(), {nullptr, &input, watch})))
            fail(damagedBackup);
        counts = checkDatabase(made);
    } catch (const FbException& e) {
        removeWritten();
        failWithEngine(QStringLiteral("A visszatöltés nem sikerült."), translated(e), target,
                       Reading::Backup);
    } catch (const EDatabaseError& e) {
        removeWritten();
        fail(QStringLiteral("A visszatöltés nem sikerült. ") + e.Message());
    }
    if (local) {
        QFile::setPermissions(written, ownerOnly);
        giveName(written, location.path);
    }
    return counts;
}

QString makeDatabaseCopy(const DatabaseAccess& database, const QString& parentFolder,
                         const BackupProgress& progress) {
    if (!QDir().mkpath(parentFolder))
        fail(QStringLiteral("A mappa nem hozható létre: %1").arg(QDir::toNativeSeparators(parentFolder)));
    QTemporaryDir folder(QDir(parentFolder).filePath(QStringLiteral("kuldes-XXXXXX")));
    if (!folder.isValid())
        fail(QStringLiteral("A mappa nem hozható létre: %1").arg(QDir::toNativeSeparators(parentFolder)));
    const QString backup = folder.filePath(QStringLiteral("mentes.fbk"));
    QString name = fileNameOf(databaseLocation(database.database).path);
    if (!name.contains(u'.'))
        name = baseNameOf(database.database) + QStringLiteral(".fdb");
    const QString copy = folder.filePath(name);
    backupDatabase(database, backup, progress);
    try {
        // The copy is a local file of this desk, made by the embedded engine.
        restoreDatabase(backup, {copy, database.user, database.password}, progress);
    } catch (...) {
        QFile::remove(backup);
        throw;
    }
    QFile::remove(backup);
    folder.setAutoRemove(false);
    return copy;
}

void replaceDatabaseFile(const QString& databaseFile, const QString& restoredFile,
                         const QString& replacedName) {
    if (!QFileInfo(restoredFile).isFile())
        fail(QStringLiteral("A visszatöltött adatbázis nem található: %1")
                 .arg(QDir::toNativeSeparators(restoredFile)));
    if (QFileInfo(replacedName).exists() || QFileInfo(replacedName).isSymLink())
        fail(QStringLiteral("A fájl már létezik: %1").arg(QDir::toNativeSeparators(replacedName)));
    // Whoever could read and write the database can do so with the restored one, and nobody else.
    const QFile::Permissions permissions = QFileInfo(databaseFile).permissions();
    if (!QFile::setPermissions(restoredFile, permissions))
        fail(QStringLiteral("A visszatöltött adatbázis jogai nem állíthatók be: %1")
                 .arg(QDir::toNativeSeparators(restoredFile)));
    if (!QFile::rename(databaseFile, replacedName))
        fail(QStringLiteral("Az adatbázis nem nevezhető át erre: %1")
                 .arg(QDir::toNativeSeparators(replacedName)));
    if (!QFile::rename(restoredFile, databaseFile)) {
        QFile::rename(replacedName, databaseFile);
        fail(QStringLiteral("A visszatöltött adatbázis nem kerülhetett a helyére: %1")
                 .arg(QDir::toNativeSeparators(databaseFile)));
    }
}

void pruneAutomaticBackups(const QString& folder, const QString& databaseName, int kept) {
    const QString base = baseNameOf(databaseName);
    const QRegularExpression automatic(QStringLiteral("^%1_(\\d{4}-\\d\\d-\\d\\d)_\\d{4}(_\\d+)?_auto\\.fbk$")
                                           .arg(QRegularExpression::escape(base)));
    // Of one day only the last backup made is kept, as it holds all of the day.
    struct Entry {
        QString name;
        QString day;
        QDateTime made;
    };
    std::vector<Entry> entries;
    for (const QString& name : QDir(folder).entryList(QDir::Files, QDir::Name)) {
        const QRegularExpressionMatch match = automatic.match(name);
        if (match.hasMatch())
            entries.push_back(
                {name, match.captured(1), QFileInfo(QDir(folder).filePath(name)).lastModified()});
    }
    std::sort(entries.begin(), entries.end(), [](const Entry& a, const Entry& b) {
        return std::tie(a.day, a.made, a.name) < std::tie(b.day, b.made, b.name);
    });
    QStringList names;
    for (const Entry& entry : entries)
        names << entry.name;
    QStringList dropped;
    for (size_t i = 0; i + 1 < entries.size(); ++i) {
        if (entries[i].day == entries[i + 1].day)
            dropped << entries[i].name;
    }
    QStringList left;
    for (const QString& name : names) {
        if (!dropped.contains(name))
            left << name;
    }
    for (qsizetype i = 0; i + std::max(kept, 1) < left.size(); ++i)
        dropped << left.at(i);
    for (const QString& name : dropped) {
        if (!QFile::remove(QDir(folder).filePath(name)))
            qCWarning(lcData).noquote() << "An old automatic backup could not be removed:" << name;
    }
}

qint64 attachmentWrites(IAttachment* attachment) {
    if (!attachment)
        return 0;
    Status status;
    try {
        // Its own transaction: the monitoring tables show the state at that transaction's first look.
        Handle<ITransaction> transaction(attachment->startTransaction(status.throwing(), 0, nullptr));
        const auto row = fb::executeSingle(
            attachment, transaction.get(),
            QStringLiteral("SELECT R.MON$RECORD_INSERTS + R.MON$RECORD_UPDATES + R.MON$RECORD_DELETES "
                           "FROM MON$ATTACHMENTS A JOIN MON$RECORD_STATS R ON R.MON$STAT_ID = A.MON$STAT_ID "
                           "WHERE A.MON$ATTACHMENT_ID = CURRENT_CONNECTION"),
            {});
        transaction->commit(status.throwing());
        transaction.forget();
        return row.empty() ? 0 : row.at(0).toLongLong();
    } catch (const FbException& e) {
        qCWarning(lcData).noquote() << "The count of writes could not be read:" << fb::errorText(e);
    } catch (const EDatabaseError& e) {
        qCWarning(lcData).noquote() << "The count of writes could not be read:" << e.Message();
    }
    return 0;
}

QStringList automaticBackupMarkers(const QString& databaseName) {
    QStringList markers;
    const DatabaseLocation location = databaseLocation(databaseName);
    if (location.kind == DatabaseNameKind::File) {
        const QFileInfo file(location.path);
        markers << file.absoluteDir().filePath(QStringLiteral(".%1.mentes-hiba").arg(file.fileName()));
    }
    // The desk's own folder: one marker for each database, named by its name's hash.
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    if (!folder.isEmpty()) {
        const QByteArray key =
            QCryptographicHash::hash(QDir::toNativeSeparators(location.nameOf(location.path)).toUtf8(),
                                     QCryptographicHash::Sha1)
                .toHex()
                .left(16);
        markers << QDir(folder).filePath(QStringLiteral(".mentes-hiba-%1").arg(QString::fromLatin1(key)));
    }
    return markers;
}

bool automaticBackup(const DatabaseAccess& database, const QString& folder, int kept) {
    try {
        if (!QDir().mkpath(folder))
            fail(QStringLiteral("A mentések mappája nem hozható létre: %1")
                     .arg(QDir::toNativeSeparators(folder)));
        const QDateTime now = QDateTime::currentDateTime();
        QString name = QDir(folder).filePath(backupFileName(database.database, now, true));
        // Two closings in the same minute: the second gets a number.
        for (int n = 2; QFileInfo::exists(name); ++n)
            name = QDir(folder).filePath(
                backupFileName(database.database, now, true)
                    .replace(QStringLiteral("_auto.fbk"), QStringLiteral("_%1_auto.fbk").arg(n)));
        backupDatabase(database, name);
        pruneAutomaticBackups(folder, database.database, kept);
        return true;
    } catch (const EDatabaseError& e) {
        qCWarning(lcData).noquote() << "The automatic backup failed:" << e.Message() << "code"
                                    << e.ErrorCode();
        // Each failure is added, so none goes untold; the first marker that can be written takes it.
        const QByteArray line =
            QDateTime::currentDateTime().toString(QStringLiteral("yyyy.MM.dd. HH:mm")).toUtf8() + ' ' +
            e.Message().simplified().toUtf8() + '\n';
        bool noted = false;
        for (const QString& marker : automaticBackupMarkers(database.database)) {
            QDir().mkpath(QFileInfo(marker).absolutePath());
            QFile file(marker);
            if (file.open(QIODevice::WriteOnly | QIODevice::Append, ownerOnly) &&
                file.write(line) == line.size() && file.flush()) {
                noted = true;
                break;
            }
        }
        if (!noted)
            qCWarning(lcData).noquote() << "The failure of the automatic backup could not be noted for the "
                                           "next start.";
        return false;
    }
}

QString takeAutomaticBackupFailure(const QString& databaseName) {
    QStringList failures;
    for (const QString& marker : automaticBackupMarkers(databaseName)) {
        QFile file(marker);
        if (!file.exists())
            continue;
        if (file.open(QIODevice::ReadOnly))
            failures << QString::fromUtf8(file.readAll()).split(u'\n', Qt::SkipEmptyParts);
        file.close();
        QFile::remove(marker);
    }
    if (failures.isEmpty())
        return QString();
    const QString what =
        failures.size() == 1
            ? QStringLiteral("Az automatikus adatmentés nem sikerült:")
            : QStringLiteral("Az automatikus adatmentés %1 alkalommal nem sikerült:").arg(failures.size());
    return what + u'\n' + failures.join(u'\n') +
           QStringLiteral("\n\nKészítsen adatmentést most: Segédlet → Adatmentés.");
}

} // namespace vardelo
