#pragma once

#include "masterdata/register_rules.h"

#include <QString>
#include <functional>
#include <optional>

class EDatabaseError;
class QDialog;

namespace vardelo {

// How a register entry's save ended: stored; failed (its message shown, everything typed kept); or refused
// because another desk changed the record meanwhile and the clerk asked for it as stored now.
enum class EntrySave { Saved, Failed, Reload };

// "OK" of a register entry window. The first failed check is shown with the focus in its field. Otherwise the
// shared transaction is started (startFailure is shown when it cannot be), the save runs, the list behind the
// window is reopened either way, and the window closes only after a successful save: a failed one leaves
// everything the clerk typed, to be corrected and saved again, and a refused one is loaded again (reload)
// when the clerk asked for that.
void confirmEntry(QDialog& window, const std::optional<EntryProblem>& problem, const QString& startFailure,
                  const std::function<EntrySave()>& save, const std::function<void()>& reopenList,
                  const std::function<void()>& reload);

// The end of a failed save of a register entry: the transaction rolled back and the failure told, a refusal
// (another desk changed or deleted the record) with the offer to load it as stored now. A lost connection is
// raised on, for the action's guard to attach again.
EntrySave entrySaveFailed(const QString& failure, const EDatabaseError& error);

} // namespace vardelo
