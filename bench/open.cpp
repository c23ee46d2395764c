// Times opening the whole FJSOR table (IBTable2) and one ticket's lines (ZQ20), side by side with isql-fb
// running the same statements on the same file, and opening FJSOR on a ten-line database, to show that
// opening a table costs the same for ten rows as for a million. Usage: bench_open FILE [ticket-number]
#include "data/data_module.h"
#include "data/database_creator.h"
#include "data/database_error.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

namespace {

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

// Connects, opens the dataset (first row fetched, or all rows when fetchAll), closes and disconnects.
double ourOpen(const QString& path, int runs, const std::function<void(TData&)>& open) {
    return medianMs(runs, [&] {
        TData data;
        data.ZCon1->DatabaseName = path;
        data.ZCon1->Connect();
        open(data);
        data.ZCon1->Disconnect();
    });
}

double isqlRun(const QString& path, const QString& script, int runs) {
    return medianMs(runs, [&] {
        QProcess p;
        p.start(QStringLiteral("isql-fb"),
                {QStringLiteral("-q"), QStringLiteral("-ch"), QStringLiteral("WIN1250"), QStringLiteral("-u"),
                 QStringLiteral("SYSDBA"), QStringLiteral("-p"), QStringLiteral("quillfern"), path});
        p.write(script.toUtf8());
        p.closeWriteChannel();
        p.waitForFinished(-1);
        p.readAll();
    });
}

} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: bench_open FILE [ticket-number]\n");
        return 2;
    }
    const QString big = QFileInfo(QString::fromLocal8Bit(argv[1])).absoluteFilePath();
    const QString ticket = argc > 2 ? QString::fromLocal8Bit(argv[2]) : QStringLiteral("30100000");
    const int runs = 15;
    try {
        QTemporaryDir dir;
        const QString small = QDir(dir.path()).filePath(QStringLiteral("small.fdb"));
        vardelo::createDatabase(small, false);
        {
            TData data;
            data.ZCon1->DatabaseName = small;
            data.ZCon1->Connect();
            for (int i = 0; i < 10; ++i) {
                data.ZQ20->SQL.Clear();
                data.ZQ20->SQL.Add(
                    QStringLiteral("INSERT INTO fjsor (s_bszam, s_brutto) VALUES ('10000001', 1)"));
                data.ZQ20->ExecSQL();
            }
            data.IBTrans1->Commit();
        }

        auto openTable = [](TData& d) { d.IBTable2->Open(); };
        auto openLines = [&](TData& d) {
            d.ZQ20->SQL.Clear();
            d.ZQ20->SQL.Add(QStringLiteral("SELECT * FROM fjsor"));
            d.ZQ20->SQL.Add(QStringLiteral(" WHERE s_bszam = :p1"));
            d.ZQ20->SQL.Add(QStringLiteral(" ORDER BY id_fjsor"));
            d.ZQ20->ParamByName(QStringLiteral("p1")).SetAsString(ticket);
            d.ZQ20->Open();
            d.ZQ20->RecordCount();
        };
        long bigRows = 0;
        {
            TData d;
            d.ZCon1->DatabaseName = big;
            d.ZCon1->Connect();
            d.ZQ21->SQL.Add(QStringLiteral("SELECT COUNT(*) AS n FROM fjsor"));
            d.ZQ21->Open();
            bigRows = d.ZQ21->FieldByName(QStringLiteral("N")).AsLargeInt();
        }

        const double smallTable = ourOpen(small, runs, openTable);
        const double bigTable = ourOpen(big, runs, openTable);
        const double bigLines = ourOpen(big, runs, openLines);
        const double isqlBaseline = isqlRun(big, QStringLiteral("SELECT 1 FROM RDB$DATABASE;\n"), 5);
        const double isqlTable =
            isqlRun(big, QStringLiteral("SET ROWCOUNT 1;\nSELECT * FROM FJSOR ORDER BY ID_FJSOR;\n"), 5);
        const double isqlLines = isqlRun(
            big, QStringLiteral("SELECT * FROM fjsor WHERE s_bszam = '%1' ORDER BY id_fjsor;\n").arg(ticket),
            5);

        std::printf("FJSOR rows in %s: %ld\n", qPrintable(QFileInfo(big).fileName()), bigRows);
        std::printf("median of %d runs, each: connect, open, close, disconnect\n", runs);
        std::printf("  IBTable2 open, 10 rows:        %8.2f ms\n", smallTable);
        std::printf("  IBTable2 open, %7ld rows:   %8.2f ms   (ratio big/small %.2f)\n", bigRows, bigTable,
                    bigTable / smallTable);
        std::printf("  ZQ20 one ticket's lines:       %8.2f ms\n", bigLines);
        std::printf("isql-fb, median of 5 runs, whole process:\n");
        std::printf("  connect only:                  %8.2f ms\n", isqlBaseline);
        std::printf("  first row of FJSOR:            %8.2f ms   (ratio ours/isql %.2f)\n", isqlTable,
                    bigTable / isqlTable);
        std::printf("  one ticket's lines:            %8.2f ms   (ratio ours/isql %.2f)\n", isqlLines,
                    bigLines / isqlLines);
    } catch (const EDatabaseError& e) {
        std::fprintf(stderr, "error: %s\n", qPrintable(e.Message()));
        return 1;
    }
    return 0;
}
