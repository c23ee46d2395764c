#include "data/data_module.h"
#include "support/test_database.h"
#include "widgets/data_fixtures.h"
#include "widgets/db_navigator.h"

#include <QHash>
#include <QSignalSpy>
#include <QTest>
#include <QToolButton>

using vardelo::testing::openProducers;
using vardelo::testing::openPurchasers;
using vardelo::testing::openQuery;
using vardelo::testing::readValue;
using vardelo::testing::TestDatabase;

namespace {

constexpr TNavigateBtn allButtons[] = {TNavigateBtn::nbFirst,  TNavigateBtn::nbPrior,  TNavigateBtn::nbNext,
                                       TNavigateBtn::nbLast,   TNavigateBtn::nbInsert, TNavigateBtn::nbDelete,
                                       TNavigateBtn::nbEdit,   TNavigateBtn::nbPost,   TNavigateBtn::nbCancel,
                                       TNavigateBtn::nbRefresh};

// The enabled buttons as a string of their initials in TNavigateBtn order, "-" for a disabled one:
// "FPNLIDEPCR" is all of them.
QString enabledButtons(const TDBNavigator& navigator) {
    const QString letters = QStringLiteral("FPNLIDEPCR");
    QString result;
    for (int i = 0; i < 10; ++i)
        result += navigator.Button(allButtons[i])->isEnabled() ? letters[i] : QLatin1Char('-');
    return result;
}

void click(TDBNavigator& navigator, TNavigateBtn button) {
    QTest::mouseClick(navigator.Button(button), Qt::LeftButton);
}

} // namespace

class TestDbNavigator : public QObject {
    Q_OBJECT
private slots:
    void movingButtonsFollowPosition_data();
    void movingButtonsFollowPosition();
    void buttonsMoveDataSet();
    void visibleButtons();
    void editingButtonsFollowState();
    void editCancelPost();
    void insertPostsNewRow();
    void deleteAskedFirst();
    void failedPostReported();
    void closedDataSetDisablesAll();
};

// Steps are clicks on the navigator's buttons ("next", "prior", "first", "last") or moves made elsewhere, by
// a grid or a screen ("ds.next", "ds.last", ...).
void TestDbNavigator::movingButtonsFollowPosition_data() {
    QTest::addColumn<QString>("list");
    QTest::addColumn<QString>("steps");
    QTest::addColumn<QString>("enabled");
    QTest::newRow("opened") << "all"
                            << ""
                            << "--NL";
    QTest::newRow("second row") << "all"
                                << "next"
                                << "FPNL";
    QTest::newRow("last row") << "all"
                              << "last"
                              << "FP--";
    QTest::newRow("back one from the end") << "all"
                                           << "last prior"
                                           << "FPNL";
    QTest::newRow("back on the first row") << "all"
                                           << "next first"
                                           << "--NL";
    QTest::newRow("stepped back to the first row") << "all"
                                                   << "next prior"
                                                   << "FPNL";
    QTest::newRow("and once more") << "all"
                                   << "next prior prior"
                                   << "--NL";
    QTest::newRow("moved elsewhere to the second row") << "all"
                                                       << "ds.next"
                                                       << "FPNL";
    QTest::newRow("moved elsewhere to the last row") << "all"
                                                     << "ds.last"
                                                     << "FP--";
    QTest::newRow("moved elsewhere back to the first") << "all"
                                                       << "ds.last ds.first"
                                                       << "--NL";
    QTest::newRow("empty result") << "empty"
                                  << ""
                                  << "----";
    QTest::newRow("single row") << "single"
                                << ""
                                << "--NL";
    QTest::newRow("single row, past its end") << "single"
                                              << "next"
                                              << "FP--";
}

void TestDbNavigator::movingButtonsFollowPosition() {
    QFETCH(QString, list);
    QFETCH(QString, steps);
    QFETCH(QString, enabled);
    TestDatabase db(true);
    TZQuery* producers = Data->ZQ30;
    if (list == QLatin1String("empty"))
        openQuery(producers, QStringLiteral("SELECT * FROM ostermelo WHERE o_kod = 'x'"));
    else if (list == QLatin1String("single"))
        openQuery(producers, QStringLiteral("SELECT * FROM ostermelo WHERE o_kod = '2'"));
    else
        openProducers();
    TDBNavigator navigator;
    navigator.SetDataSource(Data->DSQ30);
    const QHash<QString, TNavigateBtn> buttons{{QStringLiteral("first"), TNavigateBtn::nbFirst},
                                               {QStringLiteral("prior"), TNavigateBtn::nbPrior},
                                               {QStringLiteral("next"), TNavigateBtn::nbNext},
                                               {QStringLiteral("last"), TNavigateBtn::nbLast}};
    for (const QString& step : steps.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        if (step == QLatin1String("ds.next"))
            producers->Next();
        else if (step == QLatin1String("ds.first"))
            producers->First();
        else if (step == QLatin1String("ds.last"))
            producers->Last();
        else
            navigator.BtnClick(buttons.value(step));
    }
    QCOMPARE(enabledButtons(navigator).left(4), enabled);
}

void TestDbNavigator::buttonsMoveDataSet() {
    TestDatabase db(true);
    openProducers();
    TZQuery* producers = Data->ZQ30;
    TDBNavigator navigator;
    navigator.SetDataSource(Data->DSQ30);
    navigator.show();
    QSignalSpy clicks(&navigator, &TDBNavigator::clicked);

    click(navigator, TNavigateBtn::nbNext);
    click(navigator, TNavigateBtn::nbNext);
    QCOMPARE(producers->RecNo(), 3);
    click(navigator, TNavigateBtn::nbPrior);
    QCOMPARE(producers->RecNo(), 2);
    click(navigator, TNavigateBtn::nbLast);
    QCOMPARE(producers->RecNo(), 5);
    QCOMPARE(producers->FieldByName(QStringLiteral("O_NEV")).AsString(), QStringLiteral("Molnár Ferenc"));
    click(navigator, TNavigateBtn::nbNext); // disabled on the last row: nothing happens
    QCOMPARE(producers->RecNo(), 5);
    click(navigator, TNavigateBtn::nbFirst);
    QCOMPARE(producers->RecNo(), 1);
    QCOMPARE(clicks.size(), 5);
    QCOMPARE(clicks.last()[0].value<TNavigateBtn>(), TNavigateBtn::nbFirst);
}

void TestDbNavigator::visibleButtons() {
    TDBNavigator navigator;
    navigator.show();
    const auto shown = [&] {
        QString result;
        for (TNavigateBtn button : allButtons)
            result += navigator.Button(button)->isVisible() ? QLatin1Char('x') : QLatin1Char('-');
        return result;
    };
    QCOMPARE(shown(), QStringLiteral("xxxx------"));
    navigator.SetVisibleButtons(nbAllButtons);
    QCOMPARE(shown(), QStringLiteral("xxxxxxxxxx"));
    navigator.SetVisibleButtons(navButton(TNavigateBtn::nbNext) | navButton(TNavigateBtn::nbPost));
    QCOMPARE(shown(), QStringLiteral("--x----x--"));
    // Without a data source nothing can be pressed.
    QCOMPARE(enabledButtons(navigator), QStringLiteral("----------"));
}

void TestDbNavigator::editingButtonsFollowState() {
    TestDatabase db(true);
    TIBTable* purchasers = openPurchasers();
    TDBNavigator navigator;
    navigator.SetVisibleButtons(nbAllButtons);
    navigator.SetDataSource(Data->DS6);
    QCOMPARE(enabledButtons(navigator), QStringLiteral("--NLIDE--R"));
    purchasers->Edit();
    QCOMPARE(enabledButtons(navigator), QStringLiteral("--NLI--PC-"));
    purchasers->Cancel();
    QCOMPARE(enabledButtons(navigator), QStringLiteral("--NLIDE--R"));

    // A read-only table and a query only move and, for the table, refresh.
    TIBTable* producers = Data->IBTable3;
    producers->Close();
    producers->ReadOnly = true;
    producers->Open();
    navigator.SetDataSource(Data->DS3);
    QCOMPARE(enabledButtons(navigator), QStringLiteral("--NL-----R"));
    openProducers();
    navigator.SetDataSource(Data->DSQ30);
    QCOMPARE(enabledButtons(navigator), QStringLiteral("--NL------"));
}

void TestDbNavigator::editCancelPost() {
    TestDatabase db(true);
    TIBTable* purchasers = openPurchasers();
    TDBNavigator navigator;
    navigator.SetVisibleButtons(nbAllButtons);
    navigator.SetDataSource(Data->DS6);
    navigator.show();
    TField& town = purchasers->FieldByName(QStringLiteral("V_HELYSEG"));

    click(navigator, TNavigateBtn::nbEdit);
    QCOMPARE(purchasers->State(), TDataSetState::Edit);
    town.SetAsString(QStringLiteral("Baja"));
    click(navigator, TNavigateBtn::nbCancel);
    QCOMPARE(purchasers->State(), TDataSetState::Browse);
    QCOMPARE(town.AsString(), QStringLiteral("Kecskemét"));

    click(navigator, TNavigateBtn::nbEdit);
    town.SetAsString(QStringLiteral("Baja"));
    click(navigator, TNavigateBtn::nbPost);
    QCOMPARE(purchasers->State(), TDataSetState::Browse);
    QCOMPARE(readValue(QStringLiteral("SELECT v_helyseg FROM atvevo WHERE v_akod = '1'")),
             QStringLiteral("Baja"));

    // Moving away from an edited row posts it.
    click(navigator, TNavigateBtn::nbEdit);
    town.SetAsString(QStringLiteral("Szolnok"));
    click(navigator, TNavigateBtn::nbNext);
    QCOMPARE(purchasers->State(), TDataSetState::Browse);
    QCOMPARE(purchasers->RecNo(), 2);
    QCOMPARE(readValue(QStringLiteral("SELECT v_helyseg FROM atvevo WHERE v_akod = '1'")),
             QStringLiteral("Szolnok"));
}

void TestDbNavigator::insertPostsNewRow() {
    TestDatabase db(true);
    TIBTable* purchasers = openPurchasers();
    TDBNavigator navigator;
    navigator.SetVisibleButtons(nbAllButtons);
    navigator.SetDataSource(Data->DS6);
    navigator.show();

    click(navigator, TNavigateBtn::nbInsert);
    QCOMPARE(purchasers->State(), TDataSetState::Insert);
    QCOMPARE(enabledButtons(navigator).mid(4, 5), QStringLiteral("I--PC"));
    purchasers->FieldByName(QStringLiteral("V_NEVE")).SetAsString(QStringLiteral("Harmadik Bt."));
    purchasers->FieldByName(QStringLiteral("V_AKOD")).SetAsString(QStringLiteral("3"));
    click(navigator, TNavigateBtn::nbPost);
    QCOMPARE(purchasers->State(), TDataSetState::Browse);
    QCOMPARE(readValue(QStringLiteral("SELECT count(*) FROM atvevo")), QStringLiteral("3"));
    QCOMPARE(purchasers->FieldByName(QStringLiteral("V_AKOD")).AsString(), QStringLiteral("3"));
    QCOMPARE(purchasers->RecordCount(), 3);
}

void TestDbNavigator::deleteAskedFirst() {
    TestDatabase db(true);
    TIBTable* purchasers = openPurchasers();
    TDBNavigator navigator;
    navigator.SetVisibleButtons(nbAllButtons);
    navigator.SetDataSource(Data->DS6);
    navigator.show();

    // The screen can stop a delete; then it goes ahead.
    QVERIFY(purchasers->Locate(QStringLiteral("V_AKOD"), QStringLiteral("2"), 0));
    QList<TNavigateBtn> asked;
    bool allow = false;
    navigator.BeforeAction = [&](TNavigateBtn button) {
        asked << button;
        return allow;
    };
    click(navigator, TNavigateBtn::nbDelete);
    QCOMPARE(asked, QList<TNavigateBtn>{TNavigateBtn::nbDelete});
    QCOMPARE(readValue(QStringLiteral("SELECT count(*) FROM atvevo")), QStringLiteral("2"));
    allow = true;
    click(navigator, TNavigateBtn::nbDelete);
    QCOMPARE(readValue(QStringLiteral("SELECT count(*) FROM atvevo")), QStringLiteral("1"));
    QCOMPARE(readValue(QStringLiteral("SELECT count(*) FROM atvevo WHERE v_akod = '2'")),
             QStringLiteral("0"));
    QCOMPARE(purchasers->RecordCount(), 1);
    QCOMPARE(purchasers->FieldByName(QStringLiteral("V_AKOD")).AsString(), QStringLiteral("1"));
    // The last row gone, only insert (and refresh) remain.
    click(navigator, TNavigateBtn::nbDelete);
    QVERIFY(purchasers->IsEmpty());
    QCOMPARE(enabledButtons(navigator), QStringLiteral("----I----R"));
}

void TestDbNavigator::failedPostReported() {
    TestDatabase db(true);
    TIBTable* purchasers = openPurchasers();
    TDBNavigator navigator;
    navigator.SetVisibleButtons(nbAllButtons);
    navigator.SetDataSource(Data->DS6);
    navigator.show();
    QSignalSpy errors(&navigator, &TDBNavigator::dataError);
    QSignalSpy clicks(&navigator, &TDBNavigator::clicked);

    click(navigator, TNavigateBtn::nbEdit);
    purchasers->FieldByName(QStringLiteral("V_AKOD")).SetAsString(QStringLiteral("1234567")); // five at most
    click(navigator, TNavigateBtn::nbPost);
    QCOMPARE(errors.size(), 1);
    QCOMPARE(clicks.size(), 1); // only the edit
    QCOMPARE(purchasers->State(), TDataSetState::Edit);
    QCOMPARE(enabledButtons(navigator).mid(7, 2), QStringLiteral("PC"));
    // Nor does a move leave the row.
    click(navigator, TNavigateBtn::nbNext);
    QCOMPARE(errors.size(), 2);
    QCOMPARE(purchasers->RecNo(), 1);
    click(navigator, TNavigateBtn::nbCancel);
    QCOMPARE(purchasers->State(), TDataSetState::Browse);
    QCOMPARE(readValue(QStringLiteral("SELECT v_akod FROM atvevo ORDER BY id_atvevo")), QStringLiteral("1"));
}

void TestDbNavigator::closedDataSetDisablesAll() {
    TestDatabase db(true);
    TIBTable* purchasers = openPurchasers();
    TDBNavigator navigator;
    navigator.SetVisibleButtons(nbAllButtons);
    navigator.SetDataSource(Data->DS6);
    purchasers->Close();
    QCOMPARE(enabledButtons(navigator), QStringLiteral("----------"));
    for (TNavigateBtn button : allButtons)
        navigator.BtnClick(button);
    QVERIFY(!purchasers->Active());
    purchasers->Open();
    QCOMPARE(enabledButtons(navigator), QStringLiteral("--NLIDE--R"));
}

QTEST_MAIN(TestDbNavigator)
#include "test_db_navigator.moc"
