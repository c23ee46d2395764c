#include "masterdata/entry_confirm.h"

#include "data/data_module.h"
#include "data/database_error.h"
#include "data/logging.h"
#include "data/row_check.h"
#include "widgets/action_guard.h"
#include "widgets/lost_connection.h"
#include "widgets/save_refusal.h"
#include "widgets/ui_service.h"

#include <QDialog>

namespace vardelo {

void confirmEntry(QDialog& window, const std::optional<EntryProblem>& problem, const QString& startFailure,
                  const std::function<EntrySave()>& save, const std::function<void()>& reopenList,
                  const std::function<void()>& reload) {
    if (problem) {
        ui().showMessage(problem->message);
        if (auto* field = window.findChild<QWidget*>(problem->field))
            field->setFocus();
        return;
    }
    EntrySave saved = EntrySave::Failed;
    for (bool again = true; again;) {
        again = false;
        try {
            healConnection();
            if (!Data->IBTrans1->Active())
                Data->IBTrans1->StartTransaction();
        } catch (const EDatabaseError& error) {
            if (!isLostConnection(error))
                reportFailure(startFailure, error, lcMasterdata);
            else
                again = recoverLostConnection(error, lcMasterdata);
            if (!again)
                return;
            continue;
        }
        try {
            saved = save();
        } catch (const EDatabaseError& error) {
            // Only a lost connection gets here (the save tells the rest itself): attached again, the clerk
            // may save once more with everything typed.
            again = recoverLostConnection(error, lcMasterdata);
            if (!again)
                return;
        }
    }
    try {
        reopenList();
    } catch (const EDatabaseError& error) {
        // Attaching again opens the lists again too.
        if (isLostConnection(error))
            recoverLostConnection(error, lcMasterdata);
        else
            reportFailure(QString(), error, lcMasterdata);
    }
    if (saved == EntrySave::Saved)
        window.accept();
    else if (saved == EntrySave::Reload)
        reload();
}

EntrySave entrySaveFailed(const QString& failure, const EDatabaseError& error) {
    if (isLostConnection(error))
        throw error;
    TTransaction* transaction = Data->IBTrans1;
    try {
        if (transaction->Active())
            transaction->Rollback();
    } catch (const EDatabaseError& rollbackError) {
        qCWarning(lcMasterdata) << "rollback failed:" << rollbackError.Message();
    }
    if (const auto* refusal = dynamic_cast<const ERowChanged*>(&error))
        return askReloadAfterRefusal(failure, *refusal, lcMasterdata) ? EntrySave::Reload : EntrySave::Failed;
    reportFailure(failure, error, lcMasterdata);
    return EntrySave::Failed;
}

} // namespace vardelo
