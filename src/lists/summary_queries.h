#pragma once

#include <QDate>
#include <QString>

// The statements of the two summary lists (per animal, per producer) through the data module's ZQ20 (groups),
// ZQ80 (period total, producer total) and ZQ21 (the lines of one group).
namespace vardelo::lists {

// The period and date basis of a summary, as the window holds them.
struct SummaryPeriod {
    QDate from;
    QDate to;
    bool paymentDate = true; // f_fizkelt; otherwise the purchase date f_felvkelt
};

enum class JoinKind { Left, Inner };

// ZQ80: the period total of the current purchaser's lines, restricted on the header's purchaser code (per
// animal) or on the line's (per producer). Its first row's M_OSSZESEN in the general number format, "0" when
// there is no row.
QString openPeriodTotal(const SummaryPeriod& period, bool onLinePurchaser);

// ZQ20: one row per animal name (S_MEGNEVEZES, MENNYISEG, KIFIZETETT), in name order.
void openAnimalGroups(const SummaryPeriod& period);
// ZQ21: the lines of one animal name.
void openAnimalLines(const SummaryPeriod& period, const QString& name, JoinKind join);

// ZQ20: one row per producer (O_KOD, O_NEV, NEVOSSZESEN), in the order the database gives.
void openProducerGroups(const SummaryPeriod& period);
// ZQ80: one producer's total (O_KOD, NEVOSSZESEN).
void openProducerTotal(const SummaryPeriod& period, const QString& code, JoinKind join);
// ZQ21: one producer's lines, by animal name when ordered, otherwise as the database gives them.
void openProducerLines(const SummaryPeriod& period, const QString& code, JoinKind join, bool byName);

} // namespace vardelo::lists
