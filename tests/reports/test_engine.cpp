// The report engine on rows in memory: expressions and formats, the layout loader, page preparation and PDF.

#include "data/decimal.h"
#include "memory_data.h"
#include "reports/layout_loader.h"
#include "reports/report_expression.h"
#include "reports/report_painter.h"
#include "reports/report_preparer.h"
#include "reports/report_variables.h"

#include <QDate>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

using namespace vardelo;
using namespace vardelo::report;
using vardelo::testing::MemoryEnvironment;
using vardelo::testing::MemoryTable;

namespace {

class MapResolver : public ValueResolver {
public:
    QHash<QString, QVariant> variables;
    QHash<QString, QVariant> fields; // "T.F"
    QVariant variable(const QString& name) override { return variables.value(name); }
    QVariant field(const QString& component, const QString& field) override {
        const QString key = component + u'.' + field;
        if (!fields.contains(key))
            throw EReportError(QStringLiteral("Ismeretlen mező: %1").arg(key));
        return fields.value(key);
    }
};

QByteArray layoutXml(const QString& body, const QString& page = QStringLiteral("<page size=\"A4\"/>")) {
    return (QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                           "<report format=\"vardelo-frf\" version=\"1\">\n") +
            page + u'\n' + body + QStringLiteral("\n</report>\n"))
        .toUtf8();
}

Layout parse(const QString& body, const QString& page = QStringLiteral("<page size=\"A4\"/>")) {
    LayoutLoadResult result = parseLayout(layoutXml(body, page));
    if (!result.ok())
        qFatal("layout: %s (%d:%d)", qPrintable(result.message), result.line, result.column);
    return result.layout;
}

double topOf(const PreparedPage& page, const QString& text) {
    const PreparedItem* item = page.findText(text);
    return item ? item->rect.top() : -1;
}

} // namespace

class TestEngine : public QObject {
    Q_OBJECT

private slots:
    void init() { clearVariables(); }

    void formats_data();
    void formats();
    void expressions_data();
    void expressions();
    void exactArithmetic();
    void expressionErrors_data();
    void expressionErrors();
    void variablesAreEngineWide();

    void loadValidLayout();
    void loadMissingFile();
    void loadWrongFormat_data();
    void loadWrongFormat();
    void loadFaultNamesLineAndColumn_data();
    void loadFaultNamesLineAndColumn();

    void overflowRepeatsHeaderAndFooter();
    void masterDetailWalk();
    void continuationCarriesTheMasterRow();
    void headingKeepsWithItsLines();
    void groupsByCondition();
    void copiesAndPageNumbers();
    void unknownDatasetRaises();
    void stretchedTextGrowsItsBand();
    void pdfCarriesTheTexts();
};

void TestEngine::formats_data() {
    QTest::addColumn<QVariant>("value");
    QTest::addColumn<QString>("format");
    QTest::addColumn<QString>("expected");
    QTest::newRow("two decimals grouped") << QVariant(1234567.891) << "n2"
                                          << "1 234 567,89";
    QTest::newRow("three decimals grouped") << QVariant(1234567.891) << "n3"
                                            << "1 234 567,891";
    QTest::newRow("two decimals small") << QVariant(5.0) << "n2"
                                        << "5,00";
    QTest::newRow("negative two decimals") << QVariant(-1234.5) << "n2"
                                           << "-1 234,50";
    QTest::newRow("shortest fraction") << QVariant(12.5) << "g"
                                       << "12,5";
    QTest::newRow("shortest whole") << QVariant(7.0) << "g"
                                    << "7";
    QTest::newRow("general number") << QVariant(0.25) << ""
                                    << "0,25";
    QTest::newRow("null is one blank") << QVariant() << "n2"
                                       << " ";
    QTest::newRow("null general") << QVariant() << ""
                                  << " ";
    QTest::newRow("date") << QVariant(QDate(2010, 8, 31)) << ""
                          << "2010.08.31.";
    QTest::newRow("date format") << QVariant(QDate(2010, 1, 5)) << "d"
                                 << "2010.01.05.";
    QTest::newRow("text stays") << QVariant(QStringLiteral("kg")) << "n2"
                                << "kg";
    QTest::newRow("number text takes the format") << QVariant(QStringLiteral("8330")) << "n2"
                                                  << "8 330,00";
    QTest::newRow("text with general format") << QVariant(QStringLiteral("8330")) << ""
                                              << "8330";
    // Exact decimals are rounded exactly, half away from zero, whatever their binary value would be.
    auto exact = [](const char* text) { return QVariant::fromValue(*Decimal::parse(QLatin1String(text))); };
    QTest::newRow("exact half fillér") << exact("13885.665") << "n2"
                                       << "13 885,67";
    QTest::newRow("exact half fillér, 1,005") << exact("1.005") << "n2"
                                              << "1,01";
    QTest::newRow("exact negative half") << exact("-2.675") << "n2"
                                         << "-2,68";
    QTest::newRow("exact shortest") << exact("405328.50") << "g"
                                    << "405328,5";
    QTest::newRow("exact quantity") << exact("558.0000") << "n3"
                                    << "558,000";
    QTest::newRow("exact sum text") << QVariant(QStringLiteral("405328,5")) << "n2"
                                    << "405 328,50";
}

void TestEngine::formats() {
    QFETCH(QVariant, value);
    QFETCH(QString, format);
    QFETCH(QString, expected);
    TextFormat f;
    if (format == u"n2" || format == u"n3") {
        f.kind = ValueFormat::Fixed;
        f.decimals = format.back().digitValue();
    } else if (format == u"g") {
        f.kind = ValueFormat::Shortest;
    } else if (format == u"d") {
        f.kind = ValueFormat::Date;
    }
    QCOMPARE(formatValue(value, f), expected);
}

void TestEngine::expressions_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("format");
    QTest::addColumn<QString>("expected");
    QTest::newRow("literal only") << "Összesen: "
                                  << ""
                                  << "Összesen: ";
    QTest::newRow("variable sum") << "[v_far+v_kar]"
                                  << "n2"
                                  << "11 234,57";
    QTest::newRow("precedence") << "[2+3*4]"
                                << ""
                                << "14";
    QTest::newRow("parentheses") << "[(2+3)*4]"
                                 << ""
                                 << "20";
    QTest::newRow("unary minus") << "[-v_kar+1]"
                                 << ""
                                 << "-233,567";
    QTest::newRow("division") << "[ZQ20.\"S_NETTO\" * ZQ20.\"S_EAR\" / 100]"
                              << "n2"
                              << "6,20";
    QTest::newRow("division by zero is null") << "[v_far/0]"
                                              << "n2"
                                              << " ";
    QTest::newRow("null field counts as 0") << "[ZQ20.\"S_NULL\"+5]"
                                            << ""
                                            << "5";
    QTest::newRow("null field alone is a blank") << "[ZQ20.\"S_NULL\"]"
                                                 << ""
                                                 << " ";
    QTest::newRow("unset variable is a blank") << "[v_nincs]"
                                               << ""
                                               << " ";
    QTest::newRow("field with quotes") << "[ZQ20.\"S_MEGY\"]"
                                       << ""
                                       << "kg";
    QTest::newRow("field without quotes") << "[ZQ20.S_MEGY]"
                                          << ""
                                          << "kg";
    QTest::newRow("two parts in one text") << "[v_szja] %  [ZQ20.\"S_MEGY\"]"
                                           << ""
                                           << "15 %  kg";
    QTest::newRow("text joins") << "['Sorszám: '+ZQ10.\"F_BSZAM\"]"
                                << ""
                                << "Sorszám: 10000001";
    QTest::newRow("bracket inside quotes") << "['[x]'+v_szja]"
                                           << ""
                                           << "[x]15";
    QTest::newRow("text variable reads as number") << "[v_kif*2]"
                                                   << ""
                                                   << "16660";
    QTest::newRow("case of variable names") << "[V_SZJA]"
                                            << ""
                                            << "15";
    QTest::newRow("date field") << "[ZQ10.\"F_KELT\"]"
                                << ""
                                << "2010.08.31.";
}

// Arithmetic of exact values stays exact: a sum of fillér amounts, a per cent of one.
void TestEngine::exactArithmetic() {
    MapResolver resolver;
    auto exact = [](const char* text) { return QVariant::fromValue(*Decimal::parse(QLatin1String(text))); };
    resolver.fields.insert("ZQ20.A", exact("81776.34"));
    resolver.fields.insert("ZQ20.B", exact("323552.16"));
    resolver.fields.insert("ZQ20.P", exact("2.5"));
    const QVariant sum = Expression("ZQ20.A + ZQ20.B").evaluate(resolver);
    QCOMPARE(sum.value<Decimal>(), *Decimal::parse("405328.5"));
    QCOMPARE(Expression("ZQ20.A * ZQ20.P / 100").evaluate(resolver).toDouble(), 2044.4085);
    QCOMPARE(Expression("ZQ20.A * ZQ20.P * 0.01").evaluate(resolver).value<Decimal>(),
             *Decimal::parse("2044.4085"));
    QCOMPARE(Expression("-ZQ20.A - 0.005").evaluate(resolver).value<Decimal>(),
             *Decimal::parse("-81776.345"));
    TextFormat n0;
    n0.kind = ValueFormat::Fixed;
    n0.decimals = 0;
    QCOMPARE(TextTemplate("[ZQ20.A + ZQ20.B]").evaluate(resolver, n0), QStringLiteral("405 329"));
}

void TestEngine::expressions() {
    QFETCH(QString, text);
    QFETCH(QString, format);
    QFETCH(QString, expected);
    setVariable("v_far", 11000.0);
    setVariable("v_kar", 234.567);
    setVariable("v_szja", 15.0);
    setVariable("v_kif", QStringLiteral("8330"));
    struct Resolver : MapResolver {
        QVariant variable(const QString& name) override { return report::variable(name); }
    } resolver;
    resolver.fields.insert("ZQ20.S_NETTO", 2.0);
    resolver.fields.insert("ZQ20.S_EAR", 310.0);
    resolver.fields.insert("ZQ20.S_NULL", QVariant());
    resolver.fields.insert("ZQ20.S_MEGY", QStringLiteral("kg"));
    resolver.fields.insert("ZQ10.F_BSZAM", QStringLiteral("10000001"));
    resolver.fields.insert("ZQ10.F_KELT", QDate(2010, 8, 31));
    TextFormat f;
    if (format == u"n2") {
        f.kind = ValueFormat::Fixed;
        f.decimals = 2;
    }
    QCOMPARE(TextTemplate(text).evaluate(resolver, f), expected);
}

void TestEngine::expressionErrors_data() {
    QTest::addColumn<QString>("text");
    QTest::newRow("missing operand") << "[1+]";
    QTest::newRow("missing parenthesis") << "[(1+2]";
    QTest::newRow("open quote") << "['abc]";
    QTest::newRow("open bracket") << "Összesen: [v_far";
    QTest::newRow("stray sign") << "[v_far ? 2]";
    QTest::newRow("unknown field") << "[ZQ20.\"NINCS\"]";
    QTest::newRow("text in arithmetic") << "[ZQ20.\"S_MEGY\"*2]";
}

void TestEngine::expressionErrors() {
    QFETCH(QString, text);
    MapResolver resolver;
    resolver.fields.insert("ZQ20.S_MEGY", QStringLiteral("kg"));
    QVERIFY_THROWS_EXCEPTION(EReportError, TextTemplate(text).evaluate(resolver, {}));
}

void TestEngine::variablesAreEngineWide() {
    setVariable("v_tol", QStringLiteral("2010.01.01."));
    setVariable("v_osszesen", 12.5);
    setVariable("v_osszesen", 13.0);
    QCOMPARE(variable("V_TOL").toString(), QStringLiteral("2010.01.01."));
    QCOMPARE(variable("v_osszesen").toDouble(), 13.0);
    QVERIFY(!hasVariable("v_ig"));
    QVERIFY(variable("v_ig").isNull());
}

void TestEngine::loadValidLayout() {
    const QByteArray xml = layoutXml(
        "<font font=\"Arial\" size=\"9\"/>\n"
        "<copies><copy name=\"2. példány\"/><copy name=\"1. példány\" view=\"yes\"/></copies>\n"
        "<band type=\"page-header\" height=\"20\">\n"
        "  <text x=\"0\" y=\"0\" width=\"100\" height=\"5\" align=\"center\" bold=\"yes\">FELVÁSÁRLÁSI JEGY "
        "</text>\n"
        "  <line x1=\"0\" y1=\"6\" x2=\"100\" y2=\"6\" width=\"0.3\"/>\n"
        "  <rect x=\"0\" y=\"7\" width=\"50\" height=\"10\"/>\n"
        "</band>\n"
        "<band type=\"master-data\" height=\"5\" dataset=\"frDBDataSet1\">\n"
        "  <text x=\"0\" y=\"0\" width=\"30\" height=\"5\" align=\"right\" format=\"n3\" frame=\"left "
        "right\">"
        "[ZQ20.\"S_NETTO\"]</text>\n"
        "</band>",
        "<page size=\"A4\" orientation=\"landscape\" margins=\"1 2 3 4\" printer-margins=\"yes\"/>");
    const LayoutLoadResult result = parseLayout(xml);
    QVERIFY2(result.ok(), qPrintable(result.message));
    const Layout& layout = result.layout;
    QCOMPARE(layout.orientation, QPageLayout::Landscape);
    QCOMPARE(layout.margins, QMarginsF(1, 2, 3, 4));
    QVERIFY(layout.printerMargins);
    QCOMPARE(int(layout.copies.size()), 2);
    QVERIFY(layout.copies[1].view);
    QCOMPARE(int(layout.bands.size()), 2);
    const Band* header = layout.band(BandType::PageHeader);
    QVERIFY(header);
    QCOMPARE(int(header->objects.size()), 3);
    QCOMPARE(header->objects[0].text, QStringLiteral("FELVÁSÁRLÁSI JEGY ")); // trailing blank kept
    QVERIFY(header->objects[0].font.bold);
    QCOMPARE(header->objects[0].font.size, 9.0); // the layout's default font
    QCOMPARE(header->objects[0].align, HAlign::Center);
    QCOMPARE(header->objects[1].kind, ObjectKind::Line);
    QCOMPARE(header->objects[2].kind, ObjectKind::Rect);
    const Band* data = layout.band(BandType::MasterData);
    QCOMPARE(data->dataset, QStringLiteral("frDBDataSet1"));
    QCOMPARE(data->objects[0].format.kind, ValueFormat::Fixed);
    QCOMPARE(data->objects[0].format.decimals, 3);
    QVERIFY(data->objects[0].frame.left && data->objects[0].frame.right && !data->objects[0].frame.top);
}

void TestEngine::loadMissingFile() {
    QTemporaryDir dir;
    const LayoutLoadResult result = loadLayoutFile(dir.filePath("FjLista9.frf"));
    QCOMPARE(result.status, LayoutLoadResult::CannotOpen);
    QVERIFY(result.message.startsWith("Cannot open file "));
    QVERIFY(loadLayoutFile(dir.path()).status == LayoutLoadResult::CannotOpen); // a folder is no file
}

void TestEngine::loadWrongFormat_data() {
    QTest::addColumn<QByteArray>("data");
    QTest::newRow("empty file") << QByteArray();
    QTest::newRow("binary") << QByteArray("\x01\x02\x03TFRReport\x00\x00", 14);
    QTest::newRow("other xml") << QByteArray("<?xml version=\"1.0\"?><html><body/></html>");
    QTest::newRow("report without format") << QByteArray("<report version=\"1\"/>");
    QTest::newRow("later version") << QByteArray("<report format=\"vardelo-frf\" version=\"2\"/>");
}

void TestEngine::loadWrongFormat() {
    QFETCH(QByteArray, data);
    const LayoutLoadResult result = parseLayout(data);
    QCOMPARE(result.status, LayoutLoadResult::UnsupportedFormat);
    QCOMPARE(result.message, QStringLiteral("Unsupported FRF format"));
    QVERIFY(result.layout.isEmpty());
}

void TestEngine::loadFaultNamesLineAndColumn_data() {
    QTest::addColumn<QString>("body");
    QTest::addColumn<int>("line");
    QTest::newRow("unknown band type") << "<band type=\"fejléc\" height=\"5\"/>" << 4;
    QTest::newRow("unknown attribute")
        << "<band type=\"summary\" height=\"5\">\n<text x=\"0\" y=\"0\" width=\"5\" "
           "height=\"5\" colour=\"red\">x</text></band>"
        << 5;
    QTest::newRow("not a number") << "<band type=\"summary\" height=\"öt\"/>" << 4;
    QTest::newRow("data band without dataset") << "<band type=\"master-data\" height=\"5\"/>" << 4;
    QTest::newRow("continuation with a dataset")
        << "<band type=\"continuation\" height=\"5\" dataset=\"frUserDataset1\"/>" << 4;
    QTest::newRow("broken xml") << "<band type=\"summary\" height=\"5\">\n\n<text x=\"0\"</band>" << 6;
    QTest::newRow("unknown format")
        << "<band type=\"summary\" height=\"5\"><text x=\"0\" y=\"0\" width=\"5\" "
           "height=\"5\" format=\"n\">x</text></band>"
        << 4;
}

void TestEngine::loadFaultNamesLineAndColumn() {
    QFETCH(QString, body);
    QFETCH(int, line);
    const LayoutLoadResult result = parseLayout(layoutXml(body));
    QCOMPARE(result.status, LayoutLoadResult::Invalid);
    QVERIFY(!result.message.isEmpty());
    QCOMPARE(result.line, line);
    QVERIFY(result.column > 0);
    QVERIFY(result.layout.isEmpty());
}

void TestEngine::overflowRepeatsHeaderAndFooter() {
    const Layout layout =
        parse("<band type=\"page-header\" height=\"10\">"
              "<text x=\"0\" y=\"0\" width=\"100\" height=\"5\">FEJ [PAGE#]/[TOTALPAGES]</text></band>\n"
              "<band type=\"master-header\" height=\"5\" repeat=\"yes\">"
              "<text x=\"0\" y=\"0\" width=\"100\" height=\"5\">Megnevezés</text></band>\n"
              "<band type=\"master-data\" height=\"10\" dataset=\"sorok\">"
              "<text x=\"0\" y=\"0\" width=\"100\" height=\"5\">sor [ZQ20.\"N\"]</text></band>\n"
              "<band type=\"summary\" height=\"20\">"
              "<text x=\"0\" y=\"0\" width=\"100\" height=\"5\">ZÁRÓ</text></band>\n"
              "<band type=\"page-footer\" height=\"15\">"
              "<text x=\"0\" y=\"0\" width=\"100\" height=\"5\">LÁB</text></band>",
              "<page size=\"A4\" printer-margins=\"yes\"/>");
    MemoryTable rows("ZQ20", {"N"});
    for (int i = 1; i <= 60; ++i)
        rows.addRow({i});
    MemoryEnvironment env;
    env.add("ZQ20", &rows, "sorok");
    PrepareOptions options;
    options.printerMargins = QMarginsF(5, 5, 5, 5);
    const PreparedReport report = prepareReport(layout, env, options);

    // Body: 297 - 5 - 5 - 10 (header) - 15 (footer) = 262 mm; 5 for the repeated heading leaves 25 rows.
    QCOMPARE(int(report.pages.size()), 3);
    int printed = 0;
    for (const PreparedPage& page : report.pages) {
        const QString total = QString::number(report.pages.size());
        QCOMPARE(page.texts().first(), QStringLiteral("FEJ %1/%2").arg(page.pageNumber).arg(total));
        QCOMPARE(page.texts().count("LÁB"), 1);
        QCOMPARE(page.texts().count("Megnevezés"), 1);
        QCOMPARE(topOf(page, "LÁB"), 297.0 - 5 - 15);
        for (const QString& text : page.texts())
            if (text.startsWith("sor ")) {
                QCOMPARE(text, QStringLiteral("sor %1").arg(++printed));
                QVERIFY(topOf(page, text) + 10 <= 297.0 - 5 - 15 + 1e-6);
            }
    }
    QCOMPARE(printed, 60);
    // The closing block comes once, after the last row.
    const PreparedPage& last = report.pages.back();
    QVERIFY(!report.pages[0].findText("ZÁRÓ") && !report.pages[1].findText("ZÁRÓ"));
    QVERIFY(topOf(last, "ZÁRÓ") >= topOf(last, "sor 60") + 10 - 1e-6);
}

void TestEngine::masterDetailWalk() {
    const Layout layout =
        parse("<band type=\"master-header\" height=\"5\"><text x=\"0\" y=\"0\" width=\"50\" "
              "height=\"5\">Lista</text></band>\n"
              "<band type=\"master-data\" height=\"5\" dataset=\"frUserDataset1\">"
              "<text x=\"0\" y=\"0\" width=\"50\" height=\"5\">[ZQ20.\"NEV\"]</text></band>\n"
              "<band type=\"detail-header\" height=\"5\"><text x=\"0\" y=\"0\" width=\"50\" "
              "height=\"5\">fej</text></band>\n"
              "<band type=\"detail-data\" height=\"5\" dataset=\"frUserDataset2\">"
              "<text x=\"5\" y=\"0\" width=\"50\" height=\"5\">[LINE#]. [ZQ21.\"TETEL\"]</text></band>\n"
              "<band type=\"detail-footer\" height=\"5\"><text x=\"0\" y=\"0\" width=\"50\" height=\"5\">láb "
              "[ZQ20.\"NEV\"]</text></band>\n"
              "<band type=\"master-footer\" height=\"5\"><text x=\"0\" y=\"0\" width=\"50\" "
              "height=\"5\">vége</text></band>");
    QStringList calls;
    MemoryTable groups("ZQ20", {"NEV"});
    groups.addRow({"Borjú"});
    groups.addRow({"Kacsa"});
    groups.addRow({"Süldő"});
    MemoryTable lines("ZQ21", {"TETEL"});
    groups.calls = &calls;
    lines.calls = &calls;
    // Moving the groups reloads the lines of the current group (none for Kacsa).
    groups.onMove = [&] {
        lines.clearRows();
        const QString name = groups.atEnd() ? QString() : groups.value("NEV").toString();
        if (name == u"Borjú") {
            lines.addRow({"b1"});
            lines.addRow({"b2"});
        } else if (name == u"Süldő") {
            lines.addRow({"s1"});
        }
    };
    MemoryEnvironment env;
    env.add("ZQ20", &groups, "frUserDataset1");
    env.add("ZQ21", &lines, "frUserDataset2");
    const PreparedReport report = prepareReport(layout, env);

    QCOMPARE(report.pages.size(), size_t(1));
    QCOMPARE(report.pages[0].texts(), QStringList({"Lista", "Borjú", "fej", "1. b1", "2. b2", "láb Borjú",
                                                   "Kacsa", "Süldő", "fej", "1. s1", "láb Süldő", "vége"}));
    QCOMPARE(calls, QStringList({"ZQ20.first", "ZQ20.eof", // walk starts
                                 "ZQ21.first", "ZQ21.eof", "ZQ21.eof",   "ZQ21.next", "ZQ21.eof", // b1
                                 "ZQ21.next",  "ZQ21.eof",                                        // b2, end
                                 "ZQ20.next",  "ZQ20.eof", "ZQ21.first", "ZQ21.eof", // Kacsa: no lines
                                 "ZQ20.next",  "ZQ20.eof", "ZQ21.first", "ZQ21.eof",  "ZQ21.eof", "ZQ21.next",
                                 "ZQ21.eof", // Süldő
                                 "ZQ20.next",  "ZQ20.eof"}));
}

namespace {

// Groups of many lines on pages of 60 mm (40 mm of body under a 10 mm header and above a 10 mm footer).
const QString kContinuedGroups =
    QStringLiteral("<band type=\"page-header\" height=\"10\"><text x=\"0\" y=\"0\" width=\"50\" "
                   "height=\"5\">Lista</text></band>\n"
                   "<band type=\"page-footer\" height=\"10\"><text x=\"0\" y=\"0\" width=\"50\" "
                   "height=\"5\">[PAGE#]. oldal</text></band>\n"
                   "<band type=\"master-data\" height=\"5\" dataset=\"frUserDataset1\">"
                   "<text x=\"0\" y=\"0\" width=\"50\" height=\"5\">[LINE#]. [ZQ20.\"NEV\"]</text></band>\n"
                   "<band type=\"continuation\" height=\"5\"><text x=\"0\" y=\"0\" width=\"80\" "
                   "height=\"5\">[LINE#]. [ZQ20.\"NEV\"] (folytatás)</text></band>\n"
                   "<band type=\"detail-header\" height=\"5\" repeat=\"yes\"><text x=\"0\" y=\"0\" "
                   "width=\"50\" height=\"5\">fej</text></band>\n"
                   "<band type=\"detail-data\" height=\"5\" dataset=\"frUserDataset2\">"
                   "<text x=\"5\" y=\"0\" width=\"50\" height=\"5\">[ZQ21.\"TETEL\"]</text></band>\n"
                   "<band type=\"detail-footer\" height=\"5\"><text x=\"0\" y=\"0\" width=\"50\" "
                   "height=\"5\">láb [ZQ20.\"NEV\"]</text></band>");

// The groups with their counts of lines: moving the groups reloads the lines of the current one.
struct Groups {
    MemoryTable groups{"ZQ20", {"NEV"}};
    MemoryTable lines{"ZQ21", {"TETEL"}};
    MemoryEnvironment env;
    Groups(const std::vector<std::pair<QString, int>>& counts) {
        for (const auto& [name, count] : counts)
            groups.addRow({name});
        groups.onMove = [this, counts] {
            lines.clearRows();
            if (groups.atEnd())
                return;
            const QString name = groups.value("NEV").toString();
            for (const auto& [group, count] : counts)
                if (group == name)
                    for (int i = 1; i <= count; ++i)
                        lines.addRow({name.left(1) + QString::number(i)});
        };
        env.add("ZQ20", &groups, "frUserDataset1");
        env.add("ZQ21", &lines, "frUserDataset2");
    }
};

const QString kSmallPage = QStringLiteral("<page width=\"100\" height=\"60\" margins=\"0 0 0 0\"/>");

} // namespace

// A master row whose lines run onto further pages starts each of them with the continuation band, which
// shows that row (and its LINE#), then the repeated detail header; a footer that runs over alone gets it
// too; the first page of a group never carries it.
void TestEngine::continuationCarriesTheMasterRow() {
    {
        Groups data({{"Borjú", 9}, {"Kacsa", 1}});
        const PreparedReport report = prepareReport(parse(kContinuedGroups, kSmallPage), data.env);
        QCOMPARE(report.pages.size(), size_t(3));
        QCOMPARE(report.pages[0].texts(),
                 QStringList({"Lista", "1. Borjú", "fej", "B1", "B2", "B3", "B4", "B5", "B6", "1. oldal"}));
        QCOMPARE(report.pages[1].texts(), QStringList({"Lista", "1. Borjú (folytatás)", "fej", "B7", "B8",
                                                       "B9", "láb Borjú", "2. oldal"}));
        // Kacsa does not fit under Borjú's footer with its header and a line: it starts a page of its own.
        QCOMPARE(report.pages[2].texts(),
                 QStringList({"Lista", "2. Kacsa", "fej", "K1", "láb Kacsa", "3. oldal"}));
    }
    {
        // The lines fill the page; the footer alone goes on with the heading.
        Groups data({{"Borjú", 6}});
        const PreparedReport report = prepareReport(parse(kContinuedGroups, kSmallPage), data.env);
        QCOMPARE(report.pages.size(), size_t(2));
        QCOMPARE(report.pages[1].texts(),
                 QStringList({"Lista", "1. Borjú (folytatás)", "láb Borjú", "2. oldal"}));
    }
}

// A heading never stands alone at the foot of a page: when its detail header and first line do not fit
// under it, it goes to the next page; a heading without lines stays where it is.
void TestEngine::headingKeepsWithItsLines() {
    Groups data({{"Alma", 4}, {"Borjú", 2}, {"Cékla", 0}});
    const PreparedReport report = prepareReport(parse(kContinuedGroups, kSmallPage), data.env);
    QCOMPARE(report.pages[0].texts(),
             QStringList({"Lista", "1. Alma", "fej", "A1", "A2", "A3", "A4", "láb Alma", "1. oldal"}));
    QCOMPARE(report.pages[1].texts(),
             QStringList({"Lista", "2. Borjú", "fej", "B1", "B2", "láb Borjú", "3. Cékla", "2. oldal"}));
}

void TestEngine::groupsByCondition() {
    const Layout layout =
        parse("<band type=\"group-header\" height=\"5\" condition=\"ZQ20.&quot;KOD&quot;\">"
              "<text x=\"0\" y=\"0\" width=\"50\" height=\"5\">csoport [ZQ20.\"KOD\"]</text></band>\n"
              "<band type=\"master-data\" height=\"5\" dataset=\"sorok\">"
              "<text x=\"0\" y=\"0\" width=\"50\" height=\"5\">[ZQ20.\"KOD\"]-[ZQ20.\"N\"]</text></band>\n"
              "<band type=\"group-footer\" height=\"5\"><text x=\"0\" y=\"0\" width=\"50\" height=\"5\">vége "
              "[ZQ20.\"KOD\"]</text></band>");
    MemoryTable rows("ZQ20", {"KOD", "N"});
    rows.addRow({"A", 1});
    rows.addRow({"A", 2});
    rows.addRow({"B", 3});
    MemoryEnvironment env;
    env.add("ZQ20", &rows, "sorok");
    const PreparedReport report = prepareReport(layout, env);
    // A group's footer shows the group's own last row, though it prints once the next group is known.
    QCOMPARE(report.pages[0].texts(),
             QStringList({"csoport A", "A-1", "A-2", "vége A", "csoport B", "B-3", "vége B"}));
}

void TestEngine::copiesAndPageNumbers() {
    const Layout layout =
        parse("<copies><copy name=\"2. példány\"/><copy name=\"3. példány\"/><copy name=\"1. példány\" "
              "view=\"yes\"/></copies>\n"
              "<band type=\"page-header\" height=\"10\"><text x=\"0\" y=\"0\" width=\"100\" "
              "height=\"5\">[COPYNAME] "
              "[PAGE#]/[TOTALPAGES]</text></band>\n"
              "<band type=\"master-data\" height=\"100\" dataset=\"sorok\">"
              "<text x=\"0\" y=\"0\" width=\"50\" height=\"5\">[ZQ20.\"N\"]</text></band>");
    MemoryTable rows("ZQ20", {"N"});
    for (int i = 1; i <= 3; ++i)
        rows.addRow({i});
    MemoryEnvironment env;
    env.add("ZQ20", &rows, "sorok");

    const PreparedReport all = prepareReport(layout, env);
    QStringList heads;
    for (const PreparedPage& page : all.pages)
        heads << page.texts().first();
    QCOMPARE(heads, QStringList({"2. példány 1/2", "2. példány 2/2", "3. példány 1/2", "3. példány 2/2",
                                 "1. példány 1/2", "1. példány 2/2"}));

    PrepareOptions view;
    view.viewCopyOnly = true;
    const PreparedReport viewed = prepareReport(layout, env, view);
    QCOMPARE(int(viewed.pages.size()), 2);
    QCOMPARE(viewed.pages[0].copyName, QStringLiteral("1. példány"));
}

void TestEngine::unknownDatasetRaises() {
    const Layout layout = parse("<band type=\"master-data\" height=\"5\" dataset=\"frDBDataSet9\"/>");
    MemoryEnvironment env;
    QVERIFY_THROWS_EXCEPTION(EReportError, prepareReport(layout, env));
}

void TestEngine::stretchedTextGrowsItsBand() {
    const Layout layout = parse("<band type=\"summary\" height=\"5\"><text x=\"0\" y=\"0\" width=\"40\" "
                                "height=\"5\" stretch=\"yes\">[v_megj]"
                                "</text></band>\n"
                                "<band type=\"page-footer\" height=\"5\"><text x=\"0\" y=\"0\" width=\"40\" "
                                "height=\"5\">láb</text></band>\n"
                                "<band type=\"title\" height=\"5\"><text x=\"0\" y=\"0\" width=\"40\" "
                                "height=\"5\">cím</text></band>");
    setVariable("v_megj", QStringLiteral("Egy hosszú megjegyzés, amely bizony nem fér el egyetlen sorban, "
                                         "ezért több sorba tördelődik."));
    MemoryEnvironment env;
    const PreparedReport report = prepareReport(layout, env);
    const PreparedItem* remark = nullptr;
    for (const PreparedItem& item : report.pages[0].items)
        if (item.text.startsWith("Egy hosszú"))
            remark = &item;
    QVERIFY(remark);
    QVERIFY(remark->rect.height() > 10); // at least three lines of 10 pt
    QVERIFY(remark->wrap);
    QCOMPARE(topOf(report.pages[0], "cím"), 0.0); // no margins of its own, no printer margins asked
    QCOMPARE(remark->rect.top(), 5.0);
}

void TestEngine::pdfCarriesTheTexts() {
    const QString pdftotext = QStandardPaths::findExecutable("pdftotext");
    if (pdftotext.isEmpty())
        QSKIP("pdftotext is not installed");
    const Layout layout = parse("<band type=\"page-header\" height=\"10\"><text x=\"0\" y=\"0\" "
                                "width=\"100\" height=\"5\" bold=\"yes\">"
                                "Őstermelők listája</text></band>\n"
                                "<band type=\"master-data\" height=\"5\" dataset=\"sorok\">"
                                "<text x=\"0\" y=\"0\" width=\"60\" height=\"5\">[ZQ20.\"NEV\"]</text>"
                                "<text x=\"60\" y=\"0\" width=\"40\" height=\"5\" align=\"right\" "
                                "format=\"n2\">[ZQ20.\"OSSZEG\"]</text></band>",
                                "<page size=\"A4\" orientation=\"landscape\"/>");
    MemoryTable rows("ZQ20", {"NEV", "OSSZEG"});
    rows.addRow({"Ördögh Ödön", 1234567.891});
    rows.addRow({"Szűcs Ágnes", 12.5});
    MemoryEnvironment env;
    env.add("ZQ20", &rows, "sorok");
    const PreparedReport report = prepareReport(layout, env);
    QTemporaryDir dir;
    const QString pdf = dir.filePath("lista.pdf");
    QString error;
    QVERIFY2(renderToPdf(report, pdf, &error), qPrintable(error));
    QProcess process;
    process.start(pdftotext, {"-layout", pdf, "-"});
    QVERIFY(process.waitForFinished(30000));
    const QString text = QString::fromUtf8(process.readAllStandardOutput());
    QVERIFY2(text.contains("Őstermelők listája"), qPrintable(text));
    QVERIFY(text.contains("Ördögh Ödön"));
    QVERIFY(text.contains("1 234 567,89"));
    QVERIFY(text.contains("Szűcs Ágnes"));
    // Landscape A4 page.
    QProcess info;
    info.start(QStandardPaths::findExecutable("pdfinfo"), {pdf});
    QVERIFY(info.waitForFinished(30000));
    const QString pageInfo = QString::fromUtf8(info.readAllStandardOutput());
    QVERIFY2(pageInfo.contains("842 x 595") || pageInfo.contains("841.89 x 595.276"), qPrintable(pageInfo));

    QVERIFY(!renderToPdf(report, dir.path(), &error)); // a folder cannot be written as a file
    QVERIFY(!error.isEmpty());
}

QTEST_MAIN(TestEngine)
#include "test_engine.moc"
