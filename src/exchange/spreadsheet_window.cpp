#include "exchange/spreadsheet_window.h"

#include "widgets/date_picker.h"

#include "data/data_module.h"
#include "data/database_error.h"
#include "data/logging.h"
#include "exchange/spreadsheet_export.h"
#include "exchange/spreadsheet_queries.h"
#include "exchange/workbook_file.h"
#include "widgets/action_guard.h"
#include "widgets/db_grid.h"
#include "widgets/db_navigator.h"
#include "widgets/form_controls.h"
#include "widgets/ui_service.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QDateEdit>
#include <QDir>
#include <QElapsedTimer>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QStandardPaths>
#include <QVBoxLayout>

using namespace vardelo;

namespace {

QLabel* label(const QString& name, const QString& text, QWidget* parent) {
    auto* l = new QLabel(text, parent);
    l->setObjectName(name);
    return l;
}

} // namespace

TForm20::TForm20(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("Form20"));
    setWindowTitle(QStringLiteral("Excel  táblába"));
    SaveFolder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);

    Label1 = label(QStringLiteral("Label1"), QStringLiteral("Felvásárlási jegy exportálása"), this);
    QFont titleFont = Label1->font();
    titleFont.setBold(true);
    titleFont.setPointSizeF(titleFont.pointSizeF() * 1.4);
    Label1->setFont(titleFont);
    Label1->setAlignment(Qt::AlignCenter);

    DateTimePicker1 = makeDatePicker(QStringLiteral("DateTimePicker1"), QDate(2010, 1, 1), this);
    DateTimePicker2 = makeDatePicker(QStringLiteral("DateTimePicker2"), QDate(2010, 12, 31), this);
    auto* dates =
        makeDateRangeRow(QStringLiteral("Dátum: "), DateTimePicker1, DateTimePicker2, this,
                         {QStringLiteral("Label2"), QStringLiteral("Label3"), QStringLiteral("Label4")});

    GroupBox1 = new QGroupBox(QStringLiteral("Dátum ?"), this);
    GroupBox1->setObjectName(QStringLiteral("GroupBox1"));
    RadioButton1 = new QRadioButton(QStringLiteral("Fizetési dátum"), GroupBox1);
    RadioButton1->setObjectName(QStringLiteral("RadioButton1"));
    RadioButton1->setChecked(true);
    RadioButton2 = new QRadioButton(QStringLiteral("Felvásárlási dátum"), GroupBox1);
    RadioButton2->setObjectName(QStringLiteral("RadioButton2"));
    auto* radios = new QVBoxLayout(GroupBox1);
    radios->addWidget(RadioButton1);
    radios->addWidget(RadioButton2);

    CheckBox1 = new QCheckBox(QStringLiteral(" excel táblát megjelenít"), this);
    CheckBox1->setObjectName(QStringLiteral("CheckBox1"));
    CheckBox1->setChecked(true);

    auto* options = new QHBoxLayout;
    options->addWidget(GroupBox1);
    options->addSpacing(16);
    options->addWidget(CheckBox1, 0, Qt::AlignVCenter);
    options->addStretch(1);

    ProgressBar1 = new QProgressBar(this);
    ProgressBar1->setObjectName(QStringLiteral("ProgressBar1"));
    ProgressBar1->setRange(0, 100);
    ProgressBar1->setValue(0);

    DBGrid1 = new TDBGrid(this);
    DBGrid1->setObjectName(QStringLiteral("DBGrid1"));
    DBGrid1->SetReadOnly(true);
    DBGrid1->SetColumns({{QStringLiteral("S_MEGNEVEZES"), QStringLiteral("Megnevezés")}});
    DBGrid1->SetDataSource(Data->DSQ20);
    DBNavigator1 = new TDBNavigator(this);
    DBNavigator1->setObjectName(QStringLiteral("DBNavigator1"));
    DBNavigator1->SetDataSource(Data->DSQ20);
    DBNavigator1->SetVisibleButtons(nbMoveButtons);
    auto* navigation = new QHBoxLayout;
    navigation->addWidget(DBNavigator1);
    navigation->addStretch(1);

    Button1 = makeButton(QStringLiteral("Button1"), QStringLiteral("Kigyüjtés"), this);
    Button4 = makeButton(QStringLiteral("Button4"), QStringLiteral("Exportálás "), this);
    Button3 = makeButton(QStringLiteral("Button3"), QStringLiteral("Mégsem"), this);
    Button2 = makeButton(QStringLiteral("Button2"), QStringLiteral("Bezárás"), this);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(Button1);
    buttons->addWidget(Button4);
    buttons->addStretch(1);
    buttons->addWidget(Button3);
    buttons->addWidget(Button2);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Label1);
    layout->addLayout(dates);
    layout->addLayout(options);
    layout->addWidget(ProgressBar1);
    layout->addWidget(DBGrid1, 1);
    layout->addLayout(navigation);
    layout->addLayout(buttons);

    connect(Button1, &QPushButton::clicked, this, &TForm20::Button1Click);
    connect(Button4, &QPushButton::clicked, this, &TForm20::Button4Click);
    connect(Button3, &QPushButton::clicked, this, &QDialog::reject);
    connect(Button2, &QPushButton::clicked, this, &QDialog::reject);
    resize(620, 560);
}

QString TForm20::WorkbookPath() const {
    return QDir(SaveFolder).filePath(exchange::workbookFileName());
}

void TForm20::collect() {
    exchange::openExportLines(DateTimePicker1->date(), DateTimePicker2->date(), RadioButton2->isChecked());
    collected_ = true;
}

void TForm20::Button1Click() {
    guarded(lcExchange, [this] { collect(); });
}

// Without a collection of its own in this window the export collects first, so it never writes what another
// window left in the shared list.
void TForm20::Button4Click() {
    QByteArray stream;
    int count = 0;
    const bool built = guarded(lcExchange, [&] {
        if (!collected_ || !Data->ZQ20->Active())
            collect();
        TDataSet& lines = *Data->ZQ20;
        count = lines.RecordCount();
        ProgressBar1->setRange(0, count);
        ProgressBar1->setValue(0);
        // The bar moves and the window is repainted a few times a second, and at the last line: a bar set at
        // every line would cost more than the lines themselves.
        QElapsedTimer sinceRepaint;
        sinceRepaint.start();
        stream = exchange::buildWorkbook(lines, [&](int done) {
            if (done < count && sinceRepaint.elapsed() < 100)
                return;
            ProgressBar1->setValue(done);
            QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
            sinceRepaint.restart();
        });
    });
    if (!built)
        return;

    exchange::finishWorkbookExport(WorkbookPath(),
                                   exchange::saveWorkbookAsking(WorkbookPath(), stream, windowTitle()),
                                   CheckBox1->isChecked(), count);
}
