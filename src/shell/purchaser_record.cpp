#include "shell/purchaser_record.h"

#include "data/data_module.h"
#include "data/database_error.h"
#include "data/logging.h"
#include "data/row_check.h"
#include "data/shared_values.h"
#include "shell/purchaser_record_queries.h"
#include "shell/ticket_number_seed.h"
#include "widgets/action_guard.h"
#include "widgets/db_edit.h"
#include "widgets/key_filters.h"
#include "widgets/lost_connection.h"
#include "widgets/save_refusal.h"
#include "widgets/ui_service.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

using vardelo::ui;

namespace {

QPushButton* button(QWidget* parent, const QString& name, const QString& caption) {
    auto* b = new QPushButton(caption, parent);
    b->setObjectName(name);
    b->setAutoDefault(false);
    return b;
}

QLabel* label(QWidget* parent, const QString& name, const QString& caption) {
    auto* l = new QLabel(caption, parent);
    l->setObjectName(name);
    return l;
}

} // namespace

TForm17::TForm17(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("Form17"));
    setWindowTitle(QStringLiteral("Átvevö adatai"));

    PageControl1 = new QTabWidget(this);
    PageControl1->setObjectName(QStringLiteral("PageControl1"));
    TabSheet1 = createPurchaserTab();
    TabSheet2 = createYearOpeningTab();
    PageControl1->addTab(TabSheet1, QStringLiteral("Átvevö"));
    PageControl1->addTab(TabSheet2, QStringLiteral("Évnyitás"));
    connect(PageControl1, &QTabWidget::currentChanged, this, &TForm17::PageControl1Change);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(PageControl1);

    try {
        lockKeyFields();
    } catch (const EDatabaseError& error) {
        qCWarning(lcShell) << "Counting the purchaser's tickets failed:" << error.Message()
                           << error.ErrorCode();
        DBEdit2->SetReadOnly(true);
    }
}

QWidget* TForm17::createPurchaserTab() {
    auto* tab = new QWidget;
    tab->setObjectName(QStringLiteral("TabSheet1"));
    auto* grid = new QGridLayout;
    grid->setColumnStretch(1, 1);
    grid->setHorizontalSpacing(12);

    int row = 0;
    auto field = [&](const QString& labelName, const QString& caption, const QString& editName,
                     const QString& column) {
        auto* edit = new TDBEdit(Data->DS6, column, tab);
        edit->setObjectName(editName);
        QLabel* l = label(tab, labelName, caption);
        l->setBuddy(edit);
        grid->addWidget(l, row, 0);
        grid->addWidget(edit, row, 1);
        ++row;
        connect(edit, &TDBEdit::dataError, this, &TForm17::DBEditError);
        return edit;
    };
    DBEdit1 = field(QStringLiteral("Label1"), QStringLiteral("ID"), QStringLiteral("DBEdit1"),
                    QStringLiteral("ID_ATVEVO"));
    DBEdit2 = field(QStringLiteral("Label2"), QStringLiteral("Kód"), QStringLiteral("DBEdit2"),
                    QStringLiteral("V_AKOD"));
    DBEdit3 = field(QStringLiteral("Label3"), QStringLiteral("Átvevő neve"), QStringLiteral("DBEdit3"),
                    QStringLiteral("V_NEVE"));
    DBEdit4 = field(QStringLiteral("Label4"), QStringLiteral("Helységnév"), QStringLiteral("DBEdit4"),
                    QStringLiteral("V_HELYSEG"));
    DBEdit5 = field(QStringLiteral("Label5"), QStringLiteral("Utca"), QStringLiteral("DBEdit5"),
                    QStringLiteral("V_UTCA"));
    DBEdit6 = field(QStringLiteral("Label6"), QStringLiteral("Irányitószám"), QStringLiteral("DBEdit6"),
                    QStringLiteral("V_IRSZAM"));
    DBEdit7 = field(QStringLiteral("Label7"), QStringLiteral("Adószám"), QStringLiteral("DBEdit7"),
                    QStringLiteral("V_ADOSZAM"));
    DBEdit8 = field(QStringLiteral("Label8"), QStringLiteral("Adóazonositó (egyéni vállalkozónál)"),
                    QStringLiteral("DBEdit8"), QStringLiteral("V_ADOAZON"));
    DBEdit8->setToolTip(QStringLiteral("Egyéni vállalkozó esetén kell megadni."));
    DBEdit9 = field(QStringLiteral("Label9"), QStringLiteral("Bankszámlaszám"), QStringLiteral("DBEdit9"),
                    QStringLiteral("V_BANKSZLA"));
    vardelo::KeyFilter::install(DBEdit9, vardelo::KeyFilterKind::Digits);
    DBEdit10 = field(QStringLiteral("Label10"), QStringLiteral("Nyilatkozat szövege (250 betü hosszban)"),
                     QStringLiteral("DBEdit10"), QStringLiteral("V_NYILATK"));
    DBEdit10->setToolTip(QStringLiteral("Irja be folyamatosan a szöveget. Max. 200 betű hosszan."));
    DBEdit12 = field(QStringLiteral("Label11"), QStringLiteral("Verzió"), QStringLiteral("DBEdit12"),
                     QStringLiteral("V_VERZIO"));

    // Wide enough for a full name and a good part of the declaration.
    const int wide = fontMetrics().horizontalAdvance(QLatin1Char('x')) * 64;
    for (TDBEdit* edit : {DBEdit3, DBEdit4, DBEdit5, DBEdit10})
        edit->setMinimumWidth(wide);
    const int narrow = fontMetrics().horizontalAdvance(QLatin1Char('0')) * 14;
    for (TDBEdit* edit : {DBEdit1, DBEdit2, DBEdit6, DBEdit12})
        edit->setMaximumWidth(narrow);
    const int medium = fontMetrics().horizontalAdvance(QLatin1Char('0')) * 30;
    for (TDBEdit* edit : {DBEdit7, DBEdit8, DBEdit9})
        edit->setMaximumWidth(medium);

    Button1 = button(tab, QStringLiteral("Button1"), QStringLiteral("Bezárás"));
    Button2 = button(tab, QStringLiteral("Button2"), QStringLiteral("Letárol"));
    Button5 = button(tab, QStringLiteral("Button5"), QStringLiteral("Mégsem"));
    connect(Button1, &QPushButton::clicked, this, &TForm17::Button1Click);
    connect(Button2, &QPushButton::clicked, this, &TForm17::Button2Click);
    connect(Button5, &QPushButton::clicked, this, &TForm17::Button5Click);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(Button2);
    buttons->addWidget(Button5);
    buttons->addWidget(Button1);

    auto* layout = new QVBoxLayout(tab);
    layout->addLayout(grid);
    layout->addStretch();
    layout->addSpacing(8);
    layout->addLayout(buttons);
    return tab;
}

QWidget* TForm17::createYearOpeningTab() {
    auto* tab = new QWidget;
    tab->setObjectName(QStringLiteral("TabSheet2"));

    Label12 = label(tab, QStringLiteral("Label12"),
                    QStringLiteral("Bizonylat sorszám beállítása pl.: 20100000 vagy 10000000"));
    Label13 =
        label(tab, QStringLiteral("Label13"), QStringLiteral("Figyelmeztetés: Nullával nem kezdödhet!"));
    Label14 = label(tab, QStringLiteral("Label14"), QStringLiteral("Nyolc  hosszú legyen a  számsor"));

    DBEdit11 = new TDBEdit(Data->DSQ50, QStringLiteral("A_FJBSZAM"), tab);
    DBEdit11->setObjectName(QStringLiteral("DBEdit11"));
    DBEdit11->SetReadOnly(true);
    Edit1 = new QLineEdit(tab);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    vardelo::KeyFilter::install(Edit1, vardelo::KeyFilterKind::Digits);
    const int width = fontMetrics().horizontalAdvance(QLatin1Char('0')) * 16;
    DBEdit11->setFixedWidth(width);
    Edit1->setFixedWidth(width);

    Button4 = button(tab, QStringLiteral("Button4"), QStringLiteral("Letárol"));
    Button3 = button(tab, QStringLiteral("Button3"), QStringLiteral("Bezárás"));
    connect(Button4, &QPushButton::clicked, this, &TForm17::Button4Click);
    connect(Button3, &QPushButton::clicked, this, &TForm17::Button3Click);
    Button3->installEventFilter(this);

    // The input shows only when the purchaser has no ticket yet (or through the service key).
    Edit1->setVisible(false);
    Button4->setVisible(false);

    auto* seed = new QGridLayout;
    seed->setHorizontalSpacing(12);
    seed->addWidget(DBEdit11, 0, 0);
    seed->addWidget(Edit1, 1, 0);
    seed->addWidget(Button4, 1, 1);
    seed->setColumnStretch(2, 1);
    // The row of the input keeps its height while the input is hidden.
    seed->setRowMinimumHeight(1, std::max(Edit1->sizeHint().height(), Button4->sizeHint().height()));

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(Button3);

    auto* layout = new QVBoxLayout(tab);
    layout->addWidget(Label12);
    layout->addWidget(Label13);
    layout->addWidget(Label14);
    layout->addSpacing(8);
    layout->addLayout(seed);
    layout->addStretch();
    layout->addLayout(buttons);
    return tab;
}

// On every change of tab: the seed may be set only while the purchaser has no ticket.
void TForm17::PageControl1Change() {
    try {
        if (vardelo::purchaser::ticketCount(AktAkod) > 0) {
            ui().showMessage(QStringLiteral("Már készült felvásárlási jegy! Nem módositható."));
            return;
        }
        showSeedInput();
    } catch (const EDatabaseError& error) {
        vardelo::reportFailure(QString(), error, lcShell);
    }
}

// Shows the purchaser's last used ticket number and the input for a new one.
void TForm17::showSeedInput() {
    vardelo::purchaser::openLastTicketNumber(AktAkod);
    Edit1->setVisible(true);
    Button4->setVisible(true);
}

bool TForm17::eventFilter(QObject* watched, QEvent* event) {
    if (watched == Button3 && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->text().size() == 1 && key->text().at(0).toUpper() == QChar(ServiceKey)) {
            try {
                showSeedInput();
            } catch (const EDatabaseError& error) {
                vardelo::reportFailure(QString(), error, lcShell);
            }
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

// Stores the pending edit of the purchaser row and commits it at once, so that no later failure elsewhere can
// take it back. A refused row is reported with the database's message and stays in edit; a row another desk
// changed since it was read is refused with what changed, and loaded as stored now when the clerk asks.
void TForm17::Button2Click() {
    try {
        vardelo::healConnection();
        Data->IBTable6->Post();
        if (Data->IBTrans1->Active())
            Data->IBTrans1->CommitRetaining();
    } catch (const vardelo::ERowChanged& refusal) {
        if (vardelo::askReloadAfterRefusal(QStringLiteral("Az átvevő adatait nem sikerült tárolni."), refusal,
                                           lcShell))
            reloadPurchaser();
    } catch (const EDatabaseError& error) {
        if (vardelo::isLostConnection(error)) {
            // Attaching again puts the typed values back into the edit; the clerk stores them again.
            if (vardelo::recoverLostConnection(error, lcShell))
                Button2Click();
            return;
        }
        vardelo::reportFailure(QString(), error, lcShell);
    }
}

void TForm17::reloadPurchaser() {
    try {
        Data->IBTable6->Cancel();
        Data->IBTable6->Refresh();
        Data->IBTable6->Locate(QStringLiteral("V_AKOD"), AktAkod, 0);
    } catch (const EDatabaseError& error) {
        vardelo::reportFailure(QString(), error, lcShell);
    }
}

void TForm17::Button1Click() {
    close();
}

void TForm17::Button5Click() {
    close();
}

void TForm17::Button3Click() {
    close();
}

void TForm17::Button4Click() {
    sormod();
}

void TForm17::sormod() {
    const QString text = Edit1->text();
    const QString refusal = vardelo::ticketNumberSeedError(text);
    if (!refusal.isEmpty()) {
        ui().showMessage(refusal);
        Edit1->setFocus();
        return;
    }
    const QString failure = QStringLiteral("Hiba: Letároláskor az UPDATE Sorszam -ba ");
    try {
        // Also through the service key: a seed at or below a stored ticket would hand out its number again.
        const QString conflict =
            vardelo::ticketNumberSeedConflict(text, vardelo::purchaser::highestTicketNumber(AktAkod));
        if (!conflict.isEmpty()) {
            ui().showMessage(conflict);
            Edit1->setFocus();
            return;
        }
        // Committed at once: the next ticket number must not depend on a later commit elsewhere.
        const int stored = vardelo::purchaser::storeTicketNumberSeed(text, AktAkod);
        // No purchaser chosen, or no number row for it: nothing was stored, and that is a failure.
        if (stored == 0) {
            qCWarning(lcShell) << "The ticket-number seed changed no SORSZAM row for purchaser" << AktAkod;
            ui().showMessage(failure);
            Edit1->setFocus();
            return;
        }
    } catch (const EDatabaseError& error) {
        vardelo::reportFailure(failure, error, lcShell);
        Edit1->setFocus();
        return;
    }
    try {
        Data->IBTable5->Close();
        Data->IBTable5->Open();
    } catch (const EDatabaseError& error) {
        vardelo::reportFailure(QString(), error, lcShell);
    }
    close();
}

// The row's ID is the database's and never changes; its code ties the purchaser to its tickets and its
// number row, so it stays as it is once a ticket carries it.
void TForm17::lockKeyFields() {
    DBEdit1->SetReadOnly(true);
    const QString code = Data->IBTable6->Active()
                             ? Data->IBTable6->FieldByName(QStringLiteral("V_AKOD")).AsString()
                             : QString();
    DBEdit2->SetReadOnly(vardelo::purchaser::ticketsCarryingCode(code) > 0);
}

void TForm17::DBEditError(const EDatabaseError& error) {
    vardelo::reportFailure(QString(), error, lcShell);
}
