// Times the two summaries (collection, and the walk of groups and lines that their print makes through the
// user datasets) and the ticket data check (collection with the twenty checks and the memo) over one year of
// one purchaser, each beside its floor: isql-fb running the same statements on the same file, timed by its
// own statement figures (SET STATS: execution and fetching, not the process start or the connection), after a
// warm-up run of the same statements so both sides read a warm page cache. The memo figures set the checks
// with the memo filled in blocks beside the same checks collecting their lines in a list.
// Usage: bench_lists FILE [year] [purchaser] [runs]
// FILE: a COPY of a database made by bench_generate; the first collection measures its index statistics again
// (as the program does on a database whose figures are stale), which writes to the file.
#include "data/data_module.h"
#include "data/database_error.h"
#include "data/index_statistics.h"
#include "data/shared_values.h"
#include "data/text_files.h"
#include "lists/check_queries.h"
#include "lists/check_rules.h"
#include "lists/check_window.h"
#include "lists/summary_datasets.h"
#include "lists/summary_queries.h"
#include "reports/report_objects.h"

#include <QApplication>
#include <QDateEdit>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QPlainTextEdit>
#include <QProcess>
#include <QRegularExpression>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

using namespace vardelo::lists;

namespace {

QString databasePath;
SummaryPeriod period;

double medianMs(int runs, const std::function<void()>& work) {
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer t;
        t.start();
        work();
        times.push_back(double(t.nsecsElapsed()) / 1e6);
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

// Runs isql-fb on the script and hands each line of its output to the reader. The embedded engine opens a
// database file for one process at a time, so our connection is closed meanwhile and opened again after.
void runIsql(const QString& script, const std::function<void(const QString&)>& reader) {
    Data->ZCon1->Disconnect();
    QProcess p;
    p.start(QStringLiteral("isql-fb"),
            {QStringLiteral("-q"), QStringLiteral("-ch"), QStringLiteral("WIN1250"), QStringLiteral("-u"),
             QStringLiteral("SYSDBA"), QStringLiteral("-p"), QStringLiteral("quillfern"), databasePath});
    // The script in the connection's character set: animal and producer names carry Hungarian letters.
    p.write(vardelo::encodeWin1250(script).value_or(QByteArray()));
    p.closeWriteChannel();
    auto readLines = [&] {
        while (p.canReadLine())
            reader(QString::fromLatin1(p.readLine()));
    };
    while (p.state() != QProcess::NotRunning) {
        p.waitForReadyRead(1000);
        readLines();
    }
    readLines();
    if (!p.readAllStandardError().isEmpty())
        std::fprintf(stderr, "isql-fb reported an error\n");
    Data->ZCon1->Connect();
}

// The sum of isql-fb's elapsed times of the measured statements, after the warm-up statements ran unmeasured.
// The median of the runs.
double isqlMs(int runs, const QString& warmUp, const QString& measured) {
    static const QRegularExpression elapsed(QStringLiteral("^Elapsed time\\s*=\\s*([0-9.]+) sec"));
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        double seconds = 0;
        runIsql(warmUp + QStringLiteral("SET STATS ON;\n") + measured + QStringLiteral("SET STATS OFF;\n"),
                [&](const QString& line) {
                    const QRegularExpressionMatch m = elapsed.match(line);
                    if (m.hasMatch())
                        seconds += m.captured(1).toDouble();
                });
        times.push_back(seconds * 1000);
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

// Statements that isql-fb gives no figures for (SET STATISTICS): the whole process less a process that only
// connects.
double isqlProcessMs(const QString& script) {
    const auto ignore = [](const QString&) {};
    QElapsedTimer t;
    t.start();
    runIsql(QStringLiteral("SELECT 1 FROM RDB$DATABASE;\n"), ignore);
    const double connectOnly = double(t.nsecsElapsed()) / 1e6;
    t.restart();
    runIsql(script, ignore);
    return double(t.nsecsElapsed()) / 1e6 - connectOnly;
}

QString lit(const QString& text) {
    return QLatin1Char('\'') + QString(text).replace(QLatin1Char('\''), QStringLiteral("''")) +
           QLatin1Char('\'');
}

// The restriction of the statements with their parameters written in, for isql-fb.
QString where(const QString& purchaserColumn) {
    return QStringLiteral(" WHERE f_fizkelt >= '%1' AND f_fizkelt <= '%2' AND %3 = '%4'")
        .arg(period.from.toString(Qt::ISODate), period.to.toString(Qt::ISODate), purchaserColumn, AktAkod);
}

void fetchAll(TDataSet* d) {
    d->RecordCount();
}

// The print's walk: every group, and every line of it, read as the layout reads them.
int walkGroups(TfrUserDataset* groups, TfrUserDataset* lines) {
    int count = 0;
    for (groups->first(); !groups->eof(); groups->next())
        for (lines->first(); !lines->eof(); lines->next())
            ++count;
    return count;
}

void refreshStatistics() {
    vardelo::refreshIndexStatistics(Data->ZCon1, Data->IBTrans1, vardelo::ticketTables());
}

void row(const QString& what, double our, double floor) {
    std::printf("  %-50s %10.1f ms %10.1f ms %7.2fx\n", qPrintable(what), our, floor, our / floor);
}

} // namespace

int main(int argc, char* argv[]) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr,
                     "usage: bench_lists FILE [year] [purchaser]   (FILE: a copy, it is written to)\n");
        return 2;
    }
    databasePath = QFileInfo(QString::fromLocal8Bit(argv[1])).absoluteFilePath();
    const int year = argc > 2 ? std::atoi(argv[2]) : 2005;
    AktAkod = argc > 3 ? QString::fromLocal8Bit(argv[3]) : QStringLiteral("2");
    period = {QDate(year, 1, 1), QDate(year, 12, 31), true};
    const int runs = argc > 4 ? std::max(1, std::atoi(argv[4])) : 3;
    std::setvbuf(stdout, nullptr, _IOLBF, 0);
    try {
        Data = new TData;
        vardelo::report::createReportObjects(*Data);
        Data->ZCon1->DatabaseName = databasePath;
        Data->ZCon1->Connect();
        connectSummaryDatasets(*Data, [] { return period; });

        const QString joins = QStringLiteral(" FROM fjsor LEFT JOIN fjfej ON s_bszam = f_bszam"
                                             " LEFT JOIN ostermelo ON f_ostermkod = o_kod");
        const QString inner = QStringLiteral(" FROM fjsor JOIN fjfej ON s_bszam = f_bszam"
                                             " JOIN ostermelo ON f_ostermkod = o_kod");
        std::printf("%s, year %d, purchaser %s; ours: median of %d runs on one connection; floor: isql-fb's "
                    "statement times (SET STATS), median of %d runs\n",
                    qPrintable(QFileInfo(databasePath).fileName()), year, qPrintable(AktAkod), runs, runs);
        std::printf("  %-50s %13s %13s %8s\n", "", "ours", "floor", "ratio");

        // The index statistics: measured again at the first collection when stale, afterwards only looked at.
        QStringList measured;
        const double refresh = medianMs(1, [&] {
            measured = vardelo::refreshIndexStatistics(Data->ZCon1, Data->IBTrans1, vardelo::ticketTables());
        });
        if (!measured.isEmpty()) {
            QString sql;
            for (const QString& index : measured)
                sql += QStringLiteral("SET STATISTICS INDEX %1;\n").arg(index);
            row(QStringLiteral("index statistics, stale (%1 indexes)").arg(measured.size()), refresh,
                isqlProcessMs(sql + QStringLiteral("COMMIT;\n")));
        }
        const double lookOnly = medianMs(runs, refreshStatistics);
        std::printf("  %-50s %10.1f ms\n", "index statistics, fresh (looked at only)", lookOnly);

        // Per animal: period total, groups, the first group's lines.
        QStringList animals;
        auto animalCollection = [&] {
            refreshStatistics();
            openPeriodTotal(period, false);
            openAnimalGroups(period);
            fetchAll(Data->ZQ20);
            animals.clear();
            for (Data->ZQ20->First(); !Data->ZQ20->Eof(); Data->ZQ20->Next())
                animals << Data->ZQ20->FieldByName(QStringLiteral("S_MEGNEVEZES")).AsString();
            Data->ZQ20->First();
            openAnimalLines(period, animals.value(0), JoinKind::Left);
            fetchAll(Data->ZQ21);
        };
        animalCollection();
        const double animalCollect = medianMs(runs, animalCollection);
        const QString animalCollectSql =
            QStringLiteral(
                "SELECT s_akod, SUM(s_vetelar) AS m_osszesen FROM fjsor LEFT JOIN fjfej ON s_bszam = "
                "f_bszam") +
            where(QStringLiteral("f_akod")) + QStringLiteral(" GROUP BY s_akod;\n") +
            QStringLiteral("SELECT s_megnevezes, SUM(s_netto) AS mennyiseg, SUM(s_vetelar) AS kifizetett") +
            joins + where(QStringLiteral("f_akod")) +
            QStringLiteral(" GROUP BY s_megnevezes ORDER BY s_megnevezes;\n") + QStringLiteral("SELECT *") +
            joins + where(QStringLiteral("f_akod")) +
            QStringLiteral(" AND s_megnevezes = %1;\n").arg(lit(animals.value(0)));
        row(QStringLiteral("per animal: collection (%1 groups)").arg(animals.size()), animalCollect,
            isqlMs(runs, animalCollectSql, animalCollectSql));

        // Per animal: the print's walk over the collected groups.
        int animalLines = 0;
        openAnimalGroups(period);
        const double animalWalk =
            medianMs(runs, [&] { animalLines = walkGroups(Data->frUserDataset1, Data->frUserDataset2); });
        QString animalWalkSql;
        for (const QString& a : animals)
            animalWalkSql += QStringLiteral("SELECT *") + inner + where(QStringLiteral("f_akod")) +
                             QStringLiteral(" AND s_megnevezes = %1;\n").arg(lit(a));
        row(QStringLiteral("per animal: print walk (%1 lines)").arg(animalLines), animalWalk,
            isqlMs(runs, animalWalkSql, animalWalkSql));

        // Per producer: period total, groups, the first producer's total and lines.
        QStringList producers;
        auto producerCollection = [&] {
            refreshStatistics();
            openPeriodTotal(period, true);
            openProducerGroups(period);
            fetchAll(Data->ZQ20);
            producers.clear();
            for (Data->ZQ20->First(); !Data->ZQ20->Eof(); Data->ZQ20->Next())
                producers << Data->ZQ20->FieldByName(QStringLiteral("O_KOD")).AsString();
            Data->ZQ20->First();
            openProducerTotal(period, producers.value(0), JoinKind::Left);
            openProducerLines(period, producers.value(0), JoinKind::Left, false);
            fetchAll(Data->ZQ21);
        };
        producerCollection();
        const double producerCollect = medianMs(runs, producerCollection);
        const QString producerCollectSql =
            QStringLiteral(
                "SELECT s_akod, SUM(s_vetelar) AS m_osszesen FROM fjsor LEFT JOIN fjfej ON s_bszam = "
                "f_bszam") +
            where(QStringLiteral("s_akod")) + QStringLiteral(" GROUP BY s_akod;\n") +
            QStringLiteral("SELECT o_kod, o_nev, SUM(s_vetelar) AS nevosszesen") + joins +
            where(QStringLiteral("s_akod")) + QStringLiteral(" GROUP BY o_kod, o_nev;\n") +
            QStringLiteral("SELECT o_kod, SUM(s_vetelar) AS nevosszesen") + joins +
            where(QStringLiteral("f_akod")) +
            QStringLiteral(" AND o_kod = %1 GROUP BY o_kod;\n").arg(lit(producers.value(0))) +
            QStringLiteral("SELECT *") + joins + where(QStringLiteral("f_akod")) +
            QStringLiteral(" AND o_kod = %1;\n").arg(lit(producers.value(0)));
        row(QStringLiteral("per producer: collection (%1 groups)").arg(producers.size()), producerCollect,
            isqlMs(runs, producerCollectSql, producerCollectSql));

        // Per producer: the print's walk, two statements a producer.
        int producerLines = 0;
        openProducerGroups(period);
        const double producerWalk =
            medianMs(runs, [&] { producerLines = walkGroups(Data->frUserDataset3, Data->frUserDataset4); });
        QString producerWalkSql;
        for (int i = 0; i < producers.size(); ++i) {
            producerWalkSql += QStringLiteral("SELECT o_kod, SUM(s_vetelar) AS nevosszesen") + inner +
                               where(QStringLiteral("f_akod")) +
                               QStringLiteral(" AND o_kod = %1 GROUP BY o_kod;\n").arg(lit(producers[i]));
            producerWalkSql +=
                QStringLiteral("SELECT *") + inner + where(QStringLiteral("f_akod")) +
                QStringLiteral(" AND o_kod = %1%2;\n")
                    .arg(lit(producers[i]), i == 0 ? QStringLiteral(" ORDER BY s_megnevezes") : QString());
        }
        row(QStringLiteral("per producer: print walk (%1 lines)").arg(producerLines), producerWalk,
            isqlMs(runs, producerWalkSql, producerWalkSql));

        // The check window: "Kigyüjtés" and "Ellenörzés" (rows, twenty checks, memo in blocks).
        TForm14 form;
        form.resize(800, 600);
        form.show();
        auto* memo = form.findChild<QPlainTextEdit*>(QStringLiteral("Memo1"));
        form.findChild<QDateEdit*>(QStringLiteral("DateTimePicker1"))->setDate(period.from);
        form.findChild<QDateEdit*>(QStringLiteral("DateTimePicker2"))->setDate(period.to);
        auto checkRun = [&] {
            form.Button1Click();
            form.Button2Click();
        };
        checkRun();
        const double check = medianMs(runs, checkRun);
        const int checkLines = Data->ZQ20->RecordCount();
        const int memoLines = memo->document()->blockCount();
        std::vector<CheckRow> rows = readCheckRows(*Data->ZQ20);
        const QString checkSql =
            QStringLiteral("SELECT *") + joins + where(QStringLiteral("f_akod")) + QStringLiteral(";\n");
        row(QStringLiteral("check: collection, checks, memo (%1 lines, %2 in memo)")
                .arg(checkLines)
                .arg(memoLines),
            check, isqlMs(runs, checkSql, checkSql));

        // The memo with many failure lines: every row missing five producer values. The floor: the same
        // checks collecting their lines in a list.
        for (CheckRow& r : rows)
            for (CheckColumn c : {CheckColumn::OIrszam, CheckColumn::OUtca, CheckColumn::OIgszam,
                                  CheckColumn::OAnyja, CheckColumn::OSzulnev})
                r[c].clear();
        auto fill = [&](const std::vector<CheckRow>& from, int blockLines) {
            memo->clear();
            runBatchCheck(from, blockLines, [&](const QStringList& block) {
                memo->appendPlainText(block.join(QLatin1Char('\n')));
                QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
            });
        };
        int failureLines = 0;
        const double listOnly = medianMs(runs, [&] { failureLines = int(batchCheckLines(rows).size()); });
        const double blocks = medianMs(runs, [&] { fill(rows, TForm14::MemoBlockLines); });
        row(QStringLiteral("memo of %1 failure lines, in blocks of %2")
                .arg(failureLines)
                .arg(TForm14::MemoBlockLines),
            blocks, listOnly);
        const std::vector<CheckRow> sample(rows.begin(),
                                           rows.begin() + std::min<long>(long(rows.size()), 2000));
        int sampleLines = 0;
        const double sampleList = medianMs(runs, [&] { sampleLines = int(batchCheckLines(sample).size()); });
        const double single = medianMs(1, [&] { fill(sample, 1); });
        row(QStringLiteral("(contrast) memo of %1 lines, one repaint a line").arg(sampleLines), single,
            sampleList);
        delete Data;
        Data = nullptr;
    } catch (const EDatabaseError& e) {
        std::fprintf(stderr, "error: %s\n", qPrintable(e.Message()));
        return 1;
    }
    return 0;
}
