#pragma once

#include <QString>

class TZQuery;

// The lists the ticket windows share through the data module, each opened by one statement.
namespace vardelo::tickets {

// ZQ10: the current purchaser's ticket headers with their producers, in the given order (a column name).
void openTicketHeaders(const QString& orderColumn = QStringLiteral("f_bszam"));
// Puts ZQ10 on the first ticket whose number starts with the given text (ignoring case); an empty text or no
// match leaves the list where it is.
void locateTicket(const QString& number);
// ZQ20: the lines of one ticket, in the order they were written when asked.
void openTicketLines(const QString& number, bool ordered = true);
// A producer list (ZQ30 or ZQ31) with the producer of the given code.
void openProducer(TZQuery* query, const QString& code);

// ZQ50: the current purchaser's number row (SORSZAM whose ID_SORSZAM is AktAkod).
void openNumberRow();
// Whether a ticket header of any purchaser carries this number.
bool ticketHeaderExists(const QString& number);

// Rolls the shared transaction back after a failed write, when it is still active; a failure of the rollback
// itself is not reported (the write's own message has been shown).
void rollBack();

} // namespace vardelo::tickets
