#pragma once

#include "data/decimal.h"

#include <QDate>
#include <QDateTime>
#include <QString>
#include <QVariant>
#include <optional>

class TDataSet;

enum class TFieldType { String, Integer, LargeInt, Float, Decimal, Date, Time, DateTime, Blob, Boolean };

// One column of a dataset's current row. A field object stays valid while its dataset is open.
class TField {
public:
    TField(TDataSet* owner, int index, const QString& name, TFieldType type, int size, int scale,
           bool computed);

    const QString& FieldName() const { return name_; }
    // The title a grid shows; the field name unless a screen set one.
    QString DisplayLabel() const { return label_.isEmpty() ? name_ : label_; }
    void SetDisplayLabel(const QString& label) { label_ = label; }
    TFieldType DataType() const { return type_; }
    int Size() const { return size_; }   // characters of a text column
    int Scale() const { return scale_; } // digits after the point of a decimal column
    bool Computed() const { return computed_; }
    void SetComputed(bool computed) { computed_ = computed; }
    int Index() const { return index_; }
    bool IsNumeric() const;

    // Values of the current row. A null reads as "", 0 or an invalid date.
    QVariant Value() const;
    bool IsNull() const;
    // Numbers in their shortest form with the decimal comma, dates as "yyyy.MM.dd.".
    QString AsString() const;
    double AsFloat() const;
    // Exact: a decimal column as stored, a whole number as it is, a text as it reads (0 when it does not), a
    // double as its shortest decimal; a null reads as 0.
    vardelo::Decimal AsDecimal() const;
    int AsInteger() const;
    qint64 AsLargeInt() const;
    QDate AsDate() const;
    QDateTime AsDateTime() const;

    // Writes into the edit buffer of a table in edit or insert state.
    void SetValue(const QVariant& value);
    void SetAsString(const QString& value) { SetValue(value); }
    void SetAsFloat(double value) { SetValue(value); }
    void SetAsInteger(int value) { SetValue(value); }
    void SetAsDate(const QDate& value) { SetValue(value); }
    void Clear() { SetValue(QVariant()); }

private:
    TDataSet* owner_;
    int index_;
    QString name_;
    QString label_;
    TFieldType type_;
    int size_;
    int scale_;
    bool computed_;
};

// Text of a field value as every screen shows it: numbers in shortest form with the decimal comma, dates as
// "yyyy.MM.dd.", null as "".
QString fieldValueText(const QVariant& value);
// A number of a value: a decimal as it is, whole numbers and doubles converted, a text as it reads; nothing
// for a null, a date or a text that is not a number.
std::optional<vardelo::Decimal> decimalOfValue(const QVariant& value);
// Text of a value in a grid cell: amounts of money (decimals of two places: fillér) as money, "1 234,50";
// anything else as fieldValueText.
QString fieldDisplayText(const QVariant& value);
