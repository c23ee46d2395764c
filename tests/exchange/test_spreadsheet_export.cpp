#include "data/data_module.h"
#include "data/immediate_write.h"
#include "data/shared_values.h"
#include "exchange/spreadsheet_export.h"
#include "exchange/spreadsheet_window.h"
#include "exchange/xls_writer.h"
#include "support/children.h"
#include "support/test_database.h"
#include "support/ui_recorder.h"
#include "widgets/ui_service.h"
#include "xls_reader.h"

#include <QCheckBox>
#include <QDateEdit>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QProgressBar>
#include <QRadioButton>
#include <QTest>
#include <QUrl>

using vardelo::testing::child;

Q_DECLARE_METATYPE(vardelo::MsgButton)

using namespace vardelo;
using vardelo::testing::readWorkbook;
using vardelo::testing::TestDatabase;

namespace {

const QStringList Headers{
    "F_FIZKELT", "F_FELVKELT", "F_KELT",    "F_OSTERMKOD",   "O_NEV",        "S_BSZAM",   "S_MEGNEVEZES",
    "S_NETTO",   "S_MEGY",     "S_EAR",     "S_KOMPMERTEKE", "F_SZJA",       "O_ADOAZON", "O_ADOSZAM",
    "O_TAJ",     "O_IGSZAM",   "O_REGSZAM", "O_CSGAZD",      "O_HELYSEGNEV", "O_UTCA",    "O_BANKSZLA"};
const QList<int> Widths{12, 12, 12, 10, 45, 15, 45, 15, 15, 15, 5, 5, 15, 17, 15, 10, 15, 12, 45, 45, 30};
const QList<int> RightColumns{7, 9, 10, 11}; // H, J, K, L

// Tickets of purchaser "1" around the year 2010 by payment and purchase date, and one of purchaser "2".
void fillTickets(TestDatabase& db) {
    db.exec(
        "INSERT INTO ostermelo (o_kod, o_nev, o_helysegnev, o_utca, o_adoazon, o_adoszam, o_taj, o_igszam, "
        "o_regszam, o_csgazd, o_bankszla) VALUES ('7', 'Szűcs Ödön', 'Kecskemét', 'Hősök tere 1.', "
        "'8526018159', '18301667104', '318609139', '123456', 'R-1001', 'CSG-101', "
        "'117320091111111100000000')");
    const char* tickets[][5] = {
        // number, purchaser, payment date, purchase date, description of its line
        {"10000001", "1", "2010-01-01", "2009-12-20", "Vágósertés"},
        {"10000002", "1", "2010-12-31", "2010-12-31", "Süldő, őszi ű"},
        {"10000003", "1", "2011-01-01", "2010-06-01", "Borjú"},
        {"10000004", "1", "2009-12-31", "2010-01-01", "Vágómarha"},
        {"20000001", "2", "2010-05-05", "2010-05-05", "Idegen"},
    };
    for (const auto& t : tickets) {
        db.exec(
            QStringLiteral("INSERT INTO fjfej (f_bszam, f_ostermkod, f_kelt, f_felvkelt, f_fizkelt, f_szja, "
                           "f_akod) VALUES ('%1', '7', '%4', '%4', '%3', 15, '%2')")
                .arg(t[0], t[1], t[2], t[3]));
        db.exec(
            QStringLiteral("INSERT INTO fjsor (s_bszam, s_megnevezes, s_brutto, s_levonszaz, s_megy, s_ear, "
                           "s_kompmerteke, s_akod) VALUES ('%1', '%2', 100, 2, 'kg', 420.5, 7, '%3')")
                .arg(t[0], QString::fromUtf8(t[4]), t[1]));
    }
}

QJsonObject cellAt(const QJsonObject& sheet, int row, int column) {
    return sheet[QStringLiteral("rows")].toArray()[row].toArray()[column].toObject();
}

} // namespace

class TestSpreadsheetExport : public QObject {
    Q_OBJECT
public slots:
    // Stands in for the desktop's default application.
    void openFile(const QUrl& url) { opened << url; }

private slots:
    void init();
    void cleanup();
    void collectsTheRange_data();
    void collectsTheRange();
    void collectsLinesInTicketOrder();
    void workbookReadsBack();
    void emptyCollection();
    void existingFile_data();
    void existingFile();
    void failedSave();
    void showsTheWorkbook_data();
    void showsTheWorkbook();
    void exportCollectsFirst();
    void longResultGoesOnInASecondSheet();
    void fetchedBytesGiveTheDecodedValuesWorkbook();

private:
    // A window saving into the test's folder, on the given range.
    std::unique_ptr<TForm20> window(const QDate& from = QDate(2010, 1, 1),
                                    const QDate& to = QDate(2010, 12, 31)) {
        auto form = std::make_unique<TForm20>();
        form->SaveFolder = QDir(db_->folder()).filePath(QStringLiteral("Dokumentumok"));
        child<QDateEdit>(form, "DateTimePicker1")->setDate(from);
        child<QDateEdit>(form, "DateTimePicker2")->setDate(to);
        child<QCheckBox>(form, "CheckBox1")->setChecked(false);
        return form;
    }
    QStringList collectedNumbers() {
        QStringList numbers;
        for (Data->ZQ20->First(); !Data->ZQ20->Eof(); Data->ZQ20->Next())
            numbers << Data->ZQ20->FieldByName(QStringLiteral("S_BSZAM")).AsString();
        return numbers;
    }

    std::unique_ptr<TestDatabase> db_;
    QList<QUrl> opened;
};

void TestSpreadsheetExport::init() {
    db_ = std::make_unique<TestDatabase>();
    fillTickets(*db_);
    AktAkod = QStringLiteral("1");
    opened.clear();
    QDesktopServices::setUrlHandler(QStringLiteral("file"), this, "openFile");
}

void TestSpreadsheetExport::cleanup() {
    QDesktopServices::unsetUrlHandler(QStringLiteral("file"));
    db_.reset();
}

// Both ends of the range count; other purchasers' tickets never come, whatever the dates.
void TestSpreadsheetExport::collectsTheRange_data() {
    QTest::addColumn<bool>("byPurchaseDate");
    QTest::addColumn<QDate>("from");
    QTest::addColumn<QDate>("to");
    QTest::addColumn<QStringList>("numbers");
    QTest::newRow("payment date, 2010")
        << false << QDate(2010, 1, 1) << QDate(2010, 12, 31) << QStringList{"10000001", "10000002"};
    QTest::newRow("purchase date, 2010") << true << QDate(2010, 1, 1) << QDate(2010, 12, 31)
                                         << QStringList{"10000002", "10000003", "10000004"};
    QTest::newRow("one day, the from-date")
        << false << QDate(2010, 1, 1) << QDate(2010, 1, 1) << QStringList{"10000001"};
    QTest::newRow("ten years") << false << QDate(2005, 1, 1) << QDate(2015, 12, 31)
                               << QStringList{"10000001", "10000002", "10000003", "10000004"};
    QTest::newRow("the other purchaser's day")
        << false << QDate(2010, 5, 5) << QDate(2010, 5, 5) << QStringList{};
}

void TestSpreadsheetExport::collectsTheRange() {
    QFETCH(bool, byPurchaseDate);
    QFETCH(QDate, from);
    QFETCH(QDate, to);
    QFETCH(QStringList, numbers);
    UiRecorder recorder;
    auto form = window(from, to);
    QVERIFY(child<QRadioButton>(form, "RadioButton1")->isChecked());
    if (byPurchaseDate)
        child<QRadioButton>(form, "RadioButton2")->setChecked(true);
    form->Button1Click();
    QCOMPARE(collectedNumbers(), numbers);
    QCOMPARE(recorder.messageTexts(), QStringList{});
}

// A ticket's lines come together in the order they were written, after the tickets with lower numbers; a line
// whose header is missing is no purchase of the period.
void TestSpreadsheetExport::collectsLinesInTicketOrder() {
    db_->exec(
        "INSERT INTO fjsor (s_bszam, s_megnevezes, s_brutto, s_akod) VALUES ('10000001', 'Második', 5, '1')");
    db_->exec(
        "INSERT INTO fjsor (s_bszam, s_megnevezes, s_brutto, s_akod) VALUES ('10000000', 'Árva', 5, '1')");
    db_->exec("INSERT INTO fjsor (s_bszam, s_megnevezes, s_brutto, s_akod) VALUES ('10000001', 'Harmadik', "
              "5, '1')");
    auto form = window();
    form->Button1Click();
    QStringList lines;
    for (Data->ZQ20->First(); !Data->ZQ20->Eof(); Data->ZQ20->Next())
        lines << Data->ZQ20->FieldByName(QStringLiteral("S_BSZAM")).AsString() + u' ' +
                     Data->ZQ20->FieldByName(QStringLiteral("S_MEGNEVEZES")).AsString();
    QCOMPARE(lines, (QStringList{"10000001 Vágósertés", "10000001 Második", "10000001 Harmadik",
                                 "10000002 Süldő, őszi ű"}));
}

// Headers, widths, the bold row across A1:AM1, the alignments of every row, each value with its type.
void TestSpreadsheetExport::workbookReadsBack() {
    UiRecorder recorder;
    auto form = window();
    child<QRadioButton>(form, "RadioButton2")->setChecked(true);
    form->Button1Click();
    form->Button4Click();
    QCOMPARE(child<QProgressBar>(form, "ProgressBar1")->maximum(), 3);
    QCOMPARE(child<QProgressBar>(form, "ProgressBar1")->value(), 3);
    QCOMPARE(recorder.messageTexts(),
             QStringList{"A konvertálás befejeződött!\n3 sor került a munkafüzetbe (Munka1)."});
    QCOMPARE(recorder.messages.last().caption, QStringLiteral("Kész!"));
    QCOMPARE(recorder.messages.last().icon, MsgIcon::Information);

    QCOMPARE(form->WorkbookPath(), QDir(form->SaveFolder).filePath(QStringLiteral("FJFEJ.xls")));
    const QJsonObject book = readWorkbook(form->WorkbookPath());
    const QJsonArray sheets = book[QStringLiteral("sheets")].toArray();
    QCOMPARE(sheets.size(), 1);
    const QJsonObject sheet = sheets[0].toObject();
    QCOMPARE(sheet[QStringLiteral("nrows")].toInt(), 4);

    const QJsonArray header = sheet[QStringLiteral("rows")].toArray()[0].toArray();
    QCOMPARE(header.size(), 39);
    for (int c = 0; c < 39; ++c) {
        const QJsonObject cell = header[c].toObject();
        QVERIFY2(cell[QStringLiteral("bold")].toBool(), qPrintable(exchange::columnLetters(c) + "1"));
        if (c < 21)
            QCOMPARE(cell[QStringLiteral("v")].toString(), Headers[c]);
        else
            QCOMPARE(cell[QStringLiteral("t")].toInt(), 6); // blank
    }
    const QJsonObject widths = sheet[QStringLiteral("widths")].toObject();
    for (int c = 0; c < 21; ++c) {
        // Read back, each column shows the characters it was given.
        QCOMPARE(xls::columnWidthCharacters(widths[QString::number(c)].toInt()), double(Widths[c]));
        for (int r = 0; r < 4; ++r)
            QCOMPARE(cellAt(sheet, r, c)[QStringLiteral("align")].toInt(), RightColumns.contains(c) ? 3 : 1);
    }
    for (int r = 1; r < 4; ++r)
        for (int c = 0; c < 21; ++c)
            QVERIFY(!cellAt(sheet, r, c)[QStringLiteral("bold")].toBool());

    // Rows in ticket-number order; the second line is ticket 10000003.
    QCOMPARE(cellAt(sheet, 1, 5)[QStringLiteral("v")].toString(), QStringLiteral("10000002"));
    QCOMPARE(cellAt(sheet, 2, 5)[QStringLiteral("v")].toString(), QStringLiteral("10000003"));
    QCOMPARE(cellAt(sheet, 3, 5)[QStringLiteral("v")].toString(), QStringLiteral("10000004"));
    const int Date = 3, Number = 2, Text = 1;
    struct Expected {
        int column;
        int type;
        QVariant value;
    };
    const QList<Expected> firstLine{
        {0, Date, "2010-12-31"},
        {1, Date, "2010-12-31"},
        {2, Date, "2010-12-31"},
        {3, Text, "7"},
        {4, Text, "Szűcs Ödön"},
        {5, Text, "10000002"},
        {6, Text, "Süldő, őszi ű"},
        {7, Number, 98.0},
        {8, Text, "kg"},
        {9, Number, 420.5},
        {10, Number, 7.0},
        {11, Number, 15.0},
        {12, Text, "8526018159"},
        {13, Text, "18301667104"},
        {14, Text, "318609139"},
        {15, Text, "123456"},
        {16, Text, "R-1001"},
        {17, Text, "CSG-101"},
        {18, Text, "Kecskemét"},
        {19, Text, "Hősök tere 1."},
        {20, Text, "117320091111111100000000"},
    };
    for (const Expected& e : firstLine) {
        const QJsonObject cell = cellAt(sheet, 1, e.column);
        QVERIFY2(cell[QStringLiteral("t")].toInt() == e.type, qPrintable(Headers[e.column]));
        if (e.type == Number)
            QCOMPARE(cell[QStringLiteral("v")].toDouble(), e.value.toDouble());
        else
            QCOMPARE(cell[QStringLiteral("v")].toString(), e.value.toString());
    }
    QCOMPARE(cellAt(sheet, 3, 0)[QStringLiteral("v")].toString(), QStringLiteral("2009-12-31"));
}

// An empty collection still gives a workbook with the header row and its widths; the bar's maximum is 0.
void TestSpreadsheetExport::emptyCollection() {
    UiRecorder recorder;
    auto form = window(QDate(2000, 1, 1), QDate(2000, 12, 31));
    form->Button1Click();
    form->Button4Click();
    QCOMPARE(child<QProgressBar>(form, "ProgressBar1")->maximum(), 0);
    QCOMPARE(recorder.messageTexts(),
             QStringList{"A konvertálás befejeződött!\n0 sor került a munkafüzetbe (Munka1)."});
    const QJsonObject sheet =
        readWorkbook(form->WorkbookPath())[QStringLiteral("sheets")].toArray()[0].toObject();
    QCOMPARE(sheet[QStringLiteral("nrows")].toInt(), 1);
    QCOMPARE(cellAt(sheet, 0, 20)[QStringLiteral("v")].toString(), QStringLiteral("O_BANKSZLA"));
    QCOMPARE(sheet[QStringLiteral("widths")].toObject()[QStringLiteral("20")].toInt(),
             xls::columnWidthUnits(30));
}

// An existing FJFEJ.xls is replaced only when the clerk says so.
void TestSpreadsheetExport::existingFile_data() {
    QTest::addColumn<MsgButton>("answer");
    QTest::addColumn<bool>("replaced");
    QTest::addColumn<QStringList>("messages");
    const QString done = exchange::exportDoneText(2);
    QTest::newRow("yes") << MsgButton::Yes << true << QStringList{done};
    QTest::newRow("no") << MsgButton::No << false << QStringList{"A fájl mentése nem történt meg!", done};
    QTest::newRow("box closed") << MsgButton::Closed << false
                                << QStringList{"A fájl mentése nem történt meg!", done};
}

void TestSpreadsheetExport::existingFile() {
    QFETCH(MsgButton, answer);
    QFETCH(bool, replaced);
    QFETCH(QStringList, messages);
    auto form = window();
    child<QCheckBox>(form, "CheckBox1")->setChecked(true);
    QDir().mkpath(form->SaveFolder);
    {
        QFile old(form->WorkbookPath());
        QVERIFY(old.open(QIODevice::WriteOnly));
        old.write("régi munkafüzet");
    }
    UiRecorder recorder;
    recorder.answer(answer);
    form->Button1Click();
    form->Button4Click();
    QCOMPARE(recorder.messages.size(), messages.size() + 1);
    QCOMPARE(recorder.messages.first().icon, MsgIcon::Question);
    QCOMPARE(recorder.messages.first().buttons, int(MsgButton::Yes) | int(MsgButton::No));
    QCOMPARE(recorder.messageTexts().mid(1), messages);
    QFile file(form->WorkbookPath());
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll() != QByteArray("régi munkafüzet"), replaced);
    // Only a saved workbook is shown.
    QCOMPARE(opened.size(), replaced ? 1 : 0);
}

// A folder that cannot be written: the save is reported as not done, the export still ends with its message.
void TestSpreadsheetExport::failedSave() {
    UiRecorder recorder;
    auto form = window();
    QFile blocker(QDir(db_->folder()).filePath(QStringLiteral("fajl")));
    QVERIFY(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    form->SaveFolder = blocker.fileName();
    child<QCheckBox>(form, "CheckBox1")->setChecked(true);
    form->Button1Click();
    form->Button4Click();
    QCOMPARE(recorder.messageTexts(),
             (QStringList{"A fájl mentése nem történt meg!", exchange::exportDoneText(2)}));
    QVERIFY(opened.isEmpty());
}

void TestSpreadsheetExport::showsTheWorkbook_data() {
    QTest::addColumn<bool>("ticked");
    QTest::newRow("ticked") << true;
    QTest::newRow("not ticked") << false;
}

// " excel táblát megjelenít" opens the saved workbook with the desktop's application, before the last
// message.
void TestSpreadsheetExport::showsTheWorkbook() {
    QFETCH(bool, ticked);
    UiRecorder recorder;
    auto form = window();
    child<QCheckBox>(form, "CheckBox1")->setChecked(ticked);
    form->Button1Click();
    form->Button4Click();
    if (ticked)
        QCOMPARE(opened, QList<QUrl>{QUrl::fromLocalFile(form->WorkbookPath())});
    else
        QVERIFY(opened.isEmpty());
    QVERIFY(QFile::exists(form->WorkbookPath()));
}

// "Exportálás " without "Kigyüjtés" in this window collects first, so another window's list is never written.
void TestSpreadsheetExport::exportCollectsFirst() {
    UiRecorder recorder;
    vardelo::openQuery(Data->ZQ20, {QStringLiteral("SELECT * FROM termek")});
    auto form = window();
    form->Button4Click();
    QCOMPARE(collectedNumbers(), (QStringList{"10000001", "10000002"}));
    const QJsonObject sheet =
        readWorkbook(form->WorkbookPath())[QStringLiteral("sheets")].toArray()[0].toObject();
    QCOMPARE(sheet[QStringLiteral("nrows")].toInt(), 3);
    QCOMPARE(cellAt(sheet, 0, 0)[QStringLiteral("v")].toString(), QStringLiteral("F_FIZKELT"));
}

// A sheet holds 65,536 rows; the lines beyond go on in a second sheet under its own header row.
void TestSpreadsheetExport::longResultGoesOnInASecondSheet() {
    db_->exec(
        "EXECUTE BLOCK AS DECLARE i INTEGER = 0; BEGIN WHILE (i < 65540) DO BEGIN "
        "INSERT INTO fjsor (s_bszam, s_megnevezes, s_brutto, s_akod) VALUES ('10000001', 'Tömeg', 1, '1'); "
        "i = i + 1; END END");
    UiRecorder recorder;
    auto form = window();
    form->Button1Click();
    form->Button4Click();
    QCOMPARE(child<QProgressBar>(form, "ProgressBar1")->value(), 65542);
    const QJsonArray sheets = readWorkbook(form->WorkbookPath(), true)[QStringLiteral("sheets")].toArray();
    QCOMPARE(sheets.size(), 2);
    const QJsonObject first = sheets[0].toObject();
    const QJsonObject second = sheets[1].toObject();
    QCOMPARE(first[QStringLiteral("name")].toString(), QStringLiteral("Munka1"));
    QCOMPARE(second[QStringLiteral("name")].toString(), QStringLiteral("Munka2"));
    QCOMPARE(first[QStringLiteral("nrows")].toInt(), 65536);
    QCOMPARE(second[QStringLiteral("nrows")].toInt(), 1 + 65542 - 65535);
    QCOMPARE(cellAt(second, 0, 6)[QStringLiteral("v")].toString(), QStringLiteral("S_MEGNEVEZES"));
    QVERIFY(cellAt(second, 0, 6)[QStringLiteral("bold")].toBool());
    // The last line is ticket 10000002's.
    QCOMPARE(cellAt(second, 2, 5)[QStringLiteral("v")].toString(), QStringLiteral("10000002"));
    // The clerk is told where the lines went.
    QCOMPARE(recorder.messageTexts(),
             QStringList{QStringLiteral("A konvertálás befejeződött!\n65 542 sor került a munkafüzetbe, 2 "
                                        "munkalapra (Munka1–Munka2), mert egy munkalapra legfeljebb "
                                        "65 535 sor fér.")});
}

// The workbook is built from the rows' fetched bytes; it must be byte for byte the one built from the values
// the dataset decodes: texts with letters beyond Latin-1 (ő, ű: the two-byte form), empty texts, nulls (a
// ticket without its producer), negative and fractional amounts, dates, and a second sheet.
void TestSpreadsheetExport::fetchedBytesGiveTheDecodedValuesWorkbook() {
    db_->exec("INSERT INTO ostermelo (o_kod, o_nev, o_helysegnev, o_utca, o_bankszla) VALUES ('8', "
              "'Őry Űrsula', '', 'Fő út 1.', NULL)");
    db_->exec(
        "INSERT INTO fjfej (f_bszam, f_ostermkod, f_kelt, f_felvkelt, f_fizkelt, f_szja, f_akod) VALUES "
        "('10000005', '8', NULL, '2010-02-28', '2010-03-01', -15, '1')");
    db_->exec("INSERT INTO fjfej (f_bszam, f_ostermkod, f_kelt, f_felvkelt, f_fizkelt, f_akod) VALUES "
              "('10000006', '99', '1900-03-01', '1900-02-28', '2010-03-02', '1')");
    db_->exec(
        "INSERT INTO fjsor (s_bszam, s_megnevezes, s_brutto, s_levonszaz, s_megy, s_ear, s_kompmerteke, "
        "s_akod) VALUES ('10000005', 'Visszáru őszi ű ÁÉÍÓÖŐÚÜŰ', -12.3456, 0.5, '', -0.0001, NULL, '1')");
    db_->exec(
        "INSERT INTO fjsor (s_bszam, s_megnevezes, s_brutto, s_megy, s_ear, s_akod) VALUES ('10000006', "
        "NULL, 999998.9999, NULL, 654321.0987, '1')");
    db_->exec("INSERT INTO fjsor (s_bszam, s_megnevezes, s_brutto, s_akod) VALUES ('10000006', "
              "'Hetvenöt karakter: ÁRVÍZTŰRŐ TÜKÖRFÚRÓGÉP árvíztűrő tükörfúrógép 0123456789', 0, '1')");
    auto form = window();
    form->Button1Click();
    TDataSet& lines = *Data->ZQ20;
    QCOMPARE(lines.RecordCount(), 5);
    auto decoded = [&] {
        QList<exchange::SheetColumn> columns;
        for (int i = 0; i < int(Headers.size()); ++i)
            columns.append({Headers[i], Widths[i], RightColumns.contains(i)});
        const int count = lines.RecordCount();
        return exchange::buildSheets(columns,
                                     {count, [&](int row, int column) { return lines.ValueAt(row, column); }},
                                     exchange::BoldHeaderColumns);
    };
    const QByteArray expected = decoded();
    QCOMPARE(exchange::buildWorkbook(lines), expected);
    QCOMPARE(lines.RecNo(), 5);

    // Past a sheet's lines, with the dataset's window smaller than the rows.
    db_->exec(
        "EXECUTE BLOCK AS DECLARE i INTEGER = 0; BEGIN WHILE (i < 65540) DO BEGIN "
        "INSERT INTO fjsor (s_bszam, s_megnevezes, s_brutto, s_akod) VALUES ('10000005', 'Tömeg ő', 1, '1'); "
        "i = i + 1; END END");
    db_->exec("UPDATE fjsor SET s_brutto = -MOD(id_fjsor, 999999) / 7.0 WHERE s_megnevezes = 'Tömeg ő'");
    form->Button1Click();
    const QByteArray expectedLong = decoded();
    QCOMPARE(exchange::buildWorkbook(lines), expectedLong);
    QCOMPARE(lines.RecNo(), 5 + 65540);
}

QTEST_MAIN(TestSpreadsheetExport)
#include "test_spreadsheet_export.moc"
