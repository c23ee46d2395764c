#include "lists/summary_window.h"

#include "data/data_module.h"
#include "data/index_statistics.h"
#include "lists/summary_datasets.h"
#include "widgets/action_guard.h"
#include "widgets/date_picker.h"
#include "widgets/db_grid.h"
#include "widgets/db_navigator.h"
#include "widgets/form_controls.h"

#include <QDateEdit>
#include <QEvent>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

using namespace vardelo;
using namespace vardelo::lists;

TSummaryWindow::TSummaryWindow(const QString& name, const QString& caption, QWidget* parent)
    : QDialog(parent) {
    setObjectName(name);
    setWindowTitle(caption);

    DateTimePicker1 = makeDatePicker(QStringLiteral("DateTimePicker1"), QDate(2010, 1, 1), this);
    DateTimePicker2 = makeDatePicker(QStringLiteral("DateTimePicker2"), QDate(2010, 12, 31), this);
    auto* dates = makeDateRangeRow(QStringLiteral("Dátum: "), DateTimePicker1, DateTimePicker2, this);

    RadioGroup1 = new QGroupBox(QStringLiteral("Dátum ?"), this);
    RadioGroup1->setObjectName(QStringLiteral("RadioGroup1"));
    RadioButton1 = new QRadioButton(QStringLiteral("Fizetési dátum"), RadioGroup1);
    RadioButton1->setObjectName(QStringLiteral("RadioButton1"));
    RadioButton2 = new QRadioButton(QStringLiteral("Felvásárlási dátum"), RadioGroup1);
    RadioButton2->setObjectName(QStringLiteral("RadioButton2"));
    RadioButton1->setChecked(true);
    auto* basis = new QHBoxLayout(RadioGroup1);
    basis->addWidget(RadioButton1);
    basis->addWidget(RadioButton2);
    basis->addStretch(1);

    DBGrid1 = new TDBGrid(this);
    DBGrid1->setObjectName(QStringLiteral("DBGrid1"));
    DBGrid1->SetReadOnly(true);
    DBGrid1->SetDataSource(Data->DSQ20);
    DBNavigator1 = new TDBNavigator(this);
    DBNavigator1->setObjectName(QStringLiteral("DBNavigator1"));
    DBNavigator1->SetDataSource(Data->DSQ20);
    DBNavigator1->SetVisibleButtons(nbMoveButtons);

    Button1 = makeButton(QStringLiteral("Button1"), QStringLiteral("Kigyüjtés"), this);
    Button2 = makeButton(QStringLiteral("Button2"), QStringLiteral("Nyomtatás"), this);
    Button2->setEnabled(false);
    CancelButton = makeButton(QStringLiteral("CancelButton"), QStringLiteral("Mégsem"), this);
    CloseButton = makeButton(QStringLiteral("CloseButton"), QStringLiteral("Bezárás"), this);

    auto* navigation = new QHBoxLayout;
    navigation->addWidget(DBNavigator1);
    navigation->addStretch(1);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(Button1);
    buttons->addWidget(Button2);
    buttons->addStretch(1);
    buttons->addWidget(CancelButton);
    buttons->addWidget(CloseButton);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(dates);
    layout->addWidget(RadioGroup1);
    layout->addWidget(DBGrid1, 1);
    layout->addLayout(navigation);
    layout->addLayout(buttons);

    RadioGroup1->installEventFilter(this);
    connect(RadioButton1, &QRadioButton::clicked, this, &TSummaryWindow::RadioGroup1Click);
    connect(RadioButton2, &QRadioButton::clicked, this, &TSummaryWindow::RadioGroup1Click);
    connect(Button1, &QPushButton::clicked, this, &TSummaryWindow::Button1Click);
    connect(Button2, &QPushButton::clicked, this, &TSummaryWindow::Button2Click);
    connect(CancelButton, &QPushButton::clicked, this, &QDialog::reject);
    connect(CloseButton, &QPushButton::clicked, this, &QDialog::reject);

    // The report walks read the period of this window while it is open.
    connectSummaryDatasets(*Data, [this] { return Period(); });
    resize(760, 560);
}

TSummaryWindow::~TSummaryWindow() {
    if (Data)
        disconnectSummaryDatasets(*Data);
}

SummaryPeriod TSummaryWindow::Period() const {
    return {DateTimePicker1->date(), DateTimePicker2->date(), !RadioButton2->isChecked()};
}

void TSummaryWindow::Button1Click() {
    guarded(lcLists, [this] {
        refreshIndexStatistics(Data->ZCon1, Data->IBTrans1, ticketTables());
        collect();
        Button2->setEnabled(true);
    });
}

void TSummaryWindow::Button2Click() {
    guarded(lcLists, [this] { print(); });
}

void TSummaryWindow::disablePrint() {
    Button2->setEnabled(false);
}

// A change of the date basis asks for a new collection before the next print.
void TSummaryWindow::RadioGroup1Click() {
    disablePrint();
}

bool TSummaryWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched == RadioGroup1 && event->type() == QEvent::MouseButtonRelease)
        RadioGroup1Click();
    return QDialog::eventFilter(watched, event);
}
