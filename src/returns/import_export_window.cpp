#include "returns/import_export_window.h"

#include "data/data_module.h"
#include "data/database_error.h"
#include "data/logging.h"
#include "data/text_formats.h"
#include "reports/report_objects.h"
#include "reports/report_service.h"
#include "returns/import_collection.h"
#include "returns/import_file.h"
#include "returns/return_queries.h"
#include "widgets/action_guard.h"
#include "widgets/date_picker.h"
#include "widgets/db_grid.h"
#include "widgets/db_navigator.h"
#include "widgets/form_controls.h"
#include "widgets/key_filters.h"
#include "widgets/ui_service.h"

#include <QCoreApplication>
#include <QDateEdit>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>
#include <optional>

using vardelo::ui;

namespace {

QLabel* label(const QString& text, QWidget* parent, const QString& name = QString()) {
    auto* l = new QLabel(text, parent);
    if (!name.isEmpty())
        l->setObjectName(name);
    return l;
}

} // namespace

TForm11::TForm11(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("Form11"));
    setWindowTitle(QStringLiteral("APEH 1008M adat importnak a létrehozása"));
    buildWindow();
    // The grid starts empty: the lines of a ticket number that does not exist.
    vardelo::returns::openNoLines();
}

void TForm11::buildWindow() {
    using vardelo::makeButton;
    DateTimePicker1 = vardelo::makeDatePicker(QStringLiteral("DateTimePicker1"), QDate(2010, 1, 1), this);
    DateTimePicker2 = vardelo::makeDatePicker(QStringLiteral("DateTimePicker2"), QDate(2010, 12, 31), this);
    Button5 = makeButton(QStringLiteral("Button5"), QStringLiteral("OK"), this);
    Edit1 = vardelo::makeReadOnlyEdit(QStringLiteral("Edit1"), this, 16);
    Edit1->setEnabled(false);
    Button1 = makeButton(QStringLiteral("Button1"), QStringLiteral("Kigyüjtés"), this);
    Button2 = makeButton(QStringLiteral("Button2"), QStringLiteral("Nyomtatás"), this);
    Button3 = makeButton(QStringLiteral("Button3"), QStringLiteral("Mégsem"), this);
    Button4 = makeButton(QStringLiteral("Button4"), QStringLiteral("Bezárás"), this);
    Button1->setEnabled(false);
    Button2->setEnabled(false);

    DBGrid1 = new TDBGrid(this);
    DBGrid1->setObjectName(QStringLiteral("DBGrid1"));
    DBGrid1->SetReadOnly(true);
    DBGrid1->SetDataSource(Data->DSQ20);
    DBNavigator1 = new TDBNavigator(this);
    DBNavigator1->setObjectName(QStringLiteral("DBNavigator1"));
    DBNavigator1->SetDataSource(Data->DSQ20);
    ProgressBar1 = new QProgressBar(this);
    ProgressBar1->setObjectName(QStringLiteral("ProgressBar1"));
    ProgressBar1->setRange(0, 1);
    ProgressBar1->setValue(0);
    ProgressBar1->setTextVisible(true);
    StatusLabel = label(QString(), this, QStringLiteral("StatusLabel"));
    StatusLabel->setMinimumWidth(
        StatusLabel->fontMetrics().horizontalAdvance(QStringLiteral("Import fájlok írása: 20000 / 20000")));

    // The period and the folder.
    auto* period = new QGridLayout;
    period->addWidget(label(QStringLiteral("Fizetési dátum szerint"), this), 0, 1, 1, 3);
    period->addWidget(label(QStringLiteral("Bevallási idöszak: "), this), 1, 0);
    period->addWidget(DateTimePicker1, 1, 1);
    period->addWidget(label(QStringLiteral("-tól"), this), 1, 2);
    period->addWidget(DateTimePicker2, 1, 3);
    period->addWidget(label(QStringLiteral("-ig"), this), 1, 4);
    period->addWidget(Button5, 1, 5);
    period->addWidget(label(QStringLiteral("Ide kerülnek az adatok:"), this), 2, 0);
    period->addWidget(Edit1, 2, 1, 1, 3);
    period->addWidget(label(QStringLiteral("Kigyüjtés ismételhetö."), this), 3, 1, 1, 3);
    period->setColumnStretch(6, 1);

    auto* place = new QVBoxLayout;
    place->addWidget(label(QStringLiteral("Az adatok helye:  C:\\DU2010\\ + hónap + \\"), this));
    place->addWidget(label(QStringLiteral("pl:   C:\\DU2010\\01\\"), this));
    place->addWidget(label(QStringLiteral("( Könytárnak létezni kell )"), this));

    auto* about = new QVBoxLayout;
    about->addWidget(label(QStringLiteral("APEH 1008M nyomtatványhoz  adatok kiexportálása. "), this));
    about->addWidget(label(QStringLiteral("Kifizetett összeg  a bevallás 455. sorba kerül beirásra."), this));
    about->addWidget(
        label(QStringLiteral(" Az adólevonás elmaradás oka (Bevallás 458.sor) = 2  (mert östermelö)"), this));
    about->addWidget(label(
        QStringLiteral("Csak dátumot figyel. (Ha nem volt nyomtatva akkor is bevallásba kerül)"), this));

    auto* names = new QGridLayout;
    names->addWidget(label(QStringLiteral("Csoportos importhoz a név:  "), this), 0, 0);
    names->addWidget(label(QStringLiteral("pl.: 1008M_20100101_0131.bat"), this), 0, 1, 1, 3);
    names->addWidget(label(QStringLiteral("Egyedi  importhoz a  név:"), this), 1, 0);
    names->addWidget(label(QStringLiteral("pl:  1008M_201008_8123456789.imp"), this), 1, 1, 1, 3);
    names->addWidget(label(QStringLiteral("Nyomtatvány"), this), 2, 1);
    names->addWidget(label(QStringLiteral("Hónap"), this), 2, 2);
    names->addWidget(label(QStringLiteral("Adóazonositója"), this), 2, 3);
    names->setColumnStretch(4, 1);

    auto* left = new QVBoxLayout;
    left->addLayout(period);
    left->addLayout(place);
    auto* right = new QVBoxLayout;
    right->addLayout(about);
    right->addLayout(names);
    auto* top = new QHBoxLayout;
    top->addLayout(left, 1);
    auto* line = new QFrame(this);
    line->setFrameShape(QFrame::VLine);
    top->addWidget(line);
    top->addLayout(right, 1);

    auto* navigation = new QHBoxLayout;
    navigation->addWidget(DBNavigator1);
    navigation->addWidget(StatusLabel);
    navigation->addWidget(ProgressBar1, 1);

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

    connect(Button5, &QPushButton::clicked, this, &TForm11::Button5Click);
    connect(DateTimePicker2, &QDateEdit::editingFinished, this, &TForm11::DateTimePicker2Exit);
    connect(DateTimePicker1, &QDateEdit::dateChanged, this, &TForm11::DateTimePicker1Change);
    connect(Button1, &QPushButton::clicked, this, &TForm11::Button1Click);
    connect(Button2, &QPushButton::clicked, this, &TForm11::Button2Click);
    connect(Button3, &QPushButton::clicked, this, &QDialog::reject);
    connect(Button4, &QPushButton::clicked, this, &QDialog::accept);
    vardelo::EnterMovesFocus::install(this);
    resize(980, 640);
}

void TForm11::Button5Click() {
    const std::optional<QString> month =
        vardelo::returns::periodMonth(DateTimePicker1->date(), DateTimePicker2->date());
    if (!month) {
        ui().beep();
        ui().showMessage(QStringLiteral("Hiba! Csak egy hónap intervallum lehet."));
        return;
    }
    Edit1->setText(vardelo::returns::monthFolderText(*month));
    Button1->setEnabled(true);
}

void TForm11::DateTimePicker2Exit() {
    Button5Click();
}

void TForm11::DateTimePicker1Change() {
    Button1->setEnabled(false);
    Button2->setEnabled(false);
}

void TForm11::showProgress(const QString& text, int done, int total) {
    StatusLabel->setText(text);
    ProgressBar1->setRange(0, std::max(1, total));
    ProgressBar1->setValue(done);
    // Repaints while the collection runs; the clerk's input waits until it ends.
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void TForm11::Button1Click() {
    const QDate from = DateTimePicker1->date();
    const QDate to = DateTimePicker2->date();
    const bool printWasEnabled = Button2->isEnabled();
    for (QPushButton* b : {Button1, Button2, Button5, Button3, Button4})
        b->setEnabled(false);
    // The grid follows the rows only when the walk has ended.
    DBGrid1->SetDataSource(nullptr);
    DBNavigator1->SetDataSource(nullptr);
    showProgress(QStringLiteral("Kigyüjtés..."), 0, 0);

    vardelo::returns::CollectionResult result;
    std::optional<EDatabaseError> failure;
    try {
        result = vardelo::returns::collectImportFiles(from, to, [this](int done, int total) {
            if (done % 50 == 0 || done == total)
                showProgress(QStringLiteral("Import fájlok írása: %1 / %2").arg(done).arg(total), done,
                             total);
        });
    } catch (const EDatabaseError& error) {
        failure = error;
    }

    DBGrid1->SetDataSource(Data->DSQ20);
    DBNavigator1->SetDataSource(Data->DSQ20);
    for (QPushButton* b : {Button1, Button5, Button3, Button4})
        b->setEnabled(true);
    Button2->setEnabled(printWasEnabled);

    if (failure) {
        showProgress(QStringLiteral("A kigyüjtés megszakadt."), 0, 0);
        vardelo::reportFailure(QStringLiteral("Hiba a kigyüjtéskor."), *failure, lcReturns);
        return;
    }
    ImportOsszesen = result.totalText;
    if (!result.completed) {
        showProgress(QStringLiteral("A kigyüjtés megszakadt."), 0, 0);
        Button2->setEnabled(false);
        ui().showMessage(result.error);
        return;
    }
    showProgress(
        QStringLiteral("Kész: %1 import fájl, összesen %2 Ft").arg(result.files.size()).arg(result.totalText),
        std::max(1, int(result.files.size())), int(result.files.size()));
    Button2->setEnabled(true);
    const QString notice = result.notice();
    if (!notice.isEmpty())
        ui().showMessage(notice);
}

void TForm11::Button2Click() {
    const QDate from = DateTimePicker1->date();
    const QDate to = DateTimePicker2->date();
    try {
        vardelo::returns::openImportPrintRows(from, to);
    } catch (const EDatabaseError& error) {
        vardelo::reportFailure(QStringLiteral("Hiba a lista lekérdezésekor."), error, lcReturns);
        return;
    }
    vardelo::setReportVariable(QStringLiteral("v_osszesen"), ImportOsszesen);
    vardelo::setReportVariable(QStringLiteral("v_tol"), vardelo::dateText(from));
    vardelo::setReportVariable(QStringLiteral("v_ig"), vardelo::dateText(to));
    Data->frNyomtat->LoadFromFile(QStringLiteral("FjLista3.frf"));
    Data->frNyomtat->ShowReport();
}
