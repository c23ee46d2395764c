#include "reports/report_objects.h"

#include "data/data_module.h"
#include "data/dataset.h"
#include "data/field.h"
#include "data/program_files.h"
#include "reports/layout_loader.h"
#include "reports/report_error.h"
#include "reports/report_painter.h"
#include "reports/report_preparer.h"
#include "reports/report_preview.h"
#include "widgets/ui_service.h"

TfrDataset::TfrDataset(const QString& name, QObject* parent) : QObject(parent) {
    setObjectName(name);
}

TfrDBDataSet::TfrDBDataSet(const QString& name, TDataSet* dataSet, QObject* parent)
    : TfrDataset(name, parent), DataSet(dataSet) {}

void TfrDBDataSet::first() {
    if (DataSet && DataSet->Active())
        DataSet->First();
}

void TfrDBDataSet::next() {
    if (DataSet && DataSet->Active())
        DataSet->Next();
}

bool TfrDBDataSet::eof() {
    return !DataSet || !DataSet->Active() || DataSet->IsEmpty() || DataSet->Eof();
}

TfrUserDataset::TfrUserDataset(const QString& name, QObject* parent) : TfrDataset(name, parent) {}

void TfrUserDataset::first() {
    if (OnFirst)
        OnFirst();
}

void TfrUserDataset::next() {
    if (OnNext)
        OnNext();
}

bool TfrUserDataset::eof() {
    bool eof = true;
    if (OnCheckEOF)
        OnCheckEOF(eof);
    return eof;
}

TfrReport::TfrReport(const QString& name, QObject* parent) : QObject(parent) {
    setObjectName(name);
}

TfrReport::~TfrReport() = default;

void TfrReport::Clear() {
    layout_ = vardelo::report::Layout();
    prepared_ = vardelo::report::PreparedReport();
    fileName_.clear();
}

void TfrReport::LoadFromFile(const QString& fileName) {
    using vardelo::report::LayoutLoadResult;
    // The working folder's layout first, then the installed one.
    const QString path = vardelo::findProgramFile(fileName);
    LayoutLoadResult result = vardelo::report::loadLayoutFile(path);
    switch (result.status) {
    case LayoutLoadResult::Ok:
        Clear();
        layout_ = std::move(result.layout);
        fileName_ = fileName;
        return;
    case LayoutLoadResult::CannotOpen:
        throw EReportError(QStringLiteral("Cannot open file %1").arg(fileName));
    case LayoutLoadResult::UnsupportedFormat:
        Clear();
        vardelo::ui().messageBox(QStringLiteral("Unsupported FRF format"), vardelo::errorCaption(),
                                 vardelo::MsgIcon::Error, int(vardelo::MsgButton::Ok));
        return;
    case LayoutLoadResult::Invalid:
        Clear();
        vardelo::ui().messageBox(QStringLiteral("Hibás jelentésleírás: %1, %2. sor, %3. oszlop: %4")
                                     .arg(fileName)
                                     .arg(result.line)
                                     .arg(result.column)
                                     .arg(result.message),
                                 vardelo::errorCaption(), vardelo::MsgIcon::Error,
                                 int(vardelo::MsgButton::Ok));
        return;
    }
}

vardelo::report::PreparedReport TfrReport::prepare(const QMarginsF& printerMargins) {
    vardelo::report::PreparedReport prepared;
    if (layout_.isEmpty())
        return prepared;
    vardelo::report::PrepareOptions options;
    options.viewCopyOnly = ViewCopyOnly;
    options.printerMargins = printerMargins;
    if (Environment) {
        prepared = vardelo::report::prepareReport(layout_, *Environment, options);
    } else {
        vardelo::report::ObjectEnvironment environment(parent());
        prepared = vardelo::report::prepareReport(layout_, environment, options);
    }
    if (prepared.title.isEmpty())
        prepared.title = fileName_;
    return prepared;
}

bool TfrReport::PrepareReport() {
    prepared_ = vardelo::report::PreparedReport();
    prepared_ = prepare(vardelo::report::PrepareOptions().printerMargins);
    return !prepared_.isEmpty();
}

vardelo::report::PreparedReport TfrReport::PrepareForPrinter(const QMarginsF& printerMargins) {
    return prepare(printerMargins);
}

void TfrReport::ShowReport() {
    if (PrepareReport())
        ShowPreparedReport();
}

void TfrReport::ShowPreparedReport() {
    if (prepared_.isEmpty())
        return;
    TfrPreviewForm preview(prepared_, PreviewButtons);
    preview.setPrinterPreparation([this](const QMarginsF& margins) { return PrepareForPrinter(margins); });
    if (ModalPreview)
        vardelo::ui().showModal(preview);
}

bool TfrReport::ExportToPdf(const QString& path, QString* error) const {
    return vardelo::report::renderToPdf(prepared_, path, error);
}

namespace vardelo::report {

BandSource* ObjectEnvironment::bandSource(const QString& name) {
    if (!owner_)
        return nullptr;
    for (TfrDataset* dataset : owner_->findChildren<TfrDataset*>(QString(), Qt::FindDirectChildrenOnly))
        if (dataset->objectName().compare(name, Qt::CaseInsensitive) == 0)
            return dataset;
    return nullptr;
}

QVariant ObjectEnvironment::field(const QString& component, const QString& field) {
    auto known = dataSets_.constFind(component);
    TDataSet* dataSet = known != dataSets_.cend() ? known->data() : nullptr;
    if (!dataSet) {
        if (auto* data = qobject_cast<TData*>(owner_)) {
            dataSet = data->DataSetByName(component);
            if (!dataSet)
                if (auto* walk = dynamic_cast<TfrDBDataSet*>(bandSource(component)))
                    dataSet = walk->DataSet;
        }
        if (dataSet)
            dataSets_.insert(component, dataSet);
    }
    if (!dataSet)
        throw EReportError(QStringLiteral("Ismeretlen adathalmaz a jelentésben: %1").arg(component));
    return reportFieldValue(*dataSet, component, field);
}

QVariant reportFieldValue(TDataSet& dataSet, const QString& component, const QString& fieldName) {
    // A closed dataset, or one without rows, has no current row.
    if (!dataSet.Active() || dataSet.IsEmpty())
        return {};
    TField* field = dataSet.FindField(fieldName);
    if (!field)
        field = dataSet.FindField(fieldName.toUpper());
    if (!field)
        throw EReportError(
            QStringLiteral("Ismeretlen mező a jelentésben: %1.\"%2\"").arg(component, fieldName));
    // Read once: a text is decoded from the row for each read.
    const QVariant value = field->Value();
    if (value.isNull())
        return {};
    switch (field->DataType()) {
    case TFieldType::String:
    case TFieldType::Blob:
        return value.toString();
    case TFieldType::Date:
        return field->AsDate();
    case TFieldType::DateTime:
        return field->AsDateTime();
    case TFieldType::Time:
        return field->AsString();
    case TFieldType::Boolean:
        return value;
    case TFieldType::Integer:
    case TFieldType::LargeInt:
        return QVariant(field->AsLargeInt());
    case TFieldType::Decimal:
        // Exact, so a format rounds the stored value itself.
        return QVariant::fromValue(field->AsDecimal());
    case TFieldType::Float:
        return field->AsFloat();
    }
    return value;
}

} // namespace vardelo::report

namespace vardelo::report {

void createReportObjects(TData& data) {
    if (data.frNyomtat)
        return;
    data.frNyomtat = new TfrReport(QStringLiteral("frNyomtat"), &data);
    data.frMegtekint = new TfrReport(QStringLiteral("frMegtekint"), &data);
    data.frMegtekint->ViewCopyOnly = true;
    data.frDBDataSet1 = new TfrDBDataSet(QStringLiteral("frDBDataSet1"), data.ZQ20, &data);
    data.frDBDataSet2 = new TfrDBDataSet(QStringLiteral("frDBDataSet2"), data.ZQ30, &data);
    data.frDBDataSet3 = new TfrDBDataSet(QStringLiteral("frDBDataSet3"), data.ZQ20, &data);
    data.frDBDataSet4 = new TfrDBDataSet(QStringLiteral("frDBDataSet4"), data.ZQ20, &data);
    data.frDBDataSet6 = new TfrDBDataSet(QStringLiteral("frDBDataSet6"), data.ZQ40, &data);
    data.frUserDataset1 = new TfrUserDataset(QStringLiteral("frUserDataset1"), &data);
    data.frUserDataset2 = new TfrUserDataset(QStringLiteral("frUserDataset2"), &data);
    data.frUserDataset3 = new TfrUserDataset(QStringLiteral("frUserDataset3"), &data);
    data.frUserDataset4 = new TfrUserDataset(QStringLiteral("frUserDataset4"), &data);
}

} // namespace vardelo::report
