#pragma once

#include "data/database_error.h"
#include "tickets/ticket_rules.h"

#include <QString>
#include <functional>

// New tickets when several desks share one database.
//
// The lines of a ticket not stored yet are stored and committed at once, as every line is, but without a
// number and marked with the desk that writes them (S_MUNKAHELY, the connection's DeskName): no other desk's
// ticket entry, list, sum or print sees, counts, changes or deletes them, and a desk's own unsaved lines come
// back to its next new ticket (a cancelled ticket's lines, or those of a desk that crashed and starts again).
//
// A new ticket's number is taken only when its header is stored, by one conditional update of the purchaser's
// SORSZAM row: the update names the value the desk read, so when another desk took that number first it
// changes no row, and this desk takes the next number and tries again. Numbers are thus used one after the
// other, without gaps; the number a window shows is the one it will most likely get.
namespace vardelo::tickets {

// How many times a save tries to take a number before it gives up with NumbersBusyMessage.
inline constexpr int NumberAttempts = 25;
inline const QString NumbersBusyMessage =
    QStringLiteral("Most nem sikerült sorszámot kapni, mert a többi munkahely is éppen jegyet ment. A beírt "
                   "adatok megmaradtak: próbálja újra!");

// How long the unsaved lines of a desk that is not attached must have waited before another desk's new ticket
// takes them over: a desk that crashed or is never started again does not keep them hidden for ever, while a
// desk cut off for a moment (a server restart) finds its own lines again.
inline constexpr int AbandonedLinesMinutes = 60;

// This desk's mark on the lines of its unsaved ticket.
QString deskMark();

// What a new ticket took over on opening, besides this desk's own unsaved lines.
struct AdoptedLines {
    int leftover = 0;  // lines under the number shown without a header, left by an earlier version
    int abandoned = 0; // unsaved lines of desks that are not attached and left them AbandonedLinesMinutes ago
};

// On opening a new ticket for the current purchaser: lines stored under the number shown that no header
// carries, and the abandoned unsaved lines of other desks, become this desk's unsaved lines. Each is taken in
// one committed update, so two desks never both take the same lines.
AdoptedLines adoptLines(const QString& shownNumber);

// The text that tells the clerk about lines another desk abandoned, now on the new ticket.
QString abandonedLinesMessage(int count);

// The number a new ticket would get now: the purchaser's last number plus one (nextTicketNumber).
NextNumber currentNextNumber();

// The purchaser's number row is read by its ID but not found by its purchaser code, so no number can be
// taken.
class ENumberRowMissing : public EDatabaseError {
public:
    ENumberRowMissing();
};

// The desk has no unsaved line for the ticket being stored.
class ENoLines : public EDatabaseError {
public:
    ENoLines();
};

struct SavedTicket {
    QString number;
    int retries = 0; // numbers or locks found taken by another desk before this one succeeded
    int lines = 0;   // the lines that got the number
};

// Stores a new ticket in one transaction: takes the next number, calls `insertHeader` with it to write the
// header, gives this desk's unsaved lines of the purchaser the number, and commits. On a number taken by
// another desk or a row another desk holds, everything is rolled back and tried again (NumberAttempts times,
// then EDatabaseError with NumbersBusyMessage). A number that a stored header already carries (a sequence
// left behind, on a database without the unique index) is refused with newTicketNumberRefusal's message; a
// desk without unsaved lines is refused with ENoLines. Any other database error rolls back and is raised.
// Nothing is left half-written.
SavedTicket storeNewTicket(const std::function<void(const QString& number)>& insertHeader);

} // namespace vardelo::tickets
