#include "returns/merge_rules.h"

namespace vardelo::returns {

namespace {

const QString key12456 = QStringLiteral("12456=");
const QString key12458 = QStringLiteral("12458=");

// The kind of a value line: 1 for "12456=", 2 for "12458=", 0 for every other line (a bare "12456=" carries
// nothing and counts as no line).
int valueKind(const QString& line) {
    if (line.size() <= 6)
        return 0;
    if (line.startsWith(key12456))
        return 1;
    if (line.startsWith(key12458))
        return 2;
    return 0;
}

template <class Apply>
std::optional<ImportValues> readValues(const QStringList& lines, QString* badLine, Apply apply) {
    ImportValues values;
    for (const QString& line : lines) {
        const int kind = valueKind(line);
        if (kind == 0)
            continue;
        const std::optional<qint64> value = lineValue(line);
        if (!value) {
            if (badLine)
                *badLine = line;
            return std::nullopt;
        }
        apply(kind == 1 ? values.v12456 : values.v12458, *value);
    }
    return values;
}

} // namespace

QString mergeKey(const QString& fileName) {
    return fileName.size() <= 15 ? fileName : fileName.right(15);
}

std::optional<qint64> lineValue(const QString& line) {
    const qsizetype equals = line.indexOf(QLatin1Char('='));
    const QString text = line.mid(equals + 1).trimmed();
    if (text.isEmpty())
        return 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        const bool sign = i == 0 && (c == QLatin1Char('-') || c == QLatin1Char('+')) && text.size() > 1;
        if (!sign && (c < QLatin1Char('0') || c > QLatin1Char('9')))
            return std::nullopt;
    }
    bool ok = false;
    const qint64 value = text.toLongLong(&ok);
    if (!ok)
        return std::nullopt;
    return value;
}

std::optional<ImportValues> summedValues(const QStringList& lines, QString* badLine) {
    return readValues(lines, badLine, [](qint64& sum, qint64 value) { sum += value; });
}

std::optional<ImportValues> lastValues(const QStringList& lines, QString* badLine) {
    return readValues(lines, badLine, [](qint64& last, qint64 value) { last = value; });
}

QStringList mergedLines(const QStringList& aLines, const ImportValues& a, const ImportValues& b) {
    const qint64 sum = a.v12458 + b.v12458 + a.v12456 + b.v12456;
    QStringList lines;
    lines.reserve(aLines.size());
    for (const QString& line : aLines) {
        if (line.startsWith(key12458))
            lines << key12458 + QString::number(sum);
        else if (line.startsWith(key12456))
            lines << key12456;
        else
            lines << line;
    }
    return lines;
}

QString sumLineAllat(bool before, qint64 value) {
    return (before ? QStringLiteral("Összevonás előtt a 455. sor (állat): ")
                   : QStringLiteral("Összevonás után a 455. sor (állat): ")) +
           QString::number(value);
}

QString sumLineNoveny(bool before, qint64 value) {
    return (before ? QStringLiteral("Összevonás előtt a 455. sor (növény): ")
                   : QStringLiteral("Összevonás után a 455. sor (növény): ")) +
           QString::number(value);
}

QString grandTotalLine(qint64 total) {
    return QStringLiteral("Mindösszesen : ") + QString::number(total);
}

} // namespace vardelo::returns
