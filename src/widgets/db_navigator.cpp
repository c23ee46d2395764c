#include "widgets/db_navigator.h"

#include "data/database_error.h"
#include "data/dataset.h"
#include "data/table.h"
#include "widgets/data_link.h"

#include <QHBoxLayout>
#include <QToolButton>

namespace {

struct ButtonLook {
    const char* objectName;
    const char* glyph;
    const char* hint;
};

// In the order of TNavigateBtn.
const ButtonLook looks[10] = {
    {"First", "|◀", "Első sor"},
    {"Prior", "◀", "Előző sor"},
    {"Next", "▶", "Következő sor"},
    {"Last", "▶|", "Utolsó sor"},
    {"Insert", "+", "Új sor"},
    {"Delete", "−", "Sor törlése"},
    {"Edit", "▲", "Sor szerkesztése"},
    {"Post", "✔", "Módosítás mentése"},
    {"Cancel", "✖", "Módosítás elvetése"},
    {"Refresh", "↻", "Frissítés"},
};

} // namespace

TDBNavigator::TDBNavigator(QWidget* parent) : QWidget(parent), link_(new TDataLink(this)) {
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    for (int i = 0; i < 10; ++i) {
        auto* button = new QToolButton(this);
        button->setObjectName(QString::fromLatin1(looks[i].objectName));
        button->setText(QString::fromUtf8(looks[i].glyph));
        button->setToolTip(QString::fromUtf8(looks[i].hint));
        button->setFocusPolicy(Qt::NoFocus);
        button->setAutoRaise(false);
        button->setMinimumWidth(button->fontMetrics().horizontalAdvance(QStringLiteral("▶|")) + 16);
        button->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
        const auto which = TNavigateBtn(i);
        connect(button, &QToolButton::clicked, this, [this, which] { run(which); });
        layout->addWidget(button);
        buttons_[i] = button;
    }
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    connect(link_, &TDataLink::dataSetChanged, this, &TDBNavigator::updateButtons);
    connect(link_, &TDataLink::stateChanged, this, &TDBNavigator::updateButtons);
    connect(link_, &TDataLink::currentChanged, this, &TDBNavigator::updateButtons);
    connect(link_, &TDataLink::rowsReset, this, &TDBNavigator::updateButtons);
    SetVisibleButtons(nbMoveButtons);
}

void TDBNavigator::SetDataSource(TDataSource* source) {
    link_->SetDataSource(source);
    updateButtons();
}

TDataSource* TDBNavigator::DataSource() const {
    return link_->DataSource();
}

TDataSet* TDBNavigator::DataSet() const {
    return link_->DataSet();
}

void TDBNavigator::SetVisibleButtons(TNavButtonSet buttons) {
    visible_ = buttons & nbAllButtons;
    for (int i = 0; i < 10; ++i)
        buttons_[i]->setVisible(visible_ & (1 << i));
    updateButtons();
}

// Enabled states as the dataset stands: moving up needs "not Bof", moving down "not Eof"; a writable table
// allows insert always, delete and edit on a row while browsing, post and cancel while editing; any table can
// be refreshed while browsing.
void TDBNavigator::updateButtons() {
    TDataSet* dataSet = link_->DataSet();
    const bool active = link_->Active();
    const bool up = active && !dataSet->Bof();
    const bool down = active && !dataSet->Eof();
    const bool canModify = link_->CanModify();
    const bool editing = link_->Editing();
    const bool hasRow = active && !dataSet->IsEmpty();
    const bool enabled[10] = {
        up,                                              // first
        up,                                              // prior
        down,                                            // next
        down,                                            // last
        canModify,                                       // insert
        canModify && hasRow && !editing,                 // delete
        canModify && hasRow && !editing,                 // edit
        canModify && editing,                            // post
        canModify && editing,                            // cancel
        active && link_->Table() != nullptr && !editing, // refresh: never posts behind the clerk's back
    };
    for (int i = 0; i < 10; ++i)
        buttons_[i]->setEnabled(enabled[i]);
}

void TDBNavigator::BtnClick(TNavigateBtn button) {
    if (buttons_[int(button)]->isEnabled())
        run(button);
}

void TDBNavigator::run(TNavigateBtn button) {
    TDataSet* dataSet = link_->DataSet();
    if (!link_->Active())
        return;
    if (BeforeAction && !BeforeAction(button))
        return;
    TIBTable* table = link_->Table();
    try {
        // Moving away from a row posts its pending edit first.
        const bool moves = button == TNavigateBtn::nbFirst || button == TNavigateBtn::nbPrior ||
                           button == TNavigateBtn::nbNext || button == TNavigateBtn::nbLast ||
                           button == TNavigateBtn::nbInsert || button == TNavigateBtn::nbRefresh;
        if (moves && table && link_->Editing())
            table->Post();
        switch (button) {
        case TNavigateBtn::nbFirst:
            dataSet->First();
            break;
        case TNavigateBtn::nbPrior:
            dataSet->Prior();
            break;
        case TNavigateBtn::nbNext:
            dataSet->Next();
            break;
        case TNavigateBtn::nbLast:
            dataSet->Last();
            break;
        case TNavigateBtn::nbInsert:
            if (table)
                table->Insert();
            break;
        case TNavigateBtn::nbDelete:
            if (table)
                table->Delete();
            break;
        case TNavigateBtn::nbEdit:
            if (table)
                table->Edit();
            break;
        case TNavigateBtn::nbPost:
            if (table)
                table->Post();
            break;
        case TNavigateBtn::nbCancel:
            if (table)
                table->Cancel();
            break;
        case TNavigateBtn::nbRefresh:
            if (table)
                table->Refresh();
            break;
        }
    } catch (const EDatabaseError& error) {
        updateButtons();
        emit dataError(error);
        return;
    }
    updateButtons();
    emit clicked(button);
}
