#include "data/decimal.h"

#include <QRegularExpression>
#include <QVariant>
#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>

namespace vardelo {

namespace {

__extension__ using UInt128 = unsigned __int128;

constexpr int MaxPowerOfTen = 38;
constexpr Int128 LargestInt128 = Int128((UInt128(1) << 127) - 1);
constexpr Int128 SmallestInt128 = -LargestInt128 - 1;

UInt128 magnitude(Int128 value) {
    return value < 0 ? UInt128(0) - UInt128(value) : UInt128(value);
}

// The decimal digits of a magnitude, most significant first ("0" for zero).
QString digitsOf(UInt128 value) {
    char buffer[48];
    int pos = int(sizeof buffer);
    do {
        buffer[--pos] = char('0' + int(value % 10));
        value /= 10;
    } while (value != 0);
    return QString::fromLatin1(buffer + pos, int(sizeof buffer) - pos);
}

// units × 10^places, or nothing when it leaves 128 bits.
std::optional<Int128> scaledUp(Int128 units, int places) {
    if (units == 0)
        return Int128(0);
    if (places < 0 || places > MaxPowerOfTen)
        return std::nullopt;
    Int128 result = 0;
    if (__builtin_mul_overflow(units, powerOfTen(places), &result))
        return std::nullopt;
    return result;
}

// units / 10^places rounded by the rule (places ≥ 1).
Int128 dividedRounded(Int128 units, int places, Rounding rule) {
    if (places > MaxPowerOfTen)
        return 0; // every 128-bit value lies below half of 10^39
    const Int128 divisor = powerOfTen(places);
    Int128 quotient = units / divisor;
    const UInt128 twiceRest = magnitude(units % divisor) * 2;
    const UInt128 whole = UInt128(divisor);
    const bool away = twiceRest > whole ||
                      (twiceRest == whole && (rule == Rounding::HalfAwayFromZero || quotient % 2 != 0));
    if (away)
        quotient += units < 0 ? -1 : 1;
    return quotient;
}

// Both values at the larger of their scales; nothing when one of them does not fit there.
struct Aligned {
    Int128 a;
    Int128 b;
    int scale;
};
std::optional<Aligned> align(const Decimal& a, const Decimal& b) {
    const int scale = std::max(a.scale(), b.scale());
    const auto ua = scaledUp(a.units(), scale - a.scale());
    const auto ub = scaledUp(b.units(), scale - b.scale());
    if (!ua || !ub)
        return std::nullopt;
    return Aligned{*ua, *ub, scale};
}

// Code that knows only QVariant's own conversions (toDouble, toString) reads a Decimal as well.
const bool convertersRegistered = [] {
    QMetaType::registerConverter<Decimal, double>(&Decimal::toDouble);
    QMetaType::registerConverter<Decimal, QString>(
        [](const Decimal& d) { return d.normalized().plainText(QLatin1Char('.')); });
    return true;
}();

} // namespace

Int128 powerOfTen(int exponent) {
    static const std::array<Int128, MaxPowerOfTen + 1> table = [] {
        std::array<Int128, MaxPowerOfTen + 1> powers{};
        powers[0] = 1;
        for (size_t i = 1; i < powers.size(); ++i)
            powers[i] = powers[i - 1] * 10;
        return powers;
    }();
    return table[size_t(std::clamp(exponent, 0, MaxPowerOfTen))];
}

Decimal Decimal::fromUnits(Int128 units, int scale) {
    Decimal d;
    if (scale < 0 || scale > MaxScale)
        return invalid();
    d.units_ = units;
    d.scale_ = scale;
    return d;
}

Decimal Decimal::invalid() {
    Decimal d;
    d.scale_ = -1;
    return d;
}

Decimal Decimal::fromDouble(double value) {
    (void)convertersRegistered;
    if (!std::isfinite(value))
        return invalid();
    if (value == 0)
        return Decimal();
    // 15 significant digits: d.dddddddddddddde±x.
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.14e", value);
    const QString text = QString::fromLatin1(buffer);
    const qsizetype e = text.indexOf(u'e');
    QString mantissa = text.left(e);
    mantissa.remove(u'.');
    const bool negative = mantissa.startsWith(u'-');
    if (negative)
        mantissa.remove(0, 1);
    Int128 units = 0;
    for (const QChar c : mantissa)
        units = units * 10 + (c.unicode() - u'0');
    if (negative)
        units = -units;
    const int scale = 14 - text.mid(e + 1).toInt();
    if (scale < 0) {
        const auto up = scaledUp(units, -scale);
        return up ? fromUnits(*up, 0) : invalid();
    }
    if (scale > MaxScale)
        return fromUnits(dividedRounded(units, scale - MaxScale, Rounding::HalfEven), MaxScale).normalized();
    return fromUnits(units, scale).normalized();
}

std::optional<Decimal> Decimal::parse(const QString& text) {
    static const QRegularExpression pattern(QStringLiteral("^([+-]?)(\\d*)(?:[.,](\\d*))?$"));
    const QRegularExpressionMatch m = pattern.match(text.trimmed());
    if (!m.hasMatch())
        return std::nullopt;
    const QString whole = m.captured(2);
    const QString fraction = m.captured(3);
    if (whole.isEmpty() && fraction.isEmpty())
        return std::nullopt;
    QString digits = whole + fraction;
    while (digits.size() > 1 && digits.startsWith(u'0'))
        digits.remove(0, 1);
    if (digits.size() > MaxPowerOfTen || fraction.size() > MaxScale)
        return std::nullopt;
    Int128 units = 0;
    for (const QChar c : digits)
        units = units * 10 + (c.unicode() - u'0');
    if (m.captured(1) == u"-")
        units = -units;
    return fromUnits(units, int(fraction.size()));
}

Decimal Decimal::normalized() const {
    if (!isValid())
        return *this;
    Decimal d = *this;
    while (d.scale_ > 0 && d.units_ % 10 == 0) {
        d.units_ /= 10;
        --d.scale_;
    }
    return d;
}

Decimal Decimal::rounded(int places, Rounding rule) const {
    if (!isValid() || places < 0 || places > MaxScale)
        return invalid();
    if (places >= scale_) {
        const auto up = scaledUp(units_, places - scale_);
        return up ? fromUnits(*up, places) : invalid();
    }
    return fromUnits(dividedRounded(units_, scale_ - places, rule), places);
}

std::optional<qint64> Decimal::toWhole(Rounding rule) const {
    const Decimal whole = rounded(0, rule);
    if (!whole.isValid() || whole.units_ < std::numeric_limits<qint64>::min() ||
        whole.units_ > std::numeric_limits<qint64>::max())
        return std::nullopt;
    return qint64(whole.units_);
}

std::optional<qint64> Decimal::unitsAt(int scale) const {
    if (!isValid() || scale < 0 || scale > MaxScale)
        return std::nullopt;
    const Decimal d = normalized();
    if (d.scale_ > scale)
        return std::nullopt;
    const auto up = scaledUp(d.units_, scale - d.scale_);
    if (!up || *up < std::numeric_limits<qint64>::min() || *up > std::numeric_limits<qint64>::max())
        return std::nullopt;
    return qint64(*up);
}

Decimal Decimal::shiftedRight(int places) const {
    if (!isValid() || places < 0)
        return invalid();
    Decimal d = *this;
    if (d.scale_ + places > MaxScale)
        d = d.normalized();
    return fromUnits(d.units_, d.scale_ + places);
}

double Decimal::toDouble() const {
    if (!isValid())
        return std::nan("");
    // Units below 2^53 and powers of ten up to 10^22 are exact doubles, and one division of exact values is
    // rounded correctly, as strtod rounds the exact digits: the same double, without the text (a spreadsheet
    // export converts millions of amounts).
    static constexpr double PowersOfTen[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                             1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                             1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
    constexpr Int128 ExactUnits = Int128(1) << 53;
    if (units_ <= ExactUnits && units_ >= -ExactUnits && scale_ <= 22)
        return double(units_) / PowersOfTen[scale_];
    return std::strtod(plainText(QLatin1Char('.')).toLatin1().constData(), nullptr);
}

QString Decimal::plainText(QChar separator) const {
    if (!isValid())
        return QString();
    QString digits = digitsOf(magnitude(units_));
    if (scale_ > 0) {
        if (digits.size() <= scale_)
            digits = QString(scale_ + 1 - digits.size(), u'0') + digits;
        digits.insert(digits.size() - scale_, separator);
    }
    return units_ < 0 ? u'-' + digits : digits;
}

Decimal Decimal::operator-() const {
    if (!isValid() || units_ == SmallestInt128)
        return invalid();
    return fromUnits(-units_, scale_);
}

Decimal operator+(const Decimal& a, const Decimal& b) {
    if (!a.isValid() || !b.isValid())
        return Decimal::invalid();
    const auto aligned = align(a, b);
    Int128 sum = 0;
    if (!aligned || __builtin_add_overflow(aligned->a, aligned->b, &sum))
        return Decimal::invalid();
    return Decimal::fromUnits(sum, aligned->scale);
}

Decimal operator-(const Decimal& a, const Decimal& b) {
    return a + (-b);
}

Decimal operator*(const Decimal& a, const Decimal& b) {
    if (!a.isValid() || !b.isValid())
        return Decimal::invalid();
    Decimal x = a;
    Decimal y = b;
    if (x.scale() + y.scale() > Decimal::MaxScale) {
        x = x.normalized();
        y = y.normalized();
    }
    Int128 product = 0;
    if (x.scale() + y.scale() > Decimal::MaxScale || __builtin_mul_overflow(x.units(), y.units(), &product))
        return Decimal::invalid();
    return Decimal::fromUnits(product, x.scale() + y.scale());
}

bool operator==(const Decimal& a, const Decimal& b) {
    if (!a.isValid() || !b.isValid())
        return a.isValid() == b.isValid();
    return (a <=> b) == std::partial_ordering::equivalent;
}

std::partial_ordering operator<=>(const Decimal& a, const Decimal& b) {
    if (!a.isValid() || !b.isValid())
        return std::partial_ordering::unordered;
    if (const auto aligned = align(a, b))
        return aligned->a <=> aligned->b;
    // One of them does not fit at the finer scale: its magnitude is the larger, so its sign decides.
    const bool aTooLarge = !scaledUp(a.units(), std::max(a.scale(), b.scale()) - a.scale());
    const int sign = aTooLarge ? a.signum() : -b.signum();
    return sign < 0 ? std::partial_ordering::less : std::partial_ordering::greater;
}

} // namespace vardelo
