#include "reports/report_error.h"

EReportError::EReportError(const QString& message)
    : std::runtime_error(message.toStdString()), message_(message) {}
