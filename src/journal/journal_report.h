#pragma once

#include "journal/journal_rules.h"
#include "reports/report_data.h"

#include <QList>
#include <QString>

// The data of the journal's print: its lines walked by the band source "frNaplo", their fields read under the
// component "Naplo" (BEJEGYZES, IDO, MUVELET, TABLA, SOR, AKOD, KULCS, FELHASZNALO, MUNKAHELY, PROGRAM, ADAT,
// ELOTTE, UTANA).
namespace vardelo::journal {

// The layout file of the print.
inline const QString JournalLayoutFile = QStringLiteral("FjLista9.frf");

class JournalReportData : public report::DataEnvironment, public report::BandSource {
public:
    void setLines(QList<JournalLine> lines);
    int lineCount() const { return int(lines_.size()); }

    report::BandSource* bandSource(const QString& name) override;
    QVariant field(const QString& component, const QString& field) override;

    void first() override { position_ = 0; }
    void next() override {
        if (position_ < lines_.size())
            ++position_;
    }
    bool eof() override { return position_ >= lines_.size(); }

private:
    QList<JournalLine> lines_;
    qsizetype position_ = 0;
};

} // namespace vardelo::journal
