#pragma once

#include <QString>

// The statements of the purchaser record window. A database error is raised to the window.
namespace vardelo::purchaser {

// ZQ11: the number of tickets of the purchaser, counted per purchaser code (0 when it has none).
int ticketCount(const QString& purchaserCode);
// ZQ11: the number of tickets that carry the purchaser code.
int ticketsCarryingCode(const QString& purchaserCode);
// ZQ11: the purchaser's highest ticket number (the longest, then the greatest, as numbers of no leading zero
// compare), empty when it has no ticket.
QString highestTicketNumber(const QString& purchaserCode);

// ZQ50: the purchaser's last used ticket number (a_fjbszam of its SORSZAM row), left open for the window.
void openLastTicketNumber(const QString& purchaserCode);
// Stores the seed as the purchaser's last used ticket number and commits at once; returns the rows changed
// (0 when the purchaser has no number row).
int storeTicketNumberSeed(const QString& seed, const QString& purchaserCode);

} // namespace vardelo::purchaser
