#include "exchange/help_viewer.h"
#include "exchange/help_window.h"
#include "exchange/remote_help.h"
#include "support/children.h"
#include "support/ui_recorder.h"
#include "widgets/ui_service.h"

#include <QDir>
#include <QFile>
#include <QPushButton>
#include <QTextBrowser>
#include <QtTest>

using vardelo::testing::child;
using namespace vardelo;

namespace {

// A working folder of the test's own, left again at the end.
class WorkingFolder {
public:
    WorkingFolder() : previous_(QDir::currentPath()) { QDir::setCurrent(dir_.path()); }
    ~WorkingFolder() { QDir::setCurrent(previous_); }
    QString path() const { return dir_.path(); }

private:
    QTemporaryDir dir_;
    QString previous_;
};

// The manual as the program's sources hold it.
QString sourceManual() {
    return QDir(qEnvironmentVariable("VARDELO_SOURCE_DIR")).filePath(QStringLiteral("docs/ZOZED2009.HLP"));
}

// A stand-in program first on the search path that adds a line to a file each time it runs.
class StandIn {
public:
    explicit StandIn(const QString& name) : path_(qgetenv("PATH")) {
        const QString script = bin_.filePath(name);
        QFile file(script);
        if (!file.open(QIODevice::WriteOnly))
            qFatal("cannot write the stand-in");
        file.write("#!/bin/sh\necho started >> '" + log().toUtf8() + "'\n");
        file.close();
        file.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        qputenv("PATH", bin_.path().toUtf8() + ':' + path_);
    }
    ~StandIn() { qputenv("PATH", path_); }
    QString log() const { return bin_.filePath(QStringLiteral("started.txt")); }
    int runs() const {
        QFile file(log());
        if (!file.open(QIODevice::ReadOnly))
            return 0;
        return int(file.readAll().count('\n'));
    }

private:
    QTemporaryDir bin_;
    QByteArray path_;
};

} // namespace

class TestHelp : public QObject {
    Q_OBJECT
private slots:
    void helpWindow();
    void manualIsWindows1250();
    void helpShowsTheManual();
    void missingManualIsReported();
    void remoteHelpWindow();
    void remoteHelpStartsTheProgram();
    void remoteHelpMissingProgramIsQuiet();
    void buttonsClose_data();
    void buttonsClose();
};

void TestHelp::helpWindow() {
    TForm21 window;
    QCOMPARE(window.objectName(), QStringLiteral("Form21"));
    QCOMPARE(window.windowTitle(), QStringLiteral("Sugó"));
    QCOMPARE(child<QPushButton>(window, "Button1")->text(), QStringLiteral("Segitség"));
    QCOMPARE(child<QPushButton>(window, "Button3")->text(), QStringLiteral("Mégsem"));
    QCOMPARE(child<QPushButton>(window, "Button2")->text(), QStringLiteral("Bezárás"));
}

// The manual is a text file of the program: Windows-1250 with CR LF line ends, no byte-order mark.
void TestHelp::manualIsWindows1250() {
    QFile file(sourceManual());
    QVERIFY2(file.open(QIODevice::ReadOnly), qPrintable(sourceManual()));
    const QByteArray bytes = file.readAll();
    QVERIFY(!bytes.startsWith("\xef\xbb\xbf"));
    QVERIFY(bytes.contains("\xf5"));      // "ő" in Windows-1250
    QVERIFY(!bytes.contains("\xc5\x91")); // and not in UTF-8
    QCOMPARE(bytes.count('\n'), bytes.count("\r\n"));
}

// "Segitség" shows the manual of the working folder in the help viewer, with its contents and the service
// keys.
void TestHelp::helpShowsTheManual() {
    WorkingFolder folder;
    QVERIFY(QFile::copy(sourceManual(), QDir(folder.path()).filePath(QStringLiteral("ZOZED2009.HLP"))));
    UiRecorder recorder;
    TForm21 window;
    QString title;
    QString text;
    recorder.expectModal(
        [&](QDialog& dialog) { QTest::mouseClick(child<QPushButton>(dialog, "Button1"), Qt::LeftButton); });
    recorder.expectModal([&](QDialog& dialog) {
        auto& viewer = static_cast<THelpViewer&>(dialog);
        title = viewer.windowTitle();
        text = child<QTextBrowser>(viewer, "HelpText")->toPlainText();
        QVERIFY(viewer.sizeHint().width() <= 1024 && viewer.size().height() <= 768);
    });
    ui().showModal(window);
    QCOMPARE(recorder.modalsShown, (QStringList{"Form21", "HelpViewer"}));
    QCOMPARE(recorder.messageTexts(), QStringList());
    QVERIFY(title.contains(QStringLiteral("Súgó")));
    for (const QString& part :
         {QStringLiteral("Egy felvásárlási jegy útja"), QStringLiteral("A havi bevallás"),
          QStringLiteral("Listák és ellenőrzés"), QStringLiteral("Szervizbillentyűk"),
          QStringLiteral("„J” a jegylista „Módosít” gombján"), QStringLiteral("Távsegitség"),
          QStringLiteral("Adatmentés és visszatöltés"), QStringLiteral("Segédlet / Visszatöltés"),
          QStringLiteral("Automatikus mentés"), QStringLiteral("~/.local/share/Vardelo")})
        QVERIFY2(text.contains(part), qPrintable(part));
}

void TestHelp::missingManualIsReported() {
    WorkingFolder folder;
    UiRecorder recorder;
    TForm21 window;
    window.Button1Click();
    QCOMPARE(recorder.modalsShown, QStringList());
    QCOMPARE(recorder.messages.size(), 1);
    QVERIFY(recorder.messages.at(0).text.startsWith(QStringLiteral("A sugó nem található: ")));
    QVERIFY(recorder.messages.at(0).text.contains(QStringLiteral("ZOZED2009.HLP")));
}

void TestHelp::remoteHelpWindow() {
    TForm26 window;
    QCOMPARE(window.objectName(), QStringLiteral("Form26"));
    QCOMPARE(window.windowTitle(), QStringLiteral("Távsegítség"));
    QCOMPARE(child<QPushButton>(window, "Button1")->text(), QStringLiteral("Program indítása"));
    QCOMPARE(child<QPushButton>(window, "Button3")->text(), QStringLiteral("Mégsem"));
    QCOMPARE(child<QPushButton>(window, "Button2")->text(), QStringLiteral("Bezárás"));
}

// Each press starts the program found on the search path by its bare name, twice for two presses.
void TestHelp::remoteHelpStartsTheProgram() {
#ifdef Q_OS_WIN
    QSKIP("a shell script stands in for the program");
#endif
    StandIn program(TForm26::RemoteHelpProgram);
    UiRecorder recorder;
    TForm26 window;
    QTest::mouseClick(child<QPushButton>(window, "Button1"), Qt::LeftButton);
    QTRY_COMPARE_WITH_TIMEOUT(program.runs(), 1, 10000);
    QTest::mouseClick(child<QPushButton>(window, "Button1"), Qt::LeftButton);
    QTRY_COMPARE_WITH_TIMEOUT(program.runs(), 2, 10000);
    QCOMPARE(recorder.messageTexts(), QStringList());
}

void TestHelp::remoteHelpMissingProgramIsQuiet() {
    const QByteArray path = qgetenv("PATH");
    QTemporaryDir empty;
    qputenv("PATH", empty.path().toUtf8());
    UiRecorder recorder;
    TForm26 window;
    QTest::mouseClick(child<QPushButton>(window, "Button1"), Qt::LeftButton);
    qputenv("PATH", path);
    QCOMPARE(recorder.messages.size(), 0);
}

void TestHelp::buttonsClose_data() {
    QTest::addColumn<bool>("help");
    QTest::addColumn<QString>("button");
    QTest::newRow("Sugó Mégsem") << true << "Button3";
    QTest::newRow("Sugó Bezárás") << true << "Button2";
    QTest::newRow("Távsegítség Mégsem") << false << "Button3";
    QTest::newRow("Távsegítség Bezárás") << false << "Button2";
}

void TestHelp::buttonsClose() {
    QFETCH(bool, help);
    QFETCH(QString, button);
    UiRecorder recorder;
    std::unique_ptr<QDialog> window;
    if (help)
        window = std::make_unique<TForm21>();
    else
        window = std::make_unique<TForm26>();
    bool closed = false;
    recorder.expectModal([&](QDialog& dialog) {
        QTest::mouseClick(dialog.findChild<QPushButton*>(button), Qt::LeftButton);
        closed = !dialog.isVisible();
    });
    ui().showModal(*window);
    QVERIFY(closed);
}

QTEST_MAIN(TestHelp)
#include "test_help.moc"
