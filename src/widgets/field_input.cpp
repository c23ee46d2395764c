#include "widgets/field_input.h"

#include "data/text_formats.h"

#include <QDateTime>
#include <QTime>

namespace vardelo {

std::optional<QVariant> fieldValueFromText(TFieldType type, const QString& text) {
    const QString trimmed = text.trimmed();
    switch (type) {
    case TFieldType::String:
    case TFieldType::Blob:
        return QVariant(text);
    case TFieldType::Integer: {
        if (trimmed.isEmpty())
            return QVariant();
        const std::optional<int> value = parseIntegerText(trimmed);
        if (!value)
            return std::nullopt;
        return QVariant(*value);
    }
    case TFieldType::LargeInt: {
        if (trimmed.isEmpty())
            return QVariant();
        bool ok = false;
        const qint64 value = trimmed.toLongLong(&ok, 10);
        if (!ok)
            return std::nullopt;
        return QVariant(value);
    }
    case TFieldType::Float: {
        if (trimmed.isEmpty())
            return QVariant();
        const std::optional<double> value = parseNumberText(trimmed);
        if (!value)
            return std::nullopt;
        return QVariant(*value);
    }
    case TFieldType::Decimal: {
        // Exact, as the column keeps it.
        if (trimmed.isEmpty())
            return QVariant();
        const std::optional<Decimal> value = parseDecimalText(trimmed);
        if (!value)
            return std::nullopt;
        return QVariant::fromValue(*value);
    }
    case TFieldType::Date:
    case TFieldType::DateTime: {
        if (trimmed.isEmpty())
            return QVariant();
        const std::optional<QDate> date = parseDateText(trimmed);
        if (!date)
            return std::nullopt;
        if (type == TFieldType::Date)
            return QVariant(*date);
        return QVariant(QDateTime(*date, QTime(0, 0)));
    }
    case TFieldType::Time: {
        if (trimmed.isEmpty())
            return QVariant();
        for (const char* format : {"H:mm:ss", "H:mm"}) {
            const QTime time = QTime::fromString(trimmed, QString::fromLatin1(format));
            if (time.isValid())
                return QVariant(time);
        }
        return std::nullopt;
    }
    case TFieldType::Boolean: {
        if (trimmed.isEmpty())
            return QVariant();
        const QString lower = trimmed.toLower();
        if (lower == QLatin1String("1") || lower == QLatin1String("igen") || lower == QLatin1String("i"))
            return QVariant(true);
        if (lower == QLatin1String("0") || lower == QLatin1String("nem") || lower == QLatin1String("n"))
            return QVariant(false);
        return std::nullopt;
    }
    }
    return std::nullopt;
}

QString fieldInputErrorText(TFieldType type, const QString& text) {
    const QString quoted = QLatin1Char('\'') + text + QLatin1Char('\'');
    switch (type) {
    case TFieldType::Integer:
    case TFieldType::LargeInt:
        return quoted + QStringLiteral(" nem érvényes egész szám.");
    case TFieldType::Float:
    case TFieldType::Decimal:
        return quoted + QStringLiteral(" nem érvényes szám.");
    case TFieldType::Date:
    case TFieldType::DateTime:
        return quoted + QStringLiteral(" nem érvényes dátum.");
    case TFieldType::Time:
        return quoted + QStringLiteral(" nem érvényes időpont.");
    case TFieldType::Boolean:
        return quoted + QStringLiteral(" nem érvényes logikai érték.");
    case TFieldType::String:
    case TFieldType::Blob:
        break;
    }
    return quoted + QStringLiteral(" nem tárolható ebben a mezőben.");
}

} // namespace vardelo
