#pragma once

#include <QDate>
#include <QString>
#include <QStringList>
#include <array>
#include <functional>
#include <vector>

// The rules of the ticket data check: the twenty checks of the batch run over the ticket lines of a period,
// and the single checks of a typed tax number, tax identifier, TAJ number and birth date. Plain functions
// without widgets; the check window calls them.
namespace vardelo::lists {

// The columns the batch check reads from each ticket line (joined to its header and producer).
enum class CheckColumn {
    SBszam,
    STermekkod,
    SNetto,
    SEar,
    SKompmerteke,
    FOstermkod,
    FSzja,
    FPrn,
    OAdoszam,
    OAdoazon,
    OTaj,
    ONev,
    OIrszam,
    OHelysegnev,
    OUtca,
    OIgszam,
    OSzulhely,
    OSzido,
    OAnyja,
    ONeme,
    OSzulnev,
    Count
};
constexpr int kCheckColumnCount = int(CheckColumn::Count);

// The column names in the collected list, in the order of CheckColumn.
const std::array<QString, kCheckColumnCount>& checkColumnNames();

// One ticket line, every value as its text (a null column is the empty text).
struct CheckRow {
    std::array<QString, kCheckColumnCount> values;
    const QString& operator[](CheckColumn column) const { return values[size_t(column)]; }
    QString& operator[](CheckColumn column) { return values[size_t(column)]; }
};

// A check of the batch: its name and the column it tests.
struct BatchCheck {
    QString name;
    CheckColumn column;
    // The message for a failing value, a null text when the value passes.
    QString (*verdict)(const QString& value);
    // Checks 1 to 3 name the tested value and the producer after the message; the others the ticket number.
    bool namesProducer;
};
constexpr int kBatchCheckCount = 20;
const std::array<BatchCheck, kBatchCheckCount>& batchChecks();

// The failure line of one check for one row, a null text when the row passes.
QString failureLine(const BatchCheck& check, const CheckRow& row);

// The memo lines of the batch check, handed over in blocks of at most blockLines lines (every check's opening
// and closing lines, its failure lines, and the closing hint), so that a screen can show them as they come.
// With lineRows, each line handed over also adds the index of the row it reports on (-1 for the opening,
// closing and hint lines), so a screen can lead from a line to its ticket.
void runBatchCheck(const std::vector<CheckRow>& rows, int blockLines,
                   const std::function<void(const QStringList& block)>& append,
                   std::vector<int>* lineRows = nullptr);
// The whole memo text of the batch check as lines.
QStringList batchCheckLines(const std::vector<CheckRow>& rows);

// The single checks of the "Adatok" tab: the message each writes into its label, and whether it beeps.
struct SingleVerdict {
    QString message;
    bool beep = false;
};
SingleVerdict checkTypedAdoszam(const QString& text);
SingleVerdict checkTypedAdoazon(const QString& text);
SingleVerdict checkTypedTaj(const QString& text);

// Days from 1867.01.01 to the date (its absolute difference): characters 2 to 6 of a tax identifier hold it.
qint64 daysSince1867(const QDate& date);
// Characters 2-6 of a tax identifier read as a number equal the day count of the birth date. Characters that
// are not digits never match.
bool birthDateMatches(const QString& adoazon, const QDate& birthDate);

// The "Napok" tab: the texts of its two value labels and its message.
struct DaysVerdict {
    QString fromIdentifier; // characters 2-6 of the tax identifier
    QString dayCount;       // days since 1867.01.01 in the general number format
    SingleVerdict verdict;
};
DaysVerdict checkTypedDays(const QString& adoazon, const QDate& birthDate);

} // namespace vardelo::lists
