#pragma once

#include "data/decimal.h"

#include <QDate>
#include <QString>
#include <optional>

// Date and number texts as the program shows, parses and writes them.
namespace vardelo {

// "yyyy.MM.dd.", e.g. "2010.08.31."; an invalid date gives "".
QString dateText(const QDate& date);
// Accepts what a clerk types in that format: one- or two-digit month and day, the trailing point optional,
// blanks around ignored. Impossible dates (2010.02.30.) give nothing.
std::optional<QDate> parseDateText(const QString& text);

// Shortest general form with the decimal comma, up to 15 significant digits: 12.5 -> "12,5", 3.0 -> "3",
// -0.25 -> "-0,25".
QString shortestNumberText(double value);
// Fixed decimals with the decimal comma; groups thousands with a blank when grouped:
// (1234567.891, 2, true) -> "1 234 567,89".
QString fixedNumberText(double value, int decimals, bool grouped);
// A whole-forint total for the screen: rounded half to even, thousands grouped with a no-break space
// (U+00A0).
QString wholeForintText(double value);
// A whole-number amount for files: rounded half away from zero, no separators, "-" when negative.
QString wholeAmountText(double value);

// The same texts of an exact decimal, rounded exactly by the rule each names; the shortest form keeps every
// digit of the value ("405328,5"). An invalid value gives "NAN".
QString shortestNumberText(const Decimal& value);
QString fixedNumberText(const Decimal& value, int decimals, bool grouped);
QString wholeForintText(const Decimal& value);
QString wholeAmountText(const Decimal& value);
// Money in a grid: two decimals, thousands grouped with a no-break space as the screen's totals are:
// "349 699 696,40".
QString moneyText(const Decimal& value);

// Rounding to a whole number: half to the even neighbour (8330.5 -> 8330, 8331.5 -> 8332), and half away from
// zero (2.5 -> 3, -2.5 -> -3).
double roundHalfEven(double value);
double roundHalfAwayFromZero(double value);

// Reads a number typed with the decimal comma; a point is read as the decimal separator too. Blanks around
// are ignored. Empty or malformed text gives nothing.
std::optional<double> parseNumberText(const QString& text);
// The same, exactly, for amounts and per cents that are stored or computed.
std::optional<Decimal> parseDecimalText(const QString& text);
// Reads a whole number (optional sign, digits only, blanks around ignored) that fits 32 bits.
std::optional<int> parseIntegerText(const QString& text);

// The range and the decimals a numeric entry field takes.
struct NumberLimit {
    double min;
    double max;
    int decimals; // 0: whole numbers only
};
// The value of a typed number when it reads (as parseNumberText) and lies within the limit with no more
// decimals than it takes (trailing zeros after the comma do not count); nothing otherwise.
std::optional<double> boundedNumber(const QString& text, const NumberLimit& limit);
// Whether a text that is not blank fails to read as a number or lies outside the limit.
bool numberOutsideLimit(const QString& text, const NumberLimit& limit);
// The message for such a text, naming its field ("Az egységár "): "Az egységár 0 és 999 999 közötti szám
// lehet, legfeljebb 4 tizedesjeggyel!", with "nem szám („1,2,3”), " before the limit when it does not read as
// a number. Empty when the text is blank or within the limit.
QString numberFieldProblem(const QString& fieldName, const QString& text, const NumberLimit& limit);
// The limit as a message names it: "0 és 100 közötti egész szám lehet", "-999 999 és 999 999 közötti szám
// lehet, legfeljebb 3 tizedesjeggyel".
QString limitText(const NumberLimit& limit);

// Text without its trailing blanks, the emptiness test of every entry window.
QString trimRight(const QString& text);
bool isBlank(const QString& text);

} // namespace vardelo
