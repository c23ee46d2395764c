#include "shell/purchaser_record_queries.h"

#include "data/data_module.h"
#include "data/immediate_write.h"

namespace vardelo::purchaser {

int ticketCount(const QString& purchaserCode) {
    TZQuery* q = Data->ZQ11;
    openQuery(q,
              {QStringLiteral("SELECT  f_akod, count(f_akod) AS sdb "),
               QStringLiteral("  FROM Fjfej         "), QStringLiteral("  WHERE f_akod = :p1 "),
               QStringLiteral("  GROUP BY f_akod    ")},
              {{QStringLiteral("p1"), purchaserCode}});
    return q->IsEmpty() ? 0 : q->FieldByName(QStringLiteral("sdb")).AsInteger();
}

int ticketsCarryingCode(const QString& purchaserCode) {
    TZQuery* q = Data->ZQ11;
    openQuery(q,
              {QStringLiteral("SELECT count(*) AS db FROM fjfej "), QStringLiteral("  WHERE f_akod = :p1 ")},
              {{QStringLiteral("p1"), purchaserCode}});
    return q->FieldByName(QStringLiteral("db")).AsInteger();
}

QString highestTicketNumber(const QString& purchaserCode) {
    TZQuery* q = Data->ZQ11;
    openQuery(q,
              {QStringLiteral("SELECT f_bszam FROM fjfej "), QStringLiteral("  WHERE f_akod = :p1 "),
               QStringLiteral("  ORDER BY CHAR_LENGTH(TRIM(f_bszam)) DESC, f_bszam DESC "),
               QStringLiteral("  ROWS 1 ")},
              {{QStringLiteral("p1"), purchaserCode}});
    return q->IsEmpty() ? QString() : q->FieldByName(QStringLiteral("F_BSZAM")).AsString();
}

void openLastTicketNumber(const QString& purchaserCode) {
    openQuery(Data->ZQ50,
              {QStringLiteral("SELECT  a_fjbszam "), QStringLiteral("  FROM Sorszam         "),
               QStringLiteral("  WHERE a_akod = :p1 ")},
              {{QStringLiteral("p1"), purchaserCode}});
}

int storeTicketNumberSeed(const QString& seed, const QString& purchaserCode) {
    return executeAndCommit(Data->ZQ50,
                            {QStringLiteral("UPDATE Sorszam          "),
                             QStringLiteral("    SET a_FjBszam = :p1 "),
                             QStringLiteral("   WHERE a_akod = :p2   ")},
                            {{QStringLiteral("p1"), seed}, {QStringLiteral("p2"), purchaserCode}});
}

} // namespace vardelo::purchaser
