#include "data/data_module.h"
#include "support/test_database.h"
#include "widgets/data_fixtures.h"
#include "widgets/db_grid.h"
#include "widgets/db_navigator.h"
#include "widgets/db_text.h"

#include <QDialog>
#include <QDir>
#include <QFormLayout>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QTest>
#include <QToolButton>
#include <QVBoxLayout>
#include <memory>

using vardelo::testing::openProducers;
using vardelo::testing::TestDatabase;

namespace {

// A small browsing window as the screens build them: a grid, its navigator and a group of bound labels, all
// on the producer list.
struct BrowseWindow {
    std::unique_ptr<QDialog> dialog = std::make_unique<QDialog>();
    TDBGrid* grid = nullptr;
    TDBNavigator* navigator = nullptr;
    TDBText* name = nullptr;
    TDBText* birth = nullptr;

    BrowseWindow() {
        dialog->setObjectName(QStringLiteral("Form99"));
        dialog->setWindowTitle(QStringLiteral("Őstermelő"));
        auto* layout = new QVBoxLayout(dialog.get());
        grid = new TDBGrid(dialog.get());
        grid->setObjectName(QStringLiteral("DBGrid1"));
        grid->SetColumns({{QStringLiteral("O_KOD"), QStringLiteral("Kódja")},
                          {QStringLiteral("O_NEV"), QStringLiteral("Név")},
                          {QStringLiteral("O_IRSZAM"), QStringLiteral("Ir.szám")},
                          {QStringLiteral("O_HELYSEGNEV"), QStringLiteral("Helységnév")},
                          {QStringLiteral("O_SZIDO"), QStringLiteral("Szül.idö")},
                          {QStringLiteral("O_SZJA"), QStringLiteral("Szja")},
                          {QStringLiteral("V_AKOD"), QStringLiteral("Átvevökód")}});
        grid->SetReadOnly(true);
        grid->SetDataSource(Data->DSQ30);
        layout->addWidget(grid, 1);
        navigator = new TDBNavigator(dialog.get());
        navigator->setObjectName(QStringLiteral("DBNavigator1"));
        navigator->SetDataSource(Data->DSQ30);
        layout->addWidget(navigator, 0, Qt::AlignLeft);
        auto* group = new QGroupBox(QStringLiteral("Adata"), dialog.get());
        auto* form = new QFormLayout(group);
        name = new TDBText(Data->DSQ30, QStringLiteral("O_NEV"), group);
        birth = new TDBText(Data->DSQ30, QStringLiteral("O_SZIDO"), group);
        form->addRow(QStringLiteral("Neve:"), name);
        form->addRow(QStringLiteral("Születési idő:"), birth);
        form->addRow(QStringLiteral("Szja:"), new TDBText(Data->DSQ30, QStringLiteral("O_SZJA"), group));
        layout->addWidget(group);
        dialog->resize(900, 360);
    }
};

} // namespace

class TestDbWindow : public QObject {
    Q_OBJECT
private slots:
    void controlsOnOneSourceMoveTogether();
};

void TestDbWindow::controlsOnOneSourceMoveTogether() {
    TestDatabase db(true);
    openProducers();
    BrowseWindow window;
    window.dialog->show();
    QVERIFY(QTest::qWaitForWindowExposed(window.dialog.get()));
    QCoreApplication::processEvents();

    QCOMPARE(window.name->text(), QStringLiteral("Kovács János"));
    QCOMPARE(window.birth->text(), QStringLiteral("1961.03.14."));
    QTest::mouseClick(window.navigator->Button(TNavigateBtn::nbNext), Qt::LeftButton);
    QCOMPARE(window.grid->currentIndex().row(), 1);
    QCOMPARE(window.name->text(), QStringLiteral("Nagy Éva"));

    const QRect fourth = window.grid->visualRect(window.grid->model()->index(3, 1));
    QTest::mouseClick(window.grid->viewport(), Qt::LeftButton, {}, fourth.center());
    QCOMPARE(window.name->text(), QStringLiteral("Szűcs Ágnes"));
    QCOMPARE(window.birth->text(), QStringLiteral("1982.09.30."));
    QVERIFY(window.navigator->Button(TNavigateBtn::nbPrior)->isEnabled());

    QTest::mouseClick(window.navigator->Button(TNavigateBtn::nbLast), Qt::LeftButton);
    QCOMPARE(window.grid->currentIndex().row(), 4);
    QCOMPARE(window.name->text(), QStringLiteral("Molnár Ferenc"));
    QVERIFY(!window.navigator->Button(TNavigateBtn::nbNext)->isEnabled());

    // Every title fits its column.
    const QHeaderView* header = window.grid->horizontalHeader();
    for (int column = 0; column < window.grid->ColumnCount(); ++column)
        QVERIFY(header->sectionSize(column) >=
                header->fontMetrics().horizontalAdvance(window.grid->ColumnTitle(column)));

    // VARDELO_SCREENSHOTS names a folder for a picture of the window, to look at.
    const QString shots = qEnvironmentVariable("VARDELO_SCREENSHOTS");
    if (!shots.isEmpty()) {
        QVERIFY(window.dialog->grab().save(QDir(shots).filePath(QStringLiteral("db_window.png"))));
        window.navigator->SetVisibleButtons(nbAllButtons);
        window.navigator->SetDataSource(Data->DS6);
        vardelo::testing::openPurchasers();
        Data->IBTable6->Edit();
        QCoreApplication::processEvents();
        QVERIFY(window.dialog->grab().save(QDir(shots).filePath(QStringLiteral("db_window_all.png"))));
        Data->IBTable6->Cancel();
    }
}

QTEST_MAIN(TestDbWindow)
#include "test_db_window.moc"
