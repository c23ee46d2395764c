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
}

QTEST_MAIN(TestWindowsPaths)
#include "test_windows_paths.moc"
