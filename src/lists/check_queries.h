#pragma once

#include "lists/check_rules.h"

#include <QDate>
#include <vector>

class TDataSet;

// The statement of the ticket data check, through the data module's ZQ20.
namespace vardelo::lists {

// ZQ20: the current purchaser's ticket lines paid in the period, with their header and producer (a missing
// header or producer leaves its columns null), in the order the database gives them.
void openCheckLines(const QDate& from, const QDate& to);

// Every row of the dataset as the batch check reads it: the columns it tests as text (null as ""). The
// dataset's current row does not move. A closed dataset gives no rows.
std::vector<CheckRow> readCheckRows(TDataSet& dataSet);

} // namespace vardelo::lists
