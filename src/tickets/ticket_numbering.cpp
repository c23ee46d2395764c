#include "tickets/ticket_numbering.h"

#include "data/connection.h"
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

// The one atomic step: the purchaser's last number becomes `number` only if it is still `read`.
int takeNumber(const QString& number, const QString& read) {
    return execQuery(
        Data->ZQ50,
        {QStringLiteral("UPDATE sorszam SET a_fjbszam = :p1 "),
         QStringLiteral("  WHERE a_akod = :p2 AND a_fjbszam = :p3 ")},
        {{QStringLiteral("p1"), number}, {QStringLiteral("p2"), AktAkod}, {QStringLiteral("p3"), read}});
}

// This desk's unsaved lines of the purchaser get the number and lose the desk's mark.
int numberOwnLines(const QString& number) {
    return execQuery(
        Data->ZQ22,
        {QStringLiteral("UPDATE fjsor SET s_bszam = :p1, s_munkahely = NULL, s_munkaido = NULL "),
         QStringLiteral("  WHERE s_munkahely = :p2 AND s_akod = :p3 AND s_bszam IS NULL ")},
        {{QStringLiteral("p1"), number},
         {QStringLiteral("p2"), deskMark()},
         {QStringLiteral("p3"), AktAkod}});
}

QString lastNumberRead() {
    openNumberRow();
    return Data->ZQ50->FieldByName(QStringLiteral("A_FJBSZAM")).AsString();
}

// Lines under the number without a header: a ticket cancelled by an earlier version left them there. Looked
// for first, so that opening a ticket commits nothing when there are none.
int adoptLeftover(const QString& number) {
    if (number.isEmpty() || number.size() > 8)
        return 0;
    TZQuery* q = Data->ZQ12;
    openQuery(q,
              {QStringLiteral("SELECT COUNT(*) AS db FROM fjsor "),
               QStringLiteral("  WHERE s_bszam = :p1 AND s_munkahely IS NULL "),
               QStringLiteral("    AND NOT EXISTS (SELECT 1 FROM fjfej WHERE f_bszam = :p1) ")},
              {{QStringLiteral("p1"), number}});
    const bool none = q->FieldByName(QStringLiteral("DB")).AsInteger() == 0;
    q->Close();
    if (none)
        return 0;
    return executeAndCommit(
        Data->ZQ22,
        {QStringLiteral("UPDATE fjsor SET s_bszam = NULL, s_akod = :p3, s_munkahely = :p2, "),
         QStringLiteral("    s_munkaido = CURRENT_TIMESTAMP "),
         QStringLiteral("  WHERE s_bszam = :p1 AND s_munkahely IS NULL "),
         QStringLiteral("    AND NOT EXISTS (SELECT 1 FROM fjfej WHERE f_bszam = :p1) ")},
        {{QStringLiteral("p1"), number},
         {QStringLiteral("p2"), deskMark()},
         {QStringLiteral("p3"), AktAkod}});
}

// Desks other than this one whose unsaved lines of the purchaser have waited long enough.
QStringList waitingDesks() {
    TZQuery* q = Data->ZQ12;
    openQuery(q,
              {QStringLiteral("SELECT s_munkahely FROM fjsor "),
               QStringLiteral("  WHERE s_bszam IS NULL AND s_akod = :p1 AND s_munkahely <> :p2 "),
               QStringLiteral("  GROUP BY s_munkahely "),
               QStringLiteral("  HAVING MAX(COALESCE(s_munkaido, TIMESTAMP '1900-01-01')) < "),
               QStringLiteral("         DATEADD(MINUTE, CAST(:p3 AS INTEGER), CURRENT_TIMESTAMP) ")},
              {{QStringLiteral("p1"), AktAkod},
               {QStringLiteral("p2"), deskMark()},
               {QStringLiteral("p3"), -AbandonedLinesMinutes}});
    QStringList desks;
    for (q->First(); !q->Eof(); q->Next())
        desks << q->FieldByName(QStringLiteral("S_MUNKAHELY")).AsString();
    q->Close();
    return desks;
}

int adoptAbandoned() {
    const QStringList waiting = waitingDesks();
    if (waiting.isEmpty())
        return 0;
    QStringList attached;
    try {
        attached = connectedDesks(Data->ZCon1);
    } catch (const EDatabaseError& error) {
        // Without the monitoring tables nothing tells whether those desks are gone: their lines stay theirs.
        qCWarning(lcTickets) << "reading the attached desks failed:" << error.Message() << error.ErrorCode();
        return 0;
    }
    int adopted = 0;
    for (const QString& desk : waiting) {
        if (attached.contains(desk))
            continue;
        try {
            adopted += executeAndCommit(
                Data->ZQ22,
                {QStringLiteral("UPDATE fjsor SET s_munkahely = :p1, s_munkaido = CURRENT_TIMESTAMP "),
                 QStringLiteral("  WHERE s_munkahely = :p2 AND s_akod = :p3 AND s_bszam IS NULL ")},
                {{QStringLiteral("p1"), deskMark()},
                 {QStringLiteral("p2"), desk},
                 {QStringLiteral("p3"), AktAkod}});
            qCInfo(lcTickets) << "took over the unsaved lines of desk" << desk;
        } catch (const EDatabaseError& error) {
            // Another desk is taking them at this moment.
            if (!isConcurrencyConflict(error))
                throw;
        }
    }
    return adopted;
}

} // namespace

QString deskMark() {
    return Data->ZCon1->DeskName;
}

AdoptedLines adoptLines(const QString& shownNumber) {
    AdoptedLines adopted;
    try {
        adopted.leftover = adoptLeftover(shownNumber);
    } catch (const EDatabaseError& error) {
        // Another desk opening the same number takes them at this moment.
        if (!isConcurrencyConflict(error))
            throw;
    }
    adopted.abandoned = adoptAbandoned();
    return adopted;
}

QString abandonedLinesMessage(int count) {
    return QStringLiteral("Az új jegyen megjelent egy másik munkahely félbehagyott jegyének %1 tételsora is. "
                          "Ha nem ehhez a jegyhez tartoznak, törölje őket.")
        .arg(count);
}

NextNumber currentNextNumber() {
    return nextTicketNumber(lastNumberRead());
}

ENumberRowMissing::ENumberRowMissing()
    : EDatabaseError(QStringLiteral("A sorszám sora nem található az átvevő kódjával.")) {}

ENoLines::ENoLines() : EDatabaseError(QStringLiteral("Nincs a felvásárlási jegynek tételsora!")) {}

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
                stored.lines = numberOwnLines(next.number);
                if (stored.lines == 0)
                    throw ENoLines();
                Data->IBTrans1->Commit();
                stored.number = next.number;
                return stored;
            }
            // Nothing changed: either another desk took the number, or the purchaser's number row is not
            // found by its purchaser code at all.
            if (!used && lastNumberRead() == read)
                throw ENumberRowMissing();
            qCInfo(lcTickets) << "ticket number" << next.number << "was taken by another desk";
        } catch (const ENumberRowMissing&) {
            rollBack();
            throw;
        } catch (const ENoLines&) {
            rollBack();
            throw;
        } catch (const EDatabaseError& error) {
            // A lost connection has nothing to roll back; the window attaches again.
            if (isLostConnection(error))
                throw;
            rollBack();
            const bool taken = isConcurrencyConflict(error) || error.HasCode(isc_unique_key_violation) ||
                               error.HasCode(isc_no_dup);
            if (!taken)
                throw;
            qCInfo(lcTickets) << "taking a ticket number met another desk:" << error.Message();
        }
        rollBack();
        ++stored.retries;
        // A short, growing and uneven pause, so desks that met do not meet again at once.
        QThread::msleep(5u * unsigned(attempt + 1) + QRandomGenerator::global()->bounded(20u));
    }
    throw EDatabaseError(NumbersBusyMessage);
}

} // namespace vardelo::tickets
