#pragma once

#include <QByteArray>
#include <QDate>
#include <QString>
#include <QStringList>
#include <memory>
#include <vector>

namespace vardelo::xls {

// Horizontal alignment of a cell.
enum class Align { General = 0, Left = 1, Center = 2, Right = 3 };

// How a cell looks: its font (plain or bold Arial 10), its horizontal alignment and its number format (0 =
// General, 14 = the reader's short date, or an index returned by BiffWorkbook::addFormat).
struct CellFormat {
    bool bold = false;
    Align align = Align::General;
    int numberFormat = 0;
    bool operator==(const CellFormat&) const = default;
};

// The built-in number format of dates: shown in the reader's own short-date form.
constexpr int ShortDateFormat = 14;

// Days since 1899-12-30: the number a date cell holds in a workbook of the 1900 date system.
double dateSerial(const QDate& date);

// The width of the digits of the workbook's first font (Arial 10) at 96 dpi, in pixels, and what a column
// adds to its characters: two pixels of margin on each side and one of grid line.
constexpr int DigitWidthPixels = 7;
constexpr int ColumnPaddingPixels = 5;
// The COLINFO width of a column that shows the given number of characters: a spreadsheet program stores the
// characters' pixels (rounded to whole pixels) and the padding, in 1/256 of a digit's width; 45 characters
// are 11702, not 45 * 256, which would show as 44,29.
int columnWidthUnits(double characters);
// The characters a stored width shows (two decimals, as the spreadsheet program shows its ColumnWidth).
double columnWidthCharacters(int units);

// Writes the Workbook stream of an Excel 97-2003 workbook (BIFF8): the globals (BOF, CODEPAGE, WINDOW1,
// DATEMODE, FONT, FORMAT, XF, STYLE, BOUNDSHEET, EOF) and then each worksheet (BOF, COLINFO, DIMENSIONS, the
// cells as LABEL, NUMBER and BLANK records, WINDOW2, EOF). Text is stored as Unicode, in the one-byte form
// when every character fits it. The stream still has to be put into a compound document (see ole_file.h).
//
// Sheets are written one after the other: cells go to the sheet begun last, in any order.
class BiffWorkbook {
public:
    // The last row and column a BIFF8 sheet can hold (zero-based).
    static constexpr int MaxRow = 65535;
    static constexpr int MaxColumn = 255;
    // The longest text a LABEL cell carries; longer text is cut there.
    static constexpr int MaxLabelLength = 255;

    BiffWorkbook();

    // A custom number format ("yyyy.mm.dd."); returns its index for CellFormat::numberFormat.
    int addFormat(const QString& code);
    // The XF index of a cell format, added on first use.
    int cellFormat(const CellFormat& format);

    void beginSheet(const QString& name);
    // Width of columns first..last (zero-based) in characters of the standard font, as a spreadsheet
    // program shows it (its ColumnWidth): stored with the cell's padding (columnWidthUnits).
    void setColumnWidth(int first, int last, double characters);
    void writeText(int row, int column, QStringView text, int xf);
    void writeNumber(int row, int column, double value, int xf);
    void writeDate(int row, int column, const QDate& date, int xf) {
        writeNumber(row, column, dateSerial(date), xf);
    }
    void writeBlank(int row, int column, int xf);

    int sheetCount() const { return int(sheets_.size()); }
    // The complete stream, padded to the 4096 bytes below which a stream would land in the mini stream, which
    // Excel does not read a workbook from.
    QByteArray finish() const;

private:
    // Cell records go into blocks of a fixed size that are never moved: a workbook has millions of them, and
    // a growing buffer would copy the megabytes written so far each time it grows.
    struct FreeBlock {
        void operator()(char* bytes) const;
    };
    struct CellBlock {
        std::unique_ptr<char[], FreeBlock> bytes;
        size_t used = 0;
    };
    struct Sheet {
        QString name;
        QByteArray columns;           // COLINFO records
        std::vector<CellBlock> cells; // cell records
        qsizetype cellBytes = 0;
        int firstRow = -1, lastRow = -1, firstColumn = -1, lastColumn = -1;
    };
    Sheet& current();
    // Writes a cell record's header and gives the place of its payload of that many bytes.
    char* appendCell(quint16 number, int row, int column, int xf, int payloadLength);

    std::vector<CellFormat> formats_; // cell XFs from index 16 on
    QStringList customFormats_;       // FORMAT records from index 164 on
    std::vector<Sheet> sheets_;
};

} // namespace vardelo::xls
