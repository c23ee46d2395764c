// A desktop's logout or a shutdown (SIGTERM, SIGHUP) closes the program as "Kilépés" does, from whatever
// window is open, the real windows of the program's own UI service included.

#include "support/test_database.h"
#include "support/ui_recorder.h"

#include "data/data_module.h"
#include "data/immediate_write.h"
#include "shell/logout_signals.h"
#include "shell/main_window.h"
#include "shell/user_folder.h"
#include "widgets/ui_service.h"

#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QTemporaryDir>
#include <QtTest>
#include <csignal>

using namespace vardelo;
using vardelo::testing::TestDatabase;

namespace {

// Sends the signal to this process once the given number of windows are open over each other.
void signalWhenOpen(int signal, int windows) {
    auto* timer = new QTimer;
    timer->setInterval(10);
    QObject::connect(timer, &QTimer::timeout, [timer, signal, windows] {
        int open = 0;
        for (QWidget* window : QApplication::topLevelWidgets())
            if (window->isVisible() && window->isModal())
                ++open;
        if (open < windows)
            return;
        timer->stop();
        timer->deleteLater();
        ::raise(signal);
    });
    timer->start();
}

QString storedStreet() {
    TZQuery q(QStringLiteral("check"), Data->ZCon1, Data->IBTrans1);
    vardelo::openQuery(&q, {QStringLiteral("SELECT V_UTCA FROM ATVEVO")});
    return q.FieldByName(QStringLiteral("V_UTCA")).AsString();
}

} // namespace

class TestLogoutSignals : public QObject {
    Q_OBJECT
private slots:
    void signalDuringModalWindows_data();
    void signalDuringModalWindows();
    void signalAtTheFirstStartQuestion();
};

void TestLogoutSignals::signalDuringModalWindows_data() {
    QTest::addColumn<int>("signal");
    QTest::newRow("SIGTERM") << int(SIGTERM);
    QTest::newRow("SIGHUP") << int(SIGHUP);
}

// A window with a question box over it, as a screen opens them: both close unanswered, then the main window,
// which commits what is pending and disconnects. The program would end there.
void TestLogoutSignals::signalDuringModalWindows() {
    QFETCH(int, signal);
    TestDatabase db;
    std::unique_ptr<TForm1> form;
    {
        UiRecorder splash; // closes the splash at once
        form = std::make_unique<TForm1>();
    }
    QVERIFY(!form->StartupFailed());
    form->ShowCentred();
    LogoutSignals logout;
    QSignalSpy closing(&logout, &LogoutSignals::closing);
    vardelo::execQuery(Data->ZQ50, {QStringLiteral("UPDATE ATVEVO SET V_UTCA = :p1")},
                       {{QStringLiteral("p1"), QStringLiteral("Kijelentkezéskor út 1.")}});

    // The main window owns the dialog, as a screen's window is owned.
    auto* window = new QDialog(form.get());
    window->setObjectName(QStringLiteral("Form9"));
    MsgButton answer = MsgButton::Yes;
    QTimer::singleShot(0, window, [&answer] { answer = ui().confirmYes(QStringLiteral("Rendben?")); });
    signalWhenOpen(signal, 2);
    QCOMPARE(ui().showModal(*window), int(QDialog::Rejected));
    QCOMPARE(answer, MsgButton::Closed);
    QCOMPARE(closing.size(), 1);
    QVERIFY(logout.Requested());

    QTRY_VERIFY_WITH_TIMEOUT(!form->isVisible(), 10000);
    QVERIFY(!Data->ZCon1->Connected());
    form.reset();
    Data->ZCon1->Connect();
    QCOMPARE(storedStreet(), QStringLiteral("Kijelentkezéskor út 1."));
}

// The first start's question, closed by a logout, ends the program as its "Kilépés" does: no folder is made.
void TestLogoutSignals::signalAtTheFirstStartQuestion() {
    QTemporaryDir root;
    AppSettings settings;
    settings.userFolder = QDir(root.path()).filePath(QStringLiteral("Vardelo"));
    const QString previous = QDir::currentPath();
    LogoutSignals logout;
    signalWhenOpen(SIGTERM, 1);
    QVERIFY(!enterUserFolder(settings));
    QVERIFY(logout.Requested());
    QVERIFY(!QFileInfo::exists(settings.userFolder));
    QCOMPARE(QDir::currentPath(), previous);
}

QTEST_MAIN(TestLogoutSignals)
#include "test_logout_signals.moc"
