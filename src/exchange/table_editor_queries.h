#pragma once

class TZQuery;

// The statements of the raw table editor beside its table components.
namespace vardelo::exchange {

// The journal as it is stored, newest first (a long change text read as text), and the attachments that wrote
// it, newest first. Both are only ever read.
void openJournalTable(TZQuery* query);
void openConnectionTable(TZQuery* query);

} // namespace vardelo::exchange
