#include "widgets/date_picker.h"

#include <QDateEdit>
#include <QHBoxLayout>
#include <QLabel>

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

QHBoxLayout* makeDateRangeRow(const QString& caption, QDateEdit* from, QDateEdit* to, QWidget* parent,
                              const QStringList& labelNames) {
    const auto label = [&](int index, const QString& text) {
        auto* created = new QLabel(text, parent);
        if (index < labelNames.size())
            created->setObjectName(labelNames[index]);
        return created;
    };
    auto* row = new QHBoxLayout;
    row->addWidget(label(0, caption));
    row->addWidget(from);
    row->addWidget(label(1, QStringLiteral("-tól")));
    row->addSpacing(12);
    row->addWidget(to);
    row->addWidget(label(2, QStringLiteral("-ig")));
    row->addStretch(1);
    return row;
}

} // namespace vardelo
