#include "exchange/ole_file.h"
#include "exchange/spreadsheet_export.h"
#include "exchange/xls_writer.h"
#include "xls_reader.h"

#include <QFile>
#include <QJsonArray>
#include <QTemporaryDir>
#include <QTest>

using namespace vardelo;
using namespace vardelo::xls;
using vardelo::testing::readWorkbook;

// The workbook writer, checked by reading its files back with xlrd.
class TestXlsWriter : public QObject {
    Q_OBJECT
private slots:
    void dateSerials_data();
    void dateSerials();
    void columnLetters_data();
    void columnLetters();
    void cellsReadBack();
    void columnWidths_data();
    void columnWidths();
    void sheetsAndBounds();
    void emptySheet();
    void cellOutsideTheSheet();
    void unwritableFolder();

private:
    QString save(const BiffWorkbook& book) {
        const QString path = dir_.filePath(QStringLiteral("book%1.xls").arg(++files_));
        writeCompoundFile(path, QStringLiteral("Workbook"), book.finish());
        return path;
    }
    QTemporaryDir dir_;
    int files_ = 0;
};

void TestXlsWriter::dateSerials_data() {
    QTest::addColumn<QDate>("date");
    QTest::addColumn<double>("serial");
    QTest::newRow("first day after the 1900 leap-year gap") << QDate(1900, 3, 1) << 61.0;
    QTest::newRow("end of 1899") << QDate(1899, 12, 31) << 1.0;
    QTest::newRow("2010.08.31.") << QDate(2010, 8, 31) << 40421.0;
    QTest::newRow("2010.01.01.") << QDate(2010, 1, 1) << 40179.0;
}

void TestXlsWriter::dateSerials() {
    QFETCH(QDate, date);
    QFETCH(double, serial);
    QCOMPARE(dateSerial(date), serial);
}

void TestXlsWriter::columnLetters_data() {
    QTest::addColumn<int>("column");
    QTest::addColumn<QString>("letters");
    QTest::newRow("first") << 0 << "A";
    QTest::newRow("U") << 20 << "U";
    QTest::newRow("Z") << 25 << "Z";
    QTest::newRow("AA") << 26 << "AA";
    QTest::newRow("AM") << 38 << "AM";
    QTest::newRow("last of a sheet") << 255 << "IV";
}

void TestXlsWriter::columnLetters() {
    QFETCH(int, column);
    QFETCH(QString, letters);
    QCOMPARE(exchange::columnLetters(column), letters);
}

// A column's stored width holds its characters in whole pixels of the first font's digit (Arial 10: 7) and
// the 5 pixels of margin and grid line, in 1/256 of a digit: Excel's default 8,43 characters are stored as
// 2340; the width read back is the characters asked for.
void TestXlsWriter::columnWidths_data() {
    QTest::addColumn<double>("characters");
    QTest::addColumn<int>("units");
    QTest::newRow("Excel's default column") << 8.43 << 2340;
    QTest::newRow("1") << 1.0 << 438;
    QTest::newRow("5") << 5.0 << 1462;
    QTest::newRow("12") << 12.0 << 3254;
    QTest::newRow("45: a name") << 45.0 << 11702;
    QTest::newRow("0: hidden") << 0.0 << 0;
}

void TestXlsWriter::columnWidths() {
    QFETCH(double, characters);
    QFETCH(int, units);
    QCOMPARE(columnWidthUnits(characters), units);
    QCOMPARE(columnWidthCharacters(units), characters);
    for (int n = 1; n <= 255; ++n)
        QCOMPARE(columnWidthCharacters(columnWidthUnits(n)), double(n));
    // Stored as exactly 45 * 256 the column would show fewer characters than asked for.
    QCOMPARE(columnWidthCharacters(45 * 256), 44.29);
}

// Text (one-byte and Hungarian double-accented letters), numbers, dates, blanks; bold and plain fonts; the
// three alignments; widths; the short-date format and a custom one.
void TestXlsWriter::cellsReadBack() {
    BiffWorkbook book;
    const int custom = book.addFormat(QStringLiteral("yyyy.mm.dd."));
    const int boldLeft = book.cellFormat({true, Align::Left, 0});
    const int right = book.cellFormat({false, Align::Right, 0});
    const int date = book.cellFormat({false, Align::Left, ShortDateFormat});
    const int customDate = book.cellFormat({false, Align::General, custom});
    QCOMPARE(book.cellFormat({true, Align::Left, 0}), boldLeft);
    book.beginSheet(QStringLiteral("Munka1"));
    book.setColumnWidth(0, 0, 12);
    book.setColumnWidth(1, 1, 45);
    book.setColumnWidth(2, 2, 5);
    book.writeText(0, 0, QStringLiteral("F_FIZKELT"), boldLeft);
    book.writeText(0, 1, QStringLiteral("Szűcs Ödön, Hősök tere 1."), boldLeft);
    book.writeText(0, 2, QStringLiteral("Kecskemét"), right);
    book.writeDate(1, 0, QDate(2010, 8, 31), date);
    book.writeNumber(1, 1, 1234.5, right);
    book.writeBlank(1, 2, boldLeft);
    book.writeDate(2, 0, QDate(2010, 1, 1), customDate);
    book.writeText(2, 1, QString(300, QLatin1Char('x')), right);
    const QString path = save(book);

    const QJsonObject read = readWorkbook(path);
    QCOMPARE(read[QStringLiteral("biff")].toInt(), 80);
    const QJsonArray sheets = read[QStringLiteral("sheets")].toArray();
    QCOMPARE(sheets.size(), 1);
    const QJsonObject sheet = sheets[0].toObject();
    QCOMPARE(sheet[QStringLiteral("name")].toString(), QStringLiteral("Munka1"));
    QCOMPARE(sheet[QStringLiteral("nrows")].toInt(), 3);
    QCOMPARE(sheet[QStringLiteral("ncols")].toInt(), 3);
    const QJsonObject widths = sheet[QStringLiteral("widths")].toObject();
    // As a spreadsheet program stores 12, 45 and 5 characters with the cell's padding.
    QCOMPARE(widths[QStringLiteral("0")].toInt(), 3254);
    QCOMPARE(widths[QStringLiteral("1")].toInt(), 11702);
    QCOMPARE(widths[QStringLiteral("2")].toInt(), 1462);

    const QJsonArray rows = sheet[QStringLiteral("rows")].toArray();
    auto cell = [&](int r, int c) { return rows[r].toArray()[c].toObject(); };
    QCOMPARE(cell(0, 0)[QStringLiteral("v")].toString(), QStringLiteral("F_FIZKELT"));
    QCOMPARE(cell(0, 0)[QStringLiteral("bold")].toBool(), true);
    QCOMPARE(cell(0, 0)[QStringLiteral("align")].toInt(), 1);
    QCOMPARE(cell(0, 0)[QStringLiteral("font")].toString(), QStringLiteral("Arial"));
    QCOMPARE(cell(0, 1)[QStringLiteral("v")].toString(), QStringLiteral("Szűcs Ödön, Hősök tere 1."));
    QCOMPARE(cell(0, 2)[QStringLiteral("v")].toString(), QStringLiteral("Kecskemét"));
    QCOMPARE(cell(0, 2)[QStringLiteral("bold")].toBool(), false);
    QCOMPARE(cell(0, 2)[QStringLiteral("align")].toInt(), 3);
    QCOMPARE(cell(1, 0)[QStringLiteral("t")].toInt(), 3);
    QCOMPARE(cell(1, 0)[QStringLiteral("v")].toString(), QStringLiteral("2010-08-31"));
    QCOMPARE(cell(1, 1)[QStringLiteral("t")].toInt(), 2);
    QCOMPARE(cell(1, 1)[QStringLiteral("v")].toDouble(), 1234.5);
    QCOMPARE(cell(1, 1)[QStringLiteral("fmt")].toString(), QStringLiteral("General"));
    QCOMPARE(cell(1, 2)[QStringLiteral("t")].toInt(), 6);
    QCOMPARE(cell(1, 2)[QStringLiteral("bold")].toBool(), true);
    QCOMPARE(cell(2, 0)[QStringLiteral("t")].toInt(), 3);
    QCOMPARE(cell(2, 0)[QStringLiteral("v")].toString(), QStringLiteral("2010-01-01"));
    QCOMPARE(cell(2, 0)[QStringLiteral("fmt")].toString(), QStringLiteral("yyyy.mm.dd."));
    QCOMPARE(cell(2, 1)[QStringLiteral("v")].toString().size(), BiffWorkbook::MaxLabelLength);
}

// Each sheet finds its own cells: BOUNDSHEET positions follow the globals, whatever their length.
void TestXlsWriter::sheetsAndBounds() {
    BiffWorkbook book;
    const int xf = book.cellFormat({});
    for (int s = 1; s <= 3; ++s) {
        book.beginSheet(exchange::sheetName(s));
        book.writeNumber(0, 0, s, xf);
        book.writeText(BiffWorkbook::MaxRow, 2, QStringLiteral("utolsó sor %1").arg(s), xf);
    }
    const QJsonArray sheets = readWorkbook(save(book), true)[QStringLiteral("sheets")].toArray();
    QCOMPARE(sheets.size(), 3);
    for (int s = 0; s < 3; ++s) {
        const QJsonObject sheet = sheets[s].toObject();
        QCOMPARE(sheet[QStringLiteral("name")].toString(), QStringLiteral("Munka%1").arg(s + 1));
        QCOMPARE(sheet[QStringLiteral("nrows")].toInt(), BiffWorkbook::MaxRow + 1);
        const QJsonArray rows = sheet[QStringLiteral("rows")].toArray();
        QCOMPARE(rows[0].toArray()[0].toObject()[QStringLiteral("v")].toDouble(), double(s + 1));
        QCOMPARE(rows[2].toArray()[2].toObject()[QStringLiteral("v")].toString(),
                 QStringLiteral("utolsó sor %1").arg(s + 1));
    }
}

void TestXlsWriter::emptySheet() {
    BiffWorkbook book;
    book.beginSheet(QStringLiteral("Munka1"));
    const QByteArray stream = book.finish();
    QVERIFY(stream.size() >= 4096);
    const QString path = dir_.filePath(QStringLiteral("empty.xls"));
    writeCompoundFile(path, QStringLiteral("Workbook"), stream);
    const QJsonArray sheets = readWorkbook(path)[QStringLiteral("sheets")].toArray();
    QCOMPARE(sheets.size(), 1);
    QCOMPARE(sheets[0].toObject()[QStringLiteral("nrows")].toInt(), 0);
}

void TestXlsWriter::cellOutsideTheSheet() {
    BiffWorkbook book;
    QVERIFY_THROWS_EXCEPTION(std::logic_error, book.writeNumber(0, 0, 1, 15));
    book.beginSheet(QStringLiteral("Munka1"));
    QVERIFY_THROWS_EXCEPTION(std::out_of_range, book.writeNumber(BiffWorkbook::MaxRow + 1, 0, 1, 15));
    QVERIFY_THROWS_EXCEPTION(std::out_of_range, book.writeBlank(0, BiffWorkbook::MaxColumn + 1, 15));
}

void TestXlsWriter::unwritableFolder() {
    const QString path = dir_.filePath(QStringLiteral("nincs/ilyen/mappa/FJFEJ.xls"));
    QVERIFY_THROWS_EXCEPTION(OleWriteError,
                             writeCompoundFile(path, QStringLiteral("Workbook"), QByteArray(5000, 'x')));
    QVERIFY(!QFile::exists(path));
}

QTEST_GUILESS_MAIN(TestXlsWriter)
#include "test_xls_writer.moc"
