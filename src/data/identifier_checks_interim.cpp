// Interim identifier checks until the shared helpers land.
#include "data/identifier_checks.h"

namespace vardelo {
bool adoazonositoValid(const QString&) {
    return false;
}
bool adoszamValid(const QString&) {
    return false;
}
bool tajValid(const QString&) {
    return false;
}
NameParts splitName(const QString& name) {
    int k = name.lastIndexOf(QLatin1Char(' '));
    if (k < 0)
        return {QStringLiteral(" "), name};
    return {name.left(k + 1), name.mid(k + 1)};
}
} // namespace vardelo
