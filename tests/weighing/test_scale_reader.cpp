// The reading of the indicator's port, with a pseudo-terminal pair standing in for the indicator: readings as
// they come, however the line divides them, garbage between them, the indicator falling silent, and each
// trouble of the port told with the port's name, never waited on.
#include "support/pseudo_terminal.h"
#include "weighing/scale_reader.h"

#include <QtTest>
#include <memory>

using namespace vardelo;
using namespace vardelo::weighing;
using vardelo::testing::PseudoTerminal;
using Kind = ScaleStatus::Kind;

namespace {

ScaleSettings settingsFor(const QString& port, ScaleFormat format = ScaleFormat::Comma) {
    ScaleSettings settings;
    settings.port = port;
    settings.format = format;
    return settings;
}

QByteArray toledo(int flags, const QByteArray& weight, bool checksum) {
    QByteArray frame =
        QByteArray("\x02") + char(0x2B) + char(0x30 | flags) + char(0x20) + weight + "000000\r";
    if (checksum)
        frame += toledoChecksum(frame);
    return frame;
}

// The weight the reader stands on, or what it says instead.
QString shown(const ScaleReader& reader) {
    return reader.status().kind == Kind::Reading ? reader.status().reading.weight : reader.message();
}

} // namespace

class TestScaleReader : public QObject {
    Q_OBJECT
private slots:
    void stableAndUnstable();
    void weightAskedForBeforeTheFirstReading();
    void toledoWithAndWithoutChecksum_data();
    void toledoWithAndWithoutChecksum();
    void readingSplitAcrossReads();
    void garbageBetweenReadings();
    void indicatorFallsSilent();
    void garbageOnlyIsUnreadable();
    void portTroubles();
    void cablePulled();
};

void TestScaleReader::stableAndUnstable() {
    PseudoTerminal indicator;
    QVERIFY(indicator.isOpen());
    ScaleReader reader(settingsFor(indicator.portName()));
    QCOMPARE(reader.status().kind, Kind::Waiting);
    QSignalSpy changes(&reader, &ScaleReader::statusChanged);
    indicator.send("ST,GS,+0001234.5kg\r\n");
    QTRY_COMPARE(shown(reader), QStringLiteral("1234.5"));
    QCOMPARE(reader.message(), QString());
    indicator.send("US,GS,+0001236.0kg\r\n");
    QTRY_COMPARE(reader.message(), QStringLiteral("A mérleg nem nyugodt"));
    QCOMPARE(reader.status().reading.weight, QStringLiteral("1236"));
    // The same reading again changes nothing.
    const qsizetype seen = changes.size();
    indicator.send("US,GS,+0001236.0kg\r\nST,GS,+0001236.0kg\r\n");
    QTRY_COMPARE(reader.message(), QString());
    QCOMPARE(changes.size(), seen + 1);
}

// The weight asked for before the first reading came is given when it comes; later asks are answered at once.
void TestScaleReader::weightAskedForBeforeTheFirstReading() {
    PseudoTerminal indicator;
    ScaleReader reader(settingsFor(indicator.portName()));
    QSignalSpy taken(&reader, &ScaleReader::weightTaken);
    QSignalSpy refused(&reader, &ScaleReader::weightRefused);
    reader.requestWeight();
    QCOMPARE(taken.size(), 0);
    indicator.send("ST,GS,+0001234.5kg\r\n");
    QTRY_COMPARE(taken.size(), 1);
    QCOMPARE(taken.last().first().toString(), QStringLiteral("1234,5"));
    reader.requestWeight();
    QCOMPARE(taken.size(), 2);
    indicator.send("US,GS,+0001240.0kg\r\n");
    QTRY_COMPARE(reader.status().reading.weight, QStringLiteral("1240"));
    reader.requestWeight();
    QCOMPARE(taken.size(), 2);
    QCOMPARE(refused.size(), 1);
    QCOMPARE(refused.last().first().toString(), QStringLiteral("A mérleg nem nyugodt"));
}

void TestScaleReader::toledoWithAndWithoutChecksum_data() {
    QTest::addColumn<bool>("checksum");
    QTest::newRow("without checksum") << false;
    QTest::newRow("with checksum") << true;
}

void TestScaleReader::toledoWithAndWithoutChecksum() {
    QFETCH(bool, checksum);
    PseudoTerminal indicator;
    ScaleReader reader(settingsFor(indicator.portName(), ScaleFormat::Toledo));
    // A single frame: without a checksum it is complete once the line pauses.
    indicator.send(toledo(0, "012345", checksum));
    QTRY_COMPARE(shown(reader), QStringLiteral("1234.5"));
    indicator.send(toledo(0x08, "012350", checksum) + toledo(0x08, "012351", checksum));
    QTRY_COMPARE(reader.status().reading.weight, QStringLiteral("1235.1"));
    QCOMPARE(reader.message(), QStringLiteral("A mérleg nem nyugodt"));
    if (checksum) {
        // A frame whose checksum is wrong is passed over.
        QByteArray spoilt = toledo(0, "099999", true);
        spoilt[17] = char(spoilt[17] ^ 0x01);
        indicator.send(spoilt + toledo(0, "012360", true));
        QTRY_COMPARE(shown(reader), QStringLiteral("1236"));
    }
}

void TestScaleReader::readingSplitAcrossReads() {
    PseudoTerminal indicator;
    ScaleReader reader(settingsFor(indicator.portName()));
    indicator.send("ST,GS,+00012");
    QTest::qWait(300);
    QCOMPARE(reader.status().kind, Kind::Waiting);
    indicator.send("34.5kg\r\n");
    QTRY_COMPARE(shown(reader), QStringLiteral("1234.5"));
}

void TestScaleReader::garbageBetweenReadings() {
    PseudoTerminal indicator;
    ScaleReader reader(settingsFor(indicator.portName()));
    indicator.send("ST,GS,+0001234.5kg\r\n");
    QTRY_COMPARE(shown(reader), QStringLiteral("1234.5"));
    indicator.send(QByteArray("\x07\xff\xfe##\r\nST,GS,+00?\r\n", 19));
    QTest::qWait(300);
    QCOMPARE(shown(reader), QStringLiteral("1234.5"));
    indicator.send("noise ST,GS,+0001240.0kg\r\nST,GS,+0001241.0kg\r\n");
    QTRY_COMPARE(shown(reader), QStringLiteral("1241"));
}

void TestScaleReader::indicatorFallsSilent() {
    PseudoTerminal indicator;
    ScaleReader reader(settingsFor(indicator.portName()));
    QSignalSpy refused(&reader, &ScaleReader::weightRefused);
    // Nothing at all: a weight asked for at once is refused when the silence period ends, not before.
    reader.requestWeight();
    QCOMPARE(refused.size(), 0);
    QTRY_COMPARE_WITH_TIMEOUT(refused.size(), 1, ScaleReader::SilenceMs + 1000);
    QCOMPARE(reader.status().kind, Kind::Silent);
    QCOMPARE(refused.first().first().toString(), reader.message());
    QVERIFY(reader.message().contains(indicator.portName()));
    // A reading, then nothing: the reading does not outlive the silence.
    indicator.send("ST,GS,+0001234.5kg\r\n");
    QTRY_COMPARE(shown(reader), QStringLiteral("1234.5"));
    QTRY_COMPARE_WITH_TIMEOUT(reader.status().kind, Kind::Silent, ScaleReader::SilenceMs + 1000);
}

// Bytes that never make a frame (a wrong format or speed) are not silence: the message says to check them.
void TestScaleReader::garbageOnlyIsUnreadable() {
    PseudoTerminal indicator;
    ScaleReader reader(settingsFor(indicator.portName(), ScaleFormat::Toledo));
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < ScaleReader::SilenceMs + 3000 && reader.status().kind == Kind::Waiting) {
        indicator.send("ST,GS,+0001234.5kg\r\n");
        QTest::qWait(100);
    }
    QCOMPARE(reader.status().kind, Kind::Unreadable);
    QVERIFY(reader.message().contains(QStringLiteral("formátumot és a sebességet")));
}

// A missing port, one named nowhere, one another program holds: each told at once with the port's name.
void TestScaleReader::portTroubles() {
    const QString missing = QStringLiteral("/dev/nincs-ilyen-merleg");
    ScaleReader nowhere(settingsFor(missing));
    QCOMPARE(nowhere.status().kind, Kind::PortMissing);
    QCOMPARE(nowhere.message(), QStringLiteral("A mérleg portja nem található (port: %1). Ellenőrizze a "
                                               "kábelt és a beállítást!")
                                    .arg(missing));
    ScaleReader unnamed(settingsFor(QString()));
    QCOMPARE(unnamed.status().kind, Kind::NoPort);

    PseudoTerminal indicator;
    auto first = std::make_unique<ScaleReader>(settingsFor(indicator.portName()));
    QCOMPARE(first->status().kind, Kind::Waiting);
    ScaleReader second(settingsFor(indicator.portName()));
    QCOMPARE(second.status().kind, Kind::PortBusy);
    QVERIFY(second.message().contains(
        QStringLiteral("(port: %1): egy másik program használja").arg(indicator.portName())));
    // Asked again once the other has let the port go, it reads.
    first.reset();
    second.retry();
    QCOMPARE(second.status().kind, Kind::Waiting);
    indicator.send("ST,GS,+0001234.5kg\r\n");
    QTRY_COMPARE(shown(second), QStringLiteral("1234.5"));
}

void TestScaleReader::cablePulled() {
    PseudoTerminal indicator;
    ScaleReader reader(settingsFor(indicator.portName()));
    indicator.send("ST,GS,+0001234.5kg\r\n");
    QTRY_COMPARE(shown(reader), QStringLiteral("1234.5"));
    indicator.close();
    QTRY_COMPARE_WITH_TIMEOUT(reader.status().kind, Kind::ConnectionLost, ScaleReader::SilenceMs);
    QCOMPARE(reader.message(), QStringLiteral("Megszakadt a kapcsolat a mérleggel (port: %1). Ellenőrizze a "
                                              "kábelt!")
                                   .arg(indicator.portName()));
}

QTEST_GUILESS_MAIN(TestScaleReader)
#include "test_scale_reader.moc"
