#pragma once

#include "data/field.h"

#include <QString>
#include <QVariant>
#include <optional>

namespace vardelo {

// Reads what a clerk typed into a bound control as a value for a field of the given type: text columns take
// the text as typed; numbers are read with the decimal comma (a point is accepted too); dates in the
// program's date format; an empty entry clears a number or a date (null). Text the field cannot hold gives
// nothing.
std::optional<QVariant> fieldValueFromText(TFieldType type, const QString& text);

// The message for text that fieldValueFromText refused, e.g. "'12a' nem érvényes szám.".
QString fieldInputErrorText(TFieldType type, const QString& text);

} // namespace vardelo
