#pragma once

#include "data/database_error.h"
#include "tickets/ticket_rules.h"

#include <QString>
#include <QStringList>
#include <functional>

// Taking ticket numbers when several desks share one database. A new ticket's number is taken only when its
// header is stored, by one conditional update of the purchaser's SORSZAM row: the update names the value the
// desk read, so when another desk took that number first it changes no row, and this desk takes the next
// number and tries again. The lines a desk writes before its header are tracked by their ID_FJSOR, so a
// header holds that desk's lines only, whatever number it finally gets.
namespace vardelo::tickets {

// How many times a save tries to take a number before it gives up with NumbersBusyMessage.
inline constexpr int NumberAttempts = 25;
inline const QString NumbersBusyMessage =
    QStringLiteral("Most nem sikerült sorszámot kapni, mert a többi munkahely is éppen jegyet ment. A beírt "
                   "adatok megmaradtak: próbálja újra!");

// The lines this program wrote for the new ticket it has not stored yet are PendingLineIds (shared_values.h).

// After a line of a new ticket is inserted and before it is committed: remembers the lines the current
// transaction has just written under the number.
void rememberOwnLines(const QString& number);

// On opening a new ticket on a number that already has lines without a header: when no other desk is
// connected they are a cancelled ticket's lines and become this ticket's; with other desks connected they may
// be another desk's unsaved ticket and are left alone.
void adoptLeftoverLines(const QString& number);

// The number a new ticket would get now: the purchaser's last number plus one (nextTicketNumber).
NextNumber currentNextNumber();

// The purchaser's number row is read by its ID but not found by its purchaser code, so no number can be
// taken.
class ENumberRowMissing : public EDatabaseError {
public:
    ENumberRowMissing();
};

struct SavedTicket {
    QString number;
    int retries = 0; // numbers or locks found taken by another desk before this one succeeded
};

// Stores a new ticket in one transaction: takes the next number, calls `insertHeader` with it to write the
// header, moves this desk's lines to the number and the lines of other desks' unsaved tickets off it, and
// commits. On a number taken by another desk or a row another desk holds, everything is rolled back and tried
// again (NumberAttempts times, then EDatabaseError with NumbersBusyMessage). A number that a stored header
// already carries (a sequence left behind, on a database without the unique index) is refused with
// newTicketNumberRefusal's message. Any other database error rolls back and is raised. Nothing is left
// half-written.
SavedTicket storeNewTicket(const std::function<void(const QString& number)>& insertHeader);

} // namespace vardelo::tickets
