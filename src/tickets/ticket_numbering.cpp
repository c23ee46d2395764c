#include "tickets/ticket_numbering.h"

#include "data/data_module.h"
#include "data/database_error.h"
#include "data/immediate_write.h"
#include "data/logging.h"
#include "data/shared_values.h"
#include "tickets/ticket_queries.h"

#include <QRandomGenerator>
#include <QThread>
#include <ibase.h>

namespace vardelo::tickets {

namespace {

// The statements of number taking. ZQ12 and ZQ22 serve nothing else.

// The lines under a number, with what the current transaction wrote among them.
QStringList lineIds(const QString& number, bool writtenNow) {
    TZQuery* q = Data->ZQ12;
    QStringList sql{QStringLiteral("SELECT id_fjsor FROM fjsor "), QStringLiteral("  WHERE s_bszam = :p1 ")};
    if (writtenNow)
        sql << QStringLiteral("    AND rdb$record_version = CURRENT_TRANSACTION ");
    openQuery(q, sql, {{QStringLiteral("p1"), number}});
    QStringList ids;
    for (q->First(); !q->Eof(); q->Next())
        ids << q->FieldByName(QStringLiteral("ID_FJSOR")).AsString();
    q->Close();
    return ids;
}

// Whether a header of any purchaser carries the number (ZQ11, which ticketHeaderExists uses, holds the header
// statement while a ticket is stored).
bool headerExists(const QString& number) {
    if (number.size() > 8) // longer than a ticket number can be
        return false;
    TZQuery* q = Data->ZQ12;
    openQuery(q,
              {QStringLiteral("SELECT count(*) AS db FROM fjfej "), QStringLiteral("  WHERE f_bszam = :p1 ")},
              {{QStringLiteral("p1"), number}});
    const bool exists = q->FieldByName(QStringLiteral("DB")).AsInteger() > 0;
    q->Close();
    return exists;
}

// Moves one line to a number; with `from` set only while it is still under that number.
void moveLine(const QString& id, const QString& number, const QString& from = QString()) {
    QStringList sql{QStringLiteral("UPDATE fjsor SET s_bszam = :p1 "),
                    QStringLiteral("  WHERE id_fjsor = :p2 ")};
    QueryParams params{{QStringLiteral("p1"), number}, {QStringLiteral("p2"), id}};
    if (!from.isEmpty()) {
        sql << QStringLiteral("    AND s_bszam = :p3 ");
        params.emplace_back(QStringLiteral("p3"), from);
    }
    execQuery(Data->ZQ22, sql, params);
}

// The one atomic step: the purchaser's last number becomes `number` only if it is still `read`.
int takeNumber(const QString& number, const QString& read) {
    return execQuery(
        Data->ZQ50,
        {QStringLiteral("UPDATE sorszam SET a_fjbszam = :p1 "),
         QStringLiteral("  WHERE a_akod = :p2 AND a_fjbszam = :p3 ")},
        {{QStringLiteral("p1"), number}, {QStringLiteral("p2"), AktAkod}, {QStringLiteral("p3"), read}});
}

// Other desks connected to the database now. Read in a transaction of its own: the engine keeps one
// snapshot of the monitoring tables for a whole transaction.
int otherDesks() {
    TTransaction transaction(QStringLiteral("MonitorTransaction"), Data->ZCon1);
    TZQuery q(QStringLiteral("MonitorQuery"), Data->ZCon1, &transaction);
    openQuery(&q,
              {QStringLiteral("SELECT COUNT(*) AS db FROM mon$attachments "),
               QStringLiteral("  WHERE mon$attachment_id <> CURRENT_CONNECTION AND mon$system_flag = 0 ")});
    const int count = q.FieldByName(QStringLiteral("DB")).AsInteger();
    q.Close();
    transaction.Commit();
    return count;
}

QString lastNumberRead() {
    openNumberRow();
    return Data->ZQ50->FieldByName(QStringLiteral("A_FJBSZAM")).AsString();
}

void rollBackQuietly() {
    rollBack();
}

} // namespace

void rememberOwnLines(const QString& number) {
    for (const QString& id : lineIds(number, true))
        if (!PendingLineIds.contains(id))
            PendingLineIds << id;
}

void adoptLeftoverLines(const QString& number) {
    const QStringList ids = lineIds(number, false);
    if (ids.isEmpty() || headerExists(number))
        return;
    bool alone = false;
    try {
        alone = otherDesks() == 0;
    } catch (const EDatabaseError& error) {
        // Without the monitoring tables nothing tells whose the lines are: they stay another desk's.
        qCWarning(lcTickets) << "counting the connected desks failed:" << error.Message()
                             << error.ErrorCode();
    }
    if (!alone)
        return;
    for (const QString& id : ids)
        if (!PendingLineIds.contains(id))
            PendingLineIds << id;
}

NextNumber currentNextNumber() {
    return nextTicketNumber(lastNumberRead());
}

ENumberRowMissing::ENumberRowMissing()
    : EDatabaseError(QStringLiteral("A sorszám sora nem található az átvevő kódjával.")) {}

SavedTicket storeNewTicket(const std::function<void(const QString& number)>& insertHeader) {
    SavedTicket stored;
    for (int attempt = 0; attempt < NumberAttempts; ++attempt) {
        try {
            if (!Data->IBTrans1->Active())
                Data->IBTrans1->StartTransaction();
            const QString read = lastNumberRead();
            const NextNumber next = nextTicketNumber(read);
            if (!next.ok())
                throw EDatabaseError(next.error);
            // The guard of databases without the unique index on (F_AKOD, F_BSZAM): a header under the number
            // is either another desk's, stored since the number was read, or the sequence fell behind.
            const bool used = next.number.size() <= 8 && headerExists(next.number);
            const QString refusal = newTicketNumberRefusal(next.number, used);
            if (!refusal.isEmpty() && !(used && lastNumberRead() != read))
                throw EDatabaseError(refusal);
            if (!used && takeNumber(next.number, read) == 1) {
                insertHeader(next.number);
                for (const QString& id : std::as_const(PendingLineIds))
                    moveLine(id, next.number);
                // Lines of another desk's unsaved ticket that showed the same number go on to the next one,
                // where that desk's ticket will find them.
                const NextNumber after = nextTicketNumber(next.number);
                if (after.number.size() <= 8)
                    for (const QString& id : lineIds(next.number, false))
                        if (!PendingLineIds.contains(id))
                            moveLine(id, after.number, next.number);
                Data->IBTrans1->Commit();
                PendingLineIds.clear();
                stored.number = next.number;
                return stored;
            }
            // Nothing changed: either another desk took the number, or the purchaser's number row is not
            // found by its purchaser code at all.
            if (!used && lastNumberRead() == read)
                throw ENumberRowMissing();
            qCInfo(lcTickets) << "ticket number" << next.number << "was taken by another desk";
        } catch (const ENumberRowMissing&) {
            rollBackQuietly();
            throw;
        } catch (const EDatabaseError& error) {
            rollBackQuietly();
            const bool taken = isConcurrencyConflict(error) || error.HasCode(isc_unique_key_violation) ||
                               error.HasCode(isc_no_dup);
            if (!taken)
                throw;
            qCInfo(lcTickets) << "taking a ticket number met another desk:" << error.Message();
        }
        rollBackQuietly();
        ++stored.retries;
        // A short, growing and uneven pause, so desks that met do not meet again at once.
        QThread::msleep(5u * unsigned(attempt + 1) + QRandomGenerator::global()->bounded(20u));
    }
    throw EDatabaseError(NumbersBusyMessage);
}

} // namespace vardelo::tickets
