#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <optional>

// Text files as the program reads and writes them: Windows-1250, CR LF line ends, no byte-order mark.
namespace vardelo {

// Encodes to Windows-1250; nothing when a character cannot be held (then *bad, if given, names it).
std::optional<QByteArray> encodeWin1250(const QString& text, QChar* bad = nullptr);
QString decodeWin1250(const QByteArray& bytes);
// Decodes as decodeWin1250 does into `out`, which has room for bytes.size() characters, without making a
// QString; false when a byte needs the converter, whose text decodeWin1250 gives.
bool decodeWin1250Into(QByteArrayView bytes, char16_t* out);

// Writes the lines, each ended by CR LF. Returns false with *error set (a Hungarian message) when the file
// cannot be written or a character cannot be held; a file that could not be written whole is removed.
bool writeTextFile(const QString& path, const QStringList& lines, QString* error = nullptr);
// Reads the lines (CR LF, LF or CR ends, the last line's end optional); nothing when the file cannot be read.
std::optional<QStringList> readTextFile(const QString& path);
// The lines of a text: each ends at CR LF, LF or a CR alone; the last line's end is optional.
QStringList splitTextLines(const QString& text);

} // namespace vardelo
