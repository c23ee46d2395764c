#include "lists/producer_summary.h"

#include "data/data_module.h"
#include "data/shared_values.h"
#include "data/text_formats.h"
#include "reports/report_objects.h"
#include "reports/report_service.h"

#include <QDateEdit>

using namespace vardelo;
using namespace vardelo::lists;

TForm19::TForm19(QWidget* parent)
    : TSummaryWindow(QStringLiteral("Form19"), QStringLiteral("Östermelönkénti lista"), parent) {}

void TForm19::collect() {
    const SummaryPeriod period = Period();
    TermeloOsszesen = openPeriodTotal(period, true);
    openProducerGroups(period);
    Data->ZQ20->First();
    AktListaOkod =
        Data->ZQ20->IsEmpty() ? QString() : Data->ZQ20->FieldByName(QStringLiteral("O_KOD")).AsString();
    openProducerTotal(period, AktListaOkod, JoinKind::Left);
    openProducerLines(period, AktListaOkod, JoinKind::Left, false);
}

void TForm19::print() {
    const SummaryPeriod period = Period();
    setReportVariable(QStringLiteral("v_osszesen"), TermeloOsszesen);
    setReportVariable(QStringLiteral("v_tol"), dateText(period.from));
    setReportVariable(QStringLiteral("v_ig"), dateText(period.to));
    setReportVariable(QStringLiteral("v_sorrend"), QStringLiteral(" Östermelönként "));
    Data->frNyomtat->LoadFromFile(QStringLiteral("FjLista8.frf"));
    Data->frNyomtat->ShowReport();
}
