// The indicator's three output formats read frame by frame, what each reading lets the line dialog take, and
// the cutting of the byte stream into frames however the reads divide it.
#include "weighing/scale_frame_splitter.h"
#include "weighing/scale_reading_rules.h"
#include "weighing/scale_status.h"

#include <QtTest>

using namespace vardelo;
using namespace vardelo::weighing;

namespace {

// Status byte A: bit 5 always set, count by 1 (bit 3), the decimal point's code in bits 0-2.
char statusA(int point) {
    return char(0x20 | 0x08 | point);
}
// Status byte B: bit 5 always set, kg (bit 4) unless `flags` says otherwise.
constexpr int Net = 0x01, Negative = 0x02, OutOfRange = 0x04, Motion = 0x08, Kg = 0x10, NotZeroed = 0x40;
char statusB(int flags) {
    return char(0x20 | flags);
}

QByteArray toledo(int point, int flags, const QByteArray& weight, bool checksum, char c = 0x20) {
    QByteArray frame;
    frame += '\x02';
    frame += statusA(point);
    frame += statusB(flags);
    frame += c;
    frame += weight;
    frame += "000000";
    frame += '\r';
    if (checksum)
        frame += toledoChecksum(frame);
    return frame;
}

} // namespace

class TestScaleReadingRules : public QObject {
    Q_OBJECT
private slots:
    void frames_data();
    void frames();
    void statusMessagesNameThePort();
    void splitting_data();
    void splitting();
};

void TestScaleReadingRules::frames_data() {
    QTest::addColumn<int>("format");
    QTest::addColumn<QByteArray>("frame");
    QTest::addColumn<bool>("readable");
    QTest::addColumn<QString>("refusal");
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("label");
    const int comma = int(ScaleFormat::Comma), tol = int(ScaleFormat::Toledo),
              plain = int(ScaleFormat::Plain);
    auto row = [](const char* name, int format, const QByteArray& frame, const QString& refusal,
                  const QString& field, const QString& label) {
        QTest::newRow(name) << format << frame << true << refusal << field << label;
    };
    auto unreadable = [](const char* name, int format, const QByteArray& frame) {
        QTest::newRow(name) << format << frame << false << QString() << QString() << QString();
    };

    row("vesszo stable", comma, "ST,GS,+0001234.5kg", "", "1234,5", "1234,5 kg");
    row("vesszo unstable", comma, "US,GS,+0001236.0kg", "A mérleg nem nyugodt", "1236",
        "1236 kg, nem nyugodt");
    row("vesszo overload with dashes", comma, "OL,GS,+-------kg", "A mérleg túlterhelt", "", "túlterhelt");
    row("vesszo overload with a weight", comma, "OL,GS,+0099999.9kg", "A mérleg túlterhelt", "99999,9",
        "99999,9 kg, túlterhelt");
    row("vesszo net", comma, "ST,NT,+0000100.0kg", "A mérleg nettó súlyt mutat", "100", "100 kg, nettó");
    row("vesszo tare shown", comma, "ST,TR,+0000050.0kg", "A mérleg nem bruttó súlyt mutat", "50",
        "50 kg, nem bruttó");
    row("vesszo negative", comma, "ST,GS,-0000012.5kg", "A mérleg negatív súlyt mutat", "-12,5", "-12,5 kg");
    row("vesszo minus zero", comma, "ST,GS,-0000000.0kg", "A mérleg nulla súlyt mutat", "0", "0 kg");
    row("vesszo pounds", comma, "ST,GS,+0002721.6lb", "A mérleg nem kilogrammot mutat (lb)", "2721,6",
        "2721,6 lb");
    row("vesszo blanks and upper case", comma, "st,gw,+   1234.50 KG ", "", "1234,5", "1234,5 kg");
    row("vesszo without mode is gross", comma, "ST,+0001234.5kg", "", "1234,5", "1234,5 kg");
    row("vesszo without unit is kg", comma, "ST,GS,1234", "", "1234", "1234 kg");
    row("vesszo fraction only", comma, "ST,GS,+.5kg", "", "0,5", "0,5 kg");
    unreadable("vesszo unknown status", comma, "XX,GS,+0001234.5kg");
    unreadable("vesszo spoilt digit", comma, "ST,GS,+00012?4.5kg");
    unreadable("vesszo two points", comma, "ST,GS,+1234.5.6kg");
    unreadable("vesszo no weight", comma, "ST,GS,");
    unreadable("vesszo decimal comma", comma, "ST,GS,+1234,5kg");
    unreadable("vesszo no comma", comma, "garbage");
    unreadable("vesszo unknown unit", comma, "ST,GS,+0001234.5xy");
    unreadable("vesszo four fields", comma, "ST,GS,01,+0001234.5kg");

    for (const bool checksum : {false, true}) {
        const QByteArray tag = checksum ? " checksum" : "";
        auto name = [&](const char* what) {
            static QList<QByteArray> names; // QTest keeps the pointer
            names << QByteArray("toledo ") + what + tag;
            return names.last().constData();
        };
        row(name("one decimal"), tol, toledo(3, Kg, "012345", checksum), "", "1234,5", "1234,5 kg");
        row(name("whole"), tol, toledo(2, Kg, "001234", checksum), "", "1234", "1234 kg");
        row(name("one dummy zero"), tol, toledo(1, Kg, "001234", checksum), "", "12340", "12340 kg");
        row(name("two dummy zeros"), tol, toledo(0, Kg, "000012", checksum), "", "1200", "1200 kg");
        row(name("two decimals"), tol, toledo(4, Kg, "123456", checksum), "", "1234,56", "1234,56 kg");
        row(name("blank leading zeros"), tol, toledo(3, Kg, "  5000", checksum), "", "500", "500 kg");
        row(name("motion"), tol, toledo(3, Kg | Motion, "012345", checksum), "A mérleg nem nyugodt", "1234,5",
            "1234,5 kg, nem nyugodt");
        row(name("net"), tol, toledo(3, Kg | Net, "012345", checksum), "A mérleg nettó súlyt mutat", "1234,5",
            "1234,5 kg, nettó");
        row(name("negative"), tol, toledo(3, Kg | Negative, "000125", checksum),
            "A mérleg negatív súlyt mutat", "-12,5", "-12,5 kg");
        row(name("over range"), tol, toledo(3, Kg | OutOfRange, "999999", checksum), "A mérleg túlterhelt",
            "99999,9", "99999,9 kg, túlterhelt");
        row(name("under range"), tol, toledo(3, Kg | OutOfRange | Negative, "000000", checksum),
            "A mérleg negatív súlyt mutat", "0", "0 kg, méréshatár alatt");
        row(name("not zeroed"), tol, toledo(3, Kg | NotZeroed, "012345", checksum),
            "A mérleg bekapcsolás után nincs nullázva", "1234,5", "1234,5 kg, nincs nullázva");
        row(name("pounds"), tol, toledo(3, 0, "027216", checksum), "A mérleg nem kilogrammot mutat (lb)",
            "2721,6", "2721,6 lb");
        row(name("grams"), tol, toledo(2, Kg, "001234", checksum, 0x21), "A mérleg nem kilogrammot mutat (g)",
            "1234", "1234 g");
        unreadable(name("letter in the weight"), tol, toledo(3, Kg, "01A345", checksum));
        unreadable(name("letter in the tare"), tol, toledo(3, Kg, "012345", checksum).replace(11, 1, "x"));
    }
    // With 8 data bits on a 7-bit line the parity arrives in the top bit.
    QByteArray parity = toledo(3, Kg, "012345", true);
    for (char& byte : parity)
        byte = char(byte | 0x80);
    row("toledo parity bits", tol, parity, "", "1234,5", "1234,5 kg");
    QByteArray wrongChecksum = toledo(3, Kg, "012345", true);
    wrongChecksum[17] = char(wrongChecksum[17] ^ 0x01);
    unreadable("toledo wrong checksum", tol, wrongChecksum);
    unreadable("toledo short", tol, toledo(3, Kg, "012345", false).remove(5, 1));
    unreadable("toledo no CR", tol, toledo(3, Kg, "012345", false).replace(16, 1, "0"));

    row("szam point", plain, "1234.5", "", "1234,5", "1234,5 kg");
    row("szam comma and unit", plain, " 1234,5 kg", "", "1234,5", "1234,5 kg");
    row("szam sign", plain, "+001234.5KG", "", "1234,5", "1234,5 kg");
    row("szam negative", plain, "-5", "A mérleg negatív súlyt mutat", "-5", "-5 kg");
    row("szam pounds", plain, "2721 lb", "A mérleg nem kilogrammot mutat (lb)", "2721", "2721 lb");
    row("szam zero", plain, "0.000", "A mérleg nulla súlyt mutat", "0", "0 kg");
    unreadable("szam letters", plain, "12a");
    unreadable("szam two points", plain, "1.234.5");
    unreadable("szam status line", plain, "ST,GS,+0001234.5kg");
}

void TestScaleReadingRules::frames() {
    QFETCH(int, format);
    QFETCH(QByteArray, frame);
    QFETCH(bool, readable);
    QFETCH(QString, refusal);
    QFETCH(QString, field);
    QFETCH(QString, label);
    const auto reading = parseScaleFrame(ScaleFormat(format), frame);
    QCOMPARE(reading.has_value(), readable);
    if (!reading)
        return;
    QCOMPARE(readingRefusal(*reading), refusal);
    QCOMPARE(weightFieldText(*reading), field);
    QCOMPARE(readingLabel(*reading), label);
    // The line dialog takes a reading exactly when nothing refuses it.
    const ScaleStatus status{ScaleStatus::Kind::Reading, *reading};
    QCOMPARE(scaleStatusMessage(status, "/dev/ttyUSB0"), refusal);
}

// Every trouble of the line itself names the port; a reading's own refusal does not need to.
void TestScaleReadingRules::statusMessagesNameThePort() {
    using Kind = ScaleStatus::Kind;
    for (const Kind kind : {Kind::Waiting, Kind::Silent, Kind::Unreadable, Kind::PortMissing, Kind::PortBusy,
                            Kind::PortFailed, Kind::ConnectionLost}) {
        const QString message = scaleStatusMessage({kind, {}}, QStringLiteral("/dev/ttyUSB7"));
        QVERIFY2(message.contains(QStringLiteral("(port: /dev/ttyUSB7)")), qPrintable(message));
        QVERIFY(!scaleStatusLabel({kind, {}}).isEmpty());
    }
    QVERIFY(scaleStatusMessage({Kind::NoPort, {}}, QString()).contains(QStringLiteral("[Merleg]")));
    QCOMPARE(scaleStatusMessage({Kind::Silent, {}}, QStringLiteral("COM1")),
             QStringLiteral("A mérleg nem küld adatot (port: COM1). Ellenőrizze, hogy be van-e kapcsolva, és "
                            "hogy a kábele csatlakozik-e!"));
}

void TestScaleReadingRules::splitting_data() {
    QTest::addColumn<int>("format");
    QTest::addColumn<QList<QByteArray>>("reads");
    QTest::addColumn<QList<QByteArray>>("frames");
    QTest::addColumn<QByteArray>("held"); // the frame a pause of the line gives after the last read
    const int comma = int(ScaleFormat::Comma), tol = int(ScaleFormat::Toledo),
              plain = int(ScaleFormat::Plain);
    const QByteArray a = toledo(3, Kg, "012345", false), b = toledo(3, Kg | Motion, "012346", false);
    const QByteArray ac = toledo(3, Kg, "012345", true), bc = toledo(3, Kg | Motion, "012346", true);
    using L = QList<QByteArray>;

    QTest::newRow("lines split across reads")
        << comma << L{"ST,GS,+0001", "234.5kg\r\nUS,GS,+0001235.0kg\r", "\n"}
        << L{"ST,GS,+0001234.5kg", "US,GS,+0001235.0kg"} << QByteArray();
    QTest::newRow("LF only and CR only")
        << plain << L{"12\n13\r14\r\n\r\n"} << L{"12", "13", "14"} << QByteArray();
    QTest::newRow("unfinished line waits")
        << comma << L{"ST,GS,+0001234.5kg\r\nST,GS,+00"} << L{"ST,GS,+0001234.5kg"} << QByteArray();
    QTest::newRow("endless garbage is dropped")
        << comma << L{QByteArray(300, 'x'), "yy\r\nST,GS,+0001234.5kg\r\n"} << L{"yy", "ST,GS,+0001234.5kg"}
        << QByteArray();
    QTest::newRow("toledo without checksum") << tol << L{a + b} << L{a} << b;
    QTest::newRow("toledo with checksum") << tol << L{ac + bc} << L{ac, bc} << QByteArray();
    QTest::newRow("toledo split across reads")
        << tol << L{ac.left(9), ac.mid(9) + bc.left(17), bc.mid(17)} << L{ac, bc} << QByteArray();
    QTest::newRow("toledo checksum in the next read") << tol << L{a, QByteArray(1, ac[17]) + b} << L{ac} << b;
    QTest::newRow("toledo garbage between frames") << tol
                                                   << L{"zz\x02"
                                                        "abc" +
                                                        ac + "\x02\x02garbage\r" + bc}
                                                   << L{ac, bc} << QByteArray();
}

void TestScaleReadingRules::splitting() {
    QFETCH(int, format);
    QFETCH(QList<QByteArray>, reads);
    QFETCH(QList<QByteArray>, frames);
    QFETCH(QByteArray, held);
    ScaleFrameSplitter splitter{ScaleFormat(format)};
    QList<QByteArray> taken;
    for (const QByteArray& read : reads) {
        splitter.append(read);
        while (const auto frame = splitter.takeFrame())
            taken << *frame;
    }
    QCOMPARE(taken, frames);
    QCOMPARE(splitter.takeHeldFrame().value_or(QByteArray()), held);
    QVERIFY(!splitter.takeHeldFrame());
}

QTEST_GUILESS_MAIN(TestScaleReadingRules)
#include "test_scale_reading_rules.moc"
