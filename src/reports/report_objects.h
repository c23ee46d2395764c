#pragma once

#include "reports/prepared_report.h"
#include "reports/report_data.h"
#include "reports/report_layout.h"
#include "reports/report_preview.h"

#include <QHash>
#include <QObject>
#include <QPointer>
#include <QString>
#include <functional>

class TData;
class TDataSet;

// The report objects of the data module: reports that load a layout file and show it in the preview, and the
// report datasets that their layouts name for their data bands.

// A report dataset: a named walk that a layout's data band names (dataset="frDBDataSet1").
class TfrDataset : public QObject, public vardelo::report::BandSource {
    Q_OBJECT
public:
    TfrDataset(const QString& name, QObject* parent);
};

// Walks a dataset of the data module from its first row to its end. A closed dataset is an empty walk.
class TfrDBDataSet : public TfrDataset {
    Q_OBJECT
public:
    TfrDBDataSet(const QString& name, TDataSet* dataSet, QObject* parent);

    TDataSet* DataSet;

    void first() override;
    void next() override;
    bool eof() override;
};

// A walk whose steps the program supplies: OnFirst goes to the first record, OnNext advances, OnCheckEOF
// tells whether the walk is past its last record. Without OnCheckEOF the walk is empty.
class TfrUserDataset : public TfrDataset {
    Q_OBJECT
public:
    TfrUserDataset(const QString& name, QObject* parent);

    std::function<void()> OnFirst;
    std::function<void()> OnNext;
    std::function<void(bool& eof)> OnCheckEOF;

    void first() override;
    void next() override;
    bool eof() override;
};

// A report: the layout loaded last, and the pages prepared from it.
class TfrReport : public QObject {
    Q_OBJECT
public:
    TfrReport(const QString& name, QObject* parent);
    ~TfrReport() override;

    // Replaces the whole layout with the layout file of that name (a bare name is looked for in the working
    // folder, whatever the case of its letters). A file that cannot be opened raises EReportError "Cannot
    // open file <name>"; a file of another format shows "Unsupported FRF format" in a box captioned "Hiba",
    // a faulty layout file its fault with line and column, and in both cases the report is left empty.
    void LoadFromFile(const QString& fileName);
    // Forgets the layout and the prepared pages.
    void Clear();

    // Prepares the pages from the layout, the variables and the data. Raises EReportError for a fault of the
    // layout's expressions or datasets. Returns false when the report is empty.
    bool PrepareReport();
    // Prepares the pages again for a printer whose printable area leaves the given margins (millimetres); the
    // pages prepared last stay as they are. Printing from the preview uses it.
    vardelo::report::PreparedReport PrepareForPrinter(const QMarginsF& printerMargins);
    // Prepares the report and shows it in the preview window; with ModalPreview the call returns when the
    // user closes it. An empty report shows nothing.
    void ShowReport();
    // Shows the pages prepared last.
    void ShowPreparedReport();
    // Writes the pages prepared last into a PDF file; false (and the reason) when it cannot be written.
    bool ExportToPdf(const QString& path, QString* error = nullptr) const;

    const vardelo::report::Layout& Layout() const { return layout_; }
    const vardelo::report::PreparedReport& PreparedPages() const { return prepared_; }
    const QString& FileName() const { return fileName_; }

    bool ModalPreview = true;
    int PreviewButtons = pbZoom | pbExit;
    // Only the copy that the layout marks for viewing is prepared (the ticket's view report).
    bool ViewCopyOnly = false;
    // Where the layout's data comes from; nullptr: the report datasets among the report's siblings and the
    // datasets of the data module that owns the report.
    vardelo::report::DataEnvironment* Environment = nullptr;

private:
    vardelo::report::PreparedReport prepare(const QMarginsF& printerMargins);

    vardelo::report::Layout layout_;
    vardelo::report::PreparedReport prepared_;
    QString fileName_;
};

namespace vardelo::report {

// The data of reports owned by an object: report datasets are its children by name; fields are read from the
// datasets of the data module when the owner is one (also through a report dataset's name).
class ObjectEnvironment : public DataEnvironment {
public:
    explicit ObjectEnvironment(QObject* owner) : owner_(owner) {}
    BandSource* bandSource(const QString& name) override;
    QVariant field(const QString& component, const QString& field) override;

private:
    QObject* owner_;
    // The dataset each component name led to: a print asks for fields row after row, and looking the name up
    // among the module's children each time costs more than reading the value.
    QHash<QString, QPointer<TDataSet>> dataSets_;
};

// Makes the report objects of the data module (frNyomtat, frMegtekint, the report datasets) as its children
// and sets its pointers to them; the module deletes them with itself. Done once, where the module is created.
void createReportObjects(TData& data);

// A field's value for reports: null, a number (an exact Decimal for decimal and whole columns, a double for
// double columns), a date or a text.
QVariant reportFieldValue(TDataSet& dataSet, const QString& component, const QString& field);

} // namespace vardelo::report
