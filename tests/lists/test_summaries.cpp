// The summaries per animal and per producer on a test database: the collection into the grid and the period
// total, the date basis, the grouping by the name on the line, and what the user datasets hand the report
// engine group by group, also on a repeated print.
#include "data/data_module.h"
#include "data/shared_values.h"
#include "lists/animal_summary.h"
#include "lists/producer_summary.h"
#include "lists/summary_queries.h"
#include "reports/report_fixture.h"
#include "reports/report_objects.h"
#include "reports/report_variables.h"
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

using namespace vardelo;
using namespace vardelo::testing;

namespace {

struct Line {
    QString bszam;
    QString name;
    QString producer;
    bool operator==(const Line&) const = default;
};

struct Group {
    QString key;   // animal name or producer code
    QString total; // the group's own total: KIFIZETETT, or ZQ80's NEVOSSZESEN per producer
    QList<Line> lines;
    bool operator==(const Group&) const = default;
};

QString text(TDataSet* d, const char* field) {
    return d->FieldByName(QString::fromLatin1(field)).AsString();
}

// Walks the group and line datasets the way a layout's master and detail bands do, and notes what the
// current rows hold at each step.
QList<Group> walk(TfrUserDataset* groups, TfrUserDataset* lines, bool perProducer) {
    QList<Group> result;
    groups->first();
    int guard = 0;
    while (!groups->eof() && ++guard < 100) {
        Group g;
        g.key = text(Data->ZQ20, perProducer ? "O_KOD" : "S_MEGNEVEZES");
        g.total = perProducer ? text(Data->ZQ80, "NEVOSSZESEN") : text(Data->ZQ20, "KIFIZETETT");
        lines->first();
        while (!lines->eof() && ++guard < 100) {
            g.lines << Line{text(Data->ZQ21, "S_BSZAM"), text(Data->ZQ21, "S_MEGNEVEZES"),
                            text(Data->ZQ21, "O_NEV")};
            lines->next();
        }
        result << g;
        groups->next();
    }
    return result;
}

QStringList gridColumn(const char* field) {
    QStringList values;
    TZQuery* q = Data->ZQ20;
    if (!q->Active())
        return values;
    for (q->First(); !q->Eof(); q->Next())
        values << text(q, field);
    q->First();
    return values;
}

QStringList printedTexts() {
    QStringList texts;
    for (const auto& page : Data->frNyomtat->PreparedPages().pages)
        texts << page.texts();
    return texts;
}

UiRecorder::ModalScript preview() {
    return [](QDialog& dialog) { QCOMPARE(dialog.objectName(), QString("frPreviewForm")); };
}

} // namespace

class TestSummaries : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void windowsOpen();
    void collectionPerAnimal();
    void purchaseDateBasis();
    void printPerAnimalTwice();
    void perProducerGroupsAndOrder();
    void printPerProducer();
    void rangeWithoutTickets();
    void printDisabledByBasisAndFromDate();
    void datesChangedAfterCollection();
    void missingLayoutShowsError();
    void fillerSumsExactAndShownAsMoney();

private:
    void setPeriod(TSummaryWindow& form, QDate from, QDate to, bool purchase = false);
    std::unique_ptr<TestDatabase> db_;
    std::unique_ptr<UiRecorder> rec_;
};

void TestSummaries::init() {
    report::clearVariables();
    db_ = std::make_unique<TestDatabase>(true);
    rec_ = std::make_unique<UiRecorder>();
    copyLayouts();
    if (QTest::currentTestFailed())
        return;
    AktAkod = QStringLiteral("2");
    auto ticket = [this](const char* bszam, const char* akod, const char* okod, const char* fiz,
                         const char* felv) {
        db_->exec(
            QStringLiteral("INSERT INTO fjfej (f_bszam, f_akod, f_ostermkod, f_kelt, f_felvkelt, f_fizkelt, "
                           "f_prn, f_szja, f_jarulszaz, f_levonas) VALUES ('%1', '%2', '%3', '%5', '%5', %4, "
                           "'I', 15, 2, 0)")
                .arg(bszam, akod, okod, fiz, felv));
    };
    auto line = [this](const QString& bszam, const QString& akod, const QString& kod, const QString& name,
                       int brutto, double ear, int komp) {
        db_->exec(
            QStringLiteral("INSERT INTO fjsor (s_bszam, s_akod, s_termekkod, s_megnevezes, s_megy, s_brutto, "
                           "s_levonszaz, s_ear, s_kompmerteke) VALUES ('%1', '%2', '%3', '%4', 'kg', %5, 0, "
                           "%6, %7)")
                .arg(bszam, akod, kod, name)
                .arg(brutto)
                .arg(ear)
                .arg(komp));
    };
    ticket("20000001", "2", "1", "'2010-08-05'", "2010-08-04");
    line("20000001", "2", "1", "Vágósertés", 250, 310, 7); // 82925
    line("20000001", "2", "4", "Borjú", 100, 640, 7);      // 68480
    // Another animal (code 8) with the same name: one group with the first.
    ticket("20000002", "2", "2", "'2010-08-12'", "2010-08-11");
    line("20000002", "2", "8", "Vágósertés", 300, 310, 7); // 99510
    line("20000002", "2", "2", "Süldő", 120, 420, 7);      // 53928
    // The animal of code 2 renamed between tickets: a second group.
    ticket("20000003", "2", "1", "'2010-08-20'", "2010-08-19");
    line("20000003", "2", "2", "Süldő malac", 80, 420, 7); // 35952
    // Bought in August, not paid yet; and bought in August, paid in September.
    ticket("20000004", "2", "3", "NULL", "2010-08-15");
    line("20000004", "2", "4", "Borjú", 50, 640, 7); // 34240
    ticket("20000005", "2", "4", "'2010-09-02'", "2010-08-30");
    line("20000005", "2", "5", "Vágóbárány", 40, 720, 12); // 32256
    // Another purchaser's ticket.
    ticket("10000001", "1", "5", "'2010-08-05'", "2010-08-05");
    line("10000001", "1", "1", "Vágósertés", 1000, 310, 7);
}

void TestSummaries::cleanup() {
    rec_.reset();
    db_.reset();
}

void TestSummaries::setPeriod(TSummaryWindow& form, QDate from, QDate to, bool purchase) {
    auto* dateTimePicker1 = child<QDateEdit>(form, "DateTimePicker1");
    auto* dateTimePicker2 = child<QDateEdit>(form, "DateTimePicker2");
    auto* radioButton2 = child<QRadioButton>(form, "RadioButton2");
    auto* radioButton1 = child<QRadioButton>(form, "RadioButton1");
    dateTimePicker1->setDate(from);
    dateTimePicker2->setDate(to);
    (purchase ? radioButton2 : radioButton1)->setChecked(true);
}

void TestSummaries::windowsOpen() {
    Data->ZQ20->SQL.Clear();
    Data->ZQ20->SQL.Add("SELECT * FROM termek");
    Data->ZQ20->Open();
    {
        TForm19 form;
        auto* dateTimePicker1 = child<QDateEdit>(form, "DateTimePicker1");
        auto* dateTimePicker2 = child<QDateEdit>(form, "DateTimePicker2");
        auto* radioButton1 = child<QRadioButton>(form, "RadioButton1");
        auto* button1 = child<QPushButton>(form, "Button1");
        auto* button2 = child<QPushButton>(form, "Button2");
        auto* dbNavigator1 = child<TDBNavigator>(form, "DBNavigator1");
        QCOMPARE(form.objectName(), QString("Form19"));
        QCOMPARE(form.windowTitle(), QString("Östermelönkénti lista"));
        // The per-producer window leaves ZQ20 as it is.
        QVERIFY(Data->ZQ20->Active());
        QCOMPARE(dateTimePicker1->date(), QDate(2010, 1, 1));
        QCOMPARE(dateTimePicker2->date(), QDate(2010, 12, 31));
        QVERIFY(radioButton1->isChecked());
        QVERIFY(button1->isEnabled());
        QVERIFY(!button2->isEnabled());
        QVERIFY(dbNavigator1->DataSource() == Data->DSQ20);
        QCOMPARE(dbNavigator1->VisibleButtons(), nbMoveButtons);
    }
    TForm13 form;
    QCOMPARE(form.objectName(), QString("Form13"));
    QCOMPARE(form.windowTitle(), QString("Termékenkénti lista"));
    auto* radioGroup1 = child<QGroupBox>(form, "RadioGroup1");
    QCOMPARE(radioGroup1->title(), QString("Dátum ?"));
    // The per-animal window starts with an empty grid.
    QVERIFY(!Data->ZQ20->Active());
    form.show();
    QVERIFY(form.frameGeometry().width() <= 1024 && form.frameGeometry().height() <= 740);
}

void TestSummaries::collectionPerAnimal() {
    TForm13 form;
    auto* button1 = child<QPushButton>(form, "Button1");
    auto* button2 = child<QPushButton>(form, "Button2");
    auto* dbGrid1 = child<TDBGrid>(form, "DBGrid1");
    setPeriod(form, QDate(2010, 8, 1), QDate(2010, 8, 31));
    button1->click();
    QVERIFY2(rec_->messages.isEmpty(), qPrintable(rec_->lastMessage()));
    QVERIFY(button2->isEnabled());
    QCOMPARE(TermekOsszesen, QString("340795"));
    // Two animals of one name form one group, the renamed animal a second one.
    QCOMPARE(gridColumn("S_MEGNEVEZES"), QStringList({"Borjú", "Süldő", "Süldő malac", "Vágósertés"}));
    QCOMPARE(gridColumn("KIFIZETETT"), QStringList({"68480", "53928", "35952", "182435"}));
    QCOMPARE(gridColumn("MENNYISEG"), QStringList({"100", "120", "80", "550"}));
    QCOMPARE(dbGrid1->model()->rowCount(), 4);
    QCOMPARE(dbGrid1->ColumnCount(), 3);
    // The first group's lines stand in ZQ21.
    QCOMPARE(AktMegnevezes, QString("Borjú"));
    QCOMPARE(Data->ZQ21->RecordCount(), 1);
}

// The purchase date also takes the ticket not paid yet and the one paid in September.
void TestSummaries::purchaseDateBasis() {
    TForm13 form;
    auto* button1 = child<QPushButton>(form, "Button1");
    setPeriod(form, QDate(2010, 8, 1), QDate(2010, 8, 31), true);
    button1->click();
    QCOMPARE(TermekOsszesen, QString("407291"));
    QCOMPARE(gridColumn("S_MEGNEVEZES"),
             QStringList({"Borjú", "Süldő", "Süldő malac", "Vágóbárány", "Vágósertés"}));
    QCOMPARE(gridColumn("KIFIZETETT"), QStringList({"102720", "53928", "35952", "32256", "182435"}));
    TForm19 producers;
    auto* producersButton1 = child<QPushButton>(producers, "Button1");
    setPeriod(producers, QDate(2010, 8, 1), QDate(2010, 8, 31), true);
    producersButton1->click();
    QCOMPARE(TermeloOsszesen, QString("407291"));
    QCOMPARE(gridColumn("O_KOD"), QStringList({"1", "2", "3", "4"}));
    // The payment date leaves both out.
    setPeriod(producers, QDate(2010, 8, 1), QDate(2010, 8, 31));
    producersButton1->click();
    QCOMPARE(TermeloOsszesen, QString("340795"));
    QCOMPARE(gridColumn("O_KOD"), QStringList({"1", "2"}));
}

// The print walks every group with its own lines; a second print without a new collection walks the same.
void TestSummaries::printPerAnimalTwice() {
    TForm13 form;
    auto* button1 = child<QPushButton>(form, "Button1");
    auto* button2 = child<QPushButton>(form, "Button2");
    setPeriod(form, QDate(2010, 8, 1), QDate(2010, 8, 31));
    button1->click();
    const QList<Group> expected{
        {"Borjú", "68480", {{"20000001", "Borjú", "Kovács János"}}},
        {"Süldő", "53928", {{"20000002", "Süldő", "Nagy Éva"}}},
        {"Süldő malac", "35952", {{"20000003", "Süldő malac", "Kovács János"}}},
        {"Vágósertés",
         "182435",
         {{"20000001", "Vágósertés", "Kovács János"}, {"20000002", "Vágósertés", "Nagy Éva"}}},
    };
    QCOMPARE(walk(Data->frUserDataset1, Data->frUserDataset2, false), expected);
    QCOMPARE(walk(Data->frUserDataset1, Data->frUserDataset2, false), expected);

    rec_->expectModal(preview());
    button2->click();
    QVERIFY2(rec_->messages.isEmpty(), qPrintable(rec_->lastMessage()));
    QCOMPARE(rec_->modalsShown, QStringList({"frPreviewForm"}));
    const QStringList first = printedTexts();
    QVERIFY(first.contains("Összesítő lista: Termékenként"));
    QVERIFY(first.contains("Fizetési dátum szerint: 2010.08.01. - 2010.08.31."));
    QVERIFY(first.contains("340 795,00 Ft"));
    QCOMPARE(first.filter(QRegularExpression("^2000000[0-9]$")).size(), 5);
    keepPdf(*Data->frNyomtat, "summary-per-animal");
    rec_->expectModal(preview());
    button2->click();
    QCOMPARE(printedTexts(), first);
    QCOMPARE(report::variable("v_datum").toString(), QString("Fizetési "));
    QCOMPARE(report::variable("v_sorrend").toString(), QString("Termékenként"));
}

// Only the first producer's lines come by animal name; each group brings its own total.
void TestSummaries::perProducerGroupsAndOrder() {
    TForm19 form;
    auto* button1 = child<QPushButton>(form, "Button1");
    setPeriod(form, QDate(2010, 8, 1), QDate(2010, 8, 31));
    button1->click();
    QCOMPARE(TermeloOsszesen, QString("340795"));
    QCOMPARE(gridColumn("O_KOD"), QStringList({"1", "2"}));
    QCOMPARE(gridColumn("NEVOSSZESEN"), QStringList({"187357", "153438"}));
    QCOMPARE(AktListaOkod, QString("1"));
    QCOMPARE(Data->ZQ80->FieldByName("NEVOSSZESEN").AsString(), QString("187357"));

    const QList<Group> groups = walk(Data->frUserDataset3, Data->frUserDataset4, true);
    QCOMPARE(groups.size(), 2);
    QCOMPARE(groups[0].key, QString("1"));
    QCOMPARE(groups[0].total, QString("187357"));
    QCOMPARE(groups[0].lines, QList<Line>({{"20000001", "Borjú", "Kovács János"},
                                           {"20000003", "Süldő malac", "Kovács János"},
                                           {"20000001", "Vágósertés", "Kovács János"}}));
    QCOMPARE(groups[1].key, QString("2"));
    QCOMPARE(groups[1].total, QString("153438"));
    // The second producer's lines as the database gives them: here in the order they were written, which is
    // not the name order.
    QCOMPARE(groups[1].lines,
             QList<Line>({{"20000002", "Vágósertés", "Nagy Éva"}, {"20000002", "Süldő", "Nagy Éva"}}));
    QCOMPARE(walk(Data->frUserDataset3, Data->frUserDataset4, true), groups);
}

void TestSummaries::printPerProducer() {
    TForm19 form;
    auto* button1 = child<QPushButton>(form, "Button1");
    auto* button2 = child<QPushButton>(form, "Button2");
    setPeriod(form, QDate(2010, 8, 1), QDate(2010, 8, 31));
    button1->click();
    rec_->expectModal(preview());
    button2->click();
    QVERIFY2(rec_->messages.isEmpty(), qPrintable(rec_->lastMessage()));
    const QStringList texts = printedTexts();
    QVERIFY(texts.contains("Összesítő lista: Östermelönként "));
    QVERIFY(texts.contains("Időszak: 2010.08.01. - 2010.08.31."));
    QVERIFY(texts.contains("187 357,00 Ft"));
    QVERIFY(texts.contains("153 438,00 Ft"));
    QVERIFY(texts.contains("340 795,00 Ft"));
    const int kovacs = int(texts.indexOf("Kovács János"));
    const int nagy = int(texts.indexOf("Nagy Éva"));
    QVERIFY(kovacs >= 0 && nagy > kovacs);
    QCOMPARE(texts.mid(kovacs, nagy - kovacs).filter(QRegularExpression("^(Borjú|Süldő malac|Vágósertés)$")),
             QStringList({"Borjú", "Süldő malac", "Vágósertés"}));
    keepPdf(*Data->frNyomtat, "summary-per-producer");
    QCOMPARE(report::variable("v_sorrend").toString(), QString(" Östermelönként "));
}

void TestSummaries::rangeWithoutTickets() {
    for (int kind = 0; kind < 2; ++kind) {
        std::unique_ptr<TSummaryWindow> form;
        if (kind == 0)
            form = std::make_unique<TForm13>();
        else
            form = std::make_unique<TForm19>();
        auto* button1 = child<QPushButton>(form, "Button1");
        auto* button2 = child<QPushButton>(form, "Button2");
        auto* dbGrid1 = child<TDBGrid>(form, "DBGrid1");
        setPeriod(*form, QDate(2011, 1, 1), QDate(2011, 12, 31));
        button1->click();
        QVERIFY2(rec_->messages.isEmpty(), qPrintable(rec_->lastMessage()));
        QVERIFY(button2->isEnabled());
        QCOMPARE(dbGrid1->model()->rowCount(), 0);
        QCOMPARE(kind == 0 ? TermekOsszesen : TermeloOsszesen, QString("0"));
        QVERIFY(walk(kind == 0 ? Data->frUserDataset1 : Data->frUserDataset3,
                     kind == 0 ? Data->frUserDataset2 : Data->frUserDataset4, kind == 1)
                    .isEmpty());
        rec_->clear();
        rec_->expectModal(preview());
        button2->click();
        QVERIFY2(rec_->messages.isEmpty(), qPrintable(rec_->lastMessage()));
        // An empty print: the page without any group or line.
        const QStringList texts = printedTexts();
        QVERIFY(texts.contains("0,00 Ft"));
        QVERIFY(texts.filter(QRegularExpression("^2000000[0-9]$")).isEmpty());
        QVERIFY(!texts.contains("Kovács János"));
    }
}

void TestSummaries::printDisabledByBasisAndFromDate() {
    TForm13 animals;
    auto* animalsButton1 = child<QPushButton>(animals, "Button1");
    auto* animalsButton2 = child<QPushButton>(animals, "Button2");
    auto* animalsRadioButton2 = child<QRadioButton>(animals, "RadioButton2");
    auto* animalsDateTimePicker2 = child<QDateEdit>(animals, "DateTimePicker2");
    auto* animalsDateTimePicker1 = child<QDateEdit>(animals, "DateTimePicker1");
    auto* animalsRadioGroup1 = child<QGroupBox>(animals, "RadioGroup1");
    animalsButton1->click();
    QVERIFY(animalsButton2->isEnabled());
    animalsRadioButton2->click();
    QVERIFY(!animalsButton2->isEnabled());
    animalsButton1->click();
    animalsDateTimePicker2->setDate(QDate(2010, 11, 30));
    QVERIFY(animalsButton2->isEnabled());
    animalsDateTimePicker1->setDate(QDate(2010, 2, 1));
    QVERIFY(!animalsButton2->isEnabled());
    animalsButton1->click();
    // A click on the frame itself.
    QTest::mouseClick(animalsRadioGroup1, Qt::LeftButton, {}, QPoint(animalsRadioGroup1->width() - 3, 5));
    QVERIFY(!animalsButton2->isEnabled());

    TForm19 producers;
    auto* producersButton1 = child<QPushButton>(producers, "Button1");
    auto* producersDateTimePicker1 = child<QDateEdit>(producers, "DateTimePicker1");
    auto* producersButton2 = child<QPushButton>(producers, "Button2");
    auto* producersRadioButton1 = child<QRadioButton>(producers, "RadioButton1");
    producersButton1->click();
    producersDateTimePicker1->setDate(QDate(2010, 2, 1));
    QVERIFY(producersButton2->isEnabled());
    producersRadioButton1->click();
    QVERIFY(!producersButton2->isEnabled());
}

// Dates changed after a collection without a new one: the groups of the collection, the lines of the new
// range.
void TestSummaries::datesChangedAfterCollection() {
    TForm13 form;
    auto* button1 = child<QPushButton>(form, "Button1");
    auto* dateTimePicker2 = child<QDateEdit>(form, "DateTimePicker2");
    auto* button2 = child<QPushButton>(form, "Button2");
    setPeriod(form, QDate(2010, 8, 1), QDate(2010, 8, 31));
    button1->click();
    dateTimePicker2->setDate(QDate(2010, 8, 10));
    QVERIFY(button2->isEnabled());
    const QList<Group> groups = walk(Data->frUserDataset1, Data->frUserDataset2, false);
    QCOMPARE(groups.size(), 4);
    QCOMPARE(groups[0].lines.size(), 1); // Borjú of 2010.08.05
    QVERIFY(groups[1].lines.isEmpty());  // Süldő paid on 2010.08.12
    QCOMPARE(groups[3].lines.size(), 1); // Vágósertés: only the ticket of 2010.08.05
}

void TestSummaries::missingLayoutShowsError() {
    QVERIFY(QFile::remove("FjLista8.frf"));
    TForm19 form;
    auto* button1 = child<QPushButton>(form, "Button1");
    auto* button2 = child<QPushButton>(form, "Button2");
    setPeriod(form, QDate(2010, 8, 1), QDate(2010, 8, 31));
    button1->click();
    button2->click();
    QCOMPARE(rec_->lastMessage(), QString("Cannot open file FjLista8.frf"));
    QVERIFY(rec_->modalsShown.isEmpty());
}

// Sums of fillér that doubles cannot hold (405 328,50 from eight lines) are exact in the period total, in the
// groups and on paper, and the grids show them as money: two decimals, thousands grouped.
void TestSummaries::fillerSumsExactAndShownAsMoney() {
    db_->exec(
        "INSERT INTO fjfej (f_bszam, f_akod, f_ostermkod, f_kelt, f_felvkelt, f_fizkelt, f_prn, f_szja) "
        "VALUES ('20000006', '2', '2', '2010-08-25', '2010-08-25', '2010-08-25', 'I', 15)");
    for (const char* price :
         {"81776.34", "96178.14", "39227.02", "64121.70", "3431.04", "1510.01", "36984.78", "82099.47"})
        db_->exec(QStringLiteral("INSERT INTO fjsor (s_bszam, s_akod, s_termekkod, s_megnevezes, s_megy, "
                                 "s_brutto, s_levonszaz, s_ear, s_kompmerteke) VALUES ('20000006', '2', '1', "
                                 "'Vágósertés', 'kg', 1, 0, %1, 0)")
                      .arg(QLatin1String(price)));
    const QString nb(QChar(0x00A0));
    auto cell = [](TDBGrid* grid, int row, int column) {
        return grid->model()->data(grid->model()->index(row, column)).toString();
    };

    TForm13 animals;
    setPeriod(animals, QDate(2010, 8, 1), QDate(2010, 8, 31));
    child<QPushButton>(animals, "Button1")->click();
    QCOMPARE(TermekOsszesen, QString("746123,5"));
    QCOMPARE(gridColumn("KIFIZETETT"), QStringList({"68480", "53928", "35952", "587763,5"}));
    auto* grid = child<TDBGrid>(animals, "DBGrid1");
    QCOMPARE(cell(grid, 3, 0), QString("Vágósertés"));
    QCOMPARE(cell(grid, 3, 1), QString("558"));        // a quantity stays a plain number
    QCOMPARE(cell(grid, 3, 2), "587" + nb + "763,50"); // money
    QCOMPARE(cell(grid, 0, 2), "68" + nb + "480,00");
    const QString shots = qEnvironmentVariable("VARDELO_SCREENSHOTS");
    if (!shots.isEmpty()) {
        animals.show();
        QCoreApplication::processEvents();
        QVERIFY(animals.grab().save(QDir(shots).filePath(QStringLiteral("summary-money.png"))));
    }
    rec_->expectModal(preview());
    child<QPushButton>(animals, "Button2")->click();
    QVERIFY(printedTexts().contains("587 763,50 Ft"));
    QVERIFY(printedTexts().contains("746 123,50 Ft"));
    keepPdf(*Data->frNyomtat, "summary-per-animal-fillér");

    TForm19 producers;
    setPeriod(producers, QDate(2010, 8, 1), QDate(2010, 8, 31));
    child<QPushButton>(producers, "Button1")->click();
    QCOMPARE(TermeloOsszesen, QString("746123,5"));
    QCOMPARE(gridColumn("NEVOSSZESEN"), QStringList({"187357", "558766,5"}));
    QCOMPARE(cell(child<TDBGrid>(producers, "DBGrid1"), 1, 2), "558" + nb + "766,50");
}

QTEST_MAIN(TestSummaries)
#include "test_summaries.moc"
