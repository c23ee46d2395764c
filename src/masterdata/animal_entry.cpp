#include "masterdata/animal_entry.h"

#include "data/data_module.h"
#include "data/database_error.h"
#include "data/logging.h"
#include "data/shared_values.h"
#include "data/text_formats.h"
#include "masterdata/animal_browser.h"
#include "masterdata/entry_confirm.h"
#include "masterdata/register_queries.h"
#include "widgets/action_guard.h"
#include "widgets/key_filters.h"
#include "widgets/ui_service.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShowEvent>
#include <QVBoxLayout>

using vardelo::reportFailure;
using vardelo::ui;

TForm7::TForm7(const QString& mode, TForm6* browser, QWidget* parent)
    : QDialog(parent), mode_(mode), browser_(browser) {
    setObjectName(QStringLiteral("Form7"));
    setWindowTitle(QStringLiteral("Állat"));
    buildWindow();
}

TForm7::~TForm7() = default;

bool TForm7::IsChange() const {
    return mode_ == TForm6::ChangeMode();
}

void TForm7::buildWindow() {
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
    Edit1->setReadOnly(true);
    Edit5->setText(QStringLiteral("0"));
    Edit7->setText(QStringLiteral("7"));
    vardelo::KeyFilter::install(Edit2, vardelo::KeyFilterKind::Digits);
    vardelo::KeyFilter::install(Edit5, vardelo::KeyFilterKind::DigitsComma);
    vardelo::KeyFilter::install(Edit7, vardelo::KeyFilterKind::Digits);
    vardelo::EnterMovesFocus::install(this);

    Button1 = new QPushButton(QStringLiteral("OK"), this);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button2 = new QPushButton(QStringLiteral("Mégsem"), this);
    Button2->setObjectName(QStringLiteral("Button2"));
    for (QPushButton* b : {Button1, Button2}) {
        b->setAutoDefault(false);
        b->setMinimumWidth(100);
    }
    connect(Button1, &QPushButton::clicked, this, &TForm7::Button1Click);
    connect(Button2, &QPushButton::clicked, this, &QDialog::reject);

    struct Row {
        const char* label;
        QLineEdit* field;
        int width;
    };
    const Row rows[] = {
        {"Kód", Edit2, 90},       {"Megnevezés", Edit3, 360},   {"VTSZ", Edit4, 140},
        {"Egységár", Edit5, 140}, {"Menny.egység", Edit6, 140}, {"Komp.mértéke", Edit7, 90},
        {"ID", Edit1, 90},
    };
    auto* fields = new QGridLayout;
    fields->setHorizontalSpacing(10);
    fields->setVerticalSpacing(6);
    int row = 0;
    for (const Row& r : rows) {
        auto* label = new QLabel(QString::fromUtf8(r.label), this);
        label->setObjectName(QStringLiteral("Label_") + r.field->objectName());
        label->setBuddy(r.field);
        r.field->setMinimumWidth(r.width);
        fields->addWidget(label, row, 0, Qt::AlignRight | Qt::AlignVCenter);
        fields->addWidget(r.field, row, 1, Qt::AlignLeft);
        ++row;
    }
    Edit3->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    fields->setColumnStretch(1, 1);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(Button1);
    buttons->addWidget(Button2);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(fields);
    layout->addSpacing(8);
    layout->addLayout(buttons);
    // A taller window keeps its fields and buttons together at the top.
    layout->addStretch(1);

    QWidget* order[] = {Edit2, Edit3, Edit4, Edit5, Edit6, Edit7, Button1, Button2, Edit1};
    for (std::size_t i = 0; i + 1 < std::size(order); ++i)
        setTabOrder(order[i], order[i + 1]);
    Edit2->setFocus();
}

void TForm7::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!event->spontaneous())
        FormShow();
}

void TForm7::FormShow() {
    if (mode_ == TForm6::NewMode())
        Edit2->setText(QString::number(vardelo::nextAnimalCode()));
}

void TForm7::LoadCurrentAnimal() {
    TZQuery* list = Data->ZQ40;
    if (!list->Active() || list->IsEmpty())
        throw EDatabaseError(QStringLiteral("ZQ40: no current animal"));
    auto text = [list](const char* field) {
        return list->FieldByName(QString::fromLatin1(field)).AsString();
    };
    // What a save must find unchanged: the animal as the clerk saw it.
    asRead_ = vardelo::rowAsRead(*list, QStringLiteral("TERMEK"));
    Edit1->setText(text("ID_TERMEK"));
    Edit2->setText(text("T_KOD"));
    Edit3->setText(text("T_MEGNEVEZES"));
    Edit4->setText(text("T_VTSZ"));
    Edit5->setText(text("T_EAR"));
    Edit6->setText(text("T_MEGY"));
    Edit7->setText(text("T_KOMPMERTEKE"));
}

vardelo::AnimalEntryTexts TForm7::Texts() const {
    return {Edit2->text(), Edit3->text(), Edit4->text(), Edit5->text(), Edit6->text(), Edit7->text()};
}

void TForm7::Button1Click() {
    vardelo::confirmEntry(
        *this, vardelo::checkAnimalEntry(Texts()),
        QStringLiteral("Hiba az append vagy edit közben a termékben!"), [this] { return save(); },
        [this] { reopenList(); }, [this] { reload(); });
}

vardelo::EntrySave TForm7::save() {
    TTransaction* transaction = Data->IBTrans1;
    const QString failure = IsChange() ? QStringLiteral("Hiba: Módositásban, UPDATE a termékben ")
                                       : QStringLiteral("Hiba: Újban, INSERT  a termékben ");
    try {
        // The checks refused a price or per cent that does not read; should one come through, it fails like a
        // refused statement.
        const auto ear = vardelo::parseDecimalText(Edit5->text());
        const auto kompmerteke = vardelo::parseDecimalText(Edit7->text());
        if (!ear || !kompmerteke)
            throw EDatabaseError(QStringLiteral("Hibás szám"));

        const auto changedId = IsChange() ? std::optional<QString>(Edit1->text()) : std::nullopt;
        vardelo::writeAnimal(changedId,
                             {{QStringLiteral("p1"), Edit2->text()},
                              {QStringLiteral("p2"), Edit3->text()},
                              {QStringLiteral("p3"), Edit4->text()},
                              {QStringLiteral("p4"), QVariant::fromValue(*ear)},
                              {QStringLiteral("p5"), Edit6->text()},
                              {QStringLiteral("p6"), QVariant::fromValue(*kompmerteke)}},
                             asRead_);
        transaction->Commit();
    } catch (const EDatabaseError& error) {
        return vardelo::entrySaveFailed(failure, error);
    }
    AllatKulcs = Edit2->text();
    return vardelo::EntrySave::Saved;
}

void TForm7::reload() {
    if (Data->ZQ40->Locate(QStringLiteral("ID_TERMEK"), Edit1->text(), 0))
        LoadCurrentAnimal();
}

void TForm7::reopenList() {
    if (browser_) {
        browser_->frissit();
        return;
    }
    vardelo::openAnimalsByName();
    vardelo::locateAnimalByCode(AllatKulcs);
}
