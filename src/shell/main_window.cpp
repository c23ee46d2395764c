#include "shell/main_window.h"

#include "data/app_settings.h"
#include "data/data_module.h"
#include "data/database_error.h"
#include "data/logging.h"
#include "data/shared_values.h"
#include "exchange/about_box.h"
#include "exchange/about_window.h"
#include "exchange/backup_window.h"
#include "exchange/help_window.h"
#include "exchange/previous_import.h"
#include "exchange/remote_help.h"
#include "exchange/restore_window.h"
#include "exchange/send_data.h"
#include "exchange/spreadsheet_window.h"
#include "exchange/table_editor.h"
#include "lists/animal_summary.h"
#include "lists/check_window.h"
#include "lists/producer_summary.h"
#include "masterdata/animal_browser.h"
#include "masterdata/producer_browser.h"
#include "reports/report_objects.h"
#include "returns/import_export_window.h"
#include "returns/import_merge_window.h"
#include "returns/return_list_window.h"
#include "shell/automatic_backup.h"
#include "shell/program_version.h"
#include "shell/purchaser_record.h"
#include "shell/purchaser_selection.h"
#include "tickets/ticket_browser.h"
#include "widgets/lost_connection.h"
#include "widgets/ui_service.h"
#include "widgets/window_size.h"

#include <QAction>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QLocale>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>

using vardelo::ui;

namespace vardelo {

QString lastChangesLostText(const QString& reason) {
    return QStringLiteral("A legutóbbi módosításokat nem sikerült tárolni az adatbázisban.") +
           QLatin1Char('\r') + reason;
}

QString mainCaption(const QString& programVerzio) {
    return QStringLiteral("Felvásárlási jegy -  Verzió: ") + programVerzio + QStringLiteral(" 2006-2010");
}

} // namespace vardelo

TForm1::TForm1(QWidget* parent) : QMainWindow(parent) {
    setObjectName(QStringLiteral("Form1"));
    Form1 = this;
    createMenu();
    setCentralWidget(new QWidget(this));
    centralWidget()->setObjectName(QStringLiteral("ClientArea"));
    centralWidget()->setMinimumHeight(90);
    vardelo::fitWindowToScreen(
        *this, QSize(std::max(560, MainMenu1->sizeHint().width() + 40), MainMenu1->sizeHint().height() + 90));
    startUp();
}

TForm1::~TForm1() {
    delete AboutBox;
    if (Form1 == this)
        Form1 = nullptr;
}

void TForm1::createMenu() {
    MainMenu1 = menuBar();
    MainMenu1->setObjectName(QStringLiteral("MainMenu1"));
    // A menu of the bar; its own entry carries the component name as well.
    auto menu = [this](const QString& name, const QString& caption) {
        QMenu* m = MainMenu1->addMenu(caption);
        m->setObjectName(name);
        m->menuAction()->setObjectName(name);
        return m;
    };
    auto item = [this](QWidget* owner, const QString& name, const QString& caption,
                       void (TForm1::*handler)()) {
        auto* action = new QAction(caption, owner);
        action->setObjectName(name);
        owner->addAction(action);
        if (handler)
            connect(action, &QAction::triggered, this, handler);
        return action;
    };

    Adz1 = menu(QStringLiteral("Adz1"), QStringLiteral("Átvevö"));
    Vlaszts1 = item(Adz1, QStringLiteral("Vlaszts1"), QStringLiteral("Választás"), &TForm1::Vlaszts1Click);
    Lekrdezs1 =
        item(Adz1, QStringLiteral("Lekrdezs1"), QStringLiteral("Lekérdezés"), &TForm1::Lekrdezs1Click);

    Felvsrlsijegy1 = item(MainMenu1, QStringLiteral("Felvsrlsijegy1"), QStringLiteral("Felvásárlási jegy"),
                          &TForm1::Felvsrlsijegy1Click);
    stermel1 =
        item(MainMenu1, QStringLiteral("stermel1"), QStringLiteral("Östermelö"), &TForm1::stermel1Click);
    Termk1 = item(MainMenu1, QStringLiteral("Termk1"), QStringLiteral("Állat"), &TForm1::Termk1Click);

    Bevalls1 = menu(QStringLiteral("Bevalls1"), QStringLiteral("Bevallás"));
    N0808Mhozexport1 = item(Bevalls1, QStringLiteral("N0808Mhozexport1"), QStringLiteral("1008M-hoz export"),
                            &TForm1::N0808Mhozexport1Click);
    Bevallslista1 = item(Bevalls1, QStringLiteral("Bevallslista1"), QStringLiteral("Bevallás lista"),
                         &TForm1::Bevallslista1Click);
    Importsszevons1 = item(Bevalls1, QStringLiteral("Importsszevons1"), QStringLiteral("Import összevonás"),
                           &TForm1::Importsszevons1Click);

    Listk1 = menu(QStringLiteral("Listk1"), QStringLiteral("Listák"));
    Termkenkntilista1 = item(Listk1, QStringLiteral("Termkenkntilista1"),
                             QStringLiteral("Termékenkénti lista"), &TForm1::Termkenkntilista1Click);
    Termelnkntilista1 = item(Listk1, QStringLiteral("Termelnkntilista1"),
                             QStringLiteral("Östermelönkénti lista"), &TForm1::Termelnkntilista1Click);

    Export1 = menu(QStringLiteral("Export1"), QStringLiteral("Segédlet"));
    Ellenrzs2 =
        item(Export1, QStringLiteral("Ellenrzs2"), QStringLiteral("Ellenörzés"), &TForm1::Ellenrzs2Click);
    Adatokexceltblba1 = item(Export1, QStringLiteral("Adatokexceltblba1"),
                             QStringLiteral("Zozed excel táblába"), &TForm1::Adatokexceltblba1Click);
    Adatbzis1 = item(Export1, QStringLiteral("Adatbzis1"), QStringLiteral("Adatok"), &TForm1::Adatbzis1Click);
    N1 = item(Export1, QStringLiteral("N1"), QString(), nullptr);
    N1->setSeparator(true);
    Sug1 = item(Export1, QStringLiteral("Sug1"), QStringLiteral("Sugó"), &TForm1::Sug1Click);
    Nvjegy1 = item(Export1, QStringLiteral("Nvjegy1"), QStringLiteral("Névjegy"), &TForm1::Nvjegy1Click);
    Tvsegitsg1 =
        item(Export1, QStringLiteral("Tvsegitsg1"), QStringLiteral("Távsegitség"), &TForm1::Tvsegitsg1Click);
    // The import from the previous version is offered but never enabled.
    Rgiblexport1 = item(Export1, QStringLiteral("Rgiblexport1"), QStringLiteral("Régiből import"),
                        &TForm1::Rgiblexport1Click);
    Rgiblexport1->setEnabled(false);
    Adatokkldse1 = item(Export1, QStringLiteral("Adatokkldse1"), QStringLiteral("Adatok küldése"),
                        &TForm1::Adatokkldse1Click);
    // Safe copies of the database: a backup, and a restore from one.
    Adatments1 =
        item(Export1, QStringLiteral("Adatments1"), QStringLiteral("Adatmentés"), &TForm1::Adatments1Click);
    Visszatlts1 = item(Export1, QStringLiteral("Visszatlts1"), QStringLiteral("Visszatöltés"),
                       &TForm1::Visszatlts1Click);

    Kilps1 = item(MainMenu1, QStringLiteral("Kilps1"), QStringLiteral("Kilépés"), &TForm1::Kilps1Click);

    // Until a purchaser is chosen only "Átvevö" and "Kilépés" can be used.
    for (QAction* entry : {Felvsrlsijegy1, stermel1, Termk1, Bevalls1->menuAction(), Listk1->menuAction(),
                           Export1->menuAction()})
        entry->setEnabled(false);
}

void TForm1::startUp() {
    // The splash, once: it closes itself after three seconds and start-up goes on.
    if (!splashShown_) {
        splashShown_ = true;
        AboutBox = new TAboutBox;
        ui().showModal(*AboutBox);
        delete AboutBox;
    }

    try {
        delete Data;
        Data = nullptr;
        Data = new TData;
        vardelo::report::createReportObjects(*Data);
        // "du2010.fdb" in the working folder, or the database vardelo.ini or VARDELO_DATABASE names.
        Data->ZCon1->ApplySettings(vardelo::loadAppSettings());
        Data->ZCon1->SetConnected(true);
        for (int i = 1; i <= 6; ++i)
            Data->Table(i)->Close();
        for (int i = 1; i <= 6; ++i)
            Data->Table(i)->Open();
    } catch (const std::exception& failure) {
        startupFailed_ = true;
        // Without the database nothing can work: whatever the answer, the program ends here. Below the
        // message stands why (a copy already running, a read-only file, a file that is not a database ...)
        // and what to do; the engine's own words are behind the details.
        QString advice = QStringLiteral("Az adatbázis nem nyitható meg.");
        QString engine = QString::fromUtf8(failure.what());
        if (const auto* error = dynamic_cast<const EDatabaseError*>(&failure)) {
            qCWarning(lcShell) << "start-up failed:" << error->Message() << "code" << error->ErrorCode();
            advice = vardelo::startupFailureAdvice(*error);
            engine = vardelo::databaseErrorEngineText(*error);
        } else {
            qCWarning(lcShell) << "start-up failed:" << engine;
        }
        ui().detailedMessageBox(QStringLiteral("Az adatbáziskezelöt nem találja.") + QLatin1Char('\r') +
                                    QStringLiteral("A program müködéséhez szükséges."),
                                QStringLiteral("Confirm"), vardelo::MsgIcon::Question,
                                int(vardelo::MsgButton::Yes), advice, engine);
        FormClose();
        return;
    }

    // Amounts with the decimal comma; dates are written and read as "yyyy.MM.dd." by the program's own text
    // functions.
    QLocale::setDefault(QLocale(QLocale::Hungarian, QLocale::Hungary));

    ProgramVerzio = vardelo::programVersionText();
    setWindowTitle(vardelo::mainCaption(ProgramVerzio));
    vardelo::reportFailedAutomaticBackup();
}

void TForm1::ShowCentred() {
    show();
    if (const QScreen* screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen()) {
        QRect frame = frameGeometry();
        frame.moveCenter(screen->availableGeometry().center());
        move(frame.topLeft());
    }
}

void TForm1::RefreshTables() {
    if (!Data || !Data->ZCon1->Connected())
        return;
    for (int i = 1; i <= 6; ++i)
        Data->Table(i)->Close();
    for (int i = 1; i <= 6; ++i)
        Data->Table(i)->Open();
    if (!AktAkod.isEmpty())
        Data->IBTable6->Locate(QStringLiteral("V_AKOD"), AktAkod, 0);
}

void TForm1::EnableMenus() {
    for (QAction* entry : {Felvsrlsijegy1, stermel1, Termk1, Bevalls1->menuAction(), Export1->menuAction(),
                           Listk1->menuAction(), Kilps1})
        entry->setEnabled(true);
}

void TForm1::runModal(const std::function<std::unique_ptr<QDialog>()>& create) {
    try {
        // A connection lost by an earlier action is attached again before the window opens.
        vardelo::withReconnect(
            [&] {
                std::unique_ptr<QDialog> window = create();
                ui().showModal(*window);
            },
            lcShell, [](const EDatabaseError& error) { ui().showDatabaseError(QString(), error, lcShell); });
    } catch (const std::exception& error) {
        qCWarning(lcShell).noquote() << "A window ended on an error:" << error.what();
        ui().showError(QString::fromUtf8(error.what()));
    }
    vardelo::withReconnect(
        [this] { RefreshTables(); }, lcShell,
        [](const EDatabaseError& error) { ui().showDatabaseError(QString(), error, lcShell); });
}

void TForm1::closeEvent(QCloseEvent* event) {
    FormClose();
    QMainWindow::closeEvent(event);
}

// What is pending is committed (the transaction kept) and the connection closed.
void TForm1::FormClose() {
    if (closed_ || !Data)
        return;
    closed_ = true;
    try {
        if (Data->IBTrans1->Active())
            Data->IBTrans1->CommitRetaining();
    } catch (const EDatabaseError& error) {
        // Not stored, and the connection rolls it back as it closes: the clerk must know.
        qCWarning(lcShell).noquote() << "The commit at closing failed:" << error.Message() << "code"
                                     << error.ErrorCode();
        ui().showError(vardelo::lastChangesLostText(error.Message()));
    }
    vardelo::automaticBackupAtClose();
    try {
        if (Data->ZCon1->Connected())
            Data->ZCon1->Disconnect();
    } catch (const EDatabaseError& error) {
        ui().showDatabaseError(QString(), error, lcShell);
    }
}

void TForm1::Vlaszts1Click() {
    openModal<TForm18>();
}

void TForm1::Lekrdezs1Click() {
    openModal<TForm17>();
}

// Entries whose windows are opened by a line of the form openModal<TForm4>().

void TForm1::Adatokexceltblba1Click() {
    openModal<TForm20>();
}
void TForm1::Adatbzis1Click() {
    openModal<TForm22>();
}

void TForm1::Felvsrlsijegy1Click() {
    openModal<TForm8>();
}

void TForm1::stermel1Click() {
    openModal<TForm4>();
}

void TForm1::Termk1Click() {
    openModal<TForm6>();
}

void TForm1::N0808Mhozexport1Click() {
    openModal<TForm11>();
}

void TForm1::Bevallslista1Click() {
    openModal<TForm12>();
}

void TForm1::Importsszevons1Click() {
    openModal<TForm24>();
}

void TForm1::Nvjegy1Click() {
    openModal<TForm16>();
}

void TForm1::Sug1Click() {
    openModal<TForm21>();
}

void TForm1::Tvsegitsg1Click() {
    openModal<TForm26>();
}

void TForm1::Rgiblexport1Click() {
    openModal<TForm25>();
}

void TForm1::Adatokkldse1Click() {
    openModal<TForm27>();
}

void TForm1::Adatments1Click() {
    openModal<TBackupWindow>();
}

void TForm1::Visszatlts1Click() {
    openModal<TRestoreWindow>();
}

void TForm1::Termkenkntilista1Click() {
    openModal<TForm13>();
}

void TForm1::Termelnkntilista1Click() {
    openModal<TForm19>();
}

void TForm1::Ellenrzs2Click() {
    openModal<TForm14>();
}

void TForm1::Kilps1Click() {
    close();
}
