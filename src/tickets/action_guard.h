#pragma once

#include "data/database_error.h"
#include "data/logging.h"
#include "widgets/lost_connection.h"
#include "widgets/ui_service.h"

#include <QString>
#include <exception>

namespace vardelo::tickets {

// Runs one action of a ticket window. A failure that the action does not handle itself ends the action and is
// shown in the program's general error box, as an unhandled error would be; what was written before stays. A
// lost connection is attached again first, and the action is repeated when the clerk asks for it; the window
// keeps what was typed.
template <typename Action> void guarded(Action&& action) {
    try {
        withReconnect(action, lcTickets,
                      [](const EDatabaseError& e) { ui().showDatabaseError(QString(), e, lcTickets); });
    } catch (const std::exception& e) {
        ui().showError(QString::fromUtf8(e.what()));
    }
}

} // namespace vardelo::tickets
