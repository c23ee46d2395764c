#include "exchange/spreadsheet_queries.h"

#include "data/data_module.h"
#include "data/immediate_write.h"
#include "data/shared_values.h"

namespace vardelo::exchange {

void openExportLines(const QDate& from, const QDate& to, bool byPurchaseDate) {
    QStringList sql{
        QStringLiteral("SELECT f_fizkelt, f_felvkelt, f_kelt, f_ostermkod, o_nev,  s_Bszam, s_megnevezes, "
                       "s_netto, s_megy, s_ear, s_kompmerteke, f_szja, ") +
            QStringLiteral(
                "o_Adoazon, o_Adoszam,  o_TAJ, o_Igszam, o_Regszam, o_Csgazd, o_Helysegnev, o_Utca, "
                "o_Bankszla"),
        QStringLiteral("FROM fjsor"),
        // An inner join gives the same rows (the purchaser's condition drops lines without a header) and lets
        // the engine start from the period's tickets instead of reading every line of every year; the rows
        // still come in ticket order, a ticket's lines in the order they were written.
        QStringLiteral("JOIN fjfej     ON s_bszam     = f_bszam"),
        QStringLiteral("LEFT JOIN ostermelo ON f_ostermkod = o_kod"),
    };
    if (byPurchaseDate)
        sql << QStringLiteral("WHERE (f_felvkelt >= :p1 AND f_felvkelt <= :p2) AND (f_akod = :p3)");
    else
        sql << QStringLiteral("WHERE (f_fizkelt >= :p1 AND f_fizkelt <= :p2) AND (f_akod = :p3)");
    sql << QStringLiteral("ORDER BY s_Bszam");
    openQuery(Data->ZQ20, sql,
              {{QStringLiteral("p1"), from}, {QStringLiteral("p2"), to}, {QStringLiteral("p3"), AktAkod}});
}

} // namespace vardelo::exchange
