#pragma once

#include <QString>
#include <QStringList>
#include <optional>

// The arithmetic of the merge of two sets of import files: the values a file carries on its "12456=" and
// "12458=" lines, the key that pairs two files of one producer, and the merged file's lines. Sums are 64-bit.
namespace vardelo::returns {

struct ImportValues {
    qint64 v12456 = 0; // the "(állat)" amount
    qint64 v12458 = 0; // the "(növény)" amount, where the collection writes its amount
};

// The key of a file name: its last 15 characters ("_" + tax identifier + ".imp"), the whole name when
// shorter.
QString mergeKey(const QString& fileName);

// The value of one line: the text after "=" without surrounding blanks, 0 when nothing remains. Nothing when
// the text is not a whole number (or beyond 64 bits).
std::optional<qint64> lineValue(const QString& line);

// The sums of a file's values: every "12456=" and "12458=" line counts. Nothing when a value is not a whole
// number; then *badLine (if given) is that line.
std::optional<ImportValues> summedValues(const QStringList& lines, QString* badLine = nullptr);
// The values a file carries for the merge: the last line of each kind counts.
std::optional<ImportValues> lastValues(const QStringList& lines, QString* badLine = nullptr);

// A's file with the merged amount: the "12458=" line carries the four values added up and the "12456=" line
// is left empty, so no amount counts twice; every other line is copied as it is.
QStringList mergedLines(const QStringList& aLines, const ImportValues& a, const ImportValues& b);

// The four sums of the two folders and their grand total.
struct MergeSums {
    ImportValues a;
    ImportValues b;
    qint64 total() const { return a.v12456 + a.v12458 + b.v12456 + b.v12458; }
};

// The screen's sum lines: "Összevonás előtt a 455. sor (állat): 0" and so on; `before` chooses the prefix.
QString sumLineAllat(bool before, qint64 value);
QString sumLineNoveny(bool before, qint64 value);
QString grandTotalLine(qint64 total);

} // namespace vardelo::returns
