#include "data/database_error.h"

#include "data/engine_lock_folder.h"

#include <QDir>
#include <algorithm>
#include <cerrno>
#include <ibase.h>

EDatabaseError::EDatabaseError(const QString& message, long errorCode, int sqlCode, std::vector<long> codes)
    : std::runtime_error(message.toStdString()), message_(message), errorCode_(errorCode), sqlCode_(sqlCode),
      codes_(std::move(codes)) {
    if (codes_.empty() && errorCode_ != 0)
        codes_.push_back(errorCode_);
}

EDatabaseError::EDatabaseError(const QString& message, long errorCode, int sqlCode, std::vector<long> codes,
                               int systemError, QStringList arguments)
    : EDatabaseError(message, errorCode, sqlCode, std::move(codes)) {
    systemError_ = systemError;
    arguments_ = std::move(arguments);
}

bool EDatabaseError::HasCode(long code) const {
    return std::find(codes_.begin(), codes_.end(), code) != codes_.end();
}

namespace vardelo {

namespace {

// Another desk holds the row: the non-waiting transaction fails at once instead of waiting for it.
const char* const ConcurrencyConflictText =
    "Egy másik munkahely éppen ugyanezeket az adatokat módosítja. Próbálja újra!";
const char* const LostConnectionText = "A kapcsolat az adatbázis-kiszolgálóval megszakadt.";

struct CodeText {
    long code;
    const char* text;
};

// What an engine code means to the clerk. The first code of the error found here wins, so the more telling
// codes stand first.
const CodeText reasons[] = {
    {isc_string_truncation, "A beírt szöveg hosszabb, mint amennyi a mezőben elfér."},
    {isc_numeric_out_of_range, "A szám túl nagy ahhoz, hogy a mezőben elférjen."},
    {isc_arith_except, "A szám túl nagy, vagy a szöveg túl hosszú ahhoz, hogy a mezőben elférjen."},
    {isc_unique_key_violation, "Ilyen azonosítójú adat már van az adatbázisban."},
    {isc_no_dup, "Ilyen azonosítójú adat már van az adatbázisban."},
    {isc_foreign_key, "Az adatra más adatok hivatkoznak, vagy olyan adatra hivatkozik, amely nincs meg."},
    {isc_not_valid, "Egy kötelező mező üres, vagy egy mező értéke nem megengedett."},
    {isc_check_constraint, "Egy mező értéke nem megengedett."},
    {isc_convert_error, "Egy érték nem alakítható át a mező típusára."},
    {isc_lock_conflict, ConcurrencyConflictText},
    {isc_deadlock, ConcurrencyConflictText},
    {isc_update_conflict, ConcurrencyConflictText},
    {isc_concurrent_transaction, ConcurrencyConflictText},
    {isc_read_only_database, "Az adatbázis csak olvasható, ezért nem írható."},
    {isc_read_only, "Az adatbázis csak olvasható, ezért nem írható."},
    {isc_network_error, LostConnectionText},
    {isc_net_read_err, LostConnectionText},
    {isc_net_write_err, LostConnectionText},
    {isc_lost_db_connection, LostConnectionText},
    {isc_conn_lost, LostConnectionText},
    {isc_att_shutdown, LostConnectionText},
    {isc_shutdown, LostConnectionText},
    {isc_net_server_shutdown, LostConnectionText},
    // A statement naming a column or table the database does not have yet: an older database that a desk
    // without the right to change the schema opened first.
    {isc_dsql_field_err, "Az adatbázisból hiányzik a program egy újabb kiegészítése. Indítsa el egyszer a "
                         "programot az adatbázis tulajdonosaként (vagy SYSDBA-ként), az pótolja."},
};

// The engine codes of a lost connection.
const long lostConnectionCodes[] = {isc_network_error,      isc_net_read_err,       isc_net_write_err,
                                    isc_lost_db_connection, isc_conn_lost,          isc_att_shutdown,
                                    isc_shutdown,           isc_net_server_shutdown};

QString hungarianForCodes(const EDatabaseError& error) {
    const QString argument = error.Arguments().value(0);
    // The rule or the value the engine names says which one it was.
    if (error.HasCode(isc_check_constraint) && !argument.isEmpty())
        return QStringLiteral("Egy mező értéke nem megengedett (%1).").arg(argument);
    if (error.HasCode(isc_convert_error) && !argument.isEmpty())
        return QStringLiteral("Egy érték („%1”) nem alakítható át a mező típusára.").arg(argument);
    for (const CodeText& entry : reasons)
        if (error.HasCode(entry.code))
            return QString::fromUtf8(entry.text);
    return QString();
}

} // namespace

bool isConcurrencyConflict(const EDatabaseError& error) {
    return error.HasCode(isc_lock_conflict) || error.HasCode(isc_deadlock) ||
           error.HasCode(isc_update_conflict) || error.HasCode(isc_concurrent_transaction);
}

bool isLostConnection(const EDatabaseError& error) {
    for (const long code : lostConnectionCodes)
        if (error.HasCode(code))
            return true;
    return false;
}

QString databaseErrorReason(const EDatabaseError& error) {
    QString reason = error.Codes().empty() ? error.Message() : hungarianForCodes(error);
    // A database's own exception speaks for itself; any other engine text stays in the details.
    if (reason.isEmpty())
        reason = error.HasCode(isc_except)
                     ? error.Message()
                     : QStringLiteral("Az adatbázis-kezelő hibát jelzett, a művelet nem "
                                      "történt meg. A hiba leírása a részletek között "
                                      "olvasható.");
    if (!error.FieldName().isEmpty())
        reason = QStringLiteral("A(z) %1 mező: %2").arg(error.FieldName(), reason);
    return reason;
}

QString databaseErrorEngineText(const EDatabaseError& error) {
    if (error.ErrorCode() == 0)
        return error.Message();
    return QStringLiteral("%1\n(hibakód: %2, SQL-kód: %3)")
        .arg(error.Message())
        .arg(error.ErrorCode())
        .arg(error.SqlCode());
}

QString startupFailureAdvice(const EDatabaseError& error) {
    const QString operation = error.Arguments().value(0);
    const int os = error.SystemError();
    // The engine's lock folder first: a refusal there says nothing about the database file itself.
    const QString lockFolder = QDir::cleanPath(engineLockFolder());
    for (const QString& argument : error.Arguments()) {
        const QString path = QDir::cleanPath(argument);
        if (path == lockFolder || path.startsWith(lockFolder + QLatin1Char('/')))
            return QStringLiteral("Az adatbázis-kezelő zárolási mappája (%1) nem használható: %2. A mappa "
                                  "legyen az Öné és írható (vagy a FIREBIRD_LOCK környezeti változó nevezzen "
                                  "meg egy saját, írható mappát).")
                .arg(QDir::toNativeSeparators(lockFolder), systemErrorText(os));
    }
    // Another copy holds the file: the engine could not lock it.
    if ((error.HasCode(isc_io_error) && operation == QLatin1String("lock")) ||
        error.HasCode(isc_lock_timeout) || error.HasCode(isc_lock_conflict))
        return QStringLiteral("Az adatbázist egy másik program (például a Vardelo egy másik példánya) "
                              "használja. Zárja be a másik példányt, majd indítsa újra a programot.");
    if (error.HasCode(isc_io_error) && (os == ENOENT || os == ENOTDIR))
        return QStringLiteral("Az adatbázis fájlja (du2010.fdb) nincs a program mappájában. Indítsa a "
                              "programot abból a mappából, ahol az adatbázis van, vagy másolja oda a "
                              "legutóbbi mentést.");
    if (error.HasCode(isc_no_priv) || error.HasCode(isc_read_only_database) || error.HasCode(isc_read_only) ||
        (error.HasCode(isc_io_error) && (os == EACCES || os == EPERM || os == EROFS)))
        return QStringLiteral("Az adatbázis fájlja nem írható (%1). Másolja a fájlt egy írható mappába, és "
                              "vegye le róla a csak olvasható jelzést.")
            .arg(os != 0 ? systemErrorText(os)
                         : QStringLiteral("csak olvasható fájl vagy mappa, például CD-n "
                                          "vagy írásvédett helyen"));
    if (error.HasCode(isc_bad_db_format) || error.HasCode(isc_wrong_ods) || error.HasCode(isc_badodsver))
        return QStringLiteral("A fájl nem a program adatbázisa (vagy más változatú adatbázis). Tegye "
                              "vissza a helyes du2010.fdb fájlt, például a legutóbbi mentésből.");
    if (error.HasCode(isc_db_corrupt) || error.HasCode(isc_badpage) || error.HasCode(isc_bad_checksum) ||
        error.HasCode(isc_bug_check) || error.HasCode(isc_io_read_err) || error.HasCode(isc_page_type_err))
        return QStringLiteral("Az adatbázis sérült. Állítsa vissza a legutóbbi mentésből.");
    if (error.HasCode(isc_io_error) && os == ENOSPC)
        return QStringLiteral("Az adatbázis nem nyitható meg: %1.").arg(systemErrorText(os));
    if (error.HasCode(isc_network_error) || error.HasCode(isc_unavailable))
        return QStringLiteral("Az adatbázis-kezelő nem érhető el. Ellenőrizze, hogy a Firebird telepítve "
                              "van és fut.");
    if (error.HasCode(isc_login))
        return QStringLiteral("Az adatbázis-kezelő nem fogadta el a felhasználót vagy a jelszót.");
    const QString reason = hungarianForCodes(error);
    if (!reason.isEmpty())
        return reason;
    if (os != 0)
        return QStringLiteral("Az adatbázis nem nyitható meg: %1.").arg(systemErrorText(os));
    return QStringLiteral("Az adatbázis nem nyitható meg.");
}

QString systemErrorText(int error) {
    switch (error) {
    case EACCES:
    case EPERM:
        return QStringLiteral("nincs hozzá jogosultsága (egy másik felhasználóé)");
    case EROFS:
        return QStringLiteral("csak olvasható lemezen van");
    case ENOENT:
        return QStringLiteral("nem létezik");
    case ENOTDIR:
        return QStringLiteral("az útvonal egy része nem mappa");
    case ENOSPC:
    case EDQUOT:
        return QStringLiteral("betelt a lemez");
    case 0:
        return QStringLiteral("ismeretlen ok");
    default:
        return QStringLiteral("a rendszer %1. számú hibája").arg(error);
    }
}

} // namespace vardelo
