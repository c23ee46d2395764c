#include "lists/summary_datasets.h"

#include "data/data_module.h"
#include "data/shared_values.h"
#include "reports/report_objects.h"

namespace vardelo::lists {

namespace {

bool pastEnd(TDataSet* dataSet) {
    return !dataSet->Active() || dataSet->IsEmpty() || dataSet->Eof();
}

QString currentText(const QString& field) {
    TZQuery* q = Data->ZQ20;
    if (!q->Active() || q->IsEmpty())
        return QString();
    return q->FieldByName(field).AsString();
}

void loadAnimal(const SummaryPeriod& period) {
    AktMegnevezes = currentText(QStringLiteral("S_MEGNEVEZES"));
    openAnimalLines(period, AktMegnevezes, JoinKind::Inner);
}

void loadProducer(const SummaryPeriod& period, bool linesByName) {
    AktListaOkod = currentText(QStringLiteral("O_KOD"));
    openProducerTotal(period, AktListaOkod, JoinKind::Inner);
    openProducerLines(period, AktListaOkod, JoinKind::Inner, linesByName);
}

void moveFirst() {
    if (Data->ZQ20->Active())
        Data->ZQ20->First();
}

// Moves to the next group; false past the last one, where the walk ends and nothing is reloaded.
bool moveNext() {
    if (!Data->ZQ20->Active())
        return true;
    Data->ZQ20->Next();
    return !Data->ZQ20->Eof();
}

} // namespace

void frUserDataset1First(const SummaryPeriod& period) {
    moveFirst();
    loadAnimal(period);
}

void frUserDataset1Next(const SummaryPeriod& period) {
    if (moveNext())
        loadAnimal(period);
}

// Only the first producer's lines come in name order; the next ones as the database gives them.
void frUserDataset3First(const SummaryPeriod& period) {
    moveFirst();
    loadProducer(period, true);
}

void frUserDataset3Next(const SummaryPeriod& period) {
    if (moveNext())
        loadProducer(period, false);
}

void frUserDataset1CheckEOF(bool& eof) {
    eof = pastEnd(Data->ZQ20);
}

void frUserDataset3CheckEOF(bool& eof) {
    eof = pastEnd(Data->ZQ20);
}

void frUserDatasetLinesFirst() {
    if (Data->ZQ21->Active())
        Data->ZQ21->First();
}

void frUserDatasetLinesNext() {
    if (Data->ZQ21->Active())
        Data->ZQ21->Next();
}

void frUserDatasetLinesCheckEOF(bool& eof) {
    eof = pastEnd(Data->ZQ21);
}

void connectSummaryDatasets(TData& data, std::function<SummaryPeriod()> period) {
    data.frUserDataset1->OnFirst = [period] { frUserDataset1First(period()); };
    data.frUserDataset1->OnNext = [period] { frUserDataset1Next(period()); };
    data.frUserDataset1->OnCheckEOF = &frUserDataset1CheckEOF;
    data.frUserDataset3->OnFirst = [period] { frUserDataset3First(period()); };
    data.frUserDataset3->OnNext = [period] { frUserDataset3Next(period()); };
    data.frUserDataset3->OnCheckEOF = &frUserDataset3CheckEOF;
    for (TfrUserDataset* lines : {data.frUserDataset2, data.frUserDataset4}) {
        lines->OnFirst = &frUserDatasetLinesFirst;
        lines->OnNext = &frUserDatasetLinesNext;
        lines->OnCheckEOF = &frUserDatasetLinesCheckEOF;
    }
}

void disconnectSummaryDatasets(TData& data) {
    for (TfrUserDataset* walk :
         {data.frUserDataset1, data.frUserDataset2, data.frUserDataset3, data.frUserDataset4}) {
        walk->OnFirst = nullptr;
        walk->OnNext = nullptr;
        walk->OnCheckEOF = nullptr;
    }
}

} // namespace vardelo::lists
