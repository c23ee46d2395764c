#pragma once

#include "masterdata/register_rules.h"

#include <QString>
#include <functional>
#include <optional>

class QDialog;

namespace vardelo {

// "OK" of a register entry window. The first failed check is shown with the focus in its field. Otherwise the
// shared transaction is started (startFailure is shown when it cannot be), the save runs, the list behind the
// window is reopened either way, and the window closes only after a successful save: a failed one leaves
// everything the clerk typed, to be corrected and saved again.
void confirmEntry(QDialog& window, const std::optional<EntryProblem>& problem, const QString& startFailure,
                  const std::function<bool()>& save, const std::function<void()>& reopenList);

} // namespace vardelo
