// Times the two summaries (collection, and the walk of groups and lines that their print makes through the
// user datasets) and the ticket data check (collection with the twenty checks and the memo) over one year of
// one purchaser, each beside its floor: isql-fb running the same statements on the same file, timed by its
// own statement figures (SET STATS: execution and fetching, not the process start or the connection), after a
// warm-up run of the same statements so both sides read a warm page cache. The memo figures set the checks
// with the memo filled in blocks beside the same checks collecting their lines in a list.
// Usage: bench_lists FILE [year] [purchaser] [runs]   (BENCH_KEEP_SCRIPTS=1: the isql-fb scripts are kept)
// Run in a folder with the report layouts (layouts/ of the source tree) to time the prints themselves too.
// FILE: a COPY of a database made by bench_generate; the first collection measures its index statistics again
// (as the program does on a database whose figures are stale), which writes to the file.
#include "data/data_module.h"
#include "data/database_error.h"
#include "data/index_statistics.h"
#include "data/shared_values.h"
#include "data/text_files.h"
#include "data/text_formats.h"
#include "lists/check_queries.h"
#include "lists/check_rules.h"
#include "lists/check_window.h"
#include "lists/summary_datasets.h"
#include "lists/summary_queries.h"
#include "reports/report_objects.h"
#include "reports/report_service.h"

#include <QApplication>
#include <QDateEdit>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QPlainTextEdit>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryFile>
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
// The script goes in as a file (-i): read from standard input, isql-fb's line editor mangles the letters
// beyond ASCII, so a statement on an animal name like 'Állat 1' would find no rows and time nothing.
void runIsql(const QString& script, const std::function<void(const QString&)>& reader) {
    QTemporaryFile file(QDir::tempPath() + QStringLiteral("/bench_lists_XXXXXX.sql"));
    // The script in the connection's character set: animal and producer names carry Hungarian letters.
    if (!file.open() || file.write(vardelo::encodeWin1250(script).value_or(QByteArray())) < 0 ||
        !file.flush()) {
        std::fprintf(stderr, "cannot write the isql-fb script\n");
        return;
    }
    file.close();
    // BENCH_KEEP_SCRIPTS=1 keeps the scripts for running them by hand.
    if (qEnvironmentVariableIsSet("BENCH_KEEP_SCRIPTS")) {
        file.setAutoRemove(false);
        std::fprintf(stderr, "isql-fb script: %s\n", qPrintable(file.fileName()));
    }
    Data->ZCon1->Disconnect();
    QProcess p;
    p.start(QStringLiteral("isql-fb"),
            {QStringLiteral("-q"), QStringLiteral("-ch"), QStringLiteral("WIN1250"), QStringLiteral("-u"),
             QStringLiteral("SYSDBA"), QStringLiteral("-p"), QStringLiteral("quillfern"),
             QStringLiteral("-i"), file.fileName(), databasePath});
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
        // The rows are fetched and formatted but written nowhere; the figures still come on standard output.
        runIsql(QStringLiteral("OUTPUT /dev/null;\n") + warmUp + QStringLiteral("SET STATS ON;\n") +
                    measured + QStringLiteral("SET STATS OFF;\nOUTPUT;\n"),
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

// The statement the query ran last, word for word, with its parameters written in as literals: what isql-fb
// runs for the floor.
QString ranStatement(TZQuery* q) {
    static const QRegularExpression marker(QStringLiteral(":([A-Za-z_][A-Za-z0-9_]*)"));
    QString sql = q->SQL.Text().trimmed();
    QString out;
    qsizetype at = 0;
    for (auto it = marker.globalMatch(sql); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        out += sql.mid(at, m.capturedStart() - at);
        const QVariant v = q->ParamByName(m.captured(1)).Value();
        out += v.isNull()                       ? QStringLiteral("NULL")
               : v.typeId() == QMetaType::QDate ? lit(v.toDate().toString(Qt::ISODate))
                                                : lit(v.toString());
        at = m.capturedEnd();
    }
    out += sql.mid(at);
    return out + QStringLiteral(";\n");
}

// Reads every row, as isql-fb does for the floor. (RecordCount would run the statement a second time on the
// server to count its rows, which neither the window nor isql-fb does.)
void fetchAll(TDataSet* d) {
    for (d->First(); !d->Eof(); d->Next()) {
    }
}

// The print's walk: every group, and every line of it, read as the layout reads them. loaded runs after
// each group's statements were opened.
int walkGroups(TfrUserDataset* groups, TfrUserDataset* lines, const std::function<void()>& loaded = {}) {
    int count = 0;
    for (groups->first(); !groups->eof(); groups->next()) {
        if (loaded)
            loaded();
        for (lines->first(); !lines->eof(); lines->next())
            ++count;
    }
    return count;
}

void refreshStatistics() {
    vardelo::refreshIndexStatistics(Data->ZCon1, Data->IBTrans1, vardelo::ticketTables());
}

void row(const QString& what, double our, double floor) {
    std::printf("  %-50s %10.1f ms %10.1f ms %7.2fx\n", qPrintable(what), our, floor, our / floor);
}

// The print as the window makes it, beside the floor of its walk: the layout loaded from the working folder
// and its pages prepared (the walk with the layout's own work on every line), without the preview.
void printRow(const QString& summary, const QString& layout, double walkFloor, int runs) {
    if (!QFileInfo::exists(layout)) {
        std::printf("  %s: print prepared: run in a folder with %s to measure it\n", qPrintable(summary),
                    qPrintable(layout));
        return;
    }
    int pages = 0;
    const double ms = medianMs(runs, [&] {
        Data->frNyomtat->LoadFromFile(layout);
        Data->frNyomtat->PrepareReport();
        pages = int(Data->frNyomtat->PreparedPages().pages.size());
    });
    row(QStringLiteral("%1: print prepared (%2 pages)").arg(summary).arg(pages), ms, walkFloor);
    // BENCH_PDF=folder: the pages as they would print, to be looked at.
    if (const QString folder = qEnvironmentVariable("BENCH_PDF"); !folder.isEmpty())
        Data->frNyomtat->ExportToPdf(QDir(folder).filePath(QFileInfo(layout).completeBaseName() + ".pdf"));
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
        vardelo::setReportVariable(QStringLiteral("v_tol"), vardelo::dateText(period.from));
        vardelo::setReportVariable(QStringLiteral("v_ig"), vardelo::dateText(period.to));

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

        // Per animal: period total, groups, the first group's lines. The floors run the statements the
        // program ran, as it ran them: captured from its queries with their parameters written in.
        QStringList animals;
        QString animalCollectSql;
        auto animalCollection = [&] {
            refreshStatistics();
            openPeriodTotal(period, false);
            animalCollectSql = ranStatement(Data->ZQ80);
            openAnimalGroups(period);
            animalCollectSql += ranStatement(Data->ZQ20);
            fetchAll(Data->ZQ20);
            animals.clear();
            for (Data->ZQ20->First(); !Data->ZQ20->Eof(); Data->ZQ20->Next())
                animals << Data->ZQ20->FieldByName(QStringLiteral("S_MEGNEVEZES")).AsString();
            Data->ZQ20->First();
            openAnimalLines(period, animals.value(0), JoinKind::Left);
            animalCollectSql += ranStatement(Data->ZQ21);
            fetchAll(Data->ZQ21);
        };
        animalCollection();
        const double animalCollect = medianMs(runs, animalCollection);
        row(QStringLiteral("per animal: collection (%1 groups)").arg(animals.size()), animalCollect,
            isqlMs(runs, animalCollectSql, animalCollectSql));

        // Per animal: the print's walk over the collected groups (the group statement stays open from the
        // collection, as it does for the print): one line statement a group.
        int animalLines = 0;
        openAnimalGroups(period);
        QString animalWalkSql;
        walkGroups(Data->frUserDataset1, Data->frUserDataset2,
                   [&] { animalWalkSql += ranStatement(Data->ZQ21); });
        const double animalWalk =
            medianMs(runs, [&] { animalLines = walkGroups(Data->frUserDataset1, Data->frUserDataset2); });
        const double animalWalkFloor = isqlMs(runs, animalWalkSql, animalWalkSql);
        row(QStringLiteral("per animal: print walk (%1 lines)").arg(animalLines), animalWalk,
            animalWalkFloor);
        vardelo::setReportVariable(QStringLiteral("v_datum"), QStringLiteral("Fizetési "));
        vardelo::setReportVariable(QStringLiteral("v_sorrend"), QStringLiteral("Termékenként"));
        // The period's total and the groups, in the window's order (closed with the connection while isql-fb
        // ran).
        vardelo::setReportVariable(QStringLiteral("v_osszesen"), openPeriodTotal(period, false));
        openAnimalGroups(period);
        printRow(QStringLiteral("per animal"), QStringLiteral("FjLista5.frf"), animalWalkFloor, runs);

        // Per producer: period total, groups, the first producer's total and lines.
        QStringList producers;
        QString producerCollectSql;
        auto producerCollection = [&] {
            refreshStatistics();
            openPeriodTotal(period, true);
            producerCollectSql = ranStatement(Data->ZQ80);
            openProducerGroups(period);
            producerCollectSql += ranStatement(Data->ZQ20);
            fetchAll(Data->ZQ20);
            producers.clear();
            for (Data->ZQ20->First(); !Data->ZQ20->Eof(); Data->ZQ20->Next())
                producers << Data->ZQ20->FieldByName(QStringLiteral("O_KOD")).AsString();
            Data->ZQ20->First();
            openProducerTotal(period, producers.value(0), JoinKind::Left);
            producerCollectSql += ranStatement(Data->ZQ80);
            openProducerLines(period, producers.value(0), JoinKind::Left, false);
            producerCollectSql += ranStatement(Data->ZQ21);
            fetchAll(Data->ZQ21);
        };
        producerCollection();
        const double producerCollect = medianMs(runs, producerCollection);
        row(QStringLiteral("per producer: collection (%1 groups)").arg(producers.size()), producerCollect,
            isqlMs(runs, producerCollectSql, producerCollectSql));

        // Per producer: the print's walk, two statements a producer (its total, then its lines).
        int producerLines = 0;
        openProducerGroups(period);
        QString producerWalkSql;
        walkGroups(Data->frUserDataset3, Data->frUserDataset4,
                   [&] { producerWalkSql += ranStatement(Data->ZQ80) + ranStatement(Data->ZQ21); });
        const double producerWalk =
            medianMs(runs, [&] { producerLines = walkGroups(Data->frUserDataset3, Data->frUserDataset4); });
        const double producerWalkFloor = isqlMs(runs, producerWalkSql, producerWalkSql);
        row(QStringLiteral("per producer: print walk (%1 lines)").arg(producerLines), producerWalk,
            producerWalkFloor);
        vardelo::setReportVariable(QStringLiteral("v_sorrend"), QStringLiteral(" Östermelönként "));
        vardelo::setReportVariable(QStringLiteral("v_osszesen"), openPeriodTotal(period, true));
        openProducerGroups(period);
        printRow(QStringLiteral("per producer"), QStringLiteral("FjLista8.frf"), producerWalkFloor, runs);

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
        const QString checkSql = ranStatement(Data->ZQ20);
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
