#pragma once

#include <QString>

namespace vardelo {

// Checks a ticket-number seed typed in the year opening, in this order: not empty (trailing blanks ignored),
// exactly 8 characters, a whole number that does not begin with zero. Returns the message of the first failed
// check, empty when the seed can be stored.
QString ticketNumberSeedError(const QString& text);

// A seed that passed those checks against the purchaser's highest ticket number (empty when it has none):
// the seed must lie above it, or the next ticket would take a number already used. Returns the message when
// it does not, empty otherwise.
QString ticketNumberSeedConflict(const QString& seed, const QString& highestTicket);

} // namespace vardelo
