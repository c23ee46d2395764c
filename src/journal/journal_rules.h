#pragma once

#include <QDate>
#include <QDateTime>
#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

// The journal's entries as the window, the print and the export show them: the changed columns read from an
// entry's text, the values in the program's own forms, the values an insert stored worked out from the row's
// later changes, and the window's filter.
namespace vardelo::journal {

// A journalled table: the letter the journal names it by (its columns' prefix), its name, its caption, the
// column its entries are looked up by.
struct JournalTable {
    QChar letter;
    QString name;
    QString caption;
    QString keyColumn;
};

// The six tables, in the order of the DDL.
const QList<JournalTable>& journalTables();
// The table of a letter or of a name, nullptr for one the journal does not know.
const JournalTable* tableByLetter(QChar letter);
const JournalTable* tableByName(const QString& name);

// The kinds of change: U insert, M change, T delete, N print.
QString kindCaption(QChar kind);
// The kinds offered by the window's filter, after "(mind)": their letters and captions.
const QList<QPair<QChar, QString>>& kindChoices();

// One column of an entry: its value before and after the change, as the engine wrote them (null: no value).
struct ColumnChange {
    QString column;
    std::optional<QString> before;
    std::optional<QString> after;
    bool operator==(const ColumnChange&) const = default;
};

// Reads an entry's text: one line for each column, "<column> <before> <after>", a value as "<length>:<text>"
// or
// "-" for null. A line that does not read so ends the reading (what was read before it stays).
QList<ColumnChange> parseChanges(const QString& text);
// Writes the text parseChanges reads (the journal's triggers write the same).
QString changesText(const QList<ColumnChange>& changes);

// The kind of value a column holds, for showing it.
enum class ValueKind { Text, Number, Date, Timestamp };
// A value in the form the screens show it: numbers with the decimal comma and no trailing zeros, dates as
// "2010.08.31.", a time stamp with its time to the second; text as it is; null as empty.
QString valueText(const std::optional<QString>& value, ValueKind kind);

// "Megjegyzés (F_MEGJ)": a column's caption with its name; a column the program does not know by its name.
QString columnCaption(const QString& column);

// An entry of the journal as the window lists it.
struct JournalEntry {
    int id = 0;
    QDateTime time;
    QChar table;
    int row = 0;
    QChar kind;
    QString purchaser;
    std::optional<QString> key;
    QString user;
    QString desk;
    QString program;
    QString text;
};

// A line of the print and of the export: an entry with one of its columns (or none, for an entry that shows
// no column), its values shown as the window shows them.
struct JournalLine {
    int entry = 0;
    QDateTime time;
    QString kind;
    QString table;
    int row = 0;
    QString purchaser;
    QString key;
    QString user;
    QString desk;
    QString program;
    QString column;
    QString before;
    QString after;
};

// The lines of entries and their columns (changes[i] belongs to entries[i]); kindOf tells how a column's
// values are shown.
QList<JournalLine> journalLines(const QList<JournalEntry>& entries, const QList<QList<ColumnChange>>& changes,
                                const std::function<ValueKind(const QString&)>& kindOf);

// An entry of the journal as far as working out an insert needs it.
struct RowEntry {
    int id = 0;
    QChar kind;
    QString text;
};

// The values an insert stored: each journalled column's value before its first later change (or the row's
// delete), else its value in the row now. `later` are the row's entries after the insert, oldest first;
// `current` the row's journalled columns now (empty when the row is gone). Columns null at the insert are
// left out; the order is that of `columns`.
QList<ColumnChange> insertedValues(const QStringList& columns, const QList<RowEntry>& later,
                                   const QHash<QString, std::optional<QString>>& current);

// The key a row is looked up by after an entry changed it (the entry's after value of the key column), or
// nothing when the entry left it as it was.
std::optional<QString> changedKey(const QString& keyColumn, const QString& text);

// The window's filter. Empty texts and an unset kind do not filter.
struct JournalFilter {
    QString ticketNumber; // the current purchaser's ticket: its header, lines and number row
    QString purchaser;    // the purchaser code the ticket number belongs to
    QString producerCode; // the producer's own record and the headers and lines of its tickets
    bool byDate = false;
    QDate from;
    QDate to;
    QChar kind;
};

// Why a filter cannot be used, in the window's words; empty when it can.
QString filterRefusal(const JournalFilter& filter);
// The filter in words for the print's heading: "Bizonylatszám: 20000153; Időszak: 2010.08.01. - 2010.08.31.";
// "Minden bejegyzés" without a filter.
QString filterDescription(const JournalFilter& filter);

} // namespace vardelo::journal
