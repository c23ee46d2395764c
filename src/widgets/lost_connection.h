#pragma once

#include "data/database_error.h"
#include "widgets/ui_service.h"

namespace vardelo {

// Before an action of a window: attaches again when an earlier action lost the connection to the database and
// the server does not answer on it any more (TData::Heal). Raises the engine's error when the server cannot
// be reached yet.
void healConnection();

// An action failed because the connection to the database was lost (the server stopped or restarted):
// attaches again, which opens the data module's lists where they stood while every window keeps what was
// typed, and asks the clerk whether to repeat the action. While the server cannot be reached the clerk may
// try again or leave it to the next action. True when the connection is back and the clerk wants the action
// repeated. Logged in the given category.
bool recoverLostConnection(const EDatabaseError& error, LogCategory category);
// Whether there is a data module to attach again (a tool or test without one reports the loss as any error).
bool canReattach();

// Runs one action of a window: attached again first when an earlier action lost the connection, and repeated
// when it fails on a lost connection and the clerk asks for that. Any other database error goes to `failure`.
template <typename Action, typename Failure>
void withReconnect(Action&& action, LogCategory category, Failure&& failure) {
    for (;;) {
        try {
            healConnection();
            action();
        } catch (const EDatabaseError& e) {
            if (!isLostConnection(e) || !canReattach())
                failure(e);
            else if (recoverLostConnection(e, category))
                continue;
        }
        return;
    }
}

inline const QString LostConnectionMessage = QStringLiteral("Megszakadt a kapcsolat az adatbázissal.");

} // namespace vardelo
