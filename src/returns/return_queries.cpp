#include "returns/return_queries.h"

#include "data/data_module.h"
#include "data/immediate_write.h"
#include "data/shared_values.h"

namespace vardelo::returns {

namespace {

QueryParams periodParams(const QDate& from, const QDate& to) {
    return {{QStringLiteral("p1"), from}, {QStringLiteral("p2"), to}, {QStringLiteral("p3"), AktAkod}};
}

// The lines of the tickets paid in the period, with their headers and producers. The restriction on the
// header's columns drops every line without a header, so the inner join to the header gives the rows of an
// outer join, and lets the engine start from the payment-date index instead of reading every line.
const QStringList paidLines = {
    QStringLiteral("  FROM fjsor "),
    QStringLiteral("  JOIN fjfej ON fjsor.s_bszam = fjfej.f_bszam "),
    QStringLiteral("  LEFT JOIN ostermelo ON fjfej.f_ostermkod = ostermelo.o_kod "),
    QStringLiteral("  WHERE fjfej.f_fizkelt >= :p1 AND fjfej.f_fizkelt <= :p2 "),
    QStringLiteral("    AND fjfej.f_akod = :p3 "),
};

} // namespace

void openNoLines() {
    openQuery(Data->ZQ20, {QStringLiteral("SELECT * FROM fjsor "), QStringLiteral("  WHERE s_bszam = :p1 ")},
              {{QStringLiteral("p1"), QStringLiteral(" ")}});
}

void openImportTotal(const QDate& from, const QDate& to) {
    openQuery(Data->ZQ20,
              QStringList{QStringLiteral("SELECT s_aKod, SUM(s_vetelar) AS m_osszesen ")} + paidLines +
                  QStringList{QStringLiteral("  GROUP BY s_aKod ")},
              periodParams(from, to));
}

void openImportRows(const QDate& from, const QDate& to) {
    openQuery(
        Data->ZQ20,
        QStringList{QStringLiteral("SELECT f_ostermkod, s_kompmerteke, SUM(s_vetelar) AS kifizetett ")} +
            paidLines +
            QStringList{QStringLiteral("  GROUP BY f_ostermkod, s_kompmerteke "),
                        QStringLiteral("  ORDER BY f_ostermkod ")},
        periodParams(from, to));
}

void openPaidProducers(const QDate& from, const QDate& to) {
    // One look-up for all producers of the period rather than one for each.
    openQuery(Data->ZQ21,
              {QStringLiteral("SELECT ostermelo.* FROM "),
               QStringLiteral("  (SELECT DISTINCT f_ostermkod FROM fjfej "),
               QStringLiteral("    WHERE f_fizkelt >= :p1 AND f_fizkelt <= :p2 AND f_akod = :p3) paid "),
               QStringLiteral("  JOIN ostermelo ON ostermelo.o_kod = paid.f_ostermkod "),
               QStringLiteral("  ORDER BY ostermelo.o_kod, ostermelo.id_ostermelo ")},
              periodParams(from, to));
}

void openImportPrintRows(const QDate& from, const QDate& to) {
    openQuery(Data->ZQ20,
              QStringList{QStringLiteral("SELECT f_ostermkod, o_nev, o_Igszam, f_prn, o_Adoazon, "),
                          QStringLiteral("  SUM(s_vetelar) AS m_vetelar ")} +
                  paidLines +
                  QStringList{QStringLiteral("  GROUP BY f_ostermkod, o_nev, o_Igszam, f_prn, o_Adoazon ")},
              periodParams(from, to));
}

QString itemOrderColumns(ItemOrder order) {
    switch (order) {
    case ItemOrder::Producer:
        return QStringLiteral("o_nev, f_fizkelt");
    case ItemOrder::PaymentDate:
        return QStringLiteral("f_fizkelt, o_nev");
    case ItemOrder::TicketNumber:
        return QStringLiteral("s_Bszam, s_megnevezes");
    case ItemOrder::Product:
        return QStringLiteral("s_megnevezes, o_nev");
    case ItemOrder::PurchaseDate:
        return QStringLiteral("f_felvkelt, o_nev");
    }
    return QString();
}

QString itemOrderName(ItemOrder order) {
    switch (order) {
    case ItemOrder::Producer:
        return QStringLiteral("östermelö");
    case ItemOrder::PaymentDate:
        return QStringLiteral("fizetés dátum");
    case ItemOrder::TicketNumber:
        return QStringLiteral("zozed szám");
    case ItemOrder::Product:
        return QStringLiteral("termék megnevezés");
    case ItemOrder::PurchaseDate:
        return QStringLiteral("felvásárlás dátum");
    }
    return QString();
}

void openItemTotal(const QDate& from, const QDate& to) {
    openQuery(Data->ZQ20,
              {QStringLiteral("SELECT s_akod, SUM(s_vetelar) AS m_osszesen "),
               QStringLiteral("  FROM fjsor "),
               QStringLiteral("  JOIN fjfej ON fjsor.s_bszam = fjfej.f_bszam "),
               QStringLiteral("  WHERE fjfej.f_fizkelt >= :p1 AND fjfej.f_fizkelt <= :p2 "),
               QStringLiteral("    AND fjsor.s_akod = :p3 "), QStringLiteral("  GROUP BY s_akod ")},
              periodParams(from, to));
}

void openItems(const QDate& from, const QDate& to, ItemOrder order) {
    openQuery(Data->ZQ20,
              QStringList{QStringLiteral("SELECT * ")} + paidLines +
                  QStringList{QStringLiteral("  ORDER BY ") + itemOrderColumns(order)},
              periodParams(from, to));
}

} // namespace vardelo::returns
