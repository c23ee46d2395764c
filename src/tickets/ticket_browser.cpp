#include "tickets/ticket_browser.h"

#include "data/data_module.h"
#include "data/index_statistics.h"
#include "data/shared_values.h"
#include "journal/journal_window.h"
#include "tickets/print_routine.h"
#include "tickets/producer_details.h"
#include "tickets/ticket_counts.h"
#include "tickets/ticket_entry.h"
#include "tickets/ticket_queries.h"
#include "tickets/ticket_rules.h"
#include "widgets/action_guard.h"
#include "widgets/db_grid.h"
#include "widgets/db_navigator.h"
#include "widgets/db_text.h"
#include "widgets/form_controls.h"
#include "widgets/record_panel.h"
#include "widgets/ui_service.h"
#include "widgets/window_size.h"

#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QShortcut>
#include <QTabWidget>
#include <QVBoxLayout>

using namespace vardelo;
using namespace vardelo::tickets;

namespace {

// A field of the current ticket header; empty when the list is closed or empty.
QString headerText(const char* field) {
    TZQuery* q = Data->ZQ10;
    if (!q->Active())
        return QString();
    TField* f = q->FindField(QString::fromLatin1(field));
    return f ? f->AsString() : QString();
}

} // namespace

TForm8::TForm8(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("Form8"));
    setWindowTitle(QStringLiteral("Felvásárlási jegy"));

    PageControl1 = new QTabWidget(this);
    PageControl1->setObjectName(QStringLiteral("PageControl1"));
    PageControl1->addTab(buildHeaderTab(), QStringLiteral("Fejsor"));
    PageControl1->addTab(buildLinesTab(), QStringLiteral("Tételsor"));
    PageControl1->addTab(producerDetails(Data->DSQ30, QStringLiteral("Adata"), this),
                         QStringLiteral("Östermelő"));

    NewButton = makeButton(QStringLiteral("NewButton"), QStringLiteral("Új"), this);
    ChangeButton = makeButton(QStringLiteral("ChangeButton"), QStringLiteral("Módosít"), this);
    CancelButton = makeButton(QStringLiteral("CancelButton"), QStringLiteral("Mégsem"), this);
    ViewButton = makeButton(QStringLiteral("ViewButton"), QStringLiteral("Megtekint"), this);
    PrintButton = makeButton(QStringLiteral("PrintButton"), QStringLiteral("Nyomtat"), this);
    JournalButton = makeButton(QStringLiteral("JournalButton"), QStringLiteral("Napló"), this);
    JournalButton->setToolTip(QStringLiteral("A jegy változásai (F9)"));
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(NewButton);
    buttons->addWidget(ChangeButton);
    buttons->addStretch(1);
    buttons->addWidget(ViewButton);
    buttons->addWidget(PrintButton);
    buttons->addWidget(JournalButton);
    buttons->addStretch(1);
    buttons->addWidget(CancelButton);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(buildHeaderGroup());
    layout->addWidget(PageControl1, 1);
    layout->addLayout(buttons);

    ChangeButton->installEventFilter(this);
    connect(DBGrid1, &TDBGrid::titleClick, this, &TForm8::DBGrid1TitleClick);
    connect(PageControl1, &QTabWidget::currentChanged, this, &TForm8::PageControl1Change);
    connect(NewButton, &QPushButton::clicked, this, &TForm8::NewButtonClick);
    connect(ChangeButton, &QPushButton::clicked, this, &TForm8::ChangeButtonClick);
    connect(ViewButton, &QPushButton::clicked, this, &TForm8::ViewButtonClick);
    connect(PrintButton, &QPushButton::clicked, this, &TForm8::PrintButtonClick);
    connect(JournalButton, &QPushButton::clicked, this, &TForm8::JournalButtonClick);
    connect(new QShortcut(QKeySequence(JournalKey), this), &QShortcut::activated, this,
            &TForm8::JournalButtonClick);
    connect(CancelButton, &QPushButton::clicked, this, &QDialog::reject);
    vardelo::fitWindowToScreen(*this, QSize(980, 600));
}

QWidget* TForm8::buildHeaderGroup() {
    auto* group = new QGroupBox(QStringLiteral("Felvásárlási jegy fejsor adata"), this);
    group->setObjectName(QStringLiteral("HeaderGroup"));
    fillRecordPanel(group, Data->DSQ10,
                    {{QStringLiteral("ID:"), {QStringLiteral("ID_FJFEJ")}},
                     {QStringLiteral("Bszám:"), {QStringLiteral("F_BSZAM")}},
                     {QStringLiteral("Átvevőkód:"), {QStringLiteral("F_AKOD")}},
                     {QStringLiteral("Őstermelőkód:"), {QStringLiteral("F_OSTERMKOD")}},
                     {QStringLiteral("Dátum:"), {QStringLiteral("F_KELT")}},
                     {QStringLiteral("Szja:"), {QStringLiteral("F_SZJA")}},
                     {QStringLiteral("Print:"), {QStringLiteral("F_PRN")}},
                     {QStringLiteral("Megjegyzés:"), {QStringLiteral("F_MEGJ")}}},
                    4);
    return group;
}

QWidget* TForm8::buildHeaderTab() {
    auto* tab = new QWidget(this);
    tab->setObjectName(QStringLiteral("TabFejsor"));
    OrderLabel = new QLabel(QStringLiteral("Fejsor rendezettsége:"), tab);
    OrderLabel->setObjectName(QStringLiteral("OrderLabel"));
    DBGrid1 = new TDBGrid(tab);
    DBGrid1->setObjectName(QStringLiteral("DBGrid1"));
    DBGrid1->SetReadOnly(true);
    DBGrid1->SetColumns({
        {QStringLiteral("F_BSZAM"), QStringLiteral("Bszám")},
        {QStringLiteral("F_OSTERMKOD"), QStringLiteral("Österm.kód")},
        {QStringLiteral("O_NEV"), QStringLiteral("Név")},
        {QStringLiteral("F_KELT"), QStringLiteral("Dátum")},
        {QStringLiteral("F_PRN"), QStringLiteral("Print")},
        // The day a printed ticket was last changed: the mark of a ticket changed after its print.
        {QStringLiteral("F_NYMOD"), QStringLiteral("Nyomt. után mód.")},
        {QStringLiteral("F_MEGJ"), QStringLiteral("Megjegyzés")},
        {QStringLiteral("O_IRSZAM"), QStringLiteral("Irszám")},
        {QStringLiteral("O_HELYSEGNEV"), QStringLiteral("Helységnév")},
        {QStringLiteral("O_UTCA"), QStringLiteral("Utca")},
        {QStringLiteral("O_ADOSZAM"), QStringLiteral("Adószám")},
        {QStringLiteral("O_ADOAZON"), QStringLiteral("Adóazonositó")},
        {QStringLiteral("F_SZJA"), QStringLiteral("Szja")},
        // Bound to a name the list does not have, so the column stays empty.
        {QStringLiteral("V_AKOD"), QStringLiteral("Átvevökód")},
        {QStringLiteral("ID_FJFEJ"), QStringLiteral("ID")},
    });
    DBGrid1->SetDataSource(Data->DSQ10);
    DBNavigator1 = new TDBNavigator(tab);
    DBNavigator1->setObjectName(QStringLiteral("DBNavigator1"));
    DBNavigator1->SetDataSource(Data->DSQ10);
    DBNavigator1->SetVisibleButtons(nbMoveButtons);

    auto* navigation = new QHBoxLayout;
    navigation->addWidget(DBNavigator1);
    navigation->addStretch(1);
    auto* layout = new QVBoxLayout(tab);
    layout->addWidget(OrderLabel);
    layout->addWidget(DBGrid1, 1);
    layout->addLayout(navigation);
    return tab;
}

QWidget* TForm8::buildLinesTab() {
    auto* tab = new QWidget(this);
    tab->setObjectName(QStringLiteral("TabTetelsor"));
    DBGrid2 = new TDBGrid(tab);
    DBGrid2->setObjectName(QStringLiteral("DBGrid2"));
    DBGrid2->SetReadOnly(true);
    DBGrid2->SetColumns({
        {QStringLiteral("S_BSZAM"), QStringLiteral("Bizonylatszám")},
        {QStringLiteral("S_MEGNEVEZES"), QStringLiteral("Megnevezés")},
        {QStringLiteral("S_BRUTTO"), QStringLiteral("Mennyiség")},
        {QStringLiteral("S_MEGY"), QStringLiteral("M.egys.")},
        {QStringLiteral("S_EAR"), QStringLiteral("Egységár")},
        {QStringLiteral("S_KOMPMERTEKE"), QStringLiteral("Komp. %")},
        {QStringLiteral("S_FELVAR"), QStringLiteral("Felvásár. ár")},
        {QStringLiteral("S_KOMPFELAR"), QStringLiteral("Komp.felár")},
        {QStringLiteral("S_VETELAR"), QStringLiteral("Vételár")},
        {QStringLiteral("S_SZJA"), QStringLiteral("Szja %")},
        {QStringLiteral("S_VTSZ"), QStringLiteral("VTSZ")},
        {QStringLiteral("ID_FJSOR"), QStringLiteral("ID")},
        {QStringLiteral("S_TERMEKKOD"), QStringLiteral("Termékkód")},
        {QStringLiteral("S_AKOD"), QStringLiteral("Átvevő")},
    });
    DBGrid2->SetDataSource(Data->DSQ20);
    DBNavigator2 = new TDBNavigator(tab);
    DBNavigator2->setObjectName(QStringLiteral("DBNavigator2"));
    DBNavigator2->SetDataSource(Data->DSQ20);
    DBNavigator2->SetVisibleButtons(nbMoveButtons);

    auto* navigation = new QHBoxLayout;
    navigation->addWidget(DBNavigator2);
    navigation->addStretch(1);
    auto* layout = new QVBoxLayout(tab);
    layout->addWidget(DBGrid2, 1);
    layout->addLayout(navigation);
    return tab;
}

void TForm8::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!shown_) {
        shown_ = true;
        guarded(lcTickets, [this] { FormShow(); });
    }
}

void TForm8::FormShow() {
    // The list's orders are read through their indexes only while the engine knows how many rows they hold.
    refreshIndexStatistics(Data->ZCon1, Data->IBTrans1,
                           {QStringLiteral("FJFEJ"), QStringLiteral("OSTERMELO")});
    settleTicketCounts(Data->ZCon1);
    openTicketHeaders();
    locateTicket(AktBszam);
    OrderLabel->setText(BszamOrderCaption);
    DBGrid1->setFocus();
}

void TForm8::DBGrid1TitleClick(const QString& fieldName) {
    const auto order = ticketOrderForColumn(fieldName);
    if (!order)
        return;
    guarded(lcTickets, [&] {
        openTicketHeaders(order->column);
        OrderLabel->setText(order->caption);
    });
}

void TForm8::PageControl1Change(int) {
    guarded(lcTickets, [] {
        openTicketLines(headerText("F_BSZAM"), false);
        openProducer(Data->ZQ30, headerText("F_OSTERMKOD"));
    });
}

void TForm8::NewButtonClick() {
    guarded(lcTickets, [this] {
        // A number already used, or one too long for a ticket, is never offered: the clerk sets the seed
        // right first. A number row that cannot be read is left to the entry, which reports it.
        const NextNumber next = nextTicketNumber(lastTicketNumber());
        if (next.ok()) {
            const QString refusal = newTicketNumberRefusal(next.number, next.number.size() <= 8 &&
                                                                            ticketHeaderExists(next.number));
            if (!refusal.isEmpty()) {
                ui().showMessage(refusal);
                return;
            }
        }
        JegyMod = UjJegy;
        TForm9 entry(this);
        ui().showModal(entry);
        // The entry leaves the list in ticket-number order.
        OrderLabel->setText(BszamOrderCaption);
    });
}

void TForm8::ChangeButtonClick() {
    guarded(lcTickets, [this] {
        // Read from the database, not from the grid: a mark written a moment ago counts too.
        if (ticketPrinted(headerText("F_BSZAM"))) {
            ui().confirmYes(QStringLiteral("A felvásárlási jegy már nyomtatva volt!"));
            return;
        }
        openForChange();
    });
}

void TForm8::openForChange() {
    JegyMod = JegyModositas;
    TForm9 entry(this);
    openTicketLines(headerText("F_BSZAM"));
    entry.LoadForChange();
    ui().showModal(entry);
    OrderLabel->setText(BszamOrderCaption);
}

bool TForm8::eventFilter(QObject* watched, QEvent* event) {
    if (watched == ChangeButton && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->text().compare(QString(QLatin1Char(OverrideKey)), Qt::CaseInsensitive) == 0) {
            guarded(lcTickets, [this] { openForChange(); });
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void TForm8::print(const QString& mode) {
    guarded(lcTickets, [&] {
        NyomtMod = mode;
        printTicket();
        OrderLabel->setText(BszamOrderCaption);
    });
}

void TForm8::ViewButtonClick() {
    print(Megtekint);
}

void TForm8::PrintButtonClick() {
    print(Nyomtat);
}

void TForm8::JournalButtonClick() {
    TFormNaplo journal(this);
    journal.SetTicketNumber(headerText("F_BSZAM"));
    ui().showModal(journal);
}
