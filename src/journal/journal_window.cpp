#include "journal/journal_window.h"

#include "data/data_module.h"
#include "data/database_error.h"
#include "data/field.h"
#include "data/logging.h"
#include "data/shared_values.h"
#include "exchange/spreadsheet_export.h"
#include "exchange/workbook_file.h"
#include "journal/journal_queries.h"
#include "reports/report_error.h"
#include "reports/report_objects.h"
#include "reports/report_service.h"
#include "widgets/action_guard.h"
#include "widgets/date_picker.h"
#include "widgets/db_grid.h"
#include "widgets/db_navigator.h"
#include "widgets/form_controls.h"
#include "widgets/key_filters.h"
#include "widgets/ui_service.h"
#include "widgets/window_size.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QDateEdit>
#include <QDir>
#include <QElapsedTimer>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSplitter>
#include <QStandardPaths>
#include <QTableWidget>
#include <QVBoxLayout>

using namespace vardelo;
using namespace vardelo::journal;

namespace {

// Runs one action of the window; a database or report error ends it with the error box.
template <typename Action> bool guarded(Action&& action) {
    return vardelo::guarded(lcJournal, QStringLiteral("Hiba a napló olvasásakor."), action);
}

QLabel* label(const QString& text, QWidget* parent) {
    return new QLabel(text, parent);
}

// The spreadsheet's columns: one row for each line of the print.
const QList<exchange::SheetColumn>& sheetColumns() {
    static const QList<exchange::SheetColumn> columns{
        {QStringLiteral("Időpont"), 20, false},     {QStringLiteral("Művelet"), 12, false},
        {QStringLiteral("Tábla"), 13, false},       {QStringLiteral("Azonosító"), 10, true},
        {QStringLiteral("Átvevő"), 8, false},       {QStringLiteral("Bszám / kód"), 12, false},
        {QStringLiteral("Felhasználó"), 20, false}, {QStringLiteral("Munkahely"), 24, false},
        {QStringLiteral("Program"), 30, false},     {QStringLiteral("Adat"), 30, false},
        {QStringLiteral("Előtte"), 40, false},      {QStringLiteral("Utána"), 40, false},
    };
    return columns;
}

QVariant sheetValue(const JournalLine& line, int column) {
    auto text = [](const QString& value) { return value.isEmpty() ? QVariant() : QVariant(value); };
    switch (column) {
    case 0:
        return fieldValueText(line.time);
    case 1:
        return text(line.kind);
    case 2:
        return text(line.table);
    case 3:
        return line.row;
    case 4:
        return text(line.purchaser);
    case 5:
        return text(line.key);
    case 6:
        return text(line.user);
    case 7:
        return text(line.desk);
    case 8:
        return text(line.program);
    case 9:
        return text(line.column);
    case 10:
        return text(line.before);
    default:
        return text(line.after);
    }
}

} // namespace

TFormNaplo::TFormNaplo(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("FormNaplo"));
    setWindowTitle(QStringLiteral("Napló"));
    SaveFolder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);

    list_ = new TZQuery(QStringLiteral("ZQNaplo"), Data->ZCon1, Data->IBTrans1, this);
    scratch_ = new TZQuery(QStringLiteral("ZQNaplo2"), Data->ZCon1, Data->IBTrans1, this);
    source_ = new TDataSource(QStringLiteral("DSNaplo"), list_, this);
    reader_ = std::make_unique<JournalReader>(scratch_);
    report_ = new TfrReport(QStringLiteral("frNaplo"), this);
    report_->Environment = &reportData_;

    DBGrid1 = new TDBGrid(this);
    DBGrid1->setObjectName(QStringLiteral("DBGrid1"));
    DBGrid1->SetReadOnly(true);
    DBGrid1->SetColumns({
        {QStringLiteral("N_IDO"), QStringLiteral("Időpont")},
        {QStringLiteral("MUVELET"), QStringLiteral("Művelet")},
        {QStringLiteral("TABLA"), QStringLiteral("Tábla")},
        {QStringLiteral("N_KULCS"), QStringLiteral("Bszám / kód")},
        {QStringLiteral("FELHASZNALO"), QStringLiteral("Felhasználó")},
        {QStringLiteral("MUNKAHELY"), QStringLiteral("Munkahely")},
        {QStringLiteral("N_SOR"), QStringLiteral("Azonosító")},
        {QStringLiteral("N_AKOD"), QStringLiteral("Átvevő")},
        {QStringLiteral("PROGRAM"), QStringLiteral("Program")},
    });
    DBGrid1->SetDataSource(source_);
    DBNavigator1 = new TDBNavigator(this);
    DBNavigator1->setObjectName(QStringLiteral("DBNavigator1"));
    DBNavigator1->SetDataSource(source_);
    DBNavigator1->SetVisibleButtons(nbMoveButtons);

    ChangeTable = new QTableWidget(0, 3, this);
    ChangeTable->setObjectName(QStringLiteral("ChangeTable"));
    ChangeTable->setHorizontalHeaderLabels(
        {QStringLiteral("Adat"), QStringLiteral("Előtte"), QStringLiteral("Utána")});
    ChangeTable->setEditTriggers(QAbstractItemView::NoEditTriggers);
    ChangeTable->setSelectionBehavior(QAbstractItemView::SelectRows);
    ChangeTable->setWordWrap(true);
    ChangeTable->verticalHeader()->hide();
    ChangeTable->horizontalHeader()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
    ChangeTable->horizontalHeader()->setSectionResizeMode(1, QHeaderView::Stretch);
    ChangeTable->horizontalHeader()->setSectionResizeMode(2, QHeaderView::Stretch);

    auto* listPart = new QWidget(this);
    auto* listLayout = new QVBoxLayout(listPart);
    listLayout->setContentsMargins(0, 0, 0, 0);
    listLayout->addWidget(DBGrid1, 1);
    auto* navigation = new QHBoxLayout;
    navigation->addWidget(DBNavigator1);
    navigation->addStretch(1);
    listLayout->addLayout(navigation);
    auto* changesPart = new QWidget(this);
    auto* changesLayout = new QVBoxLayout(changesPart);
    changesLayout->setContentsMargins(0, 0, 0, 0);
    changesLayout->addWidget(
        label(QStringLiteral("A kijelölt bejegyzés adatai, előtte és utána:"), changesPart));
    changesLayout->addWidget(ChangeTable, 1);
    auto* splitter = new QSplitter(Qt::Vertical, this);
    splitter->setObjectName(QStringLiteral("Splitter1"));
    splitter->setChildrenCollapsible(false);
    splitter->addWidget(listPart);
    splitter->addWidget(changesPart);
    splitter->setStretchFactor(0, 3);
    splitter->setStretchFactor(1, 2);

    ProgressBar1 = new QProgressBar(this);
    ProgressBar1->setObjectName(QStringLiteral("ProgressBar1"));
    ProgressBar1->setRange(0, 100);
    ProgressBar1->setValue(0);
    ProgressBar1->setTextVisible(false);
    ShowWorkbookCheck = new QCheckBox(QStringLiteral(" excel táblát megjelenít"), this);
    ShowWorkbookCheck->setObjectName(QStringLiteral("ShowWorkbookCheck"));
    ShowWorkbookCheck->setChecked(true);
    PrintButton = makeButton(QStringLiteral("PrintButton"), QStringLiteral("Nyomtat"), this);
    ExportButton = makeButton(QStringLiteral("ExportButton"), QStringLiteral("Excel táblába"), this);
    CloseButton = makeButton(QStringLiteral("CloseButton"), QStringLiteral("Bezárás"), this);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(PrintButton);
    buttons->addWidget(ExportButton);
    buttons->addWidget(ShowWorkbookCheck);
    buttons->addWidget(ProgressBar1, 1);
    buttons->addStretch(0);
    buttons->addWidget(CloseButton);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(buildFilter());
    layout->addWidget(splitter, 1);
    layout->addLayout(buttons);

    connect(FilterButton, &QPushButton::clicked, this, &TFormNaplo::FilterButtonClick);
    connect(PrintButton, &QPushButton::clicked, this, &TFormNaplo::PrintButtonClick);
    connect(ExportButton, &QPushButton::clicked, this, &TFormNaplo::ExportButtonClick);
    connect(CloseButton, &QPushButton::clicked, this, &QDialog::reject);
    connect(PeriodCheck, &QCheckBox::toggled, DateTimePicker1, &QWidget::setEnabled);
    connect(PeriodCheck, &QCheckBox::toggled, DateTimePicker2, &QWidget::setEnabled);
    connect(list_, &TDataSet::currentChanged, this, &TFormNaplo::showCurrentChanges);
    connect(list_, &TDataSet::stateChanged, this, &TFormNaplo::showCurrentChanges);
    vardelo::fitWindowToScreen(*this, QSize(1040, 700));
}

TFormNaplo::~TFormNaplo() = default;

QWidget* TFormNaplo::buildFilter() {
    auto* group = new QGroupBox(QStringLiteral("Szűrés"), this);
    group->setObjectName(QStringLiteral("FilterGroup"));
    TicketEdit = makeEdit(QStringLiteral("TicketEdit"), group, 9);
    KeyFilter::install(TicketEdit, KeyFilterKind::Digits);
    ProducerEdit = makeEdit(QStringLiteral("ProducerEdit"), group, 6);
    PeriodCheck = new QCheckBox(QStringLiteral("Időszak:"), group);
    PeriodCheck->setObjectName(QStringLiteral("PeriodCheck"));
    const QDate today = QDate::currentDate();
    DateTimePicker1 = makeDatePicker(QStringLiteral("DateTimePicker1"), today.addMonths(-1), group);
    DateTimePicker2 = makeDatePicker(QStringLiteral("DateTimePicker2"), today, group);
    DateTimePicker1->setEnabled(false);
    DateTimePicker2->setEnabled(false);
    KindCombo = new QComboBox(group);
    KindCombo->setObjectName(QStringLiteral("KindCombo"));
    KindCombo->addItem(QStringLiteral("(mind)"));
    for (const auto& [letter, caption] : kindChoices())
        KindCombo->addItem(caption, QString(letter));
    FilterButton = makeButton(QStringLiteral("FilterButton"), QStringLiteral("Szűrés"), group);

    auto* period = makeDateRangeRow(QString(), DateTimePicker1, DateTimePicker2, group);
    period->insertWidget(0, PeriodCheck);
    auto* grid = new QGridLayout(group);
    grid->addWidget(label(QStringLiteral("Bizonylatszám:"), group), 0, 0);
    grid->addWidget(TicketEdit, 0, 1);
    grid->addWidget(label(QStringLiteral("Őstermelőkód:"), group), 0, 2);
    grid->addWidget(ProducerEdit, 0, 3);
    grid->addWidget(label(QStringLiteral("Művelet:"), group), 0, 4);
    grid->addWidget(KindCombo, 0, 5);
    grid->addLayout(period, 1, 0, 1, 6);
    grid->addWidget(FilterButton, 0, 7, 2, 1, Qt::AlignVCenter);
    grid->setColumnStretch(6, 1);
    return group;
}

void TFormNaplo::SetTicketNumber(const QString& number) {
    TicketEdit->setText(number);
}

QString TFormNaplo::WorkbookPath() const {
    return QDir(SaveFolder).filePath(QStringLiteral("NAPLO.xls"));
}

void TFormNaplo::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!shown_) {
        shown_ = true;
        applyFilter();
        DBGrid1->setFocus();
    }
}

bool TFormNaplo::readFilter(JournalFilter& filter) {
    filter.ticketNumber = TicketEdit->text().trimmed();
    filter.purchaser = AktAkod;
    filter.producerCode = ProducerEdit->text().trimmed();
    filter.byDate = PeriodCheck->isChecked();
    filter.from = DateTimePicker1->date();
    filter.to = DateTimePicker2->date();
    const QString kind = KindCombo->currentData().toString();
    filter.kind = kind.isEmpty() ? QChar() : kind[0];
    const QString refusal = filterRefusal(filter);
    if (refusal.isEmpty())
        return true;
    ui().showMessage(refusal);
    return false;
}

bool TFormNaplo::applyFilter() {
    JournalFilter filter;
    if (!readFilter(filter))
        return false;
    return guarded([&] { openJournal(list_, filter); });
}

void TFormNaplo::FilterButtonClick() {
    applyFilter();
}

void TFormNaplo::showCurrentChanges() {
    ChangeTable->setRowCount(0);
    const int current = list_->CurrentIndex();
    if (!list_->Active() || current < 0)
        return;
    guarded([&] {
        const JournalEntry entry = entryAt(list_, current);
        const QList<ColumnChange> changes = reader_->changes(entry);
        ChangeTable->setRowCount(int(changes.size()));
        for (int row = 0; row < changes.size(); ++row) {
            const ColumnChange& change = changes[row];
            const ValueKind kind = reader_->kindOf(change.column);
            const QStringList cells{columnCaption(change.column), valueText(change.before, kind),
                                    valueText(change.after, kind)};
            for (int column = 0; column < 3; ++column) {
                auto* item = new QTableWidgetItem(cells[column]);
                item->setToolTip(cells[column]);
                ChangeTable->setItem(row, column, item);
            }
        }
        ChangeTable->resizeRowsToContents();
    });
}

bool TFormNaplo::collectLines(QList<JournalLine>& lines, int& entries) {
    JournalFilter filter;
    if (!readFilter(filter))
        return false;
    // Years of journal make thousands of pages: the clerk is asked before a long one is gathered.
    int listed = 0;
    if (!guarded([&] {
            openJournal(list_, filter);
            listed = list_->RecordCount();
        }))
        return false;
    if (listed > LargeListEntries &&
        ui().messageBox(
            QStringLiteral("A lista %1 bejegyzést tartalmaz, összegyűjtése hosszabb ideig tarthat. "
                           "Folytatja?")
                .arg(listed),
            windowTitle(), MsgIcon::Question, int(MsgButton::Yes) | int(MsgButton::No)) != MsgButton::Yes)
        return false;
    // The bar moves as the entries are read; the window is repainted a few times a second.
    QElapsedTimer sinceRepaint;
    sinceRepaint.start();
    auto step = [&](int done) {
        ProgressBar1->setValue(done);
        if (sinceRepaint.elapsed() >= 100) {
            QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
            sinceRepaint.restart();
        }
    };
    return guarded([&] {
        TZQuery texts(QStringLiteral("ZQNaplo3"), Data->ZCon1, Data->IBTrans1);
        openJournal(&texts, filter, true);
        QList<JournalEntry> read;
        for (texts.First(); !texts.IsEmpty() && !texts.Eof(); texts.Next())
            read.append(entryAt(&texts, texts.CurrentIndex()));
        texts.Close();
        ProgressBar1->setRange(0, int(read.size()));
        const auto changes = reader_->changes(read, step);
        lines =
            journalLines(read, changes, [this](const QString& column) { return reader_->kindOf(column); });
        entries = int(read.size());
    });
}

void TFormNaplo::PrintButtonClick() {
    QList<JournalLine> lines;
    int entries = 0;
    if (!collectLines(lines, entries))
        return;
    JournalFilter filter;
    readFilter(filter);
    guarded([&] {
        reportData_.setLines(std::move(lines));
        setReportVariable(QStringLiteral("v_szures"), filterDescription(filter));
        setReportVariable(QStringLiteral("v_bejegyzes"), double(entries));
        report_->LoadFromFile(JournalLayoutFile);
        report_->ShowReport();
    });
}

void TFormNaplo::ExportButtonClick() {
    QList<JournalLine> lines;
    int entries = 0;
    if (!collectLines(lines, entries))
        return;
    const QByteArray stream = exchange::buildSheets(
        sheetColumns(),
        {int(lines.size()), [&](int row, int column) { return sheetValue(lines[row], column); }},
        int(sheetColumns().size()));
    exchange::finishWorkbookExport(WorkbookPath(),
                                   exchange::saveWorkbookAsking(WorkbookPath(), stream, windowTitle()),
                                   ShowWorkbookCheck->isChecked(), int(lines.size()));
}
