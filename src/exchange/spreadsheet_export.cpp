#include "exchange/spreadsheet_export.h"

#include "data/data_module.h"
#include "data/dataset.h"
#include "data/text_formats.h"
#include "exchange/ole_file.h"
#include "exchange/xls_writer.h"

#include <algorithm>
#include <vector>

namespace vardelo::exchange {

const std::array<ExportColumn, 21>& exportColumns() {
    static const std::array<ExportColumn, 21> columns{{
        {12, false}, // A F_FIZKELT
        {12, false}, // B F_FELVKELT
        {12, false}, // C F_KELT
        {10, false}, // D F_OSTERMKOD
        {45, false}, // E O_NEV
        {15, false}, // F S_BSZAM
        {45, false}, // G S_MEGNEVEZES
        {15, true},  // H S_NETTO
        {15, false}, // I S_MEGY
        {15, true},  // J S_EAR
        {5, true},   // K S_KOMPMERTEKE
        {5, true},   // L F_SZJA
        {15, false}, // M O_ADOAZON
        {17, false}, // N O_ADOSZAM
        {15, false}, // O O_TAJ
        {10, false}, // P O_IGSZAM
        {15, false}, // Q O_REGSZAM
        {12, false}, // R O_CSGAZD
        {45, false}, // S O_HELYSEGNEV
        {45, false}, // T O_UTCA
        {30, false}, // U O_BANKSZLA
    }};
    return columns;
}

QString columnLetters(int column) {
    QString letters;
    for (int n = column + 1; n > 0; n = (n - 1) / 26)
        letters.prepend(QChar(u'A' + (n - 1) % 26));
    return letters;
}

QString sheetName(int number) {
    return QStringLiteral("Munka%1").arg(number);
}

int sheetsFor(int lines) {
    return std::max(1, (lines + LinesPerSheet - 1) / LinesPerSheet);
}

QString exportDoneText(int lines) {
    const int sheets = sheetsFor(lines);
    const QString count = fixedNumberText(lines, 0, true);
    QString text = QStringLiteral("A konvertálás befejeződött!\n");
    if (sheets == 1)
        return text + QStringLiteral("%1 sor került a munkafüzetbe (%2).").arg(count, sheetName(1));
    return text + QStringLiteral("%1 sor került a munkafüzetbe, %2 munkalapra (%3–%4), mert egy munkalapra "
                                 "legfeljebb %5 sor fér.")
                      .arg(count)
                      .arg(sheets)
                      .arg(sheetName(1), sheetName(sheets), fixedNumberText(LinesPerSheet, 0, true));
}

namespace {

enum class CellKind { Text, Number, Date };

CellKind kindOf(const TField& field) {
    switch (field.DataType()) {
    case TFieldType::Date:
    case TFieldType::DateTime:
        return CellKind::Date;
    case TFieldType::Integer:
    case TFieldType::LargeInt:
    case TFieldType::Float:
    case TFieldType::Decimal:
        return CellKind::Number;
    default:
        return CellKind::Text;
    }
}

} // namespace

QByteArray buildWorkbook(TDataSet& lines, const std::function<void(int)>& progress) {
    const auto& columns = exportColumns();
    const int count = std::min<int>(int(columns.size()), lines.FieldCount());

    xls::BiffWorkbook book;
    using xls::Align;
    const int boldXf = book.cellFormat({true, Align::General, 0});
    std::vector<int> headerXf, cellXf, dateXf;
    std::vector<CellKind> kinds;
    for (int i = 0; i < count; ++i) {
        const Align align = columns[size_t(i)].right ? Align::Right : Align::Left;
        headerXf.push_back(book.cellFormat({true, align, 0}));
        cellXf.push_back(book.cellFormat({false, align, 0}));
        dateXf.push_back(book.cellFormat({false, align, xls::ShortDateFormat}));
        kinds.push_back(kindOf(lines.Fields(i)));
    }

    int sheets = 0;
    auto startSheet = [&] {
        book.beginSheet(sheetName(++sheets));
        for (int i = 0; i < count; ++i) {
            book.setColumnWidth(i, i, columns[size_t(i)].width);
            book.writeText(0, i, lines.Fields(i).FieldName(), headerXf[size_t(i)]);
        }
        for (int i = count; i < BoldHeaderColumns; ++i)
            book.writeBlank(0, i, boldXf);
    };
    startSheet();

    // The rows are read where they stand, without moving the current row through each of them (every move
    // would repaint the grids on the list); the list ends on its last row.
    const int total = lines.RecordCount();
    int row = 1;
    for (int line = 0; line < total; ++line) {
        if (row > LinesPerSheet) {
            startSheet();
            row = 1;
        }
        for (int i = 0; i < count; ++i) {
            const QVariant value = lines.ValueAt(line, i);
            const size_t c = size_t(i);
            if (value.isNull()) {
                book.writeBlank(row, i, cellXf[c]);
                continue;
            }
            switch (kinds[c]) {
            case CellKind::Date:
                if (value.typeId() == QMetaType::QDateTime) {
                    const QDateTime moment = value.toDateTime();
                    book.writeNumber(row, i,
                                     xls::dateSerial(moment.date()) +
                                         moment.time().msecsSinceStartOfDay() / 86400000.0,
                                     dateXf[c]);
                } else {
                    book.writeDate(row, i, value.toDate(), dateXf[c]);
                }
                break;
            case CellKind::Number:
                book.writeNumber(row, i, value.toDouble(), cellXf[c]);
                break;
            case CellKind::Text:
                book.writeText(row, i, value.toString(), cellXf[c]);
                break;
            }
        }
        ++row;
        if (progress)
            progress(line + 1);
    }
    if (total > 0)
        lines.Last();
    return book.finish();
}

QString workbookFileName() {
    return Data->IBTable1->TableName.trimmed().toUpper() + QStringLiteral(".xls");
}

void saveWorkbook(const QString& path, const QByteArray& stream) {
    xls::writeCompoundFile(path, QStringLiteral("Workbook"), stream);
}

} // namespace vardelo::exchange
