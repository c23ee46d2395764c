#pragma once

class TConnection;

namespace vardelo::tickets {

// The ticket counts the database keeps (FJFEJ_DARAB), which count the ticket list and order it by the
// producers' names. An older database's tickets are counted once; after that, the changes written since the
// last time are summed, each code's into one row. It runs in a snapshot transaction of its own, so what it
// sums and the rows it replaces are the same rows whatever other desks write meanwhile, and a desk doing the
// same at that moment makes it give way. False, logged, when it did nothing (a user without the right, a
// database whose schema is not upgraded yet): the lists then count the tickets themselves.
bool settleTicketCounts(TConnection* connection);

} // namespace vardelo::tickets
