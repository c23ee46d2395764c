// The program's log file: what the layers log reaches it with level and category, and it rotates.
#include "data/log_file.h"
#include "data/logging.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

using namespace vardelo;

class TestLogFile : public QObject {
    Q_OBJECT
private slots:
    void cleanup() { removeLogFile(); }

    void messagesReachTheFile() {
        QTemporaryDir dir;
        const QString path = installLogFile({dir.path() + QStringLiteral("/nested"), 1024 * 1024, 3});
        QCOMPARE(path, QDir(dir.path()).filePath(QStringLiteral("nested/vardelo.log")));
        qCWarning(lcData) << "Az adatbázis zárolt" << 335544345;
        qCCritical(lcShell) << "last resort";
        removeLogFile();
        qCWarning(lcData) << "after removal";

        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QStringList lines =
            QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        QCOMPARE(lines.size(), 2);
        QVERIFY2(lines[0].contains(QStringLiteral(" warning vardelo.data: Az adatbázis zárolt 335544345")),
                 qPrintable(lines[0]));
        QVERIFY2(lines[1].contains(QStringLiteral(" critical vardelo.shell: last resort")),
                 qPrintable(lines[1]));
    }

    // Past its size the log moves to .1, the older to .2; beyond the kept ones the oldest goes.
    void rotatesPastItsSize() {
        QTemporaryDir dir;
        const QString path = installLogFile({dir.path(), 200, 2});
        for (int i = 0; i < 20; ++i)
            qCWarning(lcData).noquote()
                << QStringLiteral("message %1 ").arg(i) + QString(40, QLatin1Char('x'));
        removeLogFile();
        QVERIFY(QFile::exists(path + QStringLiteral(".1")));
        QVERIFY(QFile::exists(path + QStringLiteral(".2")));
        QVERIFY(!QFile::exists(path + QStringLiteral(".3")));
        QVERIFY(QFileInfo(path).size() <= 200);
        QFile last(path + QStringLiteral(".1"));
        QVERIFY(last.open(QIODevice::ReadOnly));
        QVERIFY(QString::fromUtf8(last.readAll()).contains(QStringLiteral("message")));
    }

    void unwritableFolderInstallsNothing() {
        QTemporaryDir dir;
        QFile blocker(dir.filePath(QStringLiteral("file")));
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.close();
        QCOMPARE(installLogFile({dir.filePath(QStringLiteral("file/sub")), 1024, 1}), QString());
    }
};

QTEST_GUILESS_MAIN(TestLogFile)
#include "test_log_file.moc"
