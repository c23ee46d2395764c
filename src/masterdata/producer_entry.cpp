#include "masterdata/producer_entry.h"

#include "data/data_module.h"
#include "data/database_error.h"
#include "data/logging.h"
#include "data/shared_values.h"
#include "data/text_formats.h"
#include "masterdata/entry_confirm.h"
#include "masterdata/producer_browser.h"
#include "masterdata/register_queries.h"
#include "widgets/action_guard.h"
#include "widgets/key_filters.h"
#include "widgets/ui_service.h"

#include <QCheckBox>
#include <QFocusEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShowEvent>
#include <QVBoxLayout>

using vardelo::reportFailure;
using vardelo::ui;

TForm5::TForm5(const QString& mode, TForm4* browser, QWidget* parent)
    : QDialog(parent), mode_(mode), browser_(browser) {
    setObjectName(QStringLiteral("Form5"));
    setWindowTitle(QStringLiteral("Őstermelő bevitel"));
    buildWindow();
}

TForm5::~TForm5() = default;

bool TForm5::IsChange() const {
    return mode_ == TForm4::ChangeMode();
}

void TForm5::buildWindow() {
    auto edit = [this](const char* name) {
        auto* e = new QLineEdit(this);
        e->setObjectName(QString::fromLatin1(name));
        return e;
    };
    Edit1 = edit("Edit1");
    Edit2 = edit("Edit2");
    Edit3 = edit("Edit3");
    Edit4 = edit("Edit4");
    Edit5 = edit("Edit5");
    Edit6 = edit("Edit6");
    Edit7 = edit("Edit7");
    Edit8 = edit("Edit8");
    Edit9 = edit("Edit9");
    Edit10 = edit("Edit10");
    Edit11 = edit("Edit11");
    Edit12 = edit("Edit12");
    Edit13 = edit("Edit13");
    Edit15 = edit("Edit15");
    Edit16 = edit("Edit16");
    Edit17 = edit("Edit17");
    Edit18 = edit("Edit18");
    Edit19 = edit("Edit19");
    Edit20 = edit("Edit20");
    Edit21 = edit("Edit21");
    Edit10->setText(QStringLiteral("0"));
    Edit16->setText(QStringLiteral("1"));
    Edit1->setReadOnly(true);
    Edit1->hide();
    Edit2->setReadOnly(true);
    Edit2->setMaximumWidth(90);
    Edit2->setToolTip(QStringLiteral("Kód"));
    Edit16->installEventFilter(this);

    using vardelo::KeyFilter;
    using vardelo::KeyFilterKind;
    for (QLineEdit* digits : {Edit4, Edit7, Edit8, Edit10, Edit18, Edit19})
        KeyFilter::install(digits, KeyFilterKind::Digits);
    for (QLineEdit* date : {Edit12, Edit21})
        KeyFilter::install(date, KeyFilterKind::DigitsPoint);
    KeyFilter::install(Edit16, KeyFilterKind::OneTwo);
    vardelo::EnterMovesFocus::install(this);

    CheckBox1 = new QCheckBox(QStringLiteral("Üres TAJ számmal is mentésre kerüljön"), this);
    CheckBox1->setObjectName(QStringLiteral("CheckBox1"));

    Button1 = new QPushButton(QStringLiteral("OK"), this);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button2 = new QPushButton(QStringLiteral("Mégsem"), this);
    Button2->setObjectName(QStringLiteral("Button2"));
    for (QPushButton* b : {Button1, Button2}) {
        b->setAutoDefault(false);
        b->setMinimumWidth(100);
    }
    connect(Button1, &QPushButton::clicked, this, &TForm5::Button1Click);
    connect(Button2, &QPushButton::clicked, this, &QDialog::reject);

    // Two columns of labelled fields, in tab order down the first column and then the second.
    struct Row {
        const char* label;
        QLineEdit* field;
    };
    const Row rows[] = {
        {"Neve", Edit3},           {"Ir.szám", Edit4},        {"Helységnév", Edit5},
        {"Utca", Edit6},           {"Adóazonositó", Edit7},   {"Ősterm.Ig.szám", Edit8},
        {"Reg.szám", Edit9},       {"Szja", Edit10},          {"Születési hely", Edit11},
        {"Születési idő", Edit12}, {"Anyja beve", Edit13},    {"Családi gazd.szám", Edit15},
        {"Neme", Edit16},          {"Születési név", Edit17}, {"TAJ", Edit18},
        {"Adószám", Edit19},       {"Bank szla", Edit20},     {"Érvényesitve", Edit21},
    };
    constexpr int perColumn = 9;
    auto* fields = new QGridLayout;
    fields->setHorizontalSpacing(10);
    fields->setVerticalSpacing(6);
    int index = 0;
    for (const Row& row : rows) {
        auto* label = new QLabel(QString::fromUtf8(row.label), this);
        label->setObjectName(QStringLiteral("Label_") + row.field->objectName());
        label->setBuddy(row.field);
        row.field->setMinimumWidth(220);
        const int column = (index / perColumn) * 3;
        fields->addWidget(label, index % perColumn, column, Qt::AlignRight | Qt::AlignVCenter);
        fields->addWidget(row.field, index % perColumn, column + 1);
        ++index;
    }
    fields->setColumnMinimumWidth(2, 24);
    fields->setColumnStretch(1, 1);
    fields->setColumnStretch(4, 1);

    // The code of the producer (the label is hidden, the field shown) and the hidden ID.
    auto* top = new QHBoxLayout;
    top->addStretch(1);
    top->addWidget(Edit2);
    top->addWidget(Edit1);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(CheckBox1);
    buttons->addStretch(1);
    buttons->addWidget(Button1);
    buttons->addWidget(Button2);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addLayout(fields);
    layout->addSpacing(8);
    layout->addLayout(buttons);
    // A taller window keeps its fields and buttons together at the top.
    layout->addStretch(1);

    QWidget* order[] = {Edit3,  Edit4,  Edit5,     Edit6,   Edit7,   Edit8,  Edit9,  Edit10,
                        Edit11, Edit12, Edit13,    Edit15,  Edit16,  Edit17, Edit18, Edit19,
                        Edit20, Edit21, CheckBox1, Button1, Button2, Edit1,  Edit2};
    for (std::size_t i = 0; i + 1 < std::size(order); ++i)
        setTabOrder(order[i], order[i + 1]);
    Edit3->setFocus();
}

void TForm5::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!event->spontaneous())
        FormShow();
}

void TForm5::FormShow() {
    if (mode_ == TForm4::NewMode())
        Edit2->setText(QString::number(vardelo::nextProducerCode()));
}

void TForm5::LoadCurrentProducer() {
    TZQuery* list = Data->ZQ30;
    if (!list->Active() || list->IsEmpty())
        throw EDatabaseError(QStringLiteral("ZQ30: no current producer"));
    auto text = [list](const char* field) {
        return list->FieldByName(QString::fromLatin1(field)).AsString();
    };
    // What a save must find unchanged: the producer as the clerk saw it.
    asRead_ = vardelo::rowAsRead(*list, QStringLiteral("OSTERMELO"));
    Edit1->setText(text("ID_OSTERMELO"));
    Edit2->setText(text("O_KOD"));
    Edit3->setText(text("O_NEV"));
    Edit4->setText(text("O_IRSZAM"));
    Edit5->setText(text("O_HELYSEGNEV"));
    Edit6->setText(text("O_UTCA"));
    Edit7->setText(text("O_ADOAZON"));
    Edit8->setText(text("O_IGSZAM"));
    Edit9->setText(text("O_REGSZAM"));
    Edit10->setText(text("O_SZJA"));
    Edit11->setText(text("O_SZULHELY"));
    Edit12->setText(text("O_SZIDO"));
    Edit13->setText(text("O_ANYJA"));
    Edit15->setText(text("O_CSGAZD"));
    Edit16->setText(text("O_NEME"));
    Edit17->setText(text("O_SZULNEV"));
    Edit18->setText(text("O_TAJ"));
    Edit19->setText(text("O_ADOSZAM"));
    Edit20->setText(text("O_BANKSZLA"));
    Edit21->setText(text("O_ERVKELT"));
}

vardelo::ProducerEntryTexts TForm5::Texts() const {
    vardelo::ProducerEntryTexts t;
    t.nev = Edit3->text();
    t.irszam = Edit4->text();
    t.helysegnev = Edit5->text();
    t.utca = Edit6->text();
    t.adoazon = Edit7->text();
    t.igszam = Edit8->text();
    t.regszam = Edit9->text();
    t.szja = Edit10->text();
    t.szulhely = Edit11->text();
    t.szido = Edit12->text();
    t.anyja = Edit13->text();
    t.csgazd = Edit15->text();
    t.neme = Edit16->text();
    t.szulnev = Edit17->text();
    t.taj = Edit18->text();
    t.adoszam = Edit19->text();
    t.bankszla = Edit20->text();
    t.ervkelt = Edit21->text();
    t.uresTaj = CheckBox1->isChecked();
    return t;
}

bool TForm5::eventFilter(QObject* watched, QEvent* event) {
    // Leaving the field for another control of this window; a message box or another window taking the
    // activation is no exit.
    if (watched == Edit16 && event->type() == QEvent::FocusOut) {
        const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
        if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason)
            Edit16Exit();
    }
    return QDialog::eventFilter(watched, event);
}

void TForm5::Edit16Exit() {
    if (Edit16->text() == QLatin1String("1"))
        Edit17->setText(Edit3->text());
}

void TForm5::Button1Click() {
    vardelo::confirmEntry(
        *this, vardelo::checkProducerEntry(Texts()),
        QStringLiteral("Hiba az append vagy edit közben az östermelöben!"), [this] { return save(); },
        [this] { reopenList(); }, [this] { reload(); });
}

vardelo::EntrySave TForm5::save() {
    TTransaction* transaction = Data->IBTrans1;
    const QString failure = IsChange() ? QStringLiteral("Hiba: Módositás, Update a östermelöbenben ")
                                       : QStringLiteral("Hiba: Újban, INSERT az östermelöben ");
    try {
        const std::optional<double> szja = vardelo::parseNumberText(Edit10->text());
        const std::optional<QDate> szido = vardelo::parseDateText(Edit12->text());
        const std::optional<QDate> ervkelt = vardelo::parseDateText(Edit21->text());
        if (!szja || !szido || !ervkelt)
            throw EDatabaseError(QStringLiteral("unreadable number or date"));

        auto text = [](const char* name, const QLineEdit* field) {
            return std::pair<QString, QVariant>(QString::fromLatin1(name), field->text());
        };
        const auto changedId = IsChange() ? std::optional<QString>(Edit1->text()) : std::nullopt;
        vardelo::writeProducer(changedId,
                               {text("p1", Edit2),
                                text("p2", Edit3),
                                text("p3", Edit4),
                                text("p4", Edit5),
                                text("p5", Edit6),
                                text("p6", Edit7),
                                text("p7", Edit19),
                                text("p8", Edit18),
                                text("p9", Edit8),
                                text("p10", Edit9),
                                text("p11", Edit15),
                                text("p12", Edit17),
                                text("p13", Edit11),
                                {QStringLiteral("p14"), *szido},
                                text("p15", Edit13),
                                text("p16", Edit16),
                                text("p17", Edit20),
                                {QStringLiteral("p18"), *szja},
                                {QStringLiteral("p19"), *ervkelt}},
                               asRead_);
        transaction->Commit();
    } catch (const EDatabaseError& error) {
        return vardelo::entrySaveFailed(failure, error);
    }
    AktOkod = Edit2->text();
    return vardelo::EntrySave::Saved;
}

void TForm5::reload() {
    if (Data->ZQ30->Locate(QStringLiteral("ID_OSTERMELO"), Edit1->text(), 0))
        LoadCurrentProducer();
}

void TForm5::reopenList() {
    if (browser_) {
        browser_->frissit();
        return;
    }
    vardelo::openProducersByName();
    vardelo::locateProducer(AktOkod);
}
