// Where the program's own files (report layouts, the manual) are found: the working folder first, whatever
// the case of the name's letters, then the installed folders in order.
#include "data/program_files.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

using namespace vardelo;

namespace {

void touch(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        qFatal("cannot write %s", qPrintable(path));
}

} // namespace

class TestProgramFiles : public QObject {
    Q_OBJECT
private slots:
    void lookup_data();
    void lookup();
    void installedFolders();
};

// Each row: the files present ("w/" the working folder, "a/" and "b/" the two installed folders, a name
// ending in "/" a folder), the name asked for, and where it is found.
void TestProgramFiles::lookup_data() {
    QTest::addColumn<QStringList>("present");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("found");
    QTest::newRow("working folder only") << QStringList{"w/FjLista5.frf"} << "FjLista5.frf"
                                         << "w/FjLista5.frf";
    QTest::newRow("working folder wins over installed")
        << QStringList{"w/FjLista5.frf", "a/FjLista5.frf"} << "FjLista5.frf"
        << "w/FjLista5.frf";
    QTest::newRow("working folder, other case wins over installed")
        << QStringList{"w/FjLista7A.frf", "a/FjLista7a.frf"} << "FjLista7a.frf"
        << "w/FjLista7A.frf";
    QTest::newRow("installed when the working folder has none")
        << QStringList{"a/FjLista5.frf"} << "FjLista5.frf"
        << "a/FjLista5.frf";
    QTest::newRow("installed, other case") << QStringList{"b/FjLista7A.frf"} << "FjLista7a.frf"
                                           << "b/FjLista7A.frf";
    QTest::newRow("first installed folder wins")
        << QStringList{"a/ZOZED2009.HLP", "b/ZOZED2009.HLP"} << "ZOZED2009.HLP"
        << "a/ZOZED2009.HLP";
    QTest::newRow("a folder of that name is no file")
        << QStringList{"w/FjLista5.frf/", "b/FjLista5.frf"} << "FjLista5.frf"
        << "b/FjLista5.frf";
    QTest::newRow("nowhere: the working folder's name") << QStringList{"a/FjLista2.frf"} << "FjLista5.frf"
                                                        << "w/FjLista5.frf";
    QTest::newRow("a name with a folder is taken as it is")
        << QStringList{"a/FjLista5.frf"} << "sub/FjLista5.frf"
        << "w/sub/FjLista5.frf";
    QTest::newRow("a Windows name with a folder too") << QStringList{"a/FjLista5.frf"} << "sub\\FjLista5.frf"
                                                      << "w/sub\\FjLista5.frf";
}

void TestProgramFiles::lookup() {
    QFETCH(QStringList, present);
    QFETCH(QString, name);
    QFETCH(QString, found);
    QTemporaryDir root;
    const QDir dir(root.path());
    for (const QString folder : {"w", "a", "b"})
        QVERIFY(dir.mkpath(folder));
    for (const QString& entry : present) {
        if (entry.endsWith(u'/'))
            QVERIFY(dir.mkpath(entry));
        else
            touch(dir.filePath(entry));
    }
    QCOMPARE(findProgramFile(name, dir.filePath("w"), {dir.filePath("a"), dir.filePath("b")}),
             dir.filePath(found));
}

// Beside the program's own "bin" folder first, then the system's; VARDELO_SHARE_DIR replaces both.
void TestProgramFiles::installedFolders() {
    const QByteArray saved = qgetenv("VARDELO_SHARE_DIR");
    qunsetenv("VARDELO_SHARE_DIR");
    const QStringList folders = installedFileFolders();
    QCOMPARE(folders.value(0),
             QDir::cleanPath(QCoreApplication::applicationDirPath() + QStringLiteral("/../share/vardelo")));
    QCOMPARE(folders.last(), QStringLiteral("/usr/share/vardelo"));
    qputenv("VARDELO_SHARE_DIR", "/opt/vardelo/share");
    QCOMPARE(installedFileFolders(), QStringList{QStringLiteral("/opt/vardelo/share")});
    qputenv("VARDELO_SHARE_DIR", saved);
}

QTEST_GUILESS_MAIN(TestProgramFiles)
#include "test_program_files.moc"
