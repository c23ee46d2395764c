#pragma once

#include <QMetaType>
#include <QString>
#include <QtGlobal>
#include <compare>
#include <optional>

// Exact decimal numbers for money: amounts come from the database as scaled integers (fillér, or
// ten-thousandths of a per cent), are added, subtracted and multiplied without loss, and are rounded once,
// where a rule says, by that rule. Nothing here goes through double.
namespace vardelo {

__extension__ using Int128 = __int128;

// How a value is rounded to fewer places: a half goes to the even neighbour (8330,5 -> 8330, 8331,5 -> 8332),
// or away from zero (2,5 -> 3, -2,5 -> -3). Anything else goes to the nearer neighbour.
enum class Rounding { HalfEven, HalfAwayFromZero };

// A decimal number: units × 10^-scale, the units a 128-bit integer. Sums, differences and products are exact;
// a result beyond 128 bits, or beyond MaxScale places, is invalid, and arithmetic on an invalid value stays
// invalid, so a chain of operations is checked once, at its end.
class Decimal {
public:
    static constexpr int MaxScale = 36;

    constexpr Decimal() = default;
    constexpr explicit Decimal(qint64 whole) : units_(whole) {}

    // units × 10^-scale: fromUnits(12345, 2) is 123,45. A scale outside 0..MaxScale gives an invalid value.
    static Decimal fromUnits(Int128 units, int scale);
    static Decimal invalid();
    // The decimal a double stands for: its shortest form of up to 15 significant digits, as the screens show
    // a double (0.1 + 0.2 gives 0,3). Invalid for NaN and infinities.
    static Decimal fromDouble(double value);
    // A typed or stored number: optional sign, digits with at most one decimal separator ("," or "."), blanks
    // around ignored; "12,5", "-0.25", ",5", "7.". Nothing for anything else, and for more than 36 digits.
    static std::optional<Decimal> parse(const QString& text);

    bool isValid() const { return scale_ >= 0; }
    int scale() const { return scale_; }
    Int128 units() const { return units_; }
    // -1, 0 or 1 (0 for an invalid value).
    int signum() const { return units_ < 0 ? -1 : units_ > 0 ? 1 : 0; }
    bool isZero() const { return isValid() && units_ == 0; }

    // The same value without trailing zeros in its fraction (12,50 -> 12,5).
    Decimal normalized() const;
    // The value at `places` decimals (0..MaxScale): padded exactly when it has fewer, rounded by the rule
    // when it has more.
    Decimal rounded(int places, Rounding rule) const;
    // The whole number the rule rounds to; nothing when invalid or beyond 64 bits.
    std::optional<qint64> toWhole(Rounding rule) const;
    // The units at `scale` places, when the value has no more places than that and they fit 64 bits.
    std::optional<qint64> unitsAt(int scale) const;
    // The value divided by 10^places, exactly: a per cent of x is (p × x).shiftedRight(2).
    Decimal shiftedRight(int places) const;
    // The nearest double, for painting, spreadsheets and other code that computes in doubles.
    double toDouble() const;

    // The digits with a decimal separator when the scale has places, "-" when negative, no grouping:
    // "-1234,50". Empty for an invalid value.
    QString plainText(QChar separator = QLatin1Char(',')) const;

    Decimal operator-() const;
    friend Decimal operator+(const Decimal& a, const Decimal& b);
    friend Decimal operator-(const Decimal& a, const Decimal& b);
    friend Decimal operator*(const Decimal& a, const Decimal& b);
    Decimal& operator+=(const Decimal& other) { return *this = *this + other; }
    Decimal& operator-=(const Decimal& other) { return *this = *this - other; }

    // By value: 1,50 equals 1,5. An invalid value equals only another invalid one and is unordered.
    friend bool operator==(const Decimal& a, const Decimal& b);
    friend std::partial_ordering operator<=>(const Decimal& a, const Decimal& b);

private:
    Int128 units_ = 0;
    int scale_ = 0; // -1: invalid
};

// 10^exponent for 0..38; the largest power of ten a signed 128-bit integer holds is 10^38.
Int128 powerOfTen(int exponent);

} // namespace vardelo

Q_DECLARE_METATYPE(vardelo::Decimal)
