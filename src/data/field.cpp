#include "data/field.h"

#include "data/dataset.h"
#include "data/text_formats.h"

#include <cmath>

TField::TField(TDataSet* owner, int index, const QString& name, TFieldType type, int size, int scale,
               bool computed)
    : owner_(owner), index_(index), name_(name), type_(type), size_(size), scale_(scale),
      computed_(computed) {}

bool TField::IsNumeric() const {
    switch (type_) {
    case TFieldType::Integer:
    case TFieldType::LargeInt:
    case TFieldType::Float:
    case TFieldType::Decimal:
        return true;
    default:
        return false;
    }
}

QVariant TField::Value() const {
    return owner_->CurrentValue(index_);
}
bool TField::IsNull() const {
    return Value().isNull();
}
QString TField::AsString() const {
    return fieldValueText(Value());
}

double TField::AsFloat() const {
    QVariant v = Value();
    if (v.typeId() == QMetaType::QString) {
        auto parsed = vardelo::parseNumberText(v.toString());
        return parsed ? *parsed : 0.0;
    }
    if (v.typeId() == qMetaTypeId<vardelo::Decimal>())
        return v.value<vardelo::Decimal>().toDouble();
    return v.toDouble();
}

vardelo::Decimal TField::AsDecimal() const {
    return decimalOfValue(Value()).value_or(vardelo::Decimal());
}

qint64 TField::AsLargeInt() const {
    QVariant v = Value();
    if (v.typeId() == qMetaTypeId<vardelo::Decimal>())
        return v.value<vardelo::Decimal>().toWhole(vardelo::Rounding::HalfAwayFromZero).value_or(0);
    if (v.typeId() == QMetaType::Double)
        return qint64(std::llround(v.toDouble()));
    if (v.typeId() == QMetaType::QString)
        return v.toString().trimmed().toLongLong();
    return v.toLongLong();
}

int TField::AsInteger() const {
    return int(AsLargeInt());
}

QDate TField::AsDate() const {
    QVariant v = Value();
    if (v.typeId() == QMetaType::QDateTime)
        return v.toDateTime().date();
    if (v.typeId() == QMetaType::QString)
        return vardelo::parseDateText(v.toString()).value_or(QDate());
    return v.toDate();
}

QDateTime TField::AsDateTime() const {
    QVariant v = Value();
    if (v.typeId() == QMetaType::QDateTime)
        return v.toDateTime();
    QDate d = AsDate();
    return d.isValid() ? QDateTime(d, QTime(0, 0)) : QDateTime();
}

void TField::SetValue(const QVariant& value) {
    owner_->SetFieldValue(index_, value);
}

std::optional<vardelo::Decimal> decimalOfValue(const QVariant& value) {
    if (value.isNull())
        return std::nullopt;
    switch (value.typeId()) {
    case QMetaType::Double:
    case QMetaType::Float:
        return vardelo::Decimal::fromDouble(value.toDouble());
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::Short:
    case QMetaType::UShort:
        return vardelo::Decimal(value.toLongLong());
    case QMetaType::QString:
        return vardelo::parseDecimalText(value.toString());
    default:
        if (value.typeId() == qMetaTypeId<vardelo::Decimal>())
            return value.value<vardelo::Decimal>();
        return std::nullopt;
    }
}

QString fieldDisplayText(const QVariant& value) {
    if (value.typeId() == qMetaTypeId<vardelo::Decimal>()) {
        const auto amount = value.value<vardelo::Decimal>();
        if (amount.scale() == 2)
            return vardelo::moneyText(amount);
    }
    return fieldValueText(value);
}

QString fieldValueText(const QVariant& value) {
    if (value.isNull())
        return QString();
    if (value.typeId() == qMetaTypeId<vardelo::Decimal>())
        return vardelo::shortestNumberText(value.value<vardelo::Decimal>());
    switch (value.typeId()) {
    case QMetaType::Double:
    case QMetaType::Float:
        return vardelo::shortestNumberText(value.toDouble());
    case QMetaType::QDate:
        return vardelo::dateText(value.toDate());
    case QMetaType::QDateTime: {
        QDateTime dt = value.toDateTime();
        if (dt.time() == QTime(0, 0))
            return vardelo::dateText(dt.date());
        return vardelo::dateText(dt.date()) + QLatin1Char(' ') +
               dt.time().toString(QStringLiteral("HH:mm:ss"));
    }
    case QMetaType::QTime:
        return value.toTime().toString(QStringLiteral("HH:mm:ss"));
    default:
        return value.toString();
    }
}
