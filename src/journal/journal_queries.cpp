#include "journal/journal_queries.h"

#include "data/dataset.h"
#include "data/immediate_write.h"
#include "data/query.h"

#include <QRegularExpression>
#include <QSet>

#include <algorithm>

namespace vardelo::journal {

namespace {

// The letter of a one-letter column, null when it has none.
QChar letterOf(const QVariant& value) {
    const QString text = value.toString();
    return text.isEmpty() ? QChar() : text.front();
}

// A constant of the program (a caption, a letter) as an SQL literal; values typed by the clerk are bound.
QString literal(const QString& constant) {
    return u'\'' + QString(constant).replace(u'\'', QStringLiteral("''")) + u'\'';
}

// The captions of the kinds and tables, worked out by the server so that the grid shows them as it fetches.
QString kindCaptionSql() {
    QString sql = QStringLiteral("CASE n.N_MUVELET");
    for (const auto& [letter, caption] : kindChoices())
        sql += QStringLiteral(" WHEN %1 THEN %2").arg(literal(letter), literal(caption));
    return sql + QStringLiteral(" ELSE n.N_MUVELET END");
}

QString tableCaptionSql() {
    QString sql = QStringLiteral("CASE n.N_TABLA");
    for (const JournalTable& table : journalTables())
        sql += QStringLiteral(" WHEN %1 THEN %2").arg(literal(table.letter), literal(table.caption));
    return sql + QStringLiteral(" ELSE n.N_TABLA END");
}

QStringList selectLines(bool withText) {
    return {
        QStringLiteral("SELECT n.ID_NAPLO, n.N_IDO, %1 AS MUVELET, ").arg(kindCaptionSql()),
        QStringLiteral("    %1 AS TABLA, n.N_SOR, n.N_AKOD, n.N_KULCS, ").arg(tableCaptionSql()),
        QStringLiteral("    TRIM(k.K_FELHASZNALO) || COALESCE(' (' || TRIM(k.K_OSFELHASZNALO) || ')', '') "
                       "AS FELHASZNALO, "),
        QStringLiteral("    COALESCE(TRIM(k.K_GEP), TRIM(k.K_CIM), 'ismeretlen gép') "
                       "|| COALESCE(' (' || k.K_FOLYAMAT || ')', '') AS MUNKAHELY, "),
        QStringLiteral("    k.K_PROGRAM AS PROGRAM, n.N_MUVELET, n.N_TABLA") +
            (withText ? QStringLiteral(", COALESCE(n.N_VALTOZAS, CAST(n.N_VALTOZAS_HOSSZU AS "
                                       "VARCHAR(16000))) AS VALTOZAS ")
                      : QStringLiteral(" "))};
}

// The conditions of the filter but the producer's, each on a line of its own, with their parameters.
QStringList commonConditions(const JournalFilter& filter, QueryParams& params) {
    QStringList lines;
    if (!filter.ticketNumber.isEmpty()) {
        lines << QStringLiteral(
            "    AND n.N_KULCS = :bszam AND n.N_AKOD = :akod AND n.N_TABLA IN ('F', 'S', 'A') ");
        params.emplace_back(QStringLiteral("bszam"), filter.ticketNumber);
        params.emplace_back(QStringLiteral("akod"), filter.purchaser);
    }
    if (filter.byDate) {
        lines << QStringLiteral("    AND n.N_IDO >= :tol AND n.N_IDO < :ig ");
        params.emplace_back(QStringLiteral("tol"), QDateTime(filter.from, QTime(0, 0)));
        params.emplace_back(QStringLiteral("ig"), QDateTime(filter.to.addDays(1), QTime(0, 0)));
    }
    if (!filter.kind.isNull()) {
        lines << QStringLiteral("    AND n.N_MUVELET = :muvelet ");
        params.emplace_back(QStringLiteral("muvelet"), QString(filter.kind));
    }
    return lines;
}

} // namespace

void openJournal(TZQuery* query, const JournalFilter& filter, bool withText) {
    QueryParams params;
    const QStringList conditions = commonConditions(filter, params);
    const QStringList select = selectLines(withText);
    const QString journalFrom =
        QStringLiteral("  FROM NAPLO n LEFT JOIN KAPCSOLAT k ON k.ID_KAPCSOLAT = n.N_KAPCSOLAT ");
    QStringList sql;
    if (!filter.producerCode.isEmpty()) {
        // The producer's own record, and the headers and lines of its tickets (found through the tickets, as
        // the lines do not name the producer): two indexed selections instead of a pass over the journal.
        params.emplace_back(QStringLiteral("okod"), filter.producerCode);
        sql << select << journalFrom << QStringLiteral("  WHERE n.N_TABLA = 'O' AND n.N_KULCS = :okod ")
            << conditions << QStringLiteral("UNION ALL ") << select
            << QStringLiteral("  FROM FJFEJ f JOIN NAPLO n ON n.N_KULCS = f.F_BSZAM AND n.N_AKOD = f.F_AKOD ")
            << QStringLiteral("    LEFT JOIN KAPCSOLAT k ON k.ID_KAPCSOLAT = n.N_KAPCSOLAT ")
            << QStringLiteral("  WHERE f.F_OSTERMKOD = :okod AND n.N_TABLA IN ('F', 'S') ") << conditions
            << QStringLiteral("  ORDER BY 2 DESC, 1 DESC ");
    } else {
        sql << select << journalFrom << QStringLiteral("  WHERE 1 = 1 ") << conditions;
        // A ticket's few entries are sorted; the whole journal, or a period of it, is read newest first
        // through the index on the time, without a sort.
        sql << (filter.ticketNumber.isEmpty()
                    ? QStringLiteral("  ORDER BY n.N_IDO DESC ")
                    : QStringLiteral("  ORDER BY n.N_IDO + 0 DESC, n.ID_NAPLO DESC "));
    }
    if (withText)
        query->SetWindowSize(500);
    openQuery(query, sql, params);
}

JournalEntry entryAt(TZQuery* list, int row) {
    auto value = [&](const char* name) {
        TField* field = list->FindField(QString::fromLatin1(name));
        return field ? list->ValueAt(row, field->Index()) : QVariant();
    };
    JournalEntry entry;
    entry.id = value("ID_NAPLO").toInt();
    entry.time = value("N_IDO").toDateTime();
    entry.table = letterOf(value("N_TABLA"));
    entry.row = value("N_SOR").toInt();
    entry.kind = letterOf(value("N_MUVELET"));
    entry.purchaser = value("N_AKOD").toString();
    const QVariant key = value("N_KULCS");
    if (!key.isNull())
        entry.key = key.toString();
    entry.user = value("FELHASZNALO").toString();
    entry.desk = value("MUNKAHELY").toString();
    entry.program = value("PROGRAM").toString();
    entry.text = value("VALTOZAS").toString();
    return entry;
}

JournalReader::JournalReader(TZQuery* scratch) : scratch_(scratch) {}

namespace {

// The key condition of an entry's lookups: its key, or the entries without one.
QString keyCondition(const std::optional<QString>& key, QueryParams& params) {
    if (!key)
        return QStringLiteral("N_KULCS IS NULL");
    params.emplace_back(QStringLiteral("kulcs"), *key);
    return QStringLiteral("N_KULCS = :kulcs");
}

const QString textColumn =
    QStringLiteral("COALESCE(N_VALTOZAS, CAST(N_VALTOZAS_HOSSZU AS VARCHAR(16000))) AS VALTOZAS");

// Rows a statement reads at once for many entries: the most parameters of one IN list.
constexpr int Batch = 200;

// Walks the rows of an opened query, then closes it; row(values) gets each row's values in column order.
void eachRow(TZQuery* query, const std::function<void(const QVariantList&)>& row) {
    for (query->First(); !query->IsEmpty() && !query->Eof(); query->Next()) {
        QVariantList values;
        for (int c = 0; c < query->FieldCount(); ++c)
            values << query->Fields(c).Value();
        row(values);
    }
    query->Close();
}

} // namespace

QString JournalReader::text(const JournalEntry& entry) {
    QueryParams params{{QStringLiteral("id"), entry.id}};
    const QString key = keyCondition(entry.key, params);
    openQuery(scratch_,
              {QStringLiteral("SELECT %1 FROM NAPLO ").arg(textColumn),
               QStringLiteral("  WHERE %1 AND ID_NAPLO = :id ").arg(key)},
              params);
    QString result;
    eachRow(scratch_, [&](const QVariantList& row) { result = row[0].toString(); });
    return result;
}

QStringList JournalReader::journalledColumns(const JournalTable& table) {
    if (const auto known = columns_.constFind(table.name); known != columns_.cend())
        return *known;
    openQuery(scratch_,
              {QStringLiteral("SELECT CAST(RDB$TRIGGER_SOURCE AS VARCHAR(32000)) FROM RDB$TRIGGERS "),
               QStringLiteral("  WHERE RDB$TRIGGER_NAME = :name ")},
              {{QStringLiteral("name"), table.name + QStringLiteral("_NAPLO")}});
    QString source;
    eachRow(scratch_, [&](const QVariantList& row) { source = row[0].toString(); });
    static const QRegularExpression column(QStringLiteral("NAPLO_ERTEK\\s*\\(\\s*'([A-Za-z0-9_$]+)'"));
    QStringList columns;
    for (auto it = column.globalMatch(source); it.hasNext();) {
        const QString name = it.next().captured(1).toUpper();
        if (!columns.contains(name))
            columns << name;
    }
    columns_.insert(table.name, columns);
    return columns;
}

ValueKind JournalReader::kindOf(const QString& column) {
    if (kinds_.isEmpty()) {
        QStringList names;
        for (const JournalTable& table : journalTables())
            names << literal(table.name);
        openQuery(
            scratch_,
            {QStringLiteral("SELECT TRIM(rf.RDB$FIELD_NAME), f.RDB$FIELD_TYPE, f.RDB$FIELD_SCALE "),
             QStringLiteral("  FROM RDB$RELATION_FIELDS rf "),
             QStringLiteral("  JOIN RDB$FIELDS f ON f.RDB$FIELD_NAME = rf.RDB$FIELD_SOURCE "),
             QStringLiteral("  WHERE rf.RDB$RELATION_NAME IN (%1) ").arg(names.join(QStringLiteral(", ")))});
        eachRow(scratch_, [this](const QVariantList& row) {
            const int type = row[1].toInt();
            // Dates, time stamps and the numeric types of the engine; everything else is text.
            const ValueKind kind =
                type == 12   ? ValueKind::Date
                : type == 35 ? ValueKind::Timestamp
                : (type == 7 || type == 8 || type == 16 || type == 10 || type == 27 || type == 26)
                    ? ValueKind::Number
                    : ValueKind::Text;
            kinds_.insert(row[0].toString(), kind);
        });
    }
    return kinds_.value(column, ValueKind::Text);
}

QList<RowEntry> JournalReader::laterEntries(const JournalEntry& insert) {
    QList<RowEntry> entries;
    const JournalTable* table = tableByLetter(insert.table);
    std::optional<QString> key = insert.key;
    int after = insert.id;
    // A change of the row's key moves its later entries under the new key.
    for (int hops = 0; hops < 100; ++hops) {
        QueryParams params{{QStringLiteral("tabla"), QString(insert.table)},
                           {QStringLiteral("sor"), insert.row},
                           {QStringLiteral("utan"), after}};
        const QString keyWhere = keyCondition(key, params);
        openQuery(scratch_,
                  {QStringLiteral("SELECT ID_NAPLO, N_MUVELET, %1 FROM NAPLO ").arg(textColumn),
                   QStringLiteral("  WHERE %1 AND N_TABLA = :tabla AND N_SOR = :sor AND ID_NAPLO > :utan ")
                       .arg(keyWhere),
                   QStringLiteral("  ORDER BY ID_NAPLO ")},
                  params);
        std::optional<QString> movedTo;
        bool ended = false;
        eachRow(scratch_, [&](const QVariantList& row) {
            if (movedTo || ended)
                return;
            const RowEntry entry{row[0].toInt(), letterOf(row[1]), row[2].toString()};
            entries.append(entry);
            if (entry.kind == u'T') {
                ended = true;
                return;
            }
            if (table)
                if (const auto moved = changedKey(table->keyColumn, entry.text); moved && *moved != key) {
                    movedTo = *moved;
                    after = entry.id;
                }
        });
        if (!movedTo || ended)
            break;
        key = movedTo->isEmpty() ? std::nullopt : movedTo;
    }
    return entries;
}

QHash<int, QHash<QString, std::optional<QString>>> JournalReader::currentValues(const JournalTable& table,
                                                                                const QList<int>& rows) {
    QHash<int, QHash<QString, std::optional<QString>>> values;
    const QStringList columns = journalledColumns(table);
    if (columns.isEmpty() || rows.isEmpty())
        return values;
    // The columns come from the trigger's text (names only) and the table from the program's own list.
    QStringList select;
    for (const QString& column : columns)
        select << QStringLiteral("CAST(\"%1\" AS VARCHAR(4000))").arg(column);
    QStringList markers;
    QueryParams params;
    for (int i = 0; i < rows.size(); ++i) {
        markers << QStringLiteral(":r%1").arg(i);
        params.emplace_back(QStringLiteral("r%1").arg(i), rows[i]);
    }
    openQuery(scratch_,
              {QStringLiteral("SELECT ID_%1, %2 FROM %1 ").arg(table.name, select.join(QStringLiteral(", "))),
               QStringLiteral("  WHERE ID_%1 IN (%2) ").arg(table.name, markers.join(QStringLiteral(", ")))},
              params);
    eachRow(scratch_, [&](const QVariantList& row) {
        QHash<QString, std::optional<QString>>& current = values[row[0].toInt()];
        for (int c = 0; c < columns.size(); ++c)
            current.insert(columns[c],
                           row[c + 1].isNull() ? std::nullopt : std::optional(row[c + 1].toString()));
    });
    return values;
}

QHash<int, QList<RowEntry>> JournalReader::entriesUnderKeys(QChar table, const QStringList& keys,
                                                            bool nullKey) {
    QHash<int, QList<RowEntry>> byRow;
    QStringList conditions;
    QueryParams params{{QStringLiteral("tabla"), QString(table)}};
    QStringList markers;
    for (int i = 0; i < keys.size(); ++i) {
        markers << QStringLiteral(":k%1").arg(i);
        params.emplace_back(QStringLiteral("k%1").arg(i), keys[i]);
    }
    if (!markers.isEmpty())
        conditions << QStringLiteral("N_KULCS IN (%1)").arg(markers.join(QStringLiteral(", ")));
    if (nullKey)
        conditions << QStringLiteral("N_KULCS IS NULL");
    if (conditions.isEmpty())
        return byRow;
    openQuery(
        scratch_,
        {QStringLiteral("SELECT N_SOR, ID_NAPLO, N_MUVELET, %1 FROM NAPLO ").arg(textColumn),
         QStringLiteral("  WHERE (%1) AND N_TABLA = :tabla ").arg(conditions.join(QStringLiteral(" OR "))),
         QStringLiteral("  ORDER BY ID_NAPLO ")},
        params);
    eachRow(scratch_, [&](const QVariantList& row) {
        byRow[row[0].toInt()].append({row[1].toInt(), letterOf(row[2]), row[3].toString()});
    });
    return byRow;
}

QList<ColumnChange> JournalReader::changes(const JournalEntry& entry) {
    if (entry.kind != u'U')
        return parseChanges(entry.text.isEmpty() ? text(entry) : entry.text);
    const JournalTable* table = tableByLetter(entry.table);
    if (!table)
        return {};
    const auto current = currentValues(*table, {entry.row});
    return insertedValues(journalledColumns(*table), laterEntries(entry), current.value(entry.row));
}

QList<QList<ColumnChange>> JournalReader::changes(const QList<JournalEntry>& entries,
                                                  const std::function<void(int)>& progress) {
    QList<QList<ColumnChange>> result(entries.size());
    // Inserts are worked out a batch at a time: their rows as they are now, and every entry under their keys.
    for (int start = 0; start < entries.size(); start += Batch) {
        const int end = std::min<int>(int(entries.size()), start + Batch);
        QHash<QChar, QList<int>> insertsByTable;
        for (int i = start; i < end; ++i) {
            if (entries[i].kind == u'U')
                insertsByTable[entries[i].table].append(i);
            else
                result[i] = parseChanges(entries[i].text);
        }
        for (auto it = insertsByTable.cbegin(); it != insertsByTable.cend(); ++it) {
            const JournalTable* table = tableByLetter(it.key());
            if (!table)
                continue;
            QList<int> rows;
            QStringList keys;
            bool nullKey = false;
            for (int i : it.value()) {
                if (!rows.contains(entries[i].row))
                    rows << entries[i].row;
                if (!entries[i].key)
                    nullKey = true;
                else if (!keys.contains(*entries[i].key))
                    keys << *entries[i].key;
            }
            const auto current = currentValues(*table, rows);
            const auto underKeys = entriesUnderKeys(it.key(), keys, nullKey);
            const QStringList columns = journalledColumns(*table);
            for (int i : it.value()) {
                const JournalEntry& insert = entries[i];
                QList<RowEntry> later;
                bool moved = false;
                for (const RowEntry& entry : underKeys.value(insert.row)) {
                    if (entry.id <= insert.id)
                        continue;
                    later.append(entry);
                    if (entry.kind == u'T')
                        break;
                    if (const auto key = changedKey(table->keyColumn, entry.text);
                        key && *key != insert.key) {
                        moved = true;
                        break;
                    }
                }
                // A row whose key changed is followed entry by entry.
                if (moved)
                    later = laterEntries(insert);
                result[i] = insertedValues(columns, later, current.value(insert.row));
            }
        }
        if (progress)
            progress(end);
    }
    return result;
}

} // namespace vardelo::journal
