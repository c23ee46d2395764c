#include "tickets/line_entry.h"

#include "data/app_settings.h"
#include "data/data_module.h"
#include "data/database_error.h"
#include "data/logging.h"
#include "data/shared_values.h"
#include "data/text_formats.h"
#include "masterdata/animal_browser.h"
#include "tickets/ticket_entry.h"
#include "tickets/ticket_queries.h"
#include "tickets/ticket_rules.h"
#include "weighing/scale_reader.h"
#include "widgets/action_guard.h"
#include "widgets/form_controls.h"
#include "widgets/key_filters.h"
#include "widgets/save_refusal.h"
#include "widgets/ui_service.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShortcut>
#include <QVBoxLayout>

using namespace vardelo;
using namespace vardelo::tickets;

TForm10::TForm10(TForm9& entry, QWidget* parent)
    : QDialog(parent), entry_(entry), isNew_(TetelMod == UjTetelsor) {
    setObjectName(QStringLiteral("Form10"));
    setWindowTitle(QStringLiteral("Felvásárlási jegy tételsor"));

    Edit1 = makeReadOnlyEdit(QStringLiteral("Edit1"), this, 9);
    Edit2 = makeReadOnlyEdit(QStringLiteral("Edit2"), this, 6);
    Edit2->setVisible(false);
    Edit3 = makeEdit(QStringLiteral("Edit3"), this, 36);
    Edit3->setToolTip(QStringLiteral("Megnevezés kezdő betük beirása a \"Termék\" gomb előtt"));
    Edit4 = makeEdit(QStringLiteral("Edit4"), this, 11);
    Edit5 = makeEdit(QStringLiteral("Edit5"), this, 11);
    Edit6 = makeEdit(QStringLiteral("Edit6"), this, 8);
    Edit7 = makeEdit(QStringLiteral("Edit7"), this, 11);
    Edit8 = makeEdit(QStringLiteral("Edit8"), this, 5);
    Edit9 = makeReadOnlyEdit(QStringLiteral("Edit9"), this, 5);
    OkButton = makeButton(QStringLiteral("OkButton"), QStringLiteral("OK"), this);
    CancelButton = makeButton(QStringLiteral("CancelButton"), QStringLiteral("Mégsem"), this);
    AnimalButton = makeButton(QStringLiteral("AnimalButton"), QStringLiteral("Állat"), this);

    if (const auto settings = loadAppSettings().scale)
        scale_ = new weighing::ScaleReader(*settings, this);

    auto* grid = new QGridLayout;
    const std::pair<const char*, QLineEdit*> rows[] = {
        {"Bszám", Edit1},        {"Megnevezés", Edit3}, {"VTSZ", Edit4},         {"Bruttó menny", Edit5},
        {"Menny. egys.", Edit6}, {"Egységár", Edit7},   {"Komp.mértéke", Edit8}, {"Állatkód", Edit9},
    };
    int row = 0;
    for (const auto& [caption, edit] : rows) {
        auto* label = new QLabel(QString::fromUtf8(caption), this);
        label->setBuddy(edit);
        grid->addWidget(label, row, 0);
        if (edit == Edit5 && scale_) {
            addScale();
            auto* weightRow = new QHBoxLayout;
            weightRow->addWidget(Edit5);
            weightRow->addWidget(ScaleButton);
            weightRow->addWidget(ScaleLabel, 1);
            grid->addLayout(weightRow, row, 1, 1, 2);
        } else {
            grid->addWidget(edit, row, 1, Qt::AlignLeft);
        }
        ++row;
    }
    grid->addWidget(Edit3, 1, 1);
    grid->addWidget(AnimalButton, 1, 2);
    grid->addWidget(Edit2, 0, 2);
    grid->setColumnStretch(1, 1);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(OkButton);
    buttons->addWidget(CancelButton);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addStretch(1);
    layout->addLayout(buttons);

    KeyFilter::install(Edit5, KeyFilterKind::DigitsCommaMinus);
    KeyFilter::install(Edit7, KeyFilterKind::DigitsComma);
    KeyFilter::install(Edit8, KeyFilterKind::DigitsComma);
    setTabOrder();
    EnterMovesFocus::install(this);

    connect(AnimalButton, &QPushButton::clicked, this, &TForm10::AnimalButtonClick);
    connect(OkButton, &QPushButton::clicked, this, &TForm10::OkButtonClick);
    connect(CancelButton, &QPushButton::clicked, this, &QDialog::reject);

    Edit1->setText(entry_.TicketNumberText());
    Edit3->setFocus();
}

void TForm10::setTabOrder() {
    QList<QWidget*> order{Edit3, Edit4, Edit5, Edit6, Edit7, Edit8, OkButton, CancelButton, AnimalButton};
    if (ScaleButton)
        order << ScaleButton;
    for (int i = 1; i < order.size(); ++i)
        QWidget::setTabOrder(order[i - 1], order[i]);
}

void TForm10::addScale() {
    ScaleButton = makeButton(QStringLiteral("ScaleButton"), QStringLiteral("Mérleg"), this);
    ScaleButton->setToolTip(QStringLiteral("A bruttó súly a mérlegről (F2)"));
    ScaleLabel = new QLabel(this);
    ScaleLabel->setObjectName(QStringLiteral("ScaleLabel"));
    // Room for the longest reading, so the window does not change its width as the readings come.
    QFont bold = ScaleLabel->font();
    bold.setBold(true);
    ScaleLabel->setMinimumWidth(
        QFontMetrics(bold).horizontalAdvance(QStringLiteral("999 999,9999 kg, nem nyugodt")));
    auto* key = new QShortcut(QKeySequence(Qt::Key_F2), this);
    connect(key, &QShortcut::activated, this, &TForm10::ScaleButtonClick);
    connect(ScaleButton, &QPushButton::clicked, this, &TForm10::ScaleButtonClick);
    connect(scale_, &weighing::ScaleReader::statusChanged, this, &TForm10::showScaleStatus);
    connect(scale_, &weighing::ScaleReader::weightTaken, this, &TForm10::takeScaleWeight);
    connect(scale_, &weighing::ScaleReader::weightRefused, this,
            [](const QString& why) { ui().showMessage(why); });
    showScaleStatus();
}

void TForm10::showScaleStatus() {
    const QString message = scale_->message();
    ScaleLabel->setText(weighing::scaleStatusLabel(scale_->status()));
    ScaleLabel->setToolTip(message.isEmpty() ? QStringLiteral("Ezt a súlyt veszi át a „Mérleg” gomb (F2).")
                                             : message);
    QFont font = ScaleLabel->font();
    font.setBold(message.isEmpty());
    ScaleLabel->setFont(font);
}

void TForm10::ScaleButtonClick() {
    if (scale_)
        scale_->requestWeight();
}

void TForm10::takeScaleWeight(const QString& fieldText) {
    scaleWeightText_ = fieldText;
    Edit5->setText(fieldText);
    Edit5->setFocus();
}

std::optional<double> TForm10::scaleWeight() const {
    if (scaleWeightText_.isEmpty())
        return std::nullopt;
    return parseNumberText(scaleWeightText_);
}

void TForm10::LoadLine() {
    try {
        TZQuery* q = Data->ZQ20;
        auto text = [q](const char* field) { return q->FieldByName(QString::fromLatin1(field)).AsString(); };
        Edit2->setText(text("ID_FJSOR"));
        Edit9->setText(text("S_TERMEKKOD"));
        Edit3->setText(text("S_MEGNEVEZES"));
        Edit4->setText(text("S_VTSZ"));
        Edit5->setText(text("S_BRUTTO"));
        Edit6->setText(text("S_MEGY"));
        Edit7->setText(text("S_EAR"));
        Edit8->setText(text("S_KOMPMERTEKE"));
        // A database not yet brought up to the schema has no S_MERLEG.
        if (const TField* weighed = q->FindField(QStringLiteral("S_MERLEG")); weighed && !weighed->IsNull())
            scaleWeightText_ = weighed->AsString();
        // What a save must find unchanged: the line as the clerk saw it.
        lineAsRead_ = rowAsRead(*q, QStringLiteral("FJSOR"));
        setWindowTitle(TetelMod);
    } catch (const EDatabaseError& error) {
        reportFailure(QStringLiteral("Hiba a terméksor feltöltésben való megjelenitésekor!"), error,
                      lcTickets);
    }
}

void TForm10::AnimalButtonClick() {
    guarded(lcTickets, [this] {
        AllatKulcs = Edit3->text();
        {
            TForm6 browser(this);
            ui().showModal(browser);
        }
        // Closing the catalogue without choosing takes the animal it stood on.
        try {
            TZQuery* q = Data->ZQ40;
            auto text = [q](const char* field) {
                return q->FieldByName(QString::fromLatin1(field)).AsString();
            };
            Edit3->setText(text("T_MEGNEVEZES"));
            Edit4->setText(text("T_VTSZ"));
            Edit6->setText(text("T_MEGY"));
            Edit7->setText(text("T_EAR"));
            Edit8->setText(text("T_KOMPMERTEKE"));
            Edit9->setText(text("T_KOD"));
        } catch (const EDatabaseError& error) {
            reportFailure(QStringLiteral("Hiba a termék feltöltésben való megjelenitésekor!"), error,
                          lcTickets);
            reject();
            return;
        }
        Edit5->setFocus();
    });
}

QLineEdit* TForm10::fieldFor(int lineField) const {
    switch (LineField(lineField)) {
    case LineField::Name:
        return Edit3;
    case LineField::Vtsz:
        return Edit4;
    case LineField::Gross:
        return Edit5;
    case LineField::Unit:
        return Edit6;
    case LineField::UnitPrice:
        return Edit7;
    case LineField::CompensationRate:
        return Edit8;
    case LineField::WeightDeduction:
        // The per cent is the ticket entry's, behind this dialog: the focus stays on the gross weight.
        return Edit5;
    }
    return nullptr;
}

void TForm10::OkButtonClick() {
    guarded(lcTickets, [this] {
        const LineTexts line{Edit3->text(),
                             Edit4->text(),
                             Edit5->text(),
                             Edit6->text(),
                             Edit7->text(),
                             Edit8->text(),
                             entry_.WeightDeductionText()};
        if (const auto problem = checkLine(line)) {
            ui().showMessage(problem->message);
            fieldFor(int(problem->field))->setFocus();
            return;
        }
        try {
            if (!Data->IBTrans1->Active())
                Data->IBTrans1->StartTransaction();
        } catch (const EDatabaseError& error) {
            reportFailure(QStringLiteral("Hiba az INSERT vagy UPDATE közben a terméksorban!"), error,
                          lcTickets);
            return;
        }
        const SaveResult saved = saveLine();
        reopenLists();
        // A failed line keeps the dialog open with what the clerk typed, unless the clerk asked for the line
        // as another desk stored it.
        if (saved == SaveResult::Saved)
            accept();
        else if (saved == SaveResult::Reload)
            reloadLine();
    });
}

TForm10::SaveResult TForm10::saveLine() {
    try {
        const auto brutto = parseDecimalText(Edit5->text());
        const auto ear = parseDecimalText(Edit7->text());
        const auto komp = parseDecimalText(Edit8->text());
        const auto levonszaz = parseDecimalText(entry_.WeightDeductionText());
        if (!brutto || !ear || !komp || !levonszaz)
            throw EDatabaseError(QStringLiteral("Hibás szám"));

        const auto changedId = isNew_ ? std::nullopt : std::optional<QString>(Edit2->text());
        // A new ticket's lines are this desk's unsaved lines until the ticket is stored.
        writeTicketLine(changedId,
                        {{QStringLiteral("p1"), Edit1->text()},
                         {QStringLiteral("p2"), Edit9->text()},
                         {QStringLiteral("p3"), Edit3->text()},
                         {QStringLiteral("p4"), Edit4->text()},
                         {QStringLiteral("p5"), QVariant::fromValue(*brutto)},
                         {QStringLiteral("p6"), Edit6->text()},
                         {QStringLiteral("p7"), QVariant::fromValue(*ear)},
                         {QStringLiteral("p8"), QVariant::fromValue(*komp)},
                         {QStringLiteral("p9"), AktAkod},
                         {QStringLiteral("p10"), QVariant::fromValue(*levonszaz)}},
                        entry_.IsNewTicket(), lineAsRead_, scaleWeight());
        AktSorId = Edit2->text();
        Data->IBTrans1->Commit();
    } catch (const ERowChanged& refusal) {
        rollBack();
        return askReloadAfterRefusal(failureMessage(), refusal, lcTickets) ? SaveResult::Reload
                                                                           : SaveResult::Failed;
    } catch (const EDatabaseError& error) {
        // A lost connection is the action's guard's: it attaches again and offers to repeat the save.
        if (isLostConnection(error))
            throw;
        reportFailure(failureMessage(), error, lcTickets);
        rollBack();
        return SaveResult::Failed;
    }
    return SaveResult::Saved;
}

QString TForm10::failureMessage() const {
    return isNew_ ? QStringLiteral("Hiba: Új, INSERT a fjsorban ")
                  : QStringLiteral("Hiba: Módosit, UPDATE a fjsorban ");
}

void TForm10::reloadLine() {
    if (Data->ZQ20->Locate(QStringLiteral("ID_FJSOR"), Edit2->text(), 0))
        LoadLine();
}

void TForm10::reopenLists() {
    entry_.OpenLines();
    if (!AktSorId.isEmpty())
        Data->ZQ20->Locate(QStringLiteral("ID_FJSOR"), AktSorId, 0);
    openProducer(Data->ZQ31, entry_.ProducerCodeText());
}
