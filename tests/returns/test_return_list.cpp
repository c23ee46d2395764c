#include "data/data_module.h"
#include "reports/report_fixture.h"
#include "reports/report_objects.h"
#include "reports/report_service.h"
#include "return_data.h"
#include "returns/return_list_window.h"
#include "support/children.h"
#include "support/test_database.h"
#include "support/ui_recorder.h"
#include "widgets/db_grid.h"
#include "widgets/db_navigator.h"
#include "widgets/ui_service.h"

#include <QDateEdit>
#include <QGroupBox>
#include <QPushButton>
#include <QRadioButton>
#include <QtTest>

using vardelo::testing::child;
using namespace vardelo;
using namespace vardelo::testing;

namespace {

// Three tickets of three producers, paid and bought on different days, with lines of different animals; one
// ticket never printed, one without a payment date.
void storeTickets(TestDatabase& db) {
    storeProducer(db, "1", "Cseh Béla", "8123456786");
    storeProducer(db, "2", "Antal Anna", "8111111111");
    storeProducer(db, "3", "Bodó Ede", "8222222222");
    storeHeader(db, "10000003", "1", "'2010-08-02'", "'I'", "1", "'2010-08-20'");
    storeItem(db, "10000003", "10", "10", "0", "Bárány");
    storeHeader(db, "10000001", "2", "'2010-08-20'", "NULL", "1", "'2010-08-05'");
    storeItem(db, "10000001", "10", "10.05", "0", "Süldő");
    storeItem(db, "10000001", "1", "1", "0", "Anyakoca");
    storeHeader(db, "10000002", "3", "'2010-08-10'", "'I'", "1", "'2010-08-01'");
    storeItem(db, "10000002", "10", "10", "0", "Csikó");
    storeHeader(db, "10000009", "3", "NULL");
    storeItem(db, "10000009", "99", "99", "0", "Kecske");
}

QStringList column(const QString& field) {
    QStringList values;
    for (Data->ZQ20->First(); !Data->ZQ20->Eof(); Data->ZQ20->Next())
        values << Data->ZQ20->FieldByName(field).AsString();
    return values;
}

} // namespace

class TestReturnList : public QObject {
    Q_OBJECT

private slots:
    void init() { ListaOsszesen.clear(); }

    // Each order sorts as its choice says, and the print carries its name in v_sorrend.
    void orders_data() {
        QTest::addColumn<int>("button");
        QTest::addColumn<QStringList>("megnevezes");
        QTest::addColumn<QString>("sorrend");
        // Producers by name: Antal (Süldő, Anyakoca), Bodó (Csikó), Cseh (Bárány).
        QTest::newRow("Östermelö") << 1 << QStringList{"?", "?", "Csikó", "Bárány"} << "östermelö";
        // Paid 08.02 Cseh, 08.10 Bodó, 08.20 Antal.
        QTest::newRow("Fiz.dátum") << 2 << QStringList{"Bárány", "Csikó", "?", "?"} << "fizetés dátum";
        // Ticket number, then animal name.
        QTest::newRow("Zozed") << 3 << QStringList{"Anyakoca", "Süldő", "Csikó", "Bárány"} << "zozed szám";
        QTest::newRow("Termék") << 4 << QStringList{"Anyakoca", "Bárány", "Csikó", "Süldő"}
                                << "termék megnevezés";
        // Bought 08.01 Bodó, 08.05 Antal, 08.20 Cseh.
        QTest::newRow("Felv.dátum") << 5 << QStringList{"Csikó", "?", "?", "Bárány"} << "felvásárlás dátum";
    }
    void orders() {
        QFETCH(int, button);
        QFETCH(QStringList, megnevezes);
        QFETCH(QString, sorrend);
        TestDatabase db;
        copyLayouts();
        chooseReturnPurchaser(db);
        storeTickets(db);
        UiRecorder recorder;
        TForm12 form;
        QCOMPARE(form.objectName(), QStringLiteral("Form12"));
        QVERIFY(child<QRadioButton>(form, "RadioButton1")->isChecked());
        child<QDateEdit>(form, "DateTimePicker1")->setDate(QDate(2010, 8, 1));
        child<QDateEdit>(form, "DateTimePicker2")->setDate(QDate(2010, 8, 31));
        form.findChild<QRadioButton*>(QStringLiteral("RadioButton%1").arg(button))->click();
        child<QPushButton>(form, "Button1")->click();
        QVERIFY(child<QPushButton>(form, "Button2")->isEnabled());
        QStringList got = column("S_MEGNEVEZES");
        // The two lines of one ticket have no order between them where the choice gives none.
        for (int i = 0; i < megnevezes.size(); ++i)
            if (megnevezes[i] == "?")
                got[i] = "?";
        QCOMPARE(got, megnevezes);
        QCOMPARE(child<TDBGrid>(form, "DBGrid1")->ColumnTitle(0), QStringLiteral("Megnevezés"));
        QCOMPARE(child<TDBGrid>(form, "DBGrid1")->ColumnCount(), 9);
        QCOMPARE(child<TDBNavigator>(form, "DBNavigator1")->DataSource(), Data->DSQ20);

        recorder.expectModal([](QDialog&) {});
        child<QPushButton>(form, "Button2")->click();
        QCOMPARE(reportVariable("v_sorrend").toString(), sorrend);
        QCOMPARE(reportVariable("v_tol").toString(), QStringLiteral("2010.08.01."));
        QCOMPARE(recorder.modalsShown.size(), 1);
    }

    // A total with a fraction shows its decimals after a comma; the ticket without a payment date is never
    // listed; unprinted tickets are.
    void totalAndSelection() {
        TestDatabase db;
        chooseReturnPurchaser(db);
        storeTickets(db);
        UiRecorder recorder;
        TForm12 form;
        child<QDateEdit>(form, "DateTimePicker1")->setDate(QDate(2000, 1, 1));
        child<QDateEdit>(form, "DateTimePicker2")->setDate(QDate(2020, 12, 31));
        child<QPushButton>(form, "Button1")->click();
        // 100 + 100.5 + 1 + 100
        QCOMPARE(ListaOsszesen, QStringLiteral("301,5"));
        QCOMPARE(Data->ZQ20->RecordCount(), 4);
        QVERIFY(!column("S_MEGNEVEZES").contains("Kecske"));
        QVERIFY(column("S_BSZAM").contains("10000001"));
    }

    // An empty period: no rows, total "0". A from-date change or an order click disables the print; the
    // to-date does not.
    void emptyPeriodAndPrintState() {
        TestDatabase db;
        chooseReturnPurchaser(db);
        storeTickets(db);
        UiRecorder recorder;
        TForm12 form;
        child<QDateEdit>(form, "DateTimePicker1")->setDate(QDate(2010, 9, 1));
        child<QDateEdit>(form, "DateTimePicker2")->setDate(QDate(2010, 9, 30));
        child<QPushButton>(form, "Button1")->click();
        QCOMPARE(ListaOsszesen, QStringLiteral("0"));
        QVERIFY(Data->ZQ20->IsEmpty());
        QVERIFY(child<QPushButton>(form, "Button2")->isEnabled());
        child<QDateEdit>(form, "DateTimePicker2")->setDate(QDate(2010, 10, 30));
        QVERIFY(child<QPushButton>(form, "Button2")->isEnabled());
        child<QRadioButton>(form, "RadioButton3")->click();
        QVERIFY(!child<QPushButton>(form, "Button2")->isEnabled());
        child<QPushButton>(form, "Button1")->click();
        QVERIFY(child<QPushButton>(form, "Button2")->isEnabled());
        child<QDateEdit>(form, "DateTimePicker1")->setDate(QDate(2010, 9, 2));
        QVERIFY(!child<QPushButton>(form, "Button2")->isEnabled());
    }
};

QTEST_MAIN(TestReturnList)
#include "test_return_list.moc"
