#include "data/text_files.h"

#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>
#include <QTemporaryDir>
#include <QTest>

using namespace vardelo;

class TestTextFiles : public QObject {
    Q_OBJECT
private slots:
    void encodeRoundTrip_data();
    void encodeRoundTrip();
    void decodeAgreesWithConverter();
    void encodeRefuses_data();
    void encodeRefuses();
    void writeFile();
    void writeRefusesCharacter();
    void writeIntoMissingFolder();
    void readFile_data();
    void readFile();
    void readMissingFile();
};

void TestTextFiles::encodeRoundTrip_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("bytes");

    QTest::newRow("Hungarian letters")
        << QStringLiteral("Őrség Ügyintéző Ű") << QByteArray("\xD5rs\xE9g \xDCgyint\xE9z\xF5 \xDB");
    QTest::newRow("small long accents") << QStringLiteral("őű") << QByteArray("\xF5\xFB");
    QTest::newRow("ASCII with question mark") << QStringLiteral("Mi ez?") << QByteArray("Mi ez?");
    QTest::newRow("euro and no-break space") << QStringLiteral("5\u00A0€") << QByteArray("5\xA0\x80");
    QTest::newRow("empty") << QString() << QByteArray();
}

void TestTextFiles::encodeRoundTrip() {
    QFETCH(QString, text);
    QFETCH(QByteArray, bytes);
    const std::optional<QByteArray> encoded = encodeWin1250(text);
    QVERIFY(encoded);
    QCOMPARE(*encoded, bytes);
    QCOMPARE(decodeWin1250(bytes), text);
}

// Every byte, alone and inside a text, decodes as the code page converter decodes it (the bytes it leaves
// undefined included).
void TestTextFiles::decodeAgreesWithConverter() {
    QByteArray all;
    for (int b = 0; b < 256; ++b) {
        const QByteArray one(1, char(b));
        QCOMPARE(decodeWin1250(one), QStringDecoder("windows-1250").decode(one));
        all += one;
    }
    const QByteArray text = QByteArray("\xC1llat ") + all + QByteArray(" v\xE9ge");
    QCOMPARE(decodeWin1250(text), QStringDecoder("windows-1250").decode(text));
    QCOMPARE(decodeWin1250(QByteArray("\xC1llat \xF5\xFB")), QStringLiteral("Állat őű"));
}

void TestTextFiles::encodeRefuses_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QChar>("bad");

    QTest::newRow("o with tilde") << QStringLiteral("Kovács õ") << QChar(u'õ');
    QTest::newRow("A with tilde (would be a best fit)") << QStringLiteral("Ãx") << QChar(u'Ã');
    QTest::newRow("Chinese") << QStringLiteral("ab漢") << QChar(u'漢');
    QTest::newRow("Cyrillic") << QStringLiteral("Иван") << QChar(u'И');
    QTest::newRow("outside the BMP") << QStringLiteral("x\U0001F600") << QChar(QChar::highSurrogate(0x1F600));
}

void TestTextFiles::encodeRefuses() {
    QFETCH(QString, text);
    QFETCH(QChar, bad);
    QChar found;
    QVERIFY(!encodeWin1250(text, &found));
    QCOMPARE(found, bad);
}

void TestTextFiles::writeFile() {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("a.txt"));
    QString error;
    QVERIFY(writeTextFile(path, {QStringLiteral("Őrség"), QString(), QStringLiteral("Ű vége")}, &error));
    QVERIFY(error.isEmpty());
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    // Windows-1250, CR LF after every line including the last, no byte-order mark.
    QCOMPARE(file.readAll(), QByteArray("\xD5rs\xE9g\r\n\r\n\xDB v\xE9ge\r\n"));

    // Written again: replaced, not appended.
    file.close();
    QVERIFY(writeTextFile(path, {QStringLiteral("x")}));
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), QByteArray("x\r\n"));

    QVERIFY(writeTextFile(path, {}));
    QCOMPARE(QFileInfo(path).size(), 0);
}

void TestTextFiles::writeRefusesCharacter() {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("b.txt"));
    QString error;
    QVERIFY(!writeTextFile(path, {QStringLiteral("jó sor"), QStringLiteral("rossz: 漢")}, &error));
    QVERIFY2(error.contains(QStringLiteral("漢")), qPrintable(error));
    QVERIFY2(error.contains(path), qPrintable(error));
    QVERIFY(!QFile::exists(path));

    // An existing file keeps its content when the new one cannot be written.
    QVERIFY(writeTextFile(path, {QStringLiteral("régi")}));
    QVERIFY(!writeTextFile(path, {QStringLiteral("õ")}, &error));
    QCOMPARE(readTextFile(path), std::optional<QStringList>(QStringList{QStringLiteral("régi")}));
}

void TestTextFiles::writeIntoMissingFolder() {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("nincs/c.txt"));
    QString error;
    QVERIFY(!writeTextFile(path, {QStringLiteral("x")}, &error));
    QVERIFY2(error.contains(path), qPrintable(error));
    QVERIFY(!QFile::exists(path));
}

void TestTextFiles::readFile_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QStringList>("lines");

    QTest::newRow("CR LF") << QByteArray("\xD5rs\xE9g\r\nm\xE1sodik\r\n")
                           << QStringList{QStringLiteral("Őrség"), QStringLiteral("második")};
    QTest::newRow("LF") << QByteArray("a\nb\n") << QStringList{QStringLiteral("a"), QStringLiteral("b")};
    QTest::newRow("last line without end") << QByteArray("a\r\nb") << QStringList{"a", "b"};
    QTest::newRow("empty lines kept") << QByteArray("a\r\n\r\nb\r\n") << QStringList{"a", "", "b"};
    QTest::newRow("only a line end") << QByteArray("\r\n") << QStringList{""};
    QTest::newRow("empty file") << QByteArray() << QStringList{};
    QTest::newRow("trailing blanks kept") << QByteArray("a  \r\n") << QStringList{"a  "};
    // Files of older Macintosh programs end their lines with CR alone.
    QTest::newRow("CR") << QByteArray("a\rb\r") << QStringList{"a", "b"};
    QTest::newRow("CR, empty line, last without end") << QByteArray("a\r\rb") << QStringList{"a", "", "b"};
    QTest::newRow("mixed ends") << QByteArray("a\r\nb\nc\rd") << QStringList{"a", "b", "c", "d"};
}

void TestTextFiles::readFile() {
    QFETCH(QByteArray, bytes);
    QFETCH(QStringList, lines);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("r.txt"));
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
    file.close();
    const std::optional<QStringList> read = readTextFile(path);
    QVERIFY(read);
    QCOMPARE(*read, lines);
}

void TestTextFiles::readMissingFile() {
    QTemporaryDir dir;
    QVERIFY(!readTextFile(dir.filePath(QStringLiteral("nincs.txt"))));
}

QTEST_MAIN(TestTextFiles)
#include "test_text_files.moc"
