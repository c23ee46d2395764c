#include "returns/date_picker.h"

#include <QDateEdit>

namespace vardelo::returns {

QDateEdit* makeDatePicker(const QString& name, QWidget* parent, const QDate& date) {
    auto* edit = new QDateEdit(date, parent);
    edit->setObjectName(name);
    edit->setDisplayFormat(QStringLiteral("yyyy.MM.dd."));
    edit->setCalendarPopup(true);
    edit->setMinimumWidth(edit->fontMetrics().horizontalAdvance(QStringLiteral("2010.08.31.")) + 48);
    return edit;
}

} // namespace vardelo::returns
