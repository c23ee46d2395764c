#pragma once

#include "data/immediate_write.h"

#include <QString>
#include <QVariant>

// The fixed-width lines of the previous version's files and the parameters they give to the inserts of the
// import window. Positions count from 1; a line shorter than a field gives the characters present.
namespace vardelo::previous {

// The characters from position `from` (counted from 1), `length` of them or as many as the line has.
QString fixedField(const QString& line, int from, int length);
// The same with the blanks around removed.
QString trimmedField(const QString& line, int from, int length);

// A number of the old files for a numeric column: the trimmed text with a decimal comma turned into a point,
// converted by the database; an empty text gives NULL.
QVariant numberParam(const QString& text);

// A producer line of "exposterm.txt": :p1 to :p20 in the column order of the producer insert.
QueryParams producerParams(const QString& line);
// An animal line of "exptermek.txt": :p1 to :p7.
QueryParams animalParams(const QString& line);
// The purchaser line numbered `lineNumber` (from 1) of "expatvevo.txt": :p1 to :p6.
QueryParams purchaserParams(const QString& line, int lineNumber);

} // namespace vardelo::previous
