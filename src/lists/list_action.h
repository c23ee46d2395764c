#pragma once

#include "data/database_error.h"
#include "data/logging.h"
#include "widgets/lost_connection.h"
#include "widgets/ui_service.h"

#include <QString>
#include <exception>

namespace vardelo::lists {

// Runs one action of a list window. A failure the action does not handle ends it and is shown in the
// program's general error box; a database error is logged with the engine's message and code first. A lost
// connection is attached again first, and the action is repeated when the clerk asks for it.
template <typename Action> void guarded(Action&& action) {
    try {
        withReconnect(action, lcLists, [](const EDatabaseError& e) {
            qCWarning(lcLists) << "database error:" << e.Message() << "code" << e.ErrorCode();
            ui().showError(e.Message());
        });
    } catch (const std::exception& e) {
        ui().showError(QString::fromUtf8(e.what()));
    }
}

} // namespace vardelo::lists
