#include "masterdata/animal_browser.h"

#include "data/data_module.h"
#include "data/database_error.h"
#include "data/logging.h"
#include "data/shared_values.h"
#include "masterdata/animal_entry.h"
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
#include <QLabel>
#include <QPushButton>
#include <QShowEvent>
#include <QVBoxLayout>

using vardelo::reportFailure;
using vardelo::ui;

QString TForm6::NewMode() {
    return QStringLiteral("Új termék");
}

QString TForm6::ChangeMode() {
    return QStringLiteral("Termék módositás");
}

TForm6::TForm6(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("Form6"));
    setWindowTitle(QStringLiteral("Állat"));
    buildWindow();
    vardelo::openAnimalsByName();
}

TForm6::~TForm6() = default;

void TForm6::buildWindow() {
    DBGrid1 = new TDBGrid(this);
    DBGrid1->setObjectName(QStringLiteral("DBGrid1"));
    DBGrid1->SetReadOnly(true);
    DBGrid1->SetDataSource(Data->DSQ40);
    QList<TDBGridColumn> columns;
    for (const char* field :
         {"T_KOD", "T_MEGNEVEZES", "T_VTSZ", "T_EAR", "T_MEGY", "T_KOMPMERTEKE", "ID_TERMEK"})
        columns.append({QString::fromLatin1(field), QString::fromLatin1(field)});
    DBGrid1->SetColumns(columns);
    DBGrid1->setToolTip(
        QStringLiteral("Termék sorrend: klikk az \"kód\" , \"Megnevezés\" vagy \"ID\" oszlop fejlécre"));
    connect(DBGrid1, &TDBGrid::titleClick, this, &TForm6::DBGrid1TitleClick);

    auto* group = new QGroupBox(QStringLiteral("Adatok"), this);
    group->setObjectName(QStringLiteral("GroupBox1"));
    vardelo::fillRecordPanel(
        group, Data->DSQ40,
        {{QStringLiteral("ID:"), {QStringLiteral("ID_TERMEK")}},
         {QStringLiteral("Kód:"), {QStringLiteral("T_KOD")}},
         {QStringLiteral("Megnevezés:"), {QStringLiteral("T_MEGNEVEZES")}},
         {QStringLiteral("VTSZ:"), {QStringLiteral("T_VTSZ")}},
         {QStringLiteral("Egységár:"), {QStringLiteral("T_EAR"), QStringLiteral("T_MEGY")}},
         {QStringLiteral("Komp.mértéke:"), {QStringLiteral("T_KOMPMERTEKE")}}},
        2);

    DBNavigator1 = new TDBNavigator(this);
    DBNavigator1->setObjectName(QStringLiteral("DBNavigator1"));
    DBNavigator1->SetDataSource(Data->DSQ40);
    DBNavigator1->setFixedWidth(DBNavigator1->sizeHint().width() * 2);

    Label8 = new QLabel(QStringLiteral("Állat sorrend: "), this);
    Label8->setObjectName(QStringLiteral("Label8"));
    QFont bold = Label8->font();
    bold.setBold(true);
    Label8->setFont(bold);

    Button1 = vardelo::makeButton(QStringLiteral("Button1"), QStringLiteral("Új"), this);
    Button2 = vardelo::makeButton(QStringLiteral("Button2"), QStringLiteral("Módosít"), this);
    Button3 = vardelo::makeButton(QStringLiteral("Button3"), QStringLiteral("Töröl"), this);
    Button6 = vardelo::makeButton(QStringLiteral("Button6"), QStringLiteral("Nyomtatás"), this);
    Button4 = vardelo::makeButton(QStringLiteral("Button4"), QStringLiteral("Mégsem"), this);
    Button5 = vardelo::makeButton(QStringLiteral("Button5"), QStringLiteral("Kiválaszt"), this);
    connect(Button1, &QPushButton::clicked, this, &TForm6::Button1Click);
    connect(Button2, &QPushButton::clicked, this, &TForm6::Button2Click);
    connect(Button3, &QPushButton::clicked, this, &TForm6::Button3Click);
    connect(Button6, &QPushButton::clicked, this, &TForm6::Button6Click);
    connect(Button4, &QPushButton::clicked, this, &QDialog::reject);
    connect(Button5, &QPushButton::clicked, this, &QDialog::accept);

    auto* navigation = new QHBoxLayout;
    navigation->addWidget(DBNavigator1);
    navigation->addSpacing(16);
    navigation->addWidget(Label8, 1);

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
    layout->addLayout(buttons);

    setTabOrder(DBGrid1, Button1);
    setTabOrder(Button1, Button2);
    setTabOrder(Button2, Button3);
    setTabOrder(Button3, Button6);
    setTabOrder(Button6, Button4);
    setTabOrder(Button4, Button5);
    vardelo::fitWindowToScreen(*this, QSize(860, 560));
}

void TForm6::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!event->spontaneous())
        FormShow();
}

void TForm6::FormShow() {
    vardelo::openAnimalsByName();
    vardelo::locateAnimalByName(AllatKulcs);
    Label8->setText(vardelo::animalNameOrderLabel());
}

void TForm6::frissit() {
    vardelo::openAnimalsByName();
    vardelo::locateAnimalByCode(AllatKulcs);
    Label8->setText(vardelo::animalNameOrderLabel());
}

void TForm6::DBGrid1TitleClick(const QString& fieldName) {
    // Titles without an order change nothing.
    if (const auto label = vardelo::sortAnimals(fieldName))
        Label8->setText(*label);
}

void TForm6::Button1Click() {
    EntryMode = NewMode();
    TForm7 entry(EntryMode, this, this);
    ui().showModal(entry);
}

void TForm6::Button2Click() {
    EntryMode = ChangeMode();
    TForm7 entry(EntryMode, this, this);
    entry.setWindowTitle(ChangeMode());
    try {
        entry.LoadCurrentAnimal();
    } catch (const EDatabaseError& error) {
        reportFailure(QStringLiteral("Hiba az őstermelő módosítás Edit-ben való megjelenitésekor!"), error,
                      lcMasterdata);
        return;
    }
    ui().showModal(entry);
}

void TForm6::Button3Click() {
    const QString id = Data->ZQ40->FieldByName(QStringLiteral("ID_TERMEK")).AsString();
    if (vardelo::animalCount() < 2)
        ui().showMessage(QStringLiteral("Az utolsó terméksor nem törölhető ki."));
    else
        deleteAnimal(id);
    vardelo::openAnimalsByName();
    vardelo::locateAnimalByName(AllatKulcs);
    Label8->setText(vardelo::animalNameOrderLabel());
}

void TForm6::deleteAnimal(const QString& id) {
    try {
        // The row as the list shows it: another desk's change or delete since is told, nothing deleted.
        vardelo::deleteAnimalRow(id, vardelo::rowAsRead(*Data->ZQ40, QStringLiteral("TERMEK")));
    } catch (const EDatabaseError& error) {
        reportFailure(QStringLiteral("Hiba: termék DELETE törlésekor"), error, lcMasterdata);
        return;
    }
    ui().showMessage(QStringLiteral("Az termék sor törlölve!"));
}

void TForm6::Button6Click() {
    vardelo::openAnimalsForPrint();
    // The layout walks the list; a missing layout file ends here with the program's error box.
    vardelo::setDefaultPrinterLandscape();
    Data->frNyomtat->LoadFromFile(QStringLiteral("FjLista6.frf"));
    Data->frNyomtat->ShowReport();
}
