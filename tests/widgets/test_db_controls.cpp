#include "data/data_module.h"
#include "data/database_error.h"
#include "support/test_database.h"
#include "widgets/data_fixtures.h"
#include "widgets/db_edit.h"
#include "widgets/db_lookup_combo_box.h"
#include "widgets/db_text.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QHBoxLayout>
#include <QSignalSpy>
#include <QTest>
#include <memory>

using vardelo::testing::openProducers;
using vardelo::testing::openPurchasers;
using vardelo::testing::openQuery;
using vardelo::testing::readValue;
using vardelo::testing::reportedMessage;
using vardelo::testing::TestDatabase;
using vardelo::testing::typeText;

class TestDbControls : public QObject {
    Q_OBJECT
private slots:
    void labelFollowsCursor_data();
    void labelFollowsCursor();
    void labelWithoutData();
    void longLabelDoesNotWidenItsWindow();
    void editFollowsCursor();
    void typingEditsTable();
    void editReadOnlyCases();
    void editRefusesBadNumber();
    void lookupListsAndFollows();
    void lookupChoosesFirstOfEqualNames();
    void lookupSignals();
    void lookupFailureReachesTheWindow();
};

void TestDbControls::labelFollowsCursor_data() {
    QTest::addColumn<QString>("field");
    QTest::addColumn<QStringList>("texts");
    QTest::newRow("name") << "O_NEV"
                          << QStringList{"Kovács János", "Nagy Éva", "Ördögh Ödön", "Szűcs Ágnes",
                                         "Molnár Ferenc"};
    QTest::newRow("number") << "O_SZJA" << QStringList{"15", "15", "15", "15", "0"};
    QTest::newRow("date") << "O_SZIDO"
                          << QStringList{"1961.03.14.", "1970.11.02.", "1955.06.21.", "1982.09.30.",
                                         "1948.01.08."};
}

void TestDbControls::labelFollowsCursor() {
    QFETCH(QString, field);
    QFETCH(QStringList, texts);
    TestDatabase db(true);
    openProducers();
    TDBText label(Data->DSQ30, field);
    for (int row = 0; row < texts.size(); ++row) {
        QCOMPARE(label.text(), texts[row]);
        Data->ZQ30->Next();
    }
    Data->ZQ30->Prior();
    Data->ZQ30->Prior();
    QCOMPARE(label.text(), texts[texts.size() - 3]); // the last Next stayed on the last row
}

// A street of the longest length the schema allows: the window stays narrower than the text, the label keeps
// the whole value (and shows it in its tooltip), and a value that fits has no tooltip.
void TestDbControls::longLabelDoesNotWidenItsWindow() {
    TestDatabase db(true);
    db.exec(QStringLiteral("UPDATE ostermelo SET o_utca = '%1' WHERE o_kod = '1'")
                .arg(QString(QStringLiteral("Árvíztűrő út ")).repeated(10).left(45)));
    openProducers();
    QWidget window;
    auto* layout = new QHBoxLayout(&window);
    auto* label = new TDBText(Data->DSQ30, QStringLiteral("O_UTCA"), &window);
    layout->addWidget(label);
    window.resize(120, 40);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    const QString whole = Data->ZQ30->FieldByName(QStringLiteral("O_UTCA")).AsString();
    QCOMPARE(whole.size(), 45);
    QVERIFY(window.width() < label->fontMetrics().horizontalAdvance(whole));
    QCOMPARE(label->text(), whole);
    QCOMPARE(label->toolTip(), whole);
    window.resize(label->sizeHint().width() + 40, 40);
    QTRY_COMPARE(label->toolTip(), QString());
    QCOMPARE(label->text(), whole);
}

void TestDbControls::labelWithoutData() {
    TestDatabase db(true);
    TDBText label;
    label.SetDataField(QStringLiteral("O_NEV"));
    QCOMPARE(label.text(), QString());
    Data->ZQ30->Close();
    label.SetDataSource(Data->DSQ30);
    QCOMPARE(label.text(), QString());
    openProducers();
    QCOMPARE(label.text(), QStringLiteral("Kovács János"));
    // A field the list lacks, an empty result, a closed list.
    label.SetDataField(QStringLiteral("F_BSZAM"));
    QCOMPARE(label.text(), QString());
    label.SetDataField(QStringLiteral("O_NEV"));
    openQuery(Data->ZQ30, QStringLiteral("SELECT * FROM ostermelo WHERE o_kod = 'x'"));
    QCOMPARE(label.text(), QString());
    openProducers();
    Data->ZQ30->Last();
    QCOMPARE(label.text(), QStringLiteral("Molnár Ferenc"));
    Data->ZQ30->Close();
    QCOMPARE(label.text(), QString());
}

void TestDbControls::editFollowsCursor() {
    TestDatabase db(true);
    TIBTable* purchasers = openPurchasers();
    TDBEdit name(Data->DS6, QStringLiteral("V_NEVE"));
    TDBEdit id(Data->DS6, QStringLiteral("ID_ATVEVO"));
    QCOMPARE(name.text(), QStringLiteral("Első Felvásárló Kft."));
    QCOMPARE(id.text(), purchasers->FieldByName(QStringLiteral("ID_ATVEVO")).AsString());
    purchasers->Next();
    QCOMPARE(name.text(), QStringLiteral("Alföldi Állatfelvásárló Bt."));
    QVERIFY(!name.isReadOnly());
    purchasers->Close();
    QCOMPARE(name.text(), QString());
    QVERIFY(name.isReadOnly());
    purchasers->Open();
    QCOMPARE(name.text(), QStringLiteral("Első Felvásárló Kft."));
}

void TestDbControls::typingEditsTable() {
    TestDatabase db(true);
    TIBTable* purchasers = openPurchasers();
    purchasers->Next();
    auto form = std::make_unique<QWidget>();
    auto* town = new TDBEdit(Data->DS6, QStringLiteral("V_HELYSEG"), form.get());
    auto* name = new TDBEdit(Data->DS6, QStringLiteral("V_NEVE"), form.get());
    form->show();
    QVERIFY(QTest::qWaitForWindowExposed(form.get()));

    town->setFocus();
    town->end(false);
    typeText(town, QStringLiteral("-Újszeged"));
    QCOMPARE(purchasers->State(), TDataSetState::Edit);
    QCOMPARE(purchasers->FieldByName(QStringLiteral("V_HELYSEG")).AsString(),
             QStringLiteral("Szeged-Újszeged"));
    // The table going into edit state neither resets the typing nor disturbs the other field.
    QCOMPARE(town->text(), QStringLiteral("Szeged-Újszeged"));
    QCOMPARE(town->cursorPosition(), town->text().size());
    QCOMPARE(name->text(), QStringLiteral("Alföldi Állatfelvásárló Bt."));

    purchasers->Post();
    QCOMPARE(readValue(QStringLiteral("SELECT v_helyseg FROM atvevo WHERE v_akod = '2'")),
             QStringLiteral("Szeged-Újszeged"));
    QCOMPARE(town->text(), QStringLiteral("Szeged-Újszeged"));

    // Cancel brings back the stored text.
    town->selectAll();
    typeText(town, QStringLiteral("Makó"));
    QCOMPARE(purchasers->FieldByName(QStringLiteral("V_HELYSEG")).AsString(), QStringLiteral("Makó"));
    purchasers->Cancel();
    QCOMPARE(town->text(), QStringLiteral("Szeged-Újszeged"));
}

void TestDbControls::editReadOnlyCases() {
    TestDatabase db(true);
    TIBTable* purchasers = openPurchasers();
    TDBEdit own(Data->DS6, QStringLiteral("V_NEVE"));
    own.SetReadOnly(true);
    own.show();
    QVERIFY(own.isReadOnly());
    QTest::keyClicks(&own, QStringLiteral("xyz"));
    QCOMPARE(purchasers->State(), TDataSetState::Browse);
    QCOMPARE(own.text(), QStringLiteral("Első Felvásárló Kft."));

    // A query (the purchaser's last ticket number) is only shown.
    openQuery(Data->ZQ50, QStringLiteral("SELECT a_fjbszam FROM sorszam WHERE a_akod = '1'"));
    TDBEdit number(Data->DSQ50, QStringLiteral("A_FJBSZAM"));
    QCOMPARE(number.text(), QStringLiteral("10000000"));
    QVERIFY(number.isReadOnly());

    // A read-only table, and a computed column.
    TIBTable* producers = Data->IBTable3;
    producers->Close();
    producers->ReadOnly = true;
    producers->Open();
    TDBEdit producer(Data->DS3, QStringLiteral("O_NEV"));
    QVERIFY(producer.isReadOnly());
    db.exec(QStringLiteral(
        "INSERT INTO fjsor (s_bszam, s_brutto, s_levonszaz, s_ear) VALUES ('10000001', 100, 2, 310)"));
    TIBTable* lines = Data->IBTable2;
    lines->Close();
    lines->ReadOnly = false;
    lines->Open();
    TDBEdit net(Data->DS2, QStringLiteral("S_NETTO"));
    QCOMPARE(net.text(), QStringLiteral("98"));
    QVERIFY(net.isReadOnly());
    TDBEdit gross(Data->DS2, QStringLiteral("S_BRUTTO"));
    QCOMPARE(gross.text(), QStringLiteral("100"));
    QVERIFY(!gross.isReadOnly());
}

void TestDbControls::editRefusesBadNumber() {
    TestDatabase db(true);
    TIBTable* purchasers = openPurchasers();
    auto form = std::make_unique<QWidget>();
    auto* id = new TDBEdit(Data->DS6, QStringLiteral("ID_ATVEVO"), form.get());
    auto* other = new TDBEdit(Data->DS6, QStringLiteral("V_NEVE"), form.get());
    form->show();
    QVERIFY(QTest::qWaitForWindowExposed(form.get()));
    QSignalSpy errors(id, &TDBEdit::dataError);
    const QString before = id->text();

    id->setFocus();
    id->end(false);
    QTest::keyClicks(id, QStringLiteral("x"));
    QCOMPARE(id->text(), before + QStringLiteral("x"));
    QCOMPARE(purchasers->FieldByName(QStringLiteral("ID_ATVEVO")).AsString(), before);
    QCOMPARE(errors.size(), 0);
    other->setFocus();
    QCOMPARE(errors.size(), 1);
    QCOMPARE(reportedMessage(errors[0][0]), QStringLiteral("'%1x' nem érvényes egész szám.").arg(before));
}

void TestDbControls::lookupListsAndFollows() {
    TestDatabase db(true);
    TIBTable* purchasers = openPurchasers();
    TDBLookupComboBox combo;
    combo.SetListSource(Data->DS6);
    combo.SetListField(QStringLiteral("V_NEVE"));
    QCOMPARE(combo.count(), 2);
    QCOMPARE(combo.itemText(0), QStringLiteral("Első Felvásárló Kft."));
    QCOMPARE(combo.itemText(1), QStringLiteral("Alföldi Állatfelvásárló Bt."));
    QCOMPARE(purchasers->RecNo(), 1); // listing does not move the table
    QCOMPARE(combo.currentIndex(), 0);
    purchasers->Last();
    QCOMPARE(combo.currentIndex(), 1);

    // Stepping with the cursor keys chooses, as the hint of the purchaser list tells the clerk.
    combo.show();
    combo.setFocus();
    QTest::keyClick(&combo, Qt::Key_Up);
    QCOMPARE(purchasers->RecNo(), 1);
    QCOMPARE(purchasers->FieldByName(QStringLiteral("V_AKOD")).AsString(), QStringLiteral("1"));

    // A renamed purchaser shows after the post; a closed table empties the list.
    purchasers->Edit();
    purchasers->FieldByName(QStringLiteral("V_NEVE")).SetAsString(QStringLiteral("Első Felvásárló Zrt."));
    purchasers->Post();
    QCOMPARE(combo.itemText(0), QStringLiteral("Első Felvásárló Zrt."));
    purchasers->Close();
    QCOMPARE(combo.count(), 0);
    QVERIFY(!combo.ChooseIndex(0));
    combo.SetListField(QStringLiteral("NINCS_ILYEN"));
    purchasers->Open();
    QCOMPARE(combo.count(), 0);
}

void TestDbControls::lookupChoosesFirstOfEqualNames() {
    TestDatabase db(true);
    db.exec(QStringLiteral(
        "INSERT INTO atvevo (v_neve, v_akod, v_verzio) VALUES ('Első Felvásárló Kft.', '3', 'C')"));
    TIBTable* purchasers = openPurchasers();
    TDBLookupComboBox combo;
    combo.SetListSource(Data->DS6);
    combo.SetListField(QStringLiteral("V_NEVE"));
    QCOMPARE(combo.count(), 3);
    QCOMPARE(combo.itemText(2), QStringLiteral("Első Felvásárló Kft."));

    purchasers->Last();
    QVERIFY(combo.ChooseIndex(1));
    QCOMPARE(purchasers->FieldByName(QStringLiteral("V_AKOD")).AsString(), QStringLiteral("2"));
    // The later of two equal names selects the first of them in table order.
    QVERIFY(combo.ChooseIndex(2));
    QCOMPARE(purchasers->RecNo(), 1);
    QCOMPARE(purchasers->FieldByName(QStringLiteral("V_AKOD")).AsString(), QStringLiteral("1"));
    QCOMPARE(combo.currentIndex(), 0);
    QVERIFY(combo.ChooseText(QStringLiteral("Alföldi Állatfelvásárló Bt.")));
    QCOMPARE(purchasers->RecNo(), 2);
    QVERIFY(!combo.ChooseText(QStringLiteral("Nincs ilyen")));
    QCOMPARE(purchasers->RecNo(), 2);
}

void TestDbControls::lookupSignals() {
    TestDatabase db(true);
    TIBTable* purchasers = openPurchasers();
    auto form = std::make_unique<QWidget>();
    auto* combo = new TDBLookupComboBox(form.get());
    auto* next = new TDBEdit(Data->DS6, QStringLiteral("V_AKOD"), form.get());
    next->move(0, 40);
    combo->SetListSource(Data->DS6);
    combo->SetListField(QStringLiteral("V_NEVE"));
    form->show();
    QVERIFY(QTest::qWaitForWindowExposed(form.get()));
    combo->setFocus();
    QSignalSpy closeUps(combo, &TDBLookupComboBox::closeUp);
    QSignalSpy exits(combo, &TDBLookupComboBox::exited);

    // When closeUp arrives the entry chosen in the list is already the current row.
    QString akodAtCloseUp;
    connect(combo, &TDBLookupComboBox::closeUp, combo,
            [&] { akodAtCloseUp = purchasers->FieldByName(QStringLiteral("V_AKOD")).AsString(); });
    combo->showPopup();
    QAbstractItemView* list = combo->view();
    QVERIFY(QTest::qWaitForWindowExposed(list->window()));
    const QRect second = list->visualRect(list->model()->index(1, 0));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, second.center());
    QTRY_COMPARE(closeUps.size(), 1);
    QCOMPARE(akodAtCloseUp, QStringLiteral("2"));
    QCOMPARE(exits.size(), 0);

    next->setFocus();
    QCOMPARE(exits.size(), 1);
    QCOMPARE(closeUps.size(), 1);
}

// A list that cannot be read (the connection ended under it) is not shown as an empty list: the failure
// goes on to the window's guard, which says so and logs it.
void TestDbControls::lookupFailureReachesTheWindow() {
    TestDatabase db(true);
    openPurchasers();
    TDBLookupComboBox combo;
    combo.SetListSource(Data->DS6);
    db.cutConnection();
    QVERIFY_THROWS_EXCEPTION(EDatabaseError, combo.SetListField(QStringLiteral("V_NEVE")));
    QCOMPARE(combo.count(), 0);
}

QTEST_MAIN(TestDbControls)
#include "test_db_controls.moc"
