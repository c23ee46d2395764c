#include "shell/purchaser_selection.h"

#include "data/data_module.h"
#include "data/shared_values.h"
#include "shell/main_window.h"
#include "widgets/db_lookup_combo_box.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QShowEvent>
#include <QVBoxLayout>

namespace vardelo {

QString purchaserCaption(const QString& name) {
    return QStringLiteral("Felvásárlási jegy - ") + name.left(25) + QStringLiteral("  2006-2010");
}

} // namespace vardelo

TForm18::TForm18(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("Form18"));
    setWindowTitle(QStringLiteral("Átvevö kiválasztása"));

    DBLookupComboBox1 = new TDBLookupComboBox(this);
    DBLookupComboBox1->setObjectName(QStringLiteral("DBLookupComboBox1"));
    DBLookupComboBox1->setToolTip(QStringLiteral("Kurzorral léptesse a kiválasztandó átvevőre"));
    DBLookupComboBox1->setMinimumContentsLength(40);
    DBLookupComboBox1->SetListField(QStringLiteral("V_NEVE"));
    DBLookupComboBox1->SetListSource(Data->DS6);

    Button2 = new QPushButton(QStringLiteral("Kiválaszt"), this);
    Button2->setObjectName(QStringLiteral("Button2"));
    Button2->setDefault(true);
    Button3 = new QPushButton(QStringLiteral("Mégsem"), this);
    Button3->setObjectName(QStringLiteral("Button3"));

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(Button2);
    buttons->addWidget(Button3);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(16, 16, 16, 12);
    layout->setSpacing(16);
    layout->addWidget(DBLookupComboBox1);
    layout->addLayout(buttons);

    connect(DBLookupComboBox1, &TDBLookupComboBox::closeUp, this, &TForm18::DBLookupComboBox1CloseUp);
    connect(DBLookupComboBox1, &TDBLookupComboBox::exited, this, &TForm18::DBLookupComboBox1Exit);
    connect(Button2, &QPushButton::clicked, this, &TForm18::Button2Click);
    connect(Button3, &QPushButton::clicked, this, &TForm18::Button3Click);
}

void TForm18::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!event->spontaneous())
        FormShow();
}

void TForm18::FormShow() {
    if (Data->IBTable6->Active())
        Data->IBTable6->Last();
}

void TForm18::kivalaszt() {
    TDataSet* table = Data->IBTable6;
    const bool hasRow = table->Active() && !table->IsEmpty();
    AktAkod = hasRow ? table->FieldByName(QStringLiteral("V_AKOD")).AsString() : QString();
    const QString caption = vardelo::purchaserCaption(
        hasRow ? table->FieldByName(QStringLiteral("V_NEVE")).AsString() : QString());
    if (Form1)
        Form1->setWindowTitle(caption);
    setWindowTitle(caption);
}

void TForm18::DBLookupComboBox1CloseUp() {
    kivalaszt();
}

void TForm18::DBLookupComboBox1Exit() {
    kivalaszt();
}

void TForm18::Button2Click() {
    close();
}

void TForm18::Button3Click() {
    close();
}

void TForm18::done(int result) {
    if (!closing_) {
        closing_ = true;
        FormClose();
    }
    QDialog::done(result);
}

void TForm18::FormClose() {
    kivalaszt();
    TDataSet* table = Data->IBTable6;
    const bool hasRow = table->Active() && !table->IsEmpty();
    VerzioBetu = hasRow ? table->FieldByName(QStringLiteral("V_VERZIO")).AsString().left(1) : QString();
    if (Form1)
        Form1->EnableMenus();
}
