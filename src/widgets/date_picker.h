#pragma once

#include <QDate>
#include <QString>

class QDateEdit;
class QWidget;

namespace vardelo {

// The one date field of the windows: a date picker showing "yyyy.MM.dd." with a drop-down calendar.
QDateEdit* makeDatePicker(const QString& name, const QDate& date, QWidget* parent);

} // namespace vardelo
