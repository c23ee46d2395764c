#pragma once

#include <QDate>
#include <QString>

class TZQuery;

// The statements of the return windows (the import files and the itemised list), each opened on ZQ20 or ZQ21
// of the data module for the current purchaser (AktAkod) and a period of payment dates, both ends included.
namespace vardelo::returns {

// ZQ20 on the lines of a ticket number that does not exist: the empty grid of a new window.
void openNoLines();

// ZQ20: the period's total of the purchase prices, one row (S_AKOD, M_OSSZESEN), none without paid tickets.
void openImportTotal(const QDate& from, const QDate& to);
// ZQ20: the amount paid to each producer at each compensation rate (F_OSTERMKOD, S_KOMPMERTEKE, KIFIZETETT),
// in producer code order.
void openImportRows(const QDate& from, const QDate& to);
// ZQ21: the register rows of the producers paid in the period, in code order, the first-entered row of a
// code first.
void openPaidProducers(const QDate& from, const QDate& to);
// ZQ20: the rows of the printed producer list (F_OSTERMKOD, O_NEV, O_IGSZAM, F_PRN, O_ADOAZON, M_VETELAR).
void openImportPrintRows(const QDate& from, const QDate& to);

// The orders of the itemised list.
enum class ItemOrder { Producer, PaymentDate, TicketNumber, Product, PurchaseDate };
// The ORDER BY columns of an order, e.g. "o_nev, f_fizkelt".
QString itemOrderColumns(ItemOrder order);
// The value of the report variable v_sorrend for an order.
QString itemOrderName(ItemOrder order);

// ZQ20: the period's total of the purchase prices of the lines of the purchaser (S_AKOD, M_OSSZESEN).
void openItemTotal(const QDate& from, const QDate& to);
// ZQ20: every line of the tickets paid in the period with its header and producer, in the given order.
void openItems(const QDate& from, const QDate& to, ItemOrder order);

} // namespace vardelo::returns
