// The check window on a test database: the collection of a payment period, the batch check's memo over a
// fixture of faulty tickets and producers, and the single checks with their beeps and message labels.
#include "check_memo.h"
#include "data/data_module.h"
#include "data/shared_values.h"
#include "lists/check_window.h"
#include "support/children.h"
#include "support/test_database.h"
#include "support/ui_recorder.h"
#include "widgets/db_grid.h"
#include "widgets/db_navigator.h"
#include "widgets/ui_service.h"

#include <QDateEdit>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTextBlock>
#include <QtTest>

using namespace vardelo;
using namespace vardelo::testing;

namespace {

void ticket(TestDatabase& db, const QString& bszam, const QString& akod, const QString& okod,
            const QString& fizkelt, const QString& prn) {
    db.exec(QStringLiteral(
                "INSERT INTO fjfej (f_bszam, f_akod, f_ostermkod, f_kelt, f_felvkelt, f_fizkelt, f_prn, "
                "f_szja, f_jarulszaz, f_levonas) VALUES ('%1', '%2', '%3', '%4', '%4', '%4', %5, 15, 2, 0)")
                .arg(bszam, akod, okod, fizkelt, prn));
}

void line(TestDatabase& db, const QString& bszam, const QString& kod, const QString& brutto,
          const QString& ear, const QString& komp) {
    db.exec(
        QStringLiteral("INSERT INTO fjsor (s_bszam, s_akod, s_termekkod, s_megnevezes, s_megy, s_brutto, "
                       "s_levonszaz, s_ear, s_kompmerteke) VALUES ('%1', '2', %2, 'Vágósertés', 'kg', %3, 0, "
                       "%4, %5)")
            .arg(bszam, kod, brutto, ear, komp));
}

// The memo's lines; a window without its memo gives a line no memo can hold, so the comparison fails.
QStringList memoLines(const TForm14& form) {
    const auto* memo1 = child<QPlainTextEdit>(form, "Memo1");
    return memo1 ? memo1->toPlainText().split(QLatin1Char('\n')) : QStringList({"(no Memo1)"});
}

// Sets the period and presses "Kigyüjtés".
void collect(TForm14& form, const QDate& from, const QDate& to) {
    child<QDateEdit>(form, "DateTimePicker1")->setDate(from);
    child<QDateEdit>(form, "DateTimePicker2")->setDate(to);
    child<QPushButton>(form, "Button1")->click();
}

// Presses the batch check's button.
void check(TForm14& form) {
    child<QPushButton>(form, "Button2")->click();
}

const QDate August1(2010, 8, 1);
const QDate August31(2010, 8, 31);

} // namespace

class TestCheckWindow : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void opening();
    void collectionOfThePeriod();
    void batchCheckMemo();
    void batchCheckReadsPastTheWindow();
    void periodWithoutTickets();
    void checkAfterDateChangeUsesLastCollection();
    void singleChecks_data();
    void singleChecks();
    void daysTab();
    void enterMovesFocus();
    void memoLineLeadsToItsTicket();
    void memoLineOfAGoneTicket();
    void memoSearch();

private:
    std::unique_ptr<TestDatabase> db_;
    std::unique_ptr<UiRecorder> rec_;
};

void TestCheckWindow::init() {
    db_ = std::make_unique<TestDatabase>(true);
    rec_ = std::make_unique<UiRecorder>();
    AktAkod = QStringLiteral("2");
    TestDatabase& db = *db_;
    // A producer without a tax number, with a 9-character tax identifier.
    db.exec(
        "INSERT INTO ostermelo (o_kod, o_nev, o_irszam, o_helysegnev, o_utca, o_adoazon, o_igszam, o_szja, "
        "o_szulhely, o_szido, o_anyja, o_neme, o_szulnev, o_taj) VALUES ('6', 'Hiány Béla', '6000', "
        "'Kecskemét', 'Fő u. 1.', '812345678', 'AB1234', 15, 'Kecskemét', '1950-05-05', 'Kiss Anna', '1', "
        "'Hiány Béla', '111111110')");
    ticket(db, "20000001", "2", "6", "2010-08-05", "'I'");
    line(db, "20000001", "'1'", "250", "310", "7");
    line(db, "20000001", "'2'", "120", "420", "12");
    // The producer row is missing.
    ticket(db, "20000002", "2", "99", "2010-08-06", "'I'");
    line(db, "20000002", "'3'", "400", "395.5", "7");
    // Not printed yet.
    ticket(db, "20000003", "2", "1", "2010-08-07", "' '");
    line(db, "20000003", "'4'", "180", "640", "7");
    // Zero and negative quantities and prices, a rate of 5, a line without an animal code.
    ticket(db, "20000004", "2", "2", "2010-08-08", "'I'");
    line(db, "20000004", "'1'", "0", "310", "7");
    line(db, "20000004", "'1'", "-10", "310", "7");
    line(db, "20000004", "'1'", "100", "0", "7");
    line(db, "20000004", "'1'", "100", "-5", "12");
    line(db, "20000004", "'1'", "100", "310", "5");
    line(db, "20000004", "NULL", "100", "310", "12");
    // Outside the period, and another purchaser's ticket.
    ticket(db, "20000005", "2", "6", "2010-09-01", "' '");
    line(db, "20000005", "'1'", "0", "0", "5");
    ticket(db, "10000001", "1", "6", "2010-08-05", "' '");
    line(db, "10000001", "'1'", "0", "0", "5");
}

void TestCheckWindow::cleanup() {
    rec_.reset();
    db_.reset();
}

void TestCheckWindow::opening() {
    TForm14 form;
    auto* dateTimePicker1 = child<QDateEdit>(form, "DateTimePicker1");
    auto* dateTimePicker2 = child<QDateEdit>(form, "DateTimePicker2");
    auto* dateTimePicker3 = child<QDateEdit>(form, "DateTimePicker3");
    auto* button1 = child<QPushButton>(form, "Button1");
    auto* button2 = child<QPushButton>(form, "Button2");
    auto* memo1 = child<QPlainTextEdit>(form, "Memo1");
    auto* label10 = child<QLabel>(form, "Label10");
    auto* label11 = child<QLabel>(form, "Label11");
    auto* label12 = child<QLabel>(form, "Label12");
    auto* label14 = child<QLabel>(form, "Label14");
    auto* label16 = child<QLabel>(form, "Label16");
    auto* label17 = child<QLabel>(form, "Label17");
    auto* pageControl1 = child<QTabWidget>(form, "PageControl1");
    auto* pageControl2 = child<QTabWidget>(form, "PageControl2");
    auto* dbNavigator1 = child<TDBNavigator>(form, "DBNavigator1");
    QCOMPARE(form.objectName(), QString("Form14"));
    QCOMPARE(form.windowTitle(), QString("Ellenörzés"));
    QCOMPARE(dateTimePicker1->date(), QDate(2010, 1, 1));
    QCOMPARE(dateTimePicker2->date(), QDate(2010, 12, 31));
    QCOMPARE(dateTimePicker3->date(), QDate(1900, 1, 1));
    QVERIFY(button1->isEnabled());
    QVERIFY(!button2->isEnabled());
    QCOMPARE(memoLines(form), QStringList({"Hiba üzenet", ""}));
    QVERIFY(memo1->isReadOnly());
    QCOMPARE(label10->text(), QString("Üzenet:"));
    QCOMPARE(label11->text(), QString("Üzenet: "));
    QCOMPARE(label12->text(), QString("Üzenet: "));
    QCOMPARE(label14->text(), QString("-"));
    QCOMPARE(label16->text(), QString("-"));
    QCOMPARE(label17->text(), QString("Üzenet:"));
    QCOMPARE(pageControl1->tabText(0), QString("Felvásárlási jegy"));
    QCOMPARE(pageControl1->tabText(1), QString("Adatok"));
    QStringList tabs;
    for (int i = 0; i < pageControl2->count(); ++i)
        tabs << pageControl2->tabText(i);
    QCOMPARE(tabs, QStringList({"Adószám", "Adóazonositó", "TAJ", "Napok"}));
    QVERIFY(dbNavigator1->DataSource() == Data->DSQ20);
    // The first size fits a 1024x768 screen.
    form.show();
    QVERIFY(form.frameGeometry().width() <= 1024 && form.frameGeometry().height() <= 740);
}

void TestCheckWindow::collectionOfThePeriod() {
    TForm14 form;
    collect(form, August1, August31);
    QVERIFY(rec_->messages.isEmpty());
    QVERIFY(child<QPushButton>(form, "Button2")->isEnabled());
    auto* dbGrid1 = child<TDBGrid>(form, "DBGrid1");
    // Every ticket line of the purchaser paid in the period is one row.
    QCOMPARE(Data->ZQ20->RecordCount(), 10);
    QCOMPARE(dbGrid1->model()->rowCount(), 10);
    QVERIFY(dbGrid1->ColumnCount() > 40); // every column of the lines, headers and producers
}

// The whole memo of the fixture period, written out by hand.
void TestCheckWindow::batchCheckMemo() {
    TForm14 form;
    collect(form, August1, August31);
    check(form);
    QVERIFY(rec_->messages.isEmpty());
    const QStringList expected{
        "    Adószám ellenörzés... ",
        "Hiba (kevesebb nyolc számnál):  Hiány Béla Kódja: 6",
        "Hiba (kevesebb nyolc számnál):  Hiány Béla Kódja: 6",
        "Hiba (kevesebb nyolc számnál):   Kódja: 99",
        "    Adószám ellenörzés vége. ",
        " ",
        "    Adóazonositó ellenörzés... ",
        "Hiba (kevesebb tiz számnál): 812345678 Hiány Béla Kódja: 6",
        "Hiba (kevesebb tiz számnál): 812345678 Hiány Béla Kódja: 6",
        "Hiba (kevesebb tiz számnál):   Kódja: 99",
        "    Adóazonositó ellenörzés vége. ",
        " ",
        "    TAJ ellenörzés... ",
        "Hiba (kevesebb 9 számnál):   Kódja: 99",
        "    TAJ ellenörzés vége. ",
        " ",
        "    Östermelökód ellenörzés... ",
        "    Östermelökód ellenörzés vége. ",
        " ",
        "    Östermelö név ellenörzés... ",
        "Hiba (nincs östermelö név megadva): 20000002",
        "    Östermelö név ellenörzés vége. ",
        " ",
        "    Östermelö irányitószám ellenörzés... ",
        "Hiba (nincs östermelö irányitószám megadva): 20000002",
        "    Östermelö irányitószám ellenörzés vége. ",
        " ",
        "    Östermelö Helységnév ellenörzés... ",
        "Hiba (nincs östermelö Helységnév megadva): 20000002",
        "    Östermelö Helységnév ellenörzés vége. ",
        " ",
        "    Östermelö Utca ellenörzés... ",
        "Hiba (nincs östermelö Utca megadva): 20000002",
        "    Östermelö Utca ellenörzés vége. ",
        " ",
        "    Östermelö ig.szám ellenörzés... ",
        "Hiba (nincs östermelö ig.szám megadva): 20000002",
        "    Östermelö ig.szám ellenörzés vége. ",
        " ",
        "    Östermelö születési hely ellenörzés... ",
        "Hiba (nincs östermelö születési hely megadva): 20000002",
        "    Östermelö születési hely ellenörzés vége. ",
        " ",
        "    Östermelö születési idö ellenörzés... ",
        "Hiba (nincs östermelö születési idö megadva): 20000002",
        "    Östermelö születési idö ellenörzés vége. ",
        " ",
        "    Östermelö anyja neve ellenörzés... ",
        "Hiba (nincs östermelö anyja neve megadva): 20000002",
        "    Östermelö anyja neve ellenörzés vége. ",
        " ",
        "    Östermelö neme ellenörzés... ",
        "Hiba (nincs östermelö neme megadva): 20000002",
        "    Östermelö neme ellenörzés vége. ",
        " ",
        "    Östermelö születési neve ellenörzés... ",
        "Hiba (nincs östermelö születési neve megadva): 20000002",
        "    Östermelö születési neve ellenörzés vége. ",
        " ",
        "    Szja ellenörzés... ",
        "    Szja ellenörzés vége. ",
        " ",
        "    Volt-e nyomtatva? ellenörzés... ",
        "Figyelmeztetés (még nincs kinyomtatva): 20000003",
        "    Volt-e nyomtatva? ellenörzés vége. ",
        " ",
        "    Termékkód ellenörzés... ",
        "Figyelmeztetés (nincs termékkód megadva): 20000004",
        "    Termékkód ellenörzés vége. ",
        " ",
        "    Mennyiség ellenörzés... ",
        "Hiba (nullás mennyiség van megadva): 20000004",
        "    Mennyiség ellenörzés vége. ",
        " ",
        "    Egységár ellenörzés... ",
        "Hiba (nullás egységár van megadva): 20000004",
        "Hiba (nulla vagy minuszos egységár van megadva): 20000004",
        "    Egységár ellenörzés vége. ",
        " ",
        "    Komp.felár ellenörzés... ",
        "Hiba (nem 7, 12 % van megadva): 20000004",
        "    Komp.felár ellenörzés vége. ",
        " ",
        "Klikk az ablakba és kurzor billentyüvel mozoghat benne. ",
    };
    QCOMPARE(memoLines(form), expected);
    // A second check empties the memo first.
    check(form);
    QCOMPARE(memoLines(form), expected);
}

// Rows read through in batches held by a window of two rows: every row is checked once, in order.
void TestCheckWindow::batchCheckReadsPastTheWindow() {
    TForm14 form;
    collect(form, August1, August31);
    check(form);
    const QStringList whole = memoLines(form);
    const int windowSize = Data->ZQ20->WindowSize();
    Data->ZQ20->SetWindowSize(2);
    collect(form, August1, August31);
    check(form);
    Data->ZQ20->SetWindowSize(windowSize);
    QVERIFY(rec_->messages.isEmpty());
    QCOMPARE(memoLines(form), whole);
    QVERIFY(whole.contains("Hiba (nem 7, 12 % van megadva): 20000004"));
}

void TestCheckWindow::periodWithoutTickets() {
    TForm14 form;
    collect(form, QDate(2011, 1, 1), QDate(2011, 12, 31));
    QVERIFY(child<QPushButton>(form, "Button2")->isEnabled());
    QVERIFY(Data->ZQ20->IsEmpty());
    check(form);
    QStringList expected;
    for (const QString& name : kNames)
        expected << framed(name, {});
    expected << "Klikk az ablakba és kurzor billentyüvel mozoghat benne. ";
    QCOMPARE(memoLines(form), expected);
}

// Changing the dates disables nothing: the check runs on the rows of the last collection.
void TestCheckWindow::checkAfterDateChangeUsesLastCollection() {
    TForm14 form;
    collect(form, QDate(2010, 9, 1), QDate(2010, 9, 30));
    child<QDateEdit>(form, "DateTimePicker1")->setDate(August1);
    QVERIFY(child<QPushButton>(form, "Button2")->isEnabled());
    check(form);
    const QStringList lines = memoLines(form);
    QVERIFY(lines.contains("Figyelmeztetés (még nincs kinyomtatva): 20000005"));
    QVERIFY(!lines.contains("Figyelmeztetés (még nincs kinyomtatva): 20000003"));
    QVERIFY(lines.contains("Hiba (nem 7, 12 % van megadva): 20000005"));
}

void TestCheckWindow::singleChecks_data() {
    QTest::addColumn<int>("tab");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("message");
    QTest::addColumn<int>("beeps");
    QTest::newRow("tax number, 13") << 0 << "12345678-1-12"
                                    << "Hibaüzenet: Hibás adószám" << 1;
    QTest::newRow("tax number, 11") << 0 << "12345678112"
                                    << "Hibaüzenet: Hibás adószám" << 1;
    QTest::newRow("good tax number") << 0 << "18301667-1-04"
                                     << "Az adószám rendben" << 0;
    QTest::newRow("tax number, 9") << 0 << "183016671"
                                   << "Hibaüzenet: Nem 11 vagy 13 hosszú számsor" << 1;
    QTest::newRow("tax number, letter") << 0 << "1830A667104"
                                        << "Hibaüzenet: Hibás adószám" << 1;
    QTest::newRow("tax identifier") << 1 << "8123456786"
                                    << "Az azóazonositó rendben" << 0;
    QTest::newRow("tax identifier, 9") << 1 << "812345678"
                                       << "Hibaüzenet: Nem 10 hosszú számsor" << 1;
    QTest::newRow("tax identifier, letter") << 1 << "81234567a6"
                                            << "Hibaüzenet: Hibás adóazonositó" << 1;
    QTest::newRow("TAJ, separators") << 2 << "111-111-110"
                                     << "A TAJ rendben" << 0;
    QTest::newRow("TAJ, other separators") << 2 << "111.111 110"
                                           << "A TAJ rendben" << 0;
    QTest::newRow("TAJ, wrong") << 2 << "111111111"
                                << "Hibaüzenet: Hibás TAJ" << 1;
    QTest::newRow("TAJ, 10") << 2 << "1111111100"
                             << "Hibaüzenet: Nem 9 vagy 11 hosszú számsor" << 1;
}

void TestCheckWindow::singleChecks() {
    QFETCH(int, tab);
    QFETCH(QString, text);
    QFETCH(QString, message);
    QFETCH(int, beeps);
    TForm14 form;
    auto* edit1 = child<QLineEdit>(form, "Edit1");
    auto* edit2 = child<QLineEdit>(form, "Edit2");
    auto* edit3 = child<QLineEdit>(form, "Edit3");
    auto* button3 = child<QPushButton>(form, "Button3");
    auto* button4 = child<QPushButton>(form, "Button4");
    auto* button5 = child<QPushButton>(form, "Button5");
    auto* label10 = child<QLabel>(form, "Label10");
    auto* label11 = child<QLabel>(form, "Label11");
    auto* label12 = child<QLabel>(form, "Label12");
    QLineEdit* edits[] = {edit1, edit2, edit3};
    QPushButton* buttons[] = {button3, button4, button5};
    QLabel* labels[] = {label10, label11, label12};
    edits[tab]->setText(text);
    buttons[tab]->click();
    QCOMPARE(labels[tab]->text(), message);
    QCOMPARE(rec_->beeps, beeps);
    QVERIFY(rec_->messages.isEmpty());
    // The next check overwrites the label.
    edits[tab]->setText(QString());
    buttons[tab]->click();
    QVERIFY(labels[tab]->text().startsWith("Hibaüzenet: Nem "));
}

void TestCheckWindow::daysTab() {
    TForm14 form;
    auto* edit4 = child<QLineEdit>(form, "Edit4");
    auto* dateTimePicker3 = child<QDateEdit>(form, "DateTimePicker3");
    auto* button6 = child<QPushButton>(form, "Button6");
    auto* label16 = child<QLabel>(form, "Label16");
    auto* label14 = child<QLabel>(form, "Label14");
    auto* label17 = child<QLabel>(form, "Label17");
    // A wrong length still shows the day count and characters 2-6.
    edit4->setText("812345678");
    dateTimePicker3->setDate(QDate(1900, 10, 20));
    button6->click();
    QCOMPARE(label16->text(), QString("12345"));
    QCOMPARE(label14->text(), QString("12345"));
    QCOMPARE(label17->text(), QString("Hibaüzenet: Nem 10 hosszú számsor !"));
    QCOMPARE(rec_->beeps, 1);
    // Its own birth date.
    edit4->setText("8123456786");
    button6->click();
    QCOMPARE(label17->text(), QString("Az adóazonositó és születési dátum összevetése rendben"));
    QCOMPARE(rec_->beeps, 1);
    QVERIFY(form.ElteltNapEllenorzes("8123456786", "1900.10.20."));
    QVERIFY(!form.ElteltNapEllenorzes("8123456786", "1900.10.21."));
    QVERIFY(!form.ElteltNapEllenorzes("81a3456786", "1900.10.20."));
    // Another date.
    dateTimePicker3->setDate(QDate(1900, 1, 1));
    button6->click();
    QCOMPARE(label14->text(), QString("12053"));
    QCOMPARE(label17->text(), QString("Hibaüzenet: Az adóazonositó és/vagy szül.dátum hiba !"));
    QCOMPARE(rec_->beeps, 2);
}

void TestCheckWindow::enterMovesFocus() {
    TForm14 form;
    auto* pageControl1 = child<QTabWidget>(form, "PageControl1");
    auto* edit1 = child<QLineEdit>(form, "Edit1");
    form.show();
    QVERIFY(QTest::qWaitForWindowActive(&form));
    pageControl1->setCurrentIndex(1);
    edit1->setFocus();
    QTest::keyClick(edit1, Qt::Key_Return);
    QVERIFY(!edit1->hasFocus());
    QVERIFY(edit1->text().isEmpty());
}

namespace {

// The number of the first memo line that starts with the text; -1 when none does.
int memoLine(const TForm14& form, const QString& start) {
    const QStringList lines = memoLines(form);
    for (int i = 0; i < lines.size(); ++i)
        if (lines.at(i).startsWith(start))
            return i;
    return -1;
}

// Double-clicks a memo line as the clerk does.
void doubleClickLine(TForm14& form, int line) {
    auto* memo = child<QPlainTextEdit>(form, "Memo1");
    QTextCursor cursor(memo->document()->findBlockByNumber(line));
    memo->setTextCursor(cursor);
    memo->ensureCursorVisible();
    const QPoint at = memo->cursorRect(cursor).center() + QPoint(4, 0);
    QTest::mouseDClick(memo->viewport(), Qt::LeftButton, {}, at);
}

} // namespace

// Every failure line leads to the ticket of the line that failed, also the lines of checks 1 to 3, which name
// the producer; the opening and closing lines lead nowhere. A double-click opens the ticket browser on the
// ticket; afterwards the list holds the collected lines again and a new check gives the same memo.
void TestCheckWindow::memoLineLeadsToItsTicket() {
    TForm14 form;
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    collect(form, August1, August31);
    const int collected = Data->ZQ20->RecordCount();
    check(form);
    const QStringList memo = memoLines(form);
    QCOMPARE(form.TicketOfMemoLine(0), QString()); // "    Adószám ellenörzés... "
    QCOMPARE(form.TicketOfMemoLine(memoLine(form, "Hiba (kevesebb nyolc számnál):   Kódja: 99")),
             QStringLiteral("20000002"));
    QCOMPARE(form.TicketOfMemoLine(memoLine(form, "Hiba (kevesebb nyolc számnál):  Hiány Béla")),
             QStringLiteral("20000001"));
    const int unprinted = memoLine(form, "Figyelmeztetés (még nincs kinyomtatva): ");
    QCOMPARE(memo.at(unprinted), QStringLiteral("Figyelmeztetés (még nincs kinyomtatva): 20000003"));
    QCOMPARE(form.TicketOfMemoLine(unprinted), QStringLiteral("20000003"));
    QCOMPARE(form.TicketOfMemoLine(int(memo.size()) - 1), QString()); // the closing hint
    QCOMPARE(form.TicketOfMemoLine(int(memo.size())), QString());

    QString shown;
    rec_->expectModal([&](QDialog& dialog) {
        QCOMPARE(dialog.objectName(), QStringLiteral("Form8"));
        shown = Data->ZQ10->FieldByName("F_BSZAM").AsString();
        // The browser shows the ticket's lines through the shared list.
        child<QTabWidget>(dialog, "PageControl1")->setCurrentIndex(1);
    });
    doubleClickLine(form, unprinted);
    QCOMPARE(rec_->modalsShown, QStringList{"Form8"});
    QCOMPARE(shown, QStringLiteral("20000003"));
    QCOMPARE(AktBszam, QStringLiteral("20000003"));
    QCOMPARE(Data->ZQ20->RecordCount(), collected);
    QCOMPARE(memoLines(form), memo); // the memo is kept as it was
    check(form);
    QCOMPARE(memoLines(form), memo);

    // An opening line opens nothing.
    doubleClickLine(form, 0);
    QCOMPARE(rec_->modalsShown.size(), 1);
    QVERIFY(rec_->messages.isEmpty());
}

// A ticket deleted since the check is not looked for in the browser: the clerk is told.
void TestCheckWindow::memoLineOfAGoneTicket() {
    TForm14 form;
    collect(form, August1, August31);
    check(form);
    db_->exec("DELETE FROM fjsor WHERE s_bszam = '20000003'");
    db_->exec("DELETE FROM fjfej WHERE f_bszam = '20000003'");
    form.OpenTicketOfMemoLine(memoLine(form, "Figyelmeztetés (még nincs kinyomtatva): "));
    QVERIFY(rec_->modalsShown.isEmpty());
    QCOMPARE(rec_->messageTexts(),
             QStringList{QStringLiteral("A(z) 20000003 számú felvásárlási jegy már nincs meg.")});
}

// Ctrl+F goes to the search field; typing finds the first match, F3 and Enter the next, Shift+F3 the one
// before, round past the end; a text not in the memo says so.
void TestCheckWindow::memoSearch() {
    TForm14 form;
    form.show();
    QVERIFY(QTest::qWaitForWindowActive(&form));
    collect(form, August1, August31);
    check(form);
    auto* memo = child<QPlainTextEdit>(form, "Memo1");
    auto* search = child<QLineEdit>(form, "MemoSearch");
    auto* result = child<QLabel>(form, "MemoSearchResult");
    child<QPushButton>(form, "Button1")->setFocus();
    QTest::keyClick(&form, Qt::Key_F, Qt::ControlModifier);
    QVERIFY(search->hasFocus());
    QTest::keyClicks(search, "20000004");
    const int first = memo->textCursor().blockNumber();
    QCOMPARE(memo->textCursor().selectedText(), QStringLiteral("20000004"));
    QVERIFY(memoLines(form).at(first).endsWith("20000004"));
    QTest::keyClick(search, Qt::Key_F3);
    const int second = memo->textCursor().blockNumber();
    QVERIFY(second > first);
    QTest::keyClick(search, Qt::Key_Return);
    QVERIFY(search->hasFocus()); // Enter finds, it does not move on
    QVERIFY(memo->textCursor().blockNumber() > second);
    QTest::keyClick(search, Qt::Key_F3, Qt::ShiftModifier);
    QCOMPARE(memo->textCursor().blockNumber(), second);
    QVERIFY(result->text().isEmpty());
    // Round past the end: from the second match, as many finds as there are matches less one lead to the
    // first.
    const int matches = int(memo->toPlainText().count(QStringLiteral("20000004")));
    QVERIFY(matches > 3);
    for (int i = 0; i < matches - 1; ++i)
        QVERIFY(form.FindInMemo("20000004"));
    QCOMPARE(memo->textCursor().blockNumber(), first);
    search->clear();
    QTest::keyClicks(search, "nincs ilyen sor");
    QCOMPARE(result->text(), QStringLiteral("Nincs találat."));
}

QTEST_MAIN(TestCheckWindow)
#include "test_check_window.moc"
