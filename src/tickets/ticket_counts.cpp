#include "tickets/ticket_counts.h"

#include "data/connection.h"
#include "data/database_error.h"
#include "data/firebird_api.h"
#include "data/logging.h"
#include "data/transaction.h"

#include <QElapsedTimer>

namespace vardelo::tickets {

namespace {

// Each code's changes and its sum, replaced by their new sum; a sum of nought leaves no row. The codes are
// read to the end (DISTINCT sorts them) before the first is summed, so the loop never meets its own rows.
const char* const SumChanges = R"(EXECUTE BLOCK AS
DECLARE akod TYPE OF COLUMN FJFEJ_DARAB.D_AKOD;
DECLARE kod TYPE OF COLUMN FJFEJ_DARAB.D_OSTERMKOD;
DECLARE darab BIGINT;
BEGIN
  FOR SELECT DISTINCT D_AKOD, D_OSTERMKOD FROM FJFEJ_DARAB WHERE D_ALLAPOT IS NULL INTO akod, kod DO
  BEGIN
    darab = (SELECT SUM(D_DARAB) FROM FJFEJ_DARAB WHERE D_AKOD IS NOT DISTINCT FROM :akod
               AND D_OSTERMKOD IS NOT DISTINCT FROM :kod AND D_ALLAPOT IS DISTINCT FROM 2);
    DELETE FROM FJFEJ_DARAB WHERE D_AKOD IS NOT DISTINCT FROM :akod
      AND D_OSTERMKOD IS NOT DISTINCT FROM :kod AND D_ALLAPOT IS DISTINCT FROM 2;
    IF (darab <> 0) THEN
      INSERT INTO FJFEJ_DARAB (D_AKOD, D_OSTERMKOD, D_DARAB, D_ALLAPOT) VALUES (:akod, :kod, :darab, 1);
  END
END)";

} // namespace

bool settleTicketCounts(TConnection* connection) {
    TTransaction transaction(QStringLiteral("TicketCounts"), connection);
    transaction.Params = {QStringLiteral("concurrency"), QStringLiteral("nowait")};
    QElapsedTimer timer;
    timer.start();
    try {
        transaction.StartTransaction();
        Firebird::IAttachment* attachment = connection->Attachment();
        Firebird::ITransaction* handle = transaction.Handle();
        const auto run = [&](const QString& sql) { return fb::executeRows(attachment, handle, sql, {}); };
        if (run(QStringLiteral("SELECT 1 FROM FJFEJ_DARAB WHERE D_ALLAPOT = 2")).empty()) {
            // The mark first: a second desk doing the same now fails on it at once.
            run(QStringLiteral("INSERT INTO FJFEJ_DARAB (D_AKOD, D_OSTERMKOD, D_DARAB, D_ALLAPOT) "
                               "VALUES (NULL, NULL, 0, 2)"));
            run(QStringLiteral("DELETE FROM FJFEJ_DARAB WHERE D_ALLAPOT IS DISTINCT FROM 2"));
            run(QStringLiteral("INSERT INTO FJFEJ_DARAB (D_AKOD, D_OSTERMKOD, D_DARAB, D_ALLAPOT) "
                               "SELECT F_AKOD, F_OSTERMKOD, COUNT(*), 1 FROM FJFEJ "
                               "GROUP BY F_AKOD, F_OSTERMKOD"));
            transaction.Commit();
            qCInfo(lcTickets) << "ticket counts made in" << timer.elapsed() << "ms";
            return true;
        }
        if (!run(QStringLiteral("SELECT 1 FROM FJFEJ_DARAB WHERE D_ALLAPOT IS NULL ROWS 1")).empty())
            run(QString::fromLatin1(SumChanges));
        transaction.Commit();
        return true;
    } catch (const EDatabaseError& e) {
        qCWarning(lcTickets).noquote() << "ticket counts not settled:" << e.Message() << e.ErrorCode();
        return false;
    }
}

} // namespace vardelo::tickets
