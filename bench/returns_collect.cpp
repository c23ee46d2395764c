// Times the collection of one month's return files (the import file of every producer paid in the month and
// the list file) for purchaser 1, beside its floor: isql-fb running the same selections on the same file,
// plus writing the same bytes with one buffered write per file. Usage: bench_returns_collect FILE [first-day]
//
//     build/bench/bench_generate month.fdb 20000 10000 2010-08-01 31
//     build/bench/bench_returns_collect month.fdb 2010-08-01
#include "data/data_module.h"
#include "data/database_error.h"
#include "data/shared_values.h"
#include "returns/import_collection.h"

#include <QCoreApplication>
#include <QDate>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <memory>
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
        std::fprintf(stderr, "usage: bench_returns_collect FILE [first-day]\n");
        return 2;
    }
    const QString path = QFileInfo(QString::fromLocal8Bit(argv[1])).absoluteFilePath();
    const QDate from = QDate::fromString(
        argc > 2 ? QString::fromLocal8Bit(argv[2]) : QStringLiteral("2010-08-01"), Qt::ISODate);
    const QDate to = from.addMonths(1).addDays(-1);
    const int runs = 5;
    QTemporaryDir drive;
    qputenv("VARDELO_DRIVE_C", drive.path().toLocal8Bit());
    const QString folder = drive.path() + from.toString(QStringLiteral("/DU2010/MM"));
    QDir().mkpath(folder);
    try {
        TData data;
        Data = &data;
        data.ZCon1->DatabaseName = path;
        data.ZCon1->Connect();
        data.IBTable6->Open();
        data.IBTable6->Locate(QStringLiteral("V_AKOD"), QStringLiteral("1"), 0);
        AktAkod = QStringLiteral("1");

        vardelo::returns::CollectionResult result;
        int lines = 0;
        {
            data.ZQ22->SQL.Add(
                QStringLiteral("SELECT COUNT(*) AS n FROM fjsor LEFT JOIN fjfej ON s_bszam = "
                               "f_bszam WHERE f_fizkelt BETWEEN :p1 AND :p2 AND f_akod = '1'"));
            data.ZQ22->ParamByName(QStringLiteral("p1")).SetAsDate(from);
            data.ZQ22->ParamByName(QStringLiteral("p2")).SetAsDate(to);
            data.ZQ22->Open();
            lines = data.ZQ22->FieldByName(QStringLiteral("N")).AsInteger();
            data.ZQ22->Close();
        }
        const double ours = medianMs(runs, [&] { result = vardelo::returns::collectImportFiles(from, to); });
        // The embedded engine lets isql-fb in only when this process has let go of the file.
        data.ZCon1->Disconnect();
        if (!result.completed) {
            std::fprintf(stderr, "error: %s\n", qPrintable(result.error));
            return 1;
        }

        // The floor, part one: the same selections through isql-fb (its start-up included).
        const QString p = QStringLiteral("'%1' AND '%2' AND %3 = '1'")
                              .arg(from.toString(Qt::ISODate), to.toString(Qt::ISODate));
        const QString paid = QStringLiteral(" FROM fjsor JOIN fjfej ON fjsor.s_bszam = fjfej.f_bszam "
                                            "LEFT JOIN ostermelo ON fjfej.f_ostermkod = ostermelo.o_kod "
                                            "WHERE fjfej.f_fizkelt BETWEEN ") +
                             p.arg(QStringLiteral("fjfej.f_akod"));
        const QString script =
            QStringLiteral("SET HEADING OFF;\n"
                           "SELECT s_aKod, SUM(s_vetelar) AS m_osszesen") +
            paid + QStringLiteral(" GROUP BY s_aKod;\n") +
            QStringLiteral("SELECT ostermelo.* FROM (SELECT DISTINCT f_ostermkod FROM fjfej WHERE f_fizkelt "
                           "BETWEEN ") +
            p.arg(QStringLiteral("f_akod")) +
            QStringLiteral(") paid JOIN ostermelo ON ostermelo.o_kod = paid.f_ostermkod ORDER BY "
                           "ostermelo.o_kod, ostermelo.id_ostermelo;\n") +
            QStringLiteral("SELECT f_ostermkod, s_kompmerteke, SUM(s_vetelar) AS kifizetett") + paid +
            QStringLiteral(" GROUP BY f_ostermkod, s_kompmerteke ORDER BY f_ostermkod;\n");
        const double isqlBaseline = isqlRun(path, QStringLiteral("SELECT 1 FROM RDB$DATABASE;\n"), runs);
        const double isql = isqlRun(path, script, runs);

        // The floor, part two: the same bytes, one buffered write per file.
        std::vector<std::pair<QString, QByteArray>> files;
        for (const QString& name : QDir(folder).entryList(QDir::Files)) {
            QFile f(QDir(folder).filePath(name));
            f.open(QIODevice::ReadOnly);
            files.emplace_back(name, f.readAll());
        }
        // Into the month folder, emptied before each run (not timed), as the collection writes into the
        // folder it has just emptied.
        int rawFailures = 0;
        std::vector<double> rawTimes;
        for (int i = 0; i < runs; ++i) {
            vardelo::returns::emptyFolder(folder);
            rawTimes.push_back(medianMs(1, [&] {
                for (const auto& [name, bytes] : files) {
                    QFile f(QDir(folder).filePath(name));
                    if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size())
                        ++rawFailures;
                }
            }));
        }
        std::sort(rawTimes.begin(), rawTimes.end());
        const double raw = rawTimes[rawTimes.size() / 2];
        const double floor = isql + raw;
        if (rawFailures > 0)
            std::fprintf(stderr, "raw write: %d files failed\n", rawFailures);
        std::printf("month %s: %d lines of purchaser 1, %lld import files\n",
                    qPrintable(from.toString("yyyy.MM")), lines, qlonglong(result.files.size()));
        std::printf("median of %d runs\n", runs);
        std::printf("  collection (ours, connected):   %9.1f ms\n", ours);
        std::printf("  isql-fb, same selections:       %9.1f ms   (of which start-up %.1f ms)\n", isql,
                    isqlBaseline);
        std::printf("  raw write of the same files:    %9.1f ms\n", raw);
        std::printf("  floor (isql-fb + raw write):    %9.1f ms\n", floor);
        std::printf("  ratio ours/floor:               %9.2f\n", ours / floor);
        Data = nullptr;
    } catch (const EDatabaseError& e) {
        std::fprintf(stderr, "error: %s\n", qPrintable(e.Message()));
        Data = nullptr;
        return 1;
    }
    return 0;
}
