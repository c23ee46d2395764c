#pragma once

#include <QDate>

// The statement of the spreadsheet export window.
namespace vardelo::exchange {

// ZQ20: the current purchaser's ticket lines whose ticket's payment date (or, byPurchaseDate, purchase date)
// lies in from..to, both ends included, in ticket-number order, with the ticket's and the producer's columns.
void openExportLines(const QDate& from, const QDate& to, bool byPurchaseDate);

} // namespace vardelo::exchange
