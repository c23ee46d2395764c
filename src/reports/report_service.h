#pragma once

#include "data/decimal.h"

#include <QPageLayout>
#include <QString>
#include <QVariant>

// The calls every printing window makes, in this order: set the report variables, (for two lists) set the
// default printer to landscape, load the layout file into a report object of the data module, show the
// report:
//
//     vardelo::setReportVariable("v_tol", dateText(from));
//     Data->frNyomtat->LoadFromFile("FjLista3.frf");
//     Data->frNyomtat->ShowReport();
namespace vardelo {

// Variables belong to the engine: a value stays until it is set again, whatever layout is loaded.
void setReportVariable(const QString& name, const QString& value);
void setReportVariable(const QString& name, double value);
// An amount, exact: the layout's format rounds it exactly ("n2" of 1,005 is "1,01").
void setReportVariable(const QString& name, const Decimal& value);
QVariant reportVariable(const QString& name);

// The orientation the print dialog of the preview starts with, for the rest of the run. Each page still
// prints in the orientation of its layout.
void setDefaultPrinterLandscape();
QPageLayout::Orientation defaultPrinterOrientation();

// Back to a fresh start: no report variables, the printer in portrait.
void resetReportState();

} // namespace vardelo
