#pragma once

// Reads a workbook back with an independent reader, Debian's python3-xlrd, and hands it over as JSON:
// {"biff": 80, "sheets": [{"name", "nrows", "ncols", "widths": {"0": 3072, ...},
//   "rows": [[{"t": type, "v": value, "bold": b, "align": a, "fmt": "General"}, ...], ...]}]}
// Cell types are xlrd's: 0 empty, 1 text, 2 number, 3 date (value "yyyy-mm-dd"), 6 blank. With summary only
// the names, sizes and the first and last row of each sheet are given.
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QString>
#include <QTest>

namespace vardelo::testing {

inline const char* xlrdScript = R"PY(
import sys, json, xlrd
book = xlrd.open_workbook(sys.argv[1], formatting_info=True)
summary = len(sys.argv) > 2
def cell_json(sheet, r, c):
    cell = sheet.cell(r, c)
    xf = book.xf_list[cell.xf_index]
    font = book.font_list[xf.font_index]
    value = cell.value
    if cell.ctype == xlrd.XL_CELL_DATE:
        value = "%04d-%02d-%02d" % xlrd.xldate_as_tuple(value, book.datemode)[:3]
    return {"t": cell.ctype, "v": value, "bold": bool(font.bold) and font.weight == 700, "align": xf.alignment.hor_align,
            "fmt": book.format_map[xf.format_key].format_str, "font": font.name}
out = {"biff": book.biff_version, "sheets": []}
for sheet in book.sheets():
    rows = range(sheet.nrows)
    if summary and sheet.nrows > 2:
        rows = [0, 1, sheet.nrows - 1]
    out["sheets"].append({
        "name": sheet.name, "nrows": sheet.nrows, "ncols": sheet.ncols,
        "widths": {str(c): info.width for c, info in sheet.colinfo_map.items()},
        "rows": [[cell_json(sheet, r, c) for c in range(sheet.row_len(r))] for r in rows]})
print(json.dumps(out))
)PY";

// The workbook as xlrd reads it; fails the test when the reader refuses the file.
inline QJsonObject readWorkbook(const QString& path, bool summary = false) {
    QProcess python;
    QStringList arguments{QStringLiteral("-c"), QString::fromUtf8(xlrdScript), path};
    if (summary)
        arguments << QStringLiteral("summary");
    // Debian's interpreter, where python3-xlrd is installed; another python3 may come first on PATH.
    python.start(QStringLiteral("/usr/bin/python3"), arguments);
    if (!python.waitForFinished(120000) || python.exitCode() != 0) {
        qWarning("xlrd: %s", python.readAllStandardError().constData());
        return {};
    }
    return QJsonDocument::fromJson(python.readAllStandardOutput()).object();
}

} // namespace vardelo::testing
