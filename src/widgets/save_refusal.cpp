#include "widgets/save_refusal.h"

#include "data/row_check.h"
#include "widgets/action_guard.h"

namespace vardelo {

bool askReloadAfterRefusal(const QString& screenMessage, const ERowChanged& refusal, LogCategory category) {
    if (refusal.Deleted()) {
        reportFailure(screenMessage, refusal, category);
        return false;
    }
    qCWarning(category).noquote() << "save refused, the row changed meanwhile:" << refusal.Message()
                                  << "shown as" << screenMessage;
    const MsgButton answer = ui().detailedMessageBox(
        screenMessage, programTitle(), MsgIcon::Warning, int(MsgButton::Yes) | int(MsgButton::No),
        refusal.Message() + QStringLiteral("\n\n") + ReloadQuestion, QString());
    return answer == MsgButton::Yes;
}

} // namespace vardelo
