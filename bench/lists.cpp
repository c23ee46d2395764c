// Times the two summaries (collection, and the walk of groups and lines that their print makes through the
// user datasets) and the batch check of the ticket data (collection, reading the rows, the twenty checks and
// the memo) over one year of one purchaser, beside isql-fb running the same selections on the same file.
// Also fills the memo with many failure lines, in blocks and line by line.
// Usage: bench_lists FILE [year] [purchaser]      (FILE: made by bench_generate)
#include "data/data_module.h"
#include "data/database_error.h"
#include "data/shared_values.h"
#include "lists/check_queries.h"
#include "lists/check_rules.h"
#include "lists/summary_datasets.h"
#include "lists/summary_queries.h"
#include "reports/report_objects.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QPlainTextEdit>
#include <QProcess>
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

// Connects Data, runs the work, disconnects: the same frame as an isql-fb process.
double ours(int runs, const std::function<void()>& work) {
    return medianMs(runs, [&] {
        Data = new TData;
        vardelo::report::createReportObjects(*Data);
        Data->ZCon1->DatabaseName = databasePath;
        Data->ZCon1->Connect();
        connectSummaryDatasets(*Data, [] { return period; });
        work();
        delete Data;
        Data = nullptr;
    });
}

// Only the work after the setup is timed (a print walk after its collection).
double oursAfter(const std::function<void()>& setup, const std::function<void()>& work) {
    double ms = 0;
    ours(1, [&] {
        setup();
        QElapsedTimer t;
        t.start();
        work();
        ms = double(t.nsecsElapsed()) / 1e6;
    });
    return ms;
}

double isql(int runs, const QString& script) {
    return medianMs(runs, [&] {
        QProcess p;
        p.start(QStringLiteral("isql-fb"),
                {QStringLiteral("-q"), QStringLiteral("-ch"), QStringLiteral("WIN1250"), QStringLiteral("-u"),
                 QStringLiteral("SYSDBA"), QStringLiteral("-p"), QStringLiteral("quillfern"), databasePath});
        p.write(script.toUtf8());
        p.closeWriteChannel();
        while (p.state() != QProcess::NotRunning) {
            p.waitForReadyRead(1000);
            p.readAll();
        }
        p.readAll();
    });
}

QString lit(const QString& text) {
    return QLatin1Char('\'') + QString(text).replace(QLatin1Char('\''), QStringLiteral("''")) +
           QLatin1Char('\'');
}

// The statements with their parameters written in, for isql-fb.
QString where(const QString& extra) {
    return QStringLiteral(" WHERE f_fizkelt >= '%1' AND f_fizkelt <= '%2' AND %3 = '%4'")
        .arg(period.from.toString(Qt::ISODate), period.to.toString(Qt::ISODate), extra, AktAkod);
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

void row(const char* what, double our, double floor) {
    std::printf("  %-46s %10.1f ms %10.1f ms %8.2f\n", what, our, floor, our / floor);
}

} // namespace

int main(int argc, char* argv[]) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: bench_lists FILE [year] [purchaser]\n");
        return 2;
    }
    databasePath = QFileInfo(QString::fromLocal8Bit(argv[1])).absoluteFilePath();
    const int year = argc > 2 ? std::atoi(argv[2]) : 2005;
    AktAkod = argc > 3 ? QString::fromLocal8Bit(argv[3]) : QStringLiteral("2");
    period = {QDate(year, 1, 1), QDate(year, 12, 31), true};
    // One run each: over a year the selections walk the whole line table (the lines are the outer side of
    // their left joins), so a run takes seconds; the machine's load shows in both columns alike.
    const int runs = 1;
    std::setvbuf(stdout, nullptr, _IOLBF, 0);
    try {
        const QString joins = QStringLiteral(" FROM fjsor LEFT JOIN fjfej ON s_bszam = f_bszam"
                                             " LEFT JOIN ostermelo ON f_ostermkod = o_kod");
        const QString inner = QStringLiteral(" FROM fjsor JOIN fjfej ON s_bszam = f_bszam"
                                             " JOIN ostermelo ON f_ostermkod = o_kod");
        std::printf("%s, year %d, purchaser %s; one run of each, with connect and disconnect (isql-fb: the "
                    "whole process)\n",
                    qPrintable(QFileInfo(databasePath).fileName()), year, qPrintable(AktAkod));
        std::printf("  %-46s %13s %13s %8s\n", "", "ours", "isql-fb", "ratio");
        const double isqlConnect = isql(3, QStringLiteral("SELECT 1 FROM RDB$DATABASE;\n"));
        std::printf("  %-46s %13s %10.1f ms\n", "connect only (median of 3)", "", isqlConnect);

        // Per animal: period total, groups, the first group's lines.
        QStringList animals;
        const double animalCollect = ours(runs, [&] {
            openPeriodTotal(period, false);
            openAnimalGroups(period);
            fetchAll(Data->ZQ20);
            animals.clear();
            for (Data->ZQ20->First(); !Data->ZQ20->Eof(); Data->ZQ20->Next())
                animals << Data->ZQ20->FieldByName(QStringLiteral("S_MEGNEVEZES")).AsString();
            Data->ZQ20->First();
            openAnimalLines(period, animals.value(0), JoinKind::Left);
            fetchAll(Data->ZQ21);
        });
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
        row(qPrintable(QStringLiteral("per animal: collection (%1 groups)").arg(animals.size())),
            animalCollect, isql(runs, animalCollectSql));

        // Per animal: the print's walk over the collected groups.
        int animalLines = 0;
        const double animalWalk =
            oursAfter([] { openAnimalGroups(period); },
                      [&] { animalLines = walkGroups(Data->frUserDataset1, Data->frUserDataset2); });
        QString animalWalkSql;
        for (const QString& a : animals)
            animalWalkSql += QStringLiteral("SELECT *") + inner + where(QStringLiteral("f_akod")) +
                             QStringLiteral(" AND s_megnevezes = %1;\n").arg(lit(a));
        row(qPrintable(QStringLiteral("per animal: print walk (%1 lines)").arg(animalLines)), animalWalk,
            isql(runs, animalWalkSql));

        // Per producer: period total, groups, the first producer's total and lines.
        QStringList producers;
        const double producerCollect = ours(runs, [&] {
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
        });
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
        row(qPrintable(QStringLiteral("per producer: collection (%1 groups)").arg(producers.size())),
            producerCollect, isql(runs, producerCollectSql));

        // Per producer: the print's walk, two statements a producer.
        int producerLines = 0;
        const double producerWalk =
            oursAfter([] { openProducerGroups(period); },
                      [&] { producerLines = walkGroups(Data->frUserDataset3, Data->frUserDataset4); });
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
        row(qPrintable(QStringLiteral("per producer: print walk (%1 lines)").arg(producerLines)),
            producerWalk, isql(runs, producerWalkSql));

        // The batch check: collection, rows, twenty checks, memo.
        QPlainTextEdit memo;
        memo.resize(700, 300);
        memo.show();
        int memoLines = 0;
        std::vector<CheckRow> rows;
        const double check = ours(runs, [&] {
            openCheckLines(period.from, period.to);
            rows = readCheckRows(*Data->ZQ20);
            memo.clear();
            memoLines = 0;
            runBatchCheck(rows, 2000, [&](const QStringList& block) {
                memo.appendPlainText(block.join(QLatin1Char('\n')));
                memoLines += int(block.size());
                QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
            });
        });
        const QString checkSql =
            QStringLiteral("SELECT *") + joins + where(QStringLiteral("f_akod")) + QStringLiteral(";\n");
        row(qPrintable(
                QStringLiteral("batch check (%1 lines, %2 memo lines)").arg(rows.size()).arg(memoLines)),
            check, isql(runs, checkSql));

        // The memo with many failure lines: every row missing five producer values.
        for (CheckRow& r : rows)
            for (CheckColumn c : {CheckColumn::OIrszam, CheckColumn::OUtca, CheckColumn::OIgszam,
                                  CheckColumn::OAnyja, CheckColumn::OSzulnev})
                r[c].clear();
        int blockLines = 0;
        const double blocks = medianMs(1, [&] {
            memo.clear();
            blockLines = 0;
            runBatchCheck(rows, 2000, [&](const QStringList& block) {
                memo.appendPlainText(block.join(QLatin1Char('\n')));
                blockLines += int(block.size());
                QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
            });
        });
        const std::vector<CheckRow> sample(rows.begin(),
                                           rows.begin() + std::min<long>(long(rows.size()), 4000));
        int singleLines = 0;
        const double single = medianMs(1, [&] {
            memo.clear();
            singleLines = 0;
            runBatchCheck(sample, 1, [&](const QStringList& block) {
                memo.appendPlainText(block.first());
                ++singleLines;
                QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
            });
        });
        std::printf("memo fill (checks and memo only, rows already read):\n");
        std::printf("  in blocks of 2000 lines:   %7d lines in %9.1f ms (%.0f lines/s)\n", blockLines, blocks,
                    blockLines / blocks * 1000);
        std::printf("  line by line, repainting:  %7d lines in %9.1f ms (%.0f lines/s)\n", singleLines,
                    single, singleLines / single * 1000);
    } catch (const EDatabaseError& e) {
        std::fprintf(stderr, "error: %s\n", qPrintable(e.Message()));
        return 1;
    }
    return 0;
}
