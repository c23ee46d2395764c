#pragma once

namespace vardelo::testing {

// Puts the process-wide state of a run back to a fresh start, so that no test sees what an earlier one left:
// the data module Data is deleted, the shared values are reset, the report variables forgotten, the printer
// set back to portrait and the real UI service put back in force. TestDatabase calls it as it is made and as
// it goes; a test without a database calls it from its init().
void resetRunState();

} // namespace vardelo::testing
