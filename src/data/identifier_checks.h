#pragma once

#include <QString>

// Check digits of the producers' identifiers. Each check reads the characters it needs from the first; a
// missing character or one that is not a decimal digit makes the check false.
namespace vardelo {

bool adoazonositoValid(const QString& text); // tax identifier, characters 1-10
bool adoszamValid(const QString& text);      // tax number, characters 1-8
bool tajValid(const QString& text);          // TAJ number, characters 1-9

struct NameParts {
    QString familyName; // up to and including the last blank, " " when there is none
    QString givenName;  // after the last blank
};
// Splits a name at its last blank. A name without a blank gives " " and the whole name.
NameParts splitName(const QString& name);

} // namespace vardelo
