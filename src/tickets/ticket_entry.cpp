#include "tickets/ticket_entry.h"

#include "data/data_module.h"
#include "data/database_error.h"
#include "data/logging.h"
#include "data/shared_values.h"
#include "data/text_formats.h"
#include "masterdata/producer_browser.h"
#include "tickets/line_entry.h"
#include "tickets/producer_details.h"
#include "tickets/ticket_numbering.h"
#include "tickets/ticket_queries.h"
#include "tickets/ticket_rules.h"
#include "widgets/action_guard.h"
#include "widgets/db_grid.h"
#include "widgets/db_navigator.h"
#include "widgets/db_text.h"
#include "widgets/form_controls.h"
#include "widgets/key_filters.h"
#include "widgets/save_refusal.h"
#include "widgets/ui_service.h"
#include "widgets/window_size.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

using namespace vardelo;
using namespace vardelo::tickets;

TForm9::TForm9(QWidget* parent) : QDialog(parent), isNew_(JegyMod == UjJegy) {
    setObjectName(QStringLiteral("Form9"));
    setWindowTitle(QStringLiteral("Felvásárlási jegy bevitel"));
    vardelo::fitWindowToScreen(*this, QSize(980, 680));

    auto* producerPanel = new QGroupBox(QStringLiteral("Őstermelő adatai:"), this);
    producerPanel->setObjectName(QStringLiteral("ProducerPanel"));
    auto* panelLayout = new QHBoxLayout(producerPanel);
    for (const char* field : {"O_NEV", "O_IRSZAM", "O_HELYSEGNEV", "O_UTCA"}) {
        auto* text = new TDBText(Data->DS31, QString::fromLatin1(field), producerPanel);
        text->setObjectName(QStringLiteral("Panel_") + QString::fromLatin1(field));
        panelLayout->addWidget(text, QLatin1String(field) == QLatin1String("O_NEV") ? 2 : 1);
    }

    PageControl1 = new QTabWidget(this);
    PageControl1->setObjectName(QStringLiteral("PageControl1"));
    PageControl1->addTab(buildHeaderTab(), QStringLiteral("Fejsor"));
    PageControl1->addTab(producerDetails(Data->DS31, QString(), this), QStringLiteral("őstermelő"));

    OkButton = makeButton(QStringLiteral("OkButton"), QStringLiteral("OK"), this);
    CancelButton = makeButton(QStringLiteral("CancelButton"), QStringLiteral("Mégsem"), this);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(OkButton);
    buttons->addWidget(CancelButton);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(producerPanel);
    layout->addWidget(PageControl1);
    layout->addWidget(buildLinesGroup(), 1);
    layout->addLayout(buttons);

    // Initial texts of a new ticket; a change overwrites them when it loads.
    Edit6->setText(QStringLiteral("0"));
    Edit14->setText(QStringLiteral("12"));
    Edit15->setText(QStringLiteral("2"));
    Edit13->setText(QStringLiteral("0"));
    CheckBox2->setChecked(true);

    // Dates take digits and points; "Szja %" is a whole number, as in the producer register; the other per
    // cents and the deduction take a decimal comma (a point is read as one too).
    for (QLineEdit* date : {Edit3, Edit10, Edit11})
        KeyFilter::install(date, KeyFilterKind::DigitsPoint);
    KeyFilter::install(Edit6, KeyFilterKind::Digits);
    for (QLineEdit* number : {Edit14, Edit15, Edit13})
        KeyFilter::install(number, KeyFilterKind::DecimalNumber);
    setTabOrder();
    EnterMovesFocus::install(this);

    connect(CheckBox2, &QCheckBox::toggled, this, &TForm9::CheckBox2Click);
    connect(ProducerButton, &QPushButton::clicked, this, &TForm9::ProducerButtonClick);
    connect(NewLineButton, &QPushButton::clicked, this, &TForm9::NewLineButtonClick);
    connect(ChangeLineButton, &QPushButton::clicked, this, &TForm9::ChangeLineButtonClick);
    connect(DeleteLineButton, &QPushButton::clicked, this, &TForm9::DeleteLineButtonClick);
    connect(OkButton, &QPushButton::clicked, this, &TForm9::OkButtonClick);
    connect(CancelButton, &QPushButton::clicked, this, &QDialog::reject);
}

QWidget* TForm9::buildHeaderTab() {
    auto* tab = new QWidget(this);
    tab->setObjectName(QStringLiteral("TabFejsor"));
    Edit1 = makeReadOnlyEdit(QStringLiteral("Edit1"), tab, 9);
    Edit2 = makeReadOnlyEdit(QStringLiteral("Edit2"), tab, 6);
    Edit2->setVisible(false);
    Edit5 = makeReadOnlyEdit(QStringLiteral("Edit5"), tab, 5);
    Edit3 = makeEdit(QStringLiteral("Edit3"), tab, 11);
    Edit10 = makeEdit(QStringLiteral("Edit10"), tab, 11);
    Edit11 = makeEdit(QStringLiteral("Edit11"), tab, 11);
    CheckBox1 = new QCheckBox(QStringLiteral("Átutalással"), tab);
    CheckBox1->setObjectName(QStringLiteral("CheckBox1"));
    Edit6 = makeEdit(QStringLiteral("Edit6"), tab, 5);
    Edit14 = makeEdit(QStringLiteral("Edit14"), tab, 5);
    Edit15 = makeEdit(QStringLiteral("Edit15"), tab, 5);
    Edit13 = makeEdit(QStringLiteral("Edit13"), tab, 9);
    Edit4 = makeEdit(QStringLiteral("Edit4"), tab, 40);
    CheckBox2 = new QCheckBox(QStringLiteral("Nyilatkozat:"), tab);
    CheckBox2->setObjectName(QStringLiteral("CheckBox2"));
    Edit12 = makeEdit(QStringLiteral("Edit12"), tab, 40);
    Edit12->setToolTip(QStringLiteral("A nyilatkozat szövegén itt változtathat"));
    Edit12->setMaxLength(250);
    ProducerButton = makeButton(QStringLiteral("ProducerButton"), QStringLiteral("Őstermelő"), tab);

    auto label = [tab](const QString& text, QWidget* buddy) {
        auto* l = new QLabel(text, tab);
        l->setBuddy(buddy);
        return l;
    };
    auto* grid = new QGridLayout(tab);
    grid->addWidget(label(QStringLiteral("Sorszám"), Edit1), 0, 0);
    grid->addWidget(Edit1, 0, 1);
    grid->addWidget(ProducerButton, 0, 2, Qt::AlignRight);
    grid->addWidget(Edit5, 0, 3);
    grid->addWidget(Edit2, 0, 4);

    grid->addWidget(label(QStringLiteral("Kiállítás "), Edit3), 1, 0);
    grid->addWidget(Edit3, 1, 1);
    grid->addWidget(label(QStringLiteral("Felvásárlás"), Edit10), 1, 2, Qt::AlignRight);
    grid->addWidget(Edit10, 1, 3);
    grid->addWidget(label(QStringLiteral("Összeg átvátel/átutalás "), Edit11), 1, 4, Qt::AlignRight);
    grid->addWidget(Edit11, 1, 5);
    grid->addWidget(CheckBox1, 1, 6);

    grid->addWidget(label(QStringLiteral("Szja %"), Edit6), 2, 0);
    grid->addWidget(Edit6, 2, 1);
    grid->addWidget(label(QStringLiteral("Súlylevon.%"), Edit14), 2, 2, Qt::AlignRight);
    grid->addWidget(Edit14, 2, 3);
    grid->addWidget(label(QStringLiteral("Tagi h.járul.%"), Edit15), 2, 4, Qt::AlignRight);
    grid->addWidget(Edit15, 2, 5);
    grid->addWidget(label(QStringLiteral("Levonás (Ft)"), Edit13), 3, 4, Qt::AlignRight);
    grid->addWidget(Edit13, 3, 5);

    grid->addWidget(label(QStringLiteral("Megjegyzés:"), Edit4), 4, 0);
    grid->addWidget(Edit4, 4, 1, 1, 6);
    grid->addWidget(CheckBox2, 5, 0);
    grid->addWidget(Edit12, 5, 1, 1, 6);
    grid->setColumnStretch(6, 1);
    grid->setRowStretch(6, 1);
    return tab;
}

QWidget* TForm9::buildLinesGroup() {
    auto* group = new QGroupBox(QStringLiteral("Tételsor"), this);
    group->setObjectName(QStringLiteral("TetelsorGroup"));
    DBGrid1 = new TDBGrid(group);
    DBGrid1->setObjectName(QStringLiteral("DBGrid1"));
    DBGrid1->SetReadOnly(true);
    DBGrid1->SetColumns({
        {QStringLiteral("S_BSZAM"), QStringLiteral("Bszám")},
        {QStringLiteral("S_TERMEKKOD"), QStringLiteral("Kód")},
        {QStringLiteral("S_MEGNEVEZES"), QStringLiteral("Megnevezés")},
        {QStringLiteral("S_BRUTTO"), QStringLiteral("Bruttó súly")},
        {QStringLiteral("S_LEVONSZAZ"), QStringLiteral("Levonás %")},
        {QStringLiteral("S_LEVONAS"), QStringLiteral("Súlylevonás")},
        {QStringLiteral("S_NETTO"), QStringLiteral("Nettó súly")},
        {QStringLiteral("S_MEGY"), QStringLiteral("M.egys.")},
        {QStringLiteral("S_EAR"), QStringLiteral("Egységár")},
        {QStringLiteral("S_FELVAR"), QStringLiteral("Felvásárl.ár")},
        {QStringLiteral("S_KOMPMERTEKE"), QStringLiteral("Komp.%")},
        {QStringLiteral("S_KOMPFELAR"), QStringLiteral("Komp.felár")},
        {QStringLiteral("S_VETELAR"), QStringLiteral("Vételár")},
        {QStringLiteral("S_SZJA"), QStringLiteral("szja %")},
        {QStringLiteral("S_VTSZ"), QStringLiteral("VTSZ")},
        {QStringLiteral("S_AKOD"), QStringLiteral("AKOD")},
        {QStringLiteral("ID_FJSOR"), QStringLiteral("ID")},
    });
    DBGrid1->SetDataSource(Data->DSQ20);
    DBGrid1->setMinimumHeight(DBGrid1->verticalHeader()->defaultSectionSize() * 5);
    DBNavigator1 = new TDBNavigator(group);
    DBNavigator1->setObjectName(QStringLiteral("DBNavigator1"));
    DBNavigator1->SetDataSource(Data->DSQ20);
    DBNavigator1->SetVisibleButtons(nbMoveButtons);

    NewLineButton = makeButton(QStringLiteral("NewLineButton"), QStringLiteral("Új"), group);
    ChangeLineButton = makeButton(QStringLiteral("ChangeLineButton"), QStringLiteral("Módosít"), group);
    DeleteLineButton = makeButton(QStringLiteral("DeleteLineButton"), QStringLiteral("Töröl"), group);
    // Room for "999 999 999 999"; a larger total widens its box.
    FelvarTotal = makeReadOnlyEdit(QStringLiteral("FelvarTotal"), group, 16);
    KompfelarTotal = makeReadOnlyEdit(QStringLiteral("KompfelarTotal"), group, 16);
    VetelarTotal = makeReadOnlyEdit(QStringLiteral("VetelarTotal"), group, 16);
    for (QLineEdit* total : {FelvarTotal, KompfelarTotal, VetelarTotal})
        total->setAlignment(Qt::AlignRight);

    auto* actions = new QHBoxLayout;
    actions->addWidget(DBNavigator1);
    actions->addSpacing(12);
    actions->addWidget(NewLineButton);
    actions->addWidget(ChangeLineButton);
    actions->addWidget(DeleteLineButton);
    actions->addStretch(1);
    auto* totals = new QHBoxLayout;
    totals->addStretch(1);
    const std::pair<const char*, QLineEdit*> totalFields[] = {
        {"Felvásárlási ár", FelvarTotal}, {"Komp.felár", KompfelarTotal}, {"Vételár", VetelarTotal}};
    for (const auto& [caption, edit] : totalFields) {
        auto* l = new QLabel(QString::fromUtf8(caption), group);
        l->setBuddy(edit);
        totals->addSpacing(8);
        totals->addWidget(l);
        totals->addWidget(edit);
    }

    auto* layout = new QVBoxLayout(group);
    layout->addWidget(DBGrid1, 1);
    layout->addLayout(actions);
    layout->addLayout(totals);
    return group;
}

void TForm9::setTabOrder() {
    const QList<QWidget*> order{Edit3,    Edit10,        Edit11,           CheckBox1,
                                Edit6,    Edit14,        Edit15,           Edit13,
                                Edit4,    Edit12,        CheckBox2,        ProducerButton,
                                DBGrid1,  NewLineButton, ChangeLineButton, DeleteLineButton,
                                OkButton, CancelButton};
    for (int i = 1; i < order.size(); ++i)
        QWidget::setTabOrder(order[i - 1], order[i]);
}

void TForm9::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!shown_) {
        shown_ = true;
        FormShow();
    }
}

void TForm9::FormShow() {
    if (isNew_)
        guarded(lcTickets, [this] { openNewTicket(); });
    guarded(lcTickets, [this] { frissit(); });
    Edit3->setFocus();
}

void TForm9::openNewTicket() {
    const QString last = lastTicketNumber();
    const NextNumber next = nextTicketNumber(last);
    if (!next.ok()) {
        Edit1->clear();
        reportFailure(QString(),
                      QStringLiteral("Az átvevő utolsó sorszáma („%1”) nem egész szám, ezért új sorszám nem "
                                     "adható. Állítsa be a sorszámot: Átvevö / Lekérdezés, \"Évnyitás\" lap.")
                          .arg(last.trimmed()),
                      next.error, lcTickets);
        return;
    }
    Edit1->setText(next.number);
    firstShownNumber_ = next.number;
    // This desk's unsaved lines are the new ticket's; another desk's are never seen here.
    const AdoptedLines adopted = adoptLines(next.number);
    OpenLines();
    if (adopted.abandoned > 0)
        ui().showMessage(abandonedLinesMessage(adopted.abandoned));
    const QString today = dateText(QDate::currentDate());
    Edit3->setText(today);
    Edit10->setText(today);
    Edit11->setText(today);
    Edit5->clear();
    openProducer(Data->ZQ31, Edit5->text());
    AktOkod = Data->ZQ31->FieldByName(QStringLiteral("O_KOD")).AsString();
    Edit12->setText(Data->IBTable6->FieldByName(QStringLiteral("V_NYILATK")).AsString());
    if (VerzioBetu == QLatin1String("A"))
        Edit15->setText(QStringLiteral("0"));
}

void TForm9::LoadForChange() {
    TZQuery* q = Data->ZQ10;
    auto text = [q](const char* field) { return q->FieldByName(QString::fromLatin1(field)).AsString(); };
    auto number = [q](const char* field) {
        return shortestNumberText(q->FieldByName(QString::fromLatin1(field)).AsDecimal());
    };
    Edit2->setText(text("ID_FJFEJ"));
    Edit1->setText(text("F_BSZAM"));
    Edit5->setText(text("F_OSTERMKOD"));
    Edit3->setText(text("F_KELT"));
    Edit10->setText(text("F_FELVKELT"));
    Edit11->setText(text("F_FIZKELT"));
    Edit6->setText(text("F_SZJA"));
    Edit4->setText(text("F_MEGJ"));
    const QString declaration = text("F_NYILATK");
    Edit12->setText(declaration);
    Edit13->setText(number("F_LEVONAS"));
    Edit15->setText(number("F_JARULSZAZ"));
    TZQuery* lines = Data->ZQ20;
    if (lines->Active() && !lines->IsEmpty()) {
        lines->First();
        Edit14->setText(shortestNumberText(lines->FieldByName(QStringLiteral("S_LEVONSZAZ")).AsDecimal()));
    } else {
        Edit14->setText(QStringLiteral("0"));
    }
    CheckBox1->setChecked(text("F_UTAL") == QLatin1String("x"));
    // Unticking the box puts one blank into the text.
    CheckBox2->setChecked(declarationTicked(declaration));

    AktBszam = Edit1->text();
    openTicketLines(AktBszam);
    // What a save must find unchanged: the header as the clerk saw it.
    headerAsRead_ = rowAsRead(*Data->ZQ10, QStringLiteral("FJFEJ"));
    AktOkod = Edit5->text();
    openProducer(Data->ZQ31, AktOkod);
    setWindowTitle(JegyMod);
    f_mindosszes();
}

void TForm9::CheckBox2Click(bool checked) {
    guarded(lcTickets, [&] {
        Edit12->setText(
            declarationText(checked, Data->IBTable6->FieldByName(QStringLiteral("V_NYILATK")).AsString()));
    });
}

QString TForm9::TicketNumberText() const {
    return Edit1->text();
}

QString TForm9::ProducerCodeText() const {
    return Edit5->text();
}

QString TForm9::WeightDeductionText() const {
    return Edit14->text();
}

void TForm9::OpenLines() {
    if (isNew_)
        openUnsavedLines();
    else
        openTicketLines(Edit1->text());
}

void TForm9::f_mindosszes() {
    if (isNew_)
        openUnsavedLineSums();
    else
        openLineSums(Edit1->text());
    TZQuery* q = Data->ZQ21;
    const bool none = q->IsEmpty();
    auto total = [q, none](const char* field) {
        return none ? QStringLiteral("0")
                    : wholeForintText(q->FieldByName(QString::fromLatin1(field)).AsDecimal());
    };
    setNumberText(FelvarTotal, total("FAR"));
    setNumberText(KompfelarTotal, total("KFELAR"));
    setNumberText(VetelarTotal, total("VAR"));
}

void TForm9::followNumber() {
    // Another desk stored a ticket under the number shown: this ticket will most likely get the next one. Its
    // lines have no number until it is stored, so nothing else moves.
    if (!isNew_ || Edit1->text().isEmpty() || Edit1->text().size() > 8 || !ticketHeaderExists(Edit1->text()))
        return;
    const NextNumber next = currentNextNumber();
    if (!next.ok() || next.number == Edit1->text())
        return;
    Edit1->setText(next.number);
}

void TForm9::frissit() {
    followNumber();
    openProducer(Data->ZQ31, Edit5->text());
    openTicketHeaders();
    locateTicket(AktBszam);
}

void TForm9::ProducerButtonClick() {
    guarded(lcTickets, [this] {
        {
            TForm4 browser(this);
            ui().showModal(browser);
        }
        // Closing the browser without choosing takes the producer it stood on.
        TZQuery* chosen = Data->ZQ30;
        Edit6->setText(chosen->FieldByName(QStringLiteral("O_SZJA")).AsString());
        Edit5->setText(chosen->FieldByName(QStringLiteral("O_KOD")).AsString());
        frissit();
    });
}

void TForm9::openLineDialog(const QString& mode, bool load) {
    guarded(lcTickets, [&] {
        followNumber();
        TetelMod = mode;
        {
            TForm10 dialog(*this, this);
            if (load)
                dialog.LoadLine();
            ui().showModal(dialog);
        }
        f_mindosszes();
        frissit();
    });
}

void TForm9::NewLineButtonClick() {
    openLineDialog(UjTetelsor, false);
}

void TForm9::ChangeLineButtonClick() {
    openLineDialog(JegyModositas, true);
}

void TForm9::DeleteLineButtonClick() {
    guarded(lcTickets, [this] {
        TZQuery* lines = Data->ZQ20;
        const QString id = lines->Active() && !lines->IsEmpty()
                               ? lines->FieldByName(QStringLiteral("ID_FJSOR")).AsString()
                               : QStringLiteral("0");
        // The delete is committed at once: left pending, a later failed write would roll it back unseen. The
        // line must still be as the grid shows it: another desk's change or delete since is told.
        try {
            deleteTicketLine(id, rowAsRead(*lines, QStringLiteral("FJSOR")));
            ui().showMessage(QStringLiteral("Az tételsor törölve!"));
        } catch (const EDatabaseError& error) {
            if (isLostConnection(error))
                throw;
            reportFailure(QStringLiteral("Hiba: Felvásárlási jegy tételsor DELETE törlésekor"), error,
                          lcTickets);
        }
        OpenLines();
        Data->ZQ20->Last();
        f_mindosszes();
        frissit();
    });
}

QWidget* TForm9::focusTargetFor(int headerField) const {
    switch (HeaderField(headerField)) {
    case HeaderField::IssueDate:
        return Edit3;
    case HeaderField::PurchaseDate:
        return Edit10;
    case HeaderField::PaymentDate:
        return Edit11;
    case HeaderField::Szja:
        return Edit6;
    case HeaderField::Producer:
        return ProducerButton;
    case HeaderField::Deduction:
        return Edit13;
    case HeaderField::WeightDeduction:
        return Edit14;
    case HeaderField::Contribution:
        return Edit15;
    }
    return nullptr;
}

void TForm9::OkButtonClick() {
    guarded(lcTickets, [this] {
        const HeaderTexts header{Edit3->text(), Edit10->text(), Edit11->text(), Edit6->text(),
                                 Edit5->text(), Edit13->text(), Edit14->text(), Edit15->text()};
        if (const auto problem = checkHeader(header)) {
            ui().showMessage(problem->message);
            focusTargetFor(int(problem->field))->setFocus();
            return;
        }
        followNumber();
        // A new ticket holds this desk's unsaved lines, never another desk's.
        if ((isNew_ ? unsavedLineCount() : storedLineCount(Edit1->text())) == 0) {
            ui().showMessage(QStringLiteral("Nincs a felvásárlási jegynek tételsora!"));
            ProducerButton->setFocus();
            return;
        }
        try {
            if (!Data->IBTrans1->Active())
                Data->IBTrans1->StartTransaction();
        } catch (const EDatabaseError& error) {
            reportFailure(QStringLiteral("Hiba3: az INSERT vagy UPDATE közben a zozed fejben!"), error,
                          lcTickets);
            return;
        }
        if (!saveHeader()) {
            // The clerk's input stays; the lists closed by the rollback are read again.
            reopenAfterFailure();
            return;
        }
        openTicketHeaders();
        locateTicket(AktBszam);
        accept();
        // The number the clerk writes on paper.
        if (isNew_ && !firstShownNumber_.isEmpty() && AktBszam != firstShownNumber_)
            ui().showMessage(numberMovedMessage(AktBszam, firstShownNumber_));
    });
}

bool TForm9::saveHeader() {
    QString number = Edit1->text();
    const QString failure = isNew_ ? QStringLiteral("Hiba1: Újban, INSERT a Fjfejben ")
                                   : QStringLiteral("Hiba2: Módositás, UPDATE a Zozed fejben ");
    try {
        const auto szja = parseDecimalText(Edit6->text());
        const auto levonas = parseDecimalText(Edit13->text());
        const auto jarul = parseDecimalText(Edit15->text());
        if (!szja || !levonas || !jarul)
            throw EDatabaseError(QStringLiteral("Hibás szám"));

        QueryParams fields{
            {QStringLiteral("p1"), number},
            {QStringLiteral("p2"), AktAkod},
            {QStringLiteral("p3"), Edit5->text()},
            {QStringLiteral("p4"), *parseDateText(Edit3->text())},
            {QStringLiteral("p5"), QVariant::fromValue(*szja)},
            {QStringLiteral("p6"), Edit4->text()},
            {QStringLiteral("p8"), *parseDateText(Edit10->text())},
            {QStringLiteral("p9"), *parseDateText(Edit11->text())},
            {QStringLiteral("p10"), CheckBox1->isChecked() ? QStringLiteral("x") : QStringLiteral(" ")},
            {QStringLiteral("p11"), CheckBox2->isChecked() ? Edit12->text() : QStringLiteral(" ")},
            {QStringLiteral("p12"), QVariant::fromValue(*levonas)},
            {QStringLiteral("p13"), QVariant::fromValue(*jarul)}};
        const QString producer = Edit5->text();
        if (isNew_) {
            // The header, the number and this desk's lines in one commit: all stored or none. When another
            // desk took the number meanwhile, the ticket takes the next one.
            number = storeNewTicket([&fields, &producer](const QString& taken) {
                         lockTicketProducer(producer);
                         fields.front().second = taken;
                         writeTicketHeader(std::nullopt, fields);
                     }).number;
            Edit1->setText(number);
        } else {
            lockTicketProducer(producer);
            writeTicketHeader(Edit2->text(), fields, headerAsRead_);
            Data->IBTrans1->Commit();
        }
    } catch (const ENumberRowMissing& error) {
        reportFailure(QStringLiteral("Hiba: Új UPDATE Sorszam -ba "), error, lcTickets);
        rollBack();
        return false;
    } catch (const ETicketProducerGone& error) {
        rollBack();
        reportFailure(failure, error, lcTickets);
        ProducerButton->setFocus();
        return false;
    } catch (const ENoLines& error) {
        rollBack();
        ui().showMessage(error.Message());
        ProducerButton->setFocus();
        return false;
    } catch (const ERowChanged& refusal) {
        rollBack();
        if (askReloadAfterRefusal(failure, refusal, lcTickets))
            reloadForChange();
        return false;
    } catch (const EDatabaseError& error) {
        // A lost connection is the action's guard's: it attaches again and offers to repeat the save.
        if (isLostConnection(error))
            throw;
        reportFailure(failure, error, lcTickets);
        rollBack();
        return false;
    }
    AktBszam = number;
    return true;
}

void TForm9::reopenAfterFailure() {
    OpenLines();
    frissit();
}

void TForm9::reloadForChange() {
    openTicketHeaders();
    if (!Data->ZQ10->Locate(QStringLiteral("ID_FJFEJ"), Edit2->text(), 0))
        return;
    openTicketLines(Data->ZQ10->FieldByName(QStringLiteral("F_BSZAM")).AsString());
    LoadForChange();
}
