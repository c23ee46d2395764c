#include "tickets/ticket_queries.h"

#include "data/data_module.h"
#include "data/database_error.h"
#include "data/list_plan.h"
#include "data/shared_values.h"
#include "tickets/ticket_numbering.h"

namespace vardelo::tickets {

TListPlan ticketHeaderPlan(const QString& orderColumn) {
    TListPlan plan;
    // The producer joined to a ticket is found by its code: while codes are unique the tickets alone are
    // counted.
    plan.drivingSql = QStringLiteral("SELECT * FROM fjfej WHERE fjfej.f_akod = :p3");
    plan.joinedKeys = {QStringLiteral("OSTERMELO.O_KOD")};
    // The database keeps each purchaser's number of tickets by producer code (tickets/ticket_counts.h).
    plan.keptCountsSql =
        QStringLiteral("SELECT d_ostermkod, SUM(d_darab) FROM fjfej_darab WHERE d_akod = :p3 "
                       "AND d_allapot IS DISTINCT FROM 2 GROUP BY d_ostermkod");
    plan.keptCountsWholeSql = QStringLiteral("SELECT 1 FROM fjfej_darab WHERE d_allapot = 2");
    // Every order ends in a ticket's key or in its number, which a purchaser uses once.
    plan.totalOrder = true;
    if (orderColumn.startsWith(QLatin1String("o_nev")))
        plan.joinedOrder = TListPlan::JoinedOrder{
            QStringLiteral("ID_FJFEJ"), QStringLiteral("F_OSTERMKOD"),  QStringLiteral("OSTERMELO"),
            QStringLiteral("O_KOD"),    QStringLiteral("ID_OSTERMELO"), QStringLiteral("O_NEV")};
    return plan;
}

void openTicketHeaders(const QString& orderColumn) {
    openList(Data->ZQ10,
             {QStringLiteral("SELECT * FROM fjfej "),
              QStringLiteral("  LEFT JOIN ostermelo ON fjfej.f_ostermkod = ostermelo.o_kod "),
              QStringLiteral("  WHERE fjfej.f_akod = :p3 "), QStringLiteral("  ORDER BY ") + orderColumn},
             {{QStringLiteral("p3"), AktAkod}}, ticketHeaderPlan(orderColumn));
}

void locateTicket(const QString& number) {
    if (!number.isEmpty())
        Data->ZQ10->Locate(QStringLiteral("F_BSZAM"), number, loCaseInsensitive | loPartialKey);
}

void openTicketLines(const QString& number, bool ordered) {
    QStringList sql{QStringLiteral("SELECT * FROM fjsor "), QStringLiteral("  WHERE s_bszam = :p1 ")};
    if (ordered)
        sql << QStringLiteral("  ORDER BY id_fjsor ");
    openQuery(Data->ZQ20, sql, {{QStringLiteral("p1"), number}});
}

namespace {

// This desk's unsaved lines of the current purchaser.
const QString UnsavedLines =
    QStringLiteral("  WHERE s_munkahely = :p1 AND s_akod = :p2 AND s_bszam IS NULL ");

QueryParams unsavedParams() {
    return {{QStringLiteral("p1"), deskMark()}, {QStringLiteral("p2"), AktAkod}};
}

} // namespace

void openUnsavedLines() {
    openQuery(Data->ZQ20,
              {QStringLiteral("SELECT * FROM fjsor "), UnsavedLines, QStringLiteral("  ORDER BY id_fjsor ")},
              unsavedParams());
}

void openProducer(TZQuery* query, const QString& code) {
    openQuery(query, {QStringLiteral("SELECT * FROM ostermelo "), QStringLiteral("  WHERE o_kod = :p1 ")},
              {{QStringLiteral("p1"), code}});
}

void openNumberRow() {
    openQuery(Data->ZQ50,
              {QStringLiteral("SELECT * FROM sorszam "), QStringLiteral("  WHERE id_sorszam = :p1 ")},
              {{QStringLiteral("p1"), AktAkod}});
}

QString lastTicketNumber() {
    openNumberRow();
    return Data->ZQ50->FieldByName(QStringLiteral("A_FJBSZAM")).AsString();
}

bool ticketHeaderExists(const QString& number) {
    TZQuery* q = Data->ZQ11;
    openQuery(q,
              {QStringLiteral("SELECT count(*) AS db FROM fjfej "), QStringLiteral("  WHERE f_bszam = :p1 ")},
              {{QStringLiteral("p1"), number}});
    return q->FieldByName(QStringLiteral("db")).AsInteger() > 0;
}

void writeTicketHeader(const std::optional<QString>& changedId, const QueryParams& fields,
                       const RowAsRead& asRead) {
    QueryParams params = fields;
    // A changed ticket is to be printed again.
    if (changedId)
        params.emplace_back(QStringLiteral("p7"), QStringLiteral(" "));
    execWrite(
        Data->ZQ11, changedId,
        {QStringLiteral("UPDATE fjfej SET id_fjfej = :p0, f_bszam = :p1, f_akod = :p2, "),
         QStringLiteral("    f_ostermkod = :p3, f_kelt = :p4, f_szja = :p5, f_megj = :p6, f_prn = :p7, "),
         QStringLiteral("    f_felvkelt = :p8, f_fizkelt = :p9, f_utal = :p10, f_nyilatk = :p11, "),
         QStringLiteral("    f_levonas = :p12, f_jarulszaz = :p13 "),
         QStringLiteral("  WHERE id_fjfej = :p0 ")},
        {QStringLiteral("INSERT INTO fjfej (f_bszam, f_akod, f_ostermkod, f_kelt, f_szja, f_megj, "),
         QStringLiteral("    f_felvkelt, f_fizkelt, f_utal, f_nyilatk, f_levonas, f_jarulszaz) "),
         QStringLiteral("  VALUES (:p1, :p2, :p3, :p4, :p5, :p6, :p8, :p9, :p10, :p11, :p12, :p13) ")},
        params, asRead);
}

ETicketProducerGone::ETicketProducerGone(const QString& code)
    : EDatabaseError(
          QStringLiteral("A jegy őstermelőjét (kód: %1) közben egy másik munkahely törölte. Válasszon "
                         "őstermelőt!")
              .arg(code)) {}

void lockTicketProducer(const QString& code) {
    if (!lockRowsWhere(Data->IBTrans1, QStringLiteral("OSTERMELO"), QStringLiteral("O_KOD"), code))
        throw ETicketProducerGone(code);
}

void openLineSums(const QString& number) {
    openQuery(Data->ZQ21,
              {QStringLiteral("SELECT s_bszam, SUM(s_felvar) AS far, SUM(s_kompfelar) AS kfelar, "),
               QStringLiteral("       SUM(s_vetelar) AS var "), QStringLiteral("  FROM fjsor "),
               QStringLiteral("  WHERE s_bszam = :p1 "), QStringLiteral("  GROUP BY s_bszam ")},
              {{QStringLiteral("p1"), number}});
}

void openUnsavedLineSums() {
    openQuery(Data->ZQ21,
              {QStringLiteral("SELECT SUM(s_felvar) AS far, SUM(s_kompfelar) AS kfelar, "),
               QStringLiteral("       SUM(s_vetelar) AS var, COUNT(*) AS sdb "),
               QStringLiteral("  FROM fjsor "), UnsavedLines, QStringLiteral("  HAVING COUNT(*) > 0 ")},
              unsavedParams());
}

int unsavedLineCount() {
    TZQuery* q = Data->ZQ21;
    openQuery(q, {QStringLiteral("SELECT COUNT(*) AS sdb FROM fjsor "), UnsavedLines}, unsavedParams());
    return q->FieldByName(QStringLiteral("SDB")).AsInteger();
}

int storedLineCount(const QString& number) {
    TZQuery* q = Data->ZQ21;
    openQuery(q,
              {QStringLiteral("SELECT s_bszam, COUNT(s_bszam) AS sdb "), QStringLiteral("  FROM fjsor "),
               QStringLiteral("  WHERE s_bszam = :p1 "), QStringLiteral("  GROUP BY s_bszam ")},
              {{QStringLiteral("p1"), number}});
    return q->IsEmpty() ? 0 : q->FieldByName(QStringLiteral("SDB")).AsInteger();
}

void deleteTicketLine(const QString& lineId, const RowAsRead& asRead) {
    const QStringList sql{QStringLiteral("DELETE FROM fjsor "), QStringLiteral("  WHERE id_fjsor = :p1 ")};
    const QueryParams params{{QStringLiteral("p1"), lineId}};
    // An empty grid deletes nothing, and that is no failure.
    if (asRead.isEmpty())
        executeAndCommit(Data->ZQ21, sql, params);
    else
        executeRowAndCommit(Data->ZQ21, sql, params, asRead);
}

void writeTicketLine(const std::optional<QString>& changedId, const QueryParams& fields, bool unsaved,
                     const RowAsRead& asRead, const std::optional<double>& scaleWeight) {
    QueryParams params = fields;
    QString extraSet;
    QString extraColumns;
    QString extraValues;
    if (unsaved) {
        // No number until the ticket is stored; the desk's mark instead.
        for (auto& [name, value] : params)
            if (name == QLatin1String("p1"))
                value = QVariant();
        params.emplace_back(QStringLiteral("p11"), deskMark());
        extraSet += QStringLiteral(", s_munkahely = :p11, s_munkaido = CURRENT_TIMESTAMP");
        extraColumns += QStringLiteral(", s_munkahely, s_munkaido");
        extraValues += QStringLiteral(", :p11, CURRENT_TIMESTAMP");
    }
    // Without a weight from the scale the statements do not name S_MERLEG.
    if (scaleWeight) {
        params.emplace_back(QStringLiteral("p12"), *scaleWeight);
        extraSet += QStringLiteral(", s_merleg = :p12");
        extraColumns += QStringLiteral(", s_merleg");
        extraValues += QStringLiteral(", :p12");
    }
    execWrite(Data->ZQ21, changedId,
              {QStringLiteral("UPDATE fjsor SET id_fjsor = :p0, s_bszam = :p1, s_termekkod = :p2, "),
               QStringLiteral("    s_megnevezes = :p3, s_vtsz = :p4, s_brutto = :p5, s_megy = :p6, "),
               QStringLiteral("    s_ear = :p7, s_kompmerteke = :p8, s_akod = :p9, s_levonszaz = :p10") +
                   extraSet + QLatin1Char(' '),
               QStringLiteral("  WHERE id_fjsor = :p0 ")},
              {QStringLiteral("INSERT INTO fjsor (s_bszam, s_termekkod, s_megnevezes, s_vtsz, s_brutto, "),
               QStringLiteral("    s_megy, s_ear, s_kompmerteke, s_akod, s_levonszaz") + extraColumns +
                   QStringLiteral(") "),
               QStringLiteral("  VALUES (:p1, :p2, :p3, :p4, :p5, :p6, :p7, :p8, :p9, :p10") + extraValues +
                   QStringLiteral(") ")},
              params, asRead);
}

bool ticketPrinted(const QString& number) {
    TZQuery* q = Data->ZQ11;
    openQuery(q,
              {QStringLiteral("SELECT f_bszam, f_prn FROM fjfej "), QStringLiteral("  WHERE f_bszam = :p1 ")},
              {{QStringLiteral("p1"), number}});
    return q->FieldByName(QStringLiteral("F_PRN")).AsString() == QLatin1String("I");
}

void openPurchaser(const QString& purchaserCode) {
    openQuery(Data->ZQ60, {QStringLiteral("SELECT * FROM atvevo "), QStringLiteral("  WHERE v_akod = :p1 ")},
              {{QStringLiteral("p1"), purchaserCode}});
}

void openPrintSums(const QString& number) {
    openQuery(Data->ZQ21,
              {QStringLiteral("SELECT s_bszam, SUM(s_felvar) AS far, SUM(s_kompfelar) AS kar, "),
               QStringLiteral("       SUM(s_vetelar) AS var "), QStringLiteral("  FROM fjsor "),
               QStringLiteral("  WHERE s_bszam = :p1 "), QStringLiteral("  GROUP BY s_bszam ")},
              {{QStringLiteral("p1"), number}});
}

void openHeaderByNumber(const QString& number) {
    openQuery(Data->ZQ11, {QStringLiteral("SELECT * FROM fjfej "), QStringLiteral("  WHERE f_bszam = :p1 ")},
              {{QStringLiteral("p1"), number}});
}

void markTicketPrinted(const QString& number) {
    executeAndCommit(
        Data->ZQ11,
        {QStringLiteral("UPDATE fjfej SET f_prn = :p2 "), QStringLiteral("  WHERE f_bszam = :p1 ")},
        {{QStringLiteral("p1"), number}, {QStringLiteral("p2"), QStringLiteral("I")}});
}

void rollBack() {
    try {
        if (Data->IBTrans1->Active())
            Data->IBTrans1->Rollback();
    } catch (const EDatabaseError&) {
    }
}

} // namespace vardelo::tickets
