#include "exchange/previous_import.h"

#include "data/data_module.h"
#include "data/database_error.h"
#include "data/logging.h"
#include "data/text_files.h"
#include "data/windows_paths.h"
#include "exchange/previous_import_queries.h"
#include "exchange/previous_import_rules.h"
#include "widgets/action_guard.h"
#include "widgets/ui_service.h"

#include <QCheckBox>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

using vardelo::reportFailure;
using vardelo::ui;
using namespace vardelo::previous;

TForm25::TForm25(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("Form25"));
    setWindowTitle(QStringLiteral("Form25"));

    Label1 =
        new QLabel(QStringLiteral("A régi verzióból átemeli a  termék, östermelö és vevö adatait"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    QFont titleFont = Label1->font();
    titleFont.setBold(true);
    Label1->setFont(titleFont);

    Edit1 = new QLineEdit(QStringLiteral("c:\\ze10\\"), this);
    Edit1->setObjectName(QStringLiteral("Edit1"));

    Memo1 = new QPlainTextEdit(this);
    Memo1->setObjectName(QStringLiteral("Memo1"));
    Memo1->setLineWrapMode(QPlainTextEdit::NoWrap);
    Memo1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Memo1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    QFont fixed = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    Memo1->setFont(fixed);
    Memo1->setMinimumSize(QFontMetrics(fixed).horizontalAdvance(QLatin1Char('0')) * 80, 260);

    GroupBox1 = new QGroupBox(QStringLiteral("Melyik?"), this);
    GroupBox1->setObjectName(QStringLiteral("GroupBox1"));
    CheckBox1 = new QCheckBox(QStringLiteral("Östermelő"), GroupBox1);
    CheckBox1->setObjectName(QStringLiteral("CheckBox1"));
    CheckBox2 = new QCheckBox(QStringLiteral("Termék"), GroupBox1);
    CheckBox2->setObjectName(QStringLiteral("CheckBox2"));
    CheckBox3 = new QCheckBox(QStringLiteral("Átvevő"), GroupBox1);
    CheckBox3->setObjectName(QStringLiteral("CheckBox3"));
    auto* boxes = new QVBoxLayout(GroupBox1);
    for (QCheckBox* box : {CheckBox1, CheckBox2, CheckBox3}) {
        box->setChecked(true);
        boxes->addWidget(box);
    }
    boxes->addStretch();

    Button1 = new QPushButton(QStringLiteral("Import"), this);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button3 = new QPushButton(QStringLiteral("Mégsem"), this);
    Button3->setObjectName(QStringLiteral("Button3"));
    connect(Button1, &QPushButton::clicked, this, &TForm25::Button1Click);
    connect(Button3, &QPushButton::clicked, this, &TForm25::Button3Click);

    auto* side = new QVBoxLayout;
    side->addWidget(GroupBox1);
    side->addStretch();
    side->addWidget(Button1);
    side->addWidget(Button3);

    auto* middle = new QHBoxLayout;
    middle->addWidget(Memo1, 1);
    middle->addLayout(side);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Label1);
    layout->addWidget(Edit1);
    layout->addLayout(middle, 1);
}

void TForm25::Button3Click() {
    close();
}

// Producers, animals, then purchasers, each when its box is ticked; each kind says when it is done, and the
// window closes after the last. An import that ends early leaves the window open with what was committed.
void TForm25::Button1Click() {
    if (CheckBox1->isChecked()) {
        if (!importLines(
                ProducerFile, Data->ZQ30, producerInsert(),
                [](const QString& line, int) { return producerParams(line); },
                QStringLiteral("Hiba1: Újban, INSERT az östermelöben "), QStringLiteral("Hiba2!")))
            return;
        ui().showMessage(QStringLiteral("A régi östermelö adatok átemelve"));
    }
    if (CheckBox2->isChecked()) {
        if (!importLines(
                AnimalFile, Data->ZQ40, animalInsert(),
                [](const QString& line, int) { return animalParams(line); },
                QStringLiteral("Hiba1: Újban, INSERT a termékben "), QStringLiteral("Hiba3!")))
            return;
        ui().showMessage(QStringLiteral("A régi termék adatok átemelve"));
    }
    if (CheckBox3->isChecked()) {
        // The purchaser table is emptied first; a failed delete is reported and the inserts still run.
        auto emptyTable = [this] {
            return recordStep(Data->ZQ60, purchaserDelete(), {}, QStringLiteral("Hiba: törlés az átvevőben "),
                              QStringLiteral("Hiba törléskor!")) != Step::Abort;
        };
        if (!importLines(PurchaserFile, Data->ZQ60, purchaserInsert(), purchaserParams,
                         QStringLiteral("Hiba1: Újban, INSERT az átvevöben "), QStringLiteral("Hiba4!"),
                         emptyTable))
            return;
        ui().showMessage(QStringLiteral("A régi átvevö adatok átemelve"));
    }
    close();
}

std::optional<QStringList> TForm25::loadFile(const QString& name) {
    const QString path = vardelo::localPath(Edit1->text() + name);
    std::optional<QStringList> lines = vardelo::readTextFile(path);
    if (!lines) {
        ui().showError(QStringLiteral("A fájl nem nyitható meg: ") + path, lcExchange);
        return std::nullopt;
    }
    Memo1->setPlainText(lines->join(QLatin1Char('\n')));
    return lines;
}

bool TForm25::importLines(const QString& file, TZQuery* query, const QStringList& sql,
                          const std::function<vardelo::QueryParams(const QString&, int)>& params,
                          const QString& errorText, const QString& abortText,
                          const std::function<bool()>& before) {
    const std::optional<QStringList> lines = loadFile(file);
    if (!lines)
        return false;
    if (before && !before())
        return false;
    for (qsizetype i = 0; i < lines->size(); ++i) {
        if (recordStep(query, sql, params(lines->at(i), int(i + 1)), errorText, abortText) == Step::Abort)
            return false;
    }
    return true;
}

TForm25::Step TForm25::recordStep(TZQuery* query, const QStringList& sql, const vardelo::QueryParams& params,
                                  const QString& errorText, const QString& abortText) {
    TTransaction* transaction = query->Transaction();
    try {
        if (!transaction->Active())
            transaction->StartTransaction();
    } catch (const EDatabaseError& error) {
        reportFailure(abortText, error, lcExchange);
        return Step::Abort;
    }
    try {
        vardelo::execQuery(query, sql, params);
        transaction->CommitRetaining();
        return Step::Done;
    } catch (const EDatabaseError& error) {
        reportFailure(errorText, error, lcExchange);
    }
    try {
        transaction->RollbackRetaining();
    } catch (const EDatabaseError& error) {
        reportFailure(abortText, error, lcExchange);
        return Step::Abort;
    }
    return Step::Failed;
}
