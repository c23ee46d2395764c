#include "exchange/table_editor_queries.h"

#include "data/immediate_write.h"
#include "data/query.h"

namespace vardelo::exchange {

void openJournalTable(TZQuery* query) {
    // A text of many columns makes a wide row: fewer rows are kept at once.
    query->SetWindowSize(500);
    openQuery(query, {QStringLiteral("SELECT ID_NAPLO, N_IDO, N_TABLA, N_SOR, N_MUVELET, N_AKOD, N_KULCS, "),
                      QStringLiteral("    N_KAPCSOLAT, "),
                      QStringLiteral("    COALESCE(N_VALTOZAS, CAST(N_VALTOZAS_HOSSZU AS VARCHAR(16000))) "
                                     "AS N_VALTOZAS "),
                      QStringLiteral("  FROM NAPLO "), QStringLiteral("  ORDER BY N_IDO DESC ")});
}

void openConnectionTable(TZQuery* query) {
    openQuery(query,
              {QStringLiteral("SELECT * FROM KAPCSOLAT "), QStringLiteral("  ORDER BY ID_KAPCSOLAT DESC ")});
}

} // namespace vardelo::exchange
