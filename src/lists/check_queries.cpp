#include "lists/check_queries.h"

#include "data/data_module.h"
#include "data/field.h"
#include "data/immediate_write.h"
#include "data/shared_values.h"

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
    const int count = dataSet.RecordCount();
    rows.resize(size_t(count));
    for (int r = 0; r < count; ++r)
        for (int c = 0; c < kCheckColumnCount; ++c)
            if (index[size_t(c)] >= 0)
                rows[size_t(r)].values[size_t(c)] = fieldValueText(dataSet.ValueAt(r, index[size_t(c)]));
    return rows;
}

} // namespace vardelo::lists
