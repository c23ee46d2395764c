// The data module's report objects and report datasets on a real database, and printing through a printer.

#include "report_fixture.h"
#include "reports/report_error.h"
#include "reports/report_painter.h"
#include "reports/report_variables.h"
#include "support/test_database.h"

#include <QPrinter>
#include <QTemporaryDir>
#include <QtTest>

using namespace vardelo;
using namespace vardelo::testing;

namespace {

void writeLayout(const QString& name, const QString& bands) {
    QFile file(name);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write((QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                               "<report format=\"vardelo-frf\" version=\"1\">\n") +
                bands + QStringLiteral("\n</report>\n"))
                   .toUtf8());
}

QString rowLayout(const QString& dataset, const QString& text) {
    return QStringLiteral("<band type=\"master-data\" height=\"5\" dataset=\"%1\"><text x=\"0\" y=\"0\" "
                          "width=\"100\" height=\"5\">%2</text></band>\n"
                          "<band type=\"master-footer\" height=\"5\"><text x=\"0\" y=\"0\" width=\"100\" "
                          "height=\"5\">vége [ZQ20.\"S_MEGNEVEZES\"]</text></band>")
        .arg(dataset, text);
}

int pdfPages(const QString& path) {
    QProcess info;
    info.start(QStandardPaths::findExecutable("pdfinfo"), {path});
    info.waitForFinished(30000);
    const QString out = QString::fromUtf8(info.readAllStandardOutput());
    const QRegularExpressionMatch m = QRegularExpression("Pages:\\s+(\\d+)").match(out);
    return m.hasMatch() ? m.captured(1).toInt() : -1;
}

} // namespace

class TestReportDatasets : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void reportObjectsOfTheDataModule();
    void dbDataSetWalksItsQuery_data();
    void dbDataSetWalksItsQuery();
    void closedOrEmptyQueryIsAnEmptyWalk();
    void fieldThroughReportDatasetName();
    void unknownFieldOrComponentRaises_data();
    void unknownFieldOrComponentRaises();
    void printsThroughAPrinter();

private:
    TestDatabase* db_ = nullptr;
};

void TestReportDatasets::init() {
    report::clearVariables();
    db_ = new TestDatabase(true);
    TicketHeader h;
    h.bszam = QStringLiteral("20000001");
    insertTicket(h);
    insertLine(h.bszam, "2", animal(1, 100));
    insertLine(h.bszam, "2", animal(2, 200));
    insertLine(h.bszam, "2", animal(3, 300));
    openQuery(Data->ZQ20, {"SELECT * FROM fjsor ORDER BY id_fjsor"});
}

void TestReportDatasets::cleanup() {
    delete db_;
    db_ = nullptr;
}

void TestReportDatasets::reportObjectsOfTheDataModule() {
    QCOMPARE(Data->frNyomtat->objectName(), QStringLiteral("frNyomtat"));
    QCOMPARE(Data->frMegtekint->objectName(), QStringLiteral("frMegtekint"));
    for (TfrReport* report : {Data->frNyomtat, Data->frMegtekint}) {
        QVERIFY(report->ModalPreview);
        QCOMPARE(report->PreviewButtons, pbZoom | pbExit);
    }
    QVERIFY(Data->frMegtekint->ViewCopyOnly);
    QVERIFY(!Data->frNyomtat->ViewCopyOnly);
    QCOMPARE(Data->frDBDataSet1->DataSet, static_cast<TDataSet*>(Data->ZQ20));
    QCOMPARE(Data->frDBDataSet2->DataSet, static_cast<TDataSet*>(Data->ZQ30));
    QCOMPARE(Data->frDBDataSet3->DataSet, static_cast<TDataSet*>(Data->ZQ20));
    QCOMPARE(Data->frDBDataSet4->DataSet, static_cast<TDataSet*>(Data->ZQ20));
    QCOMPARE(Data->frDBDataSet6->DataSet, static_cast<TDataSet*>(Data->ZQ40));
    QCOMPARE(Data->frUserDataset4->objectName(), QStringLiteral("frUserDataset4"));
}

void TestReportDatasets::dbDataSetWalksItsQuery_data() {
    QTest::addColumn<QString>("dataset");
    QTest::newRow("1") << "frDBDataSet1";
    QTest::newRow("3") << "frDBDataSet3";
    QTest::newRow("4") << "frDBDataSet4";
}

void TestReportDatasets::dbDataSetWalksItsQuery() {
    QFETCH(QString, dataset);
    writeLayout("lista.frf", rowLayout(dataset, "[LINE#]. [ZQ20.\"S_MEGNEVEZES\"] [ZQ20.\"S_NETTO\"]"));
    Data->frNyomtat->LoadFromFile("lista.frf");
    QVERIFY(Data->frNyomtat->PrepareReport());
    // The footer still reads the last row, where the walk stopped.
    QCOMPARE(Data->frNyomtat->PreparedPages().pages[0].texts(),
             QStringList({"1. Vágósertés 100", "2. Süldő 200", "3. Vágómarha 300", "vége Vágómarha"}));
    // A second preparation walks again from the first row.
    QVERIFY(Data->frNyomtat->PrepareReport());
    QCOMPARE(Data->frNyomtat->PreparedPages().pages[0].texts().size(), 4);
}

void TestReportDatasets::closedOrEmptyQueryIsAnEmptyWalk() {
    writeLayout("lista.frf", rowLayout("frDBDataSet1", "[ZQ20.\"S_MEGNEVEZES\"]"));
    Data->frNyomtat->LoadFromFile("lista.frf");
    openQuery(Data->ZQ20, {"SELECT * FROM fjsor WHERE s_bszam = :p1"}, {QStringLiteral(" ")});
    QVERIFY(Data->frNyomtat->PrepareReport());
    QCOMPARE(Data->frNyomtat->PreparedPages().pages[0].texts(), QStringList{"vége  "}); // null is one blank
    Data->ZQ20->Close();
    QVERIFY(Data->frNyomtat->PrepareReport());
    QCOMPARE(Data->frNyomtat->PreparedPages().pages[0].texts(), QStringList{"vége  "});
}

void TestReportDatasets::fieldThroughReportDatasetName() {
    openQuery(Data->ZQ30, {"SELECT * FROM ostermelo ORDER BY o_kod"});
    writeLayout("lista.frf",
                "<band type=\"master-data\" height=\"5\" dataset=\"frDBDataSet2\"><text x=\"0\" y=\"0\" "
                "width=\"100\" height=\"5\">[frDBDataSet2.\"O_NEV\"], [ZQ30.O_SZIDO]</text></band>");
    Data->frNyomtat->LoadFromFile("lista.frf");
    QVERIFY(Data->frNyomtat->PrepareReport());
    const QStringList texts = Data->frNyomtat->PreparedPages().pages[0].texts();
    QCOMPARE(texts.size(), 5);
    QCOMPARE(texts[0], QStringLiteral("Kovács János, 1961.03.14."));
}

void TestReportDatasets::unknownFieldOrComponentRaises_data() {
    QTest::addColumn<QString>("expression");
    QTest::newRow("field") << "[ZQ20.\"S_NINCS\"]";
    QTest::newRow("component") << "[ZQ99.\"S_NETTO\"]";
}

void TestReportDatasets::unknownFieldOrComponentRaises() {
    QFETCH(QString, expression);
    writeLayout("lista.frf", rowLayout("frDBDataSet1", expression));
    Data->frNyomtat->LoadFromFile("lista.frf");
    QVERIFY_THROWS_EXCEPTION(EReportError, Data->frNyomtat->PrepareReport());
}

void TestReportDatasets::printsThroughAPrinter() {
    if (QStandardPaths::findExecutable("pdfinfo").isEmpty())
        QSKIP("pdfinfo is not installed");
    copyLayouts();
    setUpTicket("20000001");
    Data->frNyomtat->LoadFromFile("FjLista7B.frf");
    QVERIFY(Data->frNyomtat->PrepareReport());
    QTemporaryDir dir;
    {
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(dir.filePath("all.pdf"));
        report::printReport(Data->frNyomtat->PreparedPages(), printer);
    }
    QCOMPARE(pdfPages(dir.filePath("all.pdf")), 3);
    {
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(dir.filePath("range.pdf"));
        printer.setPageRanges(QPageRanges::fromString("2-3"));
        report::printReport(Data->frNyomtat->PreparedPages(), printer);
    }
    QCOMPARE(pdfPages(dir.filePath("range.pdf")), 2);
    const QString text = pdfText(dir.filePath("range.pdf"));
    QVERIFY(!text.contains("2. példány"));
    QVERIFY(text.contains("3. példány: A töpéldány"));
    QVERIFY(text.contains("1. példány: Az átvevöé"));
}

QTEST_MAIN(TestReportDatasets)
#include "test_report_datasets.moc"
