#include "reports/report_variables.h"

#include <QHash>

namespace vardelo::report {

namespace {
QHash<QString, QVariant>& store() {
    static QHash<QString, QVariant> variables;
    return variables;
}
} // namespace

void setVariable(const QString& name, const QVariant& value) {
    store().insert(name.toLower(), value);
}

QVariant variable(const QString& name) {
    return store().value(name.toLower());
}

bool hasVariable(const QString& name) {
    return store().contains(name.toLower());
}

void clearVariables() {
    store().clear();
}

} // namespace vardelo::report
