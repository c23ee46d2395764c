#include "exchange/table_editor.h"

#include "data/data_module.h"
#include "data/database_error.h"
#include "data/logging.h"
#include "data/shared_values.h"
#include "exchange/password_dialog.h"
#include "exchange/table_editor_queries.h"
#include "widgets/action_guard.h"
#include "widgets/db_grid.h"
#include "widgets/db_navigator.h"
#include "widgets/form_controls.h"
#include "widgets/ui_service.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

using namespace vardelo;

const QString TForm22::FirstCode = QStringLiteral("518273046");
const QString TForm22::SecondCode = QStringLiteral("qvx");

namespace {

// An edit, a post or a move in a grid the database refused: the general error box with the reason in plain
// Hungarian, the engine's words behind the details.
void showDataError(const EDatabaseError& error) {
    reportFailure(QString(), error, lcExchange);
}

} // namespace

TForm22::TForm22(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("Form22"));
    setWindowTitle(QStringLiteral("Adatbázis"));

    PageControl1 = new QTabWidget(this);
    PageControl1->setObjectName(QStringLiteral("PageControl1"));
    const QStringList captions{QStringLiteral("FjFej"),     QStringLiteral("FjSor"),
                               QStringLiteral("Ostermelo"), QStringLiteral("Termek"),
                               QStringLiteral("Sorszam"),   QStringLiteral("Atvevo")};
    for (int i = 0; i < 6; ++i)
        PageControl1->addTab(buildTab(i + 1), captions[i]);
    // The ticket-number table shows neither the series nor the version column.
    DBGrid[4]->SetColumns({{QStringLiteral("ID_SORSZAM"), QStringLiteral("ID_SORSZAM")},
                           {QStringLiteral("A_FJBSZAM"), QStringLiteral("A_FJBSZAM")},
                           {QStringLiteral("A_AKOD"), QStringLiteral("A_AKOD")}});
    // The purchasers only after the second code.
    DBGrid[5]->hide();
    DBNavigator[5]->hide();
    JournalQuery = new TZQuery(QStringLiteral("ZQNaplo"), Data->ZCon1, Data->IBTrans1, this);
    ConnectionQuery = new TZQuery(QStringLiteral("ZQKapcsolat"), Data->ZCon1, Data->IBTrans1, this);
    PageControl1->addTab(buildJournalTab(7, JournalQuery), QStringLiteral("Naplo"));
    PageControl1->addTab(buildJournalTab(8, ConnectionQuery), QStringLiteral("Kapcsolat"));
    PageControl1->setCurrentIndex(0);

    Button6 = makeButton(QStringLiteral("Button6"), QStringLiteral("Szerkeszt"), this);
    Button1 = makeButton(QStringLiteral("Button1"), QStringLiteral("Mégsem"), this);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(Button6);
    buttons->addStretch(1);
    buttons->addWidget(Button1);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(PageControl1, 1);
    layout->addLayout(buttons);

    Button6->installEventFilter(this);
    connect(Button6, &QPushButton::clicked, this, &TForm22::Button6Click);
    connect(Button1, &QPushButton::clicked, this, &QDialog::reject);
    resize(980, 600);
}

QWidget* TForm22::gridTab(int number, TDataSource* source, TDBGrid*& grid, TDBNavigator*& navigator) {
    auto* tab = new QWidget(this);
    tab->setObjectName(QStringLiteral("TabSheet%1").arg(number));
    grid = new TDBGrid(tab);
    grid->setObjectName(QStringLiteral("DBGrid%1").arg(number));
    grid->SetDataSource(source);
    navigator = new TDBNavigator(tab);
    navigator->setObjectName(QStringLiteral("DBNavigator%1").arg(number));
    navigator->SetDataSource(source);
    auto* navigation = new QHBoxLayout;
    navigation->addWidget(navigator);
    navigation->addStretch(1);
    auto* layout = new QVBoxLayout(tab);
    layout->addWidget(grid, 1);
    layout->addLayout(navigation);
    return tab;
}

QWidget* TForm22::buildTab(int number) {
    TDataSource* source = nullptr;
    switch (number) {
    case 1:
        source = Data->DS1;
        break;
    case 2:
        source = Data->DS2;
        break;
    case 3:
        source = Data->DS3;
        break;
    case 4:
        source = Data->DS4;
        break;
    case 5:
        source = Data->DS5;
        break;
    default:
        source = Data->DS6;
        break;
    }
    TDBGrid*& grid = DBGrid[size_t(number - 1)];
    TDBNavigator*& navigator = DBNavigator[size_t(number - 1)];
    QWidget* tab = gridTab(number, source, grid, navigator);
    navigator->SetVisibleButtons(nbAllButtons);
    connect(grid, &TDBGrid::dataError, this, showDataError);
    connect(navigator, &TDBNavigator::dataError, this, showDataError);
    return tab;
}

QWidget* TForm22::buildJournalTab(int number, TZQuery* query) {
    TDBGrid*& grid = JournalGrid[size_t(number - 7)];
    TDBNavigator*& navigator = JournalNavigator[size_t(number - 7)];
    QWidget* tab =
        gridTab(number, new TDataSource(QStringLiteral("DS%1").arg(number), query, this), grid, navigator);
    // Read only, whatever code was given: the journal is changed by nothing but the database's triggers.
    grid->SetReadOnly(true);
    navigator->SetVisibleButtons(nbMoveButtons);
    grid->hide();
    navigator->hide();
    return tab;
}

void TForm22::showJournal() {
    if (!JournalQuery->Active())
        exchange::openJournalTable(JournalQuery);
    if (!ConnectionQuery->Active())
        exchange::openConnectionTable(ConnectionQuery);
    for (size_t i = 0; i < JournalGrid.size(); ++i) {
        JournalGrid[i]->show();
        JournalNavigator[i]->show();
    }
}

void TForm22::setFiveReadOnly(bool readOnly) {
    for (int i = 1; i <= 5; ++i)
        Data->Table(i)->Close();
    for (int i = 1; i <= 5; ++i)
        Data->Table(i)->ReadOnly = readOnly;
    for (int i = 1; i <= 5; ++i)
        Data->Table(i)->Open();
}

void TForm22::unlockAll() {
    for (int i = 1; i <= 6; ++i)
        Data->Table(i)->Close();
    for (int i = 1; i <= 6; ++i)
        Data->Table(i)->ReadOnly = false;
    for (int i = 1; i <= 6; ++i)
        Data->Table(i)->Open();
    // The selected purchaser's row stays current.
    if (!AktAkod.isEmpty())
        Data->IBTable6->Locate(QStringLiteral("V_AKOD"), AktAkod, 0);
    DBGrid[5]->show();
    DBNavigator[5]->show();
}

void TForm22::Button6Click() {
    {
        TPasswordDlg dialog(this);
        ui().showModal(dialog);
        // Whichever button closed the dialog, what was typed counts.
        EnteredCode = dialog.EnteredText();
    }
    guarded(lcExchange, [this] {
        if (EnteredCode == FirstCode) {
            EnteredCode.clear();
            setFiveReadOnly(false);
            showJournal();
        }
        if (EnteredCode == SecondCode) {
            EnteredCode.clear();
            unlockAll();
            showJournal();
        }
    });
}

bool TForm22::eventFilter(QObject* watched, QEvent* event) {
    if (watched == Button6 && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->text().compare(QString(QLatin1Char(UnlockKey)), Qt::CaseInsensitive) == 0) {
            guarded(lcExchange, [this] {
                setFiveReadOnly(false);
                showJournal();
            });
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void TForm22::done(int result) {
    FormClose();
    QDialog::done(result);
}

// An edit still open in a grid is posted first (a refused one is reported and dropped); then the five tables
// are read-only again. The purchaser table stays writable, as the purchaser record needs it.
void TForm22::FormClose() {
    EnteredCode.clear();
    for (int i = 1; i <= 6; ++i) {
        TIBTable* table = Data->Table(i);
        if (table->State() != TDataSetState::Edit && table->State() != TDataSetState::Insert)
            continue;
        try {
            table->Post();
        } catch (const EDatabaseError& e) {
            showDataError(e);
            table->Cancel();
        }
    }
    guarded(lcExchange, [this] { setFiveReadOnly(true); });
}
