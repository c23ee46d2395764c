#pragma once

#include "reports/prepared_report.h"
#include "reports/report_data.h"
#include "reports/report_layout.h"

#include <QDate>
#include <QMarginsF>
#include <QSizeF>
#include <QString>

// Prepares the pages of a layout from its data.
//
// Each copy of the layout is a page set of its own. On every page the page header comes first and the page
// footer sits at the bottom; between them the title, the master header, the master rows (each with its group
// header and footer when the group changes, and with its detail header, detail rows and detail footer), the
// master footer and the summary follow one another. A band that does not fit above the page footer moves to
// the next page; headers marked repeat are printed again there, and when a master row's detail section runs
// onto the page, the continuation band (its heading again) under them. A master row with detail rows never
// stands at the foot of a page without its detail header and first detail row.
//
// Built-in names for expressions: PAGE# (page number within the copy), TOTALPAGES (pages of the copy), LINE#
// (number of the row within its data band), DATE (today), COPYNAME (name of the copy).
namespace vardelo::report {

struct PrepareOptions {
    // Only the copy marked view (or the first copy when none is) is prepared.
    bool viewCopyOnly = false;
    // The margins of the printer, in force where a layout asks for them and they are larger than its own.
    QMarginsF printerMargins = QMarginsF(5, 5, 5, 5);
    QDate today = QDate::currentDate();
};

// Raises EReportError for a band dataset that the environment does not have and for faults of expressions.
PreparedReport prepareReport(const Layout& layout, DataEnvironment& data, const PrepareOptions& options = {});

// The smallest share of its own size that a text may be shrunk to so that it fits its box.
constexpr double kSmallestShrink = 0.4;
// What a number prints when it does not fit its box even at the smallest size: never a cut number.
inline const QString kNumberDoesNotFit = QStringLiteral("###");

// The largest font size, from the font's own size down to kSmallestShrink of it, at which the text fits a box
// of the given inside size (millimetres) on one line, or, with wrap, broken into lines at blanks. 0 when it
// does not fit even at the smallest size.
double fittingFontSize(const FontSpec& font, QSizeF box, const QString& text, bool wrap);

// True for the text of a number as the report prints one ("-1 234 567,89", "12,5"): such a text is never cut.
bool isNumberText(const QString& text);

// The font used for a font description (Arial resolves to the face with the same metrics where it is
// missing).
QFont reportFont(const FontSpec& fontSpec);

} // namespace vardelo::report
