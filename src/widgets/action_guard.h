#pragma once

#include "widgets/ui_service.h"

#include <QString>
#include <exception>
#include <functional>

class EDatabaseError;

namespace vardelo {

// Every screen reports a failed action the same way: the screen's own message as the box's text (captioned
// like showMessage), the reason in plain Hungarian below it, the engine's own words and codes behind the
// details, and one log line with the codes in the screen's category. Without a screen message the reason is
// the text of the general error box.
void reportFailure(const QString& screenMessage, const EDatabaseError& error, LogCategory category);

// Any other failure. A run-time error of the program's own (a report that cannot be read, a file that cannot
// be written) says what happened in its text, which is the reason; anything else is a fault of the program
// (an index out of range ...): the clerk reads that the action ended, its own words go to the details.
void reportFailure(const QString& screenMessage, const std::exception& error, LogCategory category);

// A failure the screen explains itself: its reason in plain Hungarian, and the words of the library or tool
// that failed (English, technical) as the details.
void reportFailure(const QString& screenMessage, const QString& reason, const QString& details,
                   LogCategory category);

// Runs one action of a screen. A failure the action does not handle itself ends the action and is reported as
// above; what was written before stays. A lost connection is attached again first, and the action is repeated
// when the clerk asks for it (withReconnect); the windows keep what was typed. Returns whether the action ran
// through.
bool guarded(LogCategory category, const QString& screenMessage, const std::function<void()>& action);
inline bool guarded(LogCategory category, const std::function<void()>& action) {
    return guarded(category, QString(), action);
}

} // namespace vardelo
