#include "tickets/ticket_queries.h"

#include "data/data_module.h"
#include "data/database_error.h"
#include "data/shared_values.h"

namespace vardelo::tickets {

void openTicketHeaders(const QString& orderColumn) {
    TZQuery* q = Data->ZQ10;
    q->Close();
    q->SQL.Clear();
    q->SQL.Add(QStringLiteral("SELECT * FROM fjfej "));
    q->SQL.Add(QStringLiteral("  LEFT JOIN ostermelo ON fjfej.f_ostermkod = ostermelo.o_kod "));
    q->SQL.Add(QStringLiteral("  WHERE fjfej.f_akod = :p3 "));
    q->SQL.Add(QStringLiteral("  ORDER BY ") + orderColumn);
    q->ParamByName(QStringLiteral("p3")).SetAsString(AktAkod);
    q->Open();
}

void locateTicket(const QString& number) {
    if (!number.isEmpty())
        Data->ZQ10->Locate(QStringLiteral("F_BSZAM"), number, loCaseInsensitive | loPartialKey);
}

void openTicketLines(const QString& number, bool ordered) {
    TZQuery* q = Data->ZQ20;
    q->Close();
    q->SQL.Clear();
    q->SQL.Add(QStringLiteral("SELECT * FROM fjsor "));
    q->SQL.Add(QStringLiteral("  WHERE s_bszam = :p1 "));
    if (ordered)
        q->SQL.Add(QStringLiteral("  ORDER BY id_fjsor "));
    q->ParamByName(QStringLiteral("p1")).SetAsString(number);
    q->Open();
}

void openProducer(TZQuery* query, const QString& code) {
    query->Close();
    query->SQL.Clear();
    query->SQL.Add(QStringLiteral("SELECT * FROM ostermelo "));
    query->SQL.Add(QStringLiteral("  WHERE o_kod = :p1 "));
    query->ParamByName(QStringLiteral("p1")).SetAsString(code);
    query->Open();
}

void openNumberRow() {
    TZQuery* q = Data->ZQ50;
    q->Close();
    q->SQL.Clear();
    q->SQL.Add(QStringLiteral("SELECT * FROM sorszam "));
    q->SQL.Add(QStringLiteral("  WHERE id_sorszam = :p1 "));
    q->ParamByName(QStringLiteral("p1")).SetAsString(AktAkod);
    q->Open();
}

bool ticketHeaderExists(const QString& number) {
    TZQuery* q = Data->ZQ11;
    q->Close();
    q->SQL.Clear();
    q->SQL.Add(QStringLiteral("SELECT count(*) AS db FROM fjfej "));
    q->SQL.Add(QStringLiteral("  WHERE f_bszam = :p1 "));
    q->ParamByName(QStringLiteral("p1")).SetAsString(number);
    q->Open();
    return q->FieldByName(QStringLiteral("db")).AsInteger() > 0;
}

void rollBack() {
    try {
        if (Data->IBTrans1->Active())
            Data->IBTrans1->Rollback();
    } catch (const EDatabaseError&) {
    }
}

} // namespace vardelo::tickets
