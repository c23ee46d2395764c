#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <optional>

// The arithmetic of the merge of two sets of import files: what makes a file a whole import file, the values
// it carries on its "12456=" and "12458=" lines, the key that pairs two files of one producer, and the merged
// file's lines. Amounts are 64-bit integers added with checked arithmetic.
namespace vardelo::returns {

// The largest amount an import file holds: 11 digits, as the collection writes them (either sign).
constexpr qint64 MaxImportAmount = 99'999'999'999;

// The sum, or nothing when it leaves the range of MaxImportAmount.
std::optional<qint64> addAmounts(qint64 a, qint64 b);

struct ImportValues {
    qint64 v12456 = 0; // the "(állat)" amount
    qint64 v12458 = 0; // the "(növény)" amount, where the collection writes its amount
};

// The key of a file name: its last 15 characters ("_" + tax identifier + ".imp"), the whole name when
// shorter.
QString mergeKey(const QString& fileName);

// The lines of a file's bytes when they make a whole import file: Windows-1250 text (no NUL or other control
// bytes, no byte the code page leaves undefined), CR LF or LF line ends, "$ny_azon=1008M" on the first line
// and a "12458=" line. Otherwise nothing, and *problem says what is wrong (Hungarian, to follow the file
// name).
std::optional<QStringList> importFileLines(const QByteArray& bytes, QString* problem);

// The value of one line: the text after "=" without surrounding blanks, 0 when nothing remains. Nothing when
// the text is not a whole number (its size is not checked here).
std::optional<qint64> lineValue(const QString& line);

// Why the values of a file cannot be taken: the line, and whether it is too long rather than not whole.
struct ValueFault {
    QString line;
    bool tooLong = false; // beyond MaxImportAmount (the value, or the sum of the file's lines)
};

// The sums of a file's values: every "12456=" and "12458=" line counts. Nothing when a value is not a whole
// number or a value or sum is beyond 11 digits; then *fault (if given) says which line.
std::optional<ImportValues> summedValues(const QStringList& lines, ValueFault* fault = nullptr);
// The values a file carries for the merge: the last line of each kind counts.
std::optional<ImportValues> lastValues(const QStringList& lines, ValueFault* fault = nullptr);

// The merged amount: the four values added up; nothing beyond 11 digits.
std::optional<qint64> mergedAmount(const ImportValues& a, const ImportValues& b);
// A's file with the merged amount: the "12458=" line carries the amount and the "12456=" line is left empty,
// so no amount counts twice; every other line is copied as it is.
QStringList mergedLines(const QStringList& aLines, qint64 amount);

// The four sums of the two folders and their grand total.
struct MergeSums {
    ImportValues a;
    ImportValues b;
    qint64 total() const { return a.v12456 + a.v12458 + b.v12456 + b.v12458; }
};

// Adds a file's values to a folder's sums; false when a sum would leave the 64-bit range (the sums show on
// the screen only and may run past 11 digits).
bool addToSums(ImportValues& sums, const ImportValues& file);

// The screen's sum lines: "Összevonás előtt a 455. sor (állat): 0" and so on; `before` chooses the prefix.
QString sumLineAllat(bool before, qint64 value);
QString sumLineNoveny(bool before, qint64 value);
QString grandTotalLine(qint64 total);

} // namespace vardelo::returns
