// The purchase ticket layouts ("FjLista7" + letter + ".frf") on a real database: two purchasers, a producer
// and a ticket of three lines; the copies, the places of the amounts and texts, overflow onto further pages,
// and the PDF.

#include "report_fixture.h"
#include "reports/report_preparer.h"
#include "reports/report_preview.h"
#include "reports/report_variables.h"
#include "support/test_database.h"
#include "support/ui_recorder.h"

#include <QFontMetricsF>
#include <QImage>
#include <QLabel>
#include <QTemporaryDir>
#include <QtTest>

using namespace vardelo;
using namespace vardelo::testing;
using vardelo::report::PreparedItem;
using vardelo::report::PreparedPage;

namespace {

const QString kTicket = QStringLiteral("20000001");

// Column boxes of the line table (mm from the paper's left edge: printer margin 5 + layout position).
struct Column {
    double left, right;
};
const Column a{5, 45}, b{45, 64}, c{64, 85}, d{85, 98}, e{98, 117}, f{117, 141}, g{141, 153}, h{153, 177},
    i{177, 205};

const PreparedItem* item(const PreparedPage& page, const QString& text) {
    const PreparedItem* found = page.findText(text);
    if (!found)
        qWarning() << "missing:" << text << "among" << page.texts();
    return found;
}

// The text stands in the column box, on the row at the given top.
bool inColumn(const PreparedItem* item, const Column& column, double top = -1) {
    if (!item)
        return false;
    const bool inside = item->rect.left() >= column.left - 0.01 && item->rect.right() <= column.right + 0.01;
    const bool onRow = top < 0 || qAbs(item->rect.top() - top) < 0.01;
    if (!inside || !onRow)
        qWarning() << item->text << item->rect << "not in" << column.left << column.right << top;
    return inside && onRow;
}

QString amount(double value) {
    return fixedNumberText(value, 2, true);
}

} // namespace

class TestTicketLayout : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void printModeGivesThreeCopies();
    void viewModeGivesTheFirstCopy();
    void copyMarkOfAPrintedTicket();
    void partiesAndHeading();
    void lineTableAndClosingBlock();
    void footerBlocks();
    void transferAndNoDeclaration();
    void ticketWithoutLines();
    void sixtyLinesOverflow();
    void everyLetterLoads_data();
    void everyLetterLoads();
    void pdfOfThePrintedTicket();
    void previewOfThePrintedTicket();
    void longestValuesPrintWhole();

private:
    TestDatabase* db_ = nullptr;
};

void TestTicketLayout::init() {
    report::clearVariables();
    db_ = new TestDatabase(true);
    copyLayouts();
    TicketHeader header;
    header.bszam = kTicket;
    header.megj = QStringLiteral("Szállítás a vevő gépjárművével.");
    insertTicket(header);
    insertLine(kTicket, "2", animal(1, 120.5, 2));
    insertLine(kTicket, "2", animal(2, 1000));
    insertLine(kTicket, "2", animal(5, 1234.5678, 1.5));
    // The other purchaser's ticket must not mix in.
    TicketHeader other;
    other.bszam = QStringLiteral("10000001");
    other.akod = QStringLiteral("1");
    other.okod = QStringLiteral("3");
    insertTicket(other);
    setUpTicket(kTicket);
}

void TestTicketLayout::cleanup() {
    delete db_;
    db_ = nullptr;
}

void TestTicketLayout::printModeGivesThreeCopies() {
    TfrReport* report = Data->frNyomtat;
    report->LoadFromFile("FjLista7B.frf");
    QVERIFY(report->PrepareReport());
    const auto& pages = report->PreparedPages().pages;
    QCOMPARE(int(pages.size()), 3);
    const QStringList labels{"2. példány: Az östermelöé", "3. példány: A töpéldány",
                             "1. példány: Az átvevöé"};
    for (int p = 0; p < 3; ++p) {
        const PreparedItem* label = item(pages[p], labels[p]);
        QVERIFY(label);
        QVERIFY(label->font.bold);
        QVERIFY(label->rect.left() >= 150); // top right
        QVERIFY(label->rect.top() < 15);
        // Unprinted: no copy mark, the mark's place holds one blank.
        QVERIFY(!pages[p].texts().contains("MÁSOLATI PÉLDÁNY"));
        // Each copy is the whole ticket.
        QCOMPARE(pages[p].texts().count("FELVÁSÁRLÁSI JEGY "), 1);
        QVERIFY(pages[p].texts().contains("Vágóbárány"));
        QVERIFY(pages[p].texts().contains("Kifizetendö:"));
        QVERIFY(pages[p].texts().contains("a mezögazd. tevék. folytató adóalany aláirása  "));
    }
    keepPdf(*report, "FjLista7B-nyomtat");
}

void TestTicketLayout::viewModeGivesTheFirstCopy() {
    TfrReport* report = Data->frMegtekint;
    report->LoadFromFile("FjLista7B.frf");
    QVERIFY(report->PrepareReport());
    const auto& pages = report->PreparedPages().pages;
    QCOMPARE(int(pages.size()), 1);
    QVERIFY(pages[0].texts().contains("1. példány: Az átvevöé"));
    QVERIFY(!pages[0].texts().contains("2. példány: Az östermelöé"));
    keepPdf(*report, "FjLista7B-megtekint");
}

void TestTicketLayout::copyMarkOfAPrintedTicket() {
    setUpTicket(kTicket, QStringLiteral("MÁSOLATI PÉLDÁNY"));
    TfrReport* report = Data->frNyomtat;
    report->LoadFromFile("FjLista7B.frf");
    QVERIFY(report->PrepareReport());
    for (const PreparedPage& page : report->PreparedPages().pages) {
        const PreparedItem* mark = item(page, "MÁSOLATI PÉLDÁNY");
        const PreparedItem* label = item(page, page.copyName);
        QVERIFY(mark && label);
        QVERIFY(mark->font.bold);
        QCOMPARE(mark->rect.left(), label->rect.left());
        QVERIFY(mark->rect.bottom() <= label->rect.top() + 0.01); // above the copy label
    }
    keepPdf(*report, "FjLista7B-masolat");
}

void TestTicketLayout::partiesAndHeading() {
    TfrReport* report = Data->frMegtekint;
    report->LoadFromFile("FjLista7B.frf");
    QVERIFY(report->PrepareReport());
    const PreparedPage& page = report->PreparedPages().pages[0];
    const PreparedItem* title = item(page, "FELVÁSÁRLÁSI JEGY ");
    QVERIFY(title && title->font.bold && title->align == report::HAlign::Center);
    QVERIFY(item(page, "a mezögazdasági termékfelvásárlás bizonylata"));
    const PreparedItem* number = item(page, kTicket);
    QVERIFY(number && number->font.bold);
    const PreparedItem* numberLabel = item(page, "Sorszám:");
    QVERIFY(numberLabel && qAbs(numberLabel->rect.top() - number->rect.top()) < 0.01);
    QVERIFY(numberLabel->rect.right() <= number->rect.left() + 0.01);

    // Purchaser (the selected second purchaser) on the left, producer on the right.
    const QList<QPair<QString, bool>> left{{"Alföldi Állatfelvásárló Bt.", true},
                                           {"6720  Szeged", false},
                                           {"Tisza Lajos krt. 41.", false},
                                           {"18301667206", false},
                                           {"104027191234567800000000", false},
                                           {"2010.08.31.", false},
                                           {"2010.08.30.", false},
                                           {"Fizetés módja: Kp.", false}};
    for (const auto& [text, bold] : left) {
        const PreparedItem* it = item(page, text);
        QVERIFY2(it && it->rect.right() <= 5 + 90 + 0.01, qPrintable(text));
        QCOMPARE(it->font.bold, bold);
    }
    const QStringList right{"Kovács János",
                            "6000  Kecskemét Petőfi Sándor u. 3.",
                            "117320091111111100000000",
                            "Kecskemét",
                            "1",
                            "1961.03.14.",
                            "R-1001",
                            "Szabó Mária",
                            "123456",
                            "2010.01.12.",
                            "8526018159",
                            "318609139",
                            "18301667104",
                            "CSG-101"};
    for (const QString& text : right) {
        const PreparedItem* it = item(page, text);
        QVERIFY2(it && it->rect.left() >= 5 + 94 - 0.01, qPrintable(text));
    }
    QVERIFY(item(page, "Kovács János")->font.bold);
    // Each label stands on the row of its value.
    const QList<QPair<QString, QString>> rows{{"Neve: ", "Alföldi Állatfelvásárló Bt."},
                                              {"Felvásárlás dátuma:", "2010.08.30."},
                                              {"Születési idö:", "1961.03.14."},
                                              {"Reg. száma:", "R-1001"},
                                              {"TAJ száma:", "318609139"},
                                              {"Családi g.:", "CSG-101"}};
    for (const auto& [label, value] : rows)
        QVERIFY2(qAbs(item(page, label)->rect.top() - item(page, value)->rect.top()) < 0.01,
                 qPrintable(label));
    QVERIFY(!page.texts().join("").contains("Első Felvásárló")); // not the first purchaser
    QCOMPARE(
        page.texts().count("..........................................................................."), 2);
    QVERIFY(item(page, "az átvevö aláírása"));
    QVERIFY(item(page, "az östermelő aláírása"));
}

void TestTicketLayout::lineTableAndClosingBlock() {
    TfrReport* report = Data->frMegtekint;
    report->LoadFromFile("FjLista7B.frf");
    QVERIFY(report->PrepareReport());
    const PreparedPage& page = report->PreparedPages().pages[0];
    // Column letters under the headings.
    for (const auto& [letter, column] : QList<QPair<QString, Column>>{
             {"a", a}, {"b", b}, {"c", c}, {"d", d}, {"e", e}, {"f", f}, {"g", g}, {"h", h}, {"i", i}})
        QVERIFY2(inColumn(item(page, letter), column), qPrintable(letter));

    // The third line: 1234.5678 kg less 1.5 % is 1216.0493 kg at 720 Ft with 12 % surcharge.
    const PreparedItem* name = item(page, "Vágóbárány");
    QVERIFY(inColumn(name, a));
    const double row = name->rect.top();
    QVERIFY(inColumn(item(page, "0104 10 30"), b, row));
    QVERIFY(inColumn(item(page, "1 216,049"), c, row));
    QVERIFY(inColumn(item(page, "720,00"), e, row));
    QVERIFY(inColumn(item(page, "875 555,50"), f, row));
    QVERIFY(inColumn(item(page, "12"), g, row));
    QVERIFY(inColumn(item(page, "105 066,66"), h, row));
    QVERIFY(inColumn(item(page, "980 622,16"), i, row));
    for (const char* amountText : {"1 216,049", "720,00", "875 555,50", "12", "105 066,66", "980 622,16"})
        QCOMPARE(item(page, amountText)->align, report::HAlign::Right);
    // Lines in their order, one under the other.
    const double first = item(page, "Vágósertés")->rect.top();
    const double second = item(page, "Süldő")->rect.top();
    QVERIFY(first < second && second < row);
    QVERIFY(inColumn(item(page, "118,090"), c, first));
    QVERIFY(inColumn(item(page, "36 607,90"), f, first));

    // Closing block: totals of f, h and f + h, the tax, the payable and its words.
    const double far = 36607.90 + 420000 + 875555.50;
    const double kar = 2562.55 + 29400 + 105066.66;
    const PreparedItem* total = item(page, "Összesen:");
    QVERIFY(total && total->rect.top() >= row + 5 - 0.01);
    QVERIFY(inColumn(item(page, amount(far)), f, total->rect.top()));
    QVERIFY(inColumn(item(page, amount(kar)), h, total->rect.top()));
    QVERIFY(inColumn(item(page, amount(far + kar)), i, total->rect.top()));
    const double var = far + kar;
    const PreparedItem* tax = item(page, "Levont SZJA :");
    QVERIFY(inColumn(item(page, "15 %"), g, tax->rect.top()));
    QVERIFY(inColumn(item(page, amount(var * 15 / 100)), i, tax->rect.top()));
    const qint64 payable = qint64(roundHalfEven(var - var * 0.15 - 2 * (var - var * 0.15) / 100));
    const PreparedItem* payLabel = item(page, "Kifizetendö:");
    const PreparedItem* pay = item(page, QString::number(payable));
    QVERIFY(payLabel && payLabel->font.bold && pay && pay->font.bold);
    QVERIFY(inColumn(pay, i, payLabel->rect.top()));
    QVERIFY(payLabel->rect.top() > tax->rect.top());
    const PreparedItem* words = item(page, "azaz " + wordsOf(payable) + " 00/100 Forint");
    QVERIFY(words && words->rect.top() > payLabel->rect.top());
    QCOMPARE(words->text,
             QStringLiteral("azaz egymillió-kettöszázhuszonháromezer-nyolcszázharminchét  00/100 Forint"));
    const PreparedItem* remark = item(page, "Szállítás a vevő gépjárművével.");
    QVERIFY(remark && remark->rect.top() > words->rect.top() && remark->wrap);
}

void TestTicketLayout::footerBlocks() {
    TfrReport* report = Data->frMegtekint;
    report->LoadFromFile("FjLista7B.frf");
    QVERIFY(report->PrepareReport());
    const PreparedPage& page = report->PreparedPages().pages[0];
    const PreparedItem* kp1 = item(page, "A kifizetendö összegét 1223837 Ft -ot, azaz");
    QVERIFY(kp1 && kp1->rect.top() > item(page, "Szállítás a vevő gépjárművével.")->rect.bottom());
    const PreparedItem* kp2 =
        item(page, "egymillió-kettöszázhuszonháromezer-nyolcszázharminchét  00/100 Forint -ot a "
                   "mai napon átvettem.");
    QVERIFY(kp2 && kp2->rect.top() > kp1->rect.top());
    const PreparedItem* kp3 = item(page, "Az összeg átvételének idöpontja:2010.08.31.");
    QVERIFY(kp3 && kp3->rect.left() < 100);
    const PreparedItem* kp4 = item(page, QString(77, u'.'));
    QVERIFY(kp4 && kp4->rect.left() > 100 && kp4->rect.top() > kp3->rect.top());
    // The two boxes side by side, near the foot of the page.
    const PreparedItem* fixed = item(
        page, "Az átadott termék(ek)saját termelésböl, illetve annak elsödleges feldolgozásábol származik.");
    const PreparedItem* declaration = item(page, "Nyilatkozat: A termékek saját gazdaságomból származnak.");
    QVERIFY(fixed && declaration);
    QCOMPARE(fixed->rect.top(), declaration->rect.top());
    QVERIFY(fixed->rect.right() <= declaration->rect.left());
    QVERIFY(item(page, "A kifizetett összeget saját magam jegyzem be az östermelöi igazolványba."));
    QCOMPARE(page.texts().count(QString(88, u'.')), 2);
    const PreparedItem* lastCaption = item(page, "a mezögazd. tevék. folytató adóalany aláirása  ");
    QVERIFY(lastCaption && lastCaption->rect.bottom() <= 297 - 5 + 0.01);
    QVERIFY(lastCaption->rect.bottom() > 280);
}

void TestTicketLayout::transferAndNoDeclaration() {
    TicketHeader header;
    header.bszam = QStringLiteral("20000002");
    header.utal = QStringLiteral("x");
    header.fizkelt = QDate(2010, 9, 15);
    header.nyilatk = QStringLiteral("Nincs");
    insertTicket(header);
    insertLine(header.bszam, "2", animal(4, 250));
    setUpTicket(header.bszam);
    TfrReport* report = Data->frMegtekint;
    report->LoadFromFile("FjLista7B.frf");
    QVERIFY(report->PrepareReport());
    const PreparedPage& page = report->PreparedPages().pages[0];
    QVERIFY(item(page, "Fizetés módja: Átutalás"));
    QVERIFY(item(page, "Átutalás határideje:  2010.09.15."));
    QVERIFY(!page.texts().join("|").contains("A kifizetendö összegét"));
    QVERIFY(!page.texts().join("|").contains("Nyilatkozat:"));
    QCOMPARE(page.texts().count(QString(77, u'.')), 0);
    keepPdf(*report, "FjLista7B-atutalas");
}

void TestTicketLayout::ticketWithoutLines() {
    TicketHeader header;
    header.bszam = QStringLiteral("20000003");
    insertTicket(header);
    setUpTicket(header.bszam);
    TfrReport* report = Data->frMegtekint;
    report->LoadFromFile("FjLista7B.frf");
    QVERIFY(report->PrepareReport());
    const PreparedPage& page = report->PreparedPages().pages[0];
    QVERIFY(item(page, "Összesen:"));
    QCOMPARE(page.texts().count("0,00"), 4); // f, h, i totals and the tax
    QVERIFY(item(page, "azaz nulla 00/100 Forint"));
}

void TestTicketLayout::sixtyLinesOverflow() {
    TicketHeader header;
    header.bszam = QStringLiteral("20000004");
    insertTicket(header);
    for (int n = 1; n <= 60; ++n)
        insertLine(header.bszam, "2", animal(1 + n % 7, 100 + n));
    setUpTicket(header.bszam);
    TfrReport* report = Data->frMegtekint;
    report->LoadFromFile("FjLista7B.frf");
    QVERIFY(report->PrepareReport());
    const auto& pages = report->PreparedPages().pages;
    QVERIFY(pages.size() >= 2);
    int rows = 0;
    double lastRowTop = 0;
    int lastRowPage = 0;
    for (const PreparedPage& page : pages) {
        QCOMPARE(page.texts().count("FELVÁSÁRLÁSI JEGY "), 1);
        QCOMPARE(page.texts().count("1. példány: Az átvevöé"), 1);
        QCOMPARE(page.texts().count("a mezögazd. tevék. folytató adóalany aláirása  "), 1);
        const double footerTop =
            item(page, page.texts().filter("A kifizetendö összegét").value(0))->rect.top();
        for (const PreparedItem& it : page.items) {
            // Quantities of the lines: 101,000 ... 160,000 kg.
            if (it.kind == report::ObjectKind::Text && it.text.endsWith(",000") && it.rect.left() >= c.left &&
                it.rect.right() <= c.right) {
                ++rows;
                QCOMPARE(it.text, QStringLiteral("%1,000").arg(100 + rows));
                QVERIFY(it.rect.bottom() <= footerTop + 0.01); // never under the footer
                lastRowTop = it.rect.top();
                lastRowPage = int(&page - &pages.front());
            }
        }
        QCOMPARE(page.texts().contains("Összesen:"), &page == &pages.back());
    }
    QCOMPARE(rows, 60);
    // The closing block follows the last line, on its page or at the top of the next one.
    QVERIFY(lastRowPage == int(pages.size()) - 1 ? item(pages.back(), "Összesen:")->rect.top() > lastRowTop
                                                 : lastRowPage == int(pages.size()) - 2);
    keepPdf(*report, "FjLista7B-hatvan-sor");
}

void TestTicketLayout::everyLetterLoads_data() {
    QTest::addColumn<QString>("file");
    QTest::newRow("no letter") << "FjLista7.frf";
    QTest::newRow("A") << "FjLista7A.frf";
    QTest::newRow("B") << "FjLista7B.frf";
}

void TestTicketLayout::everyLetterLoads() {
    QFETCH(QString, file);
    UiRecorder recorder;
    Data->frNyomtat->LoadFromFile(file);
    QVERIFY(recorder.messages.isEmpty());
    QVERIFY(Data->frNyomtat->PrepareReport());
    const auto& pages = Data->frNyomtat->PreparedPages().pages;
    QCOMPARE(int(pages.size()), 3);
    QCOMPARE(pages[0].copyName, QStringLiteral("2. példány: Az östermelöé"));
    QVERIFY(pages[2].texts().contains("Vágóbárány"));
}

void TestTicketLayout::pdfOfThePrintedTicket() {
    if (QStandardPaths::findExecutable("pdftotext").isEmpty())
        QSKIP("pdftotext is not installed");
    TfrReport* report = Data->frNyomtat;
    report->LoadFromFile("FjLista7B.frf");
    QVERIFY(report->PrepareReport());
    QTemporaryDir dir;
    const QString path = dir.filePath("jegy.pdf");
    QVERIFY(report->ExportToPdf(path));
    const QString text = pdfText(path);
    const QStringList pages = text.split(u'\f', Qt::SkipEmptyParts);
    QCOMPARE(pages.size(), 3);
    QVERIFY(pages[0].contains("2. példány: Az östermelöé"));
    QVERIFY(pages[1].contains("3. példány: A töpéldány"));
    QVERIFY(pages[2].contains("1. példány: Az átvevöé"));
    for (const QString& page : pages) {
        QVERIFY(page.contains("FELVÁSÁRLÁSI JEGY"));
        QVERIFY(page.contains("Alföldi Állatfelvásárló Bt."));
        QVERIFY(page.contains("Kovács János"));
        // The line of the lamb, left to right.
        const QString lamb = page.split(u'\n').filter("Vágóbárány").value(0).simplified();
        QCOMPARE(lamb, QStringLiteral("Vágóbárány 0104 10 30 1 216,049 kg 720,00 875 555,50 12 105 066,66 "
                                      "980 622,16"));
        QVERIFY(page.contains("Kifizetendö:"));
        QVERIFY(page.contains("1223837"));
    }
}

void TestTicketLayout::previewOfThePrintedTicket() {
    TfrReport* report = Data->frNyomtat;
    report->LoadFromFile("FjLista7B.frf");
    UiRecorder recorder;
    bool shown = false;
    recorder.expectModal([&](QDialog& dialog) {
        shown = true;
        QCOMPARE(dialog.windowTitle(), QStringLiteral("Preview"));
        auto* pageLabel = dialog.findChild<QLabel*>("PageLabel");
        QVERIFY(pageLabel);
        QCOMPARE(pageLabel->text(), QStringLiteral("1 / 3"));
        const QString folder = qEnvironmentVariable("VARDELO_REPORT_OUTPUT");
        if (!folder.isEmpty())
            dialog.grab().save(QDir(folder).filePath("preview-1.png"));
        QTest::keyClick(&dialog, Qt::Key_PageDown);
        QTest::keyClick(&dialog, Qt::Key_PageDown);
        QCOMPARE(pageLabel->text(), QStringLiteral("3 / 3"));
        static_cast<TfrPreviewForm&>(dialog).setZoom(TfrPreviewForm::ZoomMode::Percent, 100);
        if (!folder.isEmpty())
            dialog.grab().save(QDir(folder).filePath("preview-3-100.png"));
    });
    report->ShowReport();
    QVERIFY(shown);
    QCOMPARE(recorder.modalsShown, QStringList{"frPreviewForm"});
}

// The longest names and addresses the database holds, a unit of five letters and amounts of nine digits:
// every text is printed whole (smaller where it must be), and no amount loses a digit.
void TestTicketLayout::longestValuesPrintWhole() {
    const QString name45 = QStringLiteral("Wágner-Szentgyörgyi Máriaháza Erzsébet Gizell");
    const QString town45 = QStringLiteral("Balatonfüred-Arácsi Szőlőhegyi Üdülőtelep Kft");
    const QString street45 = QStringLiteral("Kossuth Lajos utca 123. B épület 4. emelet 12");
    const QString town20 = QStringLiteral("Hódmezővásárhely-Kút");
    const QString animal75 =
        QStringLiteral("Magyar szürke szarvasmarha vágóállat, hízott bika, első osztályú minőségben");
    QCOMPARE(name45.size(), 45);
    QCOMPARE(town45.size(), 45);
    QCOMPARE(street45.size(), 45);
    QCOMPARE(town20.size(), 20);
    QCOMPARE(animal75.size(), 75);
    execQuery(
        {"UPDATE atvevo SET v_neve = :p1, v_helyseg = :p2, v_utca = :p3, v_irszam = :p4 WHERE v_akod = :p5"},
        {name45, town20, street45, QStringLiteral("12345678"), QStringLiteral("2")});
    execQuery({"UPDATE ostermelo SET o_nev = :p1, o_helysegnev = :p2, o_utca = :p3, o_szulnev = :p4,",
               "  o_anyja = :p5, o_szulhely = :p6 WHERE o_kod = :p7"},
              {name45, town45, street45, name45, name45, town45, QStringLiteral("1")});
    TicketLine big{"3", animal75, "0102 90 59", 999999, 0, 777.7785, 12};
    insertLine(kTicket, "2", big);
    execQuery({"UPDATE fjsor SET s_megy = :p1 WHERE s_megnevezes = :p2"},
              {QStringLiteral("darab"), animal75});
    setUpTicket(kTicket);

    TfrReport* report = Data->frMegtekint;
    report->LoadFromFile("FjLista7.frf");
    QVERIFY(report->PrepareReport());
    keepPdf(*report, "jegy-leghosszabb");
    const PreparedPage& page = report->PreparedPages().pages[0];

    // The largest weight a line takes, 999 999 kg, at 777,7785 Ft: 777 777 722,22 Ft, with 12 % on top.
    const QString felvar = amount(roundHalfEven(999999 * 777.7785 * 100) / 100);
    QCOMPARE(felvar, QStringLiteral("777 777 722,22"));
    for (const QString& text :
         {name45, QString("12345678  " + town20), street45, animal75, QString("darab"), felvar})
        QVERIFY2(item(page, text), qPrintable(text));
    QVERIFY(inColumn(item(page, "darab"), d));
    QVERIFY(inColumn(item(page, felvar), f));

    QImage device(1, 1, QImage::Format_RGB32);
    device.setDotsPerMeterX(qRound(600 / 0.0254));
    device.setDotsPerMeterY(qRound(600 / 0.0254));
    int numbers = 0;
    for (const PreparedItem& it : page.items) {
        if (it.kind != report::ObjectKind::Text || it.text.trimmed().isEmpty())
            continue;
        const QFontMetricsF metrics(report::reportFont(it.font), &device);
        const double inner = it.rect.width() - 2 * report::kTextPadding;
        if (report::isNumberText(it.text)) {
            ++numbers;
            // Whole, inside its box, and at a readable size.
            QVERIFY2(
                metrics.horizontalAdvance(it.text) * 25.4 / 600 <= inner,
                qPrintable(QStringLiteral("%1 at %2 pt in %3 mm").arg(it.text).arg(it.font.size).arg(inner)));
        } else if (it.text == name45 || it.text == street45 || it.text == animal75 ||
                   it.text.contains(town45)) {
            const QRectF bounds = metrics.boundingRect(QRectF(0, 0, inner * 600 / 25.4, 1e6),
                                                       it.wrap ? Qt::TextWordWrap : 0, it.text);
            QVERIFY2(bounds.width() * 25.4 / 600 <= inner + 0.2 &&
                         bounds.height() * 25.4 / 600 <= it.rect.height() + 0.2,
                     qPrintable(QStringLiteral("%1 at %2 pt").arg(it.text).arg(it.font.size)));
            QVERIFY(it.font.size >= 4.0);
        }
    }
    QVERIFY(numbers >= 10);
}

QTEST_MAIN(TestTicketLayout)
#include "test_ticket_layout.moc"
