#include "data/data_module.h"
#include "data/immediate_write.h"
#include "data/text_files.h"
#include "exchange/previous_import.h"
#include "exchange/previous_import_queries.h"
#include "exchange/previous_import_rules.h"
#include "support/children.h"
#include "support/test_database.h"
#include "support/ui_recorder.h"
#include "widgets/ui_service.h"

#include <QCheckBox>
#include <QDir>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QtTest>
#include <functional>

using vardelo::testing::child;
using namespace vardelo;
using namespace vardelo::previous;
using vardelo::testing::TestDatabase;

namespace {

// The line with the text written from position `pos` (counted from 1), filled with blanks up to it.
QString place(QString line, int pos, const QString& text) {
    const qsizetype end = pos - 1 + text.size();
    if (line.size() < end)
        line = line.leftJustified(end, u' ');
    line.replace(pos - 1, text.size(), text);
    return line;
}

struct Producer {
    QString code = QStringLiteral("0012 "); // positions 2 to 6
    QString name = QStringLiteral("Kovács János");
    QString birth = QStringLiteral("1961.03.14"); // positions 229 to 238
    QString taxNumber = QStringLiteral("18301667104");
};

// A producer line of the old file, every field in its place.
QString producerText(const Producer& p) {
    QString line = place(QString(), 1, QStringLiteral("X") + p.code);
    line = place(line, 7, p.name);
    line = place(line, 53, QStringLiteral("6000"));
    line = place(line, 58, QStringLiteral("Kecskemét"));
    line = place(line, 104, QStringLiteral("Petőfi u. 3."));
    line = place(line, 150, QStringLiteral("8526018159"));
    line = place(line, 161, QStringLiteral("123456"));
    line = place(line, 170, QStringLiteral("R-1001"));
    line = place(line, 183, QStringLiteral("Kecskemét"));
    line = place(line, 229, p.birth);
    line = place(line, 240, QStringLiteral("Szabó Mária"));
    line = place(line, 288, QStringLiteral("CSG-101"));
    line = place(line, 297, QStringLiteral("1"));
    line = place(line, 299, QStringLiteral("Kovács János"));
    line = place(line, 345, QStringLiteral("318609139"));
    line = place(line, 355, p.taxNumber);
    return line;
}

QString animalText(const QString& code, const QString& name, const QString& price, const QString& rate) {
    QString line = place(QString(), 1, QStringLiteral("X") + code);
    line = place(line, 7, name);
    line = place(line, 83, QStringLiteral("0102"));
    line = place(line, 94, price);
    return place(line, 110, rate);
}

QString purchaserText(const QString& name, const QString& town) {
    QString line = place(QString(), 1, name);
    line = place(line, 47, town);
    line = place(line, 93, QStringLiteral("Fő utca 1."));
    line = place(line, 139, QStringLiteral("6720"));
    return place(line, 144, QStringLiteral("18301667206"));
}

QVariant param(const QueryParams& params, int number) {
    const QString name = QStringLiteral("p%1").arg(number);
    for (const auto& [key, value] : params) {
        if (key == name)
            return value;
    }
    qFatal("no parameter %s", qPrintable(name));
}

// The rows of a statement, each as its columns' texts.
QList<QStringList> rows(const QString& sql) {
    TZQuery q(QStringLiteral("check"), Data->ZCon1, Data->IBTrans1);
    vardelo::openQuery(&q, {sql});
    QList<QStringList> result;
    for (q.First(); !q.Eof(); q.Next()) {
        QStringList row;
        for (int i = 0; i < q.FieldCount(); ++i)
            row << (q.Fields(i).IsNull() ? QStringLiteral("<null>") : q.Fields(i).AsString());
        result << row;
    }
    return result;
}

int count(const QString& table) {
    return rows(QStringLiteral("SELECT count(*) FROM ") + table).at(0).at(0).toInt();
}

const QString producersDone = QStringLiteral("A régi östermelö adatok átemelve");
const QString animalsDone = QStringLiteral("A régi termék adatok átemelve");
const QString purchasersDone = QStringLiteral("A régi átvevö adatok átemelve");

} // namespace

class TestPreviousImport : public QObject {
    Q_OBJECT
private slots:
    void fields_data();
    void fields();
    void producerLine_data();
    void producerLine();
    void animalLine_data();
    void animalLine();
    void purchaserLine();
    void statements();

    void window();
    void importsAllThree();
    void emptyFiles();
    void crOnlyLineEnds();
    void failingLineIsSkipped();
    void missingFileEndsTheImport();
    void failedTransactionEndsTheImport();

private:
    // The three files in the old folder ("c:\ze10\" on drive C); a null list leaves the file out.
    void writeFiles(const std::optional<QStringList>& producers, const std::optional<QStringList>& animals,
                    const std::optional<QStringList>& purchasers);
    // Opens the window, sets the boxes, presses "Import" and reports whether the window closed.
    bool runImport(UiRecorder& recorder, bool producers = true, bool animals = true, bool purchasers = true);
};

void TestPreviousImport::fields_data() {
    QTest::addColumn<QString>("line");
    QTest::addColumn<int>("from");
    QTest::addColumn<int>("length");
    QTest::addColumn<QString>("fixed");
    QTest::addColumn<QString>("trimmed");
    QTest::newRow("inside") << "ab  cd  ef" << 3 << 6 << "  cd  "
                            << "cd";
    QTest::newRow("cut by the line end") << "abcdef" << 5 << 10 << "ef"
                                         << "ef";
    QTest::newRow("beyond the line") << "abc" << 7 << 4 << ""
                                     << "";
    QTest::newRow("empty line") << "" << 1 << 5 << ""
                                << "";
}

void TestPreviousImport::fields() {
    QFETCH(QString, line);
    QFETCH(int, from);
    QFETCH(int, length);
    QFETCH(QString, fixed);
    QFETCH(QString, trimmed);
    QCOMPARE(fixedField(line, from, length), fixed);
    QCOMPARE(trimmedField(line, from, length), trimmed);
}

void TestPreviousImport::producerLine_data() {
    QTest::addColumn<QString>("line");
    QTest::addColumn<QString>("code");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QVariant>("birth");
    QTest::addColumn<QString>("sex");
    QTest::addColumn<QString>("taxNumber");

    Producer p;
    QTest::newRow("complete, blank at position 6 stays in the code")
        << producerText(p) << "10012 "
        << "Kovács János" << QVariant(QDate(1961, 3, 14)) << "1"
        << "18301667104";
    p.code = QStringLiteral("00012");
    QTest::newRow("five digits") << producerText(p) << "100012"
                                 << "Kovács János" << QVariant(QDate(1961, 3, 14)) << "1"
                                 << "18301667104";
    p.code = QStringLiteral(" 12 3");
    QTest::newRow("code not trimmed") << producerText(p) << "1 12 3"
                                      << "Kovács János" << QVariant(QDate(1961, 3, 14)) << "1"
                                      << "18301667104";
    p = Producer();
    p.birth = QStringLiteral("19610314  ");
    QTest::newRow("no point at 233: no birth date") << producerText(p) << "10012 "
                                                    << "Kovács János" << QVariant() << "1"
                                                    << "18301667104";
    p.birth = QStringLiteral("1961-03-14");
    QTest::newRow("a dash at 233: no birth date") << producerText(p) << "10012 "
                                                  << "Kovács János" << QVariant() << "1"
                                                  << "18301667104";
    p.birth = QStringLiteral("1961.02.30");
    QTest::newRow("impossible date goes as text")
        << producerText(p) << "10012 "
        << "Kovács János" << QVariant(QStringLiteral("1961.02.30")) << "1"
        << "18301667104";
    p.birth = QStringLiteral("    .  .  ");
    QTest::newRow("point at 233 with blanks around")
        << producerText(p) << "10012 "
        << "Kovács János" << QVariant(QStringLiteral(".  .")) << "1"
        << "18301667104";
    QTest::newRow("line ends in the name") << "X00012Kovács"
                                           << "100012"
                                           << "Kovács" << QVariant() << ""
                                           << "";
    QTest::newRow("blank line") << ""
                                << "1"
                                << "" << QVariant() << ""
                                << "";
}

void TestPreviousImport::producerLine() {
    QFETCH(QString, line);
    QFETCH(QString, code);
    QFETCH(QString, name);
    QFETCH(QVariant, birth);
    QFETCH(QString, sex);
    QFETCH(QString, taxNumber);
    const QueryParams params = producerParams(line);
    QCOMPARE(params.size(), size_t(20));
    QCOMPARE(param(params, 1).toString(), code);
    QCOMPARE(param(params, 2).toString(), name);
    QCOMPARE(param(params, 11), birth);
    QCOMPARE(param(params, 15).toString(), sex);
    QCOMPARE(param(params, 18).toString(), taxNumber);
    // The constants.
    QCOMPARE(param(params, 9), QVariant(0.0));
    QCOMPARE(param(params, 13), QVariant(0.0));
    QCOMPARE(param(params, 19), QVariant(QStringLiteral(" ")));
    QCOMPARE(param(params, 20), QVariant(QStringLiteral("1")));
    if (line.size() >= 365) {
        const QStringList others{"6000", "Kecskemét", "Petőfi u. 3.", "8526018159", "123456", "R-1001"};
        for (int i = 0; i < others.size(); ++i)
            QCOMPARE(param(params, i + 3).toString(), others.at(i));
        QCOMPARE(param(params, 10).toString(), QStringLiteral("Kecskemét"));
        QCOMPARE(param(params, 12).toString(), QStringLiteral("Szabó Mária"));
        QCOMPARE(param(params, 14).toString(), QStringLiteral("CSG-101"));
        QCOMPARE(param(params, 16).toString(), QStringLiteral("Kovács János"));
        QCOMPARE(param(params, 17).toString(), QStringLiteral("318609139"));
    }
}

void TestPreviousImport::animalLine_data() {
    QTest::addColumn<QString>("line");
    QTest::addColumn<QString>("code");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QVariant>("price");
    QTest::addColumn<QVariant>("rate");
    QTest::newRow("whole price") << animalText("00003", "Vágómarha", "  520", "12") << "100003"
                                 << "Vágómarha" << QVariant(QStringLiteral("520"))
                                 << QVariant(QStringLiteral("12"));
    QTest::newRow("decimal comma") << animalText("0003 ", "Bárány", "1234,5", " 7 ") << "10003 "
                                   << "Bárány" << QVariant(QStringLiteral("1234.5"))
                                   << QVariant(QStringLiteral("7"));
    QTest::newRow("decimal point") << animalText("00004", "Sertés", "310.25", "7") << "100004"
                                   << "Sertés" << QVariant(QStringLiteral("310.25"))
                                   << QVariant(QStringLiteral("7"));
    QTest::newRow("no numbers") << animalText("00005", "Nyúl", "", "") << "100005"
                                << "Nyúl" << QVariant() << QVariant();
    QTest::newRow("blank line") << ""
                                << "1"
                                << "" << QVariant() << QVariant();
}

void TestPreviousImport::animalLine() {
    QFETCH(QString, line);
    QFETCH(QString, code);
    QFETCH(QString, name);
    QFETCH(QVariant, price);
    QFETCH(QVariant, rate);
    const QueryParams params = animalParams(line);
    QCOMPARE(params.size(), size_t(7));
    QCOMPARE(param(params, 1).toString(), code);
    QCOMPARE(param(params, 2).toString(), name);
    QCOMPARE(param(params, 3).toString(), line.isEmpty() ? QString() : QStringLiteral("0102"));
    QCOMPARE(param(params, 4), price);
    QCOMPARE(param(params, 5), QVariant(QStringLiteral("kg")));
    QCOMPARE(param(params, 6), rate);
    QCOMPARE(param(params, 7), QVariant(QStringLiteral("1")));
}

void TestPreviousImport::purchaserLine() {
    const QueryParams params = purchaserParams(purchaserText("Alföldi Bt.", "Szeged"), 3);
    QCOMPARE(params.size(), size_t(6));
    const QStringList expected{"3", "Alföldi Bt.", "Szeged", "Fő utca 1.", "6720", "18301667206"};
    for (int i = 0; i < expected.size(); ++i)
        QCOMPARE(param(params, i + 1).toString(), expected.at(i));
    const QueryParams blank = purchaserParams(QString(), 7);
    QCOMPARE(param(blank, 1).toString(), QStringLiteral("7"));
    for (int i = 2; i <= 6; ++i)
        QCOMPARE(param(blank, i).toString(), QString());
}

void TestPreviousImport::statements() {
    QCOMPARE(producerInsert().join(QLatin1Char(' ')),
             QStringLiteral("INSERT INTO ostermelo ( o_kod, o_Nev,o_Irszam, o_Helysegnev, o_Utca, o_Adoazon, "
                            "o_Igszam, o_Regszam, o_Szja, o_Szulhely, o_Szido, o_Anyja, o_Muvktg, o_Csgazd, "
                            "o_Neme, o_Szulnev, o_TAJ, o_Adoszam, o_Bankszla, o_aKod   ) VALUES ( :p1, :p2, "
                            ":p3, :p4, :p5, :p6, :p7, :p8, :p9, :p10, :p11, :p12, :p13, :p14, :p15, :p16, "
                            ":p17, :p18, :p19, :p20 )"));
    QCOMPARE(animalInsert().join(QLatin1Char(' ')),
             QStringLiteral("INSERT INTO termek ( t_kod, t_Megnevezes, t_vtsz, t_ear, t_megy, t_Kompmerteke, "
                            "t_akod   ) VALUES ( :p1, :p2, :p3, :p4, :p5, :p6, :p7 )"));
    QCOMPARE(purchaserDelete(), QStringList{QStringLiteral("DELETE FROM atvevo")});
    QCOMPARE(purchaserInsert().join(QLatin1Char(' ')),
             QStringLiteral("INSERT INTO atvevo ( v_akod, v_neve, v_helyseg, v_utca, v_irszam, v_adoszam ) "
                            "VALUES ( :p1, :p2, :p3, :p4, :p5, :p6 )"));
}

void TestPreviousImport::writeFiles(const std::optional<QStringList>& producers,
                                    const std::optional<QStringList>& animals,
                                    const std::optional<QStringList>& purchasers) {
    const QString folder = QDir(qEnvironmentVariable("VARDELO_DRIVE_C")).filePath(QStringLiteral("ze10"));
    QVERIFY(QDir().mkpath(folder));
    const QList<std::pair<QString, std::optional<QStringList>>> files{{TForm25::ProducerFile, producers},
                                                                      {TForm25::AnimalFile, animals},
                                                                      {TForm25::PurchaserFile, purchasers}};
    for (const auto& [name, lines] : files) {
        if (lines)
            QVERIFY(writeTextFile(QDir(folder).filePath(name), *lines));
    }
}

bool TestPreviousImport::runImport(UiRecorder& recorder, bool producers, bool animals, bool purchasers) {
    TForm25 window;
    bool closed = false;
    recorder.expectModal([&](QDialog& dialog) {
        auto& form = static_cast<TForm25&>(dialog);
        child<QCheckBox>(form, "CheckBox1")->setChecked(producers);
        child<QCheckBox>(form, "CheckBox2")->setChecked(animals);
        child<QCheckBox>(form, "CheckBox3")->setChecked(purchasers);
        QTest::mouseClick(child<QPushButton>(form, "Button1"), Qt::LeftButton);
        closed = !form.isVisible();
    });
    ui().showModal(window);
    return closed;
}

void TestPreviousImport::window() {
    TForm25 window;
    QCOMPARE(window.objectName(), QStringLiteral("Form25"));
    QCOMPARE(window.windowTitle(), QStringLiteral("Form25"));
    QCOMPARE(child<QLineEdit>(window, "Edit1")->text(), QStringLiteral("c:\\ze10\\"));
    for (QCheckBox* box : {child<QCheckBox>(window, "CheckBox1"), child<QCheckBox>(window, "CheckBox2"),
                           child<QCheckBox>(window, "CheckBox3")})
        QVERIFY(box->isChecked());
    QCOMPARE(child<QCheckBox>(window, "CheckBox1")->text(), QStringLiteral("Östermelő"));
    QCOMPARE(child<QCheckBox>(window, "CheckBox2")->text(), QStringLiteral("Termék"));
    QCOMPARE(child<QCheckBox>(window, "CheckBox3")->text(), QStringLiteral("Átvevő"));
    QCOMPARE(child<QPushButton>(window, "Button1")->text(), QStringLiteral("Import"));
    QCOMPARE(child<QPushButton>(window, "Button3")->text(), QStringLiteral("Mégsem"));
    QVERIFY(window.sizeHint().width() <= 1024 && window.sizeHint().height() <= 768);
}

// Producers and animals are added to what the tables hold; the purchasers replace the purchaser table and
// are numbered from 1 in the order of the file, blank lines included.
void TestPreviousImport::importsAllThree() {
    TestDatabase db;
    const int producersBefore = count(QStringLiteral("ostermelo"));
    const int animalsBefore = count(QStringLiteral("termek"));
    QVERIFY(count(QStringLiteral("atvevo")) > 0);
    Producer noDate;
    noDate.code = QStringLiteral("0034 ");
    noDate.name = QStringLiteral("Nagy Éva");
    noDate.birth = QStringLiteral("19700101  ");
    writeFiles(
        QStringList{producerText(Producer()), QString(), producerText(noDate)},
        QStringList{animalText("0003 ", "Vágómarha", "520,5", "12")},
        QStringList{purchaserText("Első Bt.", "Szeged"), QString(), purchaserText("Harmadik Kft.", "Pécs")});

    UiRecorder recorder;
    QVERIFY(runImport(recorder));
    QCOMPARE(recorder.messageTexts(), (QStringList{producersDone, animalsDone, purchasersDone}));

    QCOMPARE(count(QStringLiteral("ostermelo")), producersBefore + 3);
    const QList<QStringList> producers =
        rows(QStringLiteral("SELECT o_kod, o_nev, o_szido, o_neme, o_szja, o_muvktg, o_bankszla, o_akod, "
                            "o_adoszam FROM ostermelo ORDER BY id_ostermelo DESC ROWS 3"));
    // The trailing blank of "10034 " does not fit the five characters of the code and is dropped.
    QCOMPARE(producers.at(0),
             (QStringList{"10034", "Nagy Éva", "<null>", "1", "0", "0", " ", "1", "18301667104"}));
    QCOMPARE(producers.at(1), (QStringList{"1", "", "<null>", "", "0", "0", " ", "1", ""}));
    QCOMPARE(producers.at(2),
             (QStringList{"10012", "Kovács János", "1961.03.14.", "1", "0", "0", " ", "1", "18301667104"}));
    QCOMPARE(count(QStringLiteral("termek")), animalsBefore + 1);
    QCOMPARE(rows(QStringLiteral("SELECT t_kod, t_megnevezes, t_vtsz, t_ear, t_megy, t_kompmerteke, t_akod "
                                 "FROM termek ORDER BY id_termek DESC ROWS 1"))
                 .at(0),
             (QStringList{"10003", "Vágómarha", "0102", "520,5", "kg", "12", "1"}));
    QCOMPARE(rows(QStringLiteral("SELECT v_akod, v_neve, v_helyseg, v_irszam FROM atvevo ORDER BY v_akod")),
             (QList<QStringList>{{"1", "Első Bt.", "Szeged", "6720"},
                                 {"2", "", "", ""},
                                 {"3", "Harmadik Kft.", "Pécs", "6720"}}));
}

// Empty files insert nothing and each kind still reports; the purchaser table is emptied all the same.
void TestPreviousImport::emptyFiles() {
    TestDatabase db(true);
    const int producersBefore = count(QStringLiteral("ostermelo"));
    const int animalsBefore = count(QStringLiteral("termek"));
    writeFiles(QStringList(), QStringList(), QStringList());
    UiRecorder recorder;
    QVERIFY(runImport(recorder));
    QCOMPARE(recorder.messageTexts(), (QStringList{producersDone, animalsDone, purchasersDone}));
    QCOMPARE(count(QStringLiteral("ostermelo")), producersBefore);
    QCOMPARE(count(QStringLiteral("termek")), animalsBefore);
    QCOMPARE(count(QStringLiteral("atvevo")), 0);
}

// A file whose lines end in CR alone (written on an old Macintosh) is read line by line like any other: two
// producers are two rows.
void TestPreviousImport::crOnlyLineEnds() {
    TestDatabase db;
    const int producersBefore = count(QStringLiteral("ostermelo"));
    Producer second;
    second.code = QStringLiteral("0034 ");
    second.name = QStringLiteral("Nagy Éva");
    const QString folder = QDir(qEnvironmentVariable("VARDELO_DRIVE_C")).filePath(QStringLiteral("ze10"));
    QVERIFY(QDir().mkpath(folder));
    QFile file(QDir(folder).filePath(TForm25::ProducerFile));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(*encodeWin1250(producerText(Producer()) + u'\r' + producerText(second) + u'\r'));
    file.close();
    UiRecorder recorder;
    QVERIFY(runImport(recorder, true, false, false));
    QCOMPARE(recorder.messageTexts(), QStringList{producersDone});
    QCOMPARE(count(QStringLiteral("ostermelo")), producersBefore + 2);
    QCOMPARE(rows(QStringLiteral("SELECT o_nev FROM ostermelo ORDER BY id_ostermelo DESC ROWS 2")),
             (QList<QStringList>{{"Nagy Éva"}, {"Kovács János"}}));
}

// A line the database refuses is reported with its kind's text and skipped; the lines around it are kept
// and the kind still reports success.
void TestPreviousImport::failingLineIsSkipped() {
    TestDatabase db;
    const int producersBefore = count(QStringLiteral("ostermelo"));
    const int animalsBefore = count(QStringLiteral("termek"));
    Producer badDate;
    badDate.birth = QStringLiteral("1961.02.30"); // no such day
    Producer longCode;
    longCode.code = QStringLiteral("00012"); // "100012" does not fit the code column
    Producer good;
    good.code = QStringLiteral("0077 ");
    writeFiles(
        QStringList{producerText(badDate), producerText(longCode), producerText(good)},
        QStringList{animalText("0001 ", "Bárány", "12x", "7"), animalText("0002 ", "Kecske", "300", "7")},
        std::nullopt);
    UiRecorder recorder;
    QVERIFY(runImport(recorder, true, true, false));
    QCOMPARE(recorder.messageTexts(),
             (QStringList{QStringLiteral("Hiba1: Újban, INSERT az östermelöben "),
                          QStringLiteral("Hiba1: Újban, INSERT az östermelöben "), producersDone,
                          QStringLiteral("Hiba1: Újban, INSERT a termékben "), animalsDone}));
    QCOMPARE(count(QStringLiteral("ostermelo")), producersBefore + 1);
    QCOMPARE(
        rows(QStringLiteral("SELECT o_kod FROM ostermelo ORDER BY id_ostermelo DESC ROWS 1")).at(0).at(0),
        QStringLiteral("10077"));
    QCOMPARE(count(QStringLiteral("termek")), animalsBefore + 1);
    QCOMPARE(
        rows(QStringLiteral("SELECT t_megnevezes FROM termek ORDER BY id_termek DESC ROWS 1")).at(0).at(0),
        QStringLiteral("Kecske"));
}

// A missing file ends the import with the error box: the kinds before it stay imported, no success text
// follows and the window stays open.
void TestPreviousImport::missingFileEndsTheImport() {
    TestDatabase db;
    const int producersBefore = count(QStringLiteral("ostermelo"));
    const int purchasersBefore = count(QStringLiteral("atvevo"));
    writeFiles(QStringList{producerText(Producer())}, std::nullopt, QStringList());
    UiRecorder recorder;
    QVERIFY(!runImport(recorder));
    QCOMPARE(recorder.messages.size(), 2);
    QCOMPARE(recorder.messages.at(0).text, producersDone);
    QCOMPARE(recorder.messages.at(1).caption, vardelo::errorCaption());
    QVERIFY(recorder.messages.at(1).text.contains(TForm25::AnimalFile));
    QCOMPARE(count(QStringLiteral("ostermelo")), producersBefore + 1);
    QCOMPARE(count(QStringLiteral("atvevo")), purchasersBefore);
}

// When the transaction cannot even be started the import ends at once with the kind's own text.
void TestPreviousImport::failedTransactionEndsTheImport() {
    TestDatabase db;
    writeFiles(QStringList{producerText(Producer())}, QStringList(), QStringList());
    if (Data->IBTrans1->Active())
        Data->IBTrans1->Commit();
    Data->ZCon1->Disconnect();
    UiRecorder recorder;
    QVERIFY(!runImport(recorder));
    QCOMPARE(recorder.messageTexts(), QStringList{QStringLiteral("Hiba2!")});
}

QTEST_MAIN(TestPreviousImport)
#include "test_previous_import.moc"
