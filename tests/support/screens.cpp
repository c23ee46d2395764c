#include "support/screens.h"

#include <QAbstractButton>
#include <QCoreApplication>
#include <QDir>
#include <QLabel>
#include <QTest>

namespace vardelo::testing {

void checkCaptionsFit(QWidget& window) {
    for (QLabel* label : window.findChildren<QLabel*>()) {
        if (!label->isVisible() || label->text().isEmpty() || label->wordWrap())
            continue;
        QVERIFY2(label->width() >= label->fontMetrics().horizontalAdvance(label->text()),
                 qPrintable(window.objectName() + ": " + label->text()));
    }
    for (QAbstractButton* button : window.findChildren<QAbstractButton*>()) {
        if (!button->isVisible() || button->text().isEmpty())
            continue;
        QVERIFY2(button->width() >= button->minimumSizeHint().width(),
                 qPrintable(window.objectName() + ": " + button->text()));
    }
}

void shoot(QWidget& window, const QString& name) {
    QCoreApplication::processEvents();
    checkCaptionsFit(window);
    const QString shots = qEnvironmentVariable("VARDELO_SCREENSHOTS");
    if (!shots.isEmpty())
        QVERIFY(window.grab().save(QDir(shots).filePath(name + QStringLiteral(".png"))));
}

} // namespace vardelo::testing
