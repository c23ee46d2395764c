#pragma once

#include <QDate>
#include <QString>

class QDateEdit;
class QWidget;

namespace vardelo::returns {

// A date field with a calendar, showing the date as "2010.08.31.".
QDateEdit* makeDatePicker(const QString& name, QWidget* parent, const QDate& date);

} // namespace vardelo::returns
