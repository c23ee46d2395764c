#pragma once

#include <QList>
#include <QString>
#include <QStringList>

class QGroupBox;
class TDataSource;

namespace vardelo {

// One captioned line of a record panel: the caption and the fields shown after it, side by side.
struct RecordPanelRow {
    QString caption;
    QStringList fields;
};

// Fills the group with the captioned fields of the source's current row. The rows run down the given number
// of columns, each a caption and its values; every value is a TDBText named "DBText_<FIELD>".
void fillRecordPanel(QGroupBox* group, TDataSource* source, const QList<RecordPanelRow>& rows, int columns);

} // namespace vardelo
