#include "returns/merge_rules.h"

#include "data/text_files.h"

#include <QtNumeric>
#include <algorithm>
#include <limits>

namespace vardelo::returns {

namespace {

const QString key12456 = QStringLiteral("12456=");
const QString key12458 = QStringLiteral("12458=");
const QString firstLine = QStringLiteral("$ny_azon=1008M");

// A folder's sums stay below a quarter of the 64-bit range, so their grand total never overflows.
constexpr qint64 maxFolderSum = std::numeric_limits<qint64>::max() / 4;

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
std::optional<ImportValues> readValues(const QStringList& lines, ValueFault* fault, Apply apply) {
    ImportValues values;
    for (const QString& line : lines) {
        const int kind = valueKind(line);
        if (kind == 0)
            continue;
        const std::optional<qint64> value = lineValue(line);
        const bool tooLong = value && (*value > MaxImportAmount || *value < -MaxImportAmount);
        if (!value || tooLong || !apply(kind == 1 ? values.v12456 : values.v12458, *value)) {
            if (fault)
                *fault = {line, value.has_value()};
            return std::nullopt;
        }
    }
    return values;
}

// A character that text of the code page does not hold: a control character other than tab and the line
// ends, or the replacement of a byte the code page leaves undefined.
bool notText(QChar c) {
    if (c == u'\t' || c == u'\r' || c == u'\n')
        return false;
    return c.category() == QChar::Other_Control || c == QChar::ReplacementCharacter;
}

bool addChecked(qint64 a, qint64 b, qint64 limit, qint64& sum) {
    qint64 result = 0;
    if (qAddOverflow(a, b, &result) || result > limit || result < -limit)
        return false;
    sum = result;
    return true;
}

} // namespace

std::optional<qint64> addAmounts(qint64 a, qint64 b) {
    qint64 sum = 0;
    if (!addChecked(a, b, MaxImportAmount, sum))
        return std::nullopt;
    return sum;
}

QString mergeKey(const QString& fileName) {
    return fileName.size() <= 15 ? fileName : fileName.right(15);
}

std::optional<QStringList> importFileLines(const QByteArray& bytes, QString* problem) {
    const QString text = decodeWin1250(bytes);
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (notText(text.at(i))) {
            *problem = QStringLiteral("nem Windows-1250 kódolású szöveg (például UTF-16)");
            return std::nullopt;
        }
        if (text.at(i) == u'\r' && (i + 1 == text.size() || text.at(i + 1) != u'\n')) {
            *problem = QStringLiteral("a sorvégei nem CR LF vagy LF jelek");
            return std::nullopt;
        }
    }
    QStringList lines = splitTextLines(text);
    if (lines.isEmpty() || lines.first() != firstLine) {
        *problem = QStringLiteral("az első sora nem „%1”").arg(firstLine);
        return std::nullopt;
    }
    if (std::none_of(lines.cbegin(), lines.cend(), [](const QString& l) { return l.startsWith(key12458); })) {
        *problem = QStringLiteral("nincs „%1” sora").arg(key12458);
        return std::nullopt;
    }
    return lines;
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

std::optional<ImportValues> summedValues(const QStringList& lines, ValueFault* fault) {
    return readValues(lines, fault, [](qint64& sum, qint64 value) {
        const std::optional<qint64> added = addAmounts(sum, value);
        sum = added.value_or(sum);
        return added.has_value();
    });
}

std::optional<ImportValues> lastValues(const QStringList& lines, ValueFault* fault) {
    return readValues(lines, fault, [](qint64& last, qint64 value) {
        last = value;
        return true;
    });
}

std::optional<qint64> mergedAmount(const ImportValues& a, const ImportValues& b) {
    std::optional<qint64> sum = addAmounts(a.v12458, b.v12458);
    if (sum)
        sum = addAmounts(*sum, a.v12456);
    if (sum)
        sum = addAmounts(*sum, b.v12456);
    return sum;
}

QStringList mergedLines(const QStringList& aLines, qint64 amount) {
    QStringList lines;
    lines.reserve(aLines.size());
    for (const QString& line : aLines) {
        if (line.startsWith(key12458))
            lines << key12458 + QString::number(amount);
        else if (line.startsWith(key12456))
            lines << key12456;
        else
            lines << line;
    }
    return lines;
}

bool addToSums(ImportValues& sums, const ImportValues& file) {
    ImportValues result;
    if (!addChecked(sums.v12456, file.v12456, maxFolderSum, result.v12456) ||
        !addChecked(sums.v12458, file.v12458, maxFolderSum, result.v12458))
        return false;
    sums = result;
    return true;
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
