#include "journal/journal_rules.h"

#include "data/text_formats.h"

#include <QDateTime>
#include <QRegularExpression>

namespace vardelo::journal {

const QList<JournalTable>& journalTables() {
    static const QList<JournalTable> tables{
        {u'V', QStringLiteral("ATVEVO"), QStringLiteral("Átvevő"), QStringLiteral("V_AKOD")},
        {u'F', QStringLiteral("FJFEJ"), QStringLiteral("Jegy"), QStringLiteral("F_BSZAM")},
        {u'S', QStringLiteral("FJSOR"), QStringLiteral("Jegy tétele"), QStringLiteral("S_BSZAM")},
        {u'O', QStringLiteral("OSTERMELO"), QStringLiteral("Őstermelő"), QStringLiteral("O_KOD")},
        {u'A', QStringLiteral("SORSZAM"), QStringLiteral("Sorszám"), QStringLiteral("A_FJBSZAM")},
        {u'T', QStringLiteral("TERMEK"), QStringLiteral("Állat"), QStringLiteral("T_KOD")},
    };
    return tables;
}

const JournalTable* tableByLetter(QChar letter) {
    for (const JournalTable& table : journalTables())
        if (table.letter == letter)
            return &table;
    return nullptr;
}

const JournalTable* tableByName(const QString& name) {
    for (const JournalTable& table : journalTables())
        if (table.name.compare(name.trimmed(), Qt::CaseInsensitive) == 0)
            return &table;
    return nullptr;
}

const QList<QPair<QChar, QString>>& kindChoices() {
    static const QList<QPair<QChar, QString>> kinds{{u'U', QStringLiteral("Új")},
                                                    {u'M', QStringLiteral("Módosítás")},
                                                    {u'T', QStringLiteral("Törlés")},
                                                    {u'N', QStringLiteral("Nyomtatás")}};
    return kinds;
}

QString kindCaption(QChar kind) {
    for (const auto& [letter, caption] : kindChoices())
        if (letter == kind)
            return caption;
    return QString(kind);
}

namespace {

// One value of a line, from position `at`: "-" or "<length>:<text>". Moves `at` past it; false when the text
// does not read so.
bool readValue(const QString& line, qsizetype& at, std::optional<QString>& value) {
    if (at >= line.size())
        return false;
    if (line[at] == u'-') {
        value.reset();
        ++at;
        return true;
    }
    const qsizetype colon = line.indexOf(u':', at);
    if (colon <= at)
        return false;
    bool ok = false;
    const qsizetype length = line.mid(at, colon - at).toLongLong(&ok);
    if (!ok || length < 0 || colon + 1 + length > line.size())
        return false;
    value = line.mid(colon + 1, length);
    at = colon + 1 + length;
    return true;
}

QString valueForm(const std::optional<QString>& value) {
    return value ? QString::number(value->size()) + u':' + *value : QStringLiteral("-");
}

} // namespace

QList<ColumnChange> parseChanges(const QString& text) {
    QList<ColumnChange> changes;
    qsizetype at = 0;
    while (at < text.size()) {
        const qsizetype blank = text.indexOf(u' ', at);
        if (blank <= at)
            break;
        ColumnChange change;
        change.column = text.mid(at, blank - at);
        at = blank + 1;
        if (!readValue(text, at, change.before) || at >= text.size() || text[at] != u' ')
            break;
        ++at;
        if (!readValue(text, at, change.after))
            break;
        // Each line ends in a line feed (the last one may lack it).
        if (at < text.size() && text[at] != u'\n')
            break;
        ++at;
        changes.append(change);
    }
    return changes;
}

QString changesText(const QList<ColumnChange>& changes) {
    QString text;
    for (const ColumnChange& change : changes)
        text += change.column + u' ' + valueForm(change.before) + u' ' + valueForm(change.after) + u'\n';
    return text;
}

QString valueText(const std::optional<QString>& value, ValueKind kind) {
    if (!value)
        return QString();
    const QString& raw = *value;
    switch (kind) {
    case ValueKind::Text:
        return raw;
    case ValueKind::Number: {
        // An exact decimal ("100.0000", "-12.5000") keeps its digits; a double's form goes through double.
        static const QRegularExpression decimal(QStringLiteral("^(-?\\d+)(?:\\.(\\d*))?$"));
        const auto m = decimal.match(raw.trimmed());
        if (m.hasMatch()) {
            QString fraction = m.captured(2);
            while (fraction.endsWith(u'0'))
                fraction.chop(1);
            return fraction.isEmpty() ? m.captured(1) : m.captured(1) + u',' + fraction;
        }
        bool ok = false;
        const double number = raw.toDouble(&ok);
        return ok ? shortestNumberText(number) : raw;
    }
    case ValueKind::Date: {
        const QDate date = QDate::fromString(raw.trimmed(), QStringLiteral("yyyy-MM-dd"));
        return date.isValid() ? dateText(date) : raw;
    }
    case ValueKind::Timestamp: {
        const QString trimmed = raw.trimmed();
        const QDate date = QDate::fromString(trimmed.left(10), QStringLiteral("yyyy-MM-dd"));
        if (!date.isValid())
            return raw;
        const QString time = trimmed.mid(11, 8);
        return time.isEmpty() ? dateText(date) : dateText(date) + u' ' + time;
    }
    }
    return raw;
}

QString columnCaption(const QString& column) {
    static const QHash<QString, QString> captions{
        {QStringLiteral("V_NEVE"), QStringLiteral("Név")},
        {QStringLiteral("V_HELYSEG"), QStringLiteral("Helység")},
        {QStringLiteral("V_UTCA"), QStringLiteral("Utca")},
        {QStringLiteral("V_IRSZAM"), QStringLiteral("Irányítószám")},
        {QStringLiteral("V_ADOSZAM"), QStringLiteral("Adószám")},
        {QStringLiteral("V_BANKSZLA"), QStringLiteral("Bankszámla")},
        {QStringLiteral("V_ADOAZON"), QStringLiteral("Adóazonosító")},
        {QStringLiteral("V_NYILATK"), QStringLiteral("Nyilatkozat")},
        {QStringLiteral("V_AKOD"), QStringLiteral("Átvevőkód")},
        {QStringLiteral("V_SZERIA"), QStringLiteral("Széria")},
        {QStringLiteral("V_VERZIO"), QStringLiteral("Verzió")},
        {QStringLiteral("F_BSZAM"), QStringLiteral("Bizonylatszám")},
        {QStringLiteral("F_OSTERMKOD"), QStringLiteral("Őstermelőkód")},
        {QStringLiteral("F_KELT"), QStringLiteral("Kiállítás kelte")},
        {QStringLiteral("F_FELVKELT"), QStringLiteral("Felvásárlás dátuma")},
        {QStringLiteral("F_FIZKELT"), QStringLiteral("Fizetés dátuma")},
        {QStringLiteral("F_UTAL"), QStringLiteral("Átutalással")},
        {QStringLiteral("F_PRN"), QStringLiteral("Nyomtatva")},
        {QStringLiteral("F_SZJA"), QStringLiteral("Szja %")},
        {QStringLiteral("F_JARULSZAZ"), QStringLiteral("Tagi h.járul.%")},
        {QStringLiteral("F_LEVONAS"), QStringLiteral("Levonás (Ft)")},
        {QStringLiteral("F_MEGJ"), QStringLiteral("Megjegyzés")},
        {QStringLiteral("F_NYILATK"), QStringLiteral("Nyilatkozat")},
        {QStringLiteral("F_AKOD"), QStringLiteral("Átvevőkód")},
        {QStringLiteral("F_MUVKTG"), QStringLiteral("Műveleti költség")},
        {QStringLiteral("S_BSZAM"), QStringLiteral("Bizonylatszám")},
        {QStringLiteral("S_TERMEKKOD"), QStringLiteral("Állatkód")},
        {QStringLiteral("S_MEGNEVEZES"), QStringLiteral("Megnevezés")},
        {QStringLiteral("S_VTSZ"), QStringLiteral("VTSZ")},
        {QStringLiteral("S_BRUTTO"), QStringLiteral("Bruttó súly")},
        {QStringLiteral("S_LEVONSZAZ"), QStringLiteral("Levonás %")},
        {QStringLiteral("S_MEGY"), QStringLiteral("Mértékegység")},
        {QStringLiteral("S_EAR"), QStringLiteral("Egységár")},
        {QStringLiteral("S_KOMPMERTEKE"), QStringLiteral("Komp. %")},
        {QStringLiteral("S_AKOD"), QStringLiteral("Átvevőkód")},
        {QStringLiteral("S_SZJA"), QStringLiteral("Szja %")},
        {QStringLiteral("S_MENNYISEG"), QStringLiteral("Mennyiség")},
        {QStringLiteral("S_MERLEG"), QStringLiteral("Mérlegről vett súly")},
        {QStringLiteral("O_KOD"), QStringLiteral("Kód")},
        {QStringLiteral("O_NEV"), QStringLiteral("Név")},
        {QStringLiteral("O_IRSZAM"), QStringLiteral("Irányítószám")},
        {QStringLiteral("O_HELYSEGNEV"), QStringLiteral("Helység")},
        {QStringLiteral("O_UTCA"), QStringLiteral("Utca")},
        {QStringLiteral("O_ADOAZON"), QStringLiteral("Adóazonosító")},
        {QStringLiteral("O_IGSZAM"), QStringLiteral("Őstermelői ig. szám")},
        {QStringLiteral("O_REGSZAM"), QStringLiteral("Reg. szám")},
        {QStringLiteral("O_SZJA"), QStringLiteral("Szja %")},
        {QStringLiteral("O_SZULHELY"), QStringLiteral("Születési hely")},
        {QStringLiteral("O_SZIDO"), QStringLiteral("Születési idő")},
        {QStringLiteral("O_ANYJA"), QStringLiteral("Anyja neve")},
        {QStringLiteral("O_MUVKTG"), QStringLiteral("Műveleti költség")},
        {QStringLiteral("O_CSGAZD"), QStringLiteral("Családi gazd. szám")},
        {QStringLiteral("O_NEME"), QStringLiteral("Neme")},
        {QStringLiteral("O_SZULNEV"), QStringLiteral("Születési név")},
        {QStringLiteral("O_TAJ"), QStringLiteral("TAJ szám")},
        {QStringLiteral("O_ADOSZAM"), QStringLiteral("Adószám")},
        {QStringLiteral("O_BANKSZLA"), QStringLiteral("Bankszámla")},
        {QStringLiteral("O_ERVKELT"), QStringLiteral("Érvényesítve")},
        {QStringLiteral("O_AKOD"), QStringLiteral("Átvevőkód")},
        {QStringLiteral("A_FJBSZAM"), QStringLiteral("Utolsó bizonylatszám")},
        {QStringLiteral("A_SZERIA"), QStringLiteral("Széria")},
        {QStringLiteral("A_VERZIO"), QStringLiteral("Verzió")},
        {QStringLiteral("A_AKOD"), QStringLiteral("Átvevőkód")},
        {QStringLiteral("T_KOD"), QStringLiteral("Kód")},
        {QStringLiteral("T_MEGNEVEZES"), QStringLiteral("Megnevezés")},
        {QStringLiteral("T_VTSZ"), QStringLiteral("VTSZ")},
        {QStringLiteral("T_EAR"), QStringLiteral("Egységár")},
        {QStringLiteral("T_MEGY"), QStringLiteral("Mértékegység")},
        {QStringLiteral("T_KOMPMERTEKE"), QStringLiteral("Komp. %")},
        {QStringLiteral("T_AKOD"), QStringLiteral("Átvevőkód")},
    };
    const auto caption = captions.constFind(column);
    return caption == captions.cend() ? column : *caption + QStringLiteral(" (") + column + u')';
}

QList<ColumnChange> insertedValues(const QStringList& columns, const QList<RowEntry>& later,
                                   const QHash<QString, std::optional<QString>>& current) {
    QHash<QString, std::optional<QString>> stored;
    bool deleted = false;
    for (const RowEntry& entry : later) {
        for (const ColumnChange& change : parseChanges(entry.text))
            if (!stored.contains(change.column))
                stored.insert(change.column, change.before);
        // A delete lists every value the row still had: the rest were null.
        if (entry.kind == u'T') {
            deleted = true;
            break;
        }
    }
    QList<ColumnChange> values;
    for (const QString& column : columns) {
        std::optional<QString> value;
        if (const auto known = stored.constFind(column); known != stored.cend())
            value = *known;
        else if (!deleted)
            value = current.value(column);
        if (value)
            values.append({column, std::nullopt, value});
    }
    return values;
}

std::optional<QString> changedKey(const QString& keyColumn, const QString& text) {
    for (const ColumnChange& change : parseChanges(text))
        if (change.column == keyColumn)
            return change.after.value_or(QString());
    return std::nullopt;
}

QString filterRefusal(const JournalFilter& filter) {
    if (!filter.ticketNumber.isEmpty() &&
        (filter.ticketNumber.size() > 8 ||
         !QRegularExpression(QStringLiteral("^\\d+$")).match(filter.ticketNumber).hasMatch()))
        return QStringLiteral("A bizonylatszám legfeljebb 8 számjegy lehet.");
    if (filter.byDate && (!filter.from.isValid() || !filter.to.isValid()))
        return QStringLiteral("Hibás dátum!");
    if (filter.byDate && filter.from > filter.to)
        return QStringLiteral("A kezdő dátum nem lehet későbbi a záró dátumnál.");
    return QString();
}

QString filterDescription(const JournalFilter& filter) {
    QStringList parts;
    if (!filter.ticketNumber.isEmpty())
        parts << QStringLiteral("Bizonylatszám: ") + filter.ticketNumber;
    if (!filter.producerCode.isEmpty())
        parts << QStringLiteral("Őstermelőkód: ") + filter.producerCode;
    if (filter.byDate)
        parts << QStringLiteral("Időszak: ") + dateText(filter.from) + QStringLiteral(" - ") +
                     dateText(filter.to);
    if (!filter.kind.isNull())
        parts << QStringLiteral("Művelet: ") + kindCaption(filter.kind);
    return parts.isEmpty() ? QStringLiteral("Minden bejegyzés") : parts.join(QStringLiteral("; "));
}

QList<JournalLine> journalLines(const QList<JournalEntry>& entries, const QList<QList<ColumnChange>>& changes,
                                const std::function<ValueKind(const QString&)>& kindOf) {
    QList<JournalLine> lines;
    for (qsizetype i = 0; i < entries.size(); ++i) {
        const JournalEntry& entry = entries[i];
        const JournalTable* table = tableByLetter(entry.table);
        JournalLine line;
        line.entry = entry.id;
        line.time = entry.time;
        line.kind = kindCaption(entry.kind);
        line.table = table ? table->caption : QString(entry.table);
        line.row = entry.row;
        line.purchaser = entry.purchaser;
        line.key = entry.key.value_or(QString());
        line.user = entry.user;
        line.desk = entry.desk;
        line.program = entry.program;
        const QList<ColumnChange> columns = changes.value(i);
        if (columns.isEmpty())
            lines.append(line);
        for (const ColumnChange& change : columns) {
            const ValueKind kind = kindOf(change.column);
            line.column = columnCaption(change.column);
            line.before = valueText(change.before, kind);
            line.after = valueText(change.after, kind);
            lines.append(line);
        }
    }
    return lines;
}

} // namespace vardelo::journal
