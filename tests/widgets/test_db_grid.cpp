#include "data/data_module.h"
#include "support/test_database.h"
#include "widgets/data_fixtures.h"
#include "widgets/db_grid.h"

#include <QApplication>
#include <QHeaderView>
#include <QScrollBar>
#include <QSignalSpy>
#include <QStyle>
#include <QTest>
#include <QToolTip>
#include <memory>

using vardelo::testing::openProducers;
using vardelo::testing::openPurchasers;
using vardelo::testing::openQuery;
using vardelo::testing::readValue;
using vardelo::testing::reportedMessage;
using vardelo::testing::TestDatabase;

namespace {

int selectedRow(const TDBGrid& grid) {
    const QModelIndexList rows = grid.selectionModel()->selectedRows();
    return rows.size() == 1 ? rows.first().row() : -1;
}

QString cell(const TDBGrid& grid, int row, int column, int role = Qt::DisplayRole) {
    return grid.model()->data(grid.model()->index(row, column), role).toString();
}

QPoint titleCentre(const TDBGrid& grid, int column) {
    const QHeaderView* header = grid.horizontalHeader();
    return QPoint(header->sectionViewportPosition(column) + header->sectionSize(column) / 2,
                  header->height() / 2);
}

std::unique_ptr<TDBGrid> shownGrid(TDataSource* source) {
    auto grid = std::make_unique<TDBGrid>();
    grid->setObjectName(QStringLiteral("DBGrid1"));
    grid->resize(700, 300);
    grid->SetDataSource(source);
    grid->show();
    if (!QTest::qWaitForWindowExposed(grid.get()))
        qWarning("grid window not exposed");
    QCoreApplication::processEvents(); // the view asks for the rows it has room for
    return grid;
}

// Animals 0 .. total - 1 (at most 40,000): code i, name "Termék i", price i.
void fillAnimals(TestDatabase& db, int total) {
    db.exec(QStringLiteral("INSERT INTO termek (t_kod, t_megnevezes, t_ear) "
                           "WITH RECURSIVE n AS (SELECT 0 AS i FROM rdb$database UNION ALL "
                           "SELECT i + 1 FROM n WHERE i < 199) "
                           "SELECT a.i * 200 + b.i, 'Termék ' || (a.i * 200 + b.i), a.i * 200 + b.i "
                           "FROM n a CROSS JOIN n b WHERE a.i * 200 + b.i < %1")
                .arg(total));
}

} // namespace

class TestDbGrid : public QObject {
    Q_OBJECT
private slots:
    void selectionFollowsDataSet();
    void rowMarkFollowsDataSet();
    void movingInGridMovesDataSet();
    void columnsAllFieldsOrScreenList();
    void cellTexts();
    void defaultWidthsShowWholeValues_data();
    void defaultWidthsShowWholeValues();
    void cutValueShownInTip();
    void reopeningResetsGrid();
    void titleClickNamesField();
    void largeTableOpensWithoutFetchingAll();
    void lastRowsShownPastTheWindow();
    void editInPlacePostsOnRowChange();
    void editRefusedWhereNotWritable();
    void insertShowsNewRowAtEnd();
    void badCellInputChangesNothing();
    void failedPostKeepsRow();
    void closedOrMissingDataSet();
};

void TestDbGrid::selectionFollowsDataSet() {
    TestDatabase db(true);
    openProducers();
    auto grid = shownGrid(Data->DSQ30);
    TZQuery* producers = Data->ZQ30;
    QCOMPARE(selectedRow(*grid), 0);
    producers->Next();
    producers->Next();
    QCOMPARE(selectedRow(*grid), 2);
    producers->Last();
    QCOMPARE(selectedRow(*grid), 4);
    QVERIFY(producers->Locate(QStringLiteral("O_NEV"), QStringLiteral("Nagy Éva"), 0));
    QCOMPARE(selectedRow(*grid), 1);
    producers->First();
    QCOMPARE(selectedRow(*grid), 0);
    QCOMPARE(grid->currentIndex().row(), 0);
}

// The arrow moves with the dataset: the two rows are repainted, and the view is not told that its header
// data changed (it would lay out every row again at each move).
void TestDbGrid::rowMarkFollowsDataSet() {
    TestDatabase db(true);
    openProducers();
    auto grid = shownGrid(Data->DSQ30);
    auto* model = qobject_cast<TDBGridModel*>(grid->model());
    QVERIFY(model);
    QSignalSpy marks(model, &TDBGridModel::rowMarkChanged);
    QSignalSpy headers(model, &QAbstractItemModel::headerDataChanged);
    Data->ZQ30->Next();
    Data->ZQ30->Next();
    QCOMPARE(model->headerData(0, Qt::Vertical).toString(), QString());
    QCOMPARE(model->headerData(2, Qt::Vertical).toString(), QStringLiteral("►"));
    QList<int> rows;
    for (const QList<QVariant>& mark : marks)
        rows << mark.at(0).toInt();
    QCOMPARE(rows, (QList<int>{0, 1, 1, 2}));
    QCOMPARE(headers.count(), 0);
}

void TestDbGrid::movingInGridMovesDataSet() {
    TestDatabase db(true);
    openProducers();
    auto grid = shownGrid(Data->DSQ30);
    TZQuery* producers = Data->ZQ30;

    grid->setCurrentIndex(grid->model()->index(3, 1));
    QCOMPARE(producers->RecNo(), 4);
    QCOMPARE(producers->FieldByName(QStringLiteral("O_NEV")).AsString(), QStringLiteral("Szűcs Ágnes"));

    grid->setFocus();
    QTest::keyClick(grid.get(), Qt::Key_Up);
    QCOMPARE(producers->RecNo(), 3);
    QTest::keyClick(grid.get(), Qt::Key_Down);
    QTest::keyClick(grid.get(), Qt::Key_Down);
    QCOMPARE(producers->RecNo(), 5);

    const QRect second = grid->visualRect(grid->model()->index(1, 2));
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, second.center());
    QCOMPARE(producers->RecNo(), 2);
    QCOMPARE(selectedRow(*grid), 1);
}

void TestDbGrid::columnsAllFieldsOrScreenList() {
    TestDatabase db(true);
    openProducers();
    TZQuery* producers = Data->ZQ30;
    TDBGrid grid;
    grid.SetDataSource(Data->DSQ30);
    QCOMPARE(grid.ColumnCount(), producers->FieldCount());
    for (int i = 0; i < producers->FieldCount(); ++i) {
        QCOMPARE(grid.ColumnFieldName(i), producers->Fields(i).FieldName());
        QCOMPARE(grid.model()->headerData(i, Qt::Horizontal).toString(), producers->Fields(i).DisplayLabel());
    }

    // The screen's columns, in its order; a name the list lacks stays empty but keeps its title.
    grid.SetColumns({{QStringLiteral("O_NEV"), QStringLiteral("Név")},
                     {QStringLiteral("V_AKOD"), QStringLiteral("Átvevökód")},
                     {QStringLiteral("O_KOD"), QStringLiteral("Kódja")},
                     {QStringLiteral("O_SZJA"), QString()}});
    QCOMPARE(grid.ColumnCount(), 4);
    QCOMPARE(grid.model()->columnCount(), 4);
    const QStringList titles{QStringLiteral("Név"), QStringLiteral("Átvevökód"), QStringLiteral("Kódja"),
                             QStringLiteral("O_SZJA")};
    for (int i = 0; i < 4; ++i)
        QCOMPARE(grid.model()->headerData(i, Qt::Horizontal).toString(), titles[i]);
    QCOMPARE(cell(grid, 0, 0), QStringLiteral("Kovács János"));
    QCOMPARE(cell(grid, 0, 1), QString());
    QCOMPARE(cell(grid, 4, 1), QString());
    QCOMPARE(cell(grid, 0, 2), QStringLiteral("1"));

    grid.ClearColumns();
    QCOMPARE(grid.ColumnCount(), producers->FieldCount());
}

void TestDbGrid::cellTexts() {
    TestDatabase db(true);
    openQuery(Data->ZQ40, QStringLiteral("SELECT t_kod, t_megnevezes, t_ear, t_kompmerteke, "
                                         "CAST('2010-08-31' AS DATE) AS napja FROM termek ORDER BY t_kod"));
    TDBGrid grid;
    grid.SetDataSource(Data->DSQ40);
    QCOMPARE(Data->ZQ40->RecordCount(), 7); // fetches every row; the grid follows
    QCOMPARE(grid.model()->rowCount(), 7);
    // Vágómarha at 395.5 per kg, 7 %.
    QCOMPARE(cell(grid, 2, 1), QStringLiteral("Vágómarha"));
    QCOMPARE(cell(grid, 2, 2), QStringLiteral("395,5"));
    QCOMPARE(cell(grid, 2, 3), QStringLiteral("7"));
    QCOMPARE(cell(grid, 2, 4), QStringLiteral("2010.08.31."));
    const auto alignment = [&](int column) {
        return Qt::Alignment(
                   grid.model()->data(grid.model()->index(0, column), Qt::TextAlignmentRole).toInt()) &
               Qt::AlignHorizontal_Mask;
    };
    QCOMPARE(alignment(1), Qt::AlignLeft);
    QCOMPARE(alignment(2), Qt::AlignRight);
    QCOMPARE(alignment(3), Qt::AlignRight);
}

void TestDbGrid::defaultWidthsShowWholeValues_data() {
    QTest::addColumn<QString>("sql");
    QTest::newRow("producers") << QStringLiteral("SELECT * FROM ostermelo ORDER BY o_kod");
    QTest::newRow("animals") << QStringLiteral("SELECT * FROM termek ORDER BY t_kod");
    // Every code and number column at its full length.
    QTest::newRow("full length") << QStringLiteral(
        "SELECT CAST('88888888' AS VARCHAR(8)) AS f_bszam, CAST('88888' AS VARCHAR(5)) AS o_kod, "
        "CAST('8888' AS VARCHAR(4)) AS o_irszam, CAST('8888888888' AS VARCHAR(10)) AS o_adoazon, "
        "CAST('88888888888' AS VARCHAR(11)) AS o_adoszam, CAST('888888888' AS VARCHAR(9)) AS o_taj, "
        "CAST('88888888888888888888888888' AS VARCHAR(26)) AS o_bankszla, "
        "CAST('0102 90 59' AS VARCHAR(10)) AS t_vtsz, CAST(1234567.89 AS DOUBLE PRECISION) AS s_vetelar, "
        "CAST('2010-12-31' AS DATE) AS f_kelt FROM rdb$database");
}

// A new grid's columns show each value of a code, number or date column whole, not cut to "10000…".
void TestDbGrid::defaultWidthsShowWholeValues() {
    QFETCH(QString, sql);
    TestDatabase db(true);
    openQuery(Data->ZQ30, sql);
    auto grid = shownGrid(Data->DSQ30);
    Data->ZQ30->Last();
    const int margin = grid->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, grid.get()) + 1;
    for (int column = 0; column < grid->model()->columnCount(); ++column) {
        const TField& field = Data->ZQ30->FieldByName(grid->ColumnFieldName(column));
        if (field.DataType() == TFieldType::String && field.Size() > 26)
            continue; // names and addresses: capped, the clerk widens them
        for (int row = 0; row < grid->model()->rowCount(); ++row) {
            const QString text = cell(*grid, row, column);
            QVERIFY2(grid->fontMetrics().horizontalAdvance(text) + 2 * margin <= grid->columnWidth(column),
                     qPrintable(grid->ColumnFieldName(column) + ": " + text));
        }
    }
}

// A name longer than its column, or an amount the column was not made wide enough for, shows whole in a tip
// over its cell; a value that fits shows none.
void TestDbGrid::cutValueShownInTip() {
    TestDatabase db(true);
    const QString longName =
        QStringLiteral("Kiskunfélegyházi Mezőgazdasági Termelő és Értékesítő Szövetkezet");
    openQuery(Data->ZQ30,
              QStringLiteral("SELECT CAST('1' AS VARCHAR(5)) AS o_kod, CAST('%1' AS VARCHAR(100)) AS o_nev "
                             "FROM rdb$database")
                  .arg(longName));
    auto grid = shownGrid(Data->DSQ30);
    const auto tipOver = [&](int column) -> QString {
        QToolTip::hideText();
        if (!QTest::qWaitFor([] { return !QToolTip::isVisible(); }))
            return QStringLiteral("(the previous tip stayed)");
        const QRect cell = grid->visualRect(grid->model()->index(0, column));
        QHelpEvent help(QEvent::ToolTip, cell.center(), grid->viewport()->mapToGlobal(cell.center()));
        QApplication::sendEvent(grid->viewport(), &help);
        return QToolTip::isVisible() ? QToolTip::text() : QString();
    };
    QCOMPARE(tipOver(0), QString()); // "1" fits
    QVERIFY(grid->columnWidth(1) < grid->fontMetrics().horizontalAdvance(longName));
    QCOMPARE(tipOver(1), longName);
    grid->setColumnWidth(1, grid->fontMetrics().horizontalAdvance(longName) + 40);
    QCOMPARE(tipOver(1), QString());
}

void TestDbGrid::reopeningResetsGrid() {
    TestDatabase db(true);
    openProducers();
    auto grid = shownGrid(Data->DSQ30);
    TZQuery* producers = Data->ZQ30;
    producers->Last();
    QCOMPARE(selectedRow(*grid), 4);
    grid->setColumnWidth(1, 211);

    producers->Close();
    QCOMPARE(grid->model()->rowCount(), 0);
    QCOMPARE(grid->model()->columnCount(), 0);
    QCOMPARE(selectedRow(*grid), -1);

    // Another statement: other columns, other rows, and the grid stands on the first row again.
    openQuery(producers,
              QStringLiteral("SELECT o_nev, o_kod FROM ostermelo WHERE o_szja > 0 ORDER BY o_nev"));
    QCOMPARE(grid->model()->columnCount(), 2);
    QCOMPARE(grid->ColumnFieldName(0), QStringLiteral("O_NEV"));
    QVERIFY(grid->model()->rowCount() >= 1);
    QCOMPARE(selectedRow(*grid), 0);
    producers->Last();
    QCOMPARE(producers->RecordCount(), 4); // Molnár Ferenc pays no SZJA
    QCOMPARE(grid->model()->rowCount(), 4);
    QCOMPARE(selectedRow(*grid), 3);

    // Reopened on the full statement: every row and column is back, and the width the clerk gave O_KOD stays.
    openProducers();
    QCOMPARE(grid->model()->columnCount(), producers->FieldCount());
    QCOMPARE(grid->ColumnFieldName(1), QStringLiteral("O_KOD"));
    QCOMPARE(selectedRow(*grid), 0);
    QCOMPARE(cell(*grid, 0, 2), QStringLiteral("Kovács János"));
    QCOMPARE(grid->columnWidth(1), 211);
}

void TestDbGrid::titleClickNamesField() {
    TestDatabase db(true);
    openProducers();
    auto grid = shownGrid(Data->DSQ30);
    grid->SetColumns({{QStringLiteral("O_KOD"), QStringLiteral("Kódja")},
                      {QStringLiteral("O_NEV"), QStringLiteral("Név")},
                      {QStringLiteral("NINCS_ILYEN"), QStringLiteral("Átvevökód")}});
    QSignalSpy clicks(grid.get(), &TDBGrid::titleClick);
    for (int column = 0; column < 3; ++column)
        QTest::mouseClick(grid->horizontalHeader()->viewport(), Qt::LeftButton, {},
                          titleCentre(*grid, column));
    QCOMPARE(clicks.size(), 3);
    QCOMPARE(clicks[0][0].toString(), QStringLiteral("O_KOD"));
    QCOMPARE(clicks[1][0].toString(), QStringLiteral("O_NEV"));
    QCOMPARE(clicks[2][0].toString(), QStringLiteral("NINCS_ILYEN"));
    // A title click neither sorts the rows nor moves the dataset.
    QCOMPARE(Data->ZQ30->RecNo(), 1);
    QCOMPARE(cell(*grid, 0, 1), QStringLiteral("Kovács János"));
}

void TestDbGrid::largeTableOpensWithoutFetchingAll() {
    TestDatabase db(false);
    const int total = 20000;
    fillAnimals(db, total);
    TIBTable* table = Data->IBTable4;
    table->Close();
    table->Open();
    auto grid = shownGrid(Data->DS4);
    QCoreApplication::processEvents();

    const int fetched = table->FetchedCount();
    qInfo("rows fetched for the first screen: %d", fetched);
    QVERIFY2(fetched < 1000, qPrintable(QString::number(fetched)));
    QCOMPARE(grid->model()->rowCount(), fetched);
    QVERIFY(grid->model()->canFetchMore(QModelIndex()));

    // Scrolling down asks for more rows, a batch at a time.
    grid->verticalScrollBar()->setValue(grid->verticalScrollBar()->maximum());
    QCoreApplication::processEvents();
    QVERIFY(table->FetchedCount() > fetched);
    QVERIFY(table->FetchedCount() < total);
    QCOMPARE(grid->model()->rowCount(), table->FetchedCount());

    // Ctrl+End goes to the real last row.
    grid->setFocus();
    QTest::keyClick(grid.get(), Qt::Key_End, Qt::ControlModifier);
    QCOMPARE(table->RecNo(), total);
    QCOMPARE(grid->model()->rowCount(), total);
    QCOMPARE(selectedRow(*grid), total - 1);
    QTest::keyClick(grid.get(), Qt::Key_Home, Qt::ControlModifier);
    QCOMPARE(table->RecNo(), 1);
    QCOMPARE(selectedRow(*grid), 0);
}

// A table many times its dataset's window: after Ctrl+End the rows in sight are the table's real last rows in
// key order, and so are those a page up, read again from the server.
void TestDbGrid::lastRowsShownPastTheWindow() {
    TestDatabase db(false);
    const int total = 500;
    fillAnimals(db, total);
    TIBTable* table = Data->IBTable4;
    table->Close();
    table->SetWindowSize(20);
    table->Open();
    auto grid = shownGrid(Data->DS4);
    // Every field in its own order: the column is the field's index.
    const int nameColumn = table->FieldByName("T_MEGNEVEZES").Index();
    grid->setFocus();
    QTest::keyClick(grid.get(), Qt::Key_End, Qt::ControlModifier);
    QCoreApplication::processEvents();
    QCOMPARE(table->RecNo(), total);
    QCOMPARE(grid->model()->rowCount(), total);
    QCOMPARE(selectedRow(*grid), total - 1);
    auto visibleRowsRight = [&] {
        const int top = grid->rowAt(0);
        const int bottom = grid->rowAt(grid->viewport()->height() - 1);
        const int last = bottom < 0 ? total - 1 : bottom;
        QVERIFY(top >= 0 && last > top);
        for (int row = top; row <= last; ++row)
            QCOMPARE(cell(*grid, row, nameColumn), QStringLiteral("Termék %1").arg(row));
    };
    visibleRowsRight();
    QCOMPARE(grid->rowAt(grid->viewport()->height() - 1) < 0 ? total - 1
                                                             : grid->rowAt(grid->viewport()->height() - 1),
             total - 1);
    for (int page = 0; page < 4; ++page)
        QTest::keyClick(grid.get(), Qt::Key_PageUp);
    QCoreApplication::processEvents();
    visibleRowsRight();
    QCOMPARE(table->FieldByName("T_MEGNEVEZES").AsString(),
             QStringLiteral("Termék %1").arg(table->RecNo() - 1));
    QTest::keyClick(grid.get(), Qt::Key_Home, Qt::ControlModifier);
    QCOMPARE(table->RecNo(), 1);
    visibleRowsRight();
}

void TestDbGrid::editInPlacePostsOnRowChange() {
    TestDatabase db(true);
    TIBTable* table = openPurchasers();
    auto grid = shownGrid(Data->DS6);
    QSignalSpy errors(grid.get(), &TDBGrid::dataError);
    const int nameColumn = table->FieldByName(QStringLiteral("V_NEVE")).Index();
    const int townColumn = table->FieldByName(QStringLiteral("V_HELYSEG")).Index();
    QAbstractItemModel* model = grid->model();
    QVERIFY(model->flags(model->index(0, nameColumn)) & Qt::ItemIsEditable);

    QVERIFY(model->setData(model->index(0, nameColumn), QStringLiteral("Első Felvásárló Zrt.")));
    QCOMPARE(table->State(), TDataSetState::Edit);
    QCOMPARE(table->FieldByName(QStringLiteral("V_NEVE")).AsString(), QStringLiteral("Első Felvásárló Zrt."));
    QCOMPARE(cell(*grid, 0, nameColumn), QStringLiteral("Első Felvásárló Zrt."));

    // Editing through the cell editor, as the clerk does it.
    grid->setCurrentIndex(model->index(0, townColumn));
    grid->setFocus();
    grid->edit(model->index(0, townColumn));
    QWidget* editor = QApplication::focusWidget();
    QVERIFY(editor && editor != grid.get());
    QTest::keyClick(editor, Qt::Key_A, Qt::ControlModifier);
    vardelo::testing::typeText(editor, QStringLiteral("Kiskőrös"));
    QTest::keyClick(editor, Qt::Key_Return); // the delegate commits once the event loop comes round
    QTRY_COMPARE(table->FieldByName(QStringLiteral("V_HELYSEG")).AsString(), QStringLiteral("Kiskőrös"));
    QCOMPARE(cell(*grid, 0, townColumn), QStringLiteral("Kiskőrös"));

    // Moving to the next row posts.
    QTest::keyClick(grid.get(), Qt::Key_Down);
    QCOMPARE(table->State(), TDataSetState::Browse);
    QCOMPARE(table->RecNo(), 2);
    QCOMPARE(errors.size(), 0);
    QCOMPARE(readValue(QStringLiteral("SELECT v_neve FROM atvevo WHERE v_akod = '1'")),
             QStringLiteral("Első Felvásárló Zrt."));
    QCOMPARE(readValue(QStringLiteral("SELECT v_helyseg FROM atvevo WHERE v_akod = '1'")),
             QStringLiteral("Kiskőrös"));
    QCOMPARE(cell(*grid, 0, nameColumn), QStringLiteral("Első Felvásárló Zrt."));
}

void TestDbGrid::editRefusedWhereNotWritable() {
    TestDatabase db(true);
    // A query, a read-only table, and a writable table under a read-only grid.
    openProducers();
    TDBGrid queryGrid;
    queryGrid.SetDataSource(Data->DSQ30);
    QVERIFY(!(queryGrid.model()->flags(queryGrid.model()->index(0, 1)) & Qt::ItemIsEditable));
    QVERIFY(!queryGrid.model()->setData(queryGrid.model()->index(0, 1), QStringLiteral("x")));

    TIBTable* producers = Data->IBTable3;
    producers->Close();
    producers->ReadOnly = true;
    producers->Open();
    TDBGrid tableGrid;
    tableGrid.SetDataSource(Data->DS3);
    QVERIFY(!tableGrid.model()->setData(tableGrid.model()->index(0, 2), QStringLiteral("x")));
    QCOMPARE(producers->State(), TDataSetState::Browse);

    TIBTable* purchasers = openPurchasers();
    TDBGrid readOnlyGrid;
    readOnlyGrid.SetReadOnly(true);
    readOnlyGrid.SetDataSource(Data->DS6);
    QCOMPARE(readOnlyGrid.editTriggers(), QAbstractItemView::NoEditTriggers);
    QVERIFY(!readOnlyGrid.model()->setData(readOnlyGrid.model()->index(0, 1), QStringLiteral("x")));
    QCOMPARE(purchasers->State(), TDataSetState::Browse);
    readOnlyGrid.SetReadOnly(false);
    QVERIFY(readOnlyGrid.editTriggers() != QAbstractItemView::NoEditTriggers);
}

void TestDbGrid::insertShowsNewRowAtEnd() {
    TestDatabase db(true);
    TIBTable* table = openPurchasers();
    auto grid = shownGrid(Data->DS6);
    const int fetched = table->FetchedCount();
    const int nameColumn = table->FieldByName(QStringLiteral("V_NEVE")).Index();
    const int codeColumn = table->FieldByName(QStringLiteral("V_AKOD")).Index();
    QAbstractItemModel* model = grid->model();

    table->Insert();
    QCOMPARE(model->rowCount(), fetched + 1);
    QCOMPARE(selectedRow(*grid), fetched);
    QCOMPARE(cell(*grid, fetched, nameColumn), QString());
    QCOMPARE(cell(*grid, 0, nameColumn),
             QStringLiteral("Első Felvásárló Kft.")); // the row it stood on is intact
    QVERIFY(!model->canFetchMore(QModelIndex()));
    QVERIFY(model->setData(model->index(fetched, nameColumn), QStringLiteral("Harmadik Bt.")));
    QVERIFY(model->setData(model->index(fetched, codeColumn), QStringLiteral("3")));
    QCOMPARE(table->State(), TDataSetState::Insert);
    QCOMPARE(cell(*grid, fetched, nameColumn), QStringLiteral("Harmadik Bt."));

    table->Cancel();
    QCOMPARE(model->rowCount(), fetched);
    QCOMPARE(readValue(QStringLiteral("SELECT count(*) FROM atvevo")), QStringLiteral("2"));

    // Posted, the new row is in the table and current.
    table->Insert();
    QVERIFY(model->setData(model->index(model->rowCount() - 1, nameColumn), QStringLiteral("Harmadik Bt.")));
    QVERIFY(model->setData(model->index(model->rowCount() - 1, codeColumn), QStringLiteral("3")));
    table->Post();
    QCOMPARE(readValue(QStringLiteral("SELECT v_neve FROM atvevo WHERE v_akod = '3'")),
             QStringLiteral("Harmadik Bt."));
    QCOMPARE(model->rowCount(), table->FetchedCount());
    QCOMPARE(selectedRow(*grid), table->CurrentIndex());
    QCOMPARE(cell(*grid, selectedRow(*grid), nameColumn), QStringLiteral("Harmadik Bt."));
}

void TestDbGrid::badCellInputChangesNothing() {
    TestDatabase db(true);
    TIBTable* table = openPurchasers();
    TDBGrid grid;
    grid.SetDataSource(Data->DS6);
    QSignalSpy errors(&grid, &TDBGrid::dataError);
    const int idColumn = table->FieldByName(QStringLiteral("ID_ATVEVO")).Index();
    QVERIFY(!grid.model()->setData(grid.model()->index(0, idColumn), QStringLiteral("12a")));
    QCOMPARE(errors.size(), 1);
    QCOMPARE(reportedMessage(errors[0][0]), QStringLiteral("'12a' nem érvényes egész szám."));
    QCOMPARE(table->State(), TDataSetState::Browse);
    // The same text as shown is no change either.
    QVERIFY(!grid.model()->setData(grid.model()->index(0, idColumn), cell(grid, 0, idColumn)));
    QCOMPARE(table->State(), TDataSetState::Browse);
}

void TestDbGrid::failedPostKeepsRow() {
    TestDatabase db(true);
    TIBTable* table = openPurchasers();
    auto grid = shownGrid(Data->DS6);
    QSignalSpy errors(grid.get(), &TDBGrid::dataError);
    const int codeColumn = table->FieldByName(QStringLiteral("V_AKOD")).Index();
    // V_AKOD holds five characters.
    QVERIFY(grid->model()->setData(grid->model()->index(0, codeColumn), QStringLiteral("1234567")));
    grid->setFocus();
    QTest::keyClick(grid.get(), Qt::Key_Down);
    QCOMPARE(errors.size(), 1);
    QVERIFY(!reportedMessage(errors[0][0]).isEmpty());
    QCOMPARE(table->State(), TDataSetState::Edit);
    QCOMPARE(table->RecNo(), 1);
    QTRY_COMPARE(selectedRow(*grid), 0);
    QCOMPARE(grid->currentIndex().row(), 0);
    table->Cancel();
    QCOMPARE(cell(*grid, 0, codeColumn), QStringLiteral("1"));
    QCOMPARE(readValue(QStringLiteral("SELECT count(*) FROM atvevo WHERE v_akod = '1'")),
             QStringLiteral("1"));
}

void TestDbGrid::closedOrMissingDataSet() {
    TestDatabase db(true);
    TDBGrid grid;
    grid.SetColumns({{QStringLiteral("O_NEV"), QStringLiteral("Név")}});
    QCOMPARE(grid.model()->rowCount(), 0);
    QCOMPARE(grid.model()->columnCount(), 1);
    QCOMPARE(grid.model()->headerData(0, Qt::Horizontal).toString(), QStringLiteral("Név"));

    Data->ZQ30->Close();
    grid.SetDataSource(Data->DSQ30);
    QCOMPARE(grid.model()->rowCount(), 0);
    grid.show();
    QTest::keyClick(&grid, Qt::Key_Down);
    QTest::keyClick(&grid, Qt::Key_End, Qt::ControlModifier);
    QCOMPARE(grid.model()->rowCount(), 0);

    // A data source switched to another dataset, and a dataset that goes away under the grid.
    openProducers();
    QVERIFY(grid.model()->rowCount() > 0);
    auto own = std::make_unique<TZQuery>(QStringLiteral("ZQ99"), Data->ZCon1, Data->IBTrans1);
    openQuery(own.get(), QStringLiteral("SELECT o_nev FROM ostermelo WHERE o_kod = '3'"));
    Data->DSQ30->SetDataSet(own.get());
    QCOMPARE(cell(grid, 0, 0), QStringLiteral("Ördögh Ödön"));
    own.reset();
    QCOMPARE(grid.model()->rowCount(), 0);
    QCOMPARE(grid.DataSet(), nullptr);
    QCoreApplication::processEvents();
    Data->DSQ30->SetDataSet(Data->ZQ30);
    QCOMPARE(cell(grid, 0, 0), QStringLiteral("Kovács János"));
}

QTEST_MAIN(TestDbGrid)
#include "test_db_grid.moc"
