#include "exchange/spreadsheet_export.h"

#include "data/data_module.h"
#include "data/dataset.h"
#include "data/decimal.h"
#include "data/firebird_api.h"
#include "data/text_files.h"
#include "data/text_formats.h"
#include "exchange/ole_file.h"
#include "exchange/xls_writer.h"

#include <algorithm>
#include <cstring>
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

// The sheets of an export: each under its bold header row, LinesPerSheet lines a sheet.
class SheetsWriter {
public:
    SheetsWriter(const QList<SheetColumn>& columns, int boldHeaderColumns)
        : columns_(columns), boldHeaderColumns_(boldHeaderColumns) {
        using xls::Align;
        boldXf_ = book_.cellFormat({true, Align::General, 0});
        for (const SheetColumn& column : columns) {
            const Align align = column.right ? Align::Right : Align::Left;
            headerXf_.push_back(book_.cellFormat({true, align, 0}));
            cellXf_.push_back(book_.cellFormat({false, align, 0}));
            dateXf_.push_back(book_.cellFormat({false, align, xls::ShortDateFormat}));
        }
        startSheet();
    }

    // The sheet row of the next line, on a new sheet when the current one is full.
    int nextRow() {
        if (sheetRow_ > LinesPerSheet) {
            startSheet();
            sheetRow_ = 1;
        }
        return sheetRow_++;
    }

    void writeBlank(int row, int column) { book_.writeBlank(row, column, cellXf_[size_t(column)]); }
    void writeNumber(int row, int column, double value) {
        book_.writeNumber(row, column, value, cellXf_[size_t(column)]);
    }
    void writeText(int row, int column, QStringView text) {
        book_.writeText(row, column, text, cellXf_[size_t(column)]);
    }

    // A value with its own type: dates as dates, numbers as numbers, text as text, null as an empty cell.
    void writeValue(int row, int i, const QVariant& value) {
        const size_t c = size_t(i);
        switch (value.typeId()) {
        case QMetaType::UnknownType:
            writeBlank(row, i);
            break;
        case QMetaType::QDateTime: {
            const QDateTime moment = value.toDateTime();
            book_.writeNumber(
                row, i, xls::dateSerial(moment.date()) + moment.time().msecsSinceStartOfDay() / 86400000.0,
                dateXf_[c]);
            break;
        }
        case QMetaType::QDate:
            book_.writeDate(row, i, value.toDate(), dateXf_[c]);
            break;
        case QMetaType::Double:
        case QMetaType::Float:
        case QMetaType::Int:
        case QMetaType::UInt:
        case QMetaType::LongLong:
        case QMetaType::ULongLong:
            writeNumber(row, i, value.toDouble());
            break;
        default:
            if (value.typeId() == qMetaTypeId<Decimal>())
                writeNumber(row, i, value.value<Decimal>().toDouble());
            else if (value.isNull())
                writeBlank(row, i);
            else
                writeText(row, i, value.toString());
            break;
        }
    }

    QByteArray finish() const { return book_.finish(); }

private:
    void startSheet() {
        book_.beginSheet(sheetName(++sheets_));
        const int count = int(columns_.size());
        for (int i = 0; i < count; ++i) {
            book_.setColumnWidth(i, i, columns_[i].width);
            book_.writeText(0, i, columns_[i].header, headerXf_[size_t(i)]);
        }
        for (int i = count; i < boldHeaderColumns_; ++i)
            book_.writeBlank(0, i, boldXf_);
    }

    const QList<SheetColumn>& columns_;
    const int boldHeaderColumns_;
    xls::BiffWorkbook book_;
    int boldXf_ = 0;
    std::vector<int> headerXf_, cellXf_, dateXf_;
    int sheets_ = 0;
    int sheetRow_ = 1;
};

template <typename T> T readValue(const unsigned char* p) {
    T value;
    std::memcpy(&value, p, sizeof value);
    return value;
}

// How a column's fetched bytes become a cell: text and exact amounts straight from the bytes, the rest
// through the dataset's decoding.
enum class CellSource { VaryingText, FixedText, Scaled, Decoded };

CellSource cellSource(const fb::ColumnLayout& c) {
    switch (c.type) {
    case SQL_VARYING:
        return CellSource::VaryingText;
    case SQL_TEXT:
        return CellSource::FixedText;
    case SQL_SHORT:
    case SQL_LONG:
    case SQL_INT64:
        return c.scale < 0 ? CellSource::Scaled : CellSource::Decoded;
    default:
        return CellSource::Decoded;
    }
}

// The scaled integer of an exact amount: the amount itself, as the dataset's Decimal holds it.
qint64 scaledUnits(const fb::ColumnLayout& c, const unsigned char* data) {
    switch (c.type) {
    case SQL_SHORT:
        return readValue<qint16>(data);
    case SQL_LONG:
        return readValue<qint32>(data);
    default:
        return readValue<qint64>(data);
    }
}

// A text cell from the column's Windows-1250 bytes, decoded as the dataset decodes them.
void writeWin1250(SheetsWriter& sheets, int row, int column, const unsigned char* bytes, size_t length) {
    const QByteArrayView text(bytes, qsizetype(length));
    char16_t characters[xls::BiffWorkbook::MaxLabelLength];
    if (length <= std::size(characters) && decodeWin1250Into(text, characters))
        sheets.writeText(row, column, QStringView(characters, qsizetype(length)));
    else
        sheets.writeText(row, column, decodeWin1250(text.toByteArray()));
}

} // namespace

QByteArray buildSheets(const QList<SheetColumn>& columns, const SheetRows& rows, int boldHeaderColumns,
                       const std::function<void(int)>& progress) {
    SheetsWriter sheets(columns, boldHeaderColumns);
    const int count = int(columns.size());
    for (int row = 0; row < rows.count; ++row) {
        const int sheetRow = sheets.nextRow();
        for (int i = 0; i < count; ++i)
            sheets.writeValue(sheetRow, i, rows.value(row, i));
        if (progress)
            progress(row + 1);
    }
    return sheets.finish();
}

QByteArray buildWorkbook(TDataSet& lines, const std::function<void(int)>& progress) {
    const auto& widths = exportColumns();
    const int count = std::min<int>(int(widths.size()), lines.FieldCount());
    QList<SheetColumn> columns;
    for (int i = 0; i < count; ++i)
        columns.append({lines.Fields(i).FieldName(), widths[size_t(i)].width, widths[size_t(i)].right});
    SheetsWriter sheets(columns, BoldHeaderColumns);
    // The values are taken from the rows' fetched bytes: no QVariant, and for a text no QString, made of
    // each.
    const auto& layouts = lines.ColumnLayouts();
    std::vector<CellSource> sources;
    for (int i = 0; i < count; ++i)
        sources.push_back(cellSource(layouts[size_t(i)]));
    // The rows are read where they stand, without moving the current row through each of them (every move
    // would repaint the grids on the list); the list ends on its last row.
    const int total = lines.RecordCount();
    for (int row = 0; row < total; ++row) {
        const int sheetRow = sheets.nextRow();
        const unsigned char* message = lines.MessageAt(row);
        for (int i = 0; i < count; ++i) {
            if (!message) {
                sheets.writeValue(sheetRow, i, lines.ValueAt(row, i));
                continue;
            }
            const fb::ColumnLayout& c = layouts[size_t(i)];
            if (readValue<short>(message + c.nullOffset) == -1) {
                sheets.writeBlank(sheetRow, i);
                continue;
            }
            const unsigned char* data = message + c.offset;
            switch (sources[size_t(i)]) {
            case CellSource::VaryingText:
                writeWin1250(sheets, sheetRow, i, data + 2, readValue<unsigned short>(data));
                break;
            case CellSource::FixedText:
                writeWin1250(sheets, sheetRow, i, data, c.length);
                break;
            case CellSource::Scaled:
                sheets.writeNumber(sheetRow, i,
                                   Decimal::fromUnits(scaledUnits(c, data), -c.scale).toDouble());
                break;
            case CellSource::Decoded:
                sheets.writeValue(sheetRow, i, fb::decodeColumn(c, message));
                break;
            }
        }
        if (progress)
            progress(row + 1);
    }
    if (total > 0)
        lines.Last();
    return sheets.finish();
}

QString workbookFileName() {
    return Data->IBTable1->TableName.trimmed().toUpper() + QStringLiteral(".xls");
}

void saveWorkbook(const QString& path, const QByteArray& stream) {
    xls::writeCompoundFile(path, QStringLiteral("Workbook"), stream);
}

} // namespace vardelo::exchange
