#include "exchange/spreadsheet_export.h"

#include "data/data_module.h"
#include "data/dataset.h"
#include "data/decimal.h"
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

QByteArray buildSheets(const QList<SheetColumn>& columns, const SheetRows& rows, int boldHeaderColumns,
                       const std::function<void(int)>& progress) {
    const int count = int(columns.size());
    xls::BiffWorkbook book;
    using xls::Align;
    const int boldXf = book.cellFormat({true, Align::General, 0});
    std::vector<int> headerXf, cellXf, dateXf;
    for (const SheetColumn& column : columns) {
        const Align align = column.right ? Align::Right : Align::Left;
        headerXf.push_back(book.cellFormat({true, align, 0}));
        cellXf.push_back(book.cellFormat({false, align, 0}));
        dateXf.push_back(book.cellFormat({false, align, xls::ShortDateFormat}));
    }

    int sheets = 0;
    auto startSheet = [&] {
        book.beginSheet(sheetName(++sheets));
        for (int i = 0; i < count; ++i) {
            book.setColumnWidth(i, i, columns[i].width);
            book.writeText(0, i, columns[i].header, headerXf[size_t(i)]);
        }
        for (int i = count; i < boldHeaderColumns; ++i)
            book.writeBlank(0, i, boldXf);
    };
    startSheet();

    int sheetRow = 1;
    for (int row = 0; row < rows.count; ++row) {
        if (sheetRow > LinesPerSheet) {
            startSheet();
            sheetRow = 1;
        }
        for (int i = 0; i < count; ++i) {
            const QVariant value = rows.value(row, i);
            const size_t c = size_t(i);
            switch (value.typeId()) {
            case QMetaType::UnknownType:
                book.writeBlank(sheetRow, i, cellXf[c]);
                break;
            case QMetaType::QDateTime: {
                const QDateTime moment = value.toDateTime();
                book.writeNumber(sheetRow, i,
                                 xls::dateSerial(moment.date()) +
                                     moment.time().msecsSinceStartOfDay() / 86400000.0,
                                 dateXf[c]);
                break;
            }
            case QMetaType::QDate:
                book.writeDate(sheetRow, i, value.toDate(), dateXf[c]);
                break;
            case QMetaType::Double:
            case QMetaType::Float:
            case QMetaType::Int:
            case QMetaType::UInt:
            case QMetaType::LongLong:
            case QMetaType::ULongLong:
                book.writeNumber(sheetRow, i, value.toDouble(), cellXf[c]);
                break;
            default:
                if (value.typeId() == qMetaTypeId<Decimal>())
                    book.writeNumber(sheetRow, i, value.value<Decimal>().toDouble(), cellXf[c]);
                else if (value.isNull())
                    book.writeBlank(sheetRow, i, cellXf[c]);
                else
                    book.writeText(sheetRow, i, value.toString(), cellXf[c]);
                break;
            }
        }
        ++sheetRow;
        if (progress)
            progress(row + 1);
    }
    return book.finish();
}

QByteArray buildWorkbook(TDataSet& lines, const std::function<void(int)>& progress) {
    const auto& widths = exportColumns();
    const int count = std::min<int>(int(widths.size()), lines.FieldCount());
    QList<SheetColumn> columns;
    for (int i = 0; i < count; ++i)
        columns.append({lines.Fields(i).FieldName(), widths[size_t(i)].width, widths[size_t(i)].right});
    // The rows are read where they stand, without moving the current row through each of them (every move
    // would repaint the grids on the list); the list ends on its last row.
    const int total = lines.RecordCount();
    const QByteArray stream =
        buildSheets(columns, {total, [&](int row, int column) { return lines.ValueAt(row, column); }},
                    BoldHeaderColumns, progress);
    if (total > 0)
        lines.Last();
    return stream;
}

QString workbookFileName() {
    return Data->IBTable1->TableName.trimmed().toUpper() + QStringLiteral(".xls");
}

void saveWorkbook(const QString& path, const QByteArray& stream) {
    xls::writeCompoundFile(path, QStringLiteral("Workbook"), stream);
}

} // namespace vardelo::exchange
