#pragma once

#include "data/database_error.h"
#include "data/logging.h"
#include "widgets/ui_service.h"

#include <QString>
#include <exception>

namespace vardelo::lists {

// Runs one action of a list window. A failure the action does not handle ends it and is shown in the
// program's general error box; a database error is logged with the engine's message and code first.
template <typename Action> void guarded(Action&& action) {
    try {
        action();
    } catch (const EDatabaseError& e) {
        qCWarning(lcLists) << "database error:" << e.Message() << "code" << e.ErrorCode();
        ui().showError(e.Message());
    } catch (const std::exception& e) {
        ui().showError(QString::fromUtf8(e.what()));
    }
}

} // namespace vardelo::lists
