#pragma once

#include <QDate>
#include <QString>

class QDateEdit;
class QWidget;

namespace vardelo::lists {

// A date picker showing "yyyy.MM.dd." with a drop-down calendar.
QDateEdit* makeDatePicker(const QString& name, const QDate& date, QWidget* parent);

} // namespace vardelo::lists
