#include "support/ui_recorder.h"

#include "data/database_error.h"

#include <QApplication>
#include <QDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRegularExpression>
#include <QTest>
#include <QTimer>
#include <QVBoxLayout>
#include <functional>
#include <ibase.h>

using namespace vardelo;

Q_DECLARE_METATYPE(vardelo::MsgButton)

namespace {

// A window that counts its show events and opens a nested window and a question from its button.
class Window : public QDialog {
public:
    explicit Window(const QString& name) {
        setObjectName(name);
        auto* layout = new QVBoxLayout(this);
        edit = new QLineEdit(this);
        button = new QPushButton(QStringLiteral("Tovább"), this);
        layout->addWidget(edit);
        layout->addWidget(button);
    }
    int shows = 0;
    QLineEdit* edit;
    QPushButton* button;

protected:
    void showEvent(QShowEvent* event) override {
        ++shows;
        edit->setText(QStringLiteral("megjelent"));
        QDialog::showEvent(event);
    }
};

// Runs the action on the next modal window the real service opens.
void onNextModal(std::function<void(QWidget*)> action) {
    auto* timer = new QTimer;
    timer->setInterval(10);
    QObject::connect(timer, &QTimer::timeout, [timer, action] {
        if (QWidget* modal = QApplication::activeModalWidget()) {
            timer->stop();
            timer->deleteLater();
            action(modal);
        }
    });
    timer->start();
}

QAbstractButton* boxButton(QWidget* box, QMessageBox::StandardButton which) {
    return static_cast<QMessageBox*>(box)->button(which);
}

} // namespace

class TestUiService : public QObject {
    Q_OBJECT
private slots:
    void recorderRunsScripts();
    void recorderClosesOpenWindow();
    void recorderWithoutScript();
    void recorderNestedWindows();
    void recorderMessages();
    void recorderDefaultAnswers_data();
    void recorderDefaultAnswers();
    void recorderInstallAndRestore();
    void realModal();
    void realMessageBoxAnswers_data();
    void realMessageBoxAnswers();
    void realMessageCaption();
    void realBoxClosed();
    void realEscapeOnYesOnly();
    void realBoxGivesActivationBack();
};

void TestUiService::recorderRunsScripts() {
    UiRecorder recorder;
    Window window(QStringLiteral("Form9"));
    bool ran = false;
    recorder.expectModal([&](QDialog& dialog) {
        ran = true;
        QCOMPARE(&dialog, &window);
        QVERIFY(dialog.isVisible());
        QCOMPARE(window.shows, 1);
        QCOMPARE(window.edit->text(), QStringLiteral("megjelent"));
        QCOMPARE(QApplication::activeWindow(), &dialog);
        window.edit->setFocus();
        QVERIFY(window.edit->hasFocus());
        dialog.accept();
    });
    QCOMPARE(ui().showModal(window), int(QDialog::Accepted));
    QVERIFY(ran);
    QVERIFY(!window.isVisible());
    QCOMPARE(recorder.modalsShown, QStringList{QStringLiteral("Form9")});
    QCOMPARE(recorder.pendingScripts(), 0);
}

void TestUiService::recorderClosesOpenWindow() {
    UiRecorder recorder;
    Window window(QStringLiteral("Form3"));
    QObject::connect(&window, &QDialog::accepted, [] { QFAIL("accepted"); });
    recorder.expectModal([](QDialog&) {});
    QCOMPARE(ui().showModal(window), int(QDialog::Rejected));
    QVERIFY(!window.isVisible());
    // A custom result set by the script comes back.
    recorder.expectModal([](QDialog& dialog) { dialog.done(7); });
    QCOMPARE(ui().showModal(window), 7);
    QCOMPARE(window.shows, 2);
}

void TestUiService::recorderWithoutScript() {
    UiRecorder recorder;
    Window window(QStringLiteral("Form5"));
    QCOMPARE(ui().showModal(window), int(QDialog::Rejected));
    QCOMPARE(window.shows, 1);
    QVERIFY(!window.isVisible());
    QCOMPARE(recorder.modalsShown, QStringList{QStringLiteral("Form5")});
}

void TestUiService::recorderNestedWindows() {
    UiRecorder recorder;
    Window outer(QStringLiteral("Form10"));
    Window inner(QStringLiteral("Form11"));
    int innerResult = -1;
    MsgButton question = MsgButton::Closed;
    QWidget* activeAfterInner = nullptr;
    QObject::connect(outer.button, &QPushButton::clicked, [&] {
        innerResult = ui().showModal(inner);
        activeAfterInner = QApplication::activeWindow();
        question = ui().messageBox(QStringLiteral("Törli?"), vardelo::confirmCaption(), MsgIcon::Question,
                                   int(MsgButton::Yes) | int(MsgButton::No));
        if (question == MsgButton::Yes)
            outer.accept();
    });

    QStringList order;
    recorder.expectModal([&](QDialog& dialog) {
        order << QStringLiteral("outer");
        QCOMPARE(QApplication::activeWindow(), &dialog);
        QTest::mouseClick(outer.button, Qt::LeftButton);
    });
    recorder.expectModal([&](QDialog& dialog) {
        order << QStringLiteral("inner");
        QCOMPARE(&dialog, &inner);
        QVERIFY(outer.isVisible());
        QCOMPARE(QApplication::activeWindow(), &inner);
        ui().showMessage(QStringLiteral("Belső üzenet"));
        dialog.accept();
    });
    recorder.answer(MsgButton::Yes);

    QCOMPARE(ui().showModal(outer), int(QDialog::Accepted));
    QCOMPARE(order, (QStringList{QStringLiteral("outer"), QStringLiteral("inner")}));
    QCOMPARE(innerResult, int(QDialog::Accepted));
    // Back from the inner window, the outer one was active again.
    QCOMPARE(activeAfterInner, &outer);
    QVERIFY(!inner.isVisible());
    QCOMPARE(question, MsgButton::Yes);
    QCOMPARE(recorder.modalsShown, (QStringList{QStringLiteral("Form10"), QStringLiteral("Form11")}));
    QCOMPARE(recorder.messageTexts(),
             (QStringList{QStringLiteral("Belső üzenet"), QStringLiteral("Törli?")}));
    QCOMPARE(recorder.pendingScripts(), 0);
    QCOMPARE(recorder.pendingAnswers(), 0);
}

void TestUiService::recorderMessages() {
    UiRecorder recorder;
    QCOMPARE(recorder.lastMessage(), QString());

    ui().showMessage(QStringLiteral("Kérem a dátumot!"));
    QCOMPARE(ui().confirmYes(QStringLiteral("Mehet?")), MsgButton::Yes);
    ui().showError(QStringLiteral("Hiba történt"));
    ui().beep();
    ui().beep();

    QCOMPARE(recorder.messages.size(), 3);
    const RecordedMessage& plain = recorder.messages.at(0);
    QCOMPARE(plain.text, QStringLiteral("Kérem a dátumot!"));
    QCOMPARE(plain.caption, QStringLiteral("Vardelo"));
    QCOMPARE(plain.buttons, int(MsgButton::Ok));
    const RecordedMessage& confirm = recorder.messages.at(1);
    QCOMPARE(confirm.caption, QStringLiteral("Megerősítés"));
    QCOMPARE(confirm.icon, MsgIcon::Question);
    QCOMPARE(confirm.buttons, int(MsgButton::Yes));
    const RecordedMessage& error = recorder.messages.at(2);
    QCOMPARE(error.caption, QStringLiteral("Hiba"));
    QCOMPARE(error.icon, MsgIcon::Error);
    QCOMPARE(error.buttons, int(MsgButton::Ok));
    QCOMPARE(recorder.lastMessage(), QStringLiteral("Hiba történt"));
    QCOMPARE(recorder.beeps, 2);

    // A display name given to the application becomes the caption of plain messages.
    const QString before = QGuiApplication::applicationDisplayName();
    QGuiApplication::setApplicationDisplayName(QStringLiteral("Felvásárlás"));
    ui().showMessage(QStringLiteral("x"));
    QGuiApplication::setApplicationDisplayName(before);
    QCOMPARE(recorder.messages.last().caption, QStringLiteral("Felvásárlás"));

    recorder.expectModal([](QDialog&) {});
    recorder.answer(MsgButton::No);
    recorder.clear();
    QVERIFY(recorder.messages.isEmpty());
    QCOMPARE(recorder.beeps, 0);
    QCOMPARE(recorder.pendingScripts(), 1);
    QCOMPARE(recorder.pendingAnswers(), 1);
}

void TestUiService::recorderDefaultAnswers_data() {
    QTest::addColumn<int>("buttons");
    QTest::addColumn<MsgButton>("answer");

    QTest::newRow("Yes, No") << (int(MsgButton::Yes) | int(MsgButton::No)) << MsgButton::Yes;
    QTest::newRow("Ok, Cancel") << (int(MsgButton::Ok) | int(MsgButton::Cancel)) << MsgButton::Ok;
    QTest::newRow("No, Cancel") << (int(MsgButton::No) | int(MsgButton::Cancel)) << MsgButton::No;
    QTest::newRow("Cancel") << int(MsgButton::Cancel) << MsgButton::Cancel;
}

void TestUiService::recorderDefaultAnswers() {
    QFETCH(int, buttons);
    QFETCH(MsgButton, answer);
    UiRecorder recorder;
    QCOMPARE(ui().messageBox(QStringLiteral("?"), vardelo::confirmCaption(), MsgIcon::Question, buttons),
             answer);
    // Queued answers are used in order, then the default again.
    recorder.answer(MsgButton::Cancel);
    recorder.answer(MsgButton::Closed);
    QCOMPARE(ui().messageBox(QStringLiteral("?"), QString(), MsgIcon::None, buttons), MsgButton::Cancel);
    QCOMPARE(ui().messageBox(QStringLiteral("?"), QString(), MsgIcon::None, buttons), MsgButton::Closed);
    QCOMPARE(ui().messageBox(QStringLiteral("?"), QString(), MsgIcon::None, buttons), answer);
}

void TestUiService::recorderInstallAndRestore() {
    QVERIFY(dynamic_cast<WidgetUi*>(&ui()));
    {
        UiRecorder outer;
        QCOMPARE(&ui(), &outer);
        {
            UiRecorder inner;
            QCOMPARE(&ui(), &inner);
            ui().showMessage(QStringLiteral("belső"));
            QCOMPARE(inner.messages.size(), 1);
            QVERIFY(outer.messages.isEmpty());
        }
        QCOMPARE(&ui(), &outer);
    }
    QVERIFY(dynamic_cast<WidgetUi*>(&ui()));
    UiRecorder other;
    installUi(nullptr);
    QVERIFY(dynamic_cast<WidgetUi*>(&ui()));
    installUi(&other);
    QCOMPARE(&ui(), &other);
}

void TestUiService::realModal() {
    Window window(QStringLiteral("Form2"));
    onNextModal([&](QWidget* modal) {
        QCOMPARE(modal, &window);
        window.accept();
    });
    QCOMPARE(ui().showModal(window), int(QDialog::Accepted));
    QCOMPARE(window.shows, 1);
}

void TestUiService::realMessageBoxAnswers_data() {
    QTest::addColumn<int>("buttons");
    QTest::addColumn<int>("press"); // a QMessageBox::StandardButton, or 0 for Escape
    QTest::addColumn<MsgButton>("answer");

    const int yesNo = int(MsgButton::Yes) | int(MsgButton::No);
    const int okCancel = int(MsgButton::Ok) | int(MsgButton::Cancel);
    QTest::newRow("Yes") << yesNo << int(QMessageBox::Yes) << MsgButton::Yes;
    QTest::newRow("No") << yesNo << int(QMessageBox::No) << MsgButton::No;
    QTest::newRow("Escape on Yes, No") << yesNo << 0 << MsgButton::No;
    QTest::newRow("Ok") << okCancel << int(QMessageBox::Ok) << MsgButton::Ok;
    QTest::newRow("Cancel") << okCancel << int(QMessageBox::Cancel) << MsgButton::Cancel;
    QTest::newRow("Escape on Ok, Cancel") << okCancel << 0 << MsgButton::Cancel;
    QTest::newRow("Escape on Ok") << int(MsgButton::Ok) << 0 << MsgButton::Ok;
}

void TestUiService::realMessageBoxAnswers() {
    QFETCH(int, buttons);
    QFETCH(int, press);
    QFETCH(MsgButton, answer);
    onNextModal([&](QWidget* box) {
        QCOMPARE(box->windowTitle(), QStringLiteral("Kérdés"));
        if (press == 0) {
            QTest::keyClick(box, Qt::Key_Escape);
        } else {
            QAbstractButton* button = boxButton(box, QMessageBox::StandardButton(press));
            QVERIFY(button);
            button->click();
        }
    });
    QCOMPARE(ui().messageBox(QStringLiteral("Mehet?"), QStringLiteral("Kérdés"), MsgIcon::Question, buttons),
             answer);
}

void TestUiService::realMessageCaption() {
    QString caption;
    QString text;
    onNextModal([&](QWidget* box) {
        caption = box->windowTitle();
        text = static_cast<QMessageBox*>(box)->text();
        boxButton(box, QMessageBox::Ok)->click();
    });
    ui().showMessage(QStringLiteral("Nincs kijelölve átvevő!"));
    QCOMPARE(caption, QStringLiteral("Vardelo"));
    QCOMPARE(text, QStringLiteral("Nincs kijelölve átvevő!"));

    onNextModal([&](QWidget* box) {
        caption = box->windowTitle();
        QCOMPARE(static_cast<QMessageBox*>(box)->icon(), QMessageBox::Question);
        QCOMPARE(static_cast<QMessageBox*>(box)->buttons().size(), 1);
        boxButton(box, QMessageBox::Yes)->click();
    });
    QCOMPARE(ui().confirmYes(QStringLiteral("Rendben?")), MsgButton::Yes);
    QCOMPARE(caption, vardelo::confirmCaption());
}

void TestUiService::realBoxClosed() {
    // Closing the window of a box answers Closed, not its only button.
    onNextModal([](QWidget* box) { box->close(); });
    QCOMPARE(ui().confirmYes(QStringLiteral("Rendben?")), MsgButton::Closed);
    onNextModal([](QWidget* box) { box->close(); });
    QCOMPARE(ui().messageBox(QStringLiteral("?"), QString(), MsgIcon::None,
                             int(MsgButton::Yes) | int(MsgButton::No)),
             MsgButton::Closed);
}

void TestUiService::realEscapeOnYesOnly() {
    // A box with only "Yes" has no button for Escape: the key leaves it open.
    bool stillOpen = false;
    onNextModal([&](QWidget* box) {
        QTest::keyClick(box, Qt::Key_Escape);
        QTimer::singleShot(20, box, [&stillOpen, box] {
            stillOpen = box->isVisible();
            boxButton(box, QMessageBox::Yes)->click();
        });
    });
    QCOMPARE(ui().confirmYes(QStringLiteral("Rendben?")), MsgButton::Yes);
    QVERIFY(stillOpen);
}

void TestUiService::realBoxGivesActivationBack() {
    // Without a window manager nothing activates the window again when a box over it closes: the service
    // does, so that the focus a check puts back arrives.
    Window window(QStringLiteral("Form9"));
    window.show();
    QApplication::setActiveWindow(&window);
    QVERIFY(QTest::qWaitForWindowActive(&window));
    window.edit->setFocus();
    onNextModal([](QWidget* box) { boxButton(box, QMessageBox::Ok)->click(); });
    ui().showMessage(QStringLiteral("Nem jó a dátum!"));
    QCOMPARE(QApplication::activeWindow(), static_cast<QWidget*>(&window));
    QTRY_COMPARE(QApplication::focusWidget(), static_cast<QWidget*>(window.edit));

    Window nested(QStringLiteral("Form10"));
    onNextModal([&](QWidget*) { nested.accept(); });
    ui().showModal(nested);
    QCOMPARE(QApplication::activeWindow(), static_cast<QWidget*>(&window));
}

QTEST_MAIN(TestUiService)
#include "test_ui_service.moc"
