#include "lists/date_picker.h"

#include <QDateEdit>

namespace vardelo::lists {

QDateEdit* makeDatePicker(const QString& name, const QDate& date, QWidget* parent) {
    auto* picker = new QDateEdit(parent);
    picker->setObjectName(name);
    picker->setDisplayFormat(QStringLiteral("yyyy.MM.dd."));
    picker->setCalendarPopup(true);
    picker->setMinimumDate(QDate(1800, 1, 1));
    picker->setDate(date);
    return picker;
}

} // namespace vardelo::lists
