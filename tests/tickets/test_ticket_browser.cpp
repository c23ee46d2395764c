#include "reports/report_objects.h"
#include "support/children.h"
#include "support/test_database.h"
#include "support/ui_recorder.h"
#include "test_layout.h"
#include "ticket_data.h"
#include "ticket_fixture.h"
#include "tickets/ticket_browser.h"
#include "tickets/ticket_rules.h"
#include "widgets/db_grid.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QHeaderView>
#include <QLabel>
#include <QTabWidget>
#include <QTest>

using vardelo::testing::child;
using namespace vardelo;
using namespace vardelo::testing;

namespace {

// Three tickets of purchaser 1 whose orders differ by producer, name, date and printed mark, and one of
// purchaser 2 that the list never shows.
void storeTickets(TestDatabase& db) {
    storeTicket(db, {.number = "10000001", .producer = "3", .kelt = "2010-08-03", .prn = "'I'"});
    storeTicket(db,
                {.number = "10000002", .producer = "1", .kelt = "2010-08-01", .prn = "NULL", .megj = "Zárt"});
    storeTicket(db,
                {.number = "10000003", .producer = "2", .kelt = "2010-08-02", .prn = "' '", .megj = "Alma"});
    storeTicket(db, {.number = "20000001", .akod = "2", .producer = "4"});
    storeLine(db, {.number = "10000001", .name = "Süldő"});
    storeLine(db, {.number = "10000002", .name = "Süldő"});
    storeLine(db, {.number = "10000002", .animal = "4", .name = "Borjú"});
    storeLine(db, {.number = "10000003", .animal = "7", .name = "Vágókacsa"});
}

QStringList listedNumbers() {
    QStringList numbers;
    TZQuery* q = Data->ZQ10;
    const int at = q->RecNo();
    for (q->First(); !q->Eof(); q->Next())
        numbers << q->FieldByName("F_BSZAM").AsString();
    q->SetRecNo(at);
    return numbers;
}

QString current() {
    return Data->ZQ10->FieldByName("F_BSZAM").AsString();
}

void standOn(const QString& number) {
    QVERIFY(Data->ZQ10->Locate("F_BSZAM", number, 0));
}

UiRecorder::ModalScript preview() {
    return [](QDialog& dialog) { QCOMPARE(dialog.objectName(), QString("frPreviewForm")); };
}

} // namespace

class TestTicketBrowser : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void opensOnCurrentTicket();
    void sortingByTitles_data();
    void sortingByTitles();
    void titleClickOnTheGrid();
    void tabChangeShowsTicketLinesAndProducer();
    void changeOpensEntryOnTicket();
    void changeRefusedOnPrintedTicket();
    void changeRefusedRightAfterPrinting();
    void overrideKeyOpensPrintedTicket();
    void printingFromNameOrderReturnsToNumberOrder();
    void newTicketFromBrowser();
    void purchaserRowThroughSavesAndPrint();
    void usedNumberNeverOffered_data();
    void usedNumberNeverOffered();
    void missingLayoutReportedAndNothingShown();

private:
    std::unique_ptr<TestDatabase> db_;
    std::unique_ptr<UiRecorder> rec_;
};

void TestTicketBrowser::init() {
    db_ = std::make_unique<TestDatabase>(true);
    rec_ = std::make_unique<UiRecorder>();
    selectPurchaser("1");
    storeTickets(*db_);
    writeTicketLayout("FjLista7A.frf");
}

void TestTicketBrowser::cleanup() {
    rec_.reset();
    db_.reset();
}

void TestTicketBrowser::opensOnCurrentTicket() {
    {
        TForm8 form;
        QCOMPARE(form.windowTitle(), QString("Felvásárlási jegy"));
        QCOMPARE(child<QLabel>(form, "OrderLabel")->text(), QString("Fejsor rendezettsége:"));
        form.show();
        QCOMPARE(listedNumbers(), QStringList({"10000001", "10000002", "10000003"}));
        QCOMPARE(current(), QString("10000001"));
        QCOMPARE(child<QLabel>(form, "OrderLabel")->text(), QString("A lista, \"Bszám\" szerint"));
        QCOMPARE(form.findChild<QLabel*>("DBText_F_MEGJ")->text(), QString("Első jegy"));
    }
    AktBszam = "10000003";
    TForm8 form;
    form.show();
    QCOMPARE(current(), QString("10000003"));
}

void TestTicketBrowser::sortingByTitles_data() {
    QTest::addColumn<QString>("field");
    QTest::addColumn<QStringList>("order");
    QTest::addColumn<QString>("caption");
    QTest::newRow("Bszám") << "F_BSZAM" << QStringList{"10000001", "10000002", "10000003"}
                           << "Felvásárlási jegy lista, \"Bizonylatszám\" szerint";
    QTest::newRow("Österm.kód") << "F_OSTERMKOD" << QStringList{"10000002", "10000003", "10000001"}
                                << "Felvásárlási jegy lista, \"Őstermelőkód\" szerint";
    QTest::newRow("Név") << "O_NEV" << QStringList{"10000002", "10000003", "10000001"}
                         << "Felvásárlási jegy lista, név szerint";
    QTest::newRow("Dátum") << "F_KELT" << QStringList{"10000002", "10000003", "10000001"}
                           << "Felvásárlási jegy lista, dátum szerint";
    // The database puts null first, then the blank, then "I".
    QTest::newRow("Print") << "F_PRN" << QStringList{"10000002", "10000003", "10000001"}
                           << "Felvásárlási jegy lista, volt-e nyomtatva szerint";
}

void TestTicketBrowser::sortingByTitles() {
    QFETCH(QString, field);
    QFETCH(QStringList, order);
    QFETCH(QString, caption);
    TForm8 form;
    form.show();
    standOn("10000002");
    form.DBGrid1TitleClick(field);
    QCOMPARE(listedNumbers(), order);
    QCOMPARE(Data->ZQ10->RecNo(), 1);
    QCOMPARE(child<QLabel>(form, "OrderLabel")->text(), caption);

    // A title without an order changes nothing.
    Data->ZQ10->Last();
    form.DBGrid1TitleClick("F_MEGJ");
    form.DBGrid1TitleClick("V_AKOD");
    QCOMPARE(listedNumbers(), order);
    QCOMPARE(Data->ZQ10->RecNo(), 3);
    QCOMPARE(child<QLabel>(form, "OrderLabel")->text(), caption);
}

void TestTicketBrowser::titleClickOnTheGrid() {
    TForm8 form;
    form.show();
    QHeaderView* header = child<TDBGrid>(form, "DBGrid1")->horizontalHeader();
    int nameColumn = -1;
    for (int c = 0; c < child<TDBGrid>(form, "DBGrid1")->ColumnCount(); ++c)
        if (child<TDBGrid>(form, "DBGrid1")->ColumnTitle(c) == QString("Név"))
            nameColumn = c;
    QVERIFY(nameColumn >= 0);
    const QPoint at(header->sectionViewportPosition(nameColumn) + 5, header->height() / 2);
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, at);
    QCOMPARE(child<QLabel>(form, "OrderLabel")->text(), QString("Felvásárlási jegy lista, név szerint"));
    QCOMPARE(listedNumbers(), QStringList({"10000002", "10000003", "10000001"}));
}

void TestTicketBrowser::tabChangeShowsTicketLinesAndProducer() {
    TForm8 form;
    form.show();
    standOn("10000002");
    child<QTabWidget>(form, "PageControl1")->setCurrentIndex(1);
    QCOMPARE(Data->ZQ20->RecordCount(), 2);
    QCOMPARE(Data->ZQ20->FieldByName("S_BSZAM").AsString(), QString("10000002"));
    QCOMPARE(Data->ZQ30->FieldByName("O_NEV").AsString(), QString("Kovács János"));
    // Moving in the header list does not follow until the next tab change.
    standOn("10000003");
    QCOMPARE(Data->ZQ30->FieldByName("O_KOD").AsString(), QString("1"));
    child<QTabWidget>(form, "PageControl1")->setCurrentIndex(2);
    QCOMPARE(Data->ZQ20->RecordCount(), 1);
    QCOMPARE(Data->ZQ30->FieldByName("O_NEV").AsString(), QString("Nagy Éva"));
    QCOMPARE(child<QTabWidget>(form, "PageControl1")->tabText(2), QString("Östermelő"));
}

void TestTicketBrowser::changeOpensEntryOnTicket() {
    TForm8 form;
    form.show();
    form.DBGrid1TitleClick("O_NEV");
    standOn("10000002");
    rec_->expectModal([](QDialog& dialog) {
        auto* entry = qobject_cast<TForm9*>(&dialog);
        QVERIFY(entry);
        QCOMPARE(JegyMod, QString("Felvásárlási jegy módositás"));
        QCOMPARE(entry->windowTitle(), QString("Felvásárlási jegy módositás"));
        QCOMPARE(child<QLineEdit>(entry, "Edit1")->text(), QString("10000002"));
        QCOMPARE(child<QLineEdit>(entry, "Edit5")->text(), QString("1"));
        QCOMPARE(Data->ZQ20->RecordCount(), 2);
        QCOMPARE(Data->ZQ20->FieldByName("S_MEGNEVEZES").AsString(), QString("Süldő")); // in ID order
        child<QLineEdit>(entry, "Edit4")->setText("Módosított");
        child<QPushButton>(entry, "OkButton")->click();
        QVERIFY(!entry->isVisible());
    });
    child<QPushButton>(form, "ChangeButton")->click();
    QCOMPARE(rec_->modalsShown, QStringList{"Form9"});
    QVERIFY(rec_->messageTexts().isEmpty());
    // Back in number order, on the ticket, and the caption says so.
    QCOMPARE(current(), QString("10000002"));
    QCOMPARE(listedNumbers(), QStringList({"10000001", "10000002", "10000003"}));
    QCOMPARE(child<QLabel>(form, "OrderLabel")->text(), QString("A lista, \"Bszám\" szerint"));
    QCOMPARE(Data->ZQ10->FieldByName("F_MEGJ").AsString(), QString("Módosított"));
}

void TestTicketBrowser::changeRefusedOnPrintedTicket() {
    TForm8 form;
    form.show();
    standOn("10000001");
    child<QPushButton>(form, "ChangeButton")->click();
    QVERIFY(rec_->modalsShown.isEmpty());
    QCOMPARE(rec_->messages.size(), 1);
    QCOMPARE(rec_->messages[0].text, QString("A felvásárlási jegy már nyomtatva volt!"));
    QCOMPARE(rec_->messages[0].caption, vardelo::confirmCaption());
    QCOMPARE(rec_->messages[0].icon, MsgIcon::Question);
    QCOMPARE(rec_->messages[0].buttons, int(MsgButton::Yes));
}

void TestTicketBrowser::changeRefusedRightAfterPrinting() {
    TForm8 form;
    form.show();
    standOn("10000003");
    rec_->expectModal(preview());
    child<QPushButton>(form, "PrintButton")->click();
    QCOMPARE(current(), QString("10000003"));
    child<QPushButton>(form, "ChangeButton")->click();
    QCOMPARE(rec_->modalsShown, QStringList{"frPreviewForm"});
    QCOMPARE(rec_->messageTexts(), QStringList{"A felvásárlási jegy már nyomtatva volt!"});
}

void TestTicketBrowser::overrideKeyOpensPrintedTicket() {
    TForm8 form;
    form.show();
    QApplication::setActiveWindow(&form);
    QVERIFY(QTest::qWaitForWindowActive(&form));
    standOn("10000001");
    child<QPushButton>(form, "ChangeButton")->setFocus();
    // Another letter does nothing.
    QTest::keyClick(child<QPushButton>(form, "ChangeButton"), Qt::Key_K);
    QVERIFY(rec_->modalsShown.isEmpty());
    rec_->expectModal([](QDialog& dialog) {
        auto* entry = qobject_cast<TForm9*>(&dialog);
        QVERIFY(entry);
        QCOMPARE(child<QLineEdit>(entry, "Edit1")->text(), QString("10000001"));
        child<QPushButton>(entry, "OkButton")->click();
        QVERIFY(!entry->isVisible());
    });
    QTest::keyClick(child<QPushButton>(form, "ChangeButton"), Qt::Key_J); // lower case "j"
    QCOMPARE(rec_->modalsShown, QStringList{"Form9"});
    QVERIFY(rec_->messageTexts().isEmpty());
    QCOMPARE(committedValue("SELECT f_prn FROM fjfej WHERE f_bszam = '10000001'").toString(), QString(" "));
    // Changed after its print: the list shows the day in its mark column.
    QCOMPARE(committedValue("SELECT f_nymod FROM fjfej WHERE f_bszam = '10000001'").toDate(),
             QDate::currentDate());
    QCOMPARE(Data->ZQ10->FieldByName("F_NYMOD").AsDate(), QDate::currentDate());
    // Saving cleared the mark, so "Módosít" opens it now; the capital letter works as well.
    rec_->expectModal([](QDialog&) {});
    QTest::keyClick(child<QPushButton>(form, "ChangeButton"), Qt::Key_J, Qt::ShiftModifier);
    QCOMPARE(rec_->modalsShown, QStringList({"Form9", "Form9"}));
    rec_->expectModal([](QDialog&) {});
    child<QPushButton>(form, "ChangeButton")->click();
    QCOMPARE(rec_->modalsShown.size(), 3);
}

void TestTicketBrowser::printingFromNameOrderReturnsToNumberOrder() {
    TForm8 form;
    form.show();
    form.DBGrid1TitleClick("O_NEV");
    standOn("10000003");
    rec_->expectModal(preview());
    child<QPushButton>(form, "PrintButton")->click();
    QCOMPARE(listedNumbers(), QStringList({"10000001", "10000002", "10000003"}));
    QCOMPARE(current(), QString("10000003"));
    QCOMPARE(child<QLabel>(form, "OrderLabel")->text(), QString("A lista, \"Bszám\" szerint"));
    QCOMPARE(Data->ZQ10->FieldByName("F_PRN").AsString(), QString("I"));

    // Viewing works the same way and marks nothing.
    form.DBGrid1TitleClick("F_KELT");
    standOn("10000002");
    rec_->expectModal(preview());
    child<QPushButton>(form, "ViewButton")->click();
    QCOMPARE(listedNumbers(), QStringList({"10000001", "10000002", "10000003"}));
    QCOMPARE(current(), QString("10000002"));
    QVERIFY(Data->ZQ10->FieldByName("F_PRN").IsNull());
    QCOMPARE(rec_->modalsShown, QStringList({"frPreviewForm", "frPreviewForm"}));
}

void TestTicketBrowser::newTicketFromBrowser() {
    db_->exec("UPDATE sorszam SET a_fjbszam = '10000003' WHERE a_akod = '1'");
    TForm8 form;
    form.show();
    rec_->expectModal([this](QDialog& dialog) {
        auto* entry = qobject_cast<TForm9*>(&dialog);
        QVERIFY(entry);
        QCOMPARE(child<QLineEdit>(entry, "Edit1")->text(), QString("10000004"));
        rec_->expectModal(writeLine());
        child<QPushButton>(entry, "NewLineButton")->click();
        fillHeader(*entry);
        child<QPushButton>(entry, "OkButton")->click();
    });
    child<QPushButton>(form, "NewButton")->click();
    QCOMPARE(JegyMod, QString("Új felvásárlási jegy"));
    QCOMPARE(current(), QString("10000004"));
    QCOMPARE(AktBszam, QString("10000004"));
}

// Every save commits, and a commit closes the transaction's datasets: the selected purchaser's row must be
// back at once, for the declaration of the next ticket and for the purchaser block of the printed one.
void TestTicketBrowser::purchaserRowThroughSavesAndPrint() {
    const QString layouts = QDir(qEnvironmentVariable("VARDELO_SOURCE_DIR")).filePath("layouts");
    QFile::remove("FjLista7A.frf");
    QVERIFY(QFile::copy(QDir(layouts).filePath("FjLista7A.frf"), "FjLista7A.frf"));
    db_->exec("UPDATE sorszam SET a_fjbszam = '10000003' WHERE a_akod = '1'");
    const QString declaration = Data->IBTable6->FieldByName("V_NYILATK").AsString();
    QVERIFY(declaration.size() >= 6);
    TForm8 form;
    form.show();
    for (const QString number : {"10000004", "10000005"}) {
        rec_->expectModal([this, number, declaration](QDialog& dialog) {
            auto* entry = qobject_cast<TForm9*>(&dialog);
            QVERIFY(entry);
            QCOMPARE(child<QLineEdit>(entry, "Edit1")->text(), number);
            QCOMPARE(child<QLineEdit>(entry, "Edit12")->text(), declaration);
            rec_->expectModal(writeLine());
            child<QPushButton>(entry, "NewLineButton")->click();
            fillHeader(*entry);
            child<QPushButton>(entry, "OkButton")->click();
        });
        child<QPushButton>(form, "NewButton")->click();
        QCOMPARE(committedValue("SELECT f_nyilatk FROM fjfej WHERE f_bszam = '" + number + "'").toString(),
                 declaration);
        QVERIFY(Data->IBTable6->Active());
        QCOMPARE(Data->IBTable6->FieldByName("V_AKOD").AsString(), QString("1"));
    }
    QCOMPARE(current(), QString("10000005"));
    rec_->expectModal(preview());
    child<QPushButton>(form, "PrintButton")->click();
    QVERIFY2(rec_->messages.isEmpty(), qPrintable(rec_->messages.value(0).text));
    const auto& pages = Data->frNyomtat->PreparedPages().pages;
    QCOMPARE(pages.size(), size_t(3));
    for (const auto& page : pages) {
        const QStringList texts = page.texts();
        for (const char* shown : {"Első Felvásárló Kft.", "6000  Kecskemét", "Szolnoki út 12.", "12345676203",
                                  "117320091234567800000000"})
            QVERIFY2(texts.contains(QString::fromUtf8(shown)), shown);
    }
    QCOMPARE(committedValue("SELECT f_prn FROM fjfej WHERE f_bszam = '10000005'").toString(), QString("I"));
}

// "Új" never offers a number that a stored ticket carries, nor one too long for a ticket: it says why and
// opens nothing, and nothing is stored.
void TestTicketBrowser::usedNumberNeverOffered_data() {
    QTest::addColumn<QString>("seed");
    QTest::addColumn<QString>("message");
    QTest::newRow("seed behind the tickets")
        << "10000001"
        << "A következő sorszámmal (10000002) már van felvásárlási jegy! Állítsa be a sorszámot: Átvevö / "
           "Lekérdezés, \"Évnyitás\" lap.";
    QTest::newRow("another purchaser's number")
        << "20000000"
        << "A következő sorszámmal (20000001) már van felvásárlási jegy! Állítsa be a sorszámot: Átvevö / "
           "Lekérdezés, \"Évnyitás\" lap.";
    QTest::newRow("nine digits")
        << "99999999"
        << "A következő sorszám (100000000) hosszabb 8 számjegynél, nem adható ki! Állítsa be a sorszámot: "
           "Átvevö / Lekérdezés, \"Évnyitás\" lap.";
}

void TestTicketBrowser::usedNumberNeverOffered() {
    QFETCH(QString, seed);
    QFETCH(QString, message);
    db_->exec("UPDATE sorszam SET a_fjbszam = '" + seed + "' WHERE a_akod = '1'");
    const int headers = value("SELECT COUNT(*) FROM fjfej").toInt();
    TForm8 form;
    form.show();
    child<QPushButton>(form, "NewButton")->click();
    QVERIFY(rec_->modalsShown.isEmpty());
    QCOMPARE(rec_->messages.size(), 1);
    QCOMPARE(rec_->messages[0].text, message);
    QCOMPARE(value("SELECT COUNT(*) FROM fjfej").toInt(), headers);
    QCOMPARE(value("SELECT a_fjbszam FROM sorszam WHERE a_akod = '1'").toString(), seed);
}

void TestTicketBrowser::missingLayoutReportedAndNothingShown() {
    QFile::remove("FjLista7A.frf");
    TForm8 form;
    form.show();
    form.DBGrid1TitleClick("O_NEV");
    child<QPushButton>(form, "ViewButton")->click();
    QVERIFY(rec_->modalsShown.isEmpty());
    QCOMPARE(rec_->messages.size(), 1);
    QCOMPARE(rec_->messages[0].text, QString("Cannot open file FjLista7A.frf"));
    QCOMPARE(rec_->messages[0].caption, vardelo::errorCaption());
    // The list was not read again.
    QCOMPARE(child<QLabel>(form, "OrderLabel")->text(), QString("Felvásárlási jegy lista, név szerint"));
}

QTEST_MAIN(TestTicketBrowser)
#include "test_ticket_browser.moc"
