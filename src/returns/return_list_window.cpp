#include "returns/return_list_window.h"

#include "data/data_module.h"
#include "data/database_error.h"
#include "data/logging.h"
#include "data/text_formats.h"
#include "reports/report_objects.h"
#include "reports/report_service.h"
#include "widgets/action_guard.h"
#include "widgets/date_picker.h"
#include "widgets/db_grid.h"
#include "widgets/db_navigator.h"
#include "widgets/form_controls.h"
#include "widgets/key_filters.h"
#include "widgets/ui_service.h"

#include <QDateEdit>
#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

using vardelo::ui;
using vardelo::returns::ItemOrder;

TForm12::TForm12(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("Form12"));
    setWindowTitle(QStringLiteral("Tételes lista"));
    buildWindow();
}

void TForm12::buildWindow() {
    using vardelo::makeButton;
    DateTimePicker1 = vardelo::makeDatePicker(QStringLiteral("DateTimePicker1"), QDate(2010, 1, 1), this);
    DateTimePicker2 = vardelo::makeDatePicker(QStringLiteral("DateTimePicker2"), QDate(2010, 12, 31), this);

    RadioGroup1 = new QGroupBox(QStringLiteral("Sorrend:"), this);
    RadioGroup1->setObjectName(QStringLiteral("RadioGroup1"));
    auto radio = [this](const QString& name, const QString& caption) {
        auto* r = new QRadioButton(caption, RadioGroup1);
        r->setObjectName(name);
        connect(r, &QRadioButton::clicked, this, &TForm12::OrderClick);
        return r;
    };
    RadioButton1 = radio(QStringLiteral("RadioButton1"), QStringLiteral("Östermelö"));
    RadioButton2 = radio(QStringLiteral("RadioButton2"), QStringLiteral("Fiz.dátum"));
    RadioButton3 = radio(QStringLiteral("RadioButton3"), QStringLiteral("Zozed"));
    RadioButton4 = radio(QStringLiteral("RadioButton4"), QStringLiteral("Termék"));
    RadioButton5 = radio(QStringLiteral("RadioButton5"), QStringLiteral("Felv.dátum"));
    RadioButton1->setChecked(true);
    auto* radios = new QHBoxLayout(RadioGroup1);
    for (QRadioButton* r : {RadioButton1, RadioButton2, RadioButton3, RadioButton4, RadioButton5})
        radios->addWidget(r);
    RadioGroup1->installEventFilter(this);

    Button1 = makeButton(QStringLiteral("Button1"), QStringLiteral("Kigyüjtés"), this);
    Button2 = makeButton(QStringLiteral("Button2"), QStringLiteral("Nyomtatás"), this);
    Button3 = makeButton(QStringLiteral("Button3"), QStringLiteral("Mégsem"), this);
    Button4 = makeButton(QStringLiteral("Button4"), QStringLiteral("Bezárás"), this);
    Button2->setEnabled(false);

    DBGrid1 = new TDBGrid(this);
    DBGrid1->setObjectName(QStringLiteral("DBGrid1"));
    DBGrid1->SetReadOnly(true);
    DBGrid1->SetColumns({
        {QStringLiteral("S_MEGNEVEZES"), QStringLiteral("Megnevezés")},
        {QStringLiteral("S_EAR"), QStringLiteral("E.ár")},
        {QStringLiteral("S_MENNYISEG"), QStringLiteral("Mennyiség")},
        {QStringLiteral("S_MEGY"), QStringLiteral("M.egys.")},
        {QStringLiteral("S_BSZAM"), QStringLiteral("Bszám")},
        {QStringLiteral("S_VTSZ"), QStringLiteral("VTSZ")},
        {QStringLiteral("S_KOMPMERTEKE"), QStringLiteral("Komp.%")},
        {QStringLiteral("S_TERMEKKOD"), QStringLiteral("Termékkód")},
        {QStringLiteral("ID_FJSOR"), QStringLiteral("ID")},
    });
    DBGrid1->SetDataSource(Data->DSQ20);
    DBNavigator1 = new TDBNavigator(this);
    DBNavigator1->setObjectName(QStringLiteral("DBNavigator1"));
    DBNavigator1->SetDataSource(Data->DSQ20);

    auto* period = new QGridLayout;
    period->addWidget(new QLabel(QStringLiteral("Fizetési dátum szerint"), this), 0, 1, 1, 3);
    period->addWidget(new QLabel(QStringLiteral("Bevallási idöszak: "), this), 1, 0);
    period->addWidget(DateTimePicker1, 1, 1);
    period->addWidget(new QLabel(QStringLiteral("-tól"), this), 1, 2);
    period->addWidget(DateTimePicker2, 1, 3);
    period->addWidget(new QLabel(QStringLiteral("-ig"), this), 1, 4);
    auto* top = new QHBoxLayout;
    top->addLayout(period);
    top->addWidget(RadioGroup1);
    top->addStretch(1);

    auto* navigation = new QHBoxLayout;
    navigation->addWidget(DBNavigator1);
    navigation->addStretch(1);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(Button1);
    buttons->addWidget(Button2);
    buttons->addStretch(1);
    buttons->addWidget(Button3);
    buttons->addWidget(Button4);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(DBGrid1, 1);
    layout->addLayout(navigation);
    layout->addLayout(buttons);

    connect(DateTimePicker1, &QDateEdit::dateChanged, this, [this] { Button2->setEnabled(false); });
    connect(Button1, &QPushButton::clicked, this, &TForm12::Button1Click);
    connect(Button2, &QPushButton::clicked, this, &TForm12::Button2Click);
    connect(Button3, &QPushButton::clicked, this, &QDialog::reject);
    connect(Button4, &QPushButton::clicked, this, &QDialog::accept);
    vardelo::EnterMovesFocus::install(this);
    resize(980, 600);
}

bool TForm12::eventFilter(QObject* watched, QEvent* event) {
    if (watched == RadioGroup1 && event->type() == QEvent::MouseButtonRelease)
        OrderClick();
    return QDialog::eventFilter(watched, event);
}

ItemOrder TForm12::SelectedOrder() const {
    if (RadioButton2->isChecked())
        return ItemOrder::PaymentDate;
    if (RadioButton3->isChecked())
        return ItemOrder::TicketNumber;
    if (RadioButton4->isChecked())
        return ItemOrder::Product;
    if (RadioButton5->isChecked())
        return ItemOrder::PurchaseDate;
    return ItemOrder::Producer;
}

void TForm12::OrderClick() {
    Button2->setEnabled(false);
}

void TForm12::Button1Click() {
    const QDate from = DateTimePicker1->date();
    const QDate to = DateTimePicker2->date();
    try {
        vardelo::returns::openItemTotal(from, to);
        ListaOsszesen = Data->ZQ20->IsEmpty()
                            ? QStringLiteral("0")
                            : vardelo::shortestNumberText(
                                  Data->ZQ20->FieldByName(QStringLiteral("M_OSSZESEN")).AsDecimal());
        vardelo::returns::openItems(from, to, SelectedOrder());
    } catch (const EDatabaseError& error) {
        vardelo::reportFailure(QStringLiteral("Hiba a lista lekérdezésekor."), error, lcReturns);
        return;
    }
    Button2->setEnabled(true);
}

void TForm12::Button2Click() {
    vardelo::setReportVariable(QStringLiteral("v_osszesen"), ListaOsszesen);
    vardelo::setReportVariable(QStringLiteral("v_tol"), vardelo::dateText(DateTimePicker1->date()));
    vardelo::setReportVariable(QStringLiteral("v_ig"), vardelo::dateText(DateTimePicker2->date()));
    vardelo::setReportVariable(QStringLiteral("v_sorrend"), vardelo::returns::itemOrderName(SelectedOrder()));
    Data->frNyomtat->LoadFromFile(QStringLiteral("FjLista4.frf"));
    Data->frNyomtat->ShowReport();
}
