#include "lists/animal_summary.h"

#include "data/data_module.h"
#include "data/shared_values.h"
#include "data/text_formats.h"
#include "reports/report_objects.h"
#include "reports/report_service.h"
#include "widgets/key_filters.h"

#include <QDateEdit>

using namespace vardelo;
using namespace vardelo::lists;

TForm13::TForm13(QWidget* parent)
    : TSummaryWindow(QStringLiteral("Form13"), QStringLiteral("Termékenkénti lista"), parent) {
    // The grid starts empty.
    Data->ZQ20->Close();
    EnterMovesFocus::install(this);
    connect(fromPicker(), &QDateEdit::dateChanged, this, &TForm13::DateTimePicker1Change);
}

void TForm13::DateTimePicker1Change() {
    disablePrint();
}

void TForm13::collect() {
    const SummaryPeriod period = Period();
    TermekOsszesen = openPeriodTotal(period, false);
    openAnimalGroups(period);
    Data->ZQ20->First();
    AktMegnevezes = Data->ZQ20->IsEmpty()
                        ? QString()
                        : Data->ZQ20->FieldByName(QStringLiteral("S_MEGNEVEZES")).AsString();
    openAnimalLines(period, AktMegnevezes, JoinKind::Left);
}

void TForm13::print() {
    const SummaryPeriod period = Period();
    setReportVariable(QStringLiteral("v_datum"),
                      period.paymentDate ? QStringLiteral("Fizetési ") : QStringLiteral("Felvásárlási "));
    setReportVariable(QStringLiteral("v_osszesen"), TermekOsszesen);
    setReportVariable(QStringLiteral("v_tol"), dateText(period.from));
    setReportVariable(QStringLiteral("v_ig"), dateText(period.to));
    setReportVariable(QStringLiteral("v_sorrend"), QStringLiteral("Termékenként"));
    Data->frNyomtat->LoadFromFile(QStringLiteral("FjLista5.frf"));
    Data->frNyomtat->ShowReport();
}
