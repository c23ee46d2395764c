#pragma once

#include "journal/journal_report.h"

#include <QDialog>
#include <QString>
#include <memory>

class QCheckBox;
class QComboBox;
class QDateEdit;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QTableWidget;
class TDBGrid;
class TDBNavigator;
class TDataSource;
class TZQuery;
class TfrReport;

namespace vardelo::journal {
class JournalReader;
} // namespace vardelo::journal

// "Napló": the journal of every change to the tickets and the registers, newest first, filtered by ticket
// number, producer code, period and kind of change; the current entry's columns before and after side by
// side. It prints the listed entries through "FjLista9.frf" and exports them as the workbook "NAPLO.xls". It
// reads only: nothing in it writes the journal.
class TFormNaplo : public QDialog {
    Q_OBJECT
public:
    explicit TFormNaplo(QWidget* parent = nullptr);
    ~TFormNaplo() override;

    // Opens on one ticket of the current purchaser (the ticket browser's journal key).
    void SetTicketNumber(const QString& number);

    // A list longer than this is printed or exported only when the clerk says so.
    static constexpr int LargeListEntries = 20000;

    // Where the workbook is saved: the documents folder unless a test points elsewhere.
    QString SaveFolder;
    QString WorkbookPath() const;

public slots:
    void FilterButtonClick();
    void PrintButtonClick();
    void ExportButtonClick();

protected:
    void showEvent(QShowEvent* event) override;

private:
    QWidget* buildFilter();
    // The filter of the controls; the refusal's message shown, false, when it cannot be used.
    bool readFilter(vardelo::journal::JournalFilter& filter);
    bool applyFilter();
    void showCurrentChanges();
    // Every entry of the filter with its columns, for the print and the export; false after a failure (said).
    bool collectLines(QList<vardelo::journal::JournalLine>& lines, int& entries);

    bool shown_ = false;
    TZQuery* list_;
    TZQuery* scratch_;
    TDataSource* source_;
    std::unique_ptr<vardelo::journal::JournalReader> reader_;
    vardelo::journal::JournalReportData reportData_;
    TfrReport* report_;

    // The controls; from outside the window they are reached by their objectName.
    QLineEdit* TicketEdit;
    QLineEdit* ProducerEdit;
    QCheckBox* PeriodCheck;
    QDateEdit* DateTimePicker1;
    QDateEdit* DateTimePicker2;
    QComboBox* KindCombo;
    QPushButton* FilterButton;
    TDBGrid* DBGrid1;
    TDBNavigator* DBNavigator1;
    QTableWidget* ChangeTable;
    QProgressBar* ProgressBar1;
    QCheckBox* ShowWorkbookCheck;
    QPushButton* PrintButton;
    QPushButton* ExportButton;
    QPushButton* CloseButton;
};
