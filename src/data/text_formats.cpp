#include "data/text_formats.h"

#include <QRegularExpression>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <limits>

namespace vardelo {

namespace {

// A finite double as decimal digits: value = 0.d1d2d3... × 10^(exponent + 1), i.e. the first digit stands at
// the place 10^exponent. digits carries exactly `significant` digits.
struct DecimalDigits {
    bool negative = false;
    QString digits;
    int exponent = 0;
};

DecimalDigits toDigits(double value, int significant) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.*e", significant - 1, value);
    DecimalDigits result;
    const QString text = QString::fromLatin1(buffer);
    int pos = 0;
    if (text.at(0) == u'-') {
        result.negative = true;
        pos = 1;
    }
    const int e = int(text.indexOf(u'e'));
    for (int i = pos; i < e; ++i) {
        if (text.at(i).isDigit())
            result.digits.append(text.at(i));
    }
    result.exponent = text.mid(e + 1).toInt();
    return result;
}

QString groupThousands(const QString& digits, QChar separator) {
    QString result;
    const int n = int(digits.size());
    for (int i = 0; i < n; ++i) {
        if (i > 0 && (n - i) % 3 == 0)
            result.append(separator);
        result.append(digits.at(i));
    }
    return result;
}

// Whole number (already rounded) as digits, grouped or not, with "-" when negative and not zero.
QString wholeText(double rounded, QChar separator) {
    if (rounded == 0)
        return QStringLiteral("0");
    char buffer[400];
    std::snprintf(buffer, sizeof buffer, "%.0f", std::fabs(rounded));
    QString digits = QString::fromLatin1(buffer);
    if (!separator.isNull())
        digits = groupThousands(digits, separator);
    return rounded < 0 ? u'-' + digits : digits;
}

QString nonFiniteText(double value) {
    if (std::isnan(value))
        return QStringLiteral("NAN");
    return value < 0 ? QStringLiteral("-INF") : QStringLiteral("INF");
}

} // namespace

QString dateText(const QDate& date) {
    if (!date.isValid())
        return QString();
    return date.toString(QStringLiteral("yyyy.MM.dd."));
}

std::optional<QDate> parseDateText(const QString& text) {
    static const QRegularExpression pattern(QStringLiteral("^(\\d{4})\\.(\\d{1,2})\\.(\\d{1,2})\\.?$"));
    const QRegularExpressionMatch match = pattern.match(text.trimmed());
    if (!match.hasMatch())
        return std::nullopt;
    const QDate date(match.captured(1).toInt(), match.captured(2).toInt(), match.captured(3).toInt());
    if (!date.isValid())
        return std::nullopt;
    return date;
}

QString shortestNumberText(double value) {
    if (!std::isfinite(value))
        return nonFiniteText(value);
    if (value == 0)
        return QStringLiteral("0");
    DecimalDigits d = toDigits(value, 15);
    while (d.digits.size() > 1 && d.digits.endsWith(u'0'))
        d.digits.chop(1);
    const QString sign = d.negative ? QStringLiteral("-") : QString();
    const int count = int(d.digits.size());

    // Scientific form only for magnitudes with more than 15 whole digits or below 0,00001.
    if (d.exponent >= 15 || d.exponent < -5) {
        QString mantissa = d.digits.left(1);
        if (count > 1)
            mantissa += u',' + d.digits.mid(1);
        return sign + mantissa + u'E' + QString::number(d.exponent);
    }
    if (d.exponent < 0)
        return sign + QStringLiteral("0,") + QString(-d.exponent - 1, u'0') + d.digits;
    const int whole = d.exponent + 1;
    if (count <= whole)
        return sign + d.digits + QString(whole - count, u'0');
    return sign + d.digits.left(whole) + u',' + d.digits.mid(whole);
}

QString fixedNumberText(double value, int decimals, bool grouped) {
    if (!std::isfinite(value))
        return nonFiniteText(value);
    decimals = qBound(0, decimals, 18);
    // The value is taken at 15 significant digits, as it is shown elsewhere, and rounded half away from zero
    // from there: 2.675 gives "2,68" although its binary value lies a little below.
    DecimalDigits d = toDigits(value, 15);
    // Digits of the integer part and of the fraction, unrounded, with the fraction one digit longer than
    // needed.
    QString whole;
    QString fraction;
    if (d.exponent >= 0) {
        const int wholeCount = d.exponent + 1;
        whole = d.digits.left(wholeCount).leftJustified(wholeCount, u'0');
        fraction = d.digits.mid(wholeCount);
    } else {
        whole = QStringLiteral("0");
        fraction = QString(-d.exponent - 1, u'0') + d.digits;
    }
    fraction = fraction.leftJustified(decimals + 1, u'0');
    const bool roundUp = fraction.at(decimals) >= u'5';
    QString kept = whole + fraction.left(decimals);
    if (roundUp) {
        int i = int(kept.size()) - 1;
        while (i >= 0 && kept.at(i) == u'9') {
            kept[i] = u'0';
            --i;
        }
        if (i < 0)
            kept.prepend(u'1');
        else
            kept[i] = QChar(kept.at(i).unicode() + 1);
    }
    QString wholeDigits = kept.left(kept.size() - decimals);
    const QString fractionDigits = kept.right(decimals);
    while (wholeDigits.size() > 1 && wholeDigits.startsWith(u'0'))
        wholeDigits.remove(0, 1);
    const bool zero =
        std::none_of(kept.cbegin(), kept.cend(), [](QChar c) { return c >= u'1' && c <= u'9'; });

    QString result = grouped ? groupThousands(wholeDigits, u' ') : wholeDigits;
    if (decimals > 0)
        result += u',' + fractionDigits;
    return d.negative && !zero ? u'-' + result : result;
}

QString wholeForintText(double value) {
    if (!std::isfinite(value))
        return nonFiniteText(value);
    return wholeText(roundHalfEven(value), QChar(0x00A0));
}

QString wholeAmountText(double value) {
    if (!std::isfinite(value))
        return nonFiniteText(value);
    return wholeText(roundHalfAwayFromZero(value), QChar());
}

namespace {

// Fixed places, rounded half away from zero, thousands grouped with the separator given (none when null).
QString fixedDecimalText(const Decimal& value, int decimals, QChar separator, Rounding rule) {
    const Decimal r = value.rounded(qBound(0, decimals, Decimal::MaxScale), rule);
    if (!r.isValid())
        return QStringLiteral("NAN");
    QString digits = r.plainText(u',');
    const bool negative = digits.startsWith(u'-');
    if (negative)
        digits.remove(0, 1);
    const qsizetype comma = digits.indexOf(u',');
    QString whole = comma < 0 ? digits : digits.left(comma);
    if (!separator.isNull())
        whole = groupThousands(whole, separator);
    return (negative ? QStringLiteral("-") : QString()) + whole + (comma < 0 ? QString() : digits.mid(comma));
}

} // namespace

QString shortestNumberText(const Decimal& value) {
    return value.isValid() ? value.normalized().plainText(u',') : QStringLiteral("NAN");
}

QString fixedNumberText(const Decimal& value, int decimals, bool grouped) {
    return fixedDecimalText(value, decimals, grouped ? QChar(u' ') : QChar(), Rounding::HalfAwayFromZero);
}

QString wholeForintText(const Decimal& value) {
    return fixedDecimalText(value, 0, QChar(0x00A0), Rounding::HalfEven);
}

QString wholeAmountText(const Decimal& value) {
    return fixedDecimalText(value, 0, QChar(), Rounding::HalfAwayFromZero);
}

QString moneyText(const Decimal& value) {
    return fixedDecimalText(value, 2, QChar(0x00A0), Rounding::HalfAwayFromZero);
}

std::optional<Decimal> parseDecimalText(const QString& text) {
    return Decimal::parse(text);
}

double roundHalfEven(double value) {
    if (!std::isfinite(value))
        return value;
    // Both the fraction and the halving are exact in binary, so only a value that is exactly a half goes to
    // the even neighbour.
    if (std::fabs(value - std::trunc(value)) == 0.5)
        return 2.0 * std::round(value / 2.0);
    return std::round(value);
}

double roundHalfAwayFromZero(double value) {
    return std::round(value);
}

std::optional<double> parseNumberText(const QString& text) {
    static const QRegularExpression pattern(QStringLiteral("^[+-]?(\\d+[.,]?\\d*|[.,]\\d+)$"));
    const QString trimmed = text.trimmed();
    if (!pattern.match(trimmed).hasMatch())
        return std::nullopt;
    QString normal = trimmed;
    normal.replace(u',', u'.');
    bool ok = false;
    const double value = normal.toDouble(&ok);
    if (!ok || !std::isfinite(value))
        return std::nullopt;
    return value;
}

std::optional<double> boundedNumber(const QString& text, const NumberLimit& limit) {
    const std::optional<double> value = parseNumberText(text);
    if (!value || *value < limit.min || *value > limit.max)
        return std::nullopt;
    QString trimmed = text.trimmed();
    const qsizetype separator = std::max(trimmed.indexOf(u','), trimmed.indexOf(u'.'));
    if (separator >= 0) {
        QString fraction = trimmed.mid(separator + 1);
        while (fraction.endsWith(u'0'))
            fraction.chop(1);
        if (fraction.size() > limit.decimals)
            return std::nullopt;
    }
    return value;
}

bool numberOutsideLimit(const QString& text, const NumberLimit& limit) {
    return !isBlank(text) && !boundedNumber(text, limit);
}

QString numberFieldProblem(const QString& fieldName, const QString& text, const NumberLimit& limit) {
    if (!numberOutsideLimit(text, limit))
        return QString();
    const QString unreadable =
        parseNumberText(text) ? QString() : QStringLiteral("nem szám („%1”), ").arg(text.trimmed());
    return fieldName + unreadable + limitText(limit) + u'!';
}

QString limitText(const NumberLimit& limit) {
    auto bound = [](double v) { return fixedNumberText(v, 0, true); };
    const QString range = bound(limit.min) + QStringLiteral(" és ") + bound(limit.max);
    if (limit.decimals == 0)
        return range + QStringLiteral(" közötti egész szám lehet");
    return range + QStringLiteral(" közötti szám lehet, legfeljebb %1 tizedesjeggyel").arg(limit.decimals);
}

std::optional<int> parseIntegerText(const QString& text) {
    static const QRegularExpression pattern(QStringLiteral("^[+-]?\\d+$"));
    const QString trimmed = text.trimmed();
    if (!pattern.match(trimmed).hasMatch())
        return std::nullopt;
    // Leading zeros are allowed; beyond 19 significant digits the number cannot fit anyway.
    QString digits = trimmed;
    bool negative = false;
    if (digits.startsWith(u'-') || digits.startsWith(u'+')) {
        negative = digits.startsWith(u'-');
        digits.remove(0, 1);
    }
    while (digits.size() > 1 && digits.startsWith(u'0'))
        digits.remove(0, 1);
    if (digits.size() > 11)
        return std::nullopt;
    qint64 value = digits.toLongLong();
    if (negative)
        value = -value;
    if (value < std::numeric_limits<int>::min() || value > std::numeric_limits<int>::max())
        return std::nullopt;
    return int(value);
}

QString trimRight(const QString& text) {
    qsizetype end = text.size();
    while (end > 0 && text.at(end - 1) <= u' ')
        --end;
    return text.left(end);
}

bool isBlank(const QString& text) {
    return trimRight(text).isEmpty();
}

} // namespace vardelo
