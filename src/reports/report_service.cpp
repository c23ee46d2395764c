#include "reports/report_service.h"

#include "reports/report_variables.h"

namespace vardelo {

namespace {
QPageLayout::Orientation printerOrientation = QPageLayout::Portrait;
}

void setReportVariable(const QString& name, const QString& value) {
    report::setVariable(name, value);
}

void setReportVariable(const QString& name, double value) {
    report::setVariable(name, value);
}

void setReportVariable(const QString& name, const Decimal& value) {
    report::setVariable(name, QVariant::fromValue(value));
}

QVariant reportVariable(const QString& name) {
    return report::variable(name);
}

void setDefaultPrinterLandscape() {
    printerOrientation = QPageLayout::Landscape;
}

QPageLayout::Orientation defaultPrinterOrientation() {
    return printerOrientation;
}

void resetReportState() {
    report::clearVariables();
    printerOrientation = QPageLayout::Portrait;
}

} // namespace vardelo
