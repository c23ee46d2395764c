#include "data/data_module.h"
#include "data/shared_values.h"
#include "shell/main_window.h"
#include "shell/purchaser_selection.h"
#include "support/children.h"
#include "support/test_database.h"
#include "support/ui_recorder.h"
#include "widgets/db_lookup_combo_box.h"

#include <QAction>
#include <QPushButton>
#include <QTest>

using vardelo::testing::child;
using namespace vardelo;
using vardelo::testing::TestDatabase;

namespace {

const QString LongName = QStringLiteral("Dél-alföldi Mezőgazdasági Termelő Kft.");

// Opens "Átvevö" / "Választás" with the script and returns the selection window's caption as it closed.
QString select(TForm1& form, UiRecorder& recorder, std::function<void(TForm18&)> script = {}) {
    QString caption;
    recorder.expectModal([&](QDialog& dialog) {
        auto& window = static_cast<TForm18&>(dialog);
        if (script)
            script(window);
        window.close();
        caption = window.windowTitle();
    });
    child<QAction>(form, "Vlaszts1")->trigger();
    return caption;
}

} // namespace

class TestPurchaserSelection : public QObject {
    Q_OBJECT
private slots:
    void closingAtOnceSelectsTheLastPurchaser_data();
    void closingAtOnceSelectsTheLastPurchaser();
    void captionCutsTheNameAfter25Characters();
    void sameNameSelectsTheFirstInTableOrder();
    void choosingSetsTheSelectionBeforeTheWindowCloses();
    void verzioBetu_data();
    void verzioBetu();
};

void TestPurchaserSelection::closingAtOnceSelectsTheLastPurchaser_data() {
    QTest::addColumn<QString>("button");
    QTest::newRow("Kiválaszt") << "Button2";
    QTest::newRow("Mégsem") << "Button3";
    QTest::newRow("close box") << "";
}

// The window opens on the last purchaser of the table; closing it however selects that one.
void TestPurchaserSelection::closingAtOnceSelectsTheLastPurchaser() {
    QFETCH(QString, button);
    TestDatabase db(true);
    UiRecorder recorder;
    TForm1 form;
    QString shownOnOpen;
    QString caption;
    recorder.expectModal([&](QDialog& dialog) {
        QCOMPARE(dialog.windowTitle(), QStringLiteral("Átvevö kiválasztása"));
        auto* combo = dialog.findChild<TDBLookupComboBox*>(QStringLiteral("DBLookupComboBox1"));
        QCOMPARE(combo->toolTip(), QStringLiteral("Kurzorral léptesse a kiválasztandó átvevőre"));
        shownOnOpen = combo->currentText();
        if (button.isEmpty())
            dialog.close();
        else
            dialog.findChild<QPushButton*>(button)->click();
        QVERIFY(!dialog.isVisible());
        caption = dialog.windowTitle();
    });
    child<QAction>(form, "Vlaszts1")->trigger();
    QCOMPARE(shownOnOpen, QStringLiteral("Alföldi Állatfelvásárló Bt."));
    QCOMPARE(AktAkod, QStringLiteral("2"));
    QCOMPARE(VerzioBetu, QStringLiteral("B"));
    // 27 characters, cut to 25.
    QCOMPARE(caption, QStringLiteral("Felvásárlási jegy - Alföldi Állatfelvásárló B  2006-2010"));
    QCOMPARE(form.windowTitle(), caption);
    QVERIFY(child<QAction>(form, "Felvsrlsijegy1")->isEnabled());
}

void TestPurchaserSelection::captionCutsTheNameAfter25Characters() {
    TestDatabase db;
    db.exec(QStringLiteral("INSERT INTO ATVEVO (V_NEVE, V_AKOD, V_VERZIO) VALUES ('%1', '3', 'A')")
                .arg(LongName));
    UiRecorder recorder;
    TForm1 form;
    const QString caption = select(form, recorder);
    QCOMPARE(AktAkod, QStringLiteral("3"));
    const QString expected = QStringLiteral("Felvásárlási jegy - Dél-alföldi Mezőgazdasági  2006-2010");
    QCOMPARE(LongName.left(25), QStringLiteral("Dél-alföldi Mezőgazdasági"));
    QCOMPARE(caption, expected);
    QCOMPARE(form.windowTitle(), expected);
    QCOMPARE(purchaserCaption(QString()), QStringLiteral("Felvásárlási jegy -   2006-2010"));
}

// Two purchasers with one name: whichever of the two entries is chosen, the first in table order is selected.
void TestPurchaserSelection::sameNameSelectsTheFirstInTableOrder() {
    TestDatabase db;
    db.exec(QStringLiteral("INSERT INTO ATVEVO (V_NEVE, V_AKOD, V_VERZIO) VALUES ('Iker Kft.', '7', 'C')"));
    db.exec(QStringLiteral("INSERT INTO ATVEVO (V_NEVE, V_AKOD, V_VERZIO) VALUES ('Iker Kft.', '8', 'D')"));
    UiRecorder recorder;
    TForm1 form;
    select(form, recorder, [](TForm18& window) {
        QCOMPARE(child<TDBLookupComboBox>(window, "DBLookupComboBox1")->count(), 3);
        QCOMPARE(child<TDBLookupComboBox>(window, "DBLookupComboBox1")->currentIndex(),
                 2); // the last row, code 8
        QVERIFY(child<TDBLookupComboBox>(window, "DBLookupComboBox1")->ChooseIndex(2));
    });
    QCOMPARE(AktAkod, QStringLiteral("7"));
    QCOMPARE(VerzioBetu, QStringLiteral("C"));
    // The re-read tables stay on the selected one.
    QCOMPARE(Data->IBTable6->FieldByName(QStringLiteral("V_AKOD")).AsString(), QStringLiteral("7"));
}

// The list closing up and the focus leaving it set the purchaser and the captions at once; VerzioBetu waits
// for the window to close.
void TestPurchaserSelection::choosingSetsTheSelectionBeforeTheWindowCloses() {
    TestDatabase db(true);
    UiRecorder recorder;
    TForm1 form;
    select(form, recorder, [&](TForm18& window) {
        child<TDBLookupComboBox>(window, "DBLookupComboBox1")->setFocus();
        QVERIFY(child<TDBLookupComboBox>(window, "DBLookupComboBox1")
                    ->ChooseText(QStringLiteral("Első Felvásárló Kft.")));
        child<TDBLookupComboBox>(window, "DBLookupComboBox1")->hidePopup();
        QTRY_COMPARE(AktAkod, QStringLiteral("1"));
        QCOMPARE(form.windowTitle(), QStringLiteral("Felvásárlási jegy - Első Felvásárló Kft.  2006-2010"));
        QCOMPARE(window.windowTitle(), form.windowTitle());
        QCOMPARE(VerzioBetu, QString());

        QVERIFY(child<TDBLookupComboBox>(window, "DBLookupComboBox1")
                    ->ChooseText(QStringLiteral("Alföldi Állatfelvásárló Bt.")));
        child<QPushButton>(window, "Button2")->setFocus();
        QTRY_COMPARE(AktAkod, QStringLiteral("2"));
        QCOMPARE(window.windowTitle(),
                 QStringLiteral("Felvásárlási jegy - Alföldi Állatfelvásárló B  2006-2010"));
    });
    QCOMPARE(AktAkod, QStringLiteral("2"));
    QCOMPARE(VerzioBetu, QStringLiteral("B"));
}

void TestPurchaserSelection::verzioBetu_data() {
    QTest::addColumn<QString>("verzio"); // SQL literal
    QTest::addColumn<QString>("expected");
    QTest::newRow("empty") << "''"
                           << "";
    QTest::newRow("null") << "NULL"
                          << "";
    QTest::newRow("one letter") << "'A'"
                                << "A";
    QTest::newRow("longer text") << "'Bx2'"
                                 << "B";
}

void TestPurchaserSelection::verzioBetu() {
    QFETCH(QString, verzio);
    QFETCH(QString, expected);
    TestDatabase db;
    db.exec(QStringLiteral("INSERT INTO ATVEVO (V_NEVE, V_AKOD, V_VERZIO) VALUES ('Próba Bt.', '5', %1)")
                .arg(verzio));
    UiRecorder recorder;
    TForm1 form;
    VerzioBetu = QStringLiteral("Z");
    select(form, recorder);
    QCOMPARE(AktAkod, QStringLiteral("5"));
    QCOMPARE(VerzioBetu, expected);
}

QTEST_MAIN(TestPurchaserSelection)
#include "test_purchaser_selection.moc"
