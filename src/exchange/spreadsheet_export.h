#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QVariant>
#include <array>
#include <functional>

class TDataSet;

// The workbook of the spreadsheet export: one row per collected ticket line under a bold header row.
namespace vardelo::exchange {

// A sheet column: its width in characters and whether its cells are aligned right (else left).
struct ExportColumn {
    int width;
    bool right;
};

// The 21 columns A to U, in the order of the collected result's columns.
const std::array<ExportColumn, 21>& exportColumns();

// The bold header row reaches across A1 to AM1, further than the filled columns.
constexpr int BoldHeaderColumns = 39;

// Rows of one sheet: the header and 65,535 lines. Longer results go on in further sheets, each with its own
// header row.
constexpr int LinesPerSheet = 65535;

// The sheets a result of that many lines takes (one at least, for the header row).
int sheetsFor(int lines);

// The closing message of an export: done, and how many lines went to how many sheets.
QString exportDoneText(int lines);

// The letters of a zero-based column: 0 -> "A", 20 -> "U", 38 -> "AM".
QString columnLetters(int column);

// The names the sheets get: "Munka1", "Munka2", ...
QString sheetName(int number);

// Builds the workbook stream of a collected result: the header row from the dataset's column names, the
// widths and alignments of exportColumns(), then from row 2 one row per dataset row from the first, each
// value with its own type (dates as dates, numbers as numbers, text as text, null as an empty cell). Leaves
// the dataset on its last row. progress(done) is called after each line.
QByteArray buildWorkbook(TDataSet& lines, const std::function<void(int)>& progress = {});

// A column of a sheet: its bold header, its width in characters, its alignment (right, else left).
struct SheetColumn {
    QString header;
    int width;
    bool right;
};

// The rows of a sheet: how many, and the value of a cell (a QDate or QDateTime is a date cell, a number a
// number, a text a text, null an empty cell).
struct SheetRows {
    int count = 0;
    std::function<QVariant(int row, int column)> value;
};

// Builds a workbook stream as buildWorkbook does, from any rows: the bold header row across at least
// boldHeaderColumns columns, LinesPerSheet rows a sheet, each sheet with its own header row.
QByteArray buildSheets(const QList<SheetColumn>& columns, const SheetRows& rows, int boldHeaderColumns,
                       const std::function<void(int)>& progress = {});

// The file name of the workbook: the ticket header table's name with ".xls".
QString workbookFileName();

// Saves a workbook stream as an Excel 97-2003 file; raises vardelo::xls::OleWriteError on failure.
void saveWorkbook(const QString& path, const QByteArray& stream);

} // namespace vardelo::exchange
