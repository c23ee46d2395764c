#include "widgets/record_panel.h"

#include "widgets/db_text.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>

namespace vardelo {

void fillRecordPanel(QGroupBox* group, TDataSource* source, const QList<RecordPanelRow>& rows, int columns) {
    auto* grid = new QGridLayout(group);
    grid->setHorizontalSpacing(8);
    const int perColumn = (int(rows.size()) + columns - 1) / std::max(1, columns);
    for (int i = 0; i < int(rows.size()); ++i) {
        const int row = i % perColumn;
        const int column = (i / perColumn) * 2;
        grid->addWidget(new QLabel(rows[i].caption, group), row, column, Qt::AlignRight | Qt::AlignVCenter);
        auto* values = new QHBoxLayout;
        values->setSpacing(6);
        for (const QString& field : rows[i].fields) {
            auto* text = new TDBText(source, field, group);
            text->setObjectName(QStringLiteral("DBText_") + field);
            text->setTextInteractionFlags(Qt::TextSelectableByMouse);
            // The parts of an address share the least room of one long text, so that the panel's column is no
            // wider for them than for a long name.
            if (rows[i].fields.size() > 1)
                text->setLeastCharacters(TDBText::DefaultLeastCharacters / 2);
            // The last value takes the room that is left, so a long address is not cut.
            values->addWidget(text, field == rows[i].fields.last() ? 1 : 0);
        }
        // No column stretches: room beyond the least is shared by what each column's values would take
        // whole, so a long name in one column is not cut while short values leave another half empty.
        grid->addLayout(values, row, column + 1);
    }
}

} // namespace vardelo
