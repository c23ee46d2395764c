#pragma once

#include <QByteArray>
#include <QString>

// Saving an exported workbook, as every export window does it.
namespace vardelo::exchange {

// Saves the workbook stream at path (its folder made when missing), asking first when the file exists. A file
// not replaced or not written is said with "A fájl mentése nem történt meg!"; returns whether it was saved.
bool saveWorkbookAsking(const QString& path, const QByteArray& stream, const QString& caption);

// The end of an export: a saved workbook is opened when the clerk asked for it, then "A konvertálás
// befejeződött!" with how many lines went to how many sheets.
void finishWorkbookExport(const QString& path, bool saved, bool show, int lines);

} // namespace vardelo::exchange
