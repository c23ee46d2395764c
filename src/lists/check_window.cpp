#include "lists/check_window.h"

#include "data/data_module.h"
#include "data/index_statistics.h"
#include "data/shared_values.h"
#include "data/text_formats.h"
#include "lists/check_queries.h"
#include "lists/check_rules.h"
#include "tickets/ticket_browser.h"
#include "tickets/ticket_queries.h"
#include "widgets/action_guard.h"
#include "widgets/date_picker.h"
#include "widgets/db_grid.h"
#include "widgets/db_navigator.h"
#include "widgets/form_controls.h"
#include "widgets/key_filters.h"
#include "widgets/ui_service.h"

#include <QCoreApplication>
#include <QDateEdit>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QShortcut>
#include <QTabWidget>
#include <QVBoxLayout>

using namespace vardelo;
using namespace vardelo::lists;

namespace {

QLabel* makeLabel(const QString& name, const QString& text, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(name);
    return label;
}

void showVerdict(QLabel* label, const SingleVerdict& verdict) {
    if (verdict.beep)
        ui().beep();
    label->setText(verdict.message);
}

// The text lines a memo line takes: a value holding a line break shows as more than one.
int textLinesOf(const QString& line) {
    int lines = 1;
    for (const QChar c : line) {
        if (c == u'\n' || c == u'\r' || c == QChar::ParagraphSeparator)
            ++lines;
    }
    return lines;
}

} // namespace

TForm14::TForm14(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("Form14"));
    setWindowTitle(QStringLiteral("Ellenörzés"));

    PageControl1 = new QTabWidget(this);
    PageControl1->setObjectName(QStringLiteral("PageControl1"));
    PageControl1->addTab(buildTicketTab(), QStringLiteral("Felvásárlási jegy"));
    PageControl1->addTab(buildDataTab(), QStringLiteral("Adatok"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(PageControl1);

    EnterMovesFocus::install(this);
    resize(820, 620);
}

QWidget* TForm14::buildTicketTab() {
    auto* tab = new QWidget(this);
    tab->setObjectName(QStringLiteral("TabSheet1"));
    DateTimePicker1 = makeDatePicker(QStringLiteral("DateTimePicker1"), QDate(2010, 1, 1), tab);
    DateTimePicker2 = makeDatePicker(QStringLiteral("DateTimePicker2"), QDate(2010, 12, 31), tab);
    auto* dates =
        makeDateRangeRow(QStringLiteral("Fizetési határidő:"), DateTimePicker1, DateTimePicker2, tab);

    DBGrid1 = new TDBGrid(tab);
    DBGrid1->setObjectName(QStringLiteral("DBGrid1"));
    DBGrid1->SetReadOnly(true);
    DBGrid1->SetDataSource(Data->DSQ20);
    DBNavigator1 = new TDBNavigator(tab);
    DBNavigator1->setObjectName(QStringLiteral("DBNavigator1"));
    DBNavigator1->SetDataSource(Data->DSQ20);
    DBNavigator1->SetVisibleButtons(nbMoveButtons);
    auto* navigation = new QHBoxLayout;
    navigation->addWidget(DBNavigator1);
    navigation->addStretch(1);

    Memo1 = new QPlainTextEdit(tab);
    Memo1->setObjectName(QStringLiteral("Memo1"));
    Memo1->setReadOnly(true);
    Memo1->setLineWrapMode(QPlainTextEdit::NoWrap);
    Memo1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Memo1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Memo1->viewport()->setCursor(Qt::PointingHandCursor);
    Memo1->setPlainText(QStringLiteral("Hiba üzenet\n"));

    Button1 = makeButton(QStringLiteral("Button1"), QStringLiteral("Kigyüjtés"), tab);
    Button2 = makeButton(QStringLiteral("Button2"), QStringLiteral("Ellenörzés"), tab);
    Button2->setEnabled(false);
    CancelButton = makeButton(QStringLiteral("CancelButton"), QStringLiteral("Mégsem"), tab);
    CloseButton = makeButton(QStringLiteral("CloseButton"), QStringLiteral("Bezárás"), tab);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(Button1);
    buttons->addWidget(Button2);
    buttons->addStretch(1);
    buttons->addWidget(CancelButton);
    buttons->addWidget(CloseButton);

    auto* layout = new QVBoxLayout(tab);
    layout->addWidget(new QLabel(QStringLiteral("Adat ellenörzés az felvásárlási jegyen adatain:"), tab));
    layout->addLayout(dates);
    layout->addWidget(DBGrid1, 3);
    layout->addLayout(navigation);
    layout->addWidget(Memo1, 2);
    layout->addLayout(buildMemoSearch(tab));
    layout->addLayout(buttons);

    connect(Button1, &QPushButton::clicked, this, &TForm14::Button1Click);
    connect(Button2, &QPushButton::clicked, this, &TForm14::Button2Click);
    connect(CancelButton, &QPushButton::clicked, this, &QDialog::reject);
    connect(CloseButton, &QPushButton::clicked, this, &QDialog::reject);
    return tab;
}

// Under the memo: how to reach a ticket from it, and the search (Ctrl+F, F3 and Shift+F3).
QLayout* TForm14::buildMemoSearch(QWidget* tab) {
    Memo1->viewport()->installEventFilter(this);
    Memo1->setToolTip(
        QStringLiteral("Dupla kattintás egy hibasoron: megnyílik a hozzá tartozó felvásárlási jegy."));
    auto* hint =
        new QLabel(QStringLiteral("Dupla kattintás egy hibasoron: megnyílik a felvásárlási jegy."), tab);
    hint->setObjectName(QStringLiteral("MemoHint"));
    MemoSearch = makeEdit(QStringLiteral("MemoSearch"), tab, 20);
    MemoSearch->setPlaceholderText(QStringLiteral("jegyszám, név…"));
    MemoSearch->setClearButtonEnabled(true);
    auto* searchLabel = new QLabel(QStringLiteral("Keresés (Ctrl+F):"), tab);
    searchLabel->setBuddy(MemoSearch);
    MemoFindPrevious = makeButton(QStringLiteral("MemoFindPrevious"), QStringLiteral("Előző"), tab);
    MemoFindNext = makeButton(QStringLiteral("MemoFindNext"), QStringLiteral("Következő"), tab);
    MemoFindPrevious->setToolTip(QStringLiteral("Shift+F3"));
    MemoFindNext->setToolTip(QStringLiteral("F3"));
    MemoSearchResult = makeLabel(QStringLiteral("MemoSearchResult"), QString(), tab);

    // Typing looks again from where the last match began, so the match grows with the text.
    connect(MemoSearch, &QLineEdit::textEdited, this, [this](const QString& text) {
        QTextCursor cursor = Memo1->textCursor();
        cursor.setPosition(cursor.selectionStart());
        Memo1->setTextCursor(cursor);
        FindInMemo(text);
    });
    connect(MemoFindNext, &QPushButton::clicked, this, [this] { FindInMemo(MemoSearch->text()); });
    connect(MemoFindPrevious, &QPushButton::clicked, this, [this] { FindInMemo(MemoSearch->text(), true); });
    auto* find = new QShortcut(QKeySequence::Find, this);
    connect(find, &QShortcut::activated, this, [this] {
        PageControl1->setCurrentIndex(0);
        MemoSearch->setFocus(Qt::ShortcutFocusReason);
        MemoSearch->selectAll();
    });
    connect(new QShortcut(QKeySequence::FindNext, this), &QShortcut::activated, this,
            [this] { FindInMemo(MemoSearch->text()); });
    connect(new QShortcut(QKeySequence::FindPrevious, this), &QShortcut::activated, this,
            [this] { FindInMemo(MemoSearch->text(), true); });
    // Enter in the search field finds the next match instead of moving on to the next control.
    for (const int key : {int(Qt::Key_Return), int(Qt::Key_Enter)})
        connect(new QShortcut(QKeySequence(key), MemoSearch, nullptr, nullptr, Qt::WidgetShortcut),
                &QShortcut::activated, this, [this] { FindInMemo(MemoSearch->text()); });

    auto* row = new QHBoxLayout;
    row->addWidget(hint, 1);
    row->addWidget(searchLabel);
    row->addWidget(MemoSearch);
    row->addWidget(MemoFindPrevious);
    row->addWidget(MemoFindNext);
    row->addWidget(MemoSearchResult);
    return row;
}

QWidget* TForm14::buildSingleCheck(const QString& tabName, const QString& caption, QLineEdit* edit,
                                   QPushButton* check, QLabel* message, QWidget* extra) {
    auto* tab = edit->parentWidget();
    tab->setObjectName(tabName);
    auto* close = makeButton(tabName + QStringLiteral("CloseButton"), QStringLiteral("Bezárás"), tab);
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
    auto* input = new QHBoxLayout;
    input->addWidget(new QLabel(caption, tab));
    input->addWidget(edit);
    input->addStretch(1);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(check);
    buttons->addStretch(1);
    buttons->addWidget(close);
    auto* layout = new QVBoxLayout(tab);
    layout->addLayout(input);
    if (extra)
        layout->addWidget(extra);
    layout->addWidget(message);
    layout->addStretch(1);
    layout->addLayout(buttons);
    return tab;
}

QWidget* TForm14::buildDataTab() {
    auto* tab = new QWidget(this);
    tab->setObjectName(QStringLiteral("TabSheet2"));
    PageControl2 = new QTabWidget(tab);
    PageControl2->setObjectName(QStringLiteral("PageControl2"));

    auto page = [this](QLineEdit*& edit, const QString& editName, QPushButton*& button,
                       const QString& buttonName, QLabel*& label, const QString& labelName,
                       const QString& labelText) {
        auto* sheet = new QWidget(PageControl2);
        edit = makeEdit(editName, sheet, 16);
        button = makeButton(buttonName, QStringLiteral("Ellenörzés"), sheet);
        label = makeLabel(labelName, labelText, sheet);
        return sheet;
    };
    page(Edit1, QStringLiteral("Edit1"), Button3, QStringLiteral("Button3"), Label10,
         QStringLiteral("Label10"), QStringLiteral("Üzenet:"));
    page(Edit2, QStringLiteral("Edit2"), Button4, QStringLiteral("Button4"), Label11,
         QStringLiteral("Label11"), QStringLiteral("Üzenet: "));
    page(Edit3, QStringLiteral("Edit3"), Button5, QStringLiteral("Button5"), Label12,
         QStringLiteral("Label12"), QStringLiteral("Üzenet: "));
    QWidget* days = page(Edit4, QStringLiteral("Edit4"), Button6, QStringLiteral("Button6"), Label17,
                         QStringLiteral("Label17"), QStringLiteral("Üzenet:"));

    auto* birth = new QWidget(days);
    DateTimePicker3 = makeDatePicker(QStringLiteral("DateTimePicker3"), QDate(1900, 1, 1), birth);
    Label14 = makeLabel(QStringLiteral("Label14"), QStringLiteral("-"), birth);
    Label16 = makeLabel(QStringLiteral("Label16"), QStringLiteral("-"), birth);
    auto* grid = new QGridLayout(birth);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->addWidget(new QLabel(QStringLiteral("Születési ideje: "), birth), 0, 0);
    grid->addWidget(DateTimePicker3, 0, 1, Qt::AlignLeft);
    grid->addWidget(new QLabel(QStringLiteral("Eltelt napok száma: "), birth), 1, 0);
    grid->addWidget(Label14, 1, 1);
    grid->addWidget(new QLabel(QStringLiteral("Adóazonositó alapján: "), birth), 2, 0);
    grid->addWidget(Label16, 2, 1);
    grid->setColumnStretch(2, 1);

    PageControl2->addTab(buildSingleCheck(QStringLiteral("TabAdoszam"), QStringLiteral("Adószám: "), Edit1,
                                          Button3, Label10, nullptr),
                         QStringLiteral("Adószám"));
    PageControl2->addTab(buildSingleCheck(QStringLiteral("TabAdoazon"), QStringLiteral("Adóazonositó: "),
                                          Edit2, Button4, Label11, nullptr),
                         QStringLiteral("Adóazonositó"));
    PageControl2->addTab(
        buildSingleCheck(QStringLiteral("TabTaj"), QStringLiteral("TAJ: "), Edit3, Button5, Label12, nullptr),
        QStringLiteral("TAJ"));
    PageControl2->addTab(buildSingleCheck(QStringLiteral("TabNapok"), QStringLiteral("Adóazonositója:"),
                                          Edit4, Button6, Label17, birth),
                         QStringLiteral("Napok"));

    connect(Button3, &QPushButton::clicked, this, &TForm14::Button3Click);
    connect(Button4, &QPushButton::clicked, this, &TForm14::Button4Click);
    connect(Button5, &QPushButton::clicked, this, &TForm14::Button5Click);
    connect(Button6, &QPushButton::clicked, this, &TForm14::Button6Click);

    auto* layout = new QVBoxLayout(tab);
    layout->addWidget(PageControl2);
    return tab;
}

void TForm14::Button1Click() {
    guarded(lcLists, [this] {
        refreshIndexStatistics(Data->ZCon1, Data->IBTrans1, ticketTables());
        openCheckLines(DateTimePicker1->date(), DateTimePicker2->date());
        collectedFrom_ = DateTimePicker1->date();
        collectedTo_ = DateTimePicker2->date();
        collected_ = true;
        Button2->setEnabled(true);
    });
}

// The memo is filled in blocks of lines, each shown as it comes; the clerk's input waits until the end.
// Beside it the ticket of each line is kept, for the double-click.
void TForm14::Button2Click() {
    guarded(lcLists, [this] {
        const std::vector<CheckRow> rows = readCheckRows(*Data->ZQ20);
        Memo1->clear();
        memoTickets_.clear();
        std::vector<int> lineRows;
        size_t mapped = 0;
        runBatchCheck(
            rows, MemoBlockLines,
            [&](const QStringList& block) {
                Memo1->appendPlainText(block.join(QLatin1Char('\n')));
                for (const QString& line : block) {
                    const int row = lineRows.at(mapped++);
                    const QString ticket = row >= 0 ? rows[size_t(row)][CheckColumn::SBszam] : QString();
                    for (int n = textLinesOf(line); n > 0; --n)
                        memoTickets_.push_back(ticket);
                }
                QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
            },
            &lineRows);
        // Should the memo count its lines otherwise, no line leads anywhere rather than to a wrong ticket.
        if (size_t(Memo1->blockCount()) != memoTickets_.size())
            memoTickets_.clear();
    });
}

QString TForm14::TicketOfMemoLine(int line) const {
    return line >= 0 && size_t(line) < memoTickets_.size() ? memoTickets_[size_t(line)] : QString();
}

void TForm14::OpenTicketOfMemoLine(int line) {
    const QString ticket = TicketOfMemoLine(line);
    if (ticket.isEmpty())
        return;
    QTextCursor cursor(Memo1->document()->findBlockByNumber(line));
    cursor.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
    Memo1->setTextCursor(cursor);
    guarded(lcLists, [&] {
        if (!vardelo::tickets::ticketHeaderExists(ticket)) {
            ui().showMessage(QStringLiteral("A(z) %1 számú felvásárlási jegy már nincs meg.").arg(ticket));
            return;
        }
        AktBszam = ticket;
        TForm8 browser(this);
        ui().showModal(browser);
        // The browser shows a ticket's lines through the list this window collected into.
        if (collected_)
            openCheckLines(collectedFrom_, collectedTo_);
    });
}

bool TForm14::FindInMemo(const QString& text, bool backward) {
    MemoSearchResult->clear();
    if (text.isEmpty())
        return false;
    const QTextDocument::FindFlags flags =
        backward ? QTextDocument::FindBackward : QTextDocument::FindFlags();
    bool found = Memo1->find(text, flags);
    if (!found) {
        QTextCursor cursor = Memo1->textCursor();
        cursor.movePosition(backward ? QTextCursor::End : QTextCursor::Start);
        Memo1->setTextCursor(cursor);
        found = Memo1->find(text, flags);
    }
    if (!found)
        MemoSearchResult->setText(QStringLiteral("Nincs találat."));
    return found;
}

bool TForm14::eventFilter(QObject* watched, QEvent* event) {
    if (watched == Memo1->viewport() && event->type() == QEvent::MouseButtonDblClick) {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        const int line = Memo1->cursorForPosition(mouse->position().toPoint()).blockNumber();
        if (!TicketOfMemoLine(line).isEmpty()) {
            OpenTicketOfMemoLine(line);
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void TForm14::Button3Click() {
    showVerdict(Label10, checkTypedAdoszam(Edit1->text()));
}

void TForm14::Button4Click() {
    showVerdict(Label11, checkTypedAdoazon(Edit2->text()));
}

void TForm14::Button5Click() {
    showVerdict(Label12, checkTypedTaj(Edit3->text()));
}

void TForm14::Button6Click() {
    const DaysVerdict days = checkTypedDays(Edit4->text(), DateTimePicker3->date());
    Label16->setText(days.fromIdentifier);
    Label14->setText(days.dayCount);
    showVerdict(Label17, days.verdict);
}

bool TForm14::ElteltNapEllenorzes(const QString& adoazon, const QString& dateText) const {
    const std::optional<QDate> date = parseDateText(dateText);
    return date && birthDateMatches(adoazon, *date);
}
