#include "support/run_state.h"

#include "data/data_module.h"
#include "data/firebird_api.h"
#include "data/log_file.h"
#include "data/shared_values.h"
#include "reports/report_service.h"
#include "widgets/ui_service.h"

namespace vardelo::testing {

void resetRunState() {
    // Tests write no log file unless VARDELO_TEST_LOG names the folder for one.
    static const bool logging = [] {
        const QString folder = qEnvironmentVariable("VARDELO_TEST_LOG");
        return !folder.isEmpty() && !installLogFile({folder}).isEmpty();
    }();
    Q_UNUSED(logging);
    delete Data;
    Data = nullptr;
    fb::clearLostConnectionSeen();
    resetSharedValues();
    resetReportState();
    installUi(nullptr);
}

} // namespace vardelo::testing
