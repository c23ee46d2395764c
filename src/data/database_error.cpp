#include "data/database_error.h"

#include <algorithm>
#include <ibase.h>

EDatabaseError::EDatabaseError(const QString& message, long errorCode, int sqlCode, std::vector<long> codes)
    : std::runtime_error(message.toStdString()), message_(message), errorCode_(errorCode), sqlCode_(sqlCode),
      codes_(std::move(codes)) {
    if (codes_.empty() && errorCode_ != 0)
        codes_.push_back(errorCode_);
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
    for (const CodeText& entry : reasons)
        if (error.HasCode(entry.code))
            return QString::fromUtf8(entry.text);
    return QString();
}

bool messageHas(const EDatabaseError& error, const char* text) {
    return error.Message().contains(QLatin1String(text), Qt::CaseInsensitive);
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
    if (reason.isEmpty())
        reason = error.Message();
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
    // The lock of another copy first: it comes as an I/O error too.
    if (messageHas(error, "already opened") || messageHas(error, "incompatible with current") ||
        messageHas(error, "in use") || error.HasCode(isc_lock_timeout) || error.HasCode(isc_lock_conflict))
        return QStringLiteral("Az adatbázist egy másik program (például a Vardelo egy másik példánya) "
                              "használja. Zárja be a másik példányt, majd indítsa újra a programot.");
    if (error.HasCode(isc_no_priv) || error.HasCode(isc_read_only_database) || error.HasCode(isc_read_only) ||
        messageHas(error, "read-only") || messageHas(error, "Permission denied") ||
        messageHas(error, "Access is denied"))
        return QStringLiteral("Az adatbázis fájlja nem írható (csak olvasható fájl vagy mappa, például CD-n "
                              "vagy írásvédett helyen). Másolja a fájlt egy írható mappába, és vegye le "
                              "róla a csak olvasható jelzést.");
    if (error.HasCode(isc_bad_db_format) || error.HasCode(isc_wrong_ods) || error.HasCode(isc_badodsver))
        return QStringLiteral("A fájl nem a program adatbázisa (vagy más változatú adatbázis). Tegye "
                              "vissza a helyes du2010.fdb fájlt, például a legutóbbi mentésből.");
    if (error.HasCode(isc_db_corrupt) || error.HasCode(isc_badpage) || error.HasCode(isc_bad_checksum) ||
        error.HasCode(isc_bug_check) || error.HasCode(isc_io_read_err) || messageHas(error, "corrupt"))
        return QStringLiteral("Az adatbázis sérült. Állítsa vissza a legutóbbi mentésből.");
    if (messageHas(error, "No such file") || messageHas(error, "cannot find") ||
        messageHas(error, "not found"))
        return QStringLiteral("Az adatbázis fájlja (du2010.fdb) nincs a program mappájában. Indítsa a "
                              "programot abból a mappából, ahol az adatbázis van, vagy másolja oda a "
                              "legutóbbi mentést.");
    if (error.HasCode(isc_network_error) || error.HasCode(isc_unavailable))
        return QStringLiteral("Az adatbázis-kezelő nem érhető el. Ellenőrizze, hogy a Firebird telepítve "
                              "van és fut.");
    if (error.HasCode(isc_login))
        return QStringLiteral("Az adatbázis-kezelő nem fogadta el a felhasználót vagy a jelszót.");
    const QString reason = hungarianForCodes(error);
    return reason.isEmpty() ? QStringLiteral("Az adatbázis nem nyitható meg.") : reason;
}

} // namespace vardelo
