#include "data/database_backup.h"

#include "data/connection.h"
#include "data/database_error.h"
#include "data/firebird_api.h"
#include "data/logging.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSaveFile>
#include <QTemporaryDir>
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

const char* const userName = "SYSDBA";
const char* const password = "quillfern";

// A server's name and the path on it: "host:path" or "host/port:path".
struct Place {
    QString server; // empty: the local engine
    QString path;
};

Place placeOf(const QString& name) {
    if (isServerDatabase(name)) {
        const qsizetype colon = name.indexOf(u':');
        return {name.left(colon), name.mid(colon + 1)};
    }
    return {QString(), QDir::current().absoluteFilePath(name)};
}

QByteArray encodedName(const QString& name) {
    return QDir::toNativeSeparators(name).toLocal8Bit();
}

QString nameOn(const Place& place, const QString& path) {
    return place.server.isEmpty() ? path : place.server + u':' + path;
}

// The service manager of the place: the embedded engine's for a local file, the server's otherwise.
Handle<IService> attachServices(const Place& place) {
    Status status;
    Handle<IXpbBuilder> spb(
        fb::util()->getXpbBuilder(status.throwing(), IXpbBuilder::SPB_ATTACH, nullptr, 0));
    spb->insertString(status.throwing(), isc_spb_user_name, userName);
    spb->insertString(status.throwing(), isc_spb_password, password);
    const QByteArray name = place.server.isEmpty()
                                ? QByteArray("service_mgr")
                                : (place.server + QStringLiteral(":service_mgr")).toLocal8Bit();
    Handle<IProvider> provider(fb::master()->getDispatcher());
    return Handle<IService>(provider->attachServiceManager(status.throwing(), name.constData(),
                                                           spb->getBufferLength(status.throwing()),
                                                           spb->getBuffer(status.throwing())));
}

// Starts the action built in `start` and reads its verbose output to the end, line by line; gives the last
// line. The engine reports most failed actions as the error of a query.
QString runService(const Place& place, IXpbBuilder* start, const BackupProgress& progress) {
    QString last;
    Status status;
    Handle<IService> service = attachServices(place);
    service->start(status.throwing(), start->getBufferLength(status.throwing()),
                   start->getBuffer(status.throwing()));
    const unsigned char items[] = {isc_info_svc_line};
    std::vector<unsigned char> buffer(16384);
    for (bool more = true; more;) {
        service->query(status.throwing(), 0, nullptr, sizeof items, items, unsigned(buffer.size()),
                       buffer.data());
        // The answer: items of a tag and, for a line, a two-byte length and the text; isc_info_end ends it.
        more = false;
        const unsigned char* p = buffer.data();
        const unsigned char* const end = p + buffer.size();
        while (p < end && *p != isc_info_end) {
            const unsigned char tag = *p++;
            if (tag == isc_info_svc_line && end - p >= 2) {
                const unsigned length = unsigned(p[0]) | (unsigned(p[1]) << 8);
                p += 2;
                if (length > unsigned(end - p))
                    break;
                const QString line =
                    QString::fromLocal8Bit(reinterpret_cast<const char*>(p), qsizetype(length)).trimmed();
                p += length;
                if (length > 0) {
                    more = true;
                    if (!line.isEmpty())
                        last = line;
                    if (progress && !line.isEmpty())
                        progress(line);
                }
            } else if (tag == isc_info_truncated || tag == isc_info_data_not_ready) {
                more = true;
            } else {
                break;
            }
        }
    }
    service->detach(status.throwing());
    service.forget();
    return last;
}

// A run of the engine's backup tool that went to its end says so in its last verbose lines; a backup file
// cut short can end a restore early without an error.
bool backupFinished(const QString& lastLine) {
    return lastLine.contains(QLatin1String("closing file, committing, and finishing"));
}
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

[[noreturn]] void fail(const QString& message) {
    qCWarning(lcData).noquote() << message;
    throw EDatabaseError(message);
}

// The engine's error turned into one with the program's own words in front; the engine's words stay behind.
[[noreturn]] void failWithEngine(const QString& message, const FbException& e) {
    qCWarning(lcData).noquote() << message << fb::errorText(e);
    try {
        fb::raise(e);
    } catch (const EDatabaseError& error) {
        throw EDatabaseError(message + QStringLiteral(" ") + error.Message(), error.ErrorCode(),
                             error.SqlCode(), error.Codes());
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

QString baseNameOf(const QString& databaseName) {
    const QString base = QFileInfo(placeOf(databaseName).path).completeBaseName();
    return base.isEmpty() ? QStringLiteral("du2010") : base;
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
    const Place place = placeOf(databaseName);
    const QString folder = QFileInfo(place.path).absoluteDir().filePath(QStringLiteral("Mentés"));
    return place.server.isEmpty() ? folder : QFileInfo(place.path).path() + QStringLiteral("/Mentés");
}

QString replacedFileName(const QString& databaseName, const QDateTime& when) {
    const QFileInfo file(placeOf(databaseName).path);
    return file.absoluteDir().filePath(baseNameOf(databaseName) + QStringLiteral("_csere_") +
                                       when.toString(QStringLiteral("yyyy-MM-dd_HHmm")) +
                                       QStringLiteral(".") +
                                       (file.suffix().isEmpty() ? QStringLiteral("fdb") : file.suffix()));
}

void backupDatabase(const QString& databaseName, const QString& backupFile, const BackupProgress& progress) {
    const Place place = placeOf(databaseName);
    const bool local = place.server.isEmpty();
    const QString target = local ? QFileInfo(backupFile).absoluteFilePath() : backupFile;
    if (local)
        requireNewFile(target);
    // On a server the file is the server's: it writes it under its name at once.
    const QString written = local ? temporaryNameFor(target) : target;
    Status status;
    try {
        Handle<IXpbBuilder> start(
            fb::util()->getXpbBuilder(status.throwing(), IXpbBuilder::SPB_START, nullptr, 0));
        start->insertTag(status.throwing(), isc_action_svc_backup);
        start->insertString(status.throwing(), isc_spb_dbname, encodedName(place.path).constData());
        start->insertString(status.throwing(), isc_spb_bkp_file, encodedName(written).constData());
        start->insertTag(status.throwing(), isc_spb_verbose);
        if (!backupFinished(runService(place, start.get(), progress)))
            fail(QStringLiteral("Az adatmentés nem sikerült: a mentés nem fejeződött be."));
    } catch (const FbException& e) {
        if (local)
            QFile::remove(written);
        failWithEngine(QStringLiteral("Az adatmentés nem sikerült."), e);
    } catch (...) {
        if (local)
            QFile::remove(written);
        throw;
    }
    if (local) {
        // The backup is on the disk before it gets its name.
        QFile file(written);
        if (!file.open(QIODevice::ReadWrite) || !file.flush() || file.size() == 0) {
            QFile::remove(written);
            fail(QStringLiteral("Az adatmentés nem sikerült: a mentés nem írható: %1")
                     .arg(QDir::toNativeSeparators(target)));
        }
#ifndef Q_OS_WIN
        ::fsync(file.handle());
#endif
        file.close();
        giveName(written, target);
    }
}

TableCounts checkDatabase(const QString& databaseName) {
    const Place place = placeOf(databaseName);
    Status status;
    TableCounts counts;
    try {
        Handle<IXpbBuilder> dpb(fb::util()->getXpbBuilder(status.throwing(), IXpbBuilder::DPB, nullptr, 0));
        dpb->insertString(status.throwing(), isc_dpb_user_name, userName);
        dpb->insertString(status.throwing(), isc_dpb_password, password);
        dpb->insertString(status.throwing(), isc_dpb_lc_ctype, "WIN1250");
        Handle<IAttachment> attachment =
            fb::attachDatabase(encodedName(nameOn(place, place.path)), dpb.get());
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
        failWithEngine(QStringLiteral("Az adatbázis nem olvasható."), e);
    }
    return counts;
}

TableCounts restoreDatabase(const QString& backupFile, const QString& databaseName,
                            const BackupProgress& progress) {
    const Place place = placeOf(databaseName);
    const bool local = place.server.isEmpty();
    if (local) {
        requireNewFile(place.path);
        if (!QFileInfo(backupFile).isFile())
            fail(QStringLiteral("A mentés nem található: %1").arg(QDir::toNativeSeparators(backupFile)));
    }
    const QString written = local ? temporaryNameFor(place.path) : place.path;
    Status status;
    TableCounts counts;
    try {
        Handle<IXpbBuilder> start(
            fb::util()->getXpbBuilder(status.throwing(), IXpbBuilder::SPB_START, nullptr, 0));
        start->insertTag(status.throwing(), isc_action_svc_restore);
        start->insertString(
            status.throwing(), isc_spb_bkp_file,
            encodedName(local ? QFileInfo(backupFile).absoluteFilePath() : backupFile).constData());
        start->insertString(status.throwing(), isc_spb_dbname, encodedName(written).constData());
        // A new file only: a restore never overwrites a database.
        start->insertInt(status.throwing(), isc_spb_options, isc_spb_res_create);
        start->insertTag(status.throwing(), isc_spb_verbose);
        if (!restoreFinished(runService(place, start.get(), progress)))
            fail(QStringLiteral("A mentés hiányos vagy sérült."));
        counts = checkDatabase(nameOn(place, written));
    } catch (const FbException& e) {
        if (local)
            QFile::remove(written);
        failWithEngine(QStringLiteral("A visszatöltés nem sikerült."), e);
    } catch (const EDatabaseError& e) {
        if (local)
            QFile::remove(written);
        fail(QStringLiteral("A visszatöltés nem sikerült. ") + e.Message());
    }
    if (local)
        giveName(written, place.path);
    return counts;
}

QString makeDatabaseCopy(const QString& databaseName, const QString& parentFolder,
                         const BackupProgress& progress) {
    if (isServerDatabase(databaseName))
        fail(QStringLiteral("Kiszolgálón lévő adatbázisról itt nem készíthető másolat."));
    if (!QDir().mkpath(parentFolder))
        fail(QStringLiteral("A mappa nem hozható létre: %1").arg(QDir::toNativeSeparators(parentFolder)));
    QTemporaryDir folder(QDir(parentFolder).filePath(QStringLiteral("kuldes-XXXXXX")));
    if (!folder.isValid())
        fail(QStringLiteral("A mappa nem hozható létre: %1").arg(QDir::toNativeSeparators(parentFolder)));
    const QString backup = folder.filePath(QStringLiteral("mentes.fbk"));
    const QString copy = folder.filePath(QFileInfo(placeOf(databaseName).path).fileName());
    backupDatabase(databaseName, backup, progress);
    try {
        restoreDatabase(backup, copy, progress);
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

QString automaticBackupMarker(const QString& databaseName) {
    if (isServerDatabase(databaseName))
        return QString();
    const QFileInfo file(placeOf(databaseName).path);
    return file.absoluteDir().filePath(QStringLiteral(".%1.mentes-hiba").arg(file.fileName()));
}

bool automaticBackup(const QString& databaseName, const QString& folder, int kept) {
    const QString marker = automaticBackupMarker(databaseName);
    try {
        if (!isServerDatabase(databaseName) && !QDir().mkpath(folder))
            fail(QStringLiteral("A mentések mappája nem hozható létre: %1")
                     .arg(QDir::toNativeSeparators(folder)));
        const QDateTime now = QDateTime::currentDateTime();
        QString name = QDir(folder).filePath(backupFileName(databaseName, now, true));
        // Two closings in the same minute: the second gets a number.
        for (int n = 2; QFileInfo::exists(name); ++n)
            name = QDir(folder).filePath(
                backupFileName(databaseName, now, true)
                    .replace(QStringLiteral("_auto.fbk"), QStringLiteral("_%1_auto.fbk").arg(n)));
        backupDatabase(databaseName, name);
        if (!isServerDatabase(databaseName))
            pruneAutomaticBackups(folder, databaseName, kept);
        if (!marker.isEmpty())
            QFile::remove(marker);
        return true;
    } catch (const EDatabaseError& e) {
        qCWarning(lcData).noquote() << "The automatic backup failed:" << e.Message() << "code"
                                    << e.ErrorCode();
        if (!marker.isEmpty()) {
            QSaveFile file(marker);
            if (file.open(QIODevice::WriteOnly)) {
                file.write(
                    QDateTime::currentDateTime().toString(QStringLiteral("yyyy.MM.dd. HH:mm")).toUtf8() +
                    ' ' + e.Message().toUtf8() + '\n');
                file.commit();
            }
        }
        return false;
    }
}

QString takeAutomaticBackupFailure(const QString& databaseName) {
    const QString marker = automaticBackupMarker(databaseName);
    if (marker.isEmpty() || !QFileInfo::exists(marker))
        return QString();
    QFile file(marker);
    QString text;
    if (file.open(QIODevice::ReadOnly))
        text = QString::fromUtf8(file.readAll()).trimmed();
    file.close();
    QFile::remove(marker);
    return QStringLiteral("A legutóbbi automatikus adatmentés nem sikerült: ") + text;
}

} // namespace vardelo
