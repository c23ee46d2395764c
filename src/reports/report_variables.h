#pragma once

#include <QString>
#include <QVariant>

// The report variables. They belong to the engine, not to one report: a value stays until it is set again,
// whichever layout is loaded meanwhile. Names are compared without regard to case.
namespace vardelo::report {

void setVariable(const QString& name, const QVariant& value);
// Null when the variable was never set.
QVariant variable(const QString& name);
bool hasVariable(const QString& name);
// Forgets every variable (tests start from nothing).
void clearVariables();

} // namespace vardelo::report
