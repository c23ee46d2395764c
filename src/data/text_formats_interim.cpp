// Interim date and number texts until the shared text helpers land.
#include "data/text_formats.h"

#include <QLocale>
#include <cmath>

namespace vardelo {

QString dateText(const QDate& date) {
    return date.isValid() ? date.toString(QStringLiteral("yyyy.MM.dd.")) : QString();
}

std::optional<QDate> parseDateText(const QString& text) {
    QStringList parts = text.trimmed().split(QLatin1Char('.'));
    if (parts.size() == 4 && parts[3].isEmpty())
        parts.removeLast();
    if (parts.size() != 3)
        return std::nullopt;
    bool a, b, c;
    QDate d(parts[0].toInt(&a), parts[1].toInt(&b), parts[2].toInt(&c));
    if (!a || !b || !c || !d.isValid())
        return std::nullopt;
    return d;
}

QString shortestNumberText(double value) {
    QString s = QString::number(value, 'g', 15);
    return s.replace(QLatin1Char('.'), QLatin1Char(','));
}

std::optional<double> parseNumberText(const QString& text) {
    QString t = text.trimmed();
    t.replace(QLatin1Char(','), QLatin1Char('.'));
    bool ok;
    double v = t.toDouble(&ok);
    if (!ok)
        return std::nullopt;
    return v;
}

} // namespace vardelo
