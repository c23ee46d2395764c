// The report objects without a database: loading layout files by name, the engine-wide variables, the preview
// window, user datasets and the PDF export.

#include "reports/report_error.h"
#include "reports/report_objects.h"
#include "reports/report_preview.h"
#include "reports/report_service.h"
#include "reports/report_variables.h"
#include "support/ui_recorder.h"

#include <QDir>
#include <QFile>
#include <QMenu>
#include <QPrintDialog>
#include <QPrinter>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QToolButton>
#include <QtTest>

using namespace vardelo;

namespace {

void writeFile(const QString& path, const QByteArray& data) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(data);
}

QByteArray layout(const QString& bands, const QString& head = QString()) {
    return (QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                           "<report format=\"vardelo-frf\" version=\"1\">\n<page size=\"A4\"/>\n") +
            head + bands + QStringLiteral("\n</report>\n"))
        .toUtf8();
}

QByteArray textLayout(const QString& text) {
    return layout(QStringLiteral("<band type=\"title\" height=\"5\"><text x=\"0\" y=\"0\" width=\"100\" "
                                 "height=\"5\">%1</text></band>")
                      .arg(text));
}

} // namespace

class TestReportObjects : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void missingFileRaises();
    void bareNameFoundWhateverItsCase_data();
    void bareNameFoundWhateverItsCase();
    void installedLayoutUnlessTheWorkingFolderHasOne();
    void wrongFormatShowsErrorAndEmptiesReport();
    void faultyLayoutNamesLineAndColumn();
    void variablesOutliveLoads();
    void previewWindow();
    void ctrlPOpensPrintDialog();
    void emptyReportShowsNothing();
    void userDatasetWalk();
    void viewReportShowsViewCopy();
    void exportToPdf();
    void printToPdfKeepsThePreview();

private:
    QTemporaryDir* dir_ = nullptr;
    QString previousFolder_;
    QObject* owner_ = nullptr;
    TfrReport* report_ = nullptr;
};

void TestReportObjects::init() {
    report::clearVariables();
    dir_ = new QTemporaryDir;
    previousFolder_ = QDir::currentPath();
    QDir::setCurrent(dir_->path());
    owner_ = new QObject;
    report_ = new TfrReport(QStringLiteral("frNyomtat"), owner_);
}

void TestReportObjects::cleanup() {
    delete owner_;
    QDir::setCurrent(previousFolder_);
    delete dir_;
}

void TestReportObjects::missingFileRaises() {
    UiRecorder recorder;
    try {
        report_->LoadFromFile("FjLista9.frf");
        QFAIL("no exception");
    } catch (const EReportError& e) {
        QCOMPARE(e.Message(), QStringLiteral("Cannot open file FjLista9.frf"));
        QCOMPARE(QString::fromUtf8(e.what()), QStringLiteral("Cannot open file FjLista9.frf"));
    }
    QVERIFY(recorder.messages.isEmpty());
}

// Layout names come from Windows, where case never mattered: the letter of a purchaser's version may be
// lower-case while the file's is upper-case, and the other way round.
void TestReportObjects::bareNameFoundWhateverItsCase_data() {
    QTest::addColumn<QString>("fileOnDisk");
    QTest::addColumn<QString>("asked");
    QTest::newRow("lower-case letter asked") << "FjLista7A.frf"
                                             << "FjLista7a.frf";
    QTest::newRow("upper-case letter asked") << "FjLista7b.frf"
                                             << "FjLista7B.frf";
    QTest::newRow("whole name in other case") << "fjlista2.FRF"
                                              << "FjLista2.frf";
    QTest::newRow("exact") << "FjLista6.frf"
                           << "FjLista6.frf";
}

void TestReportObjects::bareNameFoundWhateverItsCase() {
    QFETCH(QString, fileOnDisk);
    QFETCH(QString, asked);
    writeFile(fileOnDisk, textLayout(fileOnDisk));
    UiRecorder recorder;
    report_->LoadFromFile(asked);
    QVERIFY(recorder.messages.isEmpty());
    QVERIFY(report_->PrepareReport());
    QVERIFY(report_->PreparedPages().pages[0].texts().contains(fileOnDisk));
}

// The installed layout is printed until the firm puts its own into the working folder.
void TestReportObjects::installedLayoutUnlessTheWorkingFolderHasOne() {
    QTemporaryDir installed;
    const QByteArray saved = qgetenv("VARDELO_SHARE_DIR");
    qputenv("VARDELO_SHARE_DIR", QFile::encodeName(installed.path()));
    writeFile(QDir(installed.path()).filePath("FjLista7A.frf"), textLayout("telepített"));
    UiRecorder recorder;
    report_->LoadFromFile("FjLista7a.frf");
    QVERIFY(report_->PrepareReport());
    QVERIFY(report_->PreparedPages().pages[0].texts().contains("telepített"));
    writeFile("FjLista7A.frf", textLayout("saját"));
    report_->LoadFromFile("FjLista7A.frf");
    QVERIFY(report_->PrepareReport());
    QVERIFY(report_->PreparedPages().pages[0].texts().contains("saját"));
    QVERIFY(recorder.messages.isEmpty());
    qputenv("VARDELO_SHARE_DIR", saved);
}

void TestReportObjects::wrongFormatShowsErrorAndEmptiesReport() {
    writeFile("FjLista2.frf", textLayout("Lista"));
    writeFile("FjLista6.frf", QByteArray("TFRF\x01\x02 régi formátum", 20));
    UiRecorder recorder;
    report_->LoadFromFile("FjLista2.frf");
    QVERIFY(!report_->Layout().isEmpty());
    report_->LoadFromFile("FjLista6.frf");
    QCOMPARE(recorder.messages.size(), 1);
    QCOMPARE(recorder.messages[0].text, QStringLiteral("Unsupported FRF format"));
    QCOMPARE(recorder.messages[0].caption, vardelo::errorCaption());
    QVERIFY(report_->Layout().isEmpty());
    QVERIFY(!report_->PrepareReport());
}

void TestReportObjects::faultyLayoutNamesLineAndColumn() {
    writeFile("FjLista3.frf",
              layout("<band type=\"title\" height=\"5\">\n  <text x=\"0\" y=\"0\" width=\"1\" "
                     "height=\"5\" colour=\"red\">x</text></band>"));
    UiRecorder recorder;
    report_->LoadFromFile("FjLista3.frf");
    QCOMPARE(recorder.messages.size(), 1);
    QCOMPARE(recorder.messages[0].caption, vardelo::errorCaption());
    QVERIFY2(recorder.messages[0].text.contains("FjLista3.frf, 5. sor"),
             qPrintable(recorder.messages[0].text));
    QVERIFY(report_->Layout().isEmpty());
}

void TestReportObjects::variablesOutliveLoads() {
    writeFile("a.frf", textLayout("[v_tol]-[v_ig] [v_osszesen]"));
    writeFile("b.frf", textLayout("[v_tol]-[v_ig] [v_osszesen]"));
    setReportVariable("v_tol", QStringLiteral("2010.08.01."));
    setReportVariable("v_ig", QStringLiteral("2010.08.31."));
    report_->LoadFromFile("a.frf");
    setReportVariable("v_osszesen", 1234.5);
    TfrReport other("frMegtekint", owner_);
    other.LoadFromFile("b.frf");
    report_->LoadFromFile("b.frf");
    QVERIFY(report_->PrepareReport());
    QCOMPARE(report_->PreparedPages().pages[0].texts(), QStringList{"2010.08.01.-2010.08.31. 1234,5"});
    QVERIFY(other.PrepareReport());
    QCOMPARE(other.PreparedPages().pages[0].texts(), QStringList{"2010.08.01.-2010.08.31. 1234,5"});
}

void TestReportObjects::previewWindow() {
    writeFile("FjLista2.frf", textLayout("Őstermelők"));
    report_->LoadFromFile("FjLista2.frf");
    UiRecorder recorder;
    bool checked = false;
    recorder.expectModal([&](QDialog& dialog) {
        QCOMPARE(dialog.windowTitle(), QStringLiteral("Preview"));
        auto* zoom = dialog.findChild<QToolButton*>("pbZoom");
        auto* exit = dialog.findChild<QPushButton*>("pbExit");
        QVERIFY(zoom && zoom->isVisible());
        QVERIFY(exit && exit->isVisible());
        // The clerk's language on the buttons and the zoom menu, as everywhere else.
        QCOMPARE(zoom->text(), QStringLiteral("Nagyítás"));
        QCOMPARE(exit->text(), QStringLiteral("Bezárás"));
        QStringList zoomChoices;
        for (QAction* action : zoom->menu()->actions())
            zoomChoices << action->text();
        QCOMPARE(zoomChoices.mid(0, 2), QStringList({"Egész oldal", "Oldalszélesség"}));
        // Zoom and Exit are the only buttons.
        int visibleButtons = 0;
        for (QAbstractButton* button : dialog.findChildren<QAbstractButton*>())
            visibleButtons += button->isVisible() ? 1 : 0;
        QCOMPARE(visibleButtons, 2);
        auto& form = static_cast<TfrPreviewForm&>(dialog);
        const double pageWidth = form.pixelsPerMm();
        form.setZoom(TfrPreviewForm::ZoomMode::WholePage);
        QVERIFY(form.pixelsPerMm() < pageWidth);
        QTest::mouseClick(exit, Qt::LeftButton);
        QVERIFY(!dialog.isVisible());
        checked = true;
    });
    report_->ShowReport();
    QVERIFY(checked);
    QCOMPARE(recorder.modalsShown, QStringList{"frPreviewForm"});
}

void TestReportObjects::ctrlPOpensPrintDialog() {
    writeFile("FjLista2.frf", textLayout("Őstermelők"));
    report_->LoadFromFile("FjLista2.frf");
    UiRecorder recorder;
    recorder.expectModal([&](QDialog& dialog) { QTest::keyClick(&dialog, Qt::Key_P, Qt::ControlModifier); });
    report_->ShowReport();
    QCOMPARE(recorder.modalsShown, QStringList({"frPreviewForm", "PrintDialog"}));
}

void TestReportObjects::emptyReportShowsNothing() {
    UiRecorder recorder;
    report_->ShowReport(); // nothing loaded
    QVERIFY(recorder.modalsShown.isEmpty());
}

void TestReportObjects::userDatasetWalk() {
    writeFile(
        "FjLista5.frf",
        layout("<band type=\"master-data\" height=\"5\" dataset=\"frUserDataset1\"><text x=\"0\" y=\"0\" "
               "width=\"50\" height=\"5\">[v_csoport]</text></band>\n"
               "<band type=\"detail-data\" height=\"5\" dataset=\"frUserDataset2\"><text x=\"5\" y=\"0\" "
               "width=\"50\" height=\"5\">- [v_tetel]</text></band>\n"));
    // Groups with their lines, walked by handlers the way the list windows walk their queries.
    const QList<QPair<QString, QStringList>> groups{
        {"Borjú", {"b1", "b2"}}, {"Kacsa", {}}, {"Süldő", {"s1"}}};
    QStringList calls;
    int group = 0;
    int line = 0;
    auto* groupsSet = new TfrUserDataset("frUserDataset1", owner_);
    auto* linesSet = new TfrUserDataset("frUserDataset2", owner_);
    auto setGroup = [&] {
        if (group < groups.size())
            setReportVariable("v_csoport", groups[group].first);
    };
    groupsSet->OnFirst = [&] {
        calls << "1.first";
        group = 0;
        setGroup();
    };
    groupsSet->OnNext = [&] {
        calls << "1.next";
        ++group;
        setGroup();
    };
    groupsSet->OnCheckEOF = [&](bool& eof) {
        calls << "1.eof";
        eof = group >= groups.size();
    };
    auto setLine = [&] {
        if (line < groups[group].second.size())
            setReportVariable("v_tetel", groups[group].second[line]);
    };
    linesSet->OnFirst = [&] {
        calls << "2.first";
        line = 0;
        setLine();
    };
    linesSet->OnNext = [&] {
        calls << "2.next";
        ++line;
        setLine();
    };
    linesSet->OnCheckEOF = [&](bool& eof) {
        calls << "2.eof";
        eof = line >= groups[group].second.size();
    };
    report_->LoadFromFile("FjLista5.frf");
    QVERIFY(report_->PrepareReport());
    QCOMPARE(report_->PreparedPages().pages[0].texts(),
             QStringList({"Borjú", "- b1", "- b2", "Kacsa", "Süldő", "- s1"}));
    QCOMPARE(calls,
             QStringList({"1.first", "1.eof",  "2.first", "2.eof",   "2.eof",  "2.next", "2.eof", "2.next",
                          "2.eof",   "1.next", "1.eof",   "2.first", "2.eof",  "1.next", "1.eof", "2.first",
                          "2.eof",   "2.eof",  "2.next",  "2.eof",   "1.next", "1.eof"}));

    // A user dataset without handlers is an empty walk.
    groupsSet->OnCheckEOF = nullptr;
    QVERIFY(report_->PrepareReport());
    QVERIFY(report_->PreparedPages().pages[0].texts().isEmpty());
}

void TestReportObjects::viewReportShowsViewCopy() {
    writeFile(
        "FjLista7.frf",
        layout("<band type=\"page-header\" height=\"5\"><text x=\"0\" y=\"0\" width=\"50\" height=\"5\">"
               "[COPYNAME]</text></band>",
               "<copies><copy name=\"2. példány\"/><copy name=\"3. példány\"/>"
               "<copy name=\"1. példány\" view=\"yes\"/></copies>\n"));
    TfrReport view("frMegtekint", owner_);
    view.ViewCopyOnly = true;
    view.LoadFromFile("FjLista7.frf");
    report_->LoadFromFile("FjLista7.frf");
    QVERIFY(view.PrepareReport());
    QVERIFY(report_->PrepareReport());
    QCOMPARE(view.PreparedPages().pages.size(), size_t(1));
    QCOMPARE(view.PreparedPages().pages[0].texts(), QStringList{"1. példány"});
    QCOMPARE(report_->PreparedPages().pages.size(), size_t(3));
}

void TestReportObjects::exportToPdf() {
    writeFile("FjLista2.frf", textLayout("Őstermelők"));
    report_->LoadFromFile("FjLista2.frf");
    QVERIFY(report_->PrepareReport());
    QString error;
    QVERIFY2(report_->ExportToPdf(dir_->filePath("lista.pdf"), &error), qPrintable(error));
    QFile pdf(dir_->filePath("lista.pdf"));
    QVERIFY(pdf.open(QIODevice::ReadOnly));
    QVERIFY(pdf.read(5) == "%PDF-");
}

// "Nyomtatás fájlba (PDF)" from the preview: the pages the clerk saw, with the layout's margins (the 5 mm the
// preview gives a layout that asks for the printer's), and as many of them.
void TestReportObjects::printToPdfKeepsThePreview() {
    if (QStandardPaths::findExecutable("pdftotext").isEmpty() ||
        QStandardPaths::findExecutable("pdfinfo").isEmpty())
        QSKIP("poppler-utils is not installed");
    writeFile(
        "FjLista2.frf",
        QStringLiteral(
            "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<report format=\"vardelo-frf\" version=\"1\">\n"
            "<page size=\"A4\" margins=\"0 0 0 0\" printer-margins=\"yes\"/>\n"
            "<band type=\"page-header\" height=\"6\"><text x=\"0\" y=\"0\" width=\"100\" height=\"5\">"
            "Fejlec</text></band>\n"
            "<band type=\"master-data\" height=\"7\" dataset=\"frUserDataset1\"><text x=\"0\" y=\"0\" "
            "width=\"100\" height=\"6\">Sor [v_sor]</text></band>\n"
            "<band type=\"page-footer\" height=\"6\"><text x=\"0\" y=\"0\" width=\"100\" height=\"5\">"
            "Lablec</text></band>\n</report>\n")
            .toUtf8());
    int row = 0;
    auto* rows = new TfrUserDataset("frUserDataset1", owner_);
    rows->OnFirst = [&] {
        row = 1;
        setReportVariable("v_sor", row);
    };
    rows->OnNext = [&] { setReportVariable("v_sor", ++row); };
    rows->OnCheckEOF = [&](bool& eof) { eof = row > 300; };
    report_->LoadFromFile("FjLista2.frf");
    QVERIFY(report_->PrepareReport());
    const int shownPages = int(report_->PreparedPages().pages.size());
    QVERIFY(shownPages > 5);

    const QString path = dir_->filePath("nyomtatas.pdf");
    UiRecorder recorder;
    recorder.expectModal([](QDialog& preview) { QTest::keyClick(&preview, Qt::Key_P, Qt::ControlModifier); });
    recorder.expectModal([&](QDialog& dialog) {
        QPrinter* printer = static_cast<QPrintDialog&>(dialog).printer();
        printer->setOutputFormat(QPrinter::PdfFormat);
        printer->setOutputFileName(path);
        dialog.done(QDialog::Accepted);
    });
    report_->ShowReport();
    QCOMPARE(recorder.modalsShown, QStringList({"frPreviewForm", "PrintDialog"}));

    QProcess info;
    info.start(QStandardPaths::findExecutable("pdfinfo"), {path});
    QVERIFY(info.waitForFinished(30000));
    const QString infoText = QString::fromUtf8(info.readAllStandardOutput());
    const QRegularExpressionMatch pages =
        QRegularExpression(QStringLiteral("Pages:\\s+(\\d+)")).match(infoText);
    QVERIFY2(pages.hasMatch(), qPrintable(infoText));
    QCOMPARE(pages.captured(1).toInt(), shownPages);

    // Every word at least 5 mm (14.17 pt) from the paper's edges.
    QProcess words;
    words.start(QStandardPaths::findExecutable("pdftotext"), {"-bbox", path, "-"});
    QVERIFY(words.waitForFinished(30000));
    const QString boxes = QString::fromUtf8(words.readAllStandardOutput());
    const double margin = 5 * 72 / 25.4 - 0.5;
    const double pageHeight = 841.89;
    int checked = 0;
    const QRegularExpression word(
        QStringLiteral("xMin=\"([\\d.]+)\" yMin=\"([\\d.]+)\" xMax=\"[\\d.]+\" yMax=\"([\\d.]+)\">(\\w+)"));
    for (auto it = word.globalMatch(boxes); it.hasNext(); ++checked) {
        const QRegularExpressionMatch m = it.next();
        QVERIFY2(m.captured(1).toDouble() >= margin && m.captured(2).toDouble() >= margin &&
                     m.captured(3).toDouble() <= pageHeight - margin,
                 qPrintable(m.captured(0)));
    }
    QVERIFY(checked > 300);
}

QTEST_MAIN(TestReportObjects)
#include "test_report_objects.moc"
