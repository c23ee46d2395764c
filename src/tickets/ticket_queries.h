#pragma once

#include "data/database_error.h"
#include "data/immediate_write.h"

#include <QString>
#include <optional>

class TZQuery;
struct TListPlan;

// The statements of the ticket windows, each opened or run through the data module's queries. A database
// error is raised to the window.
namespace vardelo::tickets {

// ZQ10: the current purchaser's ticket headers with their producers, in the given order (its columns).
void openTicketHeaders(const QString& orderColumn = QStringLiteral("f_bszam"));
// How ZQ10 in that order is read without joining and sorting every ticket (data/list_plan.h).
TListPlan ticketHeaderPlan(const QString& orderColumn);
// Puts ZQ10 on the first ticket whose number starts with the given text (ignoring case); an empty text or no
// match leaves the list where it is.
void locateTicket(const QString& number);
// ZQ20: the lines of one ticket, in the order they were written when asked.
void openTicketLines(const QString& number, bool ordered = true);
// ZQ20: the lines of this desk's unsaved ticket for the current purchaser (ticket_numbering.h), in the order
// they were written.
void openUnsavedLines();
// A producer list (ZQ30 or ZQ31) with the producer of the given code.
void openProducer(TZQuery* query, const QString& code);

// The ticket number. ZQ50: the current purchaser's number row (SORSZAM whose ID_SORSZAM is AktAkod).
void openNumberRow();
// The current purchaser's last used ticket number, read through openNumberRow().
QString lastTicketNumber();
// Whether a ticket header of any purchaser carries this number.
bool ticketHeaderExists(const QString& number);

// ZQ11: writes a ticket header, an UPDATE of the row of the changed ID (its printed mark cleared, the row
// checked against the header as the window read it), else an INSERT; the parameters are :p1 to :p6 and :p8 to
// :p13 of the statements. The commit is the caller's.
void writeTicketHeader(const std::optional<QString>& changedId, const QueryParams& fields,
                       const RowAsRead& asRead = {});
// ZQ12: the ticket's producer, locked until the transaction ends so that no desk deletes it before the ticket
// is stored; ETicketProducerGone when no producer has the code.
void lockTicketProducer(const QString& code);
// ZQ21: the sums of the ticket's lines for the entry window (FAR, KFELAR, VAR), no row when it has none; of
// this desk's unsaved lines for a new ticket.
void openLineSums(const QString& number);
void openUnsavedLineSums();
// ZQ21: the number of the ticket's stored lines; of this desk's unsaved lines.
int storedLineCount(const QString& number);
int unsavedLineCount();
// ZQ21: deletes one line and commits at once; the line as the grid read it is checked first (another desk's
// change or delete since is refused with ERowChanged).
void deleteTicketLine(const QString& lineId, const RowAsRead& asRead = {});
// ZQ21: writes a ticket line, an UPDATE of the row of the changed ID (checked against the line as the dialog
// read it), else an INSERT; the parameters are :p1 to :p10 of the statements. A line of this desk's unsaved
// ticket (`unsaved`) gets no number but the desk's mark. A weight read from the scale goes to S_MERLEG;
// without one the statements leave the column alone (a database not yet brought up to the schema works on
// without it). The commit is the caller's.
void writeTicketLine(const std::optional<QString>& changedId, const QueryParams& fields, bool unsaved,
                     const RowAsRead& asRead = {}, const std::optional<double>& scaleWeight = std::nullopt);

// ZQ11: whether the ticket carries the printed mark, read from the database.
bool ticketPrinted(const QString& number);

// For the printed ticket. ZQ60: the purchaser of the code.
void openPurchaser(const QString& purchaserCode);
// ZQ21: the sums of the ticket's lines (FAR, KAR, VAR), no row when it has none.
void openPrintSums(const QString& number);
// ZQ11: the ticket header of the number.
void openHeaderByNumber(const QString& number);
// ZQ11: writes the printed mark and commits it at once.
void markTicketPrinted(const QString& number);

// The producer of a ticket being stored is gone: another desk deleted it meanwhile.
class ETicketProducerGone : public EDatabaseError {
public:
    explicit ETicketProducerGone(const QString& code);
};

// Rolls the shared transaction back after a failed write, when it is still active; a failure of the rollback
// itself is not reported (the write's own message has been shown).
void rollBack();

} // namespace vardelo::tickets
