#include "data/row_check.h"

#include "data/connection.h"
#include "data/dataset.h"
#include "data/field.h"
#include "data/firebird_api.h"
#include "data/transaction.h"

#include <QHash>

namespace vardelo {

namespace {

// Captions as the windows show them, for the columns a clerk changes.
const QHash<QString, QString>& captions() {
    static const QHash<QString, QString> table{
        // Ticket headers.
        {QStringLiteral("F_BSZAM"), QStringLiteral("Sorszám")},
        {QStringLiteral("F_OSTERMKOD"), QStringLiteral("Őstermelő")},
        {QStringLiteral("F_KELT"), QStringLiteral("Kiállítás")},
        {QStringLiteral("F_FELVKELT"), QStringLiteral("Felvásárlás")},
        {QStringLiteral("F_FIZKELT"), QStringLiteral("Összeg átvétel/átutalás")},
        {QStringLiteral("F_UTAL"), QStringLiteral("Átutalással")},
        {QStringLiteral("F_PRN"), QStringLiteral("Nyomtatva")},
        {QStringLiteral("F_SZJA"), QStringLiteral("Szja %")},
        {QStringLiteral("F_JARULSZAZ"), QStringLiteral("Tagi h.járul.%")},
        {QStringLiteral("F_LEVONAS"), QStringLiteral("Levonás (Ft)")},
        {QStringLiteral("F_MEGJ"), QStringLiteral("Megjegyzés")},
        {QStringLiteral("F_NYILATK"), QStringLiteral("Nyilatkozat")},
        {QStringLiteral("F_AKOD"), QStringLiteral("Átvevőkód")},
        // Ticket lines.
        {QStringLiteral("S_BSZAM"), QStringLiteral("Bszám")},
        {QStringLiteral("S_TERMEKKOD"), QStringLiteral("Állatkód")},
        {QStringLiteral("S_MEGNEVEZES"), QStringLiteral("Megnevezés")},
        {QStringLiteral("S_VTSZ"), QStringLiteral("VTSZ")},
        {QStringLiteral("S_BRUTTO"), QStringLiteral("Bruttó menny")},
        {QStringLiteral("S_LEVONSZAZ"), QStringLiteral("Súlylevon.%")},
        {QStringLiteral("S_MEGY"), QStringLiteral("Menny. egys.")},
        {QStringLiteral("S_EAR"), QStringLiteral("Egységár")},
        {QStringLiteral("S_KOMPMERTEKE"), QStringLiteral("Komp.mértéke")},
        {QStringLiteral("S_AKOD"), QStringLiteral("Átvevőkód")},
        {QStringLiteral("S_SZJA"), QStringLiteral("Szja %")},
        {QStringLiteral("S_MUNKAHELY"), QStringLiteral("Munkahely")},
        {QStringLiteral("S_MUNKAIDO"), QStringLiteral("Munkahely ideje")},
        // Producers.
        {QStringLiteral("O_KOD"), QStringLiteral("Kód")},
        {QStringLiteral("O_NEV"), QStringLiteral("Neve")},
        {QStringLiteral("O_IRSZAM"), QStringLiteral("Ir.szám")},
        {QStringLiteral("O_HELYSEGNEV"), QStringLiteral("Helységnév")},
        {QStringLiteral("O_UTCA"), QStringLiteral("Utca")},
        {QStringLiteral("O_ADOAZON"), QStringLiteral("Adóazonositó")},
        {QStringLiteral("O_IGSZAM"), QStringLiteral("Ősterm.Ig.szám")},
        {QStringLiteral("O_REGSZAM"), QStringLiteral("Reg.szám")},
        {QStringLiteral("O_SZJA"), QStringLiteral("Szja")},
        {QStringLiteral("O_SZULHELY"), QStringLiteral("Születési hely")},
        {QStringLiteral("O_SZIDO"), QStringLiteral("Születési idő")},
        {QStringLiteral("O_ANYJA"), QStringLiteral("Anyja neve")},
        {QStringLiteral("O_CSGAZD"), QStringLiteral("Családi gazd.szám")},
        {QStringLiteral("O_NEME"), QStringLiteral("Neme")},
        {QStringLiteral("O_SZULNEV"), QStringLiteral("Születési név")},
        {QStringLiteral("O_TAJ"), QStringLiteral("TAJ")},
        {QStringLiteral("O_ADOSZAM"), QStringLiteral("Adószám")},
        {QStringLiteral("O_BANKSZLA"), QStringLiteral("Bank szla")},
        {QStringLiteral("O_ERVKELT"), QStringLiteral("Érvényesitve")},
        // Animals.
        {QStringLiteral("T_KOD"), QStringLiteral("Kód")},
        {QStringLiteral("T_MEGNEVEZES"), QStringLiteral("Megnevezés")},
        {QStringLiteral("T_VTSZ"), QStringLiteral("VTSZ")},
        {QStringLiteral("T_EAR"), QStringLiteral("Egységár")},
        {QStringLiteral("T_MEGY"), QStringLiteral("Menny.egység")},
        {QStringLiteral("T_KOMPMERTEKE"), QStringLiteral("Komp.mértéke")},
        // The purchaser.
        {QStringLiteral("V_AKOD"), QStringLiteral("Kód")},
        {QStringLiteral("V_NEVE"), QStringLiteral("Átvevő neve")},
        {QStringLiteral("V_HELYSEG"), QStringLiteral("Helységnév")},
        {QStringLiteral("V_UTCA"), QStringLiteral("Utca")},
        {QStringLiteral("V_IRSZAM"), QStringLiteral("Irányitószám")},
        {QStringLiteral("V_ADOSZAM"), QStringLiteral("Adószám")},
        {QStringLiteral("V_ADOAZON"), QStringLiteral("Adóazonositó")},
        {QStringLiteral("V_BANKSZLA"), QStringLiteral("Bankszámlaszám")},
        {QStringLiteral("V_NYILATK"), QStringLiteral("Nyilatkozat szövege")},
        {QStringLiteral("V_VERZIO"), QStringLiteral("Verzió")},
        // The ticket numbers.
        {QStringLiteral("A_FJBSZAM"), QStringLiteral("Utolsó sorszám")},
    };
    return table;
}

QString keyColumnOf(const QString& table) {
    return QStringLiteral("ID_") + table.trimmed().toUpper();
}

// A value as the clerk knows it: the screens' text, and "(üres)" for nothing.
QString shownValue(const QVariant& value) {
    const QString text = value.isNull() ? QString() : fieldValueText(value);
    return text.trimmed().isEmpty() ? QStringLiteral("(üres)") : QStringLiteral("„%1”").arg(text);
}

// Null and blanks are the same to every screen (a printed mark of null or " " is "not printed").
bool sameValue(const QVariant& read, const QVariant& now) {
    auto text = [](const QVariant& v) { return v.isNull() ? QString() : fieldValueText(v); };
    if (read.isNull() || now.isNull())
        return text(read).trimmed().isEmpty() && text(now).trimmed().isEmpty();
    return read == now || text(read) == text(now);
}

// The table's stored columns: those a save can overwrite.
QStringList storedColumns(TTransaction* transaction, const QString& table) {
    const auto rows =
        fb::executeRows(transaction->Connection()->Attachment(), transaction->Handle(),
                        QStringLiteral("SELECT TRIM(rf.RDB$FIELD_NAME) FROM RDB$RELATION_FIELDS rf "
                                       "JOIN RDB$FIELDS f ON f.RDB$FIELD_NAME = rf.RDB$FIELD_SOURCE "
                                       "WHERE rf.RDB$RELATION_NAME = ? AND f.RDB$COMPUTED_BLR IS NULL"),
                        {table});
    QStringList columns;
    for (const auto& row : rows)
        columns << row.at(0).toString();
    return columns;
}

// Columns no clerk writes: F_NYMOD is dated by the journal's triggers when any desk, this one too, changes a
// line of a printed ticket; S_MUNKAIDO is only the time an unsaved line was last written. Neither is a change
// a save could overwrite.
bool notCompared(const QString& column) {
    return column == QLatin1String("F_NYMOD") || column == QLatin1String("S_MUNKAIDO");
}

} // namespace

RowAsRead rowAsRead(TDataSet& dataSet, const QString& table) {
    RowAsRead row;
    if (!dataSet.Active() || dataSet.IsEmpty())
        return row;
    const QString keyColumn = keyColumnOf(table);
    const TField* key = dataSet.FindField(keyColumn);
    if (!key || key->IsNull())
        return row;
    row.table = table.trimmed().toUpper();
    row.keyColumn = keyColumn;
    row.key = key->Value();
    for (int i = 0; i < dataSet.FieldCount(); ++i)
        row.values.emplace_back(dataSet.Fields(i).FieldName(), dataSet.TDataSet::CurrentValue(i));
    return row;
}

ERowChanged::ERowChanged(const QString& message, bool deleted, QStringList changes)
    : EDatabaseError(message), deleted_(deleted), changes_(std::move(changes)) {}

ERowChanged ERowChanged::deleted() {
    return ERowChanged(RowDeletedText, true, {});
}

ERowChanged ERowChanged::changed(const QStringList& changes) {
    return ERowChanged(QStringLiteral("Ezt az adatot közben egy másik munkahely módosította: %1.")
                           .arg(changes.join(QStringLiteral("; "))),
                       false, changes);
}

void checkRowUnchanged(TTransaction* transaction, const RowAsRead& row) {
    if (row.isEmpty())
        return;
    if (!transaction->Active())
        transaction->StartTransaction();
    const QStringList stored = storedColumns(transaction, row.table);
    QStringList columns;
    std::vector<QVariant> read;
    for (const auto& [column, value] : row.values)
        if (stored.contains(column) && !columns.contains(column) && !notCompared(column)) {
            columns << column;
            read.push_back(value);
        }
    if (columns.isEmpty())
        columns << row.keyColumn;
    // The names come from the system tables, never from typed text.
    const auto now = fb::executeSingle(transaction->Connection()->Attachment(), transaction->Handle(),
                                       QStringLiteral("SELECT %1 FROM %2 WHERE %3 = ? WITH LOCK")
                                           .arg(columns.join(QStringLiteral(", ")), row.table, row.keyColumn),
                                       {row.key});
    if (now.empty())
        throw ERowChanged::deleted();
    QStringList changes;
    for (size_t i = 0; i < read.size(); ++i)
        if (!sameValue(read[i], now[i]))
            changes << QStringLiteral("%1: %2 helyett most %3")
                           .arg(columnCaption(columns[int(i)]), shownValue(read[i]), shownValue(now[i]));
    if (!changes.isEmpty())
        throw ERowChanged::changed(changes);
}

bool lockRowsWhere(TTransaction* transaction, const QString& table, const QString& column,
                   const QVariant& value) {
    if (!transaction->Active())
        transaction->StartTransaction();
    return !fb::executeRows(transaction->Connection()->Attachment(), transaction->Handle(),
                            QStringLiteral("SELECT %1 FROM %2 WHERE %1 = ? WITH LOCK").arg(column, table),
                            {value})
                .empty();
}

void requireRowChanged(int rowsChanged) {
    if (rowsChanged == 0)
        throw ERowChanged::deleted();
}

QString columnCaption(const QString& column) {
    return captions().value(column.toUpper(), column);
}

} // namespace vardelo
