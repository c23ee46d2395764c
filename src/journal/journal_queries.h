#pragma once

#include "journal/journal_rules.h"

#include <QDateTime>
#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

class TZQuery;

// The statements of the journal window, its print and its export. A database error is raised to the caller.
namespace vardelo::journal {

// The list: the entries the filter lets through, newest first, with the columns the grid shows (ID_NAPLO,
// N_IDO, MUVELET, TABLA, N_SOR, N_AKOD, N_KULCS, FELHASZNALO, MUNKAHELY, PROGRAM) and the letters N_MUVELET
// and N_TABLA; withText adds VALTOZAS, the entry's text.
void openJournal(TZQuery* query, const JournalFilter& filter, bool withText = false);

// The entry at a row of the list opened by openJournal (its text only when the list has it).
JournalEntry entryAt(TZQuery* list, int row);

// Reads what the journal's entries need beside their text: the columns each table's trigger journals, the
// kinds of the columns' values, the text of an entry, and the values an insert stored. It uses one query of
// its own.
class JournalReader {
public:
    explicit JournalReader(TZQuery* scratch);

    // The entry's text, read by its key and id.
    QString text(const JournalEntry& entry);
    // What an entry shows: the changed columns of a change, a delete or a print; the values an insert stored.
    QList<ColumnChange> changes(const JournalEntry& entry);
    // The same for many entries at once (print, export); the entries carry their text. progress(done) is
    // called as they are read.
    QList<QList<ColumnChange>> changes(const QList<JournalEntry>& entries,
                                       const std::function<void(int)>& progress = {});

    // The columns a table's trigger journals, in its order.
    QStringList journalledColumns(const JournalTable& table);
    ValueKind kindOf(const QString& column);

private:
    // The entries of a row after an entry, oldest first, following the row's key where an entry changed it.
    QList<RowEntry> laterEntries(const JournalEntry& insert);
    // The journalled columns of rows now, in the engine's text form, by row id.
    QHash<int, QHash<QString, std::optional<QString>>> currentValues(const JournalTable& table,
                                                                     const QList<int>& rows);
    // The entries of a table under the keys, by row: id, kind and text, oldest first.
    QHash<int, QList<RowEntry>> entriesUnderKeys(QChar table, const QStringList& keys, bool nullKey);

    TZQuery* scratch_;
    QHash<QString, QStringList> columns_;
    QHash<QString, ValueKind> kinds_;
};

} // namespace vardelo::journal
