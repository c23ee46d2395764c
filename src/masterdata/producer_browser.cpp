#include "masterdata/producer_browser.h"

#include "data/data_module.h"
#include "data/database_error.h"
#include "data/logging.h"
#include "data/shared_values.h"
#include "masterdata/producer_entry.h"
#include "masterdata/register_queries.h"
#include "reports/report_objects.h"
#include "reports/report_service.h"
#include "widgets/action_guard.h"
#include "widgets/db_grid.h"
#include "widgets/db_navigator.h"
#include "widgets/db_text.h"
#include "widgets/form_controls.h"
#include "widgets/record_panel.h"
#include "widgets/ui_service.h"
#include "widgets/window_size.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShowEvent>
#include <QVBoxLayout>

using vardelo::reportFailure;
using vardelo::ui;

namespace {

const QString printedTicketText =
    QStringLiteral("Az őstermelő már szerepel a nyomtatott felvásárlási jegyen !");

// The service letters: typed while "Módosít" has the focus, "M" or "K" (either case) opens the entry in
// change mode without the printed-ticket test.
bool isServiceLetter(const QString& text) {
    return text.compare(QLatin1String("m"), Qt::CaseInsensitive) == 0 ||
           text.compare(QLatin1String("k"), Qt::CaseInsensitive) == 0;
}

} // namespace

QString TForm4::NewMode() {
    return QStringLiteral("Új őstermelő");
}

QString TForm4::ChangeMode() {
    return QStringLiteral("Őstermelő módositás");
}

TForm4::TForm4(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("Form4"));
    setWindowTitle(QStringLiteral("Őstermelő"));
    buildWindow();
    vardelo::openProducersByName();
}

TForm4::~TForm4() = default;

void TForm4::buildWindow() {
    DBGrid1 = new TDBGrid(this);
    DBGrid1->setObjectName(QStringLiteral("DBGrid1"));
    DBGrid1->SetReadOnly(true);
    DBGrid1->SetDataSource(Data->DSQ30);
    DBGrid1->SetColumns({
        {QStringLiteral("O_KOD"), QStringLiteral("Kódja")},
        {QStringLiteral("O_NEV"), QStringLiteral("Név")},
        {QStringLiteral("O_IRSZAM"), QStringLiteral("Ir.szám")},
        {QStringLiteral("O_HELYSEGNEV"), QStringLiteral("Helységnév")},
        {QStringLiteral("O_UTCA"), QStringLiteral("Utca")},
        {QStringLiteral("O_ADOAZON"), QStringLiteral("Adóazonositó")},
        {QStringLiteral("O_ADOSZAM"), QStringLiteral("Adószám")},
        {QStringLiteral("O_TAJ"), QStringLiteral("TAJ")},
        {QStringLiteral("O_IGSZAM"), QStringLiteral("Österm.Ig.szám")},
        {QStringLiteral("O_REGSZAM"), QStringLiteral("Reg.szám")},
        {QStringLiteral("O_CSGAZD"), QStringLiteral("Családi gazd.")},
        {QStringLiteral("O_SZULNEV"), QStringLiteral("Születési név")},
        {QStringLiteral("O_SZULHELY"), QStringLiteral("Születési hely")},
        {QStringLiteral("O_SZIDO"), QStringLiteral("Szül.idö")},
        {QStringLiteral("O_ANYJA"), QStringLiteral("Anyja")},
        {QStringLiteral("O_NEME"), QStringLiteral("Neme")},
        {QStringLiteral("O_BANKSZLA"), QStringLiteral("Bankszámla")},
        {QStringLiteral("O_SZJA"), QStringLiteral("Szja")},
        {QStringLiteral("ID_OSTERMELO"), QStringLiteral("ID")},
    });
    connect(DBGrid1, &TDBGrid::titleClick, this, &TForm4::DBGrid1TitleClick);

    // The current producer, every column.
    auto* group = new QGroupBox(QStringLiteral("Adata"), this);
    group->setObjectName(QStringLiteral("GroupBox1"));
    vardelo::fillRecordPanel(
        group, Data->DSQ30,
        {{QStringLiteral("ID:"), {QStringLiteral("ID_OSTERMELO")}},
         {QStringLiteral("Kód:"), {QStringLiteral("O_KOD")}},
         {QStringLiteral("Neve:"), {QStringLiteral("O_NEV")}},
         {QStringLiteral("Cim:"),
          {QStringLiteral("O_IRSZAM"), QStringLiteral("O_HELYSEGNEV"), QStringLiteral("O_UTCA")}},
         {QStringLiteral("Adóazonositó:"), {QStringLiteral("O_ADOAZON")}},
         {QStringLiteral("Ősterm.Ig.szám:"), {QStringLiteral("O_IGSZAM")}},
         {QStringLiteral("Reg.szám:"), {QStringLiteral("O_REGSZAM")}},
         {QStringLiteral("Szja:"), {QStringLiteral("O_SZJA")}},
         {QStringLiteral("Szül. hely:"), {QStringLiteral("O_SZULHELY")}},
         {QStringLiteral("Születési idő:"), {QStringLiteral("O_SZIDO")}},
         {QStringLiteral("Anyja neve:"), {QStringLiteral("O_ANYJA")}},
         {QStringLiteral("Családi gazd.szám:"), {QStringLiteral("O_CSGAZD")}},
         {QStringLiteral("Neme:"), {QStringLiteral("O_NEME")}},
         {QStringLiteral("Születési név:"), {QStringLiteral("O_SZULNEV")}},
         {QStringLiteral("TAJ:"), {QStringLiteral("O_TAJ")}},
         {QStringLiteral("Adószám:"), {QStringLiteral("O_ADOSZAM")}},
         {QStringLiteral("Bank szla:"), {QStringLiteral("O_BANKSZLA")}},
         {QStringLiteral("Érvényesite:"), {QStringLiteral("O_ERVKELT")}}},
        3);

    DBNavigator1 = new TDBNavigator(this);
    DBNavigator1->setObjectName(QStringLiteral("DBNavigator1"));
    DBNavigator1->SetDataSource(Data->DSQ30);
    DBNavigator1->setFixedWidth(DBNavigator1->sizeHint().width() * 2);

    Label18 = new QLabel(QStringLiteral("Őstermelő sorrend: klikk az oszlop fejlécre"), this);
    Label18->setObjectName(QStringLiteral("Label18"));
    QFont bold = Label18->font();
    bold.setBold(true);
    Label18->setFont(bold);

    auto* searchLabel = new QLabel(QStringLiteral("Név:"), this);
    searchLabel->setObjectName(QStringLiteral("Label1"));
    Edit1 = new QLineEdit(this);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    Edit1->setToolTip(QStringLiteral("Kezdö betükre rákeres"));
    Edit1->setMinimumWidth(220);
    searchLabel->setBuddy(Edit1);
    connect(Edit1, &QLineEdit::textEdited, this, &TForm4::Edit1Change);
    Button7 = vardelo::makeButton(QStringLiteral("Button7"), QStringLiteral("Keres"), this);
    connect(Button7, &QPushButton::clicked, this, &TForm4::Button7Click);

    Button1 = vardelo::makeButton(QStringLiteral("Button1"), QStringLiteral("Új"), this);
    Button2 = vardelo::makeButton(QStringLiteral("Button2"), QStringLiteral("Módosít"), this);
    Button3 = vardelo::makeButton(QStringLiteral("Button3"), QStringLiteral("Töröl"), this);
    Button6 = vardelo::makeButton(QStringLiteral("Button6"), QStringLiteral("Nyomtat"), this);
    Button4 = vardelo::makeButton(QStringLiteral("Button4"), QStringLiteral("Mégsem"), this);
    Button5 = vardelo::makeButton(QStringLiteral("Button5"), QStringLiteral("Kiválaszt"), this);
    connect(Button1, &QPushButton::clicked, this, &TForm4::Button1Click);
    connect(Button2, &QPushButton::clicked, this, &TForm4::Button2Click);
    connect(Button3, &QPushButton::clicked, this, &TForm4::Button3Click);
    connect(Button6, &QPushButton::clicked, this, &TForm4::Button6Click);
    connect(Button4, &QPushButton::clicked, this, &QDialog::reject);
    connect(Button5, &QPushButton::clicked, this, &QDialog::accept);
    Button2->installEventFilter(this);

    auto* navigation = new QHBoxLayout;
    navigation->addWidget(DBNavigator1);
    navigation->addSpacing(16);
    navigation->addWidget(Label18, 1);

    auto* search = new QHBoxLayout;
    search->addWidget(searchLabel);
    search->addWidget(Edit1);
    search->addWidget(Button7);
    search->addStretch(1);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(Button1);
    buttons->addWidget(Button2);
    buttons->addWidget(Button3);
    buttons->addWidget(Button6);
    buttons->addStretch(1);
    buttons->addWidget(Button4);
    buttons->addWidget(Button5);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(DBGrid1, 1);
    layout->addLayout(navigation);
    layout->addWidget(group);
    layout->addLayout(search);
    layout->addLayout(buttons);

    setTabOrder(DBGrid1, Edit1);
    setTabOrder(Edit1, Button7);
    setTabOrder(Button7, Button1);
    setTabOrder(Button1, Button2);
    setTabOrder(Button2, Button3);
    setTabOrder(Button3, Button6);
    setTabOrder(Button6, Button4);
    setTabOrder(Button4, Button5);
    vardelo::fitWindowToScreen(*this, QSize(1100, 680));
}

void TForm4::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!event->spontaneous())
        FormShow();
}

void TForm4::FormShow() {
    frissit();
}

void TForm4::frissit() {
    vardelo::openProducersByName();
    vardelo::locateProducer(AktOkod);
    Label18->setText(vardelo::producerNameOrderLabel());
}

void TForm4::DBGrid1TitleClick(const QString& fieldName) {
    // Titles without an order change nothing.
    if (const auto label = vardelo::sortProducers(fieldName))
        Label18->setText(*label);
}

void TForm4::Edit1Change() {
    vardelo::openProducersByName();
    Data->ZQ30->Locate(QStringLiteral("O_NEV"), Edit1->text(), loCaseInsensitive | loPartialKey);
    Label18->setText(vardelo::producerNameOrderLabel());
}

void TForm4::Button7Click() {
    Edit1Change();
}

void TForm4::Button1Click() {
    EntryMode = NewMode();
    TForm5 entry(EntryMode, this, this);
    ui().showModal(entry);
}

void TForm4::Button2Click() {
    const QString code = Data->ZQ30->FieldByName(QStringLiteral("O_KOD")).AsString();
    if (vardelo::producerOnPrintedTicket(code)) {
        ui().confirmYes(printedTicketText);
        return;
    }
    openChangeEntry();
}

void TForm4::openChangeEntry() {
    EntryMode = ChangeMode();
    TForm5 entry(EntryMode, this, this);
    entry.setWindowTitle(ChangeMode());
    try {
        entry.LoadCurrentProducer();
    } catch (const EDatabaseError& error) {
        reportFailure(QStringLiteral("Hiba az őstermelő módosítás Edit-ben való megjelenitésekor!"), error,
                      lcMasterdata);
        return;
    }
    ui().showModal(entry);
}

bool TForm4::eventFilter(QObject* watched, QEvent* event) {
    if (watched == Button2 && event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->modifiers() == Qt::NoModifier || key->modifiers() == Qt::ShiftModifier) {
            if (isServiceLetter(key->text())) {
                openChangeEntry();
                return true;
            }
        }
    }
    return QDialog::eventFilter(watched, event);
}

void TForm4::Button3Click() {
    TZQuery* list = Data->ZQ30;
    const QString code = list->FieldByName(QStringLiteral("O_KOD")).AsString();
    const QString id = list->FieldByName(QStringLiteral("ID_OSTERMELO")).AsString();
    if (vardelo::producerOnPrintedTicket(code))
        ui().confirmYes(printedTicketText);
    else if (vardelo::producerCount() < 2)
        ui().showMessage(QStringLiteral("Az utolsó őstermelősor nem törölhető ki."));
    else
        deleteProducer(id);
    frissit();
}

void TForm4::deleteProducer(const QString& id) {
    try {
        // The row as the list shows it: another desk's change or delete since is told, nothing deleted.
        vardelo::deleteProducerRow(id, vardelo::rowAsRead(*Data->ZQ30, QStringLiteral("OSTERMELO")));
    } catch (const EDatabaseError& error) {
        reportFailure(QStringLiteral("Hiba: östermelö DELETE törlésekor"), error, lcMasterdata);
        return;
    }
    ui().showMessage(QStringLiteral("Az őstermelő sor törlölve!"));
}

void TForm4::Button6Click() {
    vardelo::openProducersForPrint();
    // The layout walks the list; a missing layout file ends here with the program's error box.
    vardelo::setDefaultPrinterLandscape();
    Data->frNyomtat->LoadFromFile(QStringLiteral("FjLista2.frf"));
    Data->frNyomtat->ShowReport();
}
