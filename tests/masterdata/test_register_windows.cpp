#include "data/data_module.h"
#include "masterdata/animal_browser.h"
#include "masterdata/animal_entry.h"
#include "masterdata/producer_browser.h"
#include "masterdata/producer_entry.h"
#include "support/children.h"
#include "support/test_database.h"
#include "support/ui_recorder.h"
#include "widgets/db_text.h"
#include "widgets/window_size.h"

#include <QAbstractButton>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QtTest>
#include <functional>

using vardelo::testing::child;
using namespace vardelo;
using vardelo::testing::TestDatabase;

namespace {

// Whether the label has room for its whole text (the program's own vardelo::shownWhole tells which fields
// must).
bool labelShowsWholeText(const QLabel& label) {
    return label.contentsRect().width() >= label.fontMetrics().horizontalAdvance(label.text());
}

// Every label, field and button of the window lies inside it and has room for its text. With
// VARDELO_SCREENSHOTS set to a folder, the window is also saved there as <objectName>.png.
void checkLayout(QDialog& window) {
    QApplication::processEvents();
    // The window's first size fits the screen, so that no button ("Kiválaszt" among them) is off its edge;
    // only a screen smaller than what the window's content needs at the least (the test screen is 800 wide)
    // leaves it larger.
    const QRect screen = window.screen()->availableGeometry();
    const QSize least = window.minimumSizeHint().expandedTo(window.minimumSize());
    QVERIFY2(window.width() <= std::max(screen.width(), least.width()) &&
                 window.height() <= std::max(screen.height(), least.height()),
             qPrintable(QStringLiteral("%1 %2x%3 on a screen of %4x%5")
                            .arg(window.objectName())
                            .arg(window.width())
                            .arg(window.height())
                            .arg(screen.width())
                            .arg(screen.height())));
    // The test screen (800 wide) is smaller than the 1024x768 the windows are made for: their fields are
    // checked at the size such a screen gives them.
    const QRect target(0, 0, 1024, 768 - 40);
    if (screen.width() < target.width() || screen.height() < target.height()) {
        window.resize(window.size().expandedTo(fittedWindowGeometry(QSize(1100, 680), target).size()));
        QApplication::processEvents();
    }
    const QRect inside = window.rect();
    for (QWidget* child : window.findChildren<QWidget*>()) {
        if (!child->isVisibleTo(&window))
            continue;
        if (!qobject_cast<QLabel*>(child) && !qobject_cast<QLineEdit*>(child) &&
            !qobject_cast<QAbstractButton*>(child))
            continue;
        const QString what =
            window.objectName() + "/" + child->objectName() + " " +
            (qobject_cast<QLabel*>(child) ? qobject_cast<QLabel*>(child)->text() : QString());
        const QRect at(child->mapTo(&window, QPoint(0, 0)), child->size());
        QVERIFY2(inside.contains(at), qPrintable(what + " outside the window"));
        QVERIFY2(child->width() >= child->minimumSizeHint().width(), qPrintable(what + " cut"));
        // A value panel's text may be cut with "…" (and shown whole in its tip) only where its width is
        // capped below the text's; a code or a number is always shown whole.
        auto* value = qobject_cast<TDBText*>(child);
        if (auto* label = qobject_cast<QLabel*>(child);
            label && !label->text().isEmpty() && (!value || value->minimumSizeHint() == value->sizeHint()))
            QVERIFY2(labelShowsWholeText(*label), qPrintable(what + " text cut"));
        if (auto* button = qobject_cast<QAbstractButton*>(child); button && !button->text().isEmpty())
            QVERIFY2(button->width() >= button->fontMetrics().horizontalAdvance(button->text()) + 8,
                     qPrintable(what + " text cut"));
    }
    const QString folder = qEnvironmentVariable("VARDELO_SCREENSHOTS");
    if (!folder.isEmpty())
        window.grab().save(QDir(folder).filePath(window.objectName() + ".png"));
}

// The producer browser shown on producer "2"; `whileShown` looks at it before it closes. The windows shown
// in turn, by name.
QStringList showProducerBrowser(UiRecorder& recorder, const std::function<void(TForm4&)>& whileShown) {
    TForm4 browser;
    recorder.expectModal([&](QDialog& dialog) {
        Data->ZQ30->Locate("O_KOD", "2", 0);
        whileShown(static_cast<TForm4&>(dialog));
    });
    ui().showModal(browser);
    return recorder.modalsShown;
}

} // namespace

class TestRegisterWindows : public QObject {
    Q_OBJECT

private slots:
    void producerWindows() {
        TestDatabase db(true);
        UiRecorder recorder;
        const QStringList shown = showProducerBrowser(recorder, [&](TForm4& browser) {
            checkLayout(browser);
            recorder.expectModal([&](QDialog& entry) { checkLayout(entry); });
            QTest::mouseClick(child<QPushButton>(browser, "Button2"), Qt::LeftButton);
        });
        QCOMPARE(shown, (QStringList{"Form4", "Form5"}));
    }

    // A producer with the longest names and addresses a clerk types: at the window's narrowest its numbers
    // (the bank account's 24 digits among them) are still shown whole.
    void producerWindowWithLongTexts() {
        TestDatabase db(true);
        db.exec(
            QStringLiteral("UPDATE ostermelo SET o_nev = 'Kiskunfélegyházi Mezőgazdasági Szövetkezet Kf', "
                           "o_helysegnev = 'Hódmezővásárhely-Kútvölgyi Tanyák és Szőlőhe', "
                           "o_utca = 'Szent István király körút 123/B. II. em. 14.', "
                           "o_anyja = 'Szabó-Kovácsné Nagy Erzsébet Mária Magdolna', "
                           "o_szulnev = 'Szabó-Kovácsné Nagy Erzsébet Mária Magdolna', "
                           "o_szulhely = 'Hódmezővásárhely-Kútvölgyi Tanyák és Szőlőhe', "
                           "o_bankszla = '117320095555555500000000' WHERE o_kod = '2'"));
        UiRecorder recorder;
        const QStringList shown = showProducerBrowser(recorder, [&](TForm4& browser) {
            checkLayout(browser);
            // At its narrowest the window fits a screen 1024 wide, frame and all.
            const int least = browser.minimumSizeHint().width();
            QVERIFY2(least + assumedWindowFrame.left() + assumedWindowFrame.right() <= 1024,
                     qPrintable(QString::number(least)));
            // At the size it opens with, the long name has its room, which the short values beside it
            // leave.
            browser.resize(1100, 680);
            QApplication::processEvents();
            QVERIFY(labelShowsWholeText(*child<TDBText>(browser, "DBText_O_NEV")));
            browser.resize(browser.minimumSizeHint());
            checkLayout(browser);
            for (const char* number : {"DBText_O_BANKSZLA", "DBText_O_ADOAZON", "DBText_O_ADOSZAM",
                                       "DBText_O_TAJ", "DBText_O_IGSZAM", "DBText_O_SZIDO"})
                QVERIFY2(labelShowsWholeText(*child<TDBText>(browser, number)), number);
        });
        QCOMPARE(shown, QStringList{"Form4"});
    }

    void animalWindows() {
        TestDatabase db(true);
        UiRecorder recorder;
        TForm6 browser;
        recorder.expectModal([&](QDialog& dialog) {
            auto& shown = static_cast<TForm6&>(dialog);
            Data->ZQ40->Locate("T_KOD", "3", 0);
            checkLayout(shown);
            recorder.expectModal([&](QDialog& entry) { checkLayout(entry); });
            QTest::mouseClick(child<QPushButton>(shown, "Button2"), Qt::LeftButton);
        });
        ui().showModal(browser);
        QCOMPARE(recorder.modalsShown, (QStringList{"Form6", "Form7"}));
    }
};

QTEST_MAIN(TestRegisterWindows)
#include "test_register_windows.moc"
