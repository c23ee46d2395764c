// The list layouts on a demo database: producers and animals (landscape), producers paid in a period, the
// itemised return list, and the summaries per animal and per producer walked through user datasets.

#include "report_fixture.h"
#include "reports/layout_loader.h"
#include "reports/prepared_report.h"
#include "reports/report_preparer.h"
#include "reports/report_variables.h"
#include "support/test_database.h"
#include "support/ui_recorder.h"

#include <QTemporaryDir>
#include <QtTest>

using namespace vardelo;
using namespace vardelo::testing;
using vardelo::report::PreparedItem;
using vardelo::report::PreparedPage;

namespace {

const QDate kFrom(2010, 8, 1);
const QDate kTo(2010, 8, 31);

QStringList allTexts(const TfrReport& report) {
    QStringList texts;
    for (const PreparedPage& page : report.PreparedPages().pages)
        texts << page.texts();
    return texts;
}

// Index of the first text equal to the given one at or after from; -1 when there is none.
int indexOf(const QStringList& texts, const QString& text, int from = 0) {
    return int(texts.indexOf(text, from));
}

const QStringList kJoins{"  FROM fjsor LEFT JOIN fjfej ON s_bszam = f_bszam",
                         "  LEFT JOIN ostermelo ON f_ostermkod = o_kod"};

QStringList withJoins(const QString& select, const QStringList& rest) {
    return QStringList{select} + kJoins + rest;
}

const QVariantList kPeriod{kFrom, kTo, QStringLiteral("2")};

// The datasets and variables each list's window leaves for its print.
void prepareProducers() {
    openQuery(Data->ZQ30, {"SELECT * FROM ostermelo ORDER BY o_Nev, o_Szido"});
    setDefaultPrinterLandscape();
}

void prepareAnimals() {
    openQuery(Data->ZQ40, {"SELECT * FROM termek ORDER BY t_megnevezes"});
    setDefaultPrinterLandscape();
}

// Returns the period total.
QString preparePaid() {
    openQuery(
        Data->ZQ20,
        withJoins("SELECT s_aKod, SUM(s_vetelar) AS m_osszesen",
                  {"  WHERE f_fizkelt >= :p1 AND f_fizkelt <= :p2 AND f_akod = :p3", "  GROUP BY s_aKod"}),
        kPeriod);
    const QString total = wholeAmountText(Data->ZQ20->FieldByName("M_OSSZESEN").AsFloat());
    openQuery(Data->ZQ20,
              withJoins("SELECT f_ostermkod, o_nev, o_Igszam, f_prn, o_Adoazon, "
                        "SUM(s_vetelar) AS m_vetelar",
                        {"  WHERE f_fizkelt >= :p1 AND f_fizkelt <= :p2 AND f_akod = :p3",
                         "  GROUP BY f_ostermkod, o_nev, o_Igszam, f_prn, o_Adoazon"}),
              kPeriod);
    setReportVariable("v_osszesen", total);
    setReportVariable("v_tol", dateText(kFrom));
    setReportVariable("v_ig", dateText(kTo));
    return total;
}

// Returns the period total.
double prepareItemised(const QString& order = QStringLiteral("o_nev, f_fizkelt")) {
    openQuery(
        Data->ZQ20,
        withJoins("SELECT s_akod, SUM(s_vetelar) AS m_osszesen",
                  {"  WHERE f_fizkelt >= :p1 AND f_fizkelt <= :p2 AND s_akod = :p3", "  GROUP BY s_akod"}),
        kPeriod);
    const double total = Data->ZQ20->IsEmpty() ? 0 : Data->ZQ20->FieldByName("M_OSSZESEN").AsFloat();
    openQuery(Data->ZQ20,
              withJoins("SELECT *", {"  WHERE f_fizkelt >= :p1 AND f_fizkelt <= :p2 AND f_akod = :p3",
                                     "  ORDER BY " + order}),
              kPeriod);
    setReportVariable("v_osszesen", shortestNumberText(total));
    setReportVariable("v_tol", dateText(kFrom));
    setReportVariable("v_ig", dateText(kTo));
    setReportVariable("v_sorrend", QStringLiteral("östermelö"));
    return total;
}

// The handlers of the per-animal window: moving through the animals reloads the animal's lines. Returns the
// period total.
double preparePerAnimal() {
    openQuery(
        Data->ZQ80,
        withJoins("SELECT s_akod, SUM(s_vetelar) AS m_osszesen",
                  {"  WHERE f_fizkelt >= :p1 AND f_fizkelt <= :p2 AND f_akod = :p3", "  GROUP BY s_akod"}),
        kPeriod);
    const double total = Data->ZQ80->FieldByName("M_OSSZESEN").AsFloat();
    openQuery(Data->ZQ20,
              withJoins("SELECT s_megnevezes, SUM(s_netto) AS mennyiseg, SUM(s_vetelar) AS kifizetett",
                        {"  WHERE f_fizkelt >= :p1 AND f_fizkelt <= :p2 AND f_akod = :p3",
                         "  GROUP BY s_megnevezes ORDER BY s_megnevezes"}),
              kPeriod);
    auto loadLines = [] {
        openQuery(
            Data->ZQ21,
            {"SELECT * FROM fjsor JOIN fjfej ON s_bszam = f_bszam JOIN ostermelo ON f_ostermkod = o_kod",
             "  WHERE s_megnevezes = :p4 AND f_fizkelt >= :p1 AND f_fizkelt <= :p2 AND f_akod = :p3"},
            kPeriod + QVariantList{Data->ZQ20->FieldByName("S_MEGNEVEZES").AsString()});
    };
    Data->frUserDataset1->OnFirst = [loadLines] {
        Data->ZQ20->First();
        loadLines();
    };
    Data->frUserDataset1->OnNext = [loadLines] {
        Data->ZQ20->Next();
        loadLines();
    };
    Data->frUserDataset1->OnCheckEOF = [](bool& eof) { eof = Data->ZQ20->Eof(); };
    Data->frUserDataset2->OnFirst = [] { Data->ZQ21->First(); };
    Data->frUserDataset2->OnNext = [] { Data->ZQ21->Next(); };
    Data->frUserDataset2->OnCheckEOF = [](bool& eof) { eof = Data->ZQ21->Eof(); };
    setReportVariable("v_datum", QStringLiteral("Fizetési "));
    setReportVariable("v_osszesen", shortestNumberText(total));
    setReportVariable("v_tol", dateText(kFrom));
    setReportVariable("v_ig", dateText(kTo));
    setReportVariable("v_sorrend", QStringLiteral("Termékenként"));
    return total;
}

// The handlers of the per-producer window. Returns the period total.
double preparePerProducer() {
    openQuery(
        Data->ZQ80,
        withJoins("SELECT s_akod, SUM(s_vetelar) AS m_osszesen",
                  {"  WHERE f_fizkelt >= :p1 AND f_fizkelt <= :p2 AND s_akod = :p3", "  GROUP BY s_akod"}),
        kPeriod);
    const double total = Data->ZQ80->FieldByName("M_OSSZESEN").AsFloat();
    openQuery(Data->ZQ20,
              withJoins("SELECT o_kod, o_nev, SUM(s_vetelar) AS nevosszesen",
                        {"  WHERE f_fizkelt >= :p1 AND f_fizkelt <= :p2 AND s_akod = :p3",
                         "  GROUP BY o_kod, o_nev"}),
              kPeriod);
    auto loadProducer = [] {
        const QVariantList withCode = kPeriod + QVariantList{Data->ZQ20->FieldByName("O_KOD").AsString()};
        openQuery(Data->ZQ80,
                  withJoins("SELECT o_kod, SUM(s_vetelar) AS nevosszesen",
                            {"  WHERE o_kod = :p4 AND f_fizkelt >= :p1 AND f_fizkelt <= :p2",
                             "  AND f_akod = :p3 GROUP BY o_kod"}),
                  withCode);
        openQuery(Data->ZQ21,
                  withJoins("SELECT *", {"  WHERE o_kod = :p4 AND f_fizkelt >= :p1 AND f_fizkelt <= :p2",
                                         "  AND f_akod = :p3 ORDER BY s_megnevezes"}),
                  withCode);
    };
    Data->frUserDataset3->OnFirst = [loadProducer] {
        Data->ZQ20->First();
        loadProducer();
    };
    Data->frUserDataset3->OnNext = [loadProducer] {
        Data->ZQ20->Next();
        loadProducer();
    };
    Data->frUserDataset3->OnCheckEOF = [](bool& eof) { eof = Data->ZQ20->Eof(); };
    Data->frUserDataset4->OnFirst = [] { Data->ZQ21->First(); };
    Data->frUserDataset4->OnNext = [] { Data->ZQ21->Next(); };
    Data->frUserDataset4->OnCheckEOF = [](bool& eof) { eof = Data->ZQ21->Eof(); };
    setReportVariable("v_osszesen", shortestNumberText(total));
    setReportVariable("v_tol", dateText(kFrom));
    setReportVariable("v_ig", dateText(kTo));
    setReportVariable("v_sorrend", QStringLiteral(" Östermelönként "));
    return total;
}

// The longest values the database holds: names and addresses of 45 letters (one producer in capitals, as many
// clerks type them), animal names of 75 letters, two of which differ only in their last letter.
const QString kName45 = QStringLiteral("Wágner-Szentgyörgyi Máriaháza Erzsébet Gizell");
const QString kTown45 = QStringLiteral("Balatonfüred-Arácsi Szőlőhegyi Üdülőtelep Kft");
const QString kStreet45 = QStringLiteral("Kossuth Lajos utca 123. B épület 4. emelet 12");
const QString kAnimal75 =
    QStringLiteral("Magyar szürke szarvasmarha vágóállat, hízott bika, első osztályú minőségben");
const QString kAnimal75b =
    QStringLiteral("Magyar szürke szarvasmarha vágóállat, hízott bika, első osztályú minőségbőr");

// A whole text: at its printed size it fits its box (on its lines when it wraps), so the painter cuts
// nothing.
bool printedWhole(const PreparedItem& item, QString* why) {
    QImage device(1, 1, QImage::Format_RGB32);
    device.setDotsPerMeterX(qRound(600 / 0.0254));
    device.setDotsPerMeterY(qRound(600 / 0.0254));
    const QFontMetricsF metrics(report::reportFont(item.font), &device);
    const double pxPerMm = 600 / 25.4;
    const double inner = item.rect.width() - 2 * report::kTextPadding;
    const QRectF bounds =
        metrics.boundingRect(QRectF(0, 0, inner * pxPerMm, 1e6), item.wrap ? Qt::TextWordWrap : 0, item.text);
    const double width = bounds.width() / pxPerMm;
    const double height = bounds.height() / pxPerMm;
    // One line a little lower than its font has always printed whole; more lines must fit the box.
    const bool oneLine = bounds.height() < metrics.lineSpacing() * 1.5;
    if (width <= inner + 0.05 && (oneLine || height <= item.rect.height() + 0.2))
        return true;
    *why = QStringLiteral("\"%1\" at %2 pt needs %3 x %4 mm, has %5 x %6")
               .arg(item.text)
               .arg(item.font.size)
               .arg(width, 0, 'f', 1)
               .arg(height, 0, 'f', 1)
               .arg(inner, 0, 'f', 1)
               .arg(item.rect.height(), 0, 'f', 1);
    return false;
}

} // namespace

class TestListLayouts : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void producers();
    void animals();
    void producersPaid();
    void itemisedList();
    void itemisedListOverflows();
    void perAnimal();
    void perProducer();
    void captionsFitTheirBoxes_data();
    void captionsFitTheirBoxes();
    void longestValuesPrintWhole_data();
    void longestValuesPrintWhole();
    void continuationPagesCarryTheGroup_data();
    void continuationPagesCarryTheGroup();

private:
    void print(const QString& file, const QString& keep);
    TestDatabase* db_ = nullptr;
};

void TestListLayouts::init() {
    report::clearVariables();
    db_ = new TestDatabase(true);
    copyLayouts();
    auto ticket = [](const QString& bszam, const QString& okod, QDate fiz, const QString& prn,
                     const QList<TicketLine>& lines) {
        TicketHeader h;
        h.bszam = bszam;
        h.okod = okod;
        h.fizkelt = fiz;
        h.felvkelt = fiz.addDays(-1);
        h.kelt = fiz;
        h.prn = prn;
        insertTicket(h);
        for (const TicketLine& line : lines)
            insertLine(bszam, "2", line);
    };
    ticket("20000001", "1", QDate(2010, 8, 5), "I", {animal(1, 250), animal(5, 40.5, 1.5)});
    ticket("20000002", "2", QDate(2010, 8, 12), "I", {animal(2, 120), animal(1, 300, 2)});
    ticket("20000003", "1", QDate(2010, 8, 20), " ", {animal(4, 180)});
    ticket("20000004", "3", QDate(2010, 8, 25), "I", {animal(6, 500), animal(7, 320), animal(1, 150)});
    ticket("20000005", "4", QDate(2010, 9, 2), "I", {animal(3, 400)}); // paid in September
}

void TestListLayouts::cleanup() {
    delete db_;
    db_ = nullptr;
}

void TestListLayouts::print(const QString& file, const QString& keep) {
    UiRecorder recorder;
    Data->frNyomtat->LoadFromFile(file);
    QVERIFY2(recorder.messages.isEmpty(), qPrintable(recorder.lastMessage()));
    QVERIFY(Data->frNyomtat->PrepareReport());
    keepPdf(*Data->frNyomtat, keep);
    // Every page renders to PDF.
    QTemporaryDir dir;
    QVERIFY(Data->frNyomtat->ExportToPdf(dir.filePath("lista.pdf")));
}

void TestListLayouts::producers() {
    prepareProducers();
    print("FjLista2.frf", "FjLista2");
    const auto& pages = Data->frNyomtat->PreparedPages().pages;
    QCOMPARE(int(pages.size()), 1);
    QCOMPARE(pages[0].orientation, QPageLayout::Landscape);
    const QStringList texts = pages[0].texts();
    int last = -1;
    for (const char* name : {"Kovács János", "Molnár Ferenc", "Nagy Éva", "Ördögh Ödön", "Szűcs Ágnes"}) {
        const int at = indexOf(texts, name, last + 1);
        QVERIFY2(at > last, name);
        last = at;
    }
    QVERIFY(texts.contains("6100 Kiskunfélegyháza, Kölcsey u. 8."));
    QVERIFY(texts.contains("Fekete Éva")); // name at birth
    QVERIFY(texts.contains("Tóth Erzsébet"));
    QVERIFY(texts.contains("Szeged, 1970.11.02."));
    QVERIFY(texts.contains("104027192222222200000000"));
    QVERIFY(texts.contains("Összesen: 5 őstermelő"));
    QVERIFY(texts.contains("Oldal: 1 / 1"));
    // Both lines of a producer fit the paper's width.
    for (const PreparedItem& item : pages[0].items)
        QVERIFY(item.rect.right() <= 297 - 5 + 0.01);
}

void TestListLayouts::animals() {
    prepareAnimals();
    print("FjLista6.frf", "FjLista6");
    const auto& pages = Data->frNyomtat->PreparedPages().pages;
    QCOMPARE(pages[0].orientation, QPageLayout::Landscape);
    const QStringList texts = pages[0].texts();
    QCOMPARE(texts.filter(QRegularExpression("^(Borjú|Pecsenyecsirke|Süldő|Vágóbárány|Vágókacsa|Vágómarha|"
                                             "Vágósertés)$")),
             QStringList(
                 {"Borjú", "Pecsenyecsirke", "Süldő", "Vágóbárány", "Vágókacsa", "Vágómarha", "Vágósertés"}));
    const PreparedItem* price = pages[0].findText("395,50");
    QVERIFY(price && price->align == report::HAlign::Right);
    QVERIFY(texts.contains("0102 90 59"));
    QVERIFY(texts.contains("Összesen: 7 állat"));
}

void TestListLayouts::producersPaid() {
    const QString total = preparePaid();
    print("FjLista3.frf", "FjLista3");
    const PreparedPage& page = Data->frNyomtat->PreparedPages().pages[0];
    const QStringList texts = page.texts();
    QVERIFY(texts.contains("Fizetési időszak: 2010.08.01. - 2010.08.31."));
    // Kovács János has a printed and an unprinted ticket in the period: two rows.
    QCOMPARE(texts.count("Kovács János"), 2);
    QVERIFY(texts.contains("Nagy Éva"));
    QVERIFY(texts.contains("Ördögh Ödön"));
    QVERIFY(!texts.contains("Szűcs Ágnes")); // paid in September
    QVERIFY(texts.contains("4."));
    QVERIFY(!texts.contains("5."));
    const QString totalText = fixedNumberText(total.toDouble(), 0, true) + " Ft";
    const PreparedItem* totalItem = page.findText(totalText);
    QVERIFY2(totalItem && totalItem->font.bold, qPrintable(totalText));
}

void TestListLayouts::itemisedList() {
    const double total = prepareItemised();
    print("FjLista4.frf", "FjLista4");
    const QStringList texts = allTexts(*Data->frNyomtat);
    QVERIFY(texts.contains("Sorrend: östermelö"));
    QVERIFY(texts.contains("8 tétel"));
    QVERIFY(texts.contains(fixedNumberText(total, 2, true) + " Ft"));
    // Kovács János's three lines come first, then Nagy Éva's, then Ördögh Ödön's.
    QCOMPARE(texts.filter(QRegularExpression("^(Kovács János|Nagy Éva|Ördögh Ödön)$")),
             QStringList({"Kovács János", "Kovács János", "Kovács János", "Nagy Éva", "Nagy Éva",
                          "Ördögh Ödön", "Ördögh Ödön", "Ördögh Ödön"}));
    QVERIFY(texts.contains("39,893")); // 40.5 kg less 1.5 %
}

void TestListLayouts::itemisedListOverflows() {
    TicketHeader h;
    h.bszam = QStringLiteral("20000006");
    h.okod = QStringLiteral("5");
    h.fizkelt = QDate(2010, 8, 30);
    insertTicket(h);
    for (int n = 0; n < 70; ++n)
        insertLine(h.bszam, "2", animal(1 + n % 7, 50 + n));
    prepareItemised("s_Bszam, s_megnevezes");
    setReportVariable("v_sorrend", QStringLiteral("zozed szám"));
    print("FjLista4.frf", "FjLista4-hosszu");
    const auto& pages = Data->frNyomtat->PreparedPages().pages;
    QVERIFY(pages.size() >= 2);
    for (const PreparedPage& page : pages) {
        QCOMPARE(page.texts().count("Tételes lista"), 1);
        QCOMPARE(page.texts().count("Megnevezés"), 1); // the headings again on each page
        QVERIFY(
            page.texts().contains(QStringLiteral("Oldal: %1 / %2").arg(page.pageNumber).arg(pages.size())));
    }
    QVERIFY(pages.back().texts().contains("78 tétel"));
}

void TestListLayouts::perAnimal() {
    const double total = preparePerAnimal();
    print("FjLista5.frf", "FjLista5");
    const QStringList texts = allTexts(*Data->frNyomtat);
    QVERIFY(texts.contains("Összesítő lista: Termékenként"));
    QVERIFY(texts.contains("Fizetési dátum szerint: 2010.08.01. - 2010.08.31."));
    // Each group is followed by its own lines: the pork group holds three lines of three producers.
    const int pork = indexOf(texts, "Vágósertés");
    const int next = indexOf(texts, "Vágókacsa");
    QVERIFY(pork >= 0 && next < pork); // groups in name order: Vágókacsa comes before Vágósertés
    const QStringList porkLines = texts.mid(pork);
    QCOMPARE(porkLines.filter(QRegularExpression("^(Kovács János|Nagy Éva|Ördögh Ödön)$")).size(), 3);
    const int lamb = indexOf(texts, "Vágóbárány");
    QVERIFY(lamb >= 0 && texts.mid(lamb, 20).contains("39,893"));
    QVERIFY(texts.contains("Mennyiség: 39,893"));
    QVERIFY(texts.contains(fixedNumberText(total, 2, true) + " Ft"));
    QVERIFY(!texts.contains("Szűcs Ágnes"));
}

void TestListLayouts::perProducer() {
    const double total = preparePerProducer();
    print("FjLista8.frf", "FjLista8");
    const QStringList texts = allTexts(*Data->frNyomtat);
    QVERIFY(texts.contains("Összesítő lista: Östermelönként "));
    // Kovács János: three lines (pork, calf, lamb) and his total under them, before the next producer.
    const int kovacs = indexOf(texts, "Kovács János");
    const int nagy = indexOf(texts, "Nagy Éva");
    QVERIFY(kovacs >= 0 && nagy >= 0);
    const int first = std::min(kovacs, nagy);
    const int second = std::max(kovacs, nagy);
    const QStringList group = texts.mid(first, second - first);
    QCOMPARE(group.count("Őstermelő összesen:"), 1);
    QCOMPARE(group.filter(QRegularExpression("^(Vágósertés|Borjú|Vágóbárány|Süldő)$")).size(),
             first == kovacs ? 3 : 2);
    QCOMPARE(texts.count("Őstermelő összesen:"), 3);
    QVERIFY(texts.contains(fixedNumberText(total, 2, true) + " Ft"));
}

void TestListLayouts::captionsFitTheirBoxes_data() {
    QTest::addColumn<QString>("file");
    const QDir layouts(QDir(sourceFolder()).filePath(QStringLiteral("layouts")));
    for (const QString& file : layouts.entryList({QStringLiteral("*.frf")}, QDir::Files))
        QTest::newRow(qPrintable(file)) << layouts.filePath(file);
}

// Every fixed caption of a layout (column titles, labels) fits its box on one line; the painter cuts off what
// does not.
void TestListLayouts::captionsFitTheirBoxes() {
    QFETCH(QString, file);
    const report::LayoutLoadResult loaded = report::loadLayoutFile(file);
    QVERIFY(loaded.ok());
    constexpr double dpi = 1200.0;
    QImage device(1, 1, QImage::Format_RGB32);
    device.setDotsPerMeterX(qRound(dpi / 0.0254));
    device.setDotsPerMeterY(qRound(dpi / 0.0254));
    QStringList cut;
    for (const report::Band& band : loaded.layout.bands) {
        for (const report::LayoutObject& object : band.objects) {
            const QString caption = QString(object.text).remove(QRegularExpression(QStringLiteral("\\s+$")));
            if (object.kind != report::ObjectKind::Text || object.wrap || caption.isEmpty() ||
                caption.contains(QLatin1Char('[')))
                continue;
            const QFontMetricsF metrics(report::reportFont(object.font), &device);
            const double needed = metrics.horizontalAdvance(caption) * 25.4 / dpi + 2 * report::kTextPadding;
            if (needed > object.width)
                cut << QStringLiteral("line %1: \"%2\" needs %3 mm, has %4")
                           .arg(object.line)
                           .arg(caption)
                           .arg(needed, 0, 'f', 1)
                           .arg(object.width);
        }
    }
    QVERIFY2(cut.isEmpty(), qPrintable(cut.join(QStringLiteral("; "))));
}

namespace {

// Producer 1 with the longest values in mixed case, producer 2 in capitals; two animals of 75 letters that
// differ in their last letters, in the catalogue and on the August tickets of both; amounts of the largest
// weight a line takes.
void storeLongestValues() {
    const QString account = QStringLiteral("12345678-12345678-12345678");
    for (const auto& [code, upper] : {std::pair{"1", false}, std::pair{"2", true}}) {
        auto v = [upper](const QString& text) { return upper ? text.toUpper() : text; };
        execQuery({"UPDATE ostermelo SET o_nev = :p1, o_helysegnev = :p2, o_utca = :p3, o_szulnev = :p4,",
                   "  o_anyja = :p5, o_szulhely = :p6, o_bankszla = :p7, o_irszam = :p8 WHERE o_kod = :p9"},
                  {v(kName45), v(kTown45), v(kStreet45), v(kName45), v(kName45), v(kTown45), account,
                   QStringLiteral("6000"), QString::fromLatin1(code)});
    }
    for (const auto& [code, name] : {std::pair{"8", kAnimal75}, std::pair{"9", kAnimal75b}})
        execQuery({"INSERT INTO termek (t_kod, t_megnevezes, t_vtsz, t_ear, t_megy, t_kompmerteke, t_akod)",
                   "  VALUES (:p1, :p2, :p3, :p4, :p5, :p6, :p7)"},
                  {QString::fromLatin1(code), name, QStringLiteral("0102 90 59"), 9999.99,
                   QStringLiteral("kilogramm."), 12, QStringLiteral("2")});
    insertLine("20000001", "2", {"8", kAnimal75, "0102 90 59", 999999, 0, 999.99, 12});
    insertLine("20000001", "2", {"9", kAnimal75b, "0102 90 59", 999999, 0, 999.99, 12});
    insertLine("20000002", "2", {"8", kAnimal75, "0102 90 59", 999999, 0, 999.99, 12});
}

} // namespace

void TestListLayouts::longestValuesPrintWhole_data() {
    QTest::addColumn<QString>("file");
    QTest::newRow("producers") << "FjLista2";
    QTest::newRow("animals") << "FjLista6";
    QTest::newRow("producers paid") << "FjLista3";
    QTest::newRow("itemised list") << "FjLista4";
    QTest::newRow("per animal") << "FjLista5";
    QTest::newRow("per producer") << "FjLista8";
}

// Every list prints the longest names and addresses whole, wrapped or smaller where they must be, at a size
// that can still be read; every other text (a number above all) is whole too; the two animals that differ
// only at the end can be told apart on paper.
void TestListLayouts::longestValuesPrintWhole() {
    QFETCH(QString, file);
    storeLongestValues();
    if (file == u"FjLista2")
        prepareProducers();
    else if (file == u"FjLista6")
        prepareAnimals();
    else if (file == u"FjLista3")
        preparePaid();
    else if (file == u"FjLista4")
        prepareItemised();
    else if (file == u"FjLista5")
        preparePerAnimal();
    else
        preparePerProducer();
    print(file + ".frf", file + "-leghosszabb");

    const QStringList longest{kName45,   kName45.toUpper(),   kTown45,   kTown45.toUpper(),
                              kStreet45, kStreet45.toUpper(), kAnimal75, kAnimal75b};
    QStringList cut;
    QStringList seen;
    double smallest = 100;
    for (const PreparedPage& page : Data->frNyomtat->PreparedPages().pages) {
        for (const PreparedItem& item : page.items) {
            if (item.kind != report::ObjectKind::Text || item.text.trimmed().isEmpty())
                continue;
            QString why;
            if (!printedWhole(item, &why))
                cut << why;
            QVERIFY2(item.text != report::kNumberDoesNotFit, qPrintable(file));
            for (const QString& value : longest) {
                if (item.text.contains(value)) {
                    seen << value;
                    smallest = std::min(smallest, item.font.size);
                }
            }
        }
    }
    QVERIFY2(cut.isEmpty(), qPrintable(cut.join(QStringLiteral("\n"))));
    QVERIFY2(smallest >= 5.5, qPrintable(QStringLiteral("%1: %2 pt").arg(file).arg(smallest)));
    qInfo("%s: the longest values at %.1f pt at the smallest", qPrintable(file), smallest);
    if (file == u"FjLista6" || file == u"FjLista4" || file == u"FjLista5" || file == u"FjLista8") {
        QVERIFY(seen.contains(kAnimal75));
        QVERIFY(seen.contains(kAnimal75b));
    }
    if (file != u"FjLista6") {
        QVERIFY2(seen.contains(kName45), qPrintable(file));
        QVERIFY2(seen.contains(kName45.toUpper()), qPrintable(file));
    }
}

void TestListLayouts::continuationPagesCarryTheGroup_data() {
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("heading");
    QTest::newRow("per animal") << "FjLista5"
                                << "Vágósertés (folytatás)";
    QTest::newRow("per producer") << "FjLista8"
                                  << "Kovács János (folytatás)";
}

// A group whose lines run onto further pages starts each of them with its heading and "(folytatás)" and the
// column headings, so a loose page can be read on its own; a heading never stands alone at a page's foot.
void TestListLayouts::continuationPagesCarryTheGroup() {
    QFETCH(QString, file);
    QFETCH(QString, heading);
    TicketHeader h;
    h.bszam = QStringLiteral("20000006");
    h.okod = QStringLiteral("1");
    h.fizkelt = QDate(2010, 8, 30);
    insertTicket(h);
    for (int n = 0; n < 130; ++n)
        insertLine(h.bszam, "2", animal(1, 50 + n));
    if (file == u"FjLista5")
        preparePerAnimal();
    else
        preparePerProducer();
    print(file + ".frf", file + "-folytatas");
    const auto& pages = Data->frNyomtat->PreparedPages().pages;
    QVERIFY2(pages.size() >= 3, qPrintable(QString::number(pages.size())));
    int continued = 0;
    for (const PreparedPage& page : pages) {
        const QString where = QStringLiteral("page %1").arg(page.pageNumber);
        const QStringList texts = page.texts();
        if (texts.contains(heading)) {
            ++continued;
            QVERIFY2(page.pageNumber > 1, qPrintable(where));
            // The heading again, then the column headings.
            const int at = int(texts.indexOf(heading));
            QCOMPARE(texts.indexOf("Bszám", at), at + 1);
        }
        // Every line of the page stands under a group heading of the page (a boxed band: a group, or one
        // that runs on), and no heading is the last thing on its page.
        double firstHeading = 1e9;
        double firstColumns = 1e9;
        double lastText = 0;
        std::vector<QRectF> boxes;
        for (const PreparedItem& item : page.items) {
            if (item.kind == report::ObjectKind::Rect) {
                boxes.push_back(item.rect);
                firstHeading = std::min(firstHeading, item.rect.top());
            } else if (item.kind == report::ObjectKind::Text && item.text == u"Bszám") {
                firstColumns = std::min(firstColumns, item.rect.top());
            }
            if (item.kind == report::ObjectKind::Text && !item.text.startsWith(u"Nyomtatva") &&
                !item.text.startsWith(u"Oldal"))
                lastText = std::max(lastText, item.rect.top());
        }
        QVERIFY2(firstHeading < firstColumns, qPrintable(where));
        for (const QRectF& box : boxes)
            QVERIFY2(lastText >= box.bottom() - 0.01, qPrintable(where));
    }
    QVERIFY2(continued >= 2, qPrintable(QString::number(continued)));
}

QTEST_MAIN(TestListLayouts)
#include "test_list_layouts.moc"
