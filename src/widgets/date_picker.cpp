#include "widgets/date_picker.h"

#include <QDateEdit>

namespace vardelo {

QDateEdit* makeDatePicker(const QString& name, const QDate& date, QWidget* parent) {
    auto* picker = new QDateEdit(parent);
    picker->setObjectName(name);
    picker->setDisplayFormat(QStringLiteral("yyyy.MM.dd."));
    picker->setCalendarPopup(true);
    picker->setMinimumDate(QDate(1800, 1, 1));
    picker->setDate(date);
    // Room for the whole date with its closing point beside the drop-down arrow.
    picker->setMinimumWidth(picker->fontMetrics().horizontalAdvance(QStringLiteral("0000.00.00.")) + 44);
    return picker;
}

} // namespace vardelo
