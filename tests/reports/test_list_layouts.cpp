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
    openQuery(Data->ZQ30, {"SELECT * FROM ostermelo ORDER BY o_Nev, o_Szido"});
    setDefaultPrinterLandscape();
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
    openQuery(Data->ZQ40, {"SELECT * FROM termek ORDER BY t_megnevezes"});
    setDefaultPrinterLandscape();
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
    const QVariantList params{kFrom, kTo, QStringLiteral("2")};
    openQuery(
        Data->ZQ20,
        withJoins("SELECT s_aKod, SUM(s_vetelar) AS m_osszesen",
                  {"  WHERE f_fizkelt >= :p1 AND f_fizkelt <= :p2 AND f_akod = :p3", "  GROUP BY s_aKod"}),
        params);
    const QString total = wholeAmountText(Data->ZQ20->FieldByName("M_OSSZESEN").AsFloat());
    openQuery(Data->ZQ20,
              withJoins("SELECT f_ostermkod, o_nev, o_Igszam, f_prn, o_Adoazon, "
                        "SUM(s_vetelar) AS m_vetelar",
                        {"  WHERE f_fizkelt >= :p1 AND f_fizkelt <= :p2 AND f_akod = :p3",
                         "  GROUP BY f_ostermkod, o_nev, o_Igszam, f_prn, o_Adoazon"}),
              params);
    setReportVariable("v_osszesen", total);
    setReportVariable("v_tol", dateText(kFrom));
    setReportVariable("v_ig", dateText(kTo));
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
    const QVariantList params{kFrom, kTo, QStringLiteral("2")};
    openQuery(
        Data->ZQ20,
        withJoins("SELECT s_akod, SUM(s_vetelar) AS m_osszesen",
                  {"  WHERE f_fizkelt >= :p1 AND f_fizkelt <= :p2 AND s_akod = :p3", "  GROUP BY s_akod"}),
        params);
    const double total = Data->ZQ20->FieldByName("M_OSSZESEN").AsFloat();
    openQuery(Data->ZQ20,
              withJoins("SELECT *", {"  WHERE f_fizkelt >= :p1 AND f_fizkelt <= :p2 AND f_akod = :p3",
                                     "  ORDER BY o_nev, f_fizkelt"}),
              params);
    setReportVariable("v_osszesen", shortestNumberText(total));
    setReportVariable("v_tol", dateText(kFrom));
    setReportVariable("v_ig", dateText(kTo));
    setReportVariable("v_sorrend", QStringLiteral("östermelö"));
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
    openQuery(Data->ZQ20,
              withJoins("SELECT *", {"  WHERE f_fizkelt >= :p1 AND f_fizkelt <= :p2 AND f_akod = :p3",
                                     "  ORDER BY s_Bszam, s_megnevezes"}),
              {kFrom, kTo, QStringLiteral("2")});
    setReportVariable("v_osszesen", QStringLiteral("0"));
    setReportVariable("v_tol", dateText(kFrom));
    setReportVariable("v_ig", dateText(kTo));
    setReportVariable("v_sorrend", QStringLiteral("zozed szám"));
    print("FjLista4.frf", "FjLista4-hosszu");
    const auto& pages = Data->frNyomtat->PreparedPages().pages;
    QCOMPARE(int(pages.size()), 2);
    for (const PreparedPage& page : pages) {
        QCOMPARE(page.texts().count("Tételes lista"), 1);
        QCOMPARE(page.texts().count("Megnevezés"), 1); // the headings again on each page
        QVERIFY(page.texts().contains(QStringLiteral("Oldal: %1 / 2").arg(page.pageNumber)));
    }
    QVERIFY(pages[1].texts().contains("78 tétel"));
}

void TestListLayouts::perAnimal() {
    const QVariantList params{kFrom, kTo, QStringLiteral("2")};
    openQuery(
        Data->ZQ80,
        withJoins("SELECT s_akod, SUM(s_vetelar) AS m_osszesen",
                  {"  WHERE f_fizkelt >= :p1 AND f_fizkelt <= :p2 AND f_akod = :p3", "  GROUP BY s_akod"}),
        params);
    const double total = Data->ZQ80->FieldByName("M_OSSZESEN").AsFloat();
    openQuery(Data->ZQ20,
              withJoins("SELECT s_megnevezes, SUM(s_netto) AS mennyiseg, SUM(s_vetelar) AS kifizetett",
                        {"  WHERE f_fizkelt >= :p1 AND f_fizkelt <= :p2 AND f_akod = :p3",
                         "  GROUP BY s_megnevezes ORDER BY s_megnevezes"}),
              params);
    // The handlers of the list window: moving through the animals reloads the animal's lines.
    auto loadLines = [params] {
        openQuery(
            Data->ZQ21,
            {"SELECT * FROM fjsor JOIN fjfej ON s_bszam = f_bszam JOIN ostermelo ON f_ostermkod = o_kod",
             "  WHERE s_megnevezes = :p4 AND f_fizkelt >= :p1 AND f_fizkelt <= :p2 AND f_akod = :p3"},
            params + QVariantList{Data->ZQ20->FieldByName("S_MEGNEVEZES").AsString()});
    };
    Data->frUserDataset1->OnFirst = [&] {
        Data->ZQ20->First();
        loadLines();
    };
    Data->frUserDataset1->OnNext = [&] {
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
    const QVariantList params{kFrom, kTo, QStringLiteral("2")};
    openQuery(
        Data->ZQ80,
        withJoins("SELECT s_akod, SUM(s_vetelar) AS m_osszesen",
                  {"  WHERE f_fizkelt >= :p1 AND f_fizkelt <= :p2 AND s_akod = :p3", "  GROUP BY s_akod"}),
        params);
    const double total = Data->ZQ80->FieldByName("M_OSSZESEN").AsFloat();
    openQuery(Data->ZQ20,
              withJoins("SELECT o_kod, o_nev, SUM(s_vetelar) AS nevosszesen",
                        {"  WHERE f_fizkelt >= :p1 AND f_fizkelt <= :p2 AND s_akod = :p3",
                         "  GROUP BY o_kod, o_nev"}),
              params);
    auto loadProducer = [params] {
        const QVariantList withCode = params + QVariantList{Data->ZQ20->FieldByName("O_KOD").AsString()};
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
    Data->frUserDataset3->OnFirst = [&] {
        Data->ZQ20->First();
        loadProducer();
    };
    Data->frUserDataset3->OnNext = [&] {
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

QTEST_MAIN(TestListLayouts)
#include "test_list_layouts.moc"
