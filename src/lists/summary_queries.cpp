#include "lists/summary_queries.h"

#include "data/data_module.h"
#include "data/immediate_write.h"
#include "data/shared_values.h"
#include "data/text_formats.h"

namespace vardelo::lists {

namespace {

// The date column of every statement of the window: one of two fixed column names, never typed text.
QString dateColumn(const SummaryPeriod& period) {
    return period.paymentDate ? QStringLiteral("f_fizkelt") : QStringLiteral("f_felvkelt");
}

QString dateRange(const SummaryPeriod& period) {
    const QString column = dateColumn(period);
    return column + QStringLiteral(" >= :p1 AND ") + column + QStringLiteral(" <= :p2");
}

QString join(JoinKind kind) {
    return kind == JoinKind::Left ? QStringLiteral("LEFT JOIN") : QStringLiteral("JOIN");
}

QStringList lineJoins(JoinKind kind) {
    return {QStringLiteral("  FROM fjsor ") + join(kind) + QStringLiteral(" fjfej ON s_bszam = f_bszam "),
            QStringLiteral("  ") + join(kind) + QStringLiteral(" ostermelo ON f_ostermkod = o_kod ")};
}

QueryParams periodParams(const SummaryPeriod& period) {
    return {{QStringLiteral("p1"), period.from},
            {QStringLiteral("p2"), period.to},
            {QStringLiteral("p3"), AktAkod}};
}

QueryParams withKey(const SummaryPeriod& period, const QString& key) {
    QueryParams params = periodParams(period);
    params.emplace_back(QStringLiteral("p0"), key);
    return params;
}

} // namespace

QString openPeriodTotal(const SummaryPeriod& period, bool onLinePurchaser) {
    TZQuery* q = Data->ZQ80;
    openQuery(
        q,
        {QStringLiteral("SELECT s_akod, SUM(s_vetelar) AS m_osszesen "),
         QStringLiteral("  FROM fjsor LEFT JOIN fjfej ON s_bszam = f_bszam "),
         QStringLiteral("  WHERE ") + dateRange(period) +
             (onLinePurchaser ? QStringLiteral(" AND s_akod = :p3 ") : QStringLiteral(" AND f_akod = :p3 ")),
         QStringLiteral("  GROUP BY s_akod ")},
        periodParams(period));
    if (q->IsEmpty())
        return QStringLiteral("0");
    q->First();
    return shortestNumberText(q->FieldByName(QStringLiteral("M_OSSZESEN")).AsDecimal());
}

void openAnimalGroups(const SummaryPeriod& period) {
    openQuery(Data->ZQ20,
              QStringList{QStringLiteral("SELECT s_megnevezes, SUM(s_netto) AS mennyiseg, "
                                         "SUM(s_vetelar) AS kifizetett ")} +
                  lineJoins(JoinKind::Left) +
                  QStringList{
                      QStringLiteral("  WHERE ") + dateRange(period) + QStringLiteral(" AND f_akod = :p3 "),
                      QStringLiteral("  GROUP BY s_megnevezes "), QStringLiteral("  ORDER BY s_megnevezes ")},
              periodParams(period));
}

void openAnimalLines(const SummaryPeriod& period, const QString& name, JoinKind kind) {
    openQuery(Data->ZQ21,
              QStringList{QStringLiteral("SELECT * ")} + lineJoins(kind) +
                  QStringList{QStringLiteral("  WHERE s_megnevezes = :p0 AND ") + dateRange(period) +
                              QStringLiteral(" AND f_akod = :p3 ")},
              withKey(period, name));
}

void openProducerGroups(const SummaryPeriod& period) {
    openQuery(
        Data->ZQ20,
        QStringList{QStringLiteral("SELECT o_kod, o_nev, SUM(s_vetelar) AS nevosszesen ")} +
            lineJoins(JoinKind::Left) +
            QStringList{QStringLiteral("  WHERE ") + dateRange(period) + QStringLiteral(" AND s_akod = :p3 "),
                        QStringLiteral("  GROUP BY o_kod, o_nev ")},
        periodParams(period));
}

void openProducerTotal(const SummaryPeriod& period, const QString& code, JoinKind kind) {
    openQuery(Data->ZQ80,
              QStringList{QStringLiteral("SELECT o_kod, SUM(s_vetelar) AS nevosszesen ")} + lineJoins(kind) +
                  QStringList{QStringLiteral("  WHERE o_kod = :p0 AND ") + dateRange(period) +
                                  QStringLiteral(" AND f_akod = :p3 "),
                              QStringLiteral("  GROUP BY o_kod ")},
              withKey(period, code));
}

void openProducerLines(const SummaryPeriod& period, const QString& code, JoinKind kind, bool byName) {
    QStringList sql = QStringList{QStringLiteral("SELECT * ")} + lineJoins(kind) +
                      QStringList{QStringLiteral("  WHERE o_kod = :p0 AND ") + dateRange(period) +
                                  QStringLiteral(" AND f_akod = :p3 ")};
    if (byName)
        sql << QStringLiteral("  ORDER BY s_megnevezes ");
    openQuery(Data->ZQ21, sql, withKey(period, code));
}

} // namespace vardelo::lists
