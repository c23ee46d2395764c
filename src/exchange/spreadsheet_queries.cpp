#include "exchange/spreadsheet_queries.h"

#include "data/data_module.h"
#include "data/immediate_write.h"
#include "data/list_plan.h"
#include "data/shared_values.h"

namespace vardelo::exchange {

void openExportLines(const QDate& from, const QDate& to, bool byPurchaseDate) {
    const QString period =
        byPurchaseDate ? QStringLiteral("WHERE (f_felvkelt >= :p1 AND f_felvkelt <= :p2) AND (f_akod = :p3)")
                       : QStringLiteral("WHERE (f_fizkelt >= :p1 AND f_fizkelt <= :p2) AND (f_akod = :p3)");
    const QStringList sql{
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
        period,
        QStringLiteral("ORDER BY s_Bszam"),
    };
    // The producer is found by its code: while codes are unique, the export's progress bar counts the lines
    // without looking up their producers (a third of the time).
    TListPlan plan;
    plan.drivingSql = QStringLiteral("SELECT s_bszam FROM fjsor JOIN fjfej ON s_bszam = f_bszam ") + period;
    plan.joinedKeys = {QStringLiteral("OSTERMELO.O_KOD")};
    openList(Data->ZQ20, sql,
             {{QStringLiteral("p1"), from}, {QStringLiteral("p2"), to}, {QStringLiteral("p3"), AktAkod}},
             plan);
}

} // namespace vardelo::exchange
