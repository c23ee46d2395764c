#include "journal/journal_report.h"

#include "data/field.h"
#include "reports/report_error.h"

namespace vardelo::journal {

void JournalReportData::setLines(QList<JournalLine> lines) {
    lines_ = std::move(lines);
    position_ = 0;
}

report::BandSource* JournalReportData::bandSource(const QString& name) {
    return name.compare(QStringLiteral("frNaplo"), Qt::CaseInsensitive) == 0 ? this : nullptr;
}

QVariant JournalReportData::field(const QString& component, const QString& field) {
    if (component.compare(QStringLiteral("Naplo"), Qt::CaseInsensitive) != 0 &&
        component.compare(QStringLiteral("frNaplo"), Qt::CaseInsensitive) != 0)
        throw EReportError(QStringLiteral("Ismeretlen adathalmaz a jelentésben: %1").arg(component));
    if (lines_.isEmpty())
        return {};
    // At the end the last line stays current, as with the program's datasets.
    const JournalLine& line = lines_[std::min(position_, lines_.size() - 1)];
    const QString name = field.toUpper();
    auto text = [](const QString& value) { return value.isEmpty() ? QVariant() : QVariant(value); };
    if (name == QLatin1String("BEJEGYZES"))
        return line.entry;
    if (name == QLatin1String("IDO"))
        return fieldValueText(line.time);
    if (name == QLatin1String("MUVELET"))
        return text(line.kind);
    if (name == QLatin1String("TABLA"))
        return text(line.table);
    if (name == QLatin1String("SOR"))
        return QString::number(line.row);
    if (name == QLatin1String("AKOD"))
        return text(line.purchaser);
    if (name == QLatin1String("KULCS"))
        return text(line.key);
    if (name == QLatin1String("FELHASZNALO"))
        return text(line.user);
    if (name == QLatin1String("MUNKAHELY"))
        return text(line.desk);
    if (name == QLatin1String("PROGRAM"))
        return text(line.program);
    if (name == QLatin1String("ADAT"))
        return text(line.column);
    if (name == QLatin1String("ELOTTE"))
        return text(line.before);
    if (name == QLatin1String("UTANA"))
        return text(line.after);
    throw EReportError(QStringLiteral("Ismeretlen mező a jelentésben: %1.\"%2\"").arg(component, field));
}

} // namespace vardelo::journal
