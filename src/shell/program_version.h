#pragma once

#include <QString>

namespace vardelo {

// The version text of the main window caption, from the file version and the product version the program
// carries: the major part of the file version, ".0", then the minor part of the product version
// ("8.9.0.0" and "8.9" give "8.09"). Empty when either version is missing or not made of numbers 0-65535.
QString programVersionText(const QString& fileVersion, const QString& productVersion);

// The same for the versions this build carries.
QString programVersionText();

} // namespace vardelo
