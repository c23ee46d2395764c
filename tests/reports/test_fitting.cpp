// Texts too long for their boxes: a number is never cut (smaller, or "###"), a name marked shrink is printed
// whole; and pages prepared for a printer with wider margins keep their footer on the paper.

#include "memory_data.h"
#include "reports/layout_loader.h"
#include "reports/report_objects.h"
#include "reports/report_painter.h"
#include "reports/report_preparer.h"
#include "reports/report_variables.h"

#include <QFile>
#include <QFontMetricsF>
#include <QImage>
#include <QTemporaryDir>
#include <QtTest>

using namespace vardelo;
using namespace vardelo::report;
using vardelo::testing::MemoryEnvironment;
using vardelo::testing::MemoryTable;

namespace {

Layout parse(const QString& body, const QString& page = QStringLiteral("<page size=\"A4\"/>")) {
    const QByteArray xml = (QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                                           "<report format=\"vardelo-frf\" version=\"1\">\n") +
                            page + u'\n' + body + QStringLiteral("\n</report>\n"))
                               .toUtf8();
    LayoutLoadResult result = parseLayout(xml);
    if (!result.ok())
        qFatal("layout: %s (%d:%d)", qPrintable(result.message), result.line, result.column);
    return result.layout;
}

// The width of a text as printed at 600 dpi, in millimetres: independent of the engine's own measuring.
double printedWidth(const PreparedItem& item) {
    QImage device(1, 1, QImage::Format_RGB32);
    device.setDotsPerMeterX(qRound(600 / 0.0254));
    device.setDotsPerMeterY(qRound(600 / 0.0254));
    const QFontMetricsF metrics(reportFont(item.font), &device);
    return metrics.horizontalAdvance(item.text) * 25.4 / 600;
}

const PreparedItem& onlyText(const PreparedReport& report) {
    static PreparedItem none;
    for (const PreparedItem& item : report.pages.at(0).items)
        if (item.kind == ObjectKind::Text)
            return item;
    return none;
}

} // namespace

class TestFitting : public QObject {
    Q_OBJECT
private slots:
    void init() { clearVariables(); }
    void numberIsNeverCut_data();
    void numberIsNeverCut();
    void numberDetection_data();
    void numberDetection();
    void longNameShrinksOrWraps_data();
    void longNameShrinksOrWraps();
    void widerPrinterMarginsKeepTheFooter();
    void printableMarginsInMillimetres();
};

void TestFitting::numberIsNeverCut_data() {
    QTest::addColumn<double>("width");
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("printed"); // the full text, or "###"
    QTest::addColumn<bool>("smaller");

    QTest::newRow("fits as it is") << 28.0 << 1234.5 << QStringLiteral("1 234,50") << false;
    QTest::newRow("too wide: smaller, all digits")
        << 24.0 << 777777777.0 << QStringLiteral("777 777 777,00") << true;
    QTest::newRow("negative, too wide") << 20.0 << -98765432.1 << QStringLiteral("-98 765 432,10") << true;
    QTest::newRow("far too wide: ###") << 9.0 << 777777777.0 << QStringLiteral("###") << true;
}

void TestFitting::numberIsNeverCut() {
    QFETCH(double, width);
    QFETCH(double, value);
    QFETCH(QString, printed);
    QFETCH(bool, smaller);
    const Layout layout =
        parse(QStringLiteral("<band type=\"title\" height=\"5\"><text x=\"10\" y=\"0\" width=\"%1\" "
                             "height=\"5\" align=\"right\" format=\"n2\">[v_osszeg]</text></band>")
                  .arg(width));
    setVariable("v_osszeg", value);
    MemoryEnvironment env;
    const PreparedReport report = prepareReport(layout, env);
    const PreparedItem& item = onlyText(report);
    QCOMPARE(item.text, printed);
    if (printed != QStringLiteral("###")) {
        QCOMPARE(item.font.size < 10.0, smaller);
        QVERIFY(item.font.size >= 10.0 * kSmallestShrink - 1e-9);
        QVERIFY2(printedWidth(item) <= width - 2 * kTextPadding,
                 qPrintable(QStringLiteral("%1 mm at %2 pt").arg(printedWidth(item)).arg(item.font.size)));
    }
}

void TestFitting::numberDetection_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("number");
    QTest::newRow("grouped with comma") << QStringLiteral("1 234 567,89") << true;
    QTest::newRow("no-break spaces") << QStringLiteral("1\u00a0234") << true;
    QTest::newRow("negative") << QStringLiteral("-12,5") << true;
    QTest::newRow("whole") << QStringLiteral("15") << true;
    QTest::newRow("date") << QStringLiteral("2010.08.31.") << false;
    QTest::newRow("tax number") << QStringLiteral("12345678-1-12") << false;
    QTest::newRow("percent") << QStringLiteral("15 %") << false;
    QTest::newRow("name") << QStringLiteral("Kiss Pál") << false;
    QTest::newRow("blank") << QStringLiteral(" ") << false;
}

void TestFitting::numberDetection() {
    QFETCH(QString, text);
    QFETCH(bool, number);
    QCOMPARE(isNumberText(text), number);
}

void TestFitting::longNameShrinksOrWraps_data() {
    QTest::addColumn<QString>("attributes");
    QTest::addColumn<double>("height");
    QTest::addColumn<bool>("whole");

    QTest::newRow("shrink") << QStringLiteral("shrink=\"yes\"") << 4.5 << true;
    QTest::newRow("wrap and shrink in two lines' room")
        << QStringLiteral("shrink=\"yes\" wrap=\"yes\"") << 9.0 << true;
    QTest::newRow("neither: printed at its size") << QString() << 4.5 << false;
}

void TestFitting::longNameShrinksOrWraps() {
    QFETCH(QString, attributes);
    QFETCH(double, height);
    QFETCH(bool, whole);
    // 45 letters, as long as a name may be.
    const QString name = QStringLiteral("Wágner-Szentgyörgyi Máriaháza Erzsébet Gizell");
    QCOMPARE(name.size(), 45);
    const Layout layout =
        parse(QStringLiteral("<band type=\"title\" height=\"10\"><text x=\"35\" y=\"0\" width=\"55\" "
                             "height=\"%1\" bold=\"yes\" %2>[v_nev]</text></band>")
                  .arg(height)
                  .arg(attributes));
    setVariable("v_nev", name);
    MemoryEnvironment env;
    const PreparedReport report = prepareReport(layout, env);
    const PreparedItem& item = onlyText(report);
    QCOMPARE(item.text, name);
    if (!whole) {
        QCOMPARE(item.font.size, 10.0);
        return;
    }
    // On one line it must be smaller; with two lines' room it may keep its size.
    QVERIFY(item.wrap || item.font.size < 10.0);
    QVERIFY(item.font.size >= 4.0);
    const double inner = 55 - 2 * kTextPadding;
    if (!item.wrap) {
        QVERIFY2(printedWidth(item) <= inner, qPrintable(QString::number(printedWidth(item))));
    } else {
        // Two lines' room: larger than on one line, and every line in the box.
        QVERIFY(item.font.size > fittingFontSize(item.font, QSizeF(inner, 4.5), name, false));
        QImage device(1, 1, QImage::Format_RGB32);
        device.setDotsPerMeterX(qRound(600 / 0.0254));
        device.setDotsPerMeterY(qRound(600 / 0.0254));
        const QFontMetricsF metrics(reportFont(item.font), &device);
        const QRectF bounds =
            metrics.boundingRect(QRectF(0, 0, inner * 600 / 25.4, 1e6), Qt::TextWordWrap, name);
        QVERIFY(bounds.height() * 25.4 / 600 <= height + 0.2);
        QVERIFY(bounds.width() * 25.4 / 600 <= inner + 0.2);
    }
}

void TestFitting::widerPrinterMarginsKeepTheFooter() {
    const QString page = QStringLiteral("<page size=\"A4\" margins=\"0 0 0 0\" printer-margins=\"yes\"/>");
    const Layout layout = parse(
        QStringLiteral("<band type=\"page-header\" height=\"10\"><text x=\"0\" y=\"0\" width=\"100\" "
                       "height=\"5\">FEJ</text></band>\n"
                       "<band type=\"master-data\" height=\"10\" dataset=\"sorok\"><text x=\"0\" y=\"0\" "
                       "width=\"100\" height=\"5\">sor [ZQ20.\"N\"]</text></band>\n"
                       "<band type=\"page-footer\" height=\"86\"><text x=\"0\" y=\"81\" width=\"98\" "
                       "height=\"4.5\">aláírás</text></band>"),
        page);
    MemoryTable rows("ZQ20", {"N"});
    for (int i = 1; i <= 40; ++i)
        rows.addRow({i});
    MemoryEnvironment env;
    env.add("ZQ20", &rows, "sorok");

    for (const double margin : {5.0, 12.0, 20.0}) {
        PrepareOptions options;
        options.printerMargins = QMarginsF(margin, margin, margin, margin);
        const PreparedReport report = prepareReport(layout, env, options);
        int printed = 0;
        for (const PreparedPage& p : report.pages) {
            const PreparedItem* footer = p.findText(QStringLiteral("aláírás"));
            QVERIFY(footer);
            QVERIFY2(
                footer->rect.bottom() <= 297.0 - margin + 1e-6,
                qPrintable(
                    QStringLiteral("margin %1: footer ends at %2").arg(margin).arg(footer->rect.bottom())));
            QVERIFY(p.findText(QStringLiteral("FEJ"))->rect.top() >= margin - 1e-6);
            for (const PreparedItem& item : p.items) {
                QVERIFY(item.rect.left() >= margin - 1e-6);
                if (item.text.startsWith(QStringLiteral("sor "))) {
                    ++printed;
                    QVERIFY(item.rect.bottom() <= footer->rect.top());
                }
            }
        }
        QCOMPARE(printed, 40);
    }

    // The report object prepares pages of their own for the printer, and keeps the pages it shows.
    TfrReport report(QStringLiteral("frNyomtat"), nullptr);
    report.Environment = &env;
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("lista.frf"));
    {
        QFile out(file);
        QVERIFY(out.open(QIODevice::WriteOnly));
        out.write(QStringLiteral(
                      "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<report format=\"vardelo-frf\" "
                      "version=\"1\">\n%1\n<band type=\"page-footer\" height=\"10\"><text x=\"0\" y=\"5\" "
                      "width=\"98\" height=\"5\">láb</text></band></report>\n")
                      .arg(page)
                      .toUtf8());
    }
    report.LoadFromFile(file);
    QVERIFY(report.PrepareReport());
    const PreparedReport forPrinter = report.PrepareForPrinter(QMarginsF(17, 17, 17, 17));
    QCOMPARE(report.PreparedPages().pages.at(0).findText(QStringLiteral("láb"))->rect.bottom(), 297.0 - 5);
    QCOMPARE(forPrinter.pages.at(0).findText(QStringLiteral("láb"))->rect.bottom(), 297.0 - 17);
}

void TestFitting::printableMarginsInMillimetres() {
    // Printers give their margins in points: half an inch is 12.7 mm.
    const QPageLayout layout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(36, 36, 36, 36),
                             QPageLayout::Point, QMarginsF(36, 18, 36, 54));
    const QMarginsF m = printableMargins(layout);
    QCOMPARE(qRound(m.left() * 10), 127);
    QCOMPARE(qRound(m.top() * 100), 635);
    QCOMPARE(qRound(m.bottom() * 100), 1905);
    const QPageLayout mm(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(10, 10, 10, 10),
                         QPageLayout::Millimeter, QMarginsF(4, 4, 4, 8));
    QCOMPARE(printableMargins(mm), QMarginsF(4, 4, 4, 8));
}

QTEST_MAIN(TestFitting)
#include "test_fitting.moc"
