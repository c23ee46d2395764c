#include "masterdata/entry_confirm.h"

#include "data/data_module.h"
#include "data/database_error.h"
#include "data/logging.h"
#include "widgets/action_guard.h"
#include "widgets/ui_service.h"

#include <QDialog>

namespace vardelo {

void confirmEntry(QDialog& window, const std::optional<EntryProblem>& problem, const QString& startFailure,
                  const std::function<bool()>& save, const std::function<void()>& reopenList) {
    if (problem) {
        ui().showMessage(problem->message);
        if (auto* field = window.findChild<QWidget*>(problem->field))
            field->setFocus();
        return;
    }
    try {
        if (!Data->IBTrans1->Active())
            Data->IBTrans1->StartTransaction();
    } catch (const EDatabaseError& error) {
        reportFailure(startFailure, error, lcMasterdata);
        return;
    }
    const bool saved = save();
    reopenList();
    if (saved)
        window.accept();
}

} // namespace vardelo
