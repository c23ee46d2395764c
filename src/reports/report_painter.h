#pragma once

#include "reports/prepared_report.h"

#include <QMarginsF>
#include <QPageLayout>
#include <QString>

class QPainter;
class QPrinter;

// Paints prepared pages on any paint device: the preview, a printer, a PDF file.
namespace vardelo::report {

// Paints the page with the paper's top left corner at the painter's origin, at the given number of device
// pixels per millimetre.
void paintPage(QPainter& painter, const PreparedPage& page, double pixelsPerMm);

// Writes every page of the report into a PDF file, each page on paper of its own size. Returns false (and the
// reason in *error) when the file cannot be written.
bool renderToPdf(const PreparedReport& report, const QString& path, QString* error = nullptr);

// The margins a printer cannot print on, in millimetres, from its page layout.
QMarginsF printableMargins(const QPageLayout& printerLayout);

// The margins a print uses for a layout that asks for the printer's: the ones the preview was prepared with,
// each widened to the printer's where it needs more. A printer that needs no more (a PDF file, most paper
// printers) gets the pages the clerk saw, margins and page count alike.
QMarginsF printMargins(const QMarginsF& previewMargins, const QPageLayout& printerLayout);

// Prints every page on a printer that the caller has set up (printer, copies, range); each page takes its own
// paper size and orientation.
void printReport(const PreparedReport& report, QPrinter& printer);

} // namespace vardelo::report
