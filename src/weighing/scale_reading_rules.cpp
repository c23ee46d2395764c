#include "weighing/scale_reading_rules.h"

#include <QList>
#include <QRegularExpression>
#include <QStringList>
#include <array>

namespace vardelo::weighing {

namespace {

constexpr int Stx = 0x02;
constexpr int Cr = 0x0D;
constexpr qsizetype ToledoFrameLength = 17; // STX, three status bytes, 6 + 6 digits, CR

// A number as sent ("+0001234.50", "-0.0"), in its shortest form: "1234.5", "0".
QString shortestWeight(const QString& sign, QString digits) {
    if (digits.startsWith(QLatin1Char('.')))
        digits.prepend(QLatin1Char('0'));
    if (digits.contains(QLatin1Char('.'))) {
        while (digits.endsWith(QLatin1Char('0')))
            digits.chop(1);
        if (digits.endsWith(QLatin1Char('.')))
            digits.chop(1);
    }
    qsizetype leading = 0;
    while (leading + 1 < digits.size() && digits[leading] == QLatin1Char('0') &&
           digits[leading + 1] != QLatin1Char('.'))
        ++leading;
    digits.remove(0, leading);
    if (sign == QLatin1String("-") && digits != QLatin1String("0"))
        digits.prepend(QLatin1Char('-'));
    return digits;
}

struct Weight {
    QString weight;
    QString unit;
};

// "+0001234.5kg", "  -12 KG", "1234,5" (the comma only where it is allowed): the weight and its unit.
std::optional<Weight> parseWeight(QByteArrayView text, bool commaToo) {
    static const QRegularExpression pointOnly(
        QStringLiteral(R"(^\s*([+-]?)\s*(\d+(?:\.\d*)?|\.\d+)\s*([A-Za-z]*)\s*$)"));
    static const QRegularExpression pointOrComma(
        QStringLiteral(R"(^\s*([+-]?)\s*(\d+(?:[.,]\d*)?|[.,]\d+)\s*([A-Za-z]*)\s*$)"));
    const auto match = (commaToo ? pointOrComma : pointOnly).match(QString::fromLatin1(text));
    if (!match.hasMatch())
        return std::nullopt;
    QString digits = match.captured(2);
    digits.replace(QLatin1Char(','), QLatin1Char('.'));
    const QString unit = match.captured(3).toLower();
    static const QStringList units{QStringLiteral("kg"), QStringLiteral("g"),   QStringLiteral("t"),
                                   QStringLiteral("lb"), QStringLiteral("lbs"), QStringLiteral("oz")};
    if (!unit.isEmpty() && !units.contains(unit))
        return std::nullopt;
    return Weight{shortestWeight(match.captured(1), digits), unit.isEmpty() ? QStringLiteral("kg") : unit};
}

int low7(QByteArrayView bytes, qsizetype i) {
    return static_cast<unsigned char>(bytes[i]) & 0x7F;
}

} // namespace

std::optional<ScaleReading> parseCommaLine(QByteArrayView line) {
    // Two fields or three: a decimal comma in the weight would make more, and must not read as another
    // weight.
    const QList<QByteArray> fields = line.toByteArray().split(',');
    if (fields.size() < 2 || fields.size() > 3)
        return std::nullopt;
    ScaleReading reading;
    const QByteArray status = fields.first().trimmed().toUpper();
    if (status == "ST")
        reading.state = ScaleState::Stable;
    else if (status == "US")
        reading.state = ScaleState::Unstable;
    else if (status == "OL")
        reading.state = ScaleState::Overload;
    else if (status == "UL")
        reading.state = ScaleState::Underload;
    else
        return std::nullopt;
    if (fields.size() == 3) {
        const QByteArray mode = fields[1].trimmed().toUpper();
        if (mode == "GS" || mode == "GW")
            reading.mode = ScaleMode::Gross;
        else if (mode == "NT" || mode == "NW")
            reading.mode = ScaleMode::Net;
        else
            reading.mode = ScaleMode::Other;
    }
    const auto weight = parseWeight(fields.last(), false);
    if (weight) {
        reading.weight = weight->weight;
        reading.unit = weight->unit;
    } else if (reading.state != ScaleState::Overload && reading.state != ScaleState::Underload) {
        // An indicator out of its range may send dashes instead of a weight; otherwise the line is spoilt.
        return std::nullopt;
    }
    return reading;
}

char toledoChecksum(QByteArrayView bytes) {
    int sum = 0;
    for (qsizetype i = 0; i < bytes.size(); ++i)
        sum += low7(bytes, i);
    return char(-sum & 0x7F);
}

std::optional<ScaleReading> parseToledoFrame(QByteArrayView frame) {
    if (frame.size() != ToledoFrameLength && frame.size() != ToledoFrameLength + 1)
        return std::nullopt;
    if (low7(frame, 0) != Stx || low7(frame, ToledoFrameLength - 1) != Cr)
        return std::nullopt;
    if (frame.size() == ToledoFrameLength + 1 &&
        toledoChecksum(frame.first(ToledoFrameLength)) != char(low7(frame, ToledoFrameLength)))
        return std::nullopt;
    const int a = low7(frame, 1);
    const int b = low7(frame, 2);
    const int c = low7(frame, 3);
    QString digits;
    for (qsizetype i = 4; i < 10; ++i) {
        const int ch = low7(frame, i);
        if (ch == ' ')
            digits += QLatin1Char('0'); // leading zeros may be sent blank
        else if (ch >= '0' && ch <= '9')
            digits += QLatin1Char(char(ch));
        else
            return std::nullopt;
    }
    for (qsizetype i = 10; i < 16; ++i) {
        const int ch = low7(frame, i);
        if (ch != ' ' && (ch < '0' || ch > '9'))
            return std::nullopt;
    }
    // Status byte A, bits 0-2: 0 and 1 stand for one and two dummy zeros after the digits, 2 for none, 3 to 7
    // for one to five decimals.
    const int point = a & 0x07;
    if (point == 0)
        digits += QStringLiteral("00");
    else if (point == 1)
        digits += QLatin1Char('0');
    else if (point > 2)
        digits.insert(digits.size() - (point - 2), QLatin1Char('.'));

    ScaleReading reading;
    const bool negative = b & 0x02;
    reading.weight = shortestWeight(negative ? QStringLiteral("-") : QString(), digits);
    reading.mode = (b & 0x01) ? ScaleMode::Net : ScaleMode::Gross;
    static const std::array<const char*, 8> units{"", "g", "t", "oz", "ozt", "dwt", "ton", "?"};
    if (c & 0x07)
        reading.unit = QString::fromLatin1(units[std::size_t(c & 0x07)]);
    else
        reading.unit = (b & 0x10) ? QStringLiteral("kg") : QStringLiteral("lb");
    if (b & 0x04)
        reading.state = negative ? ScaleState::Underload : ScaleState::Overload;
    else if (b & 0x40)
        reading.state = ScaleState::NotZeroed;
    else if (b & 0x08)
        reading.state = ScaleState::Unstable;
    return reading;
}

std::optional<ScaleReading> parsePlainLine(QByteArrayView line) {
    const auto weight = parseWeight(line, true);
    if (!weight)
        return std::nullopt;
    ScaleReading reading;
    reading.weight = weight->weight;
    reading.unit = weight->unit;
    return reading;
}

std::optional<ScaleReading> parseScaleFrame(ScaleFormat format, QByteArrayView frame) {
    switch (format) {
    case ScaleFormat::Comma:
        return parseCommaLine(frame);
    case ScaleFormat::Toledo:
        return parseToledoFrame(frame);
    case ScaleFormat::Plain:
        return parsePlainLine(frame);
    }
    return std::nullopt;
}

namespace {

struct Refusal {
    QString message; // for the message box
    QString brief;   // beside the weight in the live label; empty when the weight says it
};

std::optional<Refusal> refusalOf(const ScaleReading& reading) {
    switch (reading.state) {
    case ScaleState::Overload:
        return Refusal{QStringLiteral("A mérleg túlterhelt"), QStringLiteral("túlterhelt")};
    case ScaleState::Underload:
        return Refusal{QStringLiteral("A mérleg negatív súlyt mutat"), QStringLiteral("méréshatár alatt")};
    case ScaleState::NotZeroed:
        return Refusal{QStringLiteral("A mérleg bekapcsolás után nincs nullázva"),
                       QStringLiteral("nincs nullázva")};
    case ScaleState::Unstable:
        return Refusal{QStringLiteral("A mérleg nem nyugodt"), QStringLiteral("nem nyugodt")};
    case ScaleState::Stable:
        break;
    }
    if (reading.mode == ScaleMode::Net)
        return Refusal{QStringLiteral("A mérleg nettó súlyt mutat"), QStringLiteral("nettó")};
    if (reading.mode == ScaleMode::Other)
        return Refusal{QStringLiteral("A mérleg nem bruttó súlyt mutat"), QStringLiteral("nem bruttó")};
    if (reading.unit != QLatin1String("kg"))
        return Refusal{QStringLiteral("A mérleg nem kilogrammot mutat (%1)").arg(reading.unit), QString()};
    if (reading.weight.startsWith(QLatin1Char('-')))
        return Refusal{QStringLiteral("A mérleg negatív súlyt mutat"), QString()};
    if (reading.weight == QLatin1String("0"))
        return Refusal{QStringLiteral("A mérleg nulla súlyt mutat"), QString()};
    return std::nullopt;
}

} // namespace

QString readingRefusal(const ScaleReading& reading) {
    const auto refusal = refusalOf(reading);
    return refusal ? refusal->message : QString();
}

QString weightFieldText(const ScaleReading& reading) {
    QString text = reading.weight;
    return text.replace(QLatin1Char('.'), QLatin1Char(','));
}

QString readingLabel(const ScaleReading& reading) {
    const auto refusal = refusalOf(reading);
    const QString brief = refusal ? refusal->brief : QString();
    if (reading.weight.isEmpty())
        return brief;
    const QString weight = weightFieldText(reading) + QLatin1Char(' ') + reading.unit;
    return brief.isEmpty() ? weight : weight + QStringLiteral(", ") + brief;
}

} // namespace vardelo::weighing
