#pragma once

#include "data/immediate_write.h"

#include <QString>
#include <QStringList>
#include <QVariant>
#include <optional>
#include <vector>

class TZQuery;

// What a list's statement alone does not tell the dataset reading it, so that it can run cheaper statements
// that give the same rows in the same order: a count without the joins, the last rows by the reversed order,
// the rows next to a row by its key, and an order by a joined table's column without joining every row.
struct TListPlan {
    // The list's rows one for one without its joins, with the same parameters ("SELECT * FROM fjfej WHERE
    // f_akod = :p3" for the tickets and their producers): counted instead of the list. It holds while the
    // joined keys below are unique; the dataset checks that before it counts so.
    QString drivingSql;
    std::vector<QVariant> drivingParameters;
    // The keys the joins look rows up by, as "TABLE.COLUMN" (plain identifiers).
    QStringList joinedKeys;
    // The driving rows' number by their link, as the database keeps it, with the list's parameters: rows of
    // (link, number) ("SELECT d_ostermkod, SUM(d_darab) FROM fjfej_darab WHERE d_akod = :p3 GROUP BY
    // d_ostermkod"). The list is then counted, and ordered by the joined column, without reading the driving
    // rows. Used while `keptCountsWholeSql` gives a row; a database without them is counted as before.
    QString keptCountsSql;
    std::vector<QVariant> keptCountsParameters;
    QString keptCountsWholeSql;
    // The list's closing ORDER BY ends in a column unique among its rows, so its order is one and the same
    // each time and the reversed order gives the same rows backwards.
    bool totalOrder = false;

    // A list ordered by a column of a joined table, then by the driving table's key ("ORDER BY o_nev,
    // id_fjfej"): its order is worked out from the driving rows' links and the joined table's ranks, without
    // the join, and its rows are read by their keys. Plain identifiers, columns of the list.
    struct JoinedOrder {
        QString drivingKey;  // ID_FJFEJ: unique among the driving rows, last in the list's order
        QString drivingLink; // F_OSTERMKOD
        QString table;       // OSTERMELO
        QString link;        // O_KOD: drivingLink = link joins the rows (LEFT JOIN)
        QString key;         // ID_OSTERMELO: tells apart two joined rows of one link
        QString order;       // O_NEV: the column the list is ordered by first
    };
    std::optional<JoinedOrder> joinedOrder;
};

namespace vardelo {

// Opens a list as openQuery does, with the plan (its statements' markers named as in the list's).
void openList(TZQuery* query, const QStringList& sql, const QueryParams& params, const TListPlan& plan);

} // namespace vardelo
