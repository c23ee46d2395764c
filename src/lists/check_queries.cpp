#include "lists/check_queries.h"

#include "data/data_module.h"
#include "data/field.h"
#include "data/immediate_write.h"
#include "data/shared_values.h"

#include <algorithm>

namespace vardelo::lists {

void openCheckLines(const QDate& from, const QDate& to) {
    openQuery(Data->ZQ20,
              {QStringLiteral("SELECT * FROM fjsor "),
               QStringLiteral("  LEFT JOIN fjfej ON s_bszam = f_bszam "),
               QStringLiteral("  LEFT JOIN ostermelo ON f_ostermkod = o_kod "),
               QStringLiteral("  WHERE f_fizkelt >= :p1 AND f_fizkelt <= :p2 AND f_akod = :p3 ")},
              {{QStringLiteral("p1"), from}, {QStringLiteral("p2"), to}, {QStringLiteral("p3"), AktAkod}});
}

std::vector<CheckRow> readCheckRows(TDataSet& dataSet) {
    std::vector<CheckRow> rows;
    if (!dataSet.Active())
        return rows;
    std::array<int, kCheckColumnCount> index;
    for (int c = 0; c < kCheckColumnCount; ++c) {
        const TField* field = dataSet.FindField(checkColumnNames()[size_t(c)]);
        index[size_t(c)] = field ? field->Index() : -1;
    }
    // Read through once, a batch at a time: counting the rows first would run the statement a second time on
    // the server.
    // A batch is half the dataset's window at most, so the rows of a batch are still held when read.
    const int batch = std::max(1, std::min(1000, dataSet.WindowSize() / 2));
    for (int r = 0;; ++r) {
        if (r >= dataSet.FetchedCount() && (dataSet.AllFetched() || dataSet.FetchMore(batch) == 0))
            break;
        CheckRow& row = rows.emplace_back();
        for (int c = 0; c < kCheckColumnCount; ++c)
            if (index[size_t(c)] >= 0)
                row.values[size_t(c)] = fieldValueText(dataSet.ValueAt(r, index[size_t(c)]));
    }
    return rows;
}

} // namespace vardelo::lists
