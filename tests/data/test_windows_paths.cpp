#include "data/windows_paths.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

using namespace vardelo;

class TestWindowsPaths : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void mapped_data();
    void mapped();
    void homeWhenUnset();
    void neverLeavesTheRoot_data();
    void neverLeavesTheRoot();

private:
    QTemporaryDir dir_;
    QByteArray saved_;
    bool wasSet_ = false;
};

void TestWindowsPaths::init() {
    wasSet_ = qEnvironmentVariableIsSet("VARDELO_DRIVE_C");
    saved_ = qgetenv("VARDELO_DRIVE_C");
    qputenv("VARDELO_DRIVE_C", (dir_.path() + QStringLiteral("/c")).toLocal8Bit());
}

void TestWindowsPaths::cleanup() {
    if (wasSet_)
        qputenv("VARDELO_DRIVE_C", saved_);
    else
        qunsetenv("VARDELO_DRIVE_C");
}

void TestWindowsPaths::mapped_data() {
    QTest::addColumn<QString>("windowsPath");
    QTest::addColumn<QString>("relative"); // to the temporary folder; "" when no drive is named

    QTest::newRow("return folder") << "C:\\DU2010\\08\\"
                                   << "c/DU2010/08/";
    QTest::newRow("lower-case drive") << "c:\\ze10\\"
                                      << "c/ze10/";
    QTest::newRow("file") << "c:\\ze10\\exposterm.txt"
                          << "c/ze10/exposterm.txt";
    QTest::newRow("blank in name") << "c:\\Program Files\\Kestrova\\du2010\\"
                                   << "c/Program Files/Kestrova/du2010/";
    QTest::newRow("drive root") << "C:\\"
                                << "c/";
    QTest::newRow("drive alone") << "C:"
                                 << "c/";
    QTest::newRow("other drive") << "d:\\adat\\x.imp"
                                 << "D/adat/x.imp";
    QTest::newRow("slashes already") << "C:/DU2010/08/"
                                     << "c/DU2010/08/";
    QTest::newRow("accented") << "C:\\DU2010\\Őrség\\"
                              << "c/DU2010/Őrség/";
    QTest::newRow("point dropped") << "C:\\DU2010\\.\\08\\"
                                   << "c/DU2010/08/";
    QTest::newRow("back within the root") << "C:\\DU2010\\08\\..\\09\\lista.txt"
                                          << "c/DU2010/09/lista.txt";
    QTest::newRow("back to the root") << "C:\\DU2010\\.."
                                      << "c/";
    QTest::newRow("doubled separators") << "C:\\\\DU2010\\\\08\\"
                                        << "c/DU2010/08/";
    QTest::newRow("no separator after the drive") << "C:DU2010\\08\\"
                                                  << "c/DU2010/08/";
}

void TestWindowsPaths::mapped() {
    QFETCH(QString, windowsPath);
    QFETCH(QString, relative);
    QCOMPARE(localPath(windowsPath), dir_.path() + u'/' + relative);
}

void TestWindowsPaths::homeWhenUnset() {
    qunsetenv("VARDELO_DRIVE_C");
    QCOMPARE(localPath(QStringLiteral("C:\\DU2010\\")), QDir::homePath() + QStringLiteral("/DU2010/"));
    // A path without a drive only has its backslashes turned.
    QCOMPARE(localPath(QStringLiteral("FjLista7A.frf")), QStringLiteral("FjLista7A.frf"));
    QCOMPARE(localPath(QStringLiteral("08\\lista.txt")), QStringLiteral("08/lista.txt"));
    QCOMPARE(localPath(QStringLiteral("08\\..\\09\\lista.txt")), QStringLiteral("09/lista.txt"));
}

// A path that would climb out of the mapped folder gives no path at all, whatever a file name built into it
// (a tax identifier, a month) holds.
void TestWindowsPaths::neverLeavesTheRoot_data() {
    QTest::addColumn<QString>("windowsPath");
    QTest::newRow("two up from a folder") << "C:\\DU2010\\..\\..\\etc\\x";
    QTest::newRow("up from the drive") << "C:\\..\\x";
    QTest::newRow("up with slashes") << "c:/DU2010/../../x";
    QTest::newRow("up after points") << "C:\\.\\.\\..\\x";
    QTest::newRow("up from another drive") << "d:\\..\\c\\x";
    QTest::newRow("built from a bad name")
        << QStringLiteral("C:\\DU2010\\08\\") + "..\\..\\..\\1234567890.imp";
    QTest::newRow("drive-relative up") << "C:..\\x";
    QTest::newRow("no drive, up") << "..\\x";
    QTest::newRow("no drive, up later") << "08\\..\\..\\x";
}

void TestWindowsPaths::neverLeavesTheRoot() {
    QFETCH(QString, windowsPath);
    QCOMPARE(localPath(windowsPath), QString());
}

QTEST_MAIN(TestWindowsPaths)
#include "test_windows_paths.moc"
