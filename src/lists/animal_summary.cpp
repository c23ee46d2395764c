#include "lists/animal_summary.h"

#include "data/data_module.h"
#include "data/shared_values.h"
#include "data/text_formats.h"
#include "reports/report_objects.h"
#include "reports/report_service.h"
#include "widgets/key_filters.h"

#include <QDateEdit>
#include <QPushButton>
#include <QRadioButton>

using namespace vardelo;
using namespace vardelo::lists;

TForm13::TForm13(QWidget* parent)
    : TSummaryWindow(QStringLiteral("Form13"), QStringLiteral("Termékenkénti lista"), parent) {
    // The grid starts empty.
    Data->ZQ20->Close();
    EnterMovesFocus::install(this);
    connect(DateTimePicker1, &QDateEdit::dateChanged, this, &TForm13::DateTimePicker1Change);
}

void TForm13::DateTimePicker1Change() {
    Button2->setEnabled(false);
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
    setReportVariable(QStringLiteral("v_datum"), RadioButton1->isChecked() ? QStringLiteral("Fizetési ")
                                                                           : QStringLiteral("Felvásárlási "));
    setReportVariable(QStringLiteral("v_osszesen"), TermekOsszesen);
    setReportVariable(QStringLiteral("v_tol"), dateText(DateTimePicker1->date()));
    setReportVariable(QStringLiteral("v_ig"), dateText(DateTimePicker2->date()));
    setReportVariable(QStringLiteral("v_sorrend"), QStringLiteral("Termékenként"));
    Data->frNyomtat->LoadFromFile(QStringLiteral("FjLista5.frf"));
    Data->frNyomtat->ShowReport();
}
