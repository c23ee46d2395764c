#include "support/ui_recorder.h"
#include "widgets/ui_service.h"
#include "widgets/window_size.h"

#include <QDialog>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QPushButton>
#include <QScreen>
#include <QTest>

using namespace vardelo;

namespace {

// Content that would like far more room than a screen has, and makes do with little.
class Roomy : public QWidget {
public:
    using QWidget::QWidget;
    QSize sizeHint() const override { return {4000, 3000}; }
    QSize minimumSizeHint() const override { return {100, 100}; }
};

} // namespace

class TestWindowSize : public QObject {
    Q_OBJECT
private slots:
    void fitted_data();
    void fitted();
    void modalWindowsFitTheScreen();
};

void TestWindowSize::fitted_data() {
    QTest::addColumn<QSize>("wanted");
    QTest::addColumn<QRect>("available");
    QTest::addColumn<QRect>("geometry");

    const QMargins f = assumedWindowFrame; // 8, 32, 8, 8
    // 1024x768 less a 40-pixel task bar at the bottom.
    const QRect small(0, 0, 1024, 728);
    QTest::newRow("producer browser on 1024x768")
        << QSize(1100, 680) << small << QRect(f.left(), 4 + f.top(), 1024 - 16, 680);
    QTest::newRow("too tall and too wide") << QSize(2000, 2000) << small << QRect(8, 32, 1024 - 16, 728 - 40);
    QTest::newRow("fits: centred, unchanged")
        << QSize(800, 600) << small << QRect(112 + 8, (728 - 640) / 2 + 32, 800, 600);
    QTest::newRow("a second screen to the right, task bar on top")
        << QSize(1100, 680) << QRect(1920, 30, 1024, 738) << QRect(1920 + 8, 39 + 32, 1008, 680);
    QTest::newRow("tiny screen keeps a usable window")
        << QSize(600, 400) << QRect(0, 0, 10, 10) << QRect(8, 32, 1, 1);
}

void TestWindowSize::fitted() {
    QFETCH(QSize, wanted);
    QFETCH(QRect, available);
    QFETCH(QRect, geometry);
    const QRect result = fittedWindowGeometry(wanted, available);
    if (available.width() > 100) {
        // The whole window, frame included, lies on the available area.
        QVERIFY2(available.contains(result.marginsAdded(assumedWindowFrame)),
                 qPrintable(QStringLiteral("%1,%2 %3x%4")
                                .arg(result.x())
                                .arg(result.y())
                                .arg(result.width())
                                .arg(result.height())));
    }
    QCOMPARE(result.size(), geometry.size());
    if (result.size() != wanted)
        QCOMPARE(result.topLeft(), geometry.topLeft());
}

void TestWindowSize::modalWindowsFitTheScreen() {
    // A window that asks for more than the screen has gets the available area, its buttons on it.
    const QRect available = QGuiApplication::primaryScreen()->availableGeometry();
    QDialog dialog;
    dialog.setObjectName(QStringLiteral("Form4"));
    auto* layout = new QHBoxLayout(&dialog);
    auto* button = new QPushButton(QStringLiteral("Kiválaszt"), &dialog);
    layout->addStretch();
    layout->addWidget(button);
    fitWindowToScreen(dialog, available.size() + QSize(300, 200));

    UiRecorder recorder;
    QRect frame, buttonRect;
    recorder.expectModal([&](QDialog& shown) {
        frame = shown.frameGeometry();
        buttonRect = QRect(button->mapTo(&shown, QPoint(0, 0)), button->size());
    });
    ui().showModal(dialog);
    QVERIFY(available.contains(frame));
    QVERIFY(QRect(QPoint(0, 0), frame.size()).contains(buttonRect));

    // A window with no size of its own is fitted from its size hint.
    QDialog wide;
    auto* wideLayout = new QHBoxLayout(&wide);
    wideLayout->addWidget(new Roomy(&wide));
    ui().showModal(wide);
    QVERIFY(wide.width() <= available.width() && wide.height() <= available.height());
    QVERIFY(wide.width() > 100);
}

QTEST_MAIN(TestWindowSize)
#include "test_window_size.moc"
