#include "exchange/about_box.h"
#include "exchange/about_window.h"
#include "support/children.h"
#include "support/ui_recorder.h"

#include <QElapsedTimer>
#include <QLabel>
#include <QPushButton>
#include <QScopeGuard>
#include <QTest>
#include <QTextBlock>
#include <QTextEdit>
#include <QTimer>

using vardelo::testing::child;
using namespace vardelo;

class TestAbout : public QObject {
    Q_OBJECT
private slots:
    void aboutBoxClosesItself();
    void aboutBoxLabels();
    void aboutWindowLines();
    void aboutWindowButtonsClose_data();
    void aboutWindowButtonsClose();
};

// Shown modally at start, the box ends its modal showing by itself after three seconds. The test shortens the
// interval tenfold, and checks that the box closes, and not before two thirds of the interval: the time is
// measured from just after the box (and its timer) started to the moment it finished.
void TestAbout::aboutBoxClosesItself() {
    QCOMPARE(TAboutBox::SplashInterval, 3000);
    QCOMPARE(child<QTimer>(TAboutBox(nullptr), "Timer1")->interval(), 3000);
    const int interval = TAboutBox::SplashMilliseconds / 10;
    TAboutBox::SplashInterval = interval;
    const auto restore = qScopeGuard([] { TAboutBox::SplashInterval = TAboutBox::SplashMilliseconds; });
    UiRecorder recorder;
    TAboutBox box;
    QElapsedTimer sinceStart;
    sinceStart.start();
    qint64 closedAfter = -1;
    connect(&box, &QDialog::finished, this, [&] { closedAfter = sinceStart.elapsed(); });
    QCOMPARE(box.windowTitle(), QStringLiteral("About"));
    QCOMPARE(child<QTimer>(box, "Timer1")->interval(), interval);
    QVERIFY(child<QTimer>(box, "Timer1")->isActive());
    bool closedInTime = false;
    recorder.expectModal([&](QDialog& dialog) {
        QTRY_VERIFY_WITH_TIMEOUT(!dialog.isVisible(), 10000);
        closedInTime = true;
    });
    ui().showModal(box);
    QVERIFY(closedInTime);
    QVERIFY2(closedAfter >= interval * 2 / 3, qPrintable(QString::number(closedAfter)));
}

void TestAbout::aboutBoxLabels() {
    TAboutBox box;
    child<QTimer>(box, "Timer1")->stop();
    const QList<QLabel*> labels = child<QFrame>(box, "Panel1")->findChildren<QLabel*>();
    QStringList texts;
    for (QLabel* label : labels) {
        texts << label->text();
        QVERIFY(label->font().bold());
        QVERIFY(label->alignment() & Qt::AlignHCenter);
    }
    QCOMPARE(texts, (QStringList{"Vardelo", "", "2010.", "Készítette: " + SupplierDetails::Company,
                                 "Programozó: " + SupplierDetails::Programmer, SupplierDetails::Address,
                                 "Telefon: " + SupplierDetails::Phone, "Mobil: " + SupplierDetails::Mobile,
                                 "E-mail: " + SupplierDetails::EMail, SupplierDetails::Web}));
    QVERIFY(child<QLabel>(box, "ProductName")->font().pointSize() >
            child<QLabel>(box, "Version")->font().pointSize());
    QVERIFY(child<QLabel>(box, "Label6")->font().pointSize() >
            child<QLabel>(box, "Version")->font().pointSize());
    QVERIFY(child<QFrame>(box, "Panel1")->styleSheet().contains(QStringLiteral("#00ff00")));
}

void TestAbout::aboutWindowLines() {
    TForm16 window;
    QCOMPARE(window.objectName(), QStringLiteral("Form16"));
    QCOMPARE(window.windowTitle(), QStringLiteral("Névjegy"));
    const QStringList expected{"VARDELO",
                               "2006-2010",
                               "",
                               SupplierDetails::Company,
                               "Programozó: " + SupplierDetails::Programmer,
                               SupplierDetails::Address,
                               "",
                               "Tel./fax/üzenetrögzitö: " + SupplierDetails::Phone,
                               "Mobil: " + SupplierDetails::Mobile,
                               "",
                               "E-mail: " + SupplierDetails::EMail,
                               SupplierDetails::Web};
    QCOMPARE(child<QTextEdit>(window, "Memo1")->toPlainText().split(QLatin1Char('\n')), expected);
    for (QTextBlock block = child<QTextEdit>(window, "Memo1")->document()->begin(); block.isValid();
         block = block.next())
        QVERIFY(block.blockFormat().alignment() & Qt::AlignHCenter);
    QVERIFY(!child<QTextEdit>(window, "Memo1")->isReadOnly());
    QCOMPARE(child<QPushButton>(window, "Button1")->text(), QStringLiteral("Mégsem"));
    QCOMPARE(child<QPushButton>(window, "Button3")->text(), QStringLiteral("Bezárás"));
}

void TestAbout::aboutWindowButtonsClose_data() {
    QTest::addColumn<QString>("button");
    QTest::newRow("Mégsem") << "Button1";
    QTest::newRow("Bezárás") << "Button3";
}

void TestAbout::aboutWindowButtonsClose() {
    QFETCH(QString, button);
    UiRecorder recorder;
    TForm16 window;
    bool closed = false;
    recorder.expectModal([&](QDialog& dialog) {
        dialog.findChild<QPushButton*>(button)->click();
        closed = !dialog.isVisible();
    });
    ui().showModal(window);
    QVERIFY(closed);
}

QTEST_MAIN(TestAbout)
#include "test_about.moc"
