// Times the real windows driven headless on a generated database. The raw table editor ("Adatbázis": its
// ticket, line and producer pages, every row): opening, Ctrl+End, Page Up from the last row, Ctrl+Home, Page
// Down; on the line page also the row count, positioning on a key, a search by the start of a ticket number
// and an insert. The ticket browser of purchaser 1: opening on its last ticket, the same moves, a sort by
// each title, Ctrl+End in name order, and a new ticket of one line ("Új", the line, "OK", back on the new
// row). The producer browser: opening, the moves, a keystroke in its search box, a sort by each title. The
// animal catalogue: opening, Ctrl+End, a sort by each title. Beside each, isql-fb's own time (SET STATS
// elapsed, not its process start) for the plain statements that give the same answer: for a move, where the
// row is (a count) and the rows the grid shows (ROWS m TO n). Then their ratio, and the ratio of our time on
// the big file to that on the small one. Ends with the peak resident memory of the whole run. Usage:
// bench_scale BIG.fdb SMALL.fdb    (both made by bench_generate; the files are written to: use copies)
// BENCH_RUNS sets how often each action runs (3), BENCH_ONLY a regular expression of the actions to time.
#include "data/data_module.h"
#include "data/database_error.h"
#include "data/immediate_write.h"
#include "data/shared_values.h"
#include "data/table.h"
#include "exchange/table_editor.h"
#include "masterdata/animal_browser.h"
#include "masterdata/producer_browser.h"
#include "masterdata/register_queries.h"
#include "support/children.h"
#include "support/ui_recorder.h"
#include "tickets/ticket_browser.h"
#include "tickets/ticket_fixture.h"
#include "tickets/ticket_queries.h"
#include "widgets/db_grid.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QHeaderView>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QTabWidget>
#include <QTest>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <map>
#include <vector>

namespace {

// Each action and each isql statement run this often (BENCH_RUNS, 3 by default), the median taken.
int Runs = 3;

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

// The statements' elapsed times summed, as isql-fb's SET STATS reports them (milliseconds).
double isqlMs(const QString& path, const QString& statements) {
    std::vector<double> runs;
    for (int i = 0; i < Runs; ++i) {
        QProcess p;
        p.start(QStringLiteral("isql-fb"),
                {QStringLiteral("-q"), QStringLiteral("-ch"), QStringLiteral("WIN1250"), QStringLiteral("-u"),
                 QStringLiteral("SYSDBA"), QStringLiteral("-p"), QStringLiteral("quillfern"), path});
        p.write(("SET STATS ON;\n" + statements + "\nROLLBACK;\n").toUtf8());
        p.closeWriteChannel();
        QByteArray out;
        while (p.state() != QProcess::NotRunning) {
            p.waitForReadyRead(1000);
            out += p.readAll();
        }
        out += p.readAll();
        double sum = 0;
        const QRegularExpression elapsed(QStringLiteral("Elapsed time *= *([0-9.]+) sec"));
        auto it = elapsed.globalMatch(QString::fromLatin1(out));
        while (it.hasNext())
            sum += it.next().captured(1).toDouble() * 1000.0;
        runs.push_back(sum);
    }
    return median(runs);
}

long statusKb(const char* key) {
    QFile f(QStringLiteral("/proc/self/status"));
    if (!f.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray& line : f.readAll().split('\n'))
        if (line.startsWith(key))
            return line.mid(int(qstrlen(key))).trimmed().split(' ').first().toLong();
    return 0;
}

void settle() {
    QCoreApplication::processEvents();
}

// With BENCH_SHOTS set to a folder, the window as it stands is saved there as a picture, to be looked at.
void shoot(QWidget* window, const QString& name) {
    const QString folder = qEnvironmentVariable("BENCH_SHOTS");
    // A window is missing when BENCH_ONLY left out the action that opens it.
    if (!folder.isEmpty() && window)
        window->grab().save(QDir(folder).filePath(name + QStringLiteral(".png")));
}

struct Result {
    double ours = 0;
    double isql = 0;
};

// One file: every action timed Runs times from the state it starts in, its isql statements kept for later.
class Measurement {
public:
    Measurement(QStringList& order) : order_(order) {}

    void time(const QString& name, const std::function<void()>& before, const std::function<void()>& work,
              const QString& statements) {
        // BENCH_ONLY (a regular expression) times only the actions it matches, for looking at a few.
        static const QRegularExpression only(qEnvironmentVariable("BENCH_ONLY"));
        if (!only.match(name).hasMatch())
            return;
        std::vector<double> runs;
        for (int i = 0; i < Runs; ++i) {
            before();
            QElapsedTimer t;
            t.start();
            work();
            settle();
            runs.push_back(double(t.nsecsElapsed()) / 1e6);
        }
        if (!order_.contains(name))
            order_ << name;
        results_[name] = {median(runs), 0};
        statementsOf_[name] = statements;
        std::printf("  %-40s %10.1f ms, resident %ld MB\n", qPrintable(name), results_[name].ours,
                    statusKb("VmRSS:") / 1024);
        std::fflush(stdout);
    }

    // isql-fb runs after the program lets go of the file (the embedded engine holds it alone).
    std::map<QString, Result> finish(const QString& path) {
        for (auto& [name, result] : results_)
            result.isql = isqlMs(path, statementsOf_[name]);
        return results_;
    }

private:
    QStringList& order_;
    std::map<QString, Result> results_;
    std::map<QString, QString> statementsOf_;
};

QString scalar(const QString& sql) {
    vardelo::openQuery(Data->ZQ80, {sql});
    return Data->ZQ80->Fields(0).AsString();
}

// The rows a grid of about 30 lines shows around row `row` (1-based) of an ordered statement.
QString shownRows(const QString& select, int row, int count) {
    const int first = std::max(1, std::min(row - 14, count - 29));
    return QStringLiteral("%1 ROWS %2 TO %3;").arg(select).arg(first).arg(first + 29);
}

void clickTitle(TDBGrid* grid, const QString& fieldName) {
    for (int column = 0; column < grid->model()->columnCount(); ++column)
        if (grid->ColumnFieldName(column) == fieldName) {
            QHeaderView* titles = grid->horizontalHeader();
            grid->scrollTo(grid->model()->index(0, column));
            settle();
            const QPoint at(titles->sectionViewportPosition(column) + titles->sectionSize(column) / 2,
                            titles->height() / 2);
            QTest::mouseClick(titles->viewport(), Qt::LeftButton, Qt::NoModifier, at);
            return;
        }
    std::fprintf(stderr, "no column %s\n", qPrintable(fieldName));
}

void key(QWidget* grid, Qt::Key k, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QTest::keyClick(grid, k, modifiers);
}

// The moves of a grid over its whole list, beside the statements that give the same rows: Ctrl+End, Page Up
// from the last row, Ctrl+Home from there, Page Down from the first row.
void measureMoves(Measurement& m, const QString& prefix, const std::function<QWidget*()>& grid,
                  const std::function<void()>& fresh, const QString& ordered, const QString& countAll,
                  int n) {
    m.time(
        prefix + QStringLiteral("Ctrl+End"), fresh, [&] { key(grid(), Qt::Key_End, Qt::ControlModifier); },
        countAll + shownRows(ordered, n, n));
    m.time(
        prefix + QStringLiteral("Page Up from the last row"),
        [&] { key(grid(), Qt::Key_End, Qt::ControlModifier); }, [&] { key(grid(), Qt::Key_PageUp); },
        shownRows(ordered, n - 44, n));
    m.time(
        prefix + QStringLiteral("Ctrl+Home from the last row"),
        [&] { key(grid(), Qt::Key_End, Qt::ControlModifier); },
        [&] { key(grid(), Qt::Key_Home, Qt::ControlModifier); }, shownRows(ordered, 1, n));
    m.time(
        prefix + QStringLiteral("Page Down"), [&] { key(grid(), Qt::Key_Home, Qt::ControlModifier); },
        [&] { key(grid(), Qt::Key_PageDown); }, shownRows(ordered, 45, n));
}

// A page of the raw table editor ("Adatbázis"): the whole table in key order.
TForm22* openEditorPage(int page) {
    auto* form = new TForm22;
    form->resize(1000, 700);
    form->show();
    vardelo::testing::child<QTabWidget>(form, QStringLiteral("PageControl1"))->setCurrentIndex(page);
    settle();
    return form;
}

void measureEditorPage(Measurement& m, int page, const QString& table) {
    TIBTable* list = Data->Table(page + 1);
    const QString prefix = QStringLiteral("editor %1: ").arg(table.toLower());
    TForm22* form = openEditorPage(page);
    TDBGrid* grid = vardelo::testing::child<TDBGrid>(form, QStringLiteral("DBGrid%1").arg(page + 1));
    grid->setFocus();
    const int n = scalar(QStringLiteral("SELECT COUNT(*) FROM %1").arg(table)).toInt();
    const QString ordered = QStringLiteral("SELECT * FROM %1 ORDER BY id_%1").arg(table);
    const auto reopen = [&] {
        list->Close();
        list->Open();
        settle();
    };
    m.time(
        prefix + QStringLiteral("open"), [&] { list->Close(); }, [&] { list->Open(); },
        shownRows(ordered, 1, n));
    measureMoves(
        m, prefix, [&] { return grid; }, reopen, ordered,
        QStringLiteral("SELECT COUNT(*) FROM %1;\n").arg(table), n);
    shoot(form, QStringLiteral("editor-%1-last").arg(table));
    if (table == QLatin1String("FJSOR")) {
        const QString lastId = scalar(QStringLiteral("SELECT MAX(id_fjsor) FROM fjsor"));
        const QString lastTicket = scalar(QStringLiteral("SELECT MAX(s_bszam) FROM fjsor"));
        const QString ticketStart = lastTicket.left(7);
        const int ticketRow =
            scalar(QStringLiteral("SELECT COUNT(*) FROM fjsor WHERE id_fjsor < (SELECT "
                                  "MIN(id_fjsor) FROM fjsor WHERE s_bszam STARTING WITH '%1')")
                       .arg(ticketStart))
                .toInt() +
            1;
        m.time(
            prefix + QStringLiteral("RecordCount"), reopen, [&] { list->RecordCount(); },
            QStringLiteral("SELECT COUNT(*) FROM fjsor;\n"));
        m.time(
            prefix + QStringLiteral("Locate the last key"), reopen,
            [&] { list->Locate(QStringLiteral("ID_FJSOR"), lastId, 0); },
            QStringLiteral("SELECT COUNT(*) FROM fjsor WHERE id_fjsor < %1;\n").arg(lastId) +
                shownRows(ordered, n, n));
        m.time(
            prefix + QStringLiteral("Locate a ticket number's start"), reopen,
            [&] { list->Locate(QStringLiteral("S_BSZAM"), ticketStart, loCaseInsensitive | loPartialKey); },
            QStringLiteral("SELECT COUNT(*) FROM fjsor WHERE id_fjsor < (SELECT MIN(id_fjsor) FROM fjsor "
                           "WHERE s_bszam STARTING WITH '%1');\n")
                    .arg(ticketStart) +
                shownRows(ordered, ticketRow, n));
        list->Close();
        list->ReadOnly = false;
        m.time(
            prefix + QStringLiteral("Insert and Post a line"), reopen,
            [&] {
                list->Insert();
                list->FieldByName(QStringLiteral("S_BSZAM")).SetAsString(QStringLiteral("99999999"));
                list->Post();
            },
            QStringLiteral(
                "INSERT INTO fjsor (s_bszam) VALUES ('99999999') RETURNING id_fjsor;\n"
                "SELECT COUNT(*) FROM fjsor WHERE id_fjsor < (SELECT MAX(id_fjsor) FROM fjsor);\n") +
                shownRows(ordered, n + 1, n + 1));
        list->Transaction()->Rollback();
        list->ReadOnly = true;
    }
    form->close();
    delete form;
    settle();
}

// A browser window opened and closed for each timing, its grid "DBGrid1" reached by name.
template <typename Form> struct Browser {
    Form* window = nullptr;
    void close() {
        delete window;
        window = nullptr;
        settle();
    }
    void open() {
        window = new Form;
        window->resize(1000, 700);
        window->show();
        settle();
    }
    TDBGrid* grid() const { return vardelo::testing::child<TDBGrid>(window, QStringLiteral("DBGrid1")); }
    // Closed and opened again, the grid with the focus: the state each move starts from.
    void fresh() {
        close();
        open();
        grid()->setFocus();
    }
};

// A sort by every title of a browser that has an order for it, each timed from a fresh window.
void measureSorts(Measurement& m, const QString& prefix, const std::function<TDBGrid*()>& grid,
                  const std::function<void()>& fresh, const QString& from,
                  const std::vector<std::pair<QString, QString>>& orders, int n) {
    for (const auto& [field, order] : orders)
        m.time(
            prefix + QStringLiteral("sort by %1").arg(field), fresh, [&] { clickTitle(grid(), field); },
            shownRows(QStringLiteral("SELECT * %1 ORDER BY %2").arg(from, order), 1, n));
}

// The ticket browser of purchaser 1: opening on its last ticket, the moves, a sort by each title, and a new
// ticket of one line written through "Új" until the browser stands on it.
void measureTickets(Measurement& m) {
    // Purchaser 1 chosen, as the purchaser window leaves it.
    Data->IBTable6->Open();
    Data->IBTable6->Locate(QStringLiteral("V_AKOD"), QStringLiteral("1"), 0);
    AktAkod = QStringLiteral("1");
    VerzioBetu = Data->IBTable6->FieldByName(QStringLiteral("V_VERZIO")).AsString().left(1);
    const QString from =
        QStringLiteral("FROM fjfej LEFT JOIN ostermelo ON fjfej.f_ostermkod = ostermelo.o_kod "
                       "WHERE fjfej.f_akod = '1'");
    const int tickets = scalar(QStringLiteral("SELECT COUNT(*) FROM fjfej WHERE f_akod = '1'")).toInt();
    const QString lastTicket = scalar(QStringLiteral("SELECT MAX(f_bszam) FROM fjfej WHERE f_akod = '1'"));
    const QString byNumber = QStringLiteral("SELECT * %1 ORDER BY f_bszam").arg(from);
    // New tickets are numbered after the last one of any purchaser, as in a year's work.
    vardelo::executeAndCommit(
        Data->ZQ80,
        {QStringLiteral(
            "UPDATE sorszam SET a_fjbszam = (SELECT MAX(f_bszam) FROM fjfej) WHERE a_akod = '1'")},
        {});
    Browser<TForm8> browser;
    const auto closeBrowser = [&] { browser.close(); };
    const auto openBrowser = [&] { browser.open(); };
    const auto grid = [&] { return browser.grid(); };
    const auto fresh = [&] { browser.fresh(); };
    AktBszam = lastTicket;
    m.time(QStringLiteral("tickets: open on the last ticket"), closeBrowser, openBrowser,
           QStringLiteral("SELECT COUNT(*) %1 AND f_bszam < '%2';\n").arg(from, lastTicket) +
               shownRows(byNumber, tickets, tickets));
    shoot(browser.window, QStringLiteral("tickets-on-last"));
    AktBszam.clear();
    measureMoves(
        m, QStringLiteral("tickets: "), [&] { return grid(); }, fresh, byNumber,
        QStringLiteral("SELECT COUNT(*) %1;\n").arg(from), tickets);
    measureSorts(m, QStringLiteral("tickets: "), grid, fresh, from,
                 {{QStringLiteral("F_BSZAM"), QStringLiteral("f_bszam")},
                  {QStringLiteral("F_OSTERMKOD"), QStringLiteral("f_ostermkod, id_fjfej")},
                  {QStringLiteral("O_NEV"), QStringLiteral("o_nev, id_fjfej")},
                  {QStringLiteral("F_KELT"), QStringLiteral("f_kelt, id_fjfej")},
                  {QStringLiteral("F_PRN"), QStringLiteral("f_prn, id_fjfej")}},
                 tickets);
    m.time(
        QStringLiteral("tickets: Ctrl+End by name"),
        [&] {
            fresh();
            clickTitle(grid(), QStringLiteral("O_NEV"));
            grid()->setFocus();
        },
        [&] { key(grid(), Qt::Key_End, Qt::ControlModifier); },
        shownRows(QStringLiteral("SELECT * %1 ORDER BY o_nev, id_fjfej").arg(from), tickets, tickets));
    shoot(browser.window, QStringLiteral("tickets-by-name-last"));
    // A ticket found by its number in the list ordered by name, as the browser does after a save.
    const QString middleTicket =
        scalar(QStringLiteral("SELECT f_bszam FROM fjfej WHERE f_akod = '1' ORDER BY f_bszam ROWS %1 TO %1")
                   .arg(tickets / 2));
    m.time(
        QStringLiteral("tickets: a ticket found by number, by name"),
        [&] {
            fresh();
            clickTitle(grid(), QStringLiteral("O_NEV"));
        },
        [&] { vardelo::tickets::locateTicket(middleTicket); },
        QStringLiteral("SELECT COUNT(*) %1 AND (ostermelo.o_nev < (SELECT o_nev FROM ostermelo WHERE o_kod = "
                       "(SELECT f_ostermkod FROM fjfej WHERE f_akod = '1' AND f_bszam = '%2')));\n")
                .arg(from, middleTicket) +
            shownRows(QStringLiteral("SELECT * %1 ORDER BY o_nev, id_fjfej").arg(from), tickets / 2,
                      tickets));

    vardelo::UiRecorder recorder;
    m.time(
        QStringLiteral("tickets: new ticket round"), fresh,
        [&] {
            recorder.expectModal([&](QDialog& dialog) {
                auto* entry = qobject_cast<TForm9*>(&dialog);
                recorder.expectModal(vardelo::testing::writeLine());
                vardelo::testing::child<QPushButton>(entry, QStringLiteral("NewLineButton"))->click();
                vardelo::testing::fillHeader(*entry);
                vardelo::testing::child<QPushButton>(entry, QStringLiteral("OkButton"))->click();
            });
            vardelo::testing::child<QPushButton>(browser.window, QStringLiteral("NewButton"))->click();
        },
        QStringLiteral("INSERT INTO fjsor (s_bszam, s_akod) VALUES ('99999999', '1');\n"
                       "INSERT INTO fjfej (f_bszam, f_akod, f_ostermkod) VALUES ('99999999', '1', '1');\n"
                       "SELECT COUNT(*) FROM fjfej WHERE f_akod = '1' AND f_bszam < '99999999';\n") +
            shownRows(byNumber, tickets + 1, tickets + 1));
    shoot(browser.window, QStringLiteral("tickets-after-new"));
    for (const QString& text : recorder.messageTexts())
        std::fprintf(stderr, "message: %s\n", qPrintable(text));
    if (Data->ZQ10->FieldByName(QStringLiteral("F_BSZAM")).AsString() != AktBszam)
        std::fprintf(stderr, "the browser does not stand on the new ticket %s\n", qPrintable(AktBszam));
    closeBrowser();
}

// The producer browser: opening, the moves, a search keystroke, a sort by each title.
void measureProducers(Measurement& m) {
    const int producers = scalar(QStringLiteral("SELECT COUNT(*) FROM ostermelo")).toInt();
    const QString byName = QStringLiteral("SELECT * FROM ostermelo ORDER BY o_Nev");
    const int nameRow =
        scalar(QStringLiteral("SELECT COUNT(*) FROM ostermelo WHERE o_nev < 'K'")).toInt() + 1;
    AktOkod.clear();
    Browser<TForm4> browser;
    const auto closeBrowser = [&] { browser.close(); };
    const auto openBrowser = [&] { browser.open(); };
    const auto grid = [&] { return browser.grid(); };
    const auto fresh = [&] { browser.fresh(); };
    m.time(QStringLiteral("producers: open"), closeBrowser, openBrowser, shownRows(byName, 1, producers));
    measureMoves(
        m, QStringLiteral("producers: "), [&] { return grid(); }, fresh, byName,
        QStringLiteral("SELECT COUNT(*) FROM ostermelo;\n"), producers);
    fresh();
    auto* search = vardelo::testing::child<QLineEdit>(browser.window, QStringLiteral("Edit1"));
    m.time(
        QStringLiteral("producers: a search keystroke"), [&] { search->clear(); },
        [&] { QTest::keyClicks(search, QStringLiteral("K")); },
        shownRows(byName, 1, producers) +
            QStringLiteral("SELECT COUNT(*) FROM ostermelo WHERE o_nev < 'K';\n") +
            shownRows(byName, nameRow, producers));
    shoot(browser.window, QStringLiteral("producers-search"));
    measureSorts(m, QStringLiteral("producers: "), grid, fresh, QStringLiteral("FROM ostermelo"),
                 {{QStringLiteral("O_KOD"), QStringLiteral("o_kod")},
                  {QStringLiteral("O_NEV"), QStringLiteral("o_Nev")},
                  {QStringLiteral("O_HELYSEGNEV"), QStringLiteral("o_Helysegnev, o_Utca")},
                  {QStringLiteral("O_ADOAZON"), QStringLiteral("o_Adoazon")},
                  {QStringLiteral("O_ADOSZAM"), QStringLiteral("o_Adoszam")},
                  {QStringLiteral("O_TAJ"), QStringLiteral("o_TAJ")},
                  {QStringLiteral("O_IGSZAM"), QStringLiteral("o_Igszam")}},
                 producers);
    closeBrowser();
}

// The animal catalogue: opening, Ctrl+End, a sort by each title.
void measureAnimals(Measurement& m) {
    const int animals = scalar(QStringLiteral("SELECT COUNT(*) FROM termek")).toInt();
    AllatKulcs.clear();
    Browser<TForm6> browser;
    const auto closeBrowser = [&] { browser.close(); };
    const auto openBrowser = [&] { browser.open(); };
    const auto grid = [&] { return browser.grid(); };
    const auto fresh = [&] { browser.fresh(); };
    const QString byName = QStringLiteral("SELECT * FROM termek ORDER BY t_megnevezes");
    m.time(QStringLiteral("animals: open"), closeBrowser, openBrowser, shownRows(byName, 1, animals));
    m.time(
        QStringLiteral("animals: Ctrl+End"), fresh, [&] { key(grid(), Qt::Key_End, Qt::ControlModifier); },
        QStringLiteral("SELECT COUNT(*) FROM termek;\n") + shownRows(byName, animals, animals));
    measureSorts(m, QStringLiteral("animals: "), grid, fresh, QStringLiteral("FROM termek"),
                 {{QStringLiteral("T_KOD"), QStringLiteral("t_kod")},
                  {QStringLiteral("T_MEGNEVEZES"), QStringLiteral("t_megnevezes")},
                  {QStringLiteral("ID_TERMEK"), QStringLiteral("ID_Termek")}},
                 animals);
    closeBrowser();
}

std::map<QString, Result> measure(const QString& path, QStringList& order) {
    Measurement m(order);
    Data = new TData;
    Data->ZCon1->DatabaseName = path;
    Data->ZCon1->Connect();
    measureEditorPage(m, 0, QStringLiteral("FJFEJ"));
    measureEditorPage(m, 1, QStringLiteral("FJSOR"));
    measureEditorPage(m, 2, QStringLiteral("OSTERMELO"));
    measureTickets(m);
    measureProducers(m);
    measureAnimals(m);
    delete Data;
    Data = nullptr;
    auto results = m.finish(path);
    std::printf("  %s: resident now %ld MB\n", qPrintable(QFileInfo(path).fileName()),
                statusKb("VmRSS:") / 1024);
    std::fflush(stdout);
    return results;
}

} // namespace

int main(int argc, char* argv[]) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    Runs = std::max(1, qEnvironmentVariableIntValue("BENCH_RUNS"));
    if (!qEnvironmentVariableIsSet("BENCH_RUNS"))
        Runs = 3;
    if (argc < 3) {
        std::fprintf(stderr, "usage: bench_scale BIG.fdb SMALL.fdb\n");
        return 2;
    }
    try {
        QStringList order;
        const auto big = measure(QFileInfo(QString::fromLocal8Bit(argv[1])).absoluteFilePath(), order);
        const auto small = measure(QFileInfo(QString::fromLocal8Bit(argv[2])).absoluteFilePath(), order);
        // "flat": the big file's ratio over the small one's (at most 1.2 when our time grows as isql's does);
        // "time": our time on the big file over that on the small one.
        std::printf("\n%-40s %9s %9s %6s | %8s %8s %6s | %5s %6s\n", "action", "ours ms", "isql ms", "ratio",
                    "small ms", "isql ms", "ratio", "flat", "time");
        for (const QString& name : order) {
            const Result& b = big.at(name);
            const Result& s = small.at(name);
            const double bigRatio = b.ours / std::max(1.0, b.isql);
            const double smallRatio = s.ours / std::max(1.0, s.isql);
            std::printf("%-40s %9.1f %9.1f %6.2f | %8.1f %8.1f %6.2f | %5.2f %6.2f\n", qPrintable(name),
                        b.ours, b.isql, bigRatio, s.ours, s.isql, smallRatio, bigRatio / smallRatio,
                        b.ours / std::max(0.1, s.ours));
        }
        std::printf("(isql below 1 ms counts as 1 ms)\npeak resident memory: %ld MB\n",
                    statusKb("VmHWM:") / 1024);
    } catch (const EDatabaseError& e) {
        std::fprintf(stderr, "error: %s\n", qPrintable(e.Message()));
        return 1;
    }
    return 0;
}
