// Times the raw table editor ("Adatbázis", FjSor page) driven headless on a generated database: opening the
// line table, Ctrl+End, Page Up from the last row, Ctrl+Home, Page Down, the row count, positioning on a key
// (as after a save), a search by the start of a ticket number, and an insert. Beside each, isql-fb's own time
// (SET STATS elapsed, not its process start) for the statements that give the same answer, their ratio, and
// the ratio of our time on the big file to that on the small one. Ends with the peak resident memory.
// Usage: bench_scale BIG.fdb SMALL.fdb    (both made by bench_generate; the files are written to: use copies)
#include "data/data_module.h"
#include "data/database_error.h"
#include "data/immediate_write.h"
#include "data/table.h"
#include "exchange/table_editor.h"
#include "support/children.h"
#include "widgets/db_grid.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
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

struct Result {
    double ours = 0;
    double isql = 0;
};

// One file: the window shown on the FjSor page, every action timed Runs times from the state it starts in.
std::map<QString, Result> measure(const QString& path, QStringList& order) {
    std::map<QString, Result> results;
    std::map<QString, QString> statementsOf;
    Data = new TData;
    Data->ZCon1->DatabaseName = path;
    Data->ZCon1->Connect();
    TIBTable* lines = Data->IBTable2;
    lines->Open();
    auto* form = new TForm22;
    form->resize(1000, 700);
    form->show();
    vardelo::testing::child<QTabWidget>(form, QStringLiteral("PageControl1"))->setCurrentIndex(1);
    TDBGrid* grid = vardelo::testing::child<TDBGrid>(form, QStringLiteral("DBGrid2"));
    grid->setFocus();
    settle();

    const auto scalar = [&](const QString& sql) {
        vardelo::openQuery(Data->ZQ80, {sql});
        return Data->ZQ80->Fields(0).AsString();
    };
    const int n = scalar(QStringLiteral("SELECT COUNT(*) FROM fjsor")).toInt();
    const QString lastId = scalar(QStringLiteral("SELECT MAX(id_fjsor) FROM fjsor"));
    const QString lastTicket = scalar(QStringLiteral("SELECT MAX(s_bszam) FROM fjsor"));
    const QString order30 = QStringLiteral("SELECT * FROM fjsor ORDER BY id_fjsor ROWS %1 TO %2;");

    const auto reopen = [&] {
        lines->Close();
        lines->Open();
        settle();
    };
    const auto time = [&](const QString& name, const std::function<void()>& before,
                          const std::function<void()>& work, const QString& statements) {
        std::vector<double> runs;
        for (int i = 0; i < Runs; ++i) {
            before();
            QElapsedTimer t;
            t.start();
            work();
            settle();
            runs.push_back(double(t.nsecsElapsed()) / 1e6);
        }
        if (!order.contains(name))
            order << name;
        // isql-fb runs after the program lets go of the file (the embedded engine holds it alone).
        results[name] = {median(runs), 0};
        statementsOf[name] = statements;
        std::printf("  %-36s %10.1f ms, resident %ld MB\n", qPrintable(name), results[name].ours,
                    statusKb("VmRSS:") / 1024);
        std::fflush(stdout);
    };
    const auto key = [&](Qt::Key k, Qt::KeyboardModifiers m = Qt::NoModifier) {
        QTest::keyClick(grid, k, m);
    };

    time(
        QStringLiteral("open"), [&] { lines->Close(); }, [&] { lines->Open(); }, order30.arg(1).arg(30));
    time(
        QStringLiteral("Ctrl+End"), reopen, [&] { key(Qt::Key_End, Qt::ControlModifier); },
        order30.arg(n - 29).arg(n));
    time(
        QStringLiteral("Page Up from the last row"), [&] { key(Qt::Key_End, Qt::ControlModifier); },
        [&] { key(Qt::Key_PageUp); }, order30.arg(n - 59).arg(n - 30));
    time(
        QStringLiteral("Ctrl+Home from the last row"), [&] { key(Qt::Key_End, Qt::ControlModifier); },
        [&] { key(Qt::Key_Home, Qt::ControlModifier); }, order30.arg(1).arg(30));
    time(
        QStringLiteral("Page Down"), [&] { key(Qt::Key_Home, Qt::ControlModifier); },
        [&] { key(Qt::Key_PageDown); }, order30.arg(31).arg(60));
    time(
        QStringLiteral("RecordCount"), reopen, [&] { lines->RecordCount(); },
        QStringLiteral("SELECT COUNT(*) FROM (SELECT * FROM fjsor ORDER BY id_fjsor);"));
    time(
        QStringLiteral("Locate the last key (after a save)"), reopen,
        [&] { lines->Locate(QStringLiteral("ID_FJSOR"), lastId, 0); },
        QStringLiteral("SELECT COUNT(*) FROM fjsor WHERE id_fjsor < %1;").arg(lastId));
    time(
        QStringLiteral("Locate a ticket number's start"), reopen,
        [&] {
            lines->Locate(QStringLiteral("S_BSZAM"), lastTicket.left(7), loCaseInsensitive | loPartialKey);
        },
        QStringLiteral("SELECT COUNT(*) FROM fjsor WHERE id_fjsor < (SELECT MIN(id_fjsor) FROM fjsor WHERE "
                       "UPPER(s_bszam) STARTING WITH '%1');")
            .arg(lastTicket.left(7)));
    lines->Close();
    lines->ReadOnly = false;
    time(
        QStringLiteral("Insert and Post a line"), reopen,
        [&] {
            lines->Insert();
            lines->FieldByName(QStringLiteral("S_BSZAM")).SetAsString(QStringLiteral("99999999"));
            lines->Post();
        },
        QStringLiteral("INSERT INTO fjsor (s_bszam) VALUES ('99999999') RETURNING id_fjsor;\n"
                       "SELECT COUNT(*) FROM fjsor WHERE id_fjsor < (SELECT MAX(id_fjsor) FROM fjsor);"));
    lines->Transaction()->Rollback();
    form->close();
    delete form;
    delete Data;
    Data = nullptr;
    for (auto& [name, result] : results)
        result.isql = isqlMs(path, statementsOf[name]);
    std::printf("  %s: %d lines, resident now %ld MB\n", qPrintable(QFileInfo(path).fileName()), n,
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
        std::printf("\n%-36s %10s %10s %7s | %9s %9s %7s | %8s\n", "action (FjSor page)", "ours ms",
                    "isql ms", "ratio", "small ms", "isql ms", "ratio", "big/small");
        for (const QString& name : order) {
            const Result& b = big.at(name);
            const Result& s = small.at(name);
            std::printf("%-36s %10.1f %10.1f %7.2f | %9.1f %9.1f %7.2f | %8.2f\n", qPrintable(name), b.ours,
                        b.isql, b.ours / std::max(1.0, b.isql), s.ours, s.isql,
                        s.ours / std::max(1.0, s.isql), b.ours / std::max(0.1, s.ours));
        }
        std::printf("(isql below 1 ms counts as 1 ms)\npeak resident memory: %ld MB\n",
                    statusKb("VmHWM:") / 1024);
    } catch (const EDatabaseError& e) {
        std::fprintf(stderr, "error: %s\n", qPrintable(e.Message()));
        return 1;
    }
    return 0;
}
