#pragma once

#include <QString>

namespace vardelo {

// Checks a ticket-number seed typed in the year opening, in this order: not empty (trailing blanks ignored),
// exactly 8 characters, a whole number that does not begin with zero. Returns the message of the first failed
// check, empty when the seed can be stored.
QString ticketNumberSeedError(const QString& text);

} // namespace vardelo
