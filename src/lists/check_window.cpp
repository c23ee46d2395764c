#include "lists/check_window.h"

#include "data/data_module.h"
#include "data/index_statistics.h"
#include "data/text_formats.h"
#include "lists/check_queries.h"
#include "lists/check_rules.h"
#include "widgets/action_guard.h"
#include "widgets/date_picker.h"
#include "widgets/db_grid.h"
#include "widgets/db_navigator.h"
#include "widgets/form_controls.h"
#include "widgets/key_filters.h"
#include "widgets/ui_service.h"

#include <QCoreApplication>
#include <QDateEdit>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

using namespace vardelo;
using namespace vardelo::lists;

namespace {

QLabel* makeLabel(const QString& name, const QString& text, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(name);
    return label;
}

void showVerdict(QLabel* label, const SingleVerdict& verdict) {
    if (verdict.beep)
        ui().beep();
    label->setText(verdict.message);
}

} // namespace

TForm14::TForm14(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("Form14"));
    setWindowTitle(QStringLiteral("Ellenörzés"));

    PageControl1 = new QTabWidget(this);
    PageControl1->setObjectName(QStringLiteral("PageControl1"));
    PageControl1->addTab(buildTicketTab(), QStringLiteral("Felvásárlási jegy"));
    PageControl1->addTab(buildDataTab(), QStringLiteral("Adatok"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(PageControl1);

    EnterMovesFocus::install(this);
    resize(820, 620);
}

QWidget* TForm14::buildTicketTab() {
    auto* tab = new QWidget(this);
    tab->setObjectName(QStringLiteral("TabSheet1"));
    DateTimePicker1 = makeDatePicker(QStringLiteral("DateTimePicker1"), QDate(2010, 1, 1), tab);
    DateTimePicker2 = makeDatePicker(QStringLiteral("DateTimePicker2"), QDate(2010, 12, 31), tab);
    auto* dates =
        makeDateRangeRow(QStringLiteral("Fizetési határidő:"), DateTimePicker1, DateTimePicker2, tab);

    DBGrid1 = new TDBGrid(tab);
    DBGrid1->setObjectName(QStringLiteral("DBGrid1"));
    DBGrid1->SetReadOnly(true);
    DBGrid1->SetDataSource(Data->DSQ20);
    DBNavigator1 = new TDBNavigator(tab);
    DBNavigator1->setObjectName(QStringLiteral("DBNavigator1"));
    DBNavigator1->SetDataSource(Data->DSQ20);
    DBNavigator1->SetVisibleButtons(nbMoveButtons);
    auto* navigation = new QHBoxLayout;
    navigation->addWidget(DBNavigator1);
    navigation->addStretch(1);

    Memo1 = new QPlainTextEdit(tab);
    Memo1->setObjectName(QStringLiteral("Memo1"));
    Memo1->setReadOnly(true);
    Memo1->setLineWrapMode(QPlainTextEdit::NoWrap);
    Memo1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Memo1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Memo1->viewport()->setCursor(Qt::PointingHandCursor);
    Memo1->setPlainText(QStringLiteral("Hiba üzenet\n"));

    Button1 = makeButton(QStringLiteral("Button1"), QStringLiteral("Kigyüjtés"), tab);
    Button2 = makeButton(QStringLiteral("Button2"), QStringLiteral("Ellenörzés"), tab);
    Button2->setEnabled(false);
    CancelButton = makeButton(QStringLiteral("CancelButton"), QStringLiteral("Mégsem"), tab);
    CloseButton = makeButton(QStringLiteral("CloseButton"), QStringLiteral("Bezárás"), tab);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(Button1);
    buttons->addWidget(Button2);
    buttons->addStretch(1);
    buttons->addWidget(CancelButton);
    buttons->addWidget(CloseButton);

    auto* layout = new QVBoxLayout(tab);
    layout->addWidget(new QLabel(QStringLiteral("Adat ellenörzés az felvásárlási jegyen adatain:"), tab));
    layout->addLayout(dates);
    layout->addWidget(DBGrid1, 3);
    layout->addLayout(navigation);
    layout->addWidget(Memo1, 2);
    layout->addLayout(buttons);

    connect(Button1, &QPushButton::clicked, this, &TForm14::Button1Click);
    connect(Button2, &QPushButton::clicked, this, &TForm14::Button2Click);
    connect(CancelButton, &QPushButton::clicked, this, &QDialog::reject);
    connect(CloseButton, &QPushButton::clicked, this, &QDialog::reject);
    return tab;
}

QWidget* TForm14::buildSingleCheck(const QString& tabName, const QString& caption, QLineEdit* edit,
                                   QPushButton* check, QLabel* message, QWidget* extra) {
    auto* tab = edit->parentWidget();
    tab->setObjectName(tabName);
    auto* close = makeButton(tabName + QStringLiteral("CloseButton"), QStringLiteral("Bezárás"), tab);
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
    auto* input = new QHBoxLayout;
    input->addWidget(new QLabel(caption, tab));
    input->addWidget(edit);
    input->addStretch(1);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(check);
    buttons->addStretch(1);
    buttons->addWidget(close);
    auto* layout = new QVBoxLayout(tab);
    layout->addLayout(input);
    if (extra)
        layout->addWidget(extra);
    layout->addWidget(message);
    layout->addStretch(1);
    layout->addLayout(buttons);
    return tab;
}

QWidget* TForm14::buildDataTab() {
    auto* tab = new QWidget(this);
    tab->setObjectName(QStringLiteral("TabSheet2"));
    PageControl2 = new QTabWidget(tab);
    PageControl2->setObjectName(QStringLiteral("PageControl2"));

    auto page = [this](QLineEdit*& edit, const QString& editName, QPushButton*& button,
                       const QString& buttonName, QLabel*& label, const QString& labelName,
                       const QString& labelText) {
        auto* sheet = new QWidget(PageControl2);
        edit = makeEdit(editName, sheet, 16);
        button = makeButton(buttonName, QStringLiteral("Ellenörzés"), sheet);
        label = makeLabel(labelName, labelText, sheet);
        return sheet;
    };
    page(Edit1, QStringLiteral("Edit1"), Button3, QStringLiteral("Button3"), Label10,
         QStringLiteral("Label10"), QStringLiteral("Üzenet:"));
    page(Edit2, QStringLiteral("Edit2"), Button4, QStringLiteral("Button4"), Label11,
         QStringLiteral("Label11"), QStringLiteral("Üzenet: "));
    page(Edit3, QStringLiteral("Edit3"), Button5, QStringLiteral("Button5"), Label12,
         QStringLiteral("Label12"), QStringLiteral("Üzenet: "));
    QWidget* days = page(Edit4, QStringLiteral("Edit4"), Button6, QStringLiteral("Button6"), Label17,
                         QStringLiteral("Label17"), QStringLiteral("Üzenet:"));

    auto* birth = new QWidget(days);
    DateTimePicker3 = makeDatePicker(QStringLiteral("DateTimePicker3"), QDate(1900, 1, 1), birth);
    Label14 = makeLabel(QStringLiteral("Label14"), QStringLiteral("-"), birth);
    Label16 = makeLabel(QStringLiteral("Label16"), QStringLiteral("-"), birth);
    auto* grid = new QGridLayout(birth);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->addWidget(new QLabel(QStringLiteral("Születési ideje: "), birth), 0, 0);
    grid->addWidget(DateTimePicker3, 0, 1, Qt::AlignLeft);
    grid->addWidget(new QLabel(QStringLiteral("Eltelt napok száma: "), birth), 1, 0);
    grid->addWidget(Label14, 1, 1);
    grid->addWidget(new QLabel(QStringLiteral("Adóazonositó alapján: "), birth), 2, 0);
    grid->addWidget(Label16, 2, 1);
    grid->setColumnStretch(2, 1);

    PageControl2->addTab(buildSingleCheck(QStringLiteral("TabAdoszam"), QStringLiteral("Adószám: "), Edit1,
                                          Button3, Label10, nullptr),
                         QStringLiteral("Adószám"));
    PageControl2->addTab(buildSingleCheck(QStringLiteral("TabAdoazon"), QStringLiteral("Adóazonositó: "),
                                          Edit2, Button4, Label11, nullptr),
                         QStringLiteral("Adóazonositó"));
    PageControl2->addTab(
        buildSingleCheck(QStringLiteral("TabTaj"), QStringLiteral("TAJ: "), Edit3, Button5, Label12, nullptr),
        QStringLiteral("TAJ"));
    PageControl2->addTab(buildSingleCheck(QStringLiteral("TabNapok"), QStringLiteral("Adóazonositója:"),
                                          Edit4, Button6, Label17, birth),
                         QStringLiteral("Napok"));

    connect(Button3, &QPushButton::clicked, this, &TForm14::Button3Click);
    connect(Button4, &QPushButton::clicked, this, &TForm14::Button4Click);
    connect(Button5, &QPushButton::clicked, this, &TForm14::Button5Click);
    connect(Button6, &QPushButton::clicked, this, &TForm14::Button6Click);

    auto* layout = new QVBoxLayout(tab);
    layout->addWidget(PageControl2);
    return tab;
}

void TForm14::Button1Click() {
    guarded(lcLists, [this] {
        refreshIndexStatistics(Data->ZCon1, Data->IBTrans1, ticketTables());
        openCheckLines(DateTimePicker1->date(), DateTimePicker2->date());
        Button2->setEnabled(true);
    });
}

// The memo is filled in blocks of lines, each shown as it comes; the clerk's input waits until the end.
void TForm14::Button2Click() {
    guarded(lcLists, [this] {
        const std::vector<CheckRow> rows = readCheckRows(*Data->ZQ20);
        Memo1->clear();
        runBatchCheck(rows, MemoBlockLines, [this](const QStringList& block) {
            Memo1->appendPlainText(block.join(QLatin1Char('\n')));
            QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        });
    });
}

void TForm14::Button3Click() {
    showVerdict(Label10, checkTypedAdoszam(Edit1->text()));
}

void TForm14::Button4Click() {
    showVerdict(Label11, checkTypedAdoazon(Edit2->text()));
}

void TForm14::Button5Click() {
    showVerdict(Label12, checkTypedTaj(Edit3->text()));
}

void TForm14::Button6Click() {
    const DaysVerdict days = checkTypedDays(Edit4->text(), DateTimePicker3->date());
    Label16->setText(days.fromIdentifier);
    Label14->setText(days.dayCount);
    showVerdict(Label17, days.verdict);
}

bool TForm14::ElteltNapEllenorzes(const QString& adoazon, const QString& dateText) const {
    const std::optional<QDate> date = parseDateText(dateText);
    return date && birthDateMatches(adoazon, *date);
}
